#include "errorlimits.h"

#include "base/platform.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringConverter>

#include <cmath>

namespace limits {
namespace {

// The shipped ErrorLimits.txt as a string literal, generated at configure
// time from data/ErrorLimits.txt.
#include "errorlimits_builtin.inc"

std::optional<double> number(const QString &token)
{
    bool ok = false;
    const double value = token.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

struct LineParser {
    Table table;
    QString source;
    ParseError error = ParseError::None;

    ParseError band(const QStringList &f)
    {
        if (f.size() != 7)
            return ParseError::FieldCount;
        if (source.isEmpty())
            return ParseError::NoSource;
        Band b;
        b.energy = f[0] == QLatin1String("active") ? Energy::Active : Energy::Reactive;
        b.className = f[1];
        if (f[2] == QLatin1String("balanced"))
            b.load = Load::Balanced;
        else if (f[2] == QLatin1String("single"))
            b.load = Load::SinglePhase;
        else
            return ParseError::UnknownKeyword;
        QString pf = f[3];
        if (pf.endsWith(QLatin1Char('L')) || pf.endsWith(QLatin1Char('C'))) {
            b.character = pf.back().toLatin1();
            pf.chop(1);
        }
        const auto pfValue = number(pf);
        if (!pfValue || *pfValue <= 0 || *pfValue > 1)
            return ParseError::BadPowerFactor;
        b.powerFactor = *pfValue;
        const auto from = number(f[4]);
        if (!from || *from < 0)
            return ParseError::BadNumber;
        b.from = *from;
        if (f[5] != QLatin1String("max")) {
            QString to = f[5];
            b.toInclusive = !to.startsWith(QLatin1Char('<'));
            if (!b.toInclusive)
                to.remove(0, 1);
            const auto toValue = number(to);
            if (!toValue)
                return ParseError::BadNumber;
            if (*toValue <= b.from)
                return ParseError::BadRange;
            b.to = *toValue;
        }
        const auto limit = number(f[6]);
        if (!limit || *limit <= 0)
            return ParseError::BadNumber;
        b.limit = *limit;
        b.source = source;
        table.bands.append(b);
        return ParseError::None;
    }

    ParseError line(const QString &raw, int lineNumber)
    {
        QString text = raw;
        const qsizetype hash = text.indexOf(QLatin1Char('#'));
        if (hash >= 0)
            text.truncate(hash);
        text = text.trimmed();
        if (text.isEmpty())
            return ParseError::None;
        static const QRegularExpression blanks(QStringLiteral("\\s+"));
        const QStringList f = text.split(blanks);
        const QString &key = f.first();
        if (key == QLatin1String("source")) {
            source = text.mid(6).trimmed();
            return source.isEmpty() ? ParseError::FieldCount : ParseError::None;
        }
        if (key == QLatin1String("format"))
            return f.size() == 2 && f[1] == QLatin1String("1") ? ParseError::None : ParseError::BadFormat;
        if (key == QLatin1String("class")) {
            if (f.size() != 3)
                return ParseError::FieldCount;
            if (!number(f[1]))
                return ParseError::BadNumber;
            table.classAliases.insert(storedClassText(*number(f[1])), f[2]);
            return ParseError::None;
        }
        if (key == QLatin1String("tolerance")) {
            if (f.size() != 2)
                return ParseError::FieldCount;
            const auto value = number(f[1]);
            if (!value || *value < 0 || *value >= 0.5)
                return ParseError::BadNumber;
            table.tolerance = *value;
            return ParseError::None;
        }
        if (key == QLatin1String("active") || key == QLatin1String("reactive")) {
            const ParseError e = band(f);
            if (e == ParseError::None)
                table.bands.last().line = lineNumber;
            return e;
        }
        return ParseError::UnknownKeyword;
    }
};

} // namespace

Energy energyOfPowerType(int powerType)
{
    return powerType <= 1 ? Energy::Active : Energy::Reactive;
}

ParseResult parseLimits(const QString &text)
{
    LineParser parser;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const ParseError e = parser.line(lines[i], i + 1);
        if (e != ParseError::None) {
            ParseResult r;
            r.error = e;
            r.line = i + 1;
            return r;
        }
    }
    ParseResult r;
    r.table = parser.table;
    return r;
}

QString builtInLimitsText()
{
    return QString::fromUtf8(kBuiltInLimits);
}

const Table &builtInLimits()
{
    // Parsed once; the compiled-in text is checked by the tests, so it parses.
    static const Table table = parseLimits(builtInLimitsText()).table.value_or(Table{});
    return table;
}

QString storedClassText(double accuracyClass)
{
    // Stored in hundredths: 0.5, 1, 2, 0.2.
    return QString::number(std::round(accuracyClass * 100.0) / 100.0, 'g', 6);
}

QString tableClass(const Table &table, double accuracyClass)
{
    const QString stored = storedClassText(accuracyClass);
    return table.classAliases.value(stored, stored);
}

const Band *findBand(const Table &table, Energy energy, const QString &className, Load load, double powerFactor,
                     char character, double currentFraction)
{
    if (!std::isfinite(currentFraction) || !std::isfinite(powerFactor))
        return nullptr;
    for (const Band &b : table.bands) {
        if (b.energy != energy || b.className != className || b.load != load)
            continue;
        if (std::abs(powerFactor - b.powerFactor) > table.tolerance + 1e-9)
            continue;
        // At unity power factor the character means nothing.
        if (b.character != 0 && b.powerFactor < 1.0 && character != b.character)
            continue;
        if (currentFraction < b.from)
            continue;
        if (b.toInclusive ? currentFraction > b.to : currentFraction >= b.to)
            continue;
        return &b;
    }
    return nullptr;
}

LoadedLimits loadLimitsFile(const QString &path)
{
    LoadedLimits loaded;
    loaded.table = builtInLimits();
    const auto bytes = platform::readWholeFile(path, 1 << 20);
    if (!bytes) {
        loaded.error = ParseError::BadFormat;
        loaded.refusedPath = path;
        return loaded;
    }
    auto decode = QStringDecoder(QStringDecoder::Utf8);
    const ParseResult r = parseLimits(decode(*bytes));
    if (!r.table) {
        loaded.error = r.error;
        loaded.errorLine = r.line;
        loaded.refusedPath = path;
        return loaded;
    }
    loaded.table = *r.table;
    loaded.path = path;
    return loaded;
}

LoadedLimits loadProgramLimits(const QString &programFolder)
{
    const QString user = platform::userConfigFolder() + kLimitsFileName;
    if (QFile::exists(user))
        return loadLimitsFile(user);
    const QString shipped = platform::shippedFilePath(programFolder, kLimitsFileName);
    if (QFile::exists(shipped))
        return loadLimitsFile(shipped);
    LoadedLimits loaded;
    loaded.table = builtInLimits();
    return loaded;
}

QString errorText(ParseError error)
{
    switch (error) {
    case ParseError::None:
        return {};
    case ParseError::UnknownKeyword:
        return QStringLiteral("unknown word");
    case ParseError::FieldCount:
        return QStringLiteral("wrong number of fields");
    case ParseError::BadNumber:
        return QStringLiteral("not a valid number");
    case ParseError::BadPowerFactor:
        return QStringLiteral("power factor must be above 0 and at most 1, optionally followed by L or C");
    case ParseError::BadRange:
        return QStringLiteral("the current range ends before it starts");
    case ParseError::NoSource:
        return QStringLiteral("a band before any source line");
    case ParseError::BadFormat:
        return QStringLiteral("not a limits file of format 1, or it cannot be read");
    }
    return {};
}

QString errorKey(ParseError error)
{
    static const char *const keys[] = {"",         "UnknownWord", "FieldCount", "BadNumber", "BadPowerFactor",
                                       "BadRange", "NoSource",    "BadFormat"};
    return QStringLiteral("LimitsErrors/") + QLatin1String(keys[int(error)]);
}

} // namespace limits
