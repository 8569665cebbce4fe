#include "appservices.h"

#include "base/stringcatalog.h"

QString AppServices::mainText(const QString &path) const
{
    return text ? text(kMainSectionKey, path) : QString();
}

QString AppServices::message(int n) const
{
    return messageByKey(QStringLiteral("Error%1").arg(n));
}

QString AppServices::messageByKey(const QString &key) const
{
    return mainText(QStringLiteral("ErrorMessages/") + key);
}
