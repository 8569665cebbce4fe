// The record store: folder tree, folder scan, folder commands and the
// storing of received verifications, on real folders in a temporary place.
#include "records/recordstore.h"
#include "base/platform.h"

#include "testdir.h"
#include "tst_storefiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace storefiles;

namespace {

QStringList childNames(const FolderNode &node)
{
    QStringList names;
    for (const FolderNode &c : node.children)
        names << c.name;
    return names;
}

// The owner's write bit, which marks a stored file read-only (checked
// directly: the tests may run as a user whom no permission stops).
bool ownerCannotWrite(const QString &path)
{
    return !(QFile::permissions(path) & QFileDevice::WriteOwner);
}

QStringList fileNames(const QVector<ListedMeter> &meters)
{
    QStringList names;
    for (const ListedMeter &m : meters)
        names << m.fileName;
    return names;
}

pcn::_datacounter summary(const QString &type, quint32 serial, QTime time, quint8 power = 0)
{
    pcn::_datacounter s;
    s.meterType = type;
    s.serial = serial;
    s.date = QDate(2009, 6, 15);
    s.time = time;
    s.powerType = power;
    return s;
}

} // namespace

class TestStore : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_tmp.reset(new QTemporaryDir);
        QVERIFY(m_tmp->isValid());
        m_data = m_tmp->path() + QStringLiteral("/Data/");
    }

    void treeIsBuiltSortedAndCreatesTheDataFolder()
    {
        RecordStore store(m_data);
        QVERIFY(!QFileInfo::exists(m_data));
        FolderNode empty = store.BuildFolderTree();
        QVERIFY(QFileInfo(m_data).isDir());
        QCOMPARE(empty.name, QStringLiteral("Data"));
        QVERIFY(empty.children.empty());

        QDir d(m_data);
        for (const char *p : {"b", "a", "B", "b/z", "b/y", "b/y/deep", "Ярослав", ".hidden"})
            QVERIFY(d.mkpath(QString::fromUtf8(p)));
        // Files never appear, whatever their name.
        QVERIFY(writeFile(m_data + "a.pcn", "x"));
        QVERIFY(writeFile(m_data + "b/file", "x"));
        // A link to a folder (here: back up to the data folder) is not followed.
        QVERIFY(QFile::link(m_data, m_data + "b/loop"));

        const FolderNode tree = store.BuildFolderTree();
        QCOMPARE(tree.name, QStringLiteral("Data"));
        QCOMPARE(childNames(tree), (QStringList{".hidden", "B", "a", "b", QStringLiteral("Ярослав")}));
        const FolderNode &b = tree.children[3];
        QCOMPARE(childNames(b), (QStringList{"y", "z"}));
        QCOMPARE(childNames(b.children[0]), QStringList{"deep"});
        QVERIFY(b.children[0].children[0].children.empty());
    }

    // Folders the listing marks as holding no sub-folder are not opened by
    // the tree; a wrong mark would hide a branch. Each row makes a folder
    // "x" below the data folder and lists the data folder.
    void folderWithoutSubFoldersIsMarkedOnlyWhenItHasNone_data()
    {
        QTest::addColumn<QStringList>("folders"); // below x
        QTest::addColumn<bool>("linkToFolder"); // x/link leads to the data folder
        QTest::addColumn<bool>("subFolders"); // x holds a real sub-folder
        QTest::newRow("empty") << QStringList{} << false << false;
        QTest::newRow("one sub-folder") << QStringList{"a"} << false << true;
        QTest::newRow("hidden sub-folder") << QStringList{".a"} << false << true;
        QTest::newRow("nested") << QStringList{"a/b/c"} << false << true;
        QTest::newRow("only a link to a folder") << QStringList{} << true << false;
    }

    void folderWithoutSubFoldersIsMarkedOnlyWhenItHasNone()
    {
        QFETCH(QStringList, folders);
        QFETCH(bool, linkToFolder);
        QFETCH(bool, subFolders);
        const QString x = m_data + QStringLiteral("x");
        QVERIFY(QDir().mkpath(x));
        QVERIFY(writeFile(x + "/file.pcn", "x"));
        for (const QString &f : folders)
            QVERIFY(QDir().mkpath(x + QLatin1Char('/') + f));
        if (linkToFolder)
            QVERIFY(QFile::link(m_data, x + QStringLiteral("/link")));

        const platform::FolderEntries entries = platform::listFolder(m_data, platform::FolderDetail::EmptyOfFolders);
        QCOMPARE(entries.folders, QStringList{"x"});
        QCOMPARE(entries.holdsNoFolders.size(), 1);
        if (subFolders)
            QVERIFY(!entries.holdsNoFolders[0]);
        // Without the detail no marks are made.
        QVERIFY(platform::listFolder(m_data).holdsNoFolders.isEmpty());

        // The tree shows exactly the real sub-folders either way.
        const FolderNode tree = RecordStore(m_data).BuildFolderTree();
        QCOMPARE(tree.children.size(), std::size_t(1));
        QCOMPARE(childNames(tree.children[0]),
                 folders.isEmpty() ? QStringList{} : QStringList{folders[0].section('/', 0, 0)});
    }

    void pathsOfNodesAndOfTheCurrentFolder()
    {
        RecordStore store(m_data);
        const QString root = m_tmp->path() + QStringLiteral("/Data");
        QCOMPARE(store.rootFolder(), root);
        QCOMPARE(store.dataFolder(), root + "/");
        QCOMPARE(store.currentFolder(), root); // until the first selection
        QCOMPARE(store.folderPath({}), root);
        QCOMPARE(store.folderPath({"a", "c"}), root + "/a/c");
        QVERIFY(store.isRoot(root + "/"));
        QVERIFY(!store.isRoot(root + "/a"));

        QVERIFY(QDir().mkpath(root + "/a/c"));
        store.SelectFolder(root + "/a/c");
        QCOMPARE(store.currentFolder(), root + "/a/c");
        QCOMPARE(store.currentParentPath(), root + "/a/");
        QCOMPARE(store.currentFilePath("m.pcn"), root + "/a/c/m.pcn");
    }

    void scanReadsTheFolderSortedAndSkipsUnreadableFiles()
    {
        QVERIFY(QDir().mkpath(m_data + "sub"));
        QVERIFY(QDir().mkpath(m_data + "dir.pcn"));
        QVERIFY(writeMeter(m_data + "b.pcn", "CE301", 222, {3, 12}));
        QVERIFY(writeMeter(m_data + "a.pcn", "CE102", 111, {1}));
        QVERIFY(writeMeter(m_data + "C.PCN", "MIR", 333, {10, 11, 2}));
        QVERIFY(writeMeter(m_data + "sub/inner.pcn", "X", 1, {1})); // other folder
        QVERIFY(writeMeter(m_data + "meter.txt", "X", 2, {1})); // other extension

        const QByteArray good = fileHeader("9") + recordBlock("X", 9, 1);
        QByteArray flipped = good;
        flipped[67 + 500] = char(flipped[67 + 500] ^ 0x01);
        QByteArray badHeader = good;
        badHeader[10] = char(badHeader[10] ^ 0x40);
        QByteArray badTypeBlock = recordBlock("X", 9, 1);
        badTypeBlock[1] = char(4); // instrument type 4 does not exist
        seal(badTypeBlock, 1132); // with a right checksum
        const QByteArray badType = fileHeader("9") + badTypeBlock;
        const struct {
            const char *name;
            QByteArray bytes;
        } unreadable[] = {
            {"u1-empty.pcn", QByteArray()},
            {"u2-text.pcn", QByteArray("not a verification file at all")},
            {"u3-header-only.pcn", fileHeader("9")},
            {"u4-bad-header.pcn", badHeader},
            {"u5-flipped.pcn", flipped},
            {"u6-truncated.pcn", good.left(67 + 600)},
            {"u7-missing-extension.pcn", (fileHeader("9") + recordBlock("X", 9, 12)).chopped(110)},
        };
        for (const auto &u : unreadable)
            QVERIFY(writeFile(m_data + u.name, u.bytes));
        QVERIFY(writeFile(m_data + "u8-bad-type.pcn", badType));

        RecordStore store(m_data);
        store.SelectFolder(store.rootFolder());
        // Code-point order: upper case before lower case.
        QCOMPARE(fileNames(store.meters()), (QStringList{"C.PCN", "a.pcn", "b.pcn"}));
        QCOMPARE(store.meters()[0].verificationCount, 3);
        QCOMPARE(store.loadMeter(0)->verifications[1].points.size(), 11);
        QCOMPARE(store.meters()[1].verificationCount, 1);
        QCOMPARE(store.meters()[2].verificationCount, 2);
        QCOMPARE(store.loadMeter(2)->verifications[1].points.size(), 12);
        QCOMPARE(store.meters()[2].serialText, QStringLiteral("222"));
        QCOMPARE(store.meters()[2].meterType, QStringLiteral("CE301         "));
        // Nothing unreadable was changed by the scan.
        for (const auto &u : unreadable)
            QCOMPARE(testsupport::readAll(m_data + u.name), u.bytes);

        // The same function serves the command-line scan.
        QCOMPARE(fileNames(ScanFolder(m_data)), fileNames(store.meters()));
        // The files that could not be read are part of the listing compared
        // with the disk, as are the listed ones.
        QVERIFY(!store.RefreshIfChanged());
        QVERIFY(writeFile(m_data + "u1-empty.pcn", "x"));
        QVERIFY(store.RefreshIfChanged());
        QVERIFY(!store.RefreshIfChanged());
    }

    void scanOfEmptyUnreadableOrMissingFolders()
    {
        QVERIFY(QDir().mkpath(m_data + "bad"));
        QVERIFY(writeFile(m_data + "bad/x.pcn", "junk"));
        QVERIFY(writeFile(m_data + "bad/y.pcn", fileHeader("1")));
        RecordStore store(m_data);
        store.SelectFolder(m_data + "bad");
        QVERIFY(store.meters().isEmpty());

        QVERIFY(writeMeter(m_data + "one.pcn", "A", 5, {1}));
        store.SelectFolder(store.rootFolder());
        QCOMPARE(store.meters().size(), 1);
        // A later scan replaces the list; a folder that is gone gives none.
        store.SelectFolder(m_data + "missing");
        QVERIFY(store.meters().isEmpty());

        // Rescan picks up what changed on disk.
        store.SelectFolder(store.rootFolder());
        QVERIFY(writeMeter(m_data + "two.pcn", "A", 6, {2}));
        store.Rescan();
        QCOMPARE(fileNames(store.meters()), (QStringList{"one.pcn", "two.pcn"}));
        store.ClearMeters();
        QVERIFY(store.meters().isEmpty());
    }

    void newFolderNumbering()
    {
        RecordStore store(m_data);
        store.BuildFolderTree();
        const QString label = QStringLiteral("Новая папка");
        const QString parent = store.rootFolder();

        QCOMPARE(store.NewFolder(parent, label), std::optional<QString>(label));
        QCOMPARE(store.NewFolder(parent, label), std::optional<QString>(label + "(2)"));
        QCOMPARE(store.NewFolder(parent, label), std::optional<QString>(label + "(3)"));
        QVERIFY(QFileInfo(m_data + label + "(3)").isDir());
        // New folders take files (they are not made read-only).
        QVERIFY(writeFile(m_data + label + "(3)/f.pcn", "x"));

        // A freed name is used again, lowest first.
        QVERIFY(QDir(m_data).rmdir(label + "(2)"));
        QCOMPARE(store.NewFolder(parent, label), std::optional<QString>(label + "(2)"));

        // A file with the label's name takes the name as well.
        QVERIFY(writeFile(m_data + "New folder", "x"));
        QCOMPARE(store.NewFolder(parent, "New folder"), std::optional<QString>("New folder(2)"));

        // With label, (2) ... (50) all taken nothing is created.
        for (int k = 4; k <= 50; ++k)
            QVERIFY(QDir(m_data).mkdir(label + QStringLiteral("(%1)").arg(k)));
        const int before = QDir(m_data).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size();
        QCOMPARE(store.NewFolder(parent, label), std::nullopt);
        QCOMPARE(QDir(m_data).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), before);
        QVERIFY(!QFileInfo::exists(m_data + label + "(51)"));

        // Inside a sub-folder, and not inside a folder that does not exist.
        QCOMPARE(store.NewFolder(m_data + label, label), std::optional<QString>(label));
        QCOMPARE(store.NewFolder(m_data + "nowhere", label), std::nullopt);
    }

    void renameRules()
    {
        RecordStore store(m_data);
        QVERIFY(QDir().mkpath(m_data + "a/inner"));
        QVERIFY(QDir().mkpath(m_data + "b"));
        QVERIFY(writeMeter(m_data + "a/inner/m.pcn", "A", 7, {1}));

        QCOMPARE(store.RenameFolder(store.rootFolder(), "Other"), RenameOutcome::Refused);
        QVERIFY(QFileInfo(m_data).isDir());
        QCOMPARE(store.RenameFolder(m_data + "a", "a"), RenameOutcome::Unchanged);

        // Onto an existing sibling, to a path, to nothing: refused, nothing moves.
        for (const QString &bad : {QStringLiteral("b"), QStringLiteral("b/a"), QStringLiteral("../a"),
                                   QStringLiteral(".."), QString(), QStringLiteral("x\\y")}) {
            QCOMPARE(store.RenameFolder(m_data + "a", bad), RenameOutcome::Failed);
            QVERIFY(QFileInfo(m_data + "a/inner/m.pcn").isFile());
            QVERIFY(QFileInfo(m_data + "b").isDir());
            QVERIFY(QDir(m_data + "b").isEmpty());
        }
        QCOMPARE(store.RenameFolder(m_data + "gone", "c"), RenameOutcome::Failed);

        // The current folder follows a rename of itself or of a folder above it.
        store.SelectFolder(m_data + "a/inner");
        QCOMPARE(store.meters().size(), 1);
        QCOMPARE(store.RenameFolder(m_data + "a", QStringLiteral("Счётчики")), RenameOutcome::Renamed);
        QVERIFY(!QFileInfo::exists(m_data + "a"));
        QVERIFY(QFileInfo(m_data + QStringLiteral("Счётчики/inner/m.pcn")).isFile());
        QCOMPARE(store.currentFolder(), store.rootFolder() + QStringLiteral("/Счётчики/inner"));
        QCOMPARE(store.RenameFolder(store.currentFolder(), "in"), RenameOutcome::Renamed);
        QCOMPARE(store.currentFolder(), store.rootFolder() + QStringLiteral("/Счётчики/in"));
        QVERIFY(QFileInfo(store.currentFilePath("m.pcn")).isFile());
        // A sibling whose name begins like the current folder is not a parent.
        QVERIFY(QDir().mkpath(m_data + QStringLiteral("Счётчики/in2")));
        QCOMPARE(store.RenameFolder(m_data + QStringLiteral("Счётчики/in2"), "x"), RenameOutcome::Renamed);
        QCOMPARE(store.currentFolder(), store.rootFolder() + QStringLiteral("/Счётчики/in"));
    }

    void deleteRules()
    {
        RecordStore store(m_data);
        for (const char *p : {"empty", "withFile", "withHidden", "withSub/sub"})
            QVERIFY(QDir().mkpath(m_data + p));
        QVERIFY(writeFile(m_data + "withFile/x.txt", "x"));
        QVERIFY(writeFile(m_data + "withHidden/.x", "x"));

        QVERIFY(!store.CanDeleteFolder(store.rootFolder()));
        QVERIFY(!store.CanDeleteFolder(m_data));
        QVERIFY(!store.CanDeleteFolder(m_data + "withFile"));
        QVERIFY(!store.CanDeleteFolder(m_data + "withHidden"));
        QVERIFY(!store.CanDeleteFolder(m_data + "withSub"));
        QVERIFY(!store.CanDeleteFolder(m_data + "missing"));
        QVERIFY(store.CanDeleteFolder(m_data + "withSub/sub"));
        QVERIFY(store.CanDeleteFolder(m_data + "empty"));

        QVERIFY(!store.DeleteFolder(store.rootFolder()));
        QVERIFY(!store.DeleteFolder(m_data + "withFile"));
        QVERIFY(QFileInfo(m_data + "withFile/x.txt").isFile());
        QVERIFY(!store.DeleteFolder(m_data + "withSub"));
        QVERIFY(QFileInfo(m_data + "withSub/sub").isDir());

        QVERIFY(store.DeleteFolder(m_data + "empty"));
        QVERIFY(!QFileInfo::exists(m_data + "empty"));
        QVERIFY(store.DeleteFolder(m_data + "withSub/sub"));
        QVERIFY(store.CanDeleteFolder(m_data + "withSub"));
        QVERIFY(!store.DeleteFolder(m_data + "empty")); // already gone
    }

    // Temporary files of record writes are not content; the folder goes
    // with them once they are older than an hour, while a write that may
    // still be under way keeps its file and the folder.
    void leftoverWritesAreNotContent_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("ageMinutes");
        QTest::addColumn<bool>("offered");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("interrupted write") << ".CE^1^2009-06-15^120000^0.pcn.a1B2c3" << 61 << true << true;
        QTest::newRow("write under way") << ".CE^1^2009-06-15^120000^0.pcn.a1B2c3" << 1 << true << false;
        QTest::newRow("hidden record") << ".x.pcn" << 61 << false << false;
        QTest::newRow("other program's file") << ".notes.txt.a1B2c3" << 61 << false << false;
        QTest::newRow("random part too short") << ".x.pcn.a1B2c" << 61 << false << false;
    }

    void leftoverWritesAreNotContent()
    {
        QFETCH(QString, name);
        QFETCH(int, ageMinutes);
        QFETCH(bool, offered);
        QFETCH(bool, deleted);
        RecordStore store(m_data);
        const QString folder = m_data + QStringLiteral("left");
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QLatin1Char('/') + name;
        QVERIFY(writeFile(path, "partial"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-60 * ageMinutes),
                                 QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(store.CanDeleteFolder(folder), offered);
        QCOMPARE(store.DeleteFolder(folder), deleted);
        QCOMPARE(QFileInfo::exists(folder), !deleted);
        if (!deleted)
            QVERIFY(QFileInfo::exists(path));
    }

    void scanRemovesOnlyStaleLeftovers()
    {
        const QString folder = m_data + QStringLiteral("scan");
        QVERIFY(QDir().mkpath(folder));
        const QStringList names{".a.pcn.Old123", ".a.pcn.New123"};
        for (int k = 0; k < 2; ++k) {
            QFile file(folder + QLatin1Char('/') + names[k]);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(k == 0 ? -7200 : -60),
                                     QFileDevice::FileModificationTime));
        }
        QVERIFY(ScanFolder(folder).isEmpty());
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{".a.pcn.New123"});
    }

    void receivedFileNames()
    {
        // Seven-letter Cyrillic type padded to 14 characters keeps its spaces.
        const QString type = QStringLiteral("ЦЭ6803В       ");
        QCOMPARE(ReceivedRecordFileName(summary(type, 12345, QTime(9, 5, 7))),
                 QStringLiteral("ЦЭ6803В       ^12345^2009-06-15^090507^0.pcn"));
        // Unsigned serial, other power type, midnight.
        QCOMPARE(ReceivedRecordFileName(summary("CE301", 4000000000u, QTime(0, 0, 0), 4)),
                 QStringLiteral("CE301^4000000000^2009-06-15^000000^4.pcn"));
        // Characters a file name cannot hold become "+".
        QCOMPARE(ReceivedRecordFileName(summary("A/B:C*\x01", 1, QTime(23, 59, 58), 2)),
                 QStringLiteral("A+B+C++^1^2009-06-15^235958^2.pcn"));
        // The locale does not matter.
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        QCOMPARE(ReceivedRecordFileName(summary("X", 2, QTime(9, 5, 7))),
                 QStringLiteral("X^2^2009-06-15^090507^0.pcn"));
        QLocale::setDefault(saved);
        // Without a decoded moment the stored BCD digits name it.
        pcn::_datacounter bcd = summary("X", 3, QTime());
        bcd.date = QDate();
        bcd.bcdYear = 0x2011;
        bcd.bcdMonth = 0x02;
        bcd.bcdDay = 0x03;
        bcd.bcdHour = 0x09;
        bcd.bcdMinute = 0x05;
        bcd.bcdSecond = 0x07;
        QCOMPARE(ReceivedRecordFileName(bcd), QStringLiteral("X^3^2011-02-03^090507^0.pcn"));
    }

    void storingReplacesTheEarlierCopy()
    {
        RecordStore store(m_data);
        QVERIFY(QDir().mkpath(m_data + "in"));
        store.SelectFolder(m_data + "in");
        const pcn::_datacounter s = summary("CE301", 222, QTime(9, 5, 7));
        const QByteArray header = fileHeader("222");
        const QByteArray first = recordBlock("CE301", 222, 3);
        const QByteArray second = recordBlock("CE301", 222, 5);

        const std::optional<QString> path = store.StoreReceivedRecord(header, first, s);
        QVERIFY(path);
        QCOMPARE(*path, m_data + "in/CE301^222^2009-06-15^090507^0.pcn");
        QCOMPARE(testsupport::readAll(*path), header + first);
        QVERIFY(ownerCannotWrite(*path));

        // Received again (read-only copy on disk): one file, the new content.
        QCOMPARE(store.StoreReceivedRecord(header, second, s), path);
        QCOMPARE(testsupport::readAll(*path), header + second);
        QVERIFY(ownerCannotWrite(*path));
        QCOMPARE(QDir(m_data + "in").entryList(QDir::Files | QDir::Hidden).size(), 1);

        // A merged file of that name is replaced as a whole.
        QVERIFY(platform::setReadOnly(*path, false));
        QVERIFY(writeFile(*path, header + first + second));
        QVERIFY(platform::setReadOnly(*path, true));
        // Changed behind the store's back (another workstation): left alone.
        bool changed = false;
        QCOMPARE(store.StoreReceivedRecord(header, first, s, &changed), std::nullopt);
        QVERIFY(changed);
        QCOMPARE(testsupport::readAll(*path), header + first + second);
        store.Rescan();
        QCOMPARE(store.StoreReceivedRecord(header, first, s), path);
        QCOMPARE(testsupport::readAll(*path), header + first);
        QSignalSpy stored(&store, &RecordStore::recordsStored);
        store.AnnounceStored(); // the list holds it at once, no scan
        QCOMPARE(stored.takeFirst().at(0).toStringList(), QStringList{QFileInfo(*path).fileName()});

        // The scan sees the stored verification.
        store.Rescan();
        QCOMPARE(store.meters().size(), 1);
        QCOMPARE(store.meters()[0].verificationCount, 1);
        QCOMPARE(store.loadMeter(0)->verifications[0].points.size(), 3);
        QCOMPARE(store.loadMeter(0)->verifications[0].time, QTime(9, 5, 7));
    }

    void failedStoreLeavesTheEarlierCopy()
    {
        RecordStore store(m_data);
        QVERIFY(QDir().mkpath(m_data));
        store.SelectFolder(store.rootFolder());
        const pcn::_datacounter s = summary("CE301", 222, QTime(9, 5, 7));
        const QByteArray header = fileHeader("222");
        const std::optional<QString> path = store.StoreReceivedRecord(header, recordBlock("CE301", 222, 3), s);
        QVERIFY(path);
        const QByteArray before = testsupport::readAll(*path);
        {
            // The disk fills up part-way through the new copy.
            platform::WriteFaultScope fault([](const QString &, qint64 written) { return written > 0; });
            QCOMPARE(store.StoreReceivedRecord(header, recordBlock("CE301", 222, 12), s), std::nullopt);
        }
        QCOMPARE(testsupport::readAll(*path), before);
        QVERIFY(ownerCannotWrite(*path));
        QCOMPARE(QDir(m_data).entryList(QDir::Files | QDir::Hidden).size(), 1);

        // No current folder on disk: nothing written, no crash.
        store.SelectFolder(m_data + "missing");
        QCOMPARE(store.StoreReceivedRecord(header, recordBlock("CE301", 222, 3), s), std::nullopt);
    }

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    QString m_data;
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
