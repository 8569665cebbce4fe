// The console of a command-line run, as far as it differs between operating
// systems: whether standard input is a terminal, and turning the echo of
// what is typed there off and on (vardosk-cli asks the access password so).
// Defined in platform_posix.cpp and platform_windows.cpp.
#pragma once

namespace platform {

bool standardInputIsTerminal();

// Turns the terminal's echo of typed characters on standard input off or
// on; false when standard input is no terminal or the system refuses.
bool setStandardInputEcho(bool on);

} // namespace platform
