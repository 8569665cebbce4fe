// The record store: the tree of folders below the data folder that holds the
// stored verification files, the current folder and its meter list, the
// folder commands (create, rename, delete) and the storing of verifications
// received from the instrument.
//
// Paths use "/" and carry no trailing separator, except the data folder,
// which is given with one (as platform::dataFolderFor returns it).
#pragma once

#include "records/blockdata.h"
#include "records/listedmeter.h"
#include "records/loadedmeters.h"
#include "base/platform.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <chrono>
#include <optional>
#include <vector>

class QFileSystemWatcher;
class QTimer;

// Caption of the tree's root node, which stands for the data folder.
inline const QString kRootFolderCaption = QStringLiteral("Data");

// The highest number tried when a new folder's name is taken: "label",
// then "label(2)" ... "label(50)".
constexpr int kMaxNewFolderNumber = 50;

// One folder of the tree: its name and its sub-folders, sorted by name.
struct FolderNode {
    QString name;
    std::vector<FolderNode> children;
};

// Outcome of renaming a folder.
enum class RenameOutcome {
    Renamed, // the folder now has the new name
    Unchanged, // the new name equals the old one; nothing was done
    Refused, // the data folder itself cannot be renamed
    Failed, // the move failed or the name is not usable; nothing changed
};

// --- Pure folder functions -------------------------------------------------

// Names of the sub-folders of a folder in code-point order; empty when the
// folder cannot be listed. Files and links to folders are ignored.
QStringList ListSubFolders(const QString &folderPath);

// The tree below a folder: a node with the given caption and, recursively,
// one child per sub-folder sorted by name.
FolderNode BuildFolderNode(const QString &folderPath, const QString &caption);

// Names of the *.pcn files of a folder (not of its sub-folders) in code-point
// order: regular files and links to them, not pipes or devices. The extension
// matches in any letter case, as on the file system the stored files come
// from.
QStringList ListRecordFiles(const QString &folderPath);

// The meter list of a folder: every readable .pcn file of the folder in the
// order of ListRecordFiles, read with ReadMeterFile, its fileName set.
// A listed meter holds what the list shows (ListedMeter: the first
// verification's summary and the count of verifications), not the other
// verifications nor any point: each file is read whole and checked by every
// rule of the reader (every block's checksum included), but its points are
// not decoded (MeterRead::Summaries). Unreadable files are skipped
// silently; a folder that cannot be listed yields an empty list. Headerless files are upgraded in place by the
// reader.
// Temporary files of record writes older than an hour (left by an
// interrupted write) are removed on the way.
// Files are read on up to `threads` threads (0: one per processor, at most
// 8; 1: this thread only); the list is the same whatever the number.
QVector<ListedMeter> ScanFolder(const QString &folderPath, int threads = 0);

// What the listing of a folder tells of its record files without reading
// any: name, size and modification time. A stamp equal to the files of the
// meter list as read (and of those that could not be read) means the list
// need not be read again.
using FolderStamp = QHash<QString, platform::FileStamp>;
FolderStamp RecordFilesStamp(const QString &folderPath);

// The name under which a verification received from the instrument is
// stored: meter type (with its padding spaces) ^ serial ^ YYYY-MM-DD ^ HHMMSS
// ^ power type code, then ".pcn". Characters that cannot stand in a file
// name ("/", the other characters the meter-type decoder replaces, and
// control characters) become "+".
QString ReceivedRecordFileName(const pcn::_datacounter &summary);

// True when the text can serve as the name of one folder: not empty, not "."
// or "..", no "/" or "\" and no control character.
bool IsUsableFolderName(const QString &name);

// --- The store -------------------------------------------------------------

// The data folder, the selected (current) folder and the meter list of that
// folder. Owned by the main window; the folder panel and the record
// commands change it, and it tells what changed through its signals, which
// the record views and the command states follow.
class RecordStore : public QObject {
    Q_OBJECT
public:
    explicit RecordStore(const QString &dataFolder, QObject *parent = nullptr);
    RecordStore(const RecordStore &) = delete;
    RecordStore &operator=(const RecordStore &) = delete;

