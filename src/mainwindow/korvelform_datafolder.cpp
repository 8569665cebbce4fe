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
#include "mainwindow/commandtable.h"

#include <QFileDialog>
#include <QAction>

const QString TKorvelForm::kDataFolderKey = QStringLiteral("DataFolder");

void TKorvelForm::wireDataFolder()
{
    connect(action(Command::DataFolder), &QAction::triggered, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(
            this, programText(ProgramText::DataFolderTitle, m_settings.language), m_store->rootFolder());
        if (folder.isEmpty())
            return;
        platform::storeUserValue(kDataFolderKey, folder);
        SwitchDataFolder(folder);
    });

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
