#include "config/core/UParGenData.h"

#include "common/TextUtil.h"

namespace zfw {

namespace {

// The item texts differ from region to region in their blanks and tabs. Stored files hold
// them exactly so and every lookup compares them exactly, so they must not be tidied.
constexpr LoRaDataRate kAS923[] = {
    {"0\t- LoRa: SF12/125kHz 250 [bit/s]", 59},   {"1\t- LoRa: SF11/125kHz 440 [bit/s]", 59},
    {"2\t- LoRa: SF10/125kHz 980 [bit/s]", 59},   {"3\t- LoRa: SF9/125kHz 1760 [bit/s]", 123},
    {"4\t- LoRa: SF8/125kHz 3125 [bit/s]", 230},  {"5\t- LoRa: SF7/125kHz 5470 [bit/s]", 230},
    {"6\t- LoRa: SF7/250kHz 11000 [bit/s]", 230}, {"7\t- FSK: 50kbps 50000 [bit/s]", 230},
};

constexpr LoRaDataRate kAU915[] = {
    {"0  - LoRa: SF12/125kHz 250 [bit/s]", 51},   {"1  - LoRa: SF11/125kHz 440 [bit/s]", 51},
    {"2  - LoRa: SF10/125kHz 980 [bit/s]", 51},   {"3  - LoRa: SF9/125kHz 1760 [bit/s]", 115},
    {"4  - LoRa: SF8/125kHz 3125 [bit/s]", 222},  {"5  - LoRa: SF7/125kHz 5470 [bit/s]", 222},
    {"6  - LoRa: SF8/500kHz 12500 [bit/s]", 222}, {"8  - LoRa: SF12/500kHz 980 [bit/s]", 33},
    {"9  - LoRa: SF11/500kHz 1760 [bit/s]", 109}, {"10 - LoRa: SF10/500kHz 3900 [bit/s]", 222},
    {"11 - LoRa: SF9/500kHz 7000 [bit/s]", 222},  {"12 - LoRa: SF8/500kHz 12500 [bit/s]", 222},
    {"13 - LoRa: SF7/500kHz 21900 [bit/s]", 222},
};

constexpr LoRaDataRate kEU868[] = {
    {"0 -\tLoRa: SF12/125kHz 250 [bit/s]", 51},  {"1 -\tLoRa: SF11/125kHz 440 [bit/s]", 51},
    {"2 -\tLoRa: SF10/125kHz 980 [bit/s]", 51},  {"3 -\tLoRa: SF9/125kHz 1760 [bit/s]", 115},
    {"4 -\tLoRa: SF8/125kHz 3125 [bit/s]", 222}, {"5 -\tLoRa: SF7/125kHz 5470 [bit/s]", 222},
    {"6 - LoRa: SF7/250kHz 11000 [bit/s]", 222}, {"7 - FSK: 50kbps 50000 [bit/s]", 222},
};

constexpr LoRaDataRate kKR920[] = {
    {"0 - LoRa: SF12/125kHz 250 [bit/s]", 51},   {"1 -\tLoRa: SF11/125kHz 440 [bit/s]", 51},
    {"2 -\tLoRa: SF10/125kHz 980 [bit/s]", 51},  {"3 -\tLoRa: SF9/125kHz 1760 [bit/s]", 115},
    {"4 -\tLoRa: SF8/125kHz 3125 [bit/s]", 222}, {"5 -\tLoRa: SF7/125kHz 5470 [bit/s]", 222},
};

constexpr LoRaDataRate kIN865[] = {
    {"0 - LoRa: SF12/125kHz 250 [bit/s]", 51},   {"1 -\tLoRa: SF11/125kHz 440 [bit/s]", 51},
    {"2 -\tLoRa: SF10/125kHz 980 [bit/s]", 51},  {"3 -\tLoRa: SF9/125kHz 1760 [bit/s]", 115},
    {"4 -\tLoRa: SF8/125kHz 3125 [bit/s]", 222}, {"5 -\tLoRa: SF7/125kHz 5470 [bit/s]", 222},
    {"7 -\tFSK: 50kbps 50000 [bit/s]", 222},
};

constexpr LoRaDataRate kUS915[] = {
    {"0  -\tLoRa: SF10/125kHz 980 [bit/s]", 11},   {"1  -\tLoRa: SF9/125kHz 1760 [bit/s]", 53},
    {"2  -\tLoRa: SF8/125kHz 3125 [bit/s]", 125},  {"3  -\tLoRa: SF7/125kHz 5470 [bit/s]", 242},
    {"4  -\tLoRa: SF8/500kHz 12500 [bit/s]", 242}, {"8  -\tLoRa: SF12/500kHz 980 [bit/s]", 33},
    {"9  -\tLoRa: SF11/500kHz 1760 [bit/s]", 109}, {"10 - LoRa: SF10/500kHz 3900 [bit/s]", 222},
    {"11 - LoRa: SF9/500kHz 7000 [bit/s]", 222},   {"12 - LoRa: SF8/500kHz 12500 [bit/s]", 222},
    {"13 - LoRa: SF7/500kHz 21900 [bit/s]", 222},
};

constexpr LoRaDataRate kUS915Hybrid[] = {
    {"0  - LoRa: SF10/125kHz 980 [bit/s]", 11},   {"1  - LoRa: SF9/125kHz 1760 [bit/s]", 53},
    {"2  - LoRa: SF8/125kHz 3125 [bit/s]", 125},  {"3  - LoRa: SF7/125kHz 5470 [bit/s]", 242},
    {"4  - LoRa: SF8/500kHz 12500 [bit/s]", 242}, {"8  - LoRa: SF12/500kHz 980 [bit/s]", 33},
    {"9  - LoRa: SF11/500kHz 1760 [bit/s]", 109}, {"10 - LoRa: SF10/500kHz 3900 [bit/s]", 222},
    {"11 - LoRa: SF9/500kHz 7000 [bit/s]", 222},  {"12 - LoRa: SF8/500kHz 12500 [bit/s]", 222},
    {"13 - LoRa: SF7/500kHz 21900 [bit/s]", 222},
};

constexpr LoRaRegion kRegions[] = {
    {"AS923", kAS923},
    {"AU915", kAU915},
    {"EU868", kEU868},
    {"KR920", kKR920},
    {"IN865", kIN865},
    {"US915", kUS915},
    {"US915-Hybrid", kUS915Hybrid},
};

constexpr char kABP[] = "Activation by Personalization [ABP]";
constexpr char kOTAA[] = "Over-the-Air Activation [OTAA]";

// Data rate of a project without ParGen.xml: the seventh AS923 item.
constexpr int kNoFileDataRateIndex = 6;

constexpr ParGenElement kElements[] = {
    {PG::Eth_Conn_Device_Name, "Eth_Conn_Device_Name", PGKind::Text, "", ""},
    {PG::Eth_Conn_DHCP_Cable, "Eth_Conn_DHCP_Cable", PGKind::Check, "0", "0"},
    {PG::Eth_Conn_DHCP_WiFi, "Eth_Conn_DHCP_WiFi", PGKind::Check, "0", "0"},
    {PG::Eth_Conn_Enable_DNS, "Eth_Conn_Enable_DNS", PGKind::Check, "0", "0"},
    {PG::Eth_Conn_Primary_DNS1, "Eth_Conn_Primary_DNS1", PGKind::Text, "8", "8"},
    {PG::Eth_Conn_Primary_DNS2, "Eth_Conn_Primary_DNS2", PGKind::Text, "8", "8"},
    {PG::Eth_Conn_Primary_DNS3, "Eth_Conn_Primary_DNS3", PGKind::Text, "8", "8"},
    {PG::Eth_Conn_Primary_DNS4, "Eth_Conn_Primary_DNS4", PGKind::Text, "8", "8"},
    {PG::Eth_Conn_Secondary_DNS1, "Eth_Conn_Secondary_DNS1", PGKind::Text, "8", "8"},
    {PG::Eth_Conn_Secondary_DNS2, "Eth_Conn_Secondary_DNS2", PGKind::Text, "8", "8"},
    {PG::Eth_Conn_Secondary_DNS3, "Eth_Conn_Secondary_DNS3", PGKind::Text, "4", "4"},
    {PG::Eth_Conn_Secondary_DNS4, "Eth_Conn_Secondary_DNS4", PGKind::Text, "4", "4"},
    {PG::LoRa_RF_Band, "LoRa_RF_Band", PGKind::List, "AS923", "AS923"},
    {PG::LoRa_Network_Type, "LoRa_Network_Type", PGKind::List, "Private", "Private"},
    {PG::LoRa_Adaptive_DataRate, "LoRa_Adaptive_DataRate", PGKind::Check, "0", "0"},
    // Data rate and payload depend on the region; see readParGenValues.
    {PG::LoRa_DataRate, "LoRa_DataRate", PGKind::List, "", ""},
    {PG::LoRa_Transmission_Type, "LoRa_Transmission_Type", PGKind::List, "Unconfirmed",
     "Unconfirmed"},
    {PG::LoRa_Payload_Size, "LoRa_Payload_Size", PGKind::Text, "", ""},
    {PG::LoRa_Activation_Method, "LoRa_Activation_Method", PGKind::List, kABP, kABP},
    {PG::LoRa_Device_Address, "LoRa_Device_Address", PGKind::Text, "", ""},
    {PG::LoRa_JoinEUI, "LoRa_JoinEUI", PGKind::Text, "", ""},
    {PG::LoRa_Network_Session_Key, "LoRa_Network_Session_Key", PGKind::Text, "", ""},
    {PG::LoRa_Application_Session_Key, "LoRa_Application_Session_Key", PGKind::Text, "", ""},
    {PG::LoRa_Application_Key, "LoRa_Application_Key", PGKind::Text, "", ""},
    {PG::LoRa_FPort, "LoRa_FPort", PGKind::List, "Fixed", "Fixed"},
    {PG::LoRa_Frequency_SubBand, "LoRa_Frequency_SubBand", PGKind::List, "1", "1"},
    {PG::LoRa_LNCHECK, "LoRa_LNCHECK", PGKind::Text, "5", "5"},
    {PG::S7_Protocol_IP1, "S7_Protocol_IP1", PGKind::Text, "192", "192"},
    {PG::S7_Protocol_IP2, "S7_Protocol_IP2", PGKind::Text, "168", "168"},
    {PG::S7_Protocol_IP3, "S7_Protocol_IP3", PGKind::Text, "0", "0"},
    {PG::S7_Protocol_IP4, "S7_Protocol_IP4", PGKind::Text, "5", "5"},
    {PG::S7_Protocol_SM1, "S7_Protocol_SM1", PGKind::Text, "255", "255"},
    {PG::S7_Protocol_SM2, "S7_Protocol_SM2", PGKind::Text, "255", "255"},
    {PG::S7_Protocol_SM3, "S7_Protocol_SM3", PGKind::Text, "255", "255"},
    {PG::S7_Protocol_SM4, "S7_Protocol_SM4", PGKind::Text, "0", "0"},
    {PG::S7_Protocol_GAT1, "S7_Protocol_GAT1", PGKind::Text, "192", "192"},
    {PG::S7_Protocol_GAT2, "S7_Protocol_GAT2", PGKind::Text, "168", "168"},
    {PG::S7_Protocol_GAT3, "S7_Protocol_GAT3", PGKind::Text, "0", "0"},
    {PG::S7_Protocol_GAT4, "S7_Protocol_GAT4", PGKind::Text, "1", "1"},
    {PG::S7_Protocol_EN_GAT, "S7_Protocol_EN_GAT", PGKind::Check, "0", "0"},
};
static_assert(std::size(kElements) == kParGenElementCount);

constexpr bool elementsInOrder()
{
    for (int i = 0; i < kParGenElementCount; ++i)
        if (static_cast<int>(kElements[i].id) != i)
            return false;
    return true;
}
static_assert(elementsInOrder());

QStringList itemsOf(std::initializer_list<const char*> texts)
{
    QStringList items;
    for (const char* t : texts)
        items.append(QString::fromUtf8(t));
    return items;
}

// A range check of one integer field, as Controllo_Dati runs them.
struct RangeCheck {
    PG field;
    int low;
    int high;
    int textNumber;
};

bool inRange(const QString& text, int low, int high)
{
    // A text that is no integer counts as -1, which every range here refuses.
    const int v = strToIntDef(text, -1);
    return v >= low && v <= high;
}

std::optional<ParGenFault> firstOutOfRange(const ParGenValues& values,
                                           std::span<const RangeCheck> checks)
{
    for (const RangeCheck& c : checks)
        if (!inRange(values[c.field], c.low, c.high))
            return ParGenFault{c.textNumber, 0};
    return std::nullopt;
}

constexpr RangeCheck kDnsChecks[] = {
    {PG::Eth_Conn_Primary_DNS1, 0, 255, 2925},   {PG::Eth_Conn_Primary_DNS2, 0, 255, 2926},
    {PG::Eth_Conn_Primary_DNS3, 0, 255, 2927},   {PG::Eth_Conn_Primary_DNS4, 0, 255, 2928},
    {PG::Eth_Conn_Secondary_DNS1, 0, 255, 2929}, {PG::Eth_Conn_Secondary_DNS2, 0, 255, 2930},
    {PG::Eth_Conn_Secondary_DNS3, 0, 255, 2931}, {PG::Eth_Conn_Secondary_DNS4, 0, 255, 2932},
};

constexpr RangeCheck kS7AddressChecks[] = {
    {PG::S7_Protocol_IP1, 0, 255, 2801}, {PG::S7_Protocol_IP2, 0, 255, 2802},
    {PG::S7_Protocol_IP3, 0, 255, 2803}, {PG::S7_Protocol_IP4, 0, 255, 2804},
    {PG::S7_Protocol_SM1, 0, 255, 2805}, {PG::S7_Protocol_SM2, 0, 255, 2806},
    {PG::S7_Protocol_SM3, 0, 255, 2807}, {PG::S7_Protocol_SM4, 0, 255, 2808},
};

constexpr RangeCheck kS7GatewayChecks[] = {
    {PG::S7_Protocol_GAT1, 0, 255, 2809},
    {PG::S7_Protocol_GAT2, 0, 255, 2810},
    {PG::S7_Protocol_GAT3, 0, 255, 2811},
    {PG::S7_Protocol_GAT4, 0, 255, 2812},
};

constexpr RangeCheck kLnCheck[] = {{PG::LoRa_LNCHECK, 5, 60, 2935}};

struct ChoiceCheck {
    PG field;
    int textNumber;
};

constexpr ChoiceCheck kLoRaChoiceChecks[] = {
    {PG::LoRa_RF_Band, 493},
    {PG::LoRa_Network_Type, 494},
    {PG::LoRa_DataRate, 495},
    {PG::LoRa_Transmission_Type, 496},
};

struct HexCheck {
    PG field;
    int textNumber;
};

}  // namespace

std::span<const LoRaRegion> loraRegions() { return kRegions; }

const LoRaRegion* findLoRaRegion(QStringView name)
{
    for (const LoRaRegion& r : kRegions)
        if (name == QLatin1String(r.name))
            return &r;
    return nullptr;
}

QStringList loraDataRateItems(QStringView region)
{
    QStringList items;
    if (const LoRaRegion* r = findLoRaRegion(region))
        for (const LoRaDataRate& d : r->rates)
            items.append(QString::fromLatin1(d.text));
    return items;
}

int maxLoRaPayload(QStringView region, QStringView dataRate)
{
    if (const LoRaRegion* r = findLoRaRegion(region))
        for (const LoRaDataRate& d : r->rates)
            if (dataRate == QLatin1String(d.text))
                return d.maxPayload;
    return 0;
}

QStringList loraRegionItems()
{
    QStringList items;
    for (const LoRaRegion& r : kRegions)
        items.append(QString::fromLatin1(r.name));
    return items;
}

QStringList loraNetworkTypeItems() { return itemsOf({"Private", "Public"}); }
QStringList loraTransmissionTypeItems() { return itemsOf({"Unconfirmed", "Confirmed"}); }
QStringList loraActivationMethodItems() { return itemsOf({kABP, kOTAA}); }
QStringList loraFPortItems() { return itemsOf({"Fixed", "Variable"}); }
QStringList loraSubBandItems() { return itemsOf({"1", "2", "3", "4", "5", "6", "7", "8"}); }

std::span<const ParGenElement> parGenElements() { return kElements; }

const ParGenElement& parGenElement(PG id) { return kElements[static_cast<int>(id)]; }

QStringList parGenListItems(PG id)
{
    switch (id) {
    case PG::LoRa_RF_Band: return loraRegionItems();
    case PG::LoRa_Network_Type: return loraNetworkTypeItems();
    case PG::LoRa_Transmission_Type: return loraTransmissionTypeItems();
    case PG::LoRa_Activation_Method: return loraActivationMethodItems();
    case PG::LoRa_FPort: return loraFPortItems();
    case PG::LoRa_Frequency_SubBand: return loraSubBandItems();
    default: return {};
    }
}

int findListItem(const QStringList& items, QStringView text)
{
    for (qsizetype i = 0; i < items.size(); ++i)
        if (QStringView(items.at(i)).compare(text, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

ParGenValues parGenNoFileValues()
{
    ParGenValues values;
    for (const ParGenElement& e : kElements)
        values[e.id] = QString::fromUtf8(e.noFileDefault);
    values[PG::LoRa_DataRate] =
        loraDataRateItems(values[PG::LoRa_RF_Band]).value(kNoFileDataRateIndex);
    values[PG::LoRa_Payload_Size] = QString::number(
        maxLoRaPayload(values[PG::LoRa_RF_Band], values[PG::LoRa_DataRate]));
    return values;
}

ParGenValues readParGenValues(const XmlElement& root)
{
    ParGenValues values;
    for (const ParGenElement& e : kElements) {
        const std::optional<QString> text = childText(root, QLatin1String(e.name));
        switch (e.kind) {
        case PGKind::Text: values[e.id] = text.value_or(QString::fromUtf8(e.missingDefault)); break;
        case PGKind::Check:
            values[e.id] = childChecked(root, QLatin1String(e.name)) ? QStringLiteral("1")
                                                                     : QStringLiteral("0");
            break;
        case PGKind::List: {
            if (e.id == PG::LoRa_DataRate) {
                // Looked up in the list of the region just applied; first item otherwise.
                const QStringList items = loraDataRateItems(values[PG::LoRa_RF_Band]);
                const int i = text ? findListItem(items, *text) : -1;
                values[e.id] = items.value(i < 0 ? 0 : i);
                break;
            }
            const QStringList items = parGenListItems(e.id);
            if (!text) {
                values[e.id] = QString::fromUtf8(e.missingDefault);
                break;
            }
            // No matching item leaves the list without a selection, which reads as empty.
            values[e.id] = items.value(findListItem(items, *text));
            break;
        }
        }
    }
    // The Wi-Fi DHCP box belongs to models with a Wi-Fi side; this one always writes "0".
    values[PG::Eth_Conn_DHCP_WiFi] = QStringLiteral("0");
    // The stored payload is never trusted: it follows the region and data rate.
    values[PG::LoRa_Payload_Size] = QString::number(
        maxLoRaPayload(values[PG::LoRa_RF_Band], values[PG::LoRa_DataRate]));
    return values;
}

ParGenLoad loadParGenValues(const QString& path)
{
    const ProjectXmlLoad load = loadProjectXml(path);
    ParGenLoad out;
    out.status = load.status;
    out.message = load.message;
    out.values = load.ok() ? readParGenValues(load.root) : parGenNoFileValues();
    return out;
}

ProjectXmlWriter buildParGenXml(const ParGenValues& values)
{
    ProjectXmlWriter doc(QStringLiteral("Par_Gen"));
    for (const ParGenElement& e : kElements)
        doc.root().addTextChild(QLatin1String(e.name), values[e.id]);
    return doc;
}

FileResult saveParGenValues(const QString& path, const ParGenValues& values)
{
    return buildParGenXml(values).save(path);
}

bool isHexText(QStringView text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const bool hex = (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F')
                         || (u >= u'a' && u <= u'f');
        if (!hex)
            return false;
    }
    return true;
}

std::optional<ParGenFault> checkParGenValues(const ParGenValues& values)
{
    if (values.checked(PG::Eth_Conn_Enable_DNS))
        if (auto f = firstOutOfRange(values, kDnsChecks))
            return f;

    for (const ChoiceCheck& c : kLoRaChoiceChecks)
        if (trimBlanks(values[c.field]).isEmpty())
            return ParGenFault{c.textNumber, 0};

    const int maxPayload = maxLoRaPayload(values[PG::LoRa_RF_Band], values[PG::LoRa_DataRate]);
    const int payload = strToIntDef(values[PG::LoRa_Payload_Size], -1);
    if (payload < 1 || payload > maxPayload)
        return ParGenFault{497, maxPayload};

    if (trimBlanks(values[PG::LoRa_Activation_Method]).isEmpty())
        return ParGenFault{499, 0};

    // Mended: a DevAddr, JoinEUI or key with a blank or another non-hexadecimal character
    // used to be saved, and the image compiler silently turned each such digit pair into 0,
    // so the device joined with a different key than the one shown. Only the fields that the
    // chosen activation method sends are refused; an empty field is still allowed.
    const bool otaa = findListItem(loraActivationMethodItems(), values[PG::LoRa_Activation_Method])
                      == 1;
    static constexpr HexCheck kAbpHex[] = {
        {PG::LoRa_JoinEUI, kTextJoinEUINotHex},
        {PG::LoRa_Device_Address, kTextDevAddrNotHex},
        {PG::LoRa_Network_Session_Key, kTextNwkSKeyNotHex},
        {PG::LoRa_Application_Session_Key, kTextAppSKeyNotHex},
    };
    static constexpr HexCheck kOtaaHex[] = {
        {PG::LoRa_JoinEUI, kTextJoinEUINotHex},
        {PG::LoRa_Application_Key, kTextAppKeyNotHex},
    };
    for (const HexCheck& c :
         otaa ? std::span<const HexCheck>(kOtaaHex) : std::span<const HexCheck>(kAbpHex))
        if (!isHexText(values[c.field]))
            return ParGenFault{c.textNumber, 0};

    if (auto f = firstOutOfRange(values, kLnCheck))
        return f;
    if (auto f = firstOutOfRange(values, kS7AddressChecks))
        return f;
    if (values.checked(PG::S7_Protocol_EN_GAT))
        if (auto f = firstOutOfRange(values, kS7GatewayChecks))
            return f;
    return std::nullopt;
}

QString parGenFaultMessage(const ParGenFault& fault, const QStringList& languageTable)
{
    QString text = languageTable.value(fault.textNumber);
    if (fault.textNumber == 497)
        text.replace(QLatin1String("%d"), QString::number(fault.bound));
    return text;
}

}  // namespace zfw
