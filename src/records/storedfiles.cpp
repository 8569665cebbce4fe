#include "records/storedfiles.h"

#include "records/meterfile.h"
#include "records/metertype.h"
#include "records/pcnlayout.h"
#include "records/recordstore.h"
#include "base/parallel.h"
#include "base/platform.h"

#include <QDir>
#include <QFile>
#include <QHashFunctions>

#include <algorithm>

using namespace pcn;

namespace {

const QString kRecordSuffix = QStringLiteral(".pcn");

void sortNames(QStringList &names)
{
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return QString::compare(a, b, Qt::CaseSensitive) < 0; });
}

// A folder of the walk below the data folder.
struct WalkNode {
    QString path;
    StoredFolder listing;
    QStringList subFolders;
    QVector<qsizetype> children;
};

void listNode(WalkNode &node, const std::function<void(QStringList &)> &thin)
{
    // One pass over the directory that takes each entry's type from the
    // directory itself: no status call for a file of a large folder.
    platform::FolderEntries entries = platform::listFolder(node.path);
    QStringList &fileNames = entries.files;
    fileNames.removeIf([](const QString &name) { return !name.endsWith(kRecordSuffix, Qt::CaseInsensitive); });
    // Thinned first: a search sorts only the names it keeps.
    if (thin)
        thin(fileNames);
    sortNames(fileNames);
    sortNames(entries.folders);
    node.listing.fileNames = std::move(fileNames);
    node.subFolders = std::move(entries.folders);
}

void appendInOrder(std::vector<WalkNode> &nodes, qsizetype at, QVector<StoredFolder> &folders)
{
    folders.append(std::move(nodes[std::size_t(at)].listing));
    for (qsizetype child : std::as_const(nodes[std::size_t(at)].children))
        appendInOrder(nodes, child, folders);
}

// The number of a run of ASCII digits; -1 when the text is empty, holds
// anything else or is longer than `maxDigits`.
qint64 digitsValue(QStringView text, int maxDigits)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return -1;
    qint64 value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

QString withoutPadding(QString text)
{
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

} // namespace

QVector<StoredFolder> ListStoredFolders(const QString &dataFolder, const std::function<void(QStringList &)> &thin)
{
    QVector<StoredFolder> folders;
    const QString root = QDir::cleanPath(dataFolder);
    if (!QFileInfo(root).isDir())
        return folders;
    // Depth by depth: the folders of one depth are independent and listed on
    // all processors; the next depth's folders are added between the depths,
    // so that no node moves while a thread works on it.
    std::vector<WalkNode> nodes(1);
    nodes.front().path = root;
    std::vector<qsizetype> depth{0};
    while (!depth.empty()) {
        parallel::forEachIndex(
            qsizetype(depth.size()),
            [&](qsizetype k, int) { listNode(nodes[std::size_t(depth[std::size_t(k)])], thin); }, 0, 2, 1);
        std::vector<qsizetype> next;
        for (qsizetype at : depth) {
            const QStringList subFolders = nodes[std::size_t(at)].subFolders; // nodes grows below
            for (const QString &name : subFolders) {
                WalkNode child;
                const WalkNode &parent = nodes[std::size_t(at)];
                child.path = parent.path + QLatin1Char('/') + name;
                child.listing.folder =
                    parent.listing.folder.isEmpty() ? name : parent.listing.folder + QLatin1Char('/') + name;
                nodes[std::size_t(at)].children.append(qsizetype(nodes.size()));
                next.push_back(qsizetype(nodes.size()));
                nodes.push_back(std::move(child));
            }
        }
        depth = std::move(next);
    }
    appendInOrder(nodes, 0, folders);
    return folders;
}

QVector<StoredFile> ListStoredFiles(const QString &dataFolder)
{
    QVector<StoredFolder> folders = ListStoredFolders(dataFolder);
    qsizetype count = 0;
    for (const StoredFolder &folder : std::as_const(folders))
        count += folder.fileNames.size();
    QVector<StoredFile> files;
    files.reserve(count);
    for (StoredFolder &folder : folders) {
        for (QString &name : folder.fileNames)
            files.append(StoredFile{folder.folder, std::move(name)});
    }
    return files;
}

QString StoredFilePath(const QString &dataFolder, const StoredFile &file)
{
    const QString root = QDir::cleanPath(dataFolder);
    return file.folder.isEmpty() ? root + QLatin1Char('/') + file.fileName
                                 : root + QLatin1Char('/') + file.folder + QLatin1Char('/') + file.fileName;
}

