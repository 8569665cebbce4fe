// Moving the meter database between the program and the instrument, without
// any window: identify the instrument first (an empty archive does not stop
// the transfer), then read its ten entries or write an encoded image in the
// two steps the instrument expects. The editor runs it on a worker thread
// around the exchange dialog; vardosk-cli runs it straight through.
#pragma once

#include "meterentry.h"

#include "device/deviceclient.h"
#include "records/deviceinfo.h"
#include "device/exchangecontext.h"
#include "deviceoutcome/status.h"

#include <QByteArray>

namespace meterdb {

class MeterBaseTransfer {
public:
    MeterBaseTransfer(device::LinkMaker makeLink, device::ExchangeContext &context);
    MeterBaseTransfer(const MeterBaseTransfer &) = delete;
    MeterBaseTransfer &operator=(const MeterBaseTransfer &) = delete;

    // Identifies the instrument and reads its database. On 0 `entries` holds
    // the ten entries read; on any other result it is untouched.
    device::Status read(MeterList &entries);

    // Identifies the instrument and writes the area of an exact encoding
    // (encodeImage(list, true)): step 1, then step 2 only when step 1
    // succeeded. An area of another size sends nothing (BadStatus).
    device::Status write(const QByteArray &area);

    const DeviceInfo &info() const { return info_; }

private:
    device::Status identify();

    device::DeviceClient client_;
    DeviceInfo info_;
};

} // namespace meterdb
