// What a running device operation shares with whoever started it: the cancel
// flag, the progress callbacks, the language of its diagnostics and the
// diagnostics themselves.
#pragma once

#include <QString>

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
    // Language of the texts the operations put into the diagnostic
    // (0 Russian, 1 English).
    int language = 1;
    // Filled by the operations for the caller's message.
    struct Diagnostic {
        QString dialogKey; // "Error31", "Error32" or "Error33" on USB, else empty
        QString portReason; // why a serial port could not be opened, plain words
    } diagnostic;

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
