// Wiring of the protocols ("New report", "Load report") into the main window.
#include "korvelform.h"

#include "reports/ui/reportcommands.h"

void TKorvelForm::wireReportCommands()
{
    auto *commands = new ReportCommands(*m_services, *m_store, *m_views, this);
    commands->setObjectName(QStringLiteral("ReportCommands"));
    bind(Command::CreateReport, commands, &ReportCommands::CreateReportActionExecute);
    bind(Command::LoadReport, commands, &ReportCommands::LoadReportActionExecute);
}
