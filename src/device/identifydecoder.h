// Pure decoders of the instrument's identify answer. They read only the bytes
// they are given (a short answer reads as zeros past its end) and never touch
// a port.
#pragma once

#include "records/deviceinfo.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace device {

enum class IdentifyOutcome {
    Recognised, // DeviceInfo filled, the instrument is served
    NotRecognised, // unknown designation or version: the operation gives 50
    Malformed, // a version character that is not a digit: code 5
};

// Version words as text: both words in upper-case hexadecimal without
// leading zeros, joined, with "." before the second and the fourth
// character (0x7 and 0x201 give "7.2.01", 0x72 and 0x1 give "7.2.1").
QString versionText(std::uint16_t word1, std::uint16_t word2);

// Answer of the older identify request (command 0x0B, page 8163). `answer`
// is the whole answer frame; the payload starts at offset 4.
IdentifyOutcome decodeOlderIdentify(const QByteArray &answer, DeviceInfo &info);

// Answer of the newer identify request (command 0x0F, word address 0).
IdentifyOutcome decodeNewerIdentify(const QByteArray &answer, DeviceInfo &info);

} // namespace device
