// The serial transaction and the device operations over an in-memory line:
// pacing, the answer path with its result codes, cancel, and the requests
// every operation sends.
#include "devicebytes.h"
#include "fakeline.h"

#include "device/deviceclient.h"
#include "device/frame.h"
#include "device/link.h"
#include "deviceoutcome/status.h"
#include "testdir.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace device;
using namespace devicetest;
using testsupport::hex;

namespace {

// A small instrument: answers the identify requests of its generation, the
// content pages, records, meter database reads and writes.
struct Scripted {
    bool older = false;
    int archive = 16;
    int badEntryCrc = -1; // archive position (from 1) with a wrong entry CRC
    int badDate = -1; // archive position with month 13

    QByteArray entry(int position, int firstPage, int page, bool newer) const
    {
        QByteArray e = EncodeMeterType(QStringLiteral("M%1").arg(position)).value();
        e += hex("00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00");
        putWord(e, 18, std::uint16_t(position));
        const int dateAt = newer ? 20 : 24;
        putWord(e, dateAt, 0x2023);
        e[dateAt + 2] = 0x01; // day
        e[dateAt + 3] = position == badDate ? char(0x13) : char(0x02); // month
        e[dateAt + 4] = 0x10; // hour
        if (newer) {
            StoreChecksum(reinterpret_cast<std::uint8_t *>(e.data()), 30);
            if (position == badEntryCrc)
                e[5] = char(e[5] ^ 0x40);
        }
        Q_UNUSED(firstPage);
        Q_UNUSED(page);
        return e;
    }

    QByteArray contentPage(int page, bool newer) const
    {
        const int first = newer ? 320 : 224;
        const int perPage = newer ? 16 : 32;
        QByteArray payload;
        for (int i = 0; i < perPage; ++i)
            payload += entry((page - first) * perPage + i + 1, first, page, newer);
        return payload;
    }

    QByteArray operator()(const QByteArray &r) const
    {
        const int cmd = quint8(r[1]);
        const auto w = [&](int k) { return int(quint8(r[4 + 2 * k]) | (quint8(r[5 + 2 * k]) << 8)); };
        if (cmd == 0x0B && w(1) == 8163) {
            QByteArray p = identifyPayload(older ? QStringLiteral("Q-W") : QStringLiteral("none"), 0x51, 1, 1024);
            putWord(p, 274, std::uint16_t(archive));
            return answerFrame(p);
        }
        if (cmd == 0x0F && w(0) == 0) {
            if (older)
                return QByteArray(); // older instruments do not know 0x0F
            QByteArray p = identifyPayload(QStringLiteral("Q-Q"), 0x60, 1);
            putWord(p, 274, std::uint16_t(archive));
            return answerFrame(p);
        }
        if (cmd == 0x0D && w(1) >= 320 && w(1) < 350)
            return answerFrame(contentPage(w(1), true));
        if (cmd == 0x0B && w(1) >= 224 && w(1) < 300)
            return answerFrame(contentPage(w(1), false));
        if (cmd == 0x0D || cmd == 0x0B)
            return answerFrame(QByteArray(1024, char(w(1) & 0xFF)));
        if (cmd == 0x0F)
            return answerFrame(QByteArray(512, 'd'));
        return answerFrame(QByteArray());
    }
};

struct Rig {
    FakeLine line;
    ExchangeContext context;
    std::atomic<bool> cancel{false};
    QVector<Timeouts> timeouts;
    Rig() { context.cancel = &cancel; }
    LinkMaker maker()
    {
        return [this](Timeouts t) -> std::unique_ptr<Link> {
            timeouts.append(t);
            return std::make_unique<SerialLink>(line, t, context);
        };
    }
};

QVector<int> commands(const QVector<QByteArray> &requests)
{
    QVector<int> out;
    for (const QByteArray &r : requests)
        out.append(quint8(r[1]));
    return out;
}

// The result code of one transaction.
int outcome(SerialLink &link, const QByteArray &request, QByteArray &answer, int capacity)
{
    return device::code(link.transact(request, answer, capacity));
}

// Page words (second payload word) of the requests.
QVector<int> pages(const QVector<QByteArray> &requests)
{
    QVector<int> out;
    for (const QByteArray &r : requests)
        out.append(quint8(r[6]) | (quint8(r[7]) << 8));
    return out;
}

} // namespace

