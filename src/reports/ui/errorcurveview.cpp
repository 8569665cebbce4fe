#include "errorcurveview.h"

#include "base/platform.h"
#include "reports/errorcurve.h"
#include "reports/pagerender.h"

#include <QBuffer>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QMenu>
#include <QPainter>

namespace {

constexpr double kMmPerInch = 25.4;
// The size of a saved chart, millimetres, and the resolution of its image.
const QSizeF kSavedSize(180.0, 100.0);
constexpr double kImageDpi = 200.0;

} // namespace

ErrorCurveView::ErrorCurveView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ErrorCurveView"));
    setMinimumSize(120, 40);
    setAutoFillBackground(false);
    m_askSave = [this](const QString &filter) {
        return QFileDialog::getSaveFileName(this, QString(), QString(), filter);
    };
}

void ErrorCurveView::setTexts(Texts texts)
{
    m_texts = std::move(texts);
    update();
}

void ErrorCurveView::setLimits(const limits::Table &table)
{
    m_limits = table;
    update();
}

void ErrorCurveView::setVerification(const std::optional<pcn::_blockdata> &verification)
{
    m_verification = verification;
    update();
}

report::ReportPages ErrorCurveView::page(const QSizeF &sizeMm) const
{
    if (!m_verification)
        return {};
    return report::errorCurvePage(
        *m_verification, m_limits, sizeMm, [this](const QString &p) { return text(p); }, m_locale);
}

void ErrorCurveView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!m_verification)
        return;
    const QSizeF sizeMm(width() / double(logicalDpiX()) * kMmPerInch, height() / double(logicalDpiY()) * kMmPerInch);
    const report::ReportPages pages = page(sizeMm);
    if (!pages.pages.isEmpty())
        report::renderPage(painter, pages.pages.first());
}

bool ErrorCurveView::savePng(const QString &path) const
{
    const report::ReportPages pages = page(kSavedSize);
    if (pages.pages.isEmpty())
        return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!report::renderPageImage(pages, 0, kImageDpi).save(&buffer, "PNG"))
        return false;
    return platform::writeFileAtomically(path, bytes, false);
}

bool ErrorCurveView::savePdf(const QString &path) const
{
    const report::ReportPages pages = page(kSavedSize);
    return !pages.pages.isEmpty() && report::writePdfFile(pages, path);
}

void ErrorCurveView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    QAction *png = menu.addAction(text(QStringLiteral("Curve/SavePng")));
    QAction *pdf = menu.addAction(text(QStringLiteral("Curve/SavePdf")));
    png->setEnabled(hasVerification());
    pdf->setEnabled(hasVerification());
    menu.addSeparator();
    QAction *move = menu.addAction(text(m_below ? QStringLiteral("Curve/Beside") : QStringLiteral("Curve/Below")));
    QAction *chosen = menu.exec(event->globalPos());
    if (chosen == move) {
        emit placementRequested(!m_below);
    } else if (chosen == png || chosen == pdf) {
        const bool asPng = chosen == png;
        QString name =
            m_askSave ? m_askSave(asPng ? QStringLiteral("PNG (*.png)") : QStringLiteral("PDF (*.pdf)")) : QString();
        if (name.isEmpty())
            return;
        const QString suffix = asPng ? QStringLiteral(".png") : QStringLiteral(".pdf");
        if (!name.endsWith(suffix, Qt::CaseInsensitive))
            name += suffix;
        emit saveFinished(asPng ? savePng(name) : savePdf(name), name);
    }
}
