// The OPC UA server variables window: its string grid of real check boxes, the file through
// open and OK, the lengths the data types set through the Type list and through Paste, the
// read-only cells that move with Delete and Insert, a check fault with nothing written, and
// broken files.

#include "editors/iot/UOPC_UA_Server_Access.h"

#include "ServerWindowFixture.h"
#include "grid/ExtGrid.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

constexpr int kType = 2, kPosition = 3, kLength = 4, kRW = 6;

class OpcUaServerWindow : public test::ServerWindowTest {
protected:
    QByteArray file() const { return test::readFile(programState().File_OPC_UA_Server); }
    static QByteArray golden() { return ServerWindowTest::golden("opcua/OPC_UA_Server.xml"); }
    void openGolden() { ASSERT_TRUE(test::writeFile(programState().File_OPC_UA_Server, golden())); }
    static bool ticked(TExtStringGrid* g, int r)
    {
        bool state = false;
        EXPECT_TRUE(g->GetCheckBoxState(1, r, state)) << r;
        return state;
    }
    // A choice in the Type list as the grid reports it.
    static void chooseType(TFOPC_UA_Server_Access& f, int r, const QString& type)
    {
        f.ESG->SetCellEx(kType, r, type);
        f.ESG->OnComboChange(f.ESG, kType, r, int(f.VarType.indexOf(type)), type);
    }
};

TEST_F(OpcUaServerWindow, OpensWithTwoHundredFiftyTickedRowsInColour)
{
    auto f = open<TFOPC_UA_Server_Access>();
    ASSERT_NE(f->ESG, nullptr);
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Definition of OPC UA Server Variables"));
    EXPECT_EQ(f->ESG->RowCount(), 251);
    EXPECT_EQ(f->ESG->ColCount(), 8);
    EXPECT_EQ(f->ESG->GetCellEx(6, 0), QStringLiteral("R/W"));
    EXPECT_EQ(f->ESG->GetCellEx(0, 250), QStringLiteral("250"));
    EXPECT_TRUE(ticked(f->ESG, 1));
    EXPECT_TRUE(ticked(f->ESG, 250));
    EXPECT_EQ(f->ESG->GetColors(1, 7), TColor(11589887));
    EXPECT_EQ(f->ESG->GetColors(2, 7), TColor(16710368));
    EXPECT_EQ(f->ESG->GetColors(4, 250), TColor(11075496));
    EXPECT_EQ(f->ESG->GetColors(6, 1), TColor(16045820));
    EXPECT_EQ(f->ESG->ColWidths(5), 280);
    TEditorType editor = TEditorType::edNormal;
    f->ESGGetEditorType(f->ESG, kType, 1, editor);
    EXPECT_EQ(editor, TEditorType::edComboList);
    EXPECT_EQ(f->ESG->GetComboCount(), 13);
    f->ESGGetEditorType(f->ESG, kRW, 1, editor);
    EXPECT_EQ(f->ESG->GetComboCount(), 2);
    editor = TEditorType::edNormal;
    f->ESGGetEditorType(f->ESG, kPosition, 1, editor);
    EXPECT_EQ(editor, TEditorType::edNormal);
}

TEST_F(OpcUaServerWindow, OpenThenOkWritesTheSameBytes)
{
    openGolden();
    auto f = open<TFOPC_UA_Server_Access>();
    render(*f, "TFOPC_UA_Server_Access");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_FALSE(ticked(f->ESG, 2));
    // The file's lengths stand, even a length that does not fit the type; the Length cell is
    // read-only by the type.
    EXPECT_EQ(f->ESG->GetCellEx(kLength, 4), QStringLiteral("2"));
    EXPECT_TRUE(f->ESG->GetReadOnly(kLength, 1));
    EXPECT_FALSE(f->ESG->GetReadOnly(kLength, 3));
    EXPECT_TRUE(f->ESG->GetReadOnly(kLength, 4));
    EXPECT_EQ(f->ESG->GetCellEx(kRW, 3), QString());
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_EQ(file().toStdString(), golden().toStdString());
}

