// The record operations through the real main window and real files: tool
// bar commands, element buttons, the context-menu editors, the password
// dialogs, and write failures that must leave every file as it was. The
// same operations built from their seams alone (fake services, a real store
// and real views) run the file-command table too: the operations change
// files and the store, the views follow the store's signals.
#include "base/settingsfile.h"
#include "fakeservices.h"
#include "records/meterfile.h"
#include "records/recordops.h"
#include "records/recordstore.h"
#include "records/ui/folderpanel.h"
#include "records/ui/meterdialogs.h"
#include "views/ui/recordoperations.h"
#include "base/platform.h"
#include "base/stringcatalog.h"
#include "mainwindow/korvelform.h"
#include "mainwindowfixture.h"
#include "processes.h"
#include "testdir.h"
#include "tst_recordopsdata.h"
#include "views/ui/recordlistviews.h"
#include "views/ui/recordviews.h"
#include "views/ui/resultgrid.h"
#include "views/textlookup.h"
#include "views/ui/tvparam.h"
#include "dialogwidgets.h"

#include <QTemporaryDir>
#include <QtTest>
#include <QtWidgets>

#include <functional>

using testsupport::child;
using namespace opsdata;

namespace {

const QString kPassword = QStringLiteral("secret");

// Runs `step` on the next shown modal dialog of the given class; gives up
// after a while so that a dialog that never comes cannot catch a later one.
template <typename Dialog>
void whenShown(std::function<void(Dialog *)> step, int triesLeft = 400)
{
    QTimer::singleShot(triesLeft == 400 ? 0 : 5, [step, triesLeft] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            if (triesLeft > 0)
                whenShown<Dialog>(step, triesLeft - 1);
            return;
        }
        const QPointer<Dialog> open(dialog);
        step(dialog);
        // A failed check inside the step returns from it early; the modal
        // dialog is closed then, so that the failure is reported instead of
        // the test waiting for the dialog until its timeout.
        if (QTest::currentTestFailed() && open && open->isVisible())
            open->reject();
    });
}

// Answers the next password dialog; `next` is scheduled before the dialog
// closes (for the dialog that follows it).
void answerPassword(const QString &text, int *seen, bool tickDelete = false, std::function<void()> next = {})
{
    whenShown<TPswdEnterForm>([=](TPswdEnterForm *d) {
        ++*seen;
        if (auto *box = d->findChild<QCheckBox *>(QStringLiteral("DelCheckBox"))) {
            QVERIFY(!box->isChecked()); // every merge starts unticked
            box->setChecked(tickDelete);
        }
        if (next)
            next();
        QTest::keyClicks(child<QLineEdit>(d, "Edit1"), text);
        QTest::mouseClick(child<QPushButton>(d, "Button1"), Qt::LeftButton);
    });
}

QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), testsupport::readAll(path));
    }
    return files;
}

pcn::_totalblockdata readBack(const QString &path)
{
    const MeterFileReadResult r = ReadMeterFile(path);
    return r.readable ? r.meter : pcn::_totalblockdata();
}

void clickRow(QTreeView *view, int row, Qt::MouseButton button = Qt::LeftButton)
{
    const QRect rect = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), button, {}, rect.center());
}

void clickTitle(QTreeView *view, int column)
{
    QHeaderView *header = view->header();
    const QPoint pos(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, pos);
}

QString cell(QTreeView *view, int row, int column)
{
    return view->model()->index(row, column).data().toString();
}

} // namespace

class TestRecordOpsWindow : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TKorvelForm> m_window;
    QStringList m_shown;
    int m_dialogs = 0;

    QString data() const { return m_dir->path() + QStringLiteral("/Data"); }
    QString file(const QString &relative) const { return data() + QLatin1Char('/') + relative; }
    RecordViews *views() const { return m_window->views(); }
    TitleListView *meters() const { return views()->titleList(); }
    PowerListView *powers() const { return views()->powerList(); }
    RecordOperations *ops() const { return m_window->findChild<RecordOperations *>(); }
    QAction *action(Command command) const { return m_window->action(command); }

    // The record operations without the main window.
    struct Rig {
        QTemporaryDir dir;
        QWidget host;
        testsupport::FakeServices services{LanguageEnglish, &host};
        RecordStore store;
        RecordViews views;
        std::unique_ptr<RecordOperations> ops;
        bool &passwordAnswer = services.passwordAnswer;
        bool &deleteSourcesTicked = services.deleteSourcesTicked;
        int &passwordAsked = services.passwordAsked;
        QStringList &shown = services.shown;

        Rig() : store(dir.path() + QStringLiteral("/")), views(services.settings().columns(), &host)
        {
            views.FollowStore(store);
            ops = std::make_unique<RecordOperations>(services, store, views);
        }
        QString file(const QString &name) const { return dir.path() + QLatin1Char('/') + name; }
        int meterRows() const { return views.titleList()->model()->rowCount(); }
        int powerRows() const { return views.powerList()->model()->rowCount(); }
        void selectFile(const QString &name)
        {
            for (int i = 0; i < store.meters().size(); ++i)
                if (store.meters()[i].fileName == name)
                    views.SelectMeter(views.MeterRowOf(i));
        }
    };

    // Opens the window on the data folder and selects a folder below it.
    void open(const QString &folder = QString())
    {
        m_window.reset();
        m_window = std::make_unique<TKorvelForm>(testsupport::programPathsIn(m_dir->path()),
                                                 [this](MessageKind, const QString &text) { m_shown << text; });
        QVERIFY(m_window->FormCreate());
        QVERIFY(m_window->FormActivate());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QVERIFY(ops());
        if (!folder.isEmpty())
            select(folder);
    }

    void select(const QString &folder)
    {
        QVERIFY(m_window->folderPanel()->selectFolder(m_window->store().folderPath({folder})));
    }

    int rowOfFile(const QString &fileName) const
    {
        const QVector<ListedMeter> &list = m_window->store().meters();
        for (int i = 0; i < list.size(); ++i)
            if (list[i].fileName == fileName)
                return views()->MeterRowOf(i);
        return -1;
    }

    void write(const QString &relative, const pcn::_totalblockdata &meter)
    {
        QDir().mkpath(QFileInfo(file(relative)).absolutePath());
        QVERIFY(WriteMeterFile(file(relative), meter));
    }

