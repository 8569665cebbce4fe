// The record views driven like a user would: a folder of stored files is
// scanned and shown in both languages, lists are sorted by title clicks,
// verifications ticked, grid columns hidden, shown and dragged.
#include "records/meterfile.h"
#include "records/recordstore.h"
#include "reports/protocoldocument.h"
#include "views/gridconfig.h"
#include "views/ui/recordlistviews.h"
#include "views/ui/recordviews.h"
#include "views/ui/recordlistmodels.h"
#include "records/errorlimits.h"
#include "views/ui/resultgrid.h"
#include "views/ui/tvparam.h"

#include "samplerecords.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kRussian(QLocale::Russian, QLocale::Russia);

using testsupport::bcd;

pcn::_totalblockdata meterOf(const QString &type, const QString &serialText, int scheme, int count, int points = 1)
{
    return testsupport::sampleMeter(type, serialText, scheme, count, points);
}

QAbstractItemModel *modelOf(QAbstractItemView *view)
{
    return view->model();
}

QString cell(QAbstractItemView *view, int row, int column)
{
    return modelOf(view)->index(row, column).data().toString();
}

QStringList rowOf(QAbstractItemView *view, int row)
{
    QStringList cells;
    for (int c = 0; c < modelOf(view)->columnCount(); ++c)
        cells << cell(view, row, c);
    return cells;
}

void clickTitle(QTreeView *view, int column)
{
    QHeaderView *header = view->header();
    const QPoint pos(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, pos);
}

void clickCheckBox(QTreeView *view, int row)
{
    const QModelIndex index = view->model()->index(row, 0);
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.rect = view->visualRect(index);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, box.center());
}

// Runs `step` on the modal displayed-columns dialog as soon as it is open.
void whenDialogOpens(std::function<void(TVParam *)> step)
{
    QTimer::singleShot(0, [step] {
        auto *dialog = qobject_cast<TVParam *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        const QPointer<TVParam> open(dialog);
        step(dialog);
        // A failed check inside the step must not leave the dialog open.
        if (QTest::currentTestFailed() && open && open->isVisible())
            open->reject();
    });
}

void clickButton(QWidget *dialog, const char *name)
{
    auto *button = dialog->findChild<QPushButton *>(QLatin1String(name));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

// The check list of a page of the displayed-columns dialog.
QListWidget *checkList(const TVParam *dialog, int page)
{
    return dialog->findChild<QListWidget *>(QString::fromLatin1(page == 0   ? "CheckLB34"
                                                                : page == 1 ? "CheckLB33"
                                                                            : "CheckLB1"));
}

} // namespace

class TestRecordViews : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void listsAndGridInBothLanguages_data();
    void listsAndGridInBothLanguages();
    void sortingByTitleClicks();
    void reportNeedsOneToTenTicks();
    void protocolTakesDisplayOrder();
    void elementCommandsNeedTwoVerifications();
    void gridColoursAndCurrentCell();
    void hidingAllOptionalColumns();
    void draggedColumnStaysInConfiguration();
    void unhiddenColumnReturnsToItsPlace();
    void dialogButtonsPerPage();
    void rightClickOpensDialogOnGridPage();
    void verdictColumnAndMarks();
    void languageFromMemoryPointsFromDisk();

private:
    void show(int language, const QLocale &locale);
    RecordViews::MeterLoader loader()
    {
        return [this](int i) {
            return std::make_shared<const pcn::_totalblockdata>(
                ReadMeterFile(m_dir.filePath(m_meters[i].fileName)).meter);
        };
    }

    QTemporaryDir m_dir;
    QVector<ListedMeter> m_meters;
    std::array<GridColumns, kGridCount> m_columns;
    QWidget *m_window = nullptr;
    RecordViews *m_views = nullptr;
};

void TestRecordViews::initTestCase()
{
    QVERIFY(m_dir.isValid());
    pcn::_totalblockdata a = meterOf(QStringLiteral("Меркурий 230"), QStringLiteral("12345"), 1, 1, 12);
    a.verifications[0].i1 = 5;
    a.verifications[0].i2 = 1;
    a.instrument.serial = 1234;
    const pcn::_totalblockdata b = meterOf(QStringLiteral("ce102"), QStringLiteral("5555"), 2, 11);
    const pcn::_totalblockdata c = meterOf(QStringLiteral("CE102"), QStringLiteral("0001"), 4, 1);
    const pcn::_totalblockdata d = meterOf(QStringLiteral("Alpha"), QStringLiteral("42"), 1, 2);
    QVERIFY(WriteMeterFile(m_dir.filePath(QStringLiteral("a.pcn")), a));
    QVERIFY(WriteMeterFile(m_dir.filePath(QStringLiteral("b.pcn")), b));
    QVERIFY(WriteMeterFile(m_dir.filePath(QStringLiteral("c.pcn")), c));
    QVERIFY(WriteMeterFile(m_dir.filePath(QStringLiteral("d.pcn")), d));
}

