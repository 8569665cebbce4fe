#include "metertypetext.h"

#include <QStringDecoder>

namespace device {

// Pairs swapped within the first 14 bytes, text up to the first zero byte,
// Cyrillic letters stored 32 lower, characters unfit for file names made "+".
QString meterTypeText(const QByteArray &sixteenBytes)
{
    QByteArray b = sixteenBytes.left(16);
    b.resize(16, '\0');
    for (int i = 0; i + 1 < 14; i += 2)
        std::swap(b[i], b[i + 1]);
    const int end = b.indexOf('\0');
    if (end >= 0)
        b.truncate(end);
    for (char &c : b) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 160)
            c = static_cast<char>(static_cast<unsigned char>(u + 32));
        if (QByteArrayView("\"*/:<>?\\|").contains(c))
            c = '+';
    }
    QStringDecoder decode("windows-1251");
    if (decode.isValid())
        return decode(b);
    return QString::fromLatin1(b);
}

} // namespace device
