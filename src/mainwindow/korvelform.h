// The main window: owns the application state, applies the localized texts,
// builds the menu, tool bar, folder panel, lists and grids, and saves the
// settings when it closes.
#pragma once

#include "base/appstate.h"
#include "base/stringdocument.h"
#include "base/ui/passworddialogs.h"
#include "base/ui/toolkittranslation.h"
#include "commandtable.h"

#include <QAction>
#include <QGroupBox>
#include <QHash>
#include <QSet>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QSplitter>
#include <QToolBar>

#include <array>
#include <functional>
#include <memory>

class StringDocument;
class AppServices;
struct RecordCommands;
class TAboutBox;
class RecordStore;
class FolderTreePanel;
class RecordViews;
class StatusMessageTimer;

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
    // `show` presents message boxes; tests replace it to record messages.
    explicit TKorvelForm(const StartupPaths &paths, MessageFn show = {}, QWidget *parent = nullptr);
    ~TKorvelForm() override;

    // Loads settings and strings and fills the folder tree. False when the
    // program must end; fatalMessage() then holds the one message to show.
    bool FormCreate();
    QString fatalMessage() const { return m_fatalMessage; }

    // Applies the secondary windows' texts on the first activation. False
    // when a section failed its check (fatalMessage() is set).
    bool FormActivate();

    // Application state.
    const StartupPaths &paths() const { return m_paths; }
    QString ProgramFolder() const { return m_paths.programFolder; }
    QString DataFolder() const { return m_paths.dataFolder; }
    QString CurrentFolder() const { return m_currentFolder; }
    int Language() const { return m_settings.language; }
    const AppSettings &settings() const { return m_settings; }
    AppSettings &settings() { return m_settings; }
    QString Password() const { return m_password; }
    const StringDocument *StringsRoot() const { return m_strings.get(); }

    // Text of message ErrorN in the current language.
    QString message(int n) const;
    // Text of an item of the main window's section in the current language.
    QString mainText(const QString &path) const;

    // The connection text of the first status-bar panel.
    QString connectionStatusText() const;
    void writeConnectionStatus();

    // The services the window gives its controllers (texts, messages,
    // password, settings, status line).
    AppServices &services() const { return *m_services; }

    // Widgets and parts of the window, for the program and the tests.
    // The secondary windows are made on first use, with the texts of their
    // sections as last applied.
    TPswdForm *pswdForm();
    TPswd2Form *pswd2Form();
    TAboutBox *aboutBox();
    QLabel *connectionPanel() const { return m_connectionPanel; }
    QLabel *messagePanel() const { return m_messagePanel; }
    QAction *action(Command command) const { return m_commandActions[std::size_t(command)]; }
    QSplitter *upperSplitter() const { return m_upperSplitter; } // folder panel | lists
    QSplitter *mainSplitter() const { return m_mainSplitter; } // Panel1 | grids
    QSplitter *listsSplitter() const { return m_listsSplitter; } // meter list | power list
    RecordStore &store() const { return *m_store; }
    FolderTreePanel *folderPanel() const { return m_folderPanel; }
    // Shows another data folder: the tree is built anew and its root selected.
    void SwitchDataFolder(const QString &folder);
    // The per-user value holding the chosen data folder.
    static const QString kDataFolderKey;
    RecordViews *views() const { return m_views; }
    StatusMessageTimer *statusTimer() const { return m_statusTimer; }

    // The texts of the help document to open for the current language.
    QString helpDocumentPath() const;

    // Opens a help document, false when no program could; tests replace it.
    void setDocumentOpener(std::function<bool(const QString &)> opener) { m_openDocument = std::move(opener); }

public slots:
    void RussianLangClick();
    void EnglishLangClick();
    void ExitClick();
    void ChangePswdClick();
    void N4Click();
    void N6Click();
    // A later start of the program asked this window to come to the front.
    void bringToFront();

