// The IEC 61850 server variables window: the file through open and OK, the inserted row that
// would cut the list, the row-number click, a check fault with nothing written, and broken
// files.

#include "editors/iot/UIEC61850_Variables.h"

#include "ServerWindowFixture.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

class Iec61850VariablesWindow : public test::ServerWindowTest {
protected:
    QByteArray file() const { return test::readFile(programState().File_IEC61850_Variables); }
    static QByteArray golden()
    {
        return ServerWindowTest::golden("iec61850/IEC61850_Variables.xml");
    }
    void openGolden()
    {
        ASSERT_TRUE(test::writeFile(programState().File_IEC61850_Variables, golden()));
    }
};

TEST_F(Iec61850VariablesWindow, OpensWithFiftyEnabledRows)
{
    auto f = open<TFIEC61850_Variables>();
    ASSERT_NE(f->ACG, nullptr);
    render(*f, "TFIEC61850_Variables");
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Set Variables Access for IEC61850"));
    EXPECT_EQ(f->ACG->RowCount(), 51);
    EXPECT_EQ(f->ACG->ColCount(), 13);
    EXPECT_EQ(f->NByte_IN, 1438);
    EXPECT_EQ(f->ACG->GetCellEx(1, 50), QStringLiteral("Y"));
    EXPECT_EQ(f->ACG->GetCellEx(5, 50), QString());
    EXPECT_EQ(f->ACG->Columns().GetItem(9)->Editor(), TEditorType::edComboEdit);
    EXPECT_EQ(f->ACG->Columns().GetItem(7)->ComboItems().size(), 8);
    EXPECT_EQ(f->ACG->Columns().GetItem(2)->Width(), 250);
    EXPECT_EQ(f->Hint_List().size(), 12);
    EXPECT_EQ(f->Hint_List().value(6),
              QStringLiteral("Select the bit to set in the Internal Data Array (Valid only for "
                             "Digital (Bit))"));
}

TEST_F(Iec61850VariablesWindow, OpenThenOkWritesTheSameBytes)
{
    openGolden();
    auto f = open<TFIEC61850_Variables>();
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->ACG->GetCellEx(9, 1), QStringLiteral("0,1"));
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_EQ(file().toStdString(), golden().toStdString());
}

TEST_F(Iec61850VariablesWindow, FaultIsShownAndNothingWritten)
{
    auto f = open<TFIEC61850_Variables>();
    setCells(f->ACG, 1, {{2, "v"}, {3, "Int"}, {4, "4"}, {6, "1438"}, {8, "None"}, {9, "None"}});
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList{"Error row 1!! Position must be between 0 and 1437"});
    EXPECT_NE(f->result(), mrOk);
    EXPECT_FALSE(QFile::exists(programState().File_IEC61850_Variables));
}

// An inserted row is enabled and has no Name: until one is typed, the list ends above it and
// OK would drop the rows below. The user is asked first; No keeps the file as it was.
TEST_F(Iec61850VariablesWindow, InsertedRowLeftEmptyIsToldBeforeSaving)
{
    openGolden();
    auto f = open<TFIEC61850_Variables>();
    f->ACG->MoveCurrentCell(2, 2, true, true);
    click(*f, "Btn_InsRow");
    EXPECT_EQ(f->ACG->GetCellEx(1, 2), QStringLiteral("Y"));
    EXPECT_EQ(f->ACG->GetCellEx(2, 2), QString());
    EXPECT_EQ(f->ACG->GetCellEx(2, 3), QStringLiteral("half typed"));
    m_fakes.dialogs.messageAnswers = {mrNo};
    click(*f, "Btn_OK");
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].contains(QStringLiteral("3"))) << messageTexts()[0].toStdString();
    EXPECT_EQ(file(), golden());
    f->ACG->SetCellEx(2, 2, QStringLiteral("Inserted"));
    f->ACG->SetCellEx(4, 2, QStringLiteral("1"));
    f->ACG->SetCellEx(6, 2, QStringLiteral("10"));
    f->ACG->SetCellEx(8, 2, QStringLiteral("None"));
    f->ACG->SetCellEx(9, 2, QStringLiteral("None"));
    m_fakes.dialogs.messages.clear();
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(file().count("<row "), 5);
}

TEST_F(Iec61850VariablesWindow, ClickOnRowNumberSelectsTheRow)
{
    auto f = open<TFIEC61850_Variables>();
    f->ClickCell(f->ACG, 4, 0);
    EXPECT_TRUE(f->ACG->IsSelected(2, 4));
    EXPECT_FALSE(f->ACG->IsSelected(2, 3));
}

QByteArray manyRows(int n)
{
    QByteArray out = "<IEC61850_Variables>";
    for (int i = 0; i < n; ++i)
        out += "<row Name=\"v" + QByteArray::number(i) + "\"/>";
    return out + "</IEC61850_Variables>";
}

const test::BadFileCase kBadFiles[] = {
    {"NotWellFormed", "<IEC61850_Variables><row", true, "IEC61850_Variables.xml"},
    {"FiftyOneRows", manyRows(51), true, "1 (Set Variables Access for IEC61850)"},
    {"TenThousandRows", manyRows(10000), true, "9950"},
    {"MissingAttributesTakeDefaults", "<Other><x Name=\"v\"/></Other>", false},
    {"OtherScripts",
     "<IEC61850_Variables><row Name=\"\xce\xb8\xce\xb5\" Mnemonic=\"\xe6\xb8\xa9\"/>"
     "</IEC61850_Variables>",
     false},
};

class Iec61850VariablesBadFile : public Iec61850VariablesWindow,
                                 public ::testing::WithParamInterface<test::BadFileCase> {};

TEST_P(Iec61850VariablesBadFile, NamedAndNotOverwrittenWithoutYes)
{
    const test::BadFileCase& c = GetParam();
    ASSERT_TRUE(test::writeFile(programState().File_IEC61850_Variables, c.bytes));
    auto f = open<TFIEC61850_Variables>();
    if (!c.warned) {
        EXPECT_EQ(messageTexts(), QStringList());
        EXPECT_EQ(f->ACG->GetCellEx(1, 1), QStringLiteral("Y"));
        EXPECT_EQ(f->ACG->GetCellEx(5, 1), QStringLiteral("N"));
        EXPECT_EQ(f->ACG->GetCellEx(11, 1), QStringLiteral("N"));
        EXPECT_EQ(f->ACG->GetCellEx(8, 1), QString());
        return;
    }
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].contains(QString::fromUtf8(c.names)))
        << messageTexts()[0].left(300).toStdString();
    for (int r = 1; r < f->ACG->RowCount(); ++r)
        f->ACG->SetCellEx(1, r, QStringLiteral("N"));
    m_fakes.dialogs.messages.clear();
    m_fakes.dialogs.messageAnswers = {mrNo};
    click(*f, "Btn_OK");
    EXPECT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(file(), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Files, Iec61850VariablesBadFile, ::testing::ValuesIn(kBadFiles),
                         test::CaseName());

}  // namespace
}  // namespace zfw
