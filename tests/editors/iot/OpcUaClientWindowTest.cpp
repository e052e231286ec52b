// The OPC UA client editor driven as a user would, offscreen, with fake dialogs and a fake
// browse.

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "editors/iot/UOPC_UA_Add_Server.h"
#include "editors/iot/UOPC_UA_Client_Access.h"
#include "editors/iot/UOPC_UA_Scan_Server.h"
#include "editors/iot/core/UOpcUaClientFile.h"
#include "editors/iot/core/UOpcUaClientRules.h"
#include "grid/ColumnGrid.h"
#include "support/FakeServices.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

namespace zfw {
namespace {

class FakeBrowser final : public IOpcUaBrowser {
public:
    void begin(const OpcUaBrowseRequest& request,
               std::function<void(OpcUaBrowseResult)> done) override
    {
        requests.push_back(request);
        pending = std::move(done);
    }
    void cancel() override
    {
        ++cancels;
        pending = nullptr;
    }
    void answer(OpcUaBrowseResult r)
    {
        auto d = std::move(pending);
        pending = nullptr;
        if (d)
            d(std::move(r));
    }
    std::vector<OpcUaBrowseRequest> requests;
    std::function<void(OpcUaBrowseResult)> pending;
    int cancels = 0;
};

std::unique_ptr<TOPC_UA_Variable> var(const char* name, const char* type, const char* pos)
{
    auto v = std::make_unique<TOPC_UA_Variable>();
    v->Enable = true;
    v->DispalyName = QString::fromUtf8(name);
    v->setVarType(QString::fromUtf8(type));
    v->VarArray = QStringLiteral("Variable");
    v->Start = QStringLiteral("0");
    v->Len = QStringLiteral("10");
    v->Time = QStringLiteral("100");
    v->Position = QString::fromUtf8(pos);
    v->OnChange = v->OnCMD = v->OnTimer = QStringLiteral("N");
    return v;
}

class OpcUaClientWindow : public test::TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        ProgramState& s = programState();
        Fill_Default_Language(s);
        s.Dir_Project = root();
        s.File_OPC_UA_Client = path(QStringLiteral("OPC_UA_Client.xml"));
    }

    // Two servers: the first reads an Int32 at 0 and a Double at 4, the second reads two
    // variables and writes none.
    void writeTwoServers()
    {
        OpcUaServerList list;
        for (const char* address : {"opc.tcp://127.0.0.1:1", "opc.tcp://127.0.0.1:2"}) {
            auto s = std::make_unique<TOPC_UA_Server>();
            s->Enable = true;
            s->ServerAddress = QString::fromUtf8(address);
            s->Authorization = QStringLiteral("Anonymous");
            s->SecurityType = s->SecurityPolicy = QStringLiteral("None");
            list.push_back(std::move(s));
        }
        list[0]->Var_List_R.push_back(var("a", "Int32", "0"));
        list[0]->Var_List_R.push_back(var("b", "Double", "4"));
        list[1]->Var_List_R.push_back(var("c", "String", "900"));
        list[1]->Var_List_R.push_back(var("d", "Int16", "900"));
        ASSERT_TRUE(saveOpcUaClientFile(programState().File_OPC_UA_Client, list).ok);
    }

    std::unique_ptr<TFOPC_UA_Client_Access> open()
    {
        auto w = std::make_unique<TFOPC_UA_Client_Access>(RuleEditorContext{&programState(),
                                                                            QStringLiteral("CODE"),
                                                                            &m_fakes.dialogs},
                                                          &m_browser);
        w->show();
        QApplication::processEvents();
        return w;
    }

    static void clickServer(TFOPC_UA_Client_Access& w, int row)
    {
        w.ACG_OPC_UA_Server->MoveCurrentCell(1, row, true, true);
        w.ACG_OPC_UA_ServerClickCell(row, 1);
    }

    test::ScopedFakeServices m_fakes;
    FakeBrowser m_browser;
};

