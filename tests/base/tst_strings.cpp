// The string file reader: section checksum, item lookup and the section
// check, on small hand-written documents with hand-computed checksums.
#include "base/stringdocument.h"
#include "base/stringfilewriter.h"

#include "testdir.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// One item element with its texts, for building small documents by hand.
QByteArray item(const char *name, const char *rus, const char *eng)
{
    return QByteArray("<") + name + "><Text><Rus>" + rus + "</Rus><Eng>" + eng + "</Eng></Text></" + name + ">";
}

QByteArray doc(const QByteArray &sectionBody, const char *root = "Settings")
{
    return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<") + root + "><S>" + sectionBody + "</S></" + root
           + ">";
}

QByteArray status(const char *value)
{
    return QByteArray("<StatusCode><Text>") + value + "</Text></StatusCode>";
}

} // namespace

class TestStrings : public QObject {
    Q_OBJECT
private slots:
    void checksumVectors()
    {
        // Worked by hand through the shift register: "a" alone leaves 0x0061
        // (nothing reaches bit 15), "aa" leaves 0x6161, "abc" gives 0x1EE4.
        QCOMPARE(feedStringChecksum(0, QString()), quint16(0));
        QCOMPARE(feedStringChecksum(0, QStringLiteral("a")), quint16(0x0061));
        QCOMPARE(feedStringChecksum(0, QStringLiteral("aa")), quint16(0x6161));
        QCOMPARE(feedStringChecksum(0, QStringLiteral("abc")), quint16(0x1EE4));
        QCOMPARE(feedStringChecksum(0x0061, QStringLiteral("bc")), quint16(0x1EE4));
        QCOMPARE(int(feedStringChecksum(0, QStringLiteral("abc"))), 7908);
    }

    void highByteIsIgnored()
    {
        // Cyrillic capital A (1040 = 0x0410) and the control character 16
        // share their low byte 0x10.
        const QString cyrillicA(QChar(0x0410));
        const QString control(QChar(0x0010));
        QCOMPARE(feedStringChecksum(0, cyrillicA), quint16(16));
        QCOMPARE(feedStringChecksum(0, control), quint16(16));
        QCOMPARE(feedStringChecksum(0x1234, cyrillicA), feedStringChecksum(0x1234, control));

        // In a file: a section holding only "А" carries the StatusCode 16.
        const auto d = StringDocument::fromBytes(doc(item("A", "А", "") + status("16")));
        QVERIFY(d);
        const SectionTexts t = d->readSection("S", {"A"}, 0);
        QVERIFY(t.ok);
        QCOMPARE(t.text("A"), QString(QChar(0x0410)));
    }

    void abcSection()
    {
        const auto d = StringDocument::fromBytes(doc(item("A", "ab", "c") + status("7908")));
        QVERIFY(d);
        for (int language : {0, 1}) {
            const SectionTexts t = d->readSection("S", {"A"}, language);
            QVERIFY(t.ok);
            QCOMPARE(t.section, QStringLiteral("S"));
            QCOMPARE(t.text("A"), language == 0 ? QStringLiteral("ab") : QStringLiteral("c"));
        }
    }

    void itemReadTwiceIsFedTwice()
    {
        const QByteArray body = item("A", "a", "");
        const auto twice = StringDocument::fromBytes(doc(body + status("24929"))); // 0x6161
        QVERIFY(twice);
        QVERIFY(twice->readSection("S", {"A", "A"}, 1).ok);
        QVERIFY(!twice->readSection("S", {"A"}, 1).ok);
        const auto once = StringDocument::fromBytes(doc(body + status("97")));
        QVERIFY(once->readSection("S", {"A"}, 1).ok);
        QVERIFY(!once->readSection("S", {"A", "A"}, 1).ok);
    }

    void bothLanguagesAreCovered()
    {
        // Right for Rus "ab" + Eng "c"; a changed English text fails the
        // section also when Russian is shown, and a changed Russian one
        // fails it when English is shown.
        const auto engChanged = StringDocument::fromBytes(doc(item("A", "ab", "d") + status("7908")));
        QVERIFY(!engChanged->readSection("S", {"A"}, 0).ok);
        QCOMPARE(engChanged->readSection("S", {"A"}, 0).text("A"), QStringLiteral("ab"));
        const auto rusChanged = StringDocument::fromBytes(doc(item("A", "ad", "c") + status("7908")));
        QVERIFY(!rusChanged->readSection("S", {"A"}, 1).ok);
        QCOMPARE(rusChanged->readSection("S", {"A"}, 1).text("A"), QStringLiteral("c"));
    }

