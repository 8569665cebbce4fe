// The item model behind a result grid: the displayed columns of one
// verification, as texts ready to show, with each column's code and colour.
#pragma once

#include "records/blockdata.h"
#include "base/appstate.h"
#include "views/textlookup.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QLocale>
#include <QStringList>
#include <QVector>

class ResultGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ResultGridModel(GridKind grid, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    GridKind grid() const { return m_grid; }

    // Sets the number of columns and drops all rows and displayed columns.
    void layout(int columnCount);
    // One row per test point; one column per visible configuration entry.
    void fill(const GridColumns &columns, const pcn::_blockdata &verification, const TextLookup &lookup,
              const QLocale &locale);

    // Appends the verdict column after the configured ones: a mark per test
    // point and its colour. An empty title removes the column.
    void setVerdictColumn(const QString &title, const QStringList &marks, const QVector<QColor> &colours);
    // Number of columns that come from the configuration (without verdicts).
    int configuredColumnCount() const { return int(m_codes.size()); }
    // The colour of a data cell: its column's, or the verdict's of its row.
    QColor cellColour(int row, int column) const;

    // Displayed-column state: code and colour of each displayed column.
    const QVector<int> &displayedCodes() const { return m_codes; }
    QColor columnColour(int column) const;
    QString title(int column) const { return m_titles.value(column); }
    QString text(int row, int column) const;

private:
    GridKind m_grid;
    int m_columnCount = 0;
    QVector<int> m_codes;
    QVector<QColor> m_colours;
    QStringList m_titles;
    QVector<QStringList> m_cells; // [row][column]
    QVector<QColor> m_verdictColours; // [row], when the verdict column is shown
};
