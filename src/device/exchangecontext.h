// What a running device operation shares with whoever started it: the cancel
// flag, the progress callbacks, and why a port could not be opened.
#pragma once

#include "transport.h"

#include <atomic>
#include <cstdint>
#include <functional>

namespace device {

struct ExchangeContext {
    // Set by the caller to ask for a stop; read and cleared by the serial
    // answer reading, which then ends the operation with code 14.
    std::atomic<bool> *cancel = nullptr;
    // Called after every received answer byte with the bytes received so far
    // and the expected total of the current phase.
    std::function<void(qint64 current, qint64 maximum)> progress;
    // Called after every record read, with the number read so far.
    std::function<void(int recordsRead, int total)> recordRead;
    // Why the serial port could not be opened, when an operation ended with
    // Status::PortUnavailable; cleared when an operation starts.
    PortFailure portFailure;

    // Byte progress of the current phase.
    qint64 bytesReceived = 0;
    qint64 progressMaximum = 1030;

    bool takeCancel() { return cancel != nullptr && cancel->exchange(false); }
    void stepByte()
    {
        ++bytesReceived;
        if (progress)
            progress(bytesReceived, progressMaximum);
    }
};

} // namespace device
