// vardosk-cli verdict: every verification of a stored file against the
// limits table, as one JSON object per file. The exit status tells only
// whether the file and the limits could be read, never the verdict.
#include "commands.h"
#include "jsonwriter.h"

#include "base/platform.h"
#include "records/meterfile.h"
#include "records/verdict.h"

#include <QTextStream>

#include <cmath>

namespace {

int usage(const QString &problem)
{
    QTextStream(stderr) << "vardosk-cli verdict: " << problem
                        << "\nusage: vardosk-cli verdict FILE.pcn [--limits FILE]\n";
    return 2;
}

QString loadName(limits::Load load)
{
    return load == limits::Load::SinglePhase ? QStringLiteral("single") : QStringLiteral("balanced");
}

QString pointJson(int number, const limits::PointVerdict &p)
{
    json::Object o;
    o.integer(QStringLiteral("point"), number);
    o.number(QStringLiteral("error"), p.error);
    o.number(QStringLiteral("currentPercent"), std::isfinite(p.conditions.currentFraction)
                                                   ? std::round(p.conditions.currentFraction * 1e6) / 1e4
                                                   : p.conditions.currentFraction);
    o.text(QStringLiteral("load"), loadName(p.conditions.load));
    o.number(QStringLiteral("powerFactor"), std::round(p.conditions.powerFactor * 1e4) / 1e4);
    o.text(QStringLiteral("character"), QString(QLatin1Char(p.conditions.character)).trimmed());
    o.text(QStringLiteral("verdict"), limits::pointOutcomeName(p.outcome));
    if (p.outcome == limits::PointOutcome::NoLimit) {
        o.raw(QStringLiteral("limit"), QStringLiteral("null"));
        o.raw(QStringLiteral("margin"), QStringLiteral("null"));
    } else {
        o.number(QStringLiteral("limit"), p.limit);
        o.number(QStringLiteral("margin"), std::round(p.margin * 1e6) / 1e6);
    }
    return o.toString();
}

QString verificationJson(int index, const pcn::_blockdata &v, const limits::VerificationVerdict &verdict)
{
    QStringList points;
    for (int k = 0; k < verdict.points.size(); ++k)
        points << pointJson(k + 1, verdict.points[k]);
    QStringList sources;
    for (const QString &s : verdict.sources)
        sources << json::string(s);
    QStringList over;
    for (int n : verdict.overPoints)
        over << json::integer(n);
    json::Object o;
    o.integer(QStringLiteral("index"), index);
    o.integer(QStringLiteral("powerType"), v.powerType);
    o.text(QStringLiteral("class"), verdict.className);
    o.text(QStringLiteral("verdict"), limits::outcomeName(verdict.outcome));
    o.raw(QStringLiteral("sources"), json::array(sources));
    o.raw(QStringLiteral("overPoints"), json::array(over));
    o.raw(QStringLiteral("points"), json::array(points));
    return o.toString();
}

} // namespace

int runVerdict(const QStringList &args)
{
    QString file;
    QString limitsPath;
    for (qsizetype k = 0; k < args.size(); ++k) {
        const QString &a = args[k];
        if (a == QLatin1String("--limits")) {
            if (++k >= args.size())
                return usage(QStringLiteral("--limits needs a file"));
            limitsPath = args[k];
        } else if (a.startsWith(QLatin1String("--"))) {
            return usage(QStringLiteral("unknown option ") + a);
        } else if (file.isEmpty()) {
            file = a;
        } else {
            return usage(QStringLiteral("one file only"));
        }
    }
    if (file.isEmpty())
        return usage(QStringLiteral("no file given"));

    const limits::LoadedLimits loaded = limitsPath.isEmpty() ? limits::loadProgramLimits(platform::programFolder())
                                                             : limits::loadLimitsFile(limitsPath);
    if (!loaded.refusedPath.isEmpty()) {
        QTextStream(stderr) << "vardosk-cli verdict: limits file " << loaded.refusedPath << " refused, line "
                            << loaded.errorLine << ": " << limits::errorText(loaded.error) << "\n";
        if (!limitsPath.isEmpty())
            return 2;
    }

    const MeterFileReadResult r = ReadMeterFile(file);
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    json::Object o;
    o.text(QStringLiteral("file"), file);
    o.boolean(QStringLiteral("readable"), r.readable);
    if (!r.readable) {
        out << o.toString() << '\n';
        return 1;
    }
    o.text(QStringLiteral("limits"), loaded.path.isEmpty() ? QStringLiteral("built-in") : loaded.path);
    QStringList verifications;
    for (int k = 0; k < r.meter.verifications.size(); ++k) {
        const pcn::_blockdata &v = r.meter.verifications[k];
        verifications << verificationJson(k, v, limits::judgeVerification(loaded.table, v));
    }
    o.raw(QStringLiteral("verifications"), json::array(verifications));
    out << o.toString() << '\n';
    return 0;
}
