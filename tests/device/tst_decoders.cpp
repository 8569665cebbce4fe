// Identify answers, archive-content entries, frames and result codes.
#include "devicebytes.h"

#include "device/contentdecoder.h"
#include "device/frame.h"
#include "device/identifydecoder.h"
#include "deviceoutcome/status.h"
#include "deviceoutcome/outcometext.h"
#include "testdir.h"

#include <QtTest>

using namespace device;
using namespace devicetest;
using testsupport::hex;

class tst_decoders : public QObject {
    Q_OBJECT

private slots:
    void versionTexts();
    void newerSinglePhaseClasses();
    void newerSinglePhaseRefusals();
    void newerThreePhaseTriples();
    void olderSinglePhase();
    void olderUnderscoreVariant();
    void olderThreePhaseDigits();
    void olderThreePhaseTriples();
    void shortAnswerReadsAsZeros();
    void contentEntryLayouts();
    void contentEntryInvalidDates();
    void requestFrames();
    void archiveSizes();
    void resultMessages();
};

void tst_decoders::versionTexts()
{
    QCOMPARE(versionText(0x7, 0x201), QStringLiteral("7.2.01"));
    QCOMPARE(versionText(0x72, 0x1), QStringLiteral("7.2.1"));
    QCOMPARE(versionText(0x70, 0x15), QStringLiteral("7.0.15"));
    QCOMPARE(versionText(0xAB, 0x0), QStringLiteral("A.B.0"));
    QCOMPARE(versionText(0x0, 0x0), QStringLiteral("0.0"));
}

void tst_decoders::newerSinglePhaseClasses()
{
    QByteArray p = identifyPayload(QStringLiteral("Q-W 31"), 0x72, 0x1);
    putTriple(p, 44, 0, 1, 64, 0); // 64 * 2^-6 = 1.0
    putTriple(p, 44, 1, 2, 1, 0); // 2^-9 = 0.001953125 -> 0.001
    putTriple(p, 44, 2, 2, 512, 0x100); // 1 + 256 * 2^-25 -> 1.0
    putWord(p, 378, 7);
    DeviceInfo info;
    QCOMPARE(decodeNewerIdentify(answerFrame(p), info), IdentifyOutcome::Recognised);
    QCOMPARE(int(info.modelClass), 6);
    QCOMPARE(info.rangeCount, 2);
    QCOMPARE(info.auxCount, 1);
    QCOMPARE(info.kind1Count, 2);
    QCOMPARE(info.kind2Count, 0);
    QCOMPARE(info.pageFactor, 1);
    QCOMPARE(info.versionText, QStringLiteral("7.2.1"));
    QCOMPARE(info.serialNumber, std::uint16_t(4321));
    QCOMPARE(info.auxValue[0], 1.0);
    QVERIFY(qAbs(info.rangeValue[0] - 0.001) < 1e-12);
    QVERIFY(qAbs(info.rangeValue[1] - 1.0) < 1e-12);
    QCOMPARE(info.rangeKind[0], std::uint16_t(1));

    putWord(p, 18, 0x70);
    putWord(p, 20, 0x15);
    QCOMPARE(decodeNewerIdentify(answerFrame(p), info), IdentifyOutcome::Recognised);
    QCOMPARE(int(info.modelClass), 5);

    putWord(p, 18, 0x80);
    putWord(p, 20, 0x1);
    QCOMPARE(decodeNewerIdentify(answerFrame(p), info), IdentifyOutcome::NotRecognised);

    // Code 3 and code 4 scales and kinds.
    putWord(p, 18, 0x72);
    putTriple(p, 44, 1, 3, 2, 0); // 2 * 0.25 = 0.5
    putTriple(p, 44, 2, 4, 1024, 0); // 1024 * 2^-9 = 2
    QCOMPARE(decodeNewerIdentify(answerFrame(p), info), IdentifyOutcome::Recognised);
    QCOMPARE(info.kind2Count, 1);
    QCOMPARE(info.kind4Count, 1);
    QCOMPARE(info.rangeValue[0], 0.5);
    QCOMPARE(info.rangeValue[1], 2.0);
    QCOMPARE(info.rangeKind[1], std::uint16_t(4));
}

