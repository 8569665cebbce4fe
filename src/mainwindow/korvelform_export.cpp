// Wiring of the exports into the main window: the spreadsheet export of the
// shown verification (Utilities menu) and the register of the current
// folder (File menu).
#include "korvelform.h"

#include "export/ui/exportcommands.h"

void TKorvelForm::wireExportCommands()
{
    auto *commands = new ExportCommands(*m_services, *m_store, *m_views, this);
    commands->setObjectName(QStringLiteral("ExportCommands"));
    bind(Command::ExportExcel, commands, &ExportCommands::ExportExcelExecute);
    bind(Command::ExportFolder, commands, &ExportCommands::ExportFolderExecute);
}
