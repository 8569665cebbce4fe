#include "records/cp1251.h"
#include "records/metertype.h"
#include "testdir.h"

#include <QtTest>

using testsupport::hex;

class TestMeterType : public QObject {
    Q_OBJECT
private slots:
    void codePage()
    {
        QCOMPARE(cp1251::toUnicode(0xC0), QChar(0x0410)); // А
        QCOMPARE(cp1251::toUnicode(0xFF), QChar(0x044F)); // я
        QCOMPARE(cp1251::toUnicode(0xA8), QChar(0x0401)); // Ё
        QCOMPARE(cp1251::toUnicode(0xB9), QChar(0x2116)); // №
        QCOMPARE(cp1251::toUnicode(0x41), QChar('A'));
        QCOMPARE(cp1251::fromUnicode(QChar(0x0416)).value(), std::uint8_t(0xC6)); // Ж
        QCOMPARE(cp1251::fromUnicode(QChar(0x2116)).value(), std::uint8_t(0xB9));
        QVERIFY(!cp1251::fromUnicode(QChar(0x4E2D)).has_value());
        // Every byte survives a round trip, the undefined 0x98 included.
        for (int b = 0; b < 256; ++b)
            QCOMPARE(cp1251::fromUnicode(cp1251::toUnicode(std::uint8_t(b))).value(), std::uint8_t(b));
        QCOMPARE(cp1251::decode(hex("CF F0 E8 E1 EE F0")), QStringLiteral("Прибор"));
        QCOMPARE(cp1251::encode(QStringLiteral("Прибор 1")).value(), hex("CF F0 E8 E1 EE F0 20 31"));
        QVERIFY(!cp1251::encode(QStringLiteral("a\u4E2D")).has_value());
        QCOMPARE(cp1251::encodeLossy(QStringLiteral("a\u4E2Db")), QByteArray("a?b"));
    }

    void encodesLatinDesignation()
    {
        // "CE301" padded to 14 with spaces, pairs swapped, two zero bytes.
        QCOMPARE(EncodeMeterType(QStringLiteral("CE301")).value(),
                 hex("45 43 30 33 20 31 20 20 20 20 20 20 20 20 00 00"));
        QCOMPARE(DecodeMeterType(hex("45 43 30 33 20 31 20 20 20 20 20 20 20 20 00 00")),
                 QStringLiteral("CE301         "));
    }

    void cyrillicSevenLettersKeepPadding()
    {
        const QString text = QStringLiteral("Энергия");
        // Seven letters stored 32 lower: Э DD->BD, н ED->CD, е E5->C5, р F0->D0,
        // г E3->C3, и E8->C8, я FF->DF; seven spaces; pairs swapped.
        const QByteArray stored = hex("CD BD D0 C5 C8 C3 20 DF 20 20 20 20 20 20 00 00");
        QCOMPARE(EncodeMeterType(text).value(), stored);
        const QString back = DecodeMeterType(stored);
        QCOMPARE(back, text + QString(7, QLatin1Char(' ')));
        QCOMPARE(back.size(), 14);
    }

    void fileNameCharactersBecomePlus()
    {
        // "A/B" and the other eight forbidden characters, stored with pairs swapped.
        QCOMPARE(DecodeMeterType(hex("2F 41 20 42 20 20 20 20 20 20 20 20 20 20 00 00")),
                 QStringLiteral("A+B           "));
        QCOMPARE(DecodeMeterType(hex("2A 22 3C 3A 3F 3E 7C 5C 00 00 00 00 00 00 00 00")), QStringLiteral("++++++++"));
        // Encoding keeps the slash; only the decoder replaces it.
        QCOMPARE(EncodeMeterType(QStringLiteral("A/B")).value().left(4), hex("2F 41 20 42"));
    }

    void decodingEdges()
    {
        // Up to the first zero byte, looked for after swapping back.
        QCOMPARE(DecodeMeterType(hex("42 41 43 00 44 45 00 00 00 00 00 00 00 00 00 00")), QStringLiteral("AB"));
        // No zero at all: all 16 bytes, the last two unswapped.
        QCOMPARE(DecodeMeterType(QByteArray("BADCFEHGJILKNMOP")), QStringLiteral("ABCDEFGHIJKLMNOP"));
        // ... and a file rewrite stores all 16 back where they were.
        QCOMPARE(EncodeDecodedMeterType(QStringLiteral("ABCDEFGHIJKLMNOP")).value(), QByteArray("BADCFEHGJILKNMOP"));
        QVERIFY(!EncodeMeterType(QStringLiteral("ABCDEFGHIJKLMNOP")).has_value());
        // Bytes from 224 wrap around modulo 256: 0xE1 + 32 = 0x01.
        QCOMPARE(DecodeMeterType(hex("E1 41 00 00")), QString(QChar('A')) + QChar(1));
        // Short input is taken as zero-filled.
        QCOMPARE(DecodeMeterType(QByteArray("BA")), QStringLiteral("AB"));
        QCOMPARE(DecodeMeterType(QByteArray()), QString());
    }

    // Stored bytes at the edges of the letter shift: 160 is "А", 223 is
    // "я", and 224..255 wrap around to control characters, which a rewrite
    // must keep whole (224 decodes to U+0000, which must not end the text).
    void shiftBoundaries_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("text");
        QTest::newRow("А is 160") << hex("41 A0 00 00") << QStringLiteral("АA");
        QTest::newRow("я is 223") << hex("DF 42 00 00") << QStringLiteral("Bя");
        QTest::newRow("159 unshifted") << hex("9F 43 00 00") << (QStringLiteral("C") + cp1251::toUnicode(0x9F));
        QTest::newRow("224 inside") << hex("E0 41 43 42") << (QStringLiteral("A") + QChar(0) + QStringLiteral("BC"));
        QTest::newRow("255 inside") << hex("FF 41 43 42") << (QStringLiteral("A") + QChar(31) + QStringLiteral("BC"));
    }
    void shiftBoundaries()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, text);
        QCOMPARE(DecodeMeterType(stored), text);
        const std::optional<QByteArray> again = EncodeMeterType(text);
        QVERIFY(again.has_value());
        QCOMPARE(DecodeMeterType(*again).left(text.size()), text);
        QCOMPARE(DecodeMeterType(*again).size(), kMeterTypeMaxLength);
    }

    void encodingFailures()
    {
        QVERIFY(EncodeMeterType(QString(14, QLatin1Char('X'))).has_value());
        QVERIFY(!EncodeMeterType(QString(15, QLatin1Char('X'))).has_value());
        QVERIFY(!EncodeMeterType(QStringLiteral("ЁЛ")).has_value()); // Ё is 168
        QVERIFY(!EncodeMeterType(QStringLiteral("№1")).has_value()); // № is 185
        QVERIFY(!EncodeMeterType(QStringLiteral("\u4E2D")).has_value()); // not in the code page
        QVERIFY(EncodeMeterType(QString()).has_value());
        QCOMPARE(EncodeMeterType(QString()).value(), hex("20 20 20 20 20 20 20 20 20 20 20 20 20 20 00 00"));
    }
};

QTEST_GUILESS_MAIN(TestMeterType)
#include "tst_metertype.moc"
