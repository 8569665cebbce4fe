#include "appservices.h"

#include "accesspassword.h"
#include "statusmessagetimer.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>

namespace {

QMessageBox::Icon iconFor(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

AppServices::AppServices(TextCatalogue &texts, SettingsStore &settings, QObject *parent)
    : QObject(parent), m_texts(texts), m_settings(settings), m_password(new AccessPassword(texts, this))
{}

AppServices::~AppServices() = default;

void AppServices::showMessage(MessageKind kind, const QString &text) const
{
    if (m_sink) {
        m_sink(kind, text);
        return;
    }
    QMessageBox box(iconFor(kind), QApplication::applicationDisplayName(), text, QMessageBox::Ok, m_window);
    box.exec();
}

MessageFn AppServices::messageFn() const
{
    return [this](MessageKind kind, const QString &text) { showMessage(kind, text); };
}

bool AppServices::passwordAccepted(bool withDeleteCheckBox, bool *deleteSources)
{
    return m_password->ask(m_window, messageFn(), withDeleteCheckBox, deleteSources);
}

void AppServices::changePassword()
{
    m_password->change(m_window, messageFn());
}

void AppServices::setStatusLine(QLabel *panel, StatusMessageTimer *timer)
{
    m_statusPanel = panel;
    m_statusTimer = timer;
}

void AppServices::showStatus(const QString &text) const
{
    if (!m_statusPanel)
        return;
    m_statusPanel->setText(text);
    m_statusPanel->repaint();
}

void AppServices::holdStatus(bool held) const
{
    if (!m_statusTimer)
        return;
    if (held)
        m_statusTimer->StopStatusTimer();
    else
        m_statusTimer->StartStatusTimer();
}

void setProgramCaption(QWidget *window, const QString &caption)
{
    QGuiApplication::setApplicationDisplayName(caption);
    if (window)
        window->setWindowTitle(caption);
}
