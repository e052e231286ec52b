// The IEC 61850 client window: the catalogue, the tree and what can be picked from it, the
// three grids with their removal rules, the members' settings, the checks and the file.

#include "editors/iot/UIEC_61850_Access.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "grid/ColumnGrid.h"
#include "support/CaseName.h"
#include "support/FakeServices.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QTabWidget>
#include <QTreeWidget>

namespace zfw {
namespace {

QString sclFixture(const char* name)
{
    return QStringLiteral(ZFW_TEST_DATA_DIR "/iec61850/scl/") + QLatin1String(name);
}

class IecClientWindowTest : public test::TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        ProgramState& s = programState();
        Fill_Default_Language(s);
        // A project folder below a folder that does not exist yet: the catalogue is made with
        // its parents.
        s.Dir_Project = path(QStringLiteral("projects/p1"));
        ASSERT_TRUE(QDir().mkpath(s.Dir_Project));
        s.File_IEC_61850_Client =
            QDir(s.Dir_Project).filePath(QStringLiteral("IEC_61850_Client.xml"));
        m_form = std::make_unique<TFIEC_61850_Access>(
            RuleEditorContext{&s, QStringLiteral("CODE"), &m_fakes.dialogs});
    }
    void reopen()
    {
        m_fakes.dialogs.messages.clear();
        m_form->hide();
        m_form->show();
    }
    QString catalog() const
    {
        return QDir(programState().Dir_Project).filePath(QStringLiteral("ICD_Catalog"));
    }
    // Copies a fixture under another name into a folder the user picks from.
    QString offered(const char* fixture, const QString& as)
    {
        const QString p = path(as);
        QFile::remove(p);
        EXPECT_TRUE(QFile::copy(sclFixture(fixture), p));
        return p;
    }
    void addDevice(const QString& file)
    {
        m_fakes.dialogs.fileAnswers = {file};
        m_form->Btn_Add_IEC_DeviceClick();
    }
    void chooseDevice(int i)
    {
        m_form->LB_IEC_Devices->setCurrentRow(i);
        m_form->LB_IEC_DevicesClick();
    }
    void clickNode(QTreeWidgetItem* node)
    {
        ASSERT_NE(node, nullptr);
        m_form->TV_IEC_Device->setCurrentItem(node);
        m_form->TV_IEC_DeviceClick();
    }
    const TIEC_Device& device(int i) const { return *m_form->List_IEC_Dev()[size_t(i)]; }
    static QStringList row(const TExtColumnGrid* g, int r)
    {
        QStringList out;
        for (int c = 0; c < g->ColCount(); ++c)
            out << g->GetCellEx(c, r);
        return out;
    }
    void clickCell(TExtColumnGrid* g, int c, int r)
    {
        g->MoveCurrentCell(c, r, true, true);
        g->OnClickCell(g, r, c);
    }
    // An edit of a member cell as the grid reports it.
    void editMember(int c, int r, const QString& value)
    {
        TExtColumnGrid* g = m_form->ACG_DS_Vars;
        g->MoveCurrentCell(c, r, true, true);
        bool can = true;
        g->OnSelectCell(g, c, r, can);
        g->SetCellEx(c, r, value);
        g->OnEditCellDone(g, c, r);
    }

    test::ScopedFakeServices m_fakes;
    std::unique_ptr<TFIEC_61850_Access> m_form;
};

