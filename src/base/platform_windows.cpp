// The platform mapping on Windows (see platform.h and platformnative.h);
// the whole file is left out of every other build.
#include <QtGlobal>

#ifdef Q_OS_WIN

#include "platform.h"
#include "platformconsole.h"
#include "platformnative.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

#include <io.h>
#include <windows.h>

namespace platform {

bool replaceFile(const QString &from, const QString &to)
{
    return MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING)
           != 0;
}

FolderEntries listFolder(const QString &folder, FolderDetail detail)
{
    FolderEntries entries;
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
    return entries;
}

std::optional<QByteArray> readWholeFile(const QString &path, qint64 maxSize, qint64 *modifiedNs)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxSize)
        return std::nullopt;
    if (modifiedNs)
        *modifiedNs = file.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch() * 1000000;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() > maxSize)
        return std::nullopt;
    return bytes;
}

std::optional<QByteArray> readFileStart(const QString &path, qint64 count)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::nullopt;
    QByteArray bytes = file.read(std::max<qint64>(count, 0));
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

std::optional<FileStamp> fileStamp(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    return FileStamp{info.size(), info.lastModified().toMSecsSinceEpoch() * 1000000};
}

namespace native {

bool syncToDisk(int)
{
    // The rename that follows is made durable by the file system itself.
    return true;
}

bool createOwnerOnlyFile(const QString &)
{
    // A file below the user's profile is the user's alone already.
    return true;
}

} // namespace native

bool standardInputIsTerminal()
{
    return _isatty(_fileno(stdin)) != 0;
}

bool setStandardInputEcho(bool on)
{
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (!GetConsoleMode(input, &mode))
        return false;
    mode = on ? (mode | ENABLE_ECHO_INPUT) : (mode & ~DWORD(ENABLE_ECHO_INPUT));
    return SetConsoleMode(input, mode) != 0;
}

} // namespace platform

#endif
