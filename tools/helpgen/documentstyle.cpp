#include "documentstyle.h"

#include <QBrush>
#include <QColor>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace {

void styleTable(QTextTable &table)
{
    QTextTableFormat format = table.format();
    format.setBorder(0.5);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(QBrush(QColor(0x80, 0x80, 0x80)));
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(3);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setHeaderRowCount(1); // repeated on every page the table runs onto
    table.setFormat(format);
    // A rule under every row; the title row shaded.
    const QBrush rule(QColor(0x80, 0x80, 0x80));
    for (int row = 0; row < table.rows(); ++row) {
        for (int column = 0; column < table.columns(); ++column) {
            QTextTableCell cell = table.cellAt(row, column);
            QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
            cellFormat.setBottomBorder(0.5);
            cellFormat.setBottomBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            cellFormat.setBottomBorderBrush(rule);
            if (row == 0)
                cellFormat.setBackground(QColor(0xe8, 0xe8, 0xe8));
            cell.setFormat(cellFormat);
        }
    }
}

void styleTablesIn(QTextFrame &frame)
{
    for (QTextFrame *child : frame.childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(child))
            styleTable(*table);
        styleTablesIn(*child);
    }
}

// Code spans and blocks come in the system's fixed font at the text's size,
// which runs wider than the text; the Liberation face matches the others.
void styleCode(QTextDocument &document)
{
    QList<QPair<int, int>> spans;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat block = b.blockFormat();
        const bool codeBlock = block.nonBreakableLines() || block.hasProperty(QTextFormat::BlockCodeFence)
                               || block.hasProperty(QTextFormat::BlockCodeLanguage);
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.isValid() && (codeBlock || f.charFormat().fontFixedPitch()))
                spans.append({f.position(), f.length()});
        }
    }
    QTextCharFormat code;
    code.setFontFamilies({QStringLiteral("Liberation Mono")});
    code.setFontPointSize(document.defaultFont().pointSizeF() * 0.9);
    for (const auto &[position, length] : spans) {
        QTextCursor cursor(&document);
        cursor.setPosition(position);
        cursor.setPosition(position + length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(code);
    }
}

} // namespace

void styleDocument(QTextDocument &document)
{
    styleTablesIn(*document.rootFrame());
    styleCode(document);
}
