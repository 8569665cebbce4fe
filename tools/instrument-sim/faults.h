// Faults the emulator injects on request, each tied to a request number
// (1-based count of complete request frames received since start), an
// archive position or a record's point.
#pragma once

#include <QString>
#include <QVector>

#include <optional>

namespace sim {

class FaultPlan {
public:
    // Parses one --fault argument "KIND[:ARG]"; false with a message when
    // it is not understood.
    bool add(const QString &spec, QString &error);

    bool ignoresRequest(int request) const;
    bool answersWithStatusFF(int request) const;
    bool corruptsCrc(int request) const;
    // Bytes of the answer to send before breaking off, if this answer breaks.
    std::optional<int> breakAfter(int request) const;
    // Archive positions count from 1, point blocks from 1.
    bool damagesContentEntry(int position) const;
    bool hasBadDate(int position) const;
    bool damagesPointBlock(int position, int point) const;
    int delayMs() const { return slowMs_; }

private:
    QVector<int> noAnswer_;
    QVector<int> statusFF_;
    QVector<int> badCrc_;
    QVector<QPair<int, int>> breaks_; // (request, bytes)
    QVector<int> badEntry_;
    QVector<int> badDate_;
    QVector<QPair<int, int>> badPoint_; // (record, point)
    int slowMs_ = 0;
};

} // namespace sim
