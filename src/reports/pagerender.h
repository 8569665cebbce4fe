// Draws the pages of a printed document on any paint device (preview,
// printer, PDF, image), and measures text the way the drawing lays it out.
//
// Everything is laid out and drawn at one reference resolution and scaled to
// the device, so that line breaks of rich text and the height of a line of
// text are the same on screen, on paper and in a PDF. Text stays text: a PDF
// written here has selectable, searchable glyphs.
#pragma once

#include "reports/pagemodel.h"

#include <QFont>
#include <QImage>

class QPainter;
class QTextDocument;

namespace report {

// Dots per inch of the reference resolution.
inline constexpr double kReferenceDpi = 1200.0;

// The font of a text item, sized in pixels of the reference resolution.
QFont referenceFont(const FontSpec &font);

// Height in millimetres of one line of text in the font.
double lineHeightMm(const FontSpec &font);

// Height in millimetres of rich text (HTML) laid out at the width.
double richTextHeightMm(const QString &html, double widthMm);

// The bottom of every line of the rich text laid out at the width, in
// millimetres from its top, ascending: where the text may be cut.
QList<double> richTextLineBottomsMm(const QString &html, double widthMm);

// The largest size, at most the font's own and in steps of half a point
// down to 4 points, at which the text fits the box (millimetres) as a text
// item draws it, wrapped at blanks when `wrap`.
double fittingPointSize(const QString &text, const FontSpec &font, const QSizeF &boxMm, bool wrap);

// True when the rich text reaches nothing outside itself: no image, no link,
// no style sheet and no background picture, whatever their source. Report
// files are refused when one of their rich texts does.
bool richTextIsSelfContained(const QString &html);

// The rich text with every outside reference made harmless: an image is
// drawn as its name in brackets, a link as its plain text, a background
// picture is dropped. A self-contained text comes back unchanged.
QString selfContainedRichText(const QString &html);

// Draws one page; the painter's device decides the scale (its logical
// resolution). The painter's origin must be the paper's top-left corner.
void renderPage(QPainter &painter, const ReportPage &page);

// One page as an image at the resolution, white background.
QImage renderPageImage(const ReportPages &pages, int index, double dpi);

// The whole document as PDF bytes (A4 pages of the document's paper size).
QByteArray renderPdf(const ReportPages &pages);

// Writes the PDF atomically; false (and the old file untouched) on failure.
bool writePdfFile(const ReportPages &pages, const QString &path);

} // namespace report
