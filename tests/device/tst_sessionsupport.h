// Helpers of the archive reading tests: the emulator and the command-line
// program (shared helpers of all tests), and the files of a folder read back
// with the file reader.
#pragma once

#include "records/meterfile.h"
#include "processes.h"
#include "samplerecords.h"
#include "testdir.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

namespace sessiontest {

using Sim = testsupport::Emulator;
using testsupport::CliRun;
using testsupport::runCli;

// Every .pcn file of a folder, read back.
inline QMap<QString, MeterFileReadResult> readFolder(const QString &folder)
{
    QMap<QString, MeterFileReadResult> files;
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.pcn")}, QDir::Files, QDir::Name);
    for (const QString &name : names)
        files.insert(name, ReadMeterFile(QDir(folder).filePath(name)));
    return files;
}

// Readings that end before anything is stored, one table run through both
// doors (vardosk-cli read-archive and the main window): the emulator's
// arguments (none: a port that does not exist), whether the run gets as far
// as the choice of verifications (every one is then chosen), the result code
// and the status line ("%1": the port).
inline void addEndedReadings()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<bool>("chosen");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("status");
    QTest::newRow("empty archive") << QStringList{"--model-class", "3", "--records", "0"} << false << 11
                                   << " Log is empty.";
    QTest::newRow("no answer among the records")
        << QStringList{"--model-class", "3", "--records", "3", "--fault", "no-answer:5"} << true << 4
        << " No connection to device. Repeat your request.";
    QTest::newRow("no such port") << QStringList{} << false << 1
                                  << " COM Port unavailable %1 (the port is not present; is the cable plugged in?)";
}

// Every model class read whole, one table through both doors: the model
// class and what the first stored file (in name order) holds at its four
// points. Voltage ranges come from each model's built-in table (class 0:
// 400/250/100, class 1: 220/120/60, class 2: 480/240/120/60, class 3:
// 240/120/60) or the delivered list; the third point of every meter uses
// current clamps where the instrument has them.
inline void addModelClasses()
{
    QTest::addColumn<int>("modelClass");
    QTest::addColumn<QString>("voltageText");
    QTest::addColumn<QStringList>("currentTexts");
    QTest::newRow("class 0") << 0 << "100" << QStringList{"10 T", "10 T", "100 C", "10 T"};
    QTest::newRow("class 1") << 1 << "220" << QStringList{"1", "2.5", "2.5", "10"};
    QTest::newRow("class 2") << 2 << "240" << QStringList{"1", "2.5", "2.5", "10"};
    QTest::newRow("class 3") << 3 << "60" << QStringList{"1 T", "1 T", "10 C", "10 T"};
    QTest::newRow("class 5") << 5 << "240" << QStringList{"1 T", "5 T", "5 C", "10 T"};
    QTest::newRow("class 6") << 6 << "240" << QStringList{"1 T", "5 T", "5 C", "10 T"};
}

constexpr int kClassRecords = 6;

// The emulator of a model class row: six records of four points, instrument
// serial 4321.
inline QStringList modelClassSim(int modelClass)
{
    return QStringLiteral("--model-class %1 --records %2 --points 4 --serial 4321")
        .arg(modelClass)
        .arg(kClassRecords)
        .split(' ');
}

// The files a reading of every verification of a model class row stored.
inline void checkModelClassFiles(const QString &folder, int modelClass, const QString &voltageText,
                                 const QStringList &currentTexts)
{
    const auto files = readFolder(folder);
    QCOMPARE(files.size(), kClassRecords);
    for (const MeterFileReadResult &file : files) {
        QVERIFY(file.readable);
        QCOMPARE(int(file.meter.instrument.type), modelClass);
        QCOMPARE(int(file.meter.instrument.serial), 4321);
        QCOMPARE(file.meter.verifications.size(), 1);
        QCOMPARE(file.meter.verifications.first().points.size(), 4);
    }
    QStringList texts;
    const pcn::_blockdata &first = files.first().meter.verifications.first();
    for (int k = 0; k < first.points.size(); ++k) {
        texts << testsupport::rangeI(first, k);
        QCOMPARE(testsupport::rangeU(first, k), voltageText);
    }
    QCOMPARE(texts, currentTexts);
}

