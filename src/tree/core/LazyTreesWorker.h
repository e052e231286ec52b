#pragma once
// One background thread shared by several trees: it runs each tree's job (the rebuild of the
// position cache) one after the other, and lets the main thread take a tree back at any time.
//
// Design note
// -----------
// Ownership. A TreeWorker is an ordinary object: whoever makes the trees (a window) makes one and
// hands it to each tree as a std::shared_ptr; the worker lives as long as its last holder and its
// destructor stops and joins the thread. There is no process-wide instance. Each tree owns one
// TreeWorkerJob for as long as the tree lives; the worker only ever holds plain pointers to jobs
// that are queued or running, and a tree withdraws its job before it dies.
//
// Threads. Every member function is called on the main thread (the thread that owns the trees);
// the job's work function and, as a rule, its finished callback run on the worker thread.
//
// One mutex (m_mutex) guards: the queue, m_current, m_stopping, and each job's m_queued and
// m_outcome. Nothing else is done while it is held: no job work and no callback.
//
// A job moves through these phases; "owner" is who may touch the data the work function uses
// (for the tree: its nodes' links and heights and its unpublished cache entries):
//   idle     - not queued, not running. Main thread owns everything. m_outcome holds the result
//              of the last run until takeOutcome() or withdraw() collects it.
//   queued   - in m_queue. Main thread still owns the data, but must withdraw the job before it
//              changes anything the work reads.
//   running  - m_current == job. The worker reads the data and writes the job's own results;
//              the main thread may read but not write what the work reads. The stop flag is the
//              one field both threads write (atomic).
//   finished - the worker has stored the outcome under the lock, called the finished callback
//              (still as m_current, so the job's owner cannot be destroyed meanwhile), then
//              cleared m_current under the lock and woken waiters. The job is idle again.
//
// Interrupt. withdraw(job) sets the job's stop flag, removes it from the queue and waits on a
// condition variable until m_current is no longer the job. The work polls the stop flag after
// every node and returns early, so the wait is short. The worker never waits for the main thread
// (it sends no synchronous message and measures nothing on the main thread), so the wait cannot
// deadlock and needs no event loop. After withdraw() the job is idle and its outcome collected.
//
// Wait. The main thread learns about a finished run either from the finished callback (the tree
// control posts itself a queued call; Qt drops it if the control is destroyed first) or by
// polling takeOutcome() when it next needs the result. waitUntilIdle() blocks until the queue is
// empty and nothing runs; it is for tests, benchmarks and shutdown, not for the main loop.
//
// Faults the shared worker must survive: a work function that throws ends only that run (outcome
// Failed) and the thread keeps serving the others; stopping the worker with jobs queued drops
// them with outcome Dropped and stops the running one through its flag before joining.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace zfw {

enum class TreeJobOutcome : std::uint8_t {
    None,      // no run has ended since the last collection (or it is still queued or running)
    Finished,  // the work ran to its end and was not asked to stop
    Stopped,   // the work was asked to stop, or gave up
    Failed,    // the work threw
    Dropped    // the worker was stopped before the job ran
};

class TreeWorker;

class TreeWorkerJob {
public:
    // The work: runs on the worker thread; returns true when it completed. It must poll `stop`
    // often and return soon after it turns true.
    using Work = std::function<bool(const std::atomic<bool>& stop)>;

    explicit TreeWorkerJob(Work work) : m_work(std::move(work)) {}
    TreeWorkerJob(const TreeWorkerJob&) = delete;
    TreeWorkerJob& operator=(const TreeWorkerJob&) = delete;

    // Called after each run on the worker thread (for dropped jobs on the thread that stops the
    // worker); must not block on the main thread. Set it only while the job is idle.
    std::function<void()> finished;

    bool stopRequested() const { return m_stop.load(std::memory_order_relaxed); }

private:
    friend class TreeWorker;
    Work m_work;
    std::atomic<bool> m_stop{false};
    bool m_queued = false;
    TreeJobOutcome m_outcome = TreeJobOutcome::None;
};

class TreeWorker {
public:
    TreeWorker();
    // Stops the thread (see stop()).
    ~TreeWorker();
    TreeWorker(const TreeWorker&) = delete;
    TreeWorker& operator=(const TreeWorker&) = delete;

    // Queues the job unless it is queued already; its stop flag is cleared when the worker takes
    // it. Returns false (and queues nothing) once the worker is stopped.
    bool schedule(TreeWorkerJob& job);
    // Takes the job back: asks a running job to stop, unqueues it and returns only when the
    // worker no longer runs it. Returns the outcome of the last run, which is then collected.
    TreeJobOutcome withdraw(TreeWorkerJob& job);
    // The outcome of the job's last run when the job is idle, collected; None while it is queued
    // or running, or when nothing has ended since the last collection.
    TreeJobOutcome takeOutcome(TreeWorkerJob& job);
    // Drops the queued jobs (outcome Dropped), stops the running one and joins the thread.
    // Later schedule() calls are refused. Safe to call more than once.
    void stop();
    bool isStopped() const;
    // Blocks until no job is queued or running, or the timeout passes; true when idle.
    bool waitUntilIdle(std::chrono::milliseconds timeout);

private:
    void run();

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;  // the worker waits here for jobs or the stop
    std::condition_variable m_idle;  // the main thread waits here for m_current to change
    std::deque<TreeWorkerJob*> m_queue;
    TreeWorkerJob* m_current = nullptr;
    bool m_stopping = false;
    std::thread m_thread;
};

}  // namespace zfw
