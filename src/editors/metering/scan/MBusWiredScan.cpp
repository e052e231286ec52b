#include "editors/metering/scan/MBusWiredScan.h"

#include "editors/metering/core/MBusScanWriters.h"

#include <span>

namespace zfw {

namespace {

constexpr int kLastPrimaryAddress = 250;
constexpr quint8 kBroadcast = 255;
constexpr quint8 kSelected = 253;
constexpr int kPrimaryPause = 500;
constexpr int kSecondaryPause = 800;
constexpr int kClosingTries = 3;

bool isState(int step, std::initializer_list<int> states)
{
    for (int s : states)
        if (s == step)
            return true;
    return false;
}

}  // namespace

TWiredScanMachine::TWiredScanMachine(IScanLine& line, IScanClock& clock, ProgressCallback progress,
                                     SlaveCallback slaveRead, ReportCallback report)
    : m_line(line), m_clock(clock), m_progress(std::move(progress)),
      m_slaveRead(std::move(slaveRead)), m_report(std::move(report))
{
}

void TWiredScanMachine::begin(const TWiredScanSettings& settings)
{
    m_settings = settings;
    Add_TimeOut = settings.RemoteTimeout ? 10000 : 0;
    Step_Scan = 0;
    FStopScan = false;
    FAbortScan = false;
    FInScan = true;
}

bool TWiredScanMachine::waiting() const
{
    return FInScan
           && (isState(Step_Scan, {1, 301, 3, 6, 8, 10, 102, 104, 106, 123, 125, 202})
               || (Step_Scan >= 109 && Step_Scan <= 121 && Step_Scan % 2 == 1));
}

void TWiredScanMachine::send(const QByteArray& data, int nextState)
{
    Step_Scan = nextState;
    m_line.send(data);
    Start_Send = m_clock.tick();
}

void TWiredScanMachine::notify(int kind, int address, int found, int scanKind)
{
    if (m_progress)
        m_progress(kind, address, found, scanKind);
}

bool TWiredScanMachine::decodeFrame(const QByteArray& frame, bool& complete)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(frame.constData());
    const int into = Num_Frame_Read == 0 ? -1 : Index_Device;
    const int index = m_decoder.Decode_Frame_Wired(
        std::span<const std::uint8_t>(bytes, static_cast<size_t>(frame.size())), Slave_MBus_List,
        into, complete);
    if (index < 0)
        return false;
    Index_Device = index;
    ++Num_Frame_Read;
    return true;
}

void TWiredScanMachine::digitStep(int k)
{
    if (FStopScan) {
        Step_Scan = 200;
        return;
    }
    const auto at = static_cast<size_t>(k - 1);
    ++m_digits[at];
    for (size_t i = at + 1; i < m_digits.size(); ++i)
        m_digits[i] = -1;
    if (m_digits[at] > 9) {
        if (k == 1) {
            Type_To_Send_In_Last_Step = 2;
            Enable_Send_In_Last_Step = true;
            Step_Scan = 200;
        } else {
            Step_Scan = digitStepState(k - 1);
        }
        return;
    }
    m_clock.sleep(kSecondaryPause);
    send(Build_Select_Secondary(m_digits, cField()), digitStepState(k) + 1);
}

void TWiredScanMachine::digitWait(int k, const std::optional<QByteArray>& answer)
{
    if (!answer) {
        if (timedOut())
            Step_Scan = digitStepState(k);
        return;
    }
    if (isSingleCharacterAck(*answer)) {
        Num_Frame_Read = 0;
        Sec_Add_Next_Step = digitStepState(k);
        Step_Scan = 124;
    } else if (k < 8 && *answer == gateway::noSlaveReply()) {
        Step_Scan = digitStepState(k);
    } else if (k < 8) {
        // Several meters answered at once: fix the next digit too.
        Step_Scan = digitStepState(k + 1);
    } else {
        // All digits are fixed and still no single answer: go on with the next value.
        Step_Scan = digitStepState(8);
    }
}

