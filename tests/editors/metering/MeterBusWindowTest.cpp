// The M-Bus network window as a user drives it: opening and saving, selection, the add and
// paste flows with the paste dialog, import, cancel, the layouts and the reactions.

#include "editors/metering/UMeter_Bus.h"
#include "editors/metering/UNewIDNode.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "controls/ExtPageControl.h"
#include "support/FakeServices.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace zfw {
namespace {

QString goldenPath() { return QStringLiteral(ZFW_TEST_DATA_DIR "/metering/network_sample.xml"); }

// A project "P" with the English texts; the window and its paste dialog use the fake dialogs.
class MeterBusWindow : public test::TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        ProgramState& s = programState();
        s.Dir_Exe = root();
        s.Dir_Projects = joinPath(root(), QStringLiteral("PROJECTS"));
        s.Project_Name = QStringLiteral("P");
        s.Dir_Project = joinPath(s.Dir_Projects, s.Project_Name);
        s.SW_Code = QString::fromLatin1(Build_SW_Code);
        ASSERT_TRUE(QDir().mkpath(s.Dir_Project));
        Set_Files(s);
        Fill_Default_Language(s);
        window = std::make_unique<TFMeter_Bus>(nullptr, &fakes.dialogs);
    }

    QString file() const { return programState().File_M_Bus; }
    QString text(int n) const { return programState().lang(n); }
    void openWith(const QByteArray& bytes)
    {
        ASSERT_TRUE(test::writeFile(file(), bytes));
        window->FormShow();
    }
    void click(QTreeWidgetItem* item)
    {
        window->TW->setCurrentItem(item);
        QApplication::processEvents();
    }
    QTreeWidgetItem* nodeItem(int i) const { return window->NODE_ORIG->child(i); }
    QStringList messages() const
    {
        QStringList l;
        for (const auto& m : fakes.dialogs.messages)
            l.append(m.text);
        return l;
    }

    test::ScopedFakeServices fakes;
    std::unique_ptr<TFMeter_Bus> window;
};

TEST_F(MeterBusWindow, OkWithoutAChangeWritesTheFileByteForByte)
{
    const QByteArray golden = test::readFile(goldenPath());
    openWith(golden);
    ASSERT_EQ(window->NODE_ORIG->childCount(), 3);
    EXPECT_EQ(window->NODE_ORIG->text(0), QStringLiteral("M-Bus Network"));
    EXPECT_TRUE(nodeItem(1)->text(0).startsWith(QStringLiteral("wM-Bus Node - Address ")));
    window->Btn_OK->click();
    EXPECT_EQ(window->result(), int(mrOk));
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(test::readFile(file()), golden);
}

TEST_F(MeterBusWindow, OpeningWithoutAFileShowsTheRootAndNoPasting)
{
    window->FormShow();
    EXPECT_EQ(window->TW->topLevelItemCount(), 1);
    EXPECT_EQ(window->NODE_ORIG->childCount(), 0);
    EXPECT_FALSE(window->PasteVariable1->isEnabled());
    EXPECT_FALSE(window->PasteNode1->isEnabled());
    EXPECT_FALSE(window->P_wMBus_Node->isVisibleTo(window.get()));
    EXPECT_TRUE(window->RB_ID_Primary->isVisibleTo(window.get()));
    EXPECT_EQ(window->CB_Cut_After->count(), 250);
    EXPECT_EQ(window->btn_Add_Node->text(), QStringLiteral("ADD NODE"));
}

