#include "resultcodes.h"

namespace device {

QString messageKeyForResult(Status status)
{
    switch (status) {
    case Status::Ok:
        return {};
    case Status::PortUnavailable:
    case Status::SettingsFailed:
    case Status::RestoreFailed:
        return QStringLiteral("Error1");
    case Status::WriteFailed:
    case Status::BadStatus:
        return QStringLiteral("Error2");
    case Status::StatusError:
        return QStringLiteral("Error3");
    case Status::NoAnswer:
        return QStringLiteral("Error4");
    case Status::BrokenAnswer:
        return QStringLiteral("Error5");
    case Status::DataError:
        return QStringLiteral("Error6");
    case Status::CloseFailed:
        return QStringLiteral("Error7");
    case Status::ArchiveEmpty:
        return QStringLiteral("Error8");
    case Status::EntryCrc:
        return QStringLiteral("Error9");
    case Status::Cancelled:
        return QStringLiteral("Error11");
    case Status::NotRecognised:
        break;
    }
    return QStringLiteral("Error12");
}

bool messageTakesPortName(Status status)
{
    return status == Status::PortUnavailable;
}

} // namespace device
