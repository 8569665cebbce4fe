#include "benchdata.h"

#include "records/meterfile.h"

#include <QDir>
#include <QFile>

namespace bench {

namespace {

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

} // namespace

void setMoment(pcn::_datacounter &v, const QDate &date, const QTime &time)
{
    const auto bcd = [](int n) { return quint8(((n / 10) << 4) | (n % 10)); };
    v.date = date;
    v.time = time;
    v.bcdYear = quint16((bcd(date.year() / 100) << 8) | bcd(date.year() % 100));
    v.bcdMonth = bcd(date.month());
    v.bcdDay = bcd(date.day());
    v.bcdHour = bcd(time.hour());
    v.bcdMinute = bcd(time.minute());
    v.bcdSecond = bcd(time.second());
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
        setMoment(b, QDate(2009, 1 + index % 12, 1 + index % 28), QTime(index % 24, index % 60, v));
        // Mostly 3 to 10 points; every seventh verification has 11 to 20.
        const int points = (index + v) % 7 == 0 ? 11 + int(rng.bounded(10)) : 3 + int(rng.bounded(8));
        for (int k = 0; k < points; ++k)
            b.points.append(makePoint(rng));
        meter.verifications.append(b);
    }
    return meter;
}

qint64 writeMeterFolder(const QString &folder, int count, quint32 seed)
{
    if (!QDir().mkpath(folder))
        return -1;
    // A folder written before with the same count and seed is used as it is:
    // its mark holds the bytes written.
    QFile mark(folder + QStringLiteral("/.written-%1-%2").arg(count).arg(seed));
    if (mark.open(QIODevice::ReadOnly))
        return mark.readAll().toLongLong();
    QRandomGenerator rng(seed);
    qint64 bytesWritten = 0;
    for (int i = 0; i < count; ++i) {
        const QByteArray bytes = encodeMeterFile(makeMeter(i, rng));
        QFile f(folder + QStringLiteral("/m%1.pcn").arg(i, 5, 10, QLatin1Char('0')));
        if (bytes.isEmpty() || !f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return -1;
        bytesWritten += bytes.size();
    }
    if (!mark.open(QIODevice::WriteOnly) || mark.write(QByteArray::number(bytesWritten)) <= 0)
        return -1;
    return bytesWritten;
}

} // namespace bench
