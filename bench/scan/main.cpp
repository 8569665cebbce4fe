// bench-scan [COUNT [FOLDER]]: writes COUNT (default 10000) stored meter
// files of mixed sizes into a temporary folder (or into FOLDER, where they
// are kept for profiling), then compares the time of the folder
// scan (what selecting the folder does) with the time to merely list and read
// the same bytes, and reports the peak memory of the scan.
//
// Both timings run on a warm file cache (the files were just written and are
// read once before timing); each is the best of several rounds.
#include "benchdata.h"
#include "records/blockdata.h"
#include "records/meterfile.h"
#include "records/recordstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <algorithm>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <cstdio>
#include <ctime>

namespace {

// How long the store follows an unchanged folder.
constexpr int kQuietMs = 12000;

// A line of /proc/self/status in kilobytes ("VmHWM", "VmRSS"); -1 when unknown.
long statusKb(const char *key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    // /proc files report no size: read to the end, then look for the line.
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).simplified().split(' ').value(0).toLong();
    }
    return -1;
}

// Bytes of the heap in use (glibc); 0 elsewhere.
qint64 heapInUse()
{
#ifdef __GLIBC__
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
#else
    return 0;
#endif
}

// Resets the peak resident size to the current one (Linux: clear_refs 5).
void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;
    const int rounds = 5;
    QTextStream out(stdout);

    QTemporaryDir dir;
    if (!dir.isValid()) {
        out << "cannot create a temporary folder\n";
        return 1;
    }
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.path();
    if (!QDir().mkpath(folder)) {
        out << "cannot create " << folder << "\n";
        return 1;
    }

    const qint64 fileBytes = bench::writeMeterFolder(folder, count);
    if (fileBytes < 0) {
        out << "cannot write the meter files into " << folder << "\n";
        return 1;
    }
    out << "files: " << count << ", bytes: " << fileBytes << "\n";

    // Plain read: list the same files and read every byte of each.
    auto plainRead = [&]() {
        qint64 total = 0;
        const QStringList names = ListRecordFiles(folder);
        for (const QString &name : names) {
            QFile f(folder + QLatin1Char('/') + name);
            if (f.open(QIODevice::ReadOnly))
                total += f.readAll().size();
        }
        return total;
    };
    plainRead(); // warm the cache

    // Memory first, in a process that has not yet held a meter list: the heap
    // in use and the peak resident size while one scan builds its list, and
    // what the list holds afterwards.
    int meters = 0;
    {
        const long rssBefore = statusKb("VmRSS");
        const qint64 heapBefore = heapInUse();
        resetPeak();
        RecordStore store(folder + QLatin1Char('/'));
        store.SelectFolder(folder);
        const long hwm = statusKb("VmHWM");
        const qint64 heldBytes = heapInUse() - heapBefore;
        qint64 verifications = 0;
        for (const ListedMeter &m : store.meters())
            verifications += m.verificationCount;
        meters = int(store.meters().size());
        // The same list without the store: the rest is what the store keeps
        // beside it (the stamps of the files that could not be read).
        qint64 listBytes = 0;
        {
            const qint64 heapBeforeList = heapInUse();
            const QVector<ListedMeter> list = ScanFolder(folder);
            listBytes = heapInUse() - heapBeforeList;
        }
        out << "meters: " << meters << ", verifications: " << verifications << "\n";
        out << "memory: list held " << heldBytes / 1024 << " kB (" << heldBytes / std::max(1, meters)
            << " bytes per meter); RSS " << rssBefore << " kB before the scan, peak " << hwm << " kB during it (+"
            << hwm - rssBefore << " kB)\n";
        out << "of which the meter list: " << listBytes / std::max(1, meters)
            << " bytes per meter, the store's own the rest\n";
    }

    // In-process timings, alternating so that a drift of the machine's
    // speed touches all of them alike.
    QVector<double> readMs, oneThreadMs, scanMs;
    qint64 readTotal = 0;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer t;
        t.start();
        readTotal = plainRead();
        readMs.append(t.nsecsElapsed() / 1e6);

        t.start();
        const QVector<ListedMeter> sequential = ScanFolder(folder, 1);
        oneThreadMs.append(t.nsecsElapsed() / 1e6);

        t.start();
        const QVector<ListedMeter> list = ScanFolder(folder);
        scanMs.append(t.nsecsElapsed() / 1e6);
        meters = int(list.size());
    }

    const double read = median(readMs), one = median(oneThreadMs), scan = median(scanMs);
    out << "plain read (one thread): " << QString::number(read, 'f', 1) << " ms (" << readTotal << " bytes), median of "
        << rounds << "\n";
    out << "folder scan, one thread: " << QString::number(one, 'f', 1) << " ms\n";
    out << "folder scan, " << QThread::idealThreadCount() << " threads: " << QString::number(scan, 'f', 1) << " ms ("
        << meters << " meters)\n";
    out << "scan / read: " << QString::number(scan / read, 'f', 2)
        << " (one thread: " << QString::number(one / read, 'f', 2) << ")\n";

    // Following the disk while nothing changes: the processor time the
    // store's periodic comparison of the listing takes, as a share of one
    // processor over a quiet stretch.
    {
        RecordStore store(folder + QLatin1Char('/'));
        store.SelectFolder(folder);
        store.FollowDisk();
        const auto cpuNs = [] {
            timespec t{};
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
            return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
        };
        const qint64 cpuBefore = cpuNs();
        QElapsedTimer wall;
        wall.start();
        QEventLoop loop;
        QTimer::singleShot(kQuietMs, &loop, &QEventLoop::quit);
        loop.exec();
        const double share = double(cpuNs() - cpuBefore) / double(wall.nsecsElapsed());
        out << "following the disk, idle: " << QString::number(share, 'f', 3) << " of one processor over "
            << kQuietMs / 1000 << " s (" << store.scanCount() - 1 << " folder reads)\n";
    }
    return 0;
}
