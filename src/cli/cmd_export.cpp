// vardosk-cli export: the spreadsheet document of one stored verification,
// with the default column configuration; vardosk-cli export-folder: the CSV
// register of every verification in a folder. Texts in English unless
// --language ru; numbers and dates follow the user's locale as in the
// program.
#include "commands.h"

#include "base/platform.h"
#include "base/stringcatalog.h"
#include "records/errorlimits.h"
#include "export/excelexport.h"
#include "export/foldercsv.h"
#include "records/meterfile.h"
#include "records/recordstore.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

struct Options {
    QString input;
    QString out;
    int verification = 1;
    int language = LanguageEnglish;
};

int fail(const char *command, const QString &problem, int status = 1)
{
    QTextStream(stderr) << "vardosk-cli " << command << ": " << problem << "\n";
    return status;
}

// The program's own message for an export file that cannot be created.
int cannotCreate(const char *command, const Options &o)
{
    return fail(command, catalogDefault(kMainSectionKey, kMessageGroup + QStringLiteral("/Error36"), o.language)
                             + QLatin1Char(' ') + o.out);
}

// Parses FILE/FOLDER, --out, --language and (when allowed) --verification;
// an empty string on success, else the problem.
QString parse(const QStringList &args, bool withVerification, Options *o)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        auto value = [&](QString *into) {
            if (i + 1 >= args.size())
                return false;
            *into = args[++i];
            return true;
        };
        QString v;
        if (a == QLatin1String("--out")) {
            if (!value(&o->out))
                return QStringLiteral("--out needs a file name");
        } else if (a == QLatin1String("--language")) {
            const std::optional<int> language = value(&v) ? languageOption(v) : std::nullopt;
            if (!language)
                return QStringLiteral("--language needs ru or en");
            o->language = *language;
        } else if (withVerification && a == QLatin1String("--verification")) {
            bool ok = false;
            o->verification = value(&v) ? v.toInt(&ok) : 0;
            if (!ok || o->verification < 1)
                return QStringLiteral("--verification needs a number from 1");
        } else if (a.startsWith(QLatin1String("--")) || !o->input.isEmpty()) {
            return QStringLiteral("unexpected argument: ") + a;
        } else {
            o->input = a;
        }
    }
    if (o->input.isEmpty() || o->out.isEmpty())
        return QStringLiteral("missing arguments");
    return {};
}

} // namespace

int runExport(const QStringList &args)
{
    Options o;
    const QString problem = parse(args, true, &o);
    if (!problem.isEmpty())
        return fail("export",
                    problem
                        + QStringLiteral(
                            "\nusage: vardosk-cli export FILE.pcn [--verification N] --out OUT.xml [--language ru|en]"),
                    2);

    // Parsed from its bytes: an export leaves the file as it is.
    QFile file(o.input);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxMeterFileSize)
        return fail("export", QStringLiteral("cannot read ") + o.input);
    const QByteArray bytes = file.readAll();
    const MeterFileReadResult read = parseMeterFile(bytes);
    if (!read.readable)
        return fail("export", QStringLiteral("not a readable verification file: ") + o.input);
    const QVector<pcn::_blockdata> &verifications = read.meter.verifications;
    if (o.verification > verifications.size())
        return fail(
            "export",
            QStringLiteral("the file holds %1 verification(s), not %2").arg(verifications.size()).arg(o.verification));

    ExcelExportInput input;
    input.verification = &verifications[o.verification - 1];
    for (int g = 0; g < kGridCount; ++g)
        input.columns[g] = defaultGridColumns(GridKind(g));
    input.lookup = catalogTextLookup(o.language);
    input.created = QDateTime::currentDateTimeUtc();
    input.limits = limits::loadProgramLimits(platform::programFolder()).table;
    if (!ExportExcel(o.out, input))
        return cannotCreate("export", o);
    return 0;
}

int runExportFolder(const QStringList &args)
{
    Options o;
    const QString problem = parse(args, false, &o);
    if (!problem.isEmpty())
        return fail(
            "export-folder",
            problem + QStringLiteral("\nusage: vardosk-cli export-folder FOLDER --out OUT.csv [--language ru|en]"), 2);
    if (!QFileInfo(o.input).isDir())
        return fail("export-folder", QStringLiteral("not a folder: ") + o.input);

    RecordStore store(o.input);
    store.SelectFolder(o.input);
    const limits::Table table = limits::loadProgramLimits(platform::programFolder()).table;
    if (!ExportFolderCsv(o.out, store.loadMeters(), catalogTextLookup(o.language), &table))
        return cannotCreate("export-folder", o);
    return 0;
}
