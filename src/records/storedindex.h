// What is already stored below the data folder: where the verifications of
// an instrument's archive are kept, and which meters match part of a serial
// number or meter type. Both look at file names first and read only the files
// that may match, so that a data folder of 100,000 files is searched in well
// under a second once its names are in the file system's cache. A renamed
// file is recognised by its first record header; a merged file (several
// verifications of one meter) by reading the keys of all its verifications.
#pragma once

#include "records/blockdata.h"
#include "records/storedfiles.h"

#include <QString>
#include <QVector>

#include <optional>

// For each entry (an archive content entry or any verification summary), the
// folder below the data folder that keeps it (relative, "" for the data
// folder itself), or nothing when it is stored nowhere. When several files
// keep it, the first in ListStoredFiles order counts.
QVector<std::optional<QString>> LocateStored(const QString &dataFolder, const QVector<pcn::_datacounter> &entries);

// A search: parts of the serial number (its decimal digits) and of the
// meter type (any letter case); an empty part matches everything.
struct MeterQuery {
    QString serial;
    QString meterType;

    bool isEmpty() const { return serial.isEmpty() && meterType.isEmpty(); }
    bool matches(const QString &meterType, std::uint32_t serial) const;
};

// One meter file found.
struct FoundMeter {
    StoredFile file;
    QString meterType; // of its first verification, padding removed
    std::uint32_t serial = 0;
    QString serialText; // as the meter list shows it
    int verifications = 0;
    QDate lastDate; // the latest verification's moment
    QTime lastTime;
};

// Every readable meter file below the data folder whose meter matches, in
// ListStoredFiles order.
QVector<FoundMeter> FindMeters(const QString &dataFolder, const MeterQuery &query);
