// The two list controls of the main window: the meter list (TitleListView)
// and the power list (PowerListView, with a check box per row). Both are
// plain row lists with clickable column headers; what a click or a press
// means is decided by RecordViews.
#pragma once

#include <QTreeView>

#include <initializer_list>

class RecordListView : public QTreeView {
    Q_OBJECT
public:
    explicit RecordListView(QWidget *parent = nullptr);

    // Column widths of the form, in pixels at normal size; a column is never
    // narrower than its title.
    void setColumnWidthHints(std::initializer_list<int> widths);
    // Applies the hints to the present titles.
    void applyColumnWidths();
    // Widens the columns whose present rows do not fit; never narrows.
    void fitColumnsToRows();

    // Index of the selected row, -1 when none.
    int selectedRow() const;
    // Selects and makes current a row (no effect outside the list).
    void selectRow(int row);

signals:
    // A mouse button went down over the list (after the selection followed it).
    void mouseButtonPressed(Qt::MouseButton button);
    // A mouse button was released over the list.
    void mouseButtonReleased(Qt::MouseButton button);
    // The list lost the keyboard focus.
    void focusLost();
    // A column title was clicked.
    void columnClicked(int column);
    // The context menu was asked for at a global position.
    void contextMenuRequested(const QPoint &globalPos);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QVector<int> m_widthHints;
};

// The meter list: one row per meter of the current folder.
class TitleListView : public RecordListView {
    Q_OBJECT
public:
    explicit TitleListView(QWidget *parent = nullptr);
};

// The power list: one row per verification of the selected meter.
class PowerListView : public RecordListView {
    Q_OBJECT
public:
    explicit PowerListView(QWidget *parent = nullptr);
};
