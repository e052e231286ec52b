#pragma once
// General parameters of the gateway without any window: the LoRaWAN region and data-rate
// lists with their payload limits, the 40 values of ParGen.xml with their defaults, reading
// and writing the file, and the checks that decide what may be saved.

#include "common/ProjectXml.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>
#include <span>

namespace zfw {

// ---- LoRaWAN regions and data rates -------------------------------------------------------

struct LoRaDataRate {
    const char* text;  // exact item text: blanks and tabs matter
    int maxPayload;    // maximum application payload in bytes
};

struct LoRaRegion {
    const char* name;
    std::span<const LoRaDataRate> rates;
};

// The seven regions in list order (AS923, AU915, EU868, KR920, IN865, US915, US915-Hybrid).
std::span<const LoRaRegion> loraRegions();
// The region named exactly name; null for any other text.
const LoRaRegion* findLoRaRegion(QStringView name);
// Item texts of the region's data-rate list; empty for an unknown region.
QStringList loraDataRateItems(QStringView region);
// Maximum payload of the region's data rate whose item text equals dataRate exactly;
// 0 for an unknown region or a text that is none of its items.
int maxLoRaPayload(QStringView region, QStringView dataRate);

// Fixed item texts of the other lists of the LoRaWAN panel.
QStringList loraRegionItems();
QStringList loraNetworkTypeItems();
QStringList loraTransmissionTypeItems();
QStringList loraActivationMethodItems();
QStringList loraFPortItems();
QStringList loraSubBandItems();

// ---- The values of ParGen.xml --------------------------------------------------------------

// The elements in file order.
enum class PG : int {
    Eth_Conn_Device_Name,
    Eth_Conn_DHCP_Cable,
    Eth_Conn_DHCP_WiFi,
    Eth_Conn_Enable_DNS,
    Eth_Conn_Primary_DNS1,
    Eth_Conn_Primary_DNS2,
    Eth_Conn_Primary_DNS3,
    Eth_Conn_Primary_DNS4,
    Eth_Conn_Secondary_DNS1,
    Eth_Conn_Secondary_DNS2,
    Eth_Conn_Secondary_DNS3,
    Eth_Conn_Secondary_DNS4,
    LoRa_RF_Band,
    LoRa_Network_Type,
    LoRa_Adaptive_DataRate,
    LoRa_DataRate,
    LoRa_Transmission_Type,
    LoRa_Payload_Size,
    LoRa_Activation_Method,
    LoRa_Device_Address,
    LoRa_JoinEUI,
    LoRa_Network_Session_Key,
    LoRa_Application_Session_Key,
    LoRa_Application_Key,
    LoRa_FPort,
    LoRa_Frequency_SubBand,
    LoRa_LNCHECK,
    S7_Protocol_IP1,
    S7_Protocol_IP2,
    S7_Protocol_IP3,
    S7_Protocol_IP4,
    S7_Protocol_SM1,
    S7_Protocol_SM2,
    S7_Protocol_SM3,
    S7_Protocol_SM4,
    S7_Protocol_GAT1,
    S7_Protocol_GAT2,
    S7_Protocol_GAT3,
    S7_Protocol_GAT4,
    S7_Protocol_EN_GAT,
    Count
};

inline constexpr int kParGenElementCount = static_cast<int>(PG::Count);

enum class PGKind { Text, Check, List };

struct ParGenElement {
    PG id;
    const char* name;
    PGKind kind;
    const char* missingDefault;  // taken when the element is absent from an existing file
    const char* noFileDefault;   // taken when there is no file
};

// The 40 elements in file order.
std::span<const ParGenElement> parGenElements();
const ParGenElement& parGenElement(PG id);

// Item texts of the list that holds element id (for PGKind::List); the data-rate list
// depends on the region and is not covered here.
QStringList parGenListItems(PG id);

// What the editor's controls hold, one text per element: an edit's text, a list's selected
// item (empty when none is selected), "1"/"0" for a check box.
struct ParGenValues {
    std::array<QString, kParGenElementCount> v;

    QString& operator[](PG id) { return v[static_cast<int>(id)]; }
    const QString& operator[](PG id) const { return v[static_cast<int>(id)]; }
    bool checked(PG id) const { return (*this)[id] == QLatin1String("1"); }
    bool operator==(const ParGenValues&) const = default;
};

// The values shown when the project has no ParGen.xml.
ParGenValues parGenNoFileValues();

// Reads the values from a loaded document's root the way the editor applies them: texts as
// they stand, check boxes checked only by exactly "1", list texts matched to an item with
// letter case ignored (no match leaves the list empty), the data rate looked up in the
// region's list (first item when it is missing or matches none), the Wi-Fi DHCP box never
// read, and the payload recomputed from region and data rate. A null root reads as an
// existing file without elements.
ParGenValues readParGenValues(const XmlElement& root);

// ParGen.xml read from a path, as the editor opens it.
struct ParGenLoad {
    ProjectXmlLoad::Status status = ProjectXmlLoad::Status::Missing;
    // The file's values; parGenNoFileValues() when the file is missing or cannot be read.
    ParGenValues values;
    QString message;  // why the file could not be read: the file, and line and column

    bool ok() const { return status == ProjectXmlLoad::Status::Ok; }
    bool missing() const { return status == ProjectXmlLoad::Status::Missing; }
};

ParGenLoad loadParGenValues(const QString& path);

// Writes values to path as the editor does (buildParGenXml), replacing the file atomically.
FileResult saveParGenValues(const QString& path, const ParGenValues& values);

// Selects the item of items that equals text with letter case ignored; -1 when none does.
int findListItem(const QStringList& items, QStringView text);

// The document as the editor writes it: root "Par_Gen", the 40 elements in file order.
ProjectXmlWriter buildParGenXml(const ParGenValues& values);

// ---- Validation ----------------------------------------------------------------------------

// The first failing check: the language-table number of its message and, for the payload
// message, the bound put in place of "%d".
struct ParGenFault {
    int textNumber = 0;
    int bound = 0;
    bool operator==(const ParGenFault&) const = default;
};

// Language numbers of the messages added for the LoRaWAN hexadecimal fields and the file.
inline constexpr int kTextDevAddrNotHex = 990;
inline constexpr int kTextJoinEUINotHex = 991;
inline constexpr int kTextNwkSKeyNotHex = 992;
inline constexpr int kTextAppSKeyNotHex = 993;
inline constexpr int kTextAppKeyNotHex = 994;
inline constexpr int kTextFileNotRead = 995;
inline constexpr int kTextOverwriteUnread = 996;

// True when text is empty or holds only the digits 0-9 and the letters A-F/a-f.
bool isHexText(QStringView text);

// The checks of OK in their order; nullopt when everything may be saved.
std::optional<ParGenFault> checkParGenValues(const ParGenValues& values);

// The message of a fault taken from the language table ("%d" replaced by the bound); empty
// when the table has no such text.
QString parGenFaultMessage(const ParGenFault& fault, const QStringList& languageTable);

}  // namespace zfw
