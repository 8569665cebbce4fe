#include "foldercommands.h"

#include "base/platform.h"
#include "base/ui/appservices.h"
#include "records/recordstore.h"
#include "records/ui/findmeterdialog.h"
#include "records/ui/folderpanel.h"
#include "views/commandstate.h"
#include "views/textlookup.h"
#include "views/ui/recordviews.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>

const QString FolderCommands::kDataFolderKey = QStringLiteral("DataFolder");

FolderCommands::FolderCommands(AppServices &services, RecordStore &store, RecordViews &views, QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_store(store)
    , m_views(views)
    , m_panel(new FolderTreePanel(store, services.window()))
{
    m_panel->setObjectName(QStringLiteral("TreeView"));
    m_panel->setPasswordCheck([this] { return m_services.passwordAccepted(); });
    m_panel->setMessageHandler(
        [this](const QString &key) { m_services.showMessage(MessageKind::Information, m_services.messageByKey(key)); });
    connect(m_panel, &FolderTreePanel::TreeViewChange, this, &FolderCommands::selectFolder);
    // Choosing a folder or a found meter changes the store: not while a
    // device run works.
    connect(&m_views, &RecordViews::commandsChanged, this, [this](const RecordCommands &commands) {
        m_panel->setTreeEnabled(commands.idle);
        if (m_find)
            m_find->setEnabled(commands.idle);
    });

    const TextCatalogue &texts = m_services.texts();
    connect(&texts, &TextCatalogue::textsApplied, this, &FolderCommands::applyTexts);
    connect(&texts, &TextCatalogue::sectionApplied, this, [this](const QString &section) {
        if (section == kViewsDialogSection)
            m_views.SetTextLookup(m_services.texts().lookup());
    });

    // Other workstations sharing the folder, and the command line, change it.
    m_store.FollowDisk();
    m_panel->FollowDisk();
}

void FolderCommands::applyTexts()
{
    const TextCatalogue &texts = m_services.texts();
    m_panel->setMenuCaptions(texts.mainText(QStringLiteral("FolderContextMenu/CreateDir")),
                             texts.mainText(QStringLiteral("FolderContextMenu/DeleteDir")));
    m_panel->setNewFolderLabel(texts.mainText(QStringLiteral("FolderContextMenu/NewFolderLabel")));
    m_views.SetTextLookup(texts.lookup());
    if (m_find)
        m_find->setLanguage(texts.language());
}

void FolderCommands::selectFolder(const QString &folderPath)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_store.SelectFolder(folderPath);
    QApplication::restoreOverrideCursor();
}

void FolderCommands::ShowDataFolder()
{
    m_panel->BuildFolderTree();
    m_panel->selectFolder(m_store.rootFolder());
}

void FolderCommands::SwitchDataFolder(const QString &folder)
{
    m_store.SetDataFolder(folder);
    if (m_find)
        m_find->setDataFolder(m_store.dataFolder());
    ShowDataFolder();
}

void FolderCommands::ChooseDataFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(
        m_services.window(), m_services.texts().programText(ProgramText::DataFolderTitle), m_store.rootFolder());
    if (folder.isEmpty())
        return;
    platform::storeUserValue(kDataFolderKey, folder);
    SwitchDataFolder(folder);
}

void FolderCommands::FindMeterExecute()
{
    // The window is made on the first search, in the language and enabled
    // state of that moment, and then lives as long as the main window.
    if (!m_find) {
        m_find = new FindMeterDialog(m_store.dataFolder(), m_services.window());
        if (m_services.texts().hasDocument()) // the texts were applied: the window takes their language
            m_find->setLanguage(m_services.language());
        m_find->setEnabled(m_views.Commands().idle);
        connect(m_find, &FindMeterDialog::meterChosen, this, &FolderCommands::showFoundMeter);
    }
    m_find->show();
    m_find->raise();
    m_find->activateWindow();
    // Ready for the next search: the serial field, its text selected.
    m_find->focusSerial();
}

void FolderCommands::showFoundMeter(const QString &folder, const QString &fileName)
{
    // A folder made outside the program since the tree was built is added
    // by building the tree again.
    if (!m_panel->selectFolder(folder)) {
        m_panel->BuildFolderTree();
        if (!m_panel->selectFolder(folder))
            return;
    }
    const auto &meters = m_store.meters();
    for (int i = 0; i < meters.size(); ++i) {
        if (meters.at(i).fileName == fileName) {
            m_views.SelectMeter(m_views.MeterRowOf(i));
            break;
        }
    }
}
