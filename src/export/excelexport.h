// The spreadsheet export of one verification: an XML Spreadsheet 2003
// document (SpreadsheetML) with one header row and one row per test point,
// each row holding the meter and verification details in front of the
// result grid's columns as the grid shows them.
#pragma once

#include "records/blockdata.h"
#include "records/errorlimits.h"
#include "base/appstate.h"
#include "views/textlookup.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include <array>
#include <optional>

struct ExcelExportInput {
    const pcn::_blockdata *verification = nullptr;
    std::array<GridColumns, kGridCount> columns; // the grids' column configuration
    TextLookup lookup; // the texts written
    QLocale locale; // the user's locale, as the grid uses it
    QDateTime created; // the moment the file is written
    // With a limits table the grid's verdict column is written as well.
    std::optional<limits::Table> limits;
};

// The document's bytes (UTF-8). The table has 11 + N columns and P + 2 rows
// for a grid of N displayed columns and a verification of P test points.
// Grid cells whose text converts to a number under the locale are typed
// Number and hold the number with a point; all others are typed String.
QByteArray excelDocument(const ExcelExportInput &input);

// Writes the document atomically: the file is either complete or as it was.
// An existing file is replaced. False when the file cannot be written.
bool ExportExcel(const QString &path, const ExcelExportInput &input);
