// The enabled state of the record commands and how the events of the record
// views change it. Each event is a pure function from the old state to the
// new one, so the rules can be checked without any window.
#pragma once

struct RecordCommands {
    bool copy = false;          // CopyButton, "Копировать поверку"
    bool paste = false;         // PasteButton
    bool merge = false;         // ConnectAction, "Добавить поверку"
    bool cut = false;           // CutButton
    bool remove = false;        // DelButton
    bool report = false;        // create a protocol of the ticked verifications
    bool exportSheet = false;   // spreadsheet export of the selected verification
    bool elementCopy = false;   // CopyElemButton
    bool elementPaste = false;  // PasteElemButton
    bool elementDelete = false; // DelElemButton
    bool changeMeter = false;   // meter context menu, "ChangeMeterPars"
    bool changeConstant = false;// power context menu, "ChangeMeterConst"

    bool operator==(const RecordCommands &) const = default;
};

// Largest number of verifications one protocol takes.
constexpr int kMaxReportVerifications = 10;

// The report rule: enabled when nothing is ticked and the meter has at most
// 10 verifications, or when 1 to 10 verifications are ticked.
bool reportAllowed(int checkedCount, int verificationCount);

namespace commandrules {

// A folder scan listed `meterCount` meters (row 0 is then selected).
RecordCommands folderScanned(RecordCommands c, int meterCount);

// A meter was selected; its verifications fill the power list, none ticked.
RecordCommands meterSelected(RecordCommands c, int verificationCount);

// A verification was selected; `elementPasteFits` tells whether the marked
// verification of this meter may be pasted into it.
RecordCommands verificationSelected(RecordCommands c, int powerRowCount, bool elementPasteFits);

// The ticks of the power list were counted.
RecordCommands checkedCountChanged(RecordCommands c, int checkedCount, int verificationCount);

// A mouse button went down in the meter list. `mergeable` is the result of
// the mergeability check of the clipboard file and the selected meter's file
// (only asked for while paste is available).
RecordCommands meterListPressed(RecordCommands c, int meterCount, bool pasteAvailable, bool mergeable);

// The meter list lost the focus. `pasteAvailable` takes the paste button's state.
RecordCommands meterListFocusLost(RecordCommands c, bool *pasteAvailable);

// A meter was copied or cut to the meter clipboard.
RecordCommands meterCopied(RecordCommands c);
RecordCommands meterCut(RecordCommands c);

// The file on the meter clipboard was deleted.
RecordCommands clipboardFileDeleted(RecordCommands c);

// A merge finished.
RecordCommands merged(RecordCommands c);

// The last meter of the list was deleted.
RecordCommands lastMeterDeleted(RecordCommands c);

// An element paste or delete finished.
RecordCommands elementOperationDone(RecordCommands c);

} // namespace commandrules