private slots:
    void initTestCase()
    {
        // The password store lives below the home folder: a private one.
        qputenv("HOME", m_home.path().toLocal8Bit());
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(platform::storePassword(kPassword));
        QCOMPARE(platform::loadStoredPassword(), kPassword);
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_shown.clear();
        m_dialogs = 0;
    }

    void cleanup()
    {
        m_window.reset();
        m_dir.reset();
    }

    void storeTellsViewsListen()
    {
        Rig rig;
        QVERIFY(WriteMeterFile(rig.file(QStringLiteral("a.pcn")), testsupport::sampleMeter("A", "1", 1, 3)));
        QVERIFY(WriteMeterFile(rig.file(QStringLiteral("b.pcn")), testsupport::sampleMeter("B", "2", 1, 1)));
        QSignalSpy rescanned(&rig.store, &RecordStore::folderRescanned);
        rig.store.SelectFolder(rig.dir.path());
        QCOMPARE(rescanned.size(), 1);
        QCOMPARE(rig.meterRows(), 2);
        QVERIFY(rig.views.Commands().copy && !rig.views.Commands().paste);

        // A copied meter: the clipboard is an input of the command states.
        rig.views.SelectMeter(rig.views.MeterRowOf(0));
        rig.ops->CopyButtonClick();
        QVERIFY(rig.views.Commands().paste);

        // Deleting an element rewrites the file; the store signals the new
        // content and the power list follows without being told.
        QCOMPARE(rig.powerRows(), 3);
        QSignalSpy replaced(&rig.store, &RecordStore::meterReplaced);
        rig.ops->DelElemButtonClick();
        QCOMPARE(replaced.size(), 1);
        QCOMPARE(rig.powerRows(), 2);
        QCOMPARE(ReadMeterFile(rig.file(QStringLiteral("a.pcn"))).meter.verifications.size(), 2);
        // The list counts what the file holds now; the file as written is
        // the one listed, so the folder is not read again.
        QCOMPARE(rig.store.meters()[0].verificationCount, 2);
        QVERIFY(!rig.store.RefreshIfChanged());
    }

    void passwordDecidesThroughTheService()
    {
        Rig rig;
        QVERIFY(WriteMeterFile(rig.file(QStringLiteral("a.pcn")), testsupport::sampleMeter("A", "1", 1, 1)));
        QVERIFY(WriteMeterFile(rig.file(QStringLiteral("b.pcn")), testsupport::sampleMeter("B", "2", 1, 1)));
        rig.store.SelectFolder(rig.dir.path());
        rig.views.SelectMeter(rig.views.MeterRowOf(0));
        rig.ops->CopyButtonClick();

        rig.passwordAnswer = false;
        rig.ops->DelButtonClick();
        QCOMPARE(rig.passwordAsked, 1);
        QVERIFY(QFileInfo::exists(rig.file(QStringLiteral("a.pcn"))));
        QCOMPARE(rig.meterRows(), 2);

        QSignalSpy removed(&rig.store, &RecordStore::meterRemoved);
        rig.passwordAnswer = true;
        rig.ops->DelButtonClick();
        QCOMPARE(removed.size(), 1);
        QVERIFY(!QFileInfo::exists(rig.file(QStringLiteral("a.pcn"))));
        QCOMPARE(rig.meterRows(), 1);
        // The deleted file was on the clipboard: nothing is left to paste.
        QVERIFY(rig.ops->clipboardPath().isEmpty());
        QVERIFY(!rig.views.Commands().paste);
        QVERIFY(rig.shown.isEmpty());
    }

    void busyTurnsEveryCommandOff()
    {
        Rig rig;
        QVERIFY(WriteMeterFile(rig.file(QStringLiteral("a.pcn")), testsupport::sampleMeter("A", "1", 1, 2)));
        rig.store.SelectFolder(rig.dir.path());
        QVERIFY(rig.ops->copyElemButton()->isEnabled());
        rig.views.SetBusy(true);
        QCOMPARE(rig.views.Commands(), RecordCommands());
        QVERIFY(!rig.ops->copyElemButton()->isEnabled());
        QVERIFY(!rig.ops->delElemButton()->isEnabled());
        rig.views.SetBusy(false);
        QVERIFY(rig.ops->copyElemButton()->isEnabled());
        QVERIFY(rig.views.Commands().idle);
    }

    // The seams' door to the file-command table: the operations built from
    // fake services, a real store and real views, without the main window.
    void fileCommandsWithoutTheWindow_data() { addFileCommands(); }
    void fileCommandsWithoutTheWindow()
    {
        QFETCH(int, command);
        QFETCH(QString, fileName);
        QFETCH(QString, into);
        QFETCH(Tree, after);
        Rig rig;
        QVERIFY(writeTree(rig.dir.path()));
        rig.store.SelectFolder(rig.file(QStringLiteral("A")));
        rig.selectFile(fileName);
        rig.deleteSourcesTicked = command == MergeDeletingFile;
        if (command == DeleteFile)
            rig.ops->DelButtonClick();
        else if (command == CutFile)
            rig.ops->CutButtonClick();
        else
            rig.ops->CopyButtonClick();
        if (command == CopyFile || command == CutFile) {
            rig.store.SelectFolder(rig.file(into));
            rig.ops->PasteButtonClick();
        } else if (command != DeleteFile) {
            rig.selectFile(QStringLiteral("a.pcn"));
            rig.ops->ConnectActionExecute();
        }
        QCOMPARE(treeOf(rig.dir.path()), after);
        QVERIFY(rig.shown.isEmpty());
        QCOMPARE(rig.passwordAsked, command == CopyFile || command == CutFile ? 0 : 1);
        QCOMPARE(rig.views.Commands().paste,
                 command != DeleteFile && QFileInfo::exists(rig.file(QStringLiteral("A/") + fileName)));
    }

    void commandsAreBuiltAndPlaced()
    {
        write(QStringLiteral("A/a.pcn"), meter({verification(at(3, 1), {1}), verification(at(3, 2), {2})}));
        open(QStringLiteral("A"));
        QVERIFY(action(Command::Copy)->isEnabled());
        QVERIFY(!action(Command::Paste)->isEnabled());
        // The element buttons sit above the power list, in its old place.
        QWidget *bar = ops()->elementBar();
        QCOMPARE(m_window->findChild<QSplitter *>(QStringLiteral("ListsSplitter"))->indexOf(bar->parentWidget()), 1);
        QVERIFY(bar->parentWidget()->isAncestorOf(powers()));
        QVERIFY(bar->mapTo(m_window.get(), QPoint()).y() < powers()->mapTo(m_window.get(), QPoint()).y());
        QVERIFY(ops()->copyElemButton()->isEnabled());
        QVERIFY(ops()->delElemButton()->isEnabled());
        QVERIFY(!ops()->pasteElemButton()->isEnabled());
        QCOMPARE(ops()->changeMeterAction()->text(), QStringLiteral("Change"));
        QCOMPARE(ops()->changeConstantAction()->text(), QStringLiteral("Change meter constant"));
        QCOMPARE(ops()->infoForm()->windowTitle(), QStringLiteral("Meter parameters"));
        QCOMPARE(child<QLabel>(ops()->postForm(), "LabelConst")->text(), QStringLiteral("Meter constant:"));
        // The context menus open on the lists with their items.
        const QPoint at = meters()->visualRect(meters()->model()->index(0, 0)).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, meters()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(meters()->viewport(), &event);
        QTRY_VERIFY(ops()->meterContextMenu()->isVisible());
        QVERIFY(ops()->changeMeterAction()->isEnabled());
        ops()->meterContextMenu()->hide();
        m_window->action(Command::RussianLanguage)->trigger();
        QCOMPARE(ops()->changeMeterAction()->text(), QStringLiteral("Изменить"));
        QCOMPARE(ops()->infoForm()->windowTitle(), QStringLiteral("Параметры счётчика"));
    }

    // The window's door to the file commands of the record operations: the
    // password where a file changes, the shown lists and the clipboard
    // following the files.
    void fileCommands_data() { addFileCommands(); }
    void fileCommands()
    {
        QFETCH(int, command);
        QFETCH(QString, fileName);
        QFETCH(QString, into);
        QFETCH(Tree, after);
        QVERIFY(writeTree(data()));
        open(QStringLiteral("A"));
        const QString source = file(QStringLiteral("A/") + fileName);
        QVERIFY(!action(Command::Cut)->isEnabled()); // until a press in the meter list
        clickRow(meters(), rowOfFile(fileName));
        if (command == DeleteFile) {
            answerPassword(kPassword, &m_dialogs);
            action(Command::Delete)->trigger();
        } else {
            action(command == CutFile ? Command::Cut : Command::Copy)->trigger();
            QCOMPARE(ops()->clipboardPath(), source);
            QCOMPARE(ops()->clipboardIsCut(), command == CutFile);
        }
        if (command == CopyFile || command == CutFile) {
            select(into);
            QVERIFY(action(Command::Paste)->isEnabled());
            action(Command::Paste)->trigger();
        } else if (command != DeleteFile) {
            QVERIFY(!action(Command::Merge)->isEnabled());
            clickRow(meters(), rowOfFile(QStringLiteral("a.pcn")));
            QVERIFY(action(Command::Merge)->isEnabled());
            answerPassword(kPassword, &m_dialogs, command == MergeDeletingFile);
            action(Command::Merge)->trigger();
        }
        QCOMPARE(treeOf(data()), after);
        QVERIFY(m_shown.isEmpty());
        QCOMPARE(m_dialogs, command == CopyFile || command == CutFile ? 0 : 1);
        // The shown folder's files are listed; a copy may be pasted again,
        // a file that went away leaves nothing to paste.
        int shown = 0;
        for (const QString &path : after.keys())
            shown += path.startsWith(into + QLatin1Char('/'));
        QCOMPARE(m_window->store().meters().size(), shown);
        QCOMPARE(meters()->model()->rowCount(), shown);
        QCOMPARE(action(Command::Paste)->isEnabled(), command != DeleteFile && QFileInfo::exists(source));
        QCOMPARE(ops()->clipboardPath().isEmpty(), !QFileInfo::exists(source));
    }

    // The copied meter and the marked verification are known by their path:
    // renaming the folder that holds them must not leave a path that no
    // longer exists.
    void renamingTheCopiedMetersFolderKeepsPasteWorking()
    {
        write(QStringLiteral("A/a.pcn"), meter({verification(at(3, 1), {1}), verification(at(3, 2), {2})}));
        QDir().mkpath(file(QStringLiteral("B")));
        open(QStringLiteral("A"));
        const QByteArray bytes = testsupport::readAll(file(QStringLiteral("A/a.pcn")));
        action(Command::Copy)->trigger();
        QCOMPARE(ops()->clipboardPath(), file(QStringLiteral("A/a.pcn")));

        QTreeWidgetItem *root = m_window->folderPanel()->rootItem();
        QTreeWidgetItem *folderA = nullptr;
        for (int i = 0; i < root->childCount(); ++i)
            if (root->child(i)->text(0) == QLatin1String("A"))
                folderA = root->child(i);
        QVERIFY(folderA);
        folderA->setText(0, QStringLiteral("Renamed"));
        QVERIFY(QFileInfo::exists(file(QStringLiteral("Renamed/a.pcn"))));
        QCOMPARE(ops()->clipboardPath(), file(QStringLiteral("Renamed/a.pcn")));

        select(QStringLiteral("B"));
        QVERIFY(action(Command::Paste)->isEnabled());
        action(Command::Paste)->trigger();
        QCOMPARE(testsupport::readAll(file(QStringLiteral("B/a.pcn"))), bytes);
        QCOMPARE(m_window->store().meters().size(), 1);
    }

    void mergeWithRatioOneAndDifferentTransformerData()
    {
        // Both ratios are 1 but the stored primary and secondary currents differ.
        pcn::_totalblockdata target = meter({verification(at(3, 1), {31})});
        target.verifications[0].meterType = QStringLiteral("TGT");
        target.verifications[0].year = 2012;
        target.verifications[0].i1 = 5;
        target.verifications[0].i2 = 5;
        pcn::_totalblockdata source = meter({verification(at(4, 1), {41}), verification(at(4, 2), {42})});
        source.verifications[0].meterType = QStringLiteral("SRC");
        source.verifications[0].year = 1990;
        source.verifications[0].i1 = 10;
        source.verifications[0].i2 = 10;
        write(QStringLiteral("A/s.pcn"), source);
        write(QStringLiteral("A/t.pcn"), target);
        open(QStringLiteral("A"));
        const QByteArray sourceBytes = testsupport::readAll(file(QStringLiteral("A/s.pcn")));

        clickRow(meters(), rowOfFile(QStringLiteral("s.pcn")));
        action(Command::Copy)->trigger();
        QVERIFY(!action(Command::Merge)->isEnabled());
        clickRow(meters(), rowOfFile(QStringLiteral("t.pcn")));
        QVERIFY(action(Command::Merge)->isEnabled());

        answerPassword(kPassword, &m_dialogs);
        action(Command::Merge)->trigger();
        QCOMPARE(m_dialogs, 1);
        QVERIFY(m_shown.isEmpty());
        const pcn::_totalblockdata merged = readBack(file(QStringLiteral("A/t.pcn")));
        QCOMPARE(merged.verifications.size(), 3);
        QCOMPARE(voltagesOf(merged.verifications[0]), QList<double>{31});
        for (int k = 1; k < 3; ++k) {
            QCOMPARE(merged.verifications[k].meterType.trimmed(), QStringLiteral("TGT"));
            QCOMPARE(merged.verifications[k].year, std::uint16_t(2012));
        }
        QCOMPARE(voltagesOf(merged.verifications[2]), QList<double>{42});
        // The source stays (the box was not ticked); merge is disabled again.
        QCOMPARE(testsupport::readAll(file(QStringLiteral("A/s.pcn"))), sourceBytes);
        QVERIFY(!action(Command::Merge)->isEnabled());
        QCOMPARE(powers()->model()->rowCount(), 3);
        QCOMPARE(m_window->store().meters()[views()->SelectedMeterIndex()].fileName, QStringLiteral("t.pcn"));
    }

    void differentTransformersCannotBeMerged()
    {
        pcn::_totalblockdata target = meter({verification(at(3, 1), {31})});
        target.verifications[0].i1 = 100;
        target.verifications[0].i2 = 5;
        pcn::_totalblockdata source = meter({verification(at(4, 1), {41})});
        source.verifications[0].i1 = 200;
        source.verifications[0].i2 = 10;
        write(QStringLiteral("A/s.pcn"), source);
        write(QStringLiteral("A/t.pcn"), target);
        open(QStringLiteral("A"));
        clickRow(meters(), rowOfFile(QStringLiteral("s.pcn")));
        action(Command::Copy)->trigger();
        clickRow(meters(), rowOfFile(QStringLiteral("t.pcn")));
        QVERIFY(!action(Command::Merge)->isEnabled());
        QVERIFY(action(Command::Paste)->isEnabled());
    }

    void elementPasteJoinsIntoTheEarlierMoment()
    {
        // Row 0: 12.03 with two points; row 1: 10.03 with one; row 2 another
        // power type, not compatible with either.
        pcn::_blockdata reactive = verification(at(3, 11), {300});
        reactive.powerType = PowerReactiveShift;
        write(QStringLiteral("A/m.pcn"),
              meter({verification(at(3, 12, 9), {100, 101}), verification(at(3, 10, 15), {200}), reactive}));
        open(QStringLiteral("A"));
        clickRow(powers(), 1);
        QCOMPARE(views()->SelectedVerificationIndex(), 1);
        QTest::mouseClick(ops()->copyElemButton(), Qt::LeftButton);
        QVERIFY(ops()->hasElementMark());
        QVERIFY(!ops()->pasteElemButton()->isEnabled()); // not into itself
        clickRow(powers(), 2);
        QVERIFY(!ops()->pasteElemButton()->isEnabled()); // not compatible
        clickRow(powers(), 0);
        QVERIFY(ops()->pasteElemButton()->isEnabled());

        answerPassword(kPassword, &m_dialogs);
        QTest::mouseClick(ops()->pasteElemButton(), Qt::LeftButton);
        QCOMPARE(m_dialogs, 1);
        const pcn::_totalblockdata m = readBack(file(QStringLiteral("A/m.pcn")));
        QCOMPARE(m.verifications.size(), 2);
        QCOMPARE(m.verifications[0].date, QDate(2010, 3, 10));
        QCOMPARE(m.verifications[0].time, QTime(15, 0));
        QCOMPARE(voltagesOf(m.verifications[0]), (QList<double>{100, 101, 200}));
        QCOMPARE(powers()->model()->rowCount(), 2);
        QCOMPARE(views()->SelectedPowerRow(), 0);
        QVERIFY(!ops()->hasElementMark());
        QVERIFY(!ops()->pasteElemButton()->isEnabled());
        QCOMPARE(views()->visibleGrid()->model()->rowCount() > 0, true);
    }

    void elementDeleteSelectsTheLastRowWhenTheLastWentAway()
    {
        write(QStringLiteral("A/m.pcn"),
              meter({verification(at(3, 1), {1}), verification(at(3, 2), {2}), verification(at(3, 3), {3})}));
        open(QStringLiteral("A"));
        clickRow(powers(), 2);
        answerPassword(kPassword, &m_dialogs);
        QTest::mouseClick(ops()->delElemButton(), Qt::LeftButton);
        QCOMPARE(m_dialogs, 1);
        const pcn::_totalblockdata m = readBack(file(QStringLiteral("A/m.pcn")));
        QCOMPARE(m.verifications.size(), 2);
        QCOMPARE(voltagesOf(m.verifications[1]), QList<double>{2});
        QCOMPARE(views()->SelectedPowerRow(), 1);
        // Down to one verification: copy and delete of elements go off.
        answerPassword(kPassword, &m_dialogs);
        QTest::mouseClick(ops()->delElemButton(), Qt::LeftButton);
        QCOMPARE(readBack(file(QStringLiteral("A/m.pcn"))).verifications.size(), 1);
        QVERIFY(!ops()->delElemButton()->isEnabled());
        QVERIFY(!ops()->copyElemButton()->isEnabled());
    }

    void meterEditorLimitsItsFields()
    {
        write(QStringLiteral("A/m.pcn"), meter({verification(at(3, 1), {1}), verification(at(3, 2), {2})}));
        open(QStringLiteral("A"));
        answerPassword(kPassword, &m_dialogs, false, [this] {
            whenShown<TInfoForm>([this](TInfoForm *form) {
                ++m_dialogs;
                QCOMPARE(child<QLineEdit>(form, "NameEdit")->text(), QStringLiteral("CE301         "));
                QCOMPARE(child<QLineEdit>(form, "NumEdit")->text(), QStringLiteral("4242"));
                QCOMPARE(child<QLineEdit>(form, "YearEdit")->text(), QStringLiteral("2009"));
                child<QLineEdit>(form, "NameEdit")->clear();
                QTest::keyClicks(child<QLineEdit>(form, "NameEdit"),
                                 QStringLiteral("ABCDEFGHIJKLMNO")); // 15 characters
                QCOMPARE(child<QLineEdit>(form, "NameEdit")->text(), QStringLiteral("ABCDEFGHIJKLMN"));
                child<QLineEdit>(form, "NumEdit")->clear();
                QTest::keyClicks(child<QLineEdit>(form, "NumEdit"), QStringLiteral("12345678901234567"));
                QCOMPARE(child<QLineEdit>(form, "NumEdit")->text(), QStringLiteral("1234567890123456"));
                child<QLineEdit>(form, "YearEdit")->clear();
                QTest::keyClicks(child<QLineEdit>(form, "YearEdit"), QStringLiteral("2x0y1-5"));
                QCOMPARE(child<QLineEdit>(form, "YearEdit")->text(), QStringLiteral("2015"));
                child<QLineEdit>(form, "YearEdit")->setText(QStringLiteral("19a5")); // a paste is refused whole
                QCOMPARE(child<QLineEdit>(form, "YearEdit")->text(), QStringLiteral("2015"));
                QTest::mouseClick(child<QPushButton>(form, "OkButton"), Qt::LeftButton);
            });
        });
        ops()->changeMeterAction()->trigger();
        QCOMPARE(m_dialogs, 2);
        const pcn::_totalblockdata m = readBack(file(QStringLiteral("A/m.pcn")));
        QCOMPARE(m.verifications[0].meterType, QStringLiteral("ABCDEFGHIJKLMN"));
        QCOMPARE(m.verifications[0].year, std::uint16_t(2015));
        QCOMPARE(m.verifications[0].serial, 4242u);
        QCOMPARE(m.verifications[1].meterType.trimmed(), QStringLiteral("CE301"));
        QCOMPARE(m.verifications[1].serialText, QStringLiteral("1234567890123456"));
        QCOMPARE(cell(meters(), 0, 0), QStringLiteral("ABCDEFGHIJKLMN"));
        QCOMPARE(cell(meters(), 0, 4), QStringLiteral("2015"));
    }

    void meterEditorKeepsALongerSerialTextOfAFile()
    {
        pcn::_totalblockdata m = meter({verification(at(3, 1), {1})});
        m.verifications[0].serialText = QStringLiteral("serial text of 24 chars");
        write(QStringLiteral("A/m.pcn"), m);
        open(QStringLiteral("A"));
        answerPassword(kPassword, &m_dialogs, false, [this] {
            whenShown<TInfoForm>([this](TInfoForm *form) {
                ++m_dialogs;
                QCOMPARE(child<QLineEdit>(form, "NumEdit")->text(), QStringLiteral("serial text of 24 chars"));
                child<QLineEdit>(form, "YearEdit")->setText(QStringLiteral("1999"));
                QTest::mouseClick(child<QPushButton>(form, "OkButton"), Qt::LeftButton);
            });
        });
        ops()->changeMeterAction()->trigger();
        QCOMPARE(m_dialogs, 2);
        const pcn::_totalblockdata back = readBack(file(QStringLiteral("A/m.pcn")));
        QCOMPARE(back.verifications[0].serialText, QStringLiteral("serial text of 24 chars"));
        QCOMPARE(back.verifications[0].year, std::uint16_t(1999));
    }

    void meterEditorRefusesCharactersTheInstrumentLacks()
    {
        write(QStringLiteral("A/m.pcn"), meter({verification(at(3, 1), {1})}));
        open(QStringLiteral("A"));
        const auto before = snapshot(data());
        answerPassword(kPassword, &m_dialogs, false, [this] {
            whenShown<TInfoForm>([this](TInfoForm *form) {
                ++m_dialogs;
                child<QLineEdit>(form, "NameEdit")->setText(QStringLiteral("Счётчик"));
                QTest::mouseClick(child<QPushButton>(form, "OkButton"), Qt::LeftButton);
                QVERIFY(form->isVisible()); // still open
                QCOMPARE(m_shown.size(), 1);
                QVERIFY(m_shown[0].contains(QStringLiteral("cannot be stored")));
                QVERIFY(m_shown[0].contains(QStringLiteral("ё")));
                QTest::mouseClick(child<QPushButton>(form, "CancelButton"), Qt::LeftButton);
            });
        });
        ops()->changeMeterAction()->trigger();
        QCOMPARE(m_dialogs, 2);
        QCOMPARE(snapshot(data()), before);
    }

    void constantEditAfterSortingChangesTheRowShown()
    {
        write(QStringLiteral("A/m.pcn"),
              meter({verification(at(1, 1), {1}), verification(at(1, 2), {2}), verification(at(1, 3), {3})}));
        open(QStringLiteral("A"));
        clickTitle(powers(), 0); // the first click sorts descending: 03.01 first
        clickRow(powers(), 0);
        QCOMPARE(views()->SelectedVerificationIndex(), 2);
        answerPassword(kPassword, &m_dialogs, false, [this] {
            whenShown<TPostForm>([this](TPostForm *form) {
                ++m_dialogs;
                QCOMPARE(child<QLineEdit>(form, "PostEdit")->text(), QStringLiteral("1600"));
                child<QLineEdit>(form, "PostEdit")->clear();
                QTest::keyClicks(child<QLineEdit>(form, "PostEdit"), QStringLiteral("12a345b67890"));
                QCOMPARE(child<QLineEdit>(form, "PostEdit")->text(),
                         QStringLiteral("123456789")); // nine digits at most
                QTest::mouseClick(child<QPushButton>(form, "OkButton"), Qt::LeftButton);
            });
        });
        ops()->changeConstantAction()->trigger();
        QCOMPARE(m_dialogs, 2);
        const pcn::_totalblockdata m = readBack(file(QStringLiteral("A/m.pcn")));
        QCOMPARE(m.verifications[0].constant, 1600u);
        QCOMPARE(m.verifications[1].constant, 1600u);
        QCOMPARE(m.verifications[2].constant, 123456789u);
        QCOMPARE(m.verifications[2].date, QDate(2010, 1, 3));
        // The meter row is selected again: stored order, constant shown.
        QCOMPARE(cell(powers(), 2, 2), QStringLiteral("123456789"));
    }

    // Two workstations on one data folder change the constant of the same
    // verification at once (each with its command open): the first write
    // wins, the second is told and shows the first one's change.
    void twoWorkstationsChangeTheSameMeter()
    {
        write(QStringLiteral("A/m.pcn"), meter({verification(at(3, 1), {1}), verification(at(3, 2), {2})}));
        open(QStringLiteral("A"));
        QStringList otherShown;
        TKorvelForm other(testsupport::programPathsIn(m_dir->path()),
                          [&](MessageKind, const QString &text) { otherShown << text; });
        QVERIFY(other.FormCreate());
        QVERIFY(other.FormActivate());
        QVERIFY(other.folderPanel()->selectFolder(other.store().folderPath({QStringLiteral("A")})));
        clickRow(powers(), 1);
        other.views()->SelectVerification(1);
        const int v = views()->SelectedVerificationIndex();
        QCOMPARE(other.views()->SelectedVerificationIndex(), v);
        const auto setConstant = [this](const QString &value) {
            answerPassword(kPassword, &m_dialogs, false, [value] {
                whenShown<TPostForm>([value](TPostForm *form) {
                    child<QLineEdit>(form, "PostEdit")->setText(value);
                    QTest::mouseClick(child<QPushButton>(form, "OkButton"), Qt::LeftButton);
                });
            });
        };
        {
            const RecordStore::RefreshHold otherBusy(other.store());
            setConstant(QStringLiteral("111"));
            ops()->N9Click();
            setConstant(QStringLiteral("222"));
            other.findChild<RecordOperations *>()->N9Click();
        }
        QCOMPARE(m_dialogs, 2);
        QVERIFY(m_shown.isEmpty());
        QCOMPARE(otherShown, QStringList{programText(ProgramText::ChangedOnAnotherWorkstation, LanguageEnglish)});
        QCOMPARE(readBack(file(QStringLiteral("A/m.pcn"))).verifications[v].constant, 111u);
        QCOMPARE(other.views()->selectedMeter()->verifications[v].constant, 111u);
        QCOMPARE(other.views()->SelectedVerificationIndex(), v);
    }

    // A file vardosk-cli stores into the shown folder appears without a
    // click, the selection kept; a folder whose listing did not change is
    // not read again.
    void fileStoredByTheCliAppears()
    {
        if (!testsupport::emulatorBuilt())
            QSKIP("the instrument emulator is not built");
        write(QStringLiteral("A/a.pcn"), meter({verification(at(3, 1), {1})}));
        write(QStringLiteral("A/b.pcn"), meter({verification(at(3, 2), {2}), verification(at(3, 3), {3})}));
        open(QStringLiteral("A"));
        clickRow(meters(), rowOfFile(QStringLiteral("b.pcn")));
        clickRow(powers(), 1);
        const int scans = m_window->store().scanCount();
        QTest::qWait(2500); // more than a period: nothing changed, nothing read
        QCOMPARE(m_window->store().scanCount(), scans);

        testsupport::Emulator instrument({QStringLiteral("--records"), QStringLiteral("1")});
        QVERIFY(!instrument.path.isEmpty());
        const testsupport::CliRun cli =
            testsupport::runCli({QStringLiteral("read-archive"), QStringLiteral("--port"), instrument.path,
                                 QStringLiteral("--into"), file(QStringLiteral("A"))});
        QCOMPARE(cli.exitCode, 0);
        QTRY_COMPARE_WITH_TIMEOUT(meters()->model()->rowCount(), 3, 5000);
        QCOMPARE(m_window->store().scanCount(), scans + 1);
        QCOMPARE(m_window->store().meters()[views()->SelectedMeterIndex()].fileName, QStringLiteral("b.pcn"));
        QCOMPARE(views()->SelectedPowerRow(), 1);
    }

    void wrongPasswordChangesNothing()
    {
        write(QStringLiteral("A/m.pcn"), meter({verification(at(3, 1), {1}), verification(at(3, 2), {2})}));
        write(QStringLiteral("A/n.pcn"), meter({verification(at(4, 1), {4})}));
        open(QStringLiteral("A"));
        const auto before = snapshot(data());
        // Merge set-up: n on the clipboard, m selected.
        clickRow(meters(), rowOfFile(QStringLiteral("n.pcn")));
        action(Command::Copy)->trigger();
        clickRow(meters(), rowOfFile(QStringLiteral("m.pcn")));
        clickRow(powers(), 1);
        QTest::mouseClick(ops()->copyElemButton(), Qt::LeftButton);
        clickRow(powers(), 0);
        QVERIFY(ops()->pasteElemButton()->isEnabled());

        const QList<std::function<void()>> commands = {
            [this] { ops()->ConnectActionExecute(); },
            [this] { ops()->PasteElemButtonClick(); },
            [this] { ops()->DelElemButtonClick(); },
            [this] { ops()->N7Click(); },
            [this] { ops()->N9Click(); },
            [this] { ops()->DelButtonClick(); },
        };
        for (const auto &command : commands) {
            m_shown.clear();
            answerPassword(QStringLiteral("Secret"), &m_dialogs);
            command();
            QCOMPARE(m_shown, QStringList{QStringLiteral("Invalid password.")});
            QCOMPARE(snapshot(data()), before);
        }
        QCOMPARE(m_dialogs, commands.size()); // the editors never opened
        QCOMPARE(meters()->model()->rowCount(), 2);
        QVERIFY(ops()->hasElementMark());
    }

    // A failed write, or the file m.pcn changed or removed by another
    // workstation while the command ran (during its dialogs).
    void failedWritesLeaveEveryFileAsItWas_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("meanwhile"); // 0 write fault, 1 changed, 2 gone
        const char *names[] = {"merge",         "element paste", "element delete", "meter edit",
                               "constant edit", "meter delete",  "cut and paste"};
        const char *kinds[] = {"", ", changed meanwhile", ", gone meanwhile"};
        for (int kind = 0; kind < 3; ++kind)
            for (int command = 0; command < 7; ++command)
                if (kind > 0 || command < 5)
                    QTest::addRow("%s%s", names[command], kinds[kind]) << command << kind;
    }

    void failedWritesLeaveEveryFileAsItWas()
    {
        QFETCH(int, command);
        QFETCH(int, meanwhile);
        // Four verifications: the file is longer than one write chunk, so
        // the failure comes part-way through the data.
        write(QStringLiteral("A/m.pcn"), meter({verification(at(3, 1), {1}), verification(at(3, 2), {2}),
                                                verification(at(3, 3), {3}), verification(at(3, 4), {4})}));
        write(QStringLiteral("A/n.pcn"), meter({verification(at(4, 1), {5})}));
        QVERIFY(QDir().mkpath(file(QStringLiteral("B"))));
        open(QStringLiteral("A"));
        clickRow(meters(), rowOfFile(QStringLiteral("n.pcn")));
        action(Command::Copy)->trigger();
        clickRow(meters(), rowOfFile(QStringLiteral("m.pcn")));
        clickRow(powers(), 3);
        QTest::mouseClick(ops()->copyElemButton(), Qt::LeftButton);
        clickRow(powers(), 1);
        // A press in the meter list again offers the merge (the focus left it).
        QVERIFY(!action(Command::Merge)->isEnabled());
        clickRow(meters(), rowOfFile(QStringLiteral("m.pcn")));
        QVERIFY(action(Command::Merge)->isEnabled());
        QCOMPARE(views()->SelectedPowerRow(), 1);
        const auto before = snapshot(data());
        const QString shownBefore = cell(powers(), 1, 2);

        int failures = 0;
        // The write fails once data went into the temporary file: after the
        // first chunk of a long file, before the rename of a short one.
        platform::WriteFaultScope fault([&](const QString &, qint64 written) {
            if (meanwhile > 0 || written == 0)
                return false;
            ++failures;
            return true;
        });
        // The other workstation: five verifications in m.pcn, or none.
        QMap<QString, QByteArray> expected = before;
        const auto otherWorkstation = [&] {
            if (meanwhile == 1) {
                QVERIFY(WriteMeterFile(
                    file(QStringLiteral("A/m.pcn")),
                    meter({verification(at(5, 1), {1}), verification(at(5, 2), {2}), verification(at(5, 3), {3}),
                           verification(at(5, 4), {4}), verification(at(5, 5), {5})})));
            } else if (meanwhile == 2) {
                QVERIFY(DeleteMeterFile(file(QStringLiteral("A/m.pcn"))));
            }
            expected = snapshot(data());
        };
        const auto inDialog = [&](std::function<void()> then = {}) {
            return [&, then] {
                otherWorkstation();
                if (then)
                    then();
            };
        };
        switch (command) {
        case 0:
            answerPassword(kPassword, &m_dialogs, true, inDialog());
            action(Command::Merge)->trigger();
            break;
        case 1:
            answerPassword(kPassword, &m_dialogs, false, inDialog());
            QTest::mouseClick(ops()->pasteElemButton(), Qt::LeftButton);
            break;
        case 2:
            answerPassword(kPassword, &m_dialogs, false, inDialog());
            QTest::mouseClick(ops()->delElemButton(), Qt::LeftButton);
            break;
        case 3:
            answerPassword(kPassword, &m_dialogs, false, inDialog([this] {
                               whenShown<TInfoForm>([](TInfoForm *form) {
                                   child<QLineEdit>(form, "NameEdit")->setText(QStringLiteral("NEW"));
                                   QTest::mouseClick(child<QPushButton>(form, "OkButton"), Qt::LeftButton);
                               });
                           }));
            ops()->changeMeterAction()->trigger();
            break;
        case 4:
            answerPassword(kPassword, &m_dialogs, false, inDialog([this] {
                               whenShown<TPostForm>([](TPostForm *form) {
                                   child<QLineEdit>(form, "PostEdit")->setText(QStringLiteral("5"));
                                   QTest::mouseClick(child<QPushButton>(form, "OkButton"), Qt::LeftButton);
                               });
                           }));
            ops()->changeConstantAction()->trigger();
            break;
        case 5:
            answerPassword(kPassword, &m_dialogs, false, inDialog());
            action(Command::Delete)->trigger();
            break;
        case 6:
            ++m_dialogs; // no dialog: the other workstation acts between cut and paste
            action(Command::Cut)->trigger();
            select(QStringLiteral("B"));
            otherWorkstation();
            action(Command::Paste)->trigger();
            break;
        }
        QCOMPARE(m_dialogs, 1);
        if (meanwhile == 0) {
            QCOMPARE(failures, 1);
            QCOMPARE(snapshot(data()), before);
            QCOMPARE(m_shown, QStringList{QStringLiteral("Unable to create file.")});
            // What is shown still is what the disk holds.
            QCOMPARE(m_window->store().meters()[views()->SelectedMeterIndex()].verificationCount, 4);
            QCOMPARE(powers()->model()->rowCount(), 4);
            QCOMPARE(cell(powers(), 1, 2), shownBefore);
            return;
        }
        // Nothing of this workstation's command reached the disk; it says
        // so and shows the folder as the other workstation left it.
        QCOMPARE(snapshot(data()), expected);
        QCOMPARE(m_shown, QStringList{programText(ProgramText::ChangedOnAnotherWorkstation, LanguageEnglish)});
        if (command == 6)
            select(QStringLiteral("A"));
        const int row = rowOfFile(QStringLiteral("m.pcn"));
        QCOMPARE(row >= 0, meanwhile == 1);
        if (meanwhile == 1)
            QCOMPARE(m_window->store().meters()[views()->SelectedMeterIndex()].verificationCount, 5);
        QCOMPARE(meters()->model()->rowCount(), meanwhile == 1 ? 2 : 1);
    }

    // A value longer than what can be typed (a constant after the
    // multiplier, a year above 9999) comes back unchanged from OK.
    void confirmingKeepsStoredNumbers_data()
    {
        QTest::addColumn<bool>("year");
        QTest::addColumn<qulonglong>("value");
        QTest::newRow("10-digit constant") << false << qulonglong(4294967295u);
        QTest::newRow("9-digit constant") << false << qulonglong(999999999);
        QTest::newRow("5-digit year") << true << qulonglong(65535);
        QTest::newRow("4-digit year") << true << qulonglong(2024);
    }

    void confirmingKeepsStoredNumbers()
    {
        QFETCH(bool, year);
        QFETCH(qulonglong, value);
        if (year) {
            TInfoForm form;
            whenShown<TInfoForm>(
                [](TInfoForm *f) { QTest::mouseClick(child<QPushButton>(f, "OkButton"), Qt::LeftButton); });
            MeterParameters current;
            current.meterType = QStringLiteral("CE");
            current.serialText = QStringLiteral("12");
            current.year = std::uint16_t(value);
            const auto edited = form.Execute(current);
            QVERIFY(edited);
            QCOMPARE(qulonglong(edited->year), value);
        } else {
            TPostForm form;
            whenShown<TPostForm>(
                [](TPostForm *f) { QTest::mouseClick(child<QPushButton>(f, "OkButton"), Qt::LeftButton); });
            QCOMPARE(form.Execute(std::uint32_t(value)), std::optional<std::uint32_t>(std::uint32_t(value)));
        }
    }
};

QTEST_MAIN(TestRecordOpsWindow)
#include "tst_recordopswindow.moc"
