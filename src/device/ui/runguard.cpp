#include "runguard.h"

#include <QEvent>

DeviceRunGuard::DeviceRunGuard(QWidget *window, std::function<void(bool)> setBusy, std::function<void()> onCloseRequest)
    : m_window(window), m_setBusy(std::move(setBusy)), m_onCloseRequest(std::move(onCloseRequest))
{
    m_active = true;
    if (m_setBusy)
        m_setBusy(true);
    if (m_window)
        m_window->installEventFilter(this);
}

DeviceRunGuard::~DeviceRunGuard()
{
    release();
}

void DeviceRunGuard::release()
{
    if (!m_active)
        return;
    m_active = false;
    if (m_window)
        m_window->removeEventFilter(this);
    if (m_setBusy)
        m_setBusy(false);
}

bool DeviceRunGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (m_active && watched == m_window && event->type() == QEvent::Close) {
        event->ignore();
        if (m_onCloseRequest)
            m_onCloseRequest();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
