// The folder panel driven as a user would: selection, context-menu commands,
// in-place renaming; and the status-message timer.
#include "records/recordstore.h"
#include "records/ui/folderpanel.h"
#include "base/ui/statusmessagetimer.h"
#include "dialogwidgets.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using testsupport::child;

namespace {

QTreeWidgetItem *childNamed(QTreeWidgetItem *parent, const QString &name)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == name)
            return parent->child(i);
    }
    return nullptr;
}

QStringList childTexts(QTreeWidgetItem *parent)
{
    QStringList names;
    for (int i = 0; i < parent->childCount(); ++i)
        names << parent->child(i)->text(0);
    return names;
}

} // namespace

class TestFolderPanel : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_tmp.reset(new QTemporaryDir);
        QVERIFY(m_tmp->isValid());
        m_data = m_tmp->path() + QStringLiteral("/Data/");
        for (const char *p : {"b", "a/inner", "full"})
            QVERIFY(QDir().mkpath(m_data + p));
        QFile f(m_data + "full/x.pcn");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        m_store.reset(new RecordStore(m_data));
        m_panel.reset(new FolderTreePanel(*m_store));
        m_messages.clear();
        m_panel->setMessageHandler([this](const QString &key) { m_messages << key; });
        m_panel->BuildFolderTree();
        m_panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
    }

    void cleanup()
    {
        m_panel.reset();
        m_store.reset();
    }

    void showsTheTreeAndReportsTheSelection()
    {
        QTreeWidgetItem *root = m_panel->rootItem();
        QCOMPARE(m_panel->topLevelItemCount(), 1);
        QCOMPARE(root->text(0), QStringLiteral("Data"));
        QCOMPARE(childTexts(root), (QStringList{"a", "b", "full"}));
        QCOMPARE(childTexts(childNamed(root, "a")), QStringList{"inner"});
        QVERIFY(!(root->flags() & Qt::ItemIsEditable));
        QVERIFY(childNamed(root, "b")->flags() & Qt::ItemIsEditable);
        QCOMPARE(m_panel->currentItem(), nullptr);

        QSignalSpy spy(m_panel.get(), &FolderTreePanel::TreeViewChange);
        QTreeWidgetItem *inner = childNamed(childNamed(root, "a"), "inner");
        m_panel->scrollToItem(inner);
        QTest::mouseClick(m_panel->viewport(), Qt::LeftButton, {}, m_panel->visualItemRect(inner).center());
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), m_store->rootFolder() + "/a/inner");
        QCOMPARE(m_panel->currentFolderPath(), m_store->rootFolder() + "/a/inner");

        // Selecting a folder again (after a device run) reports it again.
        QVERIFY(m_panel->selectFolder(m_store->rootFolder() + "/a/inner"));
        QCOMPARE(spy.size(), 2);
        QVERIFY(m_panel->selectFolder(m_store->rootFolder()));
        QCOMPARE(spy.at(2).at(0).toString(), m_store->rootFolder());
        QVERIFY(!m_panel->selectFolder(m_store->rootFolder() + "/nothing"));
        QCOMPARE(spy.size(), 3);

        m_panel->setTreeEnabled(false);
        QVERIFY(!m_panel->isEnabled());
        m_panel->setTreeEnabled(true);
        QVERIFY(m_panel->isEnabled());
    }

    // Folders made by another workstation appear when their folder
    // announces them: the selected and the open nodes are watched, as they
    // follow the selection and the expansion (the period is an hour here).
    void foldersMadeElsewhereAppear()
    {
        m_panel->FollowDisk(std::chrono::hours(1));
        QTreeWidgetItem *root = m_panel->rootItem();
        QVERIFY(QDir().mkpath(m_data + "c"));
        QTRY_COMPARE(childTexts(m_panel->rootItem()), (QStringList{"a", "b", "c", "full"}));
        QVERIFY(m_panel->selectFolder(m_store->rootFolder() + "/b"));
        QVERIFY(QDir().mkpath(m_data + "b/new"));
        QTRY_COMPARE(childTexts(childNamed(m_panel->rootItem(), "b")), QStringList{"new"});
        root = m_panel->rootItem();
        childNamed(root, "a")->setExpanded(true);
        QVERIFY(QDir().mkpath(m_data + "a/second"));
        QTRY_COMPARE(childTexts(childNamed(m_panel->rootItem(), "a")), (QStringList{"inner", "second"}));
        QCOMPARE(m_panel->currentFolderPath(), m_store->rootFolder() + "/b");
    }

    void createDirAddsNumberedFoldersAndSelectsThem()
    {
        m_panel->setNewFolderLabel("New folder");
        m_panel->setMenuCaptions("Create directory", "Delete directory");
        QCOMPARE(child<QAction>(*m_panel, "CreateDir")->text(), QStringLiteral("Create directory"));
        QCOMPARE(child<QAction>(*m_panel, "DeleteDir")->text(), QStringLiteral("Delete directory"));

        QSignalSpy spy(m_panel.get(), &FolderTreePanel::TreeViewChange);
        m_panel->CreateDirClick(); // nothing selected: nothing happens
        QCOMPARE(spy.size(), 0);

        QVERIFY(m_panel->selectFolder(m_store->rootFolder() + "/b"));
        child<QAction>(*m_panel, "CreateDir")->trigger();
        m_panel->selectFolder(m_store->rootFolder() + "/b");
        child<QAction>(*m_panel, "CreateDir")->trigger();
        QTreeWidgetItem *b = childNamed(m_panel->rootItem(), "b");
        QCOMPARE(childTexts(b), (QStringList{"New folder", "New folder(2)"}));
        QVERIFY(QFileInfo(m_data + "b/New folder(2)").isDir());
        QCOMPARE(m_panel->currentItem(), childNamed(b, "New folder(2)"));
        QCOMPARE(spy.last().at(0).toString(), m_store->rootFolder() + "/b/New folder(2)");
    }

    void renameInPlace()
    {
        QTreeWidgetItem *b = childNamed(m_panel->rootItem(), "b");
        m_panel->setCurrentItem(b);
        m_panel->editItem(b);
        auto *editor = m_panel->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("Checks"));
        QTest::keyClick(editor, Qt::Key_Return);
        // The view commits the edit from its event loop.
        QTRY_COMPARE(b->text(0), QStringLiteral("Checks"));
        QVERIFY(QFileInfo(m_data + "Checks").isDir());
        QVERIFY(!QFileInfo::exists(m_data + "b"));
        QVERIFY(m_messages.isEmpty());
        // Any text a folder name can hold, Cyrillic too.
        b->setText(0, QStringLiteral("Поверки"));
        QVERIFY(QFileInfo(m_data + QStringLiteral("Поверки")).isDir());
        QCOMPARE(m_panel->folderPathOf(b), m_store->rootFolder() + QStringLiteral("/Поверки"));
        QVERIFY(m_messages.isEmpty());

        // Onto an existing name: the text reverts and Error18 is shown.
        b->setText(0, "a");
        QCOMPARE(b->text(0), QStringLiteral("Поверки"));
        QCOMPARE(m_messages, QStringList{"Error18"});
        QVERIFY(QFileInfo(m_data + "a/inner").isDir());

        // The same text again: nothing happens.
        b->setText(0, QStringLiteral("Поверки"));
        QCOMPARE(m_messages.size(), 1);

        // Renaming a parent keeps the paths of its children right.
        QTreeWidgetItem *a = childNamed(m_panel->rootItem(), "a");
        a->setText(0, "a2");
        QCOMPARE(m_panel->folderPathOf(a->child(0)), m_store->rootFolder() + "/a2/inner");
        QVERIFY(QFileInfo(m_panel->folderPathOf(a->child(0))).isDir());
    }

    void deleteDirNeedsAnEmptyFolderAndThePassword()
    {
        QTreeWidgetItem *root = m_panel->rootItem();
        m_panel->setCurrentItem(root);
        m_panel->prepareContextMenu();
        QVERIFY(child<QAction>(*m_panel, "CreateDir")->isEnabled());
        QVERIFY(!child<QAction>(*m_panel, "DeleteDir")->isEnabled());
        m_panel->setCurrentItem(childNamed(root, "a")); // holds a sub-folder
        m_panel->prepareContextMenu();
        QVERIFY(!child<QAction>(*m_panel, "DeleteDir")->isEnabled());
        m_panel->setCurrentItem(childNamed(root, "full")); // holds a file
        m_panel->prepareContextMenu();
        QVERIFY(!child<QAction>(*m_panel, "DeleteDir")->isEnabled());
        QTreeWidgetItem *b = childNamed(root, "b");
        m_panel->setCurrentItem(b);
        m_panel->prepareContextMenu();
        QVERIFY(child<QAction>(*m_panel, "DeleteDir")->isEnabled());

        // Root: the command does nothing, not even ask.
        int asked = 0;
        bool answer = false;
        m_panel->setPasswordCheck([&] {
            ++asked;
            return answer;
        });
        m_panel->setCurrentItem(root);
        m_panel->DeleteDirClick();
        QCOMPARE(asked, 0);

        // Cancelled or wrong password: nothing deleted.
        m_panel->setCurrentItem(b);
        child<QAction>(*m_panel, "DeleteDir")->trigger();
        QCOMPARE(asked, 1);
        QVERIFY(QFileInfo(m_data + "b").isDir());
        QCOMPARE(childNamed(root, "b"), b);

        // A file appeared since the menu opened: Error20, the file is kept.
        QFile late(m_data + "b/late.pcn");
        QVERIFY(late.open(QIODevice::WriteOnly));
        late.close();
        answer = true;
        m_panel->DeleteDirClick();
        QCOMPARE(m_messages, QStringList{"Error20"});
        QVERIFY(late.exists());
        QVERIFY(late.remove());

        QSignalSpy spy(m_panel.get(), &FolderTreePanel::TreeViewChange);
        m_panel->DeleteDirClick();
        QVERIFY(!QFileInfo::exists(m_data + "b"));
        QCOMPARE(childNamed(root, "b"), nullptr);
        // The selection moved on and the new folder is reported.
        QVERIFY(m_panel->currentItem());
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), m_panel->currentFolderPath());
    }

    void deleteWithoutPasswordCheckIsRefused()
    {
        m_panel->setCurrentItem(childNamed(m_panel->rootItem(), "b"));
        m_panel->DeleteDirClick();
        QVERIFY(QFileInfo(m_data + "b").isDir());
    }

    void statusTimerClearsTheMessageOnce()
    {
        QLabel panel(QStringLiteral(" Чтение архива."));
        StatusMessageTimer timer(&panel);
        QSignalSpy cleared(&timer, &StatusMessageTimer::messageCleared);
        timer.StartStatusTimer();
        QVERIFY(timer.isActive());
        timer.StopStatusTimer();
        QVERIFY(!timer.isActive());

        // A stopped timer leaves the message; a started one clears it and stops.
        QLabel other(QStringLiteral("x"));
        StatusMessageTimer reference(&other);
        reference.StartStatusTimer();
        timer.StartStatusTimer();
        timer.StopStatusTimer();
        QTRY_VERIFY_WITH_TIMEOUT(other.text().isEmpty(), 10000);
        QCOMPARE(panel.text(), QStringLiteral(" Чтение архива."));
        QCOMPARE(cleared.size(), 0);

        timer.StartStatusTimer();
        QTRY_COMPARE_WITH_TIMEOUT(cleared.size(), 1, 10000);
        QVERIFY(panel.text().isEmpty());
        QVERIFY(!timer.isActive());
    }

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    QString m_data;
    std::unique_ptr<RecordStore> m_store;
    std::unique_ptr<FolderTreePanel> m_panel;
    QStringList m_messages;
};

QTEST_MAIN(TestFolderPanel)
#include "tst_folderpanel.moc"