TEST_F(OpcUaServerWindow, TypeChoiceSetsTheLengthAndAnEmptyAccess)
{
    auto f = open<TFOPC_UA_Server_Access>();
    chooseType(*f, 5, QStringLiteral("Double"));
    EXPECT_EQ(f->ESG->GetCellEx(kLength, 5), QStringLiteral("8"));
    EXPECT_TRUE(f->ESG->GetReadOnly(kLength, 5));
    EXPECT_EQ(f->ESG->GetCellEx(kRW, 5), QStringLiteral("Read/Write"));
    f->ESG->SetCellEx(kRW, 5, QStringLiteral("Read Only"));
    chooseType(*f, 5, QStringLiteral("String"));
    EXPECT_EQ(f->ESG->GetCellEx(kLength, 5), QStringLiteral("10"));
    EXPECT_FALSE(f->ESG->GetReadOnly(kLength, 5));
    EXPECT_EQ(f->ESG->GetCellEx(kRW, 5), QStringLiteral("Read Only"));
    // A choice in another column sets nothing.
    f->ESG->OnComboChange(f->ESG, kRW, 6, 0, QStringLiteral("Read Only"));
    EXPECT_EQ(f->ESG->GetCellEx(kLength, 6), QString());
}

// The pasted length stays, and the Length cell takes the read-only state of the pasted type.
TEST_F(OpcUaServerWindow, PasteKeepsThePastedLength)
{
    auto f = open<TFOPC_UA_Server_Access>();
    chooseType(*f, 1, QStringLiteral("Int32"));
    chooseType(*f, 2, QStringLiteral("String"));
    f->ESG->SetCellEx(kLength, 2, QStringLiteral("32"));
    chooseType(*f, 3, QStringLiteral("Double"));

    f->ESG->MoveCurrentCell(kPosition, 1, true, true);
    click(*f, "Btn_CopyRow");
    f->ESG->MoveCurrentCell(kPosition, 5, true, true);
    click(*f, "Btn_PasteRow");
    EXPECT_EQ(f->ESG->GetCellEx(kType, 5), QStringLiteral("Int32"));
    EXPECT_EQ(f->ESG->GetCellEx(kLength, 5), QStringLiteral("4"));
    EXPECT_TRUE(f->ESG->GetReadOnly(kLength, 5));

    f->ESG->MoveCurrentCell(kPosition, 2, true, true);
    click(*f, "Btn_CopyRow");
    // Over the read-only Length of a Double, after the user agreed to overwrite the row.
    f->ESG->MoveCurrentCell(kPosition, 3, true, true);
    m_fakes.dialogs.messageAnswers = {mrYes};
    click(*f, "Btn_PasteRow");
    EXPECT_EQ(f->ESG->GetCellEx(kType, 3), QStringLiteral("String"));
    EXPECT_EQ(f->ESG->GetCellEx(kLength, 3), QStringLiteral("32"));
    EXPECT_FALSE(f->ESG->GetReadOnly(kLength, 3));
    EXPECT_EQ(f->ESG->GetCellEx(kRW, 3), QStringLiteral("Read/Write"));
}

TEST_F(OpcUaServerWindow, DeleteLeavesTheLastRowReadOnlyUntilARowMovesIn)
{
    openGolden();
    auto f = open<TFOPC_UA_Server_Access>();
    f->ESG->MoveCurrentCell(kPosition, 1, true, true);
    m_fakes.dialogs.messageAnswers = {mrYes};
    click(*f, "Btn_DelRow");
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_EQ(messageTexts()[0], QStringLiteral("Are you sure to delete the Row number 1"));
    EXPECT_EQ(f->ESG->GetCellEx(kType, 1), QStringLiteral("Int32"));
    EXPECT_FALSE(ticked(f->ESG, 1));
    EXPECT_FALSE(f->ESG->GetReadOnly(kLength, 2));  // the String moved up with its state
    EXPECT_TRUE(f->ESG->GetReadOnly(kLength, 3));
    EXPECT_TRUE(ticked(f->ESG, 250));
    for (int c = 1; c < 8; ++c)
        EXPECT_TRUE(f->ESG->GetReadOnly(c, 250)) << c;

    f->ESG->MoveCurrentCell(kPosition, 2, true, true);
    click(*f, "Btn_InsRow");
    EXPECT_TRUE(ticked(f->ESG, 2));
    EXPECT_EQ(f->ESG->GetCellEx(kType, 2), QString());
    EXPECT_FALSE(f->ESG->GetReadOnly(kLength, 2));
    EXPECT_FALSE(f->ESG->GetReadOnly(kLength, 3));
    EXPECT_TRUE(f->ESG->GetReadOnly(kLength, 4));
    for (int c = 1; c < 8; ++c)
        EXPECT_FALSE(f->ESG->GetReadOnly(c, 250)) << c;
}

