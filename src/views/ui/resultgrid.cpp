#include "resultgrid.h"

#include "resultgridmodel.h"
#include "views/gridcolumnkinds.h"
#include "views/gridconfig.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

// Paints every cell through the grid's DrawCell.
class ResultCellDelegate : public QStyledItemDelegate {
public:
    ResultCellDelegate(const ResultGrid *grid, QObject *parent) : QStyledItemDelegate(parent), m_grid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool current = index == m_grid->currentIndex();
        if (index.column() >= 2 || index.column() < m_grid->FixedColumnCount()) {
            m_grid->DrawCell(painter, option.rect, index.column(), index.row() + 1, current);
            return;
        }
        // The error column when it is the only column beside the point number:
        // not fixed, not coloured, drawn the standard way.
        QStyledItemDelegate::paint(painter, option, index);
    }

private:
    const ResultGrid *m_grid;
};

QString gridObjectName(GridKind grid)
{
    switch (grid) {
    case GridPhase12:
        return QStringLiteral("Phase12Grid");
    case GridPhase33:
        return QStringLiteral("Phase33Grid");
    case GridPhase34:
        break;
    }
    return QStringLiteral("Phase34Grid");
}

// Column width of the form at normal size.
constexpr int kColumnWidthHint = 70;

} // namespace

ResultGrid::ResultGrid(GridKind grid, QWidget *parent)
    : QTableView(parent), m_kind(grid), m_model(new ResultGridModel(grid, this)), m_frozen(new QTableView(this))
{
    setObjectName(gridObjectName(grid));
    setModel(m_model);
    setItemDelegate(new ResultCellDelegate(this, this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this, &ResultGrid::onSectionMoved);

    // The overlay for the fixed columns shares model and selection and
    // follows the grid's vertical scrolling.
    m_frozen->setObjectName(objectName() + QStringLiteral("Fixed"));
    m_frozen->setModel(m_model);
    m_frozen->setItemDelegate(itemDelegate());
    m_frozen->setSelectionModel(selectionModel());
    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_frozen->verticalHeader()->hide();
    m_frozen->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_frozen->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    m_frozen->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_frozen->horizontalHeader()->setHighlightSections(false);
    m_frozen->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_frozen->setFrameShape(QFrame::NoFrame);
    m_frozen->setWordWrap(false);
    viewport()->stackUnder(m_frozen);
    connect(m_frozen->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, m_frozen->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (logical < m_fixedColumns)
            m_frozen->setColumnWidth(logical, size);
        updateFrozenGeometry();
    });
    connect(horizontalHeader(), &QHeaderView::geometriesChanged, this, &ResultGrid::updateFrozenGeometry);

    // Clicks on the fixed columns select nothing; a right-button release
    // anywhere on the grid asks for the displayed-columns dialog.
    m_frozen->viewport()->installEventFilter(this);
    m_frozen->horizontalHeader()->viewport()->installEventFilter(this);
    horizontalHeader()->viewport()->installEventFilter(this);
    m_frozen->show();
    applyFixedColumns();
}

ResultGrid::~ResultGrid() = default;

int ResultGrid::dialogPage() const
{
    return dialogPageForGrid(m_kind);
}

void ResultGrid::LayoutGrid(const GridColumns &columns)
{
    const int count = layoutColumnCount(columns);
    m_fixedColumns = frozenColumnCount(count);
    m_model->layout(count);
    applyFixedColumns();
}

void ResultGrid::FillGrid(const GridColumns &columns, const pcn::_blockdata &verification, const TextLookup &lookup,
                          const QLocale &locale)
{
    m_model->fill(columns, verification, lookup, locale);
    m_fixedColumns = frozenColumnCount(m_model->columnCount());
    applyFixedColumns();
    fitColumns();
    // The grid always has a current cell: the first data cell of the first
    // row, in the order the columns are shown, unless one is current already.
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.column() >= m_fixedColumns)
        return;
    for (int visual = m_fixedColumns; visual < m_model->columnCount() && m_model->rowCount() > 0; ++visual) {
        const int column = horizontalHeader()->logicalIndex(visual);
        if (!isColumnHidden(column)) {
            setCurrentIndex(m_model->index(0, column));
            return;
        }
    }
}

void ResultGrid::SetVerdictColumn(const QString &title, const QStringList &marks, const QVector<QColor> &colours)
{
    // The model is reset: the current cell is set again where it was.
    const QModelIndex current = currentIndex();
    const int row = current.row(), column = current.column();
    m_model->setVerdictColumn(title, marks, colours);
    m_fixedColumns = frozenColumnCount(m_model->configuredColumnCount());
    applyFixedColumns();
    fitColumns();
    if (row >= 0 && column >= 0 && row < m_model->rowCount() && column < m_model->columnCount())
        setCurrentIndex(m_model->index(row, column));
}

