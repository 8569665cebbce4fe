// Conversion of the raw verification records read from the instrument's
// archive into stored version-23 record blocks with their file header, and
// the storing of the converted records in the current folder.
//
// A raw record slot is one whole answer frame of a record read: 4 frame
// header bytes, the 1024-byte archive record, 2 frame checksum bytes. Its
// offsets coincide with those of the stored record block. Older instruments
// (model classes 0, 1, 2) deliver the stored layout as it is, with the range
// codes in bytes 94 and 95 of each point. Newer ones (classes 3, 5, 6)
// deliver a checksummed header (bytes 4-51) with the date, time and
// transformer fields at other places, and checksummed point blocks whose
// range codes are in bytes 92 and 93.
#pragma once

#include "records/deviceinfo.h"
#include "records/blockdata.h"
#include "records/pcnlayout.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <cstdint>
#include <optional>

class RecordStore;

// Size of one raw record slot.
constexpr std::size_t kArchiveSlotSize = 1030;

// The work buffer in which a slot becomes a record block: the slot is copied
// to its start (the rest is zero) and the conversion turns it into the
// 1132-byte record followed by room for its checksum.
using CnvWorkBuffer = std::array<std::uint8_t, pcn::kBlockSize>;
// The 67-byte file header of the stored file.
using CnvFileHeader = std::array<std::uint8_t, pcn::kFileHeaderSize>;

// Length of a converted record without its checksum (what the converters
// return on success).
constexpr int kConvertedRecordLength = int(pcn::kBlockSize - pcn::kChecksumSize); // 1132

// The summary a record starts from before conversion: empty meter type,
// serial 0, year 1970, scheme 8, power type 8, 1 January 1960, 00:00:00.
pcn::_datacounter ArchiveSummaryDefaults();

// Converts the work buffer of a record of model class 0, 1 or 2 in place.
// Fills the file header bytes 0-64 (marker and serial text; the checksum is
// left to the caller) and the summary: meter type, serial, serial text, power
// type, scheme, date and time with their BCD forms. Returns 1132, or 0 when
// the record is rejected (single-phase record of power type 2, invalid date
// or time, no points, a range code outside the instrument's tables, unknown
// model class); the buffer is then left unchanged.
//
// The raw record has room for 10 point blocks and no extension blocks, so a
// point count above 10 is stored as 10: the points that arrived are kept and
// the file stays readable.
int ConvertOlder(CnvWorkBuffer &work, CnvFileHeader &header, pcn::_datacounter &summary, const DeviceInfo &info);

// Converts the work buffer of a record of model class 3, 5 or 6 in place.
// Bytes 50-51 must hold the number of valid point blocks (the storing loop
// writes it there after checking the block checksums). Same outputs and
// result as ConvertOlder; a record without valid points is rejected as well.
// A meter constant that would not fit in 32 bits after its multiplier is
// stored as 4294967295 (the record is kept, its constant is the nearest one
// the file can hold) and `constantClamped`, when given, is set.
int ConvertNewer(CnvWorkBuffer &work, CnvFileHeader &header, pcn::_datacounter &summary, const DeviceInfo &info,
                 bool *constantClamped = nullptr);

// One converted record, ready to be written: the file header and the record
// block (both with their checksums) and the summary that names the file.
struct ConvertedArchiveRecord {
    QByteArray header; // 67 bytes
    QByteArray block; // 1134 bytes
    pcn::_datacounter summary; // meter type, serial, date, time, power type
    bool constantClamped = false; // the constant was stored as 4294967295
};

// The whole treatment of one slot, without any file access: copy into a
// zeroed work buffer; for the newer classes check the header checksum and
// count the valid point blocks up to the first damaged one; convert; write
// both checksums. Nothing when the slot is not exactly 1030 bytes long or
// the record is skipped. Every record returned reads back with the file
// reader.
std::optional<ConvertedArchiveRecord> ConvertArchiveSlot(QByteArrayView slot, const DeviceInfo &info);

// What became of the records of one storing run.
struct ArchiveStoreReport {
    QStringList written; // paths of the files written, in slot order
    int skipped = 0; // records the conversion passes over (no file is due)
    int notStored = 0; // converted records whose file could not be written
    int changedMeanwhile = 0; // of those, files another workstation wrote meanwhile
    int clampedConstants = 0; // records stored with their constant clamped
    // Records that should have become files: written and not stored.
    int due() const { return int(written.size()) + notStored; }
    // Nothing to tell the user: every due record is stored as it came.
    bool complete() const { return notStored == 0 && clampedConstants == 0; }
};

// Converts the first `count` slots in order and stores each converted record
// in the store's current folder (a file of the same name is replaced; a file
// that cannot be written keeps its earlier copy whole). Returns the paths
// written, in slot order (a path appears twice when a later record of the
// same name replaced an earlier one), and counts the records skipped, not
// stored and stored with a clamped constant. The stored meters join the
// store's list, which announces them once at the end (recordsStored); the
// caller tells the user what was not stored.
ArchiveStoreReport StoreArchiveRecords(const QVector<QByteArray> &rawSlots, int count, const DeviceInfo &info,
                                       RecordStore &store);
