// Texts of the main window's section KorvelForm, in reading order: menu
// captions, tool button hints, list and grid titles, the names of schemes,
// power types and reference-standard models, the status bar unit, and the
// message table Error1 ... Error36 (leading and trailing blanks belong to
// the texts).
#include "stringcatalogdata.h"

namespace stringcatalog_detail {

namespace {

// Rows 1 to 104 of the window texts, numbered as they are read.
const RawItem kWindowTexts[] = {
    {"ProgramTitle", "Вардоск средств измерений", "Measuring Instruments Vardosk"}, // 1
    {"MainMenu/File", "Файл", "File"}, // 2
    {"MainMenu/File/ReadArchive", "Считать из прибора", "Read from device"}, // 3
    {"MainMenu/File/CreateReport", "Создать отчет", "New report"}, // 4
    {"MainMenu/File/LoadReport", "Загрузить отчет", "Load report"}, // 5
    {"MainMenu/File/Exit", "Выход", "Exit"}, // 6
    {"MainMenu/File/ReportsLabel", "Отчеты", "Reports"}, // 7
    {"MainMenu/Utilities", "Утилиты", "Utilities"}, // 8
    {"MainMenu/Utilities/MeterBase", "База поверяемых средств", "'Devices under test' database"}, // 9
    {"MainMenu/Utilities/MeterBase/CreateBase", "Создать", "Create ..."}, // 10
    {"MainMenu/Utilities/MeterBase/LoadBaseFromDevice", "Загрузка из прибора", "Load from device"}, // 11
    {"MainMenu/Utilities/MeterBase/LoadBaseFromFile", "Загрузка из файла", "Load from file"}, // 12
    {"MainMenu/Utilities/ExportExcel", "Экспорт в MS Excel", "Export to MS Excel"}, // 13
    {"MainMenu/Utilities/ExportExcel/DateTimeCalibration", "Дата, время", "Date, time"}, // 14
    {"MainMenu/Utilities/ExportExcel/DeviceType", "Тип прибора", "Device type"}, // 15
    {"MainMenu/Utilities/ExportExcel/SerialNumber", "Зав. номер", "Serial number"}, // 16
    {"MainMenu/Utilities/ExportExcel/Class", "Класс точности", "Accuracy class"}, // 17
    {"MainMenu/Utilities/ExportExcel/Schem", "Сх. включения", "Circuit connection"}, // 18
    {"MainMenu/Utilities/ExportExcel/Year", "Год выпуска", "Year of release"}, // 19
    {"MainMenu/Utilities/ExportExcel/TurnsRatio", "Коэфф. трансф.", "Turns ratio"}, // 20
    {"MainMenu/Utilities/ExportExcel/PowerType", "Тип мощности", "Power type"}, // 21
    {"MainMenu/Utilities/ExportExcel/Const", "Постоянная", "Meter constant"}, // 22
    {"MainMenu/Utilities/ExportExcel/Unom", "Uном., В", "Unom., V"}, // 23
    {"MainMenu/Utilities/ExportExcel/Inom", "Iном., А", "Inom., A"}, // 24
    {"MainMenu/Options", "Настройки", "Settings"}, // 25
    {"MainMenu/Options/CommunicationParameters", "Параметры обмена", "Communication parameters"}, // 26
    {"MainMenu/Options/ViewParameters", "Отображаемые параметры", "Displayed parameters"}, // 27
    {"MainMenu/Options/PasswordChange", "Смена пароля", "Password changing"}, // 28
    {"MainMenu/Options/Language", "Язык", "Language"}, // 29
    {"MainMenu/Options/Language/RusLanguage", "Русский", "Russian"}, // 30
    {"MainMenu/Options/Language/EngLanguage", "Английский", "English"}, // 31
    {"MainMenu/Reference", "Справка", "?"}, // 32
    {"MainMenu/Reference/Help", "Помощь", "Help"}, // 33
    {"MainMenu/Reference/AboutProgram", "О программе", "About"}, // 34
    {"ToolBarButtons/ReadArchive", "Чтение архива из прибора", "Read from device"}, // 35
    {"ToolBarButtons/CreateReport", "Создать отчёт", "New report"}, // 36
    {"ToolBarButtons/CopyCalibration", "Копировать поверку", "Copy"}, // 37
    {"ToolBarButtons/PasteCalibration", "Вставить поверку", "Paste"}, // 38
    {"ToolBarButtons/UnionCalibration", "Добавить поверку", "Merge"}, // 39
    {"ToolBarButtons/CutCalibration", "Вырезать поверку", "Cut"}, // 40
    {"ToolBarButtons/DeleteCalibration", "Удалить поверку", "Delete"}, // 41
    {"TreeViewFolders", "Каталоги", "Directories"}, // 42
    {"CalibrationMainTableTitles/DeviceType", "Тип прибора", "Device type"}, // 43
    {"CalibrationMainTableTitles/SerialNumber", "Зав. номер", "Serial number"}, // 44
    {"CalibrationMainTableTitles/Class", "Класс", "Accuracy class"}, // 45
    {"CalibrationMainTableTitles/Schem", "Включение", "Circuit connection"}, // 46
    {"CalibrationMainTableTitles/Year", "Год выпуска", "Year of release"}, // 47
    {"CalibrationMainTableTitles/TransRatio", "I1, А / I2, А / Коэф. транс.", "I1, А / I2, А / Turns ratio"}, // 48
    {"CalibrationMainTableTitles/EtalonDevice", "Эталон", "Reference standard"}, // 49
    {"CalibrationMainTableTitles/Schem/ph3w4", "3-х фаз. 4-пров.", "3 phase, 4 wire"}, // 50
    {"CalibrationMainTableTitles/Schem/ph3w3", "3-х фаз. 3-пров.", "3 phase, 3 wire"}, // 51
    {"CalibrationMainTableTitles/Schem/ph1w2", "1 фаз. 2-пров.", "1 phase, 2 wire"}, // 52
    {"CalibrationMainTableTitles/QS77", "QS-77", "QS-77"}, // 53
    {"CalibrationMainTableTitles/QT77", "QT-77", "QT-77"}, // 54
    {"CalibrationMainTableTitles/QS75", "QS-75", "QS-75"}, // 55
    {"CalibrationMainTableTitles/QK75", "QK-75", "QK-75"}, // 56
    {"CalibrationMainTableTitles/QK76", "QK-76", "QK-76"}, // 57
    {"CalibrationTableTitles/DateTime", "Дата,             время", "Date,             time"}, // 58
    {"CalibrationTableTitles/PowerType", "Тип мощности", "Power type"}, // 59
    {"CalibrationTableTitles/Const", "Постоянная", "Meter constant"}, // 60
    {"CalibrationTableTitles/UphNom", "Uн.ф.,В", "Un.ph., V"}, // 61
    {"CalibrationTableTitles/UlineNom", "Uн.л.,В", "Un.line, V"}, // 62
    {"CalibrationTableTitles/IphNom", "Iном., А", "In., A"}, // 63
    {"CalibrationTableTitles/PowerType/ActivePower", "активная", "active"}, // 64
    {"CalibrationTableTitles/PowerType/ApparentPower", "полная", "apparent"}, // 65
    {"CalibrationTableTitles/PowerType/ReactiveCrossPower", "реактивная перекрестная",
     "reactive, (cross-connection)"}, // 66
    {"CalibrationTableTitles/PowerType/ReactiveShiftPower", "реактивная сдвиговая",
     "reactive (phase-shift method)"}, // 67
    {"CalibrationTableTitles/PowerType/ReactiveGeomPower", "реактивная геометрическая",
     "reactive (geometrical method)"}, // 68
    {"ResultsTableTitles/NumTestPoint", "№ п.т.", "№"}, // 69
    {"ResultsTableTitles/Error", "Погрешность, %", "Error, %"}, // 70
    {"ResultsTableTitles/Ua", "Ua, В", "Ua, V"}, // 71
    {"ResultsTableTitles/Ub", "Ub, В", "Ub, V"}, // 72
    {"ResultsTableTitles/Uc", "Uc, В", "Uc, V"}, // 73
    {"ResultsTableTitles/Ia", "Ia, А", "Ia, A"}, // 74
    {"ResultsTableTitles/Ib", "Ib, А", "Ib, A"}, // 75
    {"ResultsTableTitles/Ic", "Ic, А", "Ic, A"}, // 76
    {"ResultsTableTitles/Uab", "Uab, В", "Uab, V"}, // 77
    {"ResultsTableTitles/Ubc", "Ubc, В", "Ubc, V"}, // 78
    {"ResultsTableTitles/Uca", "Uca, В", "Uca, V"}, // 79
    {"ResultsTableTitles/Kpa", "Kpa", "PFa"}, // 80
    {"ResultsTableTitles/Kpb", "Kpb", "PFb"}, // 81
    {"ResultsTableTitles/Kpc", "Kpc", "PFc"}, // 82
    {"ResultsTableTitles/Kps", "Kp", "PF"}, // 83
    {"ResultsTableTitles/ActivePowerA", "Pa, Вт", "Pa, W"}, // 84
    {"ResultsTableTitles/ActivePowerB", "Pb, Вт", "Pb, W"}, // 85
    {"ResultsTableTitles/ActivePowerC", "Pc, Вт", "Pc, W"}, // 86
    {"ResultsTableTitles/ActivePowerS", "P, Вт", "P, W"}, // 87
    {"ResultsTableTitles/ApparentPowerA", "Sa, ВА", "Sa, VA"}, // 88
    {"ResultsTableTitles/ApparentPowerB", "Sb, ВА", "Sb, VA"}, // 89
    {"ResultsTableTitles/ApparentPowerC", "Sc, ВА", "Sc, VA"}, // 90
    {"ResultsTableTitles/ApparentPowerS", "S, ВА", "S, VA"}, // 91
    {"ResultsTableTitles/ReactiveGeomPowerS", "Q геом. вар", "Q geom., var"}, // 92
    {"ResultsTableTitles/ReactiveShiftPowerS", "Q сдв. вар", "Q ph-sh., var"}, // 93
    {"ResultsTableTitles/ReactiveCrossPowerS", "Q пер. вар", "Q cr-con., var"}, // 94
    {"ResultsTableTitles/LimU", "Предел U, В", "U range, V"}, // 95
    {"ResultsTableTitles/LimI", "Предел I, А", "I range, A"}, // 96
    {"ResultsTableTitles/TransDescription", "Т", "T"}, // 97
    {"ResultsTableTitles/ClampDescription", "К", "C"}, // 98
    {"FolderContextMenu/CreateDir", "Создать каталог", "Create directory"}, // 99
    {"FolderContextMenu/DeleteDir", "Удалить каталог", "Delete directory"}, // 100
    {"FolderContextMenu/NewFolderLabel", "Новая папка", "New folder"}, // 101
    {"MainContextMenu/ChangeMeterPars", "Изменить", "Change"}, // 102
    {"SecondContextMenu/ChangeMeterConst", "Изменить постоянную", "Change meter constant"}, // 103
    {"StatusBar/Rate", "бит/сек.", "bps"}, // 104
};

// The message table. Error10 is used by no message box; it keeps a neutral
// text so that the table has no hole. Error35 follows Error34 in the fatal
// start-up box; Error36 is shown when the spreadsheet export file cannot be
// created.
const RawItem kMessages[] = {
    {"ErrorMessages/Error1", " Нет доступа к порту. ", " COM Port unavailable "},
    {"ErrorMessages/Error2", " Не удается выполнить запрос.", " Unable to complete your request."},
    {"ErrorMessages/Error3", " Ошибка данных при передаче. Повторите запрос.",
     " Data transmission error. Repeat your request."},
    {"ErrorMessages/Error4", " Нет ответа от прибора. Повторите запрос.",
     " No connection to device. Repeat your request."},
    {"ErrorMessages/Error5", " Нет связи с прибором. Повторите запрос.",
     " No connection to device. Repeat your request."},
    {"ErrorMessages/Error6", " Ошибка данных при приеме. Повторите запрос.",
     " Data receipt error. Repeat your request."},
    {"ErrorMessages/Error7", " Не удалось закрыть порт.", " Could not close COM port."},
    {"ErrorMessages/Error8", " Архив пустой.", " Log is empty."},
    {"ErrorMessages/Error9", " Неизвестное устройство.", " Unspecified device."},
    {"ErrorMessages/Error10", " Ошибка обмена с прибором.", " Device communication error."},
    {"ErrorMessages/Error11", " Считывание отменено.", " Reading canceled."},
    {"ErrorMessages/Error12", " Неизвестная ошибка.", " Unspecified error."},
    {"ErrorMessages/Error13", " Чтение архива.", " Reading log."},
    {"ErrorMessages/Error14", " Чтение прошло успешно.", " Reading has been successfully completed."},
    {"ErrorMessages/Error15", " Загрузка базы данных поверяемых средств в прибор.", " Recording database to device."},
    {"ErrorMessages/Error16", " Запись базы счетчиков прошла успешно.", " Recording has been successfully completed."},
    {"ErrorMessages/Error17", " Загрузка базы данных поверяемых средств из прибора.", " Load database from device."},
    {"ErrorMessages/Error18", "Не удается переименовать каталог.", "Unable to rename directory."},
    {"ErrorMessages/Error19", "Пароль указан неверно.", "Invalid password."},
    {"ErrorMessages/Error20", "Не удается удалить каталог.", "Unable to delete directory."},
    {"ErrorMessages/Error21", "Не совпадают новые пароли!", "New passwords do not match!"},
    {"ErrorMessages/Error22", "Неверно указан текущий пароль.", "Password entered is invalid."},
    {"ErrorMessages/Error23", "Такая запись уже содержится в базе!",
     "The device profile already exists in the database!"},
    {"ErrorMessages/Error24", "Удалить запись?", "Delete record?"},
    {"ErrorMessages/Error25", "Не удается открыть файл.", "Unable to open file."},
    {"ErrorMessages/Error26", "Ошибка данных в файле.", "File data error."},
    {"ErrorMessages/Error27", "Ошибка чтения данных.", "Data reading error."},
    {"ErrorMessages/Error28", "Невозможно открыть Microsoft Excel!", "Unable to open Microsoft Excel!"},
    {"ErrorMessages/Error29", "Ошибка открытия книги Microsoft Excel! Возможно Excel не установлен на компьютере.",
     "Microsoft Excel opening error! MS Excel is probably not installed."},
    {"ErrorMessages/Error30", "Ошибка", "Error"},
    {"ErrorMessages/Error31", "Не удается загрузить драйвер для USB-устройства.", "Unable to load USB-device driver."},
    {"ErrorMessages/Error32", "Не обнаружено ни одного устройства, подключенного к шине USB.",
     "No USB-device detected."},
    {"ErrorMessages/Error33", "Обнаружено более одного устройства, подключенных к шине USB.",
     "More than one USB-device detected."},
    {"ErrorMessages/Error34", "Некорректные данные для работы.\nНеобходимо переустановить приложение.",
     "Invalid application data.\nThe program must be reinstalled."},
    {"ErrorMessages/Error35", "Программа будет закрыта.", "The program will be closed."},
    {"ErrorMessages/Error36", "Не удается создать файл.", "Unable to create file."},
};

} // namespace

void appendMainSection(QVector<CatalogItem> &out)
{
    appendRaw(out, "KorvelForm", kWindowTexts);
    appendRaw(out, "KorvelForm", kMessages);
}

} // namespace stringcatalog_detail
