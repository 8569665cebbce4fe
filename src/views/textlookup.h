// The sections of the string file that the record views read their texts
// from; the texts come through a TextLookup.
#pragma once

#include "base/textlookup.h"

// The section of the main window, which holds the list and grid titles.
inline const QString kViewsMainSection = QStringLiteral("KorvelForm");
// The section of the displayed-columns dialog.
inline const QString kViewsDialogSection = QStringLiteral("ViewParametersForm");
