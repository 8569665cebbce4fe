#include "pagemodel.h"

#include "pagerender.h"

#include <algorithm>

namespace report {

PageItem textItem(const QRectF &box, const QString &text, const FontSpec &font, int align, bool wrap)
{
    PageItem item;
    item.kind = ItemKind::Text;
    item.box = box;
    item.text = text;
    item.font = font;
    item.align = align;
    item.wrap = wrap;
    return item;
}

PageItem richTextItem(const QRectF &box, const QString &html)
{
    PageItem item;
    item.kind = ItemKind::RichText;
    item.box = box;
    // Pages hold nothing from outside (a pasted image or link becomes text),
    // so a saved report file never holds what its reader refuses.
    item.text = selfContainedRichText(html);
    return item;
}

PageItem rectItem(const QRectF &box, double penWidth)
{
    PageItem item;
    item.kind = ItemKind::Rect;
    item.box = box;
    item.penWidth = penWidth;
    return item;
}

PageItem lineItem(const QPointF &from, const QPointF &to, double penWidth)
{
    PageItem item;
    item.kind = ItemKind::Line;
    item.box = QRectF(from, to);
    item.penWidth = penWidth;
    return item;
}

namespace {

QRectF boundsOf(const QList<QPointF> &points)
{
    if (points.isEmpty())
        return {};
    double left = points.first().x(), right = left, top = points.first().y(), bottom = top;
    for (const QPointF &p : points) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

} // namespace

PageItem polylineItem(const QList<QPointF> &points, double penWidth, QRgb color, LineStyle style)
{
    PageItem item;
    item.kind = ItemKind::Shape;
    item.box = boundsOf(points);
    item.points = points;
    item.penWidth = penWidth;
    item.penColor = color;
    item.lineStyle = style;
    return item;
}

PageItem polygonItem(const QList<QPointF> &points, QRgb fill, double penWidth, QRgb pen)
{
    PageItem item = polylineItem(points, penWidth, pen);
    item.closed = true;
    item.fillColor = fill;
    return item;
}

PageItem clipped(PageItem item, const QRectF &clip)
{
    item.clip = clip;
    return item;
}

} // namespace report