TEST_F(OpcUaServerWindow, FaultNamesTheRowAndTheLimitAndNothingIsWritten)
{
    auto f = open<TFOPC_UA_Server_Access>();
    chooseType(*f, 1, QStringLiteral("Byte"));
    f->ESG->SetCellEx(kPosition, 1, QStringLiteral("1999"));
    chooseType(*f, 3, QStringLiteral("Float"));
    f->ESG->SetCellEx(kPosition, 3, QStringLiteral("2000"));
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList{"Error row 3!! Position Must be Between 0 and 2000"});
    EXPECT_FALSE(QFile::exists(programState().File_OPC_UA_Server));
}

// Row 3 without a type ends the file while row 4 holds a variable: the check still looks at
// row 4, and once it passes the user is asked before the file drops it.
TEST_F(OpcUaServerWindow, VariableBelowARowWithoutTypeIsToldBeforeSaving)
{
    auto f = open<TFOPC_UA_Server_Access>();
    for (int r : {1, 2, 4}) {
        chooseType(*f, r, QStringLiteral("Int32"));
        f->ESG->SetCellEx(kPosition, r, QString::number(r * 4));
    }
    f->ESG->SetCellEx(kPosition, 4, QStringLiteral("9999"));
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList{"Error row 4!! Position Must be Between 0 and 2000"});
    f->ESG->SetCellEx(kPosition, 4, QStringLiteral("16"));
    m_fakes.dialogs.messages.clear();
    m_fakes.dialogs.messageAnswers = {mrNo};
    click(*f, "Btn_OK");
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_FALSE(QFile::exists(programState().File_OPC_UA_Server));
    m_fakes.dialogs.messages.clear();
    m_fakes.dialogs.messageAnswers = {mrYes};
    click(*f, "Btn_OK");
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_EQ(file().count("<row "), 2);
}

QByteArray manyRows(int n)
{
    QByteArray out = "<OPC_UA_Server><OPC_UA_Server_Variables>";
    for (int i = 0; i < n; ++i)
        out += "<row Type=\"Byte\" Position=\"" + QByteArray::number(i) + "\"/>";
    return out + "</OPC_UA_Server_Variables></OPC_UA_Server>";
}

const test::BadFileCase kBadFiles[] = {
    {"NotWellFormed", "<OPC_UA_Server><OPC_UA_Server_Variables><row", true, "OPC_UA_Server.xml"},
    {"NoTable", "<OPC_UA_Server><Other/></OPC_UA_Server>", true, "OPC_UA_Server_Variables"},
    {"ThreeHundredRows", manyRows(300), true, "50 (Definition of OPC UA Server Variables)"},
    {"MissingAttributesTakeDefaults",
     "<OPC_UA_Server><OPC_UA_Server_Variables><x Type=\"Byte\"/></OPC_UA_Server_Variables>"
     "</OPC_UA_Server>",
     false},
    {"OtherScripts",
     "<OPC_UA_Server><OPC_UA_Server_Variables><row Type=\"Byte\" Name=\"\xce\xb8\xce\xb5\"/>"
     "</OPC_UA_Server_Variables></OPC_UA_Server>",
     false},
};

class OpcUaServerBadFile : public OpcUaServerWindow,
                           public ::testing::WithParamInterface<test::BadFileCase> {};

TEST_P(OpcUaServerBadFile, NamedAndNotOverwrittenWithoutYes)
{
    const test::BadFileCase& c = GetParam();
    ASSERT_TRUE(test::writeFile(programState().File_OPC_UA_Server, c.bytes));
    auto f = open<TFOPC_UA_Server_Access>();
    if (!c.warned) {
        EXPECT_EQ(messageTexts(), QStringList());
        EXPECT_TRUE(ticked(f->ESG, 1));
        EXPECT_EQ(f->ESG->GetCellEx(kType, 1), QStringLiteral("Byte"));
        EXPECT_EQ(f->ESG->GetCellEx(kLength, 1), QString());
        EXPECT_TRUE(f->ESG->GetReadOnly(kLength, 1));
        return;
    }
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].contains(QString::fromUtf8(c.names)))
        << messageTexts()[0].left(300).toStdString();
    for (int r = 1; r < f->ESG->RowCount(); ++r)
        f->ESG->SetCheckBoxState(1, r, false);
    m_fakes.dialogs.messages.clear();
    m_fakes.dialogs.messageAnswers = {mrNo};
    click(*f, "Btn_OK");
    EXPECT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(file(), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Files, OpcUaServerBadFile, ::testing::ValuesIn(kBadFiles),
                         test::CaseName());

}  // namespace
}  // namespace zfw
