#include "pty.h"

#include "frame.h"
#include "instrument.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/signalfd.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {

using Clock = std::chrono::steady_clock;

// A pause in the middle of a request longer than this drops the partial
// frame; the program sends a request within a few milliseconds.
constexpr int kRequestGapMs = 1000;
// How long an answer may wait for the other end to take it.
constexpr int kWriteStallMs = 5000;
// How often to look again while no one holds the terminal open.
constexpr int kIdlePollMs = 20;

enum class Wait { Ready, Timeout, Signal, HangUp };

// Waits for `events` on fd (or only for the signal when fd < 0).
Wait waitFor(int fd, short events, int signalFd, int timeoutMs)
{
    pollfd fds[2] = {{signalFd, POLLIN, 0}, {fd, events, 0}};
    const int count = fd >= 0 ? 2 : 1;
    for (;;) {
        const int r = ::poll(fds, count, timeoutMs);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return Wait::Timeout;
        if (fds[0].revents & POLLIN)
            return Wait::Signal;
        if (count == 2 && (fds[1].revents & events))
            return Wait::Ready;
        if (count == 2 && (fds[1].revents & (POLLHUP | POLLERR)))
            return Wait::HangUp;
        return Wait::Timeout;
    }
}

// Sleeps, unless a signal arrives first; false on a signal.
bool pause(int signalFd, int ms)
{
    return ms <= 0 || waitFor(-1, 0, signalFd, ms) != Wait::Signal;
}

// True while no one holds the terminal open.
bool hungUp(int fd)
{
    pollfd p{fd, 0, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLHUP);
}

// Drops whatever the other end has not taken yet, as a serial line loses
// the bytes sent while the port is closed.
void discardPending(int fd)
{
    ::tcflush(fd, TCIOFLUSH);
}

// Writes the answer. With a baud rate every chunk leaves when a line of
// that rate (10 bits per byte) would have finished sending it. Returns false
// when a signal ends the program.
bool sendAnswer(int fd, const QByteArray &bytes, int baud, int signalFd)
{
    const Clock::time_point start = Clock::now();
    const double byteMicros = baud > 0 ? 10.0e6 / baud : 0.0;
    const int chunk = baud > 0 ? std::max(1, baud / 2000) : int(bytes.size()); // about 5 ms of line time
    int sent = 0;
    while (sent < bytes.size()) {
        const int end = std::min<int>(bytes.size(), sent + chunk);
        if (baud > 0) {
            const auto due = start + std::chrono::microseconds(static_cast<long long>(end * byteMicros));
            const auto now = Clock::now();
            if (due > now) {
                const int ms = int(std::chrono::duration_cast<std::chrono::milliseconds>(due - now).count());
                if (!pause(signalFd, ms))
                    return false;
            }
        }
        if (hungUp(fd)) {
            discardPending(fd);
            return true;
        }
        int pos = sent;
        while (pos < end) {
            const ssize_t w = ::write(fd, bytes.constData() + pos, size_t(end - pos));
            if (w > 0) {
                pos += int(w);
                continue;
            }
            if (w < 0 && errno == EINTR)
                continue;
            if (w < 0 && errno != EAGAIN)
                return true; // the other end has gone: the rest is lost, as on a real line
            const Wait r = waitFor(fd, POLLOUT, signalFd, kWriteStallMs);
            if (r == Wait::Signal)
                return false;
            if (r != Wait::Ready)
                return true;
        }
        sent = end;
    }
    return true;
}

} // namespace

PtyMaster::~PtyMaster()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool PtyMaster::open(QString &error)
{
    fd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0 || ::grantpt(fd_) != 0 || ::unlockpt(fd_) != 0) {
        error = QStringLiteral("cannot create a pseudo-terminal: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    char name[256] = {};
    if (::ptsname_r(fd_, name, sizeof name) != 0) {
        error = QStringLiteral("cannot name the pseudo-terminal: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    slavePath_ = QString::fromLocal8Bit(name);
    termios tio{};
    if (::tcgetattr(fd_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(fd_, TCSANOW, &tio);
    }
    return true;
}

int serve(PtyMaster &pty, Instrument &instrument, const LineOptions &line, int signalFd)
{
    RequestAssembler assembler;
    const int fd = pty.fd();
    bool connected = false;
    for (;;) {
        const int timeout = assembler.holdsPartialFrame() ? kRequestGapMs : -1;
        const Wait w = waitFor(fd, POLLIN, signalFd, timeout);
        if (w == Wait::Signal)
            return 0;
        if (w == Wait::Timeout) {
            assembler.reset();
            continue;
        }
        if (w == Wait::HangUp) {
            // No one holds the terminal open: forget any partial request and
            // look again shortly.
            assembler.reset();
            if (connected) {
                discardPending(fd); // once per hang-up, never under a new client
                connected = false;
            }
            if (!pause(signalFd, kIdlePollMs))
                return 0;
            continue;
        }
        char buffer[2048];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            assembler.reset();
            if (!pause(signalFd, kIdlePollMs))
                return 0;
            continue;
        }
        connected = true;
        assembler.feed(QByteArray(buffer, int(n)));
        while (const auto request = assembler.next()) {
            const Reply reply = instrument.handle(*request);
            if (line.verbose)
                std::fprintf(stderr, "%s\n", qPrintable(reply.description));
            if (reply.silent)
                continue;
            if (!pause(signalFd, instrument.faults().delayMs()))
                return 0;
            if (!sendAnswer(fd, reply.bytes, line.baud, signalFd))
                return 0;
        }
    }
}

} // namespace sim
