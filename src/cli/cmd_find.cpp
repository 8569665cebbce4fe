// vardosk-cli find [--serial TEXT] [--type TEXT] FOLDER: every meter file
// below a data folder whose serial number holds the digits given and whose
// meter type holds the text given (any letter case), one JSON object per
// line, in folder order. Names are looked at first; only files that may
// match are read.
#include "commands.h"

#include "jsonwriter.h"
#include "records/storedindex.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

int usage(const QString &problem)
{
    QTextStream(stderr) << problem << "\nusage: vardosk-cli find [--serial TEXT] [--type TEXT] FOLDER\n";
    return 2;
}

} // namespace

int runFind(const QStringList &args)
{
    MeterQuery query;
    QString folder;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--serial") && hasValue)
            query.serial = args.at(++i);
        else if (a == QLatin1String("--type") && hasValue)
            query.meterType = args.at(++i);
        else if (!a.startsWith(QLatin1String("--")) && folder.isEmpty())
            folder = a;
        else
            return usage(QStringLiteral("unknown or incomplete argument \"%1\"").arg(a));
    }
    if (folder.isEmpty())
        return usage(QStringLiteral("FOLDER is needed"));
    if (!QFileInfo(folder).isDir())
        return usage(QStringLiteral("\"%1\" is not a folder").arg(folder));
    if (query.isEmpty())
        return usage(QStringLiteral("--serial or --type is needed"));

    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    for (const FoundMeter &m : FindMeters(folder, query)) {
        // Members in name order; the data folder itself is ".".
        out << json::Object(json::Spacing::Compact)
                   .text(QStringLiteral("file"), m.file.fileName)
                   .text(QStringLiteral("folder"), m.file.folder.isEmpty() ? QStringLiteral(".") : m.file.folder)
                   .text(QStringLiteral("lastDate"), m.lastDate.toString(Qt::ISODate))
                   .text(QStringLiteral("lastTime"), m.lastTime.toString(QStringLiteral("HH:mm:ss")))
                   .text(QStringLiteral("meterType"), m.meterType)
                   .integer(QStringLiteral("serial"), qint64(m.serial))
                   .text(QStringLiteral("serialText"), m.serialText)
                   .integer(QStringLiteral("verifications"), m.verifications)
                   .toString()
            << '\n';
    }
    return 0;
}
