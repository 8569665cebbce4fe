#include "frame.h"
#include "link.h"
#include "deviceoutcome/status.h"

namespace device {

namespace {

// A failure deep inside the byte steps of one transaction; it carries the
// status and never leaves the transaction (SerialLink::transact).
class ComExc {
public:
    explicit ComExc(Status status) : status_(status) {}
    Status status() const { return status_; }

private:
    Status status_;
};

constexpr int kGroupSize = 32;
constexpr std::chrono::milliseconds kGroupPause{5};

Clock::time_point after(int ms)
{
    return Clock::now() + std::chrono::milliseconds(ms);
}

} // namespace

SerialLink::SerialLink(Transport &transport, Timeouts timeouts, ExchangeContext &context)
    : transport_(transport), timeouts_(timeouts), context_(context)
{}

Status SerialLink::begin()
{
    if (!transport_.open()) {
        context_.portFailure = transport_.failure();
        return Status::PortUnavailable;
    }
    open_ = true;
    if (!transport_.configure()) {
        abort();
        return Status::SettingsFailed;
    }
    return Status::Ok;
}

Status SerialLink::end()
{
    if (!open_)
        return Status::Ok;
    open_ = false;
    const bool restored = transport_.restore();
    if (!restored) {
        transport_.close(false);
        return Status::RestoreFailed;
    }
    return transport_.close(true) ? Status::Ok : Status::CloseFailed;
}

void SerialLink::abort()
{
    if (!open_)
        return;
    open_ = false;
    transport_.close(false);
}

Status SerialLink::exchange(const QByteArray &request, QByteArray &answer, int capacity, int)
{
    const Status rc = transact(request, answer, capacity);
    if (rc != Status::Ok)
        abort();
    return rc;
}

void SerialLink::writeByte(std::uint8_t byte)
{
    if (transport_.write(&byte, 1, after(timeouts_.writeMs)) != 1)
        throw ComExc(Status::WriteFailed);
}

bool SerialLink::readByte(std::uint8_t &byte)
{
    return transport_.read(&byte, 1, after(timeouts_.readMs)) == 1;
}

Status SerialLink::transact(const QByteArray &request, QByteArray &answer, int capacity)
{
    answer.clear();
    try {
        return exchangeBytes(request, answer, capacity);
    } catch (const ComExc &e) {
        return e.status();
    }
}

Status SerialLink::exchangeBytes(const QByteArray &request, QByteArray &answer, int capacity)
{
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(request.constData());
    const qsizetype n = request.size();

    // Send the request in groups of 32 bytes with a short pause after each
    // group, then the rest without a pause.
    const qsizetype groups = n / kGroupSize;
    for (qsizetype g = 0; g < groups; ++g) {
        for (int i = 0; i < kGroupSize; ++i)
            writeByte(bytes[g * kGroupSize + i]);
        transport_.pause(kGroupPause);
    }
    for (qsizetype i = groups * kGroupSize; i < n; ++i)
        writeByte(bytes[i]);

    // The header: start byte, status, length. A silent instrument is told
    // apart from one that stops after its first byte.
    if (capacity < kFrameOverhead)
        throw ComExc(Status::DataError);
    QByteArray received(capacity, '\0');
    auto *in = reinterpret_cast<std::uint8_t *>(received.data());
    qsizetype count = 0;
    for (int i = 0; i < kFrameHeader; ++i) {
        if (!readByte(in[i]))
            throw ComExc(i == 0 ? Status::NoAnswer : Status::BrokenAnswer);
        ++count;
        context_.stepByte();
    }

    // Refuse an answer that would not fit the receiving buffer before a
    // single body byte is stored.
    const qsizetype total = qsizetype(in[2] | (in[3] << 8)) + kFrameOverhead;
    if (total > capacity)
        throw ComExc(Status::DataError);

    for (qsizetype i = kFrameHeader; i < total; ++i) {
        if (context_.takeCancel())
            return Status::Cancelled;
        if (!readByte(in[i]))
            throw ComExc(Status::BrokenAnswer);
        ++count;
        context_.stepByte();
    }
    received.truncate(count);
    answer = received;

    // The status byte decides; an answer not starting with the start byte is
    // not a frame of the instrument at all.
    if (in[1] == kStatusError)
        throw ComExc(Status::StatusError);
    if (in[1] != kStatusOk || in[0] != kFrameStart)
        throw ComExc(Status::BadStatus);
    return Status::Ok;
}

} // namespace device
