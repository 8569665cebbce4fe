// The finished pages of a printed document: every page is a list of placed
// items (plain text, rich text, rectangles, lines), each with its box in
// millimetres measured from the top-left corner of the paper. The layout
// produces it, one render function draws it on any paint device, and the
// report file stores it as it is.
#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

namespace report {

// A font by family, size and style; the families are the document's own
// ("Times New Roman", "Arial"), the font system substitutes metric-compatible
// faces where those are absent.
struct FontSpec {
    QString family;
    double pointSize = 10.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const FontSpec &) const = default;
};

enum class ItemKind : quint8 {
    Text = 1, // plain text in a box, aligned by `align`
    RichText = 2, // HTML text laid out at the box width, from the box's top
    Rect = 3, // outline of the box
    Line = 4, // from the box's top-left to its bottom-right corner
    Shape = 5, // a line through `points` (closed and filled when asked), in colour
};

// Line styles of shapes.
enum class LineStyle : quint8 { Solid = 0, Dash = 1, Dot = 2 };

struct PageItem {
    ItemKind kind = ItemKind::Text;
    QRectF box; // millimetres on the paper
    QString text; // plain text, or the HTML of rich text
    FontSpec font; // Text items
    int align = 0; // Qt::Alignment flags of Text items
    bool wrap = false; // Text items: word-wrapped inside the box
    double penWidth = 0.0; // Rect and Line items, millimetres
    QRectF clip; // drawn only inside this box (mm); null: not clipped
    // Shape items: the points (mm), the line's colour and style (no line when
    // penWidth is 0), and a fill colour (alpha 0: not filled).
    QList<QPointF> points;
    QRgb penColor = 0xff000000;
    QRgb fillColor = 0;
    bool closed = false;
    LineStyle lineStyle = LineStyle::Solid;

    bool operator==(const PageItem &) const = default;
};

struct ReportPage {
    QList<PageItem> items;

    bool operator==(const ReportPage &) const = default;
};

// The whole printed document.
struct ReportPages {
    QString title; // window title of the preview
    QSizeF paperMm{210.0, 297.0}; // A4 portrait
    QList<ReportPage> pages;

    bool operator==(const ReportPages &) const = default;
};

// Builders of the four kinds of item.
PageItem textItem(const QRectF &box, const QString &text, const FontSpec &font, int align, bool wrap = false);
PageItem richTextItem(const QRectF &box, const QString &html);
PageItem rectItem(const QRectF &box, double penWidth);
PageItem lineItem(const QPointF &from, const QPointF &to, double penWidth);
// A line through the points in a colour.
PageItem polylineItem(const QList<QPointF> &points, double penWidth, QRgb color, LineStyle style = LineStyle::Solid);
// A closed shape filled with `fill`, outlined when penWidth is above 0.
PageItem polygonItem(const QList<QPointF> &points, QRgb fill, double penWidth = 0.0, QRgb pen = 0xff000000);
// The item, drawn only inside the clip box.
PageItem clipped(PageItem item, const QRectF &clip);

} // namespace report
