// The texts of verdicts as `text(path)` gives them: the verification's verdict
// line, a point's mark, and the message of a refused limits file. Texts come
// from section "Verdicts" of the string file through `text(path)`.
#pragma once

#include "records/errorlimits.h"
#include "records/verdict.h"

#include <QLocale>
#include <QString>

#include <functional>

namespace limits {

using VerdictTexts = std::function<QString(const QString &path)>;

inline const QString kVerdictSection = QStringLiteral("Verdicts");

// "Within the limits of class 1 (IEC ..., Table 7)" / "Exceeds ... at points
// 3, 7" / "No verdict: ...".
QString verdictLine(const VerificationVerdict &verdict, const VerdictTexts &text);

// A point's mark for grids and exports: "✓ within", "✗ over by 0.25",
// "— no limit".
QString pointMark(const PointVerdict &point, const VerdictTexts &text, const QLocale &locale = QLocale());

// The power list's short mark: "✓", "✗" or "".
QString listMark(Outcome outcome, const VerdictTexts &text);

// The message of a refused limits file, or "" when none was refused.
QString refusalMessage(const LoadedLimits &loaded, const VerdictTexts &text);

} // namespace limits
