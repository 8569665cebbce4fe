// Lays a verification protocol out on A4 pages with the layout of its
// connection scheme: title band, meter band, per group its header (with the
// table heading), one band per result row and its footer, the ending band,
// and the page footer with the reference line and "page N of M" on every
// page.
#pragma once

#include "reports/bandflow.h"
#include "reports/pagemodel.h"
#include "reports/protocoldocument.h"

namespace report {

// A4 portrait, margins left 30, right 10, top 15, bottom 15 mm, framed.
PageGeometry protocolPageGeometry();

// Width of every band, millimetres.
inline constexpr double kBandWidth = 170.1;

// The protocol's pages. The page count fills the page-of caption of every
// footer; the breaks do not depend on it, so counting and printing agree.
ReportPages layoutProtocol(const ProtocolDocument &document);

// The default font of the title and ending texts and the HTML of a plain
// text in it, centred line by line (what an untouched editor holds).
FontSpec defaultFreeTextFont();
QString plainTextToHtml(const QString &text);

} // namespace report
