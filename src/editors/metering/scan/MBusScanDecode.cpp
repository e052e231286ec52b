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
    m_io.setObjectName(QStringLiteral("M-Bus scan I/O"));
    // Moved before the thread starts, so that the start orders everything done here before
    // anything the thread does.
    m_ioContext = new QObject;
    m_ioContext->moveToThread(&m_io);
    m_io.start();
    QMetaObject::invokeMethod(
        m_ioContext,
        [this] {
            m_transport = m_services.makeTransport();
            m_link = std::make_unique<TGatewayLink>(*m_transport, [this] { wake(); });
        },
        Qt::BlockingQueuedConnection);
    m_line = std::make_unique<Line>(*m_link);
    m_machine = std::make_unique<TWiredScanMachine>(
        *m_line, m_clock,
        [this](int kind, int address, int found, int scanKind) {
            emit Update_Slave_List(kind, address, found, scanKind);
        },
        [this](std::shared_ptr<const TSlave_MBus> slave) { emit slaveRead(std::move(slave)); });
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
    QMetaObject::invokeMethod(
        m_ioContext,
        [this] {
            m_link.reset();
            m_transport.reset();
        },
        Qt::BlockingQueuedConnection);
    m_io.quit();
    m_io.wait();
    delete m_ioContext;
}

void TMBusScanDecode::wake()
{
    {
        std::lock_guard lock(m_mutex);
        m_signalled = true;
    }
    m_wakeUp.notify_one();
}

bool TMBusScanDecode::Start_Scan(const TWiredScanSettings& settings, QString* reason)
{
    const auto refuse = [&](const QString& why) {
        if (reason)
            *reason = why;
        return false;
    };
    if (settings.Select_Hardware == TSelectHard::shSerial)
        return refuse(QStringLiteral("A scan over the serial port is not available"));
    const QHostAddress gateway(settings.IP_COM);
    if (gateway.isNull() || gateway.protocol() != QAbstractSocket::IPv4Protocol)
        return refuse(QStringLiteral("\"%1\" is no IPv4 address").arg(settings.IP_COM));
    bool expected = false;
    if (!FInScan.compare_exchange_strong(expected, true))
        return refuse(QStringLiteral("A scan is running"));
    QString error;
    if (!m_link->open(m_services.localPort, &error)) {
        FInScan = false;
        return refuse(error);
    }
    {
        std::lock_guard lock(m_mutex);
        m_line->setGateway(gateway, m_services.gatewayPort);
        m_startRequest = settings;
        m_stopRequest = false;
        m_abortRequest = false;
        m_signalled = true;
    }
    m_wakeUp.notify_one();
    return true;
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

void TMBusScanDecode::runEngine()
{
    bool exiting = false;
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            // A step that sent a frame pauses; a step waiting for an answer is woken by it.
            // Idle, the thread sleeps until a request comes.
            if (m_machine->inScan())
                m_wakeUp.wait_for(lock, m_services.stepPause, [this] { return m_signalled; });
            else
                m_wakeUp.wait(lock, [this] { return m_signalled || m_exit; });
            m_signalled = false;
            if (m_startRequest) {
                m_machine->clearSlaves();
                m_machine->begin(*m_startRequest);
                m_startRequest.reset();
            }
            if (m_stopRequest)
                m_machine->Stop_Scan();
            // Leaving with a scan running: abort it, but let it close the gateway first.
            if (m_abortRequest || (m_exit && !exiting && m_machine->inScan()))
                m_machine->Abort_Scan();
            m_stopRequest = false;
            m_abortRequest = false;
            exiting = m_exit;
        }
        if (!m_machine->inScan()) {
            if (exiting)
                return;
            continue;
        }
        m_machine->Scan_Decode();
        FResult = m_machine->result();
        if (!m_machine->inScan()) {
            FInScan = false;
            emit scanEnded(m_machine->result());
        }
    }
}

}  // namespace zfw
