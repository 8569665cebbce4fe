// The USB bridge path against a fake library table: the order and values of
// the calls, the device-count dialogs and the gathering of an answer.
#include "devicebytes.h"

#include "device/deviceclient.h"
#include "device/ftdidevice.h"
#include "device/link.h"
#include "deviceoutcome/status.h"
#include "testdir.h"

#include <QtTest>

using namespace device;
using namespace devicetest;

namespace {

class FakeFtdi final : public FtdiApi {
public:
    bool loads = true;
    int devices = 1;
    QByteArray answer; // what the bridge delivers after a write
    int piece = 100; // bytes per read call
    QStringList calls;
    QVector<QByteArray> written;
    int ctxCount = 0;

    bool load() override
    {
        calls << "load";
        return loads;
    }
    void *newContext() override
    {
        ++ctxCount;
        return &ctxCount;
    }
    void freeContext(void *) override {}
    int countDevices(void *) override
    {
        calls << "count";
        return devices;
    }
    int serialOf(void *, int index, char *b, int size) override
    {
        calls << QStringLiteral("serial %1").arg(index);
        qstrncpy(b, "FT12345", size_t(size));
        return 0;
    }
    int descriptionOf(void *, int index, char *b, int size) override
    {
        calls << QStringLiteral("description %1").arg(index);
        qstrncpy(b, "bridge", size_t(size));
        return 0;
    }
    int openBySerial(void *, const char *serial) override
    {
        calls << QStringLiteral("open %1").arg(serial);
        return 0;
    }
    int close(void *) override
    {
        calls << "close";
        return 0;
    }
    int reset(void *) override
    {
        calls << "reset";
        return 0;
    }
    int flush(void *) override
    {
        calls << "flush";
        pending_.clear();
        return 0;
    }
    int setLatency(void *, int ms) override
    {
        calls << QStringLiteral("latency %1").arg(ms);
        return 0;
    }
    int setTransferSizes(void *, int in, int out) override
    {
        calls << QStringLiteral("transfer %1 %2").arg(in).arg(out);
        return 0;
    }
    int setBaudRate(void *, int rate) override
    {
        calls << QStringLiteral("baud %1").arg(rate);
        return 0;
    }
    int setLine8N2(void *) override
    {
        calls << "line 8N2";
        return 0;
    }
    int setTimeouts(void *, int r, int w) override
    {
        calls << QStringLiteral("timeouts %1 %2").arg(r).arg(w);
        return 0;
    }
    int write(void *, const unsigned char *d, int n) override
    {
        calls << QStringLiteral("write %1").arg(n);
        written.append(QByteArray(reinterpret_cast<const char *>(d), n));
        pending_ = answer;
        return n;
    }
    int read(void *, unsigned char *d, int n) override
    {
        const int k = qMin(qMin(n, piece), int(pending_.size()));
        std::memcpy(d, pending_.constData(), size_t(k));
        pending_.remove(0, k);
        return k;
    }

private:
    QByteArray pending_;
};

struct UsbRig {
    FakeFtdi api;
    ExchangeContext context;
    LinkMaker maker()
    {
        return [this](Timeouts) -> std::unique_ptr<Link> {
            struct Owned final : Link {
                FTDI_device device;
                UsbLink link;
                explicit Owned(FtdiApi &api) : device(api), link(device, device) {}
                Status begin() override { return link.begin(); }
                Status exchange(const QByteArray &r, QByteArray &a, int c, int e) override
                {
                    return link.exchange(r, a, c, e);
                }
                Status end() override { return link.end(); }
                void abort() override { link.abort(); }
                void pause(std::chrono::milliseconds d) override { link.pause(d); }
                LinkTraits traits() const override { return link.traits(); }
            };
            return std::make_unique<Owned>(api);
        };
    }
};

QByteArray newerIdentifyAnswer(int archive)
{
    QByteArray p = identifyPayload(QStringLiteral("Q-Q"), 0x60, 1);
    putWord(p, 274, std::uint16_t(archive));
    return answerFrame(p);
}

} // namespace

class tst_ftdi : public QObject {
    Q_OBJECT

private slots:
    void callSequence();
    void deviceCountDialogs();
    void answerInPieces();
    void shortAnswer();
    void answerIsOneWholeFrame_data();
    void answerIsOneWholeFrame();
    void readAttempts();
};