// A device, a FLOAT32 attribute and a data set with one member edited: OK writes the golden
// file, and the next opening shows the same grids and members.
TEST_F(IecClientWindowTest, PickEditSaveGoldenAndReopen)
{
    reopen();
    addDevice(offered("fcda_resolution.icd", QStringLiteral("server.icd")));
    ASSERT_EQ(m_form->List_IEC_Dev().size(), 1u);
    EXPECT_TRUE(QFileInfo::exists(QDir(catalog()).filePath(QStringLiteral("server.icd"))));
    ASSERT_EQ(m_form->LB_IEC_Devices->count(), 1);
    EXPECT_EQ(m_form->LB_IEC_Devices->item(0)->text(), QStringLiteral("IED1"));
    chooseDevice(0);
    const TIEC_LN& mmxu = *device(0).List_LDevice[0]->List_LN[1];
    EXPECT_EQ(m_form->NODE_ORIG->text(0), QStringLiteral("IED1"));
    EXPECT_EQ(mmxu.TreeNode->text(0), QStringLiteral("MMXU1"));
    EXPECT_EQ(device(0).List_LDevice[0]->List_LN[2]->TreeNode->text(0), QStringLiteral("Q1MMXU2"));

    clickNode(mmxu.Find_DO(QStringLiteral("TotW"))->Find_DA(QStringLiteral("f"))->TreeNode);
    ASSERT_NE(m_form->Selected_IEC_DA, nullptr);
    m_form->Btn_AddVarClick();
    TExtColumnGrid* da = m_form->ACG_DA;
    EXPECT_EQ(da->RowCount(), 2);
    EXPECT_EQ(row(da, 1).mid(0, 7),
              (QStringList{"1", "0", "FLOAT32", "MX", "IED1LD0/MMXU1.TotW.mag.f", "0", "4"}));
    EXPECT_TRUE(da->GetReadOnly(iecda::StartByte, 1));
    EXPECT_TRUE(da->GetReadOnly(iecda::NumByte, 1));
    da->SetCellEx(iecda::IPAddress, 1, QStringLiteral("192.168.1.125"));
    da->SetCellEx(iecda::Port, 1, QStringLiteral("102"));
    da->SetCellEx(iecda::Position, 1, QStringLiteral("10"));
    da->SetCellEx(iecda::MoltFact, 1, QStringLiteral("None"));

    clickNode(device(0).List_LDevice[0]->List_LN[0]->List_DataSet[0]->TreeNode);
    ASSERT_NE(m_form->Selected_IEC_DS, nullptr);
    m_form->Btn_AddVarClick();
    EXPECT_EQ(m_form->PC_DA_DataSet->currentWidget(), m_form->TS_DataSet);
    TExtColumnGrid* ds = m_form->ACG_DataSet;
    ASSERT_EQ(ds->RowCount(), 2);
    const QStringList typed = {"10.0.0.1", "102", "500", "feeder"};
    for (int c = 5; c <= 8; ++c)
        ds->SetCellEx(c, 1, typed[c - 5]);
    clickCell(ds, 2, 1);
    ASSERT_EQ(m_form->ACG_DS_Vars->RowCount(), 5);
    editMember(3, 2, QStringLiteral("20"));
    editMember(4, 2, QStringLiteral("3"));
    editMember(5, 2, QStringLiteral("ItoF/FtoI"));
    editMember(6, 2, QStringLiteral("1,5"));
    editMember(7, 2, QStringLiteral("power <kW> & \"more\""));

    const QStringList daRow = row(da, 1);
    const QStringList dsRow = row(ds, 1);
    m_form->Btn_OKClick();
    EXPECT_TRUE(m_fakes.dialogs.messages.empty());
    EXPECT_EQ(m_form->result(), int(mrOk));
    const QByteArray golden = test::readFile(
        QStringLiteral(ZFW_TEST_DATA_DIR "/iec61850/client_golden.xml"));
    EXPECT_EQ(test::readFile(programState().File_IEC_61850_Client).toStdString(),
              golden.toStdString());

    reopen();
    EXPECT_TRUE(m_fakes.dialogs.messages.empty());
    EXPECT_EQ(row(m_form->ACG_DA, 1), daRow);
    EXPECT_EQ(row(m_form->ACG_DataSet, 1), dsRow);
    EXPECT_EQ(m_form->TV_IEC_Device->topLevelItemCount(), 0);
    clickCell(m_form->ACG_DataSet, 1, 1);
    EXPECT_EQ(row(m_form->ACG_DS_Vars, 2),
              (QStringList{"2", "FLOAT32", "IED1LD0/MMXU1.TotW.mag.f", "20", "3", "ItoF/FtoI",
                           "1,5", "power <kW> & \"more\""}));
}

