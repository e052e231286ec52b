#include "editors/iot/core/UOpcUaClientRules.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

std::unique_ptr<TOPC_UA_Variable> var(const char* type, const char* pos)
{
    auto v = std::make_unique<TOPC_UA_Variable>();
    v->Enable = true;
    v->DispalyName = QStringLiteral("v");
    v->setVarType(QString::fromUtf8(type));
    v->VarArray = QStringLiteral("Variable");
    v->Time = QStringLiteral("100");
    v->Position = QString::fromUtf8(pos);
    v->OnTimer = QStringLiteral("N");
    return v;
}

QStringList positions(const OpcUaVariableList& list)
{
    QStringList out;
    for (const auto& v : list)
        out << v->Position;
    return out;
}

TEST(OpcUaAutoPosition, SecondServerStartsAtTheEndsOfTheFirst)
{
    OpcUaServerList servers;
    servers.push_back(std::make_unique<TOPC_UA_Server>());
    servers.push_back(std::make_unique<TOPC_UA_Server>());
    servers[0]->Var_List_R.push_back(var("Int32", "0"));
    servers[0]->Var_List_R.push_back(var("Double", "4"));
    servers[0]->Var_List_R.push_back(var("Int16", "junk"));  // unreadable: 0 + 2
    servers[1]->Var_List_R.push_back(var("String", "77"));
    servers[1]->Var_List_R.push_back(var("Int16", ""));
    servers[1]->Var_List_R.push_back(var("Int8", ""));
    servers[1]->Var_List_W.push_back(var("Float", "9"));
    servers[1]->Var_List_W.push_back(var("UInt64", "9"));

    opcUaAutoPositions(servers, 1);
    EXPECT_EQ(positions(servers[1]->Var_List_R),
              (QStringList{QStringLiteral("12"), QStringLiteral("32"), QStringLiteral("34")}));
    // Server 1 writes nothing, so the write side starts at 0.
    EXPECT_EQ(positions(servers[1]->Var_List_W),
              (QStringList{QStringLiteral("0"), QStringLiteral("4")}));

    // The first server starts both sides at 0, whatever later servers hold.
    servers[0]->Var_List_W.push_back(var("Int16", "500"));
    opcUaAutoPositions(servers, 0);
    EXPECT_EQ(positions(servers[0]->Var_List_R),
              (QStringList{QStringLiteral("0"), QStringLiteral("4"), QStringLiteral("12")}));
    EXPECT_EQ(positions(servers[0]->Var_List_W), QStringList{QStringLiteral("0")});
    int r = -1, w = -1;
    Start_Position(servers, 1, r, w);
    EXPECT_EQ(r, 14);
    EXPECT_EQ(w, 2);
}

// One variable on the read or write side, changed from a passing one; the expected text.
struct CheckCase {
    const char* name;
    bool write;
    void (*change)(TOPC_UA_Variable&);
    int text;  // 0: passes
};

