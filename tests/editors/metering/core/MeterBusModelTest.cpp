// The network editor's model as the window drives it: opening and saving, selection to pages,
// add and modify by caption, delete, copy and paste with the dialog's answers, import, and
// the checks of the paste and scan dialogs.

#include "editors/metering/core/MBusDialogChecks.h"
#include "editors/metering/core/MeterBusModel.h"

#include "common/LanguageDefaults.h"

#include "MBusTestBytes.h"
#include "support/CaseName.h"
#include "support/Files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace zfw {
namespace {

QString defaultText(int n)
{
    static const std::map<int, QString> texts = [] {
        std::map<int, QString> m;
        for (const auto& block : languageDefaultBlocks())
            for (const LangText& t : block)
                m[t.number] = QString::fromUtf8(t.text);
        return m;
    }();
    const auto it = texts.find(n);
    return it == texts.end() ? QStringLiteral("?%1?").arg(n) : it->second;
}

QString goldenPath() { return QStringLiteral(ZFW_TEST_DATA_DIR "/metering/network_sample.xml"); }

TVariabile variable(const char* desc, int pd, int timePoint = 0)
{
    TVariabile v;
    v.Enable = true;
    v.Description = QString::fromLatin1(desc);
    v.PositionData = pd;
    v.TP_Mod_Regs = timePoint > 0;
    v.TP_Mod_Year = timePoint;
    v.Position = 1;
    return v;
}

TNodo wiredNode(const char* desc, int primary, std::vector<TVariabile> vars = {})
{
    TNodo n;
    n.Enable = 1;
    n.Description = QString::fromLatin1(desc);
    n.MBus_Type = 1;
    n.Node_Pri = primary;
    n.Node_Sec = 1;
    n.Node_State = 900;
    n.Ident_Num = 901;
    n.Enable_NS = 1;
    n.Enable_IN = 1;
    n.Enable_MS = 1;
    n.Enable_AN = 1;
    n.Enable_RSSI = 1;
    n.Var_List = std::move(vars);
    return n;
}

class MeterBusModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        model.Nodi_List = {wiredNode("Heat", 5, {variable("Energy", 10), variable("Time", 20, 30)}),
                           wiredNode("Water", 6)};
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    TMeterBusModel model{defaultText};
};

TEST_F(MeterBusModelTest, OpenAndSaveWithoutChangeKeepTheFileByteForByte)
{
    const QByteArray golden = test::readFile(goldenPath());
    ASSERT_FALSE(golden.isEmpty());
    ASSERT_TRUE(test::writeFile(path("M_Bus.xml"), golden));
    const MBusNetworkLoad load = model.open(path("M_Bus.xml"));
    ASSERT_TRUE(load.ok) << load.message.toStdString();
    EXPECT_FALSE(model.Is_Change);
    EXPECT_EQ(model.IND_NODO, -1);
    ASSERT_TRUE(model.save(path("M_Bus.xml")).ok);
    EXPECT_EQ(test::readFile(path("M_Bus.xml")), golden);
}

TEST_F(MeterBusModelTest, OpeningABrokenFileKeepsWhatWasRead)
{
    ASSERT_TRUE(test::writeFile(
        path("M_Bus.xml"),
        "<M-Bus_Network><Nodo Descrizione=\"A\"/><Nodo Descrizione=\"B\">"
        "<Variabile Type=\"x\" Fun_Field=\"0\" Dim=\"0\"/></Nodo></M-Bus_Network>"));
    const MBusNetworkLoad load = model.open(path("M_Bus.xml"));
    EXPECT_FALSE(load.ok);
    EXPECT_TRUE(load.message.contains(QStringLiteral("M_Bus.xml")));
    ASSERT_EQ(model.Nodi_List.size(), 2u);
    EXPECT_EQ(model.Nodi_List[0].Description, QStringLiteral("A"));
}

