#include "verdicttext.h"

#include "records/numberformat.h"

namespace limits {

QString verdictLine(const VerificationVerdict &verdict, const VerdictTexts &text)
{
    const QString sources = verdict.sources.join(QStringLiteral("; "));
    switch (verdict.outcome) {
    case Outcome::Within:
        return text(QStringLiteral("Within")).arg(verdict.className, sources);
    case Outcome::Over: {
        QStringList numbers;
        for (int n : verdict.overPoints)
            numbers << QString::number(n);
        return text(QStringLiteral("Over")).arg(verdict.className, sources, numbers.join(QStringLiteral(", ")));
    }
    case Outcome::NoVerdict:
        break;
    }
    return text(QStringLiteral("None")).arg(verdict.className);
}

QString pointMark(const PointVerdict &point, const VerdictTexts &text, const QLocale &locale)
{
    switch (point.outcome) {
    case PointOutcome::Within:
        return text(QStringLiteral("PointWithin"));
    case PointOutcome::Over:
        return text(QStringLiteral("PointOver")).arg(formatRounded(point.margin, 3, locale));
    case PointOutcome::NoLimit:
        break;
    }
    return text(QStringLiteral("PointNoLimit"));
}

QString listMark(Outcome outcome, const VerdictTexts &text)
{
    switch (outcome) {
    case Outcome::Within:
        return text(QStringLiteral("ListWithin"));
    case Outcome::Over:
        return text(QStringLiteral("ListOver"));
    case Outcome::NoVerdict:
        break;
    }
    return {};
}

QString refusalMessage(const LoadedLimits &loaded, const VerdictTexts &text)
{
    if (loaded.refusedPath.isEmpty())
        return {};
    return text(QStringLiteral("LimitsRefused"))
        .arg(loaded.refusedPath, QString::number(loaded.errorLine), text(errorKey(loaded.error)));
}

} // namespace limits
