#include "records/listedmeter.h"

static_assert(sizeof(ListedMeter) <= 128, "a listed meter is held 100,000 times over: keep it small");

ListedMeter listedMeterOf(const pcn::_totalblockdata &meter)
{
    ListedMeter listed;
    listed.fileName = meter.fileName;
    listed.identity = meter.identity;
    listed.instrument = meter.instrument;
    listed.verificationCount = int(meter.verifications.size());
    if (meter.verifications.isEmpty())
        return listed;
    const pcn::_blockdata &first = meter.verifications.first();
    listed.meterType = first.meterType;
    listed.serialText = first.serialText;
    listed.accuracyClass = first.accuracyClass;
    listed.year = first.year;
    listed.i1 = first.i1;
    listed.i2 = first.i2;
    listed.scheme = first.scheme;
    return listed;
}
