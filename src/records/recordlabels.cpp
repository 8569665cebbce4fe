#include "records/recordlabels.h"

#include "base/stringcatalog.h"

QString RecordLabels::instrumentName(int type) const
{
    switch (type) {
    case 0:
        return nameQS77;
    case 1:
    case 2:
        return nameQS75;
    case 3:
        return nameQT77;
    case 5:
    case 6:
        return nameQK76;
    default:
        return QString();
    }
}

RecordLabels RecordLabels::fromTexts(const std::function<QString(const QString &path)> &text, const QLocale &locale)
{
    RecordLabels labels;
    labels.trans = text(QStringLiteral("ResultsTableTitles/TransDescription"));
    labels.clamp = text(QStringLiteral("ResultsTableTitles/ClampDescription"));
    labels.nameQS77 = text(QStringLiteral("CalibrationMainTableTitles/QS77"));
    labels.nameQS75 = text(QStringLiteral("CalibrationMainTableTitles/QS75"));
    labels.nameQT77 = text(QStringLiteral("CalibrationMainTableTitles/QT77"));
    labels.nameQK76 = text(QStringLiteral("CalibrationMainTableTitles/QK76"));
    labels.locale = locale;
    return labels;
}

RecordLabels RecordLabels::defaults(int language, const QLocale &locale)
{
    return fromTexts([language](const QString &path) { return catalogDefault(kMainSectionKey, path, language); },
                     locale);
}
