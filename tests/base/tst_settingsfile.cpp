// config.cfg: layout, checksum and every validation rule of the reader.
#include "base/checksum.h"
#include "base/settingsfile.h"
#include "testdir.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// A 130-byte record with the given bytes set and a correct checksum.
QByteArray sealed(QByteArray raw)
{
    raw.resize(kSettingsFileSize);
    StoreChecksum(reinterpret_cast<std::uint8_t *>(raw.data()), kSettingsFileSize - 2);
    return raw;
}

void putWord(QByteArray &raw, int offset, int value)
{
    raw[offset] = char(value & 0xFF);
    raw[offset + 1] = char(value >> 8);
}

// A valid record as the program would write it for the defaults.
QByteArray validDefaults()
{
    return encodeSettings(defaultSettings());
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT
private slots:
    void defaultsWhenFileMissing()
    {
        QTemporaryDir dir;
        const AppSettings s = loadSettingsFile(dir.filePath(QStringLiteral("config.cfg")));
        QVERIFY(!s.takenFromFile);
        QCOMPARE(int(s.language), int(LanguageEnglish));
        QCOMPARE(int(s.interfaceType), int(InterfaceUsb));
        QCOMPARE(s.portIndex, 0);
        QCOMPARE(s.rateIndex, 3);
        QCOMPARE(s.layout.left, 0);
        QCOMPARE(s.layout.top, 0);
        QCOMPARE(s.layout.width, 1000);
        QCOMPARE(s.layout.height, 760);
        QCOMPARE(s.layout.folderPanelWidth, 200);
        QCOMPARE(s.layout.upperAreaHeight, 315);
        QCOMPARE(s.layout.meterListHeight, 169);
        // Default columns: code s at position s, a few hidden.
        QCOMPARE(s.columns[GridPhase12].codes.size(), 11);
        QCOMPARE(s.columns[GridPhase33].codes.size(), 16);
        QCOMPARE(s.columns[GridPhase34].codes.size(), 28);
        QCOMPARE(int(s.columns[GridPhase34].codes[27]), 27);
        const QList<int> hidden34{8, 9, 10, 14, 15, 16, 17, 19, 20, 21, 26, 27};
        for (int i = 0; i < 28; ++i)
            QCOMPARE(s.columns[GridPhase34].visible[i], !hidden34.contains(i));
        QVERIFY(!s.columns[GridPhase12].visible[9] && !s.columns[GridPhase12].visible[10]);
        QVERIFY(s.columns[GridPhase12].visible[8]);
        QVERIFY(!s.columns[GridPhase33].visible[14] && !s.columns[GridPhase33].visible[15]);
        QVERIFY(s.columns[GridPhase33].visible[13]);
    }

    void emptyAndZeroFilesPassTheChecksum()
    {
        // The CRC of 130 zero bytes is 0, so an empty file and one of zeros
        // are valid records: Russian, USB, COM index 0, 9600, window at its
        // minimum, every column code 0 and hidden.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("config.cfg"));
        for (const QByteArray &content : {QByteArray(), QByteArray(130, '\0')}) {
            QVERIFY(testsupport::writeAll(path, content));
            const AppSettings s = loadSettingsFile(path);
            QVERIFY(s.takenFromFile);
            QCOMPARE(int(s.language), int(LanguageRussian));
            QCOMPARE(int(s.interfaceType), int(InterfaceUsb));
            QCOMPARE(s.portIndex, 0);
            QCOMPARE(s.rateIndex, 0);
            QCOMPARE(s.layout.width, 0);
            QCOMPARE(s.layout.height, 0);
            QCOMPARE(s.layout.folderPanelWidth, 200);
            QCOMPARE(s.layout.upperAreaHeight, 315);
            QCOMPARE(s.layout.meterListHeight, 169);
            for (int g = 0; g < kGridCount; ++g) {
                QCOMPARE(s.columns[g].codes, QVector<std::uint8_t>(kGridColumnCount[g], 0));
                QCOMPARE(s.columns[g].visible, QVector<bool>(kGridColumnCount[g], false));
            }
        }
    }

    void wrongChecksumIgnoresWholeFile()
    {
        QByteArray raw(130, '\0');
        raw[14] = 0; // Russian
        raw[17] = 1; // 19200
        raw[129] = 1; // checksum no longer matches
        const AppSettings s = parseSettings(raw);
        QVERIFY(!s.takenFromFile);
        QCOMPARE(int(s.language), int(LanguageEnglish));
        QCOMPARE(s.rateIndex, 3);
    }

    void truncatedFileCountsMissingBytesAsZero()
    {
        // A valid record cut short after 100 bytes: the missing bytes count
        // as zero, the checksum no longer matches and the defaults are used.
        QByteArray raw(130, '\0');
        raw[14] = 1;
        raw = sealed(raw);
        QVERIFY(parseSettings(raw).takenFromFile);
        QVERIFY(!parseSettings(raw.left(100)).takenFromFile);
        QByteArray garbage("\xff\x13\x00garbage", 10);
        QVERIFY(!parseSettings(garbage).takenFromFile);
    }

    void outOfRangeFieldsKeepTheirDefaults()
    {
        QByteArray raw(130, '\0');
        putWord(raw, 2, 65535); // Left
        putWord(raw, 0, 761); // Top
        putWord(raw, 4, 1234); // Width, unchecked
        putWord(raw, 6, 3); // Height, unchecked
        putWord(raw, 8, 49); // folder panel
        putWord(raw, 10, 49); // upper area
        putWord(raw, 12, 49); // meter list
        raw[14] = 2; // language
        raw[15] = 2; // interface
        raw[16] = char(255); // port
        raw[17] = 4; // rate
        const AppSettings s = parseSettings(sealed(raw));
        QVERIFY(s.takenFromFile);
        QCOMPARE(s.layout.left, 0);
        QCOMPARE(s.layout.top, 0);
        QCOMPARE(s.layout.width, 1234);
        QCOMPARE(s.layout.height, 3);
        QCOMPARE(s.layout.folderPanelWidth, 200);
        QCOMPARE(s.layout.upperAreaHeight, 315);
        QCOMPARE(s.layout.meterListHeight, 169);
        QCOMPARE(int(s.language), int(LanguageEnglish));
        QCOMPARE(int(s.interfaceType), int(InterfaceUsb));
        QCOMPARE(s.portIndex, 0);
        QCOMPARE(s.rateIndex, 3);
    }

    void boundaryValuesAreTaken()
    {
        QByteArray raw(130, '\0');
        putWord(raw, 2, 1000);
        putWord(raw, 0, 760);
        putWord(raw, 8, 50);
        putWord(raw, 10, 50);
        putWord(raw, 12, 50);
        raw[15] = 1;
        raw[16] = char(254);
        raw[17] = 3;
        raw[14] = 1;
        const AppSettings s = parseSettings(sealed(raw));
        QCOMPARE(s.layout.left, 1000);
        QCOMPARE(s.layout.top, 760);
        QCOMPARE(s.layout.folderPanelWidth, 50);
        QCOMPARE(s.layout.upperAreaHeight, 50);
        QCOMPARE(s.layout.meterListHeight, 50);
        QCOMPARE(int(s.interfaceType), int(InterfaceSerial));
        QCOMPARE(s.portIndex, 254);
        QCOMPARE(s.rateIndex, 3);
    }

    void encodedLayoutMatchesOffsets()
    {
        AppSettings s = defaultSettings();
        s.layout = {0x0102, 0x0304, 0x0506, 0x0708, 0x090A, 0x0B0C, 0x0D0E};
        s.language = 0;
        s.interfaceType = 1;
        s.portIndex = 0x1FF; // only the low byte is stored
        s.rateIndex = 2;
        s.columns[GridPhase34].codes[0] = 7;
        s.columns[GridPhase34].visible[1] = false;
        const QByteArray raw = encodeSettings(s);
        QCOMPARE(raw.size(), 130);
        // Top is stored before Left.
        QCOMPARE(raw.left(14), testsupport::hex("0403 0201 0605 0807 0A09 0C0B 0E0D"));
        QCOMPARE(raw.mid(14, 4), testsupport::hex("00 01 FF 02"));
        QCOMPARE(raw.mid(18, 11), testsupport::hex("00 01 02 03 04 05 06 07 08 09 0A"));
        QCOMPARE(raw.mid(29, 11), testsupport::hex("01 01 01 01 01 01 01 01 01 00 00"));
        QCOMPARE(raw.mid(40, 16), testsupport::hex("00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F"));
        QCOMPARE(raw.mid(56, 16), testsupport::hex("01 01 01 01 01 01 01 01 01 01 01 01 01 01 00 00"));
        QCOMPARE(int(raw[72]), 7);
        QCOMPARE(int(raw[100]), 1);
        QCOMPARE(int(raw[101]), 0);
        QVERIFY(IsBlockValid(raw));
        const quint16 crc = RecordChecksum(raw.left(128));
        QCOMPARE(quint8(raw[128]), quint8(crc >> 8));
        QCOMPARE(quint8(raw[129]), quint8(crc & 0xFF));
    }

    void roundTripThroughFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("config.cfg"));
        AppSettings s = defaultSettings();
        s.layout = {30, 40, 900, 700, 250, 300, 120};
        s.language = 0;
        s.interfaceType = 1;
        s.portIndex = 12;
        s.rateIndex = 1;
        std::swap(s.columns[GridPhase34].codes[1], s.columns[GridPhase34].codes[5]);
        QVERIFY(saveSettingsFile(path, s));
        QCOMPARE(QFileInfo(path).size(), qint64(130));
        const AppSettings back = loadSettingsFile(path);
        QVERIFY(back.takenFromFile);
        QCOMPARE(back.layout.left, 30);
        QCOMPARE(back.layout.top, 40);
        QCOMPARE(back.layout.meterListHeight, 120);
        QCOMPARE(back.portIndex, 12);
        QCOMPARE(back.rateIndex, 1);
        QCOMPARE(back.columns[GridPhase34].codes, s.columns[GridPhase34].codes);
        QCOMPARE(back.columns[GridPhase34].visible, s.columns[GridPhase34].visible);
        // Default columns when saved and reloaded stay the defaults.
        QCOMPARE(back.columns[GridPhase12].visible, defaultSettings().columns[GridPhase12].visible);
        QCOMPARE(validDefaults().size(), 130);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
