#include "recordviews.h"

#include "views/verdicttext.h"

#include "recordlistmodels.h"
#include "recordlistviews.h"
#include "resultgrid.h"
#include "tvparam.h"
#include "records/recordstore.h"
#include "views/gridcolumnkinds.h"
#include "views/gridconfig.h"
#include "views/listtexts.h"

#include <QScrollBar>
#include <QHeaderView>
#include <QVBoxLayout>

namespace {

// Scoped flag that marks selection changes made by the views themselves, so
// that the selection signals do not run the selection a second time.
class SelectionGuard {
public:
    explicit SelectionGuard(bool &flag) : m_flag(flag), m_old(flag) { m_flag = true; }
    ~SelectionGuard() { m_flag = m_old; }
    SelectionGuard(const SelectionGuard &) = delete;
    SelectionGuard &operator=(const SelectionGuard &) = delete;

private:
    bool &m_flag;
    bool m_old;
};

// What is shown of a listed meter whose file cannot be read now: its file
// and instrument, no verification. The list follows the disk soon after.
std::shared_ptr<const pcn::_totalblockdata> unreadMeter(const ListedMeter &listed)
{
    auto meter = std::make_shared<pcn::_totalblockdata>();
    meter->fileName = listed.fileName;
    meter->identity = listed.identity;
    meter->instrument = listed.instrument;
    return meter;
}

} // namespace

RecordViews::RecordViews(std::array<GridColumns, kGridCount> &columns, QWidget *parentWidget)
    : QObject(parentWidget), m_columns(columns), m_lookup(catalogTextLookup(LanguageEnglish))
{
    m_titleList = new TitleListView(parentWidget);
    m_powerList = new PowerListView(parentWidget);
    m_meterModel = new MeterListModel(this);
    m_powerModel = new PowerListModel(this);
    m_titleList->setModel(m_meterModel);
    m_powerList->setModel(m_powerModel);

    m_gridArea = new QWidget(parentWidget);
    m_gridArea->setObjectName(QStringLiteral("GridArea"));
    auto *layout = new QVBoxLayout(m_gridArea);
    layout->setContentsMargins(0, 0, 0, 0);
    // The grids are made when first needed: a folder shows one kind of
    // verification most of the time.
    m_parentWidget = parentWidget;

    connect(m_titleList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { onMeterRowChanged(current); });
    connect(m_powerList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { onPowerRowChanged(current); });
    connect(m_titleList, &RecordListView::columnClicked, this, &RecordViews::SortMeters);
    connect(m_powerList, &RecordListView::columnClicked, this, &RecordViews::SortVerifications);
    connect(m_titleList, &RecordListView::mouseButtonPressed, this, [this] { onMeterListPressed(); });
    connect(m_titleList, &RecordListView::focusLost, this, [this] { onMeterListFocusLost(); });
    connect(m_titleList, &RecordListView::contextMenuRequested, this, &RecordViews::meterContextMenuRequested);
    connect(m_powerList, &RecordListView::contextMenuRequested, this, &RecordViews::powerContextMenuRequested);
    connect(m_powerList, &RecordListView::mouseButtonReleased, this, [this] {
        if (m_powerModel->rowCount() > 0)
            UpdateCheckedCount();
    });
    // A tick set by keyboard or by a click counts at once.
    connect(m_powerModel, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
                if (roles.contains(Qt::CheckStateRole))
                    UpdateCheckedCount();
            });

    applyListTitles();
    m_titleList->setColumnWidthHints({130, 100, 100, 120, 95, 170, 100});
    m_powerList->setColumnWidthHints({150, 160, 80, 60, 60, 60});
    for (GridKind kind : {GridPhase12, GridPhase33, GridPhase34})
        repairGridColumns(m_columns[kind], kind);
    recomputeCommands();
}

RecordViews::~RecordViews() = default;

