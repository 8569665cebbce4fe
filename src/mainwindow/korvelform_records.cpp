// Wiring of the record operations into the main window.
#include "korvelform.h"

#include "records/ui/recordoperations.h"

void TKorvelForm::wireRecordCommands()
{
    // The controller is a child of the window and lives as long as it does.
    new RecordOperations(*this);
}