class tst_exchange : public QObject {
    Q_OBJECT

private slots:
    void pacing_data();
    void pacing();
    void answerCodes_data();
    void answerCodes();
    void oversizedAnswerRefusedEarly();
    void cancelDuringBody();
    void cancelDuringHeaderWaitsForBody();
    void portFailures();
    void identifyGenerations();
    void contentPages_data();
    void contentPages();
    void contentFaults();
    void recordPages();
    void meterDatabase();
    void fuzzAnswers();
};

void tst_exchange::pacing_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("pauses");
    QTest::newRow("12 bytes") << 12 << 0;
    QTest::newRow("32 bytes") << 32 << 1;
    QTest::newRow("522 bytes") << 522 << 16;
    QTest::newRow("1036 bytes") << 1036 << 32;
}

void tst_exchange::pacing()
{
    QFETCH(int, length);
    QFETCH(int, pauses);
    Rig rig;
    rig.line.respond = [](const QByteArray &) { return hex("02 00 00 00 ED 68"); };
    SerialLink link(rig.line, kWriteTimeouts, rig.context);
    QByteArray request = buildFrame(0x0E, QByteArray(length - 6, 'x'));
    QByteArray answer;
    QCOMPARE(outcome(link, request, answer, kExchangeBufferSize), 0);
    QCOMPARE(answer, hex("02 00 00 00 ED 68"));
    QCOMPARE(rig.line.pauses.size(), pauses);
    for (int i = 0; i < pauses; ++i) {
        QCOMPARE(rig.line.pauses.at(i), 5);
        QCOMPARE(rig.line.bytesBeforePause.at(i), 32 * (i + 1));
    }
    QCOMPARE(rig.line.requests.size(), 1);
    QCOMPARE(rig.line.requests.at(0), request);
}

void tst_exchange::answerCodes_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("code");
    QTest::newRow("silent") << QByteArray() << 4;
    QTest::newRow("one byte") << hex("02") << 6;
    QTest::newRow("three bytes") << hex("02 00 02") << 6;
    QTest::newRow("body cut") << hex("02 00 04 00 01 02") << 6;
    QTest::newRow("status FF") << answerFrame(hex("00 00"), 0xFF) << 3;
    QTest::newRow("status 01") << answerFrame(hex("00 00"), 0x01) << 5;
    QTest::newRow("status 80") << answerFrame(QByteArray(), 0x80) << 5;
    QTest::newRow("wrong start") << (hex("07 00 00 00") + hex("00 00")) << 5;
    QTest::newRow("bad crc") << hex("02 00 00 00 ED 69") << 7;
    QTest::newRow("empty payload") << hex("02 00 00 00 ED 68") << 0;
    QTest::newRow("length 65535") << hex("02 00 FF FF 00 00 00") << 7;
}

// Through the write operation, which checks the answer's CRC only.
void tst_exchange::answerCodes()
{
    QFETCH(QByteArray, answer);
    QFETCH(int, code);
    Rig rig;
    rig.line.respond = [&](const QByteArray &) { return answer; };
    DeviceClient client(rig.maker(), rig.context);
    DeviceInfo info;
    info.modelClass = 3;
    QCOMPARE(device::code(client.writeMeterDatabaseStep2(info, QByteArray(400, 'a'))), code);
    QCOMPARE(rig.line.opens, 1);
    // Success restores and closes; a failure closes without restoring.
    QCOMPARE(rig.line.closesRestoring, code == 0 ? 1 : 0);
    QCOMPARE(rig.line.restores, code == 0 ? 1 : 0);
    QCOMPARE(rig.line.closesPlain, code == 0 ? 0 : 1);
    QCOMPARE(rig.timeouts.size(), 1);
    QCOMPARE(rig.timeouts.at(0).writeMs, 2000);
    QCOMPARE(rig.timeouts.at(0).readMs, 2000);
}

