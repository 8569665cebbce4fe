// One meter of the meter database (the list of at most ten meters under test
// that the instrument offers the operator) and the rules of its ten fields.
// An entry is a pcn::_datacounter of which only meter type, serial number,
// year, accuracy class, constant, the two nominal voltages, the nominal
// current and the transformer currents I1 and I2 are used.
#pragma once

#include "records/blockdata.h"

#include <QString>
#include <QVector>

#include <optional>

namespace meterdb {

using MeterEntry = pcn::_datacounter;
using MeterList = QVector<MeterEntry>;

constexpr int kMaxEntries = 10;

// Field limits.
constexpr int kTypeMaxLength = 14;
constexpr int kDigitsMaxLength = 9; // serial number and constant
constexpr int kClassMaxLength = 4;
constexpr double kClassMaxValue = 9.99;
constexpr int kNominalMaxLength = 5; // voltages and current
constexpr double kNominalMaxValue = 999.9;
constexpr int kFirstYear = 1960;
constexpr int kI1Min = 1;
constexpr int kI1Max = 4095;
constexpr int kI2Min = 1;
constexpr int kI2Max = 15;

// Meter type: at most 14 characters, each one of A-Z, the Cyrillic capitals
// А-Я and Ё, 0-9, ( ) - . + _ and blank. The editor turns typed letters to
// upper case before the check.
bool isTypeCharacter(QChar c);
bool isTypeTextAcceptable(const QString &text);

// Serial number and constant: decimal digits only, at most 9.
bool isDigitsTextAcceptable(const QString &text);

// A decimal field while it is typed: digits and at most one separator ("."
// or ","), at most `maxLength` characters; a non-empty text must convert to
// a number not above `maxValue`. The empty text is acceptable (the field is
// then not yet valid).
bool isDecimalTextAcceptable(const QString &text, int maxLength, double maxValue);
bool isClassTextAcceptable(const QString &text);
// Nominal voltages and current take at most one decimal (they are stored
// in tenths).
bool isNominalTextAcceptable(const QString &text);

// The value of a decimal field: the first "," taken as ".", then converted.
std::optional<double> decimalValue(const QString &text);

// The last year a meter can be made in: the current one.
int lastYear();

// A spin field's value brought into its bounds (when it is left).
int clampToBounds(int value, int minimum, int maximum);

// Two entries are equal when all ten fields are: the type text exactly, the
// numbers as numbers.
bool sameEntry(const MeterEntry &a, const MeterEntry &b);
// Position of an entry equal to `entry`, or -1.
int indexOfEntry(const MeterList &list, const MeterEntry &entry);

} // namespace meterdb
