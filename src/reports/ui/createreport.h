// The steps of "New report" up to the finished protocol document.
#pragma once

#include "reports/protocoldocument.h"

class TTitRepForm;

// Checks the scheme of the meter's first verification (any code but 1, 2
// or 4 ends the run silently, before the editor is shown), shows the title
// and ending editor and, when it is confirmed, builds the document with its
// texts. Empty when the run ends: unknown scheme, empty selection or cancel.
std::optional<ProtocolDocument> PrepareProtocol(const pcn::_totalblockdata &meter, const QVector<int> &selection,
                                                TTitRepForm &editor, const TextLookup &lookup,
                                                const QLocale &locale = QLocale());