void TestRecordViews::init()
{
    for (GridKind kind : {GridPhase12, GridPhase33, GridPhase34})
        m_columns[kind] = defaultGridColumns(kind);
    m_window = new QWidget;
    m_views = new RecordViews(m_columns, m_window);
    auto *layout = new QVBoxLayout(m_window);
    layout->addWidget(m_views->titleList());
    layout->addWidget(m_views->powerList());
    layout->addWidget(m_views->gridArea(), 1);
    m_window->resize(1000, 760);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestRecordViews::cleanup()
{
    delete m_window;
    m_window = nullptr;
    m_views = nullptr;
}

void TestRecordViews::show(int language, const QLocale &locale)
{
    m_meters = ScanFolder(m_dir.path());
    m_views->SetTextLookup(catalogTextLookup(language));
    m_views->SetLocale(locale);
    m_views->SetMeterLoader(loader());
    m_views->FillMeterList(&m_meters);
}

void TestRecordViews::listsAndGridInBothLanguages_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("meterTitles");
    QTest::addColumn<QStringList>("meterRow");
    QTest::addColumn<QStringList>("powerRow");
    QTest::addColumn<QStringList>("gridTitles");
    QTest::addColumn<QStringList>("firstPoint");

    QTest::newRow("english") << 1 << QStringList{"Device type",        "Serial number",   "Accuracy class",
                                                 "Circuit connection", "Year of release", "I1, А / I2, А / Turns ratio",
                                                 "Reference standard"}
                             << QStringList{"Меркурий 230  ",        "12345",         "0.5", "3 phase, 4 wire", "2009",
                                            "5    /    1    /    5", "QT-77     1234"}
                             << QStringList{"1/1/10       8:30:00 AM", "active", "1600", "57.7", "100", "5"}
                             << QStringList{"№",      "Error, %",     "Ua, V",         "Ub, V",
                                            "Uc, V",  "Ia, A",        "Ib, A",         "Ic, A",
                                            "PFa",    "PFb",          "PFc",           "P, W",
                                            "S, VA",  "Q geom., var", "Q ph-sh., var", "Q cr-con., var",
                                            "Verdict"}
                             << QStringList{"1",    "-0.123", "220.5", "221",  "222", "5", "4.5", "4",         "0.86L",
                                            "0.5L", "1L",     "3000",  "3500", "0",   "0", "0",   "— no limit"};
    QTest::newRow("russian") << 0 << QStringList{"Тип прибора", "Зав. номер",  "Класс",
                                                 "Включение",   "Год выпуска", "I1, А / I2, А / Коэф. транс.",
                                                 "Эталон"}
                             << QStringList{"Меркурий 230  ",        "12345",         "0,5", "3-х фаз. 4-пров.", "2009",
                                            "5    /    1    /    5", "QT-77     1234"}
                             << QStringList{"01.01.2010       08:30:00", "активная", "1600", "57,7", "100", "5"}
                             << QStringList{"№ п.т.",     "Погрешность, %", "Ua, В", "Ub, В",       "Uc, В",
                                            "Ia, А",      "Ib, А",          "Ic, А", "Kpa",         "Kpb",
                                            "Kpc",        "P, Вт",          "S, ВА", "Q геом. вар", "Q сдв. вар",
                                            "Q пер. вар", "Заключение"}
                             << QStringList{"1",    "-0,123", "220,5", "221",  "222",          "5",
                                            "4,5",  "4",      "0,86L", "0,5L", "1L",           "3000",
                                            "3500", "0",      "0",     "0",    "— нет допуска"};
}

