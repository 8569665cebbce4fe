// The meter database editor through its widgets: the rules of the fields
// while typing, spin fields on leaving, button states as the list grows, the
// duplicate warning, unsaved entries on closing, and files.
#include "bdformsupport.h"
#include "meterdb/ui/bdform.h"
#include "meterdb/bdcfile.h"
#include "meterdbsamples.h"
#include "testdir.h"
#include "dialogwidgets.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using meterdbtest::Recorded;
using testsupport::child;

namespace {

// Types text key by key, Cyrillic letters as well.
void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void typeSpin(QSpinBox *spin, int value)
{
    spin->clear();
    typeText(spin, QString::number(value));
}

// Types an entry into the fields and applies it.
void typeEntry(TBdForm &form, const QString &type, const QString &serial)
{
    typeText(child<QLineEdit>(form, "Etyp"), type);
    QTest::keyClicks(child<QLineEdit>(form, "Ezav_num"), serial);
    typeSpin(child<QSpinBox>(form, "Eyear"), 2001);
    QTest::keyClicks(child<QLineEdit>(form, "Eclass"), QStringLiteral("0.5"));
    QTest::keyClicks(child<QLineEdit>(form, "Econst"), QStringLiteral("1600"));
    QTest::keyClicks(child<QLineEdit>(form, "EUnomlin"), QStringLiteral("380"));
    QTest::keyClicks(child<QLineEdit>(form, "EUnomfaz"), QStringLiteral("220"));
    QTest::keyClicks(child<QLineEdit>(form, "Inom"), QStringLiteral("12,5"));
    typeSpin(child<QSpinBox>(form, "I1SpinEdit"), 5);
    typeSpin(child<QSpinBox>(form, "I2SpinEdit"), 1);
}

QLineEdit *lineEdit(TBdForm &form, const QString &name)
{
    return form.findChild<QLineEdit *>(name);
}

} // namespace

