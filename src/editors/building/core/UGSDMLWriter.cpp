#include "editors/building/core/UGSDMLWriter.h"

#include "common/TextUtil.h"

#include <QDomDocument>

namespace zfw {

namespace {

QString escaped(const QString& v)
{
    QString out;
    out.reserve(v.size());
    for (QChar c : v) {
        switch (c.unicode()) {
        case u'&': out += QLatin1String("&amp;"); break;
        case u'<': out += QLatin1String("&lt;"); break;
        case u'>': out += QLatin1String("&gt;"); break;
        case u'"': out += QLatin1String("&quot;"); break;
        case u'\t': out += QLatin1String("&#9;"); break;
        case u'\n': out += QLatin1String("&#10;"); break;
        case u'\r': out += QLatin1String("&#13;"); break;
        default:
            // Other control characters cannot stand in XML 1.0 at all.
            if (c.unicode() < 0x20)
                out += u'?';
            else
                out += c;
        }
    }
    return out;
}

using Attrs = std::initializer_list<std::pair<const char*, QString>>;

class Lines {
public:
    QStringList out;
    int depth = 0;

    QString tag(const char* name, Attrs attrs) const
    {
        QString t = QStringLiteral("<") + QLatin1String(name);
        for (const auto& [k, v] : attrs)
            t += QStringLiteral(" %1=\"%2\"").arg(QLatin1String(k), escaped(v));
        return t;
    }
    void line(const QString& s) { out << QString(depth, u'\t') + s; }
    void open(const char* name, Attrs attrs = {})
    {
        line(tag(name, attrs) + u'>');
        ++depth;
    }
    void close(const char* name)
    {
        --depth;
        line(QStringLiteral("</%1>").arg(QLatin1String(name)));
    }
    void empty(const char* name, Attrs attrs = {})
    {
        line(tag(name, attrs) + QStringLiteral("/>"));
    }
    void text(const char* name, const QString& value)
    {
        line(QStringLiteral("<%1>%2</%1>").arg(QLatin1String(name), escaped(value)));
    }
};

QString s(const char* v) { return QString::fromUtf8(v); }

}  // namespace

GsdmlParams Read_GSDML_Param(const QByteArray& parGenXml)
{
    GsdmlParams p;
    p.GSDML_Name_Sta.clear();
    QDomDocument doc;
    if (!parGenXml.isEmpty() && doc.setContent(parGenXml)) {
        const QDomElement root = doc.documentElement();
        auto number = [&](const char* name, int& target) {
            const QDomElement e = root.firstChildElement(QLatin1String(name));
            if (!e.isNull())
                target = parseIntText(e.text()).value_or(target);
        };
        number("PROFINET_NB_IN", p.GSDML_Nb_In);
        number("PROFINET_NB_OUT", p.GSDML_Nb_Out);
        p.GSDML_Name_Sta = root.firstChildElement(QStringLiteral("PROFINET_NAME_STA")).text();
    }
    if (trimBlanks(p.GSDML_Name_Sta).isEmpty())
        p.GSDML_Name_Sta = QStringLiteral("SERIAL");
    return p;
}

QStringList buildGsdmlLines(const GsdmlParams& p)
{
    const QString ns = QStringLiteral("http://www.profibus.com/GSDML/2003/11/DeviceProfile");
    Lines x;
    x.out << QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")
          << QStringLiteral("<!-- A fieldbus integration example. -->");
    x.open("ISO15745Profile",
           {{"xmlns", ns},
            {"xmlns:xsi", s("http://www.w3.org/2001/XMLSchema-instance")},
            {"xsi:schemaLocation", ns + s(" ..\\xsd\\GSDML-DeviceProfile-v2.31.xsd")}});
    x.open("ProfileHeader");
    x.text("ProfileIdentification", s("PROFINET Device Profile"));
    x.text("ProfileRevision", s("1.00"));
    x.text("ProfileName", s("Device Profile for PROFINET Devices"));
    x.text("ProfileSource", s("PROFIBUS Nutzerorganisation e. V. (PNO)"));
    x.text("ProfileClassID", s("Device"));
    x.open("ISO15745Reference");
    x.text("ISO15745Part", s("4"));
    x.text("ISO15745Edition", s("1"));
    x.text("ProfileTechnology", s("GSDML"));
    x.close("ISO15745Reference");
    x.close("ProfileHeader");

    x.open("ProfileBody");
    x.open("DeviceIdentity", {{"VendorID", s("0x2B6E")}, {"DeviceID", s("0x05C7")}});
    x.empty("InfoText", {{"TextId", s("IDT_INFO_Device")}});
    x.empty("VendorName", {{"Value", s("Brenikcorp")}});
    x.close("DeviceIdentity");
    x.open("DeviceFunction");
    x.empty("Family", {{"MainFamily", s("Gateway")}, {"ProductFamily", s("GWK4R83")}});
    x.close("DeviceFunction");

    x.open("ApplicationProcess");
    x.open("DeviceAccessPointList");
    x.open("DeviceAccessPointItem", {{"PNIO_Version", s("V2.3")},
                                     {"RequiredSchemaVersion", s("V2.25")},
                                     {"ID", s("IDD_1")},
                                     {"PhysicalSlots", s("0..4")},
                                     {"ModuleIdentNumber", s("0x00000001")},
                                     {"MinDeviceInterval", s("64")},
                                     {"ImplementationType", p.GSDML_Name_Sta},
                                     {"DNS_CompatibleName", p.GSDML_Name_Sta},
                                     {"FixedInSlots", s("0")},
                                     {"ObjectUUID_LocalIndex", s("1")},
                                     {"MultipleWriteSupported", s("true")},
                                     {"MaxSupportedRecordSize", s("8192")},
                                     {"ParameterizationSpeedupSupported", s("true")},
                                     {"PowerOnToCommReady", s("350")},
                                     {"DeviceAccessSupported", s("true")},
                                     {"SharedDeviceSupported", s("true")},
                                     {"CheckDeviceID_Allowed", s("false")},
                                     {"NameOfStationNotTransferable", s("true")}});
    x.open("ModuleInfo");
    x.empty("Name", {{"TextId", s("IDT_NAME_DAP1")}});
    x.empty("InfoText", {{"TextId", s("IDT_INFO_DAP1")}});
    x.empty("VendorName", {{"Value", s("Brenikcorp")}});
    x.empty("OrderNumber", {{"Value", s("GWK4R83")}});
    x.close("ModuleInfo");
    x.open("SubslotList");
    x.empty("SubslotItem", {{"SubslotNumber", s("0")}, {"TextId", s("IDT_SUBSLOT_1")}});
    x.empty("SubslotItem", {{"SubslotNumber", s("32768")}, {"TextId", s("IDT_SUBSLOT_Interface")}});
    x.empty("SubslotItem", {{"SubslotNumber", s("32769")}, {"TextId", s("IDT_SUBSLOT_Port1")}});
    x.empty("SubslotItem", {{"SubslotNumber", s("32770")}, {"TextId", s("IDT_SUBSLOT_Port2")}});
    x.close("SubslotList");
    x.empty("IOConfigData", {{"MaxInputLength", s("1440")},
                             {"MaxOutputLength", s("1440")},
                             {"MaxDataLength", s("2880")}});
    x.open("UseableModules");
    x.empty("ModuleItemRef", {{"ModuleItemTarget", s("IDM_1")}, {"FixedInSlots", s("1")}});
    x.close("UseableModules");
    x.open("VirtualSubmoduleList");
    x.open("VirtualSubmoduleItem",
           {{"ID", s("IDS_V1")}, {"SubmoduleIdentNumber", s("0x00000000")}});
    x.empty("IOData", {{"IOPS_Length", s("1")}, {"IOCS_Length", s("1")}});
    x.open("ModuleInfo");
    x.empty("Name", {{"TextId", s("IDT_NAME_VS1")}});
    x.empty("InfoText", {{"TextId", s("IDT_INFO_VS1")}});
    x.close("ModuleInfo");
    x.close("VirtualSubmoduleItem");
    x.close("VirtualSubmoduleList");
    x.open("SystemDefinedSubmoduleList");
    x.open("InterfaceSubmoduleItem", {{"ID", s("IDS_I")},
                                      {"SubmoduleIdentNumber", s("0x00000001")},
                                      {"SubslotNumber", s("32768")},
                                      {"TextId", s("IDT_NAME_IS")},
                                      {"SupportedRT_Classes", s("RT_CLASS_1")},
                                      {"SupportedProtocols", s("SNMP;LLDP")},
                                      {"SupportedMibs", s("MIB2")}});
    x.open("ApplicationRelations");
    x.empty("TimingProperties",
            {{"SendClock", s("32")}, {"ReductionRatio", s("1 2 4 8 16 32 64 128 256 512")}});
    x.close("ApplicationRelations");
    x.close("InterfaceSubmoduleItem");
    for (int port = 1; port <= 2; ++port)
        x.empty("PortSubmoduleItem", {{"ID", QStringLiteral("IDS_P%1").arg(port)},
                                      {"SubmoduleIdentNumber", s("0x00000002")},
                                      {"SubslotNumber", QString::number(32768 + port)},
                                      {"TextId", QStringLiteral("IDT_NAME_PS%1").arg(port)},
                                      {"MaxPortRxDelay", s("350")},
                                      {"MaxPortTxDelay", s("160")}});
    x.close("SystemDefinedSubmoduleList");
    x.line(
        s("<!-- This element tells the engineering tool that the DAP supports fieldbus "
          "integration (slot clusters). -->"));
    x.line(s("<!-- FieldbusIntegrationSlots MaxSupported=\"127\" Range=\"100..9999\"/-->"));
    x.close("DeviceAccessPointItem");
    x.close("DeviceAccessPointList");

    x.open("ModuleList");
    x.line(s("<!-- The \"normal\" module carrying the FAP. -->"));
    x.open("ModuleItem", {{"ID", s("IDM_1")}, {"ModuleIdentNumber", s("0x00000001")}});
    x.open("ModuleInfo");
    x.empty("Name", {{"TextId", s("IDT_NAME_M1")}});
    x.empty("InfoText", {{"TextId", s("IDT_INFO_M1")}});
    x.empty("OrderNumber", {{"Value", s("12345-0040-M")}});
    x.close("ModuleInfo");
    x.open("VirtualSubmoduleList");
    x.open("VirtualSubmoduleItem", {{"ID", s("IDM_1")}, {"SubmoduleIdentNumber", s("0x00000001")}});
    x.open("IOData", {{"IOPS_Length", s("1")}, {"IOCS_Length", s("1")}});
    x.line(s("<Input>")
           + x.tag("DataItem", {{"DataType", s("OctetString")},
                                {"Length", QString::number(p.GSDML_Nb_Out)},
                                {"TextId", s("IDT_Input_1")}})
           + s("/></Input>"));
    x.line(s("<Output>")
           + x.tag("DataItem", {{"DataType", s("OctetString")},
                                {"Length", QString::number(p.GSDML_Nb_In)},
                                {"TextId", s("IDT_Output_1")}})
           + s("/></Output>"));
    x.close("IOData");
    x.open("RecordDataList");
    x.open("ParameterRecordDataItem", {{"Index", s("128")}, {"Length", s("2")}});
    x.empty("Name", {{"TextId", s("IDT_NAME_M1_IDT_REF_channel")}});
    x.empty("Const", {{"ByteOffset", s("0")}, {"Data", s("0x00,0x00")}});
    x.empty("Ref", {{"TextId", s("IDT_REF_reaction_to_cpu_stop")},
                    {"Visible", s("true")},
                    {"DataType", s("BitArea")},
                    {"ByteOffset", s("0")},
                    {"BitOffset", s("0")},
                    {"BitLength", s("2")},
                    {"DefaultValue", s("2")},
                    {"AllowedValues", s("0..2")},
                    {"ValueItemTarget", s("IDV_reaction_to_cpu_stop")},
                    {"ID", s("IDT_REF_reaction_to_cpu_stop")}});
    x.open("MenuList");
    x.open("MenuItem", {{"ID", s("IDT_NAME_M1_IDT_REF_channel")}});
    x.empty("Name", {{"TextId", s("IDT_NAME_M1_IDT_REF_channel")}});
    x.empty("MenuRef", {{"MenuTarget", s("IDT_NAME_M1_Base_Parameters")}});
    x.close("MenuItem");
    x.open("MenuItem", {{"ID", s("IDT_NAME_M1_Base_Parameters")}});
    x.empty("Name", {{"TextId", s("IDT_NAME_M1_Base_Parameters")}});
    x.empty("ParameterRef", {{"ParameterTarget", s("IDT_REF_reaction_to_cpu_stop")}});
    x.close("MenuItem");
    x.close("MenuList");
    x.close("ParameterRecordDataItem");
    x.close("RecordDataList");
    x.open("ModuleInfo");
    x.empty("Name", {{"TextId", s("IDT_NAME_M1")}});
    x.empty("InfoText", {{"TextId", s("IDT_INFO_M1")}});
    x.close("ModuleInfo");
    x.close("VirtualSubmoduleItem");
    x.close("VirtualSubmoduleList");
    x.close("ModuleItem");
    x.close("ModuleList");

    x.open("ValueList");
    x.open("ValueItem", {{"ID", s("IDV_reaction_to_cpu_stop")}});
    x.open("Assignments");
    x.empty("Assign", {{"TextId", s("IDT_ASSIGN_do_set_substitude_values")}, {"Content", s("0")}});
    x.empty("Assign", {{"TextId", s("IDT_ASSIGN_do_values_will_hold")}, {"Content", s("1")}});
    x.empty("Assign", {{"TextId", s("IDT_ASSIGN_do_continue_counting")}, {"Content", s("2")}});
    x.close("Assignments");
    x.close("ValueItem");
    x.close("ValueList");

    x.open("CategoryList");
    x.open("CategoryItem", {{"ID", s("IDC_DI")}, {"TextId", s("IDT_CATEGORY_DI")}});
    x.empty("InfoText", {{"TextId", s("IDT_INFO_DI")}});
    x.close("CategoryItem");
    x.open("CategoryItem", {{"ID", s("IDC_DO")}, {"TextId", s("IDT_CATEGORY_DO")}});
    x.empty("InfoText", {{"TextId", s("IDT_INFO_DO")}});
    x.close("CategoryItem");
    x.close("CategoryList");

    x.open("ExternalTextList");
    x.open("PrimaryLanguage");
    static const char* const kTexts[][2] = {
        {"IDT_INFO_Device", "Brenik Gateways"},
        {"IDT_NAME_DAP1", "ZEDUVORAREZDevice"},
        {"IDT_INFO_DAP1", "Profinet LoRaWAN Adapter"},
        {"IDT_SUBSLOT_1", "Subslot 1"},
        {"IDT_SUBSLOT_Interface", "Interface"},
        {"IDT_SUBSLOT_Port1", "Port 1"},
        {"IDT_SUBSLOT_Port2", "Port 2"},
        {"IDT_RECORD_NAME_Head", "Parameters of head module"},
        {"IDT_REF_Power", "Percent power"},
        {"IDT_NAME_VS1", "Submodule V1"},
        {"IDT_INFO_VS1", "Description of submodule V1"},
        {"IDT_NAME_IS", "I"},
        {"IDT_NAME_PS1", "P1"},
        {"IDT_NAME_PS2", "P2"},
        {"IDT_NAME_M1", "Module"},
        {"IDT_INFO_M1", "device ZEDUVORAREZ"},
        {"IDT_NAME_FAP", "FAP for ZEDUVORAREZ"},
        {"IDT_INFO_FAP", "Description of FAP for ZEDUVORAREZ"},
        {"IDT_RECORD_NAME_SlotCluster", "Parameters of the FAP"},
        {"IDT_REF_SlotClusterBegin", "Beginning of slot cluster"},
        {"IDT_NAME_M_PB1", "ZEDUVORAREZ Device "},
        {"IDT_INFO_M_PB1", "Description of ZEDUVORAREZ"},
        {"IDT_NAME_S_PB1", "Module of a ZEDUVORAREZ"},
        {"IDT_INFO_S_PB1", "Description of module of a ZEDUVORAREZ"},
        {"IDT_PB_Input", "Digital input ZEDUVORAREZ"},
        {"IDT_PB_InputBit0", "Digital input bit ZEDUVORAREZ"},
        {"IDT_NAME_S1", "Submodule 1"},
        {"IDT_INFO_S1", "Description of submodule 1"},
        {"IDT_Input_1", "Input byte"},
        {"IDT_Output_1", "Output word"},
        {"IDT_CATEGORY_DI", "Digital Input"},
        {"IDT_INFO_DI", "Description of digital input"},
        {"IDT_CATEGORY_DO", "Digital output"},
        {"IDT_INFO_DO", "Description of digital output"},
        {"IDT_NAME_M1_IDT_REF_channel", "Canale x"},
        {"IDT_REF_reaction_to_cpu_stop", "Reaction to CPU STOP"},
        {"IDT_NAME_M1_Base_Parameters", "Base Parameters"},
        {"IDT_ASSIGN_do_set_substitude_values", "Output substitute value"},
        {"IDT_ASSIGN_do_values_will_hold", "Keep last value"},
        {"IDT_ASSIGN_do_continue_counting", "Continue operation"},
    };
    constexpr int kCount = int(std::size(kTexts));
    for (int i = 0; i < kCount; ++i) {
        if (i < kCount - 3)
            x.empty("Text", {{"TextId", s(kTexts[i][0])}, {"Value", s(kTexts[i][1])}});
        else
            x.empty("Text", {{"Value", s(kTexts[i][1])}, {"TextId", s(kTexts[i][0])}});
    }
    x.close("PrimaryLanguage");
    x.close("ExternalTextList");
    x.close("ApplicationProcess");
    x.close("ProfileBody");
    x.close("ISO15745Profile");
    return x.out;
}

QByteArray gsdmlFileBytes(const QStringList& lines)
{
    QByteArray out("\xEF\xBB\xBF");
    for (const QString& line : lines)
        out += line.toUtf8() + "\r\n";
    return out;
}

bool gsdmlCountsDescribable(const GsdmlParams& p)
{
    return p.GSDML_Nb_In >= 0 && p.GSDML_Nb_In <= kGsdmlMaxBytesPerDirection && p.GSDML_Nb_Out >= 0
           && p.GSDML_Nb_Out <= kGsdmlMaxBytesPerDirection;
}

QString gsdmlDatePart(const QDate& date)
{
    return QStringLiteral("-%1%2%3.xml")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

QString composeGsdmlFileName(const QString& userPart, const QString& datePart)
{
    const QString fix1 = QString::fromLatin1(kGsdmlNameFix1);
    if (trimBlanks(userPart).isEmpty())
        return fix1 + datePart;
    if (userPart.startsWith(u'_'))
        return fix1 + userPart + datePart;
    return fix1 + u'_' + userPart + datePart;
}

}  // namespace zfw
