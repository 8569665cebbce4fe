// The answer reading of both links, fed from a fake line: the serial link
// byte by byte along the length field, the USB link in read slices of a
// steered size through the bridge driver. An answer is either refused with a
// result code or is one whole frame that fits its buffer, starts with the
// start byte and status 0, and carries a valid CRC.
#include "fakeline.h"
#include "fuzzinput.h"

#include "device/deviceclient.h"
#include "device/frame.h"
#include "device/link.h"
#include "device/transport.h"

using namespace device;
using fuzz::FakeBridge;
using fuzz::FakeSerial;
using fuzz::Line;
using fuzz::QuietFrames;

namespace {

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
    fuzz::check(quint8(answer[0]) == kFrameStart && quint8(answer[1]) == kStatusOk,
                "answer with a bad start or status");
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
    QByteArray answer;
    Status rc = Status::Ok;
    if (usb) {
        FakeBridge api(line);
        FTDI_device device(api);
        QuietFrames frames(device);
        UsbLink link(device, frames);
        if (link.begin() != Status::Ok)
            return 0;
        rc = exchangeFrame(link, request, answer, capacity, capacity);
    } else {
        FakeSerial transport(line);
        SerialLink link(transport, kIdentifyTimeouts, context);
        if (link.begin() != Status::Ok)
            return 0;
        rc = exchangeFrame(link, request, answer, capacity, capacity);
        if (rc == Status::Ok)
            fuzz::check(link.end() == Status::Ok, "the serial line did not close");
    }
    if (rc == Status::Ok)
        checkAnswer(answer, capacity);
    return 0;
}
