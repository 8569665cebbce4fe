#include "records/storedfiles.h"

#include "records/meterfile.h"
#include "records/metertype.h"
#include "records/pcnlayout.h"
#include "records/recordstore.h"

#include <QDir>
#include <QDirIterator>
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

void listFolder(const QString &path, const QString &relative, QVector<StoredFile> &files)
{
    QStringList fileNames;
    QStringList folders;
    QDirIterator it(path, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        const QString name = it.fileName();
        if (info.isDir()) {
            if (!info.isSymLink())
                folders.append(name);
        } else if (name.endsWith(kRecordSuffix, Qt::CaseInsensitive)) {
            fileNames.append(name);
        }
    }
    sortNames(fileNames);
    sortNames(folders);
    for (const QString &name : std::as_const(fileNames))
        files.append(StoredFile{relative, name});
    for (const QString &name : std::as_const(folders))
        listFolder(path + QLatin1Char('/') + name, relative.isEmpty() ? name : relative + QLatin1Char('/') + name,
                   files);
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

QVector<StoredFile> ListStoredFiles(const QString &dataFolder)
{
    QVector<StoredFile> files;
    QString root = QDir::cleanPath(dataFolder);
    if (QFileInfo(root).isDir())
        listFolder(root, QString(), files);
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

std::optional<RecordFileName> ParseRecordFileName(const QString &fileName)
{
    // Called for every file below the data folder: plain character work, no
    // allocation but the meter type's.
    if (!fileName.endsWith(kRecordSuffix, Qt::CaseInsensitive))
        return std::nullopt;
    const QStringView stem = QStringView(fileName).chopped(kRecordSuffix.size());
    // The meter type may itself hold "^": the four other parts are taken
    // from the right.
    QStringView parts[4];
    qsizetype end = stem.size();
    for (int k = 3; k >= 0; --k) {
        const qsizetype sep = end > 0 ? stem.lastIndexOf(QLatin1Char('^'), end - 1) : -1;
        if (sep < 0)
            return std::nullopt;
        parts[k] = stem.mid(sep + 1, end - sep - 1);
        end = sep;
    }
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
    RecordFileName name;
    name.date = QDate(int(moment[0]), int(moment[1]), int(moment[2]));
    name.time = QTime(int(moment[3]), int(moment[4]), int(moment[5]));
    if (!name.date.isValid() || !name.time.isValid())
        return std::nullopt;
    QStringView type = stem.first(end);
    while (type.endsWith(QLatin1Char(' ')))
        type.chop(1);
    name.meterType = type.toString();
    name.serial = std::uint32_t(serial);
    name.powerType = int(power);
    return name;
}

std::optional<MeterIdentity> PeekMeterIdentity(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(qint64(kFileHeaderSize + kRecordHeaderSize));
    if (bytes.isEmpty())
        return std::nullopt;
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxMeterFileSize)
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    MeterFileReadResult result = parseMeterFile(bytes);
    if (!result.readable)
        return std::nullopt;
    result.meter.fileName = QFileInfo(path).fileName();
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
