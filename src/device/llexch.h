// The serial port as a transport: opened exclusively, 8 data bits, no parity,
// one stop bit, output waiting for CTS with RTS asserted and DTR off, and
// per-byte write and read limits enforced on the monotonic clock.
#pragma once

#include "transport.h"

#include <QSerialPort>
#include <QString>

namespace COM_M {

// Why a port could not be opened.
enum class PortProblem {
    None,
    NotPresent,   // no such device
    NoPermission, // the user may not open it
    InUse,        // another program holds it
    Other,
};

class CLlExch final : public device::Transport {
public:
    CLlExch(const QString &portName, qint32 baudRate, int writeTimeoutMs, int readTimeoutMs);
    ~CLlExch() override;

    bool open() override;
    bool configure() override;
    qint64 write(const std::uint8_t *data, qint64 size, device::Clock::time_point deadline) override;
    qint64 read(std::uint8_t *data, qint64 size, device::Clock::time_point deadline) override;
    bool purge() override;
    bool restore() override;
    bool close(bool restoreSettings = true) override;
    QString failureReason() const override { return reason_; }

    PortProblem problem() const { return problem_; }
    const QString &portName() const { return portName_; }
    qint32 baudRate() const { return baudRate_; }
    int writeTimeoutMs() const { return writeTimeoutMs_; }
    int readTimeoutMs() const { return readTimeoutMs_; }

    // The reason in plain words for a port path that could not be opened;
    // for missing permission it names the group that owns the device.
    static QString describeProblem(PortProblem problem, const QString &devicePath);
    // Diagnoses why `devicePath` cannot be opened from its presence, its
    // permission bits and the error of the open attempt.
    static PortProblem diagnose(const QString &devicePath, QSerialPort::SerialPortError error);

private:
    QSerialPort port_;
    QString portName_;
    qint32 baudRate_;
    int writeTimeoutMs_;
    int readTimeoutMs_;
    PortProblem problem_ = PortProblem::None;
    QString reason_;
};

} // namespace COM_M
