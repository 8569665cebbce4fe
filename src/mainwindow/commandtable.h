// The main window's commands in one table: every menu item and tool button
// of the window is one row, and building the menus and the tool bar,
// applying the texts and hints and binding the enabling rules all read it.
#pragma once

#include "base/stringcatalog.h"
#include "base/ui/glyphicon.h"
#include "views/commandstate.h"

#include <cstddef>
#include <optional>
#include <span>

// A command of the main window.
enum class Command {
    ReadArchive,
    CreateReport,
    LoadReport,
    ExportFolder,
    Exit,
    CreateBase,
    LoadBaseFromDevice,
    LoadBaseFromFile,
    ExportExcel,
    FindMeter,
    CommunicationSetup,
    DataFolder, // the data folder, perhaps shared with other workstations
    ViewParameters,
    ChangePassword,
    RussianLanguage,
    EnglishLanguage,
    Help,
    About,
    Copy,
    Paste,
    Merge,
    Cut,
    Delete,
    MergeAll, // the meter list's context menu
};
inline constexpr std::size_t kCommandCount = std::size_t(Command::MergeAll) + 1;

// Where a command sits on the tool bar.
enum class ToolBarPlace { None, Button, ButtonAfterSeparator };

struct CommandRow {
    Command command;
    const char *objectName; // kept stable: tests and screenshots find actions by it
    // Path of the menu in the string file ("MainMenu/File"); nullptr: in no
    // menu of the menu bar.
    const char *menu;
    bool separatorBefore; // in its menu
    ToolBarPlace toolBar;
    // The caption: a path in the main section of the string file, or a
    // program text; neither: the hint is the caption as well.
    const char *captionKey;
    std::optional<ProgramText> captionText;
    const char *hintKey; // tool-tip path in the string file; nullptr: none
    std::optional<GlyphKind> glyph;
    const char *shortcut; // portable key sequence; nullptr: none
    bool RecordCommands::*rule; // the field of the command states that enables it
};

// Every command, in the order of its menu and tool-bar places.
std::span<const CommandRow> commandTable();
// The row of a command.
const CommandRow &commandRow(Command command);
