#include "platform.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

#include <algorithm>
#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

// Only tests install a fault; the program never does.
WriteFault &installedWriteFault()
{
    static WriteFault fault;
    return fault;
}

QString withSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

WriteFaultScope::WriteFaultScope(WriteFault fault)
{
    installedWriteFault() = std::move(fault);
}

WriteFaultScope::~WriteFaultScope()
{
    installedWriteFault() = nullptr;
}

QString programFolder()
{
    return withSlash(QCoreApplication::applicationDirPath());
}

bool isFolderWritable(const QString &folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

QString dataFolderFor(const QString &programFolder)
{
    if (isFolderWritable(programFolder))
        return withSlash(programFolder) + QStringLiteral("Data/");
    return withSlash(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)) + QStringLiteral("Data/");
}

QString configFilePathFor(const QString &programFolder)
{
    if (isFolderWritable(programFolder))
        return withSlash(programFolder) + QStringLiteral("config.cfg");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    return withSlash(folder) + QStringLiteral("config.cfg");
}

QString shippedFilePath(const QString &programFolder, const QString &fileName)
{
    const QString beside = withSlash(programFolder) + fileName;
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = QStandardPaths::locate(QStandardPaths::AppDataLocation, fileName);
    if (!installed.isEmpty())
        return installed;
    const QString shared = withSlash(programFolder) + QStringLiteral("../share/vardosk/") + fileName;
    if (QFileInfo::exists(shared))
        return QFileInfo(shared).canonicalFilePath();
    return beside;
}

bool setReadOnly(const QString &path, bool readOnly)
{
    QFile file(path);
    QFileDevice::Permissions perms = file.permissions();
    const QFileDevice::Permissions writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (readOnly)
        perms &= ~writeBits;
    else
        perms |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
    return file.setPermissions(perms);
}

bool isReadOnly(const QString &path)
{
    // The owner's bit, not "can I write": root can write anything.
    return !(QFile(path).permissions() & QFileDevice::WriteOwner);
}

bool replaceFile(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

namespace {
// The temporary file of a write: "." + target name + "." + the random part.
constexpr int kTemporaryRandomLength = 6;
} // namespace

bool isTemporaryWriteName(const QString &fileName, const QString &targetSuffix)
{
    const qsizetype minimum = 1 + targetSuffix.size() + 1 + kTemporaryRandomLength;
    if (fileName.size() <= minimum || !fileName.startsWith(QLatin1Char('.')))
        return false;
    const qsizetype dot = fileName.size() - kTemporaryRandomLength - 1;
    if (fileName.at(dot) != QLatin1Char('.') || !QStringView(fileName).left(dot).endsWith(targetSuffix))
        return false;
    for (QChar c : QStringView(fileName).mid(dot + 1)) {
        if (!(c.isDigit() || (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
              || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))))
            return false;
    }
    return true;
}

int removeStaleTemporaryWrites(const QString &folder, const QString &targetSuffix, std::chrono::seconds maxAge)
{
    const QStringList pattern{QStringLiteral(".*") + targetSuffix + QStringLiteral(".*")};
    const QDateTime limit = QDateTime::currentDateTimeUtc().addSecs(-maxAge.count());
    QDir dir(folder);
    int removed = 0;
    for (const QFileInfo &entry : dir.entryInfoList(pattern, QDir::Files | QDir::Hidden | QDir::System)) {
        if (isTemporaryWriteName(entry.fileName(), targetSuffix) && !entry.isSymLink()
            && entry.lastModified().toUTC() < limit && QFile::remove(entry.absoluteFilePath()))
            ++removed;
    }
    return removed;
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes, bool readOnly)
{
    const QFileInfo target(path);
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!temp.open())
        return false;

    constexpr qint64 kChunk = 4096;
    const WriteFault &fault = installedWriteFault();
    qint64 written = 0;
    while (written < bytes.size()) {
        if (fault && fault(path, written))
            return false; // the temporary file is removed with `temp`
        const qint64 n = temp.write(bytes.constData() + written, std::min(kChunk, bytes.size() - written));
        if (n <= 0)
            return false;
        written += n;
    }
    if (fault && fault(path, written))
        return false;
    if (!temp.flush())
        return false;
#ifndef Q_OS_WIN
    if (::fsync(temp.handle()) != 0)
        return false;
#endif
    temp.close();

    QFileDevice::Permissions perms = QFileDevice::ReadOwner | QFileDevice::ReadUser | QFileDevice::ReadGroup
        | QFileDevice::ReadOther;
    if (!readOnly)
        perms |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
    temp.setPermissions(perms);

    if (!replaceFile(temp.fileName(), path))
        return false;
    temp.setAutoRemove(false);
    return true;
}

namespace {
constexpr int kMaxPasswordLength = 8;
}

QString loadStoredPassword()
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Korvel"), QStringLiteral("Tessmer"));
    const QVariant value = store.value(QStringLiteral("Password"));
    if (!value.isValid())
        return QString();
    const QString text = value.toString();
    if (text.size() > kMaxPasswordLength)
        return QString();
    return text;
}

namespace {

// Makes the store file exist readable and writable by its owner only before
// anything is written into it. The settings writer replaces the file by a
// temporary copy that takes over the permissions of the file it replaces,
// so the password is never in a file that others can read, not even for a
// moment.
bool makeOwnerOnly(const QString &path)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
#ifdef Q_OS_WIN
    return true;
#else
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
    if (fd < 0)
        return false;
    const bool ok = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0;
    ::close(fd);
    return ok;
#endif
}

} // namespace

bool storePassword(const QString &password)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Korvel"), QStringLiteral("Tessmer"));
    if (!makeOwnerOnly(store.fileName()))
        return false;
    store.setValue(QStringLiteral("Password"), password);
    store.sync();
    return store.status() == QSettings::NoError;
}

void openDocument(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace platform
