// One device operation's use of a transport: how it is opened, how one
// request frame is exchanged for one answer frame, and how it is closed.
// The serial link sends paced single bytes and reads the answer byte by byte
// along its length field; the USB link opens the bridge for every frame and
// gathers the answer in 100 ms read slices.
#pragma once

#include "exchangecontext.h"
#include "deviceoutcome/status.h"
#include "transport.h"

#include <QByteArray>

#include <chrono>

namespace device {

class FTDI_device;

// Per-byte (serial) write and read limits of an operation, in milliseconds.
struct Timeouts {
    int writeMs = 500;
    int readMs = 2000;
};

constexpr Timeouts kIdentifyTimeouts{500, 2000}; // identify, content, meter database read
constexpr Timeouts kRecordTimeouts{2000, 4000}; // verification records
constexpr Timeouts kWriteTimeouts{2000, 2000}; // meter database write steps

// What a link is, for the operations whose requests, pauses and progress
// differ by the way the instrument is reached.
struct LinkTraits {
    // Only newer instruments answer through this link: they are asked with
    // the newer (512-byte page) commands without telling the generation
    // first, and an older instrument is not asked at all.
    bool newerInstrumentsOnly = false;
    // A fixed pause before every record request; zero: the pause of the
    // instrument's generation.
    std::chrono::milliseconds recordPause{0};
    // Whole frames arrive at once: the record phase counts its progress in
    // records rather than in bytes.
    bool progressByFrame = false;
};

class Link {
public:
    Link() = default;
    Link(const Link &) = delete;
    Link &operator=(const Link &) = delete;
    virtual ~Link() = default;

    // Makes the line ready; Ok or the status that ends the operation.
    virtual Status begin() = 0;
    // Sends `request` and receives one answer frame into `answer` (resized to
    // the bytes received). An answer that would exceed `capacity` is refused.
    // `expectedLength` is what the USB bridge waits for. Ok, or the status of
    // the failure, returned after the line has been closed.
    virtual Status exchange(const QByteArray &request, QByteArray &answer, int capacity, int expectedLength) = 0;
    // Normal end: settings restored and the line closed; Ok, RestoreFailed
    // or CloseFailed.
    virtual Status end() = 0;
    // End after a failure: closed without restoring anything.
    virtual void abort() = 0;
    // A pause between frames.
    virtual void pause(std::chrono::milliseconds duration) = 0;
    virtual LinkTraits traits() const = 0;
};

// Paced byte-by-byte exchange over a serial transport.
class SerialLink final : public Link {
public:
    SerialLink(Transport &transport, Timeouts timeouts, ExchangeContext &context);
    Status begin() override;
    Status exchange(const QByteArray &request, QByteArray &answer, int capacity, int expectedLength) override;
    Status end() override;
    void abort() override;
    void pause(std::chrono::milliseconds duration) override { transport_.pause(duration); }
    LinkTraits traits() const override { return {}; }

    // The transaction on its own: Ok, Cancelled when the cancel flag was
    // found set while the answer body arrived, or the status of the failure
    // (the line is not touched then, the caller closes it).
    Status transact(const QByteArray &request, QByteArray &answer, int capacity);

private:
    // The transaction's steps: Ok or Cancelled returned, every failure
    // thrown (ComExc, caught by transact).
    Status exchangeBytes(const QByteArray &request, QByteArray &answer, int capacity);
    void writeByte(std::uint8_t byte);
    bool readByte(std::uint8_t &byte);

    Transport &transport_;
    Timeouts timeouts_;
    ExchangeContext &context_;
    bool open_ = false;
};

// Frame-per-open exchange over the USB bridge.
class UsbLink final : public Link {
public:
    // `frames` is the transport the frames go through: the device itself or
    // a tracing wrapper around it.
    UsbLink(FTDI_device &device, Transport &frames);
    Status begin() override;
    Status exchange(const QByteArray &request, QByteArray &answer, int capacity, int expectedLength) override;
    Status end() override { return Status::Ok; }
    void abort() override {}
    void pause(std::chrono::milliseconds duration) override { frames_.pause(duration); }
    // The bridge serves newer instruments only and delivers whole frames.
    LinkTraits traits() const override { return {true, kRecordPause, true}; }

    static constexpr int kTimeoutMs = 2000;
    static constexpr std::chrono::milliseconds kRecordPause{50};
    static constexpr std::chrono::milliseconds kSlice{100};
    static constexpr std::chrono::milliseconds kSettle{200};
    // Read attempts for a timeout: 0 counts as 100 ms, at most 5000 ms, one
    // attempt per started 100 ms.
    static int readAttempts(int timeoutMs);

private:
    bool request(const QByteArray &request, QByteArray &answer, int expectedLength);

    FTDI_device &device_;
    Transport &frames_;
};

} // namespace device
