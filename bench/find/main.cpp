// bench-find [COUNT [FOLDER]]: writes COUNT (default 100000) stored meter
// files into 100 folders of a temporary data folder (or of FOLDER, where
// they are kept, and used again by the next run of the same COUNT), one in
// fifty of them under a name the user chose, then
// times on a warm file cache:
//   - listing every .pcn file below the data folder (names only), the
//     yardstick of the two searches (printed as "ratio" lines),
//   - finding the meters of a part of a serial number (a handful match),
//   - finding the meters of a part of a meter type (one in fifty match),
//   - locating 200 archive entries (half of them stored).
// The four run in turn, round after round; each time and each ratio is the
// median of the rounds.
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
constexpr int kRounds = 7;

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

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
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

    // A kept folder already written with the same count is used as it is.
    const QString writtenMark = data + QStringLiteral("/.written-%1").arg(count);
    const bool written = QFile::exists(writtenMark);
    QVector<pcn::_datacounter> entries;
    QElapsedTimer writing;
    writing.start();
    for (int i = 0; i < count; ++i) {
        if (written) {
            if (i % (std::max(count / 100, 1)) == 0)
                entries.append(makeMeter(i).verifications.first());
            continue;
        }
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
    if (!written)
        QFile(writtenMark).open(QIODevice::WriteOnly);
    // As many entries again that are stored nowhere.
    const int stored = int(entries.size());
    for (int k = 0; k < stored; ++k)
        entries.append(makeMeter(count + k).verifications.first());
    out << count << " files " << (written ? "kept" : "written") << " in " << kFolders << " folders ("
        << writing.elapsed() << " ms)\n";

    // Warm the cache of names and of the first bytes once.
    ListStoredFiles(data);

    // The four in turn, round after round, so that a change of the
    // machine's speed touches all alike; each search's ratio to the listing
    // is taken within its round and the median of the rounds printed.
    const auto timed = [](const std::function<qsizetype()> &work, qsizetype &result) {
        QElapsedTimer timer;
        timer.start();
        result = work();
        return double(timer.nsecsElapsed()) / 1e6;
    };
    QVector<double> listMs, serialMs, typeMs, locateMs, serialRatio, typeRatio;
    qsizetype listed = 0, bySerial = 0, byType = 0, located = 0;
    for (int round = 0; round < kRounds; ++round) {
        listMs.append(timed([&] { return ListStoredFiles(data).size(); }, listed));
        serialMs.append(timed(
            [&] {
                return FindMeters(data, MeterQuery{QStringLiteral("04242"), QString()}).size();
            },
            bySerial));
        typeMs.append(timed(
            [&] {
                return FindMeters(data, MeterQuery{QString(), QStringLiteral("m17")}).size();
            },
            byType));
        locateMs.append(timed(
            [&] {
                const auto folders = LocateStored(data, entries);
                return qsizetype(std::count_if(folders.begin(), folders.end(), [](const auto &f) { return bool(f); }));
            },
            located));
        serialRatio.append(serialMs.last() / listMs.last());
        typeRatio.append(typeMs.last() / listMs.last());
    }
    out << "list names:            " << median(listMs) << " ms, " << listed << " files\n";
    out << "find serial \"04242\":   " << median(serialMs) << " ms, " << bySerial << " meters\n";
    out << "find type \"m17\":       " << median(typeMs) << " ms, " << byType << " meters\n";
    out << "locate " << entries.size() << " entries:    " << median(locateMs) << " ms, " << located << " stored\n";
    // The yardstick of a search is the plain listing of the same names: no
    // search can avoid it. bench/run puts these lines into its table.
    out << "ratio find-serial " << QString::number(median(serialRatio), 'f', 3) << "\n";
    out << "ratio find-type " << QString::number(median(typeRatio), 'f', 3) << "\n";
    return 0;
}
