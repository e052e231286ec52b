#include "tree/core/LazyTreesWorker.h"

#include <algorithm>
#include <utility>
#include <vector>

#ifdef __linux__
#include <pthread.h>
#endif

namespace zfw {

TreeWorker::TreeWorker()
{
    m_thread = std::thread([this] { run(); });
}

TreeWorker::~TreeWorker() { stop(); }

bool TreeWorker::schedule(TreeWorkerJob& job)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping)
            return false;
        if (!job.m_queued) {
            job.m_queued = true;
            m_queue.push_back(&job);
        }
    }
    m_wake.notify_one();
    return true;
}

TreeJobOutcome TreeWorker::withdraw(TreeWorkerJob& job)
{
    std::unique_lock lock(m_mutex);
    job.m_stop.store(true, std::memory_order_relaxed);
    if (job.m_queued) {
        m_queue.erase(std::find(m_queue.begin(), m_queue.end(), &job));
        job.m_queued = false;
    }
    m_idle.wait(lock, [&] { return m_current != &job; });
    return std::exchange(job.m_outcome, TreeJobOutcome::None);
}

TreeJobOutcome TreeWorker::takeOutcome(TreeWorkerJob& job)
{
    std::lock_guard lock(m_mutex);
    if (job.m_queued || m_current == &job)
        return TreeJobOutcome::None;
    return std::exchange(job.m_outcome, TreeJobOutcome::None);
}

void TreeWorker::stop()
{
    std::vector<TreeWorkerJob*> dropped;
    {
        std::lock_guard lock(m_mutex);
        if (!m_stopping) {
            m_stopping = true;
            for (TreeWorkerJob* job : m_queue) {
                job->m_queued = false;
                job->m_outcome = TreeJobOutcome::Dropped;
                dropped.push_back(job);
            }
            m_queue.clear();
            if (m_current)
                m_current->m_stop.store(true, std::memory_order_relaxed);
        }
    }
    m_wake.notify_all();
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
    m_idle.notify_all();
    for (TreeWorkerJob* job : dropped) {
        if (job->finished)
            job->finished();
    }
}

bool TreeWorker::isStopped() const
{
    std::lock_guard lock(m_mutex);
    return m_stopping;
}

bool TreeWorker::waitUntilIdle(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_idle.wait_for(lock, timeout,
                           [&] { return m_stopping || (m_queue.empty() && !m_current); });
}

void TreeWorker::run()
{
#ifdef __linux__
    // Thread names are limited to 15 characters.
    pthread_setname_np(pthread_self(), "LT.Worker");
#endif
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] { return m_stopping || !m_queue.empty(); });
        if (m_stopping)
            break;
        TreeWorkerJob* job = m_queue.front();
        m_queue.pop_front();
        job->m_queued = false;
        job->m_stop.store(false, std::memory_order_relaxed);
        m_current = job;
        lock.unlock();

        // A throwing run must not end the thread: the other trees would be queued for ever and
        // silently fall back to walking all their rows.
        TreeJobOutcome outcome;
        try {
            outcome = job->m_work(job->m_stop) && !job->stopRequested() ? TreeJobOutcome::Finished
                                                                        : TreeJobOutcome::Stopped;
        } catch (...) {
            outcome = TreeJobOutcome::Failed;
        }

        lock.lock();
        job->m_outcome = outcome;
        lock.unlock();
        if (job->finished) {
            try {
                job->finished();
            } catch (...) {
            }
        }
        lock.lock();
        m_current = nullptr;
        m_idle.notify_all();
    }
    m_current = nullptr;
    m_idle.notify_all();
}

}  // namespace zfw
