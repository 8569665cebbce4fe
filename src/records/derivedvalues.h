// Values of a test point that are not stored but computed when it is read:
// per-phase powers, the total power factor and the inductive/capacitive
// characters.
#pragma once

#include "records/blockdata.h"

#include <array>

namespace pcn {

// Fills P, S, Q, pfTotal and pfChar from U, I, cosPhi, Ptotal, Stotal and
// QshiftTotal and the phases' reactive-sign words (true when set).
//
// A total apparent power of 0 gives pfTotal 0 (there is no defined ratio)
// and therefore the character 'L', by the same rule as any other zero power
// factor.
void computeDerivedValues(pcn::_datasample &point, const std::array<bool, 3> &reactiveSign);

} // namespace pcn
