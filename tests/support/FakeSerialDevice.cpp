#include "FakeSerialDevice.h"

#include <algorithm>
#include <utility>

namespace zfw::test {

void FakeSerialDevice::post(State& s, std::uint32_t events)
{
    {
        std::lock_guard lock(s.mutex);
        s.events.push_back(events);
    }
    s.changed.notify_all();
}

int FakeSerialDevice::open(const QString& path)
{
    std::lock_guard lock(m_s->mutex);
    if (m_s->openError)
        return m_s->openError;
    m_s->open = true;
    m_s->path = path;
    m_s->calls.push_back("open");
    return 0;
}

void FakeSerialDevice::close()
{
    std::lock_guard lock(m_s->mutex);
    if (m_s->waiting > 0)
        ++m_s->misuse;  // closed under a waiting event thread
    m_s->open = false;
    m_s->calls.push_back("close");
}

bool FakeSerialDevice::isOpen() const
{
    std::lock_guard lock(m_s->mutex);
    return m_s->open;
}

int FakeSerialDevice::setLine(const SerialLine& line)
{
    std::lock_guard lock(m_s->mutex);
    if (!m_s->open)
        ++m_s->misuse;
    m_s->lines.push_back(line);
    return m_s->lineError;
}

int FakeSerialDevice::waitReadable(int) { return isOpen() ? 1 : -9; }
int FakeSerialDevice::waitWritable(int) { return isOpen() ? 1 : -9; }

qint64 FakeSerialDevice::read(char* into, qint64 count)
{
    std::lock_guard lock(m_s->mutex);
    if (!m_s->open)
        ++m_s->misuse;
    const qint64 n = std::min<qint64>(count, m_s->input.size());
    std::copy_n(m_s->input.constData(), n, into);
    m_s->input.remove(0, n);
    return n;
}

qint64 FakeSerialDevice::write(const char* from, qint64 count)
{
    std::lock_guard lock(m_s->mutex);
    if (!m_s->open)
        ++m_s->misuse;
    m_s->written.append(from, count);
    return count;
}

int FakeSerialDevice::inQueue() const
{
    std::lock_guard lock(m_s->mutex);
    if (!m_s->open)
        ++m_s->misuse;
    return static_cast<int>(m_s->input.size());
}

int FakeSerialDevice::outQueue() const { return 0; }

int FakeSerialDevice::lineErrors()
{
    std::lock_guard lock(m_s->mutex);
    if (!m_s->open)
        ++m_s->misuse;
    return std::exchange(m_s->errors, 0);
}

bool FakeSerialDevice::modemLines(ModemLines* lines) const
{
    std::lock_guard lock(m_s->mutex);
    *lines = m_s->open ? m_s->modem : ModemLines{};
    return m_s->open;
}

void FakeSerialDevice::purge(bool input, bool output)
{
    std::lock_guard lock(m_s->mutex);
    m_s->calls.push_back(std::string("purge") + (input ? " in" : "") + (output ? " out" : ""));
    if (input)
        m_s->input.clear();
}

std::uint32_t FakeSerialDevice::waitEvent(std::uint32_t mask)
{
    std::unique_lock lock(m_s->mutex);
    ++m_s->waiting;
    m_s->changed.notify_all();
    m_s->changed.wait(lock, [&] { return m_woken || !m_s->events.empty(); });
    --m_s->waiting;
    if (m_woken) {
        m_woken = false;
        return 0;
    }
    const std::uint32_t events = m_s->events.front();
    m_s->events.pop_front();
    return events & mask;
}

void FakeSerialDevice::wakeUp()
{
    {
        std::lock_guard lock(m_s->mutex);
        m_woken = true;
        ++m_s->wakeUps;
    }
    m_s->changed.notify_all();
}

int FakeSerialDevice::escape(const char* what, bool on)
{
    std::lock_guard lock(m_s->mutex);
    if (!m_s->open)
        ++m_s->misuse;
    m_s->calls.push_back(std::string(what) + (on ? " 1" : " 0"));
    return m_s->escapeError;
}

}  // namespace zfw::test