const CheckCase kChecks[] = {
    {"ReadPasses", false, [](TOPC_UA_Variable&) {}, 0},
    {"ReadEmptyVarArray", false, [](TOPC_UA_Variable& v) { v.VarArray = QStringLiteral("  "); },
     5519},
    {"ReadStringNegativeStart", false,
     [](TOPC_UA_Variable& v) {
         v.setVarType(QStringLiteral("String"));
         v.Start = QStringLiteral("-3");
     },
     5520},
    {"ReadStringEmptyLen", false,
     [](TOPC_UA_Variable& v) {
         v.setVarType(QStringLiteral("ByteString"));
         v.Start = QStringLiteral("0");
     },
     5521},
    {"ReadScalarInt32IgnoresStart", false, [](TOPC_UA_Variable& v) { v.Start.clear(); }, 0},
    {"ReadArrayOfString", false,
     [](TOPC_UA_Variable& v) {
         v.VarArray = QStringLiteral(" array ");
         v.setVarType(QStringLiteral("String"));
     },
     5522},
    {"ReadArrayNoStart", false, [](TOPC_UA_Variable& v) { v.VarArray = QStringLiteral("Array"); },
     5523},
    {"ReadArrayNoLen", false,
     [](TOPC_UA_Variable& v) {
         v.VarArray = QStringLiteral("Array");
         v.Start = QStringLiteral("0");
     },
     5524},
    {"ReadEmptyTime", false, [](TOPC_UA_Variable& v) { v.Time.clear(); }, 5497},
    {"ReadTimeZero", false, [](TOPC_UA_Variable& v) { v.Time = QStringLiteral("0"); }, 5498},
    {"ReadEmptyPosition", false, [](TOPC_UA_Variable& v) { v.Position = QStringLiteral(" "); },
     5499},
    {"ReadPosition1499", false, [](TOPC_UA_Variable& v) { v.Position = QStringLiteral("1499"); },
     0},
    {"ReadPosition1500", false, [](TOPC_UA_Variable& v) { v.Position = QStringLiteral("1500"); },
     5500},
    {"ReadEmptyStartBit", false, [](TOPC_UA_Variable& v) { v.StartBit.clear(); }, 5533},
    {"ReadStartBit8", false, [](TOPC_UA_Variable& v) { v.StartBit = QStringLiteral("8"); }, 5534},
    {"ReadDisabledSkipped", false,
     [](TOPC_UA_Variable& v) {
         v.Enable = false;
         v.Time.clear();
     },
     0},
    {"WriteNoTimerEmptyTime", true, [](TOPC_UA_Variable& v) { v.Time.clear(); }, 0},
    {"WriteTimerEmptyTime", true,
     [](TOPC_UA_Variable& v) {
         v.OnTimer = QStringLiteral("Y");
         v.Time.clear();
     },
     5501},
    {"WriteTimerTimeZero", true,
     [](TOPC_UA_Variable& v) {
         v.OnTimer = QStringLiteral("Y");
         v.Time = QStringLiteral("0");
     },
     5502},
    {"WriteEmptyPosition", true, [](TOPC_UA_Variable& v) { v.Position.clear(); }, 5503},
    {"WriteNegativePosition", true, [](TOPC_UA_Variable& v) { v.Position = QStringLiteral("-1"); },
     5504},
    {"WriteVarArrayNotChecked", true, [](TOPC_UA_Variable& v) { v.VarArray.clear(); }, 0},
    {"WriteStartBitNotANumber", true, [](TOPC_UA_Variable& v) { v.StartBit = QStringLiteral("x"); },
     5536},
    {"WriteEmptyStartBit", true, [](TOPC_UA_Variable& v) { v.StartBit.clear(); }, 5535},
};

class OpcUaCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(OpcUaCheck, FirstFaultNamesServerAndVariable)
{
    const CheckCase& c = GetParam();
    OpcUaServerList servers;
    servers.push_back(std::make_unique<TOPC_UA_Server>());
    servers.push_back(std::make_unique<TOPC_UA_Server>());
    // The faulty variable is the second of the second server's list.
    auto& list = c.write ? servers[1]->Var_List_W : servers[1]->Var_List_R;
    list.push_back(var("Int32", "0"));
    list.push_back(var("Int32", "0"));
    c.change(*list[1]);
    const auto fault = opcUaCheckServers(servers);
    if (c.text == 0) {
        EXPECT_FALSE(fault.has_value()) << fault->text;
        return;
    }
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->text, c.text);
    EXPECT_EQ(fault->server, 2);
    EXPECT_EQ(fault->variable, 2);
}

INSTANTIATE_TEST_SUITE_P(Variables, OpcUaCheck, ::testing::ValuesIn(kChecks), test::CaseName{});

TEST(OpcUaCheck, ReadListIsCheckedBeforeWriteListAndMessagesTakeTheNumbers)
{
    OpcUaServerList servers;
    servers.push_back(std::make_unique<TOPC_UA_Server>());
    servers[0]->Var_List_W.push_back(var("Int32", ""));
    servers[0]->Var_List_R.push_back(var("Int32", "0"));
    servers[0]->Var_List_R.push_back(var("Int32", "1500"));
    const auto fault = opcUaCheckServers(servers);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->text, 5500);
    EXPECT_EQ(opcUaCheckMessage(QStringLiteral("Error in Server Number %d in Read Variable %d!! "
                                               "Position must be between 0 and %d"),
                                *fault),
              QStringLiteral("Error in Server Number 1 in Read Variable 2!! Position must be "
                             "between 0 and 1499"));
    EXPECT_EQ(opcUaCheckMessage(QStringLiteral("no numbers %"), *fault),
              QStringLiteral("no numbers %"));
}