void tst_exchange::oversizedAnswerRefusedEarly()
{
    Rig rig;
    // A record slot holds 1030 bytes: 1025 announced payload bytes are one
    // too many, whatever follows.
    rig.line.respond = [](const QByteArray &) { return hex("02 00 01 04") + QByteArray(1027, 'z'); };
    SerialLink link(rig.line, kRecordTimeouts, rig.context);
    QByteArray answer;
    QCOMPARE(outcome(link, readPagesRequest(352, 2), answer, kRecordSlotSize), 7);
    QCOMPARE(rig.line.reads, 4);
    QVERIFY(answer.isEmpty());

    // 1024 payload bytes fit exactly.
    FakeLine exact;
    exact.respond = [](const QByteArray &) { return answerFrame(QByteArray(1024, 'q')); };
    SerialLink fits(exact, kRecordTimeouts, rig.context);
    QCOMPARE(outcome(fits, readPagesRequest(352, 2), answer, kRecordSlotSize), 0);
    QCOMPARE(answer.size(), 1030);
}

void tst_exchange::cancelDuringBody()
{
    Rig rig;
    rig.line.respond = [](const QByteArray &) { return answerFrame(QByteArray(1024, 'r')); };
    rig.line.beforeRead = [&](int index) {
        if (index == 500)
            rig.cancel = true;
    };
    DeviceClient client(rig.maker(), rig.context);
    DeviceInfo info;
    info.modelClass = 3;
    QVector<QByteArray> slots_;
    QCOMPARE(client.readRecords(info, {1, 2}, slots_), Status::Cancelled);
    QVERIFY(slots_.isEmpty());
    QVERIFY(!rig.cancel); // read and cleared
    // The flag raised while byte 500 arrived stops the reading before 501.
    QCOMPARE(rig.line.reads, 501);
    QCOMPARE(rig.line.requests.size(), 1);
    QCOMPARE(rig.line.closesPlain, 1);
    QCOMPARE(rig.line.restores, 0);
}

void tst_exchange::cancelDuringHeaderWaitsForBody()
{
    Rig rig;
    rig.line.respond = [](const QByteArray &) { return hex("02 00 00 00 ED 68"); };
    bool pressed = false;
    rig.line.beforeRead = [&](int index) {
        if (index == 1 && !pressed)
            rig.cancel = pressed = true;
    };
    SerialLink link(rig.line, kWriteTimeouts, rig.context);
    QByteArray answer;
    // The flag raised while byte 1 arrives is looked at only before byte 4,
    // the first CRC byte of an empty answer.
    QCOMPARE(outcome(link, readWordsRequest(0), answer, kExchangeBufferSize), 14);
    QCOMPARE(rig.line.reads, 4);
    QVERIFY(!rig.cancel.load());
    // Without the flag the same answer is complete after six bytes.
    rig.line.purge();
    QCOMPARE(outcome(link, readWordsRequest(0), answer, kExchangeBufferSize), 0);
    QCOMPARE(answer, hex("02 00 00 00 ED 68"));
}