QString StoredFolderCaption(const QString &relativeFolder)
{
    return relativeFolder.isEmpty() ? kRootFolderCaption : kRootFolderCaption + QLatin1Char('/') + relativeFolder;
}

std::optional<RecordFileNameView> ParseRecordFileNameView(QStringView fileName)
{
    // Called for every file below the data folder: plain character work, no
    // allocation.
    if (!fileName.endsWith(kRecordSuffix, Qt::CaseInsensitive))
        return std::nullopt;
    const QStringView stem = fileName.chopped(kRecordSuffix.size());
    // The meter type may itself hold "^": the four other parts are taken
    // from the right, in one pass over the characters.
    QStringView parts[4];
    qsizetype end = stem.size();
    int k = 3;
    for (qsizetype at = stem.size() - 1; at >= 0 && k >= 0; --at) {
        if (stem[at] == u'^') {
            parts[k--] = stem.mid(at + 1, end - at - 1);
            end = at;
        }
    }
    if (k >= 0)
        return std::nullopt;
    const qint64 serial = digitsValue(parts[0], 10);
    const QStringView date = parts[1];
    const QStringView time = parts[2];
    const qint64 power = digitsValue(parts[3], 3);
    if (serial < 0 || serial > 0xFFFFFFFFll || power < 0 || date.size() != 10 || date.at(4) != QLatin1Char('-')
        || date.at(7) != QLatin1Char('-') || time.size() != 6)
        return std::nullopt;
    const qint64 moment[6] = {digitsValue(date.first(4), 4),  digitsValue(date.mid(5, 2), 2),
                              digitsValue(date.mid(8, 2), 2), digitsValue(time.first(2), 2),
                              digitsValue(time.mid(2, 2), 2), digitsValue(time.mid(4, 2), 2)};
    if (std::any_of(std::begin(moment), std::end(moment), [](qint64 v) { return v < 0; }))
        return std::nullopt;
    RecordFileNameView name;
    name.date = QDate(int(moment[0]), int(moment[1]), int(moment[2]));
    name.time = QTime(int(moment[3]), int(moment[4]), int(moment[5]));
    if (!name.date.isValid() || !name.time.isValid())
        return std::nullopt;
    QStringView type = stem.first(end);
    while (type.endsWith(QLatin1Char(' ')))
        type.chop(1);
    name.meterType = type;
    name.serial = std::uint32_t(serial);
    name.powerType = int(power);
    return name;
}

std::optional<RecordFileName> ParseRecordFileName(const QString &fileName)
{
    const auto view = ParseRecordFileNameView(fileName);
    if (!view)
        return std::nullopt;
    return RecordFileName{view->meterType.toString(), view->serial, view->date, view->time, view->powerType};
}

std::optional<MeterIdentity> PeekMeterIdentity(const QString &path)
{
    const std::optional<QByteArray> head = platform::readFileStart(path, qint64(kFileHeaderSize + kRecordHeaderSize));
    if (!head || head->isEmpty())
        return std::nullopt;
    const QByteArray &bytes = *head;
    const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.constData());
    const std::size_t start = data[0] == kFileHeaderMarker ? kFileHeaderSize : 0;
    if (std::size_t(bytes.size()) < start + kRecordHeaderSize)
        return std::nullopt;
    const std::uint8_t *h = data + start;
    MeterIdentity identity;
    identity.meterType = withoutPadding(
        DecodeMeterType(QByteArrayView(reinterpret_cast<const char *>(h + rh::meterType), kMeterTypeBytes)));
    identity.serial = (std::uint32_t(getWord(h, rh::serialHigh)) << 16) | getWord(h, rh::serialLow);
    return identity;
}

std::optional<pcn::_totalblockdata> ReadStoredMeter(const QString &path)
{
    // One open, one status call and one read; no device, pipe or socket is
    // opened (their opening or reading could block).
    const std::optional<QByteArray> bytes = platform::readWholeFile(path, kMaxMeterFileSize);
    if (!bytes)
        return std::nullopt;
    MeterFileReadResult result = parseMeterFile(*bytes);
    if (!result.readable)
        return std::nullopt;
    result.meter.fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    return std::move(result.meter);
}

VerificationKey KeyOf(const pcn::_datacounter &verification)
{
    return VerificationKey{withoutPadding(verification.meterType), verification.serial, verification.date,
                           verification.time, verification.powerType};
}

size_t qHash(const VerificationKey &key, size_t seed)
{
    return qHashMulti(seed, key.meterType, key.serial, key.date, key.time, key.powerType);
}
