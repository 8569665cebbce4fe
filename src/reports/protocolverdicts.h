// Verdicts and error curves in a protocol: under each verification's table a
// verdict line and the verification's error curve, when the title dialog's
// ticks ask for them.
#pragma once

#include "records/errorlimits.h"
#include "reports/protocoldocument.h"
#include "views/textlookup.h"

namespace report {

// Size of the error curve under a table, millimetres.
inline constexpr double kCurveWidth = 170.1;
inline constexpr double kCurveHeight = 68.0;

// Fills every group's verdict line (when `includeVerdicts`) and curve items
// (when `includeCurves`) from the verification it shows. Texts come from
// section "Verdicts" through `lookup`.
void addProtocolVerdicts(ProtocolDocument &document, const pcn::_totalblockdata &meter, const limits::Table &table,
                         bool includeVerdicts, bool includeCurves, const TextLookup &lookup,
                         const QLocale &locale = QLocale());

} // namespace report
