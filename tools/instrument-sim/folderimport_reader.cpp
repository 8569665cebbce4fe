#include "folderimport.h"

namespace sim {

bool loadArchiveFromFolder(const QString &folder, const InstrumentProfile &, QVector<SimRecord> &, QString &error)
{
    error = QStringLiteral("--from-folder %1: the .pcn reader is not available in this build").arg(folder);
    return false;
}

} // namespace sim
