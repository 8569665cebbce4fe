#include "commands.h"

#include "base/appstate.h"

std::optional<int> languageOption(const QString &value)
{
    if (value == QLatin1String("ru"))
        return LanguageRussian;
    if (value == QLatin1String("en"))
        return LanguageEnglish;
    return std::nullopt;
}
