// How the program reaches the instrument for one device operation: builds
// the transport (serial port or USB bridge), the optional trace around it,
// and the link that carries the frames.
#pragma once

#include "exchangecontext.h"
#include "ftdiapi.h"
#include "link.h"

#include "base/appstate.h"

#include <QString>

#include <functional>
#include <memory>

namespace device {

struct Connection {
    bool usb = false;
    QString portName; // serial device path
    qint32 baudRate = 115200;
    QString tracePath; // empty: no trace
    Clock::time_point traceEpoch = Clock::now();
    // The USB library table; made (and loaded on first use) when empty, and
    // kept for later operations: the library stays loaded once loaded.
    std::shared_ptr<FtdiApi> ftdi;
};

// The connection the communication settings describe: USB, or the serial
// device path of the port and the baud rate.
Connection connectionFor(const AppSettings &settings);

// Makes a fresh link for one operation with its timeout pair.
using LinkMaker = std::function<std::unique_ptr<Link>(Timeouts)>;

// A maker of real links for `connection`; `context` must outlive the links.
LinkMaker makeLinkMaker(Connection connection, ExchangeContext &context);

} // namespace device
