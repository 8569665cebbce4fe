// Writes the seed corpora of the harnesses from the sample records and
// answer frames the tests are built on: fuzz-seeds <corpus folder>. Each
// seed starts with the harness's control byte.
#include "base/settingsfile.h"
#include "base/stringcatalog.h"
#include "base/stringfilewriter.h"
#include "device/frame.h"
#include "reports/reportfile.h"

#include "devicebytes.h"
#include "pcnsamples.h"
#include "tst_cnvslots.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

QString g_root;

void put(const char *target, const char *name, std::uint8_t control, const QByteArray &bytes)
{
    const QString folder = g_root + QLatin1Char('/') + QLatin1String(target);
    QDir().mkpath(folder);
    QFile f(folder + QLatin1Char('/') + QLatin1String(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(QByteArray(1, char(control)) + bytes) != bytes.size() + 1)
        std::fprintf(stderr, "cannot write %s/%s\n", target, name);
}

void meterFiles()
{
    using namespace pcnsamples;
    using namespace pcnbytes;
    QByteArray extension;
    const QByteArray eleven = type3Block11(&extension) + extension;
    Header h22;
    h22.version = 22;
    h22.type = 1;
    h22.n = 11;
    QByteArray old = blockOld(h22);
    sealOld(old);
    QByteArray oldExt = extensionOld();
    sealExtensionOld(oldExt);
    put("fuzz_meterfile", "type0", 0x01, fileHeader("1") + type0Block());
    put("fuzz_meterfile", "type1", 0x09, fileHeader("22") + type1Block());
    put("fuzz_meterfile", "type5-twice", 0x01, fileHeader("5") + type5Block() + type5Block());
    put("fuzz_meterfile", "type3-eleven", 0x01, fileHeader("333") + eleven);
    put("fuzz_meterfile", "type6-twice", 0x01, fileHeader("4") + type6Block() + type6Block());
    put("fuzz_meterfile", "headerless-v22", 0x21, type2Block22() + type2Block22(5));
    put("fuzz_meterfile", "headerless-old-ext", 0x21, old + oldExt);
    put("fuzz_meterfile", "header-old-then-23", 0x01, fileHeader("x") + old + oldExt + type1Block());
    put("fuzz_meterfile", "header-only", 0x01, fileHeader("12345"));
    // Regression: a designation byte of 224 decodes to U+0000, which once
    // ended the designation when the file was written back.
    QByteArray nul = fileHeader("1") + type0Block();
    nul[67 + 4 + 2] = char(0xE0);
    put("fuzz_meterfile", "regression-designation-224", 0x01, nul);
}

void archiveSlots()
{
    using namespace cnvtest;
    // Control bits 3..5 choose the instrument of the harness (0: class 0
    // with range digits, 1, 2, 3: class 0 with triples, 4: class 3, 5, 6).
    Slot older = olderSlot(1, 0, 3);
    for (int k = 0; k < 3; ++k)
        olderCodes(older, k, 1, 1);
    put("fuzz_archiveslot", "class0-digits", 0x00, older.b);
    put("fuzz_archiveslot", "class1", 0x08, older.b);
    put("fuzz_archiveslot", "class2", 0x10, olderSlot(0, 0, 2).b);
    put("fuzz_archiveslot", "class0-triples", 0x18, older.b);
    Slot newer = newerSlot(1, 1, 3);
    for (int k = 0; k < 3; ++k)
        newerCodes(newer, k, 1, 2);
    put("fuzz_archiveslot", "class3", 0x22, newer.b);
    const int w = 4 | (0 << 3) | (2 << 6);
    Slot single = newerSlot(w & 0xFF, w >> 8, 2);
    for (int k = 0; k < 2; ++k)
        newerCodes(single, k, 1, 1);
    put("fuzz_archiveslot", "class5", 0x29, single.b);
    put("fuzz_archiveslot", "class6", 0x31, single.b);
}

void identifyAnswers()
{
    using namespace devicetest;
    QByteArray single = identifyPayload(QStringLiteral("Q-W 31"), 0x72, 0x1);
    putTriple(single, 44, 0, 1, 64, 0);
    putTriple(single, 44, 1, 2, 1, 0);
    putTriple(single, 44, 2, 2, 512, 0x100);
    putWord(single, 378, 7);
    put("fuzz_identify", "newer-single", 0x08, answerFrame(single));
    put("fuzz_identify", "newer-three", 0x08, answerFrame(identifyPayload(QStringLiteral("Q-Q 3"), 0x60, 0xF001)));
    put("fuzz_identify", "older", 0x00, answerFrame(identifyPayload(QStringLiteral("Q-W 1"), 0x51, 0x1, 1024)));
    put("fuzz_link", "serial-identify", 0x01, answerFrame(single));
    put("fuzz_link", "usb-identify", 0x0B, answerFrame(single));
    put("fuzz_link", "serial-error", 0x01, answerFrame(QByteArray(4, 'x'), 0xFF));
    put("fuzz_link", "usb-record", 0x1F, answerFrame(QByteArray(1024, '\x11')));
}

// A page of four entries dated 2010-07-21 09:08:07 in BCD at the places of
// the older layout (`at` 24) or of the newer ones (`at` 20).
QByteArray contentPage(int at)
{
    QByteArray entry(32, '\0');
    entry.replace(0, 16, QByteArray("EC0351 2      \0\0", 16));
    entry[19] = 7; // serial 7
    const char moment[] = {0x10, 0x20, 0x21, 0x07, 0x09, 0x00, 0x07, 0x08};
    for (int i = 0; i < 8; ++i)
        entry[at + i] = moment[i];
    return entry + entry + entry + entry;
}

void contentPages()
{
    put("fuzz_content", "older", 0x00, contentPage(24));
    put("fuzz_content", "class3", 0x18, contentPage(20));
    put("fuzz_content", "class5", 0x20, contentPage(20));
}

// Whole readings: identify, one content page and two records, each answer
// frame after the other as the line delivers them.
void sessions()
{
    using namespace devicetest;
    QByteArray olderId = identifyPayload(QStringLiteral("Q-W 1"), 0x51, 0x1, 1024);
    putWord(olderId, 278 - 4, 2);
    QByteArray olderPage = contentPage(24).left(64) + QByteArray(1024 - 64, '\xFF');
    cnvtest::Slot older = cnvtest::olderSlot(1, 0, 3);
    for (int k = 0; k < 3; ++k)
        cnvtest::olderCodes(older, k, 1, 1);
    const QByteArray olderRecord = answerFrame(older.b.mid(4, 1024));
    put("fuzz_session", "serial-older", 0x01,
        answerFrame(olderId) + answerFrame(olderPage) + olderRecord + olderRecord);

    QByteArray newerId = identifyPayload(QStringLiteral("Q-Q 3"), 0x60, 0xF001);
    putWord(newerId, 278 - 4, 2);
    QByteArray entry = contentPage(20).left(32);
    StoreChecksum(reinterpret_cast<std::uint8_t *>(entry.data()), 30);
    QByteArray newerPage = entry + entry + QByteArray(512 - 64, '\xFF');
    cnvtest::Slot newer = cnvtest::newerSlot(1, 1, 3);
    for (int k = 0; k < 3; ++k)
        cnvtest::newerCodes(newer, k, 1, 2);
    const QByteArray newerRecord = answerFrame(newer.b.mid(4, 1024));
    put("fuzz_session", "usb-newer", 0x0B, answerFrame(newerId) + answerFrame(newerPage) + newerRecord + newerRecord);
    // On a serial line a newer instrument answers the older identify page
    // with 0xFF bytes first.
    put("fuzz_session", "serial-newer", 0x01,
        answerFrame(QByteArray(1024, '\xFF')) + answerFrame(newerId) + answerFrame(newerPage) + newerRecord
            + newerRecord);
}

void settingsFiles()
{
    put("fuzz_settings", "defaults", 0x01, encodeSettings(defaultSettings()));
    AppSettings s = defaultSettings();
    s.language = 0;
    s.portIndex = 120;
    s.rateIndex = 1;
    put("fuzz_settings", "changed", 0x01, encodeSettings(s));
    put("fuzz_settings", "short", 0x00, encodeSettings(s).left(40));
}

void stringFiles()
{
    put("fuzz_strings", "main", 0x00, buildStringFile(catalogSection(kMainSectionKey)));
    put("fuzz_strings", "secondary", 0x01, buildStringFile(catalogSection(secondarySectionKeys().at(1))));
    put("fuzz_strings", "nested", 0x08,
        QByteArray("<?xml version=\"1.0\"?><Settings><KorvelForm><ErrorMessages><Error1><Text><Rus>a</Rus>"
                   "<Eng>b</Eng></Text></Error1></ErrorMessages><StatusCode><Text>17</Text></StatusCode>"
                   "</KorvelForm></Settings>"));
}

} // namespace

