// The toolkit's own texts (file, print and font dialogs, the print
// preview's tool tips) in the program's language: its Russian catalogues are
// installed while Russian is chosen and removed again for English, whose
// texts are the toolkit's built-in ones.
#pragma once

#include <QString>

#include <memory>

class QTranslator;

class ToolkitTranslation {
public:
    ToolkitTranslation();
    ~ToolkitTranslation();
    ToolkitTranslation(const ToolkitTranslation &) = delete;
    ToolkitTranslation &operator=(const ToolkitTranslation &) = delete;

    // 0 Russian, 1 English. False when Russian was chosen but its catalogue
    // is not installed (the dialogs then stay in English).
    bool setLanguage(int language);

    // Where the catalogues are looked for (the toolkit's translations
    // folder unless a test gives another).
    void setFolder(const QString &folder) { m_folder = folder; }

private:
    QString m_folder;
    std::unique_ptr<QTranslator> m_translator;
};
