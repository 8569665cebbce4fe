// The audit of a shared data folder after workstations worked on it: every
// verification of the reference folders (what was stored into it) must be
// there as often as the journals allow (once, less the deliberate removals,
// plus the copies a merge kept and reported), every file must read whole,
// no temporary file may be left, no refused change may have reached a file,
// and no change may have been lost: the constants of a verification changed
// in one chain, and the file holds its last link.
#pragma once

#include <QString>
#include <QStringList>

struct AuditResult {
    int files = 0;
    int verifications = 0; // stored verifications found
    int expected = 0; // distinct verifications of the reference folders
    int edits = 0;
    int drops = 0;
    int kept = 0;
    int refused = 0;
    QStringList problems; // empty when nothing was lost
};

AuditResult auditDataFolder(const QString &dataFolder, const QStringList &referenceFolders,
                            const QStringList &journals);
