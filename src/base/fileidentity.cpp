#include "base/fileidentity.h"

#include "base/platform.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>
#include <QThread>

namespace {

// Larger than any file the program keeps in the data folder.
constexpr qint64 kMaxCheckedSize = qint64(1) << 30;
// A fixed seed: the digest only ever meets digests of the same process, but
// a fixed one keeps it the same from run to run as well.
constexpr std::size_t kDigestSeed = 0x5eed'd16e;

// Workstations that change the same file take turns for the check and the
// rename that follows it: the one that creates ".name.lock" beside the file
// (created exclusively, which SMB and NFS carry out on the server) goes
// first. A lock older than kStaleLock was left by a workstation that died
// in between and is broken; one that is not freed within kLockWait fails
// the change (nothing is done).
constexpr std::chrono::seconds kStaleLock{10};
constexpr std::chrono::milliseconds kLockWait{3000};

class ChangeLock {
public:
    explicit ChangeLock(const QString &path)
        : m_path(QFileInfo(path).absolutePath() + QStringLiteral("/.") + QFileInfo(path).fileName()
                 + QStringLiteral(".lock"))
    {}
    ~ChangeLock()
    {
        if (m_held)
            QFile::remove(m_path);
    }
    ChangeLock(const ChangeLock &) = delete;
    ChangeLock &operator=(const ChangeLock &) = delete;

    bool acquire()
    {
        const QDeadlineTimer deadline(kLockWait);
        while (!m_held) {
            QFile lock(m_path);
            if (lock.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
                m_held = true;
                break;
            }
            const QDateTime changed = QFileInfo(m_path).lastModified();
            if (changed.isValid() && changed.secsTo(QDateTime::currentDateTime()) > kStaleLock.count())
                QFile::remove(m_path);
            if (deadline.hasExpired())
                return false;
            QThread::msleep(2);
        }
        return true;
    }

private:
    QString m_path;
    bool m_held = false;
};

} // namespace

FileIdentity identityOfBytes(const QByteArray &bytes, qint64 modifiedNs)
{
    FileIdentity identity;
    identity.known = true;
    identity.present = true;
    identity.size = bytes.size();
    identity.modifiedNs = modifiedNs;
    identity.digest = std::uint64_t(qHashBits(bytes.constData(), std::size_t(bytes.size()), kDigestSeed));
    return identity;
}

FileIdentity absentFileIdentity()
{
    FileIdentity identity;
    identity.known = true;
    return identity;
}

FileIdentity currentFileIdentity(const QString &path)
{
    qint64 modified = 0;
    if (const std::optional<QByteArray> bytes = platform::readWholeFile(path, kMaxCheckedSize, &modified))
        return identityOfBytes(*bytes, modified);
    FileIdentity identity = absentFileIdentity();
    // A file that is there but cannot be read matches nothing that was read.
    if (QFileInfo(path).exists() || QFileInfo(path).isSymLink()) {
        identity.present = true;
        identity.size = -1;
    }
    return identity;
}

FileChange changeSinceRead(const QString &path, const FileIdentity &asRead)
{
    if (!asRead.known)
        return FileChange::Unchanged;
    const FileIdentity now = currentFileIdentity(path);
    if (now == asRead)
        return FileChange::Unchanged;
    return asRead.present && !now.present ? FileChange::Gone : FileChange::Changed;
}

GuardedWrite writeFileIfUnchanged(const QString &path, const QByteArray &bytes, bool readOnly,
                                  const FileIdentity &asRead, FileIdentity *written)
{
    bool changed = false;
    bool locked = true;
    // Held from the check until the temporary file has been renamed.
    ChangeLock lock(path);
    const bool done = platform::writeFileAtomically(path, bytes, readOnly, [&] {
        if (!asRead.known)
            return true;
        // A folder in the file's place was never a file anyone read: the
        // write fails as it would without the check, and no workstation is
        // to blame.
        if (QFileInfo(path).isDir())
            return false;
        locked = lock.acquire();
        changed = locked && changeSinceRead(path, asRead) != FileChange::Unchanged;
        return locked && !changed;
    });
    if (changed)
        return GuardedWrite::Changed;
    if (!done)
        return GuardedWrite::Failed;
    if (written) {
        // The bytes are ours; a replacement by another workstation right
        // after the rename has other bytes and so never passes for ours.
        *written = identityOfBytes(bytes, platform::fileStamp(path).value_or(platform::FileStamp{}).modifiedNs);
    }
    return GuardedWrite::Done;
}

GuardedWrite moveFileIfUnchanged(const QString &from, const QString &to, const FileIdentity &asRead)
{
    ChangeLock lock(from);
    if (asRead.known && !lock.acquire())
        return GuardedWrite::Failed;
    if (changeSinceRead(from, asRead) != FileChange::Unchanged || !QFileInfo(from).isFile())
        return GuardedWrite::Changed;
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
        return GuardedWrite::Failed;
    // QFile::rename never replaces an existing file; across file systems it
    // copies and then removes the source.
    return QFile::rename(from, to) ? GuardedWrite::Done : GuardedWrite::Failed;
}

GuardedWrite removeFileIfUnchanged(const QString &path, const FileIdentity &asRead)
{
    ChangeLock lock(path);
    if (asRead.known && !lock.acquire())
        return GuardedWrite::Failed;
    if (changeSinceRead(path, asRead) != FileChange::Unchanged || !QFileInfo(path).isFile())
        return GuardedWrite::Changed;
    platform::setReadOnly(path, false);
    return QFile::remove(path) ? GuardedWrite::Done : GuardedWrite::Failed;
}
