// The loaded string file DataStrings.xml: sections (one per window) below
// the root, items addressed by a path of element names, each holding
// Text/Rus and Text/Eng, and one checksum per section in StatusCode/Text.
//
// Reading an item feeds its Russian and then its English text into a
// running 16-bit value; after the last item of a section that value must
// equal the section's StatusCode. Lookup takes the first child element of a
// name at every step; a missing element reads as "" and feeds nothing.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <memory>

// Feeds the low 8 bits of every UTF-16 code unit of the text, most
// significant bit first, through the CRC-16 shift register (polynomial
// 0x1021). No closing zero bytes are fed. "abc" from 0 gives 0x1EE4.
quint16 feedStringChecksum(quint16 running, const QString &text);

// The texts of one section in one language, keyed by item path, and whether
// the section passed its checksum. The texts are filled even when it failed.
struct SectionTexts {
    QString section;
    bool ok = false;
    QHash<QString, QString> texts;

    // The text of an item; "" when the section has no such item.
    QString text(const QString &path) const;
};

class StringDocument {
public:
    // nullptr when the file is missing, unreadable or not well-formed XML.
    static std::unique_ptr<StringDocument> load(const QString &filePath);
    static std::unique_ptr<StringDocument> fromBytes(const QByteArray &xml);

    ~StringDocument();
    StringDocument(const StringDocument &) = delete;
    StringDocument &operator=(const StringDocument &) = delete;

    // Name of the root element (not checked by the readers).
    QString rootName() const;

    // The text of section/path ("A/B/C", one to four names) in the language
    // (0 Russian, 1 English). Feeds Text/Rus and then Text/Eng into running.
    // When Rus or Eng holds elements instead of text, the item reads "" and
    // running is reset to 0.
    QString ReadText(int language, quint16 &running, const QString &section, const QString &path) const;

    // The same text without touching any checksum (for readers that look a
    // text up by key, such as the protocol builder).
    QString lookup(int language, const QString &section, const QString &path) const;

    // Reads every item of the section's catalogue entry in reading order,
    // then checks the section's StatusCode; the section's extra elements
    // (catalogExtraElements) are added to the texts without feeding it.
    SectionTexts readSection(const QString &section, int language) const;

    // Reads the given paths in order (a path listed twice is fed twice), then
    // checks the section's StatusCode.
    SectionTexts readSection(const QString &section, const QStringList &paths, int language) const;

    // True when the section's StatusCode/Text is a decimal integer 0..65535
    // (surrounding blanks allowed) equal to running.
    bool statusCodeMatches(const QString &section, quint16 running) const;

private:
    struct Node;
    explicit StringDocument(std::unique_ptr<Node> root);

    const Node *itemText(const QString &section, const QString &path) const;

    std::unique_ptr<Node> root_;
};
