// The table of permissible errors by accuracy class: bands of current (as a
// fraction of the nominal current of the verification), power factor and
// load, each with its limit in per cent. The table is a text file
// (ErrorLimits.txt, format in docs/limits-format.md) shipped with the
// program; the same file is compiled in as the built-in table, which stays
// in force when a file cannot be read.
#pragma once

#include <QList>
#include <QMap>
#include <QString>

#include <limits>
#include <optional>

namespace limits {

enum class Energy { Active, Reactive };
enum class Load { Balanced, SinglePhase };

// Active energy for power types 0 (active) and 1 (apparent), reactive for
// 2, 3 and 4.
Energy energyOfPowerType(int powerType);

inline constexpr double kNoUpperEnd = std::numeric_limits<double>::infinity();

struct Band {
    Energy energy = Energy::Active;
    QString className; // class of the tables: "1", "0.5S"
    Load load = Load::Balanced;
    double powerFactor = 1.0; // |cos phi| (active) or |sin phi| (reactive)
    char character = 0; // 'L', 'C', or 0 for either
    double from = 0; // inclusive
    double to = kNoUpperEnd; // kNoUpperEnd: no upper end
    bool toInclusive = true;
    double limit = 0; // per cent
    QString source; // standard, edition and table
    int line = 0; // line of the file

    bool operator==(const Band &) const = default;
};

struct Table {
    QList<Band> bands;
    QMap<QString, QString> classAliases; // stored class text -> class of the tables
    double tolerance = 0.05;

    bool operator==(const Table &) const = default;
};

// Why a limits file was refused.
enum class ParseError {
    None,
    UnknownKeyword,
    FieldCount,
    BadNumber,
    BadPowerFactor,
    BadRange,
    NoSource,
    BadFormat,
};

struct ParseResult {
    std::optional<Table> table;
    ParseError error = ParseError::None;
    int line = 0; // 1-based line of the error
};

// Reads the text of a limits file; a single faulty line refuses the whole
// file.
ParseResult parseLimits(const QString &text);

// The table compiled into the program (the shipped ErrorLimits.txt).
const Table &builtInLimits();
QString builtInLimitsText();

// The stored accuracy class as the table names it ("1", "0.5"), before and
// after the file's class lines.
QString storedClassText(double accuracyClass);
QString tableClass(const Table &table, double accuracyClass);

// The band that holds a point, or none. `currentFraction` is the point's
// current over the nominal current, `powerFactor` its |cos phi| or |sin
// phi|, `character` its 'L' or 'C'. The first matching band in file order
// wins.
const Band *findBand(const Table &table, Energy energy, const QString &className, Load load, double powerFactor,
                     char character, double currentFraction);

// The table in force and where it came from.
struct LoadedLimits {
    Table table;
    QString path; // the file read; "" for the built-in table
    ParseError error = ParseError::None; // why `refusedPath` was refused
    int errorLine = 0;
    QString refusedPath;
};

// Reads one limits file; on any fault the built-in table, with the fault.
LoadedLimits loadLimitsFile(const QString &path);

// The table of a program in `programFolder`: the per-user copy when there is
// one, else the shipped file, else the built-in table.
LoadedLimits loadProgramLimits(const QString &programFolder);

// Name of the file, beside the program, in the installed data folder and in
// the per-user configuration folder.
inline const QString kLimitsFileName = QStringLiteral("ErrorLimits.txt");

// English text of a parse error (the command-line tool's wording); the
// windows take theirs from the string catalogue by errorKey().
QString errorText(ParseError error);
QString errorKey(ParseError error);

} // namespace limits
