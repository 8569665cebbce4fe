#include "createreport.h"

#include "titrepform.h"

std::optional<ProtocolDocument> PrepareProtocol(const pcn::_totalblockdata &meter, const QVector<int> &selection,
                                                TTitRepForm &editor, const TextLookup &lookup, const QLocale &locale)
{
    if (meter.verifications.isEmpty() || selection.isEmpty()
        || !protocolSchemeForCode(meter.verifications.first().scheme))
        return std::nullopt;
    if (!editor.Execute())
        return std::nullopt;
    return buildProtocolDocument(meter, selection, editor.Texts(), lookup, locale);
}