void tst_decoders::newerSinglePhaseRefusals()
{
    DeviceInfo info;
    // No code-1 entry.
    QByteArray p = identifyPayload(QStringLiteral("Q.W"), 0x72, 0x1);
    putTriple(p, 44, 0, 2, 1, 0);
    QCOMPARE(decodeNewerIdentify(answerFrame(p), info), IdentifyOutcome::NotRecognised);
    // Unknown code.
    putTriple(p, 44, 1, 1, 1, 0);
    putTriple(p, 44, 2, 9, 1, 0);
    QCOMPARE(decodeNewerIdentify(answerFrame(p), info), IdentifyOutcome::NotRecognised);
    // Eleven code-1 values do not fit the ten places.
    QByteArray many = identifyPayload(QStringLiteral("Q.W"), 0x72, 0x1);
    for (int i = 0; i < 11; ++i)
        putTriple(many, 44, i, 1, 1, 0);
    putTriple(many, 44, 11, 2, 1, 0);
    QCOMPARE(decodeNewerIdentify(answerFrame(many), info), IdentifyOutcome::NotRecognised);
    // Twenty-eight range values do not fit the 27 places.
    QByteArray ranges = identifyPayload(QStringLiteral("Q.W"), 0x72, 0x1);
    putTriple(ranges, 44, 0, 1, 1, 0);
    for (int i = 1; i <= 28; ++i)
        putTriple(ranges, 44, i, 2, 1, 0);
    QCOMPARE(decodeNewerIdentify(answerFrame(ranges), info), IdentifyOutcome::NotRecognised);
    // Exactly ten and 27 fit.
    QByteArray full = identifyPayload(QStringLiteral("Q.W"), 0x72, 0x1);
    for (int i = 0; i < 10; ++i)
        putTriple(full, 44, i, 1, 1, 0);
    for (int i = 10; i < 37; ++i)
        putTriple(full, 44, i, 4, 1, 0);
    putTriple(full, 44, 37, 2, 1, 0); // beyond the 37 triples read
    QCOMPARE(decodeNewerIdentify(answerFrame(full), info), IdentifyOutcome::Recognised);
    QCOMPARE(info.auxCount, 10);
    QCOMPARE(info.rangeCount, 27);
    QCOMPARE(info.kind1Count, 0);
    // An unknown designation.
    QCOMPARE(decodeNewerIdentify(answerFrame(identifyPayload(QStringLiteral("ABC"), 0x72, 1)), info),
             IdentifyOutcome::NotRecognised);
}

void tst_decoders::newerThreePhaseTriples()
{
    QByteArray p = identifyPayload(QStringLiteral("Q-Q 3"), 0x60, 0xF001);
    for (int i = 0; i < 10; ++i)
        putTriple(p, 44, i, std::uint16_t(i + 1), std::uint16_t(100 + i), std::uint16_t(200 + i));
    DeviceInfo info;
    QCOMPARE(decodeNewerIdentify(answerFrame(p), info), IdentifyOutcome::Recognised);
    QCOMPARE(int(info.modelClass), 3);
    QCOMPARE(info.rangeCount, 9);
    QCOMPARE(info.rangeCode[8], std::uint16_t(9));
    QCOMPARE(info.rangeHigh[0], std::uint16_t(100));
    QCOMPARE(info.rangeLow[8], std::uint16_t(208));
    putTriple(p, 44, 3, 0, 0, 0);
    QCOMPARE(decodeNewerIdentify(answerFrame(p), info), IdentifyOutcome::Recognised);
    QCOMPARE(info.rangeCount, 3);
}

void tst_decoders::olderSinglePhase()
{
    DeviceInfo info;
    QCOMPARE(decodeOlderIdentify(answerFrame(identifyPayload(QStringLiteral("Q-W 1"), 0x51, 0x1, 1024)), info),
             IdentifyOutcome::Recognised);
    QCOMPARE(int(info.modelClass), 2);
    QCOMPARE(info.rangeCount, 11);
    QCOMPARE(info.pageFactor, 2);
    QCOMPARE(decodeOlderIdentify(answerFrame(identifyPayload(QStringLiteral("Q-W 1"), 0x49, 0x1, 1024)), info),
             IdentifyOutcome::Recognised);
    QCOMPARE(int(info.modelClass), 1);
    QCOMPARE(info.rangeCount, 9);
    QCOMPARE(decodeOlderIdentify(answerFrame(identifyPayload(QStringLiteral("Q-W 1"), 0x53, 0x1, 1024)), info),
             IdentifyOutcome::NotRecognised);
    // A newer instrument's answer to the older page does not decode.
    QCOMPARE(decodeOlderIdentify(answerFrame(identifyPayload(QStringLiteral("X"), 0x53, 0x1, 1024)), info),
             IdentifyOutcome::NotRecognised);
}

