// The connection options shared by the commands that talk to the
// instrument: --port DEVICE, --rate BAUD, --usb, --trace FILE.
#pragma once

#include "device/connection.h"

#include <QString>
#include <QStringList>

enum class ConnectionArgument {
    Taken, // args[i] (and its value) set a connection field; i moved past it
    NotConnection, // args[i] is not a connection option
    Invalid, // a connection option with a bad value; `error` says why
};

ConnectionArgument takeConnectionArgument(const QStringList &args, int &i, device::Connection &connection,
                                          QString &error);
