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
    for (const ListedMeter &meter : store.meters()) {
        // The first verification is the meter's identity, as in the meter list.
        out << json::Object()
                   .text(QStringLiteral("file"), meter.fileName)
                   .text(QStringLiteral("meterType"), meter.meterType)
                   .text(QStringLiteral("serialText"), meter.serialText)
                   .integer(QStringLiteral("verifications"), meter.verificationCount)
                   .toString()
            << '\n';
    }
    return 0;
}
