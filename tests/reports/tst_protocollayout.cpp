// The protocol layouts on the page model: how bands flow onto pages, what
// every page footer shows, how the free texts grow their bands.
#include "protocolsample.h"
#include "reports/pagerender.h"
#include "reports/protocollayout.h"

#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

using namespace report;

namespace {

constexpr double kFooterTop = 297.0 - 15.0 - 8.5;
constexpr double k = kReferenceDpi / 25.4; // dots of the reference resolution per mm

QList<const PageItem *> itemsWithText(const ReportPage &page, const QString &text)
{
    QList<const PageItem *> found;
    for (const PageItem &item : page.items) {
        if (item.kind == ItemKind::Text && item.text == text)
            found.append(&item);
    }
    return found;
}

const PageItem *firstItem(const ReportPages &pages, ItemKind kind)
{
    for (const ReportPage &page : pages.pages) {
        for (const PageItem &item : page.items) {
            if (item.kind == kind)
                return &item;
        }
    }
    return nullptr;
}

const PageItem *textOnAnyPage(const ReportPages &pages, const QString &text)
{
    for (const ReportPage &page : pages.pages) {
        const auto found = itemsWithText(page, text);
        if (!found.isEmpty())
            return found.first();
    }
    return nullptr;
}

// The part of an item that is drawn: its box, cut to its clip.
QRectF drawnBox(const PageItem &item)
{
    const QRectF box = item.box.normalized();
    return item.clip.isNull() ? box : box.intersected(item.clip);
}

} // namespace

class TestProtocolLayout : public QObject {
    Q_OBJECT
private slots:
    void flowsOntoPages_data();
    void flowsOntoPages();
    void titleGrowsAndMeterBandFollows();
    void endingKeepsItsPlacesWithoutTransformerLines_data();
    void endingKeepsItsPlacesWithoutTransformerLines();
    void titleKeepsItsFonts();
    void titleTallerThanAPage();
};

void TestProtocolLayout::flowsOntoPages_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<int>("groups");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("onePage");
    for (auto [scheme, name] : {std::pair{ProtocolScheme::ThreePhaseFourWire, "4-wire"},
                                std::pair{ProtocolScheme::ThreePhaseThreeWire, "3-wire"},
                                std::pair{ProtocolScheme::SinglePhaseTwoWire, "1-phase"}}) {
        QTest::addRow("%s, one group", name) << int(scheme) << 1 << 8 << true;
        QTest::addRow("%s, one empty group", name) << int(scheme) << 1 << 0 << true;
        QTest::addRow("%s, ten groups of 10", name) << int(scheme) << 10 << 10 << false;
        QTest::addRow("%s, ten groups of 20", name) << int(scheme) << 10 << 20 << false;
    }
}

void TestProtocolLayout::flowsOntoPages()
{
    QFETCH(int, scheme);
    QFETCH(int, groups);
    QFETCH(int, rows);
    QFETCH(bool, onePage);
    const ProtocolDocument doc = sampleProtocol(ProtocolScheme(scheme), groups, rows);
    const ReportPages pages = layoutProtocol(doc);
    QCOMPARE(pages.title, doc.documentTitle);
    QCOMPARE(pages.pages.size() == 1, onePage);

    const int count = int(pages.pages.size());
    int headings = 0;
    QStringList numbers;
    for (int p = 0; p < count; ++p) {
        const ReportPage &page = pages.pages.at(p);
        // Every footer: the one reference line, its own number, the total.
        QCOMPARE(itemsWithText(page, doc.referenceLine).size(), 1);
        const auto pageNumber = itemsWithText(page, QString::number(p + 1));
        const auto total = itemsWithText(page, doc.pageOfLabel + QLatin1Char(' ') + QString::number(count));
        QCOMPARE(total.size(), 1);
        QVERIFY(total.first()->box.top() > kFooterTop);
        bool numberInFooter = false;
        for (const PageItem *item : pageNumber)
            numberInFooter |= item->box.top() > kFooterTop && qAbs(item->box.left() - (30.0 + 150.3)) < 1e-9;
        QVERIFY2(numberInFooter, qPrintable(QStringLiteral("page %1").arg(p + 1)));

        // Bands moved whole: nothing but the footer and the frame reaches
        // into the footer's space.
        for (const PageItem &item : page.items) {
            const QRectF box = drawnBox(item);
            if (box.top() >= kFooterTop - 1e-9 || (item.kind == ItemKind::Rect && box.height() > 200))
                continue;
            QVERIFY2(box.bottom() <= kFooterTop + 0.15,
                     qPrintable(item.text + QStringLiteral(" on page %1").arg(p + 1)));
        }
        headings += int(itemsWithText(page, QStringLiteral("№")).size());
        // Heading captions (long in Russian) are drawn clear of the rules of
        // their cells, the rectangles drawn just before them.
        for (int i = 1; i < page.items.size(); ++i) {
            const PageItem &item = page.items[i];
            const QRectF drawn = QFontMetricsF(referenceFont(item.font))
                                     .boundingRect(QRectF(item.box.topLeft() * k, item.box.size() * k),
                                                   item.align | (item.wrap ? Qt::TextWordWrap : 0), item.text);
            const QRectF cell = page.items[i - 1].box.adjusted(0.5, 0.2, -0.5, -0.2);
            QVERIFY(!(item.font.italic && item.font.bold)
                    || cell.contains(QRectF(drawn.topLeft() / k, drawn.size() / k)));
        }
        // Row numbers in the first column, in reading order.
        for (const PageItem &item : page.items) {
            if (item.kind == ItemKind::Text && item.font.pointSize == 10 && item.box.width() < 16
                && item.font.family == QLatin1String("Times New Roman") && item.box.left() < 30 + 3)
                numbers << item.text;
        }
    }
    // The heading is printed once per group, never repeated on a new page.
    QCOMPARE(headings, groups);
    QStringList expected;
    for (int g = 0; g < groups; ++g)
        for (int r = 1; r <= rows; ++r)
            expected << QString::number(r);
    QCOMPARE(numbers, expected);
}

