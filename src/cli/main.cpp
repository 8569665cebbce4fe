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
    {"content", runContent,
     "content --port DEVICE [--rate BAUD] [--usb] [--trace FILE] [--data FOLDER]   read the instrument's archive "
     "content"},
    {"read-archive", runReadArchive,
     "read-archive --port DEVICE [--rate BAUD] [--usb] --into FOLDER [--records all|new|N,N,...] [--data FOLDER] "
     "[--trace FILE]"},
    {"report", runReport,
     "report FILE.pcn [--verifications N,N,...] --out OUT.pdf|OUT.qrp [--title TEXT] [--ending TEXT] [--language "
     "ru|en] [--verdicts] [--curves] [--limits FILE]\n  report --from FILE.qrp --out OUT.pdf"},
    {"export", runExport,
     "export FILE.pcn [--verification N] --out OUT.xml [--language ru|en]   one verification as a spreadsheet"},
    {"export-folder", runExportFolder,
     "export-folder FOLDER --out OUT.csv [--language ru|en]   every verification of a folder as CSV"},
    {"find", runFind, "find [--serial TEXT] [--type TEXT] FOLDER   find meters below a data folder as JSON lines"},
    {"meterdb", runMeterDb,
     "meterdb show FILE.bdc | read --port DEVICE [--rate BAUD] [--usb] --out FILE.bdc | write FILE.bdc --port DEVICE "
     "[--rate BAUD] [--usb] [--password-stdin]"},
    {"verdict", runVerdict,
     "verdict FILE.pcn [--limits FILE]   each verification and point against the limits table as JSON"},
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
    const bool report = argc > 1 && qstrcmp(argv[1], "report") == 0;
    const auto app = report ? makeReportApplication(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QStringList args = app->arguments().mid(1);
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
