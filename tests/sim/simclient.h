// Test side of the instrument emulator: starts it, opens its terminal with
// plain POSIX calls and exchanges raw frames. The CRC here is the test's
// own bitwise implementation, checked against published vectors. Header
// only: every test file of this folder is its own executable.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <QDeadlineTimer>

#include "processes.h"
#include "testdir.h"

#include <algorithm>
#include <memory>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace simtest {

// Requests typed from the protocol tables (CRC computed by hand), shared by
// the emulator's tests.
inline constexpr const char *kNewerIdentify = "02 0F 04 00 00 00 00 01 13 CF";
inline constexpr const char *kOlderIdentify = "02 0B 06 00 00 00 E3 1F 01 00 19 AF";
inline constexpr const char *kOlderPage224 = "02 0B 06 00 00 00 E0 00 01 00 ED 21";
inline constexpr const char *kOlderPage225 = "02 0B 06 00 00 00 E1 00 01 00 9B 95";
inline constexpr const char *kOlderRecord1 = "02 0B 06 00 00 00 18 00 01 00 F7 AF";
inline constexpr const char *kOlderDatabase = "02 0B 06 00 00 00 F1 1F 01 00 EF 60";
inline constexpr const char *kNewerPage320 = "02 0D 06 00 00 00 40 01 01 00 6A EF";
inline constexpr const char *kNewerPage321 = "02 0D 06 00 00 00 41 01 01 00 1C 5B";
inline constexpr const char *kNewerRecord1 = "02 0D 06 00 00 00 60 01 02 00 08 F2";
inline constexpr const char *kNewerRecord5 = "02 0D 06 00 00 00 68 01 02 00 8D 31";
inline constexpr const char *kNewerDatabase = "02 0F 04 00 80 03 00 01 97 A7";
inline constexpr const char *kWriteAccepted = "02 00 00 00 ED 68";
inline constexpr const char *kStatusFF = "02 FF 00 00 22 0B";

std::uint16_t crcXmodem(const QByteArray &bytes);
bool crcZero(const QByteArray &bytes); // block followed by its CRC
QByteArray withCrc(QByteArray bytes); // appends the CRC, high byte first
QByteArray requestFrame(int command, std::initializer_list<int> words, const QByteArray &data = {});
int u16(const QByteArray &bytes, int offset);
// The 16-byte meter-type field back to text (pairs swapped back, Cyrillic
// letters raised by 32, up to the first zero byte).
QString typeText(const QByteArray &field);

class SimProcess {
public:
    SimProcess() = default;
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    // Starts the emulator, reads the terminal path and opens it raw.
    bool start(const QStringList &arguments);
    // Sends a request and gathers the answer: the four header bytes, then
    // as many more as the length field announces plus the CRC, or whatever
    // arrived until the wait ran out.
    QByteArray exchange(const QByteArray &request, int waitMs = 3000);
    // Bytes that arrive within the wait.
    QByteArray readFor(int waitMs);
    void send(const QByteArray &bytes);
    // Terminates the emulator; true when it ended with exit status 0.
    bool stop();
    QString path() const { return path_; }

private:
    std::unique_ptr<testsupport::Emulator> emulator_;
    QString path_;
    int fd_ = -1;
};

} // namespace simtest

// --- implementation ---

namespace simtest {

inline std::uint16_t crcXmodem(const QByteArray &bytes)
{
    std::uint16_t r = 0;
    for (char ch : bytes) {
        r ^= static_cast<std::uint16_t>(static_cast<std::uint8_t>(ch) << 8);
        for (int k = 0; k < 8; ++k)
            r = (r & 0x8000) ? static_cast<std::uint16_t>((r << 1) ^ 0x1021) : static_cast<std::uint16_t>(r << 1);
    }
    return r;
}

inline bool crcZero(const QByteArray &bytes)
{
    if (bytes.size() < 2)
        return false;
    const std::uint16_t stored = static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[bytes.size() - 2]) << 8
                                                            | static_cast<std::uint8_t>(bytes[bytes.size() - 1]));
    return crcXmodem(bytes.left(bytes.size() - 2)) == stored;
}

