#include "statusmessagetimer.h"

#include <QLabel>

StatusMessageTimer::StatusMessageTimer(QLabel *messagePanel, QObject *parent) : QObject(parent), m_panel(messagePanel)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &StatusMessageTimer::onTimeout);
}

void StatusMessageTimer::StartStatusTimer()
{
    m_timer.start();
}

void StatusMessageTimer::StopStatusTimer()
{
    m_timer.stop();
}

void StatusMessageTimer::onTimeout()
{
    m_timer.stop();
    if (m_panel)
        m_panel->clear();
    emit messageCleared();
}
