// A stored file as this workstation last read it, and the one check every
// change of a stored file makes before it replaces, moves or removes it: the
// data folder may be shared by several workstations (a network folder), and
// a file that another workstation changed since it was read here must not
// be overwritten with a change made to the old content.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Size, modification time and a checksum of the bytes, taken when the file
// was read. `known` is false for a meter that was never read from a file
// (nothing can be checked then); `present` is false for a file that did not
// exist when its folder was listed.
struct FileIdentity {
    bool known = false;
    bool present = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    std::uint64_t digest = 0;

    friend bool operator==(const FileIdentity &, const FileIdentity &) = default;
};

// The identity of bytes just read from a file last modified at `modifiedNs`
// (nanoseconds since the epoch).
FileIdentity identityOfBytes(const QByteArray &bytes, qint64 modifiedNs);
// A file that is known not to exist.
FileIdentity absentFileIdentity();
// Reads the file now; an absent identity when it does not exist or cannot
// be read.
FileIdentity currentFileIdentity(const QString &path);

// How a file stands against the identity it had when it was read.
enum class FileChange {
    Unchanged, // as read (or nothing known to compare with)
    Changed, // another content, or a file where none was
    Gone, // it was there and is not any more
};

// The check: compares the file on disk now with `asRead`.
FileChange changeSinceRead(const QString &path, const FileIdentity &asRead);

// Outcome of a change of a stored file guarded by that check; true when done.
struct GuardedWrite {
    enum Result {
        Done,
        Changed, // the file was changed or removed meanwhile: nothing was done
        Failed, // the write, move or removal failed: nothing changed
    };
    Result result = Failed;

    GuardedWrite(Result r = Failed) : result(r) {}
    explicit operator bool() const { return result == Done; }
    bool changedMeanwhile() const { return result == Changed; }
};

// Writes the bytes atomically (platform::writeFileAtomically), checking the
// target against `asRead` right before the temporary file is renamed over
// it. On success `written` (when given) receives the new file's identity.
GuardedWrite writeFileIfUnchanged(const QString &path, const QByteArray &bytes, bool readOnly,
                                  const FileIdentity &asRead, FileIdentity *written = nullptr);
// Moves a file to a name that must not exist, when it is still as read.
GuardedWrite moveFileIfUnchanged(const QString &from, const QString &to, const FileIdentity &asRead);
// Clears the read-only attribute and removes the file, when it is still as read.
GuardedWrite removeFileIfUnchanged(const QString &path, const FileIdentity &asRead);