TEST_F(MeterBusModelTest, SelectionFillsBothPages)
{
    model.Nodi_List[0].wMBus_Key[15] = QStringLiteral("$FF");
    model.Nodi_List[0].Var_List[1].VIFE = 255;
    model.select(0, 1);
    ASSERT_TRUE(model.variableSelected());
    const auto node = model.nodePage();
    const auto var = model.varPage();
    ASSERT_TRUE(node && var);
    EXPECT_EQ(node->Node_Pri, QStringLiteral("5"));
    EXPECT_EQ(node->wMBus_Key[15], QStringLiteral("$FF"));
    EXPECT_EQ(var->Description, QStringLiteral("Time"));
    EXPECT_EQ(var->PositionData, QStringLiteral("20"));
    EXPECT_TRUE(var->TP_Mod_Regs);
    EXPECT_EQ(var->TP_Mod_Year, QStringLiteral("30"));
    EXPECT_EQ(var->VIFE, 0);  // nothing chosen shows the first item

    model.select(1, -1);  // a node: the variable page is ready for a new variable
    EXPECT_EQ(model.varPage(), TVarPageValues{});
    model.select(-1, -1);  // the root: both pages keep what they show
    EXPECT_FALSE(model.nodePage());
    EXPECT_FALSE(model.varPage());
}

TEST_F(MeterBusModelTest, AddNodeFromAVariablesTemplateRefusesThatNodesAddress)
{
    model.select(0, 0);
    TNodePageValues page = *model.nodePage();
    const TEditOutcome same = model.nodeButton(defaultText(1723), page);
    EXPECT_FALSE(same.done);
    EXPECT_EQ(same.errors, QStringList{defaultText(1891)});
    EXPECT_EQ(model.Nodi_List.size(), 2u);
    EXPECT_TRUE(model.Is_Change);  // every press counts

    page.Node_Pri = QStringLiteral("7");
    page.Enable_NS = page.Enable_IN = page.Enable_MS = page.Enable_AN = false;
    const TEditOutcome other = model.nodeButton(defaultText(1723), page);
    EXPECT_TRUE(other.done) << other.errors.join(u'|').toStdString();
    ASSERT_EQ(model.Nodi_List.size(), 3u);
    EXPECT_EQ(model.Nodi_List[2].Node_Pri, 7);
    EXPECT_TRUE(model.Nodi_List[2].Var_List.empty());
}

TEST_F(MeterBusModelTest, ModifyingKeepsTheNodesVariablesAndAVariableDoesNotCollideWithItself)
{
    model.select(0, -1);
    TNodePageValues node = *model.nodePage();
    node.Description = QStringLiteral("Heat 2");
    const TEditOutcome n = model.nodeButton(defaultText(1724), node);
    ASSERT_TRUE(n.done) << n.errors.join(u'|').toStdString();
    EXPECT_EQ(model.Nodi_List[0].Description, QStringLiteral("Heat 2"));
    EXPECT_EQ(model.Nodi_List[0].Var_List.size(), 2u);

    model.select(0, 0);
    TVarPageValues var = *model.varPage();
    var.Description = QStringLiteral("Energy 2");
    EXPECT_TRUE(model.variableButton(defaultText(1749), var).done);
    EXPECT_EQ(model.Nodi_List[0].Var_List[0].Description, QStringLiteral("Energy 2"));
    // The same register added as a new variable collides with it.
    const TEditOutcome add = model.variableButton(defaultText(1748), var);
    EXPECT_FALSE(add.done);
    ASSERT_EQ(add.errors.size(), 1);
    EXPECT_TRUE(add.errors[0].startsWith(defaultText(1805)));
}

// Numbers typed on the pages: what the rules examine is refused when it is no whole number;
// what they do not examine is stored as 0.
struct StoreCase {
    const char* name;
    void (*edit)(TNodePageValues&);
    int refusedWith;  // 0: stored
    qint32 TNodo::*field;
    qint64 expected;
};

