// Disk full: every write of the program on a real file system that runs out
// of space. As root the test mounts a small tmpfs; each operation runs three
// times on it, in a folder already holding one file of every kind: with
// room (it must succeed: the control that it can), with the disk nearly full
// (one page less free than the files it writes take, so a write breaks off
// part way) and with the disk full. Without room an operation must report
// the failure, every file that was there must read back byte for byte, no
// temporary file may stay behind, and a file the operation says it wrote
// must read whole. Skipped unless run as root with tmpfs mountable.
#include "../meterdb/meterdbsamples.h"
#include "base/settingsfile.h"
#include "device/archivesession.h"
#include "device/connection.h"
#include "export/foldercsv.h"
#include "meterdb/bdcfile.h"
#include "processes.h"
#include "records/meterfile.h"
#include "records/recordops.h"
#include "records/recordstore.h"
#include "reports/pagerender.h"
#include "reports/reportfile.h"
#include "samplerecords.h"
#include "testdir.h"

#include <QDir>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <functional>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

const QString kFiller = QStringLiteral("filler");

// The files the folder holds before each operation, as the program wrote
// them; the operations replace them or write beside them.
struct Samples {
    pcn::_totalblockdata target, source, pasteBase, received;
    AppSettings settings;
    meterdb::MeterList meterList;
    report::ReportPages pages;

    Samples()
    {
        // Several verifications each, so that a meter file spans more than
        // one page of the file system.
        target = testsupport::sampleMeter(QStringLiteral("CE301"), QStringLiteral("111"), 4, 3, 3);
        source = testsupport::sampleMeter(QStringLiteral("CE301"), QStringLiteral("111"), 4, 3, 3);
        source.verifications.removeFirst(); // other moments than the target's
        pasteBase = testsupport::sampleMeter(QStringLiteral("SO505"), QStringLiteral("222"), 4, 5, 5);
        pasteBase.verifications[1].powerType = pasteBase.verifications[0].powerType;
        received = testsupport::sampleMeter(QStringLiteral("RX"), QStringLiteral("900"), 4, 1, 2);
        settings = defaultSettings();
        meterList = meterdbtest::entries(10);
        report::ReportPage page;
        for (int row = 0; row < 60; ++row)
            page.items << report::textItem(QRectF(20, 10 + 4 * row, 170, 4),
                                           QStringLiteral("Row %1 of the report").arg(row),
                                           report::FontSpec{QStringLiteral("Arial"), 9.0}, Qt::AlignLeft);
        pages.title = QStringLiteral("Report");
        pages.pages = {page, page};
    }
};

QString in(const QString &folder, const char *name)
{
    return folder + QLatin1Char('/') + QLatin1String(name);
}

// One operation of the program that writes files. `run` performs it in the
// folder and tells whether it reported success; the paths it says it wrote
// go to `written`.
struct Operation {
    const char *name;
    std::function<bool(const Samples &, const QString &folder, const QString &simPath, QStringList &written)> run;
};

