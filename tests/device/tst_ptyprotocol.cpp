// The protocol end to end over a real pseudo-terminal against the instrument
// emulator, through the serial port transport.
#include "device/deviceclient.h"
#include "device/link.h"
#include "device/llexch.h"
#include "deviceoutcome/status.h"
#include "deviceoutcome/outcometext.h"
#include "processes.h"
#include "testdir.h"

#include <QProcess>
#include <QtTest>

using namespace device;
using testsupport::hex;

namespace {

// Passes everything to the port and notes the request frames, the pauses
// and the bytes read, so that tests can see what went over the line.
class Recorder final : public Transport {
public:
    explicit Recorder(Transport &inner) : inner_(inner) {}
    QVector<QByteArray> *requests = nullptr;
    QVector<int> *pauses = nullptr;
    std::function<void()> afterRead;

    bool open() override { return inner_.open(); }
    bool configure() override { return inner_.configure(); }
    qint64 write(const std::uint8_t *d, qint64 n, Clock::time_point t) override
    {
        const qint64 w = inner_.write(d, n, t);
        pending_.append(reinterpret_cast<const char *>(d), int(qMax<qint64>(w, 0)));
        if (pending_.size() >= 4 && pending_.size() == (quint8(pending_[2]) | (quint8(pending_[3]) << 8)) + 6) {
            requests->append(pending_);
            pending_.clear();
        }
        return w;
    }
    qint64 read(std::uint8_t *d, qint64 n, Clock::time_point t) override
    {
        const qint64 r = inner_.read(d, n, t);
        if (afterRead)
            afterRead();
        return r;
    }
    bool purge() override { return inner_.purge(); }
    PortFailure failure() const override { return inner_.failure(); }
    bool restore() override { return inner_.restore(); }
    bool close(bool r) override { return inner_.close(r); }
    void pause(std::chrono::milliseconds ms) override
    {
        pauses->append(int(ms.count()));
        inner_.pause(ms);
    }

private:
    Transport &inner_;
    QByteArray pending_;
};

class RecordedLink final : public Link {
public:
    RecordedLink(const QString &port, Timeouts t, ExchangeContext &c)
        : port_(port, 115200), recorder(port_), link_(recorder, t, c)
    {}
    Status begin() override { return link_.begin(); }
    Status exchange(const QByteArray &r, QByteArray &a, int c, int e) override { return link_.exchange(r, a, c, e); }
    Status end() override { return link_.end(); }
    void abort() override { link_.abort(); }
    void pause(std::chrono::milliseconds d) override { link_.pause(d); }
    LinkTraits traits() const override { return link_.traits(); }
    COM_M::CLlExch &port() { return port_; }

private:
    COM_M::CLlExch port_;

public:
    Recorder recorder;

private:
    SerialLink link_;
};

using Sim = testsupport::Emulator;

struct Session {
    ExchangeContext context;
    std::atomic<bool> cancel{false};
    QVector<QByteArray> requests;
    QVector<int> pauses;
    std::function<void()> afterRead;
    std::function<qint64()> lineQueue; // replaces the port's output-queue query
    DeviceClient client;
    explicit Session(const QString &port)
        : client(
            [this, port](Timeouts t) -> std::unique_ptr<Link> {
                auto link = std::make_unique<RecordedLink>(port, t, context);
                link->recorder.requests = &requests;
                link->recorder.pauses = &pauses;
                link->recorder.afterRead = afterRead;
                if (lineQueue)
                    link->port().setLineQueueProbe(lineQueue);
                return link;
            },
            context)
    {
        context.cancel = &cancel;
    }
};

QVector<int> pageWords(const QVector<QByteArray> &requests, int command)
{
    QVector<int> out;
    for (const QByteArray &r : requests) {
        if (quint8(r[1]) == command)
            out.append(quint8(r[6]) | (quint8(r[7]) << 8));
    }
    return out;
}

} // namespace

class tst_ptyprotocol : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void newerContentPages_data();
    void newerContentPages();
    void olderInstrument();
    void recordsAndCancel();
    void writePacing();
    void faults_data();
    void faults();
    void missingPort();
    void lineHeldByCts();
};

void tst_ptyprotocol::initTestCase()
{
    if (!testsupport::emulatorBuilt())
        QSKIP("the instrument emulator is not built");
}

void tst_ptyprotocol::newerContentPages_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<QVector<int>>("expected");
    QTest::newRow("16") << 16 << QVector<int>{320};
    QTest::newRow("17") << 17 << QVector<int>{320, 321};
}

void tst_ptyprotocol::newerContentPages()
{
    QFETCH(int, records);
    QFETCH(QVector<int>, expected);
    Sim sim({"--model-class", "3", "--records", QString::number(records)});
    QVERIFY(!sim.path.isEmpty());
    Session s(sim.path);
    DeviceInfo info;
    QCOMPARE(s.client.identify(info), Status::Ok);
    QCOMPARE(s.requests.last(), hex("02 0F 04 00 00 00 00 01 13 CF"));
    QCOMPARE(int(info.modelClass), 3);
    QCOMPARE(int(s.client.archiveSize()), records);
    s.requests.clear();
    QVector<pcn::_datacounter> content;
    QCOMPARE(s.client.readContent(info, content), Status::Ok);
    QCOMPARE(pageWords(s.requests, 0x0D), expected);
    QCOMPARE(s.requests.size(), expected.size());
    QCOMPARE(content.size(), records);
    QVERIFY(content.first().date.isValid());
}