const StoreCase kStoreCases[] = {
    {"PrimaryNotANumber", [](TNodePageValues& p) { p.Node_Pri = QStringLiteral("abc"); }, 1875,
     nullptr, 0},
    {"HiddenSecondaryNotANumber", [](TNodePageValues& p) { p.Node_Sec = QStringLiteral("abc"); }, 0,
     &TNodo::Node_Sec, 0},
    {"UncheckedNodeStateNotANumber",
     [](TNodePageValues& p) {
         p.Enable_NS = false;
         p.Node_State = QStringLiteral("n/a");
     },
     0, &TNodo::Node_State, 0},
    {"CheckedNodeStateNotANumber",
     [](TNodePageValues& p) {
         p.Enable_NS = true;
         p.Node_State = QStringLiteral("n/a");
     },
     1877, nullptr, 0},
    {"UncheckedAccessNumberHex",
     [](TNodePageValues& p) { p.Access_Number = QStringLiteral("$10"); }, 0, &TNodo::Access_Number,
     16},
    {"HugeHiddenSecondary", [](TNodePageValues& p) { p.Node_Sec = QStringLiteral("99999999999"); },
     0, &TNodo::Node_Sec, 0},
};

class PageStore : public ::testing::TestWithParam<StoreCase> {};

TEST_P(PageStore, NumbersAreRefusedOrStoredDefined)
{
    const StoreCase& c = GetParam();
    TMeterBusModel model(defaultText);
    TNodePageValues page;
    page.Node_Pri = QStringLiteral("3");
    c.edit(page);
    const TEditOutcome out = model.nodeButton(defaultText(1723), page);
    if (c.refusedWith) {
        EXPECT_FALSE(out.done);
        EXPECT_EQ(out.errors, QStringList{defaultText(c.refusedWith)});
        EXPECT_TRUE(model.Nodi_List.empty());
        return;
    }
    ASSERT_TRUE(out.done) << out.errors.join(u'|').toStdString();
    EXPECT_EQ(model.Nodi_List[0].*c.field, c.expected);
}

INSTANTIATE_TEST_SUITE_P(NodePage, PageStore, ::testing::ValuesIn(kStoreCases), test::CaseName{});

TEST(TimePointBoxes, FollowTheYearRegister)
{
    using B = std::array<QString, 5>;
    const B zeros{"0", "0", "0", "0", "0"};
    EXPECT_EQ(timePointBoxes(QStringLiteral("100")), (B{"101", "102", "103", "104", "105"}));
    EXPECT_EQ(timePointBoxes(QStringLiteral("$10")), (B{"17", "18", "19", "20", "21"}));
    EXPECT_EQ(timePointBoxes(QStringLiteral("0")), zeros);
    EXPECT_EQ(timePointBoxes(QStringLiteral("x")), zeros);
    EXPECT_EQ(timePointBoxes(QStringLiteral("-3")), zeros);
}

TEST_F(MeterBusModelTest, WirelessNodeTakesThePanelsRegistersAndWiredKeepsItsRssi)
{
    TNodePageValues page;
    page.MBus_Type = 0;
    page.wMBus_ManID = QStringLiteral("0x1234");
    page.wMBus_Add = QStringLiteral("305419896");
    page.wMBus_Ver = QStringLiteral("1");
    page.wMBus_DevType = QStringLiteral("7");
    page.Node_State = QStringLiteral("1");  // hidden wired row
    page.wNode_State = QStringLiteral("40");
    page.wIdent_Num = QStringLiteral("41");
    page.wRSSI = QStringLiteral("42");
    page.wEnable_RSSI = true;
    page.wAccess_Number = QStringLiteral("43");
    page.wVar_List_Type = 1;
    const TEditOutcome out = model.nodeButton(defaultText(1723), page);
    ASSERT_TRUE(out.done) << out.errors.join(u'|').toStdString();
    const TNodo& n = model.Nodi_List.back();
    EXPECT_EQ(n.MBus_Type, 0);
    EXPECT_EQ(n.Node_State, 40);
    EXPECT_EQ(n.Ident_Num, 41);
    EXPECT_EQ(n.RSSI, 42);
    EXPECT_EQ(n.Enable_RSSI, 1);
    EXPECT_EQ(n.Access_Number, 43);
    EXPECT_EQ(n.Var_List_Type, 1);
    EXPECT_EQ(nodeItemText(n), QStringLiteral("wM-Bus Node - Address 305419896 - "));

    model.Nodi_List[0].RSSI = 77;
    model.select(0, -1);
    TNodePageValues wired = *model.nodePage();
    wired.wRSSI = QStringLiteral("5");  // the panel is hidden for a wired node
    ASSERT_TRUE(model.nodeButton(defaultText(1724), wired).done);
    EXPECT_EQ(model.Nodi_List[0].RSSI, 77);
}

