// "New report" and "Load report": the title and ending editor, the protocol
// document, its layout and the modal preview, during which the main window
// is hidden; or a saved report file in the same preview.
#pragma once

#include "records/errorlimits.h"
#include "records/blockdata.h"
#include "reports/pagemodel.h"

#include <QObject>
#include <QPointer>
#include <QVector>

#include <functional>

class AppServices;
class RecordStore;
class RecordViews;
class TTitRepForm;

// What the commands read of the records: the selected meter (null when
// none) and its verifications for the protocol, in the list's order. By
// default the record views' selected meter and ticked verifications.
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

    // Wired like every controller: the services' window is hidden while a
    // preview is open, their texts fill the protocol; the record views give
    // the meter and the verifications. The title and ending editor is made
    // on first use and keeps its texts from run to run.
    ReportCommands(AppServices &services, RecordStore &store, RecordViews &views, QObject *parent = nullptr);

    // Another selection or editor instead (tests).
    void setSelection(ReportSelection selection) { m_selection = std::move(selection); }
    void setEditor(TTitRepForm *editor);
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
    TTitRepForm *editor();

    QPointer<TTitRepForm> m_editor;
    PreviewRunner m_preview;
    OpenNameAsker m_askOpen;
};
