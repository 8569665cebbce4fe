// An in-memory line to a scripted instrument: records every request frame
// and every pause, and answers from a callback without any real waiting.
#pragma once

#include "device/transport.h"

#include <QByteArray>
#include <QVector>

#include <functional>

namespace devicetest {

class FakeLine final : public device::Transport {
public:
    // Answer bytes for one complete request frame.
    std::function<QByteArray(const QByteArray &request)> respond;
    // Called before every read with the number of bytes read so far in the
    // current answer.
    std::function<void(int index)> beforeRead;

    QVector<QByteArray> requests;
    QVector<int> pauses; // durations in ms
    QVector<int> bytesBeforePause; // request bytes written when each pause began
    int opens = 0, configures = 0, restores = 0, closesRestoring = 0, closesPlain = 0;
    int reads = 0;
    bool openOk = true, configureOk = true, restoreOk = true, closeOk = true;
    int failWriteAt = -1; // index of the request byte that is not written

    bool open() override
    {
        ++opens;
        return openOk;
    }
    bool configure() override
    {
        ++configures;
        return configureOk;
    }
    qint64 write(const std::uint8_t *data, qint64 size, device::Clock::time_point) override
    {
        for (qint64 i = 0; i < size; ++i) {
            if (written_ == failWriteAt)
                return i;
            ++written_;
            pending_.append(char(data[i]));
            if (pending_.size() >= 4) {
                const int total = (quint8(pending_[2]) | (quint8(pending_[3]) << 8)) + 6;
                if (pending_.size() == total) {
                    requests.append(pending_);
                    toRead_ += respond ? respond(pending_) : QByteArray();
                    answerIndex_ = 0;
                    pending_.clear();
                }
            }
        }
        return size;
    }
    qint64 read(std::uint8_t *data, qint64 size, device::Clock::time_point) override
    {
        if (beforeRead)
            beforeRead(answerIndex_);
        ++reads;
        const qint64 n = qMin<qint64>(size, toRead_.size());
        std::memcpy(data, toRead_.constData(), size_t(n));
        toRead_.remove(0, n);
        answerIndex_ += int(n);
        return n;
    }
    bool purge() override
    {
        toRead_.clear();
        return true;
    }
    bool restore() override
    {
        ++restores;
        return restoreOk;
    }
    bool close(bool restoreSettings) override
    {
        ++(restoreSettings ? closesRestoring : closesPlain);
        return closeOk;
    }
    void pause(std::chrono::milliseconds duration) override
    {
        pauses.append(int(duration.count()));
        bytesBeforePause.append(written_);
    }
    qsizetype unread() const { return toRead_.size(); }

private:
    QByteArray pending_;
    QByteArray toRead_;
    int written_ = 0;
    int answerIndex_ = 0;
};

} // namespace devicetest
