#include "records/metertype.h"

#include "records/cp1251.h"

#include <array>
#include <utility>

namespace {

// The stored byte that decodes to U+0000: 224 + 32 wraps around to 0.
constexpr std::uint8_t kStoredNul = 224;

// Characters that cannot stand in a file name and are shown as "+".
bool isFileNameForbidden(QChar c)
{
    switch (c.unicode()) {
    case u'"':
    case u'*':
    case u'/':
    case u':':
    case u'<':
    case u'>':
    case u'?':
    case u'\\':
    case u'|':
        return true;
    default:
        return false;
    }
}

// The stored byte of one character: Cyrillic letters 32 lower, the letters
// 161..191 not at all. U+0000 inside a designation comes from a stored byte
// 224 (which decodes to it modulo 256); it goes back as that byte, because a
// zero byte would end the designation there.
std::optional<std::uint8_t> storedByte(QChar c)
{
    if (c.unicode() == 0)
        return kStoredNul;
    const std::optional<std::uint8_t> code = cp1251::fromUnicode(c);
    if (!code || (*code >= 161 && *code <= 191))
        return std::nullopt;
    return static_cast<std::uint8_t>(*code >= 192 ? *code - 32 : *code);
}

} // namespace

QString DecodeMeterType(QByteArrayView stored)
{
    // Every stored verification passes through here when a folder is
    // scanned, so the bytes are handled on the stack.
    std::array<std::uint8_t, kMeterTypeBytes> b = MeterTypeSlot(stored);
    for (std::size_t i = 0; i + 1 < std::size_t(kMeterTypeMaxLength); i += 2)
        std::swap(b[i], b[i + 1]);
    int length = 0;
    while (length < kMeterTypeBytes && b[std::size_t(length)] != 0)
        ++length;
    QString text(length, Qt::Uninitialized);
    QChar *out = text.data();
    for (int i = 0; i < length; ++i) {
        std::uint8_t u = b[std::size_t(i)];
        if (u >= 160)
            u = static_cast<std::uint8_t>(u + 32);
        const QChar c = cp1251::toUnicode(u);
        out[i] = isFileNameForbidden(c) ? QLatin1Char('+') : c;
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
        const std::optional<std::uint8_t> stored = storedByte(text[i]);
        if (!stored)
            return std::nullopt;
        b[i] = static_cast<char>(*stored);
    }
    for (int i = 0; i + 1 < kMeterTypeMaxLength; i += 2)
        std::swap(b[i], b[i + 1]);
    return b;
}

std::optional<QByteArray> EncodeDecodedMeterType(const QString &text)
{
    if (text.size() > kMeterTypeBytes)
        return std::nullopt;
    std::optional<QByteArray> b = EncodeMeterType(text.left(kMeterTypeMaxLength));
    for (int i = kMeterTypeMaxLength; b && i < text.size(); ++i) {
        const std::optional<std::uint8_t> stored = storedByte(text[i]);
        if (!stored)
            return std::nullopt;
        (*b)[i] = static_cast<char>(*stored);
    }
    return b;
}

std::array<std::uint8_t, kMeterTypeBytes> MeterTypeSlot(QByteArrayView stored)
{
    std::array<std::uint8_t, kMeterTypeBytes> b{};
    for (qsizetype i = 0; i < kMeterTypeBytes && i < stored.size(); ++i)
        b[std::size_t(i)] = static_cast<std::uint8_t>(stored[i]);
    return b;
}

QString VisibleMeterType(const QString &text)
{
    QString shown = text;
    for (QChar &c : shown)
        if (c.category() == QChar::Other_Control)
            c = QChar(QChar::ReplacementCharacter);
    return shown;
}
