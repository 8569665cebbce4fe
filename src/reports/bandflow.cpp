#include "bandflow.h"

namespace report {

QList<PageItem> placeBand(const Band &band, const QPointF &origin)
{
    QList<PageItem> placed;
    placed.reserve(band.items.size());
    for (PageItem item : band.items) {
        item.box.translate(origin);
        if (!item.clip.isNull())
            item.clip.translate(origin);
        for (QPointF &p : item.points)
            p += origin;
        placed.append(item);
    }
    return placed;
}

BandFlow::BandFlow(const PageGeometry &geometry) : m_geometry(geometry)
{
    m_pages.append(ReportPage());
    m_y = geometry.top;
}

namespace {

// A tiny tolerance keeps a band that ends exactly at the footer on the page
// despite the rounding of sums of tenths of millimetres.
constexpr double kTolerance = 1e-6;

// The part [from, to) of a band as a band of its own: its items moved up by
// `from` and drawn only inside the part.
Band slice(const Band &band, double from, double to)
{
    Band part;
    part.height = to - from;
    const QRectF window(-1000.0, 0.0, 3000.0, part.height);
    for (PageItem item : band.items) {
        item.box.translate(0, -from);
        const QRectF reach =
            item.box.normalized().adjusted(-item.penWidth, -item.penWidth, item.penWidth, item.penWidth);
        if (!reach.intersects(window))
            continue;
        item.clip = item.clip.isNull() ? window : item.clip.translated(0, -from).intersected(window);
        part.items.append(item);
    }
    return part;
}

} // namespace

void BandFlow::newPage()
{
    m_pages.last().items.append(m_pendingPageEnd);
    m_pendingPageEnd.clear();
    m_pages.append(ReportPage());
    m_y = m_geometry.top;
    m_pageEmpty = true;
}

void BandFlow::add(const Band &band)
{
    const double pageSpace = m_geometry.footerTop() - m_geometry.top;
    if (band.height > pageSpace + kTolerance && !band.breaks.isEmpty()) {
        double from = 0.0;
        while (band.height - from > m_geometry.footerTop() - m_y + kTolerance) {
            // The last break that fits into the space left on this page.
            const double limit = from + m_geometry.footerTop() - m_y + kTolerance;
            double cut = from;
            for (double b : band.breaks) {
                if (b > from + kTolerance && b <= limit)
                    cut = b;
            }
            if (cut <= from) {
                if (!m_pageEmpty) {
                    newPage();
                    continue;
                }
                cut = limit - kTolerance; // one line taller than a page: cut it where the page ends
            }
            place(slice(band, from, cut));
            newPage();
            from = cut;
        }
        place(slice(band, from, band.height));
        return;
    }
    if (!m_pageEmpty && m_y + band.height > m_geometry.footerTop() + kTolerance)
        newPage();
    place(band);
}

void BandFlow::place(const Band &band)
{
    const QPointF origin(m_geometry.left, m_y);
    m_pages.last().items.append(placeBand(band, origin));
    m_pendingPageEnd.clear();
    for (PageItem item : band.pageEndItems) {
        item.box.translate(origin);
        for (QPointF &p : item.points)
            p += origin;
        m_pendingPageEnd.append(item);
    }
    m_y += band.height;
    m_pageEmpty = false;
}

QList<ReportPage> BandFlow::finish(const std::function<Band(int page, int count)> &footer) const
{
    QList<ReportPage> pages = m_pages;
    const int count = int(pages.size());
    const QRectF printable(m_geometry.left, m_geometry.top, m_geometry.printableWidth(),
                           m_geometry.paperMm.height() - m_geometry.top - m_geometry.bottom);
    for (int i = 0; i < count; ++i) {
        if (m_geometry.framePen > 0)
            pages[i].items.prepend(rectItem(printable, m_geometry.framePen));
        if (footer)
            pages[i].items.append(placeBand(footer(i + 1, count), QPointF(m_geometry.left, m_geometry.footerTop())));
    }
    return pages;
}

} // namespace report
