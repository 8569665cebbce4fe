// What is already stored, through the real main window: the content dialog
// of a second reading marks the verifications stored by the first with their
// folder and ticks the others on request; "Find meter" lists matching meters
// of several folders and opens the one chosen.
#include "device/portchoice.h"
#include "device/ui/contentform.h"
#include "device/ui/devicecommands.h"
#include "mainwindowfixture.h"
#include "records/meterfile.h"
#include "records/recordstore.h"
#include "records/ui/findmeterdialog.h"
#include "records/ui/folderpanel.h"
#include "samplerecords.h"
#include "devicewindow.h"
#include "tst_sessionsupport.h"
#include "views/ui/foldercommands.h"
#include "views/ui/recordviews.h"
#include "dialogwidgets.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using sessiontest::readFolder;
using sessiontest::Sim;
using testsupport::child;

namespace {

// Reads the archive; `choose` acts in the content dialog.
struct Window : sessiontest::DeviceWindow {
    void read(std::function<void(TContForm &)> choose)
    {
        sessiontest::whenContentShown(*this, std::move(choose));
        DeviceWindow::read();
    }
};

QStringList storedColumn(TContForm &f)
{
    QStringList cells;
    for (int r = 0; r < child<QTreeWidget>(f, "ContentListView")->topLevelItemCount(); ++r)
        cells << child<QTreeWidget>(f, "ContentListView")->topLevelItem(r)->text(TContForm::ColumnStored);
    return cells;
}

} // namespace

