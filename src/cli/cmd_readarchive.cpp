// vardosk-cli read-archive: identifies the instrument, reads its archive
// content and the chosen verifications, converts them and stores them in a
// folder, as the program's "Read from device" does. "--records new" reads
// only the verifications stored nowhere below the data folder yet (--data,
// by default the --into folder). Prints one JSON line per file written and
// the final status message in English; the exit status is
// the run's result code (2 for a wrong command line, 13 when verifications
// read could not all be stored as they came, with the message on stderr).
#include "commands.h"
#include "connectionargs.h"

#include "device/archivesession.h"
#include "device/connection.h"
#include "deviceoutcome/status.h"
#include "deviceoutcome/outcometext.h"
#include "records/recordstore.h"
#include "records/storedindex.h"

#include <QDir>
#include <QFileInfo>
#include "jsonwriter.h"

#include <QTextStream>

#include <optional>

namespace {

constexpr int kEnglish = 1;

// Exit status when the verifications were read but not all were stored as
// they came (a file could not be written, a constant was clamped); no result
// code of an exchange has this value.
constexpr int kExitNotAllStored = 13;

int usage(const QString &problem)
{
    QTextStream(stderr) << problem
                        << "\nusage: vardosk-cli read-archive --port DEVICE [--rate BAUD] [--usb] --into FOLDER"
                           " [--records all|new|N,N,...] [--data FOLDER] [--trace FILE]\n";
    return 2;
}

// "all" and "new" give nothing (every verification, or those not stored
// yet); otherwise the comma-separated numbers, each a positive integer.
std::optional<QVector<int>> parseRecordList(const QString &text, bool &all, bool &onlyNew)
{
    all = text.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0;
    onlyNew = text.compare(QLatin1String("new"), Qt::CaseInsensitive) == 0;
    QVector<int> numbers;
    if (all || onlyNew)
        return numbers;
    for (const QString &part : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int k = part.trimmed().toInt(&ok);
        if (!ok || k < 1)
            return std::nullopt;
        numbers.append(k);
    }
    return numbers;
}

} // namespace

int runReadArchive(const QStringList &args)
{
    device::Connection connection;
    QString into;
    QString data;
    QString records = QStringLiteral("all");
    for (int i = 0; i < args.size(); ++i) {
        QString error;
        const ConnectionArgument taken = takeConnectionArgument(args, i, connection, error);
        if (taken == ConnectionArgument::Invalid)
            return usage(error);
        if (taken == ConnectionArgument::Taken)
            continue;
        const QString &a = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--into") && hasValue)
            into = args.at(++i);
        else if (a == QLatin1String("--records") && hasValue)
            records = args.at(++i);
        else if (a == QLatin1String("--data") && hasValue)
            data = args.at(++i);
        else
            return usage(QStringLiteral("unknown or incomplete argument \"%1\"").arg(a));
    }
    if (!connection.usb && connection.portName.isEmpty())
        return usage(QStringLiteral("--port or --usb is needed"));
    if (into.isEmpty())
        return usage(QStringLiteral("--into FOLDER is needed"));
    if (!QFileInfo(into).isDir())
        return usage(QStringLiteral("\"%1\" is not a folder").arg(into));
    if (data.isEmpty())
        data = into;
    else if (!QFileInfo(data).isDir())
        return usage(QStringLiteral("\"%1\" is not a folder").arg(data));
    bool all = false;
    bool onlyNew = false;
    const std::optional<QVector<int>> listed = parseRecordList(records, all, onlyNew);
    if (!listed)
        return usage(QStringLiteral("--records takes \"all\", \"new\" or numbers counted from 1, separated by"
                                    " commas"));

    device::ExchangeContext context;
    device::ArchiveSession session(device::makeLinkMaker(connection, context), context);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const deviceoutcome::Texts english = deviceoutcome::builtInTexts(kEnglish);
    const auto finish = [&](device::Status rc) {
        const deviceoutcome::OutcomeText text =
            deviceoutcome::outcomeText(rc, connection.portName, context.portFailure, english);
        if (!text.dialog.isEmpty())
            err << text.dialog << '\n';
        if (rc == device::Status::Ok)
            out << english.message(14) << '\n';
        else
            err << text.status << '\n';
        return device::code(rc);
    };

    device::Status rc = session.identifyAndReadContent();
    if (rc != device::Status::Ok)
        return finish(rc);

    QVector<int> numbers = *listed;
    if (all || onlyNew) {
        const QVector<std::optional<QString>> stored =
            onlyNew ? LocateStored(data, session.content()) : QVector<std::optional<QString>>();
        for (int k = 1; k <= session.content().size(); ++k) {
            if (!onlyNew || !stored.at(k - 1))
                numbers.append(k);
        }
    }
    switch (device::checkSelection(numbers, session.archiveSize())) {
    case device::SelectionCheck::Ok:
        break;
    case device::SelectionCheck::TooMany:
        return usage(QStringLiteral("%1 verifications chosen; at most %2 can be read at a time: choose them with"
                                    " --records")
                         .arg(numbers.size())
                         .arg(device::kMaxRecordsPerRun));
    case device::SelectionCheck::OutOfRange:
        return usage(QStringLiteral("the archive holds verifications 1 to %1").arg(session.archiveSize()));
    }

    rc = session.readRecords(numbers);
    if (rc != device::Status::Ok)
        return finish(rc);

    // The folder is the store's current folder until a selection: nothing
    // needs to be scanned.
    RecordStore store(QDir(into).absolutePath() + QLatin1Char('/'));
    const ArchiveStoreReport report = session.storeRecords(store);
    for (const QString &path : report.written) {
        out << json::Object(json::Spacing::Compact).text(QStringLiteral("file"), path).toString() << '\n';
    }
    if (!report.complete()) {
        // Not a success: the reading itself worked, but not every
        // verification is stored as it came.
        err << deviceoutcome::storeReportText(report, english) << '\n';
        return kExitNotAllStored;
    }
    return finish(rc);
}
