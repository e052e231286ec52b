#include "editors/metering/core/MBusScanWriters.h"

#include "common/UComon.h"

#include <initializer_list>
#include <optional>

namespace zfw {

namespace {

constexpr char kNetworkVersion[] = "1.002";

QString num(qint64 v) { return QString::number(v); }

QString ustText(const TVariable_MBus& v)
{
    return QStringLiteral("(U%1S%2T%3)").arg(v.device).arg(v.storage_number).arg(v.tarif);
}

QString vifText(const TVariable_MBus& v)
{
    return QStringLiteral("$%1").arg(v.VIF, 2, 16, QChar(u'0')).toUpper();
}

bool oneOf(int v, std::initializer_list<int> set)
{
    for (int s : set)
        if (s == v)
            return true;
    return false;
}

void addReportVariables(ProjectXmlElement& node, const std::vector<TVariable_MBus>& vars)
{
    for (const TVariable_MBus& v : vars) {
        ProjectXmlElement& e = node.addChild(QStringLiteral("Variable"));
        e.setAttribute(QStringLiteral("Value"), v.ValueStr);
        e.setAttribute(QStringLiteral("Type"), v.Desc_Type_Data);
        e.setAttribute(QStringLiteral("UST"), ustText(v));
        e.addTextChild(QStringLiteral("Storage_Number"), num(v.storage_number));
        e.addTextChild(QStringLiteral("Tariff"), num(v.tarif));
        e.addTextChild(QStringLiteral("Unit"), num(v.device));
        e.addTextChild(QStringLiteral("Data_Field"), v.DataFieldStr);
        e.addTextChild(QStringLiteral("Function_Field"), v.FunctionFieldStr);
        e.addTextChild(QStringLiteral("Type"), v.Desc_Type_Data);
        e.addTextChild(QStringLiteral("Value"), v.ValueStr);
        e.addTextChild(QStringLiteral("DIF"), v.DIF);
        e.addTextChild(QStringLiteral("VIF"), vifText(v));
        e.addTextChild(QStringLiteral("DIFE"), v.DIFE);
        e.addTextChild(QStringLiteral("VIFE"), v.VIFE);
        e.addTextChild(QStringLiteral("DATA"), QLatin1Char('$') + v.totdati);
    }
}

// A loaded element and everything under it, as an element of a document being built.
void copyElement(const XmlElement& from, ProjectXmlElement& to)
{
    for (const XmlAttribute& a : from.attributes())
        to.setAttribute(a.name, a.value);
    XmlElement child = from.firstChildElement();
    if (child.isNull()) {
        const QString text = from.text();
        if (!text.isEmpty())
            to.setText(text);
        return;
    }
    for (; !child.isNull(); child = child.nextSiblingElement())
        copyElement(child, to.addChild(child.tagName()));
}

// The document the network writers fill: the loaded file in append mode, else a new one.
std::optional<ProjectXmlWriter> networkDocument(const TSaveConfXML& in, QString* error)
{
    if (in.Append != 1)
        return ProjectXmlWriter(QStringLiteral("M-Bus_Network"),
                                QString::fromLatin1(kNetworkVersion));
    const ProjectXmlLoad load = loadProjectXml(in.File_Name);
    if (!load.ok()) {
        *error = load.message;
        return std::nullopt;
    }
    // The document element is the network, whatever stands before it.
    ProjectXmlWriter w(load.root.tagName(), QString::fromLatin1(kNetworkVersion));
    copyElement(load.root, w.root());
    return w;
}

// Registers a record takes and the code of its size, by data field.
struct Allocation {
    const char* dim;
    int registers;
};

Allocation allocation(const TVariable_MBus& v)
{
    switch (v.dimension) {
    case 1:
    case 9: return {"0", 1};
    case 2:
    case 10: return {"1", 1};
    case 3:
    case 11: return {"4", 2};
    case 4:
    case 12: return {"2", 2};
    case 5: return {"6", 2};
    case 6:
    case 14: return {"5", 3};
    case 7: return {"3", 4};
    case 13: {
        // (nbyte + 1) / 2 rounded half to even: 4 characters 2 registers, 5 3, 6 4, 8 4.
        const int twice = v.nbyte + 1;
        int half = twice / 2;
        if (twice % 2 != 0 && half % 2 != 0)
            ++half;
        return {"7", half};
    }
    default: return {"255", 0};
    }
}

// The "Variabile" attributes both network writers share; R advances by the registers taken.
void addConfVariable(ProjectXmlElement& node, const TVariable_MBus& v, std::size_t position,
                     bool enabled, int variant, bool startModnode, bool checkBcd, qint64& R)
{
    ProjectXmlElement& e = node.addChild(QStringLiteral("Variabile"));
    const Allocation a = allocation(v);
    e.setAttribute(QStringLiteral("Enable"), enabled ? QStringLiteral("1") : QStringLiteral("0"));
    e.setAttribute(QStringLiteral("Position"), num(qint64(position) + 1));
    e.setAttribute(QStringLiteral("Desc"), v.Desc_Type_Data + QLatin1Char(' ') + ustText(v));
    e.setAttribute(QStringLiteral("Type"), num(v.type_data));
    e.setAttribute(QStringLiteral("VIF_ASCII"), v.type_data == 21 ? v.VIF_ASCII : QString());
    const int fun = v.function_fild == 1 ? 2 : v.function_fild == 2 ? 1 : v.function_fild;
    e.setAttribute(QStringLiteral("Fun_Field"), num(fun));
    e.setAttribute(QStringLiteral("Length"),
                   v.dimension == 13 ? num(v.nbyte) : QStringLiteral("0"));
    if (variant != 12)
        e.setAttribute(QStringLiteral("ModReg"), num(R));
    e.setAttribute(QStringLiteral("Dim"), QString::fromLatin1(a.dim));
    e.setAttribute(QStringLiteral("Unit"), num(v.device));
    e.setAttribute(QStringLiteral("StoNumber"), num(v.storage_number));
    e.setAttribute(QStringLiteral("Tariff"), num(v.tarif));
    e.setAttribute(QStringLiteral("VIFE"), num(v.Type_Data_Vife));
    if (variant == 12) {
        e.setAttribute(QStringLiteral("BACnet_EngUnits"), num(Default_BACnet_Eng_Unit()));
        e.setAttribute(QStringLiteral("BACnet_DataType"), QStringLiteral("0"));
        e.setAttribute(QStringLiteral("Post_Operation"), QStringLiteral("0"));
    } else {
        e.setAttribute(QStringLiteral("ModScale"), QStringLiteral("0"));
    }
    e.setAttribute(QStringLiteral("BCDtoINT"),
                   v.Is_BCD && checkBcd ? QStringLiteral("1") : QStringLiteral("0"));
    e.setAttribute(QStringLiteral("SWAP"), QStringLiteral("0"));
    if (!startModnode || enabled)
        R += a.registers;
}

void addVariant12Zeros(ProjectXmlElement& n)
{
    for (const char* name : {"Node_State", "Ident_Num", "BCDtoINT_IN", "Swap_IN", "Var_List_Type",
                             "NS_VarType", "IN_VarType"})
        n.setAttribute(QString::fromLatin1(name), QStringLiteral("0"));
}

// Node-state and identification-number registers: one for the state, two for the 32-bit
// number. The wireless writer used to give them the other way round, so the number's second
// register overlapped the first record's.
void addNodeRegisters(ProjectXmlElement& n, const TSaveConfXML& in, qint64& R)
{
    if (!oneOf(in.XML_Code_Dev, {0, 1, 9, 13, 14}) || in.StartModnode != 1)
        return;
    if (in.En_NodeState) {
        n.setAttribute(QStringLiteral("Node_State"), num(R));
        R += 1;
    } else {
        n.setAttribute(QStringLiteral("Node_State"), QStringLiteral("0"));
    }
    if (in.En_IdeNum) {
        n.setAttribute(QStringLiteral("Ident_Num"), num(R));
        R += 2;
    } else {
        n.setAttribute(QStringLiteral("Ident_Num"), QStringLiteral("0"));
    }
}

// Refuses a start-register list that does not cover every slave: the old writer read past
// its end.
bool startListFits(const TSaveConfXML& in, std::size_t slaves, QString* error)
{
    if (in.StartModnode != 1 || in.SMN_Array.size() >= slaves)
        return true;
    *error = QStringLiteral("Cannot write %1: start registers are given for %2 of %3 nodes")
                 .arg(displayPath(in.File_Name))
                 .arg(in.SMN_Array.size())
                 .arg(slaves);
    return false;
}

ScanSaveResult saved(const ProjectXmlWriter& w, const QString& path)
{
    const FileResult r = w.save(path);
    return {r.ok, r.message};
}

}  // namespace

FileResult Save_XML_File_DLL(const QString& path, const TSlaveMBusList& slaves)
{
    ProjectXmlWriter w(QStringLiteral("SCAN_M-Bus_Wired"));
    w.omitVersionComment();
    for (const auto& s : slaves) {
        ProjectXmlElement& n = w.root().addChild(QStringLiteral("Node"));
        n.setAttribute(QStringLiteral("Primary_Address"), num(s->Primary_Addresss));
        n.setAttribute(QStringLiteral("Secondary_Address"), s->Secondary_Addresss);
        n.setAttribute(QStringLiteral("Manufacturer"), s->descManufacture + QStringLiteral(" (")
                                                           + num(s->Manufacture)
                                                           + QLatin1Char(')'));
        n.setAttribute(QStringLiteral("Version"), num(s->Version));
        n.setAttribute(QStringLiteral("Type"), num(s->Medium));
        addReportVariables(n, s->List_Var);
    }
    return w.save(path);
}

FileResult Save_Wireless_XML_File_DLL(const QString& path, const TSlaveWMBusList& slaves)
{
    ProjectXmlWriter w(QStringLiteral("SCAN_M-Bus_Wireless"));
    w.omitVersionComment();
    for (const auto& s : slaves) {
        ProjectXmlElement& n = w.root().addChild(QStringLiteral("Node"));
        n.setAttribute(QStringLiteral("Manufacturer"), s->ALA_Manu_str);
        n.setAttribute(
            QStringLiteral("Address"),
            QStringLiteral("%1").arg(quint32(s->ALA_Address), 8, 16, QChar(u'0')).toUpper());
        n.setAttribute(QStringLiteral("Version"), num(s->ALA_Version));
        n.setAttribute(QStringLiteral("Device_Type"), num(s->ALA_DeviceType));
        n.setAttribute(QStringLiteral("Cripted"),
                       s->Cripted ? QStringLiteral("True") : QStringLiteral("False"));
        addReportVariables(n, s->List_Var);
    }
    return w.save(path);
}

ScanSaveResult Save_XML_Conf_Wired(const TSaveConfXML& in, bool Check_BCD,
                                   const TSlaveMBusList& slaves, const TScanChecks& checks)
{
    ScanSaveResult result;
    if (slaves.empty() || !startListFits(in, slaves.size(), &result.message))
        return result;
    std::optional<ProjectXmlWriter> doc = networkDocument(in, &result.message);
    if (!doc)
        return result;
    const int variant = in.XML_Code_Dev;
    const bool grouped = variant == 4 || variant == 7;
    ProjectXmlElement* parent = &doc->root();
    if (grouped) {
        parent = &doc->root().addChild(QStringLiteral("Group"));
        parent->setAttribute(QStringLiteral("Baudrate"), num(in.Index_Baud));
        parent->setAttribute(QStringLiteral("Parity"), num(in.Index_Par));
    }
    qint64 R = in.Mod_Start;
    const bool smn = in.StartModnode == 1;
    for (std::size_t i = 0; i < slaves.size(); ++i) {
        const TSlave_MBus& s = *slaves[i];
        if (smn)
            R = in.SMN_Array[i];
        ProjectXmlElement& n = parent->addChild(QStringLiteral("Nodo"));
        n.setAttribute(QStringLiteral("Node_Enable"),
                       checks.slave(i) ? QStringLiteral("1") : QStringLiteral("0"));
        if (oneOf(variant, {2, 4, 5, 7, 8}))
            n.setAttribute(QStringLiteral("ID"), num(s.Primary_Addresss));
        if (grouped)
            n.setAttribute(QStringLiteral("Secondary_address"), s.Secondary_Addresss);
        n.setAttribute(QStringLiteral("ID_Primary"), num(s.Primary_Addresss));
        n.setAttribute(QStringLiteral("ID_Secondary"), s.Secondary_Addresss);
        n.setAttribute(QStringLiteral("Node_ID_Type"), num(in.Node_ID_Type));
        n.setAttribute(QStringLiteral("Descrizione"), s.descManufacture);
        n.setAttribute(QStringLiteral("Send_SND_NKE"),
                       in.SND_NKE == 1 ? QStringLiteral("1") : QStringLiteral("0"));
        n.setAttribute(QStringLiteral("Reset_App"),
                       in.Reset_App == 1 ? QStringLiteral("1") : QStringLiteral("0"));
        n.setAttribute(QStringLiteral("Cut_After"), num(in.Cut_After));
        if (oneOf(variant, {12, 13, 14}))
            n.setAttribute(QStringLiteral("MBus_Type"), QStringLiteral("1"));
        if (variant == 12)
            addVariant12Zeros(n);
        addNodeRegisters(n, in, R);
        for (std::size_t j = 0; j < s.List_Var.size(); ++j)
            addConfVariable(n, s.List_Var[j], j, checks.record(i, j), variant, smn, Check_BCD, R);
    }
    return saved(*doc, in.File_Name);
}

ScanSaveResult Save_XML_Conf_Wireless(const TSaveConfXML& in, bool Check_BCD,
                                      const TSlaveWMBusList& slaves)
{
    ScanSaveResult result;
    if (slaves.empty() || !startListFits(in, slaves.size(), &result.message))
        return result;
    std::optional<ProjectXmlWriter> doc = networkDocument(in, &result.message);
    if (!doc)
        return result;
    const int variant = in.XML_Code_Dev;
    qint64 R = in.Mod_Start;
    const bool smn = in.StartModnode == 1;
    const QString one = QStringLiteral("1");
    const QString zero = QStringLiteral("0");
    for (std::size_t i = 0; i < slaves.size(); ++i) {
        const TSlave_wMBus& s = *slaves[i];
        if (smn)
            R = in.SMN_Array[i];
        ProjectXmlElement& n = doc->root().addChild(QStringLiteral("Nodo"));
        n.setAttribute(QStringLiteral("Node_Enable"), s.Enable ? one : zero);
        if (oneOf(variant, {2, 4, 5, 7, 8, 10}))
            n.setAttribute(QStringLiteral("ID"), one);
        if (variant == 4 || variant == 7)
            n.setAttribute(QStringLiteral("Secondary_address"), one);
        n.setAttribute(QStringLiteral("ID_Primary"), one);
        n.setAttribute(QStringLiteral("ID_Secondary"), one);
        n.setAttribute(QStringLiteral("Node_ID_Type"), zero);
        n.setAttribute(QStringLiteral("Descrizione"), s.ALA_Manu_str);
        n.setAttribute(QStringLiteral("Send_SND_NKE"), zero);
        n.setAttribute(QStringLiteral("Reset_App"), zero);
        n.setAttribute(QStringLiteral("Cut_After"), QStringLiteral("3"));
        if (variant == 12)
            addVariant12Zeros(n);
        addNodeRegisters(n, in, R);
        n.setAttribute(QStringLiteral("MBus_Type"), zero);
        n.setAttribute(QStringLiteral("wMBus_ManID"), num(s.ALA_Manufacturer));
        n.setAttribute(QStringLiteral("wMBus_Add"), num(s.ALA_Address));
        n.setAttribute(QStringLiteral("wMBus_Ver"), num(s.ALA_Version));
        n.setAttribute(QStringLiteral("wMBus_DevType"), num(s.ALA_DeviceType));
        n.setAttribute(QStringLiteral("wMBus_En_Key"), s.Enable_Key ? one : zero);
        for (int k = 0; k < 16; ++k)
            n.setAttribute(QStringLiteral("wMBus_Key_%1").arg(k + 1), num(s.Key[std::size_t(k)]));
        for (std::size_t j = 0; j < s.List_Var.size(); ++j) {
            const TVariable_MBus& v = s.List_Var[j];
            if (v.Real_Wireless_Var)
                addConfVariable(n, v, j, v.Enable, variant, smn, Check_BCD, R);
        }
    }
    return saved(*doc, in.File_Name);
}

}  // namespace zfw
