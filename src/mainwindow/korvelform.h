// The main window: builds the menus, the tool bar, the folder panel, the
// lists and grids from the command table and the controllers, binds every
// command to its controller and its enabling rule, applies the texts of the
// catalogue, and keeps the settings from start-up to exit. What the program
// does lives in the controllers, the catalogue and the settings object.
#pragma once

#include "base/ui/passworddialogs.h"
#include "base/ui/toolkittranslation.h"
#include "commandtable.h"

#include <QAction>
#include <QHash>
#include <QMainWindow>

#include <array>
#include <memory>

class AppServices;
class FolderCommands;
class FolderTreePanel;
class QGroupBox;
class HelpCommands;
class QLabel;
class QMenu;
class QSplitter;
class RecordOperations;
class RecordStore;
class RecordViews;
class SettingsStore;
class TextCatalogue;
class VerdictDisplay;
struct RecordCommands;

// Where the program finds and keeps its files.
struct StartupPaths {
    QString programFolder; // trailing "/"
    QString dataFolder; // trailing "/"
    QString configPath; // config.cfg
    QString stringsPath; // DataStrings.xml
    QString runPortPath; // serial device for this run only (--port); empty: the saved choice

    // The folders of the installed or portable program.
    static StartupPaths forProgramFolder(const QString &programFolder);
};

class TKorvelForm : public QMainWindow {
    Q_OBJECT
public:
    // `show` takes the message boxes instead of the window (tests record them).
    explicit TKorvelForm(const StartupPaths &paths, MessageFn show = {}, QWidget *parent = nullptr);
    ~TKorvelForm() override;

    // Loads settings and strings and fills the folder tree. False when the
    // program must end; fatalMessage() then holds the one message to show.
    bool FormCreate();
    // Applies the secondary windows' texts on the first activation. False
    // when a section failed its check (fatalMessage() is set).
    bool FormActivate();
    QString fatalMessage() const { return m_fatalMessage; }

    // What the controllers are given: the services (texts, settings,
    // messages, password, status line), the record store and the views.
    AppServices &services() const { return *m_services; }
    RecordStore &store() const { return *m_store; }
    RecordViews *views() const { return m_views; }
    QAction *action(Command command) const { return m_commandActions[std::size_t(command)]; }
    FolderTreePanel *folderPanel() const;
    HelpCommands &help() const { return *m_help; }
    // The connection text of the first status-bar panel.
    QString connectionStatusText() const;

public slots:
    // A later start of the program asked this window to come to the front.
    void bringToFront();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Makes the action of every row of the command table, puts it into its
    // menu and on the tool bar, and binds it to its rule.
    void buildCommands();
    QMenu *commandMenu(const QString &path);
    void applyCommandTexts();
    void buildLayout();
    void applyTexts();
    void applyRecordCommands(const RecordCommands &commands);
    void writeConnectionStatus();
    void checkLanguage(int language);
    void applyWindowLayout();
    void captureWindowLayout();

    // --- Wiring of the controllers (korvelform_<subsystem>.cpp) --------------
    template <typename Controller>
    void bind(Command command, Controller *controller, void (Controller::*slot)());
    void wireRecordCommands(); // record operations and the folders
    void wireDeviceCommands();
    void wireReportCommands();
    void wireExportCommands();
    void wireMeterDatabaseCommands();
    void wireVerdicts();

    StartupPaths m_paths;
    TextCatalogue *m_texts;
    SettingsStore *m_settings;
    AppServices *m_services;
    std::unique_ptr<RecordStore> m_store;
    RecordViews *m_views;
    ToolkitTranslation m_toolkitTexts; // the toolkit's dialogs in the language
    bool m_secondaryStringsApplied = false;
    bool m_settingsSaved = false;
    QString m_fatalMessage;

    std::array<QAction *, kCommandCount> m_commandActions{};
    QHash<QString, QMenu *> m_menus;
    RecordOperations *m_operations = nullptr;
    FolderCommands *m_folders = nullptr;
    VerdictDisplay *m_verdicts = nullptr;
    HelpCommands *m_help = nullptr;
    QGroupBox *m_folderBox = nullptr;
    QSplitter *m_upperSplitter = nullptr;
    QSplitter *m_mainSplitter = nullptr;
    QSplitter *m_listsSplitter = nullptr;
    QLabel *m_connectionPanel = nullptr;
};

template <typename Controller>
void TKorvelForm::bind(Command command, Controller *controller, void (Controller::*slot)())
{
    connect(action(command), &QAction::triggered, controller, slot);
}
