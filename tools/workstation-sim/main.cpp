// vardosk-workstation-sim: a workstation without a window, for the campaign
// of several workstations on one shared data folder and for trying a
// network folder before a workshop relies on it.
//
//   vardosk-workstation-sim run DATA ID SECONDS SEED JOURNAL
//       random record commands in DATA/A and DATA/B for at most SECONDS,
//       until JOURNAL.stop exists; prints
//       "commands done refused failed"
//   vardosk-workstation-sim audit DATA REFERENCE[,REFERENCE...] JOURNAL...
//       prints "files verifications expected edits drops kept refused" and
//       one line per problem; exit status 1 when there is any
#include "audit.h"
#include "workstation.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    QTextStream out(stdout);
    if (args.size() == 6 && args[0] == QLatin1String("run")) {
        QFile journal(args[5]);
        if (!journal.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
            return 2;
        QTextStream lines(&journal);
        const WorkstationRun run{args[1], args[2].toInt(), args[3].toInt(), args[4].toUInt(),
                                 args[5] + QStringLiteral(".stop")};
        const WorkstationCounts c = runWorkstation(run, lines);
        out << c.commands << ' ' << c.done << ' ' << c.refused << ' ' << c.failed << '\n';
        return 0;
    }
    if (args.size() >= 3 && args[0] == QLatin1String("audit")) {
        const AuditResult r = auditDataFolder(args[1], args[2].split(QLatin1Char(',')), args.mid(3));
        out << r.files << ' ' << r.verifications << ' ' << r.expected << ' ' << r.edits << ' ' << r.drops << ' '
            << r.kept << ' ' << r.refused << '\n';
        for (const QString &problem : r.problems)
            out << problem << '\n';
        return r.problems.isEmpty() ? 0 : 1;
    }
    std::fputs("usage: vardosk-workstation-sim run DATA ID SECONDS SEED JOURNAL\n"
               "       vardosk-workstation-sim audit DATA REFERENCE[,REFERENCE...] JOURNAL...\n",
               stderr);
    return 2;
}
