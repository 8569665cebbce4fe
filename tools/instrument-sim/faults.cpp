#include "faults.h"

#include <QStringList>

namespace sim {

namespace {

bool parseNumbers(const QStringList &parts, int from, int count, int minimum, QVector<int> &out)
{
    if (parts.size() != from + count)
        return false;
    for (int i = from; i < parts.size(); ++i) {
        bool ok = false;
        const int v = parts[i].toInt(&ok);
        if (!ok || v < minimum)
            return false;
        out.append(v);
    }
    return true;
}

} // namespace

bool FaultPlan::add(const QString &spec, QString &error)
{
    const QStringList parts = spec.split(QLatin1Char(':'));
    const QString kind = parts.value(0);
    QVector<int> n;
    bool ok = false;
    if (kind == QLatin1String("no-answer")) {
        ok = parseNumbers(parts, 1, 1, 1, n);
        if (ok)
            noAnswer_.append(n[0]);
    } else if (kind == QLatin1String("status-ff")) {
        ok = parseNumbers(parts, 1, 1, 1, n);
        if (ok)
            statusFF_.append(n[0]);
    } else if (kind == QLatin1String("bad-crc")) {
        ok = parseNumbers(parts, 1, 1, 1, n);
        if (ok)
            badCrc_.append(n[0]);
    } else if (kind == QLatin1String("break-after")) {
        // break-after:N breaks the first answer; break-after:N:REQ the answer
        // to request REQ.
        ok = parseNumbers(parts, 1, 1, 0, n) || (n.clear(), parseNumbers(parts, 1, 2, 0, n) && n[1] >= 1);
        if (ok)
            breaks_.append({n.size() == 2 ? n[1] : 1, n[0]});
    } else if (kind == QLatin1String("bad-content-entry")) {
        ok = parseNumbers(parts, 1, 1, 1, n);
        if (ok)
            badEntry_.append(n[0]);
    } else if (kind == QLatin1String("bad-date")) {
        ok = parseNumbers(parts, 1, 1, 1, n);
        if (ok)
            badDate_.append(n[0]);
    } else if (kind == QLatin1String("bad-point-block")) {
        ok = parseNumbers(parts, 1, 2, 1, n) && n[1] <= 10;
        if (ok)
            badPoint_.append({n[0], n[1]});
    } else if (kind == QLatin1String("slow")) {
        ok = parseNumbers(parts, 1, 1, 0, n);
        if (ok)
            slowMs_ = n[0];
    } else {
        error = QStringLiteral("unknown fault kind \"%1\"").arg(kind);
        return false;
    }
    if (!ok)
        error = QStringLiteral("bad argument in fault \"%1\"").arg(spec);
    return ok;
}

bool FaultPlan::ignoresRequest(int request) const
{
    return noAnswer_.contains(request);
}
bool FaultPlan::answersWithStatusFF(int request) const
{
    return statusFF_.contains(request);
}
bool FaultPlan::corruptsCrc(int request) const
{
    return badCrc_.contains(request);
}

std::optional<int> FaultPlan::breakAfter(int request) const
{
    for (const auto &b : breaks_)
        if (b.first == request)
            return b.second;
    return std::nullopt;
}

bool FaultPlan::damagesContentEntry(int position) const
{
    return badEntry_.contains(position);
}
bool FaultPlan::hasBadDate(int position) const
{
    return badDate_.contains(position);
}
bool FaultPlan::damagesPointBlock(int position, int point) const
{
    return badPoint_.contains({position, point});
}

} // namespace sim
