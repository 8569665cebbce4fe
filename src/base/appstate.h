// The application state held by the main window: folders, language,
// communication choices, window layout and the column layout of the three
// result grids. Loaded from config.cfg at start-up, written back at exit.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <cstdint>

enum Language : std::uint8_t { LanguageRussian = 0, LanguageEnglish = 1 };
enum InterfaceKind : std::uint8_t { InterfaceUsb = 0, InterfaceSerial = 1 };

// The three result grids, in the order their tables are stored in config.cfg.
enum GridKind : int {
    GridPhase12 = 0, // single-phase two-wire, 11 columns
    GridPhase33 = 1, // three-phase three-wire, 16 columns
    GridPhase34 = 2, // three-phase four-wire, 28 columns
};
constexpr int kGridCount = 3;
constexpr std::array<int, kGridCount> kGridColumnCount{11, 16, 28};

// Column layout of one grid: entry s holds the column code shown at
// configuration position s and whether it is visible. Colours follow from the
// codes and are not stored.
struct GridColumns {
    QVector<std::uint8_t> codes;
    QVector<bool> visible;
};

// Default layout: every position s shows code s, visible except a few.
GridColumns defaultGridColumns(GridKind grid);

struct WindowLayout {
    int left = 0;
    int top = 0;
    int width = 1000;
    int height = 760;
    int folderPanelWidth = 200; // GroupBox1
    int upperAreaHeight = 315; // Panel1
    int meterListHeight = 169; // TitleListView
};

struct AppSettings {
    WindowLayout layout;
    std::uint8_t language = LanguageEnglish;
    std::uint8_t interfaceType = InterfaceUsb;
    int portIndex = 0;
    int rateIndex = 3;
    std::array<GridColumns, kGridCount> columns;
    bool takenFromFile = false; // false: defaults were used (columns set to defaults)
    // Serial device chosen on the command line for this run only: when set,
    // the program talks over this device instead of the saved choice, which
    // stays as it is (this field is never written to config.cfg).
    QString runPortPath;
};

// Serial rates selectable by RateIndex.
constexpr std::array<int, 4> kRates{9600, 19200, 38400, 115200};
constexpr int kPortCount = 255;

// The fixed table of serial device paths that PortIndex points into:
// 0-99 /dev/ttyUSB0-99, 100-199 /dev/ttyS0-99, 200-254 /dev/ttyACM0-54.
const QStringList &PortNames();

constexpr const char *kVersionText = "4.6.0";
constexpr const char *kYearText = "2015";
