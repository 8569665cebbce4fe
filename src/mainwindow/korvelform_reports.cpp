// Wiring of the protocols ("New report", "Load report") into the main
// window: the title and ending editor lives as long as the window, the
// commands read the selected meter and the power list through narrow
// functions.
#include "korvelform.h"

#include "records/recordstore.h"
#include "reports/protocoldocument.h"
#include "reports/ui/reportcommands.h"
#include "reports/ui/titrepform.h"
#include "views/ui/recordviews.h"

void TKorvelForm::wireReportCommands()
{
    auto *editor = new TTitRepForm(this);
    editor->setObjectName(QStringLiteral("TitRepForm"));
    registerSectionApplier(kTitleReportSection, [editor](const SectionTexts &texts) { editor->applyStrings(texts); });

    ReportSources sources;
    sources.meter = [this]() -> const pcn::_totalblockdata * {
        const QVector<pcn::_totalblockdata> *meters = m_views->meters();
        const int index = m_views->SelectedMeterIndex();
        return meters && index >= 0 && index < meters->size() ? &meters->at(index) : nullptr;
    };
    sources.selection = [this] {
        return protocolSelection(m_views->PowerListOrder(), m_views->CheckedVerifications());
    };
    sources.text = [this](const QString &section, const QString &path) { return sectionText(section, path); };
    sources.language = [this] { return Language(); };

    auto *commands = new ReportCommands(std::move(sources), editor, this, m_show, this);
    commands->setObjectName(QStringLiteral("ReportCommands"));
    connect(action(QStringLiteral("CreateReportAction")), &QAction::triggered, commands,
            &ReportCommands::CreateReportActionExecute);
    QAction *load = action(QStringLiteral("LoadReportAction"));
    load->setEnabled(true);
    connect(load, &QAction::triggered, commands, &ReportCommands::LoadReportActionExecute);
    markCommandImplemented(QStringLiteral("CreateReportAction"));
}
