#include "editors/iot/core/UOpcUaClientRules.h"

#include "common/TextUtil.h"

#include <algorithm>

namespace zfw {

namespace {

QString yn(bool on) { return on ? QStringLiteral("Y") : QStringLiteral("N"); }

int intOr(const QString& text, int def) { return strToIntDef(text, def); }

bool isEmptyTrimmed(const QString& text) { return trimBlanks(text).isEmpty(); }

bool isStringType(const TOPC_UA_Variable& v)
{
    const QString t = v.VarType();
    return t == u"String" || t == u"ByteString";
}

std::optional<int> checkRead(const TOPC_UA_Variable& v)
{
    if (isEmptyTrimmed(v.VarArray))
        return 5519;
    const bool array = asciiUpper(trimBlanks(v.VarArray)) == u"ARRAY";
    if (!array && isStringType(v)) {
        if (intOr(v.Start, -1) < 0)
            return 5520;
        if (intOr(v.Len, -1) < 0)
            return 5521;
    }
    if (array) {
        if (isStringType(v))
            return 5522;
        if (intOr(v.Start, -1) < 0)
            return 5523;
        if (intOr(v.Len, -1) < 0)
            return 5524;
    }
    if (isEmptyTrimmed(v.Time))
        return 5497;
    if (intOr(v.Time, -1) < 1)
        return 5498;
    if (isEmptyTrimmed(v.Position))
        return 5499;
    const int p = intOr(v.Position, -1);
    if (p < 0 || p > kOpcUaMaxPosition)
        return 5500;
    if (isEmptyTrimmed(v.StartBit))
        return 5533;
    const int b = intOr(v.StartBit, -1);
    if (b < 0 || b > 7)
        return 5534;
    return std::nullopt;
}

std::optional<int> checkWrite(const TOPC_UA_Variable& v)
{
    if (v.OnTimer == u"Y") {
        if (isEmptyTrimmed(v.Time))
            return 5501;
        if (intOr(v.Time, -1) < 1)
            return 5502;
    }
    if (isEmptyTrimmed(v.Position))
        return 5503;
    const int p = intOr(v.Position, -1);
    if (p < 0 || p > kOpcUaMaxPosition)
        return 5504;
    if (isEmptyTrimmed(v.StartBit))
        return 5535;
    const int b = intOr(v.StartBit, -1);
    if (b < 0 || b > 7)
        return 5536;
    return std::nullopt;
}

int listEnd(const OpcUaVariableList& list)
{
    int end = 0;
    for (const auto& v : list)
        end = std::max(end, intOr(v->Position, 0) + GetLenVarType(v->VarType()));
    return end;
}

void layOut(OpcUaVariableList& list, int sp)
{
    for (auto& v : list) {
        v->Position = QString::number(sp);
        sp += GetLenVarType(v->VarType());
    }
}

}  // namespace

QStringList opcUaVariableRow(const TOPC_UA_Variable& v, bool write)
{
    QStringList r;
    r.reserve(kOpcUaVarColumns);
    r << QString() << yn(v.Enable) << v.DispalyName << v.NodeType() << v.NodeID() << v.VarType()
      << QString::number(v.nameSpaceIndex);
    if (write)
        r << v.OnChange << v.OnCMD << v.OnTimer;
    else
        r << v.VarArray << v.Start << v.Len;
    r << v.Time << v.Position << v.StartBit << yn(v.Swap) << yn(v.Swap_Word) << yn(v.Swap_All)
      << v.Mnemonic;
    return r;
}

OpcUaVariableList opcUaVariablesFromRows(const std::vector<QStringList>& rows, bool write)
{
    OpcUaVariableList out;
    for (const QStringList& row : rows) {
        auto cell = [&row](int c) { return c < row.size() ? row[c] : QString(); };
        if (cell(kOpcUaColDisplayName).isEmpty())
            break;
        auto v = std::make_unique<TOPC_UA_Variable>();
        v->Enable = cell(1) == u"Y";
        v->DispalyName = cell(2);
        v->setNodeType(cell(3));
        v->setNodeID(cell(4));
        v->setVarType(cell(5));
        v->nameSpaceIndex = quint16(intOr(cell(6), 0));
        if (write) {
            v->OnChange = cell(7);
            v->OnCMD = cell(8);
            v->OnTimer = cell(9);
        } else {
            v->OnChange = v->OnCMD = v->OnTimer = QStringLiteral("N");
            v->VarArray = cell(7);
            v->Start = cell(8);
            v->Len = cell(9);
        }
        v->Time = cell(10);
        v->Position = cell(11);
        v->StartBit = cell(12);
        v->Swap = cell(13) == u"Y";
        v->Swap_Word = cell(14) == u"Y";
        v->Swap_All = cell(15) == u"Y";
        v->Mnemonic = cell(16);
        out.push_back(std::move(v));
    }
    return out;
}

void Start_Position(const OpcUaServerList& servers, int index, int& SP_Read, int& SP_Write)
{
    SP_Read = SP_Write = 0;
    if (index <= 0 || index > int(servers.size()))
        return;
    const TOPC_UA_Server& prev = *servers[size_t(index - 1)];
    SP_Read = listEnd(prev.Var_List_R);
    SP_Write = listEnd(prev.Var_List_W);
}

void opcUaAutoPositions(OpcUaServerList& servers, int index)
{
    if (index < 0 || index >= int(servers.size()))
        return;
    int spRead = 0, spWrite = 0;
    Start_Position(servers, index, spRead, spWrite);
    layOut(servers[size_t(index)]->Var_List_R, spRead);
    layOut(servers[size_t(index)]->Var_List_W, spWrite);
}

std::optional<OpcUaCheckFault> opcUaCheckServers(const OpcUaServerList& servers)
{
    for (size_t s = 0; s < servers.size(); ++s) {
        const TOPC_UA_Server& server = *servers[s];
        for (size_t i = 0; i < server.Var_List_R.size(); ++i) {
            const auto& v = *server.Var_List_R[i];
            if (!v.Enable)
                continue;
            if (auto t = checkRead(v))
                return OpcUaCheckFault{*t, int(s) + 1, int(i) + 1};
        }
        for (size_t i = 0; i < server.Var_List_W.size(); ++i) {
            const auto& v = *server.Var_List_W[i];
            if (!v.Enable)
                continue;
            if (auto t = checkWrite(v))
                return OpcUaCheckFault{*t, int(s) + 1, int(i) + 1};
        }
    }
    return std::nullopt;
}

QString opcUaCheckMessage(const QString& text, const OpcUaCheckFault& fault)
{
    const int values[] = {fault.server, fault.variable, kOpcUaMaxPosition};
    QString out;
    qsizetype from = 0;
    for (int value : values) {
        const qsizetype at = text.indexOf(QLatin1String("%d"), from);
        if (at < 0)
            break;
        out += text.mid(from, at - from) + QString::number(value);
        from = at + 2;
    }
    out += text.mid(from);
    return out;
}

std::optional<OpcUaDialogLayout> opcUaDialogLayout(int authIndex)
{
    switch (authIndex) {
    case 0: return OpcUaDialogLayout{false, false, 171, 168, 203, 200, 235, 232};
    case 1: return OpcUaDialogLayout{true, false, 235, 232, 267, 264, 299, 296};
    case 2: return OpcUaDialogLayout{false, true, 371, 368, 403, 400, 435, 432};
    default: return std::nullopt;
    }
}

int opcUaCheckServerDialog(const OpcUaServerDialogValues& v)
{
    if (isEmptyTrimmed(v.address))
        return 5628;
    if (v.authIndex == 1) {
        if (isEmptyTrimmed(v.user))
            return 5629;
        if (isEmptyTrimmed(v.password))
            return 5630;
    }
    if (v.authIndex == 2) {
        if (isEmptyTrimmed(v.certificate))
            return 5631;
        if (isEmptyTrimmed(v.privateKey))
            return 5632;
    }
    return 0;
}

}  // namespace zfw