ResultGrid *RecordViews::grid(GridKind kind)
{
    if (!m_grids[kind]) {
        auto *made = new ResultGrid(kind, m_gridArea);
        made->hide();
        m_gridArea->layout()->addWidget(made);
        connect(made, &ResultGrid::displayedColumnsRequested, this, [this](int page) { EditDisplayedColumns(page); });
        connect(made, &ResultGrid::columnDragged, this, [this, kind](int from, int to) { MoveColumn(kind, from, to); });
        m_grids[kind] = made;
    }
    return m_grids[kind];
}

void RecordViews::SetTextLookup(TextLookup lookup)
{
    m_lookup = std::move(lookup);
    applyListTitles();
    m_titleList->applyColumnWidths();
    m_powerList->applyColumnWidths();
    // Rows already shown keep fitting their columns.
    m_titleList->fitColumnsToRows();
    m_powerList->fitColumnsToRows();
    m_textsSet = true;
    if (m_dialog)
        m_dialog->ApplyStrings(m_lookup);
    relabel();
}

void RecordViews::relabel()
{
    if (!m_meters || m_meterModel->rowCount() == 0)
        return;
    SelectionGuard guard(m_programmaticSelection);
    const QVector<int> meterOrder = m_meterModel->rowOrder();
    m_meterModel->fill(m_meters, m_lookup, m_locale);
    m_meterModel->setRowOrder(meterOrder);
    m_titleList->fitColumnsToRows();
    if (const int row = SelectedMeterRow(); row >= 0)
        m_titleList->selectRow(row);
    const pcn::_totalblockdata *meter = selectedMeter();
    if (!meter)
        return;
    const QVector<int> powerOrder = m_powerModel->rowOrder();
    const QVector<int> checked = m_powerModel->checkedDataIndices();
    m_powerModel->fill(*meter, m_lookup, m_locale);
    m_powerModel->setRowOrder(powerOrder);
    for (const int v : checked)
        m_powerModel->setChecked(PowerRowOf(v), true);
    applyVerdictMarks();
    m_powerList->fitColumnsToRows();
    if (const int row = SelectedPowerRow(); row >= 0)
        m_powerList->selectRow(row);
    if (m_selectedVerification >= 0 && m_selectedVerification < meter->verifications.size()) {
        const pcn::_blockdata &verification = meter->verifications.at(m_selectedVerification);
        GridKind kind;
        if (gridForScheme(verification.scheme, &kind)) {
            grid(kind)->FillGrid(m_columns[kind], verification, m_lookup, m_locale);
            applyVerdictColumn(grid(kind), verification);
        }
    }
}

TVParam *RecordViews::viewParamDialog()
{
    if (!m_dialog) {
        m_dialog = new TVParam(m_parentWidget);
        if (m_textsSet)
            m_dialog->ApplyStrings(m_lookup);
    }
    return m_dialog;
}

void RecordViews::SetLocale(const QLocale &locale)
{
    m_locale = locale;
}

void RecordViews::applyListTitles()
{
    QStringList meterTitles;
    for (int c = 0; c < kMeterListColumnCount; ++c)
        meterTitles << (m_lookup ? m_lookup(kViewsMainSection, meterListTitlePath(c)) : QString());
    QStringList powerTitles;
    for (int c = 0; c < kPowerListColumnCount; ++c)
        powerTitles << (m_lookup ? m_lookup(kViewsMainSection, powerListTitlePath(c)) : QString());
    m_meterModel->setTitles(meterTitles);
    m_powerModel->setTitles(powerTitles);
}

// --- Lists ------------------------------------------------------------------

void RecordViews::FillMeterList(const QVector<ListedMeter> *meters)
{
    m_meters = meters;
    m_meterSort.column = kNoSortColumn;
    updateSortIndicator(true);
    {
        SelectionGuard guard(m_programmaticSelection);
        m_meterModel->fill(meters, m_lookup, m_locale);
    }
    m_titleList->fitColumnsToRows();
    const int count = m_meterModel->rowCount();
    if (count == 0) {
        m_selectedMeter = -1;
        m_shown.reset();
        clearPowerSide();
        recomputeCommands();
        return;
    }
    SelectMeter(0);
}

