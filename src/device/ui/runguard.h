// Marks a device run for the length of a scope: tells the command states
// that a run is under way (every command that changes the store or starts
// another run is disabled by them, and enabled again from the same rules
// when the run ends), and turns an attempt to close the window into a
// request to stop the run.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class DeviceRunGuard final : public QObject {
    Q_OBJECT
public:
    // `setBusy` runs with true now and with false at the end;
    // `onCloseRequest` runs when the user tries to close `window`.
    DeviceRunGuard(QWidget *window, std::function<void(bool busy)> setBusy, std::function<void()> onCloseRequest);
    ~DeviceRunGuard() override;
    DeviceRunGuard(const DeviceRunGuard &) = delete;
    DeviceRunGuard &operator=(const DeviceRunGuard &) = delete;

    // Ends the run's hold before the guard ends (idempotent).
    void release();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_window;
    std::function<void(bool)> m_setBusy;
    std::function<void()> m_onCloseRequest;
    bool m_active = false;
};
