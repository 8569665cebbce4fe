// The instrument's end of a pseudo-terminal, and the serving loop that
// reads requests from it and writes answers, optionally paced like a serial
// line. SIGTERM and SIGINT end the loop through a signal descriptor.
#pragma once

#include <QByteArray>
#include <QString>

namespace sim {

class Instrument;

class PtyMaster {
public:
    PtyMaster() = default;
    ~PtyMaster();
    PtyMaster(const PtyMaster &) = delete;
    PtyMaster &operator=(const PtyMaster &) = delete;

    // Opens the master in raw mode (no echo, no line editing, 8 bits).
    bool open(QString &error);
    QString slavePath() const { return slavePath_; }
    int fd() const { return fd_; }

private:
    int fd_ = -1;
    QString slavePath_;
};

struct LineOptions {
    int baud = 0; // 0: answers go out as fast as the terminal takes them
    bool verbose = false; // one line per request on stderr
};

// Serves requests until SIGTERM or SIGINT (blocked by the caller and
// delivered through `signalFd`). Returns the process exit status.
int serve(PtyMaster &pty, Instrument &instrument, const LineOptions &line, int signalFd);

} // namespace sim
