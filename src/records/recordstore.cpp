#include "recordstore.h"

#include "records/meterfile.h"
#include "base/parallel.h"
#include "base/platform.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace {

// Record files, and how old the temporary file of a record write must be
// before it counts as left behind by an interrupted write (a write takes
// well under a second; vardosk-cli may be storing into the same folder).
const QString kRecordSuffix = QStringLiteral(".pcn");
constexpr std::chrono::hours kStaleWriteAge{1};

// Enumeration order of files and folders: by name, code point by code point,
// so that it is the same on every machine and in every locale.
void sortNames(QStringList &names)
{
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return QString::compare(a, b, Qt::CaseSensitive) < 0; });
}

QString withoutTrailingSlash(const QString &path)
{
    QString cleaned = QDir::cleanPath(path);
    if (cleaned.size() > 1 && cleaned.endsWith(QLatin1Char('/')))
        cleaned.chop(1);
    return cleaned;
}

// A folder whose entries can be listed.
bool isListableFolder(const QString &folderPath)
{
    const QFileInfo info(folderPath);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

// Characters that cannot stand in a stored file's name on any of the file
// systems the files travel between.
bool isForbiddenInFileName(QChar c)
{
    static const QString forbidden = QStringLiteral("\"*/:<>?\\|");
    return c.unicode() < 0x20 || c.unicode() == 0x7F || forbidden.contains(c);
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// Date and time parts of a received file's name. The BCD copy of the moment
// is used when the decoded date or time is missing, so that the name still
// tells the moment apart.
QString datePart(const pcn::_datacounter &s)
{
    if (s.date.isValid())
        return QStringLiteral("%1-%2-%3")
            .arg(s.date.year(), 4, 10, QLatin1Char('0'))
            .arg(twoDigits(s.date.month()), twoDigits(s.date.day()));
    return QStringLiteral("%1-%2-%3")
        .arg(s.bcdYear, 4, 16, QLatin1Char('0'))
        .arg(s.bcdMonth, 2, 16, QLatin1Char('0'))
        .arg(s.bcdDay, 2, 16, QLatin1Char('0'));
}

QString timePart(const pcn::_datacounter &s)
{
    if (s.time.isValid())
        return twoDigits(s.time.hour()) + twoDigits(s.time.minute()) + twoDigits(s.time.second());
    return QStringLiteral("%1%2%3")
        .arg(s.bcdHour, 2, 16, QLatin1Char('0'))
        .arg(s.bcdMinute, 2, 16, QLatin1Char('0'))
        .arg(s.bcdSecond, 2, 16, QLatin1Char('0'));
}

} // namespace

// --- Pure folder functions -------------------------------------------------

QStringList ListSubFolders(const QString &folderPath)
{
    // Hidden folders are folders like any other; the stored tree may come from
    // a system without the dot convention.
    QStringList names = platform::listFolder(folderPath).folders;
    sortNames(names);
    return names;
}

namespace {

// The sub-folders of a folder sorted by name, each with whether it is known
// to hold no sub-folder of its own.
std::vector<std::pair<QString, bool>> subFoldersOf(const QString &folderPath)
{
    platform::FolderEntries entries = platform::listFolder(folderPath, platform::FolderDetail::EmptyOfFolders);
    std::vector<std::pair<QString, bool>> folders;
    folders.reserve(std::size_t(entries.folders.size()));
    for (qsizetype i = 0; i < entries.folders.size(); ++i)
        folders.emplace_back(std::move(entries.folders[i]), entries.holdsNoFolders.value(i, false));
    std::sort(folders.begin(), folders.end(),
              [](const auto &a, const auto &b) { return QString::compare(a.first, b.first, Qt::CaseSensitive) < 0; });
    return folders;
}

FolderNode buildNode(const QString &folderPath, const QString &caption, bool spread)
{
    FolderNode node;
    node.name = caption;
    const std::vector<std::pair<QString, bool>> folders = subFoldersOf(folderPath);
    node.children.resize(folders.size());
    // A folder known to hold no sub-folder is not opened at all; the others
    // are listed in turn.
    std::vector<std::size_t> branches;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (folders[i].second)
            node.children[i].name = folders[i].first;
        else
            branches.push_back(i);
    }
    const auto build = [&](qsizetype b, int) {
        const std::size_t i = branches[std::size_t(b)];
        node.children[i] = buildNode(folderPath + QLatin1Char('/') + folders[i].first, folders[i].first, false);
    };
    // The branches of the top folder are independent: listing them is spread
    // over the processors (a tree of a thousand folders is a thousand
    // listings where the file system does not tell the leaves); deeper
    // levels stay on the thread of their branch.
    const qsizetype count = qsizetype(branches.size());
    if (spread)
        parallel::forEachIndex(count, build, 0, 32, 8);
    else
        for (qsizetype b = 0; b < count; ++b)
            build(b, 0);
    return node;
}

} // namespace

