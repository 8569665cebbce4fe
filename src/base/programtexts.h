// Texts of the program that the string file does not carry (it holds the
// texts of the original windows and messages only), in Russian and English.
// They complete a message of the string file or explain a system condition,
// and follow the program's language like every other text.
#pragma once

#include <QString>

enum class ProgramText {
    // "%1 of %2" verifications read could not be stored.
    RecordsNotStored,
    // "%1" verifications were stored with their meter constant clamped.
    ConstantsClamped,
    // Why a serial port cannot be opened.
    PortNotPresent,
    PortNoPermission,
    PortNoPermissionGroup, // "%1": the group that owns the device
    PortInUse,
    PortCannotOpen,
};

// The text in a language (0 Russian, anything else English).
QString programText(ProgramText id, int language);
