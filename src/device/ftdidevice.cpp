#include "ftdidevice.h"

#include <QTextStream>

#include <thread>

namespace device {

FTDI_device::FTDI_device(FtdiApi &api) : api_(api) {}

FTDI_device::~FTDI_device()
{
    if (opened_)
        close(false);
    releaseContext();
}

bool FTDI_device::ok(int status)
{
    lastStatus_ = status;
    return status >= 0;
}

void FTDI_device::releaseContext()
{
    if (ctx_ != nullptr) {
        api_.freeContext(ctx_);
        ctx_ = nullptr;
    }
}

bool FTDI_device::loadLibrary()
{
    return api_.load();
}

int FTDI_device::countDevices()
{
    void *ctx = api_.newContext();
    const int n = ctx != nullptr ? api_.countDevices(ctx) : -1;
    if (ctx != nullptr)
        api_.freeContext(ctx);
    if (!ok(n)) {
        // Diagnostics go to standard error: standard output of the
        // command-line tool carries its JSON lines.
        QTextStream(stderr) << "ERROR (GetNumberDevices): FT_ListDevices failed\n";
        return 0;
    }
    return n;
}

bool FTDI_device::listDevice0()
{
    countDevices();
    void *ctx = api_.newContext();
    if (ctx == nullptr)
        return false;
    bool listed = ok(api_.serialOf(ctx, 0, serial_.data(), int(serial_.size())));
    if (listed)
        listed = ok(api_.descriptionOf(ctx, 0, description_.data(), int(description_.size())));
    serial_.back() = '\0';
    description_.back() = '\0';
    api_.freeContext(ctx);
    return listed;
}

bool FTDI_device::open()
{
    releaseContext();
    ctx_ = api_.newContext();
    if (ctx_ == nullptr)
        return false;
    opened_ = ok(api_.openBySerial(ctx_, serial_.data()));
    return opened_;
}

bool FTDI_device::configure()
{
    if (!opened_)
        return false;
    bool all = true;
    all = ok(api_.setLatency(ctx_, kLatencyMs)) && all;
    all = ok(api_.setTransferSizes(ctx_, kInboundTransfer, 0)) && all;
    all = ok(api_.reset(ctx_)) && all;
    all = ok(api_.flush(ctx_)) && all;
    all = ok(api_.setBaudRate(ctx_, kDivisorZeroRate)) && all;
    all = ok(api_.setLine8N2(ctx_)) && all;
    all = ok(api_.setTimeouts(ctx_, kReadTimeoutMs, 0)) && all;
    return all;
}

qint64 FTDI_device::write(const std::uint8_t *data, qint64 size, Clock::time_point)
{
    if (!opened_)
        return -1;
    const int n = api_.write(ctx_, data, int(size));
    if (!ok(n))
        return -1;
    bytesWritten_ = quint32(n);
    return n;
}

// One read slice: gathers until `size` bytes have arrived or the deadline
// has passed, as the vendor driver's read with a timeout does.
qint64 FTDI_device::read(std::uint8_t *data, qint64 size, Clock::time_point deadline)
{
    if (!opened_)
        return -1;
    qint64 got = 0;
    while (got < size) {
        const int n = api_.read(ctx_, data + got, int(size - got));
        if (!ok(n))
            return -1;
        got += n;
        if (got >= size || Clock::now() >= deadline)
            break;
        if (n == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    bytesRead_ = quint32(got);
    return got;
}

bool FTDI_device::setReadTimeout(int ms)
{
    return opened_ && ok(api_.setTimeouts(ctx_, ms, 0));
}

bool FTDI_device::purge()
{
    return opened_ && ok(api_.flush(ctx_));
}

bool FTDI_device::close(bool)
{
    if (!opened_) {
        releaseContext();
        return false;
    }
    api_.flush(ctx_);
    api_.reset(ctx_);
    const bool closed = ok(api_.close(ctx_));
    opened_ = false;
    releaseContext();
    return closed;
}

} // namespace device
