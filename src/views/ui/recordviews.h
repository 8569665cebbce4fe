// The record views of the main window as one piece: the meter list, the
// power list, the three result grids and the displayed-columns dialog, with
// the view state (selection, sorting, ticks) and the enabled state of the
// record commands. The main window places the widgets, hands over the
// folder's meter list after every scan and carries out the commands.
#pragma once

#include "records/blockdata.h"
#include "records/errorlimits.h"
#include "records/listedmeter.h"
#include "records/verdict.h"
#include "base/appstate.h"
#include "views/commandstate.h"
#include "views/listsort.h"
#include "views/textlookup.h"
#include "views/ui/recordlistviews.h"
#include "views/ui/resultgrid.h"
#include "views/ui/tvparam.h"

#include <QLocale>
#include <QObject>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class MeterListModel;
class RecordStore;
class PowerListModel;
class QModelIndex;
class QWidget;

class RecordViews : public QObject {
    Q_OBJECT
public:
    // `columns` is the column configuration of the application state; the
    // views read and change it in place. The widgets are created as children
    // of `parentWidget`; the main window moves them into its layout.
    RecordViews(std::array<GridColumns, kGridCount> &columns, QWidget *parentWidget);
    ~RecordViews() override;
    RecordViews(const RecordViews &) = delete;
    RecordViews &operator=(const RecordViews &) = delete;

    // --- Widgets --------------------------------------------------------
    TitleListView *titleList() const { return m_titleList; }
    PowerListView *powerList() const { return m_powerList; }
    // A plain container holding the three grids, of which at most one is shown.
    QWidget *gridArea() const { return m_gridArea; }
    // A grid is made when it is first shown or asked for.
    ResultGrid *grid(GridKind kind);
    // The displayed-columns dialog, made on first use.
    TVParam *viewParamDialog();

    // --- Texts ----------------------------------------------------------
    // Texts of the sections "KorvelForm" and "ViewParametersForm" in the
    // current language. Applying them sets the list titles and the dialog's
    // texts and re-labels the rows and the grid shown from what is held in
    // memory (no file is read), keeping sorting, selection and ticks.
    void SetTextLookup(TextLookup lookup);
    // Locale of dates, times and decimal separators (the user's by default).
    void SetLocale(const QLocale &locale);

    // --- Verdicts -------------------------------------------------------
    // The limits table the grids' verdict column and the power list's marks
    // judge by; the shown meter is judged again.
    void SetLimits(const limits::Table &table);
    const limits::Table &Limits() const { return m_limits; }
    // The verdict of the shown verification, when one is shown.
    std::optional<limits::VerificationVerdict> ShownVerdict() const;
    // Its verdict line in the current language ("" when none is shown).
    QString ShownVerdictLine() const;

    // --- The operations of the views ------------------------------------
    // After a folder scan: one row per meter, then row 0 is selected. The
    // list must stay alive and unchanged until the next call, except through
    // the calls below that report changes.
    void FillMeterList(const QVector<ListedMeter> *meters);
    // Selects a meter-list row and fills the power list for its meter.
    void SelectMeter(int row);
    // Selects a power-list row and shows the verification in its grid.
    void SelectVerification(int row);
    // Column clicks (the title clicks of the lists run these).
    void SortMeters(int column);
    void SortVerifications(int column);
    // Sort again by the previous column 0 or 1 in the same direction.
    void ResortMeters();
    void ResortVerifications();
    // Recounts the ticks and enables the report command accordingly.
    void UpdateCheckedCount();
    // Selects the selected meter's row again: refills the power list and
    // shows its first verification.
    void ReselectMeter();
    // Runs the displayed-columns dialog on a page (0 four-wire, 1 three-wire,
    // 2 single-phase); on apply the grid is redrawn. True when applied.
    bool EditDisplayedColumns(int page);
    // Applies a column drag of a grid to the configuration and redraws it.
    void MoveColumn(GridKind grid, int from, int to);

    // --- Following the store ---------------------------------------------
    // Keeps the views in step with the store: every rescan refills the
    // lists, a replaced meter is shown again, a removed meter leaves the
    // list, stored records join it. The points of the selected meter come
    // from the store (RecordStore::loadMeter).
    void FollowStore(RecordStore &store);
    // Where a listed meter's verifications and points come from (the
    // store's loadMeter); without one a meter is shown without any.
    using MeterLoader = std::function<std::shared_ptr<const pcn::_totalblockdata>(int meterIndex)>;
    void SetMeterLoader(MeterLoader loader) { m_loader = std::move(loader); }
    // The store read its folder again after a change on disk: the lists
    // are filled anew, keeping the sort order, the selected meter and
    // verification (where they still exist) and the scroll positions.
    void FollowDiskChange(const QVector<ListedMeter> *meters);

    // The meter with this index was removed from the list handed to
    // FillMeterList (the entries after it moved down by one). Its row goes;
    // when it was the selected meter the row now at its position, or the
    // last row, is selected; an empty list clears the power list and hides
    // the grids.
    void MeterRemoved(int meterIndex);
    // The meter with this index took new content. When it is the selected
    // meter its verifications are shown again: after an element paste or
    // delete (`removedVerification` >= 0) the power list keeps its sorting
    // and the selected row's position (one row earlier when the removed
    // verification stood before it, the last row when beyond the end);
    // otherwise the meter is selected again and the meter list sorted again.
    void MeterReplaced(int meterIndex, int removedVerification);