void RecordViews::SelectMeter(int row)
{
    if (m_meterModel->rowCount() == 0 || row < 0 || row >= m_meterModel->rowCount())
        return;
    {
        SelectionGuard guard(m_programmaticSelection);
        m_titleList->selectRow(row);
    }
    showMeter(row);
}

void RecordViews::SelectVerification(int row)
{
    if (m_meterModel->rowCount() == 0 || row < 0 || row >= m_powerModel->rowCount())
        return;
    {
        SelectionGuard guard(m_programmaticSelection);
        m_powerList->selectRow(row);
    }
    showVerification(row);
}

void RecordViews::onMeterRowChanged(const QModelIndex &current)
{
    if (m_programmaticSelection || !current.isValid())
        return;
    showMeter(current.row());
}

void RecordViews::onPowerRowChanged(const QModelIndex &current)
{
    if (m_programmaticSelection || !current.isValid())
        return;
    showVerification(current.row());
}

void RecordViews::showMeter(int row)
{
    const int meterIndex = m_meterModel->dataIndexAt(row);
    if (!m_meters || meterIndex < 0 || meterIndex >= m_meters->size())
        return;
    m_selectedMeter = meterIndex;
    // The points are read when a meter is shown; the power list shows the
    // verifications as read with them.
    m_shown = m_loader ? m_loader(meterIndex) : nullptr;
    if (!m_shown)
        m_shown = unreadMeter(m_meters->at(meterIndex));
    {
        SelectionGuard guard(m_programmaticSelection);
        m_powerModel->fill(*selectedMeter(), m_lookup, m_locale);
    }
    applyVerdictMarks();
    m_powerList->fitColumnsToRows();
    m_powerSort.column = kNoSortColumn;
    updateSortIndicator(false);
    m_selectedVerification = -1;
    m_checkedCount = 0;
    m_elementPasteFits = false;
    recomputeCommands();
    emit meterSelected(meterIndex);
    if (m_powerModel->rowCount() > 0)
        SelectVerification(0);
    else
        showGrid(nullptr);
    emit checkedCountChanged(m_checkedCount);
}

void RecordViews::showVerification(int row)
{
    const pcn::_totalblockdata *meter = selectedMeter();
    const int index = m_powerModel->dataIndexAt(row);
    if (!meter || index < 0 || index >= meter->verifications.size())
        return;
    m_selectedVerification = index;
    const pcn::_blockdata &verification = meter->verifications.at(index);
    GridKind kind;
    if (gridForScheme(verification.scheme, &kind)) {
        repairGridColumns(m_columns[kind], kind);
        ResultGrid *shown = grid(kind);
        shown->LayoutGrid(m_columns[kind]);
        shown->FillGrid(m_columns[kind], verification, m_lookup, m_locale);
        applyVerdictColumn(shown, verification);
        showGrid(shown);
    }
    m_elementPasteFits = m_elementPasteCheck && m_elementPasteCheck(m_selectedMeter, index);
    recomputeCommands();
    emit verificationSelected(m_selectedMeter, index);
}

void RecordViews::showGrid(ResultGrid *visible)
{
    for (ResultGrid *grid : m_grids)
        if (grid && grid != visible)
            grid->hide();
    if (visible)
        visible->show();
}

void RecordViews::clearPowerSide()
{
    {
        SelectionGuard guard(m_programmaticSelection);
        m_powerModel->clear();
    }
    m_selectedVerification = -1;
    m_powerSort.column = kNoSortColumn;
    m_checkedCount = 0;
    m_elementPasteFits = false;
    showGrid(nullptr);
    recomputeCommands();
    emit checkedCountChanged(0);
}

