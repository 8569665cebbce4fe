#include "commandstate.h"

bool reportAllowed(int checkedCount, int verificationCount)
{
    if (checkedCount == 0)
        return verificationCount <= kMaxReportVerifications;
    return checkedCount >= 1 && checkedCount <= kMaxReportVerifications;
}

RecordCommands commandStates(const CommandInputs &in)
{
    RecordCommands c;
    // A device run stores records into the current folder: nothing that
    // changes files or starts another run may be used meanwhile.
    if (in.busy)
        return c;
    c.idle = true;
    const bool anyMeter = in.meterCount > 0;
    c.copy = anyMeter;
    c.exportSheet = anyMeter;
    c.report = anyMeter && reportAllowed(in.checkedCount, in.verificationCount);
    c.paste = in.clipboardFilled;
    c.cut = anyMeter && in.meterListActive;
    c.remove = c.cut;
    c.merge = c.cut && in.clipboardFilled && in.mergeableAtPress;
    c.elementCopy = in.meterSelected && in.verificationCount >= 2;
    c.elementDelete = c.elementCopy;
    c.elementPaste = in.verificationSelected && in.elementPasteFits;
    c.changeMeter = anyMeter && in.meterSelected;
    c.changeConstant = in.meterSelected && in.verificationSelected && in.verificationCount > 0;
    return c;
}