void TestRecordViews::listsAndGridInBothLanguages()
{
    QFETCH(int, language);
    QFETCH(QStringList, meterTitles);
    QFETCH(QStringList, meterRow);
    QFETCH(QStringList, powerRow);
    QFETCH(QStringList, gridTitles);
    QFETCH(QStringList, firstPoint);
    show(language, language == 0 ? kRussian : kEnglish);

    TitleListView *meters = m_views->titleList();
    QCOMPARE(modelOf(meters)->rowCount(), 4);
    QStringList titles;
    for (int c = 0; c < 7; ++c)
        titles << modelOf(meters)->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles, meterTitles);
    QCOMPARE(rowOf(meters, 0), meterRow);
    QCOMPARE(meters->selectedRow(), 0);

    // Row 0 is selected: its only verification is listed and shown.
    PowerListView *power = m_views->powerList();
    QCOMPARE(modelOf(power)->rowCount(), 1);
    QCOMPARE(rowOf(power, 0), powerRow);
    ResultGrid *grid = m_views->grid(GridPhase34);
    QCOMPARE(m_views->visibleGrid(), grid);
    QVERIFY(m_views->grid(GridPhase33)->isHidden() && m_views->grid(GridPhase12)->isHidden());
    QCOMPARE(grid->RowCount(), 13); // title row and 12 points
    QCOMPARE(grid->ColumnCount(), 17); // 16 configured and the verdict
    QCOMPARE(grid->FixedColumnCount(), 2);
    QStringList header;
    QStringList first;
    for (int c = 0; c < grid->ColumnCount(); ++c) {
        header << grid->HeaderText(c);
        first << grid->CellText(c, 1);
    }
    QCOMPARE(header, gridTitles);
    QCOMPARE(first, firstPoint);
    QCOMPARE(grid->CellText(0, 12), QStringLiteral("12"));
    QCOMPARE(grid->CellText(1, 12), language == 0 ? QStringLiteral("0,25") : QStringLiteral("0.25"));

    // The three-wire meter: one blank in the phase-voltage column.
    m_views->SelectMeter(1);
    QCOMPARE(m_views->visibleGrid(), m_views->grid(GridPhase33));
    QCOMPARE(modelOf(power)->rowCount(), 11);
    QCOMPARE(cell(power, 0, 3), QStringLiteral(" "));
    QCOMPARE(cell(power, 0, 4), QStringLiteral("100"));
    QCOMPARE(cell(meters, 1, 6), QString()); // no reference-standard serial
    QCOMPARE(cell(meters, 1, 5), QStringLiteral("1    /    1    /    1"));

    // Single phase: the ranges appear once shown, with the localized clamp label.
    m_views->SelectMeter(2);
    QCOMPARE(m_views->visibleGrid(), m_views->grid(GridPhase12));
    QCOMPARE(cell(power, 0, 4), QStringLiteral(" "));
    GridColumns &single = m_columns[GridPhase12];
    single.visible[9] = single.visible[10] = true;
    m_views->ReselectMeter();
    ResultGrid *grid12 = m_views->grid(GridPhase12);
    QCOMPARE(grid12->ColumnCount(), 12);
    QCOMPARE(grid12->CellText(9, 1), QStringLiteral("250"));
    QCOMPARE(grid12->CellText(10, 1), language == 0 ? QStringLiteral("10 К") : QStringLiteral("10 C"));
}

