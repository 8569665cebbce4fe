// The conversion of one raw archive record slot (1030 bytes as the
// instrument sends them) into a stored record, for every model class. Every
// record the conversion returns must read back with the file reader.
#include "fuzzinput.h"

#include "records/cnvrecord.h"
#include "records/meterfile.h"

#include <QLocale>

namespace {

DeviceInfo instrumentFor(int choice)
{
    DeviceInfo info;
    info.serialNumber = 777;
    switch (choice) {
    case 0: // older three-phase with installed range digits
        info.modelClass = 0;
        info.rangeDigits = {0, 6, 2, 0};
        info.rangeCount = 3;
        break;
    case 1:
    case 2:
        info.modelClass = std::uint8_t(choice);
        info.rangeCount = choice == 1 ? 9 : 11;
        break;
    case 3: // three-phase with delivered range triples
    case 4:
        info.modelClass = std::uint8_t(choice == 3 ? 0 : 3);
        info.rangeCount = 9;
        info.rangeCode = {1, 5, 2, 3, 4, 6, 7, 8, 9};
        info.rangeHigh = {4, 40, 400, 1, 10, 100, 1000, 2, 20};
        info.rangeLow = {0, 0, 0x4000, 0, 0, 0x8000, 0, 0, 1};
        break;
    default: // newer single-phase
        info.modelClass = std::uint8_t(choice == 5 ? 5 : 6);
        info.auxCount = 3;
        info.auxValue = {230, 115, 57.5};
        info.rangeCount = 6;
        info.rangeValue = {0.05, 1, 5, 10, 100, 2.5};
        info.rangeKind = {1, 1, 1, 2, 2, 4};
        info.kind1Count = 3;
        info.kind2Count = 2;
        info.kind4Count = 1;
        break;
    }
    return info;
}

// The newer classes check the header (bytes 4-51) and each point block.
void restamp(std::uint8_t *b, std::size_t size, int points)
{
    fuzz::seal(b, size, 4, 46);
    for (int k = 0; k < points; ++k)
        fuzz::seal(b, size, 52 + 96 * std::size_t(k), 94);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::Input in(data, size);
    const DeviceInfo info = instrumentFor(in.variant(7));
    if (in.restamp() && info.isNewer())
        restamp(in.bytes.get(), in.size, 1 + (in.control & 7) + (in.control >> 7) * 2);
    const auto record = ConvertArchiveSlot(in.view(), info);
    if (!record)
        return 0;
    fuzz::check(record->header.size() == 67 && record->block.size() == 1134, "converted record of a wrong size");
    const MeterFileReadResult back = parseMeterFile(record->header + record->block);
    fuzz::check(back.readable, "a converted record does not read back");
    fuzz::check(back.meter.verifications.size() == 1, "a converted record reads as several");
    const pcn::_blockdata &v = back.meter.verifications.first();
    fuzz::check(v.serial == record->summary.serial && v.date == record->summary.date && v.time == record->summary.time,
                "a converted record reads back with another serial, date or time");
    return 0;
}
