// The variable tables of the OPC UA client editor without a window: a sound descriptor, a
// server's lists through a table and back (growing past the first rows, the write list's
// constants, a blank name kept), and the check as the frame's fault.

#include "editors/iot/core/UOpcUaClientSpec.h"

#include "common/UComon.h"
#include "common/ULanguage.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

std::unique_ptr<TOPC_UA_Variable> var(const QString& name, const char* pos)
{
    auto v = std::make_unique<TOPC_UA_Variable>();
    v->Enable = true;
    v->DispalyName = name;
    v->setVarType(QStringLiteral("Int32"));
    v->VarArray = QStringLiteral("Variable");
    v->Time = QStringLiteral("100");
    v->Position = QString::fromUtf8(pos);
    v->OnChange = v->OnCMD = v->OnTimer = QStringLiteral("N");
    return v;
}

TEST(OpcUaClientSpec, DescriptorIsSoundAndBothTablesHaveTheVariableColumns)
{
    RuleFileSpec spec = opcUaClientSpec();
    EXPECT_EQ(resolveRuleSpec(spec), QString());
    ASSERT_EQ(spec.tables.size(), 2);
    for (const RuleTableSpec& t : spec.tables) {
        EXPECT_EQ(t.columnCount(), kOpcUaVarColumns);
        EXPECT_EQ(t.keyColumn, kOpcUaColDisplayName);
        EXPECT_EQ(t.rowCount, kOpcUaVarRows + 1);
        EXPECT_TRUE(t.grows());
    }
    EXPECT_EQ(spec.tables[0].columns[7].attribute, QStringLiteral("VarArray"));
    EXPECT_EQ(spec.tables[1].columns[7].kind, RuleColumnKind::CheckBox);
}

TEST(OpcUaClientSpec, ListsGoThroughATableAndBackWhateverTheirLength)
{
    const RuleFileSpec spec = opcUaClientSpec();
    for (const int count : {0, 3, kOpcUaVarRows, 3000}) {
        for (const bool write : {false, true}) {
            SCOPED_TRACE(testing::Message() << count << (write ? " write" : " read"));
            RuleTable table(spec.tables[write ? 1 : 0]);
            OpcUaVariableList list;
            for (int i = 0; i < count; ++i)
                list.push_back(
                    var(i == 1 ? QStringLiteral(" ") : QStringLiteral("v%1").arg(i), "0"));
            opcUaFillTable(table, list, write);
            EXPECT_EQ(table.rowCount(), std::max(kOpcUaVarRows, count + 1) + 1);
            // The free rows below the list open enabled, as the grids always showed them.
            EXPECT_EQ(table.text(u"Enable", count + 1), QStringLiteral("Y"));
            const OpcUaVariableList back = opcUaVariablesOfTable(table, write);
            ASSERT_EQ(back.size(), size_t(count));
            for (int i = 0; i < count; ++i)
                EXPECT_EQ(back[size_t(i)]->DispalyName, list[size_t(i)]->DispalyName);
        }
    }
}

TEST(OpcUaClientSpec, CheckFaultFormatsServerVariableAndHighestPosition)
{
    OpcUaServerList servers;
    servers.push_back(std::make_unique<TOPC_UA_Server>());
    servers.push_back(std::make_unique<TOPC_UA_Server>());
    for (auto& s : servers)
        s->Enable = true;
    servers[1]->Var_List_R.push_back(var(QStringLiteral("a"), "0"));
    servers[1]->Var_List_R.push_back(var(QStringLiteral("b"), "1500"));
    EXPECT_FALSE(opcUaCheckFault(OpcUaServerList{}));
    const std::optional<RuleFault> fault = opcUaCheckFault(servers);
    ASSERT_TRUE(fault);
    ProgramState lang;
    Fill_Default_Language(lang);
    EXPECT_EQ(ruleFaultMessage(*fault, opcUaClientSpec(), lang),
              QStringLiteral("Error in Server Number 2 in Read Variable 2!! Position must be "
                             "between 0 and 1499"));
}

}  // namespace
}  // namespace zfw
