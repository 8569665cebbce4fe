// The table of contents of a rendered manual: one line per section heading
// with the page the section starts on.
#pragma once

class QPagedPaintDevice;
class QTextDocument;

// Inserts a contents table after the title block (the first block) of an
// unpaginated document, listing the headings of levels 2 and 3 with the
// pages they start on when the document is printed on `device`, and starts
// the first section on a new page. A heading that would end a page, its text
// on the next, starts that next page instead.
void insertContents(QTextDocument &document, QPagedPaintDevice &device);
