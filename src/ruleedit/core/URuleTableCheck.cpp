#include "ruleedit/core/URuleTable.h"

#include "common/TextUtil.h"
#include "common/UComon.h"
#include "common/UComonValidators.h"

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
int Check_IP_Port(std::vector<TIPPort>& table, quint8 b1, quint8 b2, quint8 b3, quint8 b4, int p)
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

bool hexInRange(const QString& raw, qint64 min, qint64 max)
{
    const QString text = trimBlanks(raw);
    if (text.isEmpty() || text.size() > 15)
        return false;
    bool ok = false;
    const qint64 v = text.toLongLong(&ok, 16);
    // toLongLong takes a "0x" prefix and a sign; the cell holds digits only.
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F')))
            return false;
    }
    return ok && v >= min && v <= max;
}

bool passes(const RuleTable& table, int row, const RuleCheck& check,
            std::vector<TIPPort>& connections, int connectionLimit)
{
    const QString text = table.cell(check.column, row);
    switch (check.kind) {
    case RuleCheckKind::IntRange: {
        const qint64 v = strToIntDef(text, -1);
        return v >= check.min && v <= check.max;
    }
    case RuleCheckKind::NotBlank: return !trimBlanks(text).isEmpty();
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
    case RuleCheckKind::OneOf: return check.items.contains(text);
    case RuleCheckKind::HexRange: return hexInRange(text, check.min, check.max);
    case RuleCheckKind::Row: return true;  // run by the walk, which takes its fault
    }
    return false;
}

RuleFault faultOf(const RuleCheck& check, int table, int row)
{
    RuleFault f;
    f.table = table;
    f.row = row;
    f.text = check.text;
    f.hasBound = check.boundFollows;
    f.bound = check.max;
    f.afterText = check.afterText;
    f.form = check.form;
    return f;
}

}  // namespace

RuleFault Controllo_dati(const RuleFile& file)
{
    std::vector<TIPPort> connections(std::size_t(qMax(0, file.spec.connectionLimit)));
    for (std::size_t t = 0; t < file.tables.size(); ++t) {
        const RuleTable& table = file.tables[t];
        const RuleTableSpec& spec = table.spec();
        for (int row = 1; row < table.rowCount(); ++row) {
            if (spec.skipDisabledBeforeKey && !table.isEnabled(row))
                continue;
            if (table.keyEnds(row)) {
                if (spec.walkPastEmptyKey)
                    continue;
                break;
            }
            if (!table.isEnabled(row))
                continue;
            for (const RuleCheck& check : spec.checks) {
                if (check.onlyWhenShown && check.column >= 0 && spec.columns[check.column].hidden)
                    continue;
                if (check.onlyWhenYesColumn >= 0 && !table.isYes(check.onlyWhenYesColumn, row))
                    continue;
                if (check.kind == RuleCheckKind::Row) {
                    if (std::optional<RuleFault> fault = check.rowCheck(table, row)) {
                        fault->table = int(t);
                        if (fault->row == 0)
                            fault->row = row;
                        return *fault;
                    }
                    continue;
                }
                if (passes(table, row, check, connections, file.spec.connectionLimit))
                    continue;
                return faultOf(check, int(t), row);
            }
        }
    }
    for (const RuleFileCheck& check : file.spec.fileChecks) {
        if (std::optional<RuleFault> fault = check(file)) {
            if (fault->table < 0)
                fault->table = 0;
            return *fault;
        }
    }
    return {};
}

QString ruleFaultMessage(const RuleFault& fault, const RuleFileSpec& spec, const ProgramState& lang)
{
    if (fault.ok())
        return {};
    QString out;
    switch (fault.form) {
    case RuleMessageForm::RowPrefix: {
        int prefix = spec.errorRowText;
        if (fault.table >= 0 && fault.table < spec.tables.size()
            && spec.tables[fault.table].errorRowText)
            prefix = spec.tables[fault.table].errorRowText;
        out = lang.lang(prefix) + QString::number(fault.row) + lang.lang(fault.text);
        break;
    }
    case RuleMessageForm::NoRowPrefix: out = lang.lang(fault.text); break;
    case RuleMessageForm::Format: {
        // Each "%d" takes the next value; a text with more "%d" than values keeps the rest.
        const QString text = lang.lang(fault.text);
        qsizetype next = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == QLatin1Char('%') && i + 1 < text.size()
                && text[i + 1] == QLatin1Char('d') && next < fault.values.size()) {
                out += QString::number(fault.values[next++]);
                ++i;
                continue;
            }
            out += text[i];
        }
        return out;
    }
    }
    if (fault.hasBound)
        out += QString::number(fault.bound);
    if (fault.afterText)
        out += lang.lang(fault.afterText);
    for (const RuleFaultPiece& piece : fault.morePieces) {
        out += QString::number(piece.number);
        if (piece.text)
            out += lang.lang(piece.text);
    }
    out += fault.afterString;
    return out;
}

}  // namespace zfw
