// The USB bridge as a transport: device 0 on the bus, opened by its serial
// number, 8 data bits, 2 stop bits, no parity, fastest divisor.
#pragma once

#include "ftdiapi.h"
#include "transport.h"

#include <array>

namespace device {

class FTDI_device final : public Transport {
public:
    explicit FTDI_device(FtdiApi &api);
    ~FTDI_device() override;

    // The listing steps before the frames of an operation.
    bool loadLibrary();
    int countDevices(); // 0 when the count cannot be had
    bool listDevice0(); // serial number and description of bridge 0

    // Transport: open() opens by serial number; configure() sets latency,
    // transfer sizes, reset, purge, divisor, line and timeouts, all of them
    // even when one fails; close() purges, resets and closes.
    bool open() override;
    bool configure() override;
    qint64 write(const std::uint8_t *data, qint64 size, Clock::time_point deadline) override;
    qint64 read(std::uint8_t *data, qint64 size, Clock::time_point deadline) override;
    bool purge() override;
    bool close(bool restoreSettings = true) override;
    // Sets the read timeout of the bridge (no write timeout): the exchanges
    // read in slices of this length, so that a stalled transfer cannot
    // stretch one slice to the timeout of configure().
    bool setReadTimeout(int ms);

    const char *serialNumber() const { return serial_.data(); }
    const char *description() const { return description_.data(); }

    static constexpr int kLatencyMs = 16;
    static constexpr int kInboundTransfer = 65536;
    static constexpr int kDivisorZeroRate = 3000000; // divisor 0 of the bridge
    static constexpr int kReadTimeoutMs = 4000;

private:
    bool ok(int status);
    void releaseContext();

    FtdiApi &api_;
    void *ctx_ = nullptr;
    bool opened_ = false;
    std::array<char, 128> serial_{};
    std::array<char, 128> description_{};
    quint32 bytesWritten_ = 0;
    quint32 bytesRead_ = 0;
    int lastStatus_ = 0;
};

} // namespace device
