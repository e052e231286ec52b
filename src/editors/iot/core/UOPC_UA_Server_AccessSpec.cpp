#include "editors/iot/core/UOPC_UA_Server_AccessSpec.h"

#include "common/TextUtil.h"
#include "ruleedit/core/URuleSpecBuild.h"

namespace zfw {

using namespace rulespec;

namespace {

constexpr int kTextPosition = 5827;

struct TypeLength {
    const char* type;
    const char* length;
    bool editable;
};

constexpr TypeLength kTypeLengths[] = {
    {"Boolean", "1", false},    {"Signed Byte", "1", false}, {"Byte", "1", false},
    {"Int16", "2", false},      {"UInt16", "2", false},      {"Int32", "4", false},
    {"UInt32", "4", false},     {"Int64", "8", false},       {"UInt64", "8", false},
    {"Float", "4", false},      {"Double", "8", false},      {"String", "10", true},
    {"ByteString", "10", true},
};

RuleColumn look(RuleColumn c, int width, std::optional<quint32> colour)
{
    c.width = width;
    c.colour = colour;
    return c;
}

}  // namespace

const QStringList& opcUaServerVarTypes()
{
    static const QStringList types = [] {
        QStringList out;
        for (const TypeLength& t : kTypeLengths)
            out.append(QString::fromLatin1(t.type));
        return out;
    }();
    return types;
}

const QStringList& opcUaServerRWTypes()
{
    static const QStringList kinds = {QStringLiteral("Read Only"), QStringLiteral("Read/Write")};
    return kinds;
}

std::optional<OpcUaVarLength> opcUaServerVarLength(const QString& type)
{
    for (const TypeLength& t : kTypeLengths)
        if (type == QLatin1String(t.type))
            return OpcUaVarLength{QString::fromLatin1(t.length), t.editable};
    return std::nullopt;
}

RuleFileSpec opcUaServerSpec()
{
    RuleTableSpec t;
    t.element = QStringLiteral("OPC_UA_Server_Variables");
    t.tabText = 5801;  // the window's title names the table in the load and save reports
    t.rowCount = kOPCUAServerVariables + 1;
    t.keyAttribute = QStringLiteral("Type");
    t.keyTest = RuleKeyTest::Trimmed;
    // The box is ticked or not; the grid gives its state as "Y" or "N".
    t.enableRule = RuleEnableRule::Exact;
    // Every row is checked, a row without a type passed over; the file still ends at it.
    t.walkPastEmptyKey = true;
    // A delete leaves the emptied last row locked until an insert above moves it down.
    t.lockEmptiedRow = true;
    // The grid is a string grid: its lists come from the editor, its columns are text.
    t.columns = {
        look(numberColumn(5814), 40, std::nullopt),
        look(enableColumn(5815), 50, 0xB0D8FF),
        look(column(u"Type", 5816), 120, 0xFEFAE0),
        look(column(u"Position", 5817), 100, 0xA8FFA8),
        look(column(u"Length", 5818), 100, 0xA8FFA8),
        look(column(u"Name", 5819), 280, 0xF4D6FC),
        look(column(u"ReadWrite", 5829), 100, 0xF4D6FC),
        look(column(u"Mnemonic", 5820), 280, 0xFFFFFF),
    };
    const RuleRowCheck position = [](const RuleTable& table, int row) -> std::optional<RuleFault> {
        const int p = strToIntDef(table.text(u"Position", row), -1);
        if (p >= 0 && p < kOPCUAServerPositions)
            return std::nullopt;
        RuleFault f = fault(kTextPosition, std::nullopt, RuleMessageForm::Format);
        f.values = {row, kOPCUAServerPositions};
        return f;
    };
    t.checks = {rowCheck(position, {"Position"})};

    RuleFileSpec f;
    f.captionText = 5800;
    f.titleText = 5801;
    f.buttonCaptionText = 5802;
    f.buttonHintText = 5808;
    f.rootElement = QStringLiteral("OPC_UA_Server");
    f.version = QStringLiteral("1.001");
    f.deleteRowText = 5828;
    f.tables = {t};
    return builtRuleSpec(f);
}

}  // namespace zfw
