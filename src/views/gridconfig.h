// Rules of the column configuration of a result grid (GridColumns of the
// application state): which columns are displayed and in which order, how a
// header drag reorders the configuration, and the pages of the
// displayed-columns dialog.
#pragma once

#include "base/appstate.h"

#include <QString>
#include <QVector>

// Codes 0 and 1 (point number and error) are always the first two columns.
constexpr int kFixedColumnCodes = 2;

// True when `columns` is usable for `grid`: a permutation of the grid's
// codes whose first two entries hold codes 0 and 1.
bool isValidGridColumns(const GridColumns &columns, GridKind grid);

// Makes a configuration usable: a damaged table (wrong size, a code twice, a
// fixed code out of place) is replaced by the default; the two fixed
// entries are always visible. Returns true when anything changed.
bool repairGridColumns(GridColumns &columns, GridKind grid);

// Number of grid columns: the visible entries among positions 1 .. N-1, plus one.
int layoutColumnCount(const GridColumns &columns);

// Columns that stay in place when the grid scrolls: 2, or 1 when the grid has
// no more than 2 columns.
int frozenColumnCount(int columnCount);

// Codes of the visible entries in configuration order: the displayed columns.
QVector<int> displayedCodes(const GridColumns &columns);

// Applies a header drag: the column displayed at index `from` now stands at
// displayed index `to`. Both must be 2 or more and within the displayed
// columns, else nothing changes. Hidden entries between the two keep their
// place relative to their neighbours. Returns true when the order changed.
bool moveColumn(GridColumns &columns, int from, int to);

// Displayed-columns dialog: page 0 three-phase four-wire, 1 three-phase
// three-wire, 2 single-phase two-wire; any other page is taken as 0.
constexpr int kDialogPageCount = 3;
int normalizedDialogPage(int page);
GridKind gridForDialogPage(int page);
int dialogPageForGrid(GridKind grid);

// Item k of a page stands for column code k + 2 of the page's grid.
int dialogItemCount(int page);
// Path of item k's text in the dialog's section
// ("ViewParametersFormLabels/ViewParametersList/Ua").
QString dialogItemTextPath(int page, int item);
// Check states the dialog's default button sets on a page.
QVector<bool> dialogDefaultChecks(int page);

// Check states of a page from a configuration (item k: is code k + 2 visible?).
QVector<bool> checksFromColumns(const GridColumns &columns, int page);
// Writes a page's check states into the visible flags; positions stay.
void applyChecksToColumns(GridColumns &columns, const QVector<bool> &checks);
