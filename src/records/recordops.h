// The operations that change stored verifications: merging the
// verifications of two files of one meter, pasting one verification into
// another (their test points are joined), deleting one verification, and
// correcting the meter's identity or the constant of one verification; and
// the commands on whole files (copy, move, delete).
//
// The changes themselves are pure functions from one meter to the changed
// meter; the file functions write the result at once through WriteMeterFile,
// which replaces a file atomically, so that a failed write leaves the old
// file as it was.
#pragma once

#include "records/blockdata.h"
#include "records/listedmeter.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// --- Merging ------------------------------------------------------------------

// The two files of a merge as last read: the file on the meter clipboard
// (source) and the selected meter's file (target).
struct MergePair {
    pcn::_totalblockdata source;
    pcn::_totalblockdata target;
};

// The transformer ratio in hundredths, trunc(i1 / i2 * 100); -1 when i2 is 0.
int TransformerRatioHundredths(const pcn::_datacounter &verification);

// Whether the verifications of `source` may be merged into `target`: both
// hold verifications; the same instrument (serial number and type); first
// verifications with equal serial texts (exact), equal accuracy classes and
// equal schemes, both with a non-zero i2; and, unless both transformer
// ratios are 1, equal i1 and equal i2. The meter type is not compared.
// Listed meters hold all it looks at.
bool AreMergeable(const ListedMeter &source, const ListedMeter &target);
bool AreMergeable(const pcn::_totalblockdata &source, const pcn::_totalblockdata &target);

// Reads both files and applies AreMergeable. False as well when the paths
// are equal (exact text) or either file is not readable. The files as read
// are left in `pair` when it is given.
bool IsMergeable(const QString &sourcePath, const QString &targetPath, MergePair *pair = nullptr);

// The target followed by the verifications of the source, each of which
// takes the meter type, year, i1 and i2 of the target's first verification
// (and its serial text, which the file header gives every verification)
// and keeps the instrument type of its block.
pcn::_totalblockdata MergeMeters(const pcn::_totalblockdata &target, const pcn::_totalblockdata &source);

// --- Verifications of one meter (elements) ----------------------------------------

// Whether two verifications may be joined: equal power types, constants,
// schemes, nominal currents and block instrument types, and the nominal
// voltages of the scheme (phase and line for scheme 1, line for scheme 2,
// phase for scheme 4); any other scheme is never compatible. Doubles
// compare exactly.
bool IsElementCompatible(const pcn::_blockdata &a, const pcn::_blockdata &b);
// The same for verifications a and b of a meter; false for bad indexes.
bool IsElementCompatible(const pcn::_totalblockdata &meter, int a, int b);

// The meter after the verification `source` was pasted into `target`: the
// target takes the earlier moment of the two (the source's date, time and
// BCD fields when its date is earlier, or equal with an earlier or equal
// time), the source's points are appended to the target's, and the source
// leaves the meter. Nothing when the indexes are bad or equal or the two are
// not compatible.
std::optional<pcn::_totalblockdata> PasteElement(const pcn::_totalblockdata &meter, int target, int source);

// The meter without one verification; nothing for a bad index or when it is
// the meter's only verification (a file holds at least one).
std::optional<pcn::_totalblockdata> DeleteElement(const pcn::_totalblockdata &meter, int index);

// --- Meter identity and constant ----------------------------------------------------

// The serial text the meter dialog takes; the file header holds 64 bytes.
constexpr int kSerialTextMaxLength = 16;
constexpr int kSerialTextHeaderBytes = 64;
// The year takes at most 4 digits, the constant at most 9.
constexpr int kYearMaxDigits = 4;
constexpr int kConstantMaxDigits = 9;

struct MeterParameters {
    QString meterType;
    QString serialText;
    std::uint16_t year = 0;
};

// The identity shown for a meter: that of its first verification.
MeterParameters MeterParametersOf(const pcn::_totalblockdata &meter);

// The characters of a text that cannot be stored as a meter type (those the
// instrument's code page lacks, its letters 161..191 such as "ё" and "№",
// and characters that would come back as another one, such as the no-break
// space or a control character), each once, in order of appearance. The
// characters that stored types show as "+" (" * / : < > ? \ |) are stored.
QString UnstorableMeterTypeCharacters(const QString &meterType);
// The same without the control characters: those below 161 are stored
// unchanged, so a type read from a file or the instrument that holds one
// (a tab, 0x01, 0x7F) is written back as it was. Only what is typed in the
// program is refused for them.
QString MeterTypeCharactersNotKept(const QString &meterType);
// The characters of a serial text that the file header cannot hold: those
// outside the Windows-1251 code page and control characters.
QString UnstorableSerialTextCharacters(const QString &serialText);

