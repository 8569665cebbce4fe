#include "reportpreview.h"

#include "base/platform.h"
#include "reports/pagerender.h"
#include "reports/reportfile.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>

TReportPreview::TReportPreview(const report::ReportPages &pages, int language, const QString &reportsLabel,
                               MessageFn show, QWidget *parent)
    : QPrintPreviewDialog(nullptr, parent)
    , m_pages(pages)
    , m_language(language)
    , m_reportsLabel(reportsLabel)
    , m_show(std::move(show))
{
    // The pages are placed from the paper's corner; the printer's own
    // margins must not shift them.
    printer()->setFullPage(true);
    printer()->setPageLayout(QPageLayout(QPageSize(pages.paperMm, QPageSize::Millimeter), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    printer()->setDocName(pages.title);
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(pages.title);
    setModal(true);
    // Maximised where a window manager honours it; the size of the screen
    // where none does, instead of the dialog's tool-bar-high default.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size());
    setWindowState(windowState() | Qt::WindowMaximized);
    connect(this, &QPrintPreviewDialog::paintRequested, this, &TReportPreview::paintPages);

    m_save = new QAction(programText(ProgramText::ReportSave, language), this);
    m_save->setObjectName(QStringLiteral("SaveReportAction"));
    m_savePdf = new QAction(programText(ProgramText::ReportSavePdf, language), this);
    m_savePdf->setObjectName(QStringLiteral("SavePdfAction"));
    connect(m_save, &QAction::triggered, this, &TReportPreview::SaveClick);
    connect(m_savePdf, &QAction::triggered, this, &TReportPreview::SavePdfClick);
    if (QToolBar *bar = findChild<QToolBar *>()) {
        bar->addSeparator();
        bar->addAction(m_save);
        bar->addAction(m_savePdf);
    }
    m_askName = [this](const QString &caption, const QString &filter, const QString &folder) {
        return QFileDialog::getSaveFileName(this, caption, folder, filter);
    };
}

TReportPreview::~TReportPreview() = default;

void TReportPreview::paintPages(QPrinter *printer)
{
    // The preview hands in its own printer; printing from the preview hands
    // in the one the print dialog set up. Both get the full paper.
    printer->setFullPage(true);
    QPainter painter(printer);
    for (int i = 0; i < m_pages.pages.size(); ++i) {
        if (i > 0)
            printer->newPage();
        report::renderPage(painter, m_pages.pages.at(i));
    }
}

QString TReportPreview::askName(const QString &caption, const QString &filter, const QString &suffix,
                                const QString &kind)
{
    QString name = m_askName ? m_askName(caption, filter, platform::saveFolder(kind)) : QString();
    if (name.isEmpty())
        return name;
    if (QFileInfo(name).suffix().isEmpty())
        name += QLatin1Char('.') + suffix;
    platform::rememberSaveFolder(kind, name);
    return name;
}

void TReportPreview::SaveClick()
{
    const QString name = askName(m_save->text(), m_reportsLabel + QStringLiteral(" (*.QRP *.qrp)"),
                                 QStringLiteral("QRP"), QStringLiteral("report"));
    if (name.isEmpty())
        return;
    const report::ReportFileError error = report::saveReportFile(name, m_pages);
    if (error != report::ReportFileError::None && m_show)
        m_show(MessageKind::Error, programText(report::reportFileText(error), m_language));
}

void TReportPreview::SavePdfClick()
{
    const QString name =
        askName(m_savePdf->text(), QStringLiteral("PDF (*.pdf *.PDF)"), QStringLiteral("pdf"), QStringLiteral("pdf"));
    if (name.isEmpty())
        return;
    if (!report::writePdfFile(m_pages, name) && m_show)
        m_show(MessageKind::Error, programText(ProgramText::ReportCannotWrite, m_language));
}
