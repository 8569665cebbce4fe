// The archive reading and the communication settings through the real main
// window, driven by QTest against the instrument emulator on a
// pseudo-terminal: the dialogs, the status texts, what is stored, cancel,
// sorting, the selection limit and the guard of the window's commands.
#include "base/platform.h"
#include "device/connection.h"
#include "device/portchoice.h"
#include "device/ui/contentform.h"
#include "device/ui/devicecommands.h"
#include "device/ui/exchangeform.h"
#include "device/ui/frmcom.h"
#include "records/recordstore.h"
#include "records/ui/folderpanel.h"
#include "base/ui/statusmessagetimer.h"
#include "mainwindow/korvelform.h"
#include "mainwindowfixture.h"
#include "records/meterfile.h"
#include "samplerecords.h"
#include "devicewindow.h"
#include "tst_sessionsupport.h"
#include "views/commandstate.h"
#include "views/textlookup.h"
#include "views/ui/recordlistviews.h"
#include "views/ui/recordviews.h"
#include "dialogwidgets.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <optional>

#include <unistd.h>

using sessiontest::readFolder;
using sessiontest::Sim;
using testsupport::child;

namespace {

const QString kTitle = QStringLiteral("Measuring Instruments Vardosk");
const QString kSuccess = QStringLiteral(" Reading has been successfully completed.");
const QString kCanceled = QStringLiteral(" Reading canceled.");

using Window = sessiontest::DeviceWindow;
using sessiontest::whenContentShown;

// Runs `step` inside the settings dialog once it is shown.
void whenSettingsShown(Window &w, std::function<void(TFrmCom &)> step)
{
    QTimer::singleShot(0, w.commands, [&w, step] {
        TFrmCom &f = *w.commands->comForm();
        step(f);
        if (f.isVisible())
            f.reject();
    });
}

// Clicks near the left edge, where a radio button's indicator is.
void click(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(qMin(8, button->width() / 2), button->height() / 2));
}

QTreeWidgetItem *row(TContForm &f, int r)
{
    return child<QTreeWidget>(f, "ContentListView")->topLevelItem(r);
}

} // namespace

