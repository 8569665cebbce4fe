#include "records/storedfiles.h"

#include "records/meterfile.h"
#include "records/metertype.h"
#include "records/pcnlayout.h"
#include "records/recordlabels.h"

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

bool allDigits(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit() && c.unicode() < 128; });
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

std::optional<RecordFileName> ParseRecordFileName(const QString &fileName)
{
    if (!fileName.endsWith(kRecordSuffix, Qt::CaseInsensitive))
        return std::nullopt;
    const QString stem = fileName.left(fileName.size() - kRecordSuffix.size());
    // The meter type may itself hold "^": the four other parts are taken
    // from the right.
    QStringList parts;
    int end = int(stem.size());
    for (int k = 0; k < 4; ++k) {
        const int sep = int(stem.lastIndexOf(QLatin1Char('^'), end - 1));
        if (sep < 0)
            return std::nullopt;
        parts.prepend(stem.mid(sep + 1, end - sep - 1));
        end = sep;
    }
    const QString &serial = parts.at(0);
    const QString &power = parts.at(3);
    if (!allDigits(serial) || serial.size() > 10 || !allDigits(power) || power.size() > 3)
        return std::nullopt;
    bool ok = false;
    const qulonglong serialValue = serial.toULongLong(&ok);
    if (!ok || serialValue > 0xFFFFFFFFull)
        return std::nullopt;
    RecordFileName name;
    name.meterType = withoutPadding(stem.left(end));
    name.serial = std::uint32_t(serialValue);
    name.date = QDate::fromString(parts.at(1), QStringLiteral("yyyy-MM-dd"));
    name.time = QTime::fromString(parts.at(2), QStringLiteral("HHmmss"));
    name.powerType = power.toInt();
    if (!name.date.isValid() || !name.time.isValid())
        return std::nullopt;
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
    static const RecordLabels labels = RecordLabels::defaults(1);
    MeterFileReadResult result = parseMeterFile(bytes, labels);
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
