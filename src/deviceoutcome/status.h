// The outcome of every device operation as a typed status with distinct
// causes, and the result code each cause is reported with.
#pragma once

namespace device {

// The outcome of a device operation. Each cause is told apart; several share
// the result code the program reports for them (code()).
enum class Status {
    Ok,
    PortUnavailable, // serial port cannot be opened
    WriteFailed, // a request byte was not written
    StatusError, // answer status 0xFF
    NoAnswer, // no answer byte at all
    BadStatus, // other status, bad USB answer start, decoding failure
    BrokenAnswer, // answer broken off; USB request failed
    DataError, // answer CRC wrong, oversized answer, undecodable meter database
    SettingsFailed, // port settings cannot be applied
    RestoreFailed, // port settings cannot be restored
    CloseFailed, // port cannot be closed
    ArchiveEmpty,
    EntryCrc, // CRC of an archive-content entry wrong
    Cancelled, // stopped by the user
    UsbLibraryMissing, // the USB library or one of its entry points is missing
    UsbNoDevice, // no USB device
    UsbSeveralDevices, // more than one USB device
    NotRecognised,
};

// The result code of a status (exit status of the command-line tool).
constexpr int code(Status status)
{
    switch (status) {
    case Status::Ok:
        return 0;
    case Status::PortUnavailable:
        return 1;
    case Status::WriteFailed:
        return 2;
    case Status::StatusError:
        return 3;
    case Status::NoAnswer:
        return 4;
    case Status::BadStatus:
        return 5;
    case Status::BrokenAnswer:
        return 6;
    case Status::DataError:
        return 7;
    case Status::SettingsFailed:
        return 8;
    case Status::RestoreFailed:
        return 9;
    case Status::CloseFailed:
        return 10;
    case Status::ArchiveEmpty:
        return 11;
    case Status::EntryCrc:
        return 12;
    case Status::Cancelled:
    case Status::UsbLibraryMissing:
    case Status::UsbNoDevice:
    case Status::UsbSeveralDevices:
        return 14;
    case Status::NotRecognised:
        break;
    }
    return 50;
}

} // namespace device