void TestProtocolLayout::titleGrowsAndMeterBandFollows()
{
    ProtocolDocument shortTitle = sampleProtocol(ProtocolScheme::ThreePhaseFourWire, 1, 3);
    ProtocolDocument longTitle = shortTitle;
    longTitle.titleHtml = plainTextToHtml(QStringLiteral("Протокол\n").repeated(12).trimmed());

    const ReportPages a = layoutProtocol(shortTitle);
    const ReportPages b = layoutProtocol(longTitle);
    const PageItem *titleA = firstItem(a, ItemKind::RichText);
    const PageItem *titleB = firstItem(b, ItemKind::RichText);
    QVERIFY(titleA && titleB);
    QCOMPARE(titleA->box.height(), 34.1); // short title: the band keeps its height
    QVERIFY(titleB->box.height() > 60.0);
    const PageItem *typeA = textOnAnyPage(a, shortTitle.typeLine);
    const PageItem *typeB = textOnAnyPage(b, longTitle.typeLine);
    QVERIFY(typeA && typeB);
    QCOMPARE(typeA->box.top(), 15.0 + 43.1 + 2.1);
    // The meter band starts right below the grown title band.
    QVERIFY(qAbs(typeB->box.top() - typeA->box.top() - (titleB->box.height() - 34.1)) < 1e-9);
    QVERIFY(typeB->box.top() > titleB->box.bottom());
}

void TestProtocolLayout::endingKeepsItsPlacesWithoutTransformerLines_data()
{
    QTest::addColumn<int>("scheme");
    QTest::newRow("4-wire") << int(ProtocolScheme::ThreePhaseFourWire);
    QTest::newRow("3-wire") << int(ProtocolScheme::ThreePhaseThreeWire);
    QTest::newRow("1-phase") << int(ProtocolScheme::SinglePhaseTwoWire);
}

void TestProtocolLayout::endingKeepsItsPlacesWithoutTransformerLines()
{
    QFETCH(int, scheme);
    const ProtocolDocument with = sampleProtocol(ProtocolScheme(scheme), 1, 3, true);
    const ProtocolDocument without = sampleProtocol(ProtocolScheme(scheme), 1, 3, false);
    const ReportPages a = layoutProtocol(with);
    const ReportPages b = layoutProtocol(without);
    QVERIFY(textOnAnyPage(a, with.transformerLines.at(2)));
    for (const QString &line : with.transformerLines)
        QVERIFY(!textOnAnyPage(b, line));
    for (const QString &text : {with.printDate, with.yearSuffix}) {
        QVERIFY(textOnAnyPage(a, text) && textOnAnyPage(b, text));
        QCOMPARE(textOnAnyPage(b, text)->box, textOnAnyPage(a, text)->box);
    }
    // The print date ends where its suffix begins, less a small gap.
    QVERIFY(textOnAnyPage(a, with.printDate)->box.right() < textOnAnyPage(a, with.yearSuffix)->box.left());
    const PageItem *endingA = nullptr, *endingB = nullptr;
    for (const PageItem &item : a.pages.last().items)
        if (item.kind == ItemKind::RichText && item.text == with.endingHtml)
            endingA = &item;
    for (const PageItem &item : b.pages.last().items)
        if (item.kind == ItemKind::RichText && item.text == without.endingHtml)
            endingB = &item;
    QVERIFY(endingA && endingB);
    QCOMPARE(endingB->box, endingA->box);
}

