#include "commandstate.h"

bool reportAllowed(int checkedCount, int verificationCount)
{
    if (checkedCount == 0)
        return verificationCount <= kMaxReportVerifications;
    return checkedCount >= 1 && checkedCount <= kMaxReportVerifications;
}

namespace commandrules {

RecordCommands folderScanned(RecordCommands c, int meterCount)
{
    const bool any = meterCount > 0;
    c.copy = any;
    c.report = any;
    c.exportSheet = any;
    c.changeMeter = any;
    if (!any) {
        c.cut = false;
        c.remove = false;
        c.changeConstant = false;
        c.elementCopy = false;
        c.elementDelete = false;
        c.elementPaste = false;
    }
    return c;
}

RecordCommands meterSelected(RecordCommands c, int verificationCount)
{
    c.report = reportAllowed(0, verificationCount);
    c.changeMeter = true;
    c.changeConstant = verificationCount > 0;
    c.elementCopy = verificationCount >= 2;
    c.elementDelete = verificationCount >= 2;
    return c;
}

RecordCommands verificationSelected(RecordCommands c, int powerRowCount, bool elementPasteFits)
{
    c.elementPaste = elementPasteFits;
    c.elementCopy = powerRowCount >= 2;
    c.elementDelete = powerRowCount >= 2;
    c.changeConstant = powerRowCount > 0;
    return c;
}

RecordCommands checkedCountChanged(RecordCommands c, int checkedCount, int verificationCount)
{
    c.report = reportAllowed(checkedCount, verificationCount);
    return c;
}

RecordCommands meterListPressed(RecordCommands c, int meterCount, bool pasteAvailable, bool mergeable)
{
    c.paste = pasteAvailable;
    const bool any = meterCount > 0;
    c.merge = any && pasteAvailable && mergeable;
    c.cut = any;
    c.remove = any;
    return c;
}

RecordCommands meterListFocusLost(RecordCommands c, bool *pasteAvailable)
{
    if (pasteAvailable)
        *pasteAvailable = c.paste;
    c.merge = false;
    c.cut = false;
    c.remove = false;
    return c;
}

RecordCommands meterCopied(RecordCommands c)
{
    c.paste = true;
    c.merge = false;
    return c;
}

RecordCommands meterCut(RecordCommands c)
{
    c.paste = true;
    return c;
}

RecordCommands clipboardFileDeleted(RecordCommands c)
{
    c.paste = false;
    c.merge = false;
    return c;
}

RecordCommands merged(RecordCommands c)
{
    c.merge = false;
    return c;
}

RecordCommands lastMeterDeleted(RecordCommands c)
{
    c = folderScanned(c, 0);
    return c;
}

RecordCommands elementOperationDone(RecordCommands c)
{
    c.elementPaste = false;
    return c;
}

} // namespace commandrules
