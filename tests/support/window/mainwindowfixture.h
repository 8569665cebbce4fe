// The main window of a program installed into a temporary folder, as the
// window tests set it up.
#pragma once

#include "base/ui/passworddialogs.h"
#include "mainwindow/korvelform.h"

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

// Every caption a window manager is handed for `window`: the toolkit
// appends the application's display name, as it stands when the title is
// set, to a title that does not end with it.
class CaptionWatcher : public QObject {
public:
    explicit CaptionWatcher(QWidget *window) { window->installEventFilter(this); }
    QStringList shown;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace testsupport
