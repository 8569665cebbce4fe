#include "tracetransport.h"

namespace device {

TraceTransport::TraceTransport(Transport &inner, const QString &path, Clock::time_point epoch)
    : inner_(inner), file_(path), epoch_(epoch)
{
    file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
}

TraceTransport::~TraceTransport() = default;

// One line per event: "<ms> <what> <hex bytes or detail>".
void TraceTransport::line(const char *what, const QByteArray &detail)
{
    if (!file_.isOpen())
        return;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - epoch_).count();
    QByteArray text = QByteArray::number(qint64(ms)).rightJustified(9, ' ') + ' ' + what;
    if (!detail.isEmpty())
        text += ' ' + detail;
    text += '\n';
    file_.write(text);
    file_.flush();
}

namespace {

// The cause of a failed open as the trace notes it (a word, not a message).
QByteArray failureWords(const PortFailure &failure)
{
    switch (failure.kind) {
    case PortFailure::Kind::None:
        return {};
    case PortFailure::Kind::NotPresent:
        return "not-present";
    case PortFailure::Kind::NoPermission:
        return ("no-permission " + failure.group).trimmed().toUtf8();
    case PortFailure::Kind::InUse:
        return "in-use";
    case PortFailure::Kind::Other:
        break;
    }
    return ("other " + failure.systemError).trimmed().toUtf8();
}

} // namespace

bool TraceTransport::open()
{
    const bool ok = inner_.open();
    line(ok ? "open" : "open-failed", ok ? QByteArray() : failureWords(inner_.failure()));
    return ok;
}

bool TraceTransport::configure()
{
    const bool ok = inner_.configure();
    line(ok ? "configure" : "configure-failed");
    return ok;
}

qint64 TraceTransport::write(const std::uint8_t *data, qint64 size, Clock::time_point deadline)
{
    const qint64 n = inner_.write(data, size, deadline);
    if (n > 0)
        line("TX", QByteArray(reinterpret_cast<const char *>(data), n).toHex(' '));
    else
        line(n == 0 ? "TX-timeout" : "TX-error");
    return n;
}

qint64 TraceTransport::read(std::uint8_t *data, qint64 size, Clock::time_point deadline)
{
    const qint64 n = inner_.read(data, size, deadline);
    if (n > 0)
        line("RX", QByteArray(reinterpret_cast<const char *>(data), n).toHex(' '));
    else
        line(n == 0 ? "RX-timeout" : "RX-error");
    return n;
}

bool TraceTransport::purge()
{
    line("purge");
    return inner_.purge();
}

bool TraceTransport::restore()
{
    const bool ok = inner_.restore();
    line(ok ? "restore" : "restore-failed");
    return ok;
}

bool TraceTransport::close(bool restoreSettings)
{
    const bool ok = inner_.close(restoreSettings);
    line(ok ? "close" : "close-failed");
    return ok;
}

void TraceTransport::pause(std::chrono::milliseconds duration)
{
    line("pause", QByteArray::number(qint64(duration.count())));
    inner_.pause(duration);
}

} // namespace device
