// The meter database file (.bdc): any bytes are refused with a reason or
// give a list of meters; the list written back reads as the same list and
// is written to the same bytes again.
#include "fuzzinput.h"

#include "meterdb/bdcfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::Input in(data, size);
    if (in.restamp() && in.size == std::size_t(meterdb::kBdcFileBytes))
        fuzz::seal(in.bytes.get(), in.size, 0, meterdb::kBdcFileBytes - 2);
    meterdb::MeterList list;
    if (meterdb::parseBdcFile(in.raw(), list) != meterdb::BdcLoad::Ok)
        return 0;
    const QByteArray written = meterdb::bdcFileBytes(list);
    if (written.isEmpty())
        return 0; // a list the file held but the image cannot hold again is refused, not cut
    meterdb::MeterList back;
    fuzz::check(meterdb::parseBdcFile(written, back) == meterdb::BdcLoad::Ok, "a written meter database does not read");
    fuzz::check(meterdb::bdcFileBytes(back) == written, "a meter database changes on a second rewrite");
    return 0;
}
