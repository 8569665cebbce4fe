// vardosk-cli dump: stored verification files as JSON, one object per line.
#include "commands.h"

#include "records/meterfile.h"
#include "records/recordlabels.h"

#include <QTextStream>

#include <charconv>
#include <cmath>

namespace {

QString jsonString(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
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

// The shortest text that reads back as the same double; a point as decimal
// separator whatever the locale; null when not finite.
QString jsonNumber(double x)
{
    if (!std::isfinite(x))
        return QStringLiteral("null");
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, x);
    return QString::fromLatin1(buf, res.ptr - buf);
}

template <typename Array>
QString jsonNumbers(const Array &values)
{
    QStringList parts;
    for (const auto v : values)
        parts << jsonNumber(double(v));
    return QLatin1Char('[') + parts.join(QLatin1Char(',')) + QLatin1Char(']');
}

// An object from key/value pairs in the given order.
QString jsonObject(std::initializer_list<std::pair<const char *, QString>> members)
{
    QStringList parts;
    for (const auto &[key, value] : members)
        parts << jsonString(QString::fromLatin1(key)) + QLatin1String(": ") + value;
    return QLatin1Char('{') + parts.join(QLatin1String(", ")) + QLatin1Char('}');
}

QString pointJson(const pcn::_datasample &p)
{
    return jsonObject({
        {"U", jsonNumbers(p.U)},
        {"I", jsonNumbers(p.I)},
        {"Uline", jsonNumbers(p.Uline)},
        {"P", jsonNumbers(p.P)},
        {"Ptotal", jsonNumber(p.Ptotal)},
        {"S", jsonNumbers(p.S)},
        {"Stotal", jsonNumber(p.Stotal)},
        {"QcrossTotal", jsonNumber(p.QcrossTotal)},
        {"QshiftTotal", jsonNumber(p.QshiftTotal)},
        {"Q", jsonNumbers(p.Q)},
        {"QgeomTotal", jsonNumber(p.QgeomTotal)},
        {"cosPhi", jsonNumbers(p.cosPhi)},
        {"pfTotal", jsonNumber(p.pfTotal)},
        {"pfChar", jsonString(QString::fromLatin1(p.pfChar.data(), 4))},
        {"errorPercent", jsonNumber(p.errorPercent)},
        {"extraValue", jsonNumber(p.extraValue)},
        {"range", jsonNumbers(p.range)},
        {"rangeUText", jsonString(p.rangeUText)},
        {"rangeIText", jsonString(p.rangeIText)},
    });
}

QString verificationJson(const pcn::_blockdata &v)
{
    QStringList points;
    for (const pcn::_datasample &p : v.points)
        points << pointJson(p);
    return jsonObject({
        {"meterType", jsonString(v.meterType)},
        {"serial", QString::number(v.serial)},
        {"serialText", jsonString(v.serialText)},
        {"accuracyClass", jsonNumber(v.accuracyClass)},
        {"constant", QString::number(v.constant)},
        {"year", QString::number(v.year)},
        {"scheme", QString::number(v.scheme)},
        {"uLineNom", jsonNumber(v.uLineNom)},
        {"uPhaseNom", jsonNumber(v.uPhaseNom)},
        {"iNom", jsonNumber(v.iNom)},
        {"powerType", QString::number(v.powerType)},
        {"date", jsonString(v.date.toString(QStringLiteral("yyyy-MM-dd")))},
        {"time", jsonString(v.time.toString(QStringLiteral("HH:mm:ss")))},
        {"i1", QString::number(v.i1)},
        {"i2", QString::number(v.i2)},
        {"points", QLatin1Char('[') + points.join(QLatin1String(", ")) + QLatin1Char(']')},
    });
}

QString fileJson(const QString &name, const MeterFileReadResult &r)
{
    if (!r.readable)
        return jsonObject({{"file", jsonString(name)}, {"readable", QStringLiteral("false")}});
    QStringList verifications;
    for (const pcn::_blockdata &v : r.meter.verifications)
        verifications << verificationJson(v);
    const InstrumentIdentity &i = r.meter.instrument;
    return jsonObject({
        {"file", jsonString(name)},
        {"readable", QStringLiteral("true")},
        {"bytesConsumed", QString::number(r.bytesConsumed)},
        {"instrument", jsonObject({{"name", jsonString(i.name)},
                                   {"serial", QString::number(i.serial)},
                                   {"type", QString::number(i.type)}})},
        {"verifications", QLatin1Char('[') + verifications.join(QLatin1String(", ")) + QLatin1Char(']')},
    });
}

int usage(const QString &problem)
{
    QTextStream(stderr) << "vardosk-cli dump: " << problem << "\nusage: vardosk-cli dump [--language ru|en] FILE.pcn...\n";
    return 2;
}

} // namespace

int runDump(const QStringList &args)
{
    int language = 1;
    QStringList files;
    for (qsizetype k = 0; k < args.size(); ++k) {
        const QString &a = args[k];
        QString value;
        if (a == QLatin1String("--language")) {
            if (++k >= args.size())
                return usage(QStringLiteral("--language needs ru or en"));
            value = args[k];
        } else if (a.startsWith(QLatin1String("--language="))) {
            value = a.mid(11);
        } else if (a.startsWith(QLatin1String("--")) && a.size() > 2) {
            return usage(QStringLiteral("unknown option ") + a);
        } else {
            files << a;
            continue;
        }
        if (value == QLatin1String("ru"))
            language = 0;
        else if (value == QLatin1String("en"))
            language = 1;
        else
            return usage(QStringLiteral("--language needs ru or en"));
    }
    if (files.isEmpty())
        return usage(QStringLiteral("no file given"));

    const RecordLabels labels = RecordLabels::defaults(language, QLocale::c());
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    bool allReadable = true;
    for (const QString &file : files) {
        const MeterFileReadResult r = ReadMeterFile(file, labels);
        allReadable = allReadable && r.readable;
        out << fileJson(file, r) << '\n';
    }
    out.flush();
    return allReadable ? 0 : 1;
}