// A second reading of the same archive writes every file anew, a spoiled
// one included: the emulator and what the first stored file is spoiled with.
inline void addSecondReadings()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QByteArray>("spoil");
    QTest::newRow("class 0, three records, garbage")
        << QStringList{"--model-class", "0", "--records", "3", "--points", "2"} << QByteArray(40, 'x');
    QTest::newRow("class 1, two records, short file")
        << QStringList{"--model-class", "1", "--records", "2", "--points", "1"} << QByteArray("spoiled");
}

// Spoils the first stored file (made writable first: stored files are
// read-only); the file names of the first reading, empty when that failed.
inline QStringList spoilFirst(const QString &folder, const QByteArray &spoil)
{
    const QStringList names = readFolder(folder).keys();
    const QString first = names.isEmpty() ? QString() : QDir(folder).filePath(names.first());
    QFile::setPermissions(first, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (first.isEmpty() || !testsupport::writeAll(first, spoil) || ReadMeterFile(first).readable)
        return {};
    return names;
}

// After the second reading: the same files, the spoiled one whole again (one
// verification: the 67-byte header and one 1134-byte record) and read-only
// like every stored file.
inline void checkReplaced(const QStringList &names, const QString &folder)
{
    QVERIFY(!names.isEmpty());
    const auto second = readFolder(folder);
    QCOMPARE(second.keys(), names);
    const QFileInfo spoiled(QDir(folder).filePath(names.first()));
    QVERIFY(second.first().readable);
    QCOMPARE(spoiled.size(), 67 + 1134);
    QVERIFY(!(spoiled.permissions() & QFileDevice::WriteOwner));
}

// Verifications that cannot be stored: the message, and the files stored
// read back whole. Three records of class 1; a name is blocked by a folder of
// that name; a folder without write permission stops everyone but the
// superuser; the window's own process can also fail a write (counted from 1,
// -1 every write; 0 none).
inline void addUnstoredRecords()
{
    QTest::addColumn<QList<int>>("blocked"); // slots whose names are taken, counted from 0
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<int>("failing");
    QTest::addColumn<int>("stored");
    QTest::newRow("second of three") << QList<int>{1} << false << 0 << 2;
    QTest::newRow("no name can be created") << QList<int>{0, 1, 2} << false << 0 << 0;
    QTest::newRow("read-only folder") << QList<int>{} << true << 0 << 0;
}

inline const QStringList kUnstoredSim{"--model-class", "1", "--records", "3", "--points", "1"};

inline QString unstoredMessage(int stored)
{
    return QStringLiteral("Unable to create file. Verifications not stored: %1 of 3.").arg(3 - stored);
}

// Blocks the names of the given slots in `folder` (the names a reading of
// the emulator stores, learnt by a reading into a scratch folder) and makes
// the folder read-only when asked. False when that failed.
inline bool blockNames(const QString &port, const QString &folder, const QList<int> &blocked, bool readOnly)
{
    QTemporaryDir scratch;
    if (runCli({"read-archive", "--port", port, "--into", scratch.path()}).exitCode != 0)
        return false;
    const QStringList names = QDir(scratch.path()).entryList({QStringLiteral("*.pcn")}, QDir::Files, QDir::Name);
    for (int k : blocked) {
        if (k >= names.size() || !QDir(folder).mkdir(names.at(k)))
            return false;
    }
    if (readOnly)
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    return true;
}

inline void checkUnstoredFiles(const QString &folder, int stored)
{
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const auto files = readFolder(folder);
    QCOMPARE(files.size(), stored);
    for (const MeterFileReadResult &file : files)
        QVERIFY(file.readable);
}

} // namespace sessiontest
