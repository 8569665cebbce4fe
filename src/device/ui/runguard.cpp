#include "runguard.h"

#include "records/ui/folderpanel.h"
#include "mainwindow/korvelform.h"

#include <QAction>
#include <QDialog>
#include <QEvent>

namespace {

// The dialogs of the run itself (content choice) keep their own actions.
bool belongsToDialog(const QAction *action)
{
    for (const QObject *o = action->parent(); o; o = o->parent()) {
        if (qobject_cast<const QDialog *>(o))
            return true;
    }
    return false;
}

} // namespace

DeviceRunGuard::DeviceRunGuard(TKorvelForm &window, std::function<void()> onCloseRequest)
    : QObject(&window), m_window(window), m_onCloseRequest(std::move(onCloseRequest))
{
    m_active = true;
    m_window.folderPanel()->setTreeEnabled(false);
    const QList<QAction *> actions = m_window.findChildren<QAction *>();
    m_adjusting = true;
    for (QAction *a : actions) {
        if (belongsToDialog(a))
            continue;
        m_wanted.insert(a, a->isEnabled());
        a->setEnabled(false);
        connect(a, &QAction::changed, this, [this, a] { onActionChanged(a); });
        connect(a, &QObject::destroyed, this, [this, a] { m_wanted.remove(a); });
    }
    m_adjusting = false;
    m_window.installEventFilter(this);
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
    m_window.removeEventFilter(this);
    m_adjusting = true;
    for (auto it = m_wanted.constBegin(); it != m_wanted.constEnd(); ++it) {
        disconnect(it.key(), nullptr, this, nullptr);
        it.key()->setEnabled(it.value());
    }
    m_adjusting = false;
    m_wanted.clear();
    m_window.folderPanel()->setTreeEnabled(true);
}

void DeviceRunGuard::onActionChanged(QAction *action)
{
    if (!m_active || m_adjusting || !action->isEnabled())
        return;
    // Someone enabled the action during the run (the record views follow
    // the selection): remember it for the end and keep it disabled.
    m_wanted[action] = true;
    m_adjusting = true;
    action->setEnabled(false);
    m_adjusting = false;
}

bool DeviceRunGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (m_active && watched == &m_window && event->type() == QEvent::Close) {
        event->ignore();
        if (m_onCloseRequest)
            m_onCloseRequest();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