class tst_storedwindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_userStore;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        if (!QFile::exists(testsupport::binDir() + QStringLiteral("/vardosk-instrument-sim")))
            QSKIP("the instrument emulator is not built");
        QVERIFY(m_userStore.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_userStore.path());
    }
    void cleanupTestCase() { device::storeTypedPortPath(QString()); }

    void secondReadingMarksWhatIsStored()
    {
        Sim sim({"--model-class", "3", "--records", "5", "--points", "1"});
        QVERIFY(!sim.path.isEmpty());
        Window w;
        QVERIFY(QDir().mkpath(w.dataFolder() + QStringLiteral("/Workshop")));
        QVERIFY(w.open());
        w.useSerial(sim.path);
        QVERIFY(w.form->folderPanel()->selectFolder(w.dataFolder() + QStringLiteral("/Workshop")));

        // The first reading: three of five, into "Workshop". Nothing was
        // stored before, and the default ticks are none.
        w.read([](TContForm &f) {
            QCOMPARE(storedColumn(f), QStringList(5, QString()));
            QVERIFY(f.CheckedNumbers().isEmpty());
            for (int r : {0, 2, 4})
                child<QTreeWidget>(f, "ContentListView")->topLevelItem(r)->setCheckState(0, Qt::Checked);
            child<QPushButton>(f, "ReadCalibrationButton")->click();
        });
        QCOMPARE(readFolder(w.dataFolder() + QStringLiteral("/Workshop")).size(), 3);

        // The second reading, with the root selected: those three carry
        // their folder, the button ticks the two others.
        QVERIFY(w.form->folderPanel()->selectFolder(w.dataFolder()));
        QVector<int> ticked;
        w.read([&](TContForm &f) {
            const QString workshop = QStringLiteral("Data/Workshop");
            QCOMPARE(storedColumn(f), (QStringList{workshop, QString(), workshop, QString(), workshop}));
            QVERIFY(f.CheckedNumbers().isEmpty());
            child<QPushButton>(f, "AllCalibrationButton")->click();
            child<QPushButton>(f, "NotStoredButton")->click();
            ticked = f.CheckedNumbers();
            child<QPushButton>(f, "ReadCalibrationButton")->click();
        });
        QCOMPARE(ticked, (QVector<int>{2, 4}));
        const auto root = readFolder(w.dataFolder());
        QCOMPARE(root.size(), 2);
        for (const MeterFileReadResult &file : root)
            QVERIFY(QList<int>({1, 3}).contains(file.meter.verifications.first().powerType));
    }

    void findListsMetersOfTwoFoldersAndOpensOne()
    {
        Window w;
        const QString data = w.dataFolder();
        const auto write = [](const QString &folder, const QString &type, std::uint32_t serial) {
            pcn::_totalblockdata meter = testsupport::sampleMeter(type, QString::number(serial), 1, 2);
            for (pcn::_blockdata &v : meter.verifications)
                v.serial = serial;
            return QDir().mkpath(folder)
                   && WriteMeterFile(folder + QLatin1Char('/') + ReceivedRecordFileName(meter.verifications.first()),
                                     meter);
        };
        QVERIFY(write(data + QStringLiteral("/North"), QStringLiteral("CE6803"), 4512001));
        QVERIFY(write(data + QStringLiteral("/North"), QStringLiteral("CE6803"), 777));
        QVERIFY(write(data + QStringLiteral("/South/2024"), QStringLiteral("CE6827"), 3345120));
        QVERIFY(write(data + QStringLiteral("/South/2024"), QStringLiteral("CE6827"), 3300001));
        QVERIFY(w.open());

        QAction *find = w.form->action(Command::FindMeter);
        QVERIFY(find && find->isEnabled());
        QCOMPARE(find->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
        find->trigger();
        auto *dialog = w.form->findChild<FindMeterDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        QTest::keyClicks(child<QLineEdit>(dialog, "SerialEdit"), QStringLiteral("4512"));
        QTest::keyClick(child<QLineEdit>(dialog, "SerialEdit"), Qt::Key_Return);
        QCOMPARE(child<QTreeWidget>(dialog, "ResultListView")->topLevelItemCount(), 2);
        QCOMPARE(child<QTreeWidget>(dialog, "ResultListView")->topLevelItem(0)->text(FindMeterDialog::ColumnFolder),
                 QStringLiteral("Data/North"));
        QTreeWidgetItem *south = child<QTreeWidget>(dialog, "ResultListView")->topLevelItem(1);
        QCOMPARE(south->text(FindMeterDialog::ColumnFolder), QStringLiteral("Data/South/2024"));
        QCOMPARE(south->text(FindMeterDialog::ColumnSerial), QStringLiteral("3345120"));
        QCOMPARE(south->text(FindMeterDialog::ColumnCount), QStringLiteral("2"));

        // Enter on a row opens it (and does not search again).
        child<QTreeWidget>(dialog, "ResultListView")->setCurrentItem(south);
        QTest::keyClick(child<QTreeWidget>(dialog, "ResultListView"), Qt::Key_Return);
        QCOMPARE(child<QTreeWidget>(dialog, "ResultListView")->currentItem(), south);
        QCOMPARE(w.form->store().currentFolder(), data + QStringLiteral("/South/2024"));
        QCOMPARE(w.form->folderPanel()->currentFolderPath(), data + QStringLiteral("/South/2024"));
        // The second meter of that folder is selected, not the first.
        const int meter = w.form->views()->SelectedMeterIndex();
        QCOMPARE(meter, 1);
        QCOMPARE(w.form->store().loadMeter(meter)->verifications.first().serial, 3345120u);

        // Another data folder: the old results go, and a search looks below the new one.
        QTemporaryDir other;
        QVERIFY(write(other.path(), QStringLiteral("CE6803"), 4512999));
        w.form->findChild<FolderCommands *>()->SwitchDataFolder(other.path());
        QCOMPARE(child<QTreeWidget>(dialog, "ResultListView")->topLevelItemCount(), 0);
        QTest::keyClick(child<QLineEdit>(dialog, "SerialEdit"), Qt::Key_Return);
        QCOMPARE(child<QTreeWidget>(dialog, "ResultListView")->topLevelItemCount(), 1);
        QCOMPARE(child<QTreeWidget>(dialog, "ResultListView")->topLevelItem(0)->text(FindMeterDialog::ColumnSerial),
                 QStringLiteral("4512999"));
    }
};

QTEST_MAIN(tst_storedwindow)
#include "tst_storedwindow.moc"
