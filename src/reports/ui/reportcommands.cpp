#include "reportcommands.h"

#include "reports/protocollayout.h"
#include "reports/reportfile.h"
#include "reports/ui/createreport.h"
#include "reports/ui/reportpreview.h"
#include "reports/ui/titrepform.h"

#include <QFileDialog>
#include <QWidget>

namespace {

// Hides the main window for as long as it lives, whatever way the preview
// ends.
class HiddenWhile {
public:
    explicit HiddenWhile(QWidget *window)
        : m_window(window)
        , m_wasVisible(window && window->isVisible())
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

ReportCommands::ReportCommands(ReportSources sources, TTitRepForm *editor, QWidget *window, MessageFn show,
                               QObject *parent)
    : QObject(parent)
    , m_sources(std::move(sources))
    , m_editor(editor)
    , m_window(window)
    , m_show(std::move(show))
{
    m_preview = [this](const report::ReportPages &pages) {
        TReportPreview preview(pages, m_sources.language(), m_sources.text(QStringLiteral("KorvelForm"),
                                                                           QStringLiteral("MainMenu/File/ReportsLabel")),
                               m_show, nullptr);
        preview.exec();
    };
    m_askOpen = [this](const QString &filter) {
        return QFileDialog::getOpenFileName(m_window, QString(), QString(), filter);
    };
}

QString ReportCommands::reportsFilter() const
{
    return m_sources.text(QStringLiteral("KorvelForm"), QStringLiteral("MainMenu/File/ReportsLabel"))
        + QStringLiteral(" (*.QRP *.qrp)");
}

void ReportCommands::showPreview(const report::ReportPages &pages)
{
    HiddenWhile hidden(m_window);
    m_preview(pages);
}

void ReportCommands::CreateReportActionExecute()
{
    const pcn::_totalblockdata *meter = m_sources.meter ? m_sources.meter() : nullptr;
    if (!meter || !m_editor)
        return;
    // Unknown scheme and cancel in the editor end the run without a word.
    const std::optional<ProtocolDocument> doc
        = PrepareProtocol(*meter, m_sources.selection(), *m_editor, m_sources.text, QLocale::system());
    if (!doc)
        return;
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
        if (m_show)
            m_show(MessageKind::Error, report::reportFileMessage(error, m_sources.language()));
        return;
    }
    showPreview(pages);
}
