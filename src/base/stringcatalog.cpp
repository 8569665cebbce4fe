#include "stringcatalog.h"

#include "stringcatalogdata.h"
#include "textlookup.h"

const QVector<CatalogItem> &catalogItems()
{
    static const QVector<CatalogItem> items = [] {
        QVector<CatalogItem> all;
        stringcatalog_detail::appendMainSection(all);
        stringcatalog_detail::appendSecondarySections(all);
        return all;
    }();
    return items;
}

const QVector<CatalogItem> &catalogExtraElements()
{
    static const QVector<CatalogItem> items = [] {
        QVector<CatalogItem> all;
        stringcatalog_detail::appendExtraElements(all);
        return all;
    }();
    return items;
}

QVector<CatalogItem> catalogSection(const QString &section)
{
    QVector<CatalogItem> result;
    for (const CatalogItem &item : catalogItems()) {
        if (item.section == section)
            result.append(item);
    }
    return result;
}

const QStringList &secondarySectionKeys()
{
    static const QStringList keys = {
        QStringLiteral("MeterParsForm"),      QStringLiteral("ContentForm"),       QStringLiteral("ConstForm"),
        QStringLiteral("CommParsForm"),       QStringLiteral("ExchangeForm"),      QStringLiteral("EnterPasswordForm"),
        QStringLiteral("ChangePasswordForm"), QStringLiteral("TitleReportForm"),   QStringLiteral("ViewParametersForm"),
        QStringLiteral("AboutForm"),          QStringLiteral("MeterDatabaseForm"), QStringLiteral("ReportForm"),
    };
    return keys;
}

QString catalogDefault(const QString &section, const QString &path, int language)
{
    for (const QVector<CatalogItem> *list : {&catalogItems(), &catalogExtraElements()}) {
        for (const CatalogItem &item : *list) {
            if (item.section == section && item.path == path)
                return language == 0 ? item.rus : item.eng;
        }
    }
    return QString();
}

QString messageKey(int n)
{
    return QStringLiteral("Error") + QString::number(n);
}

QString messagePath(int n)
{
    return kMessageGroup + QLatin1Char('/') + messageKey(n);
}

QString fatalStringsMessage(const std::function<QString(int n)> &given, int language)
{
    const auto text = [&](int n) {
        const QString fromFile = given(n);
        return fromFile.isEmpty() ? catalogDefault(kMainSectionKey, messagePath(n), language) : fromFile;
    };
    return text(34) + QLatin1Char('\n') + text(35);
}

TextLookup catalogTextLookup(int language)
{
    return [language](const QString &section, const QString &path) { return catalogDefault(section, path, language); };
}