TEST_F(MeterBusWindow, SelectingAVariableFillsBothPagesAndAddNodeRefusesItsNodesAddress)
{
    TNodo node;
    node.Enable = 1;
    node.MBus_Type = 1;
    node.Node_Pri = 5;
    node.Description = QStringLiteral("Heat");
    for (int i = 0; i < 16; ++i)
        node.wMBus_Key[std::size_t(i)] = QString::number(i + 100);
    TVariabile v;
    v.Enable = true;
    v.Description = QStringLiteral("Energy");
    v.PositionData = 12;
    v.TP_Mod_Year = 100;
    v.Position = 3;
    node.Var_List = {v};
    openWith(mbusNetworkBytes({node}));

    click(nodeItem(0)->child(0));
    EXPECT_EQ(window->ExtPageControl1->ActivePage(), window->ExtTabSheet2);
    EXPECT_EQ(window->btn_Add_Node->text(), QStringLiteral("ADD NODE"));
    EXPECT_EQ(window->btn_Add_Var->text(), QStringLiteral("MODIFY VARIABLE"));
    EXPECT_EQ(window->E_New_Node_ID_Pri->text(), QStringLiteral("5"));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(window->E_wMBus_K[std::size_t(i)]->text(), QString::number(i + 100));
    EXPECT_EQ(window->E_New_Var_Desc->text(), QStringLiteral("Energy"));
    EXPECT_EQ(window->E_Var_MR->text(), QStringLiteral("12"));
    EXPECT_EQ(window->ST_TP[4]->text(), QStringLiteral("105"));

    window->btn_Add_Node->click();
    EXPECT_EQ(messages(), QStringList{text(1891)});
    EXPECT_EQ(window->NODE_ORIG->childCount(), 1);

    window->E_New_Node_ID_Pri->setText(QStringLiteral("6"));
    window->btn_Add_Node->click();
    ASSERT_EQ(window->NODE_ORIG->childCount(), 2);
    EXPECT_EQ(nodeItem(1)->text(0), QStringLiteral("ID 6 - Heat"));

    click(nodeItem(0));
    EXPECT_EQ(window->ExtPageControl1->ActivePage(), window->ExtTabSheet1);
    EXPECT_EQ(window->btn_Add_Node->text(), QStringLiteral("MODIFY NODE"));
    EXPECT_EQ(window->E_New_Var_Desc->text(), QString());  // ready for a new variable
    EXPECT_EQ(window->E_Position->text(), QStringLiteral("1"));
}

TEST_F(MeterBusWindow, APastedNodeAsksForRegistersRowByRowAndComesWithItsSwitchesOff)
{
    TNodo node;
    node.Enable = 1;
    node.MBus_Type = 1;
    node.Node_Pri = 5;
    node.Enable_NS = node.Enable_IN = node.Enable_MS = node.Enable_AN = 1;
    node.Node_State = 900;
    node.Ident_Num = 901;
    node.Description = QStringLiteral("Heat");
    TVariabile a;
    a.Enable = true;
    a.Description = QStringLiteral("A");
    a.PositionData = 10;
    TVariabile b = a;
    b.Description = QStringLiteral("B");
    b.PositionData = 11;
    node.Var_List = {a, b};
    openWith(mbusNetworkBytes({node}));

    click(nodeItem(0));
    window->CopyNode1->trigger();
    EXPECT_TRUE(window->PasteNode1->isEnabled());

    int tries = 0;
    fakes.dialogs.onShowModal = [&](QDialog& d) {
        auto& dialog = dynamic_cast<TFNewIDNode&>(d);
        dialog.FormShow();
        EXPECT_EQ(dialog.Form_Type, 1);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("New Node ID"));
        EXPECT_EQ(dialog.gridRowCount(), 7);
        EXPECT_EQ(dialog.gridCell(0, 4), QStringLiteral("Modbus Register"));
        EXPECT_EQ(dialog.gridCell(2, 4), QStringLiteral("B"));
        EXPECT_EQ(dialog.gridCell(1, 4), QStringLiteral("11"));
        // First OK: the same address and registers are refused, the dialog stays.
        dialog.setGridCell(1, 2, QStringLiteral("0"));
        dialog.setGridCell(1, 5, QStringLiteral("0"));
        dialog.LbButton2Click();
        ++tries;
        EXPECT_EQ(dialog.result(), 0);
        dialog.E_New_Node_ID_Pri->setText(QStringLiteral("8"));
        dialog.setGridCell(1, 1, QStringLiteral("20"));
        dialog.setGridCell(1, 4, QStringLiteral("21"));
        dialog.E_MR_NodeState->setText(QStringLiteral("950"));
        dialog.LbButton2Click();
        return TModalResult(dialog.result());
    };
    window->PasteNode1->trigger();
    EXPECT_EQ(tries, 1);
    const QStringList shown = messages();
    ASSERT_EQ(shown.size(), 3);  // the address, then each group's register
    EXPECT_EQ(shown[0], text(1890));
    ASSERT_EQ(window->NODE_ORIG->childCount(), 2);
    EXPECT_EQ(nodeItem(1)->text(0), QStringLiteral("ID 8 - Heat"));
    EXPECT_EQ(nodeItem(1)->childCount(), 2);

    window->Btn_OK->click();
    const MBusNetworkLoad saved = loadMBusNetwork(file());
    ASSERT_EQ(saved.nodes.size(), 2u);
    const TNodo& n = saved.nodes[1];
    EXPECT_EQ(n.Node_Pri, 8);
    EXPECT_EQ(n.Node_State, 950);
    EXPECT_EQ(n.Enable_NS + n.Enable_IN + n.Enable_MS + n.Enable_AN + n.Enable_RSSI, 0);
    EXPECT_EQ(n.Var_List[0].PositionData, 20);
    EXPECT_EQ(n.Var_List[1].PositionData, 21);
}

