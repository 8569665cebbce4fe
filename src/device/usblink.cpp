#include "frame.h"
#include "ftdidevice.h"
#include "link.h"
#include "deviceoutcome/status.h"

#include <algorithm>

namespace device {

UsbLink::UsbLink(FTDI_device &device, Transport &frames) : device_(device), frames_(frames) {}

int UsbLink::readAttempts(int timeoutMs)
{
    int t = timeoutMs <= 0 ? 100 : std::min(timeoutMs, 5000);
    return (t + 99) / 100;
}

Status UsbLink::begin()
{
    if (!device_.loadLibrary())
        return Status::UsbLibraryMissing;
    const int devices = device_.countDevices();
    if (devices != 1)
        return devices == 0 ? Status::UsbNoDevice : Status::UsbSeveralDevices;
    device_.listDevice0();
    return Status::Ok;
}

Status UsbLink::exchange(const QByteArray &request, QByteArray &answer, int capacity, int expectedLength)
{
    const int expected = std::min(expectedLength, capacity);
    if (!UsbLink::request(request, answer, expected))
        return Status::BrokenAnswer;
    if (answer.size() >= kFrameHeader && announcedLength(answer) + kFrameOverhead > capacity)
        return Status::DataError;
    if (answer.size() < 2 || quint8(answer.at(0)) != kFrameStart || quint8(answer.at(1)) != kStatusOk)
        return Status::BadStatus;
    return Status::Ok;
}

// Open and configure, exchange, close: all three for every frame.
bool UsbLink::request(const QByteArray &request, QByteArray &answer, int expectedLength)
{
    answer.clear();
    if (!frames_.open())
        return false;
    const bool configured = frames_.configure() && device_.setReadTimeout(int(kSlice.count()));

    // The exchange proper: settle, send the whole request, then gather the
    // answer in read slices until it is complete, the instrument reports an
    // error, or the attempts are used up.
    QByteArray buffer(std::max(expectedLength, 0), '\0');
    auto *in = reinterpret_cast<std::uint8_t *>(buffer.data());
    bool exchanged = true;
    frames_.pause(kSettle);
    const auto *out = reinterpret_cast<const std::uint8_t *>(request.constData());
    if (frames_.write(out, request.size(), Clock::now() + std::chrono::milliseconds(kTimeoutMs)) != request.size())
        exchanged = false;
    qsizetype got = 0;
    const int attempts = readAttempts(kTimeoutMs);
    for (int a = 0; exchanged && a < attempts && got < expectedLength; ++a) {
        const qint64 n = frames_.read(in + got, expectedLength - got, Clock::now() + kSlice);
        if (n < 0) {
            exchanged = false;
            break;
        }
        got += n;
        if (got >= 2 && in[1] == kStatusError)
            break;
        // An answer announcing more than the buffer holds is not waited for.
        if (got >= kFrameHeader && announcedLength(buffer.left(kFrameHeader)) + kFrameOverhead > expectedLength)
            break;
    }
    buffer.truncate(got);
    answer = buffer;

    const bool closed = frames_.close(true);
    return configured && exchanged && closed;
}

} // namespace device