TEST_F(IecClientWindowTest, OnlyALeafAttributeOrADataSetCanBePicked)
{
    reopen();
    addDevice(offered("fcda_resolution.icd", QStringLiteral("s.icd")));
    chooseDevice(0);
    const TIEC_LDevice& ld = *device(0).List_LDevice[0];
    const TIEC_LN& mmxu = *ld.List_LN[1];
    for (QTreeWidgetItem* node :
         {m_form->NODE_ORIG, ld.TreeNode, mmxu.TreeNode,
          mmxu.Find_DO(QStringLiteral("TotW"))->TreeNode,
          mmxu.Find_DO(QStringLiteral("TotW"))->Find_DA(QStringLiteral("mag"))->TreeNode}) {
        clickNode(node);
        EXPECT_EQ(m_form->Selected_IEC_DA, nullptr) << node->text(0).toStdString();
        EXPECT_EQ(m_form->Selected_IEC_DS, nullptr);
        m_form->Btn_AddVarClick();
    }
    EXPECT_EQ(m_form->ACG_DA->RowCount(), 2);
    EXPECT_EQ(m_form->ACG_DA->GetCellEx(iecda::Index, 1), QString());
    EXPECT_EQ(m_form->ACG_DataSet->GetCellEx(1, 1), QString());
}

// Files A and B catalogued, rows naming only B: removing B is refused without a word;
// removing A moves B's rows to index 0, and the tree of A is gone with it.
TEST_F(IecClientWindowTest, RemovingADeviceShiftsIndexesOrIsRefused)
{
    reopen();
    addDevice(offered("two_ieds.scd", QStringLiteral("A.scd")));
    addDevice(offered("goose_before_dataset.icd", QStringLiteral("B.icd")));
    chooseDevice(1);
    clickNode(device(1).List_LDevice[0]->List_LN[0]->List_DO[0]->List_DA[0]->TreeNode);
    m_form->Btn_AddVarClick();
    clickNode(device(1).List_LDevice[0]->List_LN[0]->List_DataSet[1]->TreeNode);
    m_form->Btn_AddVarClick();
    EXPECT_EQ(m_form->ACG_DA->GetCellEx(iecda::Index, 1), QStringLiteral("1"));
    EXPECT_EQ(m_form->ACG_DataSet->GetCellEx(1, 1), QStringLiteral("1"));

    m_form->LB_IEC_Devices->setCurrentRow(1);
    m_form->Btn_Remove_IEC_DeviceClick();
    EXPECT_EQ(m_form->List_IEC_Dev().size(), 2u);
    EXPECT_TRUE(m_fakes.dialogs.messages.empty());

    chooseDevice(0);
    m_form->LB_IEC_Devices->setCurrentRow(0);
    m_form->Btn_Remove_IEC_DeviceClick();
    ASSERT_EQ(m_form->List_IEC_Dev().size(), 1u);
    EXPECT_EQ(device(0).Name, QStringLiteral("GIED"));
    EXPECT_EQ(m_form->ACG_DA->GetCellEx(iecda::Index, 1), QStringLiteral("0"));
    EXPECT_EQ(m_form->ACG_DataSet->GetCellEx(1, 1), QStringLiteral("0"));
    EXPECT_EQ(m_form->TV_IEC_Device->topLevelItemCount(), 0);
    EXPECT_EQ(m_form->Selected_IEC_DA, nullptr);
    EXPECT_EQ(m_form->Selected_IEC_DS, nullptr);
    // The member grid still reaches the set through the remaining device.
    clickCell(m_form->ACG_DataSet, 2, 1);
    EXPECT_EQ(m_form->ACG_DS_Vars->RowCount(), 3);
}

TEST_F(IecClientWindowTest, RemoveVarKeepsTheOnlyRowAndRenumbers)
{
    reopen();
    addDevice(offered("two_ieds.scd", QStringLiteral("A.scd")));
    chooseDevice(0);
    const TIEC_DO& mod = *device(0).List_LDevice[0]->List_LN[0]->List_DO[0];
    for (int i = 0; i < 3; ++i) {
        clickNode(mod.List_DA[size_t(i % 2)]->TreeNode);
        m_form->Btn_AddVarClick();
    }
    TExtColumnGrid* da = m_form->ACG_DA;
    ASSERT_EQ(da->RowCount(), 4);
    da->MoveCurrentCell(2, 1, true, true);
    m_form->Btn_RemoveVarClick();
    EXPECT_EQ(da->RowCount(), 3);
    EXPECT_EQ(row(da, 1).mid(0, 3), (QStringList{"1", "0", "Quality"}));
    EXPECT_EQ(row(da, 2).mid(0, 3), (QStringList{"2", "0", "Enum"}));
    da->MoveCurrentCell(2, 1, true, true);
    m_form->Btn_RemoveVarClick();
    da->MoveCurrentCell(2, 1, true, true);
    m_form->Btn_RemoveVarClick();
    EXPECT_EQ(da->RowCount(), 2);
    EXPECT_EQ(da->GetCellEx(iecda::Reference, 1), QString());
}

