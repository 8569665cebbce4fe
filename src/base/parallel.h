// Work on independent items spread over the processors.
#pragma once

#include <QtGlobal>

#include <functional>

namespace parallel {

// How many threads forEachIndex uses for these arguments (at least 1).
int workerCount(qsizetype count, int threads = 0, qsizetype threadsFrom = 64, qsizetype claim = 16);

// Calls work(i, worker) once for every i from 0 to count - 1 and returns
// when all calls have returned; `worker` (0 to workerCount - 1) tells the
// thread the call runs on, for state a thread keeps to itself. The calling
// thread is worker 0; helper threads, up to `threads` in all (0: one per
// processor, at most 8; 1: none), join in once there are at least
// `threadsFrom` items, since starting a thread costs more than a few items
// take. Items are handed out in claims of `claim` consecutive indexes; work
// must be safe to call from several threads at once for different indexes.
void forEachIndex(qsizetype count, const std::function<void(qsizetype index, int worker)> &work, int threads = 0,
                  qsizetype threadsFrom = 64, qsizetype claim = 16);

} // namespace parallel
