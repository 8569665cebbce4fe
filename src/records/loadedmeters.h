// The meters whose points were last needed (shown, reported, exported or
// changed), each as read from its file. A folder's list holds summaries
// only; the points come from here, and a kept meter is used again only
// while its file still has the size and modification time it was read with.
#pragma once

#include "records/blockdata.h"

#include <QString>

#include <memory>
#include <vector>

class LoadedMeters {
public:
    explicit LoadedMeters(int capacity = 8) : m_capacity(capacity) {}

    // The meter of the file with its points: the kept one while the file is
    // as it was read, else the file read afresh (every block's checksum
    // checked). Nullptr when the file cannot be read now.
    std::shared_ptr<const pcn::_totalblockdata> load(const QString &path);
    // Keeps a meter just written to `path` (its identity that of the file).
    void keep(const QString &path, const pcn::_totalblockdata &meter);
    void forget(const QString &path);

    // Files read since construction.
    int reads() const { return m_reads; }

private:
    struct Entry {
        QString path;
        std::shared_ptr<const pcn::_totalblockdata> meter;
    };
    void put(const QString &path, std::shared_ptr<const pcn::_totalblockdata> meter);

    std::vector<Entry> m_entries; // most recently used first
    int m_capacity;
    int m_reads = 0;
};
