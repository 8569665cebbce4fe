#include "platform.h"
#include "platformnative.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QMimeDatabase>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

#include <algorithm>
#include <cstdio>

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

bool writeFileAtomically(const QString &path, const QByteArray &bytes, bool readOnly)
{
    return writeFileAtomically(path, bytes, readOnly, {});
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes, bool readOnly,
                         const std::function<bool()> &mayReplace)
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
    if (!native::syncToDisk(temp.handle()))
        return false;
    temp.close();

    QFileDevice::Permissions perms =
        QFileDevice::ReadOwner | QFileDevice::ReadUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (!readOnly)
        perms |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
    temp.setPermissions(perms);

    if (mayReplace && !mayReplace())
        return false;
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
    return QDir().mkpath(QFileInfo(path).absolutePath()) && native::createOwnerOnlyFile(path);
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

QString saveFolder(const QString &kind)
{
    const QString last = loadUserValue(QStringLiteral("SaveFolders/") + kind);
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void rememberSaveFolder(const QString &kind, const QString &filePath)
{
    storeUserValue(QStringLiteral("SaveFolders/") + kind, QFileInfo(filePath).absolutePath());
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

namespace {

// False when the desktop's registry of programs (xdg-mime) names none for
// the document's type; true when it names one or cannot be asked.
bool desktopHasProgramFor(const QString &path)
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return true;
    QProcess query;
    query.start(xdgMime,
                {QStringLiteral("query"), QStringLiteral("default"), QMimeDatabase().mimeTypeForFile(path).name()});
    if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit)
        return true;
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

bool openDocument(const QString &path)
{
    if (!QFileInfo::exists(path) || !desktopHasProgramFor(path))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
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
