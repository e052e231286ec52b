#include "editors/metering/core/MBusNetwork.h"

#include "common/TextUtil.h"
#include "editors/metering/core/MBusNumbers.h"

#include <limits>
#include <optional>
#include <variant>

namespace zfw {

namespace {

constexpr char kNetworkVersion[] = "1.002";

// One attribute of a node or variable, in the order the file holds them, with the field it
// fills and the reader's value when it is missing or no whole number.
using NodeField = std::variant<quint8 TNodo::*, qint32 TNodo::*, QString TNodo::*>;

struct NodeAttribute {
    const char* name;
    NodeField field;
    int def = 0;
    int key = 0;  // 1 to 16: a byte of wMBus_Key (field unused)
};

const NodeAttribute kNodeAttributes[] = {
    {"Node_Enable", &TNodo::Enable, 1},
    {"ID_Primary", &TNodo::Node_Pri, 1},
    {"ID_Secondary", &TNodo::Node_Sec, 1},
    {"Descrizione", &TNodo::Description},
    {"Send_SND_NKE", &TNodo::Send_SNK},
    {"Reset_App", &TNodo::Reset_App},
    {"Enable_Node_State", &TNodo::Enable_NS},
    {"Node_State", &TNodo::Node_State},
    {"Enable_Ident_Num", &TNodo::Enable_IN},
    {"Ident_Num", &TNodo::Ident_Num},
    {"BCDtoINT_IN", &TNodo::BCDtoINT_IN},
    {"Swap_IN", &TNodo::Swap_Ident},
    {"Node_ID_Type", &TNodo::Node_ID_Type},
    {"Var_List_Type", &TNodo::Var_List_Type},
    {"Cut_After", &TNodo::Cut_After},
    {"Enable_Manufacturer_Specific_Data", &TNodo::Enable_MS},
    {"Manufacturer_Specific_Data", &TNodo::Manufacturer_Spec},
    {"MSD_Length", &TNodo::MSD_Length},
    {"MSD_Offset", &TNodo::MSD_Offset},
    {"Enable_Access_Number", &TNodo::Enable_AN},
    {"Access_Number", &TNodo::Access_Number},
    {"MBus_Type", &TNodo::MBus_Type, 1},
    {"wMBus_ManID", &TNodo::wMBus_ManID},
    {"wMBus_Add", &TNodo::wMBus_Add},
    {"wMBus_Ver", &TNodo::wMBus_Ver},
    {"wMBus_DevType", &TNodo::wMBus_DevType},
    {"wMBus_En_Key", &TNodo::wMBus_En_Key},
    {"wMBus_Key_1", NodeField{}, 0, 1},
    {"wMBus_Key_2", NodeField{}, 0, 2},
    {"wMBus_Key_3", NodeField{}, 0, 3},
    {"wMBus_Key_4", NodeField{}, 0, 4},
    {"wMBus_Key_5", NodeField{}, 0, 5},
    {"wMBus_Key_6", NodeField{}, 0, 6},
    {"wMBus_Key_7", NodeField{}, 0, 7},
    {"wMBus_Key_8", NodeField{}, 0, 8},
    {"wMBus_Key_9", NodeField{}, 0, 9},
    {"wMBus_Key_10", NodeField{}, 0, 10},
    {"wMBus_Key_11", NodeField{}, 0, 11},
    {"wMBus_Key_12", NodeField{}, 0, 12},
    {"wMBus_Key_13", NodeField{}, 0, 13},
    {"wMBus_Key_14", NodeField{}, 0, 14},
    {"wMBus_Key_15", NodeField{}, 0, 15},
    {"wMBus_Key_16", NodeField{}, 0, 16},
    {"wMBus_Enable_RSSI", &TNodo::Enable_RSSI},
    {"wMBus_RSSI", &TNodo::RSSI},
};

using VarField = std::variant<bool TVariabile::*, quint8 TVariabile::*, quint16 TVariabile::*,
                              qint32 TVariabile::*, quint32 TVariabile::*, QString TVariabile::*>;

struct VarAttribute {
    const char* name;
    VarField field;
    int def = 0;
    bool required = false;
};

const VarAttribute kVarAttributes[] = {
    {"Enable", &TVariabile::Enable},
    {"Desc", &TVariabile::Description},
    {"Type", &TVariabile::Type_Of_Data, 0, true},
    {"Fun_Field", &TVariabile::Function_Field, 0, true},
    {"Dim", &TVariabile::Dimension, 0, true},
    {"Unit", &TVariabile::Unita},
    {"PositionData", &TVariabile::PositionData},
    {"StoNumber", &TVariabile::Storage_Number},
    {"Tariff", &TVariabile::Tariff},
    {"VIFE", &TVariabile::VIFE},
    {"BCDtoINT", &TVariabile::BCDtoINT},
    {"VIF_ASCII", &TVariabile::VIF_ASCII},
    {"Length", &TVariabile::Length},
    {"Conv_Float", &TVariabile::Conv_Float},
    {"Force_Int32", &TVariabile::Force_Int32},
    {"TP_Mod_Regs", &TVariabile::TP_Mod_Regs},
    {"TP_Mod_Year", &TVariabile::TP_Mod_Year},
    {"Position", &TVariabile::Position, 1},
    {"Post_Operation", &TVariabile::Post_Operation},
};

// A whole number read into a field of type T: the value, nullopt for the default (missing or
// no whole number), or a fault text when the number does not fit the field.
struct NumberRead {
    std::optional<qint64> value;
    QString fault;
};

template <typename T>
NumberRead readNumber(std::optional<QStringView> text)
{
    NumberRead r;
    if (!text)
        return r;
    std::optional<qint64> v;
    if constexpr (std::is_same_v<T, quint32>) {
        // Storage numbers use the whole unsigned range, beyond the 32-bit conversion.
        v = parseWholeNumber64(*text);
    } else if (const auto i = parseIntText(*text)) {
        v = *i;
    } else if (parseWholeNumber64(*text)) {
        r.fault = QStringLiteral("'%1' is out of range").arg(text->toString());
        return r;
    }
    if (!v)
        return r;
    if (*v < qint64(std::numeric_limits<T>::min()) || *v > qint64(std::numeric_limits<T>::max())) {
        r.fault = QStringLiteral("'%1' is out of range").arg(text->toString());
        return r;
    }
    r.value = v;
    return r;
}

QString decimal(qint64 v) { return QString::number(v); }

class NetworkReader {
public:
    explicit NetworkReader(QString name) : m_name(std::move(name)) {}

