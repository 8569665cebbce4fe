#include "resultgridmodel.h"

#include "views/gridcolumnkinds.h"

ResultGridModel::ResultGridModel(GridKind grid, QObject *parent) : QAbstractTableModel(parent), m_grid(grid) {}

int ResultGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_cells.size());
}

int ResultGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columnCount;
}

QVariant ResultGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return text(index.row(), index.column());
    case Qt::BackgroundRole: {
        const QColor colour = cellColour(index.row(), index.column());
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    case Qt::TextAlignmentRole:
        return QVariant(Qt::AlignLeft | Qt::AlignTop);
    default:
        return {};
    }
}

QVariant ResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_titles.value(section);
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section + 1;
    return QAbstractTableModel::headerData(section, orientation, role);
}

void ResultGridModel::layout(int columnCount)
{
    beginResetModel();
    m_columnCount = std::max(0, columnCount);
    m_codes.clear();
    m_colours.clear();
    m_titles.clear();
    m_cells.clear();
    m_verdictColours.clear();
    endResetModel();
}

void ResultGridModel::fill(const GridColumns &columns, const pcn::_blockdata &verification, const TextLookup &lookup,
                           const QLocale &locale)
{
    beginResetModel();
    m_codes.clear();
    m_colours.clear();
    m_titles.clear();
    m_verdictColours.clear();
    m_cells = QVector<QStringList>(verification.points.size());
    const RangeTextContext ranges{verification.instrumentType, RangeLabels::from(lookup)};
    const int n = std::min({int(columns.codes.size()), int(columns.visible.size()), gridColumnCount(m_grid)});
    for (int s = 0; s < n; ++s) {
        const int code = columns.codes[s];
        if (!columns.visible[s] || code >= gridColumnCount(m_grid))
            continue;
        m_codes << code;
        m_colours << gridColumnColour(m_grid, code);
        m_titles << (lookup ? lookup(kViewsMainSection, gridColumnTitlePath(m_grid, code)) : QString());
        for (int j = 0; j < verification.points.size(); ++j)
            m_cells[j] << gridCellText(m_grid, code, verification.points[j], j, locale, ranges);
    }
    // For a repaired configuration this equals the count of the layout step.
    m_columnCount = int(m_codes.size());
    endResetModel();
}

QColor ResultGridModel::columnColour(int column) const
{
    return m_colours.value(column);
}

QColor ResultGridModel::cellColour(int row, int column) const
{
    if (column == configuredColumnCount() && !m_verdictColours.isEmpty())
        return m_verdictColours.value(row);
    return m_colours.value(column);
}

void ResultGridModel::setVerdictColumn(const QString &title, const QStringList &marks, const QVector<QColor> &colours)
{
    beginResetModel();
    const int configured = configuredColumnCount();
    m_titles = m_titles.mid(0, configured);
    for (QStringList &row : m_cells)
        row = row.mid(0, configured);
    m_verdictColours.clear();
    if (!title.isEmpty() && marks.size() == m_cells.size() && !m_cells.isEmpty()) {
        m_titles << title;
        for (int j = 0; j < m_cells.size(); ++j)
            m_cells[j] << marks[j];
        m_verdictColours = colours;
        m_verdictColours.resize(m_cells.size());
    }
    m_columnCount = int(m_titles.size());
    endResetModel();
}

QString ResultGridModel::text(int row, int column) const
{
    if (row < 0 || row >= m_cells.size())
        return {};
    return m_cells[row].value(column);
}
