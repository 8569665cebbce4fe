#include "records/derivedvalues.h"
#include "records/numericcodec.h"
#include "records/rangetables.h"
#include "views/rangetexts.h"

#include <QtTest>

using namespace pcn;

namespace {

// The current range text of an instrument type of the family in a language.
QString rangeCurrentText(const RangeEntry &range, EncodingFamily family, int language,
                         const QLocale &locale = QLocale::c())
{
    const int type = family == EncodingFamily::A ? 0 : family == EncodingFamily::B ? 1 : 5;
    return ::rangeCurrentText(range, {type, RangeLabels::from(catalogTextLookup(language))}, locale);
}

pcn::_datasample phaseA(double u, double i, double cosPhi)
{
    pcn::_datasample p;
    p.U = {u, 0, 0};
    p.I = {i, 0, 0};
    p.cosPhi = {cosPhi, 0, 0};
    return p;
}

} // namespace

class TestDerivedValues : public QObject {
    Q_OBJECT
private slots:
    void phasePowers()
    {
        pcn::_datasample p = phaseA(220.25, 5.5, 0.5);
        computeDerivedValues(p, {false, false, false});
        QCOMPARE(p.S[0], 1211.375);
        QCOMPARE(p.P[0], 605.6875);
        QVERIFY(qAbs(p.Q[0] - 1049.0815235093744) < 1e-9);
        QCOMPARE(p.pfChar[0], 'L');

        // The sign word makes Q negative.
        p = phaseA(230, 1, -0.5);
        computeDerivedValues(p, {true, false, false});
        QCOMPARE(p.P[0], -115.0);
        QVERIFY(qAbs(p.Q[0] + 199.18584287042088) < 1e-9);
    }

    void activeAboveApparent()
    {
        // cos phi above 1 in magnitude: S takes P, Q is 0.
        pcn::_datasample p = phaseA(100, 2, 1.5);
        computeDerivedValues(p, {false, false, false});
        QCOMPARE(p.P[0], 300.0);
        QCOMPARE(p.S[0], 300.0);
        QCOMPARE(p.Q[0], 0.0);
        p = phaseA(100, 2, -1.25);
        computeDerivedValues(p, {false, false, false});
        QCOMPARE(p.S[0], -250.0);
        QCOMPARE(p.Q[0], 0.0);
    }

    void powerFactorCharacters()
    {
        struct Case {
            double cosPhi;
            bool sign;
            char expected;
        };
        const Case cases[] = {
            {1.0, true, 'L'}, {1.0, false, 'L'}, {-1.0, true, 'L'}, {-1.0, false, 'L'}, {0.0, false, 'C'},
            {0.0, true, 'C'}, {0.5, true, 'C'},  {0.5, false, 'L'}, {-0.5, false, 'C'}, {-0.5, true, 'L'},
        };
        for (const Case &c : cases) {
            pcn::_datasample p = phaseA(100, 1, c.cosPhi);
            p.cosPhi = {c.cosPhi, c.cosPhi, c.cosPhi};
            computeDerivedValues(p, {c.sign, c.sign, c.sign});
            for (int k = 0; k < 3; ++k)
                QVERIFY2(p.pfChar[k] == c.expected,
                         qPrintable(QStringLiteral("cos %1 sign %2").arg(c.cosPhi).arg(c.sign)));
        }
    }

    void totalPowerFactor()
    {
        pcn::_datasample p;
        p.Ptotal = 1000.5;
        p.Stotal = 2001;
        p.QshiftTotal = 10.25;
        computeDerivedValues(p, {});
        QCOMPARE(p.pfTotal, 0.5);
        QCOMPARE(p.pfChar[3], 'L');
        p.QshiftTotal = -1;
        computeDerivedValues(p, {});
        QCOMPARE(p.pfChar[3], 'C');
        p.Ptotal = -1000.5;
        computeDerivedValues(p, {});
        QCOMPARE(p.pfTotal, -0.5);
        QCOMPARE(p.pfChar[3], 'L');
        // No apparent power: a power factor of 0, inductive.
        p.Stotal = 0;
        computeDerivedValues(p, {});
        QCOMPARE(p.pfTotal, 0.0);
        QVERIFY(std::isfinite(p.pfTotal));
        QCOMPARE(p.pfChar[3], 'L');
    }

