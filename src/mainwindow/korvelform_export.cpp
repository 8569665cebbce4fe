// Wiring of the exports into the main window: the spreadsheet export of the
// shown verification (Utilities menu) and the register of the current
// folder (File menu).
#include "korvelform.h"

#include "base/ui/appservices.h"
#include "export/ui/exportcommands.h"
#include "records/recordstore.h"
#include "views/commandstate.h"
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
        const QVector<pcn::_totalblockdata> *meters = views.meters();
        const int m = views.SelectedMeterIndex();
        const int v = views.SelectedVerificationIndex();
        if (!meters || m < 0 || m >= meters->size() || v < 0 || v >= (*meters)[m].verifications.size())
            return nullptr;
        return &(*meters)[m].verifications[v];
    };
    sources.columns = [&app] { return app.settings->columns; };
    sources.folderMeters = [&store] { return &store.meters(); };
    sources.limits = [&views] { return views.Limits(); };
    auto *commands = new ExportCommands(std::move(sources), this);
    commands->setObjectName(QStringLiteral("ExportCommands"));

    connect(action(QStringLiteral("ExportExcelAction")), &QAction::triggered, commands,
            &ExportCommands::ExportExcelExecute);
    markCommandImplemented(QStringLiteral("ExportExcelAction"));

    // "Export folder…" goes into the File menu in front of the separator above
    // Exit, and is available whenever the spreadsheet export is.
    QMenu *file = m_menus.value(QStringLiteral("MainMenu/File"));
    QAction *exit = action(QStringLiteral("Exit"));
    QAction *before = exit;
    const QList<QAction *> items = file->actions();
    const qsizetype at = items.indexOf(exit);
    if (at > 0 && items[at - 1]->isSeparator())
        before = items[at - 1];
    auto *folderExport = new QAction(commands->folderExportCaption(), this);
    folderExport->setObjectName(QStringLiteral("ExportFolderAction"));
    file->insertAction(before, folderExport);
    m_actions.insert(folderExport->objectName(), folderExport);
    connect(folderExport, &QAction::triggered, commands, &ExportCommands::ExportFolderExecute);
    connect(&app, &AppServices::textsApplied, folderExport,
            [folderExport, commands] { folderExport->setText(commands->folderExportCaption()); });
    bindCommand(folderExport, &RecordCommands::exportSheet);
}