void TestRecordViews::sortingByTitleClicks()
{
    show(1, kEnglish);
    TitleListView *meters = m_views->titleList();
    const auto order = [meters] {
        QStringList serials;
        for (int r = 0; r < modelOf(meters)->rowCount(); ++r)
            serials << cell(meters, r, 1);
        return serials;
    };
    QCOMPARE(order(), (QStringList{"12345", "5555", "0001", "42"}));
    m_views->SelectMeter(3);
    // The serial-number title sorts by type first; the first click descends.
    // "ce102" and "CE102" are equal types: the serial decides, ascending.
    clickTitle(meters, 1);
    QCOMPARE(order(), (QStringList{"12345", "0001", "5555", "42"}));
    QCOMPARE(m_views->meterSort().column, 1);
    // The selection stays with its meter.
    QCOMPARE(m_views->SelectedMeterIndex(), 3);
    QCOMPARE(meters->selectedRow(), 3);
    clickTitle(meters, 0);
    QCOMPARE(order(), (QStringList{"42", "0001", "5555", "12345"}));
    clickTitle(meters, 4); // not a sorting column
    QCOMPARE(order(), (QStringList{"42", "0001", "5555", "12345"}));
    // A click on a row still finds its meter after sorting.
    QTest::mouseClick(meters->viewport(), Qt::LeftButton, {},
                      meters->visualRect(modelOf(meters)->index(2, 0)).center());
    QCOMPARE(m_views->SelectedMeterIndex(), 1);
    QCOMPARE(cell(m_views->powerList(), 0, 3), QStringLiteral(" "));

    // Power list: the meter with 11 verifications, dates ascending as stored.
    PowerListView *power = m_views->powerList();
    QCOMPARE(m_views->powerSort().column, kNoSortColumn);
    clickTitle(power, 0);
    QCOMPARE(cell(power, 0, 0).left(7), QStringLiteral("1/11/10"));
    QCOMPARE(cell(power, 10, 0).left(6), QStringLiteral("1/1/10"));
    clickTitle(power, 0);
    QCOMPARE(cell(power, 0, 0).left(6), QStringLiteral("1/1/10"));
    clickTitle(power, 1); // power types 0..4 repeat: descending puts 4 first
    QCOMPARE(cell(power, 0, 1), QStringLiteral("reactive (geometrical method)"));
    QCOMPARE(cell(power, 10, 1), QStringLiteral("active"));
    // Selecting a sorted row shows that verification.
    m_views->SelectVerification(0);
    QCOMPARE(m_views->selectedMeter()->verifications[m_views->SelectedVerificationIndex()].powerType, 4);
}

void TestRecordViews::reportNeedsOneToTenTicks()
{
    QSignalSpy commands(m_views, &RecordViews::commandsChanged);
    show(1, kEnglish);
    QVERIFY(m_views->Commands().report); // meter 0 has one verification
    m_views->SelectMeter(1);
    QVERIFY(!m_views->Commands().report);
    PowerListView *power = m_views->powerList();
    clickCheckBox(power, 4);
    QCOMPARE(m_views->CheckedCount(), 1);
    QVERIFY(m_views->Commands().report);
    for (int row = 0; row < 11; ++row)
        if (row != 4)
            clickCheckBox(power, row);
    QCOMPARE(m_views->CheckedCount(), 11);
    QVERIFY(!m_views->Commands().report);
    clickCheckBox(power, 7);
    QCOMPARE(m_views->CheckedCount(), 10);
    QVERIFY(m_views->Commands().report);
    QCOMPARE(m_views->CheckedVerifications().size(), 10);
    QVERIFY(!m_views->CheckedVerifications().contains(7));
    QVERIFY(!commands.isEmpty());
    // A new meter selection starts without ticks.
    m_views->SelectMeter(1);
    QCOMPARE(m_views->CheckedCount(), 0);
    QVERIFY(!m_views->Commands().report);
}

void TestRecordViews::protocolTakesDisplayOrder()
{
    show(1, kEnglish);
    m_views->SelectMeter(1);
    PowerListView *power = m_views->powerList();
    clickTitle(power, 1); // reactive (geometrical method) first
    const QVector<int> order = m_views->PowerListOrder();
    QCOMPARE(order.size(), 11);
    QCOMPARE(m_views->selectedMeter()->verifications[order[0]].powerType, 4);
    clickCheckBox(power, 5);
    clickCheckBox(power, 0);
    const QVector<int> taken = protocolSelection(order, m_views->CheckedVerifications());
    QCOMPARE(taken, (QVector<int>{order[0], order[5]}));
    // List order, not stored order: the types descend as the list shows them.
    QCOMPARE(m_views->selectedMeter()->verifications[taken[0]].powerType, 4);
    QCOMPARE(m_views->selectedMeter()->verifications[taken[1]].powerType, 2);
}

void TestRecordViews::elementCommandsNeedTwoVerifications()
{
    show(1, kEnglish);
    m_views->SelectMeter(2);
    QVERIFY(!m_views->Commands().elementCopy);
    QVERIFY(!m_views->Commands().elementDelete);
    m_views->SelectMeter(3);
    QVERIFY(m_views->Commands().elementCopy);
    QVERIFY(m_views->Commands().elementDelete);

    // Element paste follows the check of the record commands.
    m_views->SetElementPasteCheck([](int meter, int verification) { return meter == 3 && verification == 1; });
    m_views->SelectVerification(1);
    QVERIFY(m_views->Commands().elementPaste);
    m_views->SelectVerification(0);
    QVERIFY(!m_views->Commands().elementPaste);

    // Cut and delete come with a press in the meter list and go with its focus.
    TitleListView *meters = m_views->titleList();
    QTest::mouseClick(meters->viewport(), Qt::LeftButton, {},
                      meters->visualRect(modelOf(meters)->index(0, 0)).center());
    QVERIFY(m_views->Commands().cut && m_views->Commands().remove);
    m_views->powerList()->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(!m_views->Commands().cut);

    // Removing meters down to none disables the meter commands.
    for (int i = 3; i >= 0; --i)
        m_views->MeterRemoved(i);
    QVERIFY(!m_views->Commands().copy && !m_views->Commands().report);
    QCOMPARE(m_views->visibleGrid(), nullptr);
}

