// The services of the application that every controller is given instead
// of the main window: the text catalogue, the settings, the window that
// dialogs belong to, the message box, the access password and the status
// line. The main window makes one and installs its window and status line;
// a test makes one over its own catalogue and settings and overrides what
// it fakes (messages, password, status line).
//
// What a controller also needs from the records it gets beside it, always
// the same way: the RecordStore and the RecordViews.
#pragma once

#include "base/settingsstore.h"
#include "base/textcatalogue.h"
#include "base/ui/passworddialogs.h"
#include "base/ui/statusmessagetimer.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

class AccessPassword;
class QLabel;

// Sets the caption of `window` (may be null) and the application's display
// name to `caption` together. The display name goes first: the toolkit shows
// a window title that does not end with the display name followed by it, as
// it stands when the title is set.
void setProgramCaption(QWidget *window, const QString &caption);

class AppServices : public QObject {
    Q_OBJECT
public:
    AppServices(TextCatalogue &texts, SettingsStore &settings, QObject *parent = nullptr);
    ~AppServices() override;

    TextCatalogue &texts() const { return m_texts; }
    SettingsStore &settings() const { return m_settings; }

    // The window that dialogs are centred on and parented to.
    QWidget *window() const { return m_window; }
    void setWindow(QWidget *window) { m_window = window; }

    // Shows a message box over the window; with a sink set (tests), the
    // sink takes the message instead.
    virtual void showMessage(MessageKind kind, const QString &text) const;
    void setMessageSink(MessageFn sink) { m_sink = std::move(sink); }
    MessageFn messageFn() const;

    // Asks for the access password before a protected command; with the
    // delete check box (merge) the box starts unticked and its state is
    // returned in `deleteSources`. True when the command may go on.
    virtual bool passwordAccepted(bool withDeleteCheckBox = false, bool *deleteSources = nullptr);
    void changePassword();
    AccessPassword &password() const { return *m_password; }

    // The message panel of the status bar, and holding or releasing its
    // clearing timer while a device run shows its messages there.
    void setStatusLine(QLabel *panel, StatusMessageTimer *timer);
    virtual void showStatus(const QString &text) const;
    virtual void holdStatus(bool held) const;
    StatusMessageTimer *statusTimer() const { return m_statusTimer; }

    // --- Conveniences -----------------------------------------------------
    int language() const { return m_texts.language(); }
    QString mainText(const QString &path) const { return m_texts.mainText(path); }
    QString message(int n) const { return m_texts.message(n); }
    QString messageByKey(const QString &key) const { return m_texts.messageByKey(key); }
    // The caption of the window: during a reading its progress, otherwise
    // the program's title in the current language.
    void setCaption(const QString &caption) const { setProgramCaption(m_window, caption); }
    void restoreCaption() const { setCaption(mainText(QStringLiteral("ProgramTitle"))); }

private:
    TextCatalogue &m_texts;
    SettingsStore &m_settings;
    QPointer<QWidget> m_window;
    MessageFn m_sink;
    AccessPassword *m_password;
    QPointer<QLabel> m_statusPanel;
    QPointer<StatusMessageTimer> m_statusTimer;
};