void RecordViews::SortMeters(int column)
{
    if (!m_meters)
        return;
    QVector<int> rows = m_meterModel->rowOrder();
    if (::SortMeters(rows, *m_meters, m_meterSort, column, m_locale)) {
        SelectionGuard guard(m_programmaticSelection);
        m_meterModel->setRowOrder(rows);
    }
    updateSortIndicator(true);
}

void RecordViews::SortVerifications(int column)
{
    const pcn::_totalblockdata *meter = selectedMeter();
    if (!meter)
        return;
    QVector<int> rows = m_powerModel->rowOrder();
    if (::SortVerifications(rows, meter->verifications, m_powerSort, column)) {
        SelectionGuard guard(m_programmaticSelection);
        m_powerModel->setRowOrder(rows);
        emit powerListSorted();
    }
    updateSortIndicator(false);
}

void RecordViews::ResortMeters()
{
    if (!m_meters)
        return;
    QVector<int> rows = m_meterModel->rowOrder();
    if (::ResortMeters(rows, *m_meters, m_meterSort, m_locale)) {
        SelectionGuard guard(m_programmaticSelection);
        m_meterModel->setRowOrder(rows);
    }
    updateSortIndicator(true);
}

void RecordViews::ResortVerifications()
{
    const pcn::_totalblockdata *meter = selectedMeter();
    if (!meter)
        return;
    QVector<int> rows = m_powerModel->rowOrder();
    if (::ResortVerifications(rows, meter->verifications, m_powerSort)) {
        SelectionGuard guard(m_programmaticSelection);
        m_powerModel->setRowOrder(rows);
    }
    updateSortIndicator(false);
}

