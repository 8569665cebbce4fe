// Why a port could not be opened, as facts the device layer finds (the kind
// of problem, the group that owns the device, the system's words); turned
// into a sentence only where it is shown (outcometext.h).
#pragma once

#include <QString>

namespace device {

struct PortFailure {
    enum class Kind {
        None,
        NotPresent, // no such device
        NoPermission, // the user may not open it
        InUse, // another program holds it
        Other,
    };
    Kind kind = Kind::None;
    QString group; // NoPermission: the group that owns the device, when known
    QString systemError; // Other: the system's words
};

} // namespace device
