#include "folderimport.h"

#include <QDir>
#include <QDirIterator>

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

std::uint8_t matchCurrentCode(const InstrumentProfile &profile, double amperes, bool clamp)
{
    for (const CurrentRange &r : profile.currentRanges)
        if (r.clamp == clamp && std::fabs(r.amperes - amperes) < 1e-6)
            return r.code;
    return pickCurrentCode(profile, amperes, clamp);
}

} // namespace

SimRecord recordFromVerification(const pcn::_blockdata &verification, int storedType, const InstrumentProfile &profile)
{
    SimRecord rec;
    rec.data = verification;
    if (rec.data.points.size() > 10)
        rec.data.points.resize(10);
    if (rec.data.bcdYear == 0 && rec.data.date.isValid())
        fillBcd(rec.data);
    // Current ranges of the older single-phase files are stored as plain
    // amperes, all others as quarter amperes.
    const bool plainIntegers = storedType == 1 || storedType == 2;
    for (pcn::_datasample &pt : rec.data.points) {
        const double amperes = (plainIntegers ? pt.range[0] : pt.range[0] / 4) + pt.range[1] / 65536.0;
        const double volts = pt.range[3] + pt.range[4] / 65536.0;
        pt.currentRangeCode = amperes > 0 ? matchCurrentCode(profile, amperes, pt.range[2] == 2)
                                          : pickCurrentCode(profile, pt.I[0], false);
        pt.voltageRangeCode = pickVoltageCode(profile, volts > 0 ? volts : pt.U[0]);
    }
    return rec;
}

} // namespace sim

#include "records/meterfile.h"

#include <QFile>

namespace sim {

bool loadArchiveFromFolder(const QString &folder, const InstrumentProfile &profile, QVector<SimRecord> &archive,
                           QString &error)
{
    if (!QDir(folder).exists()) {
        error = QStringLiteral("--from-folder: %1 is not a folder").arg(folder);
        return false;
    }
    QStringList paths;
    QDirIterator it(folder, QStringList{QStringLiteral("*.pcn"), QStringLiteral("*.PCN")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(it.next());
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    archive.clear();
    for (const QString &path : paths) {
        // The bytes are decoded without touching the file: the emulator never
        // upgrades or otherwise changes the user's stored files.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxMeterFileSize)
            continue;
        const QByteArray bytes = file.readAll();
        const MeterFileReadResult result = parseMeterFile(bytes);
        if (!result.readable)
            continue;
        for (const pcn::_blockdata &v : result.meter.verifications)
            archive.append(recordFromVerification(v, pcn::storedInstrumentType(result.meter, v), profile));
    }
    if (archive.isEmpty()) {
        error = QStringLiteral("--from-folder: no readable .pcn file below %1").arg(folder);
        return false;
    }
    return true;
}

} // namespace sim
