// What differs between operating systems below the platform mapping: each
// function has one definition in platform_posix.cpp and one in
// platform_windows.cpp, of which the build compiles the one for its system.
// Only src/base/platform*.cpp include this header.
#pragma once

#include <QString>

namespace platform::native {

// Flushes an open file's data to the disk; false when the system refuses.
bool syncToDisk(int fileHandle);

// Creates the file when it is missing and leaves it readable and writable by
// its owner only (without following a link in its place).
bool createOwnerOnlyFile(const QString &path);

} // namespace platform::native
