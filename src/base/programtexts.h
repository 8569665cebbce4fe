// Texts of the program that the string file does not carry (it holds the
// texts of the original windows and messages only), in Russian and English.
// They complete a message of the string file or explain a system condition,
// and follow the program's language like every other text.
#pragma once

#include <QString>

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
};

// The text in a language (0 Russian, anything else English).
QString programText(ProgramText id, int language);
