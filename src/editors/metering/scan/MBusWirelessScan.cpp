#include "editors/metering/scan/MBusWirelessScan.h"

#include "editors/metering/core/MBusScanWriters.h"

#include <span>

namespace zfw {

namespace {

constexpr int kClosingTries = 3;
constexpr int kStateClose = 500;
constexpr int kTelitReceiving = 134;
constexpr int kRadioCraftsReceiving = 320;
constexpr int kKeyBytes = 16;
// The configuration memory reply of a RadioCrafts module: 256 bytes, then the prompt.
constexpr qsizetype kConfigReplyLength = 257;
constexpr int kLastErasedPosition = 63;

// One AT command of the Telit configuration. The value is fixed, or the mode or channel of
// the scan; next is where its "OK" leads, nextNarrow the same in modes N1 and N2.
enum class TelitValue { Fixed, Mode, Channel };
struct TelitRow {
    int state;
    const char* command;
    TelitValue value;
    int next;
    int nextNarrow;
};
constexpr TelitRow kTelitConfig[] = {
    {100, "+++", TelitValue::Fixed, 102, 102},
    {102, "ATR", TelitValue::Fixed, 104, 104},
    {104, "ATS400=", TelitValue::Mode, 106, 106},
    {106, "ATS401=0", TelitValue::Fixed, 108, 108},
    {108, "ATS402=191", TelitValue::Fixed, 110, 110},
    {110, "ATS420=", TelitValue::Channel, 112, 114},
    {112, "ATS421=0", TelitValue::Fixed, 114, 114},
    {114, "ATS422=3", TelitValue::Fixed, 116, 116},
    {116, "ATS430=5", TelitValue::Fixed, 118, 118},
    {118, "ATS431=5", TelitValue::Fixed, 120, 120},
    {120, "ATS440=0", TelitValue::Fixed, 122, 122},
    {122, "ATS441=0", TelitValue::Fixed, 124, 126},
    {124, "ATS442=0", TelitValue::Fixed, 126, 126},
    {126, "ATS452=0", TelitValue::Fixed, 128, 128},
    {128, "ATS453=0", TelitValue::Fixed, 130, 132},
    {130, "ATS454=0", TelitValue::Fixed, 132, 132},
    {132, "ATO", TelitValue::Fixed, kTelitReceiving, kTelitReceiving},
};

// Escape to command mode is the only Telit command without a carriage return.
QByteArray telitCommand(const QByteArray& text) { return text == "+++" ? text : text + '\r'; }

QByteArray oneByte(int value) { return QByteArray(1, static_cast<char>(value)); }

// Manufacturer low and high byte, identification bytes least significant first, version and
// device type of the application-layer address.
std::array<quint8, 8> addressBytes(const TSlave_wMBus& s)
{
    const auto id = static_cast<quint32>(s.ALA_Address);
    return {static_cast<quint8>(s.ALA_Manufacturer & 0xFF),
            static_cast<quint8>(s.ALA_Manufacturer >> 8),
            static_cast<quint8>(id),
            static_cast<quint8>(id >> 8),
            static_cast<quint8>(id >> 16),
            static_cast<quint8>(id >> 24),
            s.ALA_Version,
            s.ALA_DeviceType};
}

}  // namespace

namespace radio {

QByteArray telitOk() { return QByteArray("OK\r"); }

bool isNarrowBandMode(int mode) { return mode == kModeN1 || mode == kModeN2; }

}  // namespace radio

QByteArray Build_RadioCrafts_Config(int wMBusMode)
{
    quint8 m = 0x03;  // S and every mode without a code of its own
    switch (wMBusMode) {
    case radio::kModeT: m = 0x01; break;
    case radio::kModeC: m = 0x0A; break;
    case radio::kModeN1: m = 0x11; break;
    case radio::kModeN2: m = 0x10; break;
    default: break;
    }
    const quint8 block[] = {0x03, m,    0x04, 0x00, 0x05, 0x01, 0x12, 0x01,
                            0x16, 0x17, 0x3A, 0x01, 0x3D, 0x02, 0x37, 0x01};
    return QByteArray(reinterpret_cast<const char*>(block), sizeof block);
}

QByteArray Build_RadioCrafts_Erase_Key() { return QByteArray(8, '\0'); }

QByteArray Build_RadioCrafts_Address(const TSlave_wMBus& slave)
{
    const auto a = addressBytes(slave);
    // The module wants the identification number first, then manufacturer, version, type.
    const quint8 block[] = {a[2], a[3], a[4], a[5], a[0], a[1], a[6], a[7]};
    return QByteArray(reinterpret_cast<const char*>(block), sizeof block);
}

QByteArray Build_RadioCrafts_Key(const TSlave_wMBus& slave)
{
    return QByteArray(reinterpret_cast<const char*>(slave.Key.data()), kKeyBytes);
}

TWirelessScanMachine::TWirelessScanMachine(IScanLine& line, IScanClock& clock, SlaveNotice notice,
                                           ReportCallback report)
    : m_line(line), m_clock(clock), m_notice(std::move(notice)), m_report(std::move(report))
{
}

void TWirelessScanMachine::begin(const TWirelessScanSettings& settings)
{
    m_settings = settings;
    Add_TimeOut = settings.RemoteTimeout ? 10000 : 0;
    Wireless_Receive_Message = false;
    m_pending.reset();
    Step_Scan = 0;
    FStopScan = false;
    FAbortScan = false;
    FInScan = true;
}

bool TWirelessScanMachine::waiting() const
{
    return FInScan
           && (m_pending.has_value() || Wireless_Receive_Message || Step_Scan == 3
               || Step_Scan == 502);
}

void TWirelessScanMachine::send(const QByteArray& data, qint32 timeOut, Expect rule, int next,
                                QByteArray exact)
{
    TimeOut_Calc = timeOut;
    m_pending = Pending{rule, std::move(exact), next};
    ++Step_Scan;  // every send state's wait state is the next number
    m_line.send(data);
    Start_Send = m_clock.tick();
}

void TWirelessScanMachine::sendTelit(const QByteArray& command, int next)
{
    send(telitCommand(command), commandTimeOut(Add_TimeOut), Expect::Exact, next, radio::telitOk());
}

void TWirelessScanMachine::sendPrompted(const QByteArray& data, int next, Expect rule,
                                        qint32 timeOut)
{
    send(data, timeOut < 0 ? commandTimeOut(Add_TimeOut) : timeOut, rule, next,
         QByteArray(1, radio::kPrompt));
}

void TWirelessScanMachine::fail()
{
    m_pending.reset();
    FResult = 2;
    Step_Scan = kStateClose;
}

// Checks the reply the current wait state expects. Any reply or a time-out decides; a reply
// that differs in one byte is a wrong reply like a missing one.
void TWirelessScanMachine::awaitReply()
{
    const Pending pending = *m_pending;
    const std::optional<QByteArray> answer = m_line.takeAnswer();
    bool ok = false;
    if (answer) {
        switch (pending.rule) {
        case Expect::Exact: ok = *answer == pending.exact; break;
        case Expect::FirstPrompt: ok = answer->startsWith(radio::kPrompt); break;
        case Expect::ConfigBlock:
            ok = answer->size() == kConfigReplyLength && answer->endsWith(radio::kPrompt);
            break;
        case Expect::AnyOrTimeOut: ok = true; break;
        }
    } else if (timedOut()) {
        ok = pending.rule == Expect::AnyOrTimeOut;
    } else {
        return;  // still waiting
    }
    if (!ok) {
        fail();
        return;
    }
    const int waitState = Step_Scan;
    m_pending.reset();
    Step_Scan = pending.next;
    // What some replies do besides leading on.
    switch (waitState) {
    case 133:  // "ATO" answered: the module passes telegrams
        Wireless_Receive_Message = true;
        break;
    case 217:  // the last address register
        Index_Key_Send = 0;
        break;
    case 219:
        ++Index_Key_Send;
        Step_Scan = Index_Key_Send < kKeyBytes ? 218 : 220;
        break;
    case 221: Index_Key_Send = 0; break;
    case 309: Index_RadioCrafts_Erase_Position = 0; break;
    default: break;
    }
}

void TWirelessScanMachine::takeTelegrams()
{
    // The module's datagram is the telegram (L field first) plus its trailer: the signal
    // strength byte for RadioCrafts, two bytes for Telit. Anything else is noise.
    const int trailer = RadioModule == TRadioModule::rmRadioCrafts ? 1 : 3;
    while (auto datagram = m_line.takeAnswer()) {
        if (datagram->isEmpty()
            || datagram->size() != static_cast<quint8>(datagram->at(0)) + trailer) {
            ++m_ignored;
            continue;
        }
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(datagram->constData());
        const WirelessIntake r = m_intake.Decode_Frame_Wireless(
            std::span<const std::uint8_t>(bytes, static_cast<size_t>(datagram->size())),
            RadioModule, Slave_wMBus_List, m_clock.dateTime());
        if (r.index < 0)
            continue;
        if (m_notice) {
            std::shared_ptr<const TSlave_wMBus> copy;
            if (!m_settings.FromDLL)
                copy = std::make_shared<const TSlave_wMBus>(
                    *Slave_wMBus_List[static_cast<size_t>(r.index)]);
            m_notice(r.index, std::move(copy));
        }
    }
}

const TSlave_wMBus& TWirelessScanMachine::keyedSlave() const
{
    return *Slave_wMBus_List[static_cast<size_t>(Wireless_Key_Index)];
}

bool TWirelessScanMachine::Insert_Wireless_Key(int index, const AesKey& key)
{
    const bool receivingState = Step_Scan == kTelitReceiving || Step_Scan == kRadioCraftsReceiving;
    if (!FInScan || !receivingState || FStopScan || FAbortScan || index < 0
        || static_cast<size_t>(index) >= Slave_wMBus_List.size())
        return false;
    TSlave_wMBus& slave = *Slave_wMBus_List[static_cast<size_t>(index)];
    // The old engine handed out a key-table position before it checked the receiving state,
    // so a refused call used one up; here a refused call changes nothing.
    if (RadioModule == TRadioModule::rmRadioCrafts && slave.RadioCrafts_Ind_Tab_Decript < 1) {
        if (Index_RadioCrafts_Position_Used > radio::kRadioCraftsKeyPositions)
            return false;
        slave.RadioCrafts_Ind_Tab_Decript = Index_RadioCrafts_Position_Used++;
    }
    Wireless_Key = key;
    Wireless_Key_Index = index;
    slave.Enable_Key = true;
    slave.Key = key;
    Step_Scan = RadioModule == TRadioModule::rmTelit ? 200 : 400;
    return true;
}

void TWirelessScanMachine::telitStep()
{
    for (const TelitRow& row : kTelitConfig) {
        if (row.state != Step_Scan)
            continue;
        QByteArray command(row.command);
        if (row.value == TelitValue::Mode)
            command += QByteArray::number(m_settings.wMBus_Mode);
        else if (row.value == TelitValue::Channel)
            command += QByteArray::number(m_settings.wMBus_Radio_Channel);
        sendTelit(command,
                  radio::isNarrowBandMode(m_settings.wMBus_Mode) ? row.nextNarrow : row.next);
        return;
    }
    if (Step_Scan == kTelitReceiving)
        return;
    if (Step_Scan == 200) {
        Wireless_Receive_Message = false;
        sendTelit("+++", 202);
    } else if (Step_Scan >= 202 && Step_Scan <= 216) {
        const int j = (Step_Scan - 202) / 2;
        const auto values = addressBytes(keyedSlave());
        sendTelit("ATS" + QByteArray::number(461 + j) + '='
                      + QByteArray::number(values[static_cast<size_t>(j)]),
                  j < 7 ? Step_Scan + 2 : 218);
    } else if (Step_Scan == 218) {
        const auto i = static_cast<size_t>(Index_Key_Send);
        sendTelit("ATS" + QByteArray::number(470 + Index_Key_Send) + '='
                      + QByteArray::number(Wireless_Key[i]),
                  218);
    } else if (Step_Scan == 220) {
        sendTelit("ATS460=5", 132);
    } else {
        // No state of the table: close down rather than spin.
        Step_Scan = kStateClose;
    }
}

void TWirelessScanMachine::radioCraftsStep()
{
    const qint32 positionWait = Add_TimeOut + 100;
    const int position = Wireless_Key_Index >= 0
                                 && static_cast<size_t>(Wireless_Key_Index)
                                        < Slave_wMBus_List.size()
                             ? keyedSlave().RadioCrafts_Ind_Tab_Decript
                             : 0;
    switch (Step_Scan) {
    case 300:
        Index_RadioCrafts_Position_Used = 1;
        sendPrompted(oneByte(0x00), 302);
        break;
    case 302: sendPrompted("0", 304, Expect::ConfigBlock); break;
    case 304: sendPrompted("M", 306); break;
    case 306:
        sendPrompted(Build_RadioCrafts_Config(m_settings.wMBus_Mode), 308, Expect::AnyOrTimeOut,
                     Add_TimeOut + 500);
        break;
    case 308: sendPrompted(oneByte(0xFF), 310); break;
    case 310:
        if (Index_RadioCrafts_Erase_Position >= kLastErasedPosition) {
            Step_Scan = 318;
            break;
        }
        send("B", commandTimeOut(Add_TimeOut), Expect::Exact, 313, QByteArray(1, radio::kPrompt));
        break;
    case 313:
        if (Index_RadioCrafts_Erase_Position >= radio::kRadioCraftsKeyPositions) {
            Step_Scan = 318;
            break;
        }
        ++Index_RadioCrafts_Erase_Position;
        Step_Scan = 314;
        break;
    case 314:
        sendPrompted(oneByte(Index_RadioCrafts_Erase_Position), 316, Expect::AnyOrTimeOut,
                     positionWait);
        break;
    case 316: sendPrompted(Build_RadioCrafts_Erase_Key(), 310, Expect::FirstPrompt); break;
    case 318:
        // Leaves the module's command mode; it answers with telegrams only.
        m_line.send("X");
        Start_Send = m_clock.tick();
        Step_Scan = 319;
        break;
    case 319:
        Wireless_Receive_Message = true;
        Step_Scan = kRadioCraftsReceiving;
        break;
    case kRadioCraftsReceiving: break;
    case 400:
        Wireless_Receive_Message = false;
        sendPrompted(oneByte(0x00), 402);
        break;
    case 402: sendPrompted("B", 404); break;
    case 404: sendPrompted(oneByte(position), 406, Expect::AnyOrTimeOut, positionWait); break;
    case 406:
        sendPrompted(Build_RadioCrafts_Address(keyedSlave()), 408, Expect::FirstPrompt);
        break;
    case 408: sendPrompted("K", 410); break;
    case 410: sendPrompted(oneByte(position), 412, Expect::AnyOrTimeOut, positionWait); break;
    case 412: sendPrompted(Build_RadioCrafts_Key(keyedSlave()), 414, Expect::FirstPrompt); break;
    case 414: sendPrompted("A", 416); break;
    case 416: sendPrompted(oneByte(position), 418, Expect::AnyOrTimeOut, positionWait); break;
    case 418: sendPrompted(QByteArray::fromHex("0040"), 318); break;
    default: Step_Scan = kStateClose; break;
    }
}

void TWirelessScanMachine::Scan_Decode_Wireless()
{
    if (!FInScan)
        return;
    if (Wireless_Receive_Message)
        takeTelegrams();
    if ((FStopScan || FAbortScan) && Step_Scan < kStateClose) {
        m_pending.reset();
        Step_Scan = kStateClose;
    }
    if (m_pending) {
        awaitReply();
        return;
    }

    switch (Step_Scan) {
    case 0:
        Wireless_Receive_Message = false;
        FResult = 1;
        send(gateway::kEnableConfigurationMode, commandTimeOut(Add_TimeOut), Expect::Exact, 2,
             gateway::configurationEnabledReply());
        break;
    case 2:
        FResult = 1;
        TimeOut_Calc = commandTimeOut(Add_TimeOut);
        Step_Scan = 3;
        m_line.send(gateway::kTypeRadioModule);
        Start_Send = m_clock.tick();
        break;
    case 3:
        if (auto answer = m_line.takeAnswer()) {
            if (*answer == gateway::telitReply()) {
                RadioModule = TRadioModule::rmTelit;
                Step_Scan = 100;
            } else if (*answer == gateway::radioCraftsReply()) {
                RadioModule = TRadioModule::rmRadioCrafts;
                Step_Scan = 300;
            } else {
                fail();
            }
        } else if (timedOut()) {
            fail();
        }
        break;

    // The closing steps.
    case kStateClose:
        Count_Disable_Analyzer = 0;
        FAbortScan = false;
        FStopScan = false;
        // The old engine stayed in its receiving state here and took the gateway's reply for
        // a telegram of the wrong length, so every closing command waited out its time-out.
        Wireless_Receive_Message = false;
        Step_Scan = 501;
        break;
    case 501:
        if (Count_Disable_Analyzer >= kClosingTries) {
            Step_Scan = 503;
            break;
        }
        ++Count_Disable_Analyzer;
        TimeOut_Calc = commandTimeOut(Add_TimeOut);
        Step_Scan = 502;
        m_line.send(gateway::kDisableConfigurationMode);
        Start_Send = m_clock.tick();
        break;
    case 502:
        if (auto answer = m_line.takeAnswer())
            Step_Scan = *answer == gateway::configurationDisabledReply() ? 503 : 501;
        else if (timedOut())
            Step_Scan = 501;
        break;
    case 503:
        m_line.release();
        FInScan = false;
        if (!m_settings.SaveXMLFile.isEmpty()) {
            const FileResult written = Save_Wireless_XML_File_DLL(m_settings.SaveXMLFile,
                                                                  Slave_wMBus_List);
            if (m_report)
                m_report(written);
        }
        break;
    default:
        if (Step_Scan >= 100 && Step_Scan < 300)
            telitStep();
        else if (Step_Scan >= 300 && Step_Scan < kStateClose)
            radioCraftsStep();
        else
            Step_Scan = kStateClose;
        break;
    }
}

}  // namespace zfw