void tst_decoders::olderUnderscoreVariant()
{
    DeviceInfo info;
    QCOMPARE(decodeOlderIdentify(answerFrame(identifyPayload(QStringLiteral("AQ_W7"), 0x55, 0x1, 1024)), info),
             IdentifyOutcome::Recognised);
    QCOMPARE(int(info.modelClass), 2);
    QCOMPARE(info.rangeCount, 11);
    QVERIFY(info.typeName.startsWith(QStringLiteral("AQ.W7")));
    QCOMPARE(decodeOlderIdentify(answerFrame(identifyPayload(QStringLiteral("Q_W"), 0x55, 0x2, 1024)), info),
             IdentifyOutcome::NotRecognised);
    QCOMPARE(decodeOlderIdentify(answerFrame(identifyPayload(QStringLiteral("Q_W"), 0x61, 0x1, 1024)), info),
             IdentifyOutcome::NotRecognised);
    QCOMPARE(decodeOlderIdentify(answerFrame(identifyPayload(QStringLiteral("Q_W"), 0x53, 0x1, 1024)), info),
             IdentifyOutcome::Recognised);
}

void tst_decoders::olderThreePhaseDigits()
{
    // "1.2.32780": characters 6..9 are 2, 7, 8, 0 -> digits [0, 8, 7, 2],
    // three of them non-zero, moved down to [8, 7, 2, 0], then 8 7 swapped.
    DeviceInfo info;
    QCOMPARE(decodeOlderIdentify(answerFrame(identifyPayload(QStringLiteral("Q.Q"), 0x123, 0x2780, 1024)), info),
             IdentifyOutcome::Recognised);
    QCOMPARE(int(info.modelClass), 0);
    QCOMPARE(info.versionText, QStringLiteral("1.2.32780"));
    QCOMPARE(info.rangeCount, 3);
    QCOMPARE(info.rangeDigits, (std::array<std::uint16_t, 4>{7, 8, 2, 0}));
    QCOMPARE(info.pageFactor, 2);
    // A letter among the digits.
    QCOMPARE(decodeOlderIdentify(answerFrame(identifyPayload(QStringLiteral("Q.Q"), 0x123, 0x1A00, 1024)), info),
             IdentifyOutcome::Malformed);
    // Too short a version text to hold four digits.
    QCOMPARE(decodeOlderIdentify(answerFrame(identifyPayload(QStringLiteral("Q.Q"), 0x1, 0x1, 1024)), info),
             IdentifyOutcome::Malformed);
}

void tst_decoders::olderThreePhaseTriples()
{
    QByteArray p = identifyPayload(QStringLiteral("Q-Q"), 0x1, 0xF000, 1024);
    for (int i = 0; i < 5; ++i)
        putTriple(p, 104, i, std::uint16_t(i + 1), 7, 8);
    DeviceInfo info;
    QCOMPARE(decodeOlderIdentify(answerFrame(p), info), IdentifyOutcome::Recognised);
    QCOMPARE(info.rangeCount, 4);
    QCOMPARE(info.rangeCode[3], std::uint16_t(4));
}

void tst_decoders::shortAnswerReadsAsZeros()
{
    DeviceInfo info;
    QCOMPARE(decodeNewerIdentify(QByteArray(), info), IdentifyOutcome::NotRecognised);
    QCOMPARE(decodeOlderIdentify(hex("02 00"), info), IdentifyOutcome::NotRecognised);
    QByteArray p = identifyPayload(QStringLiteral("Q-W"), 0x72, 0x1, 60);
    putTriple(p, 44, 0, 1, 1, 1);
    putTriple(p, 44, 1, 2, 1, 1);
    // The list runs off the end of the answer: what is missing reads as 0.
    QCOMPARE(decodeNewerIdentify(answerFrame(p).left(4 + 60), info), IdentifyOutcome::Recognised);
    QCOMPARE(info.rangeCount, 1);
}

