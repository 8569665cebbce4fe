// vardosk-cli report: the verification protocol of a stored file as a PDF or
// a report file, or a saved report file rendered as a PDF.
//
//   report FILE.pcn [--verifications N,N,...] --out OUT.pdf|OUT.qrp
//          [--title TEXT] [--ending TEXT] [--language ru|en]
//          [--verdicts] [--curves] [--limits FILE]
//   report --from FILE.qrp --out OUT.pdf
//
// Exit status: 0 written, 1 the input could not be used or the output not
// written, 2 wrong arguments. Messages go to stderr.
#include "commands.h"

#include "base/appstate.h"
#include "base/platform.h"
#include "records/errorlimits.h"
#include "records/meterfile.h"
#include "reports/pagerender.h"
#include "reports/protocollayout.h"
#include "reports/protocolverdicts.h"
#include "reports/reportfile.h"
#include "views/textlookup.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

namespace {

const char kUsage[] = "usage: vardosk-cli report FILE.pcn [--verifications N,N,...] --out OUT.pdf|OUT.qrp "
                      "[--title TEXT] [--ending TEXT] [--language ru|en] [--verdicts] [--curves] [--limits FILE]\n"
                      "       vardosk-cli report --from FILE.qrp --out OUT.pdf\n";

int usage(const QString &problem)
{
    QTextStream(stderr) << "vardosk-cli report: " << problem << "\n" << kUsage;
    return 2;
}

int failure(const QString &problem)
{
    QTextStream(stderr) << "vardosk-cli report: " << problem << "\n";
    return 1;
}

struct Options {
    QString input; // FILE.pcn
    QString from; // FILE.qrp
    QString out;
    QString title, ending; // plain texts
    QString verifications; // "N,N,..."
    int language = 1; // English unless asked otherwise
    bool verdicts = false, curves = false; // a verdict line, an error curve under each table
    QString limits; // limits file; the program's table when empty
};

enum class OutputKind { Pdf, ReportFile, Unknown };

OutputKind outputKind(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return OutputKind::Pdf;
    if (suffix == QLatin1String("qrp"))
        return OutputKind::ReportFile;
    return OutputKind::Unknown;
}

// Parses the arguments; an error text when they are wrong.
QString parse(const QStringList &args, Options &o)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        auto value = [&](QString &target) {
            if (i + 1 >= args.size())
                return false;
            target = args.at(++i);
            return true;
        };
        if (a == QLatin1String("--out")) {
            if (!value(o.out))
                return QStringLiteral("--out needs a file name");
        } else if (a == QLatin1String("--from")) {
            if (!value(o.from))
                return QStringLiteral("--from needs a report file");
        } else if (a == QLatin1String("--title")) {
            if (!value(o.title))
                return QStringLiteral("--title needs a text");
        } else if (a == QLatin1String("--ending")) {
            if (!value(o.ending))
                return QStringLiteral("--ending needs a text");
        } else if (a == QLatin1String("--verifications")) {
            if (!value(o.verifications))
                return QStringLiteral("--verifications needs numbers such as 1,3");
        } else if (a == QLatin1String("--language")) {
            QString lang;
            const std::optional<int> language = value(lang) ? languageOption(lang) : std::nullopt;
            if (!language)
                return QStringLiteral("--language needs ru or en");
            o.language = *language;
        } else if (a == QLatin1String("--verdicts")) {
            o.verdicts = true;
        } else if (a == QLatin1String("--curves")) {
            o.curves = true;
        } else if (a == QLatin1String("--limits")) {
            if (!value(o.limits))
                return QStringLiteral("--limits needs a file");
        } else if (a.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option %1").arg(a);
        } else if (o.input.isEmpty()) {
            o.input = a;
        } else {
            return QStringLiteral("more than one input file");
        }
    }
    if (o.out.isEmpty())
        return QStringLiteral("--out is missing");
    if (o.from.isEmpty() == o.input.isEmpty())
        return QStringLiteral("give either FILE.pcn or --from FILE.qrp");
    if (!o.from.isEmpty()
        && (outputKind(o.out) != OutputKind::Pdf || !o.verifications.isEmpty() || !o.title.isEmpty()
            || !o.ending.isEmpty()))
        return QStringLiteral("--from renders a report file as it is: only --out OUT.pdf goes with it");
    if (outputKind(o.out) == OutputKind::Unknown)
        return QStringLiteral("--out must end in .pdf or .qrp");
    return {};
}