// Removing a data-set row refreshes the member grid; an edit in it afterwards never reaches
// the set that moved into the removed row's place.
TEST_F(IecClientWindowTest, RemovingADataSetRowRefreshesTheMembers)
{
    reopen();
    addDevice(offered("goose_before_dataset.icd", QStringLiteral("G.icd")));
    chooseDevice(0);
    const auto& sets = device(0).List_LDevice[0]->List_LN[0]->List_DataSet;
    clickNode(sets[0]->TreeNode);
    m_form->Btn_AddVarClick();
    clickNode(sets[1]->TreeNode);
    m_form->Btn_AddVarClick();
    TExtColumnGrid* ds = m_form->ACG_DataSet;
    clickCell(ds, 2, 1);
    ASSERT_EQ(m_form->ACG_DS_Vars->RowCount(), 2);
    editMember(3, 1, QStringLiteral("5"));
    ds->MoveCurrentCell(2, 1, true, true);
    m_form->PC_DA_DataSet->setCurrentWidget(m_form->TS_DataSet);
    m_form->Btn_RemoveVarClick();
    EXPECT_EQ(m_form->DataSet_Row_Select, 0);
    ASSERT_EQ(m_form->List_DataSet().size(), 1u);
    EXPECT_EQ(ds->GetCellEx(2, 1), QStringLiteral("GIEDLD1/LLN0.DS2"));
    // The member grid now shows DS2, whose members are untouched.
    EXPECT_EQ(m_form->ACG_DS_Vars->RowCount(), 3);
    EXPECT_EQ(m_form->ACG_DS_Vars->GetCellEx(3, 1), QString());
    // An edit of a row no member stands behind is ignored.
    m_form->ACG_DS_Vars->OnEditCellDone(m_form->ACG_DS_Vars, 3, 7);
    m_form->Btn_RemoveVarClick();
    EXPECT_TRUE(m_form->List_DataSet().empty());
    EXPECT_EQ(ds->RowCount(), 2);
    EXPECT_EQ(m_form->ACG_DS_Vars->RowCount(), 2);
    editMember(3, 1, QStringLiteral("9"));
    EXPECT_TRUE(m_form->List_DataSet().empty());
}

TEST_F(IecClientWindowTest, Position1400IsRefusedWithItsMessage)
{
    reopen();
    addDevice(offered("two_ieds.scd", QStringLiteral("A.scd")));
    chooseDevice(0);
    clickNode(device(0).List_LDevice[0]->List_LN[0]->List_DO[0]->List_DA[1]->TreeNode);
    m_form->Btn_AddVarClick();
    TExtColumnGrid* da = m_form->ACG_DA;
    da->SetCellEx(iecda::IPAddress, 1, QStringLiteral("10.0.0.2"));
    da->SetCellEx(iecda::Port, 1, QStringLiteral("102"));
    da->SetCellEx(iecda::Position, 1, QStringLiteral("1400"));
    da->SetCellEx(iecda::MoltFact, 1, QStringLiteral("none"));
    m_form->Btn_OKClick();
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].text,
              QStringLiteral("Error row 1!! Position must be between 0 and 1399"));
    EXPECT_FALSE(QFileInfo::exists(programState().File_IEC_61850_Client));
}

struct OverwriteCase {
    std::string name;
    TModalResult answer;
    bool replaced;
    size_t devices;
};

const OverwriteCase kOverwrite[] = {
    {"Yes", mrYes, true, 2},
    {"No", mrNo, false, 2},
    {"Cancel", mrCancel, false, 1},
};

class IecClientOverwriteTest : public IecClientWindowTest,
                               public ::testing::WithParamInterface<OverwriteCase> {};

TEST_P(IecClientOverwriteTest, SameNameAsksYesNoCancel)
{
    reopen();
    addDevice(offered("two_ieds.scd", QStringLiteral("dev.icd")));
    const QString second = offered("goose_before_dataset.icd", QStringLiteral("dev.icd"));
    m_fakes.dialogs.messageAnswers = {GetParam().answer};
    addDevice(second);
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].text,
              QStringLiteral("File already exists in catalog directory. Do you want to overwrite "
                             "file?"));
    EXPECT_EQ(m_fakes.dialogs.messages[0].buttons, mbYes | mbNo | mbCancel);
    ASSERT_EQ(m_form->List_IEC_Dev().size(), GetParam().devices);
    if (GetParam().devices == 2) {
        EXPECT_EQ(device(1).Name,
                  GetParam().replaced ? QStringLiteral("GIED") : QStringLiteral("IED1"));
    }
}

