// The title and ending editor: default format, alignment menus, the font
// dialog on a selection, texts kept across openings and restarts.
#include "base/stringcatalog.h"
#include "reports/ui/createreport.h"
#include "reports/ui/titrepform.h"
#include "samplerecords.h"
#include "dialogwidgets.h"

#include <QtTest>
#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTextBlock>
#include <QTextEdit>

using testsupport::child;

namespace {

const QStringList kStoreKeys{QStringLiteral("ReportTitleText"), QStringLiteral("ReportEndingText")};

void clearStore()
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Korvel"), QStringLiteral("Tessmer"));
    for (const QString &key : kStoreKeys)
        store.remove(key);
}

// Runs the dialog and presses one of its buttons as soon as it is shown.
bool runAndPress(TTitRepForm &form, QPushButton *button)
{
    QTimer::singleShot(0, button, [button] { button->click(); });
    return form.Execute();
}

void selectAll(QTextEdit *edit)
{
    QTextCursor c = edit->textCursor();
    c.select(QTextCursor::Document);
    edit->setTextCursor(c);
}

} // namespace

class TestTitRepForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { clearStore(); }
    void cleanupTestCase() { clearStore(); }
    void defaultFormat();
    void alignment_data();
    void alignment();
    void fontOnSelection();
    void textsSurviveCancelAndRestart();
    void strings();
    void prepareProtocol();
    void screenshot();
};

void TestTitRepForm::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestTitRepForm::defaultFormat()
{
    TTitRepForm form;
    QCOMPARE(form.Texts().titleHtml, QString());
    QCOMPARE(form.Texts().endingHtml, QString());
    QTest::keyClicks(child<QTextEdit>(form, "RichEdit1"), QStringLiteral("Protocol 7"));
    const QTextCursor c(child<QTextEdit>(form, "RichEdit1")->document());
    QCOMPARE(c.blockFormat().alignment(), Qt::AlignHCenter);
    QTextDocument printed;
    printed.setHtml(form.Texts().titleHtml);
    QCOMPARE(printed.toPlainText(), QStringLiteral("Protocol 7"));
    QCOMPARE(printed.begin().blockFormat().alignment(), Qt::AlignHCenter);
    const QTextCharFormat chars = printed.begin().begin().fragment().charFormat();
    const QFont shown = chars.font().resolve(printed.defaultFont());
    QCOMPARE(shown.pointSize(), 14);
    QCOMPARE(shown.family(), TTitRepForm::defaultFont().family());
    QVERIFY(QStringList({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")})
                .contains(TTitRepForm::defaultFont().family()));
}

void TestTitRepForm::alignment_data()
{
    QTest::addColumn<bool>("ending");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("alignment");
    QTest::newRow("title left") << false << "LeftAlign" << int(Qt::AlignLeft);
    QTest::newRow("title right") << false << "RightAlign" << int(Qt::AlignRight);
    QTest::newRow("ending left") << true << "AlignLeftEnd" << int(Qt::AlignLeft);
    QTest::newRow("ending right") << true << "AlignRightEnd" << int(Qt::AlignRight);
}

void TestTitRepForm::alignment()
{
    QFETCH(bool, ending);
    QFETCH(QString, action);
    QFETCH(int, alignment);
    TTitRepForm form;
    QTextEdit *edit = ending ? child<QTextEdit>(form, "RichEdit2") : child<QTextEdit>(form, "RichEdit1");
    QMenu *popup = ending ? child<QMenu>(form, "TitleEndPopupMenu") : child<QMenu>(form, "TitlePopupMenu");
    QTest::keyClicks(edit, QStringLiteral("one"));
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, QStringLiteral("two"));
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, QStringLiteral("three"));
    // Select from inside "one" to inside "two": both paragraphs change, "three" does not.
    QTextCursor c(edit->document());
    c.setPosition(1);
    c.setPosition(6, QTextCursor::KeepAnchor);
    edit->setTextCursor(c);
    QAction *chosen = popup->findChild<QAction *>(action);
    QVERIFY(chosen);
    chosen->trigger();
    QVERIFY(chosen->isChecked());
    const QTextBlock first = edit->document()->begin();
    QCOMPARE(int(first.blockFormat().alignment()), alignment);
    QCOMPARE(int(first.next().blockFormat().alignment()), alignment);
    QCOMPARE(first.next().next().blockFormat().alignment(), Qt::AlignHCenter);

    // Reopened: the text keeps its alignment, the menu marks centre again.
    QVERIFY(!runAndPress(form, child<QPushButton>(form, "CancelButton")));
    QVERIFY(!chosen->isChecked());
    QVERIFY((ending ? child<QAction>(form, "AlignCenterEnd") : child<QAction>(form, "CenterAlign"))->isChecked());
    QCOMPARE(int(edit->document()->begin().blockFormat().alignment()), alignment);
}

