// One reading of the instrument's archive, without any window: identify the
// instrument, read the table of contents, read the chosen verification
// records into the record buffer and hand them to the record conversion.
// The main window runs it step by step around its dialogs (on a worker
// thread); vardosk-cli and the benchmark run it straight through.
#pragma once

#include "deviceclient.h"
#include "records/deviceinfo.h"
#include "exchangecontext.h"
#include "deviceoutcome/status.h"
#include "records/blockdata.h"
#include "records/cnvrecord.h"

#include <QByteArray>
#include <QString>
#include <QVector>

class RecordStore;

namespace device {

// At most this many verifications are read in one run (the record buffer
// has as many slots).
constexpr int kMaxRecordsPerRun = DeviceClient::kMaxRecords;

// Whether a list of record numbers can be read from an archive of the size.
enum class SelectionCheck {
    Ok,
    TooMany, // more than kMaxRecordsPerRun numbers
    OutOfRange, // a number below 1 or above the archive size
};
SelectionCheck checkSelection(const QVector<int> &numbers, int archiveSize);

// The percentage shown while records are read: bytes received × 100 divided
// by the progress maximum, rounded up; 0 when the maximum is not positive.
int recordPhasePercent(qint64 bytesReceived, qint64 maximum);

class ArchiveSession {
public:
    ArchiveSession(LinkMaker makeLink, ExchangeContext &context);
    ArchiveSession(const ArchiveSession &) = delete;
    ArchiveSession &operator=(const ArchiveSession &) = delete;

    // Identifies the instrument (on a serial port the older request first,
    // then the newer one) and reads the archive content. Ok, or the status
    // that ends the run (ArchiveEmpty for an empty archive).
    Status identifyAndReadContent();

    // Reads the records of the numbers (counted from 1, in the order given)
    // into the record buffer. A selection that checkSelection refuses reads
    // nothing and gives BadStatus. On any failure the buffer is emptied:
    // records of a failed or cancelled reading are never handed on.
    Status readRecords(const QVector<int> &numbers);

    // Converts the records of the last successful readRecords and stores
    // them in the store's current folder; returns what became of them.
    ArchiveStoreReport storeRecords(RecordStore &store) const;

    // Forgets the content list and the record buffer.
    void clear();

    const DeviceInfo &info() const { return info_; }
    int archiveSize() const { return client_.archiveSize(); }
    const QVector<pcn::_datacounter> &content() const { return content_; }
    const QVector<QByteArray> &recordSlots() const { return slots_; }
    int recordsRead() const { return int(slots_.size()); }

private:
    DeviceClient client_;
    DeviceInfo info_;
    QVector<pcn::_datacounter> content_;
    QVector<QByteArray> slots_;
    bool recordsComplete_ = false;
};

} // namespace device
