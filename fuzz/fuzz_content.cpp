// The decoder of the archive-content entries: a page of 32-byte entries,
// read from a steered offset and count for every model class.
#include "fuzzinput.h"

#include "device/contentdecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::Input in(data, size);
    static const std::uint8_t classes[] = {0, 1, 2, 3, 5, 6};
    const std::uint8_t modelClass = classes[in.variant(6)];
    // The offset and count come from the control byte's low bits: from the
    // exact fit to one entry too many, and offsets that are not multiples of
    // an entry.
    const qsizetype offset = (in.control & 3) * 4;
    const int fit = int((qsizetype(in.size) - offset) / device::kContentEntrySize);
    const int count = std::max(0, fit + ((in.control >> 2) & 1));
    QVector<pcn::_datacounter> list;
    const bool ok = device::decodeContentEntries(in.raw(), offset, count, modelClass, list);
    fuzz::check(ok ? list.size() == count : list.isEmpty(), "content list does not match the outcome");
    for (const pcn::_datacounter &entry : list)
        fuzz::check(entry.date.isValid() && entry.time.isValid(), "content entry with an invalid moment");
    return 0;
}