TEST_F(OpcUaClientWindow, OpensTheFileAndAnEditIsKeptWhenAnotherServerRowIsClicked)
{
    writeTwoServers();
    auto w = open();
    EXPECT_TRUE(m_fakes.dialogs.messages.empty());
    ASSERT_EQ(w->OPC_UA_Server_List.size(), 2u);
    EXPECT_EQ(w->ACG_OPC_UA_Server->RowCount(), 3);
    EXPECT_EQ(w->ACG_OPC_UA_Server->GetCellEx(2, 2), QStringLiteral("opc.tcp://127.0.0.1:2"));
    EXPECT_EQ(w->ACG_OPC_UA_Var_R->RowCount(), 1025);
    EXPECT_EQ(w->ACG_OPC_UA_Var_R->GetCellEx(5, 2), QStringLiteral("Double"));
    EXPECT_EQ(w->ACG_OPC_UA_Var_R->GetCellEx(7, 0), QStringLiteral("Var/Array"));

    // A lower-case GUID typed into server 1's grid, then server 2 clicked without leaving
    // the grid: the edit belongs to server 1 and shows normalised when it is shown again.
    w->ACG_OPC_UA_Var_R->SetCellEx(3, 1, QStringLiteral("Guid"));
    w->ACG_OPC_UA_Var_R->SetCellEx(4, 1, QStringLiteral("a1b2c3d4-e5f6-a7b8-c9d0-e1f2a3b4c5d6"));
    clickServer(*w, 2);
    EXPECT_EQ(w->ACG_OPC_UA_Var_R->GetCellEx(2, 1), QStringLiteral("c"));
    EXPECT_EQ(w->OPC_UA_Server_List[1]->Var_List_R[0]->NodeType(), QStringLiteral("Numeric"));
    clickServer(*w, 1);
    EXPECT_EQ(w->ACG_OPC_UA_Var_R->GetCellEx(4, 1),
              QStringLiteral("A1B2C3D4-E5F6-A7B8-C9D0-E1F2A3B4C5D6"));

    // An edit followed by a button goes into the server first: Auto Pos sees the new type.
    w->ACG_OPC_UA_Var_R->SetCellEx(5, 1, QStringLiteral("Int64"));
    m_fakes.dialogs.messageAnswers = {mrYes};
    w->Btn_AutoPosition->click();
    EXPECT_EQ(w->ACG_OPC_UA_Var_R->GetCellEx(11, 2), QStringLiteral("8"));
}

TEST_F(OpcUaClientWindow, AutoPosStartsAtThePreviousServersEnds)
{
    writeTwoServers();
    auto w = open();
    clickServer(*w, 2);
    m_fakes.dialogs.messageAnswers = {mrYes};
    w->Btn_AutoPosition->click();
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].text, programState().lang(5494));
    EXPECT_EQ(w->ACG_OPC_UA_Var_R->GetCellEx(11, 1), QStringLiteral("12"));
    EXPECT_EQ(w->ACG_OPC_UA_Var_R->GetCellEx(11, 2), QStringLiteral("32"));
    // No keeps the positions.
    w->ACG_OPC_UA_Var_R->SetCellEx(11, 1, QStringLiteral("99"));
    m_fakes.dialogs.messageAnswers = {mrNo};
    w->Btn_AutoPosition->click();
    EXPECT_EQ(w->ACG_OPC_UA_Var_R->GetCellEx(11, 1), QStringLiteral("99"));
}

TEST_F(OpcUaClientWindow, DeleteAsksYesNoCancelAndRefreshesTheGridsAtOnce)
{
    writeTwoServers();
    auto w = open();
    for (TModalResult answer : {mrNo, mrCancel}) {
        m_fakes.dialogs.messageAnswers = {answer};
        w->Btn_Delete_Server->click();
        EXPECT_EQ(w->OPC_UA_Server_List.size(), 2u);
    }
    EXPECT_EQ(m_fakes.dialogs.messages.back().buttons, unsigned(mbYes | mbNo | mbCancel));
    m_fakes.dialogs.messageAnswers = {mrYes};
    w->Btn_Delete_Server->click();
    ASSERT_EQ(w->OPC_UA_Server_List.size(), 1u);
    // The grids show the server now in row 1, never the deleted one's lists.
    EXPECT_EQ(w->ACG_OPC_UA_Var_R->GetCellEx(2, 1), QStringLiteral("c"));
    EXPECT_EQ(w->shownServer(), 0);
    w->commitVariableGrids();
    EXPECT_EQ(w->OPC_UA_Server_List[0]->Var_List_R[0]->DispalyName, QStringLiteral("c"));
}

