#include "editors/metering/core/MBusRules.h"

#include "editors/metering/core/MBusNumbers.h"

namespace zfw {

namespace {

constexpr int kTimePointSpan = 5;  // year at +0 to second at +5

bool within(qint64 v, qint64 lo, qint64 hi) { return v >= lo && v <= hi; }

bool refuse(RuleVerdict& v, const QString& message)
{
    v.ok = false;
    v.messages.append(message);
    return false;
}

RuleVerdict failed(RuleVerdict& v, const QString& message)
{
    refuse(v, message);
    return v;
}

}  // namespace

TMBusRules::TMBusRules(const TNodiList& nodes, int IND_NODO, int IND_VAR, TextLookup text)
    : m_nodes(nodes), m_node(IND_NODO), m_var(IND_VAR), m_text(std::move(text))
{
}

RuleVerdict TMBusRules::Check_Node_ID(int ID, int type_ID) const
{
    RuleVerdict v;
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
        const TNodo& n = m_nodes[i];
        const bool same = n.MBus_Type != 0 && (n.Node_ID_Type == 0 ? 0 : 1) == type_ID
                          && (type_ID == 0 ? n.Node_Pri : n.Node_Sec) == ID;
        if (!same)
            continue;
        if (int(i) != m_node) {
            refuse(v, t(1892));
            return v;
        }
        // The selected node itself counts only while one of its variables is selected,
        // which is how the editor adds a node.
        if (m_var != -1) {
            refuse(v, t(1891));
            return v;
        }
    }
    return v;
}

RuleVerdict TMBusRules::Check_Node_ID2(int ID, int type_ID) const
{
    RuleVerdict v;
    for (const TNodo& n : m_nodes) {
        if ((n.Node_ID_Type == 0 ? 0 : 1) == type_ID
            && (type_ID == 0 ? n.Node_Pri : n.Node_Sec) == ID) {
            refuse(v, t(1890));
            return v;
        }
    }
    return v;
}

bool TMBusRules::checkManufacturerData(const TNodePage& page, int nodeState, int identNum, int* msd,
                                       RuleVerdict& v) const
{
    *msd = -1;
    if (!page.msdShown)
        return true;
    if (page.msdChecked) {
        *msd = wholeNumber(page.msdRegister);
        if (!within(*msd, 0, 1536))
            return refuse(v, t(1880));
        if (*msd > 0 && identNum > 0 && *msd == identNum)
            return refuse(v, t(1881));
        if (*msd > 0 && nodeState > 0 && *msd == nodeState)
            return refuse(v, t(1882));
    }
    if (*msd > 0) {
        const int length = wholeNumber(page.msdLength);
        const int offset = wholeNumber(page.msdOffset);
        if (!within(length, 1, 241))
            return refuse(v, t(1883));
        if (!within(offset, 0, 240))
            return refuse(v, t(1884));
        if (length + offset > 241)
            return refuse(v, t(1885));
    }
    return true;
}

RuleVerdict TMBusRules::Controllo_Dati_New_Nodo(const TNodePage& p) const
{
    RuleVerdict v;
    int msd = -1;
    if (p.wireless) {
        if (!within(wholeNumber(p.manufacturerId), 0, 0xFFFF))
            return failed(v, t(1845));
        if (!within(wholeNumber64(p.address), 0, 0xFFFFFFFFll))
            return failed(v, t(1846));
        if (!within(wholeNumber(p.version), 0, 255))
            return failed(v, t(1847));
        if (!within(wholeNumber(p.deviceType), 0, 255))
            return failed(v, t(1848));
        if (p.keyEnable) {
            for (int i = 0; i < 16; ++i)
                if (!within(wholeNumber(p.key[std::size_t(i)]), 0, 255))
                    return failed(v, t(1849 + i));
        }
        const int ns = wholeNumber(p.wNodeState);
        const int in = wholeNumber(p.wIdentNum);
        const int rssi = wholeNumber(p.wRssi);
        const int an = wholeNumber(p.wAccessNumber);
        const struct {
            int value;
            int text;
        } registers[] = {{ns, 1865}, {in, 1866}, {rssi, 1867}, {an, 1868}};
        for (const auto& r : registers)
            if (!within(r.value, 0, 59999))
                return failed(v, t(r.text));
        const struct {
            int a, b, text;
        } pairs[] = {{ns, in, 1869},   {in, rssi, 1870}, {in, an, 1871},
                     {ns, rssi, 1872}, {ns, an, 1873},   {rssi, an, 1874}};
        for (const auto& pr : pairs)
            if (pr.a > 0 && pr.b > 0 && pr.a == pr.b)
                return failed(v, t(pr.text));
        checkManufacturerData(p, ns, in, &msd, v);
        return v;
    }

    const int type = p.secondaryAddressing ? 1 : 0;
    const int id = wholeNumber(p.secondaryAddressing ? p.secondaryId : p.primaryId);
    if (type == 0 && !within(id, 0, 255))
        return failed(v, t(1875));
    if (type == 1 && !within(id, 0, 99999999))
        return failed(v, t(1876));
    // The address verdict becomes the result, and the checks go on, so a second message may
    // follow the first.
    v = Check_Node_ID(id, type);
    int ns = -1;
    int in = -1;
    if (p.nodeStateChecked) {
        ns = wholeNumber(p.nodeState);
        if (!within(ns, 0, 1536))
            return failed(v, t(1877));
    }
    if (p.identNumChecked) {
        in = wholeNumber(p.identNum);
        if (!within(in, 0, 1536))
            return failed(v, t(1878));
    }
    if (ns > 0 && in > 0 && ns == in)
        return failed(v, t(1879));
    if (!checkManufacturerData(p, ns, in, &msd, v))
        return v;
    if (p.accessNumberChecked && p.accessNumberShown) {
        const int an = wholeNumber(p.accessNumber);
        if (!within(an, 0, 1536))
            return failed(v, t(1886));
        if (an > 0 && in > 0 && an == in)
            return failed(v, t(1887));
        if (an > 0 && ns > 0 && an == ns)
            return failed(v, t(1888));
        if (an > 0 && msd > 0 && an == msd)
            return failed(v, t(1889));
    }
    return v;
}

