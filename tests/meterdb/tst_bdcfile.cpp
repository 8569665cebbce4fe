// The meter database image and the .bdc file: layout against hand-computed
// bytes, round trips, refused files that leave the list as it was, and the
// rules of the decimal fields.
#include "meterdb/bdcfile.h"
#include "meterdb/meterbaseimage.h"
#include "base/platform.h"
#include "base/checksum.h"
#include "records/metertype.h"
#include "meterdbsamples.h"
#include "testdir.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace meterdb;
using meterdbtest::entry;
using testsupport::hex;

Q_DECLARE_METATYPE(meterdb::BdcLoad)

namespace {

std::uint16_t wordAt(const QByteArray &b, int at)
{
    return std::uint16_t(quint8(b[at]) | (quint8(b[at + 1]) << 8));
}

bool sameLists(const MeterList &a, const MeterList &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (!sameEntry(a[i], b[i]))
            return false;
    }
    return true;
}

} // namespace

class tst_bdcfile : public QObject {
    Q_OBJECT

private slots:
    void threeEntriesRoundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("three.bdc"));
        const MeterList three = meterdbtest::entries(3);
        QCOMPARE(saveBdcFile(path, three), BdcSave::Ok);
        const QByteArray bytes = testsupport::readAll(path);
        QCOMPARE(bytes.size(), 1036);
        // 02 00, count 3, 0, 8163, 1; the CRC closes the file.
        QCOMPARE(bytes.left(10), hex("02 00 03 00 00 00 E3 1F 01 00"));
        QVERIFY(IsBlockValid(bytes));
        MeterList loaded;
        QCOMPARE(loadBdcFile(path, loaded), BdcLoad::Ok);
        QVERIFY(sameLists(loaded, three));
        // Saving what was loaded gives the same file.
        const QString again = dir.filePath(QStringLiteral("again.bdc"));
        QCOMPARE(saveBdcFile(again, loaded), BdcSave::Ok);
        QCOMPARE(testsupport::readAll(again), bytes);
    }

    void refusedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<BdcLoad>("result");
        const QByteArray good = bdcFileBytes(meterdbtest::entries(2));
        QByteArray changed = good;
        changed[500] = char(changed[500] ^ 0x01);
        QByteArray eleven = good;
        eleven[2] = 11;
        StoreChecksum(reinterpret_cast<std::uint8_t *>(eleven.data()), 1034);
        QTest::newRow("1035 bytes") << good.left(1035) << BdcLoad::ReadError;
        QTest::newRow("one byte changed") << changed << BdcLoad::ReadError;
        QTest::newRow("empty") << QByteArray() << BdcLoad::ReadError;
        QTest::newRow("count 11, right CRC") << eleven << BdcLoad::DataError;
        for (const int at : {0, 1, 4, 6, 8}) { // a fixed header byte other than written, right CRC
            QByteArray header = good;
            header[at] = char(header[at] ^ 0x10);
            StoreChecksum(reinterpret_cast<std::uint8_t *>(header.data()), 1034);
            QTest::newRow(qPrintable(QStringLiteral("header byte %1, right CRC").arg(at)))
                << header << BdcLoad::DataError;
        }
    }

    void refusedFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(BdcLoad, result);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.bdc"));
        QVERIFY(testsupport::writeAll(path, bytes));
        MeterList list = meterdbtest::entries(4);
        QCOMPARE(loadBdcFile(path, list), result);
        QVERIFY(sameLists(list, meterdbtest::entries(4)));
        QCOMPARE(loadBdcFile(dir.filePath(QStringLiteral("missing.bdc")), list), BdcLoad::CannotOpen);
        QCOMPARE(list.size(), 4);
    }

    void meterTypeSlots_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("readBack");
        // Ц (D6) and Э (DD) stored 32 lower, pairs swapped, blanks to 14.
        QTest::newRow("cyrillic capitals and digits")
            << QStringLiteral("ЦЭ6803") << hex("BD B6 38 36 33 30 20 20 20 20 20 20 20 20 00 00")
            << QStringLiteral("ЦЭ6803");
        QTest::newRow("trailing blanks removed")
            << QStringLiteral("AB  ") << hex("42 41 20 20 20 20 20 20 20 20 20 20 20 20 00 00") << QStringLiteral("AB");
        QTest::newRow("blank type keeps one character")
            << QStringLiteral(" ") << hex("20 20 20 20 20 20 20 20 20 20 20 20 20 20 00 00") << QStringLiteral(" ");
    }

    void meterTypeSlots()
    {
        QFETCH(QString, type);
        QFETCH(QByteArray, stored);
        QFETCH(QString, readBack);
        const EncodedImage image = encodeImage({entry(QStringLiteral("X"), 1), entry(type, 2)}, false);
        QVERIFY(image.ok());
        QCOMPARE(image.area.mid(16, 16), stored);
        MeterList list;
        QVERIFY(decodeImage(image.area, 2, list));
        QCOMPARE(list[1].meterType, readBack);
    }

    // Slots read from a file come back byte for byte on saving: letters
    // stored at 224..255 (which decode to control characters), controls
    // below 161 and an all-zero slot; controls are shown as U+FFFD.
    void slotsComeBackAsStored_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("type");
        QTest::newRow("bytes 224..255") << hex("41 E1 42 FF 20 20 20 20 20 20 20 20 20 20 00 00")
                                        << QStringLiteral("\x01"
                                                          "A\x1F"
                                                          "B");
        QTest::newRow("tab, 0x01, 0x7F") << hex("09 41 7F 01 20 20 20 20 20 20 20 20 20 20 00 00")
                                         << QStringLiteral("A\t\x01\x7F");
        QTest::newRow("all zero") << QByteArray(16, '\0') << QString();
    }

    void slotsComeBackAsStored()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, type);
        QByteArray file = bdcFileBytes(meterdbtest::entries(2));
        file.replace(10 + 16, 16, stored);
        StoreChecksum(reinterpret_cast<std::uint8_t *>(file.data()), 1034);
        MeterList list;
        QCOMPARE(parseBdcFile(file, list), BdcLoad::Ok);
        QCOMPARE(list[1].meterType, type);
        for (const QChar c : VisibleMeterType(type)) // shown with U+FFFD instead
            QVERIFY(c.category() != QChar::Other_Control);
        QCOMPARE(bdcFileBytes(list), file); // so load -> save -> load gives the same entries
    }

    void numericRecord()
    {
        // Serial and constant in high/low words, scaled values rounded.
        const MeterEntry e = entry(QStringLiteral("A"), 123456789, 2019, 1.15, 100000, 100.1, 57.7, 12.5, 4095, 15);
        const EncodedImage image = encodeImage({e}, false);
        QVERIFY(image.ok());
        QCOMPARE(image.area.size(), 1024);
        QCOMPARE(image.area.mid(160, 24),
                 hex("5B 07 15 CD E3 07 73 00 01 00 A0 86 E9 03 41 02 7D 00 FF 0F 0F 00 00 00"));
        MeterList back;
        QVERIFY(decodeImage(image.area, 1, back));
        QVERIFY(sameEntry(back[0], e));
    }

    void scaledValues_data()
    {
        QTest::addColumn<QString>("classText");
        QTest::addColumn<int>("hundredths");
        QTest::addColumn<QString>("currentText");
        QTest::addColumn<int>("tenths");
        // Values whose decimal is not exact in binary are rounded, not cut.
        QTest::newRow("0.29") << "0.29" << 29 << "12,5" << 125;
        QTest::newRow("1.15") << "1,15" << 115 << "100.1" << 1001;
        QTest::newRow("1.16") << "1.16" << 116 << "0.3" << 3;
        QTest::newRow("9.99") << "9.99" << 999 << "999.9" << 9999;
    }

    void scaledValues()
    {
        QFETCH(QString, classText);
        QFETCH(int, hundredths);
        QFETCH(QString, currentText);
        QFETCH(int, tenths);
        MeterEntry e = entry(QStringLiteral("A"), 1);
        e.accuracyClass = decimalValue(classText).value();
        e.iNom = decimalValue(currentText).value();
        const EncodedImage image = encodeImage({e}, false);
        QCOMPARE(int(wordAt(image.area, 166)), hundredths);
        QCOMPARE(int(wordAt(image.area, 176)), tenths);
        MeterList back;
        QVERIFY(decodeImage(image.area, 1, back));
        // Read back equal to the typed value, so the entry is the same entry.
        QCOMPARE(back[0].accuracyClass, e.accuracyClass);
        QCOMPARE(back[0].iNom, e.iNom);
    }

    void decimalFieldRules_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("nominal");
        QTest::addColumn<bool>("classField");
        QTest::newRow("comma") << "12,5" << true << false;
        QTest::newRow("two separators") << "1.2,3" << false << false;
        QTest::newRow("1000") << "1000" << false << false;
        QTest::newRow("999.9") << "999.9" << true << false;
        QTest::newRow("9.99") << "9.99" << false << true; // a nominal value takes one decimal
        QTest::newRow("57.71") << "57.71" << false << false;
        QTest::newRow("57,7") << "57,7" << true << false;
        QTest::newRow("10") << "10" << true << false;
        QTest::newRow("letter") << "1a" << false << false;
        QTest::newRow("separator alone") << "," << false << false;
        QTest::newRow("empty") << "" << true << true;
        QTest::newRow("too long") << "0.0001" << false << false;
    }

    void decimalFieldRules()
    {
        QFETCH(QString, text);
        QFETCH(bool, nominal);
        QFETCH(bool, classField);
        QCOMPARE(isNominalTextAcceptable(text), nominal);
        QCOMPARE(isClassTextAcceptable(text), classField);
    }

    void refusedEncodings()
    {
        QCOMPARE(encodeImage(meterdbtest::entries(9), true).failure, EncodeFailure::NotTenEntries);
        QVERIFY(encodeImage(meterdbtest::entries(10), true).ok());
        QCOMPARE(encodeImage(meterdbtest::entries(11), false).failure, EncodeFailure::TooManyEntries);
        MeterList list = meterdbtest::entries(3);
        list[1].meterType = QStringLiteral("СЧЁТЧИК");
        const EncodedImage image = encodeImage(list, false);
        QCOMPARE(image.failure, EncodeFailure::MeterType);
        QCOMPARE(image.entryIndex, 1);
        QCOMPARE(image.badCharacters, QStringLiteral("Ё"));
        QVERIFY(!decodeImage(QByteArray(1024, '\0'), 11, list));
        QVERIFY(!decodeImage(QByteArray(399, '\0'), 1, list));
        QCOMPARE(list.size(), 3);
    }

    void savesNothingItCannotStore()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("db.bdc"));
        QCOMPARE(saveBdcFile(path, meterdbtest::entries(2)), BdcSave::Ok);
        const QByteArray before = testsupport::readAll(path);
        MeterList list = meterdbtest::entries(2);
        list[0].meterType = QStringLiteral("ЁЛКА");
        QCOMPARE(saveBdcFile(path, list), BdcSave::Unencodable);
        QCOMPARE(testsupport::readAll(path), before);
        {
            // A write that fails half-way leaves the old file whole.
            platform::WriteFaultScope fault([](const QString &, qint64 written) { return written > 0; });
            QCOMPARE(saveBdcFile(path, meterdbtest::entries(5)), BdcSave::CannotWrite);
        }
        QCOMPARE(testsupport::readAll(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("db.bdc")});
    }
};

QTEST_GUILESS_MAIN(tst_bdcfile)
#include "tst_bdcfile.moc"