    void orderInFileDoesNotMatter()
    {
        // Items A = "a" and B/C = "bc" read in the order A, B/C give "abc".
        const QByteArray a = item("A", "a", "");
        const QByteArray bc = "<B><C><Text><Eng>c</Eng><Rus>b</Rus></Text></C></B>";
        const auto inOrder = StringDocument::fromBytes(doc(a + bc + status("7908")));
        const auto reordered = StringDocument::fromBytes(doc(status("7908") + bc + a));
        QVERIFY(inOrder && reordered);
        QVERIFY(inOrder->readSection("S", {"A", "B/C"}, 0).ok);
        QVERIFY(reordered->readSection("S", {"A", "B/C"}, 0).ok);
        // The reading order does matter: "bca" is another value.
        QVERIFY(!reordered->readSection("S", {"B/C", "A"}, 0).ok);
    }

    void lookupTakesFirstElementOfAName()
    {
        const auto d = StringDocument::fromBytes(doc(item("A", "a", "") + item("A", "x", "second") + status("97")));
        QVERIFY(d);
        const SectionTexts t = d->readSection("S", {"A"}, 0);
        QVERIFY(t.ok);
        QCOMPARE(t.text("A"), QStringLiteral("a"));
        QCOMPARE(d->lookup(1, "S", "A"), QString());
    }

    void missingElementsReadEmpty()
    {
        const auto d =
            StringDocument::fromBytes(doc("<A><Text><Eng>abc</Eng></Text></A><B><Other/></B>" + status("7908")));
        QVERIFY(d);
        quint16 running = 0x1234;
        QCOMPARE(d->ReadText(1, running, "S", "Missing/Path"), QString());
        QCOMPARE(d->ReadText(1, running, "Nosection", "A"), QString());
        QCOMPARE(d->ReadText(1, running, "S", "B"), QString()); // no Text
        QCOMPARE(running, quint16(0x1234));
        // Rus missing: only the English text is fed.
        running = 0;
        QCOMPARE(d->ReadText(0, running, "S", "A"), QString());
        QCOMPARE(running, quint16(0x1EE4));
        QVERIFY(d->readSection("S", {"Missing", "A", "B"}, 0).ok);
        QCOMPARE(d->readSection("S", {"Missing"}, 0).text("Missing"), QString());
        QCOMPARE(d->readSection("S", {"A"}, 0).text("Unread"), QString());
    }

    void elementsInsideTextResetRunningValue()
    {
        // A feeds "xyz", B cannot be read (Rus holds an element): R goes back
        // to 0, so after C ("abc") the section carries 7908.
        const QByteArray body = item("A", "xyz", "") + item("B", "q<b>bold</b>", "e") + item("C", "abc", "");
        const auto d = StringDocument::fromBytes(doc(body + status("7908")));
        QVERIFY(d);
        quint16 running = 0x5555;
        QCOMPARE(d->ReadText(1, running, "S", "B"), QString());
        QCOMPARE(running, quint16(0));
        const SectionTexts t = d->readSection("S", {"A", "B", "C"}, 0);
        QVERIFY(t.ok);
        QCOMPARE(t.text("A"), QStringLiteral("xyz"));
        QCOMPARE(t.text("B"), QString());

        // The same with the element in Eng.
        const auto e = StringDocument::fromBytes(
            doc(item("A", "xyz", "") + item("B", "b", "<i/>") + item("C", "abc", "") + status("7908")));
        QVERIFY(e->readSection("S", {"A", "B", "C"}, 0).ok);
    }

    void statusCodeChecks_data()
    {
        QTest::addColumn<QByteArray>("statusPart");
        QTest::addColumn<bool>("ok");
        QTest::newRow("right") << status("7908") << true;
        QTest::newRow("blanks around") << status(" 7908\n") << true;
        QTest::newRow("leading zeros") << status("007908") << true;
        QTest::newRow("other value") << status("7909") << false;
        QTest::newRow("plus 65536") << status("73444") << false;
        QTest::newRow("hexadecimal") << status("0x1EE4") << false;
        QTest::newRow("negative") << status("-7908") << false;
        QTest::newRow("not a number") << status("abc") << false;
        QTest::newRow("empty") << status("") << false;
        QTest::newRow("inner blank") << status("79 08") << false;
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("no Text") << QByteArray("<StatusCode>7908</StatusCode>") << false;
        QTest::newRow("Text holds elements")
            << QByteArray("<StatusCode><Text><Rus>7908</Rus></Text></StatusCode>") << false;
    }

