#include "reportcommands.h"

#include "reports/protocolverdicts.h"

#include "base/stringcatalog.h"
#include "base/ui/appservices.h"

#include "reports/protocoldocument.h"
#include "reports/protocollayout.h"
#include "reports/reportfile.h"
#include "reports/ui/createreport.h"
#include "reports/ui/reportpreview.h"
#include "reports/ui/titrepform.h"
#include "views/ui/recordviews.h"

#include <QFileDialog>
#include <QWidget>

namespace {

// Hides the main window for as long as it lives, whatever way the preview
// ends.
class HiddenWhile {
public:
    explicit HiddenWhile(QWidget *window) : m_window(window), m_wasVisible(window && window->isVisible())
    {
        if (m_wasVisible)
            m_window->hide();
    }
    ~HiddenWhile()
    {
        if (m_wasVisible && m_window)
            m_window->show();
    }
    HiddenWhile(const HiddenWhile &) = delete;
    HiddenWhile &operator=(const HiddenWhile &) = delete;

private:
    QPointer<QWidget> m_window;
    bool m_wasVisible;
};

} // namespace

namespace {

const QString kReportsLabel = QStringLiteral("MainMenu/File/ReportsLabel");

} // namespace

ReportCommands::ReportCommands(AppServices &services, RecordStore &, RecordViews &views, QObject *parent)
    : QObject(parent), m_services(services)
{
    m_selection.meter = [&views] { return views.selectedMeter(); };
    m_selection.verifications = [&views] {
        return protocolSelection(views.PowerListOrder(), views.CheckedVerifications());
    };
    m_selection.limits = [&views] { return views.Limits(); };
    m_preview = [this](const report::ReportPages &pages) {
        // The main window is hidden: the preview has no parent to stay over.
        TReportPreview preview(pages, m_services.language(), m_services.mainText(kReportsLabel), m_services.messageFn(),
                               nullptr);
        preview.exec();
    };
    m_askOpen = [this](const QString &filter) {
        return QFileDialog::getOpenFileName(m_services.window(), QString(), QString(), filter);
    };
    connect(&m_services.texts(), &TextCatalogue::sectionApplied, this,
            [this](const QString &section, const SectionTexts &texts) {
                if (section == kTitleReportSection && m_editor)
                    m_editor->applyStrings(texts);
            });
}

void ReportCommands::setEditor(TTitRepForm *editor)
{
    m_editor = editor;
}

TTitRepForm *ReportCommands::editor()
{
    // Made on the first report, with the texts last applied.
    if (!m_editor) {
        m_editor = new TTitRepForm(m_services.window());
        m_editor->setObjectName(QStringLiteral("TitRepForm"));
        if (const SectionTexts *texts = m_services.texts().appliedTexts(kTitleReportSection))
            m_editor->applyStrings(*texts);
    }
    return m_editor;
}

QString ReportCommands::reportsFilter() const
{
    return m_services.mainText(kReportsLabel) + QStringLiteral(" (*.QRP *.qrp)");
}

void ReportCommands::showPreview(const report::ReportPages &pages)
{
    HiddenWhile hidden(m_services.window());
    m_preview(pages);
}

void ReportCommands::CreateReportActionExecute()
{
    const pcn::_totalblockdata *meter = m_selection.meter ? m_selection.meter() : nullptr;
    if (!meter || !m_selection.verifications)
        return;
    TTitRepForm *editor = this->editor();
    // Unknown scheme and cancel in the editor end the run without a word.
    std::optional<ProtocolDocument> doc =
        PrepareProtocol(*meter, m_selection.verifications(), *editor, m_services.texts().lookup(), QLocale::system());
    if (!doc)
        return;
    const ReportTexts ticks = editor->Texts();
    if (ticks.includeVerdicts || ticks.includeCurves)
        report::addProtocolVerdicts(*doc, *meter, m_selection.limits ? m_selection.limits() : limits::builtInLimits(),
                                    ticks.includeVerdicts, ticks.includeCurves, m_services.texts().lookup(),
                                    QLocale::system());
    showPreview(report::layoutProtocol(*doc));
}

void ReportCommands::LoadReportActionExecute()
{
    const QString name = m_askOpen ? m_askOpen(reportsFilter()) : QString();
    if (name.isEmpty())
        return;
    report::ReportPages pages;
    const report::ReportFileError error = report::loadReportFile(name, pages);
    if (error != report::ReportFileError::None) {
        m_services.showMessage(MessageKind::Error, m_services.texts().programText(report::reportFileText(error)));
        return;
    }
    showPreview(pages);
}