    // Another data folder: the current folder becomes its root, the meter
    // list is emptied.
    void SetDataFolder(const QString &dataFolder);
    // The data folder with a trailing "/".
    const QString &dataFolder() const { return m_dataFolder; }
    // The data folder as a folder path (no trailing "/"): the root node's path.
    QString rootFolder() const;
    bool isRoot(const QString &folderPath) const;

    // The folder of a tree node given by the names of the nodes below the
    // root on the way to it (empty list: the root).
    QString folderPath(const QStringList &namesBelowRoot) const;

    // Creates the data folder when missing (failure ignored; the tree then has
    // only its root) and returns the whole tree, root captioned "Data".
    FolderNode BuildFolderTree() const;

    // Makes the folder current and rebuilds the meter list from disk.
    void SelectFolder(const QString &folderPath);
    // Rebuilds the meter list of the current folder (after a device run).
    void Rescan();
    // Empties the meter list (the current folder is kept).
    void ClearMeters();

    // Following the disk: other workstations sharing the data folder, and
    // vardosk-cli, change files behind the program's back. Once started,
    // the current folder is watched (where the file system announces
    // changes) and, in every period without an announcement, its listing
    // is compared with the one the meter list was read from. A folder whose
    // listing changed is read again and folderChangedOnDisk is emitted; one
    // whose listing did not change is never read again. The comparison
    // looks at every file: in a folder so large that it takes more than a
    // twentieth of the period, the period grows to twenty times its cost.
    void FollowDisk(std::chrono::milliseconds period = std::chrono::milliseconds(2000));
    // The comparison itself: reads the folder again when its listing
    // differs from the last one. True when it did. Not while held.
    bool RefreshIfChanged();
    // Reads the current folder again at once, as a change on disk would
    // (after a command found a file changed by another workstation).
    void RefreshFromDisk();
    // While a record command runs (its dialogs included) the meter list
    // keeps its indexes: refreshing waits until the last hold ends.
    class RefreshHold {
    public:
        explicit RefreshHold(RecordStore &store);
        ~RefreshHold();
        RefreshHold(const RefreshHold &) = delete;
        RefreshHold &operator=(const RefreshHold &) = delete;

    private:
        RecordStore &m_store;
    };
    // How many times a folder's files were read (a scan), since construction.
    int scanCount() const { return m_scans; }

    // A file of the current folder as its last listing saw it: the meter's
    // identity when it was read, absent when the listing did not hold the
    // name, unknown when the folder was never listed or the file could not
    // be read (nothing to compare with).
    FileIdentity listedIdentity(const QString &fileName) const;

    // The current folder: the data folder itself until the first selection.
    const QString &currentFolder() const { return m_currentFolder; }
    // The folder that holds the current folder, with a trailing "/".
    QString currentParentPath() const;
    // Path of a file of the current folder.
    QString currentFilePath(const QString &fileName) const;
    // The meter list of the current folder; positions are meter indexes.
    // Its meters hold what their rows show, not every verification nor any
    // point (see ScanFolder): the rest comes from loadMeter.
    const QVector<ListedMeter> &meters() const { return m_meters; }
    // The meter at `index` with its points, read from its file (every
    // checksum checked) or kept from a recent read while the file is
    // unchanged; nullptr for no such meter or a file that cannot be read
    // now. A file that is no longer as listed is read afresh, and the list
    // follows as it does for any change on disk (folderChangedOnDisk, once
    // no command holds the list).
    std::shared_ptr<const pcn::_totalblockdata> loadMeter(int index);
    // The meter at `index` with its points, for a command that rewrites its
    // file: it carries the identity the file was listed with, so that the
    // guarded write refuses a file changed since (the user saw the listed
    // content). Nothing when the file cannot be read now.
    std::optional<pcn::_totalblockdata> meterToChange(int index);
    // Every meter of the list with its points, in list order; those whose
    // file cannot be read now are left out.
    QVector<pcn::_totalblockdata> loadMeters();
    // How many files were read for their points, since construction.
    int pointReads() const { return m_loaded.reads(); }
    // The record commands keep the list in step with the disk: a meter whose
    // file was rewritten takes its new content (`removedVerification`: the
    // index of the verification the new content no longer holds, after an
    // element paste or delete; -1 otherwise); a meter whose file was deleted
    // leaves the list (the entries after it move down by one).
    void ReplaceMeter(int index, const pcn::_totalblockdata &meter, int removedVerification = -1);
    void RemoveMeter(int index);

