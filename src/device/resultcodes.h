// The outcome of every device operation as a typed status, and the message
// each one leads to.
#pragma once

#include <QString>

namespace device {

// The outcome of a device operation. Its number is the result code the
// program reports: the command-line tool exits with it.
enum class Status : int {
    Ok = 0,
    PortUnavailable = 1, // serial port cannot be opened
    WriteFailed = 2, // a request byte was not written
    StatusError = 3, // answer status 0xFF
    NoAnswer = 4, // no answer byte at all
    BadStatus = 5, // other status, bad USB answer start, decoding failure
    BrokenAnswer = 6, // answer broken off; USB request failed
    DataError = 7, // answer CRC wrong, oversized answer, undecodable meter database
    SettingsFailed = 8, // port settings cannot be applied
    RestoreFailed = 9, // port settings cannot be restored
    CloseFailed = 10, // port cannot be closed
    ArchiveEmpty = 11,
    EntryCrc = 12, // CRC of an archive-content entry wrong
    Cancelled = 14, // cancel; USB library or device-count dialog shown
    NotRecognised = 50,
};

// The result code of a status (exit status of the command-line tool).
constexpr int code(Status status)
{
    return static_cast<int>(status);
}

// The earlier names of the statuses, kept for code written against them.
inline constexpr Status ResultOk = Status::Ok;
inline constexpr Status ResultPortUnavailable = Status::PortUnavailable;
inline constexpr Status ResultWriteFailed = Status::WriteFailed;
inline constexpr Status ResultStatusError = Status::StatusError;
inline constexpr Status ResultNoAnswer = Status::NoAnswer;
inline constexpr Status ResultBadStatus = Status::BadStatus;
inline constexpr Status ResultBrokenAnswer = Status::BrokenAnswer;
inline constexpr Status ResultDataError = Status::DataError;
inline constexpr Status ResultSettingsFailed = Status::SettingsFailed;
inline constexpr Status ResultRestoreFailed = Status::RestoreFailed;
inline constexpr Status ResultCloseFailed = Status::CloseFailed;
inline constexpr Status ResultArchiveEmpty = Status::ArchiveEmpty;
inline constexpr Status ResultEntryCrc = Status::EntryCrc;
inline constexpr Status ResultCancelled = Status::Cancelled;
inline constexpr Status ResultNotRecognised = Status::NotRecognised;

// Key of the message table entry of a status ("Error1" ...), empty for Ok.
// A status without a message of its own gives the message of an
// unrecognised instrument.
QString messageKeyForResult(Status status);

// True when the message of the status is followed by the port name.
bool messageTakesPortName(Status status);

} // namespace device
