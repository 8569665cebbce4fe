// Which serial device the program opens. The settings keep an index into the
// fixed table of device paths (so that config.cfg stays meaningful on every
// machine); a user whose instrument sits on another device (a
// /dev/serial/by-id link, a pseudo-terminal of the instrument emulator) types
// its path in the settings dialog, and that path is kept in the per-user
// settings store and used instead of the indexed entry.
#pragma once

#include <QString>
#include <QStringList>

namespace device {

// The typed device path; empty when none is kept.
QString loadTypedPortPath();
// Keeps the typed path (an empty path removes it). False when the store
// cannot be written.
bool storeTypedPortPath(const QString &path);

// The device path of the serial-port setting: the typed path when one is
// kept, else entry portIndex of PortNames() (an index outside the table
// counts as 0).
QString serialPortPath(int portIndex);

// The entry of PortNames() that equals the path, or -1.
int portTableIndex(const QString &path);

// Device paths of the serial ports present on this machine.
QStringList presentSerialPorts();

} // namespace device