const QVector<Operation> &operations()
{
    static const QVector<Operation> list{
        Operation{"read archive",
                  [](const Samples &, const QString &folder, const QString &simPath, QStringList &written) {
                      device::Connection connection;
                      connection.portName = simPath;
                      device::ExchangeContext context;
                      device::ArchiveSession session(device::makeLinkMaker(connection, context), context);
                      if (session.identifyAndReadContent() != device::Status::Ok
                          || session.readRecords({1, 2, 3}) != device::Status::Ok)
                          return false;
                      RecordStore store(folder + QLatin1Char('/'));
                      const ArchiveStoreReport report = session.storeRecords(store);
                      written = report.written;
                      return report.complete() && report.due() == 3;
                  }},
        {"merge",
         [](const Samples &, const QString &folder, const QString &, QStringList &) {
             return MergeMeterFiles(in(folder, "source.pcn"), in(folder, "target.pcn"), true).result
                    == MergeResult::Merged;
         }},
        {"paste element",
         [](const Samples &, const QString &folder, const QString &, QStringList &) {
             const MeterFileReadResult read = ReadMeterFile(in(folder, "paste.pcn"));
             const auto pasted = read.readable ? PasteElement(read.meter, 0, 1) : std::nullopt;
             return pasted && WriteMeterFile(in(folder, "paste.pcn"), *pasted);
         }},
        {"paste file",
         [](const Samples &, const QString &folder, const QString &, QStringList &) {
             return bool(CopyMeterFile(in(folder, "target.pcn"), in(folder, "copy.pcn")));
         }},
        {"store received record",
         [](const Samples &s, const QString &folder, const QString &, QStringList &) {
             // The same name (type, serial, moment, power type), another
             // content: the file of the earlier reading is replaced.
             pcn::_totalblockdata changed = s.received;
             changed.verifications[0].constant += 1;
             const QByteArray bytes = encodeMeterFile(changed);
             RecordStore store(folder + QLatin1Char('/'));
             return store.StoreReceivedRecord(bytes.left(67), bytes.mid(67), changed.verifications[0]).has_value();
         }},
        {"config.cfg",
         [](const Samples &s, const QString &folder, const QString &, QStringList &) {
             AppSettings changed = s.settings;
             changed.language = 1 - changed.language;
             return saveSettingsFile(in(folder, "config.cfg"), changed);
         }},
        {"meter database",
         [](const Samples &s, const QString &folder, const QString &, QStringList &) {
             return meterdb::saveBdcFile(in(folder, "meters.bdc"), s.meterList.mid(0, 5)) == meterdb::BdcSave::Ok;
         }},
        {"report file",
         [](const Samples &s, const QString &folder, const QString &, QStringList &) {
             report::ReportPages more = s.pages;
             more.pages << more.pages.first();
             return report::saveReportFile(in(folder, "protocol.QRP"), more) == report::ReportFileError::None;
         }},
        {"PDF",
         [](const Samples &s, const QString &folder, const QString &, QStringList &) {
             report::ReportPages more = s.pages;
             more.pages << more.pages.first();
             return report::writePdfFile(more, in(folder, "protocol.pdf"));
         }},
        {"folder export",
         [](const Samples &s, const QString &folder, const QString &, QStringList &) {
             return ExportFolderCsv(in(folder, "register.csv"), {s.target, s.source, s.pasteBase, s.received},
                                    catalogTextLookup(1));
         }},
    };
    return list;
}

qint64 freeBytes(const QString &folder)
{
    struct statvfs st {};
    if (::statvfs(QFile::encodeName(folder).constData(), &st) != 0)
        return -1;
    return qint64(st.f_bavail) * qint64(st.f_bsize);
}

// Fills the file system with one file until a write is refused, then gives
// `leave` bytes (whole pages) back.
bool fill(const QString &folder, qint64 leave)
{
    const int fd = ::open(QFile::encodeName(in(folder, "filler")).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    static const QByteArray page(4096, 'x');
    qint64 size = 0;
    for (;;) {
        const ssize_t n = ::write(fd, page.constData(), size_t(page.size()));
        if (n <= 0)
            break;
        size += n;
    }
    const bool ok = errno == ENOSPC && ::ftruncate(fd, size - leave) == 0;
    ::close(fd);
    return ok;
}

using Snapshot = QMap<QString, QByteArray>;

Snapshot snapshot(const QString &folder)
{
    Snapshot files;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (name != kFiller)
            files.insert(name, testsupport::readAll(folder + QLatin1Char('/') + name));
    }
    return files;
}

} // namespace

class TestDiskFull : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void failsAndLosesNothing_data();
    void failsAndLosesNothing();

private:
    bool writeSamples(const QString &folder) const;

    QTemporaryDir m_dir;
    QString m_mount;
    Samples m_samples;
    QMap<QString, qint64> m_pagesNeeded; // per operation, measured with room
};

void TestDiskFull::initTestCase()
{
    if (::geteuid() != 0)
        QSKIP("the disk-full campaign mounts a tmpfs and needs root");
    QVERIFY(m_dir.isValid());
    const QString mountPoint = m_dir.filePath(QStringLiteral("small"));
    QVERIFY(QDir().mkpath(mountPoint));
    if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=512k,mode=0755") != 0)
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs: %1").arg(QString::fromLocal8Bit(std::strerror(errno)))));
    m_mount = mountPoint;
}

void TestDiskFull::cleanupTestCase()
{
    if (!m_mount.isEmpty() && ::umount2(QFile::encodeName(m_mount).constData(), MNT_DETACH) != 0)
        qWarning("cannot unmount %s: %s", qPrintable(m_mount), std::strerror(errno));
    m_mount.clear();
}

