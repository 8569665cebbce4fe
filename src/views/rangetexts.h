// Texts of what a record holds as codes: the measuring ranges of a test
// point and the name of the reference standard's type. Records hold numbers
// and codes only; the grids, lists, protocols, exports and the command line
// make these texts in the language they show, so that a language switch
// re-labels what is shown without reading a file.
#pragma once

#include "records/blockdata.h"
#include "views/textlookup.h"

#include <QLocale>
#include <QString>

#include <array>
#include <cstdint>

// The labels of current ranges taken through a transformer or clamps, in
// the language of a text lookup (main section).
struct RangeLabels {
    QString transformer; // "ResultsTableTitles/TransDescription"
    QString clamps; // "ResultsTableTitles/ClampDescription"

    static RangeLabels from(const TextLookup &lookup);
};

// What the range texts of a verification's points need besides the points:
// the instrument type the verification was stored by (its encoding family
// decides the current range's scale and labels) and the labels.
struct RangeTextContext {
    int instrumentType = 0;
    RangeLabels labels;
};

// Voltage range text: word 3 (+ word 4 / 65536 rounded to 2 decimals when
// word 4 is non-zero). A range is a decimal nominal value kept as a binary
// fraction, so the text is rounded to the nominal value, never cut.
QString rangeVoltageText(const std::array<std::uint16_t, 6> &range, const QLocale &locale);

// Current range text: the integer part (word 0, divided by 4 for instrument
// types of families A and C) (+ word 1 / 65536 rounded to 3 decimals when
// word 1 is non-zero), and for families A and C a space and the transformer
// or clamp label by the kind (word 2).
QString rangeCurrentText(const std::array<std::uint16_t, 6> &range, const RangeTextContext &context,
                         const QLocale &locale);

// The display name of an instrument type ("CalibrationMainTableTitles/QS77"
// and its siblings); "" for an unknown type.
QString instrumentName(int instrumentType, const TextLookup &lookup);
