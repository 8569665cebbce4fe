// The one JSON writer of the command-line tool. Every command prints one
// JSON value per line; members keep the order they are added in. Two
// spacings exist because the commands' outputs were published with them:
// "spaced" (`{"a": 1, "b": 2}`) and "compact" (`{"a":1,"b":2}`).
#pragma once

#include <QString>
#include <QStringList>

namespace json {

enum class Spacing { Spaced, Compact };

// A string literal: quote, backslash and the control characters escaped
// (\b \f \n \r \t by name, the others as \u00xx); everything else as is.
QString string(const QString &text);

// The shortest text that reads back as the same double, with a point as the
// decimal separator whatever the locale; null when not finite.
QString number(double value);

// An integer in decimal.
QString integer(qint64 value);

// An array of values already written as JSON.
QString array(const QStringList &values, Spacing spacing = Spacing::Spaced);

// An object built member by member, in the order of the calls.
class Object {
public:
    explicit Object(Spacing spacing = Spacing::Spaced) : m_spacing(spacing) {}

    // A member whose value is already JSON text.
    Object &raw(const QString &key, const QString &jsonValue);
    Object &text(const QString &key, const QString &value) { return raw(key, string(value)); }
    Object &integer(const QString &key, qint64 value) { return raw(key, json::integer(value)); }
    Object &number(const QString &key, double value) { return raw(key, json::number(value)); }
    Object &boolean(const QString &key, bool value)
    {
        return raw(key, value ? QStringLiteral("true") : QStringLiteral("false"));
    }

    QString toString() const;

private:
    Spacing m_spacing;
    QStringList m_members;
};

} // namespace json
