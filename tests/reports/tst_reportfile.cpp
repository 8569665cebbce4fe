// Report files: a saved protocol reopens to the same pages; damaged,
// truncated, foreign and newer files are refused whole and change nothing;
// thousands of mutated files never crash the reader.
#include "protocolsample.h"
#include "base/checksum.h"
#include "reports/pagerender.h"
#include "reports/reportfile.h"
#include "testdir.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace report;

namespace {

constexpr int kHeaderSize = 18;

ReportPages samplePages()
{
    ProtocolDocument doc = sampleProtocol(ProtocolScheme::ThreePhaseFourWire, 3, 12);
    doc.titleHtml = QStringLiteral("<p align=\"center\"><span style=\"font-family:'Times New Roman'; font-size:20pt; "
                                   "font-weight:700;\">Протокол № 15</span></p>");
    return layoutProtocol(doc);
}

// Sets the stated length and the checksum to agree with the payload, so that
// damage inside it reaches the decoding.
void reseal(QByteArray &bytes)
{
    if (bytes.size() < kHeaderSize)
        return;
    const QByteArray payload = bytes.mid(kHeaderSize);
    qToLittleEndian<quint32>(quint32(payload.size()), bytes.data() + 12);
    const quint16 crc = RecordChecksum(payload);
    bytes[16] = char(crc >> 8);
    bytes[17] = char(crc & 0xff);
}

// A file of one page holding only `item`, with the byte `at` bytes after
// the item's kind set to `value`.
QByteArray oneItemFile(const PageItem &item, qsizetype at = -1, char value = 0)
{
    QByteArray bytes = encodeReportFile(ReportPages{{}, {210, 297}, {ReportPage{{item}}}});
    if (at >= 0)
        bytes[kHeaderSize + 4 + 16 + 4 + 4 + at] = value;
    reseal(bytes);
    return bytes;
}

} // namespace

class TestReportFile : public QObject {
    Q_OBJECT
private slots:
    void reopensToIdenticalPages();
    void refusesBadFiles_data();
    void refusesBadFiles();
    void missingAndUnwritableFiles();
    void mutatedFilesNeverCrash();
};

void TestReportFile::reopensToIdenticalPages()
{
    const ReportPages pages = samplePages();
    QVERIFY(pages.pages.size() >= 2);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("protocol.QRP"));
    QCOMPARE(saveReportFile(path, pages), ReportFileError::None);

    ReportPages loaded;
    QCOMPARE(loadReportFile(path, loaded), ReportFileError::None);
    QCOMPARE(loaded.title, pages.title);
    QCOMPARE(loaded.pages.size(), pages.pages.size());
    for (int i = 0; i < pages.pages.size(); ++i) {
        const QImage before = renderPageImage(pages, i, 96);
        const QImage after = renderPageImage(loaded, i, 96);
        QCOMPARE(after.size(), QSize(794, 1123)); // A4 at 96 dpi
        QVERIFY2(before == after, qPrintable(QStringLiteral("page %1 differs").arg(i + 1)));
    }
    // Saving the reopened pages gives the same bytes.
    QCOMPARE(encodeReportFile(loaded), testsupport::readAll(path));

    // Shapes (error curves) need version 2; pages without them stay version 1.
    QCOMPARE(testsupport::readAll(path).at(8), char(1));
    ReportPages withCurve = pages;
    withCurve.pages[0].items << polygonItem({{40, 40}, {90, 40}, {90, 60}}, qRgba(0, 90, 200, 40))
                             << clipped(polylineItem({{40, 50}, {60, 45}, {90, 58}}, 0.35, qRgb(210, 0, 0),
                                                     LineStyle::Dash),
                                        QRectF(40, 40, 50, 20));
    const QByteArray bytes = encodeReportFile(withCurve);
    QCOMPARE(bytes.at(8), char(2));
    ReportPages back;
    QCOMPARE(decodeReportFile(bytes, back), ReportFileError::None);
    QVERIFY(back == withCurve);
}

