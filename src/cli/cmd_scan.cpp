// vardosk-cli scan FOLDER: the meter list of a folder, exactly as selecting
// the folder in the program builds it (including the upgrade of headerless
// files), one JSON object per meter and line, in list order.
#include "commands.h"

#include "jsonwriter.h"
#include "records/recordstore.h"

#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

int runScan(const QStringList &args)
{
    QTextStream err(stderr);
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--"))) {
        err << "usage: vardosk-cli scan FOLDER\n";
        return 2;
    }
    const QString folder = args.first();
    if (!QFileInfo(folder).isDir()) {
        err << "scan: not a folder: " << folder << "\n";
        return 1;
    }

    RecordStore store(folder);
    store.SelectFolder(folder);

    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    for (const pcn::_totalblockdata &meter : store.meters()) {
        // The first verification is the meter's identity, as in the meter list.
        const pcn::_blockdata *first = meter.verifications.isEmpty() ? nullptr : &meter.verifications.first();
        out << json::Object()
                   .text(QStringLiteral("file"), meter.fileName)
                   .text(QStringLiteral("meterType"), first ? first->meterType : QString())
                   .text(QStringLiteral("serialText"), first ? first->serialText : QString())
                   .integer(QStringLiteral("verifications"), meter.verifications.size())
                   .toString()
            << '\n';
    }
    return 0;
}
