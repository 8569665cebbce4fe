#include "listsort.h"

#include <QCollator>

#include <algorithm>

namespace {

int sign(int value)
{
    return (value > 0) - (value < 0);
}

int compareMetersWith(const ListedMeter &a, const ListedMeter &b, bool ascending, const QCollator &collator)
{
    // A meter without verifications has no type or serial (its texts are empty).
    const int byType = sign(collator.compare(a.meterType, b.meterType));
    if (byType != 0)
        return ascending ? byType : -byType;
    return sign(collator.compare(a.serialText, b.serialText));
}

QCollator caseInsensitiveCollator(const QLocale &locale)
{
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

bool sortsBy(int column)
{
    return column == 0 || column == 1;
}

} // namespace

int compareMeters(const ListedMeter &a, const ListedMeter &b, bool ascending, const QLocale &locale)
{
    return compareMetersWith(a, b, ascending, caseInsensitiveCollator(locale));
}

int compareVerifications(const pcn::_blockdata &a, const pcn::_blockdata &b, int column, bool ascending)
{
    int result = 0;
    if (column == 0) {
        if (a.date != b.date)
            result = a.date < b.date ? -1 : 1;
        else if (a.time != b.time)
            result = a.time < b.time ? -1 : 1;
    } else if (column == 1) {
        result = sign(int(a.powerType) - int(b.powerType));
    }
    return ascending ? result : -result;
}

bool SortMeters(QVector<int> &rows, const QVector<ListedMeter> &meters, ListSortState &state, int column,
                const QLocale &locale)
{
    if (rows.isEmpty())
        return false;
    state.column = column;
    if (!sortsBy(column))
        return false;
    state.ascending = !state.ascending;
    const QCollator collator = caseInsensitiveCollator(locale);
    const bool ascending = state.ascending;
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        return compareMetersWith(meters.at(a), meters.at(b), ascending, collator) < 0;
    });
    return true;
}

bool SortVerifications(QVector<int> &rows, const QVector<pcn::_blockdata> &verifications, ListSortState &state,
                       int column)
{
    if (rows.isEmpty())
        return false;
    state.column = column;
    if (!sortsBy(column))
        return false;
    state.ascending = !state.ascending;
    const bool ascending = state.ascending;
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        return compareVerifications(verifications.at(a), verifications.at(b), column, ascending) < 0;
    });
    return true;
}

bool ResortMeters(QVector<int> &rows, const QVector<ListedMeter> &meters, ListSortState &state, const QLocale &locale)
{
    if (!sortsBy(state.column) || rows.isEmpty())
        return false;
    state.ascending = !state.ascending;
    return SortMeters(rows, meters, state, state.column, locale);
}

bool ResortVerifications(QVector<int> &rows, const QVector<pcn::_blockdata> &verifications, ListSortState &state)
{
    if (!sortsBy(state.column) || rows.isEmpty())
        return false;
    state.ascending = !state.ascending;
    return SortVerifications(rows, verifications, state, state.column);
}
