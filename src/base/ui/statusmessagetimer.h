// The one-shot timer that clears the message panel of the main window's
// status bar 3 seconds after a device run has put its message there.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QLabel;

class StatusMessageTimer : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 3000;

    // messagePanel: the status bar's second panel, whose text is cleared.
    explicit StatusMessageTimer(QLabel *messagePanel, QObject *parent = nullptr);
    StatusMessageTimer(const StatusMessageTimer &) = delete;
    StatusMessageTimer &operator=(const StatusMessageTimer &) = delete;

    // (Re)starts the 3000 ms countdown.
    void StartStatusTimer();
    // Stops it; the message stays until the timer is started and fires.
    void StopStatusTimer();
    bool isActive() const { return m_timer.isActive(); }

signals:
    // The message panel was cleared.
    void messageCleared();

private:
    void onTimeout();

    QTimer m_timer;
    QPointer<QLabel> m_panel;
};
