// The answer reading of both links, fed from a fake line: the serial link
// byte by byte along the length field, the USB link in read slices of a
// steered size through the bridge driver. An answer is either refused with a
// result code or is one whole frame that fits its buffer, starts with the
// start byte and status 0, and carries a valid CRC.
#include "fuzzinput.h"

#include "device/comexc.h"
#include "device/deviceclient.h"
#include "device/frame.h"
#include "device/ftdiapi.h"
#include "device/ftdidevice.h"
#include "device/link.h"
#include "device/transport.h"

#include <algorithm>

using namespace device;

namespace {

// The instrument's side: every read takes the next bytes of the input.
struct Line {
    const std::uint8_t *bytes = nullptr;
    std::size_t size = 0;
    std::size_t at = 0;
    std::size_t piece = 1;

    qint64 take(std::uint8_t *out, qint64 wanted)
    {
        const std::size_t n = std::min({std::size_t(wanted), piece, size - at});
        std::copy_n(bytes + at, n, out);
        at += n;
        return qint64(n);
    }
};

class FakeSerial final : public Transport {
public:
    explicit FakeSerial(Line &line) : line_(line) {}
    bool open() override { return true; }
    bool configure() override { return true; }
    qint64 write(const std::uint8_t *, qint64 size, Clock::time_point) override { return size; }
    qint64 read(std::uint8_t *data, qint64 size, Clock::time_point) override { return line_.take(data, size); }
    bool purge() override { return true; }
    bool close(bool) override { return true; }
    void pause(std::chrono::milliseconds) override {}

private:
    Line &line_;
};

class FakeBridge final : public FtdiApi {
public:
    explicit FakeBridge(Line &line) : line_(line) {}
    bool load() override { return true; }
    void *newContext() override { return this; }
    void freeContext(void *) override {}
    int countDevices(void *) override { return 1; }
    int serialOf(void *, int, char *b, int size) override { return copyName(b, size); }
    int descriptionOf(void *, int, char *b, int size) override { return copyName(b, size); }
    int openBySerial(void *, const char *) override { return 0; }
    int close(void *) override { return 0; }
    int reset(void *) override { return 0; }
    int flush(void *) override { return 0; }
    int setLatency(void *, int) override { return 0; }
    int setTransferSizes(void *, int, int) override { return 0; }
    int setBaudRate(void *, int) override { return 0; }
    int setLine8N2(void *) override { return 0; }
    int setTimeouts(void *, int, int) override { return 0; }
    int write(void *, const unsigned char *, int n) override { return n; }
    int read(void *, unsigned char *d, int n) override { return int(line_.take(d, n)); }

private:
    static int copyName(char *b, int size)
    {
        if (size > 0)
            qstrncpy(b, "FZ1", std::size_t(size));
        return 0;
    }
    Line &line_;
};

// The frames of the USB link go to the bridge driver; it never pauses for
// real here.
class QuietFrames final : public Transport {
public:
    explicit QuietFrames(FTDI_device &device) : device_(device) {}
    bool open() override { return device_.open(); }
    bool configure() override { return device_.configure(); }
    qint64 write(const std::uint8_t *d, qint64 n, Clock::time_point t) override { return device_.write(d, n, t); }
    // One read call of the bridge per slice: the deadline has passed at once,
    // so an empty slice costs no real time.
    qint64 read(std::uint8_t *d, qint64 n, Clock::time_point) override { return device_.read(d, n, {}); }
    bool purge() override { return device_.purge(); }
    bool close(bool restore) override { return device_.close(restore); }
    void pause(std::chrono::milliseconds) override {}

private:
    FTDI_device &device_;
};

// Re-stamps the CRC of the frame the header announces, when it is there.
void restamp(std::uint8_t *b, std::size_t size)
{
    if (size < std::size_t(kFrameHeader))
        return;
    const std::size_t total = std::size_t(b[2] | (b[3] << 8)) + kFrameOverhead;
    fuzz::seal(b, size, 0, total - 2);
}

void checkAnswer(const QByteArray &answer, int capacity)
{
    fuzz::check(answer.size() >= kFrameOverhead && answer.size() <= capacity, "answer outside its buffer");
    fuzz::check(announcedLength(answer) + kFrameOverhead == answer.size(), "answer length differs from its header");
    fuzz::check(quint8(answer[0]) == kFrameStart && quint8(answer[1]) == kStatusOk, "answer with a bad start or status");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::Input in(data, size);
    if (in.restamp())
        restamp(in.bytes.get(), in.size);
    static const int capacities[] = {kExchangeBufferSize, kRecordSlotSize, 518, kFrameOverhead, 5};
    const int capacity = capacities[(in.control >> 4) % 5];
    const bool usb = (in.control >> 3) & 1;
    Line line{in.bytes.get(), in.size, 0, usb ? std::size_t(1 + 37 * (in.control & 7)) : 1};
    ExchangeContext context;
    const QByteArray request = readWordsRequest(address::kNewerIdentifyWords);
    try {
        QByteArray answer;
        if (usb) {
            FakeBridge api(line);
            FTDI_device device(api);
            QuietFrames frames(device);
            UsbLink link(device, frames, context);
            if (link.begin() != 0)
                return 0;
            answer = exchangeFrame(link, request, capacity, capacity);
        } else {
            FakeSerial transport(line);
            SerialLink link(transport, kIdentifyTimeouts, context);
            if (link.begin() != 0)
                return 0;
            answer = exchangeFrame(link, request, capacity, capacity);
            fuzz::check(link.end() == 0, "the serial line did not close");
        }
        checkAnswer(answer, capacity);
    } catch (const ComExc &e) {
        fuzz::check(e.code() != 0, "a failure thrown with result 0");
    }
    return 0;
}
