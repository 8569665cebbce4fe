// Helpers of the archive reading tests: the emulator and the command-line
// program (shared helpers of all tests), and the files of a folder read back
// with the file reader.
#pragma once

#include "records/meterfile.h"
#include "processes.h"
#include "testdir.h"

#include <QDir>
#include <QMap>
#include <QStringList>
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

} // namespace sessiontest
