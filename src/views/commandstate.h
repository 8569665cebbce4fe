// The enabled state of every command of the main window as one pure
// function of what the window shows and holds: the meter and power lists'
// content and selection, the meter list's focus, the meter clipboard, the
// element mark, the ticks and whether a device run is under way. The window
// recomputes it on every change of these inputs and applies it to every
// control, so no control can keep a stale state.
#pragma once

struct RecordCommands {
    bool copy = false; // CopyButton, "Копировать поверку"
    bool paste = false; // PasteButton
    bool merge = false; // ConnectAction, "Добавить поверку"
    bool cut = false; // CutButton
    bool remove = false; // DelButton
    bool report = false; // create a protocol of the ticked verifications
    bool exportSheet = false; // spreadsheet export of the selected verification
    bool elementCopy = false; // CopyElemButton
    bool elementPaste = false; // PasteElemButton
    bool elementDelete = false; // DelElemButton
    bool changeMeter = false; // meter context menu, "ChangeMeterPars"
    bool changeConstant = false; // power context menu, "ChangeMeterConst"
    // Every other command of the window (read from the device, settings,
    // displayed columns, password, language, help, about, exit, the folder
    // tree): usable whenever no device run is under way.
    bool idle = false;

    bool operator==(const RecordCommands &) const = default;
};

// What the command states are computed from.
struct CommandInputs {
    int meterCount = 0; // rows of the meter list
    bool meterSelected = false; // a meter row is selected
    int verificationCount = 0; // rows of the power list (the selected meter's verifications)
    bool verificationSelected = false;
    int checkedCount = 0; // ticked power-list rows
    // A mouse button went down in the meter list since it last lost the focus.
    bool meterListActive = false;
    bool clipboardFilled = false; // a meter file is on the meter clipboard
    // At that last press the clipboard file and the selected meter's file
    // were found mergeable (the check reads both files, so it runs only then).
    bool mergeableAtPress = false;
    // The verification marked for element pasting belongs to the selected
    // meter, is not the selected verification and is compatible with it.
    bool elementPasteFits = false;
    bool busy = false; // a device run is under way

    bool operator==(const CommandInputs &) const = default;
};

// Largest number of verifications one protocol takes.
constexpr int kMaxReportVerifications = 10;

// The report rule: enabled when nothing is ticked and the meter has at most
// 10 verifications, or when 1 to 10 verifications are ticked.
bool reportAllowed(int checkedCount, int verificationCount);

// The state of every command for these inputs.
RecordCommands commandStates(const CommandInputs &in);
