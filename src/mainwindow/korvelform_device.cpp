// Wiring of the device runs (archive reading, communication settings) into
// the main window.
#include "korvelform.h"

#include "device/ui/devicecommands.h"

void TKorvelForm::wireDeviceCommands()
{
    auto *commands = new DeviceCommands(*m_services, *m_store, *m_views, this);
    commands->setObjectName(QStringLiteral("DeviceCommands"));
    bind(Command::ReadArchive, commands, &DeviceCommands::LoadArcFromDeviceActionExecute);
    bind(Command::CommunicationSetup, commands, &DeviceCommands::ComSetupActionExecute);
}