bool TestDiskFull::writeSamples(const QString &folder) const
{
    const Samples &s = m_samples;
    const QByteArray received = encodeMeterFile(s.received);
    return WriteMeterFile(in(folder, "target.pcn"), s.target) && WriteMeterFile(in(folder, "source.pcn"), s.source)
           && WriteMeterFile(in(folder, "paste.pcn"), s.pasteBase)
           && WriteRecordFile(folder + QLatin1Char('/') + ReceivedRecordFileName(s.received.verifications.first()),
                              received.left(67), received.mid(67))
           && saveSettingsFile(in(folder, "config.cfg"), s.settings)
           && meterdb::saveBdcFile(in(folder, "meters.bdc"), s.meterList) == meterdb::BdcSave::Ok
           && report::saveReportFile(in(folder, "protocol.QRP"), s.pages) == report::ReportFileError::None
           && report::writePdfFile(s.pages, in(folder, "protocol.pdf"))
           && ExportFolderCsv(in(folder, "register.csv"), {s.target}, catalogTextLookup(1));
}

void TestDiskFull::failsAndLosesNothing_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("disk"); // "room", "nearly full", "full"
    for (int i = 0; i < operations().size(); ++i) {
        for (const char *disk : {"room", "nearly full", "full"})
            QTest::addRow("%s, %s", operations().at(i).name, disk) << i << QString::fromLatin1(disk);
    }
}

void TestDiskFull::failsAndLosesNothing()
{
    QFETCH(int, operation);
    QFETCH(QString, disk);
    const Operation &op = operations().at(operation);
    const QString folder = m_mount;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        QVERIFY(QFile::remove(folder + QLatin1Char('/') + name));
    QVERIFY(writeSamples(folder));
    const Snapshot before = snapshot(folder);
    const int recordsBefore = int(ScanFolder(folder, 1).size());

    std::unique_ptr<testsupport::Emulator> sim;
    if (operation == 0) {
        if (!testsupport::emulatorBuilt())
            QSKIP("the instrument emulator is not built");
        sim = std::make_unique<testsupport::Emulator>(QStringList{QStringLiteral("--model-class"), QStringLiteral("0"),
                                                                  QStringLiteral("--records"), QStringLiteral("3"),
                                                                  QStringLiteral("--points"), QStringLiteral("2")});
        QVERIFY(!sim->path.isEmpty());
    }
    QStringList written;
    if (disk == QLatin1String("room")) {
        // The control: with room the operation succeeds; the pages its new
        // and changed files take are what the nearly full disk lacks.
        QVERIFY(op.run(m_samples, folder, sim ? sim->path : QString(), written));
        qint64 pages = 0;
        const Snapshot after = snapshot(folder);
        for (auto it = after.cbegin(); it != after.cend(); ++it) {
            if (before.value(it.key()) != it.value())
                pages += (it.value().size() + 4095) / 4096;
        }
        QVERIFY(pages > 0);
        qInfo("%s writes %lld pages", op.name, pages);
        m_pagesNeeded.insert(QString::fromLatin1(op.name), pages);
        return;
    }
    const qint64 needed = m_pagesNeeded.value(QString::fromLatin1(op.name), 1);
    const qint64 leave = disk == QLatin1String("full") ? 0 : (needed - 1) * 4096;
    QVERIFY(fill(folder, leave));
    QCOMPARE(freeBytes(folder), leave);

    QVERIFY2(!op.run(m_samples, folder, sim ? sim->path : QString(), written), "a failed write reported as success");

    // Every file that was there is as it was; nothing else is there but the
    // files the operation says it wrote, and each of those reads whole.
    const Snapshot after = snapshot(folder);
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
    QStringList extra;
    for (const QString &name : after.keys()) {
        if (!before.contains(name))
            extra << name;
    }
    QStringList claimed;
    for (const QString &path : written) {
        claimed << QFileInfo(path).fileName();
        QVERIFY2(ReadMeterFile(path).readable, qPrintable(path));
    }
    claimed.removeDuplicates();
    claimed.sort();
    qInfo("%s, %s: failure reported, %d files written whole", op.name, qPrintable(disk), int(claimed.size()));
    QCOMPARE(extra, claimed);
    QCOMPARE(int(ScanFolder(folder, 1).size()), recordsBefore + int(claimed.size()));
    QVERIFY(QFile::remove(in(folder, "filler")));
}

QTEST_MAIN(TestDiskFull)
#include "tst_diskfull.moc"