void TestRecordViews::gridColoursAndCurrentCell()
{
    show(1, kEnglish);
    ResultGrid *grid = m_views->grid(GridPhase34);
    QCOMPARE(grid->CellColour(2, 1, false), QColor(255, 255, 185));
    QCOMPARE(grid->CellColour(3, 1, false), QColor(202, 247, 183));
    QCOMPARE(grid->CellColour(4, 1, false), QColor(255, 155, 155));
    QCOMPARE(grid->CellColour(11, 1, false), QColor(220, 220, 255));
    QCOMPARE(grid->CellColour(1, 1, false), QColor()); // fixed: standard style
    // Filled, the grid starts with its first data cell current.
    QCOMPARE(grid->currentIndex(), grid->model()->index(0, 2));

    grid->setCurrentIndex(grid->model()->index(2, 3));
    QApplication::processEvents();
    const QImage image = grid->viewport()->grab().toImage();
    const auto fillAt = [&](int row, int column) {
        // Logical coordinates; the image has the screen's pixel density.
        const QRect r = grid->visualRect(grid->model()->index(row, column));
        const qreal ratio = image.devicePixelRatio();
        return image.pixelColor(int((r.right() - 3) * ratio), int((r.bottom() - 2) * ratio));
    };
    QCOMPARE(fillAt(0, 2), QColor(255, 255, 185));
    QCOMPARE(fillAt(2, 3), QColor(255, 153, 0));
    QCOMPARE(fillAt(1, 3), QColor(202, 247, 183));
}

void TestRecordViews::hidingAllOptionalColumns()
{
    show(1, kEnglish);
    QSignalSpy changed(m_views, &RecordViews::columnsChanged);
    whenDialogOpens([](TVParam *dialog) {
        for (int page = 0; page < 3; ++page) {
            dialog->SetPage(page);
            clickButton(dialog, "ResetButton");
        }
        clickButton(dialog, "OkButton");
    });
    QVERIFY(m_views->EditDisplayedColumns(0));
    QCOMPARE(changed.count(), 1);
    ResultGrid *grid = m_views->grid(GridPhase34);
    QCOMPARE(grid->ColumnCount(), 3); // number, error and the verdict
    QCOMPARE(grid->FixedColumnCount(), 1);
    QCOMPARE(grid->frozenView()->isColumnHidden(0), false);
    QCOMPARE(grid->frozenView()->isColumnHidden(1), true);
    QCOMPARE(grid->HeaderText(1), QStringLiteral("Error, %"));
    for (GridKind kind : {GridPhase12, GridPhase33, GridPhase34}) {
        QCOMPARE(layoutColumnCount(m_columns[kind]), 2);
        QCOMPARE(m_columns[kind].codes, defaultGridColumns(kind).codes);
    }
}

