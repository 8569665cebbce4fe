// Wiring of the meter database commands (menu "База поверяемых средств")
// into the main window.
#include "korvelform.h"

#include "meterdb/ui/meterbasecommands.h"

void TKorvelForm::wireMeterDatabaseCommands()
{
    auto *commands = new MeterBaseCommands(*m_services, *m_store, *m_views, this);
    commands->setObjectName(QStringLiteral("MeterBaseCommands"));
    bind(Command::CreateBase, commands, &MeterBaseCommands::CreateNewBaseExecute);
    bind(Command::LoadBaseFromFile, commands, &MeterBaseCommands::LoadBaseFromFileExecute);
    bind(Command::LoadBaseFromDevice, commands, &MeterBaseCommands::LoadBaseFromDeviceExecute);
}
