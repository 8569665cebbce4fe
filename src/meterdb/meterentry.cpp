#include "meterentry.h"

#include <QDate>

#include <algorithm>

namespace meterdb {

bool isTypeCharacter(QChar c)
{
    const char16_t u = c.unicode();
    if ((u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9'))
        return true;
    if ((u >= u'А' && u <= u'Я') || u == u'Ё')
        return true;
    return QStringView(u"()-.+_ ").contains(c);
}

bool isTypeTextAcceptable(const QString &text)
{
    return text.size() <= kTypeMaxLength && std::all_of(text.begin(), text.end(), isTypeCharacter);
}

bool isDigitsTextAcceptable(const QString &text)
{
    return text.size() <= kDigitsMaxLength
           && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

std::optional<double> decimalValue(const QString &text)
{
    int separators = 0;
    int digits = 0;
    for (QChar c : text) {
        if (c == u'.' || c == u',')
            ++separators;
        else if (c >= u'0' && c <= u'9')
            ++digits;
        else
            return std::nullopt;
    }
    if (separators > 1 || digits == 0)
        return std::nullopt;
    QString plain = text;
    const qsizetype comma = plain.indexOf(u',');
    if (comma >= 0)
        plain[comma] = u'.';
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

bool isDecimalTextAcceptable(const QString &text, int maxLength, double maxValue)
{
    if (text.isEmpty())
        return true;
    if (text.size() > maxLength)
        return false;
    const std::optional<double> value = decimalValue(text);
    return value && *value <= maxValue;
}

bool isClassTextAcceptable(const QString &text)
{
    return isDecimalTextAcceptable(text, kClassMaxLength, kClassMaxValue);
}

bool isNominalTextAcceptable(const QString &text)
{
    // Nominal values are stored in tenths: a second decimal would be lost.
    const qsizetype separator = std::max(text.indexOf(u'.'), text.indexOf(u','));
    if (separator >= 0 && text.size() - separator - 1 > 1)
        return false;
    return isDecimalTextAcceptable(text, kNominalMaxLength, kNominalMaxValue);
}

int lastYear()
{
    return QDate::currentDate().year();
}

int clampToBounds(int value, int minimum, int maximum)
{
    return std::clamp(value, minimum, maximum);
}

bool sameEntry(const MeterEntry &a, const MeterEntry &b)
{
    return a.meterType == b.meterType && a.serial == b.serial && a.year == b.year && a.accuracyClass == b.accuracyClass
           && a.constant == b.constant && a.uLineNom == b.uLineNom && a.uPhaseNom == b.uPhaseNom && a.iNom == b.iNom
           && a.i1 == b.i1 && a.i2 == b.i2;
}

int indexOfEntry(const MeterList &list, const MeterEntry &entry)
{
    for (int i = 0; i < list.size(); ++i) {
        if (sameEntry(list[i], entry))
            return i;
    }
    return -1;
}

} // namespace meterdb
