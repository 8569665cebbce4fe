#include "recordlistviews.h"

#include "views/ui/recordlistmodels.h"

#include <QAbstractItemDelegate>
#include <QFocusEvent>
#include <QHash>
#include <QHeaderView>
#include <QMouseEvent>

#include <algorithm>
#include <functional>
#include <vector>

RecordListView::RecordListView(QWidget *parent) : QTreeView(parent)
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
    QAbstractItemModel *const m = model();
    if (!m)
        return;
    // A little air beyond the widest text: the check box of the first
    // column and the item margins are not always part of the size hint.
    const int air = 2 * header()->fontMetrics().averageCharWidth();
    const QFontMetrics metrics = fontMetrics();
    // Laying out every cell through the style costs about as much as
    // reading the files of a large folder. The width a cell needs grows with
    // its text, which every row of a column shows in the same font and with
    // the same decoration: the sum of the characters' advances picks the
    // rows whose text can be the widest (kerning takes off at most a little),
    // and only those are measured through the delegate.
    // Advances of the Latin and Cyrillic letters, digits and signs the
    // lists show are kept in a flat table; any other character in a hash.
    constexpr char16_t kTabled = 0x0800;
    std::vector<int> tabled(kTabled, -1);
    QHash<QChar, int> others;
    const auto advanceOf = [&](QChar ch) {
        if (ch.unicode() < kTabled) {
            int &advance = tabled[ch.unicode()];
            if (advance < 0)
                advance = metrics.horizontalAdvance(ch);
            return advance;
        }
        auto it = others.constFind(ch);
        if (it == others.constEnd())
            it = others.insert(ch, metrics.horizontalAdvance(ch));
        return *it;
    };
    const auto estimate = [&](const QString &text) {
        int width = 0;
        for (const QChar ch : text)
            width += advanceOf(ch);
        return width;
    };
    // The list models hand out their texts without a QVariant for each, and
    // tell what a text is made from: the meters of a folder mostly share
    // their class, year, transformer and reference standard, whose width is
    // then estimated once. Only the rows measured below have their texts
    // made through the delegate.
    const auto *const listModel = qobject_cast<const RecordListModel *>(m);
    const auto textAt = [&](int r, int c) {
        return listModel ? listModel->cellText(r, c) : m->data(m->index(r, c), Qt::DisplayRole).toString();
    };
    const int slack = 2 * metrics.averageCharWidth();
    constexpr int kMeasuredRows = 16;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int rows = m->rowCount();
    std::vector<std::pair<int, int>> widths; // estimated width, row
    widths.reserve(std::size_t(rows));
    QHash<MeterCellSource, int> widthOfSource;
    for (int c = 0; c < m->columnCount(); ++c) {
        if (isColumnHidden(c) || rows == 0)
            continue;
        widths.clear();
        widthOfSource.clear();
        std::optional<MeterCellSource> lastSource;
        int lastWidth = 0;
        for (int r = 0; r < rows; ++r) {
            const std::optional<MeterCellSource> source = listModel ? listModel->cellSource(r, c) : std::nullopt;
            if (!source) {
                widths.emplace_back(estimate(textAt(r, c)), r);
                continue;
            }
            if (source != lastSource) {
                lastSource = source;
                auto it = widthOfSource.constFind(*source);
                if (it == widthOfSource.constEnd())
                    it = widthOfSource.insert(*source, estimate(textAt(r, c)));
                lastWidth = *it;
            }
            widths.emplace_back(lastWidth, r);
        }
        const auto measured = widths.begin() + std::min<std::ptrdiff_t>(kMeasuredRows, rows);
        std::partial_sort(widths.begin(), measured, widths.end(), std::greater<>());
        int hint = 0;
        for (auto it = widths.begin(); it != measured && it->first >= widths.front().first - slack; ++it) {
            const QModelIndex index = m->index(it->second, c);
            hint = std::max(hint, itemDelegateForIndex(index)->sizeHint(option, index).width());
        }
        const int needed = hint + air;
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

TitleListView::TitleListView(QWidget *parent) : RecordListView(parent)
{
    setObjectName(QStringLiteral("TitleListView"));
}

PowerListView::PowerListView(QWidget *parent) : RecordListView(parent)
{
    setObjectName(QStringLiteral("PowerListView"));
}