void TestRecordViews::draggedColumnStaysInConfiguration()
{
    show(1, kEnglish);
    ResultGrid *grid = m_views->grid(GridPhase34);
    QCOMPARE(grid->HeaderText(6), QStringLiteral("Ib, A"));
    // Fixed columns do not move.
    grid->horizontalHeader()->moveSection(0, 4);
    grid->horizontalHeader()->moveSection(5, 1);
    QApplication::processEvents();
    QCOMPARE(m_columns[GridPhase34].codes, defaultGridColumns(GridPhase34).codes);
    QCOMPARE(grid->horizontalHeader()->visualIndex(0), 0);

    // A finished header drag of "Ib" in front of "Ua".
    grid->horizontalHeader()->moveSection(6, 2);
    QTRY_COMPARE(int(m_columns[GridPhase34].codes[2]), 6);
    QCOMPARE(m_columns[GridPhase34].codes.mid(0, 8), (QVector<std::uint8_t>{0, 1, 6, 2, 3, 4, 5, 7}));
    QCOMPARE(grid->HeaderText(2), QStringLiteral("Ib, A"));
    QCOMPARE(grid->HeaderText(3), QStringLiteral("Ua, V"));
    QCOMPARE(grid->CellText(2, 1), QStringLiteral("4.5"));
    QCOMPARE(grid->horizontalHeader()->visualIndex(2), 2);

    // Another start with the same configuration shows the same order.
    std::array<GridColumns, kGridCount> saved = m_columns;
    QWidget other;
    RecordViews again(saved, &other);
    again.SetTextLookup(catalogTextLookup(1));
    again.SetMeterLoader(loader());
    again.FillMeterList(&m_meters);
    QCOMPARE(again.grid(GridPhase34)->HeaderText(2), QStringLiteral("Ib, A"));
    QCOMPARE(saved[GridPhase34].codes, m_columns[GridPhase34].codes);
}

void TestRecordViews::unhiddenColumnReturnsToItsPlace()
{
    show(1, kEnglish);
    ResultGrid *grid = m_views->grid(GridPhase34);
    grid->horizontalHeader()->moveSection(9, 3); // "PFb" (code 12, shown at index 9) in front of "Ub"
    QTRY_COMPARE(grid->HeaderText(3), QStringLiteral("PFb"));
    const QVector<std::uint8_t> order = m_columns[GridPhase34].codes;

    // Hide "PFb" (page 0, item 10 stands for code 12).
    whenDialogOpens([](TVParam *dialog) {
        checkList(dialog, 0)->item(10)->setCheckState(Qt::Unchecked);
        clickButton(dialog, "OkButton");
    });
    QVERIFY(m_views->EditDisplayedColumns(0));
    QCOMPARE(grid->HeaderText(3), QStringLiteral("Ub, V"));
    QCOMPARE(m_columns[GridPhase34].codes, order);

    whenDialogOpens([](TVParam *dialog) {
        QCOMPARE(checkList(dialog, 0)->item(10)->checkState(), Qt::Unchecked);
        checkList(dialog, 0)->item(10)->setCheckState(Qt::Checked);
        clickButton(dialog, "OkButton");
    });
    QVERIFY(m_views->EditDisplayedColumns(0));
    QCOMPARE(grid->HeaderText(3), QStringLiteral("PFb"));
}

void TestRecordViews::dialogButtonsPerPage()
{
    show(1, kEnglish);
    const QVector<QVector<int>> unchecked{{6, 7, 8, 12, 13, 14, 15, 17, 18, 19, 24, 25}, {12, 13}, {7, 8}};
    const std::array<GridColumns, kGridCount> before = m_columns;
    whenDialogOpens([&unchecked](TVParam *dialog) {
        QCOMPARE(dialog->Page(), 2);
        QCOMPARE(checkList(dialog, 0)->objectName(), QStringLiteral("CheckLB34"));
        QCOMPARE(checkList(dialog, 0)->count(), 26);
        QCOMPARE(checkList(dialog, 1)->count(), 14);
        QCOMPARE(checkList(dialog, 2)->count(), 9);
        QCOMPARE(checkList(dialog, 2)->item(0)->text(), QStringLiteral("Phase voltage, V"));
        for (int page = 0; page < 3; ++page) {
            dialog->SetPage(page);
            clickButton(dialog, "SelAllButton");
            QCOMPARE(dialog->Checks(page), QVector<bool>(checkList(dialog, page)->count(), true));
            clickButton(dialog, "DefaultButton");
            const QVector<bool> checks = dialog->Checks(page);
            for (int item = 0; item < checks.size(); ++item)
                QCOMPARE(checks[item], !unchecked[page].contains(item));
        }
        clickButton(dialog, "SelAllButton"); // page 2: all checked, then cancelled
        clickButton(dialog, "CancelButton");
    });
    QVERIFY(!m_views->EditDisplayedColumns(2));
    for (int kind = 0; kind < kGridCount; ++kind) {
        QCOMPARE(m_columns[kind].codes, before[kind].codes);
        QCOMPARE(m_columns[kind].visible, before[kind].visible);
    }
}