// The meter with a new identity: the first verification takes the meter
// type and year; every verification shows the new serial text, since the
// file header carries it for all of them. The serial numbers are kept.
// Nothing when the meter has no verification, the type is longer than 14
// characters, the serial text longer than 64 characters, or either holds a
// character that cannot be stored (for a type unchanged from the first
// verification's: one that its bytes would not give back).
std::optional<pcn::_totalblockdata> EditMeterParameters(const pcn::_totalblockdata &meter,
                                                        const MeterParameters &parameters);

// The meter with a new constant of one verification; nothing for a bad index.
std::optional<pcn::_totalblockdata> EditConstant(const pcn::_totalblockdata &meter, int index, std::uint32_t constant);

// Decimal digit texts of the dialogs: "" gives 0; nothing for any other
// character or more digits than allowed.
std::optional<std::uint16_t> ParseYearText(const QString &text);
std::optional<std::uint32_t> ParseConstantText(const QString &text);

// --- Files ----------------------------------------------------------------------

// Where a pasted file goes: the folder and the file name of the clipboard path.
QString PasteDestination(const QString &clipboardPath, const QString &folder);

// The file functions below take the file as this workstation last read it
// (`asRead`: the meter's identity, or absentFileIdentity() for a name the
// listing did not hold; an unknown identity checks nothing). A file that
// was changed, added or removed by another workstation meanwhile is left
// alone and the outcome says so (changedMeanwhile()).

// Copies a stored file, replacing a file of the destination's name
// (`destinationAsRead`); the copy is written atomically and keeps the
// source's read-only attribute. Copying a file onto itself changes nothing
// and succeeds.
GuardedWrite CopyMeterFile(const QString &source, const QString &destination,
                           const FileIdentity &destinationAsRead = {});

// Moves a stored file; never replaces an existing file (nor itself).
GuardedWrite MoveMeterFile(const QString &source, const QString &destination, const FileIdentity &sourceAsRead = {});

// Clears the read-only attribute and deletes the file.
GuardedWrite DeleteMeterFile(const QString &path, const FileIdentity &asRead = {});

// Outcome of a merge of two files.
enum class MergeResult {
    NotMergeable, // the files (read again) may not be merged; nothing changed
    WriteFailed, // the target could not be written; nothing changed
    Merged, // the target holds both sets of verifications
    ChangedMeanwhile, // either file is no longer as read; nothing changed
};

struct MergeOutcome {
    MergeResult result = MergeResult::NotMergeable;
    pcn::_totalblockdata merged; // the target as written (Merged only)
    bool sourceDeleted = false; // the source file was deleted as asked
    bool sourceChanged = false; // the source changed before it could be deleted
};

// Reads both files again, merges the source into the target and writes the
// target. Only when the target was written completely, and only when asked,
// is the source file deleted. Each file must still be as read (see above).
MergeOutcome MergeMeterFiles(const QString &sourcePath, const QString &targetPath, bool deleteSource,
                             const FileIdentity &sourceAsRead = {}, const FileIdentity &targetAsRead = {});

// A merge of every file of one meter into one of them.
struct MergeAllOutcome {
    MergeResult result = MergeResult::NotMergeable; // NotMergeable: nothing could be merged
    pcn::_totalblockdata merged; // the target as written (Merged only)
    QStringList mergedPaths; // the sources merged, in date order
    QStringList deletedPaths; // those of them deleted as asked
    QStringList notMergeable; // files of the meter's serial text that the merge rules leave out
    QStringList unreadable; // candidates that could not be read
};

// Reads the target and the candidates again (the other files of its folder)
// and merges into the target every candidate whose first verification
// carries the target's serial text and which AreMergeable allows, in the
// order of their earliest verification, then writes the target once,
// atomically. Only when it was written completely, and only when asked, are
// the merged sources deleted. Candidates of another serial text are passed
// over without a word; the target's own path among them is ignored.
MergeAllOutcome MergeAllMeterFiles(const QString &targetPath, const QStringList &candidatePaths, bool deleteSources);
