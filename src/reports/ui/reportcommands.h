// "New report" and "Load report": the title and ending editor, the protocol
// document, its layout and the modal preview, during which the main window
// is hidden; or a saved report file in the same preview.
#pragma once

#include "base/ui/passworddialogs.h"
#include "records/blockdata.h"
#include "reports/pagemodel.h"
#include "views/textlookup.h"

#include <QObject>
#include <QPointer>
#include <QVector>

#include <functional>

class TTitRepForm;
class QWidget;

// What the commands read from the rest of the program, nothing more.
struct ReportSources {
    std::function<const pcn::_totalblockdata *()> meter; // the selected meter; null when none
    std::function<QVector<int>()> selection;             // its verifications for the protocol, in list order
    TextLookup text;                                     // texts of the current language
    std::function<int()> language;                       // 0 Russian, 1 English
};

class ReportCommands : public QObject {
    Q_OBJECT
public:
    // Shows the pages modally; the default opens TReportPreview.
    using PreviewRunner = std::function<void(const report::ReportPages &)>;
    // Asks for a report file to open; empty when cancelled.
    using OpenNameAsker = std::function<QString(const QString &filter)>;

    // `window` is hidden while a preview is open; `editor` is the title and
    // ending editor that keeps its texts from run to run.
    ReportCommands(ReportSources sources, TTitRepForm *editor, QWidget *window, MessageFn show,
                   QObject *parent = nullptr);

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

    ReportSources m_sources;
    TTitRepForm *m_editor;
    QPointer<QWidget> m_window;
    MessageFn m_show;
    PreviewRunner m_preview;
    OpenNameAsker m_askOpen;
};
