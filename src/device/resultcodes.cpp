#include "resultcodes.h"

namespace device {

QString messageKeyForResult(int code)
{
    switch (code) {
    case ResultOk:
        return {};
    case ResultPortUnavailable:
    case ResultSettingsFailed:
    case ResultRestoreFailed:
        return QStringLiteral("Error1");
    case ResultWriteFailed:
    case ResultBadStatus:
        return QStringLiteral("Error2");
    case ResultStatusError:
        return QStringLiteral("Error3");
    case ResultNoAnswer:
        return QStringLiteral("Error4");
    case ResultBrokenAnswer:
        return QStringLiteral("Error5");
    case ResultDataError:
        return QStringLiteral("Error6");
    case ResultCloseFailed:
        return QStringLiteral("Error7");
    case ResultArchiveEmpty:
        return QStringLiteral("Error8");
    case ResultEntryCrc:
        return QStringLiteral("Error9");
    case ResultCancelled:
        return QStringLiteral("Error11");
    default:
        return QStringLiteral("Error12");
    }
}

bool messageTakesPortName(int code)
{
    return code == ResultPortUnavailable;
}

} // namespace device
