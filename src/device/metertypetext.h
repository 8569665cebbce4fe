// The one place where the device decoders turn the 16 stored bytes of a type
// designation (identify answer, archive-content entry) into text.
#pragma once

#include <QByteArray>
#include <QString>

namespace device {

QString meterTypeText(const QByteArray &sixteenBytes);

} // namespace device
