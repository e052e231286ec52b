#include "editors/metering/core/MeterBusModel.h"

#include "common/IntText.h"
#include "common/TextUtil.h"
#include "editors/metering/core/MBusEditorLists.h"
#include "editors/metering/core/MBusNumbers.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <limits>

namespace zfw {

namespace {

constexpr int kTextAddNode = 1723;
constexpr int kTextAddVariable = 1748;

// A number the rules do not examine, or one they have passed: the value when the text is a
// whole number that fits T, else 0, so that nothing but a defined value is ever stored.
template <typename T>
T stored(const QString& text)
{
    const std::optional<qint64> v = parseWholeNumber64(text);
    if (!v || *v < qint64(std::numeric_limits<T>::min())
        || *v > qint64(std::numeric_limits<T>::max()))
        return T(0);
    return T(*v);
}

quint8 flag(bool on) { return on ? 1 : 0; }

QString number(qint64 v) { return QString::number(v); }

}  // namespace

std::array<QString, 5> timePointBoxes(const QString& year)
{
    const int y = wholeNumber(year);
    std::array<QString, 5> boxes;
    for (int i = 0; i < 5; ++i)
        boxes[std::size_t(i)] = y <= 0 ? QStringLiteral("0") : number(qint64(y) + i + 1);
    return boxes;
}

QString nodeItemText(const TNodo& node)
{
    if (node.MBus_Type == 0)
        return QStringLiteral("wM-Bus Node - Address ") + node.wMBus_Add + QStringLiteral(" - ")
               + node.Description;
    return QStringLiteral("ID ") + number(node.Node_ID_Type == 0 ? node.Node_Pri : node.Node_Sec)
           + QStringLiteral(" - ") + node.Description;
}

QString variableItemText(const TVariabile& var)
{
    return QStringLiteral("VAR - ") + var.Description;
}

TNodePageValues nodePageOf(const TNodo& n)
{
    TNodePageValues p;
    p.Enable = n.Enable != 0;
    p.Description = n.Description;
    p.MBus_Type = n.MBus_Type == 0 ? 0 : 1;
    p.secondaryChosen = n.Node_ID_Type != 0;
    p.Node_Pri = number(n.Node_Pri);
    p.Node_Sec = number(n.Node_Sec);
    p.Enable_NS = n.Enable_NS != 0;
    p.Node_State = number(n.Node_State);
    p.Enable_IN = n.Enable_IN != 0;
    p.Ident_Num = number(n.Ident_Num);
    p.BCDtoINT_IN = n.BCDtoINT_IN != 0;
    p.Swap_Ident = n.Swap_Ident == 1 ? 1 : 0;
    p.Send_SNK = n.Send_SNK != 0;
    p.Reset_App = n.Reset_App != 0;
    p.Var_List_Type = n.Var_List_Type == 1 ? 1 : 0;
    p.Cut_After = n.Cut_After < 250 ? n.Cut_After : 249;
    p.Enable_MS = n.Enable_MS != 0;
    p.Manufacturer_Spec = number(n.Manufacturer_Spec);
    p.MSD_Length = number(n.MSD_Length);
    p.MSD_Offset = number(n.MSD_Offset);
    p.Enable_AN = n.Enable_AN != 0;
    p.Access_Number = number(n.Access_Number);
    p.wMBus_ManID = n.wMBus_ManID;
    p.wMBus_Add = n.wMBus_Add;
    p.wMBus_Ver = n.wMBus_Ver;
    p.wMBus_DevType = n.wMBus_DevType;
    p.wMBus_En_Key = n.wMBus_En_Key != 0;
    p.wMBus_Key = n.wMBus_Key;
    // The wireless panel shows the same node fields as the wired rows.
    p.wEnable_NS = p.Enable_NS;
    p.wNode_State = p.Node_State;
    p.wEnable_IN = p.Enable_IN;
    p.wIdent_Num = p.Ident_Num;
    p.wEnable_RSSI = n.Enable_RSSI != 0;
    p.wRSSI = number(n.RSSI);
    p.wEnable_AN = p.Enable_AN;
    p.wAccess_Number = p.Access_Number;
    p.wBCDtoINT_IN = p.BCDtoINT_IN;
    p.wSwap_Ident = p.Swap_Ident;
    p.wVar_List_Type = p.Var_List_Type;
    return p;
}

TVarPageValues varPageOf(const TVariabile& v)
{
    auto index = [](qint64 i, qsizetype count) { return i >= 0 && i < count ? int(i) : 0; };
    TVarPageValues p;
    p.Enable = v.Enable;
    p.Description = v.Description;
    p.Type_Of_Data = index(v.Type_Of_Data, typeOfDataTexts().size());
    p.Function_Field = index(v.Function_Field, functionFieldTexts().size());
    p.Dimension = index(v.Dimension, dimensionTexts().size());
    p.Unita = index(v.Unita, unitTexts().size());
    p.PositionData = number(v.PositionData);
    p.Storage_Number = number(v.Storage_Number);
    p.Tariff = number(v.Tariff);
    // 255 means nothing chosen; the list shows its first item then.
    p.VIFE = index(v.VIFE, vifeTexts().size());
    p.BCDtoINT = v.BCDtoINT;
    p.VIF_ASCII = v.VIF_ASCII;
    p.Length = number(v.Length);
    p.Conv_Float = v.Conv_Float;
    p.Force_Int32 = v.Force_Int32;
    p.TP_Mod_Regs = v.TP_Mod_Regs;
    p.TP_Mod_Year = number(v.TP_Mod_Year);
    p.Position = number(v.Position);
    p.Post_Operation = index(v.Post_Operation, postOperationTexts().size());
    return p;
}

TNodo nodeFromPage(const TNodePageValues& p, const TNodo& base)
{
    TNodo n = base;
    n.Enable = flag(p.Enable);
    n.Description = p.Description;
    n.Node_Pri = stored<qint32>(p.Node_Pri);
    n.Node_Sec = stored<qint32>(p.Node_Sec);
    n.Send_SNK = flag(p.Send_SNK);
    n.Reset_App = flag(p.Reset_App);
    n.Enable_NS = flag(p.Enable_NS);
    n.Node_State = stored<qint32>(p.Node_State);
    n.Enable_IN = flag(p.Enable_IN);
    n.Ident_Num = stored<qint32>(p.Ident_Num);
    n.BCDtoINT_IN = flag(p.BCDtoINT_IN);
    n.Swap_Ident = p.Swap_Ident;
    n.Node_ID_Type = p.secondaryChosen ? 1 : 0;
    n.Var_List_Type = quint8(p.Var_List_Type);
    n.Cut_After = quint8(p.Cut_After);
    n.Enable_MS = flag(p.Enable_MS);
    n.Manufacturer_Spec = stored<qint32>(p.Manufacturer_Spec);
    n.MSD_Length = stored<quint8>(p.MSD_Length);
    n.MSD_Offset = stored<quint8>(p.MSD_Offset);
    n.Enable_AN = flag(p.Enable_AN);
    n.Access_Number = stored<qint32>(p.Access_Number);
    n.MBus_Type = p.wireless() ? 0 : 1;
    n.wMBus_ManID = p.wMBus_ManID;
    n.wMBus_Add = p.wMBus_Add;
    n.wMBus_Ver = p.wMBus_Ver;
    n.wMBus_DevType = p.wMBus_DevType;
    n.wMBus_En_Key = flag(p.wMBus_En_Key);
    n.wMBus_Key = p.wMBus_Key;
    if (p.wireless()) {
        n.Enable_NS = flag(p.wEnable_NS);
        n.Node_State = stored<qint32>(p.wNode_State);
        n.Enable_IN = flag(p.wEnable_IN);
        n.Ident_Num = stored<qint32>(p.wIdent_Num);
        n.Enable_RSSI = flag(p.wEnable_RSSI);
        n.RSSI = stored<qint32>(p.wRSSI);
        n.BCDtoINT_IN = flag(p.wBCDtoINT_IN);
        n.Swap_Ident = p.wSwap_Ident;
        n.Var_List_Type = quint8(p.wVar_List_Type);
        n.Enable_AN = flag(p.wEnable_AN);
        n.Access_Number = stored<qint32>(p.wAccess_Number);
    }
    return n;
}

TVariabile varFromPage(const TVarPageValues& p)
{
    TVariabile v;
    v.Enable = p.Enable;
    v.Description = p.Description;
    v.Type_Of_Data = p.Type_Of_Data;
    v.Function_Field = p.Function_Field;
    v.Dimension = p.Dimension;
    v.Unita = p.Unita;
    v.PositionData = stored<qint32>(p.PositionData);
    v.Storage_Number = stored<quint32>(p.Storage_Number);
    v.Tariff = stored<qint32>(p.Tariff);
    v.VIFE = p.VIFE < 0 ? quint8(kVifeNothingChosen) : quint8(p.VIFE);
    v.BCDtoINT = p.BCDtoINT;
    v.VIF_ASCII = p.VIF_ASCII;
    v.Length = stored<qint32>(p.Length);
    v.Conv_Float = p.Conv_Float;
    v.Force_Int32 = p.Force_Int32;
    v.TP_Mod_Regs = p.TP_Mod_Regs;
    v.TP_Mod_Year = stored<qint32>(p.TP_Mod_Year);
    v.Position = stored<quint16>(p.Position);
    v.Post_Operation = quint8(p.Post_Operation);
    return v;
}

TNodePage rulesNodePage(const TNodePageValues& p)
{
    TNodePage r;
    r.wireless = p.wireless();
    r.manufacturerId = p.wMBus_ManID;
    r.address = p.wMBus_Add;
    r.version = p.wMBus_Ver;
    r.deviceType = p.wMBus_DevType;
    r.keyEnable = p.wMBus_En_Key;
    r.key = p.wMBus_Key;
    r.wNodeState = p.wNode_State;
    r.wIdentNum = p.wIdent_Num;
    r.wRssi = p.wRSSI;
    r.wAccessNumber = p.wAccess_Number;
    r.secondaryAddressing = p.secondaryChosen;
    r.primaryId = p.Node_Pri;
    r.secondaryId = p.Node_Sec;
    r.nodeStateChecked = p.Enable_NS;
    r.nodeState = p.Node_State;
    r.identNumChecked = p.Enable_IN;
    r.identNum = p.Ident_Num;
    // The node page's own access-number row is shown for wired nodes only.
    r.accessNumberShown = !p.wireless();
    r.accessNumberChecked = p.Enable_AN;
    r.accessNumber = p.Access_Number;
    r.msdShown = true;
    r.msdChecked = p.Enable_MS;
    r.msdRegister = p.Manufacturer_Spec;
    r.msdLength = p.MSD_Length;
    r.msdOffset = p.MSD_Offset;
    return r;
}

TVarPage rulesVarPage(const TVarPageValues& p)
{
    TVarPage r;
    r.positionData = p.PositionData;
    r.storageNumber = p.Storage_Number;
    r.tariff = p.Tariff;
    r.variableLength = p.Dimension == kDimensionVariableLength;
    r.length = p.Length;
    r.timePointType = p.Type_Of_Data == kTypeOfDataTimePoint;
    r.timePointChecked = p.TP_Mod_Regs;
    r.timePointYear = p.TP_Mod_Year;
    r.positionVar = p.Position;
    return r;
}

TMeterBusModel::TMeterBusModel(TextLookup text) : m_text(std::move(text)) {}

MBusNetworkLoad TMeterBusModel::open(const QString& path)
{
    MBusNetworkLoad load = loadMBusNetwork(path);
    Nodi_List = load.nodes;
    IND_NODO = -1;
    IND_VAR = -1;
    Is_Change = false;
    return load;
}

FileResult TMeterBusModel::save(const QString& path) const
{
    return saveMBusNetwork(path, Nodi_List);
}

void TMeterBusModel::select(int node, int var)
{
    if (!validNode(node)) {
        IND_NODO = -1;
        IND_VAR = -1;
        return;
    }
    IND_NODO = node;
    const auto& vars = Nodi_List[std::size_t(node)].Var_List;
    IND_VAR = var >= 0 && std::size_t(var) < vars.size() ? var : -1;
}

std::optional<TNodePageValues> TMeterBusModel::nodePage() const
{
    if (!validNode(IND_NODO))
        return std::nullopt;
    return nodePageOf(Nodi_List[std::size_t(IND_NODO)]);
}

std::optional<TVarPageValues> TMeterBusModel::varPage() const
{
    if (!validNode(IND_NODO))
        return std::nullopt;
    if (IND_VAR < 0)
        return TVarPageValues{};  // ready for a new variable of the node
    return varPageOf(Nodi_List[std::size_t(IND_NODO)].Var_List[std::size_t(IND_VAR)]);
}

int TMeterBusModel::selectedListType() const
{
    return validNode(IND_NODO) && Nodi_List[std::size_t(IND_NODO)].Var_List_Type == 1 ? 1 : 0;
}

TEditOutcome TMeterBusModel::nodeButton(const QString& caption, const TNodePageValues& page)
{
    TEditOutcome out;
    // Every press counts as a change, valid or not.
    Is_Change = true;
    if (caption == text(kTextAddNode)) {
        const RuleVerdict v = rules().Controllo_Dati_New_Nodo(rulesNodePage(page));
        out.errors = v.messages;
        if (v.ok) {
            Nodi_List.push_back(nodeFromPage(page));
            out.done = true;
        }
        return out;
    }
    if (!validNode(IND_NODO))
        return out;
    const RuleVerdict v = rules().Controllo_Dati_New_Nodo(rulesNodePage(page));
    out.errors = v.messages;
    if (v.ok) {
        TNodo& node = Nodi_List[std::size_t(IND_NODO)];
        node = nodeFromPage(page, node);
        out.done = true;
    }
    return out;
}

TEditOutcome TMeterBusModel::variableButton(const QString& caption, const TVarPageValues& page)
{
    TEditOutcome out;
    Is_Change = true;
    const bool add = caption == text(kTextAddVariable);
    // Adding needs a node; modifying needs a selected variable.
    if (add ? !validNode(IND_NODO) : !variableSelected())
        return out;
    const RuleVerdict v = rules().Controllo_Dati_New_Var(rulesVarPage(page), add);
    out.errors = v.messages;
    if (!v.ok)
        return out;
    auto& vars = Nodi_List[std::size_t(IND_NODO)].Var_List;
    if (add)
        vars.push_back(varFromPage(page));
    else
        vars[std::size_t(IND_VAR)] = varFromPage(page);
    out.done = true;
    return out;
}

int TMeterBusModel::deleteQuestion() const
{
    if (!validNode(IND_NODO))
        return 1893;
    return IND_VAR < 0 ? 1894 : 1895;
}

void TMeterBusModel::deleteSelected()
{
    if (!validNode(IND_NODO))
        Nodi_List.clear();
    else if (IND_VAR < 0)
        Nodi_List.erase(Nodi_List.begin() + IND_NODO);
    else {
        auto& vars = Nodi_List[std::size_t(IND_NODO)].Var_List;
        vars.erase(vars.begin() + IND_VAR);
    }
    IND_NODO = -1;
    IND_VAR = -1;
    Is_Change = true;
}

TEditOutcome TMeterBusModel::copyVariable()
{
    TEditOutcome out;
    if (!validNode(IND_NODO)) {
        out.errors.append(text(1898));
        return out;
    }
    const auto& vars = Nodi_List[std::size_t(IND_NODO)].Var_List;
    if (IND_VAR < 0 || std::size_t(IND_VAR) >= vars.size()) {
        out.errors.append(text(1897));
        return out;
    }
    Copy_Var = vars[std::size_t(IND_VAR)];
    out.done = true;
    return out;
}

TEditOutcome TMeterBusModel::copyNode()
{
    TEditOutcome out;
    if (IND_NODO >= int(Nodi_List.size())) {
        out.errors.append(text(1900));
        return out;
    }
    if (IND_NODO < 0) {
        out.errors.append(text(1899));
        return out;
    }
    TNodo copy = Nodi_List[std::size_t(IND_NODO)];
    // A pasted node starts with its registers switched off: they would collide with the
    // original's until the user gives them new numbers.
    copy.Enable_NS = 0;
    copy.Enable_IN = 0;
    copy.Enable_MS = 0;
    copy.Enable_AN = 0;
    copy.Enable_RSSI = 0;
    Copy_Node = std::move(copy);
    out.done = true;
    return out;
}

std::vector<TPasteRow> TMeterBusModel::pasteRows(const std::vector<TVariabile>& vars) const
{
    std::vector<TPasteRow> rows;
    for (const TVariabile& v : vars) {
        rows.push_back({1902, number(v.PositionData), v.Description});
        rows.push_back({1903, std::nullopt, v.Description});
        rows.push_back({1904, number(v.TP_Mod_Year), v.Description});
    }
    if (rows.empty())
        rows.push_back({0, QString(), QString()});
    return rows;
}

std::optional<TPasteRequest> TMeterBusModel::pasteVariableRequest(QString* error) const
{
    if (!Copy_Var) {
        *error = text(1901);
        return std::nullopt;
    }
    if (!validNode(IND_NODO)) {
        *error = text(1905);
        return std::nullopt;
    }
    TPasteRequest r;
    r.Form_Type = 2;
    r.rows = pasteRows({*Copy_Var});
    return r;
}

std::optional<TPasteRequest> TMeterBusModel::pasteNodeRequest(QString* error) const
{
    if (!Copy_Node) {
        error->clear();
        return std::nullopt;
    }
    const TNodo& c = *Copy_Node;
    TPasteRequest r;
    r.Node_State = number(c.Node_State);
    r.Ident_Num = number(c.Ident_Num);
    if (c.MBus_Type != 0) {
        r.Form_Type = 1;
        r.secondaryChosen = c.Node_ID_Type != 0;
        r.Node_Pri = number(c.Node_Pri);
        r.Node_Sec = number(c.Node_Sec);
    } else {
        r.Form_Type = 3;
        r.wMBus_Add = c.wMBus_Add;
        r.RSSI = number(c.RSSI);
    }
    r.rows = pasteRows(c.Var_List);
    return r;
}

void TMeterBusModel::applyPasteVariable(const TPasteAnswer& a)
{
    if (!Copy_Var || !validNode(IND_NODO) || a.index.size() < 3)
        return;
    TVariabile v = *Copy_Var;
    v.PositionData = stored<qint32>(a.index[0]);
    v.TP_Mod_Year = stored<qint32>(a.index[2]);
    Nodi_List[std::size_t(IND_NODO)].Var_List.push_back(std::move(v));
    Is_Change = true;
}

void TMeterBusModel::applyPasteNode(const TPasteAnswer& a)
{
    if (!Copy_Node)
        return;
    const TNodo& c = *Copy_Node;
    const bool wired = c.MBus_Type != 0;
    TNodo n;
    n.Enable = c.Enable;
    n.Description = c.Description;
    n.Send_SNK = c.Send_SNK;
    n.Reset_App = c.Reset_App;
    n.BCDtoINT_IN = c.BCDtoINT_IN;
    n.Swap_Ident = c.Swap_Ident;
    n.Var_List_Type = c.Var_List_Type;
    n.Cut_After = c.Cut_After;
    n.Manufacturer_Spec = c.Manufacturer_Spec;
    n.MSD_Length = c.MSD_Length;
    n.MSD_Offset = c.MSD_Offset;
    n.Access_Number = c.Access_Number;
    n.MBus_Type = c.MBus_Type;
    n.wMBus_ManID = c.wMBus_ManID;
    n.wMBus_Ver = c.wMBus_Ver;
    n.wMBus_DevType = c.wMBus_DevType;
    n.wMBus_En_Key = c.wMBus_En_Key;
    n.wMBus_Key = c.wMBus_Key;
    n.Node_Pri = wired ? stored<qint32>(a.Node_Pri) : c.Node_Pri;
    n.Node_Sec = wired ? stored<qint32>(a.Node_Sec) : c.Node_Sec;
    n.wMBus_Add = wired ? c.wMBus_Add : a.wMBus_Add;
    n.Node_State = stored<qint32>(a.Node_State);
    n.Ident_Num = stored<qint32>(a.Ident_Num);
    n.RSSI = stored<qint32>(a.RSSI);
    n.Node_ID_Type = a.secondaryChosen ? 1 : 0;
    for (std::size_t g = 0; g < c.Var_List.size(); ++g) {
        TVariabile v = c.Var_List[g];
        if (3 * g + 2 < a.index.size()) {
            v.PositionData = stored<qint32>(a.index[3 * g]);
            v.TP_Mod_Year = stored<qint32>(a.index[3 * g + 2]);
        }
        n.Var_List.push_back(std::move(v));
    }
    Nodi_List.push_back(std::move(n));
    Is_Change = true;
}

ImportResult importNetworkFile(const QString& picked, const QString& projectFile)
{
    ImportResult r;
    const QFileInfo from(picked);
    const QFileInfo to(projectFile);
    if (to.exists() && from.exists() && from.canonicalFilePath() == to.canonicalFilePath()) {
        r.sameFile = true;
        return r;
    }
    QFile in(picked);
    if (!in.open(QIODevice::ReadOnly)) {
        r.ok = false;
        r.message = QStringLiteral("Cannot read %1: %2").arg(displayPath(picked), in.errorString());
        return r;
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        r.ok = false;
        r.message = QStringLiteral("Cannot read %1: %2").arg(displayPath(picked), in.errorString());
        return r;
    }
    // The save file writes beside the target and renames over it only when all went well.
    QSaveFile out(projectFile);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        r.ok = false;
        r.message =
            QStringLiteral("Cannot write %1: %2").arg(displayPath(projectFile), out.errorString());
        return r;
    }
    return r;
}

}  // namespace zfw
