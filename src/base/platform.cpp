#include "platform.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

#include <algorithm>
#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
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

namespace {

// A program folder holds its own data and settings when it is writable and
// is not the bin/ folder of an installation (beside share/vardosk/): an
// installed program run by root, or from a user-owned prefix, still keeps
// each user's data in that user's folders.
bool isPortableFolder(const QString &programFolder)
{
    return isFolderWritable(programFolder)
           && !QFileInfo(withSlash(programFolder) + QStringLiteral("../share/vardosk")).isDir();
}

} // namespace

QString dataFolderFor(const QString &programFolder)
{
    if (isPortableFolder(programFolder))
        return withSlash(programFolder) + QStringLiteral("Data/");
    return withSlash(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)) + QStringLiteral("Data/");
}

QString configFilePathFor(const QString &programFolder)
{
    if (isPortableFolder(programFolder))
        return withSlash(programFolder) + QStringLiteral("config.cfg");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    return withSlash(folder) + QStringLiteral("config.cfg");
}

QString userConfigFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    return withSlash(folder);
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
                       MOVEFILE_REPLACE_EXISTING)
           != 0;
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
    return removeStaleTemporaryWrites(folder, listFolder(folder).files, targetSuffix, maxAge);
}

int removeStaleTemporaryWrites(const QString &folder, const QStringList &fileNames, const QString &targetSuffix,
                               std::chrono::seconds maxAge)
{
    const QDateTime limit = QDateTime::currentDateTimeUtc().addSecs(-maxAge.count());
    const QString prefix = withSlash(folder);
    int removed = 0;
    // Only the names of the one listing are looked at; a status call is made
    // for the rare temporary file alone (folders of ten thousand files are
    // scanned often).
    for (const QString &name : fileNames) {
        if (!isTemporaryWriteName(name, targetSuffix))
            continue;
        const QFileInfo entry(prefix + name);
        if (!entry.isSymLink() && entry.lastModified().toUTC() < limit && QFile::remove(entry.absoluteFilePath()))
            ++removed;
    }
    return removed;
}

#ifndef Q_OS_WIN
namespace {

// File systems whose folders count their sub-folders in their link count
// (2 + sub-folders): ext2/3/4, XFS and tmpfs. Others (btrfs counts 1,
// network and foreign file systems may report anything) are listed.
bool countsSubFolderLinks(int dirFd)
{
    struct statfs fs {};
    if (::fstatfs(dirFd, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0xEF53UL: // ext2, ext3, ext4
    case 0x58465342UL: // XFS
    case 0x01021994UL: // tmpfs
        return true;
    default:
        return false;
    }
}

// A folder of a file system that counts sub-folder links, with a link count
// of exactly 2 ("." and its entry in the parent), holds no sub-folder. A
// folder on another device (a mount point) is not judged.
bool holdsNoFolders(int parentFd, dev_t parentDevice, const char *name)
{
    struct stat st {};
    if (::fstatat(parentFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_dev == parentDevice && st.st_nlink == 2;
}

} // namespace
#endif

FolderEntries listFolder(const QString &folder, FolderDetail detail)
{
    FolderEntries entries;
#ifdef Q_OS_WIN
    QDir dir(folder);
    if (!dir.exists() || !dir.isReadable())
        return entries;
    entries.listed = true;
    const QFileInfoList infos =
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo &info : infos) {
        if (info.isDir() && !info.isSymLink())
            entries.folders.append(info.fileName());
        else if (info.isFile())
            entries.files.append(info.fileName());
    }
    if (detail == FolderDetail::EmptyOfFolders)
        entries.holdsNoFolders = QList<bool>(entries.folders.size(), false);
#else
    // One pass over the directory; the entry's type comes with its name on
    // most file systems, so that no entry needs a status call of its own.
    const QByteArray path = QFile::encodeName(folder);
    DIR *dir = ::opendir(path.constData());
    if (!dir)
        return entries;
    entries.listed = true;
    const int dirFd = ::dirfd(dir);
    bool judgeFolders = false;
    dev_t device = 0;
    if (detail == FolderDetail::EmptyOfFolders) {
        struct stat self {};
        judgeFolders = countsSubFolderLinks(dirFd) && ::fstat(dirFd, &self) == 0;
        device = self.st_dev;
    }
    while (const dirent *e = ::readdir(dir)) {
        const char *name = e->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        unsigned char type = e->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st {};
            if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : S_ISLNK(st.st_mode) ? DT_LNK : 0;
        }
        if (type == DT_LNK) {
            struct stat st {};
            if (::fstatat(dirFd, name, &st, 0) != 0 || !S_ISREG(st.st_mode))
                continue;
            type = DT_REG;
        }
        if (type == DT_DIR) {
            entries.folders.append(QFile::decodeName(name));
            if (detail == FolderDetail::EmptyOfFolders)
                entries.holdsNoFolders.append(judgeFolders && holdsNoFolders(dirFd, device, name));
        } else if (type == DT_REG)
            entries.files.append(QFile::decodeName(name));
    }
    ::closedir(dir);
#endif
    return entries;
}

std::optional<QByteArray> readWholeFile(const QString &path, qint64 maxSize)
{
#ifdef Q_OS_WIN
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxSize)
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() > maxSize)
        return std::nullopt;
    return bytes;
