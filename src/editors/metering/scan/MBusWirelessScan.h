#pragma once
// The wireless scan as a state machine: one call of Scan_Decode_Wireless is one step. It puts
// the gateway into configuration mode, asks for the radio module, configures it (AT commands
// for a Telit module, a binary command set for a RadioCrafts module, whose key table it also
// clears), then passes every telegram the module hears to the wireless intake. A key entered
// for a meter is loaded into the module and the machine returns to receiving.
//
// Ownership: the machine owns its meter list, its intake and its decoder; it is used by one
// thread at a time (the engine thread). Callbacks run on that thread, inside the step.

#include "common/ProjectXml.h"
#include "editors/metering/core/WMBusIntake.h"
#include "editors/metering/scan/MBusWiredScan.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace zfw {

// The arguments of Start_Scan_Wireless.
struct TWirelessScanSettings {
    TSelectHard Select_Hardware = TSelectHard::shEthernet;
    QString IP_COM;
    quint16 Port = 0;                // the gateway's wireless port
    qint32 wMBus_Mode = 1;           // 1 S, 5 T, 11 C, 15 N1, 17 N2
    qint32 wMBus_Radio_Channel = 0;  // Telit channel index 0 to 8
    bool RemoteTimeout = false;
    // The notice carries the meter's position only, no copy of the meter.
    bool FromDLL = false;
    // The scan report written when the scan ends; empty for none.
    QString SaveXMLFile;
};

namespace radio {

inline constexpr int kModeS = 1;
inline constexpr int kModeT = 5;
inline constexpr int kModeC = 11;
inline constexpr int kModeN1 = 15;
inline constexpr int kModeN2 = 17;
// Key-table positions of a RadioCrafts module that receive keys.
inline constexpr int kRadioCraftsKeyPositions = 64;
// The module's prompt.
inline constexpr char kPrompt = '>';

// The reply of a Telit module to every command: "OK" and a carriage return.
QByteArray telitOk();
// The Telit receive modes 15 and 17 (N1, N2) skip three registers.
bool isNarrowBandMode(int mode);

}  // namespace radio

// RadioCrafts command blocks.
QByteArray Build_RadioCrafts_Config(int wMBusMode);
QByteArray Build_RadioCrafts_Erase_Key();
// The meter's application-layer address: identification bytes least significant first,
// manufacturer low and high byte, version, device type.
QByteArray Build_RadioCrafts_Address(const TSlave_wMBus& slave);
QByteArray Build_RadioCrafts_Key(const TSlave_wMBus& slave);

class TWirelessScanMachine {
public:
    // The meter's position and, unless the scan was started FromDLL, a copy of it.
    using SlaveNotice = std::function<void(int, std::shared_ptr<const TSlave_wMBus>)>;
    // The scan report was written (ok) or could not be (message says why).
    using ReportCallback = std::function<void(const FileResult&)>;

    TWirelessScanMachine(IScanLine& line, IScanClock& clock, SlaveNotice notice,
                         ReportCallback report = {});

    // Takes the settings and enters state 0. The caller refuses a start during a scan and
    // the serial variant.
    void begin(const TWirelessScanSettings& settings);
    // One step; does nothing when no scan runs.
    void Scan_Decode_Wireless();

    // Loads key into the radio module for the meter at index. False, changing nothing, when
    // the scan is not receiving, index names no meter, or a RadioCrafts key table is full.
    bool Insert_Wireless_Key(int index, const AesKey& key);
    void Stop_Scan() { FStopScan = true; }
    void Abort_Scan() { FAbortScan = true; }

    bool inScan() const { return FInScan; }
    int result() const { return FResult; }
    int step() const { return Step_Scan; }
    bool receiving() const { return Wireless_Receive_Message; }
    TRadioModule radioModule() const { return RadioModule; }
    // True while the machine waits for a reply or receives telegrams.
    bool waiting() const;
    const TSlaveWMBusList& slaves() const { return Slave_wMBus_List; }
    void clearSlaves() { Slave_wMBus_List.clear(); }
    // Datagrams heard while receiving whose length did not match their L field.
    int ignoredTelegrams() const { return m_ignored; }

private:
    enum class Expect { Exact, FirstPrompt, ConfigBlock, AnyOrTimeOut };
    struct Pending {
        Expect rule = Expect::Exact;
        QByteArray exact;
        int next = 0;
    };

    void send(const QByteArray& data, qint32 timeOut, Expect rule, int next, QByteArray exact = {});
    void sendTelit(const QByteArray& command, int next);
    void sendPrompted(const QByteArray& data, int next, Expect rule = Expect::Exact,
                      qint32 timeOut = -1);
    void awaitReply();
    void fail();
    void takeTelegrams();
    void telitStep();
    void radioCraftsStep();
    const TSlave_wMBus& keyedSlave() const;
    bool timedOut() { return Check_TimeOut(Start_Send, m_clock.tick(), TimeOut_Calc); }

    IScanLine& m_line;
    IScanClock& m_clock;
    SlaveNotice m_notice;
    ReportCallback m_report;
    TWMBusIntake m_intake;
    TWirelessScanSettings m_settings;

    bool FInScan = false;
    int FResult = -1;
    bool FStopScan = false;
    bool FAbortScan = false;
    int Step_Scan = 0;
    qint32 Add_TimeOut = 0;
    qint32 TimeOut_Calc = 0;
    quint32 Start_Send = 0;
    std::optional<Pending> m_pending;
    TRadioModule RadioModule = TRadioModule::rmTelit;
    bool Wireless_Receive_Message = false;
    AesKey Wireless_Key{};
    int Wireless_Key_Index = -1;
    int Index_Key_Send = 0;
    int Index_RadioCrafts_Erase_Position = 0;
    int Index_RadioCrafts_Position_Used = 1;
    int Count_Disable_Analyzer = 0;
    int m_ignored = 0;
    TSlaveWMBusList Slave_wMBus_List;
};

}  // namespace zfw
