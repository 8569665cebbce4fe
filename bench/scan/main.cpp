// bench-scan [COUNT [FOLDER]]: writes COUNT (default 10000) stored meter
// files of mixed sizes into a temporary folder (or into FOLDER, where they
// are kept for profiling), then compares the time of the folder
// scan (what selecting the folder does) with the time to merely list and read
// the same bytes, and reports the peak memory of the scan.
//
// Both timings run on a warm file cache (the files were just written and are
// read once before timing); each is the best of several rounds.
#include "records/blockdata.h"
#include "records/meterfile.h"
#include "records/recordlabels.h"
#include "records/recordstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <cstdio>

namespace {

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

pcn::_datasample makePoint(QRandomGenerator &rng)
{
    pcn::_datasample p;
    for (int k = 0; k < 3; ++k) {
        p.U[k] = 220.0 + rng.bounded(20.0);
        p.I[k] = 0.05 + rng.bounded(5.0);
        p.Uline[k] = 380.0 + rng.bounded(20.0);
        p.cosPhi[k] = 0.5 + rng.bounded(0.5);
        p.S[k] = p.U[k] * p.I[k];
        p.P[k] = p.S[k] * p.cosPhi[k];
    }
    p.Ptotal = p.P[0] + p.P[1] + p.P[2];
    p.Stotal = p.S[0] + p.S[1] + p.S[2];
    p.QcrossTotal = p.Stotal * 0.3;
    p.QshiftTotal = p.Stotal * 0.3;
    p.QgeomTotal = p.Stotal * 0.3;
    p.errorPercent = rng.bounded(2.0) - 1.0;
    p.range = {40, 0, 2, 400, 0, 0};
    return p;
}

pcn::_totalblockdata makeMeter(int index, QRandomGenerator &rng)
{
    pcn::_totalblockdata meter;
    meter.instrument.type = 0;
    meter.instrument.serial = 77;
    const int verifications = 1 + index % 3;
    for (int v = 0; v < verifications; ++v) {
        pcn::_blockdata b;
        b.meterType = QStringLiteral("CE301 %1").arg(index % 50).leftJustified(14, QLatin1Char(' '));
        b.serial = 100000u + quint32(index);
        b.serialText = QString::number(b.serial);
        b.accuracyClass = 1.0;
        b.constant = 1000;
        b.year = 2008;
        b.scheme = SchemeThreePhaseFourWire;
        b.uLineNom = 400;
        b.uPhaseNom = 230;
        b.iNom = 5;
        b.powerType = quint8(v);
        b.date = QDate(2009, 1 + index % 12, 1 + index % 28);
        b.time = QTime(index % 24, index % 60, v);
        b.bcdYear = 0x2009;
        b.bcdMonth = quint8(((b.date.month() / 10) << 4) | (b.date.month() % 10));
        b.bcdDay = quint8(((b.date.day() / 10) << 4) | (b.date.day() % 10));
        b.bcdHour = quint8(((b.time.hour() / 10) << 4) | (b.time.hour() % 10));
        b.bcdMinute = quint8(((b.time.minute() / 10) << 4) | (b.time.minute() % 10));
        b.bcdSecond = quint8(v);
        // Mostly 3 to 10 points; every seventh verification has 11 to 20.
        const int points = (index + v) % 7 == 0 ? 11 + int(rng.bounded(10)) : 3 + int(rng.bounded(8));
        for (int k = 0; k < points; ++k)
            b.points.append(makePoint(rng));
        meter.verifications.append(b);
    }
    return meter;
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

    QRandomGenerator rng(20090615);
    qint64 fileBytes = 0;
    for (int i = 0; i < count; ++i) {
        const pcn::_totalblockdata meter = makeMeter(i, rng);
        const QString path = folder + QStringLiteral("/m%1.pcn").arg(i, 5, 10, QLatin1Char('0'));
        // The program's own encoding, written without the flush to disk of
        // the atomic write so that setting up takes seconds, not minutes.
        const QByteArray bytes = encodeMeterFile(meter);
        QFile f(path);
        if (bytes.isEmpty() || !f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
            out << "cannot write " << path << "\n";
            return 1;
        }
        fileBytes += bytes.size();
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
    const RecordLabels labels = RecordLabels::defaults(1, QLocale::c());
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
        store.setLabels(labels);
        store.SelectFolder(folder);
        const long hwm = statusKb("VmHWM");
        const qint64 heldBytes = heapInUse() - heapBefore;
        qint64 verifications = 0, points = 0;
        for (const pcn::_totalblockdata &m : store.meters()) {
            verifications += m.verifications.size();
            for (const pcn::_blockdata &b : m.verifications)
                points += b.points.size();
        }
        meters = int(store.meters().size());
        out << "meters: " << meters << ", verifications: " << verifications << ", points: " << points << "\n";
        out << "memory: list held " << heldBytes / 1024 << " kB (" << heldBytes / std::max(1, meters)
            << " bytes per meter, " << heldBytes / std::max<qint64>(1, points) << " bytes per point); RSS "
            << rssBefore << " kB before the scan, peak " << hwm << " kB during it (+" << hwm - rssBefore
            << " kB)\n";
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
        const QVector<pcn::_totalblockdata> sequential = ScanFolder(folder, labels, 1);
        oneThreadMs.append(t.nsecsElapsed() / 1e6);

        t.start();
        const QVector<pcn::_totalblockdata> list = ScanFolder(folder, labels);
        scanMs.append(t.nsecsElapsed() / 1e6);
        meters = int(list.size());
    }

    const double read = median(readMs), one = median(oneThreadMs), scan = median(scanMs);
    out << "plain read (one thread): " << QString::number(read, 'f', 1) << " ms (" << readTotal
        << " bytes), median of " << rounds << "\n";
    out << "folder scan, one thread: " << QString::number(one, 'f', 1) << " ms\n";
    out << "folder scan, " << QThread::idealThreadCount() << " threads: " << QString::number(scan, 'f', 1) << " ms ("
        << meters << " meters)\n";
    out << "scan / read: " << QString::number(scan / read, 'f', 2) << " (one thread: "
        << QString::number(one / read, 'f', 2) << ")\n";
    return 0;
}