void TestTitRepForm::fontOnSelection()
{
    TTitRepForm form;
    QFont asked;
    std::optional<QFont> answer;
    form.setFontPicker([&](const QFont &current, QWidget *) {
        asked = current;
        return answer;
    });
    QTest::keyClicks(child<QTextEdit>(form, "RichEdit1"), QStringLiteral("Protocol No. 15"));
    QTextCursor c(child<QTextEdit>(form, "RichEdit1")->document());
    c.setPosition(9);
    c.setPosition(15, QTextCursor::KeepAnchor); // "No. 15"
    child<QTextEdit>(form, "RichEdit1")->setTextCursor(c);

    const QString before = form.Texts().titleHtml;
    child<QAction>(form, "FontSelect")->trigger(); // cancelled: nothing changes
    QCOMPARE(asked.pointSize(), 14);
    QCOMPARE(form.Texts().titleHtml, before);

    QFont bold(TTitRepForm::defaultFont());
    bold.setPointSize(20);
    bold.setBold(true);
    answer = bold;
    child<QAction>(form, "FontSelect")->trigger();

    QTextDocument printed;
    printed.setHtml(form.Texts().titleHtml);
    auto formatAt = [&printed](int position) {
        QTextCursor at(&printed);
        at.setPosition(position);
        return at.charFormat().font().resolve(printed.defaultFont());
    };
    QCOMPARE(formatAt(12).pointSize(), 20);
    QVERIFY(formatAt(12).bold());
    QCOMPARE(formatAt(4).pointSize(), 14);
    QVERIFY(!formatAt(4).bold());
    QCOMPARE(form.Texts().endingHtml, QString());
}

void TestTitRepForm::textsSurviveCancelAndRestart()
{
    {
        TTitRepForm form;
        child<QTextEdit>(form, "RichEdit1")->textCursor().insertText(QStringLiteral("Протокол поверки"));
        child<QTextEdit>(form, "RichEdit2")->textCursor().insertText(QStringLiteral("Поверитель"));
        QVERIFY(!runAndPress(form, child<QPushButton>(form, "CancelButton")));
        QVERIFY(form.Texts().titleHtml.contains(QStringLiteral("Протокол поверки")));
        QVERIFY(runAndPress(form, child<QPushButton>(form, "OkButton")));
    }
    TTitRepForm restarted;
    QTextDocument title, ending;
    title.setHtml(restarted.Texts().titleHtml);
    ending.setHtml(restarted.Texts().endingHtml);
    QCOMPARE(title.toPlainText(), QStringLiteral("Протокол поверки"));
    QCOMPARE(ending.toPlainText(), QStringLiteral("Поверитель"));
}

void TestTitRepForm::strings()
{
    TTitRepForm form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Формирование протокола"));
    SectionTexts english;
    for (const CatalogItem &item : catalogSection(kTitleReportSection))
        english.texts.insert(item.path, item.eng);
    form.applyStrings(english);
    QCOMPARE(form.windowTitle(), QStringLiteral("Protocol creation"));
    QCOMPARE(child<QGroupBox>(form, "TitleFrame")->title(), QStringLiteral("Enter the protocol title"));
    QCOMPARE(child<QGroupBox>(form, "EndingFrame")->title(), QStringLiteral("Protocol ending"));
    QCOMPARE(child<QMenu>(form, "TitleEndPopupMenu")->actions().at(0)->text(), QStringLiteral("Alignment"));
    QCOMPARE(child<QAction>(form, "AlignRightEnd")->text(), QStringLiteral("Right"));
    QCOMPARE(child<QAction>(form, "FontSelect")->text(), QStringLiteral("Font"));
}

void TestTitRepForm::prepareProtocol()
{
    TTitRepForm form;
    child<QTextEdit>(form, "RichEdit1")->textCursor().insertText(QStringLiteral("Heading"));
    pcn::_totalblockdata meter = testsupport::sampleMeter(QStringLiteral("T"), QStringLiteral("1"), 1, 2);
    const TextLookup texts = catalogTextLookup(1);
    QTimer::singleShot(0, child<QPushButton>(form, "CancelButton"),
                       [&form] { child<QPushButton>(form, "CancelButton")->click(); });
    QVERIFY(!PrepareProtocol(meter, {1, 0}, form, texts));
    QTimer::singleShot(0, child<QPushButton>(form, "OkButton"),
                       [&form] { child<QPushButton>(form, "OkButton")->click(); });
    const auto doc = PrepareProtocol(meter, {1, 0}, form, texts);
    QVERIFY(doc);
    QCOMPARE(doc->titleHtml, form.Texts().titleHtml);
    QCOMPARE(doc->groups.size(), 2);
    QCOMPARE(child<QCheckBox>(form, "IncludeCurvesBox")->text(), QStringLiteral("Include error curves"));
    // An unknown scheme ends before the editor opens (nobody would close it).
    meter.verifications[0].scheme = 3;
    QVERIFY(!PrepareProtocol(meter, {0}, form, texts));
    QVERIFY(!form.isVisible());
}

void TestTitRepForm::screenshot()
{
    const QString out = qEnvironmentVariable("VARDOSK_SCREENSHOT_DIR");
    if (out.isEmpty())
        QSKIP("set VARDOSK_SCREENSHOT_DIR to write the picture");
    TTitRepForm form;
    child<QTextEdit>(form, "RichEdit1")->textCursor().insertText(QStringLiteral("Протокол поверки счетчика"));
    child<QTextEdit>(form, "RichEdit2")->textCursor().insertText(QStringLiteral("Поверитель ____________"));
    form.show();
    QVERIFY(form.grab().save(out + QStringLiteral("/titrepform.png")));
    child<QMenu>(form, "TitlePopupMenu")->popup(child<QTextEdit>(form, "RichEdit1")->mapToGlobal(QPoint(40, 40)));
    child<QMenu>(form, "TitleAlignmentMenu")->popup(child<QTextEdit>(form, "RichEdit1")->mapToGlobal(QPoint(200, 40)));
    QVERIFY(child<QMenu>(form, "TitlePopupMenu")->grab().save(out + QStringLiteral("/titrepform-menu.png")));
    QVERIFY(child<QMenu>(form, "TitleAlignmentMenu")->grab().save(out + QStringLiteral("/titrepform-alignment.png")));
}

QTEST_MAIN(TestTitRepForm)
#include "tst_titrepform.moc"
