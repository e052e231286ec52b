#include "editors/metering/scan/MBusScanDecode.h"

#include <QHostAddress>
#include <QMetaObject>

namespace zfw {

quint32 SteadyScanClock::tick()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<quint32>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void SteadyScanClock::sleep(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

QDateTime SteadyScanClock::dateTime() { return QDateTime::currentDateTime(); }

// The machine's line: the gateway link towards the gateway's command port.
class TMBusScanDecode::Line final : public IScanLine {
public:
    explicit Line(TGatewayLink& link) : m_link(link) {}
    void setGateway(const QHostAddress& address, quint16 port)
    {
        m_gateway = address;
        m_port = port;
    }
    void send(const QByteArray& data) override { m_link.send(data, m_gateway, m_port); }
    std::optional<QByteArray> takeAnswer() override { return m_link.takeAnswer(); }
    void release() override { m_link.close(); }

private:
    TGatewayLink& m_link;
    QHostAddress m_gateway;
    quint16 m_port = kGatewayCommandPort;
};

TMBusScanDecode::TMBusScanDecode(Services services, QObject* parent)
    : QObject(parent), m_services(std::move(services)),
      m_clock(m_services.clock ? *m_services.clock : m_steadyClock)
{
    qRegisterMetaType<std::shared_ptr<const zfw::TSlave_MBus>>();
    qRegisterMetaType<std::shared_ptr<const zfw::TSlave_wMBus>>();
    m_io.setObjectName(QStringLiteral("M-Bus scan I/O"));
    // Moved before the thread starts, so that the start orders everything done here before
    // anything the thread does.
    m_ioTasks = new TThreadTasks;
    m_ioTasks->moveToThread(&m_io);
    m_io.start();
    m_ioTasks->run([this] {
        m_transport = m_services.makeTransport();
        m_link = std::make_unique<TGatewayLink>(*m_transport, [this] { wake(); });
    });
    m_line = std::make_unique<Line>(*m_link);
    m_machine = std::make_unique<TWiredScanMachine>(
        *m_line, m_clock,
        [this](int kind, int address, int found, int scanKind) {
            emit Update_Slave_List(kind, address, found, scanKind);
        },
        [this](std::shared_ptr<const TSlave_MBus> slave) { emit slaveRead(std::move(slave)); },
        [this](const FileResult& r) { emit reportWritten(r.ok, r.message); });
    m_wireless = std::make_unique<TWirelessScanMachine>(
        *m_line, m_clock,
        [this](int index, std::shared_ptr<const TSlave_wMBus> slave) {
            emit UpdateListWirelessSlave(index, std::move(slave));
        },
        [this](const FileResult& r) { emit reportWritten(r.ok, r.message); });
    m_engine = std::thread([this] { runEngine(); });
}

TMBusScanDecode::~TMBusScanDecode()
{
    {
        std::lock_guard lock(m_mutex);
        m_exit = true;
        m_signalled = true;
    }
    m_wakeUp.notify_all();
    m_engine.join();
    // The link and the transport are made and destroyed on the I/O thread.
    m_ioTasks->run([this] {
        m_link.reset();
        m_transport.reset();
    });
    m_io.quit();
    m_io.wait();
    delete m_ioTasks;
}

void TMBusScanDecode::wake()
{
    {
        std::lock_guard lock(m_mutex);
        m_signalled = true;
    }
    m_wakeUp.notify_one();
}

namespace {

bool refuse(QString* reason, const QString& why)
{
    if (reason)
        *reason = why;
    return false;
}

// The scan needs a gateway it can reach over UDP. The serial variant has no receive path:
// the old engine ignored every byte the port received, so each wait timed out and a line
// full of meters ended as a normal scan that found none. It is refused instead.
std::optional<QHostAddress> gatewayAddress(TSelectHard hardware, const QString& ip, QString* reason)
{
    if (hardware == TSelectHard::shSerial) {
        refuse(reason, QStringLiteral("A scan over the serial port is not available"));
        return std::nullopt;
    }
    const QHostAddress gateway(ip);
    if (gateway.isNull() || gateway.protocol() != QAbstractSocket::IPv4Protocol) {
        refuse(reason, QStringLiteral("\"%1\" is no IPv4 address").arg(ip));
        return std::nullopt;
    }
    return gateway;
}

}  // namespace

bool TMBusScanDecode::openLink(quint16 localPort, const QHostAddress& gateway, quint16 port,
                               const StartRequest& request, QString* reason)
{
    bool expected = false;
    if (!FInScan.compare_exchange_strong(expected, true))
        return refuse(reason, QStringLiteral("A scan is running"));
    QString error;
    if (!m_link->open(localPort, &error)) {
        FInScan = false;
        return refuse(reason, error);
    }
    {
        std::lock_guard lock(m_mutex);
        m_line->setGateway(gateway, port);
        m_startRequest = request;
        m_stopRequest = false;
        m_abortRequest = false;
        m_signalled = true;
    }
    m_wakeUp.notify_one();
    return true;
}

bool TMBusScanDecode::Start_Scan(const TWiredScanSettings& settings, QString* reason)
{
    const auto gateway = gatewayAddress(settings.Select_Hardware, settings.IP_COM, reason);
    if (!gateway)
        return false;
    return openLink(m_services.localPort, *gateway, m_services.gatewayPort, settings, reason);
}

bool TMBusScanDecode::Start_Scan_Wireless(const TWirelessScanSettings& settings, QString* reason)
{
    const auto gateway = gatewayAddress(settings.Select_Hardware, settings.IP_COM, reason);
    if (!gateway)
        return false;
    if (settings.Port == 0)
        return refuse(reason, QStringLiteral("The wireless port must not be 0"));
    return openLink(m_services.wirelessLocalPort.value_or(settings.Port), *gateway, settings.Port,
                    settings, reason);
}

bool TMBusScanDecode::Insert_Wireless_Key(int index, const AesKey& key)
{
    if (!FInScan.load())
        return false;
    std::future<bool> answer;
    {
        std::lock_guard lock(m_mutex);
        if (m_exit)
            return false;
        KeyRequest request;
        request.index = index;
        request.key = key;
        answer = request.done.get_future();
        m_keyRequests.push_back(std::move(request));
        m_signalled = true;
    }
    m_wakeUp.notify_one();
    return answer.get();
}

void TMBusScanDecode::Stop_Scan()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopRequest = true;
        m_signalled = true;
    }
    m_wakeUp.notify_one();
}