void TestProtocolLayout::titleKeepsItsFonts()
{
    // "Protocol No. 15" with "No. 15" made bold 20 pt, as the editor's font
    // dialog does to a selection.
    QTextDocument editor;
    QTextCursor cursor(&editor);
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("Times New Roman")});
    plain.setFontPointSize(14);
    cursor.insertText(QStringLiteral("Протокол "), plain);
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    bold.setFontPointSize(20);
    cursor.insertText(QStringLiteral("№ 15"), bold);

    ProtocolDocument doc = sampleProtocol(ProtocolScheme::ThreePhaseFourWire, 1, 2);
    doc.titleHtml = editor.toHtml();
    const PageItem *title = firstItem(layoutProtocol(doc), ItemKind::RichText);
    QVERIFY(title);

    QTextDocument printed;
    printed.setHtml(title->text);
    QMap<QString, QTextCharFormat> formats;
    for (QTextBlock block = printed.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            formats.insert(it.fragment().text().trimmed(), it.fragment().charFormat());
    QVERIFY(formats.contains(QStringLiteral("№ 15")) && formats.contains(QStringLiteral("Протокол")));
    QCOMPARE(formats.value(QStringLiteral("№ 15")).fontWeight(), int(QFont::Bold));
    QCOMPARE(formats.value(QStringLiteral("№ 15")).fontPointSize(), 20.0);
    QCOMPARE(formats.value(QStringLiteral("Протокол")).fontWeight(), int(QFont::Normal));
    QCOMPARE(formats.value(QStringLiteral("Протокол")).fontPointSize(), 14.0);
    // And the bold part takes more height than a 14 pt line would.
    QVERIFY(richTextHeightMm(title->text, 165.4)
            > richTextHeightMm(plainTextToHtml(QStringLiteral("Протокол")), 165.4));
}

void TestProtocolLayout::titleTallerThanAPage()
{
    // A title taller than a page is cut below one of its lines and goes on
    // at the top of the next page; the meter band follows its end there.
    ProtocolDocument doc = sampleProtocol(ProtocolScheme::SinglePhaseTwoWire, 1, 2);
    doc.titleHtml = plainTextToHtml(QStringLiteral("Протокол\n").repeated(60).trimmed());
    const double textHeight = richTextHeightMm(doc.titleHtml, 165.4);
    const ReportPages pages = layoutProtocol(doc);
    QCOMPARE(pages.pages.size(), 2);

    QList<const PageItem *> parts;
    for (const ReportPage &page : pages.pages) {
        for (const PageItem &item : page.items) {
            if (item.kind == ItemKind::RichText && item.text == doc.titleHtml)
                parts.append(&item);
            else if (item.kind != ItemKind::Rect || item.box.height() < 200) // all but the page frame
                QVERIFY(drawnBox(item).top() >= kFooterTop - 1e-9 || drawnBox(item).bottom() <= kFooterTop + 0.15);
        }
    }
    QCOMPARE(parts.size(), 2);
    const double cut = parts[0]->clip.bottom() - 15.0; // where the band was cut, from its top
    QVERIFY(parts[0]->clip.bottom() <= kFooterTop + 1e-9);
    bool atLineBottom = false;
    for (double bottom : richTextLineBottomsMm(doc.titleHtml, 165.4))
        atLineBottom |= qAbs(8.5 + bottom - cut) < 1e-9;
    QVERIFY(atLineBottom);
    // The second part shows the rest from the page's top.
    QCOMPARE(parts[1]->clip.top(), 15.0);
    QVERIFY(qAbs(parts[1]->box.top() - (15.0 + 8.5 - cut)) < 1e-9);
    const auto type = itemsWithText(pages.pages.at(1), doc.typeLine);
    QCOMPARE(type.size(), 1);
    const double bandHeight = 43.1 + textHeight - 34.1;
    QVERIFY(qAbs(type.first()->box.top() - (15.0 + bandHeight - cut + 2.1)) < 1e-9);
}

QTEST_MAIN(TestProtocolLayout)
#include "tst_protocollayout.moc"
