// Wiring of the meter database commands (menu "База поверяемых средств")
// into the main window. The commands get the application's services only.
#include "korvelform.h"

#include "meterdb/ui/meterbasecommands.h"

void TKorvelForm::wireMeterDatabaseCommands()
{
    auto *commands = new MeterBaseCommands(*m_services, this);
    commands->setObjectName(QStringLiteral("MeterBaseCommands"));
    const std::pair<Command, void (MeterBaseCommands::*)()> items[] = {
        {Command::CreateBase, &MeterBaseCommands::CreateNewBaseExecute},
        {Command::LoadBaseFromFile, &MeterBaseCommands::LoadBaseFromFileExecute},
        {Command::LoadBaseFromDevice, &MeterBaseCommands::LoadBaseFromDeviceExecute},
    };
    for (const auto &[command, slot] : items)
        connect(action(command), &QAction::triggered, commands, slot);
}