TEST_F(MeterBusWindow, CopyBuffersOutliveClosing)
{
    TNodo node;
    node.MBus_Type = 1;
    TVariabile v;
    v.Description = QStringLiteral("V");
    node.Var_List = {v};
    openWith(mbusNetworkBytes({node}));
    click(nodeItem(0)->child(0));
    window->CopyVariable1->trigger();
    window->Btn_Cancel->click();
    window->FormShow();
    EXPECT_TRUE(window->PasteVariable1->isEnabled());
    EXPECT_FALSE(window->PasteNode1->isEnabled());
}

TEST_F(MeterBusWindow, ImportWithNoLeavesTheFileAndWithYesReplacesIt)
{
    const QByteArray golden = test::readFile(goldenPath());
    openWith(mbusNetworkBytes({}));
    const QString other = joinPath(root(), QStringLiteral("other.xml"));
    ASSERT_TRUE(test::writeFile(other, golden));

    fakes.dialogs.fileAnswers = {other};
    fakes.dialogs.messageAnswers = {mrNo};
    window->Btn_ImportNet->click();
    EXPECT_EQ(messages(), QStringList{text(1906)});
    EXPECT_EQ(test::readFile(file()), mbusNetworkBytes({}));
    EXPECT_EQ(window->NODE_ORIG->childCount(), 0);

    fakes.dialogs.fileAnswers = {other};
    fakes.dialogs.messageAnswers = {mrYes};
    window->Btn_ImportNet->click();
    EXPECT_EQ(test::readFile(file()), golden);  // before OK
    EXPECT_EQ(window->NODE_ORIG->childCount(), 3);
    window->Btn_Cancel->click();  // nothing changed since the import
    EXPECT_EQ(window->result(), int(mrCancel));
    EXPECT_EQ(test::readFile(file()), golden);

    // Picking the project's own file changes nothing and asks nothing more.
    fakes.dialogs.messages.clear();
    fakes.dialogs.fileAnswers = {file()};
    fakes.dialogs.messageAnswers = {mrYes};
    window->Btn_ImportNet->click();
    EXPECT_EQ(messages(), QStringList{text(1906)});
    EXPECT_EQ(test::readFile(file()), golden);
}

TEST_F(MeterBusWindow, CancelAfterAChangeAsksAndNoKeepsTheEdits)
{
    window->FormShow();
    window->E_New_Node_ID_Pri->setText(QStringLiteral("3"));
    window->btn_Add_Node->click();
    ASSERT_EQ(window->NODE_ORIG->childCount(), 1);
    fakes.dialogs.messageAnswers = {mrNo};
    window->Btn_Cancel->click();
    EXPECT_EQ(messages(), QStringList{text(1896)});
    EXPECT_EQ(window->result(), 0);
    EXPECT_EQ(window->NODE_ORIG->childCount(), 1);
    fakes.dialogs.messageAnswers = {mrYes};
    window->Btn_Cancel->click();
    EXPECT_EQ(window->result(), int(mrCancel));
    EXPECT_FALSE(QFile::exists(file()));
}

TEST_F(MeterBusWindow, AReadingErrorAsksBeforeOkOverwritesTheFile)
{
    const QByteArray broken =
        "<M-Bus_Network><Nodo Descrizione=\"A\"/><Nodo>"
        "<Variabile Type=\"x\" Fun_Field=\"0\" Dim=\"0\"/></Nodo>"
        "</M-Bus_Network>";
    openWith(broken);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].contains(QStringLiteral("M_Bus.xml")));
    EXPECT_EQ(window->NODE_ORIG->childCount(), 2);
    fakes.dialogs.messageAnswers = {mrNo};
    window->Btn_OK->click();
    EXPECT_EQ(window->result(), 0);
    EXPECT_EQ(test::readFile(file()), broken);
    fakes.dialogs.messageAnswers = {mrYes};
    window->Btn_OK->click();
    EXPECT_EQ(window->result(), int(mrOk));
    EXPECT_EQ(loadMBusNetwork(file()).nodes.size(), 2u);
}

