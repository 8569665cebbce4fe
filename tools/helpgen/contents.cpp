#include "contents.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextDocument>
#include <QTextTable>

#include <cmath>
#include <memory>

namespace {

struct Heading {
    int level;
    QString text;
};

QList<QTextBlock> headingBlocks(const QTextDocument &document)
{
    QList<QTextBlock> blocks;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        const int level = b.blockFormat().headingLevel();
        if ((level == 2 || level == 3) && !b.text().trimmed().isEmpty())
            blocks << b;
    }
    return blocks;
}

bool isRussian(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x0400 && c.unicode() <= 0x04FF)
            return true;
    }
    return false;
}

// A copy of the document laid out as print() lays out an unpaginated
// document: on the device's paint area with margins of 2 cm at the screen's
// resolution. A child of the document, so that it finds the document's
// images.
std::unique_ptr<QTextDocument> printedCopy(const QTextDocument &document, QPagedPaintDevice &device)
{
    std::unique_ptr<QTextDocument> copy(document.clone(const_cast<QTextDocument *>(&document)));
    copy->documentLayout()->setPaintDevice(&device);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal dpiX = screen ? std::round(screen->logicalDotsPerInchX()) : 100;
    const qreal dpiY = screen ? std::round(screen->logicalDotsPerInchY()) : 100;
    QTextFrameFormat frame = copy->rootFrame()->frameFormat();
    frame.setLeftMargin(int((2 / 2.54) * dpiX));
    frame.setRightMargin(int((2 / 2.54) * dpiX));
    frame.setTopMargin(int((2 / 2.54) * dpiY));
    frame.setBottomMargin(int((2 / 2.54) * dpiY));
    copy->rootFrame()->setFrameFormat(frame);
    copy->setPageSize(QSizeF(device.width(), device.height()));
    return copy;
}

// The page a block of a printed copy starts on. Its first line counts, not
// the block: the space above a heading may stay on the page before when the
// text moves on.
int pageOf(const QTextDocument &copy, const QTextBlock &b)
{
    qreal y = copy.documentLayout()->blockBoundingRect(b).top();
    if (b.layout() && b.layout()->lineCount() > 0) {
        const QTextLine line = b.layout()->lineAt(0);
        y += line.y() + line.height() / 2;
    }
    return int(std::floor(y / copy.pageSize().height())) + 1;
}

// The pages each heading lands on when the document is printed.
QList<int> headingPages(const QTextDocument &document, QPagedPaintDevice &device)
{
    const std::unique_ptr<QTextDocument> copy = printedCopy(document, device);
    QList<int> pages;
    for (const QTextBlock &b : headingBlocks(*copy))
        pages << pageOf(*copy, b);
    return pages;
}

// A heading at the foot of a page whose text starts on the next page moves
// to the next page too: it gets a page break before it. Headings are taken
// from the top, so that a section heading directly above a sub-section
// heading moves together with it. After each move the document is laid out
// afresh: a text document re-lays out an edited copy only in part, and the
// blocks after the edit would report no lines and wrong pages.
void keepHeadingsWithText(QTextDocument &document, QPagedPaintDevice &device)
{
    QTextBlockFormat breakBefore;
    breakBefore.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QList<int> headings;
    for (const QTextBlock &b : headingBlocks(document))
        headings << b.blockNumber();
    std::unique_ptr<QTextDocument> copy = printedCopy(document, device);
    for (const int number : std::as_const(headings)) {
        const QTextBlock heading = copy->findBlockByNumber(number);
        QTextBlock text = heading.next();
        while (text.isValid() && text.blockFormat().headingLevel() > 0)
            text = text.next();
        if (!text.isValid() || pageOf(*copy, text) <= pageOf(*copy, heading))
            continue;
        QTextCursor(document.findBlockByNumber(number)).mergeBlockFormat(breakBefore);
        copy = printedCopy(document, device);
    }
}

} // namespace

void insertContents(QTextDocument &document, QPagedPaintDevice &device)
{
    const QList<QTextBlock> sections = headingBlocks(document);
    if (sections.isEmpty())
        return;
    QList<Heading> headings;
    for (const QTextBlock &b : sections)
        headings.append({b.blockFormat().headingLevel(), b.text().trimmed()});

    // The first section starts after the contents, on a page of its own.
    QTextCursor(sections.first()).mergeBlockFormat([] {
        QTextBlockFormat f;
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        return f;
    }());

    QTextCursor cursor(document.begin());
    cursor.movePosition(QTextCursor::EndOfBlock);
    const QString title =
        isRussian(document.begin().text()) ? QStringLiteral("Содержание") : QStringLiteral("Contents");
    QTextBlockFormat titleFormat;
    titleFormat.setTopMargin(18);
    titleFormat.setBottomMargin(6);
    QTextCharFormat titleChars;
    titleChars.setFontWeight(QFont::Bold);
    titleChars.setFontPointSize(13);
    cursor.insertBlock(titleFormat, titleChars);
    cursor.insertText(title);

    QTextTableFormat tableFormat;
    tableFormat.setBorder(0);
    tableFormat.setCellPadding(1);
    tableFormat.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    tableFormat.setColumnWidthConstraints(
        {QTextLength(QTextLength::PercentageLength, 92), QTextLength(QTextLength::PercentageLength, 8)});
    QTextTable *table = cursor.insertTable(int(headings.size()), 2, tableFormat);
    QTextCharFormat plain;
    plain.setFontWeight(QFont::Normal);
    plain.setFontPointSize(document.defaultFont().pointSizeF());
    for (int row = 0; row < headings.size(); ++row) {
        QTextCursor cell = table->cellAt(row, 0).firstCursorPosition();
        QTextBlockFormat indent;
        indent.setLeftMargin(headings[row].level == 3 ? 18 : 0);
        cell.setBlockFormat(indent);
        cell.insertText(headings[row].text, plain);
    }

    // The table rows have their final heights now (a page number never
    // wraps), so the headings' pages do not move when the numbers go in.
    keepHeadingsWithText(document, device);
    const QList<int> pages = headingPages(document, device);
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    for (int row = 0; row < pages.size() && row < headings.size(); ++row) {
        QTextCursor cell = table->cellAt(row, 1).firstCursorPosition();
        cell.setBlockFormat(right);
        cell.insertText(QString::number(pages[row]), plain);
    }
}