void tst_ftdi::callSequence()
{
    UsbRig rig;
    rig.api.answer = newerIdentifyAnswer(3);
    DeviceClient client(rig.maker(), rig.context);
    DeviceInfo info;
    QCOMPARE(client.identify(info), Status::Ok);
    QCOMPARE(int(info.modelClass), 3);
    const QStringList expected = {"load",
                                  "count",
                                  "count",
                                  "serial 0",
                                  "description 0",
                                  "open FT12345",
                                  "latency 16",
                                  "transfer 65536 0",
                                  "reset",
                                  "flush",
                                  "baud 3000000",
                                  "line 8N2",
                                  "timeouts 4000 0",
                                  "timeouts 100 0",
                                  "write 10",
                                  "flush",
                                  "reset",
                                  "close"};
    QCOMPARE(rig.api.calls, expected);
    // Only the newer identify goes over the bridge.
    QCOMPARE(rig.api.written.size(), 1);
    QCOMPARE(rig.api.written.at(0), testsupport::hex("02 0F 04 00 00 00 00 01 13 CF"));
}

void tst_ftdi::deviceCountDialogs()
{
    const QList<QPair<int, Status>> cases = {
        {0, Status::UsbNoDevice}, {2, Status::UsbSeveralDevices}, {-1, Status::UsbNoDevice}};
    for (const auto &c : cases) {
        UsbRig rig;
        rig.api.devices = c.first;
        DeviceClient client(rig.maker(), rig.context);
        DeviceInfo info;
        QCOMPARE(client.identify(info), c.second);
        QCOMPARE(code(c.second), 14);
        QVERIFY(rig.api.written.isEmpty());
    }
    UsbRig missing;
    missing.api.loads = false;
    DeviceClient client(missing.maker(), missing.context);
    DeviceInfo info;
    QCOMPARE(client.identify(info), Status::UsbLibraryMissing);
    QCOMPARE(missing.api.calls, QStringList{"load"});
}

void tst_ftdi::answerInPieces()
{
    UsbRig rig;
    rig.api.answer = newerIdentifyAnswer(17);
    rig.api.piece = 7;
    DeviceClient client(rig.maker(), rig.context);
    DeviceInfo info;
    QCOMPARE(client.identify(info), Status::Ok);
    QCOMPARE(int(client.archiveSize()), 17);
}

void tst_ftdi::shortAnswer()
{
    // Still incomplete when the attempts are used up: the CRC fails.
    UsbRig rig;
    rig.api.answer = newerIdentifyAnswer(17).left(300);
    DeviceClient client(rig.maker(), rig.context);
    DeviceInfo info;
    QCOMPARE(client.identify(info), Status::DataError);
    // An error status ends the gathering at once.
    UsbRig status;
    status.api.answer = answerFrame(QByteArray(), 0xFF);
    DeviceClient second(status.maker(), status.context);
    QCOMPARE(second.identify(info), Status::BadStatus);
    // A wrong start byte.
    UsbRig start;
    QByteArray bad = newerIdentifyAnswer(3);
    bad[0] = 0x03;
    start.api.answer = bad;
    DeviceClient third(start.maker(), start.context);
    QCOMPARE(third.identify(info), Status::BadStatus);
}

void tst_ftdi::answerIsOneWholeFrame_data()
{
    // The link gathers the 518 bytes it expects. Two whole frames in a row
    // keep the CRC over all of them at zero, yet the answer is not the one
    // frame its header announces.
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("status");
    const QByteArray whole = newerIdentifyAnswer(17);
    QTest::newRow("one frame") << whole << int(Status::Ok);
    QTest::newRow("two halves") << answerFrame(whole.mid(4, 253)) + answerFrame(whole.mid(4, 253))
                                << int(Status::DataError);
    QTest::newRow("empty frame, then a long one")
        << answerFrame(QByteArray()) + answerFrame(whole.mid(4, 506)) << int(Status::DataError);
}

void tst_ftdi::answerIsOneWholeFrame()
{
    QFETCH(QByteArray, answer);
    QFETCH(int, status);
    QCOMPARE(answer.size(), 518);
    UsbRig rig;
    rig.api.answer = answer;
    DeviceClient client(rig.maker(), rig.context);
    DeviceInfo info;
    QCOMPARE(int(client.identify(info)), status);
}

void tst_ftdi::readAttempts()
{
    QCOMPARE(UsbLink::readAttempts(2000), 20);
    QCOMPARE(UsbLink::readAttempts(0), 1);
    QCOMPARE(UsbLink::readAttempts(150), 2);
    QCOMPARE(UsbLink::readAttempts(90000), 50);
}

QTEST_GUILESS_MAIN(tst_ftdi)
#include "tst_ftdi.moc"
