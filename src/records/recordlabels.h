// The localized texts that reading a stored verification puts into memory:
// the labels of current ranges through a transformer or clamps, the names of
// the reference-standard instruments, and the locale whose decimal separator
// the range texts use. The main window fills it from its loaded strings;
// `defaults` takes the built-in texts of a language.
#pragma once

#include <QLocale>
#include <QString>

#include <functional>

struct RecordLabels {
    QString trans; // "TransDescription": range through a current transformer
    QString clamp; // "ClampDescription": range through current clamps
    QString nameQS77; // instrument types 0
    QString nameQS75; // instrument types 1 and 2
    QString nameQT77; // instrument type 3
    QString nameQK76; // instrument types 5 and 6
    QLocale locale; // decimal separator of the range texts

    // The display name of an instrument type; "" for an unknown type.
    QString instrumentName(int type) const;

    // Labels from a lookup of the main window's section by item path
    // ("ResultsTableTitles/TransDescription", "CalibrationMainTableTitles/QS77"
    // and so on), e.g. the loaded string file in the current language.
    static RecordLabels fromTexts(const std::function<QString(const QString &path)> &text, const QLocale &locale);

    // Built-in texts of a language (0 Russian, 1 English) with the given
    // locale (the user's by default).
    static RecordLabels defaults(int language, const QLocale &locale = QLocale());
};
