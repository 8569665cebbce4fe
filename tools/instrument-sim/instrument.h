// The emulated instrument: answers one request frame with one answer frame
// from its identity, archive and meter database, and injects the planned
// faults. No I/O here; the serving loop moves the bytes.
#pragma once

#include "archive.h"
#include "faults.h"
#include "meterdb.h"
#include "profile.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <cstdint>

namespace sim {

// Status bytes of the answers.
constexpr std::uint8_t kStatusOk = 0x00;
constexpr std::uint8_t kStatusError = 0xFF; // damaged request or data block
constexpr std::uint8_t kStatusRefused = 0x01; // request not carried out

struct Reply {
    QByteArray bytes; // what goes on the line (may be cut short)
    bool silent = false; // send nothing at all
    QString description; // one line for the log
};

class Instrument {
public:
    Instrument(InstrumentProfile profile, QVector<SimRecord> archive, FaultPlan faults, MeterDatabase database);
    Instrument(const Instrument &) = delete;
    Instrument &operator=(const Instrument &) = delete;

    // Handles one complete request frame (as cut by RequestAssembler).
    Reply handle(const QByteArray &request);

    int requestCount() const { return requests_; }
    const FaultPlan &faults() const { return faults_; }

private:
    QByteArray answerFor(const QByteArray &request, QString &what, QString &warning);
    QByteArray olderPage(int page) const; // 1024 bytes
    QByteArray newerPage(int page) const; // 512 bytes
    QByteArray newerWords(int address, int count) const;
    QByteArray contentEntries(int firstPosition, int count) const;
    QByteArray record(int position) const; // 1024 bytes

    InstrumentProfile profile_;
    QVector<SimRecord> archive_;
    FaultPlan faults_;
    MeterDatabase database_;
    int requests_ = 0;
};

} // namespace sim
