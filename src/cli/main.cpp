// vardosk-cli: the headless front end of the program's domain library, for
// scripts, support staff and benchmarks.
#include "base/appstate.h"
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
};

// The command list: on standard output for --help (exit 0), on standard
// error after a wrong call (exit 2).
int usage(bool asked = false)
{
    QTextStream out(asked ? stdout : stderr);
    out << "usage: vardosk-cli COMMAND [ARGS]\n"
           "       vardosk-cli --help | --version\n";
    for (const Command &c : kCommands)
        out << "  " << c.usage << "\n";
    return asked ? 0 : 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h"))
        return usage(true);
    if (name == QLatin1String("--version") || name == QLatin1String("-v")) {
        QTextStream(stdout) << "vardosk-cli " << kVersionText << "\n";
        return 0;
    }
    for (const Command &c : kCommands) {
        if (name == QLatin1String(c.name))
            return c.run(args);
    }
    return usage();
}