void tst_exchange::portFailures()
{
    DeviceInfo info;
    info.modelClass = 3;
    const QByteArray block(400, 'b');
    {
        Rig rig;
        rig.line.openOk = false;
        DeviceClient client(rig.maker(), rig.context);
        QCOMPARE(client.writeMeterDatabaseStep1(info, block), Status::PortUnavailable);
        QCOMPARE(rig.line.configures, 0);
        QVERIFY(rig.line.requests.isEmpty());
    }
    {
        Rig rig;
        rig.line.configureOk = false;
        DeviceClient client(rig.maker(), rig.context);
        QCOMPARE(client.writeMeterDatabaseStep1(info, block), Status::SettingsFailed);
        QCOMPARE(rig.line.closesPlain, 1);
        QVERIFY(rig.line.requests.isEmpty());
    }
    {
        Rig rig;
        rig.line.respond = Scripted{};
        rig.line.restoreOk = false;
        DeviceClient client(rig.maker(), rig.context);
        QCOMPARE(client.writeMeterDatabaseStep1(info, block), Status::RestoreFailed);
    }
    {
        Rig rig;
        rig.line.respond = Scripted{};
        rig.line.closeOk = false;
        DeviceClient client(rig.maker(), rig.context);
        QCOMPARE(client.writeMeterDatabaseStep1(info, block), Status::CloseFailed);
    }
    {
        Rig rig;
        rig.line.respond = Scripted{};
        rig.line.failWriteAt = 40;
        DeviceClient client(rig.maker(), rig.context);
        QCOMPARE(client.writeMeterDatabaseStep1(info, block), Status::WriteFailed);
        QCOMPARE(rig.line.pauses.size(), 1);
    }
}

void tst_exchange::identifyGenerations()
{
    {
        // An older instrument is never asked with 0x0F.
        Rig rig;
        Scripted s;
        s.older = true;
        s.archive = 5;
        rig.line.respond = s;
        DeviceClient client(rig.maker(), rig.context);
        DeviceInfo info;
        QCOMPARE(client.identify(info), Status::Ok);
        QCOMPARE(commands(rig.line.requests), QVector<int>({0x0B}));
        QCOMPARE(rig.line.requests.at(0), hex("02 0B 06 00 00 00 E3 1F 01 00 19 AF"));
        QCOMPARE(int(info.modelClass), 2);
        QCOMPARE(int(client.archiveSize()), 5);
        QCOMPARE(client.firstContentPage(), 224);
    }
    {
        // A newer one answers 0x0B with something unknown and is asked again.
        Rig rig;
        rig.line.respond = Scripted{};
        DeviceClient client(rig.maker(), rig.context);
        DeviceInfo info;
        QCOMPARE(client.identify(info), Status::Ok);
        QCOMPARE(commands(rig.line.requests), QVector<int>({0x0B, 0x0F}));
        QCOMPARE(rig.line.requests.at(1), hex("02 0F 04 00 00 00 00 01 13 CF"));
        QCOMPARE(int(info.modelClass), 3);
        QCOMPARE(client.firstContentPage(), 320);
        QCOMPARE(rig.line.opens, 2); // each operation opens its own port
    }
    {
        Rig rig;
        Scripted s;
        s.archive = 0;
        rig.line.respond = s;
        DeviceClient client(rig.maker(), rig.context);
        DeviceInfo info;
        QCOMPARE(client.identify(info), Status::ArchiveEmpty);
    }
}

void tst_exchange::contentPages_data()
{
    QTest::addColumn<bool>("older");
    QTest::addColumn<int>("archive");
    QTest::addColumn<QVector<int>>("expectedPages");
    QTest::newRow("newer 16") << false << 16 << QVector<int>{320};
    QTest::newRow("newer 17") << false << 17 << QVector<int>{320, 321};
    QTest::newRow("older 33") << true << 33 << QVector<int>{224, 225};
    QTest::newRow("older 32") << true << 32 << QVector<int>{224};
}