signals:
    // Emitted after texts were applied (start-up and language switch).
    void stringsApplied();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Makes the action of every row of the command table, puts it into its
    // menu and on the tool bar, and binds it to its rule.
    void buildCommands();
    void applyCommandTexts(const SectionTexts &texts);
    // The menu of a path in the string file, made (with its parents) on first use.
    QMenu *commandMenu(const QString &path);
    void buildLayout();
    void buildRecordPanes();
    void applyRecordCommands(const RecordCommands &commands);
    void TreeViewChange(const QString &folderPath);
    void fillServices();
    // The texts of any section in the current language, as last applied.
    QString sectionText(const QString &section, const QString &path) const;
    bool askPassword(bool withDeleteCheckBox = false, bool *deleteSources = nullptr);
    TPswd3Form *pswd3Form();
    // The texts of a secondary section as last applied; nullptr before.
    const SectionTexts *appliedSectionTexts(const QString &section) const;
    // Shows a message of the current language in a modal box.
    void showMessage(MessageKind kind, const QString &text) const { m_show(kind, text); }

    // --- Wiring of the subsystems (korvelform_<subsystem>.cpp) ---------------
    // Every command is bound to the field of the command states that enables
    // it (its row's rule); the states are applied to every bound control
    // whenever they change.
    void bindCommand(QAction *action, bool RecordCommands::*state);
    // Secondary section texts for a window of a subsystem.
    using SectionApplier = std::function<void(const SectionTexts &)>;
    void registerSectionApplier(const QString &section, SectionApplier applier);
    // Record operations: copy, cut, paste, merge, delete, element commands,
    // meter and constant editing (korvelform_records.cpp).
    void wireRecordCommands();
    // Device runs: archive reading and communication settings
    // (korvelform_device.cpp).
    void wireDeviceCommands();
    void wireReportCommands(); // protocols (korvelform_reports.cpp)
    // Spreadsheet and folder exports (korvelform_export.cpp).
    void wireExportCommands();
    // The search for a meter below the data folder (korvelform_find.cpp).
    void wireFindMeter();
    // Meter database: editor, files, transfers (korvelform_meterdb.cpp).
    void wireMeterDatabaseCommands();
    // The data folder: its choice and following the disk (korvelform_datafolder.cpp).
    void wireDataFolder();
    void wireVerdicts(); // verdicts and the error curve (korvelform_verdicts.cpp)
    void applyWindowLayout();
    void captureWindowLayout();
    void setLanguage(int language);
    bool ApplyMainStrings();
    bool ApplySecondaryStrings();
    void FormClose();

    StartupPaths m_paths;
    MessageFn m_show;
    std::function<bool(const QString &)> m_openDocument;
    QString m_currentFolder;
    QString m_password;
    AppSettings m_settings;
    std::unique_ptr<StringDocument> m_strings;
    std::unique_ptr<SectionTexts> m_mainTexts;
    ToolkitTranslation m_toolkitTexts; // the toolkit's dialogs in the language
    QStringList m_deviceDescription; // about box: lines describing the models
    bool m_secondaryStringsApplied = false;
    bool m_settingsSaved = false;
    QString m_fatalMessage;

    std::array<QAction *, kCommandCount> m_commandActions{};
    QHash<QString, QMenu *> m_menus;
    QToolBar *m_toolBar = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QWidget *Panel1 = nullptr;
    QWidget *m_gridArea = nullptr;
    std::unique_ptr<RecordStore> m_store;
    FolderTreePanel *m_folderPanel = nullptr;
    RecordViews *m_views = nullptr;
    StatusMessageTimer *m_statusTimer = nullptr;
    QHash<QString, SectionTexts> m_sectionTexts; // secondary sections as last applied
    QList<QPair<QAction *, bool RecordCommands::*>> m_boundCommands;
    QHash<QString, QList<SectionApplier>> m_sectionAppliers;
    AppServices *m_services = nullptr;
    QSplitter *m_upperSplitter = nullptr;
    QSplitter *m_mainSplitter = nullptr;
    QSplitter *m_listsSplitter = nullptr;
    QLabel *m_connectionPanel = nullptr;
    QLabel *m_messagePanel = nullptr;

    TAboutBox *m_about = nullptr;
    TPswd2Form *m_pswd2 = nullptr;
    TPswdForm *m_pswd = nullptr;
    TPswd3Form *m_pswd3 = nullptr;
};
