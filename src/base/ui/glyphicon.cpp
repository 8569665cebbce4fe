#include "glyphicon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <iterator>
#include <map>
#include <memory>

namespace {

void drawSheet(QPainter &p, const QRectF &r, const QColor &fill)
{
    p.setBrush(fill);
    p.drawRoundedRect(r, 1.5, 1.5);
}

QPixmap render(GlyphKind kind, int size, bool disabled)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    const QColor ink = disabled ? QColor(160, 160, 160) : QColor(40, 60, 90);
    const QColor paper = disabled ? QColor(235, 235, 235) : QColor(250, 250, 245);
    const QColor accent = disabled ? QColor(190, 190, 190) : QColor(30, 110, 200);
    const QColor danger = disabled ? QColor(190, 190, 190) : QColor(200, 50, 40);
    p.setPen(QPen(ink, 1.4));

    switch (kind) {
    case GlyphKind::ReadDevice: {
        p.setBrush(paper);
        p.drawRoundedRect(QRectF(3, 2, 12, 16), 2, 2); // the instrument
        p.setBrush(accent);
        p.drawRect(QRectF(5.5, 4.5, 7, 5));
        p.setPen(QPen(accent, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(19, 8), QPointF(19, 20));
        p.drawLine(QPointF(15.5, 16.5), QPointF(19, 20));
        p.drawLine(QPointF(22.5, 16.5), QPointF(19, 20));
        break;
    }
    case GlyphKind::Report:
        drawSheet(p, QRectF(4, 2, 16, 20), paper);
        p.setPen(QPen(accent, 1.4));
        for (int y = 7; y <= 17; y += 3)
            p.drawLine(QPointF(7, y), QPointF(17, y));
        break;
    case GlyphKind::Copy:
        drawSheet(p, QRectF(3, 2, 12, 15), paper);
        drawSheet(p, QRectF(9, 7, 12, 15), paper);
        break;
    case GlyphKind::Paste:
        p.setBrush(QColor(disabled ? 200 : 190, disabled ? 200 : 150, disabled ? 200 : 90));
        p.drawRoundedRect(QRectF(3, 4, 14, 17), 2, 2);
        drawSheet(p, QRectF(9, 9, 12, 13), paper);
        p.setBrush(ink);
        p.drawRect(QRectF(7, 2, 6, 4));
        break;
    case GlyphKind::Merge:
        drawSheet(p, QRectF(2, 3, 11, 14), paper);
        p.setPen(QPen(accent, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(17, 10), QPointF(17, 22));
        p.drawLine(QPointF(11, 16), QPointF(23, 16));
        break;
    case GlyphKind::Cut:
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(3, 15, 6, 6));
        p.drawEllipse(QRectF(15, 15, 6, 6));
        p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 16), QPointF(17, 2));
        p.drawLine(QPointF(16, 16), QPointF(7, 2));
        break;
    case GlyphKind::Delete:
        p.setPen(QPen(danger, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 5), QPointF(19, 19));
        p.drawLine(QPointF(19, 5), QPointF(5, 19));
        break;
    }
    return pm;
}

// The sizes an icon is drawn at; other sizes are served from the nearest
// of them as a pixmap icon would be: the smallest at least as large as the
// size asked for, else the largest, scaled down when larger.
constexpr int kSides[] = {16, 24, 32, 48};

int sideFor(const QSize &size)
{
    const qint64 asked = qint64(size.width()) * size.height();
    for (int side : kSides) {
        if (qint64(side) * side >= asked)
            return side;
    }
    return kSides[std::size(kSides) - 1];
}

// Draws each size only when it is first asked for: a tool bar shows one size
// of its icons, a menu another, and most are never shown at all. Each size
// is held as an icon of that size's two pixmaps (normal and disabled), which
// serves every mode and state as an icon of all sizes would.
class GlyphIconEngine final : public QIconEngine {
public:
    explicit GlyphIconEngine(GlyphKind kind) : m_kind(kind), m_sizes(std::make_shared<std::map<int, QIcon>>()) {}

    QIconEngine *clone() const override { return new GlyphIconEngine(*this); }
    QString key() const override { return QStringLiteral("GlyphIconEngine"); }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        QSize actual(sideFor(size), sideFor(size));
        if (actual.width() > size.width() || actual.height() > size.height())
            actual.scale(size, Qt::KeepAspectRatio);
        return actual;
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        QList<QSize> sizes;
        if (state == QIcon::Off && (mode == QIcon::Normal || mode == QIcon::Disabled)) {
            for (int side : kSides)
                sizes.append(QSize(side, side));
        }
        return sizes;
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return iconOfSide(sideFor(size)).pixmap(size, 1.0, mode, state);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }

private:
    const QIcon &iconOfSide(int side)
    {
        QIcon &icon = (*m_sizes)[side];
        if (icon.isNull()) {
            icon.addPixmap(render(m_kind, side, false), QIcon::Normal);
            icon.addPixmap(render(m_kind, side, true), QIcon::Disabled);
        }
        return icon;
    }

    GlyphKind m_kind;
    std::shared_ptr<std::map<int, QIcon>> m_sizes; // shared by copies: the drawing is the same
};

} // namespace

QIcon glyphIcon(GlyphKind kind)
{
    return QIcon(new GlyphIconEngine(kind));
}
