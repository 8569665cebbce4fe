// Helpers of the archive reading tests: the emulator and the command-line
// program (shared helpers of all tests), and the files of a folder read back
// with the file reader.
#pragma once

#include "records/meterfile.h"
#include "records/recordlabels.h"
#include "processes.h"
#include "testdir.h"

#include <QDir>
#include <QMap>
#include <QStringList>

namespace sessiontest {

using Sim = testsupport::Emulator;
using testsupport::CliRun;
using testsupport::runCli;

// Every .pcn file of a folder, read back with the labels of a language.
inline QMap<QString, MeterFileReadResult> readFolder(const QString &folder, int language = 1)
{
    QMap<QString, MeterFileReadResult> files;
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.pcn")}, QDir::Files, QDir::Name);
    for (const QString &name : names)
        files.insert(name, ReadMeterFile(QDir(folder).filePath(name), RecordLabels::defaults(language)));
    return files;
}

} // namespace sessiontest
