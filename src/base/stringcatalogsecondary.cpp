// Texts of the secondary windows, one table per section, each in reading
// order. The Russian texts are the windows' design texts; labels that are
// followed by a value carry their own separator (colon, blank).
#include "stringcatalogdata.h"

namespace stringcatalog_detail {

namespace {

const RawItem kMeterParsForm[] = {
    {"Title", "Параметры счётчика", "Meter parameters"},
    {"MeterParsFormLabels/MeterNameLabel", "Наименование:", "Name:"},
    {"MeterParsFormLabels/SerialNumberLabel", "Зав. номер:", "Serial number:"},
    {"MeterParsFormLabels/YearLabel", "Год выпуска:", "Year of release:"},
    {"MeterParsFormLabels/OkButtonLabel", "ОК", "OK"},
    {"MeterParsFormLabels/CancelButtonLabel", "Отмена", "Cancel"},
};

const RawItem kContentForm[] = {
    {"Title", "Содержание архива поверок", "Verification log contents"},
    {"ContentTable/DeviceTypeSerial", "Тип и заводской номер прибора", "Device type and serial number"},
    {"ContentTable/DateTimeCalibration", "Дата и время поверки", "Verification date and time"},
    {"ContentTable/PowerType", "Мощность", "Power"},
    {"ContentTable/CalibrationNumber", "Номер", "Number"},
    {"ContentLabels/AllCalibrationButton", "Все поверки", "Select all"},
    {"ContentLabels/ResetButton", "Сбросить", "Reset"},
    {"ContentLabels/ReadCalibrationButton", "Считать поверки", "Read verifications"},
    {"ContentLabels/CancelReadCalibrationButton", "Отмена", "Cancel"},
    {"ContentLabels/DeviceTypeLabel", "Тип прибора:", "Device type:"},
    {"ContentLabels/SerialNumberLabel", "Заводской номер:", "Serial number:"},
    {"ContentLabels/DeviceVersionLabel", "Версия прибора:", "Device version:"},
    {"ContentLabels/TotalCalibrationLabel", "Общее количество поверок:", "Total verifications:"},
};

const RawItem kConstForm[] = {
    {"LabelConst", "Постоянная счётчика:", "Meter constant:"},
    {"OkButton", "ОК", "OK"},
    {"CancelButton", "Отмена", "Cancel"},
};

const RawItem kCommParsForm[] = {
    {"Title", "Параметры обмена", "Communication parameters"},
    {"CommParsFormLabels/InterfaceTypeLabel", "Интерфейс связи с прибором", "Device interface"},
    {"CommParsFormLabels/SerialPortLabel", "Последовательный порт", "Serial port"},
    {"CommParsFormLabels/ComPortParsLabel", "Настройки COM-порта", "COM port settings"},
    {"CommParsFormLabels/NumberComPortLabel", "Порт:", "Port:"},
    {"CommParsFormLabels/RateComPortLabel", "Скорость обмена (бит/сек.):", "Baud rate (bps):"},
    {"CommParsFormLabels/ApplyButton", "Применить", "Apply"},
    {"CommParsFormLabels/CancelButton", "Отмена", "Cancel"},
};

// The count-read label starts with a Latin "C" in the window's design text;
// it is kept as designed.
const RawItem kExchangeForm[] = {
    {"Title", "Обмен с прибором", "Device communication"},
    {"ExchangeLabels/PortExchangeLabel", "Обмен через порт:", "Port:"},
    {"ExchangeLabels/RateExchangeLabel", "Скорость обмена, бит/сек.:", "Baud rate, bps:"},
    {"ExchangeLabels/CancelButton", "Отмена", "Cancel"},
    {"ExchangeLabels/MeasurementDeviceLabel", "Измерительный прибор", "Measuring device"},
    {"ExchangeLabels/DeviceTypeLabel", "Тип прибора:", "Device type:"},
    {"ExchangeLabels/SerialNumberLabel", "Заводской номер:", "Serial number:"},
    {"ExchangeLabels/VersionDeviceLabel", "Версия прибора:", "Device version:"},
    {"ExchangeLabels/AllCalibrationLabel", "Общее количество поверок:", "Total verifications:"},
    {"ExchangeLabels/ReadingCalibrationLabel", "Cчитано поверок:", "Verifications read:"},
};

const RawItem kEnterPasswordForm[] = {
    {"Title", "Введите пароль", "Enter password"},
    {"EnterPasswordFormLabels/DeleteFileLabel", "Удалить исходные файлы", "Delete source files"},
    {"EnterPasswordFormLabels/OkButtonLabel", "Ok", "Ok"},
    {"EnterPasswordFormLabels/CancelButtonLabel", "Отмена", "Cancel"},
};

const RawItem kChangePasswordForm[] = {
    {"Title", "Смена пароля", "Password changing"},
    {"ChangePasswordFormLabels/CurrentPasswordLabel", "Текущий пароль:", "Current password:"},
    {"ChangePasswordFormLabels/NewPasswordLabel", "Новый пароль:", "New password:"},
    {"ChangePasswordFormLabels/RepeatPasswordLabel", "Повторный ввод:", "Repeat new password:"},
    {"ChangePasswordFormLabels/OkButtonLabel", "ОК", "OK"},
    {"ChangePasswordFormLabels/CancelButtonLabel", "Отмена", "Cancel"},
};

const RawItem kTitleReportForm[] = {
    {"Title", "Формирование протокола", "Protocol creation"},
    {"TitleReportFormLabels/EnterReportTitleLabel", "Введите название протокола", "Enter the protocol title"},
    {"TitleReportFormLabels/EnterReportCompletionLabel", "Окончание протокола", "Protocol ending"},
    {"TitleReportFormLabels/OkButtonLabel", "ОК", "OK"},
    {"TitleReportFormLabels/CancelButtonLabel", "Отмена", "Cancel"},
    {"ContextMenu/AlignmentMenu", "Выравнивание", "Alignment"},
    {"ContextMenu/AlignmentMenu/CenterAlignmentMenu", "по центру", "Center"},
    {"ContextMenu/AlignmentMenu/LeftAlignmentMenu", "слева", "Left"},
    {"ContextMenu/AlignmentMenu/RightAlignmentMenu", "справа", "Right"},
    {"ContextMenu/FontMenu", "Шрифт", "Font"},
};

// The check-list items of the three pages share one list; "...12" names the
// single-phase variant. ApparentPowerS is read twice: once for the
// three-phase four-wire list and once for the three-phase three-wire list.
const RawItem kViewParametersForm[] = {
    {"Title", "Настройка параметров отображения", "Displayed parameters"},
    {"ViewParametersFormLabels/Ph3w4Label", "3-фаз. 4-пр.", "3 ph. 4 w."},
    {"ViewParametersFormLabels/Ph3w3Label", "3-фаз. 3-пр.", "3 ph. 3 w."},
    {"ViewParametersFormLabels/Ph1w2Label", "1-фаз. 2-пр.", "1 ph. 2 w."},
    {"ViewParametersFormLabels/SelectionColumnsLabel", "Отобразить столбцы:", "Show columns:"},
    {"ViewParametersFormLabels/ViewParametersList/Ua", "Напряжение по фазе A, В", "Phase A voltage, V"},
    {"ViewParametersFormLabels/ViewParametersList/Ua12", "Фазное напряжение, В", "Phase voltage, V"},
    {"ViewParametersFormLabels/ViewParametersList/Ub", "Напряжение по фазе B, В", "Phase B voltage, V"},
    {"ViewParametersFormLabels/ViewParametersList/Uc", "Напряжение по фазе C, В", "Phase C voltage, V"},
    {"ViewParametersFormLabels/ViewParametersList/Ia", "Ток фазы A, А", "Phase A current, A"},
    {"ViewParametersFormLabels/ViewParametersList/Ia12", "Фазный ток, А", "Phase current, A"},
    {"ViewParametersFormLabels/ViewParametersList/Ib", "Ток фазы B, А", "Phase B current, A"},
    {"ViewParametersFormLabels/ViewParametersList/Ic", "Ток фазы C, А", "Phase C current, A"},
    {"ViewParametersFormLabels/ViewParametersList/Uab", "Линейное напряжение AB, В", "Line voltage AB, V"},
    {"ViewParametersFormLabels/ViewParametersList/Ubc", "Линейное напряжение BC, В", "Line voltage BC, V"},
    {"ViewParametersFormLabels/ViewParametersList/Uca", "Линейное напряжение CA, В", "Line voltage CA, V"},
    {"ViewParametersFormLabels/ViewParametersList/Kpa", "Коэффициент мощности фазы A", "Phase A power factor"},
    {"ViewParametersFormLabels/ViewParametersList/Kpb", "Коэффициент мощности фазы B", "Phase B power factor"},
    {"ViewParametersFormLabels/ViewParametersList/Kpc", "Коэффициент мощности фазы C", "Phase C power factor"},
    {"ViewParametersFormLabels/ViewParametersList/Kps", "Суммарный коэффициент мощности", "Total power factor"},
    {"ViewParametersFormLabels/ViewParametersList/Kps12", "Коэффициент мощности", "Power factor"},
    {"ViewParametersFormLabels/ViewParametersList/ActivePowerA", "Активная мощность по фазе A, Вт",
     "Phase A active power, W"},
    {"ViewParametersFormLabels/ViewParametersList/ActivePowerB", "Активная мощность по фазе B, Вт",
     "Phase B active power, W"},
    {"ViewParametersFormLabels/ViewParametersList/ActivePowerC", "Активная мощность по фазе C, Вт",
     "Phase C active power, W"},
    {"ViewParametersFormLabels/ViewParametersList/ActivePowerS", "Суммарная активная мощность, Вт",
     "Total active power, W"},
    {"ViewParametersFormLabels/ViewParametersList/ActivePowerS12", "Активная мощность, Вт", "Active power, W"},
    {"ViewParametersFormLabels/ViewParametersList/ApparentPowerA", "Полная мощность по фазе A, ВА",
     "Phase A apparent power, VA"},
    {"ViewParametersFormLabels/ViewParametersList/ApparentPowerB", "Полная мощность по фазе B, ВА",
     "Phase B apparent power, VA"},
    {"ViewParametersFormLabels/ViewParametersList/ApparentPowerC", "Полная мощность по фазе C, ВА",
     "Phase C apparent power, VA"},
    {"ViewParametersFormLabels/ViewParametersList/ApparentPowerS", "Суммарная полная мощность, ВА",
     "Total apparent power, VA"},
    {"ViewParametersFormLabels/ViewParametersList/ApparentPowerS", "Суммарная полная мощность, ВА",
     "Total apparent power, VA"},
    {"ViewParametersFormLabels/ViewParametersList/ApparentPowerS12", "Полная мощность, ВА", "Apparent power, VA"},
    {"ViewParametersFormLabels/ViewParametersList/ReactiveGeomPowerS",
     "Суммарная реактивная мощность (геометрический метод), вар", "Total reactive power (geometrical method), var"},
    {"ViewParametersFormLabels/ViewParametersList/ReactiveGeomPowerS12",
     "Реактивная мощность (геометрический метод), вар", "Reactive power (geometrical method), var"},
    {"ViewParametersFormLabels/ViewParametersList/ReactiveShiftPowerS",
     "Суммарная реактивная мощность (сдвиговый метод), вар", "Total reactive power (phase-shift method), var"},
    {"ViewParametersFormLabels/ViewParametersList/ReactiveShiftPowerS12", "Реактивная мощность (сдвиговый метод), вар",
     "Reactive power (phase-shift method), var"},
    {"ViewParametersFormLabels/ViewParametersList/ReactiveCrossPowerS",
     "Суммарная реактивная перекрестная мощность, вар", "Total reactive power (cross-connection), var"},
    {"ViewParametersFormLabels/ViewParametersList/Ulim", "Установленный предел по напряжению, В", "Voltage range, V"},
    {"ViewParametersFormLabels/ViewParametersList/Ilim", "Установленный предел по току, А", "Current range, A"},
    {"ViewParametersFormLabels/AllButton", "Все", "All"},
    {"ViewParametersFormLabels/ResetButton", "Сбросить", "Reset"},
    {"ViewParametersFormLabels/DefaultButton", "По умолчанию", "Default"},
    {"ViewParametersFormLabels/ApplyButton", "Применить", "Apply"},
    {"ViewParametersFormLabels/CancelButton", "Отмена", "Cancel"},
};

// DestinationText holds the three lines of the purpose text and an empty
// fourth line; DeviceDescriptionText introduces the list of supported
// reference-standard models, whose names follow it in the about box.
const RawItem kAboutForm[] = {
    {"Title", "О программе", "About"},
    {"AboutFormLabels/VersionLabel", "Версия", "Version"},
    {"AboutFormLabels/ManufacturerLabel", "ООО «Корвел»", "Korvel Ltd."},
    {"AboutFormLabels/CityLabel", "Россия", "Russia"},
    {"AboutFormLabels/YearLabel", "г.", "release"},
    {"AboutFormLabels/OkButtonLabel", "OK", "OK"},
    {"DestinationText/Line1", "Программа предназначена для считывания, сохранения и",
     "The program reads, stores and displays"},
    {"DestinationText/Line2", "просмотра архивов поверенных средств измерений",
     "the logs of verified measuring instruments"},
    {"DestinationText/Line3", "и формирования протоколов.", "and creates verification protocols."},
    {"DestinationText/Line4", "", ""},
    {"DeviceDescriptionText/Line1", "Программа работает с эталонными", "The program works with the portable"},
    {"DeviceDescriptionText/Line2", "переносными счетчиками", "reference standard meters"},
    {"DeviceDescriptionText/Line3", "моделей:", "of the models:"},
};

const RawItem kMeterDatabaseForm[] = {
    {"Title", "База данных поверяемых средств", "'Devices under test' database"},
    {"MeterDatabaseFormLabels/DeviceTypeLabel", "Тип прибора:", "Device type:"},
    {"MeterDatabaseFormLabels/SerialNumberLabel", "Зав. номер:", "Serial number:"},
    {"MeterDatabaseFormLabels/YearLabel", "Год выпуска:", "Year of release:"},
    {"MeterDatabaseFormLabels/UlineLabel", "Ном. лин. напр., В:", "Nom. line voltage, V:"},
    {"MeterDatabaseFormLabels/UphaseLabel", "Ном. фаз. напр., В:", "Nom. phase voltage, V:"},
    {"MeterDatabaseFormLabels/InomLabel", "Ном. ток, А:", "Nom. current, A:"},
    {"MeterDatabaseFormLabels/ClassLabel", "Класс точности:", "Accuracy class:"},
    {"MeterDatabaseFormLabels/ConstLabel", "Постоянная:", "Meter constant:"},
    {"MeterDatabaseFormLabels/I1Label", "Ток перв. обм., А:", "Primary current, A:"},
    {"MeterDatabaseFormLabels/I2Label", "Ток втор. обм., А:", "Secondary current, A:"},
    {"MeterDatabaseFormLabels/NewRecordButtonLabel", "Новая запись", "New record"},
    {"MeterDatabaseFormLabels/EditRecordButtonLabel", "Изменить запись", "Edit record"},
    {"MeterDatabaseFormLabels/DeleteRecordButtonLabel", "Удалить запись", "Delete record"},
    {"MeterDatabaseFormLabels/CancelButtonLabel", "Отмена", "Cancel"},
    {"MeterDatabaseFormLabels/ApplyButtonLabel", "Применить", "Apply"},
    {"MeterDatabaseFormLabels/ReadDeviceButtonLabel", "Читать из прибора", "Read from device"},
    {"MeterDatabaseFormLabels/WriteDeviceButtonLabel", "Запись в прибор", "Write to device"},
    {"MeterDatabaseFormLabels/SaveFileButtonLabel", "Сохранить", "Save"},
    {"MeterDatabaseFormLabels/LoadFileButtonLabel", "Загрузить", "Load"},
    {"MeterDatabaseFormLabels/CloseButtonLabel", "Закрыть", "Close"},
    {"MeterDatabaseFormLabels/LoadBdcLabel", "База данных счетчиков", "Meter database"},
    {"MeterDatabaseTable/DeviceType", "Тип прибора", "Device type"},
    {"MeterDatabaseTable/SerialNumber", "Зав. номер", "Serial number"},
    {"MeterDatabaseTable/Year", "Год выпуска", "Year of release"},
    {"MeterDatabaseTable/Class", "Класс", "Accuracy class"},
    {"MeterDatabaseTable/MeterConstant", "Постоянная", "Meter constant"},
    {"MeterDatabaseTable/Ulin", "U ном. лин., В", "U nom. line, V"},
    {"MeterDatabaseTable/Uphase", "U ном. фаз., В", "U nom. phase, V"},
    {"MeterDatabaseTable/Inom", "I ном., А", "I nom., A"},
    {"MeterDatabaseTable/I1", "I1, А", "I1, A"},
    {"MeterDatabaseTable/I2", "I2, А", "I2, A"},
};

// Protocol texts. Labels are joined to their values with nothing between,
// so they carry their own ": ". The single-phase scheme line is read for
// the checksum under the name ph2w1, while the protocol builder looks it up
// as ph1w2: the file carries both elements with the same text (ph1w2 as an
// extra element that feeds no checksum, see kReportExtras), so the section
// check and the protocol agree whichever name a reader uses.
const RawItem kReportForm[] = {
    {"ReportFormLabels/ReportTitle", "Протокол поверки", "Verification protocol"},
    {"ReportFormLabels/MeterType", "Тип счетчика: ", "Meter type: "},
    {"ReportFormLabels/SerialNumber", "Заводской номер: ", "Serial number: "},
    {"ReportFormLabels/Year", "Год выпуска: ", "Year of release: "},
    {"ReportFormLabels/Class", "Класс точности: ", "Accuracy class: "},
    {"ReportFormLabels/ph3w4", "Включение: 3-х фазное 4-х проводное", "Connection: 3 phase, 4 wire"},
    {"ReportFormLabels/ph3w3", "Включение: 3-х фазное 3-х проводное", "Connection: 3 phase, 3 wire"},
    {"ReportFormLabels/ph2w1", "Включение: 1-фазное 2-х проводное", "Connection: 1 phase, 2 wire"},
    {"ReportFormLabels/ActivePower", "Активная мощность", "Active power"},
    {"ReportFormLabels/ApparentPower", "Полная мощность", "Apparent power"},
    {"ReportFormLabels/ReactiveCrossPower", "Реактивная мощность (перекрестное включение)",
     "Reactive power (cross-connection)"},
    {"ReportFormLabels/ReactiveShiftPower", "Реактивная мощность (сдвиговый метод)",
     "Reactive power (phase-shift method)"},
    {"ReportFormLabels/ReactiveGeomPower", "Реактивная мощность (геометрический метод)",
     "Reactive power (geometrical method)"},
    {"ReportFormLabels/MeterConst", "Постоянная счетчика: ", "Meter constant: "},
    {"ReportFormLabels/UphNom", "Uном. фаз., В: ", "Unom. phase, V: "},
    {"ReportFormLabels/UlineNom", "Uном. лин., В: ", "Unom. line, V: "},
    {"ReportFormLabels/IphNom", "Iном., А: ", "Inom., A: "},
    {"ReportFormLabels/P", "Мощн., Вт", "Power, W"},
    {"ReportFormLabels/S", "Мощн., ВА", "Power, VA"},
    {"ReportFormLabels/Qper", "Мощн., вар", "Power, var"},
    {"ReportFormLabels/Qsdv", "Мощн., вар", "Power, var"},
    {"ReportFormLabels/Qgeom", "Мощн., вар", "Power, var"},
    {"ReportFormLabels/CalibrationDate", "Дата поверки: ", "Verification date: "},
    {"ReportFormLabels/Voltage", "Напряжение, В", "Voltage, V"},
    {"ReportFormLabels/Current", "Ток, А", "Current, A"},
    {"ReportFormLabels/CurrentSokr", "Ток, А", "I, A"},
    {"ReportFormLabels/PowerFactor", "Коэфф. мощности", "Power factor"},
    {"ReportFormLabels/TotalPowerFactor", "Суммарный коэф. мощн.", "Total power factor"},
    {"ReportFormLabels/Error", "Погрешн., %", "Error, %"},
    {"ReportFormLabels/RefStandard", "Эталон:", "Reference standard:"},
    {"ReportFormLabels/RefStandardSerialNumber", "зав. №", "serial No."},
    {"ReportFormLabels/I1nom", "I1 ном., А:", "I1 nom., A:"},
    {"ReportFormLabels/I2nom", "I2 ном., А:", "I2 nom., A:"},
    {"ReportFormLabels/TurnsRatio", "Коэфф. трансформации:", "Turns ratio:"},
    {"ReportFormLabels/Page", "Страница", "Page"},
    {"ReportFormLabels/PageOf", "из", "of"},
    {"ReportFormLabels/CalibrationYear", "г.", ""},
};

const RawItem kReportExtras[] = {
    {"ReportFormLabels/ph1w2", "Включение: 1-фазное 2-х проводное", "Connection: 1 phase, 2 wire"},
};

// Verdicts, error curves and the limits table: looked up by key, outside the
// checksummed sections.
const RawItem kVerdictTexts[] = {
    {"Within", "В пределах допуска класса %1 (%2)", "Within the limits of class %1 (%2)"},
    {"Over", "Превышен допуск класса %1 (%2) в точках %3", "Exceeds the limits of class %1 (%2) at points %3"},
    {"None", "Нет заключения: для точек поверки класса %1 нет допусков",
     "No verdict: no limits of class %1 for these points"},
    {"Status", "Заключение: %1", "Verdict: %1"},
    {"Column", "Заключение", "Verdict"},
    {"LimitColumn", "Допуск, %", "Limit, %"},
    {"PointWithin", "✓ в допуске", "✓ within"},
    {"PointOver", "✗ превышение %1", "✗ over by %1"},
    {"PointNoLimit", "— нет допуска", "— no limit"},
    {"ListWithin", "✓", "✓"},
    {"ListOver", "✗", "✗"},
    {"IncludeVerdicts", "Включить заключения", "Include verdicts"},
    {"IncludeCurves", "Включить кривые погрешности", "Include error curves"},
    {"LimitsRefused", "Файл допусков %1 отклонён, строка %2: %3. Действуют встроенные допуски.",
     "Limits file %1 refused, line %2: %3. The built-in limits are in force."},
    {"LimitsErrors/UnknownWord", "неизвестное слово", "unknown word"},
    {"LimitsErrors/FieldCount", "неверное число полей", "wrong number of fields"},
    {"LimitsErrors/BadNumber", "неверное число", "not a valid number"},
    {"LimitsErrors/BadPowerFactor", "коэффициент мощности должен быть больше 0 и не больше 1",
     "power factor must be above 0 and at most 1"},
    {"LimitsErrors/BadRange", "диапазон тока кончается раньше, чем начинается",
     "the current range ends before it starts"},
    {"LimitsErrors/NoSource", "полоса до строки source", "a band before any source line"},
    {"LimitsErrors/BadFormat", "файл не читается или не формата 1",
     "not a limits file of format 1, or it cannot be read"},
    {"Curve/Title", "Кривая погрешности", "Error curve"},
    {"Curve/CurrentAxis", "Ток, % от Iном", "Current, % of Inom"},
    {"Curve/ErrorAxis", "Погрешность, %", "Error, %"},
    {"Curve/Limit", "допуск", "limit"},
    {"Curve/Over", "вне допуска", "over the limit"},
    {"Curve/SinglePhase", "одна фаза", "one phase"},
    {"Curve/SavePng", "Сохранить как PNG...", "Save as PNG..."},
    {"Curve/SavePdf", "Сохранить как PDF...", "Save as PDF..."},
    {"Curve/Beside", "Кривая справа от таблицы", "Curve beside the grid"},
    {"Curve/Below", "Кривая под таблицей", "Curve below the grid"},
    {"Curve/Show", "Кривая погрешности", "Error curve"},
};

} // namespace

void appendSecondarySections(QVector<CatalogItem> &out)
{
    appendRaw(out, "MeterParsForm", kMeterParsForm);
    appendRaw(out, "ContentForm", kContentForm);
    appendRaw(out, "ConstForm", kConstForm);
    appendRaw(out, "CommParsForm", kCommParsForm);
    appendRaw(out, "ExchangeForm", kExchangeForm);
    appendRaw(out, "EnterPasswordForm", kEnterPasswordForm);
    appendRaw(out, "ChangePasswordForm", kChangePasswordForm);
    appendRaw(out, "TitleReportForm", kTitleReportForm);
    appendRaw(out, "ViewParametersForm", kViewParametersForm);
    appendRaw(out, "AboutForm", kAboutForm);
    appendRaw(out, "MeterDatabaseForm", kMeterDatabaseForm);
    appendRaw(out, "ReportForm", kReportForm);
}

void appendExtraElements(QVector<CatalogItem> &out)
{
    appendRaw(out, "ReportForm", kReportExtras);
    appendRaw(out, "Verdicts", kVerdictTexts);
}

} // namespace stringcatalog_detail