FolderNode BuildFolderNode(const QString &folderPath, const QString &caption)
{
    return buildNode(folderPath, caption, true);
}

namespace {

// The record files among the file names of a folder, sorted.
QStringList recordFilesAmong(QStringList files)
{
    QStringList names;
    for (QString &name : files) {
        if (name.endsWith(kRecordSuffix, Qt::CaseInsensitive))
            names.append(std::move(name));
    }
    sortNames(names);
    return names;
}

} // namespace

QStringList ListRecordFiles(const QString &folderPath)
{
    return recordFilesAmong(platform::listFolder(folderPath).files);
}

namespace {

// The meter types of a folder's meters, held once per scanning thread: a
// folder's meters mostly share a few types, and a listed meter keeps its
// texts for as long as the folder is shown.
class SharedTypes {
public:
    void share(QString &text)
    {
        if (text.isEmpty())
            return;
        if (const auto known = m_texts.constFind(text); known != m_texts.constEnd())
            text = *known;
        else if (m_texts.size() < kMostKept)
            m_texts.insert(text);
    }

private:
    static constexpr qsizetype kMostKept = 256;
    QSet<QString> m_texts;
};

// The scan of a folder; with `unlisted`, also the stamps of the record
// files that could not be read. The listing of the others is what their
// listed meters hold: the size and modification time of the bytes each was
// made from, instead of a second look at every file.
QVector<ListedMeter> scanFolder(const QString &folderPath, int threads, FolderStamp *unlisted)
{
    // One listing serves both the removal of left-over temporary files and
    // the list of record files: a temporary file's name never ends in the
    // record suffix (it ends in a dot and six letters or digits).
    platform::FolderEntries entries = platform::listFolder(folderPath);
    platform::removeStaleTemporaryWrites(folderPath, entries.files, kRecordSuffix, kStaleWriteAge);
    const QStringList names = recordFilesAmong(std::move(entries.files));
    const qsizetype count = names.size();
    const QString prefix = withoutTrailingSlash(folderPath) + QLatin1Char('/');

    // One slot per file, filled in place, so that the list keeps the order
    // of the names whichever thread read a file; unreadable files leave
    // their slot empty and are squeezed out at the end.
    QVector<ListedMeter> meters(count);
    std::vector<char> readable(std::size_t(count), 0);
    // The stamps of files that could not be read (a file gone meanwhile has none).
    std::vector<std::optional<platform::FileStamp>> unreadable(unlisted ? std::size_t(count) : 0);
    ListedMeter *const places = meters.data(); // not shared: no copy on write between threads
    std::vector<SharedTypes> types(std::size_t(parallel::workerCount(count, threads)));
    parallel::forEachIndex(
        count,
        [&](qsizetype i, int worker) {
            MeterFileReadResult result = ReadMeterFile(prefix + names[i], MeterRead::Summaries);
            if (!result.readable) {
                if (unlisted)
                    unreadable[std::size_t(i)] = platform::fileStamp(prefix + names[i]);
                return;
            }
            result.meter.fileName = names[i];
            places[i] = listedMeterOf(result.meter);
            types[std::size_t(worker)].share(places[i].meterType);
            readable[std::size_t(i)] = 1;
        },
        threads);

    if (unlisted)
        unlisted->clear();
    qsizetype kept = 0;
    for (qsizetype i = 0; i < count; ++i) {
        if (!readable[std::size_t(i)]) {
            if (unlisted && unreadable[std::size_t(i)])
                unlisted->insert(names[i], *unreadable[std::size_t(i)]);
            continue;
        }
        if (kept != i)
            meters[kept] = std::move(meters[i]);
        ++kept;
    }
    meters.resize(kept);
    return meters;
}

} // namespace

QVector<ListedMeter> ScanFolder(const QString &folderPath, int threads)
{
    return scanFolder(folderPath, threads, nullptr);
}

FolderStamp RecordFilesStamp(const QString &folderPath)
{
    FolderStamp stamp;
    const QString prefix = withoutTrailingSlash(folderPath) + QLatin1Char('/');
    for (const QString &name : recordFilesAmong(platform::listFolder(folderPath).files)) {
        // A file removed between the listing and its look-up is simply gone.
        if (const std::optional<platform::FileStamp> file = platform::fileStamp(prefix + name))
            stamp.insert(name, *file);
    }
    return stamp;
}

