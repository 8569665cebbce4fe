// "New report" and "Load report": the title and ending editor, the protocol
// document, its layout and the modal preview, during which the main window
// is hidden; or a saved report file in the same preview.
#pragma once

#include "records/errorlimits.h"
#include "records/blockdata.h"
#include "reports/pagemodel.h"

#include <QObject>
#include <QVector>

#include <functional>

class AppServices;
class TTitRepForm;

// What the commands read of the records: the selected meter (null when
// none) and its verifications for the protocol, in the list's order.
struct ReportSelection {
    std::function<const pcn::_totalblockdata *()> meter;
    std::function<QVector<int>()> verifications;
    // The limits table the protocol's verdicts and curves judge by.
    std::function<limits::Table()> limits;
};

class ReportCommands : public QObject {
    Q_OBJECT
public:
    // Shows the pages modally; the default opens TReportPreview.
    using PreviewRunner = std::function<void(const report::ReportPages &)>;
    // Asks for a report file to open; empty when cancelled.
    using OpenNameAsker = std::function<QString(const QString &filter)>;

    // The services' window is hidden while a preview is open; their texts
    // and language fill the protocol; `editor` is the title and ending
    // editor that keeps its texts from run to run.
    ReportCommands(AppServices &services, ReportSelection selection, TTitRepForm *editor, QObject *parent = nullptr);
    // An editor made on first use instead: `editor` returns it.
    using EditorSource = std::function<TTitRepForm *()>;
    void setEditorSource(EditorSource editor) { m_editor = std::move(editor); }

    void setPreviewRunner(PreviewRunner runner) { m_preview = std::move(runner); }
    void setOpenNameAsker(OpenNameAsker asker) { m_askOpen = std::move(asker); }

    // The filter of the report file dialogs: "Reports (*.QRP *.qrp)"; file
    // names are case-sensitive here, and the command line may write either.
    QString reportsFilter() const;

public slots:
    void CreateReportActionExecute();
    void LoadReportActionExecute();

private:
    void showPreview(const report::ReportPages &pages);

    AppServices &m_services;
    ReportSelection m_selection;
    EditorSource m_editor;
    PreviewRunner m_preview;
    OpenNameAsker m_askOpen;
};
