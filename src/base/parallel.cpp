#include "parallel.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace parallel {

void forEachIndex(qsizetype count, const std::function<void(qsizetype)> &work, int threads, qsizetype threadsFrom,
                  qsizetype claim)
{
    claim = std::max<qsizetype>(claim, 1);
    std::atomic<qsizetype> next{0};
    const auto run = [&]() {
        for (;;) {
            const qsizetype begin = next.fetch_add(claim, std::memory_order_relaxed);
            if (begin >= count)
                return;
            const qsizetype end = std::min(count, begin + claim);
            for (qsizetype i = begin; i < end; ++i)
                work(i);
        }
    };
    const int wanted = threads > 0 ? threads : QThread::idealThreadCount();
    const qsizetype helpers =
        count < threadsFrom ? 0 : std::min<qsizetype>(std::max(wanted, 1) - 1, (count - 1) / claim);
    std::vector<std::thread> pool;
    pool.reserve(std::size_t(helpers));
    for (qsizetype h = 0; h < helpers; ++h)
        pool.emplace_back(run);
    run();
    for (std::thread &t : pool)
        t.join();
}

} // namespace parallel
