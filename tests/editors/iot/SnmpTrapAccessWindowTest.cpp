// The SNMP agent window: its two pages, the file through open and OK, column "N" numbering the
// enabled rows, the page kept between openings, the typing limit, a check fault shown with
// nothing written, and broken files.

#include "editors/iot/USNMP_Trap_Access.h"

#include "SnmpWindowFixture.h"
#include "support/CaseName.h"

#include <QTabWidget>

#include <gtest/gtest.h>

namespace zfw {
namespace {

class SnmpTrapWindow : public test::SnmpWindowTest {
protected:
    QByteArray file() const { return test::readFile(programState().File_SNMP_Trap); }
    static QStringList numbers(TRuleGrid* g, int rows)
    {
        QStringList out;
        for (int r = 1; r <= rows; ++r)
            out.append(g->GetCellEx(0, r));
        return out;
    }
    void openGolden() { ASSERT_TRUE(test::writeFile(programState().File_SNMP_Trap, golden())); }
    static QByteArray golden()
    {
        return test::readFile(QStringLiteral(ZFW_TEST_DATA_DIR "/snmp/SNMP_Trap.xml"));
    }
};

TEST_F(SnmpTrapWindow, OpensWithTwoPagesOfEnabledNumberedRows)
{
    auto f = open<TFSNMP_Trap_Access>();
    ASSERT_NE(f->ACG_SNMP_Read, nullptr);
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Set SNMP Trap Access"));
    EXPECT_EQ(f->PageControl1->tabText(0), QStringLiteral("SNMP Read"));
    EXPECT_EQ(f->PageControl1->tabText(1), QStringLiteral("SNMP Write"));
    EXPECT_EQ(f->ACG_SNMP_Read->RowCount(), 257);
    EXPECT_EQ(f->ACG_SNMP_Write->RowCount(), 257);
    EXPECT_EQ(f->ACG_SNMP_Read->ColCount(), 15);
    EXPECT_EQ(f->ACG_SNMP_Write->ColCount(), 10);
    EXPECT_EQ(f->ACG_SNMP_Write->GetCellEx(0, 256), QStringLiteral("256"));
    EXPECT_EQ(f->ACG_SNMP_Read->Columns().GetItem(13)->ComboItems().size(), 11);
    EXPECT_EQ(f->ACG_SNMP_Read->Columns().GetItem(8)->ComboItems().size(), 1440);
    EXPECT_EQ(f->Hint_SNMP_Read().size(), 14);
    EXPECT_EQ(f->Hint_SNMP_Write().size(), 9);
    for (TRuleGrid* g : {f->ACG_SNMP_Read, f->ACG_SNMP_Write}) {
        const int description = g == f->ACG_SNMP_Read ? 11 : 7;
        EXPECT_EQ(g->Columns().GetItem(2)->EditLength(), 15);
        EXPECT_EQ(g->Columns().GetItem(description)->EditLength(), 15);
    }
}

TEST_F(SnmpTrapWindow, OpenThenOkWritesTheSameBytes)
{
    openGolden();
    auto f = open<TFSNMP_Trap_Access>();
    EXPECT_EQ(messageTexts(), QStringList());
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_EQ(file().toStdString(), golden().toStdString());
}

// Column "N" counts the enabled rows at opening, when an Enable box is clicked and after a
// row tool; the other boxes change nothing.
TEST_F(SnmpTrapWindow, EnabledRowsAreNumbered)
{
    openGolden();
    auto f = open<TFSNMP_Trap_Access>();
    TRuleGrid* read = f->ACG_SNMP_Read;
    EXPECT_EQ(numbers(read, 5), (QStringList{"1", "", "2", "3", "4"}));
    EXPECT_EQ(numbers(f->ACG_SNMP_Write, 3), (QStringList{"1", "", "2"}));
    toggle(*f, read, 1, 1);
    EXPECT_EQ(read->GetCellEx(1, 1), QStringLiteral("N"));
    EXPECT_EQ(numbers(read, 5), (QStringList{"", "", "1", "2", "3"}));
    EXPECT_EQ(numbers(f->ACG_SNMP_Write, 3), (QStringList{"1", "", "2"}));
    read->MoveCurrentCell(2, 2, true, true);
    click(*f, "Btn_InsRow");
    EXPECT_EQ(read->GetCellEx(1, 2), QStringLiteral("Y"));
    EXPECT_EQ(read->GetCellEx(11, 4), QString());  // the unnamed row moved down
    EXPECT_EQ(numbers(read, 5), (QStringList{"", "1", "", "2", "3"}));
    toggle(*f, read, 4, 3);
    EXPECT_EQ(numbers(read, 5), (QStringList{"", "1", "", "2", "3"}));
}

TEST_F(SnmpTrapWindow, TheLastPageShownIsShownAgain)
{
    auto f = open<TFSNMP_Trap_Access>();
    EXPECT_EQ(f->activeTable(), 0);
    f->setActiveTable(1);
    reopen(*f);
    EXPECT_EQ(f->activeTable(), 1);
}

TEST_F(SnmpTrapWindow, SameDescriptionInBothTablesIsRefused)
{
    auto f = open<TFSNMP_Trap_Access>();
    setCells(f->ACG_SNMP_Read, 1,
             {{2, "public"},
              {3, "Int"},
              {8, "0"},
              {9, "0"},
              {10, "8"},
              {11, "level"},
              {12, "127.0.0.1"},
              {13, "None"}});
    setCells(
        f->ACG_SNMP_Write, 1,
        {{2, "private"}, {3, "String"}, {4, "0"}, {5, "0"}, {6, "4"}, {7, "level"}, {8, "None"}});
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList{"Error!! The Descriptions must be all differents"});
    EXPECT_FALSE(QFile::exists(programState().File_SNMP_Trap));
    f->ACG_SNMP_Write->SetCellEx(7, 1, QStringLiteral("levelSet"));
    m_fakes.dialogs.messages.clear();
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_TRUE(file().contains("Description=\"levelSet\""));
}

QByteArray manyRows(int n)
{
    QByteArray out = "<SNMP_Trap><SNMP_Trap_Read>";
    for (int i = 0; i < n; ++i)
        out += "<row Community_Name=\"c\" Description=\"d" + QByteArray::number(i) + "\"/>";
    return out + "</SNMP_Trap_Read><SNMP_Trap_Write/></SNMP_Trap>";
}

const test::BadFileCase kBadFiles[] = {
    {"NotWellFormed", "<SNMP_Trap><SNMP_Trap_Read><row", true, "SNMP_Trap.xml"},
    {"NoWriteTable",
     "<SNMP_Trap><SNMP_Trap_Read><row Community_Name=\"c\"/></SNMP_Trap_Read>"
     "</SNMP_Trap>",
     true, "SNMP_Trap_Write"},
    {"ControlCharacter",
     "<SNMP_Trap><SNMP_Trap_Read><row Description=\"&#2;\"/></SNMP_Trap_Read>"
     "<SNMP_Trap_Write/></SNMP_Trap>",
     true, "SNMP_Trap.xml"},
    {"TenThousandRows", manyRows(10000), true, "9744"},
    {"MissingAttributesTakeDefaults",
     "<SNMP_Trap><SNMP_Trap_Read><x Community_Name=\"c\"/></SNMP_Trap_Read><SNMP_Trap_Write/>"
     "</SNMP_Trap>",
     false},
    {"OtherScripts",
     "<SNMP_Trap><SNMP_Trap_Read><row Community_Name=\"c\" Description=\"\xce\xb8\xce\xb5\"/>"
     "</SNMP_Trap_Read><SNMP_Trap_Write/></SNMP_Trap>",
     false},
};

class SnmpTrapBadFile : public SnmpTrapWindow,
                        public ::testing::WithParamInterface<test::BadFileCase> {};

TEST_P(SnmpTrapBadFile, NamedAndNotOverwrittenWithoutYes)
{
    const test::BadFileCase& c = GetParam();
    ASSERT_TRUE(test::writeFile(programState().File_SNMP_Trap, c.bytes));
    auto f = open<TFSNMP_Trap_Access>();
    if (!c.warned) {
        EXPECT_EQ(messageTexts(), QStringList());
        EXPECT_EQ(f->ACG_SNMP_Read->GetCellEx(1, 1), QStringLiteral("Y"));
        EXPECT_EQ(f->ACG_SNMP_Read->GetCellEx(13, 1), QStringLiteral("None"));
        return;
    }
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].contains(QString::fromUtf8(c.names)))
        << messageTexts()[0].left(300).toStdString();
    for (TRuleGrid* g : {f->ACG_SNMP_Read, f->ACG_SNMP_Write})
        for (int r = 1; r < g->RowCount(); ++r)
            g->SetCellEx(1, r, QStringLiteral("N"));
    m_fakes.dialogs.messages.clear();
    m_fakes.dialogs.messageAnswers = {mrNo};
    click(*f, "Btn_OK");
    EXPECT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(file(), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Files, SnmpTrapBadFile, ::testing::ValuesIn(kBadFiles), test::CaseName());

}  // namespace
}  // namespace zfw
