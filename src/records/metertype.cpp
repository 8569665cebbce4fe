#include "records/metertype.h"

#include "records/cp1251.h"

#include <utility>

namespace {

// Characters that cannot stand in a file name and are shown as "+".
bool isFileNameForbidden(QChar c)
{
    return QStringView(u"\"*/:<>?\\|").contains(c);
}

} // namespace

QString DecodeMeterType(QByteArrayView stored)
{
    QByteArray b(kMeterTypeBytes, '\0');
    for (qsizetype i = 0; i < kMeterTypeBytes && i < stored.size(); ++i)
        b[i] = stored[i];
    for (int i = 0; i + 1 < kMeterTypeMaxLength; i += 2)
        std::swap(b[i], b[i + 1]);
    const qsizetype end = b.indexOf('\0');
    if (end >= 0)
        b.truncate(end);
    QString text;
    text.reserve(b.size());
    for (char raw : b) {
        auto u = static_cast<std::uint8_t>(raw);
        if (u >= 160)
            u = static_cast<std::uint8_t>(u + 32);
        QChar c = cp1251::toUnicode(u);
        if (isFileNameForbidden(c))
            c = QLatin1Char('+');
        text.append(c);
    }
    return text;
}

std::optional<QByteArray> EncodeMeterType(const QString &text)
{
    if (text.size() > kMeterTypeMaxLength)
        return std::nullopt;
    QByteArray b(kMeterTypeBytes, '\0');
    for (int i = 0; i < kMeterTypeMaxLength; ++i) {
        if (i >= text.size()) {
            b[i] = ' ';
            continue;
        }
        const std::optional<std::uint8_t> code = cp1251::fromUnicode(text[i]);
        if (!code || (*code >= 161 && *code <= 191))
            return std::nullopt;
        b[i] = static_cast<char>(*code >= 192 ? *code - 32 : *code);
    }
    for (int i = 0; i + 1 < kMeterTypeMaxLength; i += 2)
        std::swap(b[i], b[i + 1]);
    return b;
}
