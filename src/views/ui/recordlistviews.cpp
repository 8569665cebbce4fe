#include "recordlistviews.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QMouseEvent>

RecordListView::RecordListView(QWidget *parent)
    : QTreeView(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(false);
    setContextMenuPolicy(Qt::CustomContextMenu);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(false);
    header()->setDefaultAlignment(Qt::AlignCenter);
    connect(header(), &QHeaderView::sectionClicked, this, &RecordListView::columnClicked);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { emit contextMenuRequested(viewport()->mapToGlobal(pos)); });
}

void RecordListView::setColumnWidthHints(std::initializer_list<int> widths)
{
    m_widthHints = QVector<int>(widths);
    applyColumnWidths();
}

void RecordListView::applyColumnWidths()
{
    if (!model())
        return;
    const QFontMetrics metrics = header()->fontMetrics();
    const int padding = 2 * metrics.averageCharWidth() + style()->pixelMetric(QStyle::PM_HeaderMargin) * 2;
    for (int c = 0; c < model()->columnCount(); ++c) {
        const int hint = c < m_widthHints.size() ? m_widthHints[c] : header()->defaultSectionSize();
        const QString title = model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        header()->resizeSection(c, std::max(hint, metrics.horizontalAdvance(title) + padding));
    }
}

void RecordListView::fitColumnsToRows()
{
    if (!model())
        return;
    // A little air beyond the widest text: the check box of the first
    // column and the item margins are not always part of the size hint.
    const int air = 2 * header()->fontMetrics().averageCharWidth();
    for (int c = 0; c < model()->columnCount(); ++c) {
        const int needed = sizeHintForColumn(c) + air;
        if (needed > header()->sectionSize(c))
            header()->resizeSection(c, needed);
    }
}

int RecordListView::selectedRow() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void RecordListView::selectRow(int row)
{
    if (!model() || row < 0 || row >= model()->rowCount())
        return;
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void RecordListView::mousePressEvent(QMouseEvent *event)
{
    QTreeView::mousePressEvent(event);
    emit mouseButtonPressed(event->button());
}

void RecordListView::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeView::mouseReleaseEvent(event);
    emit mouseButtonReleased(event->button());
}

void RecordListView::focusOutEvent(QFocusEvent *event)
{
    QTreeView::focusOutEvent(event);
    // Only focus moving to another control of the window counts: opening a
    // menu, a context menu or a dialog (a password prompt) keeps the list's
    // commands as they are.
    switch (event->reason()) {
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
    case Qt::ActiveWindowFocusReason:
        break;
    default:
        emit focusLost();
    }
}

TitleListView::TitleListView(QWidget *parent)
    : RecordListView(parent)
{
    setObjectName(QStringLiteral("TitleListView"));
}

PowerListView::PowerListView(QWidget *parent)
    : RecordListView(parent)
{
    setObjectName(QStringLiteral("PowerListView"));
}