INSTANTIATE_TEST_SUITE_P(Iec, IecClientOverwriteTest, ::testing::ValuesIn(kOverwrite),
                         test::CaseName());

TEST_F(IecClientWindowTest, BrokenSclFileIsReportedAndNotAdded)
{
    reopen();
    const QString broken = path(QStringLiteral("broken.icd"));
    ASSERT_TRUE(test::writeFile(broken, "<SCL><IED name=\"x\">"));
    addDevice(broken);
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_TRUE(m_fakes.dialogs.messages[0].text.contains(QStringLiteral("broken.icd")));
    EXPECT_TRUE(m_form->List_IEC_Dev().empty());
}

// A catalogue whose middle file is gone: the user is told at opening, and the third device
// keeps index 2.
TEST_F(IecClientWindowTest, CatalogueWithAMissingMiddleFile)
{
    ASSERT_TRUE(QDir().mkpath(catalog()));
    ASSERT_TRUE(QFile::copy(sclFixture("two_ieds.scd"), QDir(catalog()).filePath("A.scd")));
    ASSERT_TRUE(
        QFile::copy(sclFixture("goose_before_dataset.icd"), QDir(catalog()).filePath("C.icd")));
    ASSERT_TRUE(test::writeFile(programState().File_IEC_61850_Client,
                                "<IEC_68850_Client><List_ICD_Files>"
                                "<ICD_File Name=\"IED1\" FileName=\"A.scd\"/>"
                                "<ICD_File Name=\"OLD\" FileName=\"B.icd\"/>"
                                "<ICD_File Name=\"GIED\" FileName=\"C.icd\"/>"
                                "</List_ICD_Files><List_DA_Selected/><List_DataSet_Selected/>"
                                "</IEC_68850_Client>"));
    reopen();
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_TRUE(m_fakes.dialogs.messages[0].text.contains(QStringLiteral("B.icd")));
    ASSERT_EQ(m_form->LB_IEC_Devices->count(), 3);
    EXPECT_EQ(device(2).Name, QStringLiteral("GIED"));
    chooseDevice(1);
    EXPECT_EQ(m_form->TV_IEC_Device->topLevelItemCount(), 1);
    EXPECT_EQ(m_form->NODE_ORIG->childCount(), 0);
}

TEST_F(IecClientWindowTest, HeaderHintsTakeEntryC)
{
    reopen();
    QString hint;
    m_form->ACG_DA->OnGridHint(m_form->ACG_DA, 0, 5, hint);
    EXPECT_EQ(hint, QStringLiteral(
                        "Insert the Start Byte, only for VisString255 (0-254) or Octet64 (0-63)"));
    EXPECT_EQ(m_form->Hint.size(), 19);
    EXPECT_EQ(m_form->ACG_DA->Columns().GetItem(5)->Header(), QStringLiteral("Start Byte"));
}

// The byte range is locked row by row: removing the Quality row above moves the Dbpos row up
// with its typed range, and it stays editable; the Quality row added again is locked.
TEST_F(IecClientWindowTest, ByteRangeLocksFollowTheirRows)
{
    reopen();
    addDevice(offered("two_ieds.scd", QStringLiteral("A.scd")));
    chooseDevice(0);
    const TIEC_LN& xcbr = *device(0).List_LDevice[0]->List_LN[1];
    const TIEC_DA* quality = device(0).List_LDevice[0]->List_LN[0]->List_DO[0]->List_DA[1].get();
    clickNode(quality->TreeNode);
    m_form->Btn_AddVarClick();
    clickNode(xcbr.List_DO[0]->List_DA[0]->TreeNode);
    m_form->Btn_AddVarClick();
    TExtColumnGrid* da = m_form->ACG_DA;
    ASSERT_EQ(da->GetCellEx(iecda::bType, 2), QStringLiteral("Dbpos"));
    EXPECT_TRUE(da->GetReadOnly(iecda::StartByte, 1));
    EXPECT_FALSE(da->GetReadOnly(iecda::StartByte, 2));
    da->SetCellEx(iecda::StartByte, 2, QStringLiteral("3"));
    da->SetCellEx(iecda::NumByte, 2, QStringLiteral("2"));

    da->MoveCurrentCell(2, 1, true, true);
    m_form->Btn_RemoveVarClick();
    ASSERT_EQ(da->RowCount(), 2);
    EXPECT_EQ(row(da, 1).mid(2, 5),
              (QStringList{"Dbpos", "ST", "IED1LD0/XCBR1.Pos.stVal", "3", "2"}));
    for (int c : {iecda::StartByte, iecda::NumByte})
        EXPECT_FALSE(da->GetReadOnly(c, 1)) << c;

    clickNode(quality->TreeNode);
    m_form->Btn_AddVarClick();
    EXPECT_EQ(row(da, 2).mid(5, 2), (QStringList{"0", "4"}));
    for (int c : {iecda::StartByte, iecda::NumByte}) {
        EXPECT_FALSE(da->GetReadOnly(c, 1)) << c;
        EXPECT_TRUE(da->GetReadOnly(c, 2)) << c;
    }
}

