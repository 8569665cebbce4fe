#include "excelexport.h"

#include "export/exportcells.h"
#include "base/platform.h"

#include <QBuffer>
#include <QXmlStreamWriter>

namespace {

const QString kSpreadsheetNs = QStringLiteral("urn:schemas-microsoft-com:office:spreadsheet");
const QString kOfficeNs = QStringLiteral("urn:schemas-microsoft-com:office:office");
const QString kExcelNs = QStringLiteral("urn:schemas-microsoft-com:office:excel");
const QString kHtmlNs = QStringLiteral("http://www.w3.org/TR/REC-html40");

// Elements are written with their names as they appear in the document and
// the namespaces declared as attributes, so the default namespace and the
// prefixes come out exactly as spreadsheet programs expect them.
class SheetWriter {
public:
    explicit SheetWriter(QIODevice *device) : w(device) { w.setAutoFormatting(true); }

    void start(const QString &name) { w.writeStartElement(name); }
    void end() { w.writeEndElement(); }
    void attribute(const QString &name, const QString &value) { w.writeAttribute(name, value); }
    void textElement(const QString &name, const QString &text) { w.writeTextElement(name, xmlSafeText(text)); }
    void empty(const QString &name) { w.writeEmptyElement(name); }

    // A cell with its Data element; `index` 0 means the cell follows the previous one.
    void cell(const ExportCell &c, int index = 0, bool dated = false)
    {
        start(QStringLiteral("Cell"));
        if (index > 0)
            attribute(QStringLiteral("ss:Index"), QString::number(index));
        if (dated)
            attribute(QStringLiteral("ss:StyleID"), QStringLiteral("s21"));
        start(QStringLiteral("Data"));
        attribute(QStringLiteral("ss:Type"), c.number ? QStringLiteral("Number") : QStringLiteral("String"));
        w.writeCharacters(xmlSafeText(c.text));
        end();
        end();
    }

