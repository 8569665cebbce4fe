// Wiring of the record operations into the main window.
#include "korvelform.h"

void TKorvelForm::wireRecordCommands()
{
}
