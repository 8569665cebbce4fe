#include "outcometext.h"

#include "base/stringcatalog.h"
#include "base/stringcatalog.h"

#include <QStringList>

namespace deviceoutcome {

using device::Status;

Texts builtInTexts(int language)
{
    return {[language](int n) { return catalogDefault(kMainSectionKey, messagePath(n), language); }, language};
}

int statusMessage(Status status)
{
    switch (status) {
    case Status::Ok:
        return 0;
    case Status::PortUnavailable:
    case Status::SettingsFailed:
    case Status::RestoreFailed:
        return 1;
    case Status::WriteFailed:
    case Status::BadStatus:
        return 2;
    case Status::StatusError:
        return 3;
    case Status::NoAnswer:
        return 4;
    case Status::BrokenAnswer:
        return 5;
    case Status::DataError:
        return 6;
    case Status::CloseFailed:
        return 7;
    case Status::ArchiveEmpty:
        return 8;
    case Status::EntryCrc:
        return 9;
    case Status::Cancelled:
    case Status::UsbLibraryMissing:
    case Status::UsbNoDevice:
    case Status::UsbSeveralDevices:
        return 11;
    case Status::NotRecognised:
        break;
    }
    return 12;
}

int statusDialogMessage(Status status)
{
    switch (status) {
    case Status::UsbLibraryMissing:
        return 31;
    case Status::UsbNoDevice:
        return 32;
    case Status::UsbSeveralDevices:
        return 33;
    default:
        return 0;
    }
}

bool statusTakesPortName(Status status)
{
    return status == Status::PortUnavailable;
}

QString portFailureText(const device::PortFailure &failure, int language)
{
    using Kind = device::PortFailure::Kind;
    switch (failure.kind) {
    case Kind::None:
        return {};
    case Kind::NotPresent:
        return programText(ProgramText::PortNotPresent, language);
    case Kind::NoPermission:
        if (failure.group.isEmpty())
            return programText(ProgramText::PortNoPermission, language);
        return programText(ProgramText::PortNoPermissionGroup, language).arg(failure.group);
    case Kind::InUse:
        return programText(ProgramText::PortInUse, language);
    case Kind::Other:
        break;
    }
    QString text = programText(ProgramText::PortCannotOpen, language);
    if (!failure.systemError.isEmpty())
        text += QStringLiteral(": ") + failure.systemError;
    return text;
}

OutcomeText outcomeText(Status status, const QString &portName, const device::PortFailure &port, const Texts &texts)
{
    OutcomeText out;
    if (status == Status::Ok || !texts.message)
        return out;
    if (const int dialog = statusDialogMessage(status))
        out.dialog = texts.message(dialog);
    out.status = texts.message(statusMessage(status));
    if (statusTakesPortName(status)) {
        out.status += portName;
        const QString why = portFailureText(port, texts.language);
        if (!why.isEmpty())
            out.status += QStringLiteral(" (") + why + QLatin1Char(')');
    }
    return out;
}

QString storeReportText(const ArchiveStoreReport &report, const Texts &texts)
{
    QStringList parts;
    if (report.notStored > 0) {
        parts << texts.message(36).trimmed()
              << programText(ProgramText::RecordsNotStored, texts.language).arg(report.notStored).arg(report.due());
        if (report.changedMeanwhile > 0)
            parts << programText(ProgramText::ChangedOnAnotherWorkstation, texts.language);
    }
    if (report.clampedConstants > 0)
        parts << programText(ProgramText::ConstantsClamped, texts.language).arg(report.clampedConstants);
    return parts.join(QLatin1Char(' '));
}

} // namespace deviceoutcome
