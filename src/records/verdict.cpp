#include "verdict.h"

#include <cmath>

namespace limits {
namespace {

// A phase carries load when its current is at least this share of the
// largest phase current.
constexpr double kLoadedShare = 0.1;

// Half the step in which .pcn files store the error, per cent.
constexpr double kHalfStoredStep = 0.5 * 100.0 / 65536.0;

} // namespace

PointConditions pointConditions(const pcn::_blockdata &verification, const pcn::_datasample &point)
{
    PointConditions c;
    const bool polyphase = verification.scheme != 4;
    const int phases = polyphase ? 3 : 1;
    double largest = 0;
    for (int p = 0; p < phases; ++p)
        largest = std::max(largest, std::abs(point.I[std::size_t(p)]));
    int loaded = 0;
    int loadedPhase = 0;
    double sum = 0;
    for (int p = 0; p < phases; ++p) {
        const double i = std::abs(point.I[std::size_t(p)]);
        if (largest > 0 && i >= kLoadedShare * largest) {
            ++loaded;
            loadedPhase = p;
            sum += i;
        }
    }
    const double current = loaded > 0 ? sum / loaded : 0.0;
    c.currentFraction = verification.iNom > 0 ? current / verification.iNom : std::nan("");
    double cosPhi = point.pfTotal;
    c.character = point.pfChar[3];
    if (polyphase && loaded == 1) {
        c.load = Load::SinglePhase;
        c.phase = loadedPhase;
        cosPhi = point.cosPhi[std::size_t(loadedPhase)];
        c.character = point.pfChar[std::size_t(loadedPhase)];
    }
    const double absCos = std::min(1.0, std::abs(cosPhi));
    c.powerFactor =
        energyOfPowerType(verification.powerType) == Energy::Active ? absCos : std::sqrt(1.0 - absCos * absCos);
    return c;
}

PointVerdict judgePoint(const Table &table, const pcn::_blockdata &verification, const pcn::_datasample &point)
{
    PointVerdict v;
    v.conditions = pointConditions(verification, point);
    v.error = point.errorPercent;
    const Band *band =
        findBand(table, energyOfPowerType(verification.powerType), tableClass(table, verification.accuracyClass),
                 v.conditions.load, v.conditions.powerFactor, v.conditions.character, v.conditions.currentFraction);
    if (!band || !std::isfinite(v.error))
        return v;
    v.limit = band->limit;
    v.source = band->source;
    // An error on the limit is within it. Errors are stored in steps of
    // 1/655.36 %, so an error measured on the limit reads back up to half a
    // step away from it: that much is still on the limit.
    v.margin = std::abs(v.error) - band->limit;
    v.outcome = v.margin > kHalfStoredStep ? PointOutcome::Over : PointOutcome::Within;
    return v;
}

VerificationVerdict judgeVerification(const Table &table, const pcn::_blockdata &verification)
{
    VerificationVerdict r;
    r.className = tableClass(table, verification.accuracyClass);
    bool anyLimit = false;
    for (int k = 0; k < verification.points.size(); ++k) {
        const PointVerdict p = judgePoint(table, verification, verification.points[k]);
        if (p.outcome != PointOutcome::NoLimit) {
            anyLimit = true;
            if (!r.sources.contains(p.source))
                r.sources << p.source;
        }
        if (p.outcome == PointOutcome::Over)
            r.overPoints << k + 1;
        r.points << p;
    }
    if (!r.overPoints.isEmpty())
        r.outcome = Outcome::Over;
    else if (anyLimit)
        r.outcome = Outcome::Within;
    return r;
}

QString outcomeName(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Within:
        return QStringLiteral("within");
    case Outcome::Over:
        return QStringLiteral("over");
    case Outcome::NoVerdict:
        break;
    }
    return QStringLiteral("none");
}

QString pointOutcomeName(PointOutcome outcome)
{
    switch (outcome) {
    case PointOutcome::Within:
        return QStringLiteral("within");
    case PointOutcome::Over:
        return QStringLiteral("over");
    case PointOutcome::NoLimit:
        break;
    }
    return QStringLiteral("no-limit");
}

} // namespace limits
