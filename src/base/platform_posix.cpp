// The platform mapping on Linux and other POSIX systems (see platform.h and
// platformnative.h); the whole file is left out of a Windows build.
#include <QtGlobal>

#ifndef Q_OS_WIN

#include "platform.h"
#include "platformconsole.h"
#include "platformnative.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <termios.h>
#include <unistd.h>

namespace platform {

bool replaceFile(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

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

FolderEntries listFolder(const QString &folder, FolderDetail detail)
{
    FolderEntries entries;
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
    return entries;
}

std::optional<QByteArray> readWholeFile(const QString &path, qint64 maxSize, qint64 *modifiedNs)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> result;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= maxSize) {
        if (modifiedNs)
            *modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + qint64(st.st_mtim.tv_nsec);
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
}

std::optional<QByteArray> readFileStart(const QString &path, qint64 count)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> result;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        QByteArray bytes(qsizetype(std::max<qint64>(count, 0)), Qt::Uninitialized);
        qint64 got = 0;
        bool failed = false;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, std::size_t(bytes.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                failed = true;
            if (n <= 0)
                break;
            got += n;
        }
        if (!failed) {
            bytes.truncate(got);
            result = std::move(bytes);
        }
    }
    ::close(fd);
    return result;
}

std::optional<FileStamp> fileStamp(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return FileStamp{qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + qint64(st.st_mtim.tv_nsec)};
}

namespace native {

bool syncToDisk(int fileHandle)
{
    return ::fsync(fileHandle) == 0;
}

bool createOwnerOnlyFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
    if (fd < 0)
        return false;
    const bool ok = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0;
    ::close(fd);
    return ok;
}

} // namespace native

bool standardInputIsTerminal()
{
    return isatty(STDIN_FILENO) == 1;
}

bool setStandardInputEcho(bool on)
{
    termios settings{};
    if (tcgetattr(STDIN_FILENO, &settings) != 0)
        return false;
    if (on)
        settings.c_lflag |= ECHO;
    else
        settings.c_lflag &= tcflag_t(~ECHO);
    return tcsetattr(STDIN_FILENO, TCSAFLUSH, &settings) == 0;
}

} // namespace platform

#endif
