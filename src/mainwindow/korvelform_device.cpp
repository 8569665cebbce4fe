// Wiring of the device runs (archive reading, communication settings) into
// the main window.
#include "korvelform.h"

#include "device/ui/devicecommands.h"
#include "views/commandstate.h"
#include "views/ui/recordviews.h"

void TKorvelForm::wireDeviceCommands()
{
    auto *commands = new DeviceCommands(*m_services, *m_store, this);
    commands->setObjectName(QStringLiteral("DeviceCommands"));
    QAction *read = action(QStringLiteral("LoadArcFromDeviceAction"));
    QAction *setup = action(QStringLiteral("ComSetupAction"));
    connect(read, &QAction::triggered, commands, &DeviceCommands::LoadArcFromDeviceActionExecute);
    connect(setup, &QAction::triggered, commands, &DeviceCommands::ComSetupActionExecute);
    bindCommand(read, &RecordCommands::idle);
    bindCommand(setup, &RecordCommands::idle);
    connect(commands, &DeviceCommands::busyChanged, m_views, &RecordViews::SetBusy);
}
