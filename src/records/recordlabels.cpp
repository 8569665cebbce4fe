#include "records/recordlabels.h"

#include "shell/stringcatalog.h"

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

RecordLabels RecordLabels::defaults(int language, const QLocale &locale)
{
    const auto text = [language](const char *path) {
        return catalogDefault(kMainSectionKey, QString::fromLatin1(path), language);
    };
    RecordLabels labels;
    labels.trans = text("ResultsTableTitles/TransDescription");
    labels.clamp = text("ResultsTableTitles/ClampDescription");
    labels.nameQS77 = text("CalibrationMainTableTitles/QS77");
    labels.nameQS75 = text("CalibrationMainTableTitles/QS75");
    labels.nameQT77 = text("CalibrationMainTableTitles/QT77");
    labels.nameQK76 = text("CalibrationMainTableTitles/QK76");
    labels.locale = locale;
    return labels;
}
