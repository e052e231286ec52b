#include "editors/metering/scan/MBusThreadTasks.h"

#include <QMetaObject>
#include <QThread>

namespace zfw {

TThreadTasks::~TThreadTasks()
{
    // Taking the lock once orders everything the thread did with it before what the
    // destructor frees.
    std::lock_guard lock(m_mutex);
    m_tasks.clear();
}

void TThreadTasks::post(std::function<void()> task)
{
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }
    QMetaObject::invokeMethod(this, "drain", Qt::QueuedConnection);
}

void TThreadTasks::run(const std::function<void()>& task)
{
    if (QThread::currentThread() == thread()) {
        task();
        return;
    }
    bool done = false;
    post([&] {
        task();
        {
            std::lock_guard lock(m_mutex);
            done = true;
        }
        m_ran.notify_all();
    });
    std::unique_lock lock(m_mutex);
    m_ran.wait(lock, [&] { return done; });
}

void TThreadTasks::drain()
{
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard lock(m_mutex);
            if (m_tasks.empty())
                return;
            task = std::move(m_tasks.front());
            m_tasks.pop_front();
        }
        task();
    }
}

}  // namespace zfw
