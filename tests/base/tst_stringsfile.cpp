// The text catalogue and the generated DataStrings.xml beside the program:
// every section passes its check in both languages, the message table and
// other texts read back exactly, and a changed character fails its section.
#include "base/stringcatalog.h"
#include "base/stringdocument.h"
#include "base/stringfilewriter.h"

#include "testdir.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList allSections()
{
    QStringList sections{kMainSectionKey};
    sections += secondarySectionKeys();
    return sections;
}

QString generatedPath()
{
    return testsupport::binDir() + QStringLiteral("/DataStrings.xml");
}

} // namespace

class TestStringsFile : public QObject {
    Q_OBJECT
private slots:
    void catalogueShape()
    {
        const QStringList expected = {"MeterParsForm",      "ContentForm",       "ConstForm",
                                      "CommParsForm",       "ExchangeForm",      "EnterPasswordForm",
                                      "ChangePasswordForm", "TitleReportForm",   "ViewParametersForm",
                                      "AboutForm",          "MeterDatabaseForm", "ReportForm"};
        QCOMPARE(secondarySectionKeys(), expected);

        // 104 window texts, then Error1 ... Error36.
        const QVector<CatalogItem> main = catalogSection(kMainSectionKey);
        QCOMPARE(main.size(), 140);
        QCOMPARE(main.at(0).path, QStringLiteral("ProgramTitle"));
        QCOMPARE(main.at(103).path, QStringLiteral("StatusBar/Rate"));
        for (int n = 1; n <= 36; ++n)
            QCOMPARE(main.at(103 + n).path, QStringLiteral("ErrorMessages/Error%1").arg(n));
        QCOMPARE(messageKey(7), QStringLiteral("Error7"));
        QCOMPARE(messagePath(36), QStringLiteral("ErrorMessages/Error36"));

        // Every section of the catalogue is one of the thirteen, and the
        // sections follow each other in application order.
        QStringList seen;
        for (const CatalogItem &item : catalogItems()) {
            if (seen.isEmpty() || seen.last() != item.section)
                seen.append(item.section);
            QVERIFY2(!item.path.isEmpty() && item.path.count('/') <= 3, qPrintable(item.path));
        }
        QCOMPARE(seen, allSections());

        const QVector<CatalogItem> view = catalogSection("ViewParametersForm");
        int apparentS = 0;
        for (int i = 0; i < view.size(); ++i) {
            if (view.at(i).path == "ViewParametersFormLabels/ViewParametersList/ApparentPowerS") {
                ++apparentS;
                QCOMPARE(view.at(i + (apparentS == 1 ? 1 : -1)).path, view.at(i).path);
            }
        }
        QCOMPARE(apparentS, 2);
    }

    void catalogueDefaults()
    {
        QCOMPARE(catalogDefault("KorvelForm", "ProgramTitle", 0), QStringLiteral("Вардоск средств измерений"));
        QCOMPARE(catalogDefault("KorvelForm", "ProgramTitle", 1), QStringLiteral("Measuring Instruments Vardosk"));
        QCOMPARE(catalogDefault("KorvelForm", "StatusBar/Rate", 0), QStringLiteral("бит/сек."));
        QCOMPARE(catalogDefault("KorvelForm", "StatusBar/Rate", 1), QStringLiteral("bps"));
        QCOMPARE(catalogDefault("KorvelForm", "CalibrationTableTitles/DateTime", 1),
                 QStringLiteral("Date,             time"));
        QCOMPARE(catalogDefault("KorvelForm", "NoSuch/Item", 1), QString());
        // The single-phase protocol line is found under both names.
        const QString ph = catalogDefault("ReportForm", "ReportFormLabels/ph1w2", 0);
        QVERIFY(!ph.isEmpty());
        QCOMPARE(catalogDefault("ReportForm", "ReportFormLabels/ph2w1", 0), ph);
        // Every message and every window text has both languages, except
        // the empty fourth purpose line and the English year suffix.
        for (int n = 1; n <= 36; ++n) {
            const QString key = "ErrorMessages/" + messageKey(n);
            QVERIFY2(!catalogDefault(kMainSectionKey, key, 0).isEmpty(), qPrintable(key));
            QVERIFY2(!catalogDefault(kMainSectionKey, key, 1).isEmpty(), qPrintable(key));
        }
    }