    // --- Inputs of the command states from outside the views -------------
    // A meter file is on the meter clipboard; every change of the clipboard
    // also forgets the mergeability found at the last press.
    void SetClipboardFilled(bool filled);
    // A device run is under way: every command is disabled.
    void SetBusy(bool busy);

    // Asked on a press in the meter list while paste is available: may the
    // clipboard file be merged into this meter (index into the meter list)?
    void SetMergeCheck(std::function<bool(int meterIndex)> check);
    // Asked when a verification is selected: may the marked verification be
    // pasted into this one? (Element mark of this meter, compatibility.)
    void SetElementPasteCheck(std::function<bool(int meterIndex, int verificationIndex)> check);

    // --- State ----------------------------------------------------------
    // The listed meters (what their rows show).
    const QVector<ListedMeter> *meters() const { return m_meters; }
    // The selected meter with its verifications and points as shown (its
    // file and instrument alone when the file could not be read); nullptr
    // when none is selected.
    const pcn::_totalblockdata *selectedMeter() const;
    int SelectedMeterIndex() const { return m_selectedMeter; } // -1 when none
    int SelectedVerificationIndex() const { return m_selectedVerification; } // -1 when none
    // The verification the grid shows, with its points; nullptr when none.
    const pcn::_blockdata *shownVerification() const;
    int SelectedMeterRow() const;
    int SelectedPowerRow() const;
    int MeterRowOf(int meterIndex) const;
    int PowerRowOf(int verificationIndex) const;
    // Ticked verifications of the selected meter, in row order.
    QVector<int> CheckedVerifications() const;
    // Verification index of every power-list row, top to bottom.
    QVector<int> PowerListOrder() const;
    int CheckedCount() const { return m_checkedCount; }
    // Ticks or unticks a power-list row (as a click on its check box does).
    void SetChecked(int row, bool checked);
    const ListSortState &meterSort() const { return m_meterSort; }
    const ListSortState &powerSort() const { return m_powerSort; }
    bool PasteAvailable() const { return m_clipboardFilled; }
    // The inputs of the command states as they are now, and the states.
    CommandInputs commandInputs() const;
    const RecordCommands &Commands() const { return m_commands; }
    // The grid that shows the selected verification, nullptr when none.
    ResultGrid *visibleGrid() const;

signals:
    void commandsChanged(const RecordCommands &commands);
    void meterSelected(int meterIndex);
    void verificationSelected(int meterIndex, int verificationIndex);
    void checkedCountChanged(int count);
    // The power list was sorted by a click (the element mark's row moved).
    void powerListSorted();
    // The column configuration changed (drag or dialog).
    void columnsChanged();
    // Context menus of the lists were asked for at a global position.
    void meterContextMenuRequested(const QPoint &globalPos);
    void powerContextMenuRequested(const QPoint &globalPos);

private:
    void onMeterRowChanged(const QModelIndex &current);
    void onPowerRowChanged(const QModelIndex &current);
    void onMeterListPressed();
    void onMeterListFocusLost();
    void showMeter(int row);
    void showVerification(int row);
    void showGrid(ResultGrid *visible);
    void clearPowerSide();
    void recomputeCommands();
    // After an element paste or delete changed the selected meter's
    // verifications: refill the power list, recount, sort again when it was
    // sorted, and select the row at `previousRow` (the last row when beyond
    // the end; one row earlier when `removedRow` was before it).
    void RefreshAfterElementOperation(int previousRow, int removedRow);
    void updateSortIndicator(bool meterList);
    void applyListTitles();
    void applyVerdictMarks();
    void applyVerdictColumn(ResultGrid *grid, const pcn::_blockdata &verification);
    QString verdictText(const QString &path) const;
    // The rows and the grid shown again in the current texts, from memory.
    void relabel();

    std::array<GridColumns, kGridCount> &m_columns;
    const QVector<ListedMeter> *m_meters = nullptr;
    MeterLoader m_loader;
    std::shared_ptr<const pcn::_totalblockdata> m_shown; // the selected meter with its points
    TextLookup m_lookup;
    QLocale m_locale;
    limits::Table m_limits = limits::builtInLimits();

    QPointer<TitleListView> m_titleList;
    QPointer<PowerListView> m_powerList;
    QPointer<QWidget> m_gridArea;
    std::array<ResultGrid *, kGridCount> m_grids{}; // null until made
    QPointer<TVParam> m_dialog;
    QWidget *m_parentWidget = nullptr;
    bool m_textsSet = false; // SetTextLookup has run: a new dialog takes the texts
    MeterListModel *m_meterModel = nullptr;
    PowerListModel *m_powerModel = nullptr;

    int m_selectedMeter = -1;
    int m_selectedVerification = -1;
    ListSortState m_meterSort{0, true};
    ListSortState m_powerSort;
    int m_checkedCount = 0;
    bool m_clipboardFilled = false;
    bool m_meterListActive = false;
    bool m_mergeableAtPress = false;
    bool m_elementPasteFits = false;
    bool m_busy = false;
    bool m_programmaticSelection = false;
    RecordCommands m_commands;
    std::function<bool(int)> m_mergeCheck;
    std::function<bool(int, int)> m_elementPasteCheck;
};