TEST_F(MeterBusWindow, YearRegisterBoxesFollowTheTypedYear)
{
    window->FormShow();
    window->E_TP_Year->setText(QStringLiteral("100"));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(window->ST_TP[std::size_t(i)]->text(), QString::number(101 + i));
    window->E_TP_Year->setText(QStringLiteral("x"));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(window->ST_TP[std::size_t(i)]->text(), QStringLiteral("0"));
}

TEST_F(MeterBusWindow, LayoutsFollowTheTypeAndTheListKind)
{
    TNodo byPosition;
    byPosition.MBus_Type = 1;
    byPosition.Var_List_Type = 1;
    TNodo byType = byPosition;
    byType.Var_List_Type = 0;
    byType.Node_Pri = 2;
    openWith(mbusNetworkBytes({byPosition, byType}));
    QWidget* w = window.get();
    QWidget* varPage = window->ExtTabSheet2;  // in the background while a node is selected

    click(nodeItem(0));
    EXPECT_FALSE(window->CB_Var_ToD->isVisibleTo(varPage));
    EXPECT_TRUE(window->E_Position->isVisibleTo(varPage));
    EXPECT_TRUE(window->GroupBox4->isEnabled());
    EXPECT_EQ(window->E_Var_MR->y() - window->E_Length->y(), 24);

    click(nodeItem(1));
    EXPECT_TRUE(window->CB_Var_ToD->isVisibleTo(varPage));
    EXPECT_FALSE(window->E_Position->isVisibleTo(varPage));
    EXPECT_FALSE(window->GroupBox4->isEnabled());
    window->CB_Var_ToD->setCurrentIndex(20);  // "Time Point"
    EXPECT_TRUE(window->GroupBox4->isEnabled());
    window->CB_Var_ToD->setCurrentIndex(21);  // "VIF is in ASCII"
    EXPECT_TRUE(window->E_VIF_ASCII->isEnabled());
    EXPECT_FALSE(window->GroupBox4->isEnabled());

    window->CB_Float->setChecked(true);
    window->CB_Var_Dim->setCurrentIndex(7);  // "Variable Length"
    EXPECT_FALSE(window->CB_Float->isChecked());
    EXPECT_FALSE(window->CB_Float->isEnabled());
    EXPECT_TRUE(window->E_Length->isEnabled());
    window->CB_Var_Dim->setCurrentIndex(1);
    EXPECT_TRUE(window->CB_Float->isEnabled());
    EXPECT_FALSE(window->CB_Float->isChecked());

    window->CB_MBus_Type->setCurrentIndex(0);
    EXPECT_TRUE(window->P_wMBus_Node->isVisibleTo(w));
    EXPECT_FALSE(window->RB_ID_Primary->isVisibleTo(w));
    EXPECT_FALSE(window->CB_Access_Number->isVisibleTo(w));
    EXPECT_TRUE(window->CB_Manu_Spec_Data->isVisibleTo(w));
    EXPECT_GT(window->CB_Manu_Spec_Data->y(), window->P_wMBus_Node->geometry().bottom());
}

TEST_F(MeterBusWindow, TheVifeListOpensRightAligned)
{
    window->FormShow();
    window->show();
    window->ExtPageControl1->SetActivePage(window->ExtTabSheet2);
    QApplication::processEvents();
    TAlignedComboBox* vife = window->CB_VIFE;
    ASSERT_TRUE(vife->isVisible());
    vife->showPopup();
    QApplication::processEvents();
    QWidget* popup = vife->view()->window();
    EXPECT_GT(popup->width(), vife->width());
    EXPECT_EQ(popup->geometry().right(), vife->mapToGlobal(QPoint(vife->width() - 1, 0)).x());
    vife->hidePopup();
    window->hide();
}

// The paste dialog on its own: the edge cases of its check as one table.
struct PasteDialogCase {
    const char* name;
    int mode;
    const char* address;
    std::vector<const char*> index;
    int message;  // 0: closes with OK
};