#else
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> result;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= maxSize) {
        // One byte more than the size asked for: a read that returns less
        // has met the end, so that no further read is needed to find it. A
        // file that grows meanwhile is read on up to maxSize.
        QByteArray bytes(qsizetype(st.st_size) + 1, Qt::Uninitialized);
        qint64 got = 0;
        bool failed = false;
        for (;;) {
            const ssize_t n = ::read(fd, bytes.data() + got, std::size_t(bytes.size() - got));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                failed = true;
                break;
            }
            got += n;
            if (n == 0 || got < bytes.size())
                break;
            if (got > maxSize) {
                failed = true;
                break;
            }
            bytes.resize(std::min<qint64>(bytes.size() * 2, maxSize + 1));
        }
        if (!failed) {
            bytes.truncate(got);
            result = std::move(bytes);
        }
    }
    ::close(fd);
    return result;
#endif
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

    QFileDevice::Permissions perms =
        QFileDevice::ReadOwner | QFileDevice::ReadUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
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

QString loadUserValue(const QString &key)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Korvel"), QStringLiteral("Tessmer"));
    return store.value(key).toString();
}

bool storeUserValue(const QString &key, const QString &value)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Korvel"), QStringLiteral("Tessmer"));
    store.setValue(key, value);
    store.sync();
    const bool ok = store.status() == QSettings::NoError;
    QFile::setPermissions(store.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return ok;
}

QString fontFamily(const QString &family)
{
    if (QFontDatabase::hasFamily(family))
        return family;
    if (family == QLatin1String("Times New Roman"))
        return QStringLiteral("Liberation Serif");
    if (family == QLatin1String("Arial"))
        return QStringLiteral("Liberation Sans");
    if (family == QLatin1String("Courier New"))
        return QStringLiteral("Liberation Mono");
    return family;
}

bool preferProportionalUiFont()
{
    QFont font = QGuiApplication::font();
    if (!QFontInfo(font).fixedPitch() || !QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")))
        return false;
    font.setFamily(QStringLiteral("Liberation Sans"));
    QGuiApplication::setFont(font);
    return true;
}

void openDocument(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void openSpreadsheet(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (const char *program : {"localc", "libreoffice", "soffice"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(program));
        if (found.isEmpty())
            continue;
        // The file is one argument of its own, so blanks in its name are safe.
        if (QProcess::startDetached(found, {QStringLiteral("--calc"), absolute}))
            return;
    }
    openDocument(absolute);
}

} // namespace platform
