#include "records/storedindex.h"

#include "base/parallel.h"

#include <QDir>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <vector>

namespace {

// The serial a file's name gives, or else the one its first record header
// gives; nothing when neither can be had.
std::optional<std::uint32_t> serialHint(const QString &path, const std::optional<RecordFileNameView> &name)
{
    if (name)
        return name->serial;
    if (const auto identity = PeekMeterIdentity(path))
        return identity->serial;
    return std::nullopt;
}

} // namespace

QVector<std::optional<QString>> LocateStored(const QString &dataFolder, const QVector<pcn::_datacounter> &entries)
{
    QVector<std::optional<QString>> folders(entries.size());
    QHash<VerificationKey, QVector<int>> wanted;
    QSet<std::uint32_t> serials;
    for (int i = 0; i < entries.size(); ++i) {
        wanted[KeyOf(entries.at(i))].append(i);
        serials.insert(entries.at(i).serial);
    }
    if (entries.isEmpty())
        return folders;

    int open = int(entries.size());
    const QString root = QDir::cleanPath(dataFolder);
    // Every verification of one file belongs to one meter, so a file of
    // another serial cannot hold any of the entries: the names tell most
    // while the folders are listed.
    const auto otherSerial = [&](const QString &name) {
        const auto parts = ParseRecordFileNameView(name);
        return parts && !serials.contains(parts->serial);
    };
    for (const StoredFolder &folder :
         ListStoredFolders(root, [&](QStringList &names) { names.removeIf(otherSerial); })) {
        for (const QString &fileName : folder.fileNames) {
            const StoredFile file{folder.folder, fileName};
            const QString path = StoredFilePath(root, file);
            const auto serial = serialHint(path, ParseRecordFileNameView(fileName));
            if (!serial || !serials.contains(*serial))
                continue;
            const auto meter = ReadStoredMeter(path);
            if (!meter)
                continue;
            for (const pcn::_blockdata &v : meter->verifications) {
                for (int i : wanted.value(KeyOf(v))) {
                    if (!folders[i]) {
                        folders[i] = file.folder;
                        --open;
                    }
                }
            }
            if (open == 0)
                return folders;
        }
    }
    return folders;
}

bool MeterQuery::matches(const QString &type, std::uint32_t number) const
{
    return QString::number(number).contains(serial.trimmed())
           && type.contains(meterType.trimmed(), Qt::CaseInsensitive);
}

namespace {

// A query trimmed once, matched against parts of names without copying them.
class PreparedQuery {
public:
    explicit PreparedQuery(const MeterQuery &query)
        : m_serial(query.serial.trimmed()), m_type(query.meterType.trimmed())
    {}

    bool matches(QStringView type, std::uint32_t number) const
    {
        if (!m_serial.isEmpty()) {
            char16_t digits[10];
            qsizetype at = std::size(digits);
            do {
                digits[--at] = char16_t(u'0' + number % 10);
                number /= 10;
            } while (number != 0);
            if (!QStringView(digits + at, std::size(digits) - at).contains(m_serial))
                return false;
        }
        return type.contains(m_type, Qt::CaseInsensitive);
    }

private:
    QString m_serial;
    QString m_type;
};

// The meter of one listed file when it matches; nothing otherwise. The
// name, when it is one the instrument gives, has already been matched.
std::optional<FoundMeter> findIn(const QString &root, const StoredFile &file, const PreparedQuery &query)
{
    const QString path = StoredFilePath(root, file);
    if (!ParseRecordFileNameView(file.fileName)) {
        const auto identity = PeekMeterIdentity(path);
        if (!identity || !query.matches(identity->meterType, identity->serial))
            return std::nullopt;
    }
    // The name or the first bytes said it may match; the content decides.
    const auto meter = ReadStoredMeter(path);
    if (!meter || meter->verifications.isEmpty())
        return std::nullopt;
    const pcn::_blockdata &first = meter->verifications.first();
    const VerificationKey identity = KeyOf(first);
    if (!query.matches(identity.meterType, identity.serial))
        return std::nullopt;
    FoundMeter m{file,       identity.meterType, identity.serial, first.serialText, int(meter->verifications.size()),
                 first.date, first.time};
    for (const pcn::_blockdata &v : meter->verifications) {
        if (v.date > m.lastDate || (v.date == m.lastDate && v.time > m.lastTime)) {
            m.lastDate = v.date;
            m.lastTime = v.time;
        }
    }
    return m;
}

} // namespace

QVector<FoundMeter> FindMeters(const QString &dataFolder, const MeterQuery &query)
{
    const QString root = QDir::cleanPath(dataFolder);
    const PreparedQuery prepared(query);
    // Names decide first, while the folders are listed: only the files whose
    // name may match (or tells nothing) remain to be looked into.
    QVector<StoredFile> candidates;
    for (StoredFolder &folder : ListStoredFolders(root, [&](QStringList &names) {
             names.removeIf([&](const QString &name) {
                 const auto parts = ParseRecordFileNameView(name);
                 return parts && !prepared.matches(parts->meterType, parts->serial);
             });
         })) {
        for (QString &name : folder.fileNames)
            candidates.append(StoredFile{folder.folder, std::move(name)});
    }
    // The candidates are independent: each is read into its own slot, which
    // keeps the listing's order.
    std::vector<std::optional<FoundMeter>> perCandidate(std::size_t(candidates.size()));
    parallel::forEachIndex(
        candidates.size(),
        [&](qsizetype i, int) { perCandidate[std::size_t(i)] = findIn(root, candidates.at(i), prepared); }, 0, 64, 16);
    QVector<FoundMeter> found;
    for (std::optional<FoundMeter> &m : perCandidate) {
        if (m)
            found.append(std::move(*m));
    }
    return found;
}