TEST(OpcUaGridRows, RowsBecomeVariablesUntilTheFirstEmptyName)
{
    const QStringList read{QString(), "Y",   "Temp", "guid", "a-b", "double", "0x10", "Array", "1",
                           "4",       "100", "12",   "2",    "Y",   "N",      "Y",    "memo"};
    QStringList blankName = read;
    blankName[2] = QStringLiteral(" ");
    QStringList stop = read;
    stop[2].clear();
    const auto vars = opcUaVariablesFromRows({read, blankName, stop, read}, false);
    ASSERT_EQ(vars.size(), 2u);
    const TOPC_UA_Variable& v = *vars[0];
    EXPECT_EQ(v.NodeID(), QStringLiteral("0000000A-000B-0000-0000-000000000000"));
    EXPECT_EQ(v.nameSpaceIndex, 16);
    EXPECT_EQ(v.OnTimer, QStringLiteral("N"));
    QStringList shown = opcUaVariableRow(v, false);
    QStringList expected = read;
    expected[1] = QStringLiteral("Y");
    expected[3] = QStringLiteral("Guid");
    expected[4] = v.NodeID();
    expected[5] = QStringLiteral("Double");
    expected[6] = QStringLiteral("16");
    EXPECT_EQ(shown, expected);

    // The write grid takes the triggers from columns 7 to 9 and keeps the array fields empty.
    const auto writes = opcUaVariablesFromRows({read}, true);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0]->OnChange, QStringLiteral("Array"));
    EXPECT_EQ(writes[0]->VarArray, QString());
    EXPECT_EQ(opcUaVariableRow(*writes[0], true)[7], QStringLiteral("Array"));
    // A short row reads its missing cells as empty.
    EXPECT_EQ(opcUaVariablesFromRows({QStringList{QString(), "Y", "x"}}, false).size(), 1u);
}

struct DialogCase {
    const char* name;
    OpcUaServerDialogValues values;
    int text;
};

const DialogCase kDialog[] = {
    {"AddressFirst", {" ", 1, "", "", "", ""}, 5628},
    {"UserBlankPassword", {"opc.tcp://h", 1, "u", " ", "", ""}, 5630},
    {"UserMissing", {"opc.tcp://h", 1, "", "p", "", ""}, 5629},
    {"CertificateBeforeKey", {"opc.tcp://h", 2, "", "", "", ""}, 5631},
    {"KeyMissing", {"opc.tcp://h", 2, "", "", "cert", "\n"}, 5632},
    {"AnonymousIgnoresHiddenFields", {"opc.tcp://h", 0, "", "", "", ""}, 0},
    {"NoItemChecksOnlyTheAddress", {"opc.tcp://h", -1, "", "", "", ""}, 0},
};

class OpcUaServerDialogCheck : public ::testing::TestWithParam<DialogCase> {};

TEST_P(OpcUaServerDialogCheck, FirstFault)
{
    EXPECT_EQ(opcUaCheckServerDialog(GetParam().values), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, OpcUaServerDialogCheck, ::testing::ValuesIn(kDialog),
                         test::CaseName{});

TEST(OpcUaServerDialogLayout, RowsFollowTheAuthorization)
{
    EXPECT_FALSE(opcUaDialogLayout(-1));
    const auto anon = opcUaDialogLayout(0);
    const auto user = opcUaDialogLayout(1);
    const auto cert = opcUaDialogLayout(2);
    ASSERT_TRUE(anon && user && cert);
    EXPECT_FALSE(anon->userRows || anon->certRows);
    EXPECT_TRUE(user->userRows && !user->certRows);
    EXPECT_TRUE(cert->certRows && !cert->userRows);
    EXPECT_EQ(anon->secType, 168);
    EXPECT_EQ(user->mnemonic, 296);
    EXPECT_EQ(cert->mnemonicLabel, 435);
    EXPECT_LT(anon->mnemonic, user->mnemonic);
    EXPECT_LT(user->mnemonic, cert->mnemonic);
}

}  // namespace
}  // namespace zfw