const PasteDialogCase kPasteDialogCases[] = {
    {"ReScaleEmptyRefused", 2, "", {"100", "", "0"}, 2017},
    {"ReScaleTypedAccepted", 2, "", {"100", "0", "0"}, 0},
    {"TimePoint59996Refused", 2, "", {"100", "0", "59996"}, 2018},
    {"TimePointZeroAccepted", 2, "", {"100", "5", "0"}, 0},
    {"RegisterOfAnEnabledVariable", 2, "", {"10", "0", "0"}, 1805},
    {"NodeWithoutVariables", 1, "7", {""}, 0},
    {"WirelessAddressTooLarge", 3, "0x100000000", {""}, 2015},
};

class PasteDialog : public MeterBusWindow, public ::testing::WithParamInterface<PasteDialogCase> {};

TEST_P(PasteDialog, ClosesOnlyWhenNothingIsRefused)
{
    const PasteDialogCase& c = GetParam();
    TNodo n;
    n.Enable = 1;
    n.MBus_Type = 1;
    n.Node_Pri = 5;
    n.Node_State = 900;
    n.Ident_Num = 901;
    TVariabile v;
    v.Enable = true;
    v.PositionData = 10;
    n.Var_List = {v};
    const TNodiList nodes = {n};
    TFNewIDNode dialog(nullptr, &fakes.dialogs);
    dialog.setNetwork(&nodes);
    TPasteRequest r;
    r.Form_Type = c.mode;
    r.Node_Pri = r.wMBus_Add = QString::fromLatin1(c.address);
    for (std::size_t i = 0; i < c.index.size(); ++i)
        r.rows.push_back({1902, QString::fromLatin1(c.index[i]), QStringLiteral("V")});
    dialog.fill(r);
    dialog.FormShow();
    dialog.LbButton2Click();
    if (c.message == 0) {
        EXPECT_TRUE(messages().isEmpty()) << messages().join(u'|').toStdString();
        EXPECT_EQ(dialog.result(), int(mrOk));
        return;
    }
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].startsWith(text(c.message))) << messages()[0].toStdString();
    EXPECT_EQ(dialog.result(), 0);
}

INSTANTIATE_TEST_SUITE_P(NewIDNode, PasteDialog, ::testing::ValuesIn(kPasteDialogCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MeterBusWindow, PasteDialogLayoutFollowsTheModeAndKeepsTheScaleCells)
{
    TFNewIDNode dialog(nullptr, &fakes.dialogs);
    EXPECT_EQ(dialog.width(), 432);
    EXPECT_EQ(dialog.height(), 536);
    TPasteRequest r;
    r.Form_Type = 2;
    r.rows = {{1902, QStringLiteral("10"), QStringLiteral("V")},
              {1903, std::nullopt, QStringLiteral("V")},
              {1904, QStringLiteral("0"), QStringLiteral("V")}};
    dialog.fill(r);
    dialog.FormShow();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("New Variable"));
    EXPECT_EQ(dialog.P_Top->height(), 8);
    dialog.setGridCell(1, 2, QStringLiteral("44"));
    dialog.fill(r);
    EXPECT_EQ(dialog.gridCell(1, 2), QStringLiteral("44"));

    r.Form_Type = 3;
    r.wMBus_Add = QStringLiteral("0x10");
    dialog.fill(r);
    dialog.FormShow();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("New Node ID"));
    QWidget* w = &dialog;
    EXPECT_FALSE(dialog.RB_ID_Primary->isVisibleTo(w));
    EXPECT_TRUE(dialog.E_wMBus_RSSI->isVisibleTo(w));
    EXPECT_EQ(dialog.E_MR_NodeState->y() - dialog.E_wMBus_Add->y(), 24);
    EXPECT_EQ(dialog.E_wMBus_RSSI->y() - dialog.E_MR_IdentNum->y(), 24);
    EXPECT_EQ(dialog.P_Top->height(), dialog.E_wMBus_RSSI->geometry().bottom() + 1 + 4);

    r.Form_Type = 1;
    dialog.fill(r);
    dialog.FormShow();
    EXPECT_EQ(dialog.P_Top->height(), 161);
    EXPECT_TRUE(dialog.RB_ID_Primary->isVisibleTo(w));
    EXPECT_FALSE(dialog.E_wMBus_Add->isVisibleTo(w));
}

}  // namespace
}  // namespace zfw