    void generatedFilePassesEverySection()
    {
        const auto d = StringDocument::load(generatedPath());
        QVERIFY2(d, qPrintable(generatedPath()));
        QCOMPARE(d->rootName(), QStringLiteral("Settings"));
        QVERIFY(testsupport::readAll(generatedPath()).startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
        for (const QString &section : allSections()) {
            for (int language : {0, 1}) {
                const SectionTexts t = d->readSection(section, language);
                QVERIFY2(t.ok, qPrintable(section));
                for (const CatalogItem &item : catalogSection(section))
                    QCOMPARE(t.text(item.path), language == 0 ? item.rus : item.eng);
            }
        }
    }

    void generatedFileHoldsTheMessages()
    {
        const auto d = StringDocument::load(generatedPath());
        QVERIFY(d);
        const SectionTexts eng = d->readSection(kMainSectionKey, 1);
        const SectionTexts rus = d->readSection(kMainSectionKey, 0);
        QVERIFY(eng.ok && rus.ok);
        QCOMPARE(eng.text("ErrorMessages/Error19"), QStringLiteral("Invalid password."));
        QCOMPARE(rus.text("ErrorMessages/Error19"), QStringLiteral("Пароль указан неверно."));
        QCOMPARE(eng.text("ErrorMessages/Error1"), QStringLiteral(" COM Port unavailable "));
        QCOMPARE(rus.text("ErrorMessages/Error1"), QStringLiteral(" Нет доступа к порту. "));
        QCOMPARE(eng.text("ErrorMessages/Error14"), QStringLiteral(" Reading has been successfully completed."));
        QCOMPARE(rus.text("ErrorMessages/Error34"),
                 QStringLiteral("Некорректные данные для работы.\nНеобходимо переустановить приложение."));
        QCOMPARE(eng.text("ErrorMessages/Error33"), QStringLiteral("More than one USB-device detected."));
        QCOMPARE(rus.text("MainMenu/Utilities/ExportExcel/Inom"), QStringLiteral("Iном., А"));
        QCOMPARE(eng.text("CalibrationMainTableTitles/Schem/ph1w2"), QStringLiteral("1 phase, 2 wire"));
        QCOMPARE(d->lookup(0, "ReportForm", "ReportFormLabels/ph1w2"),
                 d->lookup(0, "ReportForm", "ReportFormLabels/ph2w1"));
        QVERIFY(!d->lookup(1, "ReportForm", "ReportFormLabels/ph1w2").isEmpty());
    }

    void changedCharacterFailsItsSection()
    {
        const QByteArray original = testsupport::readAll(generatedPath());
        QVERIFY(!original.isEmpty());

        // "Invalid password." with one low byte changed: only KorvelForm fails,
        // in both languages.
        QByteArray changed = original;
        changed.replace("Invalid password.", "Invalid passwore.");
        QVERIFY(changed != original);
        auto d = StringDocument::fromBytes(changed);
        QVERIFY(d);
        for (int language : {0, 1}) {
            QVERIFY(!d->readSection(kMainSectionKey, language).ok);
            for (const QString &section : secondarySectionKeys())
                QVERIFY(d->readSection(section, language).ok);
        }

        // A change of the high byte only passes unnoticed: Latin o (0x006F)
        // replaced by U+046F, which has the same low byte.
        QByteArray highOnly = original;
        highOnly.replace("<Eng>Font</Eng>", QStringLiteral("<Eng>F\u046Fnt</Eng>").toUtf8());
        QVERIFY(highOnly != original);
        d = StringDocument::fromBytes(highOnly);
        QVERIFY(d->readSection("TitleReportForm", 1).ok);
        QCOMPARE(d->readSection("TitleReportForm", 1).text("ContextMenu/FontMenu"), QStringLiteral("F\u046Fnt"));

        // A removed item fails its section.
        QByteArray removed = original;
        removed.replace("<Eng>Settings</Eng>", "<Eng></Eng>");
        QVERIFY(removed != original);
        d = StringDocument::fromBytes(removed);
        QVERIFY(!d->readSection(kMainSectionKey, 0).ok);
    }

    void toolWritesTheSameFile()
    {
        const QString tool = testsupport::binDir() + QStringLiteral("/vardosk-stringsgen");
        if (!QFileInfo::exists(tool))
            QSKIP("vardosk-stringsgen not built");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString out = dir.filePath("DataStrings.xml");
        QCOMPARE(QProcess::execute(tool, {out}), 0);
        QCOMPARE(testsupport::readAll(out), buildStringFile(catalogItems(), catalogExtraElements()));
        QCOMPARE(QProcess::execute(tool, {"--check", out}), 0);
        QCOMPARE(QProcess::execute(tool, {}), 1);
        QCOMPARE(QProcess::execute(tool, {dir.filePath("no/such/folder/x.xml")}), 2);
        QVERIFY(testsupport::writeAll(out, "not xml"));
        QCOMPARE(QProcess::execute(tool, {"--check", out}), 2);
    }
};

QTEST_GUILESS_MAIN(TestStringsFile)
#include "tst_stringsfile.moc"