void TWiredScanMachine::Scan_Decode()
{
    if (!FInScan)
        return;
    if (FAbortScan)
        Step_Scan = 200;

    const bool ethernet = m_settings.Select_Hardware == TSelectHard::shEthernet;
    const bool primary = m_settings.ScanType == TScanType::saPrimaryAddress;
    const qint32 shortWait = shortTimeOut(m_settings.Baudrate, Add_TimeOut);
    const qint32 longWait = longTimeOut(m_settings.Baudrate, Add_TimeOut);
    const int searchStart = primary ? 2 : 100;
    const auto afterReset = [&] { return m_settings.SND_NKE ? 7 : 9; };

    switch (Step_Scan) {
    case 0:
        Enable_Send_In_Last_Step = false;
        FResult = 1;
        if (!ethernet) {
            Step_Scan = searchStart;
            break;
        }
        TimeOut_Calc = commandTimeOut(Add_TimeOut);
        send(gateway::kEnableAnalyzerMode, 1);
        break;
    case 1:
        if (auto answer = m_line.takeAnswer()) {
            if (*answer == gateway::analyzerEnabledReply()) {
                ID_Dev_Primary = -1;
                Step_Scan = 300;
            } else {
                FResult = 2;
                Step_Scan = 200;
            }
        } else if (timedOut()) {
            FResult = 2;
            Step_Scan = 200;
        }
        break;
    case 300:
        FResult = 1;
        if (!ethernet) {
            Step_Scan = searchStart;
            break;
        }
        TimeOut_Calc = commandTimeOut(Add_TimeOut);
        send(Build_Set_MBus_Line(static_cast<quint32>(m_settings.Baudrate), m_settings.Parity),
             301);
        break;
    case 301:
        if (auto answer = m_line.takeAnswer()) {
            if (*answer == gateway::lineSetReply()) {
                Step_Scan = searchStart;
            } else {
                FResult = 2;
                Step_Scan = 200;
            }
        } else if (timedOut()) {
            FResult = 2;
            Step_Scan = 200;
        }
        break;

    // The primary search.
    case 2:
        TimeOut_Calc = shortWait;
        ID_Dev_Primary = -1;
        notify(1, 0, 0, 1);
        m_clock.sleep(kPrimaryPause);
        send(Build_SND_NKE(kBroadcast), 3);
        break;
    case 3:
        if (m_line.takeAnswer() || timedOut())
            Step_Scan = 4;
        break;
    case 4:
        TimeOut_Calc = shortWait;
        Num_Frame_Read = 0;
        ++ID_Dev_Primary;
        if (ID_Dev_Primary > kLastPrimaryAddress || FStopScan) {
            Type_To_Send_In_Last_Step = 1;
            Enable_Send_In_Last_Step = true;
            FResult = 1;
            Step_Scan = 200;
        } else {
            Step_Scan = m_settings.App_Reset ? 5 : afterReset();
        }
        break;
    case 5:
        m_clock.sleep(kPrimaryPause);
        send(Build_App_Reset(static_cast<quint8>(ID_Dev_Primary), m_settings.App_Reset_Byte,
                             cField()),
             6);
        break;
    case 6:
    case 8: {
        const auto answer = m_line.takeAnswer();
        if ((answer && isSingleCharacterAck(*answer)) || timedOut())
            Step_Scan = Step_Scan == 6 ? afterReset() : 9;
        break;
    }
    case 7:
        m_clock.sleep(kPrimaryPause);
        send(Build_SND_NKE(static_cast<quint8>(ID_Dev_Primary)), 8);
        break;
    case 9:
        TimeOut_Calc = longWait;
        m_clock.sleep(kPrimaryPause);
        send(Build_REQ_UD2(static_cast<quint8>(ID_Dev_Primary), Num_Frame_Read, cField()), 10);
        break;
    case 10: {
        ID_Dev_Found = false;
        const auto answer = m_line.takeAnswer();
        if (answer && isValidLongFrame(*answer) && longFrameAddress(*answer) != ID_Dev_Primary) {
            // A late frame of another meter: the old engine filed it under this address. It
            // is not the answer asked for, so the wait goes on.
            break;
        }
        bool complete = true;
        if (answer && isValidLongFrame(*answer) && decodeFrame(*answer, complete)) {
            if (complete || Num_Frame_Read >= m_settings.Cut_After) {
                ID_Dev_Found = true;
                if (m_slaveRead)
                    m_slaveRead(std::make_shared<const TSlave_MBus>(
                        *Slave_MBus_List[static_cast<size_t>(Index_Device)]));
                notify(2, ID_Dev_Primary, 1, 1);
                Step_Scan = 4;
            } else {
                Step_Scan = 9;
            }
        } else if (answer || timedOut()) {
            notify(2, ID_Dev_Primary, 0, 1);
            Step_Scan = 4;
        }
        break;
    }

    // The secondary search.
    case 100:
        TimeOut_Calc = shortWait;
        notify(1, 0, 0, 2);
        Step_Scan = m_settings.SND_NKE ? 101 : (m_settings.App_Reset ? 103 : 105);
        break;
    case 101:
        m_clock.sleep(kSecondaryPause);
        send(Build_SND_NKE(kSelected), 102);
        break;
    case 102:
    case 104: {
        const auto answer = m_line.takeAnswer();
        if ((answer && isSingleCharacterAck(*answer)) || timedOut())
            Step_Scan = Step_Scan == 102 && m_settings.App_Reset ? 103 : 105;
        break;
    }
    case 103:
        m_clock.sleep(kSecondaryPause);
        send(Build_App_Reset(kBroadcast, m_settings.App_Reset_Byte, cField()), 104);
        break;
    case 105:
        m_clock.sleep(kSecondaryPause);
        send(Build_SND_NKE(kBroadcast), 106);
        break;
    case 106:
        if (m_line.takeAnswer() || timedOut())
            Step_Scan = 107;
        break;
    case 107:
        m_digits.fill(-1);
        Step_Scan = 108;
        break;
    case 124:
        TimeOut_Calc = longWait;
        m_clock.sleep(kSecondaryPause);
        send(Build_REQ_UD2(kSelected, Num_Frame_Read, cField()), 125);
        break;
    case 125: {
        ID_Dev_Found = false;
        const auto answer = m_line.takeAnswer();
        bool complete = true;
        if (answer && isValidLongFrame(*answer) && decodeFrame(*answer, complete)) {
            if (complete || Num_Frame_Read >= m_settings.Cut_After) {
                TimeOut_Calc = shortWait;
                ID_Dev_Found = true;
                const TSlave_MBus& slave = *Slave_MBus_List[static_cast<size_t>(Index_Device)];
                if (m_slaveRead)
                    m_slaveRead(std::make_shared<const TSlave_MBus>(slave));
                bool ok = false;
                const int ident = static_cast<int>(slave.Secondary_Addresss.toUInt(&ok, 16));
                notify(2, ok ? ident : 0, 1, 2);
                Step_Scan = Sec_Add_Next_Step;
            } else {
                Step_Scan = 124;
            }
        } else if (answer) {
            TimeOut_Calc = shortWait;
            if (Sec_Add_Next_Step < digitStepState(8))
                Sec_Add_Next_Step += 2;
            Step_Scan = Sec_Add_Next_Step;
        } else if (timedOut()) {
            TimeOut_Calc = shortWait;
            Step_Scan = Sec_Add_Next_Step;
        }
        break;
    }

    // The closing steps.
    case 200:
        Count_Disable_Analyzer = 0;
        FAbortScan = false;
        Step_Scan = 201;
        break;
    case 201:
        if (!ethernet || Count_Disable_Analyzer >= kClosingTries) {
            Step_Scan = 203;
            break;
        }
        ++Count_Disable_Analyzer;
        TimeOut_Calc = commandTimeOut(Add_TimeOut);
        send(gateway::kDisableAnalyzerMode, 202);
        break;
    case 202:
        if (auto answer = m_line.takeAnswer())
            Step_Scan = *answer == gateway::analyzerDisabledReply() ? 203 : 201;
        else if (timedOut())
            Step_Scan = 201;
        break;
    case 203:
        m_line.release();
        FInScan = false;
        if (!m_settings.SaveXMLFile.isEmpty()) {
            const FileResult written = Save_XML_File_DLL(m_settings.SaveXMLFile, Slave_MBus_List);
            if (m_report)
                m_report(written);
        }
        if (Enable_Send_In_Last_Step)
            notify(3, 0, 0, Type_To_Send_In_Last_Step);
        break;
    default:
        if (Step_Scan >= 108 && Step_Scan <= 122 && Step_Scan % 2 == 0) {
            digitStep((Step_Scan - 108) / 2 + 1);
        } else if (Step_Scan >= 109 && Step_Scan <= 123) {
            const int k = (Step_Scan - 109) / 2 + 1;
            digitWait(k, m_line.takeAnswer());
        } else {
            // No state of the table: close down rather than spin.
            Step_Scan = 200;
        }
        break;
    }
}

}  // namespace zfw
