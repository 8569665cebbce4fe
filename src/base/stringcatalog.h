// The checked-in source of every localized text of the program, in Russian
// and English. The string file DataStrings.xml is generated from this table
// (tools/stringsgen) and read back item by item in the same order, which is
// the order of each section's checksum.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// One localized item: its section (one per window), its path of one to four
// element names below the section ("MainMenu/File/Exit"), and both texts.
struct CatalogItem {
    QString section;
    QString path;
    QString rus;
    QString eng;
};

// Every item of every section in reading order: KorvelForm first, then the
// secondary sections in the order they are applied. An item read twice
// appears twice.
const QVector<CatalogItem> &catalogItems();

// The items of one section in reading order (empty for an unknown section).
QVector<CatalogItem> catalogSection(const QString &section);

// Elements the string file carries beside the read items, not fed into any
// checksum: a second name under which another reader looks a text up.
const QVector<CatalogItem> &catalogExtraElements();

// The twelve secondary sections in the order they are applied.
const QStringList &secondarySectionKeys();

// The main window's section, applied on its own.
inline const QString kMainSectionKey = QStringLiteral("KorvelForm");

// Group of the message table inside the main window's section.
inline const QString kMessageGroup = QStringLiteral("ErrorMessages");

// Number of messages in the message table (Error1 ... Error36).
constexpr int kMessageCount = 36;

// The default text of section/path in a language (0 Russian, 1 English); the
// first matching item, then the extra elements; "" when none matches.
QString catalogDefault(const QString &section, const QString &path, int language);

// Key of message n in the message table: "Error" followed by n in decimal.
QString messageKey(int n);

// Path of message n below the main window's section: "ErrorMessages/ErrorN".
QString messagePath(int n);

// The text of the fatal box after a failed check of the string file:
// messages 34 and 35 on two lines as `given` reads them from the file, each
// one the file lacks replaced by its built-in text in the language (a file
// without its messages must not give an empty box).
QString fatalStringsMessage(const std::function<QString(int n)> &given, int language);
