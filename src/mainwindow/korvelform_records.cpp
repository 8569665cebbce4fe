// Wiring of the record operations and the folders into the main window.
#include "korvelform.h"

#include "base/ui/appservices.h"
#include "views/commandstate.h"
#include "views/ui/foldercommands.h"
#include "views/ui/recordoperations.h"
#include "views/ui/recordviews.h"

#include <QMenu>

void TKorvelForm::wireRecordCommands()
{
    m_operations = new RecordOperations(*m_services, *m_store, *m_views, this);
    bind(Command::Copy, m_operations, &RecordOperations::CopyButtonClick);
    bind(Command::Cut, m_operations, &RecordOperations::CutButtonClick);
    bind(Command::Paste, m_operations, &RecordOperations::PasteButtonClick);
    bind(Command::Delete, m_operations, &RecordOperations::DelButtonClick);
    bind(Command::Merge, m_operations, &RecordOperations::ConnectActionExecute);

    // "Merge all files of this meter" below "Change" in the meter list's
    // context menu, offered when "Change" is: a meter selected, no device run.
    QMenu *meterMenu = m_operations->meterContextMenu();
    QAction *mergeAll = action(Command::MergeAll);
    meterMenu->addAction(mergeAll);
    bind(Command::MergeAll, m_operations, &RecordOperations::MergeAllClick);
    connect(meterMenu, &QMenu::aboutToShow, mergeAll, [this, mergeAll] {
        mergeAll->setEnabled(m_views->Commands().changeMeter && m_views->SelectedMeterRow() >= 0);
    });

    m_folders = new FolderCommands(*m_services, *m_store, *m_views, this);
    m_folders->setObjectName(QStringLiteral("FolderCommands"));
    bind(Command::DataFolder, m_folders, &FolderCommands::ChooseDataFolder);
    bind(Command::FindMeter, m_folders, &FolderCommands::FindMeterExecute);
}