void TestRecordViews::rightClickOpensDialogOnGridPage()
{
    show(1, kEnglish);
    m_views->SelectMeter(1);
    ResultGrid *grid = m_views->grid(GridPhase33);
    QVERIFY(grid->isVisible());
    int page = -1;
    whenDialogOpens([&page](TVParam *dialog) {
        page = dialog->Page();
        clickButton(dialog, "CancelButton");
    });
    const QRect cellRect = grid->visualRect(grid->model()->index(0, 4));
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, cellRect.center());
    QCOMPARE(page, 1);
}

QTEST_MAIN(TestRecordViews)
#include "tst_recordviews.moc"

// The verdict column of the grid (mark and colour), the power list's mark
// and the verdict line, with a table that holds the sample points: the
// first point within 0.2 %, the others over it.
void TestRecordViews::verdictColumnAndMarks()
{
    show(1, kEnglish);
    const auto parsed =
        limits::parseLimits(QStringLiteral("class 0.5 0.5S\nsource T\nactive 0.5S balanced 0.85L 0.5 max 0.2\n"));
    QVERIFY(parsed.table);
    m_views->SetLimits(*parsed.table);
    ResultGrid *grid = m_views->grid(GridPhase34);
    QCOMPARE(grid->ColumnCount(), 17);
    QCOMPARE(grid->HeaderText(16), QStringLiteral("Verdict"));
    QCOMPARE(grid->CellText(16, 1), QStringLiteral("✓ within"));
    QCOMPARE(grid->CellText(16, 2), QStringLiteral("✗ over by 0.05"));
    QVERIFY(grid->CellColour(16, 1, false) != grid->CellColour(16, 2, false));
    QCOMPARE(modelOf(m_views->powerList())->index(0, 0).data(kVerdictMarkRole).toString(), QStringLiteral("✗"));
    QVERIFY(m_views->ShownVerdictLine().startsWith(
        QStringLiteral("Verdict: Exceeds the limits of class 0.5S (T) at points 2, 3,")));
    // The verdict column is no configured column: dragging it changes nothing.
    const GridColumns before = m_columns[GridPhase34];
    grid->horizontalHeader()->moveSection(16, 5);
    QCoreApplication::processEvents();
    QCOMPARE(m_columns[GridPhase34].codes, before.codes);
}

// Over a store: a language switch re-labels lists and grid from memory (the folder unreadable,
// and no file read, which holds for root too); a verification shown again after another process
// rewrote its file shows the new points, and the list follows.
void TestRecordViews::languageFromMemoryPointsFromDisk()
{
    QTemporaryDir dir;
    pcn::_totalblockdata meter = meterOf(QStringLiteral("CE102"), QStringLiteral("7"), 4, 2, 2);
    meter.instrument.serial = 99;
    QVERIFY(WriteMeterFile(dir.filePath(QStringLiteral("m.pcn")), meter));
    RecordStore store(dir.path());
    m_views->FollowStore(store);
    m_columns[GridPhase12].visible[9] = m_columns[GridPhase12].visible[10] = true;
    store.SelectFolder(dir.path());
    ResultGrid *grid = m_views->grid(GridPhase12);
    const auto shown = [&] { return rowOf(m_views->titleList(), 0).mid(3) << grid->CellText(10, 1); };
    QCOMPARE(shown(), (QStringList{"1 phase, 2 wire", "2009", "1    /    1    /    1", "QT-77     99", "10 C"}));
    const int scans = store.scanCount(), reads = store.pointReads();
    QVERIFY(QFile::setPermissions(dir.path(), {}));
    m_views->SetTextLookup(catalogTextLookup(0));
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QCOMPARE(shown(), (QStringList{"1 фаз. 2-пров.", "2009", "1    /    1    /    1", "QT-77     99", "10 К"}));
    QCOMPARE(QList<int>({store.scanCount(), store.pointReads()}), QList<int>({scans, reads}));
    meter.verifications[0].points.resize(11); // one more block: another size
    meter.verifications[0].points[0].errorPercent = -2;
    QVERIFY(WriteMeterFile(dir.filePath(QStringLiteral("m.pcn")), meter));
    m_views->ReselectMeter();
    QCOMPARE(QStringList({grid->CellText(1, 1), grid->CellText(10, 11)}), QStringList({"-2", "0"}));
    m_views->SetChecked(1, true);
    QTRY_VERIFY(store.scanCount() > scans);
    // The list read again after the change keeps the tick of the verification still there.
    QCOMPARE(m_views->CheckedVerifications(), QVector<int>{1});
}
