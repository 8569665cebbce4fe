// vardosk-cli scan FOLDER: the meter list of a folder, exactly as selecting
// the folder in the program builds it (including the upgrade of headerless
// files), one JSON object per meter and line, in list order.
#include "commands.h"

#include "records/recordstore.h"

#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace {

// A JSON string literal: quotes, backslashes and control characters escaped.
QString jsonString(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QLatin1String("\\\""); break;
        case '\\': out += QLatin1String("\\\\"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        case '\b': out += QLatin1String("\\b"); break;
        case '\f': out += QLatin1String("\\f"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

} // namespace

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
        out << "{\"file\": " << jsonString(meter.fileName)
            << ", \"meterType\": " << jsonString(first ? first->meterType : QString())
            << ", \"serialText\": " << jsonString(first ? first->serialText : QString())
            << ", \"verifications\": " << meter.verifications.size() << "}\n";
    }
    return 0;
}
