#pragma once
// The position cache of a tree: every 2000th shown row with its top, so that turning a vertical
// position into a row (or a row into its position) walks at most one block of rows instead of
// all rows above it. It is rebuilt off the main thread by a TreeWorker (LazyTreesWorker.h) that
// several trees share; only trees with more than 2000 shown rows are handed to it.
//
// Design note: who owns which field when
// --------------------------------------
// TTreeCacheState belongs to one LazyTreeModel. The model's node operations run on the main
// thread; the worker runs the job's work (buildPositionCache) on its own thread.
//   worker, handedOver   main thread only. handedOver: the job was scheduled and its outcome
//                        not collected yet (queued, running or finished but not taken).
//   entries              main thread only; read by the lookups only while the tree carries
//                        tsUseCache. It is replaced, never written in place, when a finished
//                        rebuild is taken over (takeValidationResult).
//   entryCount           written by the main thread before the job is scheduled, read by the
//                        work; the worker's lock orders the two.
//   building             written by the work while the job runs; touched by the main thread
//                        only when the job is idle (after withdraw or a collected outcome).
//   node links, heights  read by the work; the main thread changes them only after
//   and shown-ness bits  InterruptValidation has taken the job back (every structural change,
//                        expansion, visibility, filter, height and the options that decide what
//                        is shown). Other state bits of a node are atomic (TAtomicNodeStates), so
//                        selection or initialisation during painting does not race with the work.
//   the tree's states    (tsUseCache, tsValidating, tsValidationNeeded, tsStopValidation) are
//                        written by the main thread only. The worker has its own stop flag in
//                        the job (atomic), set by InterruptValidation through withdraw().
//
// Interrupt: InterruptValidation enters tsStopValidation, leaves tsUseCache, and when the job is
// handed over withdraws it (asks it to stop, unqueues it, waits until the worker has left this
// tree); then, decided after the wait, the cache needs validation again.
// Wait: a finished rebuild is taken over by takeValidationResult on the main thread, called by
// the lookups themselves and, in the control, by a queued call that the worker posts.
//
// States: scheduling leaves tsStopValidation and enters tsValidating when the tree is handed to
// the worker; taking a completed rebuild enters tsUseCache and leaves the three others; an
// unfinished one leaves tsValidating and tsStopValidation and keeps tsValidationNeeded.

#include "tree/core/LazyTrees.h"
#include "tree/core/LazyTreesWorker.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace zfw {

// Spacing of the entries, and the number of shown rows a tree must exceed to get a cache.
inline constexpr std::uint32_t CacheSpacing = 2000;

// Entries needed for a number of shown rows: 0 for at most one, else ceil(count / 2000).
std::uint32_t cacheEntryCount(std::uint32_t visibleCount);

// Walks the shown rows of the tree without initialising anything and stores every 2000th with
// its top (stored row heights) in `out`, at most `entryCount` entries. Safe on the worker
// thread under the protocol above. Returns false when stopped or when no row is shown; a walk
// that finds fewer rows than expected keeps only the entries it filled.
bool buildPositionCache(const LazyTreeModel& tree, std::uint32_t entryCount,
                        const std::atomic<bool>& stop, TCache& out);

// The tree's side of the cache; see the design note above.
struct TTreeCacheState {
    explicit TTreeCacheState(const LazyTreeModel& tree);

    std::shared_ptr<TreeWorker> worker;
    TreeWorkerJob job;
    TCache entries;
    TCache building;
    std::uint32_t entryCount = 0;
    bool handedOver = false;
};

}  // namespace zfw
