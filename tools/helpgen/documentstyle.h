// The look of a rendered manual beyond what Markdown says: tables with thin
// rules and a shaded title row, and code in the Liberation monospaced font
// a little smaller than the text.
#pragma once

class QTextDocument;

// Styles the tables and the code of the document.
void styleDocument(QTextDocument &document);