void ResultGrid::DrawCell(QPainter *painter, const QRect &rect, int column, int row, bool current) const
{
    painter->save();
    const QString text = CellText(column, row);
    const QRect textRect = rect.adjusted(2, 1, -2, -1);
    if (column < m_fixedColumns || row < 1) {
        // Fixed cells look like the title row.
        painter->fillRect(rect, palette().color(QPalette::Button));
        painter->setPen(palette().color(QPalette::ButtonText));
    } else {
        painter->fillRect(rect, CellColour(column, row, current));
        // Black on the light phase colours in any desktop theme.
        painter->setPen(Qt::black);
        if (current) {
            QFont regular = font();
            regular.setBold(false);
            regular.setItalic(false);
            regular.setUnderline(false);
            painter->setFont(regular);
        }
    }
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter->restore();
}

int ResultGrid::ColumnCount() const
{
    return m_model->columnCount();
}

int ResultGrid::RowCount() const
{
    return m_model->rowCount() + 1;
}

QString ResultGrid::HeaderText(int column) const
{
    return m_model->title(column);
}

QString ResultGrid::CellText(int column, int row) const
{
    return row == 0 ? m_model->title(column) : m_model->text(row - 1, column);
}

QColor ResultGrid::CellColour(int column, int row, bool current) const
{
    if (row < 1 || column < 2 || column >= m_model->columnCount())
        return {};
    return current ? currentCellColour() : m_model->cellColour(row - 1, column);
}

const QVector<int> &ResultGrid::DisplayedCodes() const
{
    return m_model->displayedCodes();
}

void ResultGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    updateFrozenGeometry();
}

void ResultGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton)
        emit displayedColumnsRequested(dialogPage());
}

bool ResultGrid::eventFilter(QObject *watched, QEvent *event)
{
    const bool onFrozen = watched == m_frozen->viewport() || watched == m_frozen->horizontalHeader()->viewport();
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::RightButton)
            emit displayedColumnsRequested(dialogPage());
        return onFrozen;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        // The fixed columns cannot be selected or dragged.
        return onFrozen;
    default:
        return QTableView::eventFilter(watched, event);
    }
}

QModelIndex ResultGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex next = QTableView::moveCursor(cursorAction, modifiers);
    // The fixed columns cannot hold the current cell.
    if (next.isValid() && next.column() < m_fixedColumns) {
        if (currentIndex().isValid() && currentIndex().column() >= m_fixedColumns)
            return currentIndex().siblingAtRow(next.row());
        return m_model->columnCount() > m_fixedColumns ? next.siblingAtColumn(m_fixedColumns) : QModelIndex();
    }
    if (cursorAction == MoveLeft && next.isValid()) {
        const int left = visualRect(next).left();
        if (left < frozenWidth())
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() + left - frozenWidth());
    }
    return next;
}

void ResultGrid::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (index.column() >= m_fixedColumns)
        QTableView::scrollTo(index, hint);
}

void ResultGrid::onSectionMoved(int, int oldVisualIndex, int newVisualIndex)
{
    if (m_revertingMove)
        return;
    // The header keeps the configured order; the configuration decides the
    // new order and the grid is refilled from it.
    m_revertingMove = true;
    horizontalHeader()->moveSection(newVisualIndex, oldVisualIndex);
    m_revertingMove = false;
    if (oldVisualIndex < kFixedColumnCodes || newVisualIndex < kFixedColumnCodes)
        return;
    // The verdict column stays last and is no configured column.
    const int configured = m_model->configuredColumnCount();
    if (oldVisualIndex >= configured || newVisualIndex >= configured)
        return;
    QMetaObject::invokeMethod(
        this, [this, oldVisualIndex, newVisualIndex] { emit columnDragged(oldVisualIndex, newVisualIndex); },
        Qt::QueuedConnection);
}

void ResultGrid::applyFixedColumns()
{
    const int count = m_model->columnCount();
    for (int c = 0; c < count; ++c) {
        m_frozen->setColumnHidden(c, c >= m_fixedColumns);
        if (c < m_fixedColumns)
            m_frozen->setColumnWidth(c, columnWidth(c));
    }
    m_frozen->setVisible(m_fixedColumns > 0);
    updateFrozenGeometry();
}

void ResultGrid::fitColumns()
{
    const QFontMetrics metrics = horizontalHeader()->fontMetrics();
    const int padding = 2 * metrics.averageCharWidth() + 2 * style()->pixelMetric(QStyle::PM_HeaderMargin);
    for (int c = 0; c < m_model->columnCount(); ++c) {
        int width = std::max(kColumnWidthHint, metrics.horizontalAdvance(m_model->title(c)) + padding);
        for (int r = 0; r < m_model->rowCount(); ++r)
            width = std::max(width, fontMetrics().horizontalAdvance(m_model->text(r, c)) + padding);
        setColumnWidth(c, width);
        if (c < m_fixedColumns)
            m_frozen->setColumnWidth(c, width);
    }
    updateFrozenGeometry();
}

int ResultGrid::frozenWidth() const
{
    int width = 0;
    for (int c = 0; c < m_fixedColumns && c < m_model->columnCount(); ++c)
        width += columnWidth(c);
    return width;
}

void ResultGrid::updateFrozenGeometry()
{
    if (!m_frozen)
        return;
    m_frozen->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    m_frozen->setGeometry(frameWidth(), frameWidth(), frozenWidth(),
                          viewport()->height() + horizontalHeader()->height());
}
