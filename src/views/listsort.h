// Column-click sorting of the meter list and the power list. The lists keep
// their rows as an order of indices into the folder's meters or the meter's
// verifications; sorting permutes that order and never the data.
#pragma once

#include "records/blockdata.h"
#include "records/listedmeter.h"

#include <QLocale>
#include <QVector>

constexpr int kNoSortColumn = -1;

// Last clicked column and direction flag of one list. The flag is inverted
// before every sort, so that the first click on a fresh list (flag true)
// sorts in descending order.
struct ListSortState {
    int column = kNoSortColumn;
    bool ascending = true;
};

// Meter comparison: meter types of the first verifications, case-insensitive
// under the locale (reversed when !ascending), then serial texts the same
// way (never reversed). Negative, zero or positive.
int compareMeters(const ListedMeter &a, const ListedMeter &b, bool ascending, const QLocale &locale = QLocale());

// Verification comparison for column 0 (date, then time) or 1 (power type
// code), reversed when !ascending.
int compareVerifications(const pcn::_blockdata &a, const pcn::_blockdata &b, int column, bool ascending);

// A click on meter-list column `column`: records it; columns 0 and 1 invert
// the flag and sort `rows` (meter indices). Nothing happens for an empty list.
// Returns true when the rows were sorted.
bool SortMeters(QVector<int> &rows, const QVector<ListedMeter> &meters, ListSortState &state, int column,
                const QLocale &locale = QLocale());

// A click on power-list column `column` (0 date, 1 power type sort).
bool SortVerifications(QVector<int> &rows, const QVector<pcn::_blockdata> &verifications, ListSortState &state,
                       int column);

// Sorts again by the previous column in the previous direction, when that
// column was 0 or 1 (after a merge or an element operation).
bool ResortMeters(QVector<int> &rows, const QVector<ListedMeter> &meters, ListSortState &state,
                  const QLocale &locale = QLocale());
bool ResortVerifications(QVector<int> &rows, const QVector<pcn::_blockdata> &verifications, ListSortState &state);
