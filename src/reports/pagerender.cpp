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
#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>
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

// A text document that loads nothing: style sheets, images and backgrounds
// named in its HTML are not read from anywhere, only noted.
class ClosedTextDocument : public QTextDocument {
public:
    bool askedForResource() const { return m_asked; }

protected:
    QVariant loadResource(int, const QUrl &) override
    {
        m_asked = true;
        return {};
    }

private:
    bool m_asked = false;
};

bool reachesOutside(const QTextFormat &format)
{
    if (format.isImageFormat() || format.hasProperty(QTextFormat::BackgroundImageUrl))
        return true;
    return format.isCharFormat() && !format.toCharFormat().anchorHref().isEmpty();
}

// Replaces the document's images by their names as text, its links by their
// plain text, and drops background pictures; the image handler would
// otherwise read an image's file itself when the document gives none.
void closeDocument(QTextDocument &document)
{
    QList<QPair<int, int>> images; // position, length
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextCursor blockCursor(block);
        QTextBlockFormat blockFormat = block.blockFormat();
        if (blockFormat.hasProperty(QTextFormat::BackgroundImageUrl)) {
            blockFormat.clearProperty(QTextFormat::BackgroundImageUrl);
            blockCursor.setBlockFormat(blockFormat);
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            if (fragment.charFormat().isImageFormat()) {
                images.append({fragment.position(), fragment.length()});
                continue;
            }
            if (!reachesOutside(fragment.charFormat()))
                continue;
            QTextCharFormat format = fragment.charFormat();
            format.clearProperty(QTextFormat::BackgroundImageUrl);
            format.clearProperty(QTextFormat::AnchorHref);
            format.setAnchor(false);
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
    for (auto it = images.crbegin(); it != images.crend(); ++it) {
        QTextCursor cursor(&document);
        cursor.setPosition(it->first);
        cursor.setPosition(it->first + it->second, QTextCursor::KeepAnchor);
        const QTextImageFormat image = cursor.charFormat().toImageFormat();
        QTextCharFormat plain = cursor.charFormat();
        plain.clearProperty(QTextFormat::ImageName);
        plain.setObjectType(QTextFormat::NoObject);
        QString names;
        for (int k = 0; k < it->second; ++k)
            names += QLatin1Char('[') + image.name() + QLatin1Char(']');
        cursor.insertText(names, plain);
    }
    // Frames, tables and their cells may carry a picture of their own.
    QList<QTextFrame *> frames{document.rootFrame()};
    while (!frames.isEmpty()) {
        QTextFrame *frame = frames.takeLast();
        QTextFrameFormat format = frame->frameFormat();
        if (format.hasProperty(QTextFormat::BackgroundImageUrl)) {
            format.clearProperty(QTextFormat::BackgroundImageUrl);
            frame->setFrameFormat(format);
        }
        if (auto *table = qobject_cast<QTextTable *>(frame)) {
            for (int row = 0; row < table->rows(); ++row) {
                for (int column = 0; column < table->columns(); ++column) {
                    QTextTableCell cell = table->cellAt(row, column);
                    QTextCharFormat cellFormat = cell.format();
                    if (cellFormat.hasProperty(QTextFormat::BackgroundImageUrl)) {
                        cellFormat.clearProperty(QTextFormat::BackgroundImageUrl);
                        cell.setFormat(cellFormat);
                    }
                }
            }
        }
        frames.append(frame->childFrames());
    }
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
        closeDocument(m_document);
        m_document.setTextWidth(toReference(widthMm));
    }

    QTextDocument &document() { return m_document; }

private:
    QImage m_device;
    ClosedTextDocument m_document;
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

double fittingPointSize(const QString &text, const FontSpec &font, const QSizeF &boxMm, bool wrap)
{
    constexpr double kSmallest = 4.0, kStep = 0.5;
    const QRectF box(0, 0, toReference(boxMm.width()), toReference(boxMm.height()));
    const int flags = Qt::AlignCenter | (wrap ? Qt::TextWordWrap : 0);
    FontSpec tried = font;
    for (; tried.pointSize > kSmallest; tried.pointSize -= kStep) {
        const QRectF needed = QFontMetricsF(referenceFont(tried)).boundingRect(box, flags, text);
        if (needed.width() <= box.width() && needed.height() <= box.height())
            break;
    }
    return qMax(tried.pointSize, kSmallest);
}

bool richTextIsSelfContained(const QString &html)
{
    ClosedTextDocument document;
    document.setHtml(html);
    if (document.askedForResource())
        return false;
    const QList<QTextFormat> formats = document.allFormats();
    return std::none_of(formats.cbegin(), formats.cend(), reachesOutside);
}

QString selfContainedRichText(const QString &html)
{
    if (richTextIsSelfContained(html))
        return html;
    ClosedTextDocument document;
    document.setHtml(html);
    closeDocument(document);
    return document.toHtml();
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
