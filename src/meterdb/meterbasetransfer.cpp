#include "meterbasetransfer.h"

#include "meterbaseimage.h"

#include "device/resultcodes.h"

namespace meterdb {

MeterBaseTransfer::MeterBaseTransfer(device::LinkMaker makeLink, device::ExchangeContext &context)
    : client_(std::move(makeLink), context)
{
}

int MeterBaseTransfer::identify()
{
    const int rc = client_.identify(info_);
    return rc == device::ResultArchiveEmpty ? int(device::ResultOk) : rc;
}

int MeterBaseTransfer::read(MeterList &entries)
{
    int rc = identify();
    if (rc != device::ResultOk)
        return rc;
    MeterList read;
    rc = client_.readMeterDatabase(info_, [&read](const QByteArray &payload) {
        return decodeImage(payload, kMaxEntries, read);
    });
    if (rc == device::ResultOk)
        entries = read;
    return rc;
}

int MeterBaseTransfer::write(const QByteArray &area)
{
    if (area.size() != kAreaBytes)
        return device::ResultBadStatus;
    int rc = identify();
    if (rc != device::ResultOk)
        return rc;
    rc = client_.writeMeterDatabaseStep1(info_, area);
    if (rc != device::ResultOk)
        return rc;
    return client_.writeMeterDatabaseStep2(info_, area);
}

} // namespace meterdb