class tst_sessionwindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_userStore;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        if (!QFile::exists(testsupport::binDir() + QStringLiteral("/vardosk-instrument-sim")))
            QSKIP("the instrument emulator is not built");
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        // The per-user store (typed device path) of this process lives in a
        // folder of its own: never the user's, and not shared with the other
        // tests that run at the same time.
        QVERIFY(m_userStore.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_userStore.path());
        const QString store =
            QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Korvel"), QStringLiteral("Tessmer"))
                .fileName();
        QVERIFY2(store.startsWith(m_userStore.path()), qPrintable(store));
    }

    void init() { device::storeTypedPortPath(QString()); }
    void cleanupTestCase() { device::storeTypedPortPath(QString()); }

    void settingsDialogDefaults()
    {
        Window w;
        QVERIFY(w.open());
        QCOMPARE(w.form->findChild<QLabel *>(QStringLiteral("ConnectionPanel"))->text(), QStringLiteral(" USB"));
        bool checked = false;
        whenSettingsShown(w, [&](TFrmCom &f) {
            QVERIFY(f.isVisible());
            QCOMPARE(f.windowTitle(), QStringLiteral("Communication parameters"));
            QVERIFY(child<QRadioButton>(f, "UsbRadioButton")->isChecked());
            QVERIFY(!child<QGroupBox>(f, "ComPortGroupBox")->isEnabled());
            QCOMPARE(child<QComboBox>(f, "PortComboBox")->currentIndex(), 0);
            QCOMPARE(child<QComboBox>(f, "PortComboBox")->currentText(), PortNames().at(0));
            QCOMPARE(child<QComboBox>(f, "RateComboBox")->currentText(), QStringLiteral("115200"));
            // USB: the lists take the button-face colour; serial: the window
            // colour.
            QCOMPARE(child<QComboBox>(f, "RateComboBox")->palette().color(QPalette::Base),
                     f.palette().color(QPalette::Button));
            click(child<QRadioButton>(f, "SerialRadioButton"));
            QVERIFY(child<QGroupBox>(f, "ComPortGroupBox")->isEnabled());
            QCOMPARE(child<QComboBox>(f, "RateComboBox")->palette().color(QPalette::Base),
                     f.palette().color(QPalette::Base));
            click(child<QRadioButton>(f, "UsbRadioButton"));
            QVERIFY(!child<QGroupBox>(f, "ComPortGroupBox")->isEnabled());
            checked = true;
            click(child<QPushButton>(f, "CancelButton"));
        });
        w.form->action(Command::CommunicationSetup)->trigger();
        QVERIFY(checked);
    }

    void settingsPort12At19200()
    {
        Window w;
        QVERIFY(w.open());
        whenSettingsShown(w, [](TFrmCom &f) {
            click(child<QRadioButton>(f, "SerialRadioButton"));
            child<QComboBox>(f, "PortComboBox")->setCurrentIndex(11);
            child<QComboBox>(f, "RateComboBox")->setCurrentIndex(1);
            click(child<QPushButton>(f, "ApplyButton"));
        });
        w.form->action(Command::CommunicationSetup)->trigger();
        const AppSettings &s = w.form->services().settings().values();
        QCOMPARE(int(s.interfaceType), int(InterfaceSerial));
        QCOMPARE(s.portIndex, 11);
        QCOMPARE(s.rateIndex, 1);
        QCOMPARE(w.form->findChild<QLabel *>(QStringLiteral("ConnectionPanel"))->text(),
                 QLatin1Char(' ') + PortNames().at(11) + QStringLiteral(";   19200 bps"));
        QCOMPARE(w.commands->currentConnection().portName, PortNames().at(11));
        QCOMPARE(w.commands->currentConnection().baudRate, 19200);
        QVERIFY(!w.commands->currentConnection().usb);

        // The next reading opens that port (not present here): Error1 with
        // the port name and the system's reason.
        if (!QFile::exists(PortNames().at(11))) {
            w.read();
            QVERIFY2(w.status().startsWith(QStringLiteral(" COM Port unavailable ") + PortNames().at(11)
                                           + QStringLiteral(" (")),
                     qPrintable(w.status()));
        }

        // A typed device path (the emulator) is taken and used, at 19200.
        Sim sim({"--model-class", "3", "--records", "2", "--points", "1"});
        QVERIFY(!sim.path.isEmpty());
        whenSettingsShown(w, [&sim](TFrmCom &f) {
            QVERIFY(child<QRadioButton>(f, "SerialRadioButton")->isChecked());
            QCOMPARE(child<QComboBox>(f, "PortComboBox")->currentIndex(), 11);
            QCOMPARE(child<QComboBox>(f, "RateComboBox")->currentText(), QStringLiteral("19200"));
            child<QComboBox>(f, "PortComboBox")->setEditText(sim.path);
            click(child<QPushButton>(f, "ApplyButton"));
        });
        w.form->action(Command::CommunicationSetup)->trigger();
        QCOMPARE(w.form->services().settings().values().portIndex, 11); // the index stays meaningful
        QCOMPARE(device::loadTypedPortPath(), sim.path);
        QCOMPARE(w.form->findChild<QLabel *>(QStringLiteral("ConnectionPanel"))->text(),
                 QLatin1Char(' ') + sim.path + QStringLiteral(";   19200 bps"));
        QString portShown, rateShown;
        whenContentShown(w, [&](TContForm &f) {
            portShown = child<QLabel>(w.commands->exchangeForm(), "PortExchangeLabel")->text();
            rateShown = child<QLabel>(w.commands->exchangeForm(), "RateValueLabel")->text();
            click(child<QPushButton>(f, "CancelReadCalibrationButton"));
        });
        w.read();
        QCOMPARE(portShown, QStringLiteral("Port: ") + sim.path);
        QCOMPARE(rateShown, QStringLiteral("19200"));
        QCOMPARE(w.status(), kCanceled);

        // Choosing a table entry again forgets the typed path.
        whenSettingsShown(w, [](TFrmCom &f) {
            child<QComboBox>(f, "PortComboBox")->setCurrentIndex(2);
            click(child<QPushButton>(f, "ApplyButton"));
        });
        w.form->action(Command::CommunicationSetup)->trigger();
        QVERIFY(device::loadTypedPortPath().isEmpty());
        QCOMPARE(w.form->services().settings().values().portIndex, 2);
    }

    void settingsCancelChangesNothing()
    {
        Window w;
        QVERIFY(w.open());
        const QString before = w.form->findChild<QLabel *>(QStringLiteral("ConnectionPanel"))->text();
        whenSettingsShown(w, [](TFrmCom &f) {
            click(child<QRadioButton>(f, "SerialRadioButton"));
            child<QComboBox>(f, "PortComboBox")->setCurrentIndex(11);
            child<QComboBox>(f, "RateComboBox")->setCurrentIndex(0);
            child<QComboBox>(f, "PortComboBox")->setEditText(QStringLiteral("/dev/pts/77"));
            click(child<QPushButton>(f, "CancelButton"));
        });
        w.form->action(Command::CommunicationSetup)->trigger();
        QCOMPARE(int(w.form->services().settings().values().interfaceType), int(InterfaceUsb));
        QCOMPARE(w.form->services().settings().values().portIndex, 0);
        QCOMPARE(w.form->services().settings().values().rateIndex, 3);
        QVERIFY(device::loadTypedPortPath().isEmpty());
        QCOMPARE(w.form->findChild<QLabel *>(QStringLiteral("ConnectionPanel"))->text(), before);
    }

    void readsEveryModelClass_data() { sessiontest::addModelClasses(); }
    void readsEveryModelClass()
    {
        QFETCH(int, modelClass);
        QFETCH(QString, voltageText);
        QFETCH(QStringList, currentTexts);
        const int records = sessiontest::kClassRecords;
        Sim sim(sessiontest::modelClassSim(modelClass));
        QVERIFY(!sim.path.isEmpty());
        Window w;
        QVERIFY(w.open());
        w.useSerial(sim.path);
        bool shown = false;
        whenContentShown(w, [&](TContForm &f) {
            shown = true;
            // While the run works nothing else can touch the store.
            QVERIFY(!w.form->folderPanel()->isEnabled());
            QVERIFY(!w.form->action(Command::ReadArchive)->isEnabled());
            QVERIFY(!w.form->action(Command::CommunicationSetup)->isEnabled());
            QVERIFY(!w.form->action(Command::Exit)->isEnabled());
            QVERIFY(!w.form->services().statusTimer()->isActive());
            QCOMPARE(w.status(), QStringLiteral(" Reading log."));
            QVERIFY(!w.commands->exchangeForm()->isVisible()); // hidden while the user chooses
            QCOMPARE(f.windowTitle(), QStringLiteral("Verification log contents"));
            QCOMPARE(child<QLabel>(f, "TotalCalibrationLabel")->text(), QStringLiteral("Total verifications: 6"));
            QCOMPARE(child<QTreeWidget>(f, "ContentListView")->topLevelItemCount(), records);
            for (int r = 0; r < records; ++r) {
                QCOMPARE(row(f, r)->text(TContForm::ColumnNumber), QString::number(r + 1));
                QCOMPARE(row(f, r)->checkState(0), Qt::Unchecked);
            }
            QCOMPARE(row(f, 0)->text(TContForm::ColumnPower), QStringLiteral("active"));
            QCOMPARE(row(f, 1)->text(TContForm::ColumnPower), QStringLiteral("apparent"));
            QVERIFY(row(f, 0)->text(TContForm::ColumnMeter).endsWith(QStringLiteral("     10000000")));
            QCOMPARE(row(f, 0)->text(TContForm::ColumnDateTime), QStringLiteral("27/02/2024      09:15:30"));
            // Few rows: the list panel shrinks to (rows + 4) × font size × 2.
            const int size = f.font().pointSize();
            if ((records + 4) * size * 2 < TContForm::kListPanelHeight)
                QCOMPARE(child<QWidget>(f, "ListPanel")->height(), (records + 4) * size * 2);
            click(child<QPushButton>(f, "AllCalibrationButton"));
            click(child<QPushButton>(f, "ReadCalibrationButton"));
        });
        int phaseTotal = 0;
        connect(w.commands, &DeviceCommands::recordPhaseStarted, this, [&](int total) {
            phaseTotal = total;
            QVERIFY(w.commands->exchangeForm()->isVisible());
            QVERIFY(child<QGroupBox>(w.commands->exchangeForm(), "InstrumentPanel")->isVisible());
            QCOMPARE(child<QLabel>(w.commands->exchangeForm(), "TotalValue")->text(), QString::number(records));
            QCOMPARE(child<QLabel>(w.commands->exchangeForm(), "SerialNumberValue")->text(), QStringLiteral("4321"));
        });
        QSignalSpy finished(w.commands, &DeviceCommands::runFinished);
        w.read();
        QVERIFY(shown);
        QCOMPARE(phaseTotal, records);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().toInt(), 0);
        QCOMPARE(w.status(), kSuccess);

        sessiontest::checkModelClassFiles(w.dataFolder(), modelClass, voltageText, currentTexts);
        // The window is given back and shows what was stored.
        QCOMPARE(w.form->store().meters().size(), records);
        QVERIFY(w.form->folderPanel()->isEnabled());
        QVERIFY(w.form->action(Command::ReadArchive)->isEnabled());
        QVERIFY(w.form->action(Command::CommunicationSetup)->isEnabled());
        QVERIFY(w.form->action(Command::Exit)->isEnabled());
        QVERIFY(w.form->services().statusTimer()->isActive());
        QCOMPARE(w.form->windowTitle(), kTitle);
        QVERIFY(w.commands->exchangeForm() == nullptr);
        QCOMPARE(child<QTreeWidget>(w.commands->contentForm(), "ContentListView")->topLevelItemCount(), 0);
    }

    void endedReadings_data() { sessiontest::addEndedReadings(); }
    void endedReadings()
    {
        QFETCH(QStringList, simArgs);
        QFETCH(bool, chosen);
        QFETCH(int, code);
        QFETCH(QString, status);
        Window w;
        QVERIFY(w.open());
        std::optional<Sim> sim;
        QString port = w.folder + QStringLiteral("/no-such-tty");
        if (!simArgs.isEmpty()) {
            sim.emplace(simArgs);
            QVERIFY(!sim->path.isEmpty());
            port = sim->path;
        }
        w.useSerial(port);
        QSignalSpy content(w.commands, &DeviceCommands::contentDialogShown);
        QSignalSpy finished(w.commands, &DeviceCommands::runFinished);
        w.readEverything();
        QCOMPARE(content.size(), chosen ? 1 : 0);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().toInt(), code);
        QCOMPARE(w.status(), status.replace(QLatin1String("%1"), port));
        QVERIFY(w.shown.isEmpty());
        QVERIFY(readFolder(w.dataFolder()).isEmpty());
        QVERIFY(w.form->folderPanel()->isEnabled());
    }

    // Every control that can change a stored file or start a run is disabled
    // while a run works, the tool buttons of single verifications included;
    // afterwards each control shows what the command table gives for the
    // window's state, with the meter clipboard and the element mark kept.
    void storeControlsWaitForTheRun()
    {
        Sim sim({"--model-class", "3", "--records", "2"});
        QVERIFY(!sim.path.isEmpty());
        Window w;
        QVERIFY(QDir().mkpath(w.dataFolder()));
        QVERIFY(WriteMeterFile(w.dataFolder() + QStringLiteral("/a.pcn"),
                               testsupport::sampleMeter(QStringLiteral("A"), QStringLiteral("1"), 1, 6)));
        QVERIFY(WriteMeterFile(w.dataFolder() + QStringLiteral("/b.pcn"),
                               testsupport::sampleMeter(QStringLiteral("A"), QStringLiteral("1"), 1, 2)));
        QVERIFY(w.open());
        w.useSerial(sim.path);
        RecordViews *views = w.form->views();
        QCOMPARE(w.form->store().meters().size(), 2);

        const auto button = [&](const char *name) { return w.form->findChild<QToolButton *>(QLatin1String(name)); };
        const auto menuAction = [&](const char *name) { return w.form->findChild<QAction *>(QLatin1String(name)); };
        // Each control with the field of the command states that enables it.
        const QList<QPair<QObject *, bool RecordCommands::*>> controls = {
            {w.form->action(Command::Copy), &RecordCommands::copy},
            {w.form->action(Command::Paste), &RecordCommands::paste},
            {w.form->action(Command::Merge), &RecordCommands::merge},
            {w.form->action(Command::Cut), &RecordCommands::cut},
            {w.form->action(Command::Delete), &RecordCommands::remove},
            {button("CopyElemButton"), &RecordCommands::elementCopy},
            {button("PasteElemButton"), &RecordCommands::elementPaste},
            {button("DelElemButton"), &RecordCommands::elementDelete},
            {menuAction("N7"), &RecordCommands::changeMeter},
            {menuAction("N9"), &RecordCommands::changeConstant},
            {w.form->action(Command::ReadArchive), &RecordCommands::idle},
            {w.form->action(Command::CommunicationSetup), &RecordCommands::idle},
            {w.form->action(Command::ViewParameters), &RecordCommands::idle},
            {w.form->action(Command::ChangePassword), &RecordCommands::idle},
            {w.form->action(Command::RussianLanguage), &RecordCommands::idle},
            {w.form->action(Command::Help), &RecordCommands::idle},
            {w.form->action(Command::Exit), &RecordCommands::idle},
            {w.form->folderPanel(), &RecordCommands::idle},
        };
        const auto enabled = [](QObject *control) {
            if (auto *a = qobject_cast<QAction *>(control))
                return a->isEnabled();
            return qobject_cast<QWidget *>(control)->isEnabled();
        };
        for (const auto &[control, state] : controls)
            QVERIFY2(control, "every control exists");

        // A meter on the clipboard, a verification marked and another of the
        // same power type selected: paste, element paste and the element
        // buttons are on.
        views->SelectMeter(views->MeterRowOf(0));
        w.form->action(Command::Copy)->trigger();
        button("CopyElemButton")->click();
        views->SelectVerification(5);
        const RecordCommands before = views->Commands();
        QVERIFY(before.paste && before.elementCopy && before.elementPaste && before.elementDelete);

        bool checked = false;
        whenContentShown(w, [&](TContForm &) {
            checked = true;
            for (const auto &[control, state] : controls)
                QVERIFY2(!enabled(control), qPrintable(control->objectName()));
        });
        w.read();
        QVERIFY(checked);
        QCOMPARE(w.status(), kCanceled);

        const RecordCommands after = views->Commands();
        QCOMPARE(after, commandStates(views->commandInputs()));
        QVERIFY(after.paste && after.copy && after.elementPaste && after.elementCopy && !after.merge);
        for (const auto &[control, state] : controls)
            QVERIFY2(enabled(control) == after.*state, qPrintable(control->objectName()));
    }

    void contentDialogCancelAndNothingTicked()
    {
        Sim sim({"--model-class", "0", "--records", "4", "--points", "1"});
        QVERIFY(!sim.path.isEmpty());
        Window w;
        QVERIFY(w.open());
        w.useSerial(sim.path);
        whenContentShown(w, [](TContForm &f) {
            click(child<QPushButton>(f, "AllCalibrationButton"));
            click(child<QPushButton>(f, "CancelReadCalibrationButton"));
        });
        w.read();
        QCOMPARE(w.status(), kCanceled);
        QVERIFY(readFolder(w.dataFolder()).isEmpty());

        // Ticked, then "Reset": nothing is read, and that is a success.
        whenContentShown(w, [](TContForm &f) {
            click(child<QPushButton>(f, "AllCalibrationButton"));
            QCOMPARE(f.CheckedNumbers().size(), 4);
            click(child<QPushButton>(f, "ResetButton"));
            QVERIFY(f.CheckedNumbers().isEmpty());
            click(child<QPushButton>(f, "ReadCalibrationButton"));
        });
        QSignalSpy records(w.commands, &DeviceCommands::recordPhaseStarted);
        w.read();
        QCOMPARE(w.status(), kSuccess);
        QCOMPARE(records.size(), 0);
        QVERIFY(readFolder(w.dataFolder()).isEmpty());
    }

    void sortingKeepsEachRowsRecord()
    {
        // An archive whose order is not the order of the dates: built from
        // stored files, which the emulator takes in name order (the Latin
        // meter type of 28 February before the Cyrillic one of the 27th).
        QTemporaryDir source;
        {
            Sim generated({"--model-class", "3", "--records", "6", "--points", "2"});
            QVERIFY(!generated.path.isEmpty());
            QCOMPARE(sessiontest::runCli({"read-archive", "--port", generated.path, "--into", source.path()}).exitCode,
                     0);
        }
        Sim sim({"--model-class", "3", "--from-folder", source.path()});
        QVERIFY(!sim.path.isEmpty());
        Window w;
        QVERIFY(w.open());
        w.useSerial(sim.path);
        QString firstNumber;
        whenContentShown(w, [&](TContForm &f) {
            QVERIFY(row(f, 0)->text(TContForm::ColumnMeter).startsWith(QStringLiteral("KVM-3T.05")));
            QHeaderView *header = child<QTreeWidget>(f, "ContentListView")->header();
            const QPoint at(header->sectionViewportPosition(TContForm::ColumnDateTime) + 5, header->height() / 2);
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at); // ascending again
            firstNumber = row(f, 0)->text(TContForm::ColumnNumber);
            QVERIFY(row(f, 0)->text(TContForm::ColumnDateTime).startsWith(QStringLiteral("27/02/2024")));
            row(f, 0)->setCheckState(0, Qt::Checked);
            QCOMPARE(f.CheckedNumbers(), QVector<int>{firstNumber.toInt()});
            // Sorting by number gives the archive order back; the tick moves
            // with its row.
            f.SortByColumn(TContForm::ColumnNumber);
            QCOMPARE(row(f, firstNumber.toInt() - 1)->checkState(0), Qt::Checked);
            click(child<QPushButton>(f, "ReadCalibrationButton"));
        });
        w.read();
        QCOMPARE(w.status(), kSuccess);
        QCOMPARE(firstNumber, QStringLiteral("2"));
        const auto files = readFolder(w.dataFolder());
        QCOMPARE(files.size(), 1);
        const pcn::_blockdata &v = files.first().meter.verifications.first();
        QVERIFY(v.meterType.startsWith(QStringLiteral("ЦЭ6803В-М")));
        QCOMPARE(v.date, QDate(2024, 2, 27));
        QCOMPARE(v.time, QTime(9, 15, 30));
    }

    void moreThan200TickedIsRefused()
    {
        Sim sim({"--model-class", "3", "--records", "201", "--points", "1"});
        QVERIFY(!sim.path.isEmpty());
        Window w;
        QVERIFY(w.open());
        w.useSerial(sim.path);
        bool stayedOpen = false;
        whenContentShown(w, [&](TContForm &f) {
            QCOMPARE(child<QWidget>(f, "ListPanel")->height(), int(TContForm::kListPanelHeight));
            click(child<QPushButton>(f, "AllCalibrationButton"));
            click(child<QPushButton>(f, "ReadCalibrationButton"));
            stayedOpen = f.isVisible();
            row(f, 200)->setCheckState(0, Qt::Unchecked);
            click(child<QPushButton>(f, "ReadCalibrationButton")); // 200 is allowed
        });
        // Keep the reading short: cancel after the first record.
        connect(w.commands, &DeviceCommands::recordRead, this, [&w](int) {
            if (TForm2 *form = w.commands->exchangeForm())
                click(child<QPushButton>(form, "CancelButton"));
        });
        QSignalSpy phase(w.commands, &DeviceCommands::recordPhaseStarted);
        w.read();
        QVERIFY(stayedOpen);
        QCOMPARE(w.shown.size(), 1);
        QVERIFY2(w.shown.first().contains(QStringLiteral("At most 200")), qPrintable(w.shown.first()));
        QCOMPARE(phase.size(), 1);
        QCOMPARE(phase.first().first().toInt(), 200);
        QCOMPARE(w.status(), kCanceled);
    }

    void cancelDuringRecords_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancel button") << "button";
        QTest::newRow("closing the exchange dialog") << "dialog";
        QTest::newRow("closing the main window") << "window";
    }

    void cancelDuringRecords()
    {
        QFETCH(QString, how);
        Sim sim({"--model-class", "3", "--records", "4", "--points", "3"});
        QVERIFY(!sim.path.isEmpty());
        Window w;
        QVERIFY(w.open());
        w.useSerial(sim.path);
        QString titleDuring;
        QString readDuring;
        testsupport::CaptionWatcher caption(w.form.get());
        connect(w.commands, &DeviceCommands::recordRead, this, [&](int count) {
            TForm2 *form = w.commands->exchangeForm();
            if (!form || !titleDuring.isEmpty())
                return;
            titleDuring = w.form->windowTitle();
            readDuring = child<QLabel>(form, "ReadValue")->text();
            QCOMPARE(readDuring, QString::number(count));
            if (how == QLatin1String("button"))
                click(child<QPushButton>(form, "CancelButton"));
            else if (how == QLatin1String("dialog"))
                form->close();
            else
                w.form->close();
        });
        w.readEverything();
        QCOMPARE(w.status(), kCanceled);
        QVERIFY(readFolder(w.dataFolder()).isEmpty()); // records had arrived, none is kept
        // The record phase showed its percentage in the title.
        QVERIFY2(titleDuring.startsWith(kTitle + QStringLiteral("  ")) && titleDuring.endsWith(QStringLiteral(" %")),
                 qPrintable(titleDuring));
        QCOMPARE(readDuring, QStringLiteral("1"));
        QCOMPARE(w.form->windowTitle(), kTitle);
        // One percentage at a time, and the bare title after the run.
        QVERIFY(caption.shown.size() >= 2);
        for (const QString &shown : std::as_const(caption.shown))
            QVERIFY2(shown.count(QLatin1Char('%')) < 2, qPrintable(shown));
        QCOMPARE(caption.shown.last(), kTitle);
        QVERIFY(w.form->isVisible()); // closing the window during a run only stops the run
        QVERIFY(w.form->folderPanel()->isEnabled());
    }

    void secondReadingReplacesFiles_data() { sessiontest::addSecondReadings(); }
    void secondReadingReplacesFiles()
    {
        QFETCH(QStringList, simArgs);
        QFETCH(QByteArray, spoil);
        Sim sim(simArgs);
        QVERIFY(!sim.path.isEmpty());
        Window w;
        QVERIFY(w.open());
        w.useSerial(sim.path);
        w.readEverything();
        const QStringList first = sessiontest::spoilFirst(w.dataFolder(), spoil);
        w.readEverything();
        QCOMPARE(w.status(), kSuccess);
        sessiontest::checkReplaced(first, w.dataFolder());
        QCOMPARE(w.form->store().meters().size(), first.size());
    }

    // Besides the names and folders of both doors, a write of the window's
    // own process fails (a full disk): the second of three, or every one.
    void unstoredRecordsAreReported_data()
    {
        sessiontest::addUnstoredRecords();
        QTest::newRow("second write fails") << QList<int>{} << false << 2 << 2;
        QTest::newRow("every write fails") << QList<int>{} << false << -1 << 0;
    }

    void unstoredRecordsAreReported()
    {
        QFETCH(QList<int>, blocked);
        QFETCH(bool, readOnly);
        QFETCH(int, failing);
        QFETCH(int, stored);
        if (readOnly && ::geteuid() == 0)
            QSKIP("the superuser writes into read-only folders");
        Sim sim(sessiontest::kUnstoredSim);
        QVERIFY(!sim.path.isEmpty());
        Window w;
        QVERIFY(QDir().mkpath(w.dataFolder()));
        QVERIFY(sessiontest::blockNames(sim.path, w.dataFolder(), blocked, readOnly));
        QVERIFY(w.open());
        w.useSerial(sim.path);
        int started = 0;
        const platform::WriteFaultScope fault([&](const QString &path, qint64 bytesWritten) {
            if (!path.endsWith(QLatin1String(".pcn")))
                return false;
            if (bytesWritten == 0)
                ++started;
            return failing == -1 || started == failing;
        });
        w.readEverything();
        sessiontest::checkUnstoredFiles(w.dataFolder(), stored);
        // A folder in a file's place is a failed write, not another
        // workstation's change.
        QCOMPARE(w.shown, QStringList{sessiontest::unstoredMessage(stored)});
        QCOMPARE(w.status(), QLatin1Char(' ') + sessiontest::unstoredMessage(stored));
    }

    void contentDialogSortingRules()
    {
        const auto entry = [](const char *type, QDate date, QTime time, int power) {
            pcn::_datacounter e;
            e.meterType = QString::fromUtf8(type);
            e.serial = 42;
            e.date = date;
            e.time = time;
            e.powerType = std::uint8_t(power);
            return e;
        };
        const QVector<pcn::_datacounter> content{
            entry("beta", QDate(2024, 1, 2), QTime(10, 0), 0),
            entry("Alpha", QDate(2024, 1, 1), QTime(12, 0), 3),
            entry("alpha", QDate(2024, 1, 1), QTime(8, 0), 7),
            entry("Beta", QDate(2024, 1, 2), QTime(9, 0), 1),
        };
        TContForm f;
        DeviceInfo info;
        info.typeName = QStringLiteral("QT-77");
        f.Fill(info, content, catalogTextLookup(1));
        QCOMPARE(child<QLabel>(f, "TotalCalibrationLabel")->text(), QStringLiteral("Общее количество поверок: 4"));
        QCOMPARE(row(f, 0)->text(TContForm::ColumnMeter), QStringLiteral("beta     42"));
        QCOMPARE(row(f, 2)->text(TContForm::ColumnPower), QStringLiteral("7")); // no name for code 7
        const auto numbers = [&f] {
            QStringList n;
            for (int r = 0; r < child<QTreeWidget>(f, "ContentListView")->topLevelItemCount(); ++r)
                n << row(f, r)->text(TContForm::ColumnNumber);
            return n.join(QLatin1Char(','));
        };
        QCOMPARE(numbers(), QStringLiteral("1,2,3,4"));
        // Meter type without regard to case; equal types stay in archive order.
        f.SortByColumn(TContForm::ColumnMeter);
        QCOMPARE(numbers(), QStringLiteral("2,3,1,4"));
        f.SortByColumn(TContForm::ColumnMeter); // a second click sorts the same way
        QCOMPARE(numbers(), QStringLiteral("2,3,1,4"));
        // Date, then time.
        f.SortByColumn(TContForm::ColumnDateTime);
        QCOMPARE(numbers(), QStringLiteral("3,2,4,1"));
        // Power-type text: "7", "active", "apparent", "reactive (phase-shift method)".
        f.SortByColumn(TContForm::ColumnPower);
        QCOMPARE(numbers(), QStringLiteral("3,1,4,2"));
        row(f, 0)->setCheckState(0, Qt::Checked);
        row(f, 3)->setCheckState(0, Qt::Checked);
        QCOMPARE(f.CheckedNumbers(), (QVector<int>{3, 2})); // list order as shown
        f.SortByColumn(TContForm::ColumnNumber);
        QCOMPARE(numbers(), QStringLiteral("1,2,3,4"));
        QCOMPARE(f.CheckedNumbers(), (QVector<int>{2, 3}));
        f.Clear();
        QCOMPARE(child<QTreeWidget>(f, "ContentListView")->topLevelItemCount(), 0);
    }

    void exchangeDialogShowsTheConnection()
    {
        TForm2 serial;
        serial.setConnection(false, QStringLiteral("/dev/ttyS3"), 38400);
        QCOMPARE(child<QLabel>(serial, "PortExchangeLabel")->text(), QStringLiteral("Обмен через порт: /dev/ttyS3"));
        QCOMPARE(child<QLabel>(serial, "RateValueLabel")->text(), QStringLiteral("38400"));
        QVERIFY(!child<QLabel>(serial, "RateExchangeLabel")->isHidden());
        TForm2 usb;
        usb.setConnection(true, QStringLiteral("/dev/ttyS3"), 38400);
        QCOMPARE(child<QLabel>(usb, "PortExchangeLabel")->text(), QStringLiteral("Обмен через порт: USB"));
        QVERIFY(child<QLabel>(usb, "RateExchangeLabel")->isHidden());
        QVERIFY(child<QLabel>(usb, "RateValueLabel")->isHidden());
        // A fresh run: no instrument panel, progress 0 of 1030, "0" read.
        QVERIFY(child<QGroupBox>(usb, "InstrumentPanel")->isHidden());
        QCOMPARE(child<QProgressBar>(usb, "ProgressBar1")->maximum(), 1030);
        QCOMPARE(child<QProgressBar>(usb, "ProgressBar1")->value(), 0);
        QCOMPARE(child<QLabel>(usb, "ReadValue")->text(), QStringLiteral("0"));
        DeviceInfo info;
        info.typeName = QStringLiteral("QT-77");
        info.serialNumber = 77;
        info.versionText = QStringLiteral("3.1.02376");
        usb.ShowInstrument(info, 12);
        QVERIFY(!child<QGroupBox>(usb, "InstrumentPanel")->isHidden());
        QCOMPARE(child<QLabel>(usb, "DeviceTypeValue")->text(), QStringLiteral("QT-77"));
        QCOMPARE(child<QLabel>(usb, "TotalValue")->text(), QStringLiteral("12"));
        QSignalSpy cancel(&usb, &TForm2::cancelRequested);
        click(child<QPushButton>(usb, "CancelButton"));
        usb.close();
        QCOMPARE(cancel.size(), 2);
    }

    void portAndUsbFailures()
    {
        Window w;
        QVERIFY(w.open());
        // USB on a machine without the bridge: the driver or device-count
        // dialog first, then the cancel message.
        w.form->services().settings().setConnection(InterfaceUsb, w.form->services().settings().values().portIndex,
                                                    w.form->services().settings().values().rateIndex);
        w.read();
        QCOMPARE(w.shown.size(), 1);
        QVERIFY2(w.shown.first() == w.form->services().message(31) || w.shown.first() == w.form->services().message(32),
                 qPrintable(w.shown.first()));
        QCOMPARE(w.status(), kCanceled);
        QVERIFY(w.form->folderPanel()->isEnabled());
    }
};

QTEST_MAIN(tst_sessionwindow)
#include "tst_sessionwindow.moc"
