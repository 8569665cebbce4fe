#include "records/numericcodec.h"

#include <QtTest>

using namespace pcn;

class TestNumericCodec : public QObject {
    Q_OBJECT
private slots:
    void families()
    {
        QCOMPARE(encodingFamily(0).value(), EncodingFamily::A);
        QCOMPARE(encodingFamily(3).value(), EncodingFamily::A);
        QCOMPARE(encodingFamily(1).value(), EncodingFamily::B);
        QCOMPARE(encodingFamily(2).value(), EncodingFamily::B);
        QCOMPARE(encodingFamily(5).value(), EncodingFamily::C);
        QCOMPARE(encodingFamily(6).value(), EncodingFamily::C);
        for (int t : {4, 7, 23, 255, -1})
            QVERIFY(!encodingFamily(t).has_value());
    }

    void fixed16_16()
    {
        QCOMPARE(decode16_16(220, 0x4000), 220.25);
        QCOMPARE(decode16_16(0xFFFF, 0xFFFF), 65535 + 65535 / 65536.0);
        const WordPair w = encode16_16(5.5);
        QCOMPARE(w.high, std::uint16_t(5));
        QCOMPARE(w.low, std::uint16_t(0x8000));
        // Cut, not rounded: 1/3 * 65536 = 21845.33
        QCOMPARE(encode16_16(1.0 / 3).low, std::uint16_t(21845));
        // Beyond the field: clamped instead of wrapped.
        QCOMPARE(encode16_16(70000).high, std::uint16_t(0xFFFF));
        QCOMPARE(encode16_16(-1).high, std::uint16_t(0));
        QCOMPARE(encode16_16(-1).low, std::uint16_t(0));
    }

    // Writing cuts the fraction towards zero; the values are chosen so that
    // rounding would give another word (x.67 rounds up, x.9998 would carry
    // into the integer word).
    void fractionsAreCut_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("bits"); // 16: 16.16, 20: 12.20
        QTest::addColumn<uint>("high");
        QTest::addColumn<uint>("low");
        // 2/3 * 65536 = 43690.67: 43690 cut, 43691 rounded.
        QTest::newRow("16.16 two thirds") << 2.0 / 3 << 16 << 0u << 43690u;
        QTest::newRow("16.16 220 and two thirds") << 220 + 2.0 / 3 << 16 << 220u << 43690u;
        QTest::newRow("16.16 just below 6") << 6 - 1.0 / 200000 << 16 << 5u << 65535u;
        // 2/3 * 2^20 = 699050.67 = 0xAAAAA.AB
        QTest::newRow("12.20 two thirds") << 2.0 / 3 << 20 << 0x000Au << 0xAAAAu;
        QTest::newRow("12.20 just below 1") << 1 - 1.0 / 4000000 << 20 << 0x000Fu << 0xFFFFu;
    }
    void fractionsAreCut()
    {
        QFETCH(double, x);
        QFETCH(int, bits);
        QFETCH(uint, high);
        QFETCH(uint, low);
        const WordPair w = bits == 16 ? encode16_16(x) : encode12_20(x);
        QCOMPARE(uint(w.high), high);
        QCOMPARE(uint(w.low), low);
    }

    void fixed12_20()
    {
        // 230.5 * 2^20 = 0x0E680000
        QCOMPARE(decode12_20(0x0E68, 0x0000), 230.5);
        const WordPair w = encode12_20(230.5);
        QCOMPARE(w.high, std::uint16_t(0x0E68));
        QCOMPARE(w.low, std::uint16_t(0x0000));
        // 0.125 * 2^20 = 0x00020000
        QCOMPARE(decode12_20(0x0002, 0x0000), 0.125);
        // The lowest four bits of the fraction are not read back.
        QCOMPARE(decode12_20(0x0000, 0x000F), 0.0);
        QCOMPARE(decode12_20(0x0000, 0x0010), 1 / 65536.0);
        // Twelve integer bits: 4095 at most.
        QCOMPARE(decode12_20(0xFFF0, 0x0000), 4095.0);
    }

    void cosPhi()
    {
        QCOMPARE(decodeCosPhi(0x1000), 1.0);
        QCOMPARE(decodeCosPhi(0xF000), -1.0);
        QCOMPARE(decodeCosPhi(0x0800), 0.5);
        QCOMPARE(decodeCosPhi(0x0000), 0.0);
        QCOMPARE(encodeCosPhi(-0.5), std::uint16_t(0xF800));
        QCOMPARE(encodeCosPhi(1.0), std::uint16_t(0x1000));
        // trunc towards zero: -0.99999 * 4096 = -4095.96 -> -4095
        QCOMPARE(encodeCosPhi(-0.99999), std::uint16_t(0xF001));
    }

    void total32_16()
    {
        // -1.5: sign 0xFFFF, w1 0, w2 1, w3 0x8000
        const TotalWords w = encodeTotal32_16(-1.5);
        QCOMPARE(w, (TotalWords{0xFFFF, 0, 1, 0x8000}));
        QCOMPARE(decodeTotal32_16({0xFFFF, 0, 1, 0x8000}), -1.5);
        QCOMPARE(decodeTotal32_16({0x0001, 0, 1, 0x8000}), -1.5); // any non-zero sign
        QCOMPARE(decodeTotal32_16({0, 1, 0x1170, 0}), 70000.0);
        QCOMPARE(encodeTotal32_16(70000.25), (TotalWords{0, 1, 0x1170, 0x4000}));
        QCOMPARE(encodeTotal32_16(0.0), (TotalWords{0, 0, 0, 0}));
    }

    void total28_20()
    {
        // 1000.5: m = 0x3E8, f = 0x80000 -> w1 0, w2 0x3E88, w3 0
        QCOMPARE(encodeTotal28_20(1000.5), (TotalWords{0, 0, 0x3E88, 0}));
        QCOMPARE(decodeTotal28_20({0, 0, 0x3E88, 0}), 1000.5);
        // 70000 = 0x11170: w1 = m >> 12 = 0x11, w2 = (m << 4) & 0xFFFF = 0x1700
        QCOMPARE(encodeTotal28_20(-70000.0), (TotalWords{0xFFFF, 0x0011, 0x1700, 0}));
        QCOMPARE(decodeTotal28_20({0xFFFF, 0x0011, 0x1700, 0}), -70000.0);
        // Fraction of 20 bits: 1/2^20 is the smallest step.
        QCOMPARE(decodeTotal28_20({0, 0, 0, 1}), 1 / 1048576.0);
        QCOMPARE(decodeTotal28_20({0, 0, 0x000F, 0xFFFF}), 0xFFFFF / 1048576.0);
    }
};

QTEST_GUILESS_MAIN(TestNumericCodec)
#include "tst_numericcodec.moc"