QString ReceivedRecordFileName(const pcn::_datacounter &summary)
{
    const QChar sep = QLatin1Char('^');
    QString name = summary.meterType + sep + QString::number(summary.serial) + sep + datePart(summary) + sep
                   + timePart(summary) + sep + QString::number(summary.powerType) + QStringLiteral(".pcn");
    for (QChar &c : name) {
        if (isForbiddenInFileName(c))
            c = QLatin1Char('+');
    }
    return name;
}

bool IsUsableFolderName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) {
        return c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20 || c.unicode() == 0x7F;
    });
}

// --- The store -------------------------------------------------------------

RecordStore::RecordStore(const QString &dataFolder, QObject *parent)
    : QObject(parent)
    , m_dataFolder(withoutTrailingSlash(dataFolder) + QLatin1Char('/'))
    , m_currentFolder(withoutTrailingSlash(dataFolder))
{}

void RecordStore::SetDataFolder(const QString &dataFolder)
{
    m_dataFolder = withoutTrailingSlash(dataFolder) + QLatin1Char('/');
    m_currentFolder = withoutTrailingSlash(dataFolder);
    watchCurrentFolder();
    ClearMeters();
}

QString RecordStore::rootFolder() const
{
    return withoutTrailingSlash(m_dataFolder);
}

bool RecordStore::isRoot(const QString &folderPath) const
{
    return withoutTrailingSlash(folderPath) == rootFolder();
}

QString RecordStore::folderPath(const QStringList &namesBelowRoot) const
{
    QString path = rootFolder();
    for (const QString &name : namesBelowRoot)
        path += QLatin1Char('/') + name;
    return path;
}

FolderNode RecordStore::BuildFolderTree() const
{
    QDir().mkpath(rootFolder()); // failure ignored: the tree then shows only its root
    return BuildFolderNode(rootFolder(), kRootFolderCaption);
}

void RecordStore::SelectFolder(const QString &folderPath)
{
    m_currentFolder = withoutTrailingSlash(folderPath);
    watchCurrentFolder();
    Rescan();
}

void RecordStore::scanCurrentFolder()
{
    // Release the old list first so that the old and the new list are never
    // held together. The listing compared later comes from the files as they
    // were read: a file that changes after its bytes were read has another
    // size or modification time at the next comparison, never the other way
    // round.
    m_meters = QVector<ListedMeter>();
    m_unlisted.clear();
    m_meters = scanFolder(m_currentFolder, 0, &m_unlisted);
    m_listed = true;
    m_stored.clear();
    ++m_scans;
    // The folder was just read: the next comparison of its listing is due a
    // whole period from now (in a large folder the comparison looks at
    // every file again).
    if (m_period && m_period->isActive())
        m_period->start();
}

void RecordStore::Rescan()
{
    scanCurrentFolder();
    emit folderRescanned();
}

void RecordStore::ClearMeters()
{
    m_meters = QVector<ListedMeter>();
    m_unlisted.clear();
    m_stored.clear();
    m_listed = false;
    emit folderRescanned();
}

void RecordStore::FollowDisk(std::chrono::milliseconds period)
{
    if (!m_watcher) {
        m_watcher = new QFileSystemWatcher(this);
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &RecordStore::announced);
        // An announcement comes for every step of a write (temporary file,
        // rename); the folder is compared once they have settled.
        m_settle = new QTimer(this);
        m_settle->setSingleShot(true);
        m_settle->setInterval(200);
        connect(m_settle, &QTimer::timeout, this, &RecordStore::RefreshIfChanged);
        m_period = new QTimer(this);
        connect(m_period, &QTimer::timeout, this, [this] {
            // Network file systems seldom announce what other machines do:
            // a period without an announcement compares the listing.
            if (std::exchange(m_announced, false))
                return;
            QElapsedTimer took;
            took.start();
            // The cost of a comparison that found nothing sets the next period.
            if (!RefreshIfChanged())
                m_period->setInterval(std::max(m_basePeriod, std::chrono::milliseconds(took.elapsed() * 20)));
        });
    }
    m_basePeriod = period;
    m_period->start(period);
    watchCurrentFolder();
}

void RecordStore::watchCurrentFolder()
{
    if (!m_watcher)
        return;
    if (const QStringList watched = m_watcher->directories(); !watched.isEmpty())
        m_watcher->removePaths(watched);
    if (QFileInfo(m_currentFolder).isDir())
        m_watcher->addPath(m_currentFolder);
}

void RecordStore::announced()
{
    m_announced = true;
    m_settle->start();
}

