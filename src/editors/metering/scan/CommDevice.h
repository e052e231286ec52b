#pragma once
// TComm: the property store of CommControl.h over a serial device of the platform layer.
// Only the bit rate, parity, stop and data bits and the flow control reach the terminal; the
// other flags of the control block have no terminal meaning and are only kept in it.
//
// Threads and ownership:
// - The thread that creates a TComm runs its event loop and receives the line events: an
//   event thread, running while the port is open, waits for line events and hands each one
//   to that thread as a queued call, then waits until its handlers have run.
// - Open, Close, Read, Write and the line setters may be called from any one thread at a
//   time; Read and Write exclude each other. Handlers are set on the owning thread.
// - Read takes at once what has arrived; Write waits with poll() and then writes at once. So
//   nothing stays pending on the caller's buffer after a time-out (the old component left the
//   overlapped transfer running on it and counted it into the next call).
// - An event found just before Close reaches no handler: the device it came from is gone.

#include "editors/metering/scan/CommControl.h"
#include "editors/metering/scan/MBusThreadTasks.h"
#include "platform/SerialDevice.h"

#include <QByteArray>
#include <QObject>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace zfw {

// The terminal's view of a control block: rate, byte size, parity, stop bits, flow control
// and the XON/XOFF characters.
SerialLine serialLineOf(const TDcb& block);

class TComm {
public:
    explicit TComm(std::unique_ptr<ISerialDevice> device = makeTerminalDevice());
    ~TComm();
    TComm(const TComm&) = delete;
    TComm& operator=(const TComm&) = delete;

    TCommPropertyStore& properties() { return m_store; }
    // Taken at the next event; set them on the owning thread.
    TCommHandlers& handlers() { return m_handlers; }
    // The control block last written to the device.
    TDcb block() const;

    // Opens DeviceName ("ttyUSB0" or a full path), applies the line and starts the event
    // thread. A failure after the device was opened closes it again, so Enabled() stays
    // false.
    std::optional<CommError> Open();
    void Close();
    bool Enabled() const { return m_open.load(); }

    // Bytes written, or -1 when the device did not take them all within WriteTimeout (what
    // it took stays sent) or failed (then *error says why).
    int Write(const QByteArray& data, std::optional<CommError>* error = nullptr);
    // What the device holds, at most count bytes, at once: 0 when nothing has arrived. -1
    // when the port is closed or the device failed.
    int Read(QByteArray& into, int count, std::optional<CommError>* error = nullptr);

    // Bytes waiting in the input and output queues; -1 when closed.
    int InQueCount() const;
    int OutQueCount() const;
    void PurgeIn();
    void PurgeOut();

    std::optional<CommError> SetDTRState(bool state);
    std::optional<CommError> SetRTSState(bool state);
    // Breaks the line (or ends the break), then drops both queues.
    std::optional<CommError> SetBREAKState(bool state);
    // True lets output go on, false holds it as if XOFF had been received.
    std::optional<CommError> SetXONState(bool state);

    // The modem lines by index: 1 CTS, 2 DSR, 3 ring, 4 RLSD; false when closed, unreadable
    // or for any other index.
    bool GetModemState(int index) const;
    bool CTS() const { return GetModemState(1); }
    bool DSR() const { return GetModemState(2); }
    bool RING() const { return GetModemState(3); }
    bool RLSD() const { return GetModemState(4); }
    // The hold states by index (1 CtsHold ... 5 XOffSent). A terminal does not report why
    // its output waits, so they are always false.
    bool GetComState(int index) const;

private:
    std::optional<CommError> applyBlock(const TCommProperties& p);
    std::optional<CommError> escape(int (ISerialDevice::*call)(bool), bool state);
    void startEventThread();
    void stopEventThread();
    void deliver(std::uint32_t status, int generation);

    std::unique_ptr<ISerialDevice> m_device;
    TCommPropertyStore m_store;
    TCommHandlers m_handlers;
    mutable std::mutex m_blockMutex;
    TDcb m_block;
    std::atomic<bool> m_open{false};
    std::mutex m_ioMutex;  // one Read or Write at a time

    std::thread m_eventThread;
    std::mutex m_eventMutex;
    std::condition_variable m_eventDone;
    bool m_stop = false;
    bool m_delivered = true;
    // Raised by every Close: an event queued for an earlier opening is dropped.
    std::atomic<int> m_generation{0};
    // Lives on the owning thread; events are queued to it. Destroyed first, which drops the
    // events still queued.
    std::unique_ptr<TThreadTasks> m_context;
};

}  // namespace zfw