    // Creates label, label(2) ... label(50) inside the folder, the first name
    // that can be created, and returns it; nothing when none could be.
    // New folders are left writable (a read-only folder refuses new files).
    std::optional<QString> NewFolder(const QString &parentFolder, const QString &label) const;

    // Renames a folder in place. The current folder follows when it is the
    // renamed folder or lies inside it.
    RenameOutcome RenameFolder(const QString &folderPath, const QString &newName);

    // Whether the delete command is offered: not the root, and the folder can
    // be listed and holds no entry at all (files, sub-folders, hidden ones)
    // but temporary files of record writes.
    bool CanDeleteFolder(const QString &folderPath) const;
    // Removes an empty non-root folder, with the temporary files of record
    // writes older than an hour; false when the rules forbid it or the
    // removal fails (a younger temporary file belongs to a write under way).
    bool DeleteFolder(const QString &folderPath) const;

    // Stores one verification received from the instrument in the current
    // folder under ReceivedRecordFileName(summary): the 67-byte file header
    // followed by the record block (record and checksum). A file of the same
    // name is replaced; the new file is read-only. Returns the full path of
    // the file written, or nothing when it could not be written (an earlier
    // file of that name is then left as it was).
    // When the folder's listing is known, a file of that name must still be
    // as listed (absent or unchanged); else nothing is written and
    // `changedMeanwhile` (when given) is set.
    // The stored meter joins the list (or replaces the listed one of that
    // name) at once; the caller announces what it stored, one batch at a
    // time, with AnnounceStored.
    std::optional<QString> StoreReceivedRecord(const QByteArray &header, const QByteArray &block,
                                               const pcn::_datacounter &summary, bool *changedMeanwhile = nullptr);
    // Emits recordsStored for the files stored since the list was last
    // announced (nothing when none was).
    void AnnounceStored();

signals:
    // The meter list was rebuilt: a folder was selected or rescanned, or the
    // list was emptied.
    void folderRescanned();
    // The meter at `index` took new content (see ReplaceMeter).
    void meterReplaced(int index, int removedVerification);
    // The meter at `index` left the list.
    void meterRemoved(int index);
    // A folder was renamed; paths without a trailing "/". Whatever remembers
    // a path inside it follows the rename.
    void folderRenamed(const QString &oldPath, const QString &newPath);
    // The meter list was read again because the folder changed on disk;
    // what the user had selected stays selected where it still exists.
    void folderChangedOnDisk();
    // Verifications received from the instrument were stored in the current
    // folder and joined the list (names without folder). No file was read.
    void recordsStored(const QStringList &fileNames);

private:
    void scanCurrentFolder();
    void watchCurrentFolder();
    void announced();
    void listStored(const QString &name, const QByteArray &bytes, const FileIdentity &identity);
    // The folder's listing is the one the meter list was read from.
    bool listingUnchanged() const;

    QString m_dataFolder;
    QString m_currentFolder;
    QVector<ListedMeter> m_meters;
    LoadedMeters m_loaded;
    QStringList m_stored; // stored since the last AnnounceStored
    // The record files of the listing that could not be read; the listing
    // of the others is what their meters hold (size and modification time).
    FolderStamp m_unlisted;
    bool m_listed = false;
    int m_scans = 0;
    int m_holds = 0;
    bool m_refreshPending = false;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer *m_period = nullptr;
    std::chrono::milliseconds m_basePeriod{0};
    QTimer *m_settle = nullptr;
    bool m_announced = false;
};
