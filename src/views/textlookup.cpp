#include "textlookup.h"

#include "base/stringcatalog.h"

TextLookup catalogTextLookup(int language)
{
    return [language](const QString &section, const QString &path) { return catalogDefault(section, path, language); };
}
