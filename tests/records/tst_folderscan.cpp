// The folder scan reads files on several threads: the list must be the one
// a scan on one thread gives, in the same order, whatever the number of
// threads, with unreadable files skipped and headerless files upgraded.
#include "records/meterfile.h"
#include "records/recordstore.h"

#include "testdir.h"
#include "tst_storefiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace storefiles;

namespace {

// A folder of `count` files: mostly readable meters of 1 to 3 verifications
// with 1 to 23 points, every seventh file damaged, every eleventh without a
// file header (as old files were stored). Names are not in write order.
bool fillFolder(const QString &folder, int count)
{
    if (!QDir().mkpath(folder))
        return false;
    for (int i = 0; i < count; ++i) {
        const QString path = folder + QStringLiteral("/%1-m.pcn").arg((i * 37) % count, 4, 10, QLatin1Char('0'));
        const QByteArray type = "T" + QByteArray::number(i % 13);
        const quint32 serial = 5000u + quint32(i);
        bool ok = true;
        if (i % 7 == 3) {
            QByteArray damaged = fileHeader(QByteArray::number(serial)) + recordBlock(type, serial, 4);
            damaged[200] = char(damaged[200] ^ 0x10);
            ok = writeFile(path, damaged);
        } else if (i % 11 == 5) {
            ok = writeFile(path, recordBlock(type, serial, 1 + i % 23));
        } else if (i % 3 == 0) {
            ok = writeMeter(path, type, serial, {1 + i % 23, 2, 12});
        } else {
            ok = writeMeter(path, type, serial, {1 + i % 23});
        }
        if (!ok)
            return false;
    }
    return true;
}

// What the list holds of a meter: name, instrument, its bytes' digest, its row's fields.
QByteArray fingerprint(const ListedMeter &m)
{
    return m.fileName.toUtf8() + '|' + QByteArray::number(m.instrument.type) + '|'
           + QByteArray::number(m.instrument.serial) + '|' + QByteArray::number(m.identity.digest) + '|'
           + m.meterType.toUtf8() + '|' + m.serialText.toUtf8() + '|' + QByteArray::number(m.verificationCount);
}

QByteArrayList fingerprints(const QVector<ListedMeter> &meters)
{
    QByteArrayList list;
    for (const ListedMeter &m : meters)
        list << fingerprint(m);
    return list;
}

} // namespace

class TestFolderScan : public QObject {
    Q_OBJECT
private slots:
    void severalThreadsGiveTheListOfOne_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("threads");
        QTest::newRow("small folder, read on one thread") << 40 << 2;
        QTest::newRow("two threads") << 400 << 2;
        QTest::newRow("more threads than processors") << 400 << 7;
        QTest::newRow("one per processor") << 400 << 0;
    }

    void severalThreadsGiveTheListOfOne()
    {
        QFETCH(int, files);
        QFETCH(int, threads);
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString one = tmp.path() + QStringLiteral("/one");
        const QString many = tmp.path() + QStringLiteral("/many");
        QVERIFY(fillFolder(one, files));
        QVERIFY(fillFolder(many, files));
        const QVector<ListedMeter> sequential = ScanFolder(one, 1);
        const QVector<ListedMeter> parallel = ScanFolder(many, threads);
        const int damaged = (files + 3) / 7;
        QCOMPARE(sequential.size(), files - damaged);
        QCOMPARE(fingerprints(parallel), fingerprints(sequential));
        QVERIFY(std::is_sorted(parallel.begin(), parallel.end(),
                               [](const auto &a, const auto &b) { return a.fileName < b.fileName; }));

        // Both upgraded the same headerless files on disk and left the rest.
        const QStringList names = QDir(one).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        QCOMPARE(QDir(many).entryList(QDir::Files | QDir::Hidden, QDir::Name), names);
        for (const QString &name : names)
            QCOMPARE(testsupport::readAll(many + '/' + name), testsupport::readAll(one + '/' + name));
    }

    // Only regular files (and links to them) are read: opening a named pipe
    // or a device would wait for a writer, and the scan would never end.
    void specialFilesAreNotRead()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString folder = tmp.path();
        QVERIFY(writeMeter(folder + QStringLiteral("/a.pcn"), "A", 1, {2}));
        QVERIFY(QFile::link(folder + QStringLiteral("/a.pcn"), folder + QStringLiteral("/b-link.pcn")));
        QVERIFY(QFile::link(folder + QStringLiteral("/gone.pcn"), folder + QStringLiteral("/c-dangling.pcn")));
#ifdef Q_OS_UNIX
        QCOMPARE(::mkfifo(QFile::encodeName(folder + QStringLiteral("/p-pipe.pcn")).constData(), 0600), 0);
#endif
        QStringList names;
        for (const ListedMeter &m : ScanFolder(folder))
            names << m.fileName;
        QCOMPARE(names, (QStringList{QStringLiteral("a.pcn"), QStringLiteral("b-link.pcn")}));
    }
};

QTEST_GUILESS_MAIN(TestFolderScan)
#include "tst_folderscan.moc"
