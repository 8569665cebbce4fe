// How a window runs a device operation: the operation works on a worker
// thread while the window's event loop goes on (so that the window repaints
// and a cancel button answers), and its progress is carried back to the
// window thread.
#pragma once

#include "deviceoutcome/status.h"

#include <QObject>

#include <atomic>
#include <functional>

// Runs `work` on a worker thread and keeps the calling thread's events
// flowing until it is done; returns what `work` returned.
device::Status runOffThread(const std::function<device::Status()> &work);

// Carries the progress of the worker thread to the window thread. Bursts of
// byte progress are folded into one update: a new one is posted only after
// the window has taken the previous one. Queued calls die with the relay.
class ProgressRelay final : public QObject {
public:
    std::function<void(qint64, qint64)> onProgress; // window thread
    std::function<void(int)> onRecord; // window thread

    // Worker thread.
    void progress(qint64 current, qint64 maximum);
    void record(int count);
    // Window thread, once the worker has finished: whatever is still posted.
    void flush();

private:
    void deliverProgress();
    void deliverRecord();

    std::atomic<qint64> m_current{0};
    std::atomic<qint64> m_maximum{1};
    std::atomic<int> m_records{0};
    std::atomic<bool> m_progressPending{false};
    std::atomic<bool> m_recordPending{false};
};