TEST_F(OpcUaClientWindow, OkRefusesWithTheFormattedMessageAndSavesWhenValid)
{
    writeTwoServers();
    auto w = open();
    clickServer(*w, 2);
    w->ACG_OPC_UA_Var_R->SetCellEx(11, 2, QStringLiteral("1500"));
    w->Btn_OK->click();
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].text,
              QStringLiteral("Error in Server Number 2 in Read Variable 2!! Position must be "
                             "between 0 and 1499"));
    EXPECT_EQ(w->result(), 0);
    w->ACG_OPC_UA_Var_R->SetCellEx(11, 2, QStringLiteral("1499"));
    w->Btn_OK->click();
    EXPECT_EQ(w->result(), int(mrOk));
    const OpcUaClientLoad load = loadOpcUaClientFile(programState().File_OPC_UA_Client);
    ASSERT_EQ(load.servers.size(), 2u);
    EXPECT_EQ(load.servers[1]->Var_List_R[1]->Position, QStringLiteral("1499"));
}

TEST_F(OpcUaClientWindow, BrokenFileIsReportedAndNotSavedOverWithoutAYes)
{
    ASSERT_TRUE(test::writeFile(programState().File_OPC_UA_Client, "<OPC_UA_Client><x>"));
    auto w = open();
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_TRUE(m_fakes.dialogs.messages[0].text.contains(QStringLiteral("OPC_UA_Client.xml")));
    m_fakes.dialogs.messageAnswers = {mrNo};
    w->Btn_OK->click();
    EXPECT_EQ(w->result(), 0);
    EXPECT_EQ(test::readFile(programState().File_OPC_UA_Client), QByteArray("<OPC_UA_Client><x>"));
}

TEST_F(OpcUaClientWindow, AddServerThroughTheDialogKeepsHiddenCredentials)
{
    auto w = open();
    m_fakes.dialogs.onShowModal = [](QDialog& d) {
        auto& dlg = static_cast<TFOPC_UA_Add_Server&>(d);
        dlg.FormType = dlg.FormType;  // shown as the editor set it
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Add OPC UA Server"));
        dlg.E_Server_Add->setText(QStringLiteral("opc.tcp://127.0.0.1:4840"));
        dlg.CB_Auth->setCurrentIndex(1);
        EXPECT_TRUE(dlg.E_User->isVisibleTo(&dlg));
        dlg.E_User->setText(QStringLiteral("operator"));
        dlg.CB_Auth->setCurrentIndex(0);
        EXPECT_FALSE(dlg.E_User->isVisibleTo(&dlg));
        EXPECT_FALSE(dlg.CB_Sec_Policy->isEnabled());
        dlg.CB_Sec_Type->setCurrentIndex(1);
        EXPECT_TRUE(dlg.CB_Sec_Policy->isEnabled());
        EXPECT_EQ(dlg.CB_Sec_Policy->currentIndex(), 0);
        dlg.hide();
        return mrOk;
    };
    w->Btn_Add_Server->click();
    ASSERT_EQ(w->OPC_UA_Server_List.size(), 1u);
    EXPECT_EQ(w->OPC_UA_Server_List[0]->UserName, QStringLiteral("operator"));
    EXPECT_EQ(w->OPC_UA_Server_List[0]->Authorization, QStringLiteral("Anonymous"));
    EXPECT_EQ(w->OPC_UA_Server_List[0]->SecurityType, QStringLiteral("Sign"));
    EXPECT_EQ(w->ACG_OPC_UA_Server->GetCellEx(4, 1), QStringLiteral("operator"));
}

