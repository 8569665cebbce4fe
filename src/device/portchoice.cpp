#include "portchoice.h"

#include "base/appstate.h"

#include <QFile>
#include <QSerialPortInfo>
#include <QSettings>

namespace device {

namespace {

const QString kTypedPortKey = QStringLiteral("SerialPortPath");

// The same per-user store as the access password.
QSettings userStore()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Korvel"), QStringLiteral("Tessmer"));
}

} // namespace

QString loadTypedPortPath()
{
    return userStore().value(kTypedPortKey).toString().trimmed();
}

bool storeTypedPortPath(const QString &path)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Korvel"), QStringLiteral("Tessmer"));
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty()) {
        if (!store.contains(kTypedPortKey))
            return true;
        store.remove(kTypedPortKey);
    } else {
        store.setValue(kTypedPortKey, trimmed);
    }
    store.sync();
    const bool ok = store.status() == QSettings::NoError;
    // The store also holds the password: readable by its owner only.
    QFile::setPermissions(store.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return ok;
}

QString serialPortPath(int portIndex)
{
    const QString typed = loadTypedPortPath();
    if (!typed.isEmpty())
        return typed;
    const QStringList &names = PortNames();
    return names.at(portIndex >= 0 && portIndex < names.size() ? portIndex : 0);
}

int portTableIndex(const QString &path)
{
    return int(PortNames().indexOf(path.trimmed()));
}

QStringList presentSerialPorts()
{
    QStringList paths;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports)
        paths << port.systemLocation();
    return paths;
}

} // namespace device
