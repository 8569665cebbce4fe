// Wiring of the meter database commands (menu "База поверяемых средств")
// into the main window. The commands get the application's services only.
#include "korvelform.h"

#include "meterdb/ui/meterbasecommands.h"
#include "views/commandstate.h"

void TKorvelForm::wireMeterDatabaseCommands()
{
    auto *commands = new MeterBaseCommands(*m_services, this);
    commands->setObjectName(QStringLiteral("MeterBaseCommands"));
    const std::pair<const char *, void (MeterBaseCommands::*)()> items[] = {
        {"CreateBaseAction", &MeterBaseCommands::CreateNewBaseExecute},
        {"LoadBaseFromFileAction", &MeterBaseCommands::LoadBaseFromFileExecute},
        {"LoadBaseFromDeviceAction", &MeterBaseCommands::LoadBaseFromDeviceExecute},
    };
    for (const auto &[name, slot] : items) {
        QAction *item = action(QLatin1String(name));
        connect(item, &QAction::triggered, commands, slot);
        bindCommand(item, &RecordCommands::idle);
    }
}
