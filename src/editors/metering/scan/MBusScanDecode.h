#pragma once
// TMBusScanDecode: the scan engine. It runs the wired or the wireless state machine on a
// thread of its own and talks to the gateway over a datagram transport that lives on a
// second, I/O thread.
//
// Ownership and threads:
// - The engine thread owns the state machine, the current answer and the engine's slave list;
//   nothing else touches them. Wireless telegrams are decoded there too.
// - The I/O thread owns the transport; its receive side only files datagrams in the link's
//   bounded queue and wakes the engine through a condition variable.
// - Start_Scan, Start_Scan_Wireless, Stop_Scan, Abort_Scan and Insert_Wireless_Key are
//   requests handed to the engine; inScan() and result() are atomic reads. They may be called
//   from any thread but the engine's own.
// - Progress, every meter read and every wireless meter heard reach the receivers as queued
//   signals that carry copies; the window keeps its own result lists on its own thread.
// - Destruction aborts a running scan, lets the closing steps run (the gateway leaves
//   analyzer or configuration mode, at most three tries) and releases the socket, then joins
//   both threads, whether or not a window is still listening.

#include "editors/metering/scan/MBusGatewayLink.h"
#include "editors/metering/scan/MBusWiredScan.h"
#include "editors/metering/scan/MBusWirelessScan.h"

#include <QObject>
#include <QThread>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <variant>

namespace zfw {

// The system's millisecond tick truncated to 32 bits, and a real pause.
class SteadyScanClock final : public IScanClock {
public:
    quint32 tick() override;
    void sleep(int milliseconds) override;
    QDateTime dateTime() override;
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
        // Local port of a wireless scan. Unset: the gateway's wireless port, where the
        // gateway sends the module's traffic.
        std::optional<quint16> wirelessLocalPort;
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
    // The same refusals for a wireless scan.
    bool Start_Scan_Wireless(const TWirelessScanSettings& settings, QString* reason = nullptr);
    void Stop_Scan();
    void Abort_Scan();
    // Loads a key for the wireless meter at index (its position in the notices). Waits for
    // the engine's answer, which comes within one step: false when no wireless scan is
    // receiving, index names no meter, or the module's key table is full.
    bool Insert_Wireless_Key(int index, const AesKey& key);

    bool inScan() const { return FInScan.load(); }
    int result() const { return FResult.load(); }
    // Datagrams the link refused (too long, or the queue was full).
    int droppedAnswers() const;

signals:
    // kind, address, found, scan kind (see the scan window's progress list).
    void Update_Slave_List(int kind, int address, int found, int scanKind);
    // A copy of a meter just read completely.
    void slaveRead(std::shared_ptr<const zfw::TSlave_MBus> slave);
    // A wireless meter was heard: its position and a copy (null when started FromDLL).
    void UpdateListWirelessSlave(int index, std::shared_ptr<const zfw::TSlave_wMBus> slave);
    // The scan reached its last state; result as result().
    void scanEnded(int result);
    // The scan report of a finished scan was written (ok) or not (message says why).
    void reportWritten(bool ok, const QString& message);

private:
    class Line;
    struct KeyRequest {
        int index = -1;
        AesKey key{};
        std::promise<bool> done;
    };
    using StartRequest = std::variant<TWiredScanSettings, TWirelessScanSettings>;

    void runEngine();
    void wake();
    bool openLink(quint16 localPort, const QHostAddress& gateway, quint16 port,
                  const StartRequest& request, QString* reason);
    bool machineInScan() const;

    Services m_services;
    SteadyScanClock m_steadyClock;
    IScanClock& m_clock;

    QThread m_io;
    TThreadTasks* m_ioTasks = nullptr;
    std::unique_ptr<IDatagramTransport> m_transport;
    std::unique_ptr<TGatewayLink> m_link;
    std::unique_ptr<Line> m_line;
    std::unique_ptr<TWiredScanMachine> m_machine;
    std::unique_ptr<TWirelessScanMachine> m_wireless;
    bool m_wirelessScan = false;  // engine thread only

    std::mutex m_mutex;
    std::condition_variable m_wakeUp;
    bool m_signalled = false;
    bool m_exit = false;
    std::optional<StartRequest> m_startRequest;
    std::deque<KeyRequest> m_keyRequests;
    bool m_stopRequest = false;
    bool m_abortRequest = false;

    std::atomic<bool> FInScan{false};
    std::atomic<int> FResult{-1};
    std::thread m_engine;
};

}  // namespace zfw
