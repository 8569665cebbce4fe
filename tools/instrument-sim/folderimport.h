// Builds the emulator's archive from stored verification files, so that a
// user's own data can be served as if it were in the instrument.
#pragma once

#include "archive.h"
#include "profile.h"

#include "records/blockdata.h"

#include <QString>
#include <QVector>

namespace sim {

// Every verification of every readable .pcn file below `folder` (sub-folders
// included, paths in sorted order), as records of the instrument `profile`.
// False with a message when the folder holds no readable verification.
bool loadArchiveFromFolder(const QString &folder, const InstrumentProfile &profile, QVector<SimRecord> &archive,
                           QString &error);

// One stored verification as the instrument would hold it: at most 10
// points; range codes chosen from the instrument's own ranges to match each
// point's stored range entry. `storedType` is the instrument type of the verification's block.
SimRecord recordFromVerification(const pcn::_blockdata &verification, int storedType, const InstrumentProfile &profile);

} // namespace sim