    QXmlStreamWriter w;
};

void writeDocumentProperties(SheetWriter &s, const QDateTime &created)
{
    const QDateTime utc = created.toUTC();
    const QDate d = utc.date();
    const QTime t = utc.time();
    s.start(QStringLiteral("DocumentProperties"));
    s.attribute(QStringLiteral("xmlns"), kOfficeNs);
    s.textElement(QStringLiteral("Author"), QStringLiteral("Korvel"));
    s.textElement(QStringLiteral("LastAuthor"), QStringLiteral("Korvel"));
    s.textElement(QStringLiteral("Created"), QString::asprintf("%d-%02d-%02dT%02d:%02d:%02dZ", d.year(), d.month(),
                                                               d.day(), t.hour(), t.minute(), t.second()));
    s.textElement(QStringLiteral("Company"), QStringLiteral("Korvel"));
    s.textElement(QStringLiteral("Version"), QStringLiteral("11.5703"));
    s.end();
}

void writeExcelWorkbook(SheetWriter &s)
{
    s.start(QStringLiteral("ExcelWorkbook"));
    s.attribute(QStringLiteral("xmlns"), kExcelNs);
    s.textElement(QStringLiteral("WindowHeight"), QStringLiteral("13800"));
    s.textElement(QStringLiteral("WindowWidth"), QStringLiteral("19035"));
    s.textElement(QStringLiteral("WindowTopX"), QStringLiteral("0"));
    s.textElement(QStringLiteral("WindowTopY"), QStringLiteral("30"));
    s.empty(QStringLiteral("RefModeR1C1"));
    s.textElement(QStringLiteral("ProtectStructure"), QStringLiteral("False"));
    s.textElement(QStringLiteral("ProtectWindows"), QStringLiteral("False"));
    s.end();
}

void writeStyles(SheetWriter &s)
{
    s.start(QStringLiteral("Styles"));
    s.start(QStringLiteral("Style"));
    s.attribute(QStringLiteral("ss:ID"), QStringLiteral("Default"));
    s.attribute(QStringLiteral("ss:Name"), QStringLiteral("Normal"));
    s.empty(QStringLiteral("Alignment"));
    s.attribute(QStringLiteral("ss:Vertical"), QStringLiteral("Bottom"));
    s.empty(QStringLiteral("Borders"));
    s.empty(QStringLiteral("Font"));
    s.attribute(QStringLiteral("ss:FontName"), QStringLiteral("Arial Cyr"));
    s.attribute(QStringLiteral("x:CharSet"), QStringLiteral("204"));
    s.empty(QStringLiteral("Interior"));
    s.empty(QStringLiteral("NumberFormat"));
    s.empty(QStringLiteral("Protection"));
    s.end();
    s.start(QStringLiteral("Style"));
    s.attribute(QStringLiteral("ss:ID"), QStringLiteral("s21"));
    s.empty(QStringLiteral("NumberFormat"));
    s.attribute(QStringLiteral("ss:Format"), QStringLiteral("General Date"));
    s.end();
    s.end();
}

void writeTable(SheetWriter &s, const ExcelExportInput &in)
{
    const pcn::_blockdata &v = *in.verification;
    ShownGrid grid;
    shownGrid(v, in.columns, in.lookup, in.locale, &grid, in.limits ? &*in.limits : nullptr);
    const int n = int(grid.titles.size());

    s.start(QStringLiteral("Table"));
    s.attribute(QStringLiteral("ss:ExpandedColumnCount"), QString::number(n + 12));
    s.attribute(QStringLiteral("ss:ExpandedRowCount"), QString::number(v.points.size() + 2));
    s.attribute(QStringLiteral("x:FullColumns"), QStringLiteral("1"));
    s.attribute(QStringLiteral("x:FullRows"), QStringLiteral("1"));

    s.empty(QStringLiteral("Column"));
    s.attribute(QStringLiteral("ss:Index"), QStringLiteral("2"));
    s.attribute(QStringLiteral("ss:Width"), QStringLiteral("100"));

    // The header row starts in cell B2.
    s.start(QStringLiteral("Row"));
    s.attribute(QStringLiteral("ss:Index"), QStringLiteral("2"));
    const QStringList titles = exportDetailTitles(in.lookup) + grid.titles;
    for (int k = 0; k < titles.size(); ++k)
        s.cell({titles[k], false}, k == 0 ? 2 : 0);
    s.end();

    const QVector<ExportCell> details = exportDetailCells(v, in.lookup, in.locale);
    // A scheme without grid still gives one row of details per point.
    for (int j = 0; j < v.points.size(); ++j) {
        const QStringList row = grid.rows.value(j);
        s.start(QStringLiteral("Row"));
        for (int k = 0; k < details.size(); ++k)
            s.cell(details[k], k == 0 ? 2 : 0, k == 0);
        // A grid text that converts under the user's locale is a number,
        // written with a point; anything else is written as shown.
        for (const QString &text : row) {
            ExportCell c{text, false};
            c.number = spreadsheetNumber(text, in.locale, &c.text);
            s.cell(c);
        }
        s.end();
    }
    s.end();
}

void writeWorksheet(SheetWriter &s, int number, const ExcelExportInput *withTable)
{
    s.start(QStringLiteral("Worksheet"));
    s.attribute(QStringLiteral("ss:Name"), QStringLiteral("Лист%1").arg(number));
    if (withTable)
        writeTable(s, *withTable);
    s.start(QStringLiteral("WorksheetOptions"));
    s.attribute(QStringLiteral("xmlns"), kExcelNs);
    s.start(QStringLiteral("PageSetup"));
    s.empty(QStringLiteral("PageMargins"));
    s.attribute(QStringLiteral("x:Bottom"), QStringLiteral("0.984251969"));
    s.attribute(QStringLiteral("x:Left"), QStringLiteral("0.78740157499999996"));
    s.attribute(QStringLiteral("x:Right"), QStringLiteral("0.78740157499999996"));
    s.attribute(QStringLiteral("x:Top"), QStringLiteral("0.984251969"));
    s.end();
    if (number == 1)
        s.empty(QStringLiteral("Selected"));
    s.textElement(QStringLiteral("ProtectObjects"), QStringLiteral("False"));
    s.textElement(QStringLiteral("ProtectScenarios"), QStringLiteral("False"));
    s.end();
    s.end();
}

} // namespace

QByteArray excelDocument(const ExcelExportInput &input)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // The declaration names no encoding: UTF-8 is the default of XML.
    buffer.write("<?xml version=\"1.0\"?>");
    SheetWriter s(&buffer);
    s.w.writeProcessingInstruction(QStringLiteral("mso-application"), QStringLiteral("progid=\"Excel.Sheet\""));
    s.start(QStringLiteral("Workbook"));
    s.attribute(QStringLiteral("xmlns"), kSpreadsheetNs);
    s.attribute(QStringLiteral("xmlns:o"), kOfficeNs);
    s.attribute(QStringLiteral("xmlns:x"), kExcelNs);
    s.attribute(QStringLiteral("xmlns:ss"), kSpreadsheetNs);
    s.attribute(QStringLiteral("xmlns:html"), kHtmlNs);
    writeDocumentProperties(s, input.created.isValid() ? input.created : QDateTime::currentDateTimeUtc());
    writeExcelWorkbook(s);
    writeStyles(s);
    for (int sheet = 1; sheet <= 3; ++sheet)
        writeWorksheet(s, sheet, sheet == 1 && input.verification ? &input : nullptr);
    s.end();
    s.w.writeEndDocument();
    bytes.append('\n');
    return bytes;
}

bool ExportExcel(const QString &path, const ExcelExportInput &input)
{
    if (!input.verification)
        return false;
    return platform::writeFileAtomically(path, excelDocument(input), false);
}
