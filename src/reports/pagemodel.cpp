#include "pagemodel.h"

#include "pagerender.h"

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

PageItem clipped(PageItem item, const QRectF &clip)
{
    item.clip = clip;
    return item;
}

} // namespace report
