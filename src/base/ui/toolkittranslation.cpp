#include "toolkittranslation.h"

#include "base/appstate.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

ToolkitTranslation::ToolkitTranslation() : m_folder(QLibraryInfo::path(QLibraryInfo::TranslationsPath)) {}

ToolkitTranslation::~ToolkitTranslation()
{
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
}

bool ToolkitTranslation::setLanguage(int language)
{
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    if (language != LanguageRussian)
        return true;
    // "qt" names the catalogue that loads qtbase and the toolkit's other
    // modules in the language.
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qt"), QStringLiteral("_"),
                          m_folder))
        return false;
    m_translator = std::move(translator);
    QCoreApplication::installTranslator(m_translator.get());
    return true;
}
