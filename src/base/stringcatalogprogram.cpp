#include "stringcatalog.h"

namespace {

struct Texts {
    const char *rus;
    const char *eng;
};

Texts textsOf(ProgramText id)
{
    switch (id) {
    case ProgramText::RecordsNotStored:
        return {"Не сохранено поверок: %1 из %2.", "Verifications not stored: %1 of %2."};
    case ProgramText::ConstantsClamped:
        return {"Постоянная счётчика больше 4294967295 и сохранена как 4294967295, поверок: %1.",
                "Meter constant above 4294967295 stored as 4294967295, verifications: %1."};
    case ProgramText::PortNotPresent:
        return {"порт не найден; подключён ли кабель?", "the port is not present; is the cable plugged in?"};
    case ProgramText::PortNoPermission:
        return {"нет прав на использование порта", "no permission to use the port"};
    case ProgramText::PortNoPermissionGroup:
        return {"нет прав на использование порта: войдите в группу \"%1\" (sudo usermod -aG %1 $USER) "
                "и войдите в систему заново",
                "no permission to use the port: join the group \"%1\" (sudo usermod -aG %1 $USER) "
                "and log in again"};
    case ProgramText::PortInUse:
        return {"порт занят другой программой", "the port is in use by another program"};
    case ProgramText::PortCannotOpen:
        return {"порт не удается открыть", "the port cannot be opened"};
    case ProgramText::StoredInColumn:
        return {"Хранится в", "Stored in"};
    case ProgramText::TickNotStoredButton:
        return {"Несохранённые", "Not stored"};
    case ProgramText::FindMeterCommand:
        return {"Найти счётчик…", "Find meter…"};
    case ProgramText::FindMeterTitle:
        return {"Поиск счётчика", "Find meter"};
    case ProgramText::FindSerialLabel:
        return {"Заводской номер (часть):", "Serial number (part):"};
    case ProgramText::FindTypeLabel:
        return {"Тип счётчика (часть):", "Meter type (part):"};
    case ProgramText::FindButton:
        return {"Найти", "Find"};
    case ProgramText::FindOpenButton:
        return {"Открыть", "Open"};
    case ProgramText::FindCloseButton:
        return {"Закрыть", "Close"};
    case ProgramText::FindFolderColumn:
        return {"Каталог", "Directory"};
    case ProgramText::FindTypeColumn:
        return {"Тип", "Type"};
    case ProgramText::FindSerialColumn:
        return {"Заводской номер", "Serial number"};
    case ProgramText::FindCountColumn:
        return {"Поверок", "Verifications"};
    case ProgramText::FindLastColumn:
        return {"Последняя поверка", "Last verification"};
    case ProgramText::FindResultCount:
        return {"Найдено счётчиков: %1", "Meters found: %1"};
    case ProgramText::MergeAllCommand:
        return {"Объединить все файлы этого счётчика", "Merge all files of this meter"};
    case ProgramText::MergeAllDone:
        return {"Объединено файлов: %1, в файл %2.", "%1 files merged into %2."};
    case ProgramText::MergeAllNothing:
        return {"Нет других файлов этого счётчика, которые можно объединить с %1.",
                "No other file of this meter can be merged into %1."};
    case ProgramText::MergeAllNotMergeable:
        return {"%1 не объединён: другой эталон, класс точности, схема включения или трансформатор тока.",
                "%1 was left out: another reference standard, accuracy class, connection scheme or current "
                "transformer."};
    case ProgramText::MergeAllUnreadable:
        return {"%1 не объединён: файл не читается.", "%1 was left out: the file cannot be read."};
    case ProgramText::FieldsToCorrect:
        return {"Заполните или исправьте: %1", "Fill in or correct: %1"};
    case ProgramText::UnsavedEntriesClose:
        return {"Записи не сохранены в файл и не записаны в прибор. Закрыть окно без них?",
                "The entries have been neither saved to a file nor written to the device. Close without them?"};
    case ProgramText::UnsavedEntriesReplace:
        return {"Записи не сохранены в файл и не записаны в прибор. Заменить их?",
                "The entries have been neither saved to a file nor written to the device. Replace them?"};
    case ProgramText::UnstorableMeterType:
        return {"Тип прибора «%1» содержит символы, которые нельзя записать: %2",
                "The device type \"%1\" contains characters that cannot be stored: %2"};
    case ProgramText::ManualNotOpened:
        return {"Ни одна программа не смогла открыть руководство. Файл руководства: %1",
                "No program could open the manual. The manual is the file %1"};
    case ProgramText::ChangedOnAnotherWorkstation:
        return {"Файл изменён на другом рабочем месте; список обновлён — повторите команду.",
                "The file was changed on another workstation; the list was refreshed — repeat the command."};
    case ProgramText::DataFolderCommand:
        return {"Папка данных…", "Data folder…"};
    case ProgramText::DataFolderTitle:
        return {"Папка данных (можно выбрать общую сетевую папку)", "Data folder (may be a shared network folder)"};
    case ProgramText::ExportFolderCommand:
        return {"Экспорт папки…", "Export folder…"};
    case ProgramText::NameRefused:
        return {"Наименование содержит символы, которые нельзя сохранить: %1",
                "The name contains characters that cannot be stored: %1"};
    case ProgramText::SerialRefused:
        return {"Заводской номер содержит символы, которые нельзя сохранить: %1",
                "The serial number contains characters that cannot be stored: %1"};
    case ProgramText::StringsFileUnreadable:
        return {"Ошибка при загрузке данных приложения.\nДля работы необходимо выполнить переустановку программы.",
                "Error while loading application data.\nThe program must be reinstalled."};
    case ProgramText::ManualFile:
        return {"ReferenceRus.pdf", "ReferenceEng.pdf"};
    case ProgramText::ReportCannotOpen:
        return {"Не удается прочитать файл отчета.", "The report file cannot be read."};
    case ProgramText::ReportNotReportFile:
        return {"Файл не является файлом отчета.", "The file is not a report file."};
    case ProgramText::ReportTruncated:
        return {"Файл отчета неполон (обрезан).", "The report file is truncated."};
    case ProgramText::ReportNewerVersion:
        return {"Файл отчета записан более новой версией программы.",
                "The report file was written by a newer version of the program."};
    case ProgramText::ReportDamaged:
        return {"Файл отчета поврежден.", "The report file is damaged."};
    case ProgramText::ReportCannotWrite:
        return {"Не удается записать файл.", "The file cannot be written."};
    case ProgramText::TooManyTicked:
        return {"За один раз можно считать не более %1 поверок, отмечено %2.\nСнимите отметки с лишних поверок.",
                "At most %1 verifications can be read at a time; %2 are ticked.\nUntick the ones you do not need now."};
    case ProgramText::ReportSave:
        return {"Сохранить", "Save"};
    case ProgramText::ReportSavePdf:
        return {"Сохранить как PDF", "Save as PDF"};
    }
    return {"", ""};
}

} // namespace

QString programText(ProgramText id, int language)
{
    const Texts texts = textsOf(id);
    return QString::fromUtf8(language == 0 ? texts.rus : texts.eng);
}
