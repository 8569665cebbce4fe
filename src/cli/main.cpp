// vardosk-cli: the headless front end of the program's domain library, for
// scripts, support staff and benchmarks.
#include "commands.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

struct Command {
    const char *name;
    int (*run)(const QStringList &);
    const char *usage;
};

const Command kCommands[] = {
    {"dump", runDump, "dump [--language ru|en] FILE.pcn...   print stored verification files as JSON lines"},
    {"scan", runScan, "scan FOLDER                            list the meters of a folder as JSON lines"},
    {"content", runContent, "content --port DEVICE [--rate BAUD] [--usb] [--trace FILE]   read the instrument's archive content"},
    {"read-archive", runReadArchive, "read-archive --port DEVICE [--rate BAUD] [--usb] --into FOLDER [--records all|N,N,...] [--trace FILE]"},
    {"meterdb", runMeterDb, "meterdb show FILE.bdc | read --port DEVICE [--rate BAUD] [--usb] --out FILE.bdc | write FILE.bdc --port DEVICE [--rate BAUD] [--usb]"},
};

int usage()
{
    QTextStream err(stderr);
    err << "usage: vardosk-cli COMMAND [ARGS]\n";
    for (const Command &c : kCommands)
        err << "  " << c.usage << "\n";
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString name = args.takeFirst();
    for (const Command &c : kCommands) {
        if (name == QLatin1String(c.name))
            return c.run(args);
    }
    return usage();
}
