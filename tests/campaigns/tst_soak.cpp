// Soak: many archive readings in a row from the instrument emulator in one
// process, each stored into the same folder. Open file descriptors must not
// grow, nor (outside the address sanitizer, whose quarantine holds freed
// memory on purpose) the resident memory. VARDOSK_SOAK_READINGS sets the
// number of readings (default 100).
#include "device/archivesession.h"
#include "device/connection.h"
#include "processes.h"
#include "records/recordstore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define VARDOSK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VARDOSK_ASAN 1
#endif
#endif

namespace {

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

qint64 residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

} // namespace

class TestSoak : public QObject {
    Q_OBJECT
private slots:
    void readingsInARowDoNotGrow();
};

void TestSoak::readingsInARowDoNotGrow()
{
    if (!testsupport::emulatorBuilt())
        QSKIP("the instrument emulator is not built");
    const int readings = qEnvironmentVariableIsSet("VARDOSK_SOAK_READINGS")
                             ? qEnvironmentVariableIntValue("VARDOSK_SOAK_READINGS")
                             : 100;
    testsupport::Emulator sim({QStringLiteral("--model-class"), QStringLiteral("0"), QStringLiteral("--records"),
                               QStringLiteral("2"), QStringLiteral("--points"), QStringLiteral("3")});
    QVERIFY(!sim.path.isEmpty());
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    RecordStore store(dir.path());
    device::Connection connection;
    connection.portName = sim.path;

    const int warmUp = std::min(10, readings);
    int fdsAfterWarmUp = 0;
    qint64 memoryAfterWarmUp = 0;
    for (int i = 0; i < readings; ++i) {
        device::ExchangeContext context;
        device::ArchiveSession session(device::makeLinkMaker(connection, context), context);
        QCOMPARE(session.identifyAndReadContent(), device::Status::Ok);
        QCOMPARE(session.readRecords({1, 2}), device::Status::Ok);
        QVERIFY(session.storeRecords(store).complete());
        if (i + 1 == warmUp) {
            fdsAfterWarmUp = openDescriptors();
            memoryAfterWarmUp = residentKiB();
        }
    }
    const int fds = openDescriptors();
    const qint64 memory = residentKiB();
    qInfo("%d readings: descriptors %d after %d, %d at the end; resident memory %lld KiB after %d, %lld KiB at the end",
          readings, fdsAfterWarmUp, warmUp, fds, memoryAfterWarmUp, warmUp, memory);
    QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("*.pcn")}, QDir::Files).size(), 2);
    QCOMPARE(fds, fdsAfterWarmUp);
#ifndef VARDOSK_ASAN
    QVERIFY2(memory - memoryAfterWarmUp < 4096, "resident memory grew by 4 MiB or more");
#endif
}

QTEST_GUILESS_MAIN(TestSoak)
#include "tst_soak.moc"
