#include "commandtable.h"

#include <array>

namespace {

using enum Command;
using P = ToolBarPlace;
using R = RecordCommands;

constexpr auto kNone = std::nullopt;

// clang-format off
constexpr std::array<CommandRow, kCommandCount> kRows = {{
    {ReadArchive, "LoadArcFromDeviceAction", "MainMenu/File", false, P::Button,
     "MainMenu/File/ReadArchive", kNone, "ToolBarButtons/ReadArchive", GlyphKind::ReadDevice, nullptr, &R::idle},
    {CreateReport, "CreateReportAction", "MainMenu/File", false, P::Button,
     "MainMenu/File/CreateReport", kNone, "ToolBarButtons/CreateReport", GlyphKind::Report, nullptr, &R::report},
    {LoadReport, "LoadReportAction", "MainMenu/File", false, P::None,
     "MainMenu/File/LoadReport", kNone, nullptr, kNone, nullptr, &R::idle},
    {ExportFolder, "ExportFolderAction", "MainMenu/File", false, P::None,
     nullptr, ProgramText::ExportFolderCommand, nullptr, kNone, nullptr, &R::exportSheet},
    {Exit, "Exit", "MainMenu/File", true, P::None,
     "MainMenu/File/Exit", kNone, nullptr, kNone, nullptr, &R::idle},
    {CreateBase, "CreateBaseAction", "MainMenu/Utilities/MeterBase", false, P::None,
     "MainMenu/Utilities/MeterBase/CreateBase", kNone, nullptr, kNone, nullptr, &R::idle},
    {LoadBaseFromDevice, "LoadBaseFromDeviceAction", "MainMenu/Utilities/MeterBase", false, P::None,
     "MainMenu/Utilities/MeterBase/LoadBaseFromDevice", kNone, nullptr, kNone, nullptr, &R::idle},
    {LoadBaseFromFile, "LoadBaseFromFileAction", "MainMenu/Utilities/MeterBase", false, P::None,
     "MainMenu/Utilities/MeterBase/LoadBaseFromFile", kNone, nullptr, kNone, nullptr, &R::idle},
    {ExportExcel, "ExportExcelAction", "MainMenu/Utilities", false, P::None,
     "MainMenu/Utilities/ExportExcel", kNone, nullptr, kNone, nullptr, &R::exportSheet},
    {FindMeter, "FindMeterAction", "MainMenu/Utilities", false, P::None,
     nullptr, ProgramText::FindMeterCommand, nullptr, kNone, "Ctrl+F", &R::idle},
    {CommunicationSetup, "ComSetupAction", "MainMenu/Options", false, P::None,
     "MainMenu/Options/CommunicationParameters", kNone, nullptr, kNone, nullptr, &R::idle},
    {DataFolder, "DataFolderAction", "MainMenu/Options", false, P::None,
     nullptr, ProgramText::DataFolderCommand, nullptr, kNone, nullptr, &R::idle},
    {ViewParameters, "ViewParametersAction", "MainMenu/Options", false, P::None,
     "MainMenu/Options/ViewParameters", kNone, nullptr, kNone, nullptr, &R::idle},
    {ChangePassword, "ChangePswd", "MainMenu/Options", false, P::None,
     "MainMenu/Options/PasswordChange", kNone, nullptr, kNone, nullptr, &R::idle},
    {RussianLanguage, "RussianLang", "MainMenu/Options/Language", false, P::None,
     "MainMenu/Options/Language/RusLanguage", kNone, nullptr, kNone, nullptr, &R::idle},
    {EnglishLanguage, "EnglishLang", "MainMenu/Options/Language", false, P::None,
     "MainMenu/Options/Language/EngLanguage", kNone, nullptr, kNone, nullptr, &R::idle},
    {Help, "N4", "MainMenu/Reference", false, P::None,
     "MainMenu/Reference/Help", kNone, nullptr, kNone, nullptr, &R::idle},
    {About, "N6", "MainMenu/Reference", false, P::None,
     "MainMenu/Reference/AboutProgram", kNone, nullptr, kNone, nullptr, &R::idle},
    {Copy, "CopyButton", nullptr, false, P::ButtonAfterSeparator,
     nullptr, kNone, "ToolBarButtons/CopyCalibration", GlyphKind::Copy, nullptr, &R::copy},
    {Paste, "PasteButton", nullptr, false, P::Button,
     nullptr, kNone, "ToolBarButtons/PasteCalibration", GlyphKind::Paste, nullptr, &R::paste},
    {Merge, "ConnectAction", nullptr, false, P::Button,
     nullptr, kNone, "ToolBarButtons/UnionCalibration", GlyphKind::Merge, nullptr, &R::merge},
    {Cut, "CutButton", nullptr, false, P::Button,
     nullptr, kNone, "ToolBarButtons/CutCalibration", GlyphKind::Cut, nullptr, &R::cut},
    {Delete, "DelButton", nullptr, false, P::Button,
     nullptr, kNone, "ToolBarButtons/DeleteCalibration", GlyphKind::Delete, nullptr, &R::remove},
    // Offered when "Change" is; the context menu also asks for a selected
    // meter before it shows.
    {MergeAll, "MergeAllAction", nullptr, false, P::None,
     nullptr, ProgramText::MergeAllCommand, nullptr, kNone, nullptr, &R::changeMeter},
}};
// clang-format on

// The rows are in the order of the enumeration, so a command is its index.
constexpr bool inEnumOrder()
{
    for (std::size_t i = 0; i < kRows.size(); ++i)
        if (std::size_t(kRows[i].command) != i)
            return false;
    return true;
}
static_assert(inEnumOrder());

} // namespace

std::span<const CommandRow> commandTable()
{
    return kRows;
}

const CommandRow &commandRow(Command command)
{
    return kRows[std::size_t(command)];
}
