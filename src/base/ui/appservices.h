// The services of the application that a controller or a dialog of any area
// may be given instead of the main window: the texts of the current
// language, the message box, the password prompt, the application settings,
// the status line and the window the dialogs belong to. The main window
// fills one instance and hands it to every controller it wires; a test fills
// one with fakes.
//
// What a controller also needs from the records (the store, the views, the
// command states) it gets separately, as RecordStore and RecordViews.
#pragma once

#include "base/appstate.h"
#include "base/stringdocument.h"
#include "base/ui/passworddialogs.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

// Sets the caption of `window` (may be null) and the application's display
// name to `caption` together. The display name goes first: the toolkit shows
// a window title that does not end with the display name followed by it, as
// it stands when the title is set.
void setProgramCaption(QWidget *window, const QString &caption);

class AppServices : public QObject {
    Q_OBJECT
public:
    explicit AppServices(QObject *parent = nullptr) : QObject(parent) {}

    // --- What the window provides -------------------------------------------
    // The window that dialogs are centred on and parented to.
    QPointer<QWidget> window;
    // The application settings (kept by the window, written at exit).
    AppSettings *settings = nullptr;
    // Text of an item of a section in the current language (kMainSectionKey
    // for the main window's own section).
    std::function<QString(const QString &section, const QString &path)> text;
    // Shows a message box.
    MessageFn showMessage;
    // Asks for the access password before a protected command; with the
    // delete check box (merge) the box starts unticked and its state is
    // returned in `deleteSources`. True when the command may go on.
    std::function<bool(bool withDeleteCheckBox, bool *deleteSources)> askPassword;
    // The message panel of the status bar, and holding or releasing its
    // 3-second clearing timer while a device run shows its messages there.
    std::function<void(const QString &)> showStatus;
    std::function<void(bool held)> holdStatus;
    // Registers the texts of a secondary section: `applier` runs whenever
    // the texts are applied (first activation, language switch), in the
    // fixed order of the sections.
    std::function<void(const QString &section, std::function<void(const SectionTexts &)> applier)> addSectionTexts;

    // --- Conveniences -----------------------------------------------------
    int language() const { return settings ? int(settings->language) : int(LanguageEnglish); }
    QString mainText(const QString &path) const;
    // Text of message ErrorN, or of a message by its key ("Error13").
    QString message(int n) const;
    QString messageByKey(const QString &key) const;
    void show(MessageKind kind, const QString &text) const
    {
        if (showMessage)
            showMessage(kind, text);
    }
    // The caption of the window: during a reading its progress, otherwise
    // the program's title in the current language.
    void setCaption(const QString &caption) const { setProgramCaption(window, caption); }
    void restoreCaption() const { setCaption(mainText(QStringLiteral("ProgramTitle"))); }
    bool passwordAccepted(bool withDeleteCheckBox = false, bool *deleteSources = nullptr) const
    {
        return askPassword && askPassword(withDeleteCheckBox, deleteSources);
    }

signals:
    // The main texts were applied (start-up and every language switch).
    void textsApplied();
    // The connection settings changed (the status bar shows them).
    void connectionSettingsChanged();
};