namespace {

QByteArray typeBytes()
{
    return EncodeMeterType(QStringLiteral("CE-301")).value();
}

} // namespace

void tst_decoders::contentEntryLayouts()
{
    // Model class 3: date at 20, power type byte 29, CRC at 30.
    QByteArray e3 = typeBytes() + hex("01 00 02 00  24 20 15 03  12 00 59 34  00 02 00 00");
    StoreChecksum(reinterpret_cast<std::uint8_t *>(e3.data()), 30);
    pcn::_datacounter d;
    QVERIFY(decodeContentEntry(e3, ContentLayout::NewerThree, d));
    QCOMPARE(d.meterType, QStringLiteral("CE-301        "));
    QCOMPARE(d.serial, std::uint32_t(65538));
    QCOMPARE(d.date, QDate(2024, 3, 15));
    QCOMPARE(d.time, QTime(12, 34, 59));
    QCOMPARE(int(d.powerType), 2);

    // Classes 5 and 6: power type in bits 3..5 of the word at 28.
    QByteArray e5 = e3;
    e5[28] = char(0x20); // 4 << 3
    e5[29] = char(0x01);
    QVERIFY(decodeContentEntry(e5, ContentLayout::NewerSingle, d));
    QCOMPARE(int(d.powerType), 4);

    // Older: power type byte 21, date at 24, hour 28, second 30, minute 31.
    const QByteArray eo = typeBytes() + hex("00 00 10 00  00 03 00 00  99 19 31 12  23 00 05 07");
    QVERIFY(decodeContentEntry(eo, ContentLayout::Older, d));
    QCOMPARE(d.serial, std::uint32_t(16));
    QCOMPARE(int(d.powerType), 3);
    QCOMPARE(d.date, QDate(1999, 12, 31));
    QCOMPARE(d.time, QTime(23, 7, 5));

    // Several entries of a page are appended in order.
    QVector<pcn::_datacounter> list;
    QVERIFY(decodeContentEntries(hex("02 00 40 00") + e3 + e5 + hex("00 00"), 4, 2, 6, list));
    QCOMPARE(list.size(), 2);
    QCOMPARE(int(list.at(1).powerType), 4);
    QVERIFY(!decodeContentEntries(e3, 4, 1, 3, list)); // page too short
    QCOMPARE(list.size(), 2);
}

void tst_decoders::contentEntryInvalidDates()
{
    const QByteArray good = typeBytes() + hex("01 00 02 00  24 20 15 03  12 00 59 34  00 02 00 00");
    pcn::_datacounter d;
    QVERIFY(decodeContentEntry(good, ContentLayout::NewerThree, d));
    auto broken = [&](int offset, char value) {
        QByteArray e = good;
        e[offset] = value;
        return e;
    };
    QVERIFY(!decodeContentEntry(broken(23, 0x13), ContentLayout::NewerThree, d)); // month 13
    QVERIFY(!decodeContentEntry(broken(22, 0x00), ContentLayout::NewerThree, d)); // day 0
    QVERIFY(decodeContentEntry(broken(22, 0x31), ContentLayout::NewerThree, d)); // 31 March
    QByteArray april31 = broken(22, 0x31);
    april31[23] = 0x04;
    QVERIFY(!decodeContentEntry(april31, ContentLayout::NewerThree, d));
    QByteArray feb29 = broken(22, 0x29);
    feb29[23] = 0x02;
    feb29[20] = 0x23; // 2023 is no leap year
    QVERIFY(!decodeContentEntry(feb29, ContentLayout::NewerThree, d));
    feb29[20] = 0x24;
    QVERIFY(decodeContentEntry(feb29, ContentLayout::NewerThree, d));
    QVERIFY(!decodeContentEntry(broken(24, 0x24), ContentLayout::NewerThree, d)); // hour 24
    QVERIFY(!decodeContentEntry(broken(27, 0x60), ContentLayout::NewerThree, d)); // minute 60
    QVERIFY(!decodeContentEntry(broken(26, 0x60), ContentLayout::NewerThree, d)); // second 60
    QVector<pcn::_datacounter> list;
    QVERIFY(!decodeContentEntries(broken(23, 0x13), 0, 1, 3, list));
    QVERIFY(list.isEmpty());
}

