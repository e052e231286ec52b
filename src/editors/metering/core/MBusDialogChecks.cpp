#include "editors/metering/core/MBusDialogChecks.h"

#include "editors/metering/core/MBusNumbers.h"

namespace zfw {

namespace {

bool within(qint64 v, qint64 lo, qint64 hi) { return v >= lo && v <= hi; }

RuleVerdict refused(RuleVerdict v, const QString& message)
{
    v.ok = false;
    v.messages.append(message);
    return v;
}

}  // namespace

RuleVerdict checkNewIDNode(const TNewIDNodeValues& values, const TMBusRules& rules,
                           const TextLookup& text)
{
    RuleVerdict v;
    if (values.Form_Type == 1) {
        const int type = values.secondaryChosen ? 1 : 0;
        const int id = wholeNumber(type == 1 ? values.Node_Sec : values.Node_Pri);
        if (type == 0 && !within(id, 0, 255))
            return refused(v, text(2013));
        if (type == 1 && !within(id, 0, 99999999))
            return refused(v, text(2014));
        const RuleVerdict used = rules.Check_Node_ID2(id, type);
        if (!used.ok) {
            v.ok = false;
            v.messages += used.messages;
        }
    } else if (values.Form_Type == 3) {
        if (!within(wholeNumber64(values.wMBus_Add), 0, 0xFFFFFFFFll))
            return refused(v, text(2015));
    }
    // Whole groups of three rows only: a node without variables has one empty row and runs
    // no register check.
    const std::size_t groups = values.index.size() / 3;
    for (std::size_t g = 0; g < groups; ++g) {
        const int reg = wholeNumber(values.index[3 * g]);
        const int scale = wholeNumber(values.index[3 * g + 1]);
        const int tp = wholeNumber(values.index[3 * g + 2]);
        if (!within(reg, 1, 59999))
            return refused(v, text(2016));
        if (!within(scale, 0, 59999))
            return refused(v, text(2017));
        if (!within(tp, 0, 59995))
            return refused(v, text(2018));
        const RegisterConflict c = rules.Check_Registers(reg, scale, tp, true);
        if (c.conflict) {
            v.ok = false;
            v.messages.append(c.message);
        }
    }
    return v;
}

int checkWirelessKey(const QString& key)
{
    if (key.size() != 32)
        return 2304;
    for (const QChar c : key) {
        const bool hex = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
        if (!hex)
            return 2303;
    }
    return 0;
}

std::optional<int> startModbusRegister(const QString& text)
{
    const int v = wholeNumber(text);
    if (!within(v, 1, 65535))
        return std::nullopt;
    return v;
}

QString checkStartRegisters(const std::vector<QString>& starts, const TextLookup& text)
{
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const QString row = QString::number(i + 1);
        if (starts[i].isEmpty())
            return text(2408) + row + text(2409);
        if (!within(wholeNumber(starts[i]), 1, 59999))
            return text(2408) + row + text(2410);
    }
    return QString();
}

}  // namespace zfw