void tst_exchange::contentPages()
{
    QFETCH(bool, older);
    QFETCH(int, archive);
    QFETCH(QVector<int>, expectedPages);
    Rig rig;
    Scripted s;
    s.older = older;
    s.archive = archive;
    rig.line.respond = s;
    DeviceClient client(rig.maker(), rig.context);
    DeviceInfo info;
    QCOMPARE(client.identify(info), Status::Ok);
    rig.line.requests.clear();
    QVector<pcn::_datacounter> content;
    QCOMPARE(client.readContent(info, content), Status::Ok);
    QCOMPARE(pages(rig.line.requests), expectedPages);
    for (const QByteArray &r : rig.line.requests) {
        QCOMPARE(int(quint8(r[1])), older ? 0x0B : 0x0D);
        QCOMPARE(r.mid(8, 2), hex("01 00")); // one page
    }
    QCOMPARE(content.size(), archive);
    QCOMPARE(content.last().serial, std::uint32_t(archive));
    QCOMPARE(content.first().date, QDate(2023, 2, 1));
    QCOMPARE(rig.context.progressMaximum, qint64(expectedPages.size()) * (older ? 1030 : 518));
    QCOMPARE(rig.context.bytesReceived, rig.context.progressMaximum);
}

void tst_exchange::contentFaults()
{
    for (int which = 0; which < 2; ++which) {
        Rig rig;
        Scripted s;
        s.archive = 20;
        (which == 0 ? s.badEntryCrc : s.badDate) = 18;
        rig.line.respond = s;
        DeviceClient client(rig.maker(), rig.context);
        DeviceInfo info;
        QCOMPARE(client.identify(info), Status::Ok);
        QVector<pcn::_datacounter> content;
        QCOMPARE(client.readContent(info, content), which == 0 ? Status::EntryCrc : Status::BadStatus);
        QVERIFY(content.isEmpty());
    }
}

void tst_exchange::recordPages()
{
    Rig rig;
    rig.line.respond = Scripted{};
    DeviceClient client(rig.maker(), rig.context);
    DeviceInfo info;
    info.modelClass = 5;
    int notified = 0;
    rig.context.recordRead = [&](int n, int total) {
        notified = n;
        QCOMPARE(total, 2);
    };
    QVector<QByteArray> slots_;
    QCOMPARE(client.readRecords(info, {1, 5}, slots_), Status::Ok);
    QCOMPARE(rig.line.requests.at(0), hex("02 0D 06 00 00 00 60 01 02 00 08 F2"));
    QCOMPARE(rig.line.requests.at(1), hex("02 0D 06 00 00 00 68 01 02 00 8D 31"));
    QCOMPARE(rig.line.pauses, QVector<int>({500, 500}));
    QCOMPARE(slots_.size(), 2);
    QCOMPARE(slots_.at(1).size(), 1030);
    QCOMPARE(notified, 2);
    QCOMPARE(rig.timeouts.last().readMs, 4000);
    QCOMPARE(rig.context.progressMaximum, 2 * 1030);

    // Older instruments: 0x0B page 23 + k, 100 ms apart; at most 200 records.
    Rig old;
    old.line.respond = Scripted{};
    DeviceClient olderClient(old.maker(), old.context);
    info.modelClass = 2;
    QVector<int> numbers;
    for (int k = 1; k <= 205; ++k)
        numbers.append(k);
    slots_.clear();
    QCOMPARE(olderClient.readRecords(info, numbers, slots_), Status::Ok);
    QCOMPARE(slots_.size(), 200);
    QCOMPARE(commands(old.line.requests).count(0x0B), 200);
    QCOMPARE(pages(old.line.requests).first(), 24);
    QCOMPARE(pages(old.line.requests).last(), 223);
    QCOMPARE(old.line.pauses.first(), 100);
}

