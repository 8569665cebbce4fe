// A result grid: one row per test point of the selected verification, one
// column per displayed quantity. The first two columns (point number and
// error) stay in place when the grid scrolls sideways; the others can be
// reordered by dragging their titles and are filled in their phase colours.
#pragma once

#include "records/blockdata.h"
#include "base/appstate.h"
#include "views/textlookup.h"

#include <QLocale>
#include <QTableView>

class ResultGridModel;

class ResultGrid : public QTableView {
    Q_OBJECT
public:
    // `grid` decides the column kinds; the object name is the control's role
    // ("Phase34Grid", "Phase33Grid", "Phase12Grid").
    explicit ResultGrid(GridKind grid, QWidget *parent = nullptr);
    ~ResultGrid() override;
    ResultGrid(const ResultGrid &) = delete;
    ResultGrid &operator=(const ResultGrid &) = delete;

    GridKind kind() const { return m_kind; }
    // Page of the displayed-columns dialog that configures this grid.
    int dialogPage() const;

    // Sets the number of columns from the configuration and the fixed
    // columns; clears the displayed columns and the rows.
    void LayoutGrid(const GridColumns &columns);
    // Writes the titles and the cells of a verification.
    void FillGrid(const GridColumns &columns, const pcn::_blockdata &verification, const TextLookup &lookup,
                  const QLocale &locale = QLocale());
    // Paints one cell. `row` counts as in the grid: 0 is the title row,
    // data rows start at 1.
    // The verdict column after the configured columns (empty title: none).
    void SetVerdictColumn(const QString &title, const QStringList &marks, const QVector<QColor> &colours);
    void DrawCell(QPainter *painter, const QRect &rect, int column, int row, bool current) const;

    // Columns in all, fixed columns, and rows including the title row.
    int ColumnCount() const;
    int FixedColumnCount() const { return m_fixedColumns; }
    int RowCount() const;
    // Title of a column and text of a cell (row 1 is the first test point).
    QString HeaderText(int column) const;
    QString CellText(int column, int row) const;
    // Fill colour DrawCell uses for a data cell of a coloured column
    // (column 2 and up); invalid for other cells.
    QColor CellColour(int column, int row, bool current) const;
    // Codes of the displayed columns, in order.
    const QVector<int> &DisplayedCodes() const;

    ResultGridModel *gridModel() const { return m_model; }
    // The overlay that shows the fixed columns.
    QTableView *frozenView() const { return m_frozen; }

signals:
    // The right mouse button was released over the grid.
    void displayedColumnsRequested(int page);
    // The user dragged the column at displayed index `from` to index `to`
    // (both 2 or more). Emitted after the drag has finished; the grid itself
    // keeps its order until it is laid out and filled again.
    void columnDragged(int from, int to);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

private:
    void onSectionMoved(int logicalIndex, int oldVisualIndex, int newVisualIndex);
    void applyFixedColumns();
    void fitColumns();
    void updateFrozenGeometry();
    int frozenWidth() const;

    GridKind m_kind;
    ResultGridModel *m_model = nullptr;
    QTableView *m_frozen = nullptr;
    int m_fixedColumns = 0;
    bool m_revertingMove = false;
};