void RecordViews::updateSortIndicator(bool meterList)
{
    RecordListView *view =
        meterList ? static_cast<RecordListView *>(m_titleList) : static_cast<RecordListView *>(m_powerList);
    const ListSortState &state = meterList ? m_meterSort : m_powerSort;
    const bool sorted = state.column == 0 || state.column == 1;
    view->header()->setSortIndicatorShown(sorted);
    if (sorted)
        view->header()->setSortIndicator(state.column, state.ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void RecordViews::UpdateCheckedCount()
{
    const pcn::_totalblockdata *meter = selectedMeter();
    m_checkedCount = meter ? m_powerModel->checkedCount() : 0;
    recomputeCommands();
    emit checkedCountChanged(m_checkedCount);
}

void RecordViews::ReselectMeter()
{
    const int row = SelectedMeterRow();
    if (row >= 0)
        SelectMeter(row);
}

// --- Columns ----------------------------------------------------------------

bool RecordViews::EditDisplayedColumns(int page)
{
    for (GridKind kind : {GridPhase12, GridPhase33, GridPhase34})
        repairGridColumns(m_columns[kind], kind);
    if (!viewParamDialog()->EditDisplayedColumns(m_columns, page))
        return false;
    emit columnsChanged();
    ReselectMeter();
    return true;
}

void RecordViews::MoveColumn(GridKind grid, int from, int to)
{
    repairGridColumns(m_columns[grid], grid);
    if (!moveColumn(m_columns[grid], from, to))
        return;
    emit columnsChanged();
    const pcn::_totalblockdata *meter = selectedMeter();
    if (!meter || m_selectedVerification < 0 || m_selectedVerification >= meter->verifications.size())
        return;
    const pcn::_blockdata &verification = meter->verifications.at(m_selectedVerification);
    GridKind shown;
    if (gridForScheme(verification.scheme, &shown) && shown == grid) {
        this->grid(grid)->LayoutGrid(m_columns[grid]);
        this->grid(grid)->FillGrid(m_columns[grid], verification, m_lookup, m_locale);
        applyVerdictColumn(this->grid(grid), verification);
    }
}

// --- Verdicts -------------------------------------------------------------------

namespace {

QColor verdictColour(limits::PointOutcome outcome)
{
    switch (outcome) {
    case limits::PointOutcome::Within:
        return QColor(190, 235, 190);
    case limits::PointOutcome::Over:
        return QColor(255, 170, 170);
    case limits::PointOutcome::NoLimit:
        break;
    }
    return QColor(230, 230, 230);
}

QColor markColour(limits::Outcome outcome)
{
    return outcome == limits::Outcome::Over ? QColor(200, 0, 0) : QColor(0, 140, 0);
}

} // namespace

QString RecordViews::verdictText(const QString &path) const
{
    return m_lookup ? m_lookup(limits::kVerdictSection, path) : QString();
}

void RecordViews::SetLimits(const limits::Table &table)
{
    m_limits = table;
    if (selectedMeter())
        applyVerdictMarks();
    const pcn::_totalblockdata *meter = selectedMeter();
    ResultGrid *shown = visibleGrid();
    if (meter && shown && m_selectedVerification >= 0 && m_selectedVerification < meter->verifications.size())
        applyVerdictColumn(shown, meter->verifications.at(m_selectedVerification));
}

std::optional<limits::VerificationVerdict> RecordViews::ShownVerdict() const
{
    const pcn::_totalblockdata *meter = selectedMeter();
    if (!meter || m_selectedVerification < 0 || m_selectedVerification >= meter->verifications.size())
        return std::nullopt;
    return limits::judgeVerification(m_limits, meter->verifications.at(m_selectedVerification));
}

QString RecordViews::ShownVerdictLine() const
{
    const auto verdict = ShownVerdict();
    if (!verdict)
        return {};
    const auto text = [this](const QString &path) { return verdictText(path); };
    return verdictText(QStringLiteral("Status")).arg(limits::verdictLine(*verdict, text));
}

void RecordViews::applyVerdictMarks()
{
    const pcn::_totalblockdata *meter = selectedMeter();
    QStringList marks;
    QVector<QColor> colours;
    QStringList lines;
    const auto text = [this](const QString &path) { return verdictText(path); };
    if (meter) {
        for (const pcn::_blockdata &v : meter->verifications) {
            const limits::VerificationVerdict verdict = limits::judgeVerification(m_limits, v);
            marks << limits::listMark(verdict.outcome, text);
            colours << markColour(verdict.outcome);
            lines << limits::verdictLine(verdict, text);
        }
    }
    m_powerModel->setVerdicts(marks, colours, lines);
}

void RecordViews::applyVerdictColumn(ResultGrid *grid, const pcn::_blockdata &verification)
{
    const limits::VerificationVerdict verdict = limits::judgeVerification(m_limits, verification);
    const auto text = [this](const QString &path) { return verdictText(path); };
    QStringList marks;
    QVector<QColor> colours;
    for (const limits::PointVerdict &p : verdict.points) {
        marks << limits::pointMark(p, text, m_locale);
        colours << verdictColour(p.outcome);
    }
    grid->SetVerdictColumn(verdictText(QStringLiteral("Column")), marks, colours);
}

// --- Changes by the record commands -------------------------------------------

void RecordViews::MeterRemoved(int meterIndex)
{
    const int row = m_meterModel->rowOfDataIndex(meterIndex);
    if (row < 0)
        return;
    const bool wasSelected = meterIndex == m_selectedMeter;
    {
        SelectionGuard guard(m_programmaticSelection);
        m_meterModel->removeDataIndex(meterIndex);
    }
    if (m_selectedMeter > meterIndex)
        --m_selectedMeter;
    const int count = m_meterModel->rowCount();
    if (count == 0) {
        m_selectedMeter = -1;
        m_shown.reset();
        clearPowerSide();
        return;
    }
    if (wasSelected)
        SelectMeter(std::min(row, count - 1));
    recomputeCommands();
}

void RecordViews::MeterReplaced(int meterIndex, int removedVerification)
{
    m_meterModel->dataIndexChanged(meterIndex);
    if (meterIndex != m_selectedMeter)
        return;
    if (removedVerification >= 0) {
        RefreshAfterElementOperation(SelectedPowerRow(), PowerRowOf(removedVerification));
        return;
    }
    ReselectMeter();
    ResortMeters();
}

void RecordViews::FollowStore(RecordStore &store)
{
    connect(&store, &RecordStore::folderRescanned, this, [this, &store] { FillMeterList(&store.meters()); });
    connect(&store, &RecordStore::meterReplaced, this, &RecordViews::MeterReplaced);
    connect(&store, &RecordStore::meterRemoved, this, &RecordViews::MeterRemoved);
    connect(&store, &RecordStore::folderChangedOnDisk, this, [this, &store] { FollowDiskChange(&store.meters()); });
    connect(&store, &RecordStore::recordsStored, this, [this, &store] { FillMeterList(&store.meters()); });
    SetMeterLoader([&store](int meterIndex) { return store.loadMeter(meterIndex); });
}

void RecordViews::FollowDiskChange(const QVector<ListedMeter> *meters)
{
    // What the user looks at is known by file and moment, not by position:
    // files may have come or gone before it.
    QString fileName;
    QDate date;
    QTime time;
    int powerType = -1;
    // The ticked verifications of the meter shown, by moment and power type.
    struct Ticked {
        QDate date;
        QTime time;
        int powerType;
    };
    QVector<Ticked> ticked;
    const auto same = [](const pcn::_blockdata &v, const QDate &d, const QTime &t, int p) {
        return v.date == d && v.time == t && v.powerType == p;
    };
    // The list may already be the new one: the meter as shown tells.
    const pcn::_totalblockdata *shown = m_selectedMeter >= 0 ? m_shown.get() : nullptr;
    if (shown) {
        const pcn::_totalblockdata &meter = *shown;
        fileName = meter.fileName;
        if (m_selectedVerification >= 0 && m_selectedVerification < meter.verifications.size()) {
            const pcn::_blockdata &v = meter.verifications.at(m_selectedVerification);
            date = v.date;
            time = v.time;
            powerType = v.powerType;
        }
        for (const int v : m_powerModel->checkedDataIndices())
            if (v < meter.verifications.size())
                ticked.append({meter.verifications.at(v).date, meter.verifications.at(v).time,
                               meter.verifications.at(v).powerType});
    }
    const ListSortState meterSort = m_meterSort;
    const ListSortState powerSort = m_powerSort;
    const int meterScroll = m_titleList->verticalScrollBar()->value();
    const int powerScroll = m_powerList->verticalScrollBar()->value();

    FillMeterList(meters);
    if (meterSort.column != kNoSortColumn) {
        m_meterSort = meterSort;
        ResortMeters();
    }
    int meterIndex = -1;
    for (int i = 0; meters && i < meters->size(); ++i)
        if (meters->at(i).fileName == fileName)
            meterIndex = i;
    if (meterIndex >= 0) {
        SelectMeter(MeterRowOf(meterIndex));
        m_powerSort = powerSort;
        ResortVerifications();
        // The power list shows the verifications of the meter as read now.
        const QVector<pcn::_blockdata> &verifications = selectedMeter()->verifications;
        for (int v = 0; v < verifications.size(); ++v) {
            if (same(verifications.at(v), date, time, powerType))
                SelectVerification(PowerRowOf(v));
            for (const Ticked &t : ticked)
                if (same(verifications.at(v), t.date, t.time, t.powerType))
                    m_powerModel->setChecked(PowerRowOf(v), true);
        }
        UpdateCheckedCount();
    } else if (m_meterModel->rowCount() > 0) {
        SelectMeter(0);
    }
    m_titleList->verticalScrollBar()->setValue(meterScroll);
    m_powerList->verticalScrollBar()->setValue(powerScroll);
}

void RecordViews::RefreshAfterElementOperation(int previousRow, int markedRow)
{
    const ListSortState sorted = m_powerSort;
    ReselectMeter();
    m_powerSort = sorted;
    ResortVerifications();
    const int count = m_powerModel->rowCount();
    int row = previousRow;
    if (row >= count)
        row = count - 1;
    else if (markedRow >= 0 && markedRow < previousRow)
        row = previousRow - 1;
    SelectVerification(std::max(row, 0));
    UpdateCheckedCount();
}

void RecordViews::SetClipboardFilled(bool filled)
{
    m_clipboardFilled = filled;
    m_mergeableAtPress = false;
    recomputeCommands();
}

void RecordViews::SetBusy(bool busy)
{
    m_busy = busy;
    recomputeCommands();
}

void RecordViews::SetMergeCheck(std::function<bool(int)> check)
{
    m_mergeCheck = std::move(check);
}

void RecordViews::SetElementPasteCheck(std::function<bool(int, int)> check)
{
    m_elementPasteCheck = std::move(check);
}

void RecordViews::onMeterListPressed()
{
    const int count = m_meterModel->rowCount();
    m_meterListActive = true;
    m_mergeableAtPress =
        count > 0 && m_clipboardFilled && m_selectedMeter >= 0 && m_mergeCheck && m_mergeCheck(m_selectedMeter);
    recomputeCommands();
}

void RecordViews::onMeterListFocusLost()
{
    m_meterListActive = false;
    m_mergeableAtPress = false;
    recomputeCommands();
}

CommandInputs RecordViews::commandInputs() const
{
    CommandInputs in;
    in.meterCount = m_meterModel->rowCount();
    in.meterSelected = m_selectedMeter >= 0 && in.meterCount > 0;
    in.verificationCount = in.meterSelected ? m_powerModel->rowCount() : 0;
    in.verificationSelected = in.meterSelected && m_selectedVerification >= 0;
    in.checkedCount = m_checkedCount;
    in.meterListActive = m_meterListActive;
    in.clipboardFilled = m_clipboardFilled;
    in.mergeableAtPress = m_mergeableAtPress;
    in.elementPasteFits = m_elementPasteFits;
    in.busy = m_busy;
    return in;
}

void RecordViews::recomputeCommands()
{
    const RecordCommands commands = commandStates(commandInputs());
    if (commands == m_commands)
        return;
    m_commands = commands;
    emit commandsChanged(m_commands);
}

// --- State ------------------------------------------------------------------

int RecordViews::SelectedMeterRow() const
{
    return m_selectedMeter < 0 ? -1 : m_meterModel->rowOfDataIndex(m_selectedMeter);
}

int RecordViews::SelectedPowerRow() const
{
    return m_selectedVerification < 0 ? -1 : m_powerModel->rowOfDataIndex(m_selectedVerification);
}

int RecordViews::MeterRowOf(int meterIndex) const
{
    return m_meterModel->rowOfDataIndex(meterIndex);
}

int RecordViews::PowerRowOf(int verificationIndex) const
{
    return m_powerModel->rowOfDataIndex(verificationIndex);
}

QVector<int> RecordViews::CheckedVerifications() const
{
    return m_powerModel->checkedDataIndices();
}

QVector<int> RecordViews::PowerListOrder() const
{
    return m_powerModel->rowOrder();
}

void RecordViews::SetChecked(int row, bool checked)
{
    m_powerModel->setChecked(row, checked);
}

ResultGrid *RecordViews::visibleGrid() const
{
    for (ResultGrid *grid : m_grids)
        if (grid && !grid->isHidden())
            return grid;
    return nullptr;
}

const pcn::_totalblockdata *RecordViews::selectedMeter() const
{
    if (!m_meters || m_selectedMeter < 0 || m_selectedMeter >= m_meters->size())
        return nullptr;
    return m_shown.get();
}

const pcn::_blockdata *RecordViews::shownVerification() const
{
    const pcn::_totalblockdata *meter = selectedMeter();
    return meter && m_selectedVerification >= 0 && m_selectedVerification < meter->verifications.size()
               ? &meter->verifications.at(m_selectedVerification)
               : nullptr;
}
