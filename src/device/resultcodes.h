// Result codes of the device operations and the status message each one
// leads to.
#pragma once

#include <QString>

namespace device {

enum ResultCode : int {
    ResultOk = 0,
    ResultPortUnavailable = 1,  // serial port cannot be opened
    ResultWriteFailed = 2,      // a request byte was not written
    ResultStatusError = 3,      // answer status 0xFF
    ResultNoAnswer = 4,         // no answer byte at all
    ResultBadStatus = 5,        // other status, bad USB answer start, decoding failure
    ResultBrokenAnswer = 6,     // answer broken off; USB request failed
    ResultDataError = 7,        // answer CRC wrong, oversized answer, undecodable meter database
    ResultSettingsFailed = 8,   // port settings cannot be applied
    ResultRestoreFailed = 9,    // port settings cannot be restored
    ResultCloseFailed = 10,     // port cannot be closed
    ResultArchiveEmpty = 11,
    ResultEntryCrc = 12,        // CRC of an archive-content entry wrong
    ResultCancelled = 14,       // cancel; USB library or device-count dialog shown
    ResultNotRecognised = 50,
};

// Key of the message table entry for a non-zero result code ("Error1" ...),
// empty for 0. Unknown codes give the message of an unrecognised instrument.
QString messageKeyForResult(int code);

// True when the message of the code is followed by the port name.
bool messageTakesPortName(int code);

} // namespace device
