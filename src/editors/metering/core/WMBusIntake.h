#pragma once
// Wireless M-Bus intake: a telegram heard by the gateway's radio module becomes (or updates)
// a TSlave_wMBus. Addresses, signal strength, decryption (security mode 5 behind an extended
// link layer, mode 7 behind an authentication and fragmentation layer), readability and the
// records. Window-free and thread-free: the scan engine calls it with the telegram, the
// meter list and the time, and notifies the window with what it returns.
//
// Every position is checked against the telegram's length: a field, layer or cipher text
// that lies outside it makes the telegram unreadable, never reads other bytes.

#include "common/ByteReader.h"
#include "editors/metering/core/MBusCrypto.h"
#include "editors/metering/core/MBusDecoder.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <span>
#include <vector>

namespace zfw {

enum class TRadioModule { rmTelit, rmRadioCrafts };

// One wireless meter heard during a scan; identified by its application-layer address.
class TSlave_wMBus {
public:
    quint8 Message_Type = 0;  // C field of the first telegram
    quint16 LLA_Manufacturer = 0;
    QString LLA_Manu_str;
    qint32 LLA_Address = 0;
    quint8 LLA_Version = 0;
    quint8 LLA_DeviceType = 0;
    quint16 ALA_Manufacturer = 0;
    QString ALA_Manu_str;
    qint32 ALA_Address = 0;
    quint8 ALA_Version = 0;
    quint8 ALA_DeviceType = 0;
    qint8 RSSI = 0;  // of the last telegram, in the radio module's scale
    QDateTime DateTime;
    bool Cripted = false;  // the last telegram's data could not be read
    bool Enable = true;
    bool Enable_Key = false;
    AesKey Key{};
    qint32 RadioCrafts_Ind_Tab_Decript = -1;
    std::vector<TVariable_MBus> List_Var;  // records of the last readable telegram

    void Cancel_Var() { List_Var.clear(); }
};

using TSlaveWMBusList = std::vector<std::shared_ptr<TSlave_wMBus>>;

// What one telegram changed.
struct WirelessIntake {
    // Position of the meter in the list; -1 when the telegram was refused (too short to hold
    // its addresses), and the list is unchanged.
    int index = -1;
    bool created = false;
    // A mode-7 decryption did not give 2Fh 2Fh: records, time and signal strength are kept.
    bool decryptFailed = false;
    // The records were replaced (and Cripted, DateTime and RSSI set).
    bool updated = false;
    // Why the telegram was refused, or where its records ended as malformed.
    std::optional<ParseFault> fault;
};

class TWMBusIntake {
public:
    explicit TWMBusIntake(QChar decimalSeparator = QChar(u'.'));

    // Processes one telegram: L, C, M (2), A (4), version, device type, CI, layers and
    // records, then the signal-strength byte (RadioCrafts: L + 1 bytes in all; Telit: L + 3).
    WirelessIntake Decode_Frame_Wireless(std::span<const std::uint8_t> telegram,
                                         TRadioModule module, TSlaveWMBusList& list,
                                         const QDateTime& now);

    // Position of the meter with this application-layer address; -1 when none.
    static int Find_Slave_Wireless(const TSlaveWMBusList& list, quint16 manufacturer, qint32 id,
                                   quint8 deviceType, quint8 version);
    // Pairs of hexadecimal digits to bytes; a pair that is no hexadecimal number gives 0, an
    // odd last digit is ignored.
    static QByteArray HexStr_To_Bin(const QString& text);

private:
    TMBusDecoder m_decoder;
    MBusAes m_aes;
};

}  // namespace zfw
