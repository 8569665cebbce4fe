#include "records/storedindex.h"

#include <QHash>
#include <QSet>

namespace {

// The serial a file's name gives, or else the one its first record header
// gives; nothing when neither can be had.
std::optional<std::uint32_t> serialHint(const QString &path, const std::optional<RecordFileName> &name)
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
    for (const StoredFile &file : ListStoredFiles(dataFolder)) {
        const QString path = StoredFilePath(dataFolder, file);
        // Every verification of one file belongs to one meter, so a file
        // of another serial cannot hold any of the entries.
        const auto serial = serialHint(path, ParseRecordFileName(file.fileName));
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
            break;
    }
    return folders;
}

bool MeterQuery::matches(const QString &type, std::uint32_t number) const
{
    return QString::number(number).contains(serial.trimmed())
           && type.contains(meterType.trimmed(), Qt::CaseInsensitive);
}

QVector<FoundMeter> FindMeters(const QString &dataFolder, const MeterQuery &query)
{
    QVector<FoundMeter> found;
    for (const StoredFile &file : ListStoredFiles(dataFolder)) {
        const QString path = StoredFilePath(dataFolder, file);
        if (const auto name = ParseRecordFileName(file.fileName)) {
            if (!query.matches(name->meterType, name->serial))
                continue;
        } else {
            const auto identity = PeekMeterIdentity(path);
            if (!identity || !query.matches(identity->meterType, identity->serial))
                continue;
        }
        // The name or the first bytes said it may match; the content decides.
        const auto meter = ReadStoredMeter(path);
        if (!meter || meter->verifications.isEmpty())
            continue;
        const pcn::_blockdata &first = meter->verifications.first();
        const VerificationKey identity = KeyOf(first);
        if (!query.matches(identity.meterType, identity.serial))
            continue;
        FoundMeter m{
            file,       identity.meterType, identity.serial, first.serialText, int(meter->verifications.size()),
            first.date, first.time};
        for (const pcn::_blockdata &v : meter->verifications) {
            if (v.date > m.lastDate || (v.date == m.lastDate && v.time > m.lastTime)) {
                m.lastDate = v.date;
                m.lastTime = v.time;
            }
        }
        found.append(std::move(m));
    }
    return found;
}