    MBusNetworkLoad read(const XmlElement& root)
    {
        for (XmlElement n = root.firstChildElement(); !n.isNull(); n = n.nextSiblingElement()) {
            m_load.nodes.emplace_back();
            if (!readNode(n, m_load.nodes.back()))
                break;
        }
        return std::move(m_load);
    }

private:
    bool fail(const QString& where, const QString& what)
    {
        m_load.ok = false;
        m_load.message = QStringLiteral("Error reading %1: %2: %3 (nodes read: %4)")
                             .arg(displayPath(m_name), where, what)
                             .arg(m_load.nodes.size());
        return false;
    }

    QString nodeName() const { return QStringLiteral("node %1").arg(m_load.nodes.size()); }

    bool readNode(const XmlElement& e, TNodo& node)
    {
        for (const NodeAttribute& a : kNodeAttributes) {
            const auto text = e.attributeView(a.name);
            if (a.key > 0) {
                node.wMBus_Key[std::size_t(a.key - 1)] = text ? text->toString() : QString();
                continue;
            }
            bool ok = true;
            std::visit(
                [&](auto member) {
                    using M = std::remove_cvref_t<decltype(node.*member)>;
                    if constexpr (std::is_same_v<M, QString>) {
                        node.*member = text ? text->toString() : QString();
                    } else {
                        const NumberRead r = readNumber<M>(text);
                        if (!r.fault.isEmpty())
                            ok = fail(nodeName(), QStringLiteral("\"%1\" %2")
                                                      .arg(QLatin1String(a.name), r.fault));
                        node.*member = M(r.value.value_or(a.def));
                    }
                },
                a.field);
            if (!ok)
                return false;
        }
        applyAddressRule(e, node);
        int index = 0;
        for (XmlElement v = e.firstChildElement(); !v.isNull(); v = v.nextSiblingElement()) {
            ++index;
            node.Var_List.emplace_back();
            if (!readVariable(v, node.Var_List.back(), index)) {
                node.Var_List.pop_back();
                return false;
            }
        }
        return true;
    }

    // The scan-result writers put one address in "ID": the secondary one for a node
    // addressed by its secondary address, else the primary one; the other becomes 1.
    void applyAddressRule(const XmlElement& e, TNodo& node)
    {
        const auto id = e.attributeView("ID");
        const std::optional<int> value = id ? parseIntText(*id) : std::nullopt;
        if (!value)
            return;  // the two addresses as read from "ID_Primary" and "ID_Secondary"
        if (node.Node_ID_Type != 0) {
            // The writers fill "ID" with the primary address even for a node addressed by
            // its secondary one, so such a file used to read back with the primary address
            // as the secondary. "ID_Secondary" holds the right one when it is a number.
            const auto sec = e.attributeView("ID_Secondary");
            if (sec && parseIntText(*sec))
                return;
            node.Node_Sec = *value;
            node.Node_Pri = 1;
        } else {
            node.Node_Pri = *value;
            node.Node_Sec = 1;
        }
    }

