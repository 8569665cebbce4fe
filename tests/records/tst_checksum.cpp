#include "base/checksum.h"

#include <QtTest>

class TestChecksum : public QObject {
    Q_OBJECT
private slots:
    void knownVectors()
    {
        // CRC-16/XMODEM check values computed by hand from the definition.
        QCOMPARE(RecordChecksum(QByteArray("abc")), quint16(0x9DD6));
        QCOMPARE(RecordChecksum(QByteArray("123456789")), quint16(0x31C3));
        QCOMPARE(RecordChecksum(QByteArray()), quint16(0));
        QCOMPARE(RecordChecksum(QByteArray(130, '\0')), quint16(0));
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
};

QTEST_GUILESS_MAIN(TestChecksum)
#include "tst_checksum.moc"
