// The stored verification files anywhere below the data folder, looked at as
// cheaply as possible: the name of a file tells most (files from the
// instrument are named meter type ^ serial ^ date ^ time ^ power type), its
// first bytes tell the meter it belongs to, and only a file that may hold
// what is sought is read whole. Nothing here changes a file.
#pragma once

#include "records/blockdata.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVector>

#include <functional>
#include <optional>

// One .pcn file below the data folder.
struct StoredFile {
    QString folder; // relative to the data folder, "/" between names; empty: the data folder itself
    QString fileName;
};

// Every .pcn file below a folder: the folder's own files first, then each
// sub-folder's in name order, recursively. Links to folders are not
// followed (they could lead out of the tree or round in a circle).
QVector<StoredFile> ListStoredFiles(const QString &dataFolder);

// The .pcn files of one folder below the data folder, in name order.
struct StoredFolder {
    QString folder; // as in StoredFile
    QStringList fileNames;
};
// Every folder below a folder in the order of ListStoredFiles, each with its
// .pcn files; the folders of one depth are listed on all processors.
// `thin`, when given, is called once for each folder's names before they
// are sorted (on any thread, for several folders at once) and may remove
// the names of no interest.
QVector<StoredFolder> ListStoredFolders(const QString &dataFolder,
                                        const std::function<void(QStringList &fileNames)> &thin = {});

// The full path of a stored file.
QString StoredFilePath(const QString &dataFolder, const StoredFile &file);

// A folder relative to the data folder as the folder tree shows its path:
// the root's caption "Data", then the names ("Data/North/2024").
QString StoredFolderCaption(const QString &relativeFolder);

// The parts of a name made by ReceivedRecordFileName. Nothing when the name
// does not follow that form (a renamed file).
struct RecordFileName {
    QString meterType; // as in the name, padding spaces removed
    std::uint32_t serial = 0;
    QDate date;
    QTime time;
    int powerType = 0;
};
std::optional<RecordFileName> ParseRecordFileName(const QString &fileName);
// The same parts with the meter type as a part of `fileName` (valid while
// it is), for looking at many names without copying any.
struct RecordFileNameView {
    QStringView meterType;
    std::uint32_t serial = 0;
    QDate date;
    QTime time;
    int powerType = 0;
};
std::optional<RecordFileNameView> ParseRecordFileNameView(QStringView fileName);

// The meter of a file as its first record header gives it (after the file
// header, when there is one), read from the first bytes only and without
// checking any checksum: a hint for choosing the files to read whole.
struct MeterIdentity {
    QString meterType; // padding spaces removed
    std::uint32_t serial = 0;
};
std::optional<MeterIdentity> PeekMeterIdentity(const QString &path);

// The content of a file, read without changing it (an old headerless file is
// not upgraded here); nothing when the file is not readable.
std::optional<pcn::_totalblockdata> ReadStoredMeter(const QString &path);

// What tells one verification of the instrument from another: meter type
// (padding spaces removed), serial, moment and power type.
struct VerificationKey {
    QString meterType;
    std::uint32_t serial = 0;
    QDate date;
    QTime time;
    int powerType = 0;

    bool operator==(const VerificationKey &) const = default;
};
VerificationKey KeyOf(const pcn::_datacounter &verification);
size_t qHash(const VerificationKey &key, size_t seed = 0);
