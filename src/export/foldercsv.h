// The register of a folder: every verification of every meter in one CSV
// table, one row per test point, each row carrying the meter's file and the
// verification's details. UTF-8, a header row, CRLF line ends, fields quoted
// as RFC 4180 asks (only where needed), numbers with a point.
#pragma once

#include "records/blockdata.h"
#include "records/errorlimits.h"
#include "views/textlookup.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Columns: the file (titled with the "File" menu caption), the eleven
// details of the spreadsheet export (the moment as "yyyy-MM-dd HH:mm:ss"),
// then one column per quantity of the three-phase four-wire grid, whose
// column kinds cover those of the other two grids. A verification fills
// the quantities its own grid has and leaves the others empty. Range texts
// are made again from the stored range entries, with a point.
QStringList folderCsvHeader(const TextLookup &lookup);

// One field quoted when it holds a comma, a quote or a line break.
QString csvField(const QString &text);

// With a limits table two columns follow: each point's verdict mark and its
// limit in per cent (empty without a limit).
QByteArray folderCsv(const QVector<pcn::_totalblockdata> &meters, const TextLookup &lookup,
                     const limits::Table *limits = nullptr);

// Writes the table atomically; false when the file cannot be written.
bool ExportFolderCsv(const QString &path, const QVector<pcn::_totalblockdata> &meters, const TextLookup &lookup,
                     const limits::Table *limits = nullptr);
