#pragma once
// Runs work on the thread a QObject lives on. The work itself passes through a queue under a
// std::mutex, and the Qt event that is posted only says "look at the queue" and carries
// nothing: so the hand-over from one thread to the other is ordered by a lock that the thread
// sanitizer sees, not only by Qt's own (uninstrumented) event queue.
//
// Ownership: the object must be destroyed after its thread has finished (or on it).

#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace zfw {

class TThreadTasks : public QObject {
    Q_OBJECT

public:
    TThreadTasks() = default;
    ~TThreadTasks() override;

    // Runs task later on this object's thread, after the tasks posted before it.
    void post(std::function<void()> task);
    // Runs task on this object's thread and returns when it has run; at once when called
    // there. The thread must run its event loop.
    void run(const std::function<void()>& task);

private:
    Q_INVOKABLE void drain();

    std::mutex m_mutex;
    std::condition_variable m_ran;
    std::deque<std::function<void()>> m_tasks;
};

}  // namespace zfw