void tst_exchange::meterDatabase()
{
    Rig rig;
    rig.line.respond = Scripted{};
    DeviceClient client(rig.maker(), rig.context);
    DeviceInfo info;
    info.modelClass = 0;
    info.pageFactor = 2;
    QByteArray seen;
    QCOMPARE(client.readMeterDatabase(info,
                                      [&](const QByteArray &p) {
                                          seen = p;
                                          return true;
                                      }),
             Status::Ok);
    QCOMPARE(seen.size(), 1024);
    QCOMPARE(pages(rig.line.requests).last(), 8177);
    QCOMPARE(client.readMeterDatabase(info, [](const QByteArray &) { return false; }), Status::DataError);
    info.modelClass = 6;
    QCOMPARE(client.readMeterDatabase(info,
                                      [&](const QByteArray &p) {
                                          seen = p;
                                          return true;
                                      }),
             Status::Ok);
    QCOMPARE(rig.line.requests.last().left(6), hex("02 0F 04 00 80 03"));
    QCOMPARE(seen, QByteArray(512, 'd'));

    // Writing to an older instrument: 1036 bytes of 0x0A, then 524 of 0x08
    // with target 28672.
    rig.line.requests.clear();
    info.modelClass = 1;
    QCOMPARE(client.writeMeterDatabaseStep1(info, QByteArray(400, 'm')), Status::Ok);
    QCOMPARE(client.writeMeterDatabaseStep2(info, QByteArray(400, 'm')), Status::Ok);
    QCOMPARE(rig.line.requests.at(0).size(), 1036);
    QCOMPARE(int(quint8(rig.line.requests.at(0)[1])), 0x0A);
    QCOMPARE(rig.line.requests.at(1).size(), 524);
    QCOMPARE(rig.line.requests.at(1).mid(1, 9), hex("08 06 02 0E 00 00 70 00 01"));
}

// Random answers never crash the answer path, never yield more bytes than
// the buffer holds and always end in one of the documented codes.
void tst_exchange::fuzzAnswers()
{
    QRandomGenerator random(20240611);
    const QList<Status> allowed = {
        Status::Ok,        Status::StatusError, Status::NoAnswer,     Status::BadStatus,     Status::BrokenAnswer,
        Status::DataError, Status::EntryCrc,    Status::ArchiveEmpty, Status::NotRecognised, Status::Cancelled};
    for (int round = 0; round < 3000; ++round) {
        QByteArray answer;
        const int kind = random.bounded(4);
        if (kind == 0) {
            answer.resize(random.bounded(40));
            for (char &c : answer)
                c = char(random.bounded(256));
        } else {
            const int length = kind == 1 ? random.bounded(65536) : random.bounded(1300);
            answer = hex("02 00");
            answer.append(char(length & 0xFF));
            answer.append(char(length >> 8));
            answer[0] = random.bounded(5) == 0 ? char(random.bounded(256)) : char(0x02);
            answer[1] = random.bounded(4) == 0 ? char(random.bounded(256)) : char(0);
            QByteArray body(qMin(length + 2, random.bounded(1400)), '\0');
            for (char &c : body)
                c = char(random.bounded(256));
            answer += body;
            if (kind == 3 && length + 6 <= kExchangeBufferSize && answer.size() >= length + 6) {
                answer.truncate(length + 4);
                answer.resize(length + 6);
                StoreChecksum(reinterpret_cast<std::uint8_t *>(answer.data()), std::size_t(length + 4));
            }
        }
        Rig rig;
        rig.line.respond = [&](const QByteArray &) { return answer; };
        DeviceClient client(rig.maker(), rig.context);
        DeviceInfo info;
        const int op = random.bounded(3);
        Status rc = Status::Ok;
        if (op == 0) {
            rc = client.identify(info);
        } else if (op == 1) {
            client.setArchive(std::uint16_t(1 + random.bounded(40)), 320);
            info.modelClass = 3;
            QVector<pcn::_datacounter> content;
            rc = client.readContent(info, content);
        } else {
            info.modelClass = 6;
            QVector<QByteArray> slots_;
            rc = client.readRecords(info, {1}, slots_);
            for (const QByteArray &s : slots_)
                QVERIFY(s.size() <= kRecordSlotSize);
        }
        QVERIFY2(allowed.contains(rc), qPrintable(QStringLiteral("round %1 gave %2").arg(round).arg(device::code(rc))));
        QVERIFY(rig.context.bytesReceived <= kExchangeBufferSize);
        QCOMPARE(rig.line.opens, rig.line.closesPlain + rig.line.closesRestoring);
    }
}

QTEST_GUILESS_MAIN(tst_exchange)
#include "tst_exchange.moc"