TEST_F(MeterBusModelTest, DeleteAsksByWhatIsSelected)
{
    model.select(0, 1);
    EXPECT_EQ(model.deleteQuestion(), 1895);
    model.deleteSelected();
    EXPECT_EQ(model.Nodi_List[0].Var_List.size(), 1u);
    model.select(1, -1);
    EXPECT_EQ(model.deleteQuestion(), 1894);
    model.deleteSelected();
    EXPECT_EQ(model.Nodi_List.size(), 1u);
    model.select(-1, -1);
    EXPECT_EQ(model.deleteQuestion(), 1893);
    model.deleteSelected();
    EXPECT_TRUE(model.Nodi_List.empty());
    EXPECT_TRUE(model.Is_Change);
    EXPECT_EQ(mbusNetworkBytes(model.Nodi_List),
              QByteArray("<M-Bus_Network/>\n<!--SW_VERSION = 1.002-->\n"));
}

TEST_F(MeterBusModelTest, CopyAndPasteRefuseWithoutSelectionOrCopy)
{
    QString error;
    EXPECT_FALSE(model.pasteVariableRequest(&error));
    EXPECT_EQ(error, defaultText(1901));
    EXPECT_EQ(model.copyVariable().errors, QStringList{defaultText(1898)});
    EXPECT_EQ(model.copyNode().errors, QStringList{defaultText(1899)});
    model.select(1, -1);
    EXPECT_EQ(model.copyVariable().errors, QStringList{defaultText(1897)});
    model.select(0, 0);
    EXPECT_TRUE(model.copyVariable().done);
    model.select(-1, -1);
    EXPECT_FALSE(model.pasteVariableRequest(&error));
    EXPECT_EQ(error, defaultText(1905));
}

TEST_F(MeterBusModelTest, PastedVariableTakesTheDialogsRegisters)
{
    model.select(0, 1);
    ASSERT_TRUE(model.copyVariable().done);
    model.select(1, -1);
    QString error;
    const auto request = model.pasteVariableRequest(&error);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->Form_Type, 2);
    ASSERT_EQ(request->rows.size(), 3u);
    EXPECT_EQ(request->rows[0].index, QStringLiteral("20"));
    EXPECT_FALSE(request->rows[1].index);  // the scale cell keeps what it held
    EXPECT_EQ(request->rows[2].index, QStringLiteral("30"));
    EXPECT_EQ(request->rows[1].description, QStringLiteral("Time"));

    TPasteAnswer answer;
    answer.index = {QStringLiteral("200"), QStringLiteral("0"), QStringLiteral("300")};
    model.applyPasteVariable(answer);
    ASSERT_EQ(model.Nodi_List[1].Var_List.size(), 1u);
    const TVariabile& v = model.Nodi_List[1].Var_List[0];
    EXPECT_EQ(v.PositionData, 200);
    EXPECT_EQ(v.TP_Mod_Year, 300);
    EXPECT_EQ(v.Description, QStringLiteral("Time"));
    EXPECT_TRUE(model.Is_Change);
}

