// How the record views obtain their localized texts: a function of the
// string file's section and item path, answering in the current language.
#pragma once

#include <QString>

#include <functional>

using TextLookup = std::function<QString(const QString &section, const QString &path)>;

// The section of the main window, which holds the list and grid titles.
inline const QString kViewsMainSection = QStringLiteral("KorvelForm");
// The section of the displayed-columns dialog.
inline const QString kViewsDialogSection = QStringLiteral("ViewParametersForm");

// A lookup over the built-in default texts of the string catalogue in one
// language (0 Russian, 1 English). Used when no string file is at hand.
TextLookup catalogTextLookup(int language);
