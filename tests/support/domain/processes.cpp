#include "processes.h"

#include "testdir.h"

#include <QDeadlineTimer>
#include <QFile>

namespace testsupport {

QString emulatorProgram()
{
    return binDir() + QStringLiteral("/vardosk-instrument-sim");
}

bool emulatorBuilt()
{
    return QFile::exists(emulatorProgram());
}

Emulator::Emulator(const QStringList &arguments)
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(emulatorProgram(), arguments);
    if (!m_process.waitForStarted(5000))
        return;
    const QDeadlineTimer deadline(5000);
    while (!m_process.canReadLine() && !deadline.hasExpired() && m_process.state() == QProcess::Running)
        m_process.waitForReadyRead(100);
    path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
}

Emulator::~Emulator()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

bool Emulator::stop()
{
    m_process.terminate();
    if (!m_process.waitForFinished(5000))
        return false;
    return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

int runEmulatorToEnd(const QStringList &arguments, QByteArray *output, int timeoutMs)
{
    QProcess p;
    p.start(emulatorProgram(), arguments);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (output)
        *output = p.readAllStandardOutput() + p.readAllStandardError();
    return p.exitCode();
}

CliRun runCli(const QStringList &arguments, const QProcessEnvironment &environment, int timeoutMs,
              const QByteArray &input)
{
    QProcess p;
    if (!environment.isEmpty())
        p.setProcessEnvironment(environment);
    p.start(binDir() + QStringLiteral("/vardosk-cli"), arguments);
    if (!input.isEmpty()) {
        p.write(input);
        p.closeWriteChannel();
    }
    CliRun run;
    if (!p.waitForFinished(timeoutMs))
        return run;
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.rawOut = p.readAllStandardOutput();
    run.out = QString::fromUtf8(run.rawOut);
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

} // namespace testsupport
