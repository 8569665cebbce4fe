// Wiring of the protocols ("New report", "Load report") into the main
// window: the title and ending editor lives as long as the window; the
// commands get the application services and read the selected meter and the
// power list through two functions.
#include "korvelform.h"

#include "base/ui/appservices.h"
#include "reports/protocoldocument.h"
#include "reports/ui/reportcommands.h"
#include "reports/ui/titrepform.h"
#include "views/ui/recordviews.h"

void TKorvelForm::wireReportCommands()
{
    auto *editor = new TTitRepForm(this);
    editor->setObjectName(QStringLiteral("TitRepForm"));
    services().addSectionTexts(kTitleReportSection, [editor](const SectionTexts &texts) { editor->applyStrings(texts); });

    ReportSelection selection;
    selection.meter = [views = m_views]() -> const pcn::_totalblockdata * {
        const QVector<pcn::_totalblockdata> *meters = views->meters();
        const int index = views->SelectedMeterIndex();
        return meters && index >= 0 && index < meters->size() ? &meters->at(index) : nullptr;
    };
    selection.verifications = [views = m_views] {
        return protocolSelection(views->PowerListOrder(), views->CheckedVerifications());
    };

    auto *commands = new ReportCommands(services(), std::move(selection), editor, this);
    commands->setObjectName(QStringLiteral("ReportCommands"));
    connect(action(QStringLiteral("CreateReportAction")), &QAction::triggered, commands,
            &ReportCommands::CreateReportActionExecute);
    connect(action(QStringLiteral("LoadReportAction")), &QAction::triggered, commands,
            &ReportCommands::LoadReportActionExecute);
    // "New report" follows its rule (up to ten verifications); "Load report"
    // only waits for the end of a device run.
    markCommandImplemented(QStringLiteral("CreateReportAction"));
    markCommandImplemented(QStringLiteral("LoadReportAction"));
}
