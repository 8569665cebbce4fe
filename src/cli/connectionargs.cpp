#include "connectionargs.h"

ConnectionArgument takeConnectionArgument(const QStringList &args, int &i, device::Connection &connection,
                                          QString &error)
{
    const QString &a = args.at(i);
    const bool hasValue = i + 1 < args.size();
    if (a == QLatin1String("--port") && hasValue) {
        connection.portName = args.at(++i);
    } else if (a == QLatin1String("--rate") && hasValue) {
        bool ok = false;
        connection.baudRate = args.at(++i).toInt(&ok);
        if (!ok || connection.baudRate <= 0) {
            error = QStringLiteral("--rate needs a positive number");
            return ConnectionArgument::Invalid;
        }
    } else if (a == QLatin1String("--usb")) {
        connection.usb = true;
    } else if (a == QLatin1String("--trace") && hasValue) {
        connection.tracePath = args.at(++i);
    } else {
        return ConnectionArgument::NotConnection;
    }
    return ConnectionArgument::Taken;
}
