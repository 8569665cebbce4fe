// The column kinds of the three result grids: for every column code of a
// grid, the quantity it shows, its title, its decimals and its colour; and
// the text of one cell. Reports and the spreadsheet export use the same
// texts, so the formatting lives here and not in the widgets.
#pragma once

#include "records/blockdata.h"
#include "views/rangetexts.h"
#include "base/appstate.h"

#include <QColor>
#include <QLocale>
#include <QString>

#include <cstdint>

// What a column shows of a test point.
enum class GridQuantity : std::uint8_t {
    PointNumber, // 1-based point number
    Error, // errorPercent
    PhaseVoltage, // U[phase]
    Current, // I[phase]
    LineVoltage, // Uline[phase]: AB, BC, CA
    PowerFactor, // cosPhi[phase] or pfTotal (phase 3), followed by pfChar
    ActivePower, // P[phase] or Ptotal (phase 3)
    ApparentPower, // S[phase] or Stotal (phase 3)
    ReactiveGeom, // QgeomTotal
    ReactiveShift, // QshiftTotal
    ReactiveCross, // QcrossTotal
    RangeU, // voltage range (range words)
    RangeI, // current range (range words, instrument type)
};

// Colour class of a column kind.
enum class ColumnColour : std::uint8_t { Fixed, PhaseA, PhaseB, PhaseC, Total };

constexpr int kTotalPhase = 3;

struct GridColumnKind {
    const char *titleKey; // item below "ResultsTableTitles"
    GridQuantity quantity;
    int phase; // 0..2 phase A..C, 3 total; ignored where meaningless
    int decimals; // truncation before the general number format
    ColumnColour colour;
};

// Number of column codes of a grid (28, 16, 11).
int gridColumnCount(GridKind grid);

// The kind of column `code` of a grid; code must be 0 .. gridColumnCount-1.
const GridColumnKind &gridColumnKind(GridKind grid, int code);

// Path of a column title in the main window's section ("ResultsTableTitles/Ua").
QString gridColumnTitlePath(GridKind grid, int code);

// Fill colour of a colour class and of a column code.
QColor columnColour(ColumnColour colour);
QColor gridColumnColour(GridKind grid, int code);
// Fill colour of the grid's current cell (drawn with black regular text).
QColor currentCellColour();

// Text of column `code` for test point `pointIndex` (0-based) of a
// verification; the range columns take their labels and the verification's
// instrument type from `ranges`.
QString gridCellText(GridKind grid, int code, const pcn::_datasample &point, int pointIndex,
                     const QLocale &locale = QLocale(), const RangeTextContext &ranges = {});

// A power factor with its character: 0.8666 and 'L' give "0.86L".
QString powerFactorText(double value, char character, const QLocale &locale = QLocale());

// The grid that shows verifications of a connection scheme; false for a
// scheme without grid.
bool gridForScheme(int scheme, GridKind *grid);