void TMBusScanDecode::Abort_Scan()
{
    {
        std::lock_guard lock(m_mutex);
        m_abortRequest = true;
        m_signalled = true;
    }
    m_wakeUp.notify_one();
}

int TMBusScanDecode::droppedAnswers() const { return m_link->droppedCount(); }

bool TMBusScanDecode::machineInScan() const
{
    return m_wirelessScan ? m_wireless->inScan() : m_machine->inScan();
}

void TMBusScanDecode::runEngine()
{
    bool exiting = false;
    for (;;) {
        std::deque<KeyRequest> keys;
        {
            std::unique_lock lock(m_mutex);
            // A step that sent a frame pauses; a step waiting for an answer is woken by it.
            // Idle, the thread sleeps until a request comes.
            if (machineInScan())
                m_wakeUp.wait_for(lock, m_services.stepPause, [this] { return m_signalled; });
            else
                m_wakeUp.wait(lock, [this] { return m_signalled || m_exit; });
            m_signalled = false;
            if (m_startRequest) {
                m_wirelessScan = std::holds_alternative<TWirelessScanSettings>(*m_startRequest);
                if (m_wirelessScan) {
                    m_wireless->clearSlaves();
                    m_wireless->begin(std::get<TWirelessScanSettings>(*m_startRequest));
                } else {
                    m_machine->clearSlaves();
                    m_machine->begin(std::get<TWiredScanSettings>(*m_startRequest));
                }
                m_startRequest.reset();
            }
            if (m_stopRequest) {
                m_machine->Stop_Scan();
                m_wireless->Stop_Scan();
            }
            // Leaving with a scan running: abort it, but let it close the gateway first.
            if (m_abortRequest || (m_exit && !exiting && machineInScan())) {
                m_machine->Abort_Scan();
                m_wireless->Abort_Scan();
            }
            m_stopRequest = false;
            m_abortRequest = false;
            exiting = m_exit;
            keys.swap(m_keyRequests);
        }
        for (KeyRequest& request : keys)
            request.done.set_value(!exiting && m_wirelessScan
                                   && m_wireless->Insert_Wireless_Key(request.index, request.key));
        if (!machineInScan()) {
            if (exiting)
                break;
            continue;
        }
        if (m_wirelessScan) {
            m_wireless->Scan_Decode_Wireless();
            FResult = m_wireless->result();
        } else {
            m_machine->Scan_Decode();
            FResult = m_machine->result();
        }
        if (!machineInScan()) {
            FInScan = false;
            emit scanEnded(FResult.load());
        }
    }
    // Requests that came after the last turn are answered too, so no caller waits forever.
    std::lock_guard lock(m_mutex);
    for (KeyRequest& request : m_keyRequests)
        request.done.set_value(false);
    m_keyRequests.clear();
}

}  // namespace zfw
