#include "editors/metering/scan/CommDevice.h"

#include <cerrno>

namespace zfw {

SerialLine serialLineOf(const TDcb& block)
{
    SerialLine line;
    line.baudRate = block.BaudRate;
    line.byteSize = block.ByteSize;
    line.parity = block.Parity;
    line.stopBits = block.StopBits;
    line.parityCheck = (block.Flags & dcb::kParityCheck) != 0;
    line.ctsFlow = (block.Flags & dcb::kOutxCtsFlow) != 0;
    line.xonOutput = (block.Flags & dcb::kOutX) != 0;
    line.xonInput = (block.Flags & dcb::kInX) != 0;
    line.xonChar = block.chars.XonChar;
    line.xoffChar = block.chars.XoffChar;
    return line;
}

TComm::TComm(std::unique_ptr<ISerialDevice> device)
    : m_device(std::move(device)),
      m_store([this](const TCommProperties& p) { return applyBlock(p); }),
      m_context(std::make_unique<TThreadTasks>())
{
}

TComm::~TComm()
{
    Close();
    m_context.reset();
}

TDcb TComm::block() const
{
    std::lock_guard lock(m_blockMutex);
    return m_block;
}

std::optional<CommError> TComm::applyBlock(const TCommProperties& p)
{
    if (!m_device->isOpen())
        return std::nullopt;
    TDcb block;
    {
        std::lock_guard lock(m_blockMutex);
        m_block = UpdateDataControlBlock(m_block, p);
        block = m_block;
    }
    if (const int rc = m_device->setLine(serialLineOf(block)))
        return RaiseCommError(QStringLiteral("Error updating DataControlBlock"), rc);
    return std::nullopt;
}

std::optional<CommError> TComm::Open()
{
    if (m_open)
        return RaiseCommError(QStringLiteral("Port already assigned (open)"), -1);
    QString path = m_store.properties().DeviceName;
    if (!path.startsWith(u'/'))
        path = QStringLiteral("/dev/") + path;
    if (const int rc = m_device->open(path)) {
        if (rc == ENOTTY)
            return RaiseCommError(QStringLiteral("Invalid device handle, access denied"), -1);
        return RaiseCommError(QStringLiteral("Error accessing specified device"), rc);
    }
    m_store.setOpen(true);
    // The old component left the port open with its event thread running when a later step
    // failed, so Enabled stayed true after a failed Open; close it again instead.
    if (auto error = applyBlock(m_store.properties())) {
        m_store.setOpen(false);
        m_device->close();
        return error;
    }
    m_open = true;
    startEventThread();
    return std::nullopt;
}

void TComm::Close()
{
    if (!m_open)
        return;
    stopEventThread();
    ++m_generation;
    m_open = false;
    {
        std::lock_guard lock(m_ioMutex);
        m_device->close();
    }
    m_store.setOpen(false);
}

void TComm::startEventThread()
{
    {
        std::lock_guard lock(m_eventMutex);
        m_stop = false;
        m_delivered = true;
    }
    const std::uint32_t mask = eventMask(m_store.properties().MonitorEvents);
    const int generation = m_generation.load();
    m_eventThread = std::thread([this, mask, generation] {
        for (;;) {
            {
                std::lock_guard lock(m_eventMutex);
                if (m_stop)
                    break;
            }
            const std::uint32_t status = m_device->waitEvent(mask);
            if (status == 0)
                continue;
            std::unique_lock lock(m_eventMutex);
            if (m_stop)
                break;
            m_delivered = false;
            m_context->post([this, status, generation] { deliver(status, generation); });
            // One event at a time: the next wait begins once the handlers have run.
            m_eventDone.wait(lock, [this] { return m_delivered || m_stop; });
        }
        m_device->purge(true, true);
    });
}

void TComm::stopEventThread()
{
    {
        std::lock_guard lock(m_eventMutex);
        m_stop = true;
    }
    m_eventDone.notify_all();
    m_device->wakeUp();
    if (m_eventThread.joinable())
        m_eventThread.join();
}

void TComm::deliver(std::uint32_t status, int generation)
{
    // Found just before Close: the queue state and error bits of the closed device cannot
    // be read, and the port the handlers know is gone; the event is dropped.
    if (generation == m_generation.load() && m_open.load()) {
        const int errors = m_device->lineErrors();
        const int inQueue = m_device->inQueue();
        HandleCommEvent(status, errors, inQueue, m_handlers);
    }
    {
        std::lock_guard lock(m_eventMutex);
        m_delivered = true;
    }
    m_eventDone.notify_all();
}

int TComm::Write(const QByteArray& data, std::optional<CommError>* error)
{
    std::lock_guard lock(m_ioMutex);
    if (!m_device->isOpen())
        return -1;
    qsizetype done = 0;
    while (done < data.size()) {
        const int ready = m_device->waitWritable(m_store.properties().WriteTimeout);
        if (ready == 0)
            return -1;
        qint64 n = ready < 0 ? ready : m_device->write(data.constData() + done, data.size() - done);
        if (n < 0) {
            if (error)
                *error = RaiseCommError(QStringLiteral("Write error"), static_cast<int>(-n));
            return -1;
        }
        done += n;
    }
    return static_cast<int>(done);
}

int TComm::Read(QByteArray& into, int count, std::optional<CommError>* error)
{
    std::lock_guard lock(m_ioMutex);
    into.clear();
    if (!m_device->isOpen())
        return -1;
    if (count <= 0)
        return 0;
    into.resize(count);
    const qint64 n = m_device->read(into.data(), count);
    if (n < 0) {
        into.clear();
        if (error)
            *error = RaiseCommError(QStringLiteral("Read error"), static_cast<int>(-n));
        return -1;
    }
    into.resize(n);
    return static_cast<int>(n);
}

int TComm::InQueCount() const { return m_open ? m_device->inQueue() : -1; }
int TComm::OutQueCount() const { return m_open ? m_device->outQueue() : -1; }

void TComm::PurgeIn()
{
    if (m_open)
        m_device->purge(true, false);
}

void TComm::PurgeOut()
{
    if (m_open)
        m_device->purge(false, true);
}

std::optional<CommError> TComm::escape(int (ISerialDevice::*call)(bool), bool state)
{
    if (!m_open)
        return RaiseCommError(QStringLiteral("Port not open, unable to complete operation"), -1);
    if (const int rc = (m_device.get()->*call)(state))
        return RaiseCommError(QStringLiteral("EscapeCommFunction failure"), rc);
    return std::nullopt;
}

std::optional<CommError> TComm::SetDTRState(bool state)
{
    return escape(&ISerialDevice::setDtr, state);
}

std::optional<CommError> TComm::SetRTSState(bool state)
{
    return escape(&ISerialDevice::setRts, state);
}

std::optional<CommError> TComm::SetBREAKState(bool state)
{
    auto error = escape(&ISerialDevice::setBreak, state);
    if (!error && m_open)
        m_device->purge(true, true);
    return error;
}

std::optional<CommError> TComm::SetXONState(bool state)
{
    return escape(&ISerialDevice::setXon, state);
}

bool TComm::GetModemState(int index) const
{
    ModemLines lines;
    if (!m_open || !m_device->modemLines(&lines))
        return false;
    switch (index) {
    case 1: return lines.cts;
    case 2: return lines.dsr;
    case 3: return lines.ring;
    case 4: return lines.rlsd;
    default: return false;
    }
}

bool TComm::GetComState(int) const { return false; }

}  // namespace zfw
