// The decoders of both identify answers. The answer is read only within its
// bytes; a recognised instrument has range lists within their arrays.
#include "fuzzinput.h"

#include "device/frame.h"
#include "device/identifydecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::Input in(data, size);
    const QByteArray answer = in.raw();
    DeviceInfo info;
    const bool newer = in.variant(2) == 1;
    const device::IdentifyOutcome outcome =
        newer ? device::decodeNewerIdentify(answer, info) : device::decodeOlderIdentify(answer, info);
    if (outcome != device::IdentifyOutcome::Recognised)
        return 0;
    fuzz::check(info.rangeCount >= 0 && info.auxCount >= 0 && info.auxCount <= int(info.auxValue.size()),
                "range counts out of their arrays");
    fuzz::check(info.kind1Count >= 0 && info.kind2Count >= 0 && info.kind4Count >= 0, "negative range kind count");
    (void)device::archiveSize(answer, info.modelClass);
    return 0;
}
