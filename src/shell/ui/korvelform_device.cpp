// Wiring of the device runs (archive reading, communication settings) into
// the main window.
#include "korvelform.h"

void TKorvelForm::wireDeviceCommands()
{
}
