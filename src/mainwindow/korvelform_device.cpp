// Wiring of the device runs (archive reading, communication settings) into
// the main window.
#include "korvelform.h"

#include "device/ui/devicecommands.h"
#include "views/ui/recordviews.h"

void TKorvelForm::wireDeviceCommands()
{
    auto *commands = new DeviceCommands(*m_services, *m_store, this);
    commands->setObjectName(QStringLiteral("DeviceCommands"));
    connect(action(Command::ReadArchive), &QAction::triggered, commands,
            &DeviceCommands::LoadArcFromDeviceActionExecute);
    connect(action(Command::CommunicationSetup), &QAction::triggered, commands, &DeviceCommands::ComSetupActionExecute);
    connect(commands, &DeviceCommands::busyChanged, m_views, &RecordViews::SetBusy);
}
