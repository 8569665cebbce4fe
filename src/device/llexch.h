// The serial port as a transport: opened exclusively, 8 data bits, no parity,
// one stop bit, output waiting for CTS with RTS asserted and DTR off, and
// per-byte write and read limits enforced on the monotonic clock.
#pragma once

#include "transport.h"

#include <QSerialPort>
#include <QString>

#include <functional>

namespace COM_M {

using PortProblem = device::PortFailure::Kind;

class CLlExch final : public device::Transport {
public:
    // The time limits of every write and read come with the call (its
    // deadline); the port itself keeps none.
    CLlExch(const QString &portName, qint32 baudRate);
    ~CLlExch() override;

    bool open() override;
    bool configure() override;
    qint64 write(const std::uint8_t *data, qint64 size, device::Clock::time_point deadline) override;
    qint64 read(std::uint8_t *data, qint64 size, device::Clock::time_point deadline) override;
    bool purge() override;
    bool restore() override;
    bool close(bool restoreSettings = true) override;
    device::PortFailure failure() const override;

    PortProblem problem() const { return problem_; }
    // Replaces the query of how many written bytes the system still holds
    // for the line (a line whose writes never drain, in tests).
    void setLineQueueProbe(std::function<qint64()> probe) { lineQueueProbe_ = std::move(probe); }
    const QString &portName() const { return portName_; }
    qint32 baudRate() const { return baudRate_; }

    // The group that owns a device file; empty when it cannot be told.
    static QString owningGroup(const QString &devicePath);
    // Diagnoses why `devicePath` cannot be opened from its presence, its
    // permission bits and the error of the open attempt.
    static PortProblem diagnose(const QString &devicePath, QSerialPort::SerialPortError error);

private:
    qint64 queuedForLine();

    QSerialPort port_;
    std::function<qint64()> lineQueueProbe_;
    QString portName_;
    qint32 baudRate_;
    PortProblem problem_ = PortProblem::None;
    QString failedPath_; // the device path open() tried
    QString systemError_; // the system's words for a problem of no known kind
};

} // namespace COM_M