bool RecordStore::RefreshIfChanged()
{
    if (!m_listed)
        return false;
    if (m_holds > 0) {
        m_refreshPending = true;
        return false;
    }
    if (listingUnchanged())
        return false;
    RefreshFromDisk();
    return true;
}

void RecordStore::RefreshFromDisk()
{
    scanCurrentFolder();
    emit folderChangedOnDisk();
}

RecordStore::RefreshHold::RefreshHold(RecordStore &store) : m_store(store)
{
    ++m_store.m_holds;
}

RecordStore::RefreshHold::~RefreshHold()
{
    if (--m_store.m_holds == 0 && std::exchange(m_store.m_refreshPending, false))
        QTimer::singleShot(0, &m_store, &RecordStore::RefreshIfChanged);
}

bool RecordStore::listingUnchanged() const
{
    // The files of the list are as their meters were read, the others as
    // they were when they could not be read, and there is no other file.
    const FolderStamp now = RecordFilesStamp(m_currentFolder);
    if (now.size() != m_meters.size() + m_unlisted.size())
        return false;
    for (const ListedMeter &meter : m_meters) {
        const auto file = now.constFind(meter.fileName);
        if (file == now.constEnd() || !meter.identity.present || file->size != meter.identity.size
            || file->modifiedNs != meter.identity.modifiedNs)
            return false;
    }
    for (auto unread = m_unlisted.constBegin(); unread != m_unlisted.constEnd(); ++unread) {
        const auto file = now.constFind(unread.key());
        if (file == now.constEnd() || *file != unread.value())
            return false;
    }
    return true;
}

FileIdentity RecordStore::listedIdentity(const QString &fileName) const
{
    if (!m_listed)
        return {};
    for (const ListedMeter &meter : m_meters)
        if (meter.fileName == fileName)
            return meter.identity;
    // A file that could not be read gives nothing to compare with.
    return m_unlisted.contains(fileName) ? FileIdentity() : absentFileIdentity();
}

std::shared_ptr<const pcn::_totalblockdata> RecordStore::loadMeter(int index)
{
    if (index < 0 || index >= m_meters.size())
        return nullptr;
    const ListedMeter &listed = m_meters.at(index);
    std::shared_ptr<const pcn::_totalblockdata> meter = m_loaded.load(currentFilePath(listed.fileName));
    // Another workstation or process changed the file since it was listed:
    // the list follows as for any change on disk, outside the caller's
    // work.
    if (!meter || meter->identity != listed.identity)
        QTimer::singleShot(0, this, &RecordStore::RefreshIfChanged);
    return meter;
}

std::optional<pcn::_totalblockdata> RecordStore::meterToChange(int index)
{
    const std::shared_ptr<const pcn::_totalblockdata> loaded = loadMeter(index);
    if (!loaded)
        return std::nullopt;
    pcn::_totalblockdata meter = *loaded;
    meter.identity = m_meters.at(index).identity;
    return meter;
}

QVector<pcn::_totalblockdata> RecordStore::loadMeters()
{
    QVector<pcn::_totalblockdata> loaded;
    loaded.reserve(m_meters.size());
    for (int i = 0; i < m_meters.size(); ++i)
        if (const std::shared_ptr<const pcn::_totalblockdata> meter = loadMeter(i))
            loaded.append(*meter);
    return loaded;
}

void RecordStore::ReplaceMeter(int index, const pcn::_totalblockdata &meter, int removedVerification)
{
    if (index < 0 || index >= m_meters.size())
        return;
    // The file as this workstation wrote it is part of the listing: the
    // write alone gives no reason to read the folder again. What was just
    // written is what the next look at its points needs.
    m_meters[index] = listedMeterOf(meter);
    if (meter.identity.known && meter.identity.present)
        m_loaded.keep(currentFilePath(meter.fileName), meter);
    else
        m_loaded.forget(currentFilePath(meter.fileName));
    emit meterReplaced(index, removedVerification);
}

void RecordStore::RemoveMeter(int index)
{
    if (index < 0 || index >= m_meters.size())
        return;
    m_loaded.forget(currentFilePath(m_meters.at(index).fileName));
    m_meters.removeAt(index);
    emit meterRemoved(index);
}

QString RecordStore::currentParentPath() const
{
    const int slash = m_currentFolder.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : m_currentFolder.left(slash + 1);
}

QString RecordStore::currentFilePath(const QString &fileName) const
{
    return m_currentFolder + QLatin1Char('/') + fileName;
}

