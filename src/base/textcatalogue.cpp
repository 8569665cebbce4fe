#include "textcatalogue.h"

TextCatalogue::TextCatalogue(int language, QObject *parent) : QObject(parent), m_language(language) {}

TextCatalogue::~TextCatalogue() = default;

bool TextCatalogue::load(const QString &filePath)
{
    m_document = StringDocument::load(filePath);
    return m_document != nullptr;
}

void TextCatalogue::setLanguage(int language)
{
    m_language = language;
}

void TextCatalogue::switchLanguage(int language)
{
    m_language = language;
    applyMainTexts();
    applySecondaryTexts();
    emit languageChanged(language);
}

bool TextCatalogue::applyMainTexts()
{
    if (!m_document)
        return false;
    m_mainTexts = m_document->readSection(kMainSectionKey, m_language);
    emit textsApplied();
    return m_mainTexts.ok;
}

bool TextCatalogue::applySecondaryTexts()
{
    if (!m_document)
        return false;
    for (const QString &section : secondarySectionKeys()) {
        const SectionTexts texts = m_document->readSection(section, m_language);
        m_sections.insert(section, texts);
        emit sectionApplied(section, texts);
        if (!texts.ok)
            return false;
    }
    return true;
}

QString TextCatalogue::text(const QString &section, const QString &path) const
{
    if (!m_document)
        return catalogDefault(section, path, m_language);
    if (section == kMainSectionKey)
        return m_mainTexts.text(path);
    const auto it = m_sections.constFind(section);
    if (it != m_sections.constEnd())
        return it->text(path);
    return m_document->lookup(m_language, section, path);
}

QString TextCatalogue::mainText(const QString &path) const
{
    return text(kMainSectionKey, path);
}

QString TextCatalogue::message(int n) const
{
    return mainText(messagePath(n));
}

QString TextCatalogue::messageByKey(const QString &key) const
{
    return mainText(kMessageGroup + QLatin1Char('/') + key);
}

QString TextCatalogue::programText(ProgramText id) const
{
    return ::programText(id, m_language);
}

const SectionTexts *TextCatalogue::appliedTexts(const QString &section) const
{
    const auto it = m_sections.constFind(section);
    return it == m_sections.constEnd() ? nullptr : &*it;
}

TextLookup TextCatalogue::lookup() const
{
    return [this](const QString &section, const QString &path) { return text(section, path); };
}

QString TextCatalogue::fatalStringsMessage() const
{
    return ::fatalStringsMessage([this](int n) { return message(n); }, m_language);
}