// Report files of one page whose rich text names something outside the file
// (refused as damaged), next to one whose rich text is self-contained.
void reportFiles()
{
    const std::pair<const char *, const char *> texts[] = {
        {"richtext-plain", "<p align=\"center\"><b>Protocol</b> No. 15</p>"},
        {"richtext-image-path", "<p>a<img src=\"/etc/hostname\">b</p>"},
        {"richtext-image-file-url", "<img src=\"file:///etc/hostname\" width=\"20\">"},
        {"richtext-link", "<a href=\"file:///etc/passwd\">passwd</a>"},
        {"richtext-stylesheet",
         "<html><head><link rel=\"stylesheet\" type=\"text/css\" href=\"/tmp/x.css\"></head><body>x</body></html>"},
        {"richtext-background",
         "<table background=\"/tmp/x.png\"><tr><td style=\"background-image:url(/tmp/y.png)\">x</td></tr></table>"},
    };
    for (const auto &[name, html] : texts) {
        report::PageItem item;
        item.kind = report::ItemKind::RichText;
        item.box = QRectF(10, 10, 150, 40);
        item.text = QString::fromUtf8(html);
        report::ReportPages pages;
        pages.title = QStringLiteral("seed");
        pages.pages.append(report::ReportPage{{item}});
        put("fuzz_report", name, 0x01, report::encodeReportFile(pages));
    }
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz-seeds <corpus folder>\n");
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);
    meterFiles();
    archiveSlots();
    identifyAnswers();
    contentPages();
    sessions();
    settingsFiles();
    stringFiles();
    reportFiles();
    return 0;
}