void TestReportFile::refusesBadFiles_data()
{
    const QByteArray good = encodeReportFile(samplePages());
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("error");
    auto patched = [&](qsizetype at, char value, bool resealed) {
        QByteArray b = good;
        b[at] = value;
        if (resealed)
            reseal(b);
        return b;
    };
    QTest::newRow("empty") << QByteArray() << int(ReportFileError::NotReportFile);
    QTest::newRow("a PDF") << QByteArray("%PDF-1.4\n%\xe2\xe3") << int(ReportFileError::NotReportFile);
    QTest::newRow("first byte changed") << patched(0, 'X', false) << int(ReportFileError::NotReportFile);
    QTest::newRow("mark only") << good.left(8) << int(ReportFileError::Truncated);
    QTest::newRow("header cut") << good.left(kHeaderSize - 1) << int(ReportFileError::Truncated);
    QTest::newRow("payload cut") << good.left(good.size() / 2) << int(ReportFileError::Truncated);
    QTest::newRow("last byte missing") << good.chopped(1) << int(ReportFileError::Truncated);
    QTest::newRow("version 3") << patched(8, 3, false) << int(ReportFileError::NewerVersion);
    QTest::newRow("version 256") << patched(9, 1, false) << int(ReportFileError::NewerVersion);
    QTest::newRow("version 0") << patched(8, 0, false) << int(ReportFileError::Damaged);
    QTest::newRow("byte flipped") << patched(good.size() / 2, char(good.at(good.size() / 2) ^ 0x40), false)
                                  << int(ReportFileError::Damaged);
    QTest::newRow("checksum changed") << patched(17, char(good.at(17) ^ 1), false) << int(ReportFileError::Damaged);
    QTest::newRow("bytes appended") << good + QByteArray("x") << int(ReportFileError::Damaged);
    QByteArray longer = good + QByteArray("\0\0\0\0", 4);
    reseal(longer); // stated length and checksum cover the bytes after the last page
    QTest::newRow("bytes after the pages, resealed") << longer << int(ReportFileError::Damaged);
    // Payload: title (length and UTF-8), paper size, page count, item count,
    // then the first item's kind.
    const qsizetype firstKind = kHeaderSize + 4 + samplePages().title.toUtf8().size() + 16 + 4 + 4;
    QTest::newRow("unknown item kind, resealed") << patched(firstKind, 9, true) << int(ReportFileError::Damaged);
    QTest::newRow("item kind 0, resealed") << patched(firstKind, 0, true) << int(ReportFileError::Damaged);
    QTest::newRow("shape in a version 1 file, resealed")
        << patched(firstKind, 5, true) << int(ReportFileError::Damaged);
    QTest::newRow("clip flag 2, resealed") << patched(firstKind + 33, 2, true) << int(ReportFileError::Damaged);
    // Values out of range in an item of their own; the style of a text item
    // in "Arial" is 1 + 32 + 1 + 4 + 5 + 8 bytes after its kind.
    const QRectF box(10, 10, 50, 20);
    const auto text = [&](double size) { return textItem(box, "x", FontSpec{"Arial", size}, Qt::AlignLeft); };
    QTest::newRow("sound text item") << oneItemFile(text(10)) << int(ReportFileError::None);
    QTest::newRow("negative pen width") << oneItemFile(rectItem(box, -0.1)) << int(ReportFileError::Damaged);
    QTest::newRow("font size 1001") << oneItemFile(text(1001)) << int(ReportFileError::Damaged);
    QTest::newRow("style 8") << oneItemFile(text(10), 51, 8) << int(ReportFileError::Damaged);
    QTest::newRow("wrap 2") << oneItemFile(text(10), 56, 2) << int(ReportFileError::Damaged);
    // Rich texts naming anything outside the file; the same texts in pages
    // made here are drawn as text, which the reader takes.
    static QTemporaryDir dir;
    const QString png = dir.filePath("p.png");
    QImage(9, 9, QImage::Format_RGB32).save(png);
    for (const QString &html :
         {"<p>a<img src=\"" + png + "\">b</p>", "<img src=\"file://" + png + "\">",
          QString("<a href=\"file:///x\">x</a>"), QString("<img src=\"data:image/png;base64,iVBORw0KGgo=\">"),
          "<p style=\"background-image:url(" + png + ")\">x</p>",
          "<table background=\"" + png + "\"><tr><td>x</td></tr></table>",
          QString("<head><link rel=\"stylesheet\" type=\"text/css\" href=\"/tmp/x.css\"></head>x")}) {
        PageItem item = richTextItem(box, QString());
        item.text = html;
        QTest::newRow(qPrintable(html)) << oneItemFile(item) << int(ReportFileError::Damaged);
        const PageItem made = richTextItem(box, html);
        QTest::newRow(qPrintable("made here: " + html)) << oneItemFile(made) << int(ReportFileError::None);
        QVERIFY(!renderPdf({{}, {210, 297}, {ReportPage{{made}}}}).contains("/Subtype /Image"));
    }
}

void TestReportFile::refusesBadFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, error);
    ReportPages pages = samplePages();
    const ReportPages before = pages;
    QCOMPARE(int(decodeReportFile(bytes, pages)), error);
    if (error == int(ReportFileError::None))
        return;
    QVERIFY(pages == before);
    QVERIFY(!programText(reportFileText(ReportFileError(error)), 0).isEmpty());
    QVERIFY(!programText(reportFileText(ReportFileError(error)), 1).isEmpty());
}

void TestReportFile::missingAndUnwritableFiles()
{
    QTemporaryDir dir;
    ReportPages pages;
    QCOMPARE(loadReportFile(dir.filePath(QStringLiteral("none.QRP")), pages), ReportFileError::CannotOpen);
    QCOMPARE(saveReportFile(dir.filePath(QStringLiteral("no/such/folder/a.QRP")), samplePages()),
             ReportFileError::CannotWrite);
    QVERIFY(pages.pages.isEmpty());
}

void TestReportFile::mutatedFilesNeverCrash()
{
    const QByteArray good = encodeReportFile(samplePages());
    QRandomGenerator rng(20261207);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray b = good;
        const int kind = round % 4;
        if (kind == 0) {
            b.truncate(rng.bounded(qsizetype(b.size())));
        } else {
            const int changes = 1 + rng.bounded(8);
            for (int k = 0; k < changes; ++k) {
                const qsizetype at = kHeaderSize + rng.bounded(b.size() - kHeaderSize);
                if (kind == 3)
                    b.insert(at, char(rng.bounded(256)));
                else
                    b[at] = char(rng.bounded(256));
            }
        }
        if (kind != 1)
            reseal(b);
        ReportPages pages;
        if (decodeReportFile(b, pages) == ReportFileError::None) {
            ++accepted;
            // Whatever is accepted is consistent: it encodes to the same bytes.
            QCOMPARE(encodeReportFile(pages), b);
        }
    }
    QVERIFY(accepted < 3000);
}

QTEST_MAIN(TestReportFile)
#include "tst_reportfile.moc"
