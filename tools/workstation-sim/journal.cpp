#include "journal.h"

QString verificationKey(const pcn::_blockdata &v)
{
    return QStringLiteral("%1|%2T%3|%4")
        .arg(v.serial)
        .arg(v.date.toString(Qt::ISODate), v.time.toString(Qt::ISODate))
        .arg(v.powerType);
}

void Journal::line(const QStringList &fields)
{
    m_out << fields.join(QLatin1Char('\t')) << '\n';
    m_out.flush();
}
