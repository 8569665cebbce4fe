// Reading and writing a whole stored verification file (*.pcn): a 67-byte
// file header with the meter's serial text, then one record block per
// verification, each followed by extension blocks for points beyond the
// tenth. Files are written in version 23 only; versions 22 and older, and
// old files without the header, are read as well.
#pragma once

#include "records/blockdata.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The outcome of reading a file. When `readable` is false nothing else holds
// a value: a damaged block anywhere makes the whole file unreadable.
struct MeterFileReadResult {
    bool readable = false;
    pcn::_totalblockdata meter; // fileName is set by ReadMeterFile only
    qint64 bytesConsumed = 0; // record and extension block bytes, header excluded
    bool headerless = false; // the bytes began without a file header
    bool upgraded = false; // ReadMeterFile added the header on disk
};

// Largest file the reader accepts; larger files are not readable (a real
// file holds a few kilobytes per verification).
constexpr qint64 kMaxMeterFileSize = 256 * 1024 * 1024;

// Decodes the bytes of a whole file. Pure: no I/O, never reads outside the
// bytes. Not readable when: there are no bytes; the first byte is the header
// marker but the header is short or its checksum wrong; there is no record
// block; a record header is shorter than 52 bytes or counts 0 points; the
// version is above 23; a block or extension block is short or its checksum
// wrong; the instrument type is not 0, 1, 2, 3 (any version) or 5, 6
// (versions 22 and 23); the date or time is not valid.
// Blocks of different instrument types are read each in its own type's
// encoding; the file's instrument is that of its last block.
//
// `what`: a folder's list asks for the summaries only. The file is then
// checked by every rule above all the same (every block and extension block
// is there and its checksum right), only the points are not decoded: no
// rule depends on their values.
enum class MeterRead { Points, Summaries };
MeterFileReadResult parseMeterFile(QByteArrayView bytes, MeterRead what = MeterRead::Points);

// Reads a file and sets the meter's fileName to the file's name. A readable
// headerless file is upgraded on disk: the file header made from the serial
// number of its first verification is put in front of its unchanged bytes,
// written to a temporary file in the same folder and renamed over the file,
// which becomes read-only; if that fails the file is left as it was and the
// content is returned all the same.
MeterFileReadResult ReadMeterFile(const QString &path, MeterRead what = MeterRead::Points);

// The 67-byte file header: marker 24, the serial text in Windows-1251 (cut to
// 64 bytes; characters the code page lacks become '?'), zeros up to byte 64,
// checksum high byte first.
QByteArray encodeFileHeader(const QString &serialText);

// The bytes of a whole file in version 23: the header from the first
// verification's serialText, then for each verification its 1134-byte record
// block and one 110-byte extension block per point beyond the tenth. Every
// block carries the meter's instrument serial number and the instrument
// type of its verification (the meter's for one made in memory), whose
// encoding its points take. Empty when the meter cannot be stored: no
// verifications, a verification without points or with more than 65535, or
// an instrument type other than 0, 1, 2, 3, 5, 6.
QByteArray encodeMeterFile(const pcn::_totalblockdata &meter);

// Writes encodeMeterFile(meter) atomically (temporary file in the same
// folder, renamed over the old file) and makes it read-only. False when the
// meter cannot be stored or the write fails; the old file is then unchanged.
bool WriteMeterFile(const QString &path, const pcn::_totalblockdata &meter);

// WriteMeterFile over the file the meter was read from, when that file is
// still as `meter.identity` says (the data folder may be shared with other
// workstations); `meter.identity` then becomes that of the new file.
GuardedWrite RewriteMeterFile(const QString &path, pcn::_totalblockdata &meter);

// Writes a file of the given file header followed by the given record block
// bytes as they are (a verification received from the instrument), with the
// same atomic replacement and read-only attribute, over a file still as
// `asRead` (unknown: any file). False when the write fails.
GuardedWrite WriteRecordFile(const QString &path, const QByteArray &header, const QByteArray &block,
                             const FileIdentity &asRead = {}, FileIdentity *written = nullptr);
