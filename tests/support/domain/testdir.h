// Helpers shared by the tests.
#pragma once

#include <QByteArray>
#include <QString>

namespace testsupport {

// Folder of the built executables and DataStrings.xml.
QString binDir();

// Reads a whole file; empty when it cannot be read.
QByteArray readAll(const QString &path);

// Writes a whole file, replacing it; false on failure.
bool writeAll(const QString &path, const QByteArray &bytes);

// Builds bytes from a string of hexadecimal digits; blanks are ignored.
QByteArray hex(const char *digits);

} // namespace testsupport
