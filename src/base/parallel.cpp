#include "parallel.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace parallel {

int workerCount(qsizetype count, int threads, qsizetype threadsFrom, qsizetype claim)
{
    claim = std::max<qsizetype>(claim, 1);
    if (count < threadsFrom || count <= 0)
        return 1;
    // Reading files gains little beyond a few threads, while every thread
    // costs its own stack and heap arena.
    constexpr int kMostAutomatic = 8;
    const int wanted = std::max(threads > 0 ? threads : std::min(QThread::idealThreadCount(), kMostAutomatic), 1);
    // No thread without a claim of its own.
    return int(std::min<qsizetype>(wanted, (count + claim - 1) / claim));
}

void forEachIndex(qsizetype count, const std::function<void(qsizetype index, int worker)> &work, int threads,
                  qsizetype threadsFrom, qsizetype claim)
{
    claim = std::max<qsizetype>(claim, 1);
    std::atomic<qsizetype> next{0};
    const auto run = [&](int worker) {
        for (;;) {
            const qsizetype begin = next.fetch_add(claim, std::memory_order_relaxed);
            if (begin >= count)
                return;
            const qsizetype end = std::min(count, begin + claim);
            for (qsizetype i = begin; i < end; ++i)
                work(i, worker);
        }
    };
    const int workers = workerCount(count, threads, threadsFrom, claim);
    std::vector<std::thread> pool;
    pool.reserve(std::size_t(workers - 1));
    for (int w = 1; w < workers; ++w)
        pool.emplace_back(run, w);
    run(0);
    for (std::thread &t : pool)
        t.join();
}

} // namespace parallel
