#include "dialogcatcher.h"

#include <QApplication>

DialogCatcher::DialogCatcher(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(40);
    connect(&m_timer, &QTimer::timeout, this, &DialogCatcher::look);
    m_timer.start();
}

void DialogCatcher::expect(const char *className, Handler handler, int settleTicks)
{
    m_queue.append({QByteArray(className), std::move(handler), settleTicks});
}

void DialogCatcher::look()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (m_queue.isEmpty() || !modal || !modal->isVisible() || !modal->inherits(m_queue.first().className.constData()))
        return;
    if (modal != m_seen) {
        m_seen = modal;
        m_ticks = 0;
    }
    if (++m_ticks < m_queue.first().settleTicks)
        return;
    const Expected next = m_queue.takeFirst();
    m_seen = nullptr;
    next.handler(modal);
}
