#include "pagerender.h"

#include "base/platform.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFontMetricsF>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace report {
namespace {

constexpr double kMmPerInch = 25.4;

double toReference(double mm)
{
    return mm * kReferenceDpi / kMmPerInch;
}

QPointF toReference(const QPointF &mm)
{
    return QPointF(toReference(mm.x()), toReference(mm.y()));
}

QRectF toReference(const QRectF &mm)
{
    return QRectF(toReference(mm.x()), toReference(mm.y()), toReference(mm.width()), toReference(mm.height()));
}

// A rich-text document laid out at the reference resolution: point sizes in
// the HTML become pixels of that resolution, whatever device draws it later.
class RichTextBox {
public:
    RichTextBox(const QString &html, double widthMm) : m_device(1, 1, QImage::Format_RGB32)
    {
        const int dotsPerMeter = qRound(kReferenceDpi / kMmPerInch * 1000.0);
        m_device.setDotsPerMeterX(dotsPerMeter);
        m_device.setDotsPerMeterY(dotsPerMeter);
        m_document.documentLayout()->setPaintDevice(&m_device);
        m_document.setDocumentMargin(0);
        // Texts without fonts of their own print in the free texts' default.
        QFont font(QStringLiteral("Times New Roman"));
        font.setPointSizeF(14.0);
        m_document.setDefaultFont(font);
        m_document.setHtml(html);
        m_document.setTextWidth(toReference(widthMm));
    }

    QTextDocument &document() { return m_document; }

private:
    QImage m_device;
    QTextDocument m_document;
};

// The fonts of one page, each resolved once: looking a family up in the
// font database for every cell would cost more than drawing it.
class PageFonts {
public:
    const QFont &font(const FontSpec &spec)
    {
        const QString key = spec.family + QLatin1Char('|') + QString::number(spec.pointSize) + QLatin1Char('|')
                            + QString::number(int(spec.bold) | int(spec.italic) << 1 | int(spec.underline) << 2);
        auto it = m_fonts.find(key);
        if (it == m_fonts.end())
            it = m_fonts.insert(key, referenceFont(spec));
        return *it;
    }

private:
    QHash<QString, QFont> m_fonts;
};

void drawItem(QPainter &painter, const PageItem &item, PageFonts &fonts)
{
    const bool clip = !item.clip.isNull();
    if (clip) {
        painter.save();
        painter.setClipRect(toReference(item.clip), Qt::IntersectClip);
    }
    switch (item.kind) {
    case ItemKind::Text: {
        painter.setFont(fonts.font(item.font));
        int flags = item.align | Qt::TextDontClip;
        if (item.wrap)
            flags |= Qt::TextWordWrap;
        painter.drawText(toReference(item.box), flags, item.text);
        break;
    }
    case ItemKind::RichText: {
        RichTextBox box(item.text, item.box.width());
        painter.save();
        painter.translate(toReference(item.box.topLeft()));
        box.document().drawContents(&painter);
        painter.restore();
        break;
    }
    case ItemKind::Rect:
    case ItemKind::Line: {
        QPen pen(Qt::black, toReference(item.penWidth));
        pen.setJoinStyle(Qt::MiterJoin);
        pen.setCapStyle(Qt::SquareCap);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        if (item.kind == ItemKind::Rect)
            painter.drawRect(toReference(item.box));
        else
            painter.drawLine(QPointF(toReference(item.box.left()), toReference(item.box.top())),
                             QPointF(toReference(item.box.right()), toReference(item.box.bottom())));
        painter.setPen(Qt::black);
        break;
    }
    case ItemKind::Shape: {
        QPolygonF polygon;
        for (const QPointF &p : item.points)
            polygon << toReference(p);
        if (item.penWidth > 0) {
            QPen pen(QColor::fromRgba(item.penColor), toReference(item.penWidth));
            pen.setJoinStyle(Qt::RoundJoin);
            pen.setCapStyle(Qt::FlatCap);
            if (item.lineStyle == LineStyle::Dash)
                pen.setStyle(Qt::DashLine);
            else if (item.lineStyle == LineStyle::Dot)
                pen.setStyle(Qt::DotLine);
            painter.setPen(pen);
        } else {
            painter.setPen(Qt::NoPen);
        }
        painter.setBrush(qAlpha(item.fillColor) > 0 ? QBrush(QColor::fromRgba(item.fillColor)) : QBrush(Qt::NoBrush));
        if (item.closed)
            painter.drawPolygon(polygon);
        else
            painter.drawPolyline(polygon);
        painter.setPen(Qt::black);
        painter.setBrush(Qt::NoBrush);
        break;
    }
    }
    if (clip)
        painter.restore();
}

} // namespace

QFont referenceFont(const FontSpec &font)
{
    // "Times New Roman" and "Arial" become their metric-compatible faces
    // where the originals are not installed.
    QFont f(platform::fontFamily(font.family));
    f.setPixelSize(qMax(1, qRound(font.pointSize * kReferenceDpi / 72.0)));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    return f;
}

double lineHeightMm(const FontSpec &font)
{
    return QFontMetricsF(referenceFont(font)).height() * kMmPerInch / kReferenceDpi;
}

double richTextHeightMm(const QString &html, double widthMm)
{
    RichTextBox box(html, widthMm);
    return box.document().size().height() * kMmPerInch / kReferenceDpi;
}

QList<double> richTextLineBottomsMm(const QString &html, double widthMm)
{
    RichTextBox box(html, widthMm);
    QTextDocument &doc = box.document();
    doc.documentLayout(); // lays the document out
    QList<double> bottoms;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        if (!layout)
            continue;
        const double top = doc.documentLayout()->blockBoundingRect(block).top();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            bottoms.append((top + line.y() + line.height()) * kMmPerInch / kReferenceDpi);
        }
    }
    std::sort(bottoms.begin(), bottoms.end());
    return bottoms;
}

void renderPage(QPainter &painter, const ReportPage &page)
{
    painter.save();
    const double scale = painter.device()->logicalDpiX() / kReferenceDpi;
    const double scaleY = painter.device()->logicalDpiY() / kReferenceDpi;
    painter.scale(scale, scaleY);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(Qt::black);
    PageFonts fonts;
    for (const PageItem &item : page.items)
        drawItem(painter, item, fonts);
    painter.restore();
}

QImage renderPageImage(const ReportPages &pages, int index, double dpi)
{
    const QSize size(qRound(pages.paperMm.width() / kMmPerInch * dpi),
                     qRound(pages.paperMm.height() / kMmPerInch * dpi));
    QImage image(size, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(dpi / kMmPerInch * 1000.0);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    if (index >= 0 && index < pages.pages.size()) {
        QPainter painter(&image);
        renderPage(painter, pages.pages.at(index));
    }
    return image;
}

QByteArray renderPdf(const ReportPages &pages)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(pages.title);
        writer.setCreator(QStringLiteral("Vardosk"));
        writer.setResolution(int(kReferenceDpi));
        writer.setPageLayout(QPageLayout(QPageSize(pages.paperMm, QPageSize::Millimeter), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        QPainter painter(&writer);
        for (int i = 0; i < pages.pages.size(); ++i) {
            if (i > 0)
                writer.newPage();
            renderPage(painter, pages.pages.at(i));
        }
    }
    return bytes;
}

bool writePdfFile(const ReportPages &pages, const QString &path)
{
    const QByteArray bytes = renderPdf(pages);
    return !bytes.isEmpty() && platform::writeFileAtomically(path, bytes, false);
}

} // namespace report
