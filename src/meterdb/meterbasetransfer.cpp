#include "meterbasetransfer.h"

#include "meterbaseimage.h"

#include "deviceoutcome/status.h"

namespace meterdb {

MeterBaseTransfer::MeterBaseTransfer(device::LinkMaker makeLink, device::ExchangeContext &context)
    : client_(std::move(makeLink), context)
{}

device::Status MeterBaseTransfer::identify()
{
    const device::Status rc = client_.identify(info_);
    return rc == device::Status::ArchiveEmpty ? device::Status::Ok : rc;
}

device::Status MeterBaseTransfer::read(MeterList &entries)
{
    device::Status rc = identify();
    if (rc != device::Status::Ok)
        return rc;
    MeterList read;
    rc = client_.readMeterDatabase(
        info_, [&read](const QByteArray &payload) { return decodeImage(payload, kMaxEntries, read); });
    if (rc == device::Status::Ok)
        entries = read;
    return rc;
}

device::Status MeterBaseTransfer::write(const QByteArray &area)
{
    if (area.size() != kAreaBytes)
        return device::Status::BadStatus;
    device::Status rc = identify();
    if (rc != device::Status::Ok)
        return rc;
    rc = client_.writeMeterDatabaseStep1(info_, area);
    if (rc != device::Status::Ok)
        return rc;
    return client_.writeMeterDatabaseStep2(info_, area);
}

} // namespace meterdb
