// The one source of the program's texts: it owns the string file
// (StringDocument) and the current language and gives every text by its key:
// an item of a section ("KorvelForm", "MainMenu/File"), a message ErrorN, or
// one of the program's own texts (ProgramText). Without a string file it
// answers with the built-in texts of the catalogue (stringcatalog.h).
//
// Applying reads a section as a whole and checks its checksum: the main
// window's section first (textsApplied), the secondary sections in their
// fixed order (sectionApplied, once per section). A language switch applies
// both again and then announces languageChanged, so that whatever shows a
// text relabels itself from here, without reading anything else.
#pragma once

#include "base/appstate.h"
#include "base/stringcatalog.h"
#include "base/stringdocument.h"
#include "base/textlookup.h"

#include <QHash>
#include <QObject>

#include <memory>

class TextCatalogue : public QObject {
    Q_OBJECT
public:
    explicit TextCatalogue(int language = LanguageEnglish, QObject *parent = nullptr);
    ~TextCatalogue() override;
    TextCatalogue(const TextCatalogue &) = delete;
    TextCatalogue &operator=(const TextCatalogue &) = delete;

    // Reads the string file; false when it is missing, unreadable or not
    // well-formed (the built-in texts then stay in force).
    bool load(const QString &filePath);
    bool hasDocument() const { return m_document != nullptr; }

    int language() const { return m_language; }
    // Sets the language without applying anything (start-up).
    void setLanguage(int language);
    // Switches the language: the main and the secondary texts are applied
    // again (a failed check is not reported after start-up), then
    // languageChanged.
    void switchLanguage(int language);

    // Reads the main window's section; false when it failed its check (its
    // texts are applied all the same).
    bool applyMainTexts();
    // Reads the secondary sections in their order; stops after the first
    // that fails its check and returns false.
    bool applySecondaryTexts();

    // The text of an item of a section in the current language: the main
    // section and the secondary sections as last applied, any other item
    // straight from the file; "" when there is none.
    QString text(const QString &section, const QString &path) const;
    QString mainText(const QString &path) const;
    // Text of message ErrorN, or of a message by its key ("Error13").
    QString message(int n) const;
    QString messageByKey(const QString &key) const;
    QString programText(ProgramText id) const;
    // The texts of a secondary section as last applied; nullptr before.
    const SectionTexts *appliedTexts(const QString &section) const;
    // A lookup answering from this catalogue in whatever language is
    // current when it is asked; it must not outlive the catalogue.
    TextLookup lookup() const;
    // The text of the fatal box after a failed check of the string file.
    QString fatalStringsMessage() const;

signals:
    // The main window's texts were applied (start-up, language switch).
    void textsApplied();
    // A secondary section was applied.
    void sectionApplied(const QString &section, const SectionTexts &texts);
    // The language changed and every text was applied again.
    void languageChanged(int language);

private:
    int m_language;
    std::unique_ptr<StringDocument> m_document;
    SectionTexts m_mainTexts;
    QHash<QString, SectionTexts> m_sections; // secondary sections as last applied
};