std::optional<QString> RecordStore::NewFolder(const QString &parentFolder, const QString &label) const
{
    if (!IsUsableFolderName(label))
        return std::nullopt;
    const QDir parent(withoutTrailingSlash(parentFolder));
    for (int k = 1; k <= kMaxNewFolderNumber; ++k) {
        const QString name = k == 1 ? label : label + QStringLiteral("(%1)").arg(k);
        // mkdir fails when the name is taken, which moves on to the next one.
        if (parent.mkdir(name))
            return name;
    }
    return std::nullopt;
}

RenameOutcome RecordStore::RenameFolder(const QString &folderPath, const QString &newName)
{
    if (isRoot(folderPath))
        return RenameOutcome::Refused;
    const QString oldPath = withoutTrailingSlash(folderPath);
    const QFileInfo oldInfo(oldPath);
    if (newName == oldInfo.fileName())
        return RenameOutcome::Unchanged;
    // A name with a separator would move the folder somewhere else, possibly
    // out of the data folder.
    if (!IsUsableFolderName(newName) || !oldInfo.isDir())
        return RenameOutcome::Failed;
    const QString newPath = oldInfo.path() + QLatin1Char('/') + newName;
    // Moving onto an existing folder must fail, not merge or replace it.
    if (QFileInfo::exists(newPath) || QFileInfo(newPath).isSymLink())
        return RenameOutcome::Failed;
    if (!QDir().rename(oldPath, newPath))
        return RenameOutcome::Failed;

    if (m_currentFolder == oldPath)
        m_currentFolder = newPath;
    else if (m_currentFolder.startsWith(oldPath + QLatin1Char('/')))
        m_currentFolder = newPath + m_currentFolder.mid(oldPath.size());
    watchCurrentFolder();
    emit folderRenamed(oldPath, newPath);
    return RenameOutcome::Renamed;
}

bool RecordStore::CanDeleteFolder(const QString &folderPath) const
{
    if (isRoot(folderPath))
        return false;
    const QString path = withoutTrailingSlash(folderPath);
    if (!isListableFolder(path) || QFileInfo(path).isSymLink())
        return false;
    // The temporary file of an interrupted write is not content.
    QDirIterator it(path, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        if (!it.fileInfo().isFile() || !platform::isTemporaryWriteName(it.fileName(), kRecordSuffix))
            return false;
    }
    return true;
}

bool RecordStore::DeleteFolder(const QString &folderPath) const
{
    if (!CanDeleteFolder(folderPath))
        return false;
    const QString path = withoutTrailingSlash(folderPath);
    platform::removeStaleTemporaryWrites(path, kRecordSuffix, kStaleWriteAge);
    platform::setReadOnly(path, false);
    // A write under way keeps its temporary file and with it the folder.
    // rmdir removes empty folders only: a file that appeared since the check
    // keeps the folder and its content.
    return QDir().rmdir(path);
}

std::optional<QString> RecordStore::StoreReceivedRecord(const QByteArray &header, const QByteArray &block,
                                                        const pcn::_datacounter &summary, bool *changedMeanwhile)
{
    const QString name = ReceivedRecordFileName(summary);
    const QString path = currentFilePath(name);
    // The new copy is written beside the old one and renamed over it, which
    // replaces a read-only file as well; when the write fails the earlier
    // copy keeps both its bytes and its read-only attribute.
    FileIdentity identity;
    const GuardedWrite written = WriteRecordFile(path, header, block, listedIdentity(name), &identity);
    if (changedMeanwhile)
        *changedMeanwhile = written.changedMeanwhile();
    if (!written)
        return std::nullopt;
    m_loaded.forget(path);
    if (m_listed)
        listStored(name, header + block, identity);
    return path;
}

void RecordStore::listStored(const QString &name, const QByteArray &bytes, const FileIdentity &identity)
{
    // The bytes just written are the file: its summary joins the list at
    // the place of its name, and its listing, so that the write alone gives
    // no reason to read the folder again.
    MeterFileReadResult read = parseMeterFile(bytes, MeterRead::Summaries);
    if (!read.readable)
        return; // never for a converted record; the next look at the folder lists what is there
    read.meter.fileName = name;
    read.meter.identity = identity;
    const auto before = [](const ListedMeter &m, const QString &n) {
        return QString::compare(m.fileName, n, Qt::CaseSensitive) < 0;
    };
    const auto at = std::lower_bound(m_meters.begin(), m_meters.end(), name, before);
    if (at != m_meters.end() && at->fileName == name)
        *at = listedMeterOf(read.meter);
    else
        m_meters.insert(at, listedMeterOf(read.meter));
    m_unlisted.remove(name);
    if (!m_stored.contains(name))
        m_stored.append(name);
}

void RecordStore::AnnounceStored()
{
    if (m_stored.isEmpty())
        return;
    emit recordsStored(std::exchange(m_stored, QStringList()));
}
