// The main window of a program installed into a temporary folder, as the
// window tests set it up.
#pragma once

#include "base/ui/accesspassword.h"
#include "base/ui/appservices.h"
#include "base/ui/helpcommands.h"
#include "base/ui/passworddialogs.h"
#include "mainwindow/korvelform.h"

#include <QGuiApplication>
#include <QLabel>
#include <QSplitter>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace testsupport {

// The paths of a program installed into `folder`: the data folder "Data/"
// and config.cfg inside it, and the string file given (the generated one
// when empty).
StartupPaths programPathsIn(const QString &folder, const QString &stringsPath = QString());

// A window in a folder of its own; its message boxes are recorded in `shown`.
struct MainWindowFixture {
    std::unique_ptr<QTemporaryDir> ownFolder;
    QString folder;
    QStringList shown;
    std::unique_ptr<TKorvelForm> form;

    // `folder` empty: a new temporary folder.
    explicit MainWindowFixture(const QString &folder = QString());
    QString dataFolder() const { return folder + QStringLiteral("/Data"); }
    MessageFn recorder()
    {
        return [this](MessageKind, const QString &text) { shown << text; };
    }
    // Creates the window and runs its start-up (FormCreate, FormActivate),
    // then shows it; false when the start-up failed.
    bool open();
};

// Every caption handed to the window manager: the toolkit appends the
// display name, as it is when the title is set, unless the title ends with it.
struct CaptionWatcher : QObject {
    explicit CaptionWatcher(QWidget *window) { window->installEventFilter(this); }
    bool eventFilter(QObject *w, QEvent *e) override
    {
        const QString title = static_cast<QWidget *>(w)->windowTitle(),
                      name = QGuiApplication::applicationDisplayName();
        if (e->type() == QEvent::WindowTitleChange)
            shown << (title.endsWith(name) ? title : title + " — " + name);
        return false;
    }
    QStringList shown;
};

} // namespace testsupport