TEST_F(MeterBusModelTest, PastedNodeAsksRowByRowAndComesWithItsSwitchesOff)
{
    model.select(0, -1);
    ASSERT_TRUE(model.copyNode().done);
    model.Nodi_List[0].Description = QStringLiteral("changed after the copy");
    QString error;
    const auto request = model.pasteNodeRequest(&error);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->Form_Type, 1);
    EXPECT_EQ(request->Node_Pri, QStringLiteral("5"));
    EXPECT_EQ(request->Node_State, QStringLiteral("900"));
    ASSERT_EQ(request->rows.size(), 6u);
    EXPECT_EQ(request->rows[3].kind, 1902);
    EXPECT_EQ(request->rows[3].description, QStringLiteral("Time"));

    TPasteAnswer answer;
    answer.Node_Pri = QStringLiteral("8");
    answer.Node_Sec = QStringLiteral("1");
    answer.Node_State = QStringLiteral("950");
    answer.Ident_Num = QStringLiteral("garbage");
    answer.index = {"110", "0", "0", "120", "0", "130"};
    model.applyPasteNode(answer);
    ASSERT_EQ(model.Nodi_List.size(), 3u);
    const TNodo& n = model.Nodi_List[2];
    EXPECT_EQ(n.Description, QStringLiteral("Heat"));
    EXPECT_EQ(n.Node_Pri, 8);
    EXPECT_EQ(n.Node_State, 950);
    EXPECT_EQ(n.Ident_Num, 0);  // not checked by the dialog: stored defined
    EXPECT_EQ(n.Enable_NS + n.Enable_IN + n.Enable_MS + n.Enable_AN + n.Enable_RSSI, 0);
    ASSERT_EQ(n.Var_List.size(), 2u);
    EXPECT_EQ(n.Var_List[0].PositionData, 110);
    EXPECT_EQ(n.Var_List[1].PositionData, 120);
    EXPECT_EQ(n.Var_List[1].TP_Mod_Year, 130);
    EXPECT_EQ(nodeItemText(n), QStringLiteral("ID 8 - Heat"));
}

TEST_F(MeterBusModelTest, PastingAWirelessNodeWithoutVariablesGivesOneEmptyRow)
{
    TNodo w;
    w.MBus_Type = 0;
    w.wMBus_Add = QStringLiteral("0x10");
    w.RSSI = 12;
    model.Nodi_List.push_back(w);
    model.select(2, -1);
    ASSERT_TRUE(model.copyNode().done);
    QString error;
    const auto request = model.pasteNodeRequest(&error);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->Form_Type, 3);
    EXPECT_EQ(request->wMBus_Add, QStringLiteral("0x10"));
    EXPECT_EQ(request->RSSI, QStringLiteral("12"));
    ASSERT_EQ(request->rows.size(), 1u);
    EXPECT_EQ(request->rows[0].index, QString());
}

TEST_F(MeterBusModelTest, ImportReplacesTheFileOrLeavesItWhole)
{
    const QString project = path("M_Bus.xml");
    ASSERT_TRUE(test::writeFile(project, "old"));
    ASSERT_TRUE(test::writeFile(path("other.xml"), "new"));

    const ImportResult same = importNetworkFile(project, project);
    EXPECT_TRUE(same.ok && same.sameFile);
    EXPECT_EQ(test::readFile(project), QByteArray("old"));

    const ImportResult missing = importNetworkFile(path("none.xml"), project);
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.message.contains(QStringLiteral("none.xml")));
    EXPECT_EQ(test::readFile(project), QByteArray("old"));

    const ImportResult done = importNetworkFile(path("other.xml"), project);
    EXPECT_TRUE(done.ok);
    EXPECT_EQ(test::readFile(project), QByteArray("new"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);  // no temporary left

    // A folder that cannot take the temporary file: the old file stays.
    const QString blocked = path("sub/M_Bus.xml");
    const ImportResult failed = importNetworkFile(path("other.xml"), blocked);
    EXPECT_FALSE(failed.ok);
}

// The paste dialog's check: ranges end it, conflicts are reported and it goes on.
struct PasteCheckCase {
    const char* name;
    TNewIDNodeValues values;
    std::vector<int> texts;  // expected messages by text number; 0: a register conflict
};

