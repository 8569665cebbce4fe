// Internal to the string catalogue: the raw tables of texts, kept as UTF-8
// literals in two files (the main window's section and the secondary
// sections), and the helper that turns them into catalogue items.
#pragma once

#include "stringcatalog.h"

#include <cstddef>

namespace stringcatalog_detail {

struct RawItem {
    const char *path;
    const char *rus;
    const char *eng;
};

template <std::size_t N>
void appendRaw(QVector<CatalogItem> &out, const char *section, const RawItem (&items)[N])
{
    const QString key = QString::fromLatin1(section);
    for (const RawItem &item : items)
        out.append({key, QString::fromLatin1(item.path), QString::fromUtf8(item.rus), QString::fromUtf8(item.eng)});
}

// Section KorvelForm: window texts, then the message table.
void appendMainSection(QVector<CatalogItem> &out);

// The twelve secondary sections in the order they are applied.
void appendSecondarySections(QVector<CatalogItem> &out);

// Elements written beside the read items (see catalogExtraElements()).
void appendExtraElements(QVector<CatalogItem> &out);

} // namespace stringcatalog_detail
