#include "protocolverdicts.h"

#include "views/verdicttext.h"
#include "reports/errorcurve.h"

namespace report {

void addProtocolVerdicts(ProtocolDocument &document, const pcn::_totalblockdata &meter, const limits::Table &table,
                         bool includeVerdicts, bool includeCurves, const TextLookup &lookup, const QLocale &locale)
{
    const auto text = [&lookup](const QString &path) {
        return lookup ? lookup(limits::kVerdictSection, path) : QString();
    };
    for (ResultGroup &group : document.groups) {
        if (group.verificationIndex < 0 || group.verificationIndex >= meter.verifications.size())
            continue;
        const pcn::_blockdata &v = meter.verifications.at(group.verificationIndex);
        if (includeVerdicts)
            group.verdictLine = limits::verdictLine(limits::judgeVerification(table, v), text);
        if (includeCurves)
            group.curveItems = errorCurveItems(v, table, QRectF(0, 0, kCurveWidth, kCurveHeight), text, locale).all();
    }
}

} // namespace report
