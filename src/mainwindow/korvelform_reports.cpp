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

#include <QPointer>

#include <memory>
#include <optional>

void TKorvelForm::wireReportCommands()
{
    // The editor is made on the first report, with the texts last applied.
    struct Editor {
        QPointer<TTitRepForm> form;
        std::optional<SectionTexts> texts;
    };
    auto editor = std::make_shared<Editor>();
    services().addSectionTexts(kTitleReportSection, [editor](const SectionTexts &texts) {
        editor->texts = texts;
        if (editor->form)
            editor->form->applyStrings(texts);
    });
    const auto editorForm = [this, editor]() -> TTitRepForm * {
        if (!editor->form) {
            editor->form = new TTitRepForm(this);
            editor->form->setObjectName(QStringLiteral("TitRepForm"));
            if (editor->texts)
                editor->form->applyStrings(*editor->texts);
        }
        return editor->form;
    };

    ReportSelection selection;
    selection.meter = [views = m_views]() -> const pcn::_totalblockdata * { return views->selectedMeter(); };
    selection.verifications = [views = m_views] {
        return protocolSelection(views->PowerListOrder(), views->CheckedVerifications());
    };
    selection.limits = [views = m_views] { return views->Limits(); };

    auto *commands = new ReportCommands(services(), std::move(selection), nullptr, this);
    commands->setEditorSource(editorForm);
    commands->setObjectName(QStringLiteral("ReportCommands"));
    connect(action(Command::CreateReport), &QAction::triggered, commands, &ReportCommands::CreateReportActionExecute);
    connect(action(Command::LoadReport), &QAction::triggered, commands, &ReportCommands::LoadReportActionExecute);
}
