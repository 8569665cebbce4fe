// The checked-in source of every localized text of the program, in Russian
// and English. The string file DataStrings.xml is generated from this table
// (tools/stringsgen) and read back item by item in the same order, which is
// the order of each section's checksum.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// The language the windows are designed in: their texts until the string
// file is applied (0 Russian, 1 English).
constexpr int kDesignLanguage = 0;

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

// Texts of the program that the string file does not carry (it holds the
// texts of the original windows and messages only), in Russian and English.
// They complete a message of the string file or explain a system condition,
// and follow the program's language like every other text.
enum class ProgramText {
    // "%1 of %2" verifications read could not be stored.
    RecordsNotStored,
    // "%1" verifications were stored with their meter constant clamped.
    ConstantsClamped,
    // Why a serial port cannot be opened.
    PortNotPresent,
    PortNoPermission,
    PortNoPermissionGroup, // "%1": the group that owns the device
    PortInUse,
    PortCannotOpen,
    // The archive content dialog: where an entry is already stored, and the
    // button that ticks the entries stored nowhere yet.
    StoredInColumn,
    TickNotStoredButton,
    // The search for a meter below the data folder.
    FindMeterCommand,
    FindMeterTitle,
    FindSerialLabel,
    FindTypeLabel,
    FindButton,
    FindOpenButton,
    FindCloseButton,
    FindFolderColumn,
    FindTypeColumn,
    FindSerialColumn,
    FindCountColumn,
    FindLastColumn,
    FindResultCount, // "%1": how many meters were found
    // Merging every file of one meter (meter list context menu).
    MergeAllCommand,
    MergeAllDone, // "%1": how many files, "%2": the file they went into
    MergeAllNothing, // "%1": the selected file
    MergeAllNotMergeable, // "%1": a file of the meter that the merge rules leave out
    MergeAllUnreadable, // "%1": a file that cannot be read
    // The meter database editor: the fields that keep "Apply" disabled.
    FieldsToCorrect, // "%1": their names
    // Entries neither saved to a file nor written to the instrument, before
    // the editor closes or they are replaced.
    UnsavedEntriesClose,
    UnsavedEntriesReplace,
    UnstorableMeterType, // "%1": the meter type, "%2": what cannot be stored
    // Help when no program opens the manual.
    ManualNotOpened, // "%1": the manual's file
    // A stored file was changed or removed by another workstation sharing
    // the data folder since it was read here; nothing was done.
    ChangedOnAnotherWorkstation,
    // Settings: the data folder (may be a shared network folder).
    DataFolderCommand,
    DataFolderTitle,
    // The register export of the current folder (File menu).
    ExportFolderCommand,
    // The meter dialog refuses a name or serial number it cannot store.
    NameRefused, // "%1": the characters
    SerialRefused, // "%1": the characters
    // The string file is missing or not well-formed: the program ends.
    StringsFileUnreadable,
    // The user manual's file for the language.
    ManualFile,
    // Why a report file could not be read or written.
    ReportCannotOpen,
    ReportNotReportFile,
    ReportTruncated,
    ReportNewerVersion,
    ReportDamaged,
    ReportCannotWrite,
    // More verifications ticked than one run can read: %1 the most, %2 the ticked.
    TooManyTicked,
    // The preview's own tool-bar actions.
    ReportSave,
    ReportSavePdf,
};

// The text in a language (0 Russian, anything else English).
QString programText(ProgramText id, int language);
