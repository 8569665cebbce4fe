// The helper programs the tests start: the instrument emulator on a
// pseudo-terminal and the command-line tool.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace testsupport {

// Path of the built instrument emulator, and whether it is there.
QString emulatorProgram();
bool emulatorBuilt();

// The instrument emulator, started with `arguments`, for as long as the
// object lives. `path` is the pseudo-terminal it serves (the first line it
// prints); empty when it did not start.
class Emulator {
public:
    explicit Emulator(const QStringList &arguments);
    ~Emulator();
    Emulator(const Emulator &) = delete;
    Emulator &operator=(const Emulator &) = delete;

    // Ends the emulator; true when it ended normally with exit status 0.
    bool stop();

    QString path;

private:
    QProcess m_process;
};

// Runs the emulator until it ends by itself (argument checks, faults);
// its exit code, or -1 when it did not end within the time. Standard output
// and error go to `output` when given.
int runEmulatorToEnd(const QStringList &arguments, QByteArray *output = nullptr, int timeoutMs = 5000);

// One run of vardosk-cli.
struct CliRun {
    int exitCode = -1; // -1 when it did not end normally in time
    QByteArray rawOut;
    QString out; // standard output as UTF-8 text
    QString err;
};
// `input`, when given, is written to its standard input, which is then closed.
CliRun runCli(const QStringList &arguments, const QProcessEnvironment &environment = QProcessEnvironment(),
              int timeoutMs = 120000, const QByteArray &input = QByteArray());

} // namespace testsupport