void tst_decoders::requestFrames()
{
    QCOMPARE(readWordsRequest(0), hex("02 0F 04 00 00 00 00 01 13 CF"));
    QCOMPARE(readPagesRequest(320, 1), hex("02 0D 06 00 00 00 40 01 01 00 6A EF"));
    QCOMPARE(readPageLegacyRequest(8163), hex("02 0B 06 00 00 00 E3 1F 01 00 19 AF"));
    QCOMPARE(recordRequest(true, 1), hex("02 0D 06 00 00 00 60 01 02 00 08 F2"));
    QCOMPARE(recordRequest(true, 5), hex("02 0D 06 00 00 00 68 01 02 00 8D 31"));
    QCOMPARE(recordRequest(false, 3).mid(4, 6), hex("00 00 1A 00 01 00"));

    const QByteArray image(400, char(0x5A));
    const QByteArray w0a = writePageLegacyRequest(8177, image);
    QCOMPARE(w0a.size(), 1036);
    QCOMPARE(w0a.left(10), hex("02 0A 06 04 00 00 F1 1F 01 00"));
    QCOMPARE(w0a.mid(10 + 400, 624), QByteArray(624, '\0'));
    const QByteArray w0e = writeWordsRequest(896, image);
    QCOMPARE(w0e.size(), 522);
    QCOMPARE(w0e.left(8), hex("02 0E 04 02 80 03 00 01"));
    const QByteArray w08 = writeBlockRequest(28672, image);
    QCOMPARE(w08.size(), 524);
    QCOMPARE(w08.left(10), hex("02 08 06 02 0E 00 00 70 00 01"));
    for (const QByteArray &f : {w0a, w0e, w08})
        QVERIFY(IsBlockValid(f));
    // The carried block has its own CRC over its first 510 bytes.
    QVERIFY(IsBlockValid(w0e.mid(8, 512)));
    QVERIFY(IsBlockValid(w08.mid(10, 512)));
    QCOMPARE(w08.mid(10, 512), w0e.mid(8, 512));
    // A write answer with an empty payload.
    QVERIFY(IsBlockValid(hex("02 00 00 00 ED 68")));
    QCOMPARE(announcedLength(hex("02 00 FF FF")), 65535);
}

void tst_decoders::archiveSizes()
{
    QByteArray a(1030, '\0');
    putWord(a, 278, 33);
    putWord(a, 382, 17);
    QCOMPARE(int(archiveSize(a, 0)), 33);
    QCOMPARE(int(archiveSize(a, 3)), 33);
    QCOMPARE(int(archiveSize(a, 5)), 17);
    QCOMPARE(int(archiveSize(a, 6)), 17);
    QCOMPARE(int(archiveSize(a.left(300), 6)), 0);
}

void tst_decoders::resultMessages()
{
    // Status: the result code reported, the message of the status line, the
    // error box shown before it.
    const struct {
        Status status;
        int code;
        int message;
        int dialog;
    } table[] = {
        {Status::Ok, 0, 0, 0},
        {Status::PortUnavailable, 1, 1, 0},
        {Status::WriteFailed, 2, 2, 0},
        {Status::StatusError, 3, 3, 0},
        {Status::NoAnswer, 4, 4, 0},
        {Status::BadStatus, 5, 2, 0},
        {Status::BrokenAnswer, 6, 5, 0},
        {Status::DataError, 7, 6, 0},
        {Status::SettingsFailed, 8, 1, 0},
        {Status::RestoreFailed, 9, 1, 0},
        {Status::CloseFailed, 10, 7, 0},
        {Status::ArchiveEmpty, 11, 8, 0},
        {Status::EntryCrc, 12, 9, 0},
        {Status::Cancelled, 14, 11, 0},
        {Status::UsbLibraryMissing, 14, 11, 31},
        {Status::UsbNoDevice, 14, 11, 32},
        {Status::UsbSeveralDevices, 14, 11, 33},
        {Status::NotRecognised, 50, 12, 0},
    };
    for (const auto &row : table) {
        QCOMPARE(code(row.status), row.code);
        QCOMPARE(deviceoutcome::statusMessage(row.status), row.message);
        QCOMPARE(deviceoutcome::statusDialogMessage(row.status), row.dialog);
        QCOMPARE(deviceoutcome::statusTakesPortName(row.status), row.status == Status::PortUnavailable);
    }
}

QTEST_GUILESS_MAIN(tst_decoders)
#include "tst_decoders.moc"
