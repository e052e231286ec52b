#pragma once
// The wired scan as a state machine: one call of Scan_Decode is one step. It talks to the
// line through IScanLine and reads time through IScanClock, so it runs the same under the
// engine thread and, synchronously, in a test with a simulated line and clock.
//
// Ownership: the machine owns its slave list and decoder; it is used by one thread at a time
// (the engine thread). Callbacks run on that thread, inside Scan_Decode.

#include "common/ProjectXml.h"
#include "editors/metering/core/MBusDecoder.h"
#include "editors/metering/scan/MBusGatewayProtocol.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace zfw {

enum class TScanType { saPrimaryAddress, saSecondaryAddress };
enum class TSelectHard { shEthernet, shSerial };

// The engine's way to the line: the gateway's command port over UDP.
class IScanLine {
public:
    virtual ~IScanLine() = default;
    // Sends one datagram (a text command or a frame); answers to earlier sends still waiting
    // are dropped first.
    virtual void send(const QByteArray& data) = 0;
    // The oldest answer not yet taken.
    virtual std::optional<QByteArray> takeAnswer() = 0;
    // The scan is over: the listener may be released.
    virtual void release() = 0;
};

// A millisecond tick that wraps at 2^32, and a pause.
class IScanClock {
public:
    virtual ~IScanClock() = default;
    virtual quint32 tick() = 0;
    virtual void sleep(int milliseconds) = 0;
    // The date and time a wireless telegram is filed under.
    virtual QDateTime dateTime() = 0;
};

// The arguments of Start_Scan.
struct TWiredScanSettings {
    TScanType ScanType = TScanType::saPrimaryAddress;
    TSelectHard Select_Hardware = TSelectHard::shEthernet;
    QString IP_COM;
    qint32 Baudrate = 2400;
    qint32 Parity = 1;
    bool App_Reset = false;
    bool SND_NKE = false;
    qint32 Cut_After = 0;
    bool Fix_C_Field = false;
    quint8 Fix_C_Field_Value = 0;
    bool RemoteTimeout = false;
    qint32 App_Reset_Byte = -1;
    // The scan report written when the scan ends; empty for none.
    QString SaveXMLFile;
};

class TWiredScanMachine {
public:
    // kind, address, found, scan kind, as the scan window's progress list expects them.
    using ProgressCallback = std::function<void(int, int, int, int)>;
    // A copy of a meter just read completely, for the window's result list.
    using SlaveCallback = std::function<void(std::shared_ptr<const TSlave_MBus>)>;
    // The scan report was written (ok) or could not be (message says why).
    using ReportCallback = std::function<void(const FileResult&)>;

    TWiredScanMachine(IScanLine& line, IScanClock& clock, ProgressCallback progress,
                      SlaveCallback slaveRead = {}, ReportCallback report = {});

    // Takes the settings and enters state 0. The caller refuses a start during a scan.
    void begin(const TWiredScanSettings& settings);
    // One step of the state machine; does nothing when no scan runs.
    void Scan_Decode();

    void Stop_Scan() { FStopScan = true; }
    void Abort_Scan() { FAbortScan = true; }

    bool inScan() const { return FInScan; }
    // -1 before the first scan, 1 running or ended normally, 2 a wrong or missing reply.
    int result() const { return FResult; }
    int step() const { return Step_Scan; }
    // True while the machine waits for an answer (the engine may then wait for a wake-up).
    bool waiting() const;
    const TSlaveMBusList& slaves() const { return Slave_MBus_List; }
    void clearSlaves() { Slave_MBus_List.clear(); }

private:
    void send(const QByteArray& data, int nextState);
    bool timedOut() { return Check_TimeOut(Start_Send, m_clock.tick(), TimeOut_Calc); }
    void notify(int kind, int address, int found, int scanKind);
    // Decodes a valid long frame into Index_Device; false when the decoder refused it.
    bool decodeFrame(const QByteArray& frame, bool& complete);
    void digitStep(int k);
    void digitWait(int k, const std::optional<QByteArray>& answer);
    CFieldOptions cField() const { return {m_settings.Fix_C_Field, m_settings.Fix_C_Field_Value}; }
    static int digitStepState(int k) { return 108 + 2 * (k - 1); }

    IScanLine& m_line;
    IScanClock& m_clock;
    ProgressCallback m_progress;
    SlaveCallback m_slaveRead;
    ReportCallback m_report;
    TMBusDecoder m_decoder;
    TWiredScanSettings m_settings;

    bool FInScan = false;
    int FResult = -1;
    bool FStopScan = false;
    bool FAbortScan = false;
    int Step_Scan = 0;
    qint32 Add_TimeOut = 0;
    qint32 TimeOut_Calc = 0;
    quint32 Start_Send = 0;
    int ID_Dev_Primary = -1;
    bool ID_Dev_Found = false;
    int Num_Frame_Read = 0;
    int Index_Device = -1;
    SearchDigits m_digits{};
    int Sec_Add_Next_Step = 108;
    int Count_Disable_Analyzer = 0;
    bool Enable_Send_In_Last_Step = false;
    int Type_To_Send_In_Last_Step = 0;
    TSlaveMBusList Slave_MBus_List;
};

}  // namespace zfw