TEST(OpcUaServerDialog, ChecksInOrderAndHeightFollowsTheAuthorization)
{
    test::ScopedFakeServices fakes;
    resetProgramState();
    Fill_Default_Language(programState());
    TFOPC_UA_Add_Server d(RuleEditorContext{&programState(), QStringLiteral("C"), &fakes.dialogs});
    d.FormType = 1;
    d.show();
    const int anonymous = d.height();
    d.CB_Auth->setCurrentIndex(2);
    EXPECT_GT(d.height(), anonymous);
    EXPECT_EQ(d.E_Mnemonic->y(), 432);
    d.E_Server_Add->setText(QStringLiteral("opc.tcp://h"));
    d.Btn_OK->click();
    ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(fakes.dialogs.messages[0].text,
              QStringLiteral("Error!! The Certificate cannot be empty"));
    EXPECT_TRUE(d.isVisible());
    d.hide();
    resetProgramState();
}

TEST_F(OpcUaClientWindow, BrowseAppendsReplacesOrKeepsAndCancelEndsTheBrowse)
{
    writeTwoServers();
    auto w = open();
    OpcUaBrowseResult result;
    result.status = OpcUaBrowseResult::Status::Ok;
    for (quint8 access : {1, 2, 3}) {
        OpcUaBrowsedVariable v;
        v.displayName = QStringLiteral("n%1").arg(access);
        v.identifierType = 5;
        v.byteString = QStringLiteral("AAE=");
        v.dataType = 99;
        v.accessLevel = access;
        result.variables.push_back(v);
    }
    // Answers per round: the browse window's result, then the read and write questions.
    struct Round {
        TModalResult readAnswer;
        size_t readCount;
    };
    for (const Round& round : {Round{mrYes, 4}, Round{mrNo, 2}, Round{mrCancel, 2}}) {
        m_fakes.dialogs.onShowModal = [&](QDialog& d) {
            auto& scan = static_cast<TFOPC_UA_Scan_Server&>(d);
            scan.show();
            EXPECT_TRUE(scan.LWaiting->isVisibleTo(&scan));
            scan.Timer_ScanTimer();
            m_browser.answer(result);
            EXPECT_FALSE(scan.LWaiting->isVisibleTo(&scan));
            EXPECT_EQ(scan.ACG_OPC_UA_Scan_Var->GetCellEx(8, 1), QStringLiteral("Read"));
            EXPECT_EQ(scan.ACG_OPC_UA_Scan_Var->GetCellEx(2, 1), QString());
            EXPECT_EQ(scan.ACG_OPC_UA_Scan_Var->GetCellEx(5, 1), QStringLiteral("AAE="));
            EXPECT_EQ(scan.ACG_OPC_UA_Scan_Var->GetCellEx(6, 1), QString());
            scan.hide();
            return mrOk;
        };
        m_fakes.dialogs.messageAnswers = {round.readAnswer};
        w->Btn_Scan_Server->click();
        EXPECT_EQ(w->OPC_UA_Server_List[0]->Var_List_R.size(), round.readCount);
    }
    // Read ticks: access 1 and 3; the variable taken reads back as Boolean with empty positions.
    const TOPC_UA_Variable& last = *w->OPC_UA_Server_List[0]->Var_List_R.back();
    EXPECT_EQ(last.DispalyName, QStringLiteral("n3"));
    EXPECT_EQ(last.VarType(), QStringLiteral("Boolean"));
    EXPECT_EQ(last.NodeID(), QStringLiteral("AAE="));
    EXPECT_TRUE(last.Position.isEmpty());
    ASSERT_EQ(m_browser.requests.size(), 3u);
    EXPECT_EQ(m_browser.requests[0].server_address, QStringLiteral("opc.tcp://127.0.0.1:1"));

    // Cancel while the browse runs ends it and keeps the lists.
    const size_t before = w->OPC_UA_Server_List[0]->Var_List_W.size();
    m_fakes.dialogs.onShowModal = [&](QDialog& d) {
        auto& scan = static_cast<TFOPC_UA_Scan_Server&>(d);
        scan.show();
        scan.Timer_ScanTimer();
        scan.Btn_Cancel->click();
        return TModalResult(scan.result());
    };
    w->Btn_Scan_Server->click();
    EXPECT_EQ(m_browser.cancels, 1);
    EXPECT_EQ(w->OPC_UA_Server_List[0]->Var_List_W.size(), before);
}

