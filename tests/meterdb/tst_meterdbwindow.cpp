// The meter database commands of the main window: the menu items, opening
// the editor empty or with the instrument's entries read through the
// emulator, and a failed reading that opens nothing.
#include "device/portchoice.h"
#include "mainwindowfixture.h"
#include "meterdb/ui/bdform.h"
#include "processes.h"
#include "dialogwidgets.h"

#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using testsupport::child;
using Sim = testsupport::Emulator;

namespace {

// The main window, its serial port the given device path.
struct Window : testsupport::MainWindowFixture {
    bool open(const QString &port)
    {
        if (!MainWindowFixture::open())
            return false;
        form->services().settings().setConnection(InterfaceSerial, form->services().settings().values().portIndex,
                                                  form->services().settings().values().rateIndex);
        device::storeTypedPortPath(port);
        return true;
    }
    TBdForm *editor() const { return form->findChild<TBdForm *>(); }
};

// What the editor showed when it opened, taken inside its own event loop.
struct Seen {
    bool opened = false;
    int rows = -1;
    QString firstType;
    QString title;
    bool write = false;
    bool create = false;
};

// Triggers a menu item; once the editor shows (it may first wait for a
// device run) notes what it shows and closes it.
Seen triggerAndClose(Window &w, Command command)
{
    Seen seen;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, w.form.get(), [&w, &seen, &poll] {
        TBdForm *f = w.editor();
        if (!f || !f->isVisible())
            return;
        poll.stop();
        seen.opened = true;
        seen.rows = child<QTableWidget>(f, "ListView1")->rowCount();
        seen.firstType = seen.rows > 0 ? child<QTableWidget>(f, "ListView1")->item(0, 0)->text() : QString();
        seen.title = f->windowTitle();
        seen.write = child<QPushButton>(f, "WriteButton")->isEnabled();
        seen.create = child<QPushButton>(f, "NewButton")->isEnabled();
        f->close();
    });
    poll.start();
    w.form->action(command)->trigger();
    poll.stop();
    return seen;
}

} // namespace

class tst_meterdbwindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_userStore;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        if (!testsupport::emulatorBuilt())
            QSKIP("the instrument emulator is not built");
        QVERIFY(m_userStore.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_userStore.path());
    }
    void cleanupTestCase() { device::storeTypedPortPath(QString()); }

    void menuCommands()
    {
        Sim sim({QStringLiteral("--model-class"), QStringLiteral("0")});
        QVERIFY(!sim.path.isEmpty());
        Window w;
        QVERIFY(w.open(sim.path));
        for (Command command : {Command::CreateBase, Command::LoadBaseFromFile, Command::LoadBaseFromDevice})
            QVERIFY2(w.form->action(command)->isEnabled(), commandRow(command).objectName);

        const Seen created = triggerAndClose(w, Command::CreateBase);
        QVERIFY(created.opened);
        QCOMPARE(created.rows, 0);
        QCOMPARE(created.title, QStringLiteral("'Devices under test' database"));
        QVERIFY(created.create);

        // The instrument's ten entries, read before the editor opens.
        const Seen read = triggerAndClose(w, Command::LoadBaseFromDevice);
        QVERIFY(read.opened);
        QCOMPARE(read.rows, 10);
        QCOMPARE(read.firstType, QStringLiteral("ЦЭ6803В-М"));
        QVERIFY(read.write);
        QVERIFY(!read.create);
        QCOMPARE(w.form->findChild<QLabel *>(QStringLiteral("MessagePanel"))->text(),
                 QStringLiteral(" Reading has been successfully completed."));
        QVERIFY(w.editor()->entries().isEmpty()); // emptied on closing
        QVERIFY(w.shown.isEmpty());
    }

    // A port that cannot be opened, told in the language of the interface.
    void failedReadOpensNothing_data()
    {
        QTest::addColumn<bool>("russian");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("reason");
        QTest::newRow("English") << false << " COM Port unavailable "
                                 << "(the port is not present; is the cable plugged in?)";
        QTest::newRow("Russian") << true << " Нет доступа к порту. "
                                 << "(порт не найден; подключён ли кабель?)";
    }
    void failedReadOpensNothing()
    {
        QFETCH(bool, russian);
        QFETCH(QString, message);
        QFETCH(QString, reason);
        Window w;
        const QString port = w.folder + QStringLiteral("/no-such-port");
        QVERIFY(w.open(port));
        if (russian)
            w.form->action(Command::RussianLanguage)->trigger();
        const Seen seen = triggerAndClose(w, Command::LoadBaseFromDevice);
        QVERIFY(!seen.opened);
        QCOMPARE(w.form->findChild<QLabel *>(QStringLiteral("MessagePanel"))->text(),
                 message + port + QLatin1Char(' ') + reason);
    }
};

QTEST_MAIN(tst_meterdbwindow)
#include "tst_meterdbwindow.moc"
