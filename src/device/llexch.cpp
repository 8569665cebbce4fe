#include "llexch.h"

#include <QFileInfo>

#include <grp.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace COM_M {

namespace {

// How often a write looks whether its bytes have left the port.
constexpr std::chrono::microseconds kDrainPoll{200};

int msUntil(device::Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - device::Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

} // namespace

QString CLlExch::owningGroup(const QString &devicePath)
{
    struct stat st {};
    if (::stat(QFile::encodeName(devicePath).constData(), &st) != 0)
        return {};
    if (const group *g = ::getgrgid(st.st_gid))
        return QString::fromLocal8Bit(g->gr_name);
    return QString::number(st.st_gid);
}

CLlExch::CLlExch(const QString &portName, qint32 baudRate) : portName_(portName), baudRate_(baudRate) {}

CLlExch::~CLlExch()
{
    if (port_.isOpen())
        port_.close();
}

PortProblem CLlExch::diagnose(const QString &devicePath, QSerialPort::SerialPortError error)
{
    const QByteArray native = QFile::encodeName(devicePath);
    if (devicePath.isEmpty() || !QFileInfo::exists(devicePath))
        return PortProblem::NotPresent;
    if (::access(native.constData(), R_OK | W_OK) != 0)
        return PortProblem::NoPermission;
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return PortProblem::NotPresent;
    case QSerialPort::PermissionError:
        // Readable and writable, yet refused: the lock of another program.
        return PortProblem::InUse;
    case QSerialPort::OpenError:
        return PortProblem::InUse;
    default:
        return PortProblem::Other;
    }
}

device::PortFailure CLlExch::failure() const
{
    device::PortFailure f;
    f.kind = problem_;
    if (problem_ == PortProblem::NoPermission)
        f.group = owningGroup(failedPath_);
    if (problem_ == PortProblem::Other)
        f.systemError = systemError_;
    return f;
}

bool CLlExch::open()
{
    problem_ = PortProblem::None;
    failedPath_.clear();
    systemError_.clear();
    // Two names of one device (a by-id link and its target) must share one
    // lock, so the real device is opened.
    QString path = QFileInfo(portName_).canonicalFilePath();
    if (path.isEmpty())
        path = portName_;
    port_.setPortName(path);
    if (port_.open(QIODevice::ReadWrite))
        return true;
    problem_ = diagnose(path, port_.error());
    failedPath_ = path;
    systemError_ = port_.errorString();
    return false;
}

bool CLlExch::configure()
{
    if (!port_.isOpen())
        return false;
    bool ok = port_.setBaudRate(baudRate_) && port_.setDataBits(QSerialPort::Data8)
              && port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop)
              && port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!ok)
        return false;
    // RTS asserted and DTR off before the CTS handshake takes over. A
    // pseudo-terminal or a virtual port has no modem lines: that is fine.
    if (!port_.setRequestToSend(true))
        port_.clearError();
    if (!port_.setDataTerminalReady(false))
        port_.clearError();
    ok = port_.setFlowControl(QSerialPort::HardwareControl);
    port_.clearError();
    return ok;
}

qint64 CLlExch::write(const std::uint8_t *data, qint64 size, device::Clock::time_point deadline)
{
    if (!port_.isOpen())
        return -1;
    const qint64 accepted = port_.write(reinterpret_cast<const char *>(data), size);
    if (accepted < 0)
        return -1;
    while (port_.bytesToWrite() > 0) {
        const int left = msUntil(deadline);
        if (left <= 0 || !port_.waitForBytesWritten(left)) {
            if (port_.error() != QSerialPort::NoError && port_.error() != QSerialPort::TimeoutError)
                return -1;
            port_.clearError();
            return accepted - port_.bytesToWrite();
        }
    }
    // The system has taken the bytes, but a line held by CTS keeps them in
    // its output queue: they count as written once they have left the port,
    // so that a held line ends the operation within its write timeout.
    for (;;) {
        const qint64 queued = std::min(queuedForLine(), accepted);
        if (queued <= 0)
            return accepted;
        if (device::Clock::now() >= deadline)
            return accepted - queued;
        std::this_thread::sleep_for(kDrainPoll);
    }
}

qint64 CLlExch::queuedForLine()
{
    if (lineQueueProbe_)
        return lineQueueProbe_();
    int queued = 0;
    if (::ioctl(int(port_.handle()), TIOCOUTQ, &queued) != 0)
        return 0; // a line that cannot tell (a virtual port) is taken as drained
    return queued;
}

qint64 CLlExch::read(std::uint8_t *data, qint64 size, device::Clock::time_point deadline)
{
    if (!port_.isOpen())
        return -1;
    qint64 got = 0;
    while (got < size) {
        if (port_.bytesAvailable() > 0) {
            const qint64 n = port_.read(reinterpret_cast<char *>(data + got), size - got);
            if (n < 0)
                return got > 0 ? got : -1;
            got += n;
            continue;
        }
        const int left = msUntil(deadline);
        if (left <= 0)
            break;
        if (!port_.waitForReadyRead(left)) {
            const auto error = port_.error();
            port_.clearError();
            if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError)
                return got > 0 ? got : -1;
            if (msUntil(deadline) <= 0)
                break;
        }
    }
    return got;
}

bool CLlExch::purge()
{
    return port_.isOpen() && port_.clear(QSerialPort::AllDirections);
}

// The port saves its settings when it is opened and gives them back when it is
// closed, whichever way the operation ended; that is a courtesy to other
// users of the port and harmless after a failure.
bool CLlExch::restore()
{
    return port_.isOpen();
}

bool CLlExch::close(bool)
{
    if (!port_.isOpen())
        return false;
    port_.close();
    const bool ok = port_.error() == QSerialPort::NoError;
    port_.clearError();
    return ok;
}

} // namespace COM_M
