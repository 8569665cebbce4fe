// Writes the string file DataStrings.xml from catalogue items: UTF-8 with an
// XML declaration, root Settings, one element per section, nested elements
// per item path with Text/Rus and Text/Eng, and each section's StatusCode
// computed over its items in the given order exactly as the reader does.
#pragma once

#include "stringcatalog.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// The checksum a reader computes over the items of one section when the
// file holds exactly these texts (items in reading order).
quint16 catalogSectionChecksum(const QVector<CatalogItem> &sectionItems);

// The whole document. Sections appear in order of their first item; items
// listed twice are written once. Extra elements are written into their
// sections but take no part in the checksums.
QByteArray buildStringFile(const QVector<CatalogItem> &items, const QVector<CatalogItem> &extraElements = {});

// Writes the document atomically (temporary file, then rename). On failure
// returns false and sets error.
bool writeStringFile(const QString &filePath, const QVector<CatalogItem> &items,
                     const QVector<CatalogItem> &extraElements, QString *error);
