#pragma once
// TMBusScanDecode: the scan engine. It runs the wired state machine on a thread of its own
// and talks to the gateway over a datagram transport that lives on a second, I/O thread.
//
// Ownership and threads:
// - The engine thread owns the state machine, the current answer and the engine's slave list;
//   nothing else touches them.
// - The I/O thread owns the transport; its receive side only files datagrams in the link's
//   bounded queue and wakes the engine through a condition variable.
// - Start_Scan, Stop_Scan and Abort_Scan are requests handed to the engine; inScan() and
//   result() are atomic reads. They may be called from any thread.
// - Progress and every meter read reach the receivers as queued signals that carry copies;
//   the window keeps its own result list on its own thread.
// - Destruction aborts a running scan, lets the closing steps run (the gateway leaves
//   analyzer mode, at most three tries) and releases the socket, then joins both threads,
//   whether or not a window is still listening.

#include "editors/metering/scan/MBusGatewayLink.h"
#include "editors/metering/scan/MBusWiredScan.h"

#include <QObject>
#include <QThread>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace zfw {

// The system's millisecond tick truncated to 32 bits, and a real pause.
class SteadyScanClock final : public IScanClock {
public:
    quint32 tick() override;
    void sleep(int milliseconds) override;
};

class TMBusScanDecode : public QObject {
    Q_OBJECT

public:
    struct Services {
        // Called on the I/O thread; the transport lives and dies there.
        std::function<std::unique_ptr<IDatagramTransport>()> makeTransport;
        // Shared by the engine thread only; must outlive the engine. Null: the steady clock.
        IScanClock* clock = nullptr;
        quint16 gatewayPort = kGatewayCommandPort;
        quint16 localPort = 0;  // 0: any free port
        // The pause after each step, cut short by an answer or a request.
        std::chrono::milliseconds stepPause{40};
    };

    explicit TMBusScanDecode(Services services, QObject* parent = nullptr);
    ~TMBusScanDecode() override;
    TMBusScanDecode(const TMBusScanDecode&) = delete;
    TMBusScanDecode& operator=(const TMBusScanDecode&) = delete;

    // False, changing nothing, when a scan runs, the address is no IPv4 address, the
    // listener cannot be bound, or the serial variant is asked for: it has no receive path,
    // and a scan that could only time out would end as if the line were empty. *reason tells
    // which.
    bool Start_Scan(const TWiredScanSettings& settings, QString* reason = nullptr);
    void Stop_Scan();
    void Abort_Scan();

    bool inScan() const { return FInScan.load(); }
    int result() const { return FResult.load(); }
    // Datagrams the link refused (too long, or the queue was full).
    int droppedAnswers() const;

signals:
    // kind, address, found, scan kind (see the scan window's progress list).
    void Update_Slave_List(int kind, int address, int found, int scanKind);
    // A copy of a meter just read completely.
    void slaveRead(std::shared_ptr<const zfw::TSlave_MBus> slave);
    // The scan reached its last state; result as result().
    void scanEnded(int result);

private:
    class Line;
    void runEngine();
    void wake();

    Services m_services;
    SteadyScanClock m_steadyClock;
    IScanClock& m_clock;

    QThread m_io;
    QObject* m_ioContext = nullptr;
    std::unique_ptr<IDatagramTransport> m_transport;
    std::unique_ptr<TGatewayLink> m_link;
    std::unique_ptr<Line> m_line;
    std::unique_ptr<TWiredScanMachine> m_machine;

    std::mutex m_mutex;
    std::condition_variable m_wakeUp;
    bool m_signalled = false;
    bool m_exit = false;
    std::optional<TWiredScanSettings> m_startRequest;
    bool m_stopRequest = false;
    bool m_abortRequest = false;

    std::atomic<bool> FInScan{false};
    std::atomic<int> FResult{-1};
    std::thread m_engine;
};

}  // namespace zfw
