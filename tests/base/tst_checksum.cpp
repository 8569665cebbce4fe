// The program's CRC: hand-computed vectors, the stored checksum of a block,
// the string-file register without closing zeros, and the table-driven CRC
// against the shift register of its definition.
#include "base/checksum.h"

#include <QRandomGenerator>
#include <QtTest>

class TestChecksum : public QObject {
    Q_OBJECT
private slots:
    void knownVectors_data()
    {
        // CRC-16/XMODEM check values computed by hand from the definition.
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("crc");
        QTest::newRow("abc") << QByteArray("abc") << 0x9DD6;
        QTest::newRow("123456789") << QByteArray("123456789") << 0x31C3;
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("130 zeros") << QByteArray(130, '\0') << 0;
    }

    void knownVectors()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, crc);
        QCOMPARE(RecordChecksum(data), quint16(crc));
    }

    void storedChecksumValidatesBlock()
    {
        QByteArray block("abc");
        block.append(char(0x9D)).append(char(0xD6));
        QVERIFY(IsBlockValid(block));
        block[4] = char(0xD7);
        QVERIFY(!IsBlockValid(block));

        std::uint8_t buf[7] = {1, 2, 3, 4, 5, 0, 0};
        StoreChecksum(buf, 5);
        QVERIFY(IsBlockValid(buf, 7));
        buf[0] ^= 0x80;
        QVERIFY(!IsBlockValid(buf, 7));
    }

    void shiftByteWithoutClosingZeros()
    {
        // The string-file section checksum: the register after "abc" with no
        // zero bytes appended.
        std::uint16_t reg = 0;
        for (char c : QByteArray("abc"))
            reg = crc16::shiftByte(reg, static_cast<std::uint8_t>(c));
        QCOMPARE(reg, std::uint16_t(0x1EE4));
    }

    void tableEqualsShiftRegister()
    {
        QRandomGenerator rng(1021);
        for (int round = 0; round < 500; ++round) {
            QByteArray data(rng.bounded(1300), Qt::Uninitialized);
            for (char &c : data)
                c = char(rng.bounded(256));
            std::uint16_t reg = 0;
            for (char c : data)
                reg = crc16::shiftByte(reg, std::uint8_t(c));
            reg = crc16::shiftByte(crc16::shiftByte(reg, 0), 0);
            QCOMPARE(RecordChecksum(data), reg);
        }
    }
};

QTEST_GUILESS_MAIN(TestChecksum)
#include "tst_checksum.moc"
