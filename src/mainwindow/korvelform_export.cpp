// Wiring of the exports into the main window: the spreadsheet export of the
// shown verification (Utilities menu) and the register of the current
// folder (File menu).
#include "korvelform.h"

#include "base/ui/appservices.h"
#include "export/ui/exportcommands.h"
#include "records/recordstore.h"
#include "views/ui/recordviews.h"

void TKorvelForm::wireExportCommands()
{
    AppServices &app = services();
    RecordViews &views = *m_views;
    RecordStore &store = *m_store;
    ExportSources sources;
    sources.parent = this;
    sources.text = app.text;
    sources.language = [&app] { return app.language(); };
    sources.show = app.showMessage;
    sources.shownVerification = [&views]() -> const pcn::_blockdata * {
        const pcn::_totalblockdata *meter = views.selectedMeter();
        const int v = views.SelectedVerificationIndex();
        if (!meter || v < 0 || v >= meter->verifications.size())
            return nullptr;
        return &meter->verifications[v];
    };
    sources.columns = [&app] { return app.settings->columns; };
    sources.folderMeters = [&store] { return store.loadMeters(); };
    sources.limits = [&views] { return views.Limits(); };
    auto *commands = new ExportCommands(std::move(sources), this);
    commands->setObjectName(QStringLiteral("ExportCommands"));

    connect(action(Command::ExportExcel), &QAction::triggered, commands, &ExportCommands::ExportExcelExecute);
    connect(action(Command::ExportFolder), &QAction::triggered, commands, &ExportCommands::ExportFolderExecute);
}
