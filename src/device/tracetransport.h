// A transport that passes everything on to another one and writes every byte
// sent and received, with a time stamp in milliseconds on the monotonic clock,
// to a trace file. Off unless the user asks for it; support staff read it
// when a reading fails.
#pragma once

#include "transport.h"

#include <QFile>

namespace device {

class TraceTransport final : public Transport {
public:
    // Appends to `path`; time stamps count from `epoch`.
    TraceTransport(Transport &inner, const QString &path, Clock::time_point epoch);
    ~TraceTransport() override;

    bool open() override;
    bool configure() override;
    qint64 write(const std::uint8_t *data, qint64 size, Clock::time_point deadline) override;
    qint64 read(std::uint8_t *data, qint64 size, Clock::time_point deadline) override;
    bool purge() override;
    bool restore() override;
    bool close(bool restoreSettings = true) override;
    void pause(std::chrono::milliseconds duration) override;
    PortFailure failure() const override { return inner_.failure(); }

    bool isWriting() const { return file_.isOpen(); }

private:
    void line(const char *what, const QByteArray &detail = {});

    Transport &inner_;
    QFile file_;
    Clock::time_point epoch_;
};

} // namespace device
