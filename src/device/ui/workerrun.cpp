#include "workerrun.h"

#include "deviceoutcome/status.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <memory>

device::Status runOffThread(const std::function<device::Status()> &work)
{
    device::Status result = device::Status::BadStatus;
    QEventLoop loop;
    std::unique_ptr<QThread> thread(QThread::create([&result, &work] { result = work(); }));
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread->start();
    loop.exec();
    thread->wait();
    return result;
}

void ProgressRelay::progress(qint64 current, qint64 maximum)
{
    m_current = current;
    m_maximum = maximum;
    if (!m_progressPending.exchange(true))
        QMetaObject::invokeMethod(
            this, [this] { deliverProgress(); }, Qt::QueuedConnection);
}

void ProgressRelay::record(int count)
{
    m_records = count;
    if (!m_recordPending.exchange(true))
        QMetaObject::invokeMethod(
            this, [this] { deliverRecord(); }, Qt::QueuedConnection);
}

void ProgressRelay::flush()
{
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void ProgressRelay::deliverProgress()
{
    m_progressPending = false;
    if (onProgress)
        onProgress(m_current, m_maximum);
}

void ProgressRelay::deliverRecord()
{
    m_recordPending = false;
    if (onRecord)
        onRecord(m_records);
}