    // Converted records keep range fractions cut to whole 1/65536 steps
    // (0.1 A as 6553, 0.05 A as 3276): the texts still show the nominal range.
    void rangeTextsShowNominal_data()
    {
        QTest::addColumn<int>("whole");
        QTest::addColumn<int>("fraction");
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("voltage");
        QTest::addColumn<QString>("text");
        QTest::newRow("0.1 A, family B") << 0 << 6553 << int(EncodingFamily::B) << false << "0.1";
        QTest::newRow("0.05 A, family B") << 0 << 3276 << int(EncodingFamily::B) << false << "0.05";
        QTest::newRow("0.1 A, family A") << 0 << 6553 << int(EncodingFamily::A) << false << "0.1";
        QTest::newRow("2.01 A") << 8 << 655 << int(EncodingFamily::C) << false << "2.01";
        QTest::newRow("57.7 V") << 57 << 45875 << 0 << true << "57.7";
        QTest::newRow("0.1 V") << 0 << 6553 << 0 << true << "0.1";
    }

    void rangeTextsShowNominal()
    {
        QFETCH(int, whole);
        QFETCH(int, fraction);
        QFETCH(int, family);
        QFETCH(bool, voltage);
        QFETCH(QString, text);
        const auto w = std::uint16_t(whole);
        const auto f = std::uint16_t(fraction);
        if (voltage)
            QCOMPARE(rangeVoltageText({0, 0, 0, w, f, 0}, QLocale::c()), text);
        else
            QCOMPARE(rangeCurrentText({w, f, 0, 0, 0, 0}, EncodingFamily(family), 1), text);
    }

    void rangeTexts()
    {
        const int ru = 0;
        const int en = 1;
        QCOMPARE(rangeCurrentText({40, 0, 2, 250, 0, 0}, EncodingFamily::A, ru), QStringLiteral("10 К"));
        QCOMPARE(rangeCurrentText({40, 0, 2, 250, 0, 0}, EncodingFamily::A, en), QStringLiteral("10 C"));
        QCOMPARE(rangeCurrentText({4, 0, 1, 0, 0, 0}, EncodingFamily::A, ru), QStringLiteral("1 Т"));
        QCOMPARE(rangeCurrentText({4, 0, 1, 0, 0, 0}, EncodingFamily::C, en), QStringLiteral("1 T"));
        QCOMPARE(rangeCurrentText({4, 0, 0, 0, 0, 0}, EncodingFamily::A, en), QStringLiteral("1"));
        // Family B: the integer part as stored, no label.
        QCOMPARE(rangeCurrentText({5, 0, 1, 0, 0, 0}, EncodingFamily::B, en), QStringLiteral("5"));
        QCOMPARE(rangeCurrentText({0, 3277, 0, 0, 0, 0}, EncodingFamily::B, en), QStringLiteral("0.05"));
        QCOMPARE(rangeCurrentText({2, 0x8000, 0, 0, 0, 0}, EncodingFamily::B, en), QStringLiteral("2.5"));
        // Families A and C: word 0 / 4 in integer division.
        QCOMPARE(rangeCurrentText({2, 0x8000, 2, 0, 0, 0}, EncodingFamily::C, en), QStringLiteral("0.5 C"));
        QCOMPARE(rangeCurrentText({7, 0, 0, 0, 0, 0}, EncodingFamily::A, en), QStringLiteral("1"));
        // Fraction rounded to three decimals, user's separator.
        const QLocale comma(QLocale::Russian, QLocale::Russia);
        QCOMPARE(rangeCurrentText({0, 0x1FFF, 0, 0, 0, 0}, EncodingFamily::B, 0, comma), QStringLiteral("0,125"));

        QCOMPARE(rangeVoltageText({0, 0, 0, 220, 0, 0}, QLocale::c()), QStringLiteral("220"));
        QCOMPARE(rangeVoltageText({0, 0, 0, 57, 0xB852, 0}, QLocale::c()), QStringLiteral("57.72"));
        QCOMPARE(rangeVoltageText({0, 0, 0, 0, 0, 0}, QLocale::c()), QStringLiteral("0"));
    }

