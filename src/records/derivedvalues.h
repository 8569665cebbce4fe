// Values of a test point that are not stored but computed when it is read:
// per-phase powers, the total power factor, the inductive/capacitive
// characters and the texts of the measuring ranges.
#pragma once

#include "records/blockdata.h"
#include "records/numericcodec.h"
#include "records/rangetables.h"
#include "records/recordlabels.h"

#include <array>

namespace pcn {

// Fills P, S, Q, pfTotal and pfChar from U, I, cosPhi, Ptotal, Stotal and
// QshiftTotal and the phases' reactive-sign words (true when set).
//
// A total apparent power of 0 gives pfTotal 0 (there is no defined ratio)
// and therefore the character 'L', by the same rule as any other zero power
// factor.
void computeDerivedValues(pcn::_datasample &point, const std::array<bool, 3> &reactiveSign);

// Voltage range text: word 3 (+ word 4 / 65536 rounded to 2 decimals when
// word 4 is non-zero). A range is a decimal nominal value kept as a binary
// fraction, so the text is rounded to the nominal value, never cut.
QString rangeVoltageText(const RangeEntry &range, const QLocale &locale);

// Current range text: the integer part (word 0, divided by 4 for families A
// and C) (+ word 1 / 65536 rounded to 3 decimals when word 1 is non-zero), and for
// families A and C a space and the transformer or clamp label by the kind.
QString rangeCurrentText(const RangeEntry &range, EncodingFamily family, const RecordLabels &labels);

} // namespace pcn
