// The words of a device run's outcome, put together where the outcome is
// shown: the main window, the meter database window and vardosk-cli all come
// here, each with the texts of its language. The device layer reports causes
// and facts only (device::Status, device::PortFailure); which message of the
// program's message table a cause leads to is decided here and nowhere else.
#pragma once

#include "deviceoutcome/status.h"
#include "deviceoutcome/portfailure.h"
#include "records/cnvrecord.h"

#include <QString>

#include <functional>

namespace deviceoutcome {

// The texts of one language: message N of the message table ("ErrorN") and
// the language of the program's own texts (0 Russian, 1 English).
struct Texts {
    std::function<QString(int n)> message;
    int language = 1;
};

// The built-in texts of a language (the command-line tool, which has no
// string file).
Texts builtInTexts(int language);

// The message number of a status in the message table; 0 for Ok. A status
// without a message of its own gives the message of an unrecognised
// instrument.
int statusMessage(device::Status status);

// The message shown in an error box before the status line (the USB
// causes); 0 when there is none.
int statusDialogMessage(device::Status status);

// True when the status line of the status is followed by the port name.
bool statusTakesPortName(device::Status status);

// Why a port could not be opened, in plain words; empty for Kind::None.
QString portFailureText(const device::PortFailure &failure, int language);

struct OutcomeText {
    QString dialog; // an error box shown first; empty when there is none
    QString status; // the status line: the message, the port name where it
        // takes one, and why the port could not be opened in
        // brackets; empty for Ok
};

// The words of an outcome.
OutcomeText outcomeText(device::Status status, const QString &portName, const device::PortFailure &port,
                        const Texts &texts);

// The message of a storing run that did not store every due record as it
// came: message 36 ("Unable to create file.") followed by how many
// verifications were not stored, and a note on the constants stored clamped.
// Empty when the report is complete.
QString storeReportText(const ArchiveStoreReport &report, const Texts &texts);

} // namespace deviceoutcome
