// Report files (*.QRP): the finished pages of a protocol as previewed, so
// that a saved report reopens identically without the record files or the
// string file. The byte layout is described in docs/report-format.md.
#pragma once

#include "base/stringcatalog.h"
#include "reports/pagemodel.h"

#include <QByteArray>

namespace report {

// Version 2 adds shape items; a file without them is written as version 1.
inline constexpr quint16 kReportFileVersion = 2;

enum class ReportFileError {
    None,
    CannotOpen, // the file cannot be read
    NotReportFile, // the file does not start with the report file mark
    Truncated, // the file ends before its stated length
    NewerVersion, // written by a newer program
    Damaged, // checksum or content does not agree
    CannotWrite, // saving failed; the old file is untouched
};

// The program text that tells the error (an error other than None).
ProgramText reportFileText(ReportFileError error);

QByteArray encodeReportFile(const ReportPages &pages);

// Decodes a whole report file. On any error returns it and leaves `pages`
// unchanged.
ReportFileError decodeReportFile(const QByteArray &bytes, ReportPages &pages);

ReportFileError loadReportFile(const QString &path, ReportPages &pages);
// Writes atomically: the target is either its old content or the new one.
ReportFileError saveReportFile(const QString &path, const ReportPages &pages);

} // namespace report
