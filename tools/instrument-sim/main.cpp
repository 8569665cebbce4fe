// vardosk-instrument-sim: the verification instrument on a pseudo-terminal,
// for tests, demonstrations and support without the real instrument.
#include "archive.h"
#include "folderimport.h"
#include "instrument.h"
#include "meterdb.h"
#include "options.h"
#include "profile.h"
#include "pty.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "vardosk-instrument-sim: %s\n", qPrintable(message));
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    // Termination requests arrive through a descriptor the serving loop
    // polls, so a sleeping or writing loop ends cleanly.
    sigset_t mask;
    sigemptyset(&mask);
    sigaddset(&mask, SIGTERM);
    sigaddset(&mask, SIGINT);
    sigprocmask(SIG_BLOCK, &mask, nullptr);
    const int signalFd = signalfd(-1, &mask, SFD_CLOEXEC);

    QCoreApplication app(argc, argv);
    sim::SimOptions options;
    QString error;
    if (!sim::parseOptions(app.arguments().mid(1), options, error))
        return fail(error);
    if (options.help) {
        std::fputs(qPrintable(sim::helpText()), stdout);
        return 0;
    }
    if (signalFd < 0)
        return fail(QStringLiteral("cannot watch for termination signals"));

    sim::InstrumentProfile profile;
    sim::makeProfile(options.modelClass, static_cast<std::uint16_t>(options.serial), profile);
    if (!options.typeName.isEmpty())
        profile.typeName = options.typeName;
    if (options.version1 >= 0) {
        profile.version1 = static_cast<std::uint16_t>(options.version1);
        profile.version2 = static_cast<std::uint16_t>(options.version2);
    }
    if (options.scenario.records > profile.maxRecords())
        return fail(QStringLiteral("this instrument holds at most %1 verifications").arg(profile.maxRecords()));

    QVector<sim::SimRecord> archive;
    if (!options.fromFolder.isEmpty()) {
        if (!sim::loadArchiveFromFolder(options.fromFolder, profile, archive, error))
            return fail(error);
        if (archive.size() > profile.maxRecords())
            archive.resize(profile.maxRecords());
    } else {
        archive = sim::generateArchive(profile, options.scenario);
    }

    sim::MeterDatabase database(profile.newer);
    if (!options.dbFile.isEmpty() && !database.attachFile(options.dbFile, error))
        return fail(error);

    sim::PtyMaster pty;
    if (!pty.open(error))
        return fail(error);
    std::printf("%s\n", qPrintable(pty.slavePath()));
    std::fflush(stdout);

    sim::Instrument instrument(profile, archive, options.faults, database);
    sim::LineOptions line;
    line.baud = options.baud;
    line.verbose = options.verbose;
    const int status = sim::serve(pty, instrument, line, signalFd);
    ::close(signalFd);
    return status;
}
