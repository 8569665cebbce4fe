#include "createreport.h"

#include "titrepform.h"

std::optional<ProtocolDocument> PrepareProtocol(const pcn::_totalblockdata &meter, const QVector<int> &selection,
                                                TTitRepForm &editor, const TextLookup &lookup, const QLocale &locale)
{
    if (meter.verifications.isEmpty() || selection.isEmpty()
        || !protocolSchemeForCode(meter.verifications.first().scheme))
        return std::nullopt;
    // The ticks' texts belong to the verdicts' section: in the run's language.
    const QString verdicts = lookup ? lookup(QStringLiteral("Verdicts"), QStringLiteral("IncludeVerdicts")) : QString();
    const QString curves = lookup ? lookup(QStringLiteral("Verdicts"), QStringLiteral("IncludeCurves")) : QString();
    if (!verdicts.isEmpty() && !curves.isEmpty())
        editor.setTickTexts(verdicts, curves);
    if (!editor.Execute())
        return std::nullopt;
    return buildProtocolDocument(meter, selection, editor.Texts(), lookup, locale);
}
