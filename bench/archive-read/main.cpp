// Reads the archive of the instrument emulator the way the program does
// (identify, content, 50 records, conversion and storage) for an older and a
// newer instrument whose answers leave at the pace of a 115200 bit/s line.
//
// The floor of a reading is what the protocol itself costs: its pauses
// (100 ms after identify, 100 ms before every older record, 500 ms before
// every newer one, 5 ms after every 32 request bytes) and the time every
// request and answer byte spends on the line at 10 bits a byte. The program
// should come within 10% of it and spend less than a tenth of the wall time
// on the processor. (The emulator paces its answers only; the request bytes
// reach it at once, so the wall time may fall a little below the floor.)
#include "device/archivesession.h"
#include "device/connection.h"
#include "deviceoutcome/status.h"
#include "records/recordstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

namespace {

constexpr int kRecords = 50;
constexpr int kBaud = 115200;

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Generation {
    const char *name;
    int modelClass;
    // Identify over a serial port: the older request first; a newer
    // instrument answers it with a page of 0xFF bytes, then the newer one.
    int identifyBytes; // requests and answers
    int contentPerPage, contentAnswer;
    int recordPauseMs;
};

// Request and answer sizes of each step (frame = 6 bytes around the payload).
const Generation kGenerations[] = {
    {"older (class 0)", 0, 12 + (1024 + 6), 32, 1024 + 6, 100},
    {"newer (class 3)", 3, 12 + (1024 + 6) + 10 + (512 + 6), 16, 512 + 6, 500},
};

struct Floor {
    qint64 lineBytes = 0;
    double pauses = 0;
    double seconds() const { return pauses + double(lineBytes) * 10.0 / kBaud; }
};

Floor floorOf(const Generation &g)
{
    Floor f;
    const int contentPages = (kRecords + g.contentPerPage - 1) / g.contentPerPage;
    const int pageRequest = 12;
    const int recordRequest = 12;
    const int recordAnswer = 1024 + 6;
    f.lineBytes = g.identifyBytes;
    f.lineBytes += qint64(contentPages) * (pageRequest + g.contentAnswer);
    f.lineBytes += qint64(kRecords) * (recordRequest + recordAnswer);
    f.pauses = 0.100 + kRecords * g.recordPauseMs / 1000.0;
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QString sim = QCoreApplication::applicationDirPath() + QStringLiteral("/vardosk-instrument-sim");
    if (!QFile::exists(sim)) {
        out << "vardosk-instrument-sim not found beside the benchmark\n";
        return 1;
    }
    out << "Reading " << kRecords << " verifications (10 points each) at " << kBaud << " bit/s\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
               .arg(QStringLiteral("generation"), -16)
               .arg(QStringLiteral("bytes"), 7)
               .arg(QStringLiteral("floor s"), 8)
               .arg(QStringLiteral("wall s"), 8)
               .arg(QStringLiteral("wall/floor"), 10)
               .arg(QStringLiteral("CPU s"), 7)
               .arg(QStringLiteral("CPU/wall"), 8);
    int failures = 0;
    for (const Generation &g : kGenerations) {
        QProcess emulator;
        emulator.start(sim, {QStringLiteral("--model-class"), QString::number(g.modelClass),
                             QStringLiteral("--records"), QString::number(kRecords), QStringLiteral("--points"),
                             QStringLiteral("10"), QStringLiteral("--baud"), QString::number(kBaud)});
        if (!emulator.waitForStarted(5000) || !emulator.waitForReadyRead(5000)) {
            out << g.name << ": the emulator did not start\n";
            return 1;
        }
        const QString port = QString::fromLocal8Bit(emulator.readLine()).trimmed();
        QTemporaryDir folder;

        device::Connection connection;
        connection.portName = port;
        connection.baudRate = kBaud;
        device::ExchangeContext context;
        std::atomic<bool> cancel{false};
        context.cancel = &cancel;
        qint64 answerBytes = 0;
        context.progress = [&answerBytes](qint64, qint64) { ++answerBytes; };
        device::ArchiveSession session(device::makeLinkMaker(connection, context), context);

        const double cpu0 = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        device::Status rc = session.identifyAndReadContent();
        QVector<int> numbers;
        for (int k = 1; k <= kRecords; ++k)
            numbers << k;
        if (rc == device::Status::Ok)
            rc = session.readRecords(numbers);
        int stored = 0;
        if (rc == device::Status::Ok) {
            RecordStore store(folder.path() + QLatin1Char('/'));
            stored = int(session.storeRecords(store).written.size());
        }
        const double wallSeconds = double(wall.nsecsElapsed()) / 1e9;
        const double cpu = cpuSeconds() - cpu0;
        emulator.terminate();
        emulator.waitForFinished(3000);

        const Floor floor = floorOf(g);
        if (rc != device::Status::Ok || stored != kRecords) {
            out << g.name << ": reading failed with result " << device::code(rc) << ", " << stored << " stored\n";
            ++failures;
            continue;
        }
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                   .arg(QString::fromLatin1(g.name), -16)
                   .arg(floor.lineBytes, 7)
                   .arg(floor.seconds(), 8, 'f', 3)
                   .arg(wallSeconds, 8, 'f', 3)
                   .arg(wallSeconds / floor.seconds(), 10, 'f', 3)
                   .arg(cpu, 7, 'f', 3)
                   .arg(cpu / wallSeconds, 8, 'f', 3);
        out << QStringLiteral("    answer bytes counted by the program: %1; pauses %2 s\n")
                   .arg(answerBytes)
                   .arg(floor.pauses, 0, 'f', 3);
    }
    out << "target: wall/floor at most 1.10, CPU/wall below 0.10\n";
    return failures == 0 ? 0 : 1;
}
