// vardosk-cli dump: stored verification files as JSON, one object per line.
#include "commands.h"
#include "jsonwriter.h"

#include "records/meterfile.h"
#include "views/rangetexts.h"

#include <QTextStream>

namespace {

template <typename Array>
QString jsonNumbers(const Array &values)
{
    QStringList parts;
    for (const auto v : values)
        parts << json::number(double(v));
    return json::array(parts, json::Spacing::Compact);
}

// An object from key/value pairs in the given order.
QString jsonObject(std::initializer_list<std::pair<const char *, QString>> members)
{
    json::Object object;
    for (const auto &[key, value] : members)
        object.raw(QString::fromLatin1(key), value);
    return object.toString();
}

// The texts of what a file holds as codes, in the language asked for and
// with a point as decimal separator.
struct DumpTexts {
    TextLookup lookup;
    RangeLabels ranges;
};

QString pointJson(const pcn::_datasample &p, const RangeTextContext &ranges)
{
    return jsonObject({
        {"U", jsonNumbers(p.U)},
        {"I", jsonNumbers(p.I)},
        {"Uline", jsonNumbers(p.Uline)},
        {"P", jsonNumbers(p.P)},
        {"Ptotal", json::number(p.Ptotal)},
        {"S", jsonNumbers(p.S)},
        {"Stotal", json::number(p.Stotal)},
        {"QcrossTotal", json::number(p.QcrossTotal)},
        {"QshiftTotal", json::number(p.QshiftTotal)},
        {"Q", jsonNumbers(p.Q)},
        {"QgeomTotal", json::number(p.QgeomTotal)},
        {"cosPhi", jsonNumbers(p.cosPhi)},
        {"pfTotal", json::number(p.pfTotal)},
        {"pfChar", json::string(QString::fromLatin1(p.pfChar.data(), 4))},
        {"errorPercent", json::number(p.errorPercent)},
        {"extraValue", json::number(p.extraValue)},
        {"range", jsonNumbers(p.range)},
        {"rangeUText", json::string(rangeVoltageText(p.range, QLocale::c()))},
        {"rangeIText", json::string(rangeCurrentText(p.range, ranges, QLocale::c()))},
    });
}

QString verificationJson(const pcn::_blockdata &v, const DumpTexts &texts)
{
    const RangeTextContext ranges{v.instrumentType, texts.ranges};
    QStringList points;
    for (const pcn::_datasample &p : v.points)
        points << pointJson(p, ranges);
    return jsonObject({
        {"meterType", json::string(v.meterType)},
        {"serial", QString::number(v.serial)},
        {"serialText", json::string(v.serialText)},
        {"accuracyClass", json::number(v.accuracyClass)},
        {"constant", QString::number(v.constant)},
        {"year", QString::number(v.year)},
        {"scheme", QString::number(v.scheme)},
        {"uLineNom", json::number(v.uLineNom)},
        {"uPhaseNom", json::number(v.uPhaseNom)},
        {"iNom", json::number(v.iNom)},
        {"powerType", QString::number(v.powerType)},
        {"date", json::string(v.date.toString(QStringLiteral("yyyy-MM-dd")))},
        {"time", json::string(v.time.toString(QStringLiteral("HH:mm:ss")))},
        {"i1", QString::number(v.i1)},
        {"i2", QString::number(v.i2)},
        {"points", json::array(points)},
    });
}

QString fileJson(const QString &name, const MeterFileReadResult &r, const DumpTexts &texts)
{
    if (!r.readable)
        return jsonObject({{"file", json::string(name)}, {"readable", QStringLiteral("false")}});
    QStringList verifications;
    for (const pcn::_blockdata &v : r.meter.verifications)
        verifications << verificationJson(v, texts);
    const InstrumentIdentity &i = r.meter.instrument;
    return jsonObject({
        {"file", json::string(name)},
        {"readable", QStringLiteral("true")},
        {"bytesConsumed", QString::number(r.bytesConsumed)},
        {"instrument", jsonObject({{"name", json::string(instrumentName(i.type, texts.lookup))},
                                   {"serial", QString::number(i.serial)},
                                   {"type", QString::number(i.type)}})},
        {"verifications", json::array(verifications)},
    });
}

int usage(const QString &problem)
{
    QTextStream(stderr) << "vardosk-cli dump: " << problem
                        << "\nusage: vardosk-cli dump [--language ru|en] FILE.pcn...\n";
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
        const std::optional<int> chosen = languageOption(value);
        if (!chosen)
            return usage(QStringLiteral("--language needs ru or en"));
        language = *chosen;
    }
    if (files.isEmpty())
        return usage(QStringLiteral("no file given"));

    const TextLookup lookup = catalogTextLookup(language);
    const DumpTexts texts{lookup, RangeLabels::from(lookup)};
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    bool allReadable = true;
    for (const QString &file : files) {
        const MeterFileReadResult r = ReadMeterFile(file);
        allReadable = allReadable && r.readable;
        out << fileJson(file, r, texts) << '\n';
    }
    out.flush();
    return allReadable ? 0 : 1;
}
