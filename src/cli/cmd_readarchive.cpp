#include "commands.h"

#include <QTextStream>

// Not built yet: the command is added together with its subsystem.
int runReadArchive(const QStringList &)
{
    QTextStream(stderr) << "this command is not available in this build\n";
    return 2;
}
