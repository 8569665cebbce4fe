// The one place where the program meets the operating system: where its
// folders are, how stored files are made read-only, how files are replaced
// atomically, how documents are opened and where the password is kept.
// A Windows build swaps the bodies in platform.cpp; nothing else changes.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>

#include <functional>
#include <optional>

namespace platform {

// Folder of the running executable, with a trailing "/".
QString programFolder();

// True when files can be created in the folder (portable use, build tree).
bool isFolderWritable(const QString &folder);

// The data folder with a trailing "/": "Data/" beside the program when the
// program folder is writable and not an installation's bin/ (no
// ../share/vardosk/ beside it), else in the per-user data location.
QString dataFolderFor(const QString &programFolder);

// config.cfg beside the program on the same condition, else in the
// per-user configuration location.
QString configFilePathFor(const QString &programFolder);

// The per-user configuration folder with a trailing "/", made when missing:
// where a user's own copy of a shipped file (the limits table) is looked for.
QString userConfigFolder();

// A file the program ships (DataStrings.xml, help documents): beside the
// program first, then in the installed data folders. Returns the path beside
// the program when it is found nowhere.
QString shippedFilePath(const QString &programFolder, const QString &fileName);

// Read-only attribute: clears or restores the write bits of a stored file.
bool setReadOnly(const QString &path, bool readOnly);
bool isReadOnly(const QString &path);

// Writes the bytes to a temporary file in the target's folder, flushes it to
// disk and renames it over the target, so that the target is either its old
// content or the complete new one. A read-only target is replaced as well.
// The new file is made read-only when asked. False when anything failed; the
// old file is then untouched and no temporary file is left.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, bool readOnly);
// The same with a last word: `mayReplace` is asked once the temporary file
// is complete, right before it is renamed over the target; false abandons
// the write (the temporary file is removed, the target untouched).
bool writeFileAtomically(const QString &path, const QByteArray &bytes, bool readOnly,
                         const std::function<bool()> &mayReplace);

// Whether a file name is that of a temporary file writeFileAtomically makes
// for a target whose name ends in `targetSuffix` (".pcn"): a dot, the target
// name, a dot and six letters or digits. Such a file is left behind only
// when a write was interrupted (or is still under way).
bool isTemporaryWriteName(const QString &fileName, const QString &targetSuffix);

// Removes from a folder the temporary files of writes of such targets that
// were last changed more than `maxAge` ago: a write still under way (of this
// or another process) keeps its file. Returns how many were removed.
int removeStaleTemporaryWrites(const QString &folder, const QString &targetSuffix, std::chrono::seconds maxAge);
// The same over the file names of a listing of the folder made by the caller
// (listFolder(folder).files), so that a folder is listed once.
int removeStaleTemporaryWrites(const QString &folder, const QStringList &fileNames, const QString &targetSuffix,
                               std::chrono::seconds maxAge);

// The entries of one folder, as the folder tree and the folder scan need
// them: `folders` the real sub-folders (links to folders elsewhere are left
// out: they could lead out of the data folder or round in a circle), `files`
// the regular files and links to regular files (no devices, pipes or
// sockets, whose opening could block), hidden ones included, "." and ".."
// never; names in the file system's order. `listed` is false when the folder
// could not be listed (both lists are then empty).
struct FolderEntries {
    bool listed = false;
    QStringList folders;
    QStringList files;
    // With FolderDetail::EmptyOfFolders: one flag per entry of `folders`,
    // true when that folder is known to hold no sub-folder, so that a walk
    // of the tree need not open it; false when it may hold some or the file
    // system does not tell. Empty otherwise.
    QList<bool> holdsNoFolders;
};
enum class FolderDetail { Names, EmptyOfFolders };
FolderEntries listFolder(const QString &folder, FolderDetail detail = FolderDetail::Names);

// The whole content of a regular file (or of the regular file a link leads
// to) of at most `maxSize` bytes, read with as few calls to the system as
// the file allows: the reads of a large folder are what its scan waits for.
// Nothing when the file cannot be opened or read, is no regular file, or is
// larger than `maxSize`.
// `modifiedNs`, when given, receives the file's modification time in
// nanoseconds since the epoch, taken from the file that was read.
std::optional<QByteArray> readWholeFile(const QString &path, qint64 maxSize, qint64 *modifiedNs = nullptr);

// The first `count` bytes of a regular file (or of the regular file a link
// leads to), fewer when the file is shorter; nothing when it cannot be
// opened or read or is no regular file. For looking at the headers of many
// files: one open, one status call and one read.
std::optional<QByteArray> readFileStart(const QString &path, qint64 count);

// The size of a file and its modification time in nanoseconds since the
// epoch, in the precision readWholeFile gives it; nothing when the file does
// not exist.
struct FileStamp {
    qint64 size = 0;
    qint64 modifiedNs = 0;
    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};
std::optional<FileStamp> fileStamp(const QString &path);

// Renames a file over another, replacing it (rename(2) semantics).
bool replaceFile(const QString &from, const QString &to);

// The family to ask for when a window or a document names `family`: the
// family itself when installed, else its metric-compatible Liberation
// family ("Times New Roman" -> "Liberation Serif", "Arial" -> "Liberation
// Sans", "Courier New" -> "Liberation Mono"). Needs a GUI application.
QString fontFamily(const QString &family);

// On a machine without a desktop's fonts the toolkit's "sans serif" can
// resolve to a fixed-pitch face (fontconfig falls back to whatever is
// installed, often Liberation Mono). The windows are laid out for a
// proportional face: then the application font becomes Liberation Sans,
// which the set-up installs, at the same size. Returns whether it changed.
bool preferProportionalUiFont();

// Opens a document with the desktop's default program. False when the file
// is missing or no program is there to open it (none registered for its
// type, or no launcher at all); true when a program was started.
bool openDocument(const QString &path);

// Opens a spreadsheet document: in LibreOffice Calc when it is installed (a
// desktop usually opens .xml files in a text viewer), else with the desktop's
// default program. The result is ignored.
void openSpreadsheet(const QString &path);

// The access password's per-user store (INI file of organisation "Korvel",
// application "Tessmer", key "Password", readable by its owner only).
// Reading yields "" when there is no value or it holds more than 8
// characters. Storing creates the store on first use.
QString loadStoredPassword();
bool storePassword(const QString &password);

// Other values kept per user in the same store (the protocol's title and
// ending texts): "" when the key is absent.
QString loadUserValue(const QString &key);
bool storeUserValue(const QString &key, const QString &value);

// Where a save dialog for a kind of file ("pdf", "report", "export",
// "meterdb") starts: the folder the last file of that kind went to (kept per
// user) while it exists, else the user's documents folder, else home.
QString saveFolder(const QString &kind);
// Remembers the folder of `filePath` for the kind.
void rememberSaveFolder(const QString &kind, const QString &filePath);

// Test seam for write failures: when set, it is called before each chunk that
// writeFileAtomically writes with the target path and the bytes written so
// far; returning true makes the write fail at that point (as a full disk
// would). Tests set it through WriteFaultScope only.
using WriteFault = std::function<bool(const QString &path, qint64 bytesWritten)>;

class WriteFaultScope {
public:
    explicit WriteFaultScope(WriteFault fault);
    ~WriteFaultScope();
    WriteFaultScope(const WriteFaultScope &) = delete;
    WriteFaultScope &operator=(const WriteFaultScope &) = delete;
};

} // namespace platform
