#include "protocollayout.h"

#include "reports/pagerender.h"
#include "reports/protocolschemes.h"
#include "reports/protocolverdicts.h"

namespace report {
namespace {

constexpr double kTitleBandHeight = 43.1;
constexpr double kTitleTextX = 2.1;
constexpr double kTitleTextMinHeight = 34.1;
constexpr double kFreeTextWidth = 165.4;
constexpr double kMeterBandHeight = 33.1;
constexpr double kRowBandHeight = 5.0;
constexpr double kCellHeight = 5.6;
constexpr double kHeadingRowHeight = 5.8;
constexpr double kGroupTitleCentre = 79.8;
constexpr double kGroupTitleY = 7.4;
constexpr double kNominalLinesX = 19.1;
constexpr double kGroupFooterHeight = 11.9;
constexpr double kTransformerX = 2.1, kTransformerY = 2.1, kTransformerWidth = 68.0;
constexpr double kFooterHeight = 8.5;
constexpr double kFooterTextY = 2.1;
constexpr double kReferenceX = 2.1;
constexpr double kPageCaptionRight = 149.8;
constexpr double kPageNumberX = 150.3;
constexpr double kPageOfX = 154.5;
constexpr double kFramePen = 0.25;
constexpr double kRulePen = 0.2;
constexpr double kCaptionPadding = 0.8; // kept free between a heading caption and its rules (italics lean)

const QString kTimes = QStringLiteral("Times New Roman");
const QString kArial = QStringLiteral("Arial");

FontSpec font(const QString &family, double size, bool bold = false, bool italic = false)
{
    return FontSpec{family, size, bold, italic, false};
}

// A one-line text whose left edge is at x.
PageItem leftText(double x, double y, double right, const QString &text, const FontSpec &f)
{
    return textItem(QRectF(x, y, qMax(1.0, right - x), lineHeightMm(f)), text, f, Qt::AlignLeft | Qt::AlignTop);
}

// A one-line text whose right edge is at `right`.
PageItem rightText(double right, double y, const QString &text, const FontSpec &f)
{
    return textItem(QRectF(0, y, right, lineHeightMm(f)), text, f, Qt::AlignRight | Qt::AlignTop);
}

// Cells are drawn only inside their band: a cell reaching into the band
// below loses its bottom edge, which the next band's top edge (or the group
// footer's rule) draws instead, so the table reads as one ruled grid. The top
// keeps the full width of its rule.
QRectF bandClip(double bandHeight)
{
    return QRectF(-1.0, -kRulePen / 2, kBandWidth + 2.0, bandHeight + kRulePen / 2);
}

QString headingText(const HeadingCell &cell, const ProtocolDocument &doc, const ResultGroup &group)
{
    switch (cell.caption) {
    case HeadingCaption::Number:
        return QStringLiteral("№");
    case HeadingCaption::Voltage:
        return doc.voltageCaption;
    case HeadingCaption::Current:
        return doc.currentCaption;
    case HeadingCaption::PowerFactor:
        return doc.powerFactorCaption;
    case HeadingCaption::Power:
        return group.powerCaption;
    case HeadingCaption::Error:
        return doc.errorCaption;
    case HeadingCaption::Fixed:
        break;
    }
    return QString::fromUtf8(cell.fixedText);
}

// Where a band holding a free text may be cut: below each of its lines.
QList<double> textBreaks(const QString &html, double textTop)
{
    QList<double> breaks = richTextLineBottomsMm(html, kFreeTextWidth);
    for (double &b : breaks)
        b += textTop;
    return breaks;
}

Band titleBand(const ProtocolDocument &doc, const SchemeLayout &s)
{
    Band band;
    band.height = kTitleBandHeight;
    if (doc.titleHtml.isEmpty())
        return band;
    const double height = richTextHeightMm(doc.titleHtml, kFreeTextWidth);
    band.height += qMax(0.0, height - kTitleTextMinHeight);
    band.items.append(richTextItem(QRectF(kTitleTextX, s.titleTextY, kFreeTextWidth, qMax(height, kTitleTextMinHeight)),
                                   doc.titleHtml));
    band.breaks = textBreaks(doc.titleHtml, s.titleTextY);
    return band;
}

Band meterBand(const ProtocolDocument &doc, const SchemeLayout &s)
{
    const FontSpec regular = font(kTimes, 12), italic = font(kTimes, 12, false, true);
    Band band;
    band.height = kMeterBandHeight;
    band.items = {
        leftText(s.meterTextX, 2.1, kBandWidth, doc.typeLine, regular),
        leftText(s.meterTextX, 7.9, kBandWidth, doc.serialLine, italic),
        leftText(s.meterTextX, 14.3, kBandWidth, doc.yearLine, italic),
        leftText(s.meterTextX, s.classLineY, kBandWidth, doc.classLine, regular),
        leftText(s.meterTextX, 26.5, kBandWidth, doc.schemeLine, regular),
    };
    return band;
}

Band groupHeader(const ProtocolDocument &doc, const ResultGroup &group, const SchemeLayout &s)
{
    Band band;
    band.height = s.groupHeaderHeight;
    const FontSpec titleFont = font(kArial, 12, true);
    const double halfWidth = qMin(kGroupTitleCentre, kBandWidth - kGroupTitleCentre);
    band.items.append(
        textItem(QRectF(kGroupTitleCentre - halfWidth, kGroupTitleY, 2 * halfWidth, lineHeightMm(titleFont)),
                 group.powerTitle, titleFont, Qt::AlignHCenter | Qt::AlignTop));
    const FontSpec lineFont = font(kTimes, 12);
    band.items.append(leftText(kNominalLinesX, s.constantLineY, kBandWidth, group.constantLine, lineFont));
    if (s.phaseVoltageLineY >= 0)
        band.items.append(leftText(kNominalLinesX, s.phaseVoltageLineY, kBandWidth, group.phaseVoltageLine, lineFont));
    if (s.lineVoltageLineY >= 0)
        band.items.append(leftText(kNominalLinesX, s.lineVoltageLineY, kBandWidth, group.lineVoltageLine, lineFont));
    band.items.append(leftText(kNominalLinesX, s.currentLineY, kBandWidth, group.currentLine, lineFont));

    // Table heading: one row of its full height, or two rows of 5.8 mm
    // overlapping by the width of a rule.
    band.pageEndItems.append(
        lineItem(QPointF(s.tableLeft(), band.height), QPointF(s.tableRight(), band.height), kRulePen));
    const double rowHeight = s.headingRows == 1 ? s.headingHeight : kHeadingRowHeight;
    const double rowStep = s.headingRows == 1 ? 0.0 : s.headingHeight - kHeadingRowHeight;
    const FontSpec captionFont = font(kArial, 11, true, true), letterFont = font(kArial, 12);
    for (const HeadingCell &cell : s.heading) {
        const TableColumn &first = s.columns.at(cell.firstColumn);
        const TableColumn &last = s.columns.at(cell.lastColumn);
        const double height = cell.rows == 1 ? rowHeight : s.headingHeight;
        const QRectF box(first.left, s.headingY + cell.row * rowStep, last.left + last.width - first.left, height);
        band.items.append(clipped(rectItem(box, kRulePen), bandClip(band.height)));
        const bool fixed = cell.caption == HeadingCaption::Fixed;
        // A caption too long for its cell (Russian ones are) wraps and then
        // shrinks until it stays inside the rules.
        const QString text = headingText(cell, doc, group);
        FontSpec f = fixed ? letterFont : captionFont;
        const QRectF inside =
            box.adjusted(kCaptionPadding, kCaptionPadding / 2, -kCaptionPadding, -kCaptionPadding / 2);
        f.pointSize = fittingPointSize(text, f, inside.size(), !fixed);
        band.items.append(textItem(inside, text, f, Qt::AlignCenter, !fixed));
    }
    return band;
}

Band rowBand(const ResultRow &row, const ResultGroup &group, const SchemeLayout &s, double textHeight)
{
    static const FontSpec cellFont = font(kTimes, 10);
    Band band;
    band.height = kRowBandHeight;
    band.items.reserve(2 * s.columns.size());
    band.pageEndItems.append(
        lineItem(QPointF(s.tableLeft(), kRowBandHeight), QPointF(s.tableRight(), kRowBandHeight), kRulePen));
    for (const TableColumn &c : s.columns) {
        const QRectF cell(c.left, 0, c.width, kCellHeight);
        band.items.append(clipped(rectItem(cell, kRulePen), bandClip(band.height)));
        // Text centred in the cell; a value wider than its cell runs over
        // the rules rather than being cut.
        const QRectF textBox(c.left, (kCellHeight - textHeight) / 2, c.width, textHeight);
        band.items.append(
            textItem(textBox, row.text(c.powerColumn ? group.powerField : c.field), cellFont, Qt::AlignCenter));
    }
    return band;
}

Band groupFooter(const ResultGroup &group, const SchemeLayout &s)
{
    Band band;
    band.height = kGroupFooterHeight;
    band.items.append(lineItem(QPointF(s.tableLeft(), 0), QPointF(s.tableRight(), 0), kRulePen));
    band.items.append(rightText(s.dateRight, s.dateY, group.dateLine, font(kTimes, 12)));
    return band;
}

// The verdict line under a table, wrapped at the band's width.
Band verdictBand(const ResultGroup &group)
{
    const FontSpec f = font(kTimes, 12, true);
    Band band;
    const double lines = 1 + int(group.verdictLine.size() / 80);
    band.height = lines * lineHeightMm(f) + 2.0;
    band.items.append(textItem(QRectF(kTitleTextX, 1.0, kBandWidth - 2 * kTitleTextX, lines * lineHeightMm(f)),
                               group.verdictLine, f, Qt::AlignLeft | Qt::AlignTop, true));
    return band;
}

// The error curve under a table (and under its verdict line).
Band curveBand(const ResultGroup &group)
{
    Band band;
    band.height = kCurveHeight + 3.0;
    for (PageItem item : group.curveItems) {
        item.box.translate(0, 1.0);
        if (!item.clip.isNull())
            item.clip.translate(0, 1.0);
        for (QPointF &p : item.points)
            p += QPointF(0, 1.0);
        band.items.append(item);
    }
    return band;
}

Band endingBand(const ProtocolDocument &doc, const SchemeLayout &s)
{
    Band band;
    band.height = s.endingBandHeight;
    const FontSpec small = font(kArial, 10);
    const double lh = lineHeightMm(small);
    for (int i = 0; i < doc.transformerLines.size(); ++i)
        band.items.append(leftText(kTransformerX, kTransformerY + i * lh, kTransformerX + kTransformerWidth,
                                   doc.transformerLines.at(i), small));
    band.items.append(rightText(s.printDateRight, s.printDateY, doc.printDate, small));
    band.items.append(leftText(s.yearSuffixX, s.printDateY, kBandWidth, doc.yearSuffix, small));
    if (!doc.endingHtml.isEmpty()) {
        const double height = richTextHeightMm(doc.endingHtml, kFreeTextWidth);
        band.items.append(richTextItem(QRectF(s.endingTextX, s.endingTextY, kFreeTextWidth, height), doc.endingHtml));
        band.height = qMax(band.height, s.endingTextY + height);
        // The ending may only start a new page below the print date.
        band.breaks = textBreaks(doc.endingHtml, s.endingTextY);
    }
    return band;
}

Band pageFooter(const ProtocolDocument &doc, const SchemeLayout &s, int page)
{
    const FontSpec small = font(kArial, 10);
    Band band;
    band.height = kFooterHeight;
    band.items = {
        rectItem(QRectF(0, 0, kBandWidth, kFooterHeight), kRulePen),
        leftText(kReferenceX, kFooterTextY, kReferenceX + s.referenceWidth, doc.referenceLine, small),
        rightText(kPageCaptionRight, kFooterTextY, doc.pageCaption, small),
        leftText(kPageNumberX, kFooterTextY, kPageOfX, QString::number(page), small),
        leftText(kPageOfX, kFooterTextY, kBandWidth, doc.pageOfCaption(), small),
    };
    return band;
}

} // namespace

PageGeometry protocolPageGeometry()
{
    PageGeometry g;
    g.paperMm = QSizeF(210.0, 297.0);
    g.left = 30.0;
    g.right = 10.0;
    g.top = 15.0;
    g.bottom = 15.0;
    g.footerHeight = kFooterHeight;
    g.framePen = kFramePen;
    return g;
}

ReportPages layoutProtocol(const ProtocolDocument &document)
{
    const SchemeLayout &s = schemeLayout(document.scheme);
    BandFlow flow(protocolPageGeometry());
    flow.add(titleBand(document, s));
    flow.add(meterBand(document, s));
    const double cellTextHeight = lineHeightMm(font(kTimes, 10));
    for (const ResultGroup &group : document.groups) {
        flow.add(groupHeader(document, group, s));
        for (const ResultRow &row : group.rows)
            flow.add(rowBand(row, group, s, cellTextHeight));
        flow.add(groupFooter(group, s));
        if (!group.verdictLine.isEmpty())
            flow.add(verdictBand(group));
        if (!group.curveItems.isEmpty())
            flow.add(curveBand(group));
    }
    flow.add(endingBand(document, s));

    ProtocolDocument counted = document;
    counted.pageCount = flow.pageCount();
    ReportPages pages;
    pages.title = document.documentTitle;
    pages.paperMm = protocolPageGeometry().paperMm;
    pages.pages = flow.finish([&](int page, int) { return pageFooter(counted, s, page); });
    return pages;
}

FontSpec defaultFreeTextFont()
{
    return font(kTimes, 14);
}

QString plainTextToHtml(const QString &text)
{
    if (text.isEmpty())
        return {};
    QString html = QStringLiteral("<html><body>");
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        html +=
            QStringLiteral("<p align=\"center\" style=\"margin:0; font-family:'Times New Roman'; font-size:14pt;\">")
            + (line.isEmpty() ? QStringLiteral("&nbsp;") : line.toHtmlEscaped()) + QStringLiteral("</p>");
    }
    return html + QStringLiteral("</body></html>");
}

} // namespace report
