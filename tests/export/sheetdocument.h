// Reads back what the spreadsheet export wrote: the element order, the sheet
// names, the table's counts and every cell with its type and index.
#pragma once

#include <QDomDocument>
#include <QStringList>
#include <QVector>

namespace sheettest {

struct Cell {
    QString type;
    QString text;
    QString index; // ss:Index, "" when absent
    QString style; // ss:StyleID
};

struct Sheet {
    bool parsed = false;
    QString declaration; // the document's first line
    QStringList workbookChildren;
    QStringList sheetNames;
    QString columnCount, rowCount;
    QString headerRowIndex;
    QVector<QVector<Cell>> rows; // rows[0] is the header row
};

inline QVector<Cell> cellsOf(const QDomElement &row)
{
    QVector<Cell> cells;
    for (QDomElement c = row.firstChildElement(QStringLiteral("Cell")); !c.isNull();
         c = c.nextSiblingElement(QStringLiteral("Cell"))) {
        const QDomElement data = c.firstChildElement(QStringLiteral("Data"));
        cells.append({data.attribute(QStringLiteral("ss:Type")), data.text(), c.attribute(QStringLiteral("ss:Index")),
                      c.attribute(QStringLiteral("ss:StyleID"))});
    }
    return cells;
}

inline Sheet parseSheet(const QByteArray &bytes)
{
    Sheet s;
    s.declaration = QString::fromUtf8(bytes.left(bytes.indexOf('\n')));
    QDomDocument doc;
    // Not namespace-processed: the prefixed names are checked as written.
    if (!doc.setContent(bytes))
        return s;
    const QDomElement root = doc.documentElement();
    if (root.tagName() != QLatin1String("Workbook"))
        return s;
    for (QDomElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        s.workbookChildren << e.tagName();
        if (e.tagName() == QLatin1String("Worksheet"))
            s.sheetNames << e.attribute(QStringLiteral("ss:Name"));
    }
    const QDomElement table =
        root.firstChildElement(QStringLiteral("Worksheet")).firstChildElement(QStringLiteral("Table"));
    s.columnCount = table.attribute(QStringLiteral("ss:ExpandedColumnCount"));
    s.rowCount = table.attribute(QStringLiteral("ss:ExpandedRowCount"));
    const QDomElement header = table.firstChildElement(QStringLiteral("Row"));
    s.headerRowIndex = header.attribute(QStringLiteral("ss:Index"));
    for (QDomElement r = header; !r.isNull(); r = r.nextSiblingElement(QStringLiteral("Row")))
        s.rows << cellsOf(r);
    s.parsed = true;
    return s;
}

// Splits CSV text into records of fields (RFC 4180: quoted fields may hold
// commas, doubled quotes and line breaks; records end in CRLF or LF).
inline QVector<QStringList> parseCsv(const QString &text)
{
    QVector<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            record << field;
            field.clear();
        } else if (c == QLatin1Char('\n')) {
            record << field;
            records << record;
            record.clear();
            field.clear();
        } else if (c != QLatin1Char('\r')) {
            field += c;
        }
    }
    if (!field.isEmpty() || !record.isEmpty())
        records << (record << field);
    return records;
}

} // namespace sheettest