// The chosen verifications as indices into the stored order; an error text
// when a number is wrong.
QString selection(const QString &list, int stored, QVector<int> &indices)
{
    if (list.isEmpty()) {
        if (stored > 10)
            return QStringLiteral("the file holds %1 verifications; name at most 10 with --verifications").arg(stored);
        for (int i = 0; i < stored; ++i)
            indices.append(i);
        return {};
    }
    for (const QString &part : list.split(QLatin1Char(','))) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        if (!ok || n < 1 || n > stored)
            return QStringLiteral("verification \"%1\" does not exist (the file holds %2)").arg(part).arg(stored);
        if (indices.contains(n - 1))
            return QStringLiteral("verification %1 is named twice").arg(n);
        indices.append(n - 1);
    }
    if (indices.size() > 10)
        return QStringLiteral("a protocol takes at most 10 verifications");
    return {};
}

bool writeOutput(const QString &path, const report::ReportPages &pages)
{
    if (outputKind(path) == OutputKind::ReportFile)
        return report::saveReportFile(path, pages) == report::ReportFileError::None;
    return report::writePdfFile(pages, path);
}

int renderReportFile(const Options &o)
{
    report::ReportPages pages;
    const report::ReportFileError error = report::loadReportFile(o.from, pages);
    if (error != report::ReportFileError::None)
        return failure(o.from + QLatin1String(": ") + programText(report::reportFileText(error), LanguageEnglish));
    if (!writeOutput(o.out, pages))
        return failure(QStringLiteral("cannot write %1").arg(o.out));
    return 0;
}

int buildProtocol(const Options &o)
{
    QFile file(o.input);
    if (!file.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("cannot read %1").arg(o.input));
    const QLocale locale = QLocale::system();
    // The bytes are decoded without touching the file (no header upgrade).
    const MeterFileReadResult read = parseMeterFile(file.readAll());
    if (!read.readable || read.meter.verifications.isEmpty())
        return failure(QStringLiteral("%1 is not a readable verification file").arg(o.input));

    QVector<int> chosen;
    const QString problem = selection(o.verifications, int(read.meter.verifications.size()), chosen);
    if (!problem.isEmpty())
        return usage(problem);

    const ReportTexts texts{report::plainTextToHtml(o.title), report::plainTextToHtml(o.ending)};
    std::optional<ProtocolDocument> doc =
        buildProtocolDocument(read.meter, chosen, texts, catalogTextLookup(o.language), locale);
    if (!doc)
        return failure(QStringLiteral("the connection scheme of the first verification (%1) has no protocol layout")
                           .arg(read.meter.verifications.first().scheme));
    if (o.verdicts || o.curves) {
        const limits::LoadedLimits loaded = o.limits.isEmpty() ? limits::loadProgramLimits(platform::programFolder())
                                                               : limits::loadLimitsFile(o.limits);
        if (!loaded.refusedPath.isEmpty())
            return failure(QStringLiteral("limits file %1 refused, line %2: %3")
                               .arg(loaded.refusedPath)
                               .arg(loaded.errorLine)
                               .arg(limits::errorText(loaded.error)));
        report::addProtocolVerdicts(*doc, read.meter, loaded.table, o.verdicts, o.curves, catalogTextLookup(o.language),
                                    locale);
    }
    if (!writeOutput(o.out, report::layoutProtocol(*doc)))
        return failure(QStringLiteral("cannot write %1").arg(o.out));
    return 0;
}

} // namespace

std::unique_ptr<QCoreApplication> makeReportApplication(int &argc, char **argv)
{
    // Fonts and text layout need the GUI application; a command line has no
    // screen to show, so it runs off-screen unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

int runReport(const QStringList &args)
{
    Options o;
    const QString problem = parse(args, o);
    if (!problem.isEmpty())
        return usage(problem);
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return failure(QStringLiteral("needs the GUI application (see makeReportApplication)"));
    return o.from.isEmpty() ? buildProtocol(o) : renderReportFile(o);
}
