#include "gridconfig.h"

#include <algorithm>
#include <array>

namespace {

// Text keys of the dialog's items per page, in item order.
// clang-format off
const std::array<const char *, 26> kItems34{
    "Ua", "Ub", "Uc", "Ia", "Ib", "Ic", "Uab", "Ubc", "Uca", "Kpa", "Kpb", "Kpc", "Kps",
    "ActivePowerA", "ActivePowerB", "ActivePowerC", "ActivePowerS",
    "ApparentPowerA", "ApparentPowerB", "ApparentPowerC", "ApparentPowerS",
    "ReactiveGeomPowerS", "ReactiveShiftPowerS", "ReactiveCrossPowerS", "Ulim", "Ilim"};
const std::array<const char *, 14> kItems33{
    "Uab", "Ubc", "Uca", "Ia", "Ib", "Ic", "Kps", "ActivePowerS", "ApparentPowerS",
    "ReactiveGeomPowerS", "ReactiveShiftPowerS", "ReactiveCrossPowerS", "Ulim", "Ilim"};
const std::array<const char *, 9> kItems12{
    "Ua12", "Ia12", "Kps12", "ActivePowerS12", "ApparentPowerS12", "ReactiveGeomPowerS12", "ReactiveShiftPowerS12",
    "Ulim", "Ilim"};
// clang-format on

// Configuration position (2 .. N-1) holding `code`; 0 when none does.
int positionOfCode(const GridColumns &columns, int code)
{
    for (int s = kFixedColumnCodes; s < columns.codes.size(); ++s)
        if (columns.codes[s] == code)
            return s;
    return 0;
}

} // namespace

bool isValidGridColumns(const GridColumns &columns, GridKind grid)
{
    const int n = kGridColumnCount[grid];
    if (columns.codes.size() != n || columns.visible.size() != n)
        return false;
    QVector<bool> seen(n, false);
    for (int s = 0; s < n; ++s) {
        const int code = columns.codes[s];
        if (code >= n || seen[code])
            return false;
        seen[code] = true;
    }
    return columns.codes[0] == 0 && columns.codes[1] == 1;
}

bool repairGridColumns(GridColumns &columns, GridKind grid)
{
    if (!isValidGridColumns(columns, grid)) {
        columns = defaultGridColumns(grid);
        return true;
    }
    bool changed = false;
    for (int s = 0; s < kFixedColumnCodes; ++s) {
        if (!columns.visible[s]) {
            columns.visible[s] = true;
            changed = true;
        }
    }
    return changed;
}

int layoutColumnCount(const GridColumns &columns)
{
    int count = 0;
    for (int s = 1; s < columns.visible.size(); ++s)
        if (columns.visible[s])
            ++count;
    return count + 1;
}

int frozenColumnCount(int columnCount)
{
    return columnCount > 2 ? 2 : std::min(columnCount, 1);
}

QVector<int> displayedCodes(const GridColumns &columns)
{
    QVector<int> codes;
    const int n = std::min(columns.codes.size(), columns.visible.size());
    for (int s = 0; s < n; ++s)
        if (columns.visible[s])
            codes.append(columns.codes[s]);
    return codes;
}

bool moveColumn(GridColumns &columns, int from, int to)
{
    const QVector<int> shown = displayedCodes(columns);
    if (from < kFixedColumnCodes || to < kFixedColumnCodes || from >= shown.size() || to >= shown.size() || from == to)
        return false;
    const int i = positionOfCode(columns, shown[from]);
    const int j = positionOfCode(columns, shown[to]);
    if (i < kFixedColumnCodes || j < kFixedColumnCodes || i == j)
        return false;
    // Code and visible flag move together; the entries in between shift by one.
    auto moveEntry = [i, j](auto &table) {
        if (i < j)
            std::rotate(table.begin() + i, table.begin() + i + 1, table.begin() + j + 1);
        else
            std::rotate(table.begin() + j, table.begin() + i, table.begin() + i + 1);
    };
    moveEntry(columns.codes);
    moveEntry(columns.visible);
    return true;
}

int normalizedDialogPage(int page)
{
    return page >= 0 && page < kDialogPageCount ? page : 0;
}

GridKind gridForDialogPage(int page)
{
    switch (normalizedDialogPage(page)) {
    case 1:
        return GridPhase33;
    case 2:
        return GridPhase12;
    default:
        return GridPhase34;
    }
}

int dialogPageForGrid(GridKind grid)
{
    switch (grid) {
    case GridPhase33:
        return 1;
    case GridPhase12:
        return 2;
    case GridPhase34:
        break;
    }
    return 0;
}

int dialogItemCount(int page)
{
    return kGridColumnCount[gridForDialogPage(page)] - kFixedColumnCodes;
}

QString dialogItemTextPath(int page, int item)
{
    const char *key = "";
    switch (normalizedDialogPage(page)) {
    case 0:
        key = kItems34.at(item);
        break;
    case 1:
        key = kItems33.at(item);
        break;
    default:
        key = kItems12.at(item);
        break;
    }
    return QStringLiteral("ViewParametersFormLabels/ViewParametersList/") + QLatin1String(key);
}

QVector<bool> checksFromColumns(const GridColumns &columns, int page)
{
    QVector<bool> checks(dialogItemCount(page), false);
    const int n = std::min(columns.codes.size(), columns.visible.size());
    for (int s = 0; s < n; ++s) {
        const int item = columns.codes[s] - kFixedColumnCodes;
        if (item >= 0 && item < checks.size())
            checks[item] = columns.visible[s];
    }
    return checks;
}

QVector<bool> dialogDefaultChecks(int page)
{
    // The default button produces exactly the default visibility.
    return checksFromColumns(defaultGridColumns(gridForDialogPage(page)), page);
}

void applyChecksToColumns(GridColumns &columns, const QVector<bool> &checks)
{
    const int n = std::min(columns.codes.size(), columns.visible.size());
    for (int s = 0; s < n; ++s) {
        const int item = columns.codes[s] - kFixedColumnCodes;
        if (item >= 0 && item < checks.size())
            columns.visible[s] = checks[item];
    }
}
