#include "meterdb.h"

#include "wire.h"

#include "base/checksum.h"

#include <QFile>
#include <QSaveFile>

#include <cmath>

namespace sim {

QByteArray defaultMeterImage()
{
    struct Entry {
        const char16_t *type;
        std::uint32_t serial;
        std::int16_t year;
        double accuracy;
        std::uint32_t constant;
        double uLine, uPhase, iNom;
        std::int16_t i1, i2;
    };
    const Entry entries[10] = {
        {u"ЦЭ6803В-М", 123456789, 2019, 1.0, 1600, 380, 220, 5, 1, 1},
        {u"KVM-3T.05", 70001, 2020, 0.5, 5000, 100, 57.7, 5, 100, 5},
        {u"ALFA A3-R", 4294967, 2018, 0.2, 20000, 100, 57.7, 1, 50, 5},
        {u"SM-102", 1, 2022, 1.0, 3200, 220, 220, 10, 1, 1},
        {u"NEVA-101 AS", 65536, 2023, 1.0, 6400, 230, 230, 5, 1, 1},
        {u"ОДНОФАЗ-1", 999999999, 2021, 2.0, 800, 220, 220, 10, 1, 1},
        {u"ТРИФАЗА 3Ф-100", 31415, 2015, 1.15, 100000, 380, 220, 12.5, 1000, 5},
        {u"M-7 (R)", 27182, 1999, 2.5, 500, 100.1, 57.7, 1.5, 4095, 15},
        {u"A+B_C.D", 161803, 1960, 0.01, 1, 999.9, 999.9, 999.9, 1, 1},
        {u"Z", 0, 2024, 9.99, 999999999, 0, 0, 0, 1, 1},
    };
    QByteArray image(400, '\0');
    for (int i = 0; i < 10; ++i) {
        const Entry &e = entries[i];
        QByteArray type;
        encodeTypeText(QString::fromUtf16(e.type), type);
        image.replace(16 * i, 16, type);
        const int r = 160 + 24 * i;
        putHighLow(image, r, e.serial);
        putU16(image, r + 4, static_cast<std::uint16_t>(e.year));
        putU16(image, r + 6, static_cast<std::uint16_t>(std::lround(e.accuracy * 100)));
        putHighLow(image, r + 8, e.constant);
        putU16(image, r + 12, static_cast<std::uint16_t>(std::lround(e.uLine * 10)));
        putU16(image, r + 14, static_cast<std::uint16_t>(std::lround(e.uPhase * 10)));
        putU16(image, r + 16, static_cast<std::uint16_t>(std::lround(e.iNom * 10)));
        putU16(image, r + 18, static_cast<std::uint16_t>(e.i1));
        putU16(image, r + 20, static_cast<std::uint16_t>(e.i2));
    }
    return image;
}

MeterDatabase::MeterDatabase(bool newer) : area_(newer ? 512 : 1024, '\0')
{
    area_.replace(0, 400, defaultMeterImage());
    if (newer)
        StoreChecksum(reinterpret_cast<std::uint8_t *>(area_.data()), 510);
}

bool MeterDatabase::attachFile(const QString &path, QString &error)
{
    path_ = path;
    QFile file(path);
    if (!file.exists())
        return save(error);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.size() != area_.size()) {
        error = QStringLiteral("%1 holds %2 bytes; this instrument's meter database has %3")
                    .arg(path)
                    .arg(bytes.size())
                    .arg(area_.size());
        return false;
    }
    area_ = bytes;
    return true;
}

bool MeterDatabase::write(const QByteArray &bytes, QString &error)
{
    area_.replace(0, std::min<int>(bytes.size(), area_.size()), bytes.left(area_.size()));
    return save(error);
}

bool MeterDatabase::save(QString &error) const
{
    if (path_.isEmpty())
        return true;
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(area_) != area_.size() || !file.commit()) {
        error = QStringLiteral("cannot write %1: %2").arg(path_, file.errorString());
        return false;
    }
    return true;
}

} // namespace sim
