#include "editors/iot/core/UOpcUaClientFile.h"

#include "common/TextUtil.h"

namespace zfw {

namespace {

const QString kRoot = QStringLiteral("OPC_UA_Client");
const QString kServerList = QStringLiteral("OPC_UA_Server_List");
const QString kServer = QStringLiteral("OPC_UA_Server");
const QString kVariables = QStringLiteral("OPC_UA_Variables");
const QString kReadVar = QStringLiteral("OPC_UA_Read_Var");
const QString kWriteVar = QStringLiteral("OPC_UA_Write_Var");
const QString kVariable = QStringLiteral("Variable");

// A file with thousands of faults says so in a few lines, not thousands.
constexpr int kMaxProblems = 20;

QString flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }
QString flagYN(const QString& yn) { return flag(yn == u"Y"); }

void writeVariable(ProjectXmlElement& list, const TOPC_UA_Variable& v, bool write)
{
    ProjectXmlElement& e = list.addChild(kVariable);
    e.setAttribute(QStringLiteral("Enable"), flag(v.Enable));
    e.setAttribute(QStringLiteral("DisplayName"), v.DispalyName);
    e.setAttribute(QStringLiteral("NodeType"), v.NodeType());
    e.setAttribute(QStringLiteral("NodeID"), v.NodeID());
    e.setAttribute(QStringLiteral("VarType"), v.VarType());
    e.setAttribute(QStringLiteral("NameSpaceIndex"), QString::number(v.nameSpaceIndex));
    // The gateway reads the array fields of a write variable as a plain scalar.
    e.setAttribute(QStringLiteral("VarArray"), write ? QStringLiteral("Var") : v.VarArray);
    e.setAttribute(QStringLiteral("Start"), write ? QStringLiteral("0") : v.Start);
    e.setAttribute(QStringLiteral("Length"), write ? QStringLiteral("0") : v.Len);
    e.setAttribute(QStringLiteral("OnChange"), flagYN(v.OnChange));
    e.setAttribute(QStringLiteral("OnCMD"), flagYN(v.OnCMD));
    e.setAttribute(QStringLiteral("OnTimer"), flagYN(v.OnTimer));
    e.setAttribute(QStringLiteral("Time"), v.Time);
    e.setAttribute(QStringLiteral("Position"), v.Position);
    e.setAttribute(QStringLiteral("StartBit"), v.StartBit);
    e.setAttribute(QStringLiteral("Swap"), flag(v.Swap));
    e.setAttribute(QStringLiteral("Swap_Word"), flag(v.Swap_Word));
    e.setAttribute(QStringLiteral("Swap_All"), flag(v.Swap_All));
    e.setAttribute(QStringLiteral("Mnemonic"), v.Mnemonic);
}

class Reader {
public:
    QStringList problems;
    int dropped = 0;

    void note(const QString& text)
    {
        if (problems.size() < kMaxProblems)
            problems << text;
        else
            ++dropped;
    }

    // An attribute without a fallback: missing reads as empty and is noted.
    QString required(const XmlElement& e, const char* name, const QString& where)
    {
        auto v = e.attribute(QLatin1String(name));
        if (!v) {
            note(QStringLiteral("%1 lacks the attribute %2").arg(where, QLatin1String(name)));
            return {};
        }
        return *v;
    }

    static QString withFallback(const XmlElement& e, const char* name, const QString& def)
    {
        auto v = e.attribute(QLatin1String(name));
        return v ? *v : def;
    }

    static bool isOne(const XmlElement& e, const char* name)
    {
        auto v = e.attribute(QLatin1String(name));
        return v && *v == u"1";
    }

    std::unique_ptr<TOPC_UA_Variable> variable(const XmlElement& e, const QString& where)
    {
        auto v = std::make_unique<TOPC_UA_Variable>();
        v->Enable = isOne(e, "Enable");
        v->DispalyName = required(e, "DisplayName", where);
        v->setNodeType(required(e, "NodeType", where));
        v->setNodeID(required(e, "NodeID", where));
        v->setVarType(required(e, "VarType", where));
        v->nameSpaceIndex = quint16(strToIntDef(required(e, "NameSpaceIndex", where), 0));
        v->VarArray = withFallback(e, "VarArray", QStringLiteral("Variable"));
        v->Start = withFallback(e, "Start", QStringLiteral("0"));
        v->Len = withFallback(e, "Length", QStringLiteral("0"));
        v->OnChange = isOne(e, "OnChange") ? QStringLiteral("Y") : QStringLiteral("N");
        v->OnCMD = isOne(e, "OnCMD") ? QStringLiteral("Y") : QStringLiteral("N");
        v->OnTimer = isOne(e, "OnTimer") ? QStringLiteral("Y") : QStringLiteral("N");
        v->Time = required(e, "Time", where);
        v->Position = required(e, "Position", where);
        v->StartBit = withFallback(e, "StartBit", QStringLiteral("0"));
        v->Swap = isOne(e, "Swap");
        v->Swap_Word = isOne(e, "Swap_Word");
        v->Swap_All = isOne(e, "Swap_All");
        v->Mnemonic = required(e, "Mnemonic", where);
        return v;
    }

