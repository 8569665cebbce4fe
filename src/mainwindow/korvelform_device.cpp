// Wiring of the device runs (archive reading, communication settings) into
// the main window.
#include "korvelform.h"

#include "device/ui/devicecommands.h"

void TKorvelForm::wireDeviceCommands()
{
    auto *commands = new DeviceCommands(*this);
    commands->setObjectName(QStringLiteral("DeviceCommands"));
    QAction *read = action(QStringLiteral("LoadArcFromDeviceAction"));
    QAction *setup = action(QStringLiteral("ComSetupAction"));
    read->setEnabled(true);
    setup->setEnabled(true);
    connect(read, &QAction::triggered, commands, &DeviceCommands::LoadArcFromDeviceActionExecute);
    connect(setup, &QAction::triggered, commands, &DeviceCommands::ComSetupActionExecute);
}
