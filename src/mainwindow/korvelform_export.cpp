// Wiring of the exports into the main window: the spreadsheet export of the
// shown verification (Utilities menu) and the register of the current
// folder (File menu).
#include "korvelform.h"

#include "export/ui/exportcommands.h"
#include "records/recordstore.h"
#include "views/ui/recordviews.h"

void TKorvelForm::wireExportCommands()
{
    ExportSources sources;
    sources.parent = this;
    sources.text = [this](const QString &section, const QString &path) { return sectionText(section, path); };
    sources.language = [this] { return Language(); };
    sources.show = [this](MessageKind kind, const QString &text) { showMessage(kind, text); };
    sources.shownVerification = [this]() -> const pcn::_blockdata * {
        const QVector<pcn::_totalblockdata> *meters = m_views->meters();
        const int m = m_views->SelectedMeterIndex();
        const int v = m_views->SelectedVerificationIndex();
        if (!meters || m < 0 || m >= meters->size() || v < 0 || v >= (*meters)[m].verifications.size())
            return nullptr;
        return &(*meters)[m].verifications[v];
    };
    sources.columns = [this] { return m_settings.columns; };
    sources.folderMeters = [this] { return &m_store->meters(); };
    auto *commands = new ExportCommands(std::move(sources), this);
    commands->setObjectName(QStringLiteral("ExportCommands"));

    connect(action(QStringLiteral("ExportExcelAction")), &QAction::triggered, commands,
            &ExportCommands::ExportExcelExecute);
    markCommandImplemented(QStringLiteral("ExportExcelAction"));

    // "Export folder…" goes into the File menu in front of the separator above Exit.
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
    connect(this, &TKorvelForm::stringsApplied, folderExport,
            [folderExport, commands] { folderExport->setText(commands->folderExportCaption()); });
    // Available whenever the folder lists meters, as the spreadsheet export is.
    auto follow = [folderExport](const RecordCommands &c) { folderExport->setEnabled(c.exportSheet); };
    connect(m_views, &RecordViews::commandsChanged, folderExport, follow);
    follow(m_views->Commands());
}