    bool readVariable(const XmlElement& e, TVariabile& var, int index)
    {
        const QString where = QStringLiteral("%1, variable %2").arg(nodeName()).arg(index);
        for (const VarAttribute& a : kVarAttributes) {
            const auto text = e.attributeView(a.name);
            bool ok = true;
            std::visit(
                [&](auto member) {
                    using M = std::remove_cvref_t<decltype(var.*member)>;
                    if constexpr (std::is_same_v<M, QString>) {
                        var.*member = text ? text->toString() : QString();
                    } else if constexpr (std::is_same_v<M, bool>) {
                        var.*member = text && *text == u"1";
                    } else {
                        const NumberRead r = readNumber<M>(text);
                        if (!r.fault.isEmpty()) {
                            ok = fail(where, QStringLiteral("\"%1\" %2")
                                                 .arg(QLatin1String(a.name), r.fault));
                        } else if (a.required && !r.value) {
                            ok = fail(where,
                                      text ? QStringLiteral("\"%1\": '%2' is not a valid integer "
                                                            "value")
                                                 .arg(QLatin1String(a.name), text->toString())
                                           : QStringLiteral("\"%1\" is missing")
                                                 .arg(QLatin1String(a.name)));
                        }
                        var.*member = M(r.value.value_or(a.def));
                    }
                },
                a.field);
            if (!ok)
                return false;
        }
        return true;
    }

    QString m_name;
    MBusNetworkLoad m_load;
};

ProjectXmlWriter networkDocument(const TNodiList& nodes)
{
    ProjectXmlWriter w(QStringLiteral("M-Bus_Network"), QString::fromLatin1(kNetworkVersion));
    // Names made once: every element then shares them instead of allocating its own.
    std::vector<QString> nodeNames;
    for (const NodeAttribute& a : kNodeAttributes)
        nodeNames.push_back(QString::fromLatin1(a.name));
    std::vector<QString> varNames;
    for (const VarAttribute& a : kVarAttributes)
        varNames.push_back(QString::fromLatin1(a.name));
    const QString one = QStringLiteral("1");
    const QString zero = QStringLiteral("0");
    for (const TNodo& node : nodes) {
        ProjectXmlElement& n = w.root().addChild(QStringLiteral("Nodo"));
        for (std::size_t i = 0; i < std::size(kNodeAttributes); ++i) {
            const NodeAttribute& a = kNodeAttributes[i];
            const QString& name = nodeNames[i];
            if (a.key > 0) {
                n.setAttribute(name, node.wMBus_Key[std::size_t(a.key - 1)]);
                continue;
            }
            std::visit(
                [&](auto member) {
                    using M = std::remove_cvref_t<decltype(node.*member)>;
                    if constexpr (std::is_same_v<M, QString>)
                        n.setAttribute(name, node.*member);
                    else
                        n.setAttribute(name, decimal(node.*member));
                },
                a.field);
        }
        for (const TVariabile& var : node.Var_List) {
            ProjectXmlElement& v = n.addChild(QStringLiteral("Variabile"));
            for (std::size_t i = 0; i < std::size(kVarAttributes); ++i) {
                const VarAttribute& a = kVarAttributes[i];
                const QString& name = varNames[i];
                std::visit(
                    [&](auto member) {
                        using M = std::remove_cvref_t<decltype(var.*member)>;
                        if constexpr (std::is_same_v<M, QString>)
                            v.setAttribute(name, var.*member);
                        else if constexpr (std::is_same_v<M, bool>)
                            v.setAttribute(name, var.*member ? one : zero);
                        else
                            v.setAttribute(name, decimal(var.*member));
                    },
                    a.field);
            }
        }
    }
    return w;
}

}  // namespace

MBusNetworkLoad parseMBusNetwork(const QByteArray& bytes, const QString& name)
{
    const ProjectXmlLoad load = parseProjectXml(bytes, name);
    if (!load.ok()) {
        MBusNetworkLoad r;
        r.ok = false;
        r.message = load.message + QStringLiteral(" (nodes read: 0)");
        return r;
    }
    return NetworkReader(name).read(load.root);
}

MBusNetworkLoad loadMBusNetwork(const QString& path)
{
    const ProjectXmlLoad load = loadProjectXml(path);
    MBusNetworkLoad r;
    if (load.missing()) {
        r.missing = true;
        return r;
    }
    if (!load.ok()) {
        r.ok = false;
        r.message = load.message + QStringLiteral(" (nodes read: 0)");
        return r;
    }
    return NetworkReader(path).read(load.root);
}

QByteArray mbusNetworkBytes(const TNodiList& nodes) { return networkDocument(nodes).toByteArray(); }

FileResult saveMBusNetwork(const QString& path, const TNodiList& nodes)
{
    return networkDocument(nodes).save(path);
}

}  // namespace zfw
