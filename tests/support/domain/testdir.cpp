#include "testdir.h"

#include <QCoreApplication>
#include <QFile>

namespace testsupport {

QString binDir()
{
    const QByteArray env = qgetenv("VARDOSK_BIN_DIR");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    return QCoreApplication::applicationDirPath();
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

QByteArray hex(const char *digits)
{
    QByteArray compact(digits);
    compact.replace(' ', "");
    compact.replace('\n', "");
    return QByteArray::fromHex(compact);
}

} // namespace testsupport
