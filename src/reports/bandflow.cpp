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
        placed.append(item);
    }
    return placed;
}

BandFlow::BandFlow(const PageGeometry &geometry)
    : m_geometry(geometry)
{
    m_pages.append(ReportPage());
    m_y = geometry.top;
}

void BandFlow::add(const Band &band)
{
    // A tiny tolerance keeps a band that ends exactly at the footer on the
    // page despite the rounding of sums of tenths of millimetres.
    constexpr double kTolerance = 1e-6;
    if (!m_pageEmpty && m_y + band.height > m_geometry.footerTop() + kTolerance) {
        m_pages.last().items.append(m_pendingPageEnd);
        m_pages.append(ReportPage());
        m_y = m_geometry.top;
    }
    const QPointF origin(m_geometry.left, m_y);
    m_pages.last().items.append(placeBand(band, origin));
    m_pendingPageEnd.clear();
    for (PageItem item : band.pageEndItems) {
        item.box.translate(origin);
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