inline QByteArray withCrc(QByteArray bytes)
{
    const std::uint16_t c = crcXmodem(bytes);
    bytes.append(char(c >> 8));
    bytes.append(char(c & 0xFF));
    return bytes;
}

inline QByteArray requestFrame(int command, std::initializer_list<int> words, const QByteArray &data)
{
    QByteArray f;
    f.append(char(0x02));
    f.append(char(command));
    const int length = int(words.size()) * 2 + int(data.size());
    f.append(char(length & 0xFF));
    f.append(char(length >> 8));
    for (int w : words) {
        f.append(char(w & 0xFF));
        f.append(char((w >> 8) & 0xFF));
    }
    f.append(data);
    return withCrc(f);
}

// One answer byte, or -1 when the answer is shorter: a short or empty
// answer then fails its comparison instead of reading past its end.
inline int byteAt(const QByteArray &bytes, int offset)
{
    return offset >= 0 && offset < bytes.size() ? static_cast<std::uint8_t>(bytes[offset]) : -1;
}

// A little-endian word, or -1 when the answer is shorter.
inline int u16(const QByteArray &bytes, int offset)
{
    if (offset < 0 || offset + 1 >= bytes.size())
        return -1;
    return static_cast<std::uint8_t>(bytes[offset]) | (static_cast<std::uint8_t>(bytes[offset + 1]) << 8);
}

inline QString typeText(const QByteArray &field)
{
    QByteArray b = field.left(16);
    for (int i = 0; i < 14; i += 2)
        std::swap(b[i], b[i + 1]);
    QString out;
    for (char ch : b) {
        const auto c = static_cast<std::uint8_t>(ch);
        if (c == 0)
            break;
        if (c >= 160 && c <= 223)
            out.append(QChar(char16_t(0x0410 + (c + 32 - 192))));
        else
            out.append(QChar(char16_t(c)));
    }
    return out;
}

inline SimProcess::~SimProcess()
{
    if (fd_ >= 0)
        ::close(fd_);
}

inline bool SimProcess::start(const QStringList &arguments)
{
    emulator_ = std::make_unique<testsupport::Emulator>(arguments);
    path_ = emulator_->path;
    if (path_.isEmpty())
        return false;
    fd_ = ::open(path_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0)
        return false;
    termios tio{};
    ::tcgetattr(fd_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd_, TCSANOW, &tio);
    return true;
}

inline void SimProcess::send(const QByteArray &bytes)
{
    int pos = 0;
    while (pos < bytes.size()) {
        const ssize_t w = ::write(fd_, bytes.constData() + pos, size_t(bytes.size() - pos));
        if (w > 0) {
            pos += int(w);
        } else {
            pollfd p{fd_, POLLOUT, 0};
            ::poll(&p, 1, 100);
        }
    }
}

inline QByteArray SimProcess::readFor(int waitMs)
{
    QByteArray out;
    QDeadlineTimer deadline(waitMs);
    while (!deadline.hasExpired()) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, int(std::max<qint64>(1, deadline.remainingTime()))) <= 0)
            continue;
        char buffer[4096];
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n > 0)
            out.append(buffer, int(n));
    }
    return out;
}

inline QByteArray SimProcess::exchange(const QByteArray &request, int waitMs)
{
    send(request);
    QByteArray out;
    QDeadlineTimer deadline(waitMs);
    while (!deadline.hasExpired()) {
        if (out.size() >= 4 && out.size() >= u16(out, 2) + 6)
            break;
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, int(std::max<qint64>(1, deadline.remainingTime()))) <= 0)
            continue;
        char buffer[4096];
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n > 0)
            out.append(buffer, int(n));
    }
    return out;
}

inline bool SimProcess::stop()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    return emulator_ && emulator_->stop();
}

} // namespace simtest
