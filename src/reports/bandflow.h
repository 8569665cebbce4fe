// The banded flow of a printed document: bands (horizontal strips with their
// items placed relative to the band's top-left corner) are stacked from the
// top margin down; a band that does not fit above the page footer moves whole
// to the next page. The footer's space is kept free on every page, so the
// breaks do not depend on the footer's content: counting the pages and
// printing them break identically.
#pragma once

#include "reports/pagemodel.h"

#include <functional>

namespace report {

struct Band {
    double height = 0.0; // millimetres
    QList<PageItem> items; // boxes relative to the band's top-left corner
    // Drawn as well when the band is the last one on its page because the
    // next band moved to a new page (a rule closing a table).
    QList<PageItem> pageEndItems;
    // Heights from the band's top at which it may be cut (the bottoms of its
    // lines of text), ascending. A band taller than the space left on a page
    // and taller than a whole page is cut at the last of them that fits and
    // continues on the next page; a band without them is never cut.
    QList<double> breaks;
};

struct PageGeometry {
    QSizeF paperMm{210.0, 297.0};
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0; // margins, mm
    double footerHeight = 0.0; // page footer band
    double framePen = 0.0; // page frame; 0 for none

    double printableWidth() const { return paperMm.width() - left - right; }
    double footerTop() const { return paperMm.height() - bottom - footerHeight; }
};

class BandFlow {
public:
    explicit BandFlow(const PageGeometry &geometry);

    // Places the band below the previous one, or at the top of a new page
    // when it does not fit above the footer. A band taller than a whole page
    // is cut at its break points over as many pages as it needs; without
    // break points it takes a page of its own and runs over the footer.
    void add(const Band &band);

    int pageCount() const { return int(m_pages.size()); }

    // The finished pages: each with its frame and its footer, which the
    // function builds from the page number (from 1) and the page count.
    QList<ReportPage> finish(const std::function<Band(int page, int count)> &footer) const;

private:
    void place(const Band &band);
    void newPage();

    PageGeometry m_geometry;
    QList<ReportPage> m_pages;
    double m_y = 0.0; // top of the next band, mm on the paper
    bool m_pageEmpty = true; // no band on the current page yet
    QList<PageItem> m_pendingPageEnd; // page-end items of the last band placed
};

// Moves the items of a band to the position on the paper.
QList<PageItem> placeBand(const Band &band, const QPointF &origin);

} // namespace report