void tst_ptyprotocol::olderInstrument()
{
    Sim sim({"--model-class", "2", "--records", "33"});
    QVERIFY(!sim.path.isEmpty());
    Session s(sim.path);
    DeviceInfo info;
    QCOMPARE(s.client.identify(info), Status::Ok);
    QCOMPARE(int(info.modelClass), 2);
    QVector<pcn::_datacounter> content;
    QCOMPARE(s.client.readContent(info, content), Status::Ok);
    QCOMPARE(content.size(), 33);
    QCOMPARE(pageWords(s.requests, 0x0B), QVector<int>({8163, 224, 225}));
    for (const QByteArray &r : s.requests)
        QVERIFY(quint8(r[1]) != 0x0F);
}

void tst_ptyprotocol::recordsAndCancel()
{
    Sim sim({"--model-class", "3", "--records", "6"});
    QVERIFY(!sim.path.isEmpty());
    {
        Session s(sim.path);
        DeviceInfo info;
        QCOMPARE(s.client.identify(info), Status::Ok);
        s.requests.clear();
        QVector<QByteArray> slots_;
        QCOMPARE(s.client.readRecords(info, {1, 5}, slots_), Status::Ok);
        QCOMPARE(pageWords(s.requests, 0x0D), QVector<int>({352, 360}));
        QCOMPARE(s.requests.at(0).mid(8, 2), hex("02 00"));
        QCOMPARE(slots_.size(), 2);
        QCOMPARE(slots_.at(0).size(), 1030);
    }
    {
        Session s(sim.path);
        int reads = 0;
        s.afterRead = [&] {
            if (++reads == 300)
                s.cancel = true;
        };
        DeviceInfo info;
        info.modelClass = 3;
        QVector<QByteArray> slots_;
        QCOMPARE(s.client.readRecords(info, {2}, slots_), Status::Cancelled);
        QVERIFY(slots_.isEmpty());
        QVERIFY(!s.cancel.load());
    }
}

void tst_ptyprotocol::writePacing()
{
    Sim sim({"--model-class", "5"});
    QVERIFY(!sim.path.isEmpty());
    Session s(sim.path);
    DeviceInfo info;
    QCOMPARE(s.client.identify(info), Status::Ok);
    QCOMPARE(int(info.modelClass), 5);
    QVERIFY(s.pauses.isEmpty()); // the 12- and 10-byte requests go without a pause
    QCOMPARE(s.client.writeMeterDatabaseStep1(info, QByteArray(400, '\0')), Status::Ok);
    QCOMPARE(s.requests.last().size(), 522);
    QCOMPARE(s.pauses, QVector<int>(16, 5));
    QCOMPARE(s.client.writeMeterDatabaseStep2(info, QByteArray(400, '\0')), Status::Ok);
    QCOMPARE(s.requests.last().size(), 524);
}

void tst_ptyprotocol::faults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("content");
    QTest::addColumn<int>("code");
    // Request 1 is the older identify, 2 the newer one, 3 the first content page.
    QTest::newRow("no answer") << "no-answer:1" << false << 4;
    QTest::newRow("broken off") << "break-after:10:2" << false << 6;
    QTest::newRow("status FF") << "status-ff:2" << false << 3;
    QTest::newRow("bad CRC") << "bad-crc:2" << false << 7;
    QTest::newRow("bad entry") << "bad-content-entry:3" << true << 12;
    QTest::newRow("bad date") << "bad-date:3" << true << 5;
}

void tst_ptyprotocol::faults()
{
    QFETCH(QString, fault);
    QFETCH(bool, content);
    QFETCH(int, code);
    Sim sim({"--model-class", "3", "--records", "5", "--fault", fault});
    QVERIFY(!sim.path.isEmpty());
    Session s(sim.path);
    DeviceInfo info;
    Status rc = s.client.identify(info);
    if (content) {
        QCOMPARE(rc, Status::Ok);
        QVector<pcn::_datacounter> entries;
        rc = s.client.readContent(info, entries);
    }
    QCOMPARE(device::code(rc), code);
    QVERIFY(deviceoutcome::statusMessage(rc) > 0);
}

void tst_ptyprotocol::missingPort()
{
    QTemporaryDir dir;
    Session s(dir.filePath(QStringLiteral("no-such-port")));
    DeviceInfo info;
    QCOMPARE(s.client.identify(info), Status::PortUnavailable);
    QCOMPARE(s.context.portFailure.kind, PortFailure::Kind::NotPresent);
    // Told in the program's language, like every other text.
    QVERIFY(deviceoutcome::portFailureText(s.context.portFailure, 1).contains(QStringLiteral("not present")));
    QCOMPARE(deviceoutcome::portFailureText(s.context.portFailure, 0),
             QStringLiteral("порт не найден; подключён ли кабель?"));
    QCOMPARE(COM_M::CLlExch::diagnose(dir.path() + QStringLiteral("/x"), QSerialPort::NoError),
             COM_M::PortProblem::NotPresent);
}

// A line held by CTS: the system takes the bytes but they never leave the
// port. The request is not written (code 2), instead of waiting for an
// answer that cannot come (code 4); a line that drains works as before.
void tst_ptyprotocol::lineHeldByCts()
{
    Sim sim({"--model-class", "3"});
    QVERIFY(!sim.path.isEmpty());
    Session held(sim.path);
    held.lineQueue = [] { return qint64(1); };
    DeviceInfo info;
    QCOMPARE(held.client.identify(info), Status::WriteFailed);

    Session drained(sim.path);
    int polls = 0;
    drained.lineQueue = [&polls] { return qint64(++polls % 3 == 0 ? 0 : 1); };
    QCOMPARE(drained.client.identify(info), Status::Ok);
    QVERIFY(polls > 0);
}

QTEST_GUILESS_MAIN(tst_ptyprotocol)
#include "tst_ptyprotocol.moc"
