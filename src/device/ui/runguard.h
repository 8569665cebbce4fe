// Keeps the main window from changing the record store or starting another
// device run while a run works: the folder tree and every action of the
// window are disabled, changes other code makes to an action's enabled state
// meanwhile are remembered instead of applied, and closing the window only
// asks the run to stop. Everything is given back when the guard ends.
#pragma once

#include <QHash>
#include <QObject>

#include <functional>

class QAction;
class QWidget;
class TKorvelForm;

class DeviceRunGuard final : public QObject {
    Q_OBJECT
public:
    // `onCloseRequest` runs when the user tries to close the main window.
    DeviceRunGuard(TKorvelForm &window, std::function<void()> onCloseRequest);
    ~DeviceRunGuard() override;
    DeviceRunGuard(const DeviceRunGuard &) = delete;
    DeviceRunGuard &operator=(const DeviceRunGuard &) = delete;

    // Gives the window back before the guard ends (idempotent).
    void release();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onActionChanged(QAction *action);

    TKorvelForm &m_window;
    std::function<void()> m_onCloseRequest;
    QHash<QAction *, bool> m_wanted; // enabled state to give back
    bool m_active = false;
    bool m_adjusting = false;
};
