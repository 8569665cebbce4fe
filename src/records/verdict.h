// Verdicts: each test point of a verification against the limits table, and
// the verification as a whole.
//
// A point's conditions: its current is the mean current of the phases that
// carry load, over the nominal current of the verification; on a polyphase
// meter a point whose current flows in one phase only (the other phases
// below a tenth of it) is a single-phase load and takes that phase's power
// factor, any other point the total power factor. Active energy matches
// |cos phi| and its character, reactive energy |sin phi|.
#pragma once

#include "records/blockdata.h"
#include "records/errorlimits.h"

#include <QList>
#include <QString>

namespace limits {

struct PointConditions {
    double currentFraction = 0; // NaN when the nominal current is 0
    Load load = Load::Balanced;
    int phase = -1; // 0..2 for a single-phase load, else -1
    double powerFactor = 0; // |cos phi| or |sin phi|
    char character = ' ';
};

PointConditions pointConditions(const pcn::_blockdata &verification, const pcn::_datasample &point);

enum class PointOutcome { Within, Over, NoLimit };

struct PointVerdict {
    PointOutcome outcome = PointOutcome::NoLimit;
    PointConditions conditions;
    double error = 0; // per cent
    double limit = 0; // per cent; 0 without a band
    double margin = 0; // |error| - limit: above 0 over the limit
    QString source; // of the band
};

// A point within its band's limit when |error| <= limit (the limit itself
// is within, to half the step in which files store errors).
PointVerdict judgePoint(const Table &table, const pcn::_blockdata &verification, const pcn::_datasample &point);

enum class Outcome { Within, Over, NoVerdict };

struct VerificationVerdict {
    Outcome outcome = Outcome::NoVerdict;
    QString className; // class of the tables
    QStringList sources; // of the bands used, in order of first use
    QList<PointVerdict> points; // one per test point
    QList<int> overPoints; // 1-based numbers of the points over the limit
};

// "within" when every point with a limit is within and at least one has a
// limit; "over" when any point is over; otherwise no verdict.
VerificationVerdict judgeVerification(const Table &table, const pcn::_blockdata &verification);

// Stable names for the CLI, the exports and the tests.
QString outcomeName(Outcome outcome); // "within", "over", "none"
QString pointOutcomeName(PointOutcome outcome); // "within", "over", "no-limit"

} // namespace limits
