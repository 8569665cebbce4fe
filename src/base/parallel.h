// Work on independent items spread over the processors.
#pragma once

#include <QtGlobal>

#include <functional>

namespace parallel {

// Calls work(i) once for every i from 0 to count - 1 and returns when all
// calls have returned. The calling thread works too; helper threads, up to
// `threads` in all (0: one per processor, 1: none), join in once there are
// at least `threadsFrom` items, since starting a thread costs more than a
// few items take. Items are handed out in claims of `claim` consecutive
// indexes; work must be safe to call from several threads at once for
// different indexes.
void forEachIndex(qsizetype count, const std::function<void(qsizetype)> &work, int threads = 0,
                  qsizetype threadsFrom = 64, qsizetype claim = 16);

} // namespace parallel