RuleVerdict TMBusRules::Controllo_Dati_New_Var(const TVarPage& p, bool newvar) const
{
    RuleVerdict v;
    const int pd = wholeNumber(p.positionData);
    if (!within(pd, 1, 1536))
        return failed(v, t(1835));
    if (!within(wholeNumber64(p.storageNumber), 0, 0xFFFFFFFFll))
        return failed(v, t(1838));
    if (!within(wholeNumber64(p.tariff), 0, 0xFFFFF))
        return failed(v, t(1839));
    if (p.variableLength && !within(wholeNumber(p.length), 0, 191))
        return failed(v, t(1840));
    int tp = 0;
    if (p.timePointType && p.timePointChecked) {
        tp = wholeNumber(p.timePointYear);
        if (!within(tp, 1, 59995))
            return failed(v, t(1841));
    }
    if (tp > 0 && within(pd, tp, tp + kTimePointSpan))
        return failed(v, t(1842));
    if (!within(wholeNumber(p.positionVar), 1, 512))
        return failed(v, t(1844));
    const RegisterConflict c = Check_Registers(pd, 0, tp, newvar);
    if (c.conflict)
        refuse(v, c.message);
    return v;
}

RegisterConflict TMBusRules::Check_Registers(int Reg_Mod, int Reg_RE_Mod, int Reg_TP,
                                             bool NewVar) const
{
    RegisterConflict r;
    auto nodeMessage = [&](const TNodo& n, int open, int close) {
        r.conflict = true;
        r.message = t(open) + n.Description + t(close);
        return r;
    };
    auto varMessage = [&](const TNodo& n, const TVariabile& var, int first) {
        r.conflict = true;
        r.message = t(first) + n.Description + t(first + 1) + var.Description + t(first + 2);
        return r;
    };
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
        const TNodo& n = m_nodes[i];
        if (n.Enable != 1)
            continue;
        const bool rssi = n.MBus_Type == 0 && n.RSSI > 0;
        if (n.Node_State == Reg_Mod)
            return nodeMessage(n, 1787, 1788);
        if (n.Ident_Num == Reg_Mod)
            return nodeMessage(n, 1789, 1790);
        if (rssi && n.RSSI == Reg_Mod)
            return nodeMessage(n, 1791, 1792);
        if (Reg_RE_Mod > 0) {
            if (n.Node_State == Reg_RE_Mod)
                return nodeMessage(n, 1793, 1794);
            if (n.Ident_Num == Reg_RE_Mod)
                return nodeMessage(n, 1795, 1796);
            if (rssi && n.RSSI == Reg_RE_Mod)
                return nodeMessage(n, 1797, 1798);
        }
        if (Reg_TP > 0) {
            const int last = Reg_TP + kTimePointSpan;
            if (within(n.Node_State, Reg_TP, last))
                return nodeMessage(n, 1799, 1800);
            if (within(n.Ident_Num, Reg_TP, last))
                return nodeMessage(n, 1801, 1802);
            if (rssi && within(n.RSSI, Reg_TP, last))
                return nodeMessage(n, 1803, 1804);
        }
        for (std::size_t j = 0; j < n.Var_List.size(); ++j) {
            const TVariabile& var = n.Var_List[j];
            if (!var.Enable)
                continue;
            if (!NewVar && int(i) == m_node && int(j) == m_var)
                continue;
            const bool tp = var.TP_Mod_Regs;
            const int y = var.TP_Mod_Year;
            if (var.PositionData == Reg_Mod)
                return varMessage(n, var, 1805);
            if (tp && within(Reg_Mod, y, y + kTimePointSpan))
                return varMessage(n, var, 1811);
            if (Reg_RE_Mod > 0 && var.PositionData == Reg_RE_Mod)
                return varMessage(n, var, 1814);
            if (Reg_RE_Mod > 0 && tp && within(Reg_RE_Mod, y, y + kTimePointSpan))
                return varMessage(n, var, 1820);
            if (Reg_TP > 0 && within(var.PositionData, Reg_TP, Reg_TP + kTimePointSpan))
                return varMessage(n, var, 1823);
            if (Reg_TP > 0 && tp && Reg_TP <= y + kTimePointSpan && y <= Reg_TP + kTimePointSpan)
                return varMessage(n, var, 1829);
        }
    }
    return r;
}

}  // namespace zfw
