// The record operations without windows: merge rules, element rules, the
// changes themselves, the dialogs' text rules, and the file commands on real
// files, with write failures injected.
#include "records/meterfile.h"
#include "records/recordops.h"
#include "base/platform.h"
#include "testdir.h"
#include "tst_recordopsdata.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace opsdata;

namespace {

pcn::_totalblockdata readBack(const QString &path)
{
    const MeterFileReadResult r = ReadMeterFile(path);
    return r.readable ? r.meter : pcn::_totalblockdata();
}

bool isWritable(const QString &path)
{
    return QFile::permissions(path) & QFileDevice::WriteOwner;
}

} // namespace

class TestRecordOps : public QObject {
    Q_OBJECT
private slots:
    // --- Merge rules -------------------------------------------------------------

    void mergeRules_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<bool>("mergeable");
        // 0: identical; the others change one thing in the source.
        QTest::newRow("same meter") << 0 << true;
        QTest::newRow("other instrument serial") << 1 << false;
        QTest::newRow("other instrument type") << 2 << false;
        QTest::newRow("other serial text") << 3 << false;
        QTest::newRow("other class") << 4 << false;
        QTest::newRow("other scheme") << 5 << false;
        QTest::newRow("i2 zero") << 6 << false;
        QTest::newRow("other meter type") << 7 << true;
        QTest::newRow("other year") << 8 << true;
    }

    void mergeRules()
    {
        QFETCH(int, change);
        QFETCH(bool, mergeable);
        const pcn::_totalblockdata target = meter({verification(at(3, 1), {1})});
        pcn::_totalblockdata source = meter({verification(at(3, 2), {2})});
        pcn::_blockdata &s = source.verifications[0];
        switch (change) {
        case 1:
            source.instrument.serial = 778;
            break;
        case 2:
            source.instrument.type = 0;
            break;
        case 3:
            s.serialText = QStringLiteral("4243");
            break;
        case 4:
            s.accuracyClass = 1.0;
            break;
        case 5:
            s.scheme = SchemeThreePhaseThreeWire;
            break;
        case 6:
            s.i2 = 0;
            break;
        case 7:
            s.meterType = QStringLiteral("OTHER");
            break;
        case 8:
            s.year = 1999;
            break;
        default:
            break;
        }
        QCOMPARE(AreMergeable(source, target), mergeable);
        QCOMPARE(AreMergeable(target, source), mergeable);
    }

    void serialTextsCompareExactly()
    {
        pcn::_totalblockdata target = meter({verification(at(3, 1), {1})});
        pcn::_totalblockdata source = meter({verification(at(3, 2), {2})});
        target.verifications[0].serialText = QStringLiteral("AB12");
        source.verifications[0].serialText = QStringLiteral("ab12");
        QVERIFY(!AreMergeable(source, target));
        source.verifications[0].serialText = QStringLiteral("AB12 ");
        QVERIFY(!AreMergeable(source, target));
        source.verifications[0].serialText = QStringLiteral("AB12");
        QVERIFY(AreMergeable(source, target));
    }

    void transformerRatioRule_data()
    {
        QTest::addColumn<int>("ti1");
        QTest::addColumn<int>("ti2");
        QTest::addColumn<int>("si1");
        QTest::addColumn<int>("si2");
        QTest::addColumn<bool>("mergeable");
        // Ratio 1 on both sides: the transformer data do not matter.
        QTest::newRow("1/1 and 5/5") << 1 << 1 << 5 << 5 << true;
        // trunc(1001 / 1000 * 100) = 100: a ratio of 1 as well.
        QTest::newRow("1001/1000 and 1/1") << 1001 << 1000 << 1 << 1 << true;
        // trunc(101 / 100 * 100) = 101: not 1, so both must be equal.
        QTest::newRow("101/100 and 1/1") << 101 << 100 << 1 << 1 << false;
        QTest::newRow("100/5 and 100/5") << 100 << 5 << 100 << 5 << true;
        QTest::newRow("100/5 and 200/10, same ratio") << 100 << 5 << 200 << 10 << false;
        QTest::newRow("100/5 and 1/1") << 100 << 5 << 1 << 1 << false;
        QTest::newRow("3/4 and 3/4") << 3 << 4 << 3 << 4 << true;
        QTest::newRow("3/4 and 1/1") << 3 << 4 << 1 << 1 << false;
    }

    void transformerRatioRule()
    {
        QFETCH(int, ti1);
        QFETCH(int, ti2);
        QFETCH(int, si1);
        QFETCH(int, si2);
        QFETCH(bool, mergeable);
        pcn::_totalblockdata target = meter({verification(at(3, 1), {1})});
        pcn::_totalblockdata source = meter({verification(at(3, 2), {2})});
        target.verifications[0].i1 = std::uint16_t(ti1);
        target.verifications[0].i2 = std::uint16_t(ti2);
        source.verifications[0].i1 = std::uint16_t(si1);
        source.verifications[0].i2 = std::uint16_t(si2);
        QCOMPARE(AreMergeable(source, target), mergeable);
    }

    void ratioHundredthsTruncate()
    {
        pcn::_datacounter v;
        v.i1 = 1001;
        v.i2 = 1000;
        QCOMPARE(TransformerRatioHundredths(v), 100);
        v.i1 = 2;
        v.i2 = 3;
        QCOMPARE(TransformerRatioHundredths(v), 66);
        v.i2 = 0;
        QCOMPARE(TransformerRatioHundredths(v), -1);
    }

    void mergedVerificationsTakeTargetIdentity()
    {
        pcn::_totalblockdata target = meter({verification(at(3, 1), {1}), verification(at(3, 2), {2})});
        target.verifications[0].meterType = QStringLiteral("TARGET");
        target.verifications[0].year = 2001;
        target.verifications[0].i1 = 7;
        target.verifications[0].i2 = 7;
        pcn::_totalblockdata source = meter({verification(at(4, 1), {3})});
        source.verifications[0].meterType = QStringLiteral("SOURCE");
        source.verifications[0].year = 1990;
        source.verifications[0].constant = 800;
        const pcn::_totalblockdata merged = MergeMeters(target, source);
        QCOMPARE(merged.verifications.size(), 3);
        QCOMPARE(merged.verifications[1].meterType, QStringLiteral("CE301")); // target's others keep theirs
        const pcn::_blockdata &moved = merged.verifications[2];
        QCOMPARE(moved.meterType, QStringLiteral("TARGET"));
        QCOMPARE(moved.year, std::uint16_t(2001));
        QCOMPARE(moved.i1, std::uint16_t(7));
        QCOMPARE(moved.i2, std::uint16_t(7));
        QCOMPARE(moved.constant, 800u); // the rest stays the source's
        QCOMPARE(moved.date, QDate(2010, 4, 1));
    }

    // --- Element rules and changes -------------------------------------------------

    void elementCompatibility_data()
    {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<int>("change");
        QTest::addColumn<bool>("compatible");
        // change: 0 none, 1 phase voltage, 2 line voltage, 3 current,
        // 4 constant, 5 power type, 6 block instrument type.
        QTest::newRow("block instrument type") << 1 << 6 << false;
        for (int scheme : {1, 2, 4}) {
            const QByteArray s = QByteArray::number(scheme);
            QTest::newRow("scheme " + s + " equal") << scheme << 0 << true;
            QTest::newRow("scheme " + s + " phase voltage") << scheme << 1 << (scheme == 2);
            QTest::newRow("scheme " + s + " line voltage") << scheme << 2 << (scheme == 4);
            QTest::newRow("scheme " + s + " current") << scheme << 3 << false;
            QTest::newRow("scheme " + s + " constant") << scheme << 4 << false;
            QTest::newRow("scheme " + s + " power type") << scheme << 5 << false;
        }
        QTest::newRow("scheme 3 never") << 3 << 0 << false;
        QTest::newRow("scheme 0 never") << 0 << 0 << false;
    }

    void elementCompatibility()
    {
        QFETCH(int, scheme);
        QFETCH(int, change);
        QFETCH(bool, compatible);
        pcn::_blockdata a = verification(at(3, 1), {1});
        a.scheme = std::uint8_t(scheme);
        pcn::_blockdata b = a;
        switch (change) {
        case 1:
            b.uPhaseNom = 57.7;
            break;
        case 2:
            b.uLineNom = 100;
            break;
        case 3:
            b.iNom = 1;
            break;
        case 4:
            b.constant = 1601;
            break;
        case 5:
            b.powerType = PowerReactiveShift;
            break;
        case 6:
            b.instrumentType = 6;
            break;
        default:
            break;
        }
        QCOMPARE(IsElementCompatible(a, b), compatible);
        const pcn::_totalblockdata m = meter({a, b});
        QCOMPARE(IsElementCompatible(m, 0, 1), compatible);
        QVERIFY(!IsElementCompatible(m, 0, 2));
        QVERIFY(!IsElementCompatible(m, -1, 0));
    }

    void pasteTakesEarlierMomentAndJoinsPoints()
    {
        // Target dated 12.03 with two points, source dated 10.03 with one.
        const pcn::_totalblockdata m =
            meter({verification(at(3, 12, 9), {100, 101}), verification(at(3, 10, 15), {200})});
        const std::optional<pcn::_totalblockdata> r = PasteElement(m, 0, 1);
        QVERIFY(r);
        QCOMPARE(r->verifications.size(), 1);
        const pcn::_blockdata &t = r->verifications[0];
        QCOMPARE(t.date, QDate(2010, 3, 10));
        QCOMPARE(t.time, QTime(15, 0));
        QCOMPARE(t.bcdYear, std::uint16_t(0x2010));
        QCOMPARE(t.bcdMonth, std::uint8_t(0x03));
        QCOMPARE(t.bcdDay, std::uint8_t(0x10));
        QCOMPARE(t.bcdHour, std::uint8_t(0x15));
        QCOMPARE(voltagesOf(t), (QList<double>{100, 101, 200}));
    }

    void pasteKeepsTargetMomentWhenSourceIsLater()
    {
        const pcn::_totalblockdata m =
            meter({verification(at(3, 10, 8), {1}), verification(at(3, 10, 9), {2}), verification(at(3, 12), {3})});
        // Same date, later time: the target (index 0) keeps 08:00.
        std::optional<pcn::_totalblockdata> r = PasteElement(m, 0, 1);
        QVERIFY(r);
        QCOMPARE(r->verifications[0].time, QTime(8, 0));
        QCOMPARE(voltagesOf(r->verifications[0]), (QList<double>{1, 2}));
        // Source before the target in the list: the target moves down by one.
        r = PasteElement(m, 2, 0);
        QVERIFY(r);
        QCOMPARE(r->verifications.size(), 2);
        QCOMPARE(r->verifications[1].date, QDate(2010, 3, 10));
        QCOMPARE(voltagesOf(r->verifications[1]), (QList<double>{3, 1}));
        QCOMPARE(voltagesOf(r->verifications[0]), (QList<double>{2}));
        // Same moment: the source's (equal) moment is taken, nothing breaks.
        const pcn::_totalblockdata same = meter({verification(at(5, 5), {1}), verification(at(5, 5), {2})});
        r = PasteElement(same, 1, 0);
        QVERIFY(r);
        QCOMPARE(r->verifications[0].date, QDate(2010, 5, 5));
    }

    void pasteRefusesBadPairs()
    {
        pcn::_blockdata other = verification(at(3, 2), {2});
        other.constant = 3200;
        const pcn::_totalblockdata m = meter({verification(at(3, 1), {1}), other});
        QVERIFY(!PasteElement(m, 0, 1));
        QVERIFY(!PasteElement(m, 0, 0));
        QVERIFY(!PasteElement(m, 0, 5));
    }

    void deleteElement()
    {
        const pcn::_totalblockdata m = meter({verification(at(3, 1), {1}), verification(at(3, 2), {2})});
        const std::optional<pcn::_totalblockdata> r = DeleteElement(m, 0);
        QVERIFY(r);
        QCOMPARE(r->verifications.size(), 1);
        QCOMPARE(voltagesOf(r->verifications[0]), (QList<double>{2}));
        QVERIFY(!DeleteElement(*r, 0)); // a file keeps at least one verification
        QVERIFY(!DeleteElement(m, 2));
    }

    // --- Identity and constant --------------------------------------------------------

    void editMeterParameters()
    {
        pcn::_totalblockdata m = meter({verification(at(3, 1), {1}), verification(at(3, 2), {2})});
        m.verifications[1].year = 1995;
        const std::optional<pcn::_totalblockdata> r =
            EditMeterParameters(m, {QStringLiteral("Меркурий 230"), QStringLiteral("SN-16-characters"), 2015});
        QVERIFY(r);
        QCOMPARE(r->verifications[0].meterType, QStringLiteral("Меркурий 230"));
        QCOMPARE(r->verifications[0].year, std::uint16_t(2015));
        QCOMPARE(r->verifications[0].serial, 4242u);
        QCOMPARE(r->verifications[1].meterType, QStringLiteral("CE301"));
        QCOMPARE(r->verifications[1].year, std::uint16_t(1995));
        for (const pcn::_blockdata &v : r->verifications)
            QCOMPARE(v.serialText, QStringLiteral("SN-16-characters"));
    }

    void editMeterParametersRefusesWhatCannotBeStored()
    {
        const pcn::_totalblockdata m = meter({verification(at(3, 1), {1})});
        QVERIFY(!EditMeterParameters(m, {QStringLiteral("123456789012345"), QStringLiteral("1"), 1}));
        QVERIFY(EditMeterParameters(m, {QStringLiteral("12345678901234"), QStringLiteral("1"), 1}));
        QVERIFY(!EditMeterParameters(m, {QStringLiteral("Счётчик"), QStringLiteral("1"), 1}));
        QVERIFY(!EditMeterParameters(m, {QStringLiteral("CE"), QString(65, QLatin1Char('9')), 1}));
        QVERIFY(EditMeterParameters(m, {QStringLiteral("CE"), QString(64, QLatin1Char('9')), 1}));
        QVERIFY(EditMeterParameters(m, {QStringLiteral("CE"), QStringLiteral("№5"), 1}));
        QVERIFY(!EditMeterParameters(m, {QStringLiteral("CE"), QStringLiteral("5\u4e2d"), 1}));
        QVERIFY(!EditMeterParameters(pcn::_totalblockdata(), {QStringLiteral("CE"), QStringLiteral("1"), 1}));
    }

    void unstorableCharacters()
    {
        // ё (184) and № (185) lie in 161..191; the no-break space (160)
        // would come back as "А"; a tab is a control character; a CJK
        // character is not in the code page at all ("€" is, at 0x88). Each is listed once.
        QCOMPARE(UnstorableMeterTypeCharacters(QStringLiteral("ёж№ё")), QStringLiteral("ё№"));
        QCOMPARE(UnstorableMeterTypeCharacters(QStringLiteral("A\u00A0B")), QStringLiteral("\u00A0"));
        QCOMPARE(UnstorableMeterTypeCharacters(QStringLiteral("A\tB\u4e2d€")), QStringLiteral("\t\u4e2d"));
        // Letters, digits, blanks and the characters shown as "+" are stored.
        QCOMPARE(UnstorableMeterTypeCharacters(QStringLiteral("СЕ 301/R33 \"Я\"")), QString());
        // The serial text takes the whole code page, but no control character.
        QCOMPARE(UnstorableSerialTextCharacters(QStringLiteral("№ 5-ё")), QString());
        QCOMPARE(UnstorableSerialTextCharacters(QStringLiteral("5\u0000\u4e2d")), QStringLiteral("\u0000\u4e2d"));
    }

    void editConstant()
    {
        const pcn::_totalblockdata m = meter({verification(at(3, 1), {1}), verification(at(3, 2), {2})});
        const std::optional<pcn::_totalblockdata> r = EditConstant(m, 1, 999999999);
        QVERIFY(r);
        QCOMPARE(r->verifications[1].constant, 999999999u);
        QCOMPARE(r->verifications[0].constant, 1600u);
        QVERIFY(!EditConstant(m, 2, 1));
    }

    void digitTexts()
    {
        QCOMPARE(ParseYearText(QString()), std::optional<std::uint16_t>(0));
        QCOMPARE(ParseYearText(QStringLiteral("0095")), std::optional<std::uint16_t>(95));
        QCOMPARE(ParseYearText(QStringLiteral("9999")), std::optional<std::uint16_t>(9999));
        QVERIFY(!ParseYearText(QStringLiteral("12345")));
        QVERIFY(!ParseYearText(QStringLiteral("20a9")));
        QVERIFY(!ParseYearText(QStringLiteral("-1")));
        QCOMPARE(ParseConstantText(QStringLiteral("999999999")), std::optional<std::uint32_t>(999999999));
        QVERIFY(!ParseConstantText(QStringLiteral("1234567890")));
        QVERIFY(!ParseConstantText(QStringLiteral("１２")));
    }

    // --- Files ----------------------------------------------------------------------------

    void fileCommands_data() { addFileCommands(); }
    void fileCommands()
    {
        QFETCH(int, command);
        QFETCH(QString, fileName);
        QFETCH(QString, into);
        QFETCH(Tree, after);
        QTemporaryDir dir;
        QVERIFY(writeTree(dir.path()));
        const QString source = dir.filePath(QStringLiteral("A/") + fileName);
        const QString folder = dir.filePath(into);
        switch (command) {
        case CopyFile:
            QVERIFY(CopyMeterFile(source, PasteDestination(source, folder)));
            break;
        case CutFile:
            QVERIFY(MoveMeterFile(source, PasteDestination(source, folder)));
            break;
        case DeleteFile:
            QVERIFY(DeleteMeterFile(source));
            break;
        default:
            QCOMPARE(MergeMeterFiles(source, dir.filePath(QStringLiteral("A/a.pcn")), command != MergeFile).result,
                     MergeResult::Merged);
        }
        QCOMPARE(treeOf(dir.path()), after);
        int files = 0; // no temporary left
        for (QDirIterator it(dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();
             ++files)
            it.next();
        QCOMPARE(files, after.size());
    }

    void copyKeepsReadOnly()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath(QStringLiteral("a.pcn"));
        const QString b = dir.filePath(QStringLiteral("b.pcn"));
        QVERIFY(WriteMeterFile(a, meter({verification(at(3, 1), {1})})));
        QVERIFY(CopyMeterFile(a, b));
        QCOMPARE(testsupport::readAll(b), testsupport::readAll(a));
        QVERIFY(!isWritable(b));
        // A writable source gives a writable copy.
        QVERIFY(platform::setReadOnly(a, false));
        QVERIFY(CopyMeterFile(a, dir.filePath(QStringLiteral("c.pcn"))));
        QVERIFY(isWritable(dir.filePath(QStringLiteral("c.pcn"))));
        QVERIFY(!CopyMeterFile(dir.filePath(QStringLiteral("none.pcn")), dir.filePath(QStringLiteral("d.pcn"))));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("d.pcn"))));
    }

    void moveNeverReplaces()
    {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath(QStringLiteral("B")));
        const QString a = dir.filePath(QStringLiteral("a.pcn"));
        const QString b = dir.filePath(QStringLiteral("B/a.pcn"));
        QVERIFY(WriteMeterFile(a, meter({verification(at(3, 1), {1})})));
        const QByteArray bytes = testsupport::readAll(a);
        QVERIFY(!MoveMeterFile(a, a));
        QCOMPARE(testsupport::readAll(a), bytes);
        QVERIFY(MoveMeterFile(a, b));
        QVERIFY(!QFileInfo::exists(a));
        QCOMPARE(testsupport::readAll(b), bytes);
        QVERIFY(WriteMeterFile(a, meter({verification(at(3, 5), {5})})));
        const QByteArray other = testsupport::readAll(a);
        QVERIFY(!MoveMeterFile(a, b));
        QCOMPARE(testsupport::readAll(a), other);
        QCOMPARE(testsupport::readAll(b), bytes);
    }

    void deleteReadOnlyFile()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath(QStringLiteral("a.pcn"));
        QVERIFY(WriteMeterFile(a, meter({verification(at(3, 1), {1})})));
        QVERIFY(!isWritable(a));
        QVERIFY(DeleteMeterFile(a));
        QVERIFY(!QFileInfo::exists(a));
        QVERIFY(!DeleteMeterFile(a));
        QVERIFY(!DeleteMeterFile(dir.path())); // never a folder
    }

    void mergeFilesOnDisk()
    {
        QTemporaryDir dir;
        const QString s = dir.filePath(QStringLiteral("s.pcn"));
        const QString t = dir.filePath(QStringLiteral("t.pcn"));
        pcn::_totalblockdata source = meter({verification(at(4, 1), {41}), verification(at(4, 2), {42})});
        source.verifications[0].meterType = QStringLiteral("SRC");
        source.verifications[0].year = 1990;
        pcn::_totalblockdata target = meter({verification(at(3, 1), {31})});
        target.verifications[0].meterType = QStringLiteral("TGT");
        target.verifications[0].year = 2012;
        QVERIFY(WriteMeterFile(s, source));
        QVERIFY(WriteMeterFile(t, target));
        const QByteArray sourceBytes = testsupport::readAll(s);

        QVERIFY(!IsMergeable(t, t));
        QVERIFY(!IsMergeable(dir.filePath(QStringLiteral("none.pcn")), t));
        MergePair pair;
        QVERIFY(IsMergeable(s, t, &pair));
        QCOMPARE(pair.source.verifications.size(), 2);
        QCOMPARE(pair.target.fileName, QStringLiteral("t.pcn"));

        const MergeOutcome kept = MergeMeterFiles(s, t, false);
        QCOMPARE(kept.result, MergeResult::Merged);
        QVERIFY(!kept.sourceDeleted);
        QCOMPARE(testsupport::readAll(s), sourceBytes);
        QCOMPARE(QFileInfo(t).size(), 67 + 3 * 1134);
        const pcn::_totalblockdata merged = readBack(t);
        QCOMPARE(merged.verifications.size(), 3);
        QCOMPARE(voltagesOf(merged.verifications[0]), QList<double>{31});
        QCOMPARE(voltagesOf(merged.verifications[1]), QList<double>{41});
        QCOMPARE(voltagesOf(merged.verifications[2]), QList<double>{42});
        for (int k = 1; k < 3; ++k) {
            QCOMPARE(merged.verifications[k].meterType.trimmed(), QStringLiteral("TGT"));
            QCOMPARE(merged.verifications[k].year, std::uint16_t(2012));
        }
        QCOMPARE(MergeMeterFiles(s, t, true).sourceDeleted, true);
        QCOMPARE(MergeMeterFiles(s, t, true).result, MergeResult::NotMergeable);
    }

    // Every file of the meter in date order; another class is left out and
    // said so, another serial text passed over; sources go only when asked.
    void mergeAllFilesOfAMeter()
    {
        QTemporaryDir dir;
        const auto path = [&dir](const char *name) { return dir.filePath(QLatin1String(name)); };
        pcn::_totalblockdata otherClass = meter({verification(at(1, 1), {11})});
        otherClass.verifications[0].accuracyClass = 1;
        pcn::_totalblockdata otherSerial = meter({verification(at(1, 2), {12})});
        otherSerial.verifications[0].serialText = QStringLiteral("4243");
        QVERIFY(WriteMeterFile(path("t.pcn"), meter({verification(at(5, 1), {51})})));
        QVERIFY(WriteMeterFile(path("late.pcn"), meter({verification(at(6, 1), {61})})));
        QVERIFY(WriteMeterFile(path("early.pcn"), meter({verification(at(2, 1), {21}), verification(at(7, 1), {71})})));
        QVERIFY(WriteMeterFile(path("class.pcn"), otherClass));
        QVERIFY(WriteMeterFile(path("serial.pcn"), otherSerial));
        const QStringList all = {path("t.pcn"),      path("late.pcn"),  path("class.pcn"),
                                 path("serial.pcn"), path("early.pcn"), path("none.pcn")};
        const MergeAllOutcome outcome = MergeAllMeterFiles(path("t.pcn"), all, true);
        QCOMPARE(outcome.result, MergeResult::Merged);
        QCOMPARE(outcome.mergedPaths, (QStringList{path("early.pcn"), path("late.pcn")}));
        QCOMPARE(outcome.deletedPaths, outcome.mergedPaths);
        QCOMPARE(outcome.notMergeable, QStringList{path("class.pcn")});
        QCOMPARE(outcome.unreadable, QStringList{path("none.pcn")});
        QList<double> order;
        for (const pcn::_blockdata &v : readBack(path("t.pcn")).verifications)
            order << voltagesOf(v);
        QCOMPARE(order, (QList<double>{51, 21, 71, 61}));
        QVERIFY(QFileInfo::exists(path("class.pcn")) && !QFileInfo::exists(path("late.pcn")));
        QCOMPARE(MergeAllMeterFiles(path("t.pcn"), all, false).result, MergeResult::NotMergeable);

        // Another workstation rewrites the target while the merge writes it:
        // the merge lands nowhere and no source goes.
        QVERIFY(WriteMeterFile(path("late.pcn"), meter({verification(at(6, 1), {61})})));
        bool tried = false;
        bool changed = false;
        {
            const platform::WriteFaultScope otherWorkstation([&](const QString &target, qint64) {
                if (!tried && target == path("t.pcn")) {
                    tried = true;
                    changed = WriteMeterFile(target, meter({verification(at(8, 1), {81})}));
                }
                return false;
            });
            QCOMPARE(MergeAllMeterFiles(path("t.pcn"), all, true).result, MergeResult::ChangedMeanwhile);
        }
        QVERIFY(changed);
        QCOMPARE(readBack(path("t.pcn")).verifications.size(), 1);
        QVERIFY(QFileInfo::exists(path("late.pcn")));
    }

    void failedWritesChangeNoFile_data()
    {
        QTest::addColumn<qint64>("failAt");
        QTest::newRow("before the first byte") << qint64(0);
        QTest::newRow("after the first chunk") << qint64(4096);
        QTest::newRow("after the last byte") << qint64(-1);
    }

    void failedWritesChangeNoFile()
    {
        QFETCH(qint64, failAt);
        QTemporaryDir dir;
        const QString s = dir.filePath(QStringLiteral("s.pcn"));
        const QString t = dir.filePath(QStringLiteral("t.pcn"));
        // Five verifications make a target file of more than one chunk.
        QVERIFY(WriteMeterFile(s, meter({verification(at(4, 1), {1}), verification(at(4, 2), {2})})));
        QVERIFY(WriteMeterFile(
            t, meter({verification(at(3, 1), {3}), verification(at(3, 2), {4}), verification(at(3, 3), {5})})));
        const QByteArray sBytes = testsupport::readAll(s);
        const QByteArray tBytes = testsupport::readAll(t);
        int calls = 0;
        platform::WriteFaultScope fault([&](const QString &, qint64 written) {
            ++calls;
            return failAt < 0 ? written >= 67 + 5 * 1134 : written >= failAt;
        });
        const MergeOutcome outcome = MergeMeterFiles(s, t, true);
        QCOMPARE(outcome.result, MergeResult::WriteFailed);
        QVERIFY(!outcome.sourceDeleted);
        QVERIFY(calls > 0);
        QCOMPARE(testsupport::readAll(s), sBytes);
        QCOMPARE(testsupport::readAll(t), tBytes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // no temporary left
    }
};

QTEST_GUILESS_MAIN(TestRecordOps)
#include "tst_recordops.moc"
