#include "editors/metering/core/MBusRules.h"

#include "common/LanguageDefaults.h"

#include "MBusTestBytes.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace zfw {
namespace {

QString defaultText(int n)
{
    static const std::map<int, QString> texts = [] {
        std::map<int, QString> m;
        for (const LangText& t : languageDefaultsMBus())
            m[t.number] = QString::fromUtf8(t.text);
        return m;
    }();
    const auto it = texts.find(n);
    return it == texts.end() ? QStringLiteral("?%1?").arg(n) : it->second;
}

TVariabile variable(const char* desc, int pd, bool enable = true, int timePoint = 0)
{
    TVariabile v;
    v.Description = QString::fromLatin1(desc);
    v.PositionData = pd;
    v.Enable = enable;
    v.TP_Mod_Regs = timePoint > 0;
    v.TP_Mod_Year = timePoint;
    return v;
}

// Five nodes: an enabled wired node with a value, a time point (100 to 105) and a disabled
// variable; a disabled node; a wireless node with an RSSI register; a node addressed by its
// secondary address; and one with a value on register 113.
TNodiList network()
{
    TNodo a;
    a.Enable = 1;
    a.MBus_Type = 1;
    a.Description = QStringLiteral("Meter A");
    a.Node_Pri = 5;
    a.Node_State = 10;
    a.Ident_Num = 11;
    a.Var_List = {variable("Flow", 20), variable("Date", 30, true, 100),
                  variable("Off", 40, false)};
    TNodo b;
    b.Enable = 0;
    b.MBus_Type = 1;
    b.Description = QStringLiteral("Meter B");
    b.Node_Pri = 6;
    b.Node_State = 50;
    TNodo radio;
    radio.Enable = 1;
    radio.MBus_Type = 0;
    radio.Description = QStringLiteral("Radio");
    radio.Node_Pri = 7;
    radio.RSSI = 60;
    TNodo d;
    d.Enable = 1;
    d.MBus_Type = 1;
    d.Node_ID_Type = 1;
    d.Node_Sec = 12345678;
    d.Description = QStringLiteral("Meter D");
    TNodo e;
    e.Enable = 1;
    e.MBus_Type = 1;
    e.Node_Pri = 8;
    e.Description = QStringLiteral("Meter E");
    e.Var_List = {variable("Plain", 113)};
    return {a, b, radio, d, e};
}

struct NodeCase {
    std::string name;
    std::function<void(TNodePage&)> fill;
    std::vector<int> texts;  // messages expected, by text number; empty: accepted
    int node = -1;
    int var = -1;
};

void PrintTo(const NodeCase& c, std::ostream* os) { *os << c.name; }

TNodePage wiredPage(const char* primary)
{
    TNodePage p;
    p.primaryId = QString::fromLatin1(primary);
    return p;
}

TNodePage wirelessPage()
{
    TNodePage p;
    p.wireless = true;
    p.manufacturerId = QStringLiteral("0x0422");
    p.address = QStringLiteral("0xFFFFFFFF");
    p.version = QStringLiteral("1");
    p.deviceType = QStringLiteral("$FF");
    p.wNodeState = p.wIdentNum = p.wRssi = p.wAccessNumber = QStringLiteral("0");
    return p;
}

const NodeCase kNodeCases[] = {
    {"wiredNewAddressAccepted", [](TNodePage& p) { p = wiredPage("9"); }, {}},
    {"primaryAbove255", [](TNodePage& p) { p = wiredPage("256"); }, {1875}},
    {"primaryNotANumber", [](TNodePage& p) { p = wiredPage("abc"); }, {1875}},
    {"secondaryAbove99999999",
     [](TNodePage& p) {
         p.secondaryAddressing = true;
         p.secondaryId = QStringLiteral("100000000");
     },
     {1876}},
    {"addingAnotherNodesAddress", [](TNodePage& p) { p = wiredPage("5"); }, {1892}},
    {"modifyingKeepsOwnAddress", [](TNodePage& p) { p = wiredPage("5"); }, {}, 0, -1},
    {"addingWhileItsVariableIsSelected", [](TNodePage& p) { p = wiredPage("5"); }, {1891}, 0, 0},
    {"secondaryAddressTaken",
     [](TNodePage& p) {
         p.secondaryAddressing = true;
         p.secondaryId = QStringLiteral("12345678");
     },
     {1892}},
    {"wirelessNodesAddressIsFree", [](TNodePage& p) { p = wiredPage("7"); }, {}},
    {"addressFaultThenRangeFault",
     [](TNodePage& p) {
         p = wiredPage("5");
         p.nodeStateChecked = true;
         p.nodeState = QStringLiteral("2000");
     },
     {1892, 1877}},
    {"uncheckedRegistersAreNotRead",
     [](TNodePage& p) {
         p = wiredPage("9");
         p.nodeState = QStringLiteral("2000");
         p.identNum = QStringLiteral("x");
     },
     {}},
    {"nodeStateEqualsIdent",
     [](TNodePage& p) {
         p = wiredPage("9");
         p.nodeStateChecked = p.identNumChecked = true;
         p.nodeState = p.identNum = QStringLiteral("12");
     },
     {1879}},
    {"msdRegisterZeroSkipsLength",
     [](TNodePage& p) {
         p = wiredPage("9");
         p.msdChecked = true;
         p.msdRegister = QStringLiteral("0");
         p.msdLength = QStringLiteral("0");
     },
     {}},
    {"msdLengthPlusOffsetOver241",
     [](TNodePage& p) {
         p = wiredPage("9");
         p.msdChecked = true;
         p.msdRegister = QStringLiteral("5");
         p.msdLength = QStringLiteral("200");
         p.msdOffset = QStringLiteral("42");
     },
     {1885}},
    {"msdLengthPlusOffset241",
     [](TNodePage& p) {
         p = wiredPage("9");
         p.msdChecked = true;
         p.msdRegister = QStringLiteral("5");
         p.msdLength = QStringLiteral("200");
         p.msdOffset = QStringLiteral("41");
     },
     {}},
    {"msdEqualsIdent",
     [](TNodePage& p) {
         p = wiredPage("9");
         p.identNumChecked = p.msdChecked = true;
         p.identNum = p.msdRegister = QStringLiteral("7");
     },
     {1881}},
    {"accessNumberEqualsMsd",
     [](TNodePage& p) {
         p = wiredPage("9");
         p.msdChecked = p.accessNumberChecked = true;
         p.msdRegister = p.accessNumber = QStringLiteral("7");
         p.msdLength = QStringLiteral("1");
         p.msdOffset = QStringLiteral("0");
     },
     {1889}},
    {"wirelessAccepted", [](TNodePage& p) { p = wirelessPage(); }, {}},
    {"wirelessManufacturerTooLarge",
     [](TNodePage& p) {
         p = wirelessPage();
         p.manufacturerId = QStringLiteral("$10000");
     },
     {1845}},
    {"wirelessAddressBeyond32Bits",
     [](TNodePage& p) {
         p = wirelessPage();
         p.address = QStringLiteral("4294967296");
     },
     {1846}},
    {"keyBytesInHex",
     [](TNodePage& p) {
         p = wirelessPage();
         p.keyEnable = true;
         p.key.fill(QStringLiteral("0x1F"));
         p.key[15] = QStringLiteral("$FF");
     },
     {}},
    {"keyByte5Is256",
     [](TNodePage& p) {
         p = wirelessPage();
         p.keyEnable = true;
         p.key.fill(QStringLiteral("1"));
         p.key[4] = QStringLiteral("256");
     },
     {1853}},
    {"keyNotCheckedWithoutKeyEnable",
     [](TNodePage& p) {
         p = wirelessPage();
         p.key[4] = QStringLiteral("256");
     },
     {}},
    {"wirelessNodeStateEqualsRssi",
     [](TNodePage& p) {
         p = wirelessPage();
         p.wNodeState = p.wRssi = QStringLiteral("10");
     },
     {1872}},
    {"wirelessRegisterAbove59999",
     [](TNodePage& p) {
         p = wirelessPage();
         p.wAccessNumber = QStringLiteral("60000");
     },
     {1868}},
};

class NodeRules : public ::testing::TestWithParam<NodeCase> {};

TEST_P(NodeRules, Messages)
{
    const NodeCase& c = GetParam();
    const TNodiList nodes = network();
    TNodePage page;
    c.fill(page);
    const RuleVerdict v =
        TMBusRules(nodes, c.node, c.var, defaultText).Controllo_Dati_New_Nodo(page);
    QStringList expected;
    for (int n : c.texts)
        expected.append(defaultText(n));
    EXPECT_EQ(v.messages, expected);
    EXPECT_EQ(v.ok, c.texts.empty());
}

INSTANTIATE_TEST_SUITE_P(Pages, NodeRules, ::testing::ValuesIn(kNodeCases),
                         [](const auto& info) { return info.param.name; });

struct VarCase {
    std::string name;
    TVarPage page;
    bool newvar = true;
    int node = -1;
    int var = -1;
    const char* message = nullptr;  // exact text; null: accepted
};

void PrintTo(const VarCase& c, std::ostream* os) { *os << c.name; }

TVarPage varPage(const char* pd, const char* timePoint = nullptr)
{
    TVarPage p;
    p.positionData = QString::fromLatin1(pd);
    p.storageNumber = QStringLiteral("0xFFFFFFFF");
    p.tariff = QStringLiteral("$FFFFF");
    p.positionVar = QStringLiteral("1");
    if (timePoint) {
        p.timePointType = p.timePointChecked = true;
        p.timePointYear = QString::fromLatin1(timePoint);
    }
    return p;
}

TVarPage with(TVarPage p, std::function<void(TVarPage&)> change)
{
    change(p);
    return p;
}

const VarCase kVarCases[] = {
    {"accepted", varPage("21")},
    {"positionDataZero", varPage("0"), true, -1, -1,
     "Error!! Position Data must be between 1 and 1536"},
    {"storageBeyond32Bits",
     with(varPage("21"), [](TVarPage& p) { p.storageNumber = QStringLiteral("4294967296"); }), true,
     -1, -1, "Error!! Storage Number must be between 0x00000000 and 0xFFFFFFFF"},
    {"tariffBeyond20Bits",
     with(varPage("21"), [](TVarPage& p) { p.tariff = QStringLiteral("0x100000"); }), true, -1, -1,
     "Error!! Tariff must be between 0x00000 and 0xFFFFF"},
    {"variableLength192",
     with(varPage("21"),
          [](TVarPage& p) {
              p.variableLength = true;
              p.length = QStringLiteral("192");
          }),
     true, -1, -1, "Error!! Length (Variable Len) must be between 0 and 191"},
    {"positionVar513",
     with(varPage("21"), [](TVarPage& p) { p.positionVar = QStringLiteral("513"); }), true, -1, -1,
     "Error!! Variable position must be between 1 and 512"},
    {"valueInsideOwnTimePoint", varPage("203", "200"), true, -1, -1,
     "Error!! ModBus Register and Time Point Registers must be different"},
    {"valueOnSixthRegisterOfOwnTimePoint", varPage("205", "200"), true, -1, -1,
     "Error!! ModBus Register and Time Point Registers must be different"},
    {"timePointYear59996", varPage("21", "59996"), true, -1, -1,
     "Error!! Year Time Point Register must be between 1 and 59995"},
    {"nodeStateOfDisabledNode", varPage("50")},
    {"nodeStateOfEnabledNode", varPage("10"), true, -1, -1,
     "Error!! ModBus Register already use in the Node \"Meter A\" (Node State)"},
    {"identOfEnabledNode", varPage("11"), true, -1, -1,
     "Error!! ModBus Register already use in the Node \"Meter A\" (Identification Number)"},
    {"rssiOfWirelessNode", varPage("60"), true, -1, -1,
     "Error!! ModBus Register already use in the Node \"Radio\" (RSSI)"},
    {"modifyingKeepsOwnRegister", varPage("20"), false, 0, 0},
    {"addingSameRegister", varPage("20"), true, 0, 0,
     "Error!! ModBus Register already use in the Node \"Meter A\", Variable \"Flow\" (Modbus "
     "Register)"},
    {"disabledVariableIsFree", varPage("40")},
    {"valueOnLastTimePointRegister", varPage("105"), true, -1, -1,
     "Error!! ModBus Register already use in the Node \"Meter A\", Variable \"Date\" (Time "
     "Point)"},
    {"valueAfterTimePoint", varPage("106")},
    {"timePointBlocksOverlapByFive", varPage("1", "104"), true, -1, -1,
     "Error!! Time Point Registers already use in the Node \"Meter A\", Variable \"Date\" (Time "
     "Point)"},
    // Five-register blocks let 95..99 pass beside 100..105; six-register blocks meet at 100.
    {"timePointBlocksMeetOnSixthRegister", varPage("1", "95"), true, -1, -1,
     "Error!! Time Point Registers already use in the Node \"Meter A\", Variable \"Date\" (Time "
     "Point)"},
    {"timePointBlocksApart", varPage("1", "94")},
    {"timePointOverValueOnSixthRegister", varPage("1", "108"), true, -1, -1,
     "Error!! Time Point Registers already use in the Node \"Meter E\", Variable \"Plain\" "
     "(Modbus Register)"},
    {"timePointOverNodeState", varPage("1", "7"), true, -1, -1,
     "Error!! Time Point Registers already use in the Node \"Meter A\" (Node State)"},
};

class VariableRules : public ::testing::TestWithParam<VarCase> {};

TEST_P(VariableRules, Messages)
{
    const VarCase& c = GetParam();
    const TNodiList nodes = network();
    const RuleVerdict v =
        TMBusRules(nodes, c.node, c.var, defaultText).Controllo_Dati_New_Var(c.page, c.newvar);
    if (!c.message) {
        EXPECT_TRUE(v.ok);
        EXPECT_TRUE(v.messages.isEmpty()) << v.messages.join(u'|').toStdString();
        return;
    }
    EXPECT_FALSE(v.ok);
    EXPECT_EQ(v.messages, QStringList{QString::fromLatin1(c.message)});
}

INSTANTIATE_TEST_SUITE_P(Pages, VariableRules, ::testing::ValuesIn(kVarCases),
                         [](const auto& info) { return info.param.name; });

TEST(RuleTexts, AreInTheLanguageDefaults)
{
    int found = 0;
    for (const auto& block : languageDefaultBlocks())
        for (const LangText& t : block)
            found += t.number >= 1787 && t.number <= 1892;
    EXPECT_EQ(found, int(languageDefaultsMBus().size()));
}

TEST(RegisterRules, ScaleRegisterAndNodeAddressesEverywhere)
{
    const TNodiList nodes = network();
    const TMBusRules rules(nodes, -1, -1, defaultText);
    EXPECT_EQ(rules.Check_Registers(500, 11, 0, true).message,
              QStringLiteral("Error!! ModBus Register Scale already use in the Node \"Meter A\" "
                             "(Identification Number)"));
    EXPECT_EQ(rules.Check_Registers(500, 20, 0, true).message,
              QStringLiteral("Error!! ModBus Register Scale already use in the Node \"Meter A\", "
                             "Variable \"Flow\" (Modbus Register)"));
    // The scale register on the sixth register of a time point.
    EXPECT_EQ(rules.Check_Registers(500, 105, 0, true).message,
              QStringLiteral("Error!! ModBus Register Scale already use in the Node \"Meter A\", "
                             "Variable \"Date\" (Time Point)"));
    EXPECT_EQ(rules.Check_Registers(500, 0, 58, true).message,
              QStringLiteral("Error!! Time Point Registers already use in the Node \"Radio\" "
                             "(RSSI)"));
    EXPECT_FALSE(rules.Check_Registers(500, 0, 0, true).conflict);

    // Any node, wireless ones too, for pasted nodes.
    EXPECT_FALSE(rules.Check_Node_ID2(7, 0).ok);
    EXPECT_EQ(rules.Check_Node_ID2(7, 0).messages, QStringList{defaultText(1890)});
    EXPECT_TRUE(rules.Check_Node_ID2(7, 1).ok);
    EXPECT_TRUE(rules.Check_Node_ID(7, 0).ok);
}

}  // namespace
}  // namespace zfw