// A browse longer than the grids' 1,024 rows: the grids grow to the list, and nothing is cut
// when the grids go back into their server (another row clicked, a row tool, OK).
TEST_F(OpcUaClientWindow, LongBrowseGrowsTheGridsAndIsNeverCut)
{
    constexpr int kBrowsed = 1500;
    writeTwoServers();
    auto w = open();
    OpcUaBrowseResult result;
    result.status = OpcUaBrowseResult::Status::Ok;
    for (int i = 0; i < kBrowsed; ++i) {
        OpcUaBrowsedVariable v;
        v.displayName = QStringLiteral("m%1").arg(i);
        v.numeric = quint32(1000 + i);
        v.dataType = 5;
        v.accessLevel = 1;
        result.variables.push_back(v);
    }
    m_fakes.dialogs.onShowModal = [&](QDialog& d) {
        auto& scan = static_cast<TFOPC_UA_Scan_Server&>(d);
        scan.show();
        scan.Timer_ScanTimer();
        m_browser.answer(result);
        scan.hide();
        return mrOk;
    };
    m_fakes.dialogs.messageAnswers = {mrYes};  // append to the two read variables
    w->Btn_Scan_Server->click();
    const int listed = kBrowsed + 2;
    ASSERT_EQ(w->OPC_UA_Server_List[0]->Var_List_R.size(), size_t(listed));
    EXPECT_EQ(w->ACG_OPC_UA_Var_R->RowCount(), listed + 2);  // header and a free row
    EXPECT_EQ(w->ACG_OPC_UA_Var_R->GetCellEx(2, listed), QStringLiteral("m1499"));
    EXPECT_EQ(w->ACG_OPC_UA_Var_W->RowCount(), kOpcUaVarRows + 1);

    clickServer(*w, 2);
    EXPECT_EQ(w->ACG_OPC_UA_Var_R->RowCount(), kOpcUaVarRows + 1);
    clickServer(*w, 1);
    EXPECT_EQ(w->OPC_UA_Server_List[0]->Var_List_R.size(), size_t(listed));

    // A row tool's change is in the server at once.
    w->ACG_OPC_UA_Var_R->MoveCurrentCell(2, 1, true, true);
    m_fakes.dialogs.messageAnswers = {mrYes};
    w->Btn_DelRow->click();
    ASSERT_EQ(w->OPC_UA_Server_List[0]->Var_List_R.size(), size_t(listed - 1));
    EXPECT_EQ(w->OPC_UA_Server_List[0]->Var_List_R[0]->DispalyName, QStringLiteral("b"));
    EXPECT_EQ(w->ACG_OPC_UA_Var_R->GetCellEx(1, w->ACG_OPC_UA_Var_R->RowCount() - 1),
              QStringLiteral("Y"));

    // Browsed variables lack what the check asks for; disabled, OK saves them all.
    for (int r = 2; r < listed; ++r)
        w->ACG_OPC_UA_Var_R->SetCellEx(1, r, QStringLiteral("N"));
    w->Btn_OK->click();
    ASSERT_EQ(w->result(), int(mrOk)) << m_fakes.dialogs.messages.back().text.toStdString();
    const OpcUaClientLoad load = loadOpcUaClientFile(programState().File_OPC_UA_Client);
    ASSERT_EQ(load.servers.size(), 2u);
    EXPECT_EQ(load.servers[0]->Var_List_R.size(), size_t(listed - 1));
    EXPECT_EQ(load.servers[0]->Var_List_R.back()->DispalyName, QStringLiteral("m1499"));
}

TEST_F(OpcUaClientWindow, ScanWithoutServerOrWithEmptyAddressStartsNoBrowse)
{
    auto w = open();
    w->Btn_Scan_Server->click();
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].text, programState().lang(5490));

    TFOPC_UA_Scan_Server scan(RuleEditorContext{&programState(), QString(), &m_fakes.dialogs},
                              &m_browser);
    scan.Server.server_address.clear();
    scan.show();
    QApplication::processEvents();
    EXPECT_FALSE(scan.Timer_Scan->isActive());
    EXPECT_TRUE(m_browser.requests.empty());
    scan.hide();
}

}  // namespace
}  // namespace zfw
