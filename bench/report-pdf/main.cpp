// bench-report-pdf [--examples FOLDER]: times the way of a protocol from a
// meter's verifications to PDF bytes (document, layout, drawing) for ten
// groups of 10, 25 and 50 points of every scheme, the median of several
// rounds, and the time per result row, which should stay flat (linear cost).
//
// With --examples it also writes three small stored files (one per scheme)
// and their protocols as PDF into FOLDER, for the pictures of the manual.
#include "benchdata.h"
#include "records/blockdata.h"
#include "records/meterfile.h"
#include "reports/pagerender.h"
#include "reports/protocollayout.h"
#include "views/textlookup.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTextStream>

#include <algorithm>

namespace {

pcn::_datasample makePoint(QRandomGenerator &rng, int k)
{
    pcn::_datasample p;
    const double current = 0.05 * (1 + k % 20);
    for (int ph = 0; ph < 3; ++ph) {
        p.U[ph] = 57.7 + rng.bounded(0.2);
        p.I[ph] = current * (1.0 + rng.bounded(0.002));
        p.Uline[ph] = 100.0 + rng.bounded(0.3);
        p.cosPhi[ph] = k % 3 == 0 ? 1.0 : (k % 3 == 1 ? 0.5 : 0.8);
        p.S[ph] = p.U[ph] * p.I[ph];
        p.P[ph] = p.S[ph] * p.cosPhi[ph];
        p.pfChar[ph] = k % 2 ? 'L' : 'C';
    }
    p.pfChar[3] = p.pfChar[0];
    p.pfTotal = p.cosPhi[0];
    p.Ptotal = p.P[0] + p.P[1] + p.P[2];
    p.Stotal = p.S[0] + p.S[1] + p.S[2];
    p.QcrossTotal = p.QshiftTotal = p.QgeomTotal = p.Stotal * 0.6;
    p.errorPercent = rng.bounded(1.0) - 0.5;
    p.range = {40, 0, 2, 400, 0, 0};
    return p;
}

pcn::_totalblockdata makeMeter(int scheme, int verifications, int points)
{
    QRandomGenerator rng(20090615 + scheme);
    pcn::_totalblockdata meter;
    meter.instrument = InstrumentIdentity{77, 3};
    for (int v = 0; v < verifications; ++v) {
        pcn::_blockdata b;
        b.meterType = QStringLiteral("CE301");
        b.serial = 91234;
        b.serialText = QStringLiteral("0091234");
        b.accuracyClass = 0.5;
        b.constant = 1600;
        b.year = 2008;
        b.scheme = quint8(scheme);
        b.uLineNom = 100;
        b.uPhaseNom = 57.7;
        b.iNom = 5;
        b.i1 = 100;
        b.i2 = 5;
        b.powerType = scheme == 4 ? quint8(v % 2) : quint8(v % 5);
        bench::setMoment(b, QDate(2009, 6, 1 + v % 28), QTime(9, v % 60));
        for (int k = 0; k < points; ++k)
            b.points.append(makePoint(rng, k));
        meter.verifications.append(b);
    }
    return meter;
}

QByteArray protocolPdf(const pcn::_totalblockdata &meter, const TextLookup &lookup, int *pages = nullptr)
{
    QVector<int> all;
    for (int i = 0; i < meter.verifications.size(); ++i)
        all.append(i);
    const ReportTexts texts{
        report::plainTextToHtml(QStringLiteral("ПРОТОКОЛ ПОВЕРКИ № 15\nсчетчика электрической энергии")),
        report::plainTextToHtml(QStringLiteral("Поверитель ____________  Иванов И. И."))};
    const std::optional<ProtocolDocument> doc =
        buildProtocolDocument(meter, all, texts, lookup, QLocale(QLocale::Russian));
    if (!doc)
        return {};
    const report::ReportPages laid = report::layoutProtocol(*doc);
    if (pages)
        *pages = int(laid.pages.size());
    return report::renderPdf(laid);
}

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int writeExamples(const QString &folder, QTextStream &out)
{
    QDir().mkpath(folder);
    for (int scheme : {1, 2, 4}) {
        const QString pcn = QStringLiteral("%1/scheme%2.pcn").arg(folder).arg(scheme);
        if (!WriteMeterFile(pcn, makeMeter(scheme, 3, 8))) {
            out << "cannot write " << pcn << "\n";
            return 1;
        }
        out << pcn << "\n";
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    const int examples = int(args.indexOf(QStringLiteral("--examples")));
    if (examples > 0 && examples + 1 < args.size())
        return writeExamples(args.at(examples + 1), out);

    const TextLookup lookup = catalogTextLookup(0);
    protocolPdf(makeMeter(1, 2, 5), lookup); // fonts and glyph caches warm
    const int rounds = 7;
    double worstGrowth = 0; // time per row at 50 points over time per row at 10
    for (int scheme : {1, 2, 4}) {
        double perRowAt10 = 0;
        for (int points : {10, 25, 50}) {
            const pcn::_totalblockdata meter = makeMeter(scheme, 10, points);
            QVector<double> ms;
            int pages = 0;
            qint64 bytes = 0;
            for (int r = 0; r < rounds; ++r) {
                QElapsedTimer t;
                t.start();
                bytes = protocolPdf(meter, lookup, &pages).size();
                ms.append(t.nsecsElapsed() / 1e6);
            }
            const double m = median(ms);
            out << "scheme " << scheme << ", 10 x " << points << " points: " << QString::number(m, 'f', 1) << " ms ("
                << pages << " pages, " << bytes / 1024 << " kB PDF, "
                << QString::number(m * 1000 / (10 * points), 'f', 0) << " us per row), median of " << rounds << "\n";
            const double perRow = m / (10 * points);
            if (points == 10)
                perRowAt10 = perRow;
            else if (points == 50)
                worstGrowth = std::max(worstGrowth, perRow / perRowAt10);
        }
    }
    out << "target: under 500 ms for 10 x 10 and 10 x 50" << Qt::endl;
    // The yardstick is the protocol's own row count: a row of a long
    // protocol may cost no more than a row of a short one (1.00 is linear).
    out << "ratio protocol-to-pdf " << QString::number(worstGrowth, 'f', 3) << Qt::endl;
    return 0;
}
