#include "records/loadedmeters.h"

#include "base/platform.h"
#include "records/meterfile.h"

#include <algorithm>

std::shared_ptr<const pcn::_totalblockdata> LoadedMeters::load(const QString &path)
{
    const auto kept = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry &e) { return e.path == path; });
    if (kept != m_entries.end()) {
        const std::optional<platform::FileStamp> now = platform::fileStamp(path);
        const FileIdentity &read = kept->meter->identity;
        if (now && read.known && read.present && now->size == read.size && now->modifiedNs == read.modifiedNs) {
            std::rotate(m_entries.begin(), kept, kept + 1);
            return m_entries.front().meter;
        }
        m_entries.erase(kept);
    }
    ++m_reads;
    MeterFileReadResult result = ReadMeterFile(path, MeterRead::Points);
    if (!result.readable)
        return nullptr;
    auto meter = std::make_shared<const pcn::_totalblockdata>(std::move(result.meter));
    put(path, meter);
    return meter;
}

void LoadedMeters::keep(const QString &path, const pcn::_totalblockdata &meter)
{
    forget(path);
    put(path, std::make_shared<const pcn::_totalblockdata>(meter));
}

void LoadedMeters::forget(const QString &path)
{
    std::erase_if(m_entries, [&](const Entry &e) { return e.path == path; });
}

void LoadedMeters::put(const QString &path, std::shared_ptr<const pcn::_totalblockdata> meter)
{
    m_entries.insert(m_entries.begin(), Entry{path, std::move(meter)});
    if (int(m_entries.size()) > m_capacity)
        m_entries.pop_back();
}