// A member's Start Bit and Convertion chosen from their lists reach the member, and the file.
TEST_F(IecClientWindowTest, MemberChoicesFromTheListsAreStored)
{
    reopen();
    addDevice(offered("goose_before_dataset.icd", QStringLiteral("G.icd")));
    chooseDevice(0);
    clickNode(device(0).List_LDevice[0]->List_LN[0]->List_DataSet[1]->TreeNode);
    m_form->Btn_AddVarClick();
    clickCell(m_form->ACG_DataSet, 2, 1);
    TExtColumnGrid* g = m_form->ACG_DS_Vars;
    ASSERT_GE(g->RowCount(), 2);
    bool can = true;
    g->OnSelectCell(g, 4, 1, can);
    g->OnComboChange(g, 4, 1, 5, QStringLiteral("5"));
    g->OnComboChange(g, 5, 1, 1, QStringLiteral("ItoF/FtoI"));
    ASSERT_EQ(m_form->List_DataSet().size(), 1u);
    const TDataSet_DA& member = *m_form->List_DataSet()[0]->List_DAs[0];
    EXPECT_EQ(member.bitAddress, QStringLiteral("5"));
    EXPECT_EQ(member.conversion, QStringLiteral("ItoF/FtoI"));
    m_form->Btn_OKClick();
    const QByteArray file = test::readFile(programState().File_IEC_61850_Client);
    EXPECT_TRUE(file.contains("StartBit=\"5\" Convertion=\"ItoF/FtoI\"")) << file.toStdString();
}

// The groups of the variables' columns by their colours, read-only cells included.
TEST_F(IecClientWindowTest, VariableColumnsShowTheirGroupColours)
{
    reopen();
    addDevice(offered("fcda_resolution.icd", QStringLiteral("server.icd")));
    chooseDevice(0);
    const TIEC_LN& mmxu = *device(0).List_LDevice[0]->List_LN[1];
    clickNode(mmxu.Find_DO(QStringLiteral("TotW"))->Find_DA(QStringLiteral("f"))->TreeNode);
    m_form->Btn_AddVarClick();
    m_form->Btn_AddVarClick();
    TExtColumnGrid* da = m_form->ACG_DA;
    da->MoveCurrentCell(1, 1, true, true);
    struct Group {
        int col;
        QColor colour;
    };
    const QColor cyan(224, 250, 254), yellow(255, 255, 168), green(202, 255, 202),
        pink(252, 214, 244), orange(255, 216, 176);
    const Group groups[] = {{iecda::bType, cyan},        {iecda::Reference, cyan},
                            {iecda::StartByte, cyan},    {iecda::NumByte, cyan},
                            {iecda::Port, yellow},       {iecda::Time, green},
                            {iecda::StartBit, pink},     {iecda::MoltFact, orange},
                            {iecda::Mnemonic, Qt::white}};
    for (const Group& g : groups) {
        da->SetLeftCol(g.col);
        QApplication::processEvents();
        const QImage img = da->viewport()->grab().toImage();
        const TRect cell = da->CellRect(da->DisplColIndex(g.col), 2);
        EXPECT_EQ(img.pixelColor(cell.Right - 5, cell.Bottom - 4), g.colour) << g.col;
    }
}

}  // namespace
}  // namespace zfw
