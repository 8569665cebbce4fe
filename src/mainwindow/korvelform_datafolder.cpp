// Wiring of the data folder into the main window: "Data folder…" in the
// Settings menu chooses it (kept per user, like the password), and the
// record store and the folder tree follow what other workstations sharing
// that folder, and vardosk-cli, change in it.
#include "korvelform.h"

#include "base/platform.h"
#include "base/programtexts.h"
#include "base/ui/appservices.h"
#include "records/recordstore.h"
#include "records/ui/folderpanel.h"
#include "views/commandstate.h"

#include <QFileDialog>
#include <QMenu>

const QString TKorvelForm::kDataFolderKey = QStringLiteral("DataFolder");

void TKorvelForm::wireDataFolder()
{
    auto *choose = new QAction(programText(ProgramText::DataFolderCommand, m_settings.language), this);
    choose->setObjectName(QStringLiteral("DataFolderAction"));
    m_actions.insert(choose->objectName(), choose);
    if (QMenu *options = m_menus.value(QStringLiteral("MainMenu/Options")))
        options->insertAction(m_actions.value(QStringLiteral("ViewParametersAction")), choose);
    else
        QWidget::addAction(choose);
    connect(choose, &QAction::triggered, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(
            this, programText(ProgramText::DataFolderTitle, m_settings.language), m_store->rootFolder());
        if (folder.isEmpty())
            return;
        platform::storeUserValue(kDataFolderKey, folder);
        SwitchDataFolder(folder);
    });
    bindCommand(choose, &RecordCommands::idle);
    connect(m_services, &AppServices::textsApplied, this,
            [this, choose] { choose->setText(programText(ProgramText::DataFolderCommand, m_settings.language)); });

    m_store->FollowDisk();
    m_folderPanel->FollowDisk();
}

void TKorvelForm::SwitchDataFolder(const QString &folder)
{
    m_store->SetDataFolder(folder);
    m_paths.dataFolder = m_store->dataFolder();
    m_currentFolder = m_paths.dataFolder;
    m_folderPanel->BuildFolderTree();
    m_folderPanel->selectFolder(m_store->rootFolder());
}
