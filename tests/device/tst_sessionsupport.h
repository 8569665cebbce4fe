// Helpers of the archive reading tests: the instrument emulator on a
// pseudo-terminal, the command-line program, and the files of a folder read
// back with the file reader.
#pragma once

#include "records/meterfile.h"
#include "records/recordlabels.h"
#include "testdir.h"

#include <QDir>
#include <QMap>
#include <QProcess>
#include <QStringList>

namespace sessiontest {

// The emulator, started with the given options, ended when it goes out of
// scope. `path` is the pseudo-terminal it serves (empty when it did not
// start).
class Sim {
public:
    explicit Sim(const QStringList &args)
    {
        m_process.start(testsupport::binDir() + QStringLiteral("/vardosk-instrument-sim"), args);
        if (m_process.waitForStarted(5000) && m_process.waitForReadyRead(5000))
            path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~Sim()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
    Sim(const Sim &) = delete;
    Sim &operator=(const Sim &) = delete;

    QString path;

private:
    QProcess m_process;
};

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

inline CliRun runCli(const QStringList &args)
{
    QProcess p;
    p.start(testsupport::binDir() + QStringLiteral("/vardosk-cli"), args);
    CliRun run;
    if (!p.waitForFinished(120000))
        return run;
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

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
