#include "appservices.h"

#include "base/stringcatalog.h"

#include <QGuiApplication>

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

void setProgramCaption(QWidget *window, const QString &caption)
{
    QGuiApplication::setApplicationDisplayName(caption);
    if (window)
        window->setWindowTitle(caption);
}