const PasteCheckCase kPasteChecks[] = {
    {"ScaleEmptyFirstTime", {2, false, {}, {}, {}, {"100", "", "0"}}, {2017}},
    {"ScaleTyped", {2, false, {}, {}, {}, {"100", "0", "0"}}, {}},
    {"TimePoint59996", {2, false, {}, {}, {}, {"100", "0", "59996"}}, {2018}},
    {"TimePoint59995", {2, false, {}, {}, {}, {"100", "0", "59995"}}, {}},
    {"RegisterZero", {2, false, {}, {}, {}, {"0", "0", "0"}}, {2016}},
    {"RegisterOfAnEnabledVariable", {2, false, {}, {}, {}, {"10", "0", "0"}}, {0}},
    {"TwoConflictsBothShown", {2, false, {}, {}, {}, {"10", "0", "0", "20", "0", "0"}}, {0, 0}},
    {"NodeWithoutVariables", {1, false, "7", "1", {}, {""}}, {}},
    {"PrimaryUsedByAWirelessNode", {1, false, "9", "1", {}, {""}}, {1890}},
    {"Primary256", {1, false, "256", "1", {}, {""}}, {2013}},
    {"SecondaryOutOfRange", {1, true, "1", "100000000", {}, {""}}, {2014}},
    {"WirelessAddressTooLarge", {3, false, {}, {}, "0x100000000", {""}}, {2015}},
    {"WirelessAddressLargest", {3, false, {}, {}, "$FFFFFFFF", {""}}, {}},
    {"ModeThreeIgnoresTheAddressRows", {3, false, "abc", {}, "1", {""}}, {}},
};

class PasteCheck : public ::testing::TestWithParam<PasteCheckCase> {};

TEST_P(PasteCheck, RefusesInOrder)
{
    const PasteCheckCase& c = GetParam();
    TNodo wireless;
    wireless.Enable = 1;
    wireless.MBus_Type = 0;
    wireless.Node_Pri = 9;
    const TNodiList nodes = {wiredNode("Heat", 5, {variable("Energy", 10), variable("Time", 20)}),
                             wireless};
    const TMBusRules rules(nodes, -1, -1, defaultText);
    const RuleVerdict v = checkNewIDNode(c.values, rules, defaultText);
    EXPECT_EQ(v.ok, c.texts.empty());
    ASSERT_EQ(v.messages.size(), qsizetype(c.texts.size())) << v.messages.join(u'|').toStdString();
    for (std::size_t i = 0; i < c.texts.size(); ++i) {
        if (c.texts[i] == 0)
            EXPECT_TRUE(v.messages[qsizetype(i)].startsWith(defaultText(1805)));
        else
            EXPECT_EQ(v.messages[qsizetype(i)], defaultText(c.texts[i]));
    }
}

INSTANTIATE_TEST_SUITE_P(NewIDNode, PasteCheck, ::testing::ValuesIn(kPasteChecks),
                         test::CaseName{});

TEST(ScanDialogChecks, KeyStartRegisterAndPerNodeRows)
{
    const QString key32 = QStringLiteral("0123456789ABCDEF0123456789ABCDEF");
    EXPECT_EQ(checkWirelessKey(key32), 0);
    EXPECT_EQ(checkWirelessKey(key32.left(31)), 2304);
    EXPECT_EQ(checkWirelessKey(QString(key32).replace(5, 1, u'G')), 2303);
    EXPECT_EQ(checkWirelessKey(key32.toLower()), 2303);  // the field upper-cases as typed
    EXPECT_EQ(checkWirelessKey(QString()), 2304);

    for (const char* bad : {"0", "65536", "", "x", "-1"})
        EXPECT_FALSE(startModbusRegister(QString::fromLatin1(bad))) << bad;
    EXPECT_EQ(startModbusRegister(QStringLiteral("1")), 1);
    EXPECT_EQ(startModbusRegister(QStringLiteral("65535")), 65535);
    EXPECT_EQ(startModbusRegister(QStringLiteral("$FFFF")), 65535);

    EXPECT_EQ(checkStartRegisters({"100", "", "60000"}, defaultText),
              defaultText(2408) + QStringLiteral("2") + defaultText(2409));
    EXPECT_EQ(checkStartRegisters({"100", "5", "60000"}, defaultText),
              defaultText(2408) + QStringLiteral("3") + defaultText(2410));
    EXPECT_EQ(checkStartRegisters({"100", "abc"}, defaultText),
              defaultText(2408) + QStringLiteral("2") + defaultText(2410));
    EXPECT_EQ(checkStartRegisters({}, defaultText), QString());
    EXPECT_EQ(checkStartRegisters({"1", "59999"}, defaultText), QString());
}

}  // namespace
}  // namespace zfw
