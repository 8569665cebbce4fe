// A meter database transfer as the user sees it: the start text in the
// status bar, the exchange dialog with the connection and the progress while
// the transfer works on a worker thread, then the result's message in the
// status bar, in the program's language. The run itself is the DeviceRun the
// archive reading uses too; reading and writing go through
// MeterBaseTransfer.
#pragma once

#include "meterbaseservices.h"
#include "deviceoutcome/status.h"
#include "meterdb/meterentry.h"

#include <QByteArray>

class MeterBaseDeviceRun {
public:
    explicit MeterBaseDeviceRun(const MeterBaseServices &services);

    // Reads the instrument's ten entries; on 0 `entries` holds them, on any
    // other result it is untouched.
    device::Status read(const device::Connection &connection, meterdb::MeterList &entries);
    // Writes an exactly encoded area (meterdb::encodeImage(list, true)).
    device::Status write(const device::Connection &connection, const QByteArray &area);

private:
    device::Status run(const device::Connection &connection, int startMessage, int successMessage,
                       const std::function<device::Status(device::LinkMaker, device::ExchangeContext &)> &work);

    const MeterBaseServices &m_services;
};
