#include "jsonwriter.h"

#include <charconv>
#include <cmath>

namespace json {

QString string(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\b':
            out += QLatin1String("\\b");
            break;
        case '\f':
            out += QLatin1String("\\f");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString number(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("null");
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return QString::fromLatin1(buf, res.ptr - buf);
}

QString integer(qint64 value)
{
    return QString::number(value);
}

QString array(const QStringList &values, Spacing spacing)
{
    const QLatin1String separator = spacing == Spacing::Spaced ? QLatin1String(", ") : QLatin1String(",");
    return QLatin1Char('[') + values.join(separator) + QLatin1Char(']');
}

Object &Object::raw(const QString &key, const QString &jsonValue)
{
    const QLatin1String colon = m_spacing == Spacing::Spaced ? QLatin1String(": ") : QLatin1String(":");
    m_members << string(key) + colon + jsonValue;
    return *this;
}

QString Object::toString() const
{
    const QLatin1String separator = m_spacing == Spacing::Spaced ? QLatin1String(", ") : QLatin1String(",");
    return QLatin1Char('{') + m_members.join(separator) + QLatin1Char('}');
}

} // namespace json