    void statusCodeChecks()
    {
        QFETCH(QByteArray, statusPart);
        QFETCH(bool, ok);
        const auto d = StringDocument::fromBytes(doc(item("A", "abc", "") + statusPart));
        QVERIFY(d);
        const SectionTexts t = d->readSection("S", {"A"}, 0);
        QCOMPARE(t.ok, ok);
        QCOMPARE(t.text("A"), QStringLiteral("abc")); // texts even when the check fails
    }

    void rootNameIsNotChecked()
    {
        const auto d = StringDocument::fromBytes(doc(item("A", "abc", "") + status("7908"), "Other"));
        QVERIFY(d);
        QCOMPARE(d->rootName(), QStringLiteral("Other"));
        QVERIFY(d->readSection("S", {"A"}, 0).ok);
    }

    void blanksAndEscapesAreKept()
    {
        const auto d =
            StringDocument::fromBytes(doc(item("A", " a &amp; b ", "<![CDATA[<x>]]>\n") + item("B", "  ", "")));
        QVERIFY(d);
        QCOMPARE(d->lookup(0, "S", "A"), QStringLiteral(" a & b "));
        QCOMPARE(d->lookup(1, "S", "A"), QStringLiteral("<x>\n"));
        QCOMPARE(d->lookup(0, "S", "B"), QStringLiteral("  "));
    }

    void badFilesAreRefused()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(!StringDocument::load(dir.filePath("absent.xml")));
        const QString notXml = dir.filePath("not.xml");
        QVERIFY(testsupport::writeAll(notXml, "This is not XML at all.\n"));
        QVERIFY(!StringDocument::load(notXml));
        const QString empty = dir.filePath("empty.xml");
        QVERIFY(testsupport::writeAll(empty, QByteArray()));
        QVERIFY(!StringDocument::load(empty));
        const QString cut = dir.filePath("cut.xml");
        QVERIFY(testsupport::writeAll(cut, doc(item("A", "abc", "") + status("7908")).chopped(5)));
        QVERIFY(!StringDocument::load(cut));
        QVERIFY(!StringDocument::fromBytes("<a></b>"));
        QVERIFY(!StringDocument::fromBytes("<a/><b/>"));

        const QString good = dir.filePath("good.xml");
        QVERIFY(testsupport::writeAll(good, doc(item("A", "abc", "") + status("7908"))));
        const auto d = StringDocument::load(good);
        QVERIFY(d);
        QVERIFY(d->readSection("S", {"A"}, 0).ok);
    }

    void writerComputesStatusCode()
    {
        // A generated section whose only texts are a, b and c carries 7908;
        // the item listed twice is written once and fed twice.
        const QVector<CatalogItem> items = {
            {"S", "A", "a", ""},
            {"S", "B/C", "b", "c"},
            {"T", "A", "a", ""},
            {"T", "A", "a", ""},
        };
        QCOMPARE(catalogSectionChecksum(items.mid(0, 2)), quint16(7908));
        const QByteArray bytes = buildStringFile(items, {{"T", "Alias", "z", "zz"}});
        QVERIFY(bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
        QVERIFY(bytes.contains("<Text>7908</Text>"));
        QVERIFY(bytes.contains("<Text>24929</Text>"));
        QCOMPARE(bytes.count("<A>"), 2);
        const auto d = StringDocument::fromBytes(bytes);
        QVERIFY(d);
        QCOMPARE(d->rootName(), QStringLiteral("Settings"));
        QVERIFY(d->readSection("S", {"A", "B/C"}, 1).ok);
        QVERIFY(d->readSection("T", {"A", "A"}, 1).ok);
        QCOMPARE(d->lookup(1, "T", "Alias"), QStringLiteral("zz"));
    }
};

QTEST_GUILESS_MAIN(TestStrings)
#include "tst_strings.moc"
