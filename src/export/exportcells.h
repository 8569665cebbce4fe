// The cells the exports write for a verification: the eleven meter and
// verification details in front of every row, and the result grid's
// displayed columns with their texts exactly as the grid shows them.
#pragma once

#include "records/blockdata.h"
#include "records/errorlimits.h"
#include "base/appstate.h"
#include "views/textlookup.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

// One cell: its text and whether a spreadsheet takes it as a number.
struct ExportCell {
    QString text;
    bool number = false;
};

constexpr int kExportDetailCount = 11;

// Path of a detail's title in the main window's section
// ("MainMenu/Utilities/ExportExcel/DateTimeCalibration" ...).
QString exportDetailTitlePath(int detail);
QStringList exportDetailTitles(const TextLookup &lookup);

// The detail cells of a verification, in order: date and time (the locale's
// short date, two spaces, its long time), meter type, serial number,
// accuracy class, scheme name, year, turns ratio (i1 / i2 as an integer
// division), power type name, constant, nominal voltage (line voltage for
// the three-wire scheme, phase voltage otherwise), nominal current. Class
// and nominal values are written as printf "%g", always with a point.
// Cells are typed so that a spreadsheet can always read them: the serial
// number is a number only when its text is plain digits ("12-A" stays
// text), and a value that is not finite is text.
QVector<ExportCell> exportDetailCells(const pcn::_blockdata &verification, const TextLookup &lookup,
                                      const QLocale &locale = QLocale());

// printf "%g": six significant digits, trailing zeros removed, a point as
// decimal separator whatever the locale.
QString printfGeneral(double value);

// The result grid of a verification as it is shown: the displayed column
// codes, their titles and one row of cell texts per test point.
struct ShownGrid {
    GridKind grid = GridPhase34;
    QVector<int> codes;
    QStringList titles;
    QVector<QStringList> rows;
};

// The grid of the verification's scheme filled from the column
// configuration; false (and an empty grid) for a scheme without grid. With
// a limits table the grid's verdict column follows (a title and a mark per
// point, no code).
bool shownGrid(const pcn::_blockdata &verification, const std::array<GridColumns, kGridCount> &columns,
               const TextLookup &lookup, const QLocale &locale, ShownGrid *out, const limits::Table *limits = nullptr);

// Whether a spreadsheet cell of this text is a number: true when the text
// converts to a finite floating-point number under the locale's rules.
// `canonical` then receives the number in the form spreadsheet documents
// require, with a point whatever the locale ("220,01" gives "220.01").
bool spreadsheetNumber(const QString &text, const QLocale &locale, QString *canonical);

// The text with every character XML 1.0 does not allow replaced by U+FFFD
// (stored texts may carry control bytes).
QString xmlSafeText(const QString &text);