    void instrumentNames()
    {
        const struct {
            QString instrumentName(int type) const { return ::instrumentName(type, catalogTextLookup(1)); }
        } en;
        QCOMPARE(en.instrumentName(0), QStringLiteral("QS-77"));
        QCOMPARE(en.instrumentName(1), QStringLiteral("QS-75"));
        QCOMPARE(en.instrumentName(2), QStringLiteral("QS-75"));
        QCOMPARE(en.instrumentName(3), QStringLiteral("QT-77"));
        QCOMPARE(en.instrumentName(5), QStringLiteral("QK-76"));
        QCOMPARE(en.instrumentName(6), QStringLiteral("QK-76"));
        QCOMPARE(en.instrumentName(4), QString());
    }

    void computedRanges()
    {
        // Types 0 and 3: current x 4, kind 1 up to code 4, then 2.
        QCOMPARE(computedRangeEntry(0, 2, 1), (RangeEntry{40, 0, 1, 250, 0, 0}));
        QCOMPARE(computedRangeEntry(3, 9, 0), (RangeEntry{12000, 0, 2, 400, 0, 0}));
        QCOMPARE(computedRangeEntry(0, 5, 2), (RangeEntry{40, 0, 2, 100, 0, 0}));
        QCOMPARE(computedRangeEntry(0, 0, 0), (RangeEntry{0, 0, 1, 400, 0, 0}));
        // Type 1: plain ranges, fractions rounded to 1/65536.
        QCOMPARE(computedRangeEntry(1, 3, 2), (RangeEntry{2, 0x8000, 0, 60, 0, 0}));
        QCOMPARE(computedRangeEntry(1, 8, 0), (RangeEntry{0, 3277, 0, 220, 0, 0}));
        QCOMPARE(computedRangeEntry(1, 7, 1), (RangeEntry{0, 6554, 0, 120, 0, 0}));
        // Type 2: eleven current and four voltage ranges.
        QCOMPARE(computedRangeEntry(2, 0, 3), (RangeEntry{100, 0, 0, 60, 0, 0}));
        QCOMPARE(computedRangeEntry(2, 10, 0), (RangeEntry{0, 3277, 0, 480, 0, 0}));
        QCOMPARE(computedRangeEntry(2, 8, 1), (RangeEntry{0, 0x4000, 0, 240, 0, 0}));
        // Codes outside the tables: range 0, kind 0.
        QCOMPARE(computedRangeEntry(0, 10, 3), (RangeEntry{0, 0, 0, 0, 0, 0}));
        QCOMPARE(computedRangeEntry(1, 9, 3), (RangeEntry{0, 0, 0, 0, 0, 0}));
        QCOMPARE(computedRangeEntry(2, 11, 1), (RangeEntry{0, 0, 0, 240, 0, 0}));
        QCOMPARE(computedRangeEntry(2, 255, 4), (RangeEntry{0, 0, 0, 0, 0, 0}));
        // Types without tables.
        QCOMPARE(computedRangeEntry(5, 1, 1), (RangeEntry{}));
        QCOMPARE(computedRangeEntry(6, 0, 0), (RangeEntry{}));
    }
};

QTEST_GUILESS_MAIN(TestDerivedValues)
#include "tst_derivedvalues.moc"