class tst_bdform : public QObject {
    Q_OBJECT

private slots:
    void typingRules_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter in serial") << "Ezav_num"
                                          << "123a"
                                          << "123";
        QTest::newRow("tenth digit in serial") << "Ezav_num"
                                               << "1234567890"
                                               << "123456789";
        QTest::newRow("letter in constant") << "Econst"
                                            << "8x00"
                                            << "800";
        QTest::newRow("type in upper case") << "Etyp"
                                            << "ce-301"
                                            << "CE-301";
        QTest::newRow("cyrillic type") << "Etyp"
                                       << "цэ6803ё"
                                       << "ЦЭ6803Ё";
        QTest::newRow("star in type") << "Etyp"
                                      << "A*B"
                                      << "AB";
        QTest::newRow("second separator") << "Inom"
                                          << "12.,5"
                                          << "12.5";
        QTest::newRow("second decimal of a voltage") << "EUnomfaz"
                                                     << "57.71"
                                                     << "57.7";
        QTest::newRow("comma") << "Inom"
                               << "12,5"
                               << "12,5";
        QTest::newRow("1000 is above 999.9") << "EUnomlin"
                                             << "1000"
                                             << "100";
        QTest::newRow("class above 9.99") << "Eclass"
                                          << "12"
                                          << "1";
    }

    void typingRules()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Recorded r;
        TBdForm form(meterdbtest::recordingServices(r));
        form.show();
        form.NewButtonClick();
        QLineEdit *edit = lineEdit(form, field);
        QVERIFY(edit);
        typeText(edit, typed);
        QCOMPARE(edit->text(), shown);
    }

    void yearClampedOnLeaving()
    {
        Recorded r;
        TBdForm form(meterdbtest::recordingServices(r));
        form.show();
        form.NewButtonClick();
        typeEntry(form, QStringLiteral("CE301"), QStringLiteral("42"));
        child<QSpinBox>(form, "Eyear")->setFocus();
        typeSpin(child<QSpinBox>(form, "Eyear"), 1950);
        QVERIFY(!child<QPushButton>(form, "ApplyButton")->isEnabled());
        QCOMPARE(child<QPushButton>(form, "ApplyButton")->toolTip(),
                 "Fill in or correct: Год выпуска"); // the field to correct
        emit child<QSpinBox>(form, "Eyear")->editingFinished();
        QCOMPARE(child<QSpinBox>(form, "Eyear")->value(), 1960);
        QCOMPARE(child<QSpinBox>(form, "Eyear")->text(), QStringLiteral("1960"));
        QVERIFY(child<QPushButton>(form, "ApplyButton")->isEnabled()); // the corrected year counts
        QVERIFY(child<QPushButton>(form, "ApplyButton")->toolTip().isEmpty());
        child<QSpinBox>(form, "I2SpinEdit")->clear();
        QTest::keyClicks(child<QSpinBox>(form, "I2SpinEdit"), QStringLiteral("0"));
        emit child<QSpinBox>(form, "I2SpinEdit")->editingFinished();
        QCOMPARE(child<QSpinBox>(form, "I2SpinEdit")->value(), 1);
    }

    void buttonsAsTheListGrows()
    {
        Recorded r;
        TBdForm form(meterdbtest::recordingServices(r));
        form.show();
        form.StartEmpty();
        QVERIFY(child<QPushButton>(form, "NewButton")->isEnabled());
        QVERIFY(!child<QPushButton>(form, "EditButton")->isEnabled());
        QVERIFY(!child<QPushButton>(form, "WriteButton")->isEnabled());
        for (int i = 1; i <= 10; ++i) {
            form.NewButtonClick();
            QVERIFY(child<QPushButton>(form, "CancelButton")->isEnabled());
            QVERIFY(!child<QPushButton>(form, "SaveButton")->isEnabled());
            typeEntry(form, QStringLiteral("M%1").arg(i), QString::number(i));
            QVERIFY(child<QPushButton>(form, "ApplyButton")->isEnabled());
            form.ApplyButtonClick();
            QCOMPARE(form.entries().size(), i);
            QVERIFY(!form.isEditing());
            QCOMPARE(child<QPushButton>(form, "WriteButton")->isEnabled(), i == 10);
            QCOMPARE(child<QPushButton>(form, "NewButton")->isEnabled(), i < 10);
            QVERIFY(child<QPushButton>(form, "EditButton")->isEnabled());
            QVERIFY(!child<QPushButton>(form, "ApplyButton")->isEnabled());
        }
        QVERIFY(r.messages.isEmpty());
        // Rows made in the editor show the serial with nine digits.
        QCOMPARE(child<QTableWidget>(form, "ListView1")->item(9, 1)->text(), QStringLiteral("000000010"));
        QCOMPARE(form.entries().at(9).iNom, 12.5);
        QCOMPARE(child<QTableWidget>(form, "ListView1")->item(9, 7)->text(), QStringLiteral("12.5"));

        // Deleting one frees "New record" and locks "Write to device".
        form.DeleteButtonClick();
        QCOMPARE(r.questions, QStringList{meterdbtest::englishMessage(24)});
        QCOMPARE(form.entries().size(), 9);
        QVERIFY(child<QPushButton>(form, "NewButton")->isEnabled());
        QVERIFY(!child<QPushButton>(form, "WriteButton")->isEnabled());
    }

    void refusedApplies()
    {
        Recorded r;
        TBdForm form(meterdbtest::recordingServices(r));
        form.show();
        form.StartEmpty();
        form.NewButtonClick();
        typeEntry(form, QStringLiteral("CE301"), QStringLiteral("42"));
        form.ApplyButtonClick();
        // Changing nothing is a duplicate of itself.
        form.EditButtonClick();
        QVERIFY(child<QPushButton>(form, "ApplyButton")->isEnabled());
        form.ApplyButtonClick();
        QCOMPARE(r.messages, QStringList{meterdbtest::englishMessage(23)});
        QVERIFY(form.isEditing());
        QVERIFY(child<QTableWidget>(form, "ListView1")->isEnabled()
                && child<QPushButton>(form, "SaveButton")->isEnabled()
                && child<QPushButton>(form, "LoadButton")->isEnabled());
        QCOMPARE(form.entries().size(), 1);
        form.CancelButtonClick();

        // A type the instrument cannot hold is refused with its characters.
        form.NewButtonClick();
        typeEntry(form, QStringLiteral("ЁЖ"), QStringLiteral("43"));
        form.ApplyButtonClick();
        QCOMPARE(r.messages.size(), 2);
        QVERIFY(r.messages.last().contains(QStringLiteral(": Ё")));
        QVERIFY(form.isEditing());
        QCOMPARE(form.entries().size(), 1);
    }

    void closingAsksForUnsavedEntries()
    {
        Recorded r;
        TBdForm form(meterdbtest::recordingServices(r));
        form.show();
        form.StartEmpty();
        form.NewButtonClick();
        typeEntry(form, QStringLiteral("CE301"), QStringLiteral("42"));
        form.ApplyButtonClick();
        r.answerYes = false;
        QVERIFY(!form.close());
        form.LoadButtonClick(); // replacing them asks as well
        QCOMPARE(r.questions.size(), 2);
        QCOMPARE(form.entries().size(), 1);

        // Saved: closing asks nothing and empties the list.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("db.bdc"));
        form.setFilePicker([path](bool) { return path; });
        form.SaveButtonClick();
        QVERIFY(form.close());
        QCOMPARE(r.questions.size(), 2);
        QVERIFY(form.entries().isEmpty());
        QVERIFY(QFileInfo(path).size() == meterdb::kBdcFileBytes);
    }

    void loadingFiles()
    {
        Recorded r;
        TBdForm form(meterdbtest::recordingServices(r));
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("good.bdc"));
        const QString bad = dir.filePath(QStringLiteral("bad.bdc"));
        QCOMPARE(meterdb::saveBdcFile(good, meterdbtest::entries(10)), meterdb::BdcSave::Ok);
        QVERIFY(testsupport::writeAll(bad, testsupport::readAll(good).left(1035)));
        QString next = good;
        form.setFilePicker([&next](bool) { return next; });
        form.show();
        QVERIFY(form.LoadBaseFromFile());
        QCOMPARE(form.entries().size(), 10);
        QVERIFY(child<QPushButton>(form, "WriteButton")->isEnabled());
        QVERIFY(!child<QPushButton>(form, "NewButton")->isEnabled());
        // Rows from a file show the serial as it is; the first row is selected.
        QCOMPARE(child<QTableWidget>(form, "ListView1")->item(0, 1)->text(), QStringLiteral("1000"));
        QCOMPARE(child<QLineEdit>(form, "Ezav_num")->text(), QStringLiteral("1000"));

        next = bad;
        QVERIFY(!form.LoadBaseFromFile());
        QCOMPARE(r.messages, QStringList{meterdbtest::englishMessage(27)});
        QCOMPARE(form.entries().size(), 10);
        next = QString(); // cancelled: nothing happens
        QVERIFY(!form.LoadBaseFromFile());
        QCOMPARE(r.messages.size(), 1);
    }
};

QTEST_MAIN(tst_bdform)
#include "tst_bdform.moc"
