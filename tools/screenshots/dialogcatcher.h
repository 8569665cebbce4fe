// Hands the modal dialogs a command opens, one after the other, to the
// handlers waiting for them: the command runs its own event loop while the
// dialog is open, so the dialog is found by looking at the application's
// modal window from a timer.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class DialogCatcher : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(QWidget *dialog)>;

    explicit DialogCatcher(QObject *parent = nullptr);

    // The next modal dialog of class `className` (or a subclass) goes to
    // `handler` once it has been on screen for `settleTicks` looks, so that
    // it has laid out and painted itself. Modal windows of other classes are
    // left alone.
    void expect(const char *className, Handler handler, int settleTicks = 3);
    // Dialogs expected but not seen yet.
    int pending() const { return int(m_queue.size()); }
    // Forgets what was not seen.
    void clear() { m_queue.clear(); }

private:
    void look();

    struct Expected {
        QByteArray className;
        Handler handler;
        int settleTicks;
    };
    QList<Expected> m_queue;
    QPointer<QWidget> m_seen;
    int m_ticks = 0;
    QTimer m_timer;
};
