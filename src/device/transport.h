// The byte transport under the instrument protocol. The protocol code is
// handed a transport and never knows whether it is a serial port, the USB
// bridge or a test double. Deadlines are points on the monotonic clock.
#pragma once

#include "deviceoutcome/portfailure.h"

#include <QString>

#include <chrono>
#include <cstdint>

namespace device {

using Clock = std::chrono::steady_clock;

class Transport {
public:
    Transport() = default;
    Transport(const Transport &) = delete;
    Transport &operator=(const Transport &) = delete;
    virtual ~Transport() = default;

    // Opens the line; false when it cannot be had (failure() says why).
    virtual bool open() = 0;
    // Applies the line settings; false when they cannot be applied.
    virtual bool configure() = 0;
    // Writes the bytes; returns how many were accepted before the deadline,
    // -1 on an I/O error.
    virtual qint64 write(const std::uint8_t *data, qint64 size, Clock::time_point deadline) = 0;
    // Waits until `size` bytes have arrived or the deadline has passed;
    // returns how many were read (0 when none), -1 on an I/O error.
    virtual qint64 read(std::uint8_t *data, qint64 size, Clock::time_point deadline) = 0;
    // Drops whatever waits in the receive and transmit buffers.
    virtual bool purge() = 0;
    // Gives the line its saved settings back; false when that fails.
    virtual bool restore() { return true; }
    // Closes the line; `restoreSettings` false after a failure, when the
    // saved settings are deliberately not written back.
    virtual bool close(bool restoreSettings = true) = 0;
    // Waits; the protocol's pacing pauses go through here so that test
    // doubles can count them instead of sleeping.
    virtual void pause(std::chrono::milliseconds duration);
    // Why open() failed; Kind::None when it did not or cannot tell.
    virtual PortFailure failure() const { return {}; }
};

} // namespace device
