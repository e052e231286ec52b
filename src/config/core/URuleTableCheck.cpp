#include "config/core/URuleTable.h"

#include "common/TextUtil.h"
#include "common/UComon.h"
#include "common/UComonValidators.h"

#include <array>

namespace zfw {

namespace {

// One PLC connection of the check; IP1 = -1 marks a free entry.
struct TIPPort {
    int IP1 = -1;
    int IP2 = -1;
    int IP3 = -1;
    int IP4 = -1;
    int Port = -1;

    bool operator==(const TIPPort&) const = default;
};

// Finds or adds the connection; -1 when the table is full and the connection is not in it.
// Entries fill in order, so a known connection is met before the first free entry.
int Check_IP_Port(std::vector<TIPPort>& table, quint8 b1, quint8 b2, quint8 b3, quint8 b4,
                  int p)
{
    const TIPPort wanted{b1, b2, b3, b4, p};
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].IP1 == -1) {
            table[i] = wanted;
            return int(i);
        }
        if (table[i] == wanted)
            return int(i);
    }
    return -1;
}

bool passes(const RuleTable& table, int row, const RuleCheck& check,
            std::vector<TIPPort>& connections, int connectionLimit)
{
    const QString text = table.cell(check.column, row);
    switch (check.kind) {
    case RuleCheckKind::IntRange: {
        const int v = strToIntDef(text, -1);
        return v >= check.min && v <= check.max;
    }
    case RuleCheckKind::NotBlank:
        return !trimBlanks(text).isEmpty();
    case RuleCheckKind::IpAddress: {
        quint8 a = 0, b = 0, c = 0, d = 0;
        return !IP_Str_To_Bytes(text, a, b, c, d);
    }
    case RuleCheckKind::Connection: {
        if (connectionLimit <= 0)
            return true;
        quint8 a = 0, b = 0, c = 0, d = 0;
        IP_Str_To_Bytes(text, a, b, c, d);
        const int port = strToIntDef(table.cell(check.portColumn, row), -1);
        return Check_IP_Port(connections, a, b, c, d, port) != -1;
    }
    }
    return false;
}

}  // namespace

RuleFault Controllo_dati(const RuleFile& file)
{
    std::vector<TIPPort> connections(std::size_t(qMax(0, file.spec.connectionLimit)));
    for (std::size_t t = 0; t < file.tables.size(); ++t) {
        const RuleTable& table = file.tables[t];
        const RuleTableSpec& spec = table.spec();
        const int rules = table.ruleCount();
        for (int row = 1; row <= rules; ++row) {
            if (!table.isEnabled(row))
                continue;
            for (const RuleCheck& check : spec.checks) {
                if (check.onlyWhenShown && spec.columns[check.column].hidden)
                    continue;
                if (check.onlyWhenYesIn >= 0 && !table.isYes(check.onlyWhenYesIn, row))
                    continue;
                if (passes(table, row, check, connections, file.spec.connectionLimit))
                    continue;
                return {int(t), row, check.text, check.boundFollows, check.max};
            }
        }
    }
    return {};
}

QString ruleFaultMessage(const RuleFault& fault, const RuleFileSpec& spec,
                         const ProgramState& lang)
{
    if (fault.ok())
        return {};
    QString out = lang.lang(spec.errorRowText) + QString::number(fault.row) + lang.lang(fault.text);
    if (fault.hasBound)
        out += QString::number(fault.bound);
    return out;
}

}  // namespace zfw
