// bench-find [COUNT [FOLDER]]: writes COUNT (default 100000) stored meter
// files into 100 folders of a temporary data folder (or of FOLDER, where
// they are kept), one in fifty of them under a name the user chose, then
// times on a warm file cache:
//   - listing every .pcn file below the data folder (names only), the
//     yardstick of the two searches (printed as "ratio" lines),
//   - finding the meters of a part of a serial number (a handful match),
//   - finding the meters of a part of a meter type (one in fifty match),
//   - locating 200 archive entries (half of them stored).
// Each time is the median of several rounds.
#include "benchdata.h"
#include "records/blockdata.h"
#include "records/meterfile.h"
#include "records/recordstore.h"
#include "records/storedindex.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace {

constexpr int kFolders = 100;
constexpr int kRounds = 5;

pcn::_totalblockdata makeMeter(int index)
{
    pcn::_blockdata b;
    b.meterType = QStringLiteral("CE301 M%1").arg(index % 50).leftJustified(14, QLatin1Char(' '));
    b.serial = 1000000u + std::uint32_t(index);
    b.serialText = QString::number(b.serial);
    b.accuracyClass = 1.0;
    b.constant = 1000;
    b.year = 2008;
    b.scheme = SchemeThreePhaseFourWire;
    b.uLineNom = 400;
    b.uPhaseNom = 230;
    b.iNom = 5;
    b.powerType = std::uint8_t(index % 5);
    bench::setMoment(b, QDate(2020 + index % 5, 1 + index % 12, 1 + index % 28),
                     QTime(index % 24, index % 60, (index / 60) % 60));
    pcn::_datasample p;
    p.U = {230, 230, 230};
    p.I = {5, 5, 5};
    p.range = {40, 0, 2, 400, 0, 0};
    b.points.append(p);
    pcn::_totalblockdata meter;
    meter.instrument.type = 3;
    meter.instrument.serial = 77;
    meter.verifications.append(b);
    return meter;
}

double medianMs(const std::function<qsizetype()> &work, qsizetype &result)
{
    QVector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        result = work();
        times.append(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = args.size() > 1 ? args.at(1).toInt() : 100000;
    QTemporaryDir temporary;
    const QString data = args.size() > 2 ? args.at(2) : temporary.path();
    QTextStream out(stdout);
    if (count <= 0 || data.isEmpty()) {
        out << "usage: bench-find [COUNT [FOLDER]]\n";
        return 2;
    }

    QVector<pcn::_datacounter> entries;
    QElapsedTimer writing;
    writing.start();
    for (int i = 0; i < count; ++i) {
        const QString folder = data + QStringLiteral("/workshop %1").arg(i % kFolders, 2, 10, QLatin1Char('0'));
        if (i < kFolders && !QDir().mkpath(folder)) {
            out << "cannot create " << folder << "\n";
            return 1;
        }
        const pcn::_totalblockdata meter = makeMeter(i);
        const QString name =
            i % 50 == 7 ? QStringLiteral("renamed %1.pcn").arg(i) : ReceivedRecordFileName(meter.verifications.first());
        // A plain write: the store's atomic, synced write would make the
        // set-up take minutes.
        QFile file(folder + QLatin1Char('/') + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(encodeMeterFile(meter)) <= 0) {
            out << "cannot write " << name << "\n";
            return 1;
        }
        if (i % (std::max(count / 100, 1)) == 0)
            entries.append(meter.verifications.first());
    }
    // As many entries again that are stored nowhere.
    const int stored = int(entries.size());
    for (int k = 0; k < stored; ++k)
        entries.append(makeMeter(count + k).verifications.first());
    out << count << " files written into " << kFolders << " folders in " << writing.elapsed() << " ms\n";

    // Warm the cache of names and of the first bytes once.
    ListStoredFiles(data);

    qsizetype result = 0;
    const double listMs = medianMs([&] { return ListStoredFiles(data).size(); }, result);
    out << "list names:            " << listMs << " ms, " << result << " files\n";
    double ms = medianMs(
        [&] {
            return FindMeters(data, MeterQuery{QStringLiteral("04242"), QString()}).size();
        },
        result);
    out << "find serial \"04242\":   " << ms << " ms, " << result << " meters\n";
    // The yardstick of a search is the plain listing of the same names: no
    // search can avoid it. bench/run puts these lines into its table.
    out << "ratio find-serial " << QString::number(ms / listMs, 'f', 3) << "\n";
    ms = medianMs([&] { return FindMeters(data, MeterQuery{QString(), QStringLiteral("m17")}).size(); }, result);
    out << "find type \"m17\":       " << ms << " ms, " << result << " meters\n";
    out << "ratio find-type " << QString::number(ms / listMs, 'f', 3) << "\n";
    ms = medianMs(
        [&] {
            const auto located = LocateStored(data, entries);
            return qsizetype(std::count_if(located.begin(), located.end(), [](const auto &f) { return bool(f); }));
        },
        result);
    out << "locate " << entries.size() << " entries:    " << ms << " ms, " << result << " stored\n";
    return 0;
}
