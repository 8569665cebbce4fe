// A fake line for the link and session harnesses: the instrument's side
// delivers the input bytes in order, through a serial transport or through
// the USB bridge driver with a fake bridge library. Nothing waits for real.
#pragma once

#include "device/ftdiapi.h"
#include "device/ftdidevice.h"
#include "device/transport.h"

#include <QByteArray>

#include <cstdint>
#include <cstring>

namespace fuzz {

using device::Clock;
using device::FTDI_device;
using device::FtdiApi;
using device::Transport;

// The instrument's side: every read takes the next bytes of the input.
struct Line {
    const std::uint8_t *bytes = nullptr;
    std::size_t size = 0;
    std::size_t at = 0;
    std::size_t piece = 1;

    // Called for every byte of a serial answer: plain compares rather than
    // std::min over a list keep the instrumented harness out of the way.
    qint64 take(std::uint8_t *out, qint64 wanted)
    {
        std::size_t n = size - at;
        if (n > piece)
            n = piece;
        if (wanted < qint64(n))
            n = wanted > 0 ? std::size_t(wanted) : 0;
        std::memcpy(out, bytes + at, n);
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

} // namespace fuzz
