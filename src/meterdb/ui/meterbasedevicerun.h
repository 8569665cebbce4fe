// A meter database transfer as the user sees it: the start text in the
// status bar, the exchange dialog with the connection and the progress while
// the transfer works on a worker thread, then the result's message in the
// status bar. Reading and writing go through MeterBaseTransfer.
#pragma once

#include "meterbaseservices.h"
#include "meterdb/meterentry.h"

#include <QByteArray>

class MeterBaseDeviceRun {
public:
    explicit MeterBaseDeviceRun(const MeterBaseServices &services);

    // Reads the instrument's ten entries; on 0 `entries` holds them, on any
    // other result it is untouched.
    int read(const device::Connection &connection, meterdb::MeterList &entries);
    // Writes an exactly encoded area (meterdb::encodeImage(list, true)).
    int write(const device::Connection &connection, const QByteArray &area);

private:
    int run(const device::Connection &connection, int startMessage, int successMessage,
            const std::function<int(device::LinkMaker, device::ExchangeContext &)> &work);

    const MeterBaseServices &m_services;
};