    void variables(const XmlElement& vars, const QString& listName, OpcUaVariableList& out,
                   const QString& where)
    {
        const XmlElement list = childElement(vars, listName);
        if (list.isNull()) {
            note(QStringLiteral("%1 has no %2 list").arg(where, listName));
            return;
        }
        int k = 0;
        for (const XmlElement& row : rowElements(list)) {
            ++k;
            out.push_back(
                variable(row, QStringLiteral("%1, %2 variable %3").arg(where, listName).arg(k)));
        }
    }

    std::unique_ptr<TOPC_UA_Server> server(const XmlElement& e, int number)
    {
        const QString where = QStringLiteral("Server %1").arg(number);
        auto s = std::make_unique<TOPC_UA_Server>();
        s->Enable = isOne(e, "Enable");
        s->ServerAddress = required(e, "ServerAddress", where);
        s->Authorization = required(e, "Authorization", where);
        s->UserName = required(e, "UserName", where);
        s->Password = required(e, "Password", where);
        s->Certificate = required(e, "Certificate", where);
        s->PrivateKey = required(e, "PrivateKey", where);
        s->SecurityType = required(e, "SecurityType", where);
        s->SecurityPolicy = required(e, "SecurityPolicy", where);
        s->Mnemonic = required(e, "Mnemonic", where);
        const XmlElement vars = childElement(e, kVariables);
        if (vars.isNull()) {
            note(QStringLiteral("%1 has no %2").arg(where, kVariables));
            return s;
        }
        variables(vars, kReadVar, s->Var_List_R, where);
        variables(vars, kWriteVar, s->Var_List_W, where);
        return s;
    }
};

OpcUaClientLoad readLoaded(const ProjectXmlLoad& load)
{
    OpcUaClientLoad out;
    if (load.missing())
        return out;
    if (!load.ok()) {
        out.result = FileResult::failure(load.message);
        return out;
    }
    Reader r;
    if (load.root.tagName() != kRoot) {
        r.note(QStringLiteral("The root element is not %1").arg(kRoot));
    } else {
        const XmlElement list = childElement(load.root, kServerList);
        if (list.isNull()) {
            r.note(QStringLiteral("%1 is missing").arg(kServerList));
        } else {
            int n = 0;
            for (const XmlElement& e : rowElements(list))
                out.servers.push_back(r.server(e, ++n));
        }
    }
    if (r.dropped > 0)
        r.problems << QStringLiteral("... and %1 more").arg(r.dropped);
    out.problems = r.problems;
    return out;
}

}  // namespace

ProjectXmlWriter buildOpcUaClientXml(const OpcUaServerList& servers)
{
    ProjectXmlWriter w(kRoot);
    w.omitVersionComment();
    ProjectXmlElement& list = w.root().addChild(kServerList);
    for (const auto& s : servers) {
        ProjectXmlElement& e = list.addChild(kServer);
        e.setAttribute(QStringLiteral("Enable"), flag(s->Enable));
        e.setAttribute(QStringLiteral("ServerAddress"), s->ServerAddress);
        e.setAttribute(QStringLiteral("Authorization"), s->Authorization);
        e.setAttribute(QStringLiteral("UserName"), s->UserName);
        e.setAttribute(QStringLiteral("Password"), s->Password);
        e.setAttribute(QStringLiteral("Certificate"), s->Certificate);
        e.setAttribute(QStringLiteral("PrivateKey"), s->PrivateKey);
        e.setAttribute(QStringLiteral("SecurityType"), s->SecurityType);
        e.setAttribute(QStringLiteral("SecurityPolicy"), s->SecurityPolicy);
        e.setAttribute(QStringLiteral("Mnemonic"), s->Mnemonic);
        ProjectXmlElement& vars = e.addChild(kVariables);
        ProjectXmlElement& r = vars.addChild(kReadVar);
        for (const auto& v : s->Var_List_R)
            writeVariable(r, *v, false);
        ProjectXmlElement& wv = vars.addChild(kWriteVar);
        for (const auto& v : s->Var_List_W)
            writeVariable(wv, *v, true);
    }
    return w;
}

FileResult saveOpcUaClientFile(const QString& path, const OpcUaServerList& servers)
{
    return buildOpcUaClientXml(servers).save(path);
}

OpcUaClientLoad loadOpcUaClientFile(const QString& path)
{
    OpcUaClientLoad out = readLoaded(loadProjectXml(path));
    if (!out.problems.isEmpty())
        out.problems.prepend(displayPath(path));
    return out;
}

OpcUaClientLoad parseOpcUaClientXml(const QByteArray& bytes, const QString& name)
{
    OpcUaClientLoad out = readLoaded(parseProjectXml(bytes, name));
    if (!out.problems.isEmpty())
        out.problems.prepend(name);
    return out;
}

}  // namespace zfw
