// The LoRaWAN and S7 rule editors driven through their windows: opening, OK, the messages,
// the row-tool buttons and the grid events.

#include "config/RuleEditorFixture.h"

#include "config/core/USaveBincc.h"
#include "grid/GridCombo.h"

#include <QTabWidget>

#include <gtest/gtest.h>

#include <functional>

namespace zfw {
namespace {

using test::row;
using test::s7Rule;
using test::setRow;

QStringList s7ReadRule(const QString& address = QStringLiteral("192.168.1.10"),
                       const QString& port = QStringLiteral("102"))
{
    return s7Rule(address, port) + QStringList{"0", "0", "N", "N", ""};
}

QStringList s7WriteRule(const QString& address = QStringLiteral("192.168.1.10"),
                        const QString& port = QStringLiteral("102"))
{
    return s7Rule(address, port) + QStringList{"N", "N", "0", "0", "N", "N", ""};
}

QString golden(const char* file)
{
    return QStringLiteral(ZFW_TEST_DATA_DIR "/config/rules/") + QString::fromLatin1(file);
}

class RuleEditorWindow : public test::RuleEditorTest {};

// ---- open, then OK without a change --------------------------------------------------------

struct GoldenCase {
    const char* name;
    const char* file;
    bool lora;
    bool variableFPort;
    int rowCount;
    bool fPortHidden;
};

const GoldenCase kGoldenCases[] = {
    {"LoRaWanVariableFPort", "lorawan_variable.xml", true, true, 224, false},
    {"LoRaWanFixedFPortHiddenColumnKeepsItsValues", "lorawan_variable.xml", true, false, 257, true},
    {"S7", "s7.xml", false, false, 513, false},
};

class RuleEditorGolden : public RuleEditorWindow,
                         public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(RuleEditorGolden, OpenThenOkWritesTheSameBytes)
{
    const GoldenCase& c = GetParam();
    const QByteArray original = test::readFile(golden(c.file));
    ASSERT_FALSE(original.isEmpty());
    std::unique_ptr<TRuleEditorFrame> f;
    QString path;
    if (c.lora) {
        writeParGen(115, c.variableFPort);
        path = programState().File_LoRaWAN_SetAccess;
        ASSERT_TRUE(test::writeFile(path, original));
        f = open<TFLoRa_Set_Access>();
        EXPECT_EQ(f->grid(0)->IsHiddenColumn(8), c.fPortHidden);
        EXPECT_EQ(f->grid(1)->IsHiddenColumn(4), c.fPortHidden);
    } else {
        path = programState().File_S7_Protocol;
        ASSERT_TRUE(test::writeFile(path, original));
        f = open<TFS7_Protocol_Set_Access>();
    }
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->grid(0)->RowCount(), c.rowCount);
    EXPECT_EQ(f->grid(1)->RowCount(), c.rowCount);
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_EQ(test::readFile(path).toStdString(), original.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Files, RuleEditorGolden, ::testing::ValuesIn(kGoldenCases),
                         test::CaseName());

// ---- the first failing check and its message ----------------------------------------------

struct CheckCase {
    const char* name;
    bool lora;
    std::function<void(TRuleEditorFrame&)> fill;
    const char* message;  // empty: OK writes the file
};

const CheckCase kCheckCases[] = {
    {"PayloadBoundPasses", true,
     [](TRuleEditorFrame& f) {
         test::setRow(f.grid(0), 1, {"Y", "0", "49", "N", "N", "N", "", "1", ""});
     },
     ""},
    {"PayloadBoundFailsWithTheBound", true,
     [](TRuleEditorFrame& f) {
         test::setRow(f.grid(0), 1, {"Y", "0", "50", "N", "N", "N", "", "1", ""});
     },
     "Error row 1!! [LoraWAN Uplink] Number Byte must be between 0 and 49"},
    {"DownlinkRowTwoAfterAValidUplink", true,
     [](TRuleEditorFrame& f) {
         test::setRow(f.grid(0), 1, {"Y", "0", "4", "N", "N", "N", "", "1", ""});
         test::setRow(f.grid(1), 1, {"Y", "0", "4", "3", ""});
         test::setRow(f.grid(1), 2, {"Y", "0", "4", "224", ""});
     },
     "Error row 2!! [LoraWAN Downlink] FPort must be between 1 and 223"},
    {"S7WritePollTimeZeroAccepted", false,
     [](TRuleEditorFrame& f) {
         QStringList rule = s7WriteRule();
         rule[12] = QStringLiteral("0");
         test::setRow(f.grid(1), 1, rule);
     },
     ""},
    {"S7ReadPollTimeZeroRefused", false,
     [](TRuleEditorFrame& f) {
         QStringList rule = s7ReadRule();
         rule[12] = QStringLiteral("0");
         test::setRow(f.grid(0), 1, rule);
     },
     "Error row 1!! [S7comm Read] Poll Time must be between 1 and 100000000"},
    {"S7PositionBound", false,
     [](TRuleEditorFrame& f) {
         QStringList rule = s7ReadRule();
         rule[13] = QStringLiteral("1500");
         test::setRow(f.grid(0), 1, rule);
     },
     "Error row 1!! [S7comm Read] Position must be between 0 and 1499"},
    {"S7EleventhConnectionRefusedInTheWriteTable", false,
     [](TRuleEditorFrame& f) {
         for (int i = 0; i < 6; ++i)
             test::setRow(f.grid(0), i + 1, s7ReadRule(QStringLiteral("10.0.0.%1").arg(i + 1)));
         // The same PLC as read rule 1 is no new connection; rows 2-5 add four.
         test::setRow(f.grid(1), 1, s7WriteRule(QStringLiteral("10.0.0.1")));
         for (int i = 0; i < 4; ++i)
             test::setRow(f.grid(1), i + 2, s7WriteRule(QStringLiteral("10.0.1.%1").arg(i + 1)));
         test::setRow(f.grid(1), 6, s7WriteRule(QStringLiteral("10.0.0.1"), "103"));
     },
     "Error row 6!! [S7comm Write] Device support 10 connection"},
};

class RuleEditorChecks : public RuleEditorWindow,
                         public ::testing::WithParamInterface<CheckCase> {};

TEST_P(RuleEditorChecks, OkStopsAtTheFirstFaultWithItsMessage)
{
    const CheckCase& c = GetParam();
    std::unique_ptr<TRuleEditorFrame> f;
    if (c.lora) {
        writeParGen(51, true);
        f = open<TFLoRa_Set_Access>();
    } else {
        f = open<TFS7_Protocol_Set_Access>();
    }
    ASSERT_EQ(messageTexts(), QStringList());
    c.fill(*f);
    click(*f, "Btn_OK");
    const QString path = c.lora ? programState().File_LoRaWAN_SetAccess
                                : programState().File_S7_Protocol;
    if (QByteArray(c.message).isEmpty()) {
        EXPECT_EQ(messageTexts(), QStringList());
        EXPECT_EQ(f->result(), mrOk);
        EXPECT_TRUE(QFile::exists(path));
    } else {
        ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
        EXPECT_EQ(m_fakes.dialogs.messages[0].text.toStdString(), std::string(c.message));
        EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtError);
        EXPECT_NE(f->result(), mrOk);
        EXPECT_TRUE(f->isVisible());
        EXPECT_FALSE(QFile::exists(path));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RuleEditorChecks, ::testing::ValuesIn(kCheckCases),
                         test::CaseName());

// ---- the rule list, enabled rules ----------------------------------------------------------

TEST_F(RuleEditorWindow, RuleListEndsAtTheBlankKeyAndOnlyTrimmedYIsChecked)
{
    auto f = open<TFS7_Protocol_Set_Access>();
    TRuleGrid* g = f->ACG_S7_Read;
    setRow(g, 1, s7ReadRule());
    QStringList blanks = s7ReadRule();
    blanks[0] = QStringLiteral(" Y ");
    setRow(g, 2, blanks);
    // Not enabled: "y" and "N" rules are written as they stand, never checked.
    QStringList lower = s7ReadRule();
    lower[0] = QStringLiteral("y");
    lower[2] = QStringLiteral("no port");
    setRow(g, 3, lower);
    setRow(g, 4, {"N", "300.1.1.1"});
    // Row 5 has a blank key (PLC Address); row 6 below it is not saved.
    setRow(g, 5, {"Y", " "});
    setRow(g, 6, s7ReadRule(QStringLiteral("10.9.9.9")));

    m_fakes.dialogs.messageAnswers = {mrNo};
    click(*f, "Btn_OK");
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_EQ(messageTexts()[0].toStdString(),
              "Warning!!! Rows after the first row with an empty key cell are not saved: 1 "
              "(S7comm Read)\nSaving will replace the file with the rules shown. Do you want "
              "to save?");
    EXPECT_FALSE(QFile::exists(programState().File_S7_Protocol));

    // Blanks in the enabled row's Enable make it a rule to check.
    blanks[3] = QString();
    setRow(g, 2, blanks);
    m_fakes.dialogs.messages.clear();
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList{"Error row 2!! [S7comm Read] PLC Type cannot be empty"});

    blanks[3] = QStringLiteral("S7300");
    setRow(g, 2, blanks);
    m_fakes.dialogs.messages.clear();
    m_fakes.dialogs.messageAnswers = {mrYes};
    click(*f, "Btn_OK");
    EXPECT_EQ(f->result(), mrOk);

    reopen(*f);
    EXPECT_EQ(row(g, 3), lower);
    EXPECT_EQ(row(g, 4).mid(0, 2), (QStringList{"N", "300.1.1.1"}));
    EXPECT_EQ(g->GetCellEx(2, 5), QString());
    EXPECT_EQ(g->GetCellEx(2, 6), QString());
    EXPECT_EQ(f->ruleFile()->tables[0].ruleCount(), 4);
}

// ---- what the file holds that the tables cannot show ---------------------------------------

TEST_F(RuleEditorWindow, UnreadableFileIsNamedTablesAreEmptyAndOkAsksBeforeOverwriting)
{
    const QString path = programState().File_S7_Protocol;
    const QByteArray broken = "<S7_Protocol><S7_Protocol_Read><row Enable=\"Y\"";
    ASSERT_TRUE(test::writeFile(path, broken));
    auto f = open<TFS7_Protocol_Set_Access>();
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].contains(QStringLiteral("S7_Protocol.xml")))
        << messageTexts()[0].toStdString();
    EXPECT_EQ(f->ACG_S7_Read->GetCellEx(1, 1), QStringLiteral("Y"));
    EXPECT_EQ(f->ACG_S7_Read->GetCellEx(2, 1), QString());

    m_fakes.dialogs.messageAnswers = {mrNo};
    click(*f, "Btn_OK");
    EXPECT_EQ(m_fakes.dialogs.messages.back().buttons, TMsgDlgButtons(mbYes | mbNo));
    EXPECT_EQ(test::readFile(path), broken);
    EXPECT_NE(f->result(), mrOk);

    m_fakes.dialogs.messageAnswers = {mrYes};
    click(*f, "Btn_OK");
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_TRUE(test::readFile(path).startsWith("<S7_Protocol>"));
}

TEST_F(RuleEditorWindow, RulesTheGridCannotShowAreCountedAtOpeningAndBeforeSaving)
{
    // 240 uplink rules, written while the FPort was fixed; now it is variable (223 rules).
    QByteArray xml = "<LoRaWAN_Set_Access><LoRaWAN_Uplink>";
    for (int i = 0; i < 240; ++i)
        xml += "<row Enable=\"N\" StartByte=\"" + QByteArray::number(i)
               + "\" NumByte=\"1\" OnChange=\"N\" OnCMD=\"N\" OnTimer=\"N\" Time=\"\" "
                 "FPort=\"1\" Mnemonic=\"\"/>";
    xml += "</LoRaWAN_Uplink><LoRaWAN_Downlink/></LoRaWAN_Set_Access>";
    const QString path = programState().File_LoRaWAN_SetAccess;
    ASSERT_TRUE(test::writeFile(path, xml));
    writeParGen(51, true);
    auto f = open<TFLoRa_Set_Access>();
    EXPECT_EQ(messageTexts(),
              QStringList{"Warning!!! Rules of the file that the table cannot show, and that "
                          "saving drops: 17 (LoRaWAN Uplink)"});
    EXPECT_EQ(f->ACG_LoRa_Uplink->GetCellEx(2, 223), QStringLiteral("222"));

    m_fakes.dialogs.messages.clear();
    m_fakes.dialogs.messageAnswers = {mrNo};
    click(*f, "Btn_OK");
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].contains(QStringLiteral(": 17 (LoRaWAN Uplink)")));
    EXPECT_EQ(test::readFile(path), xml);
}

TEST_F(RuleEditorWindow, S7RowWithoutARequiredValueTakesDefaultsAndTheUserIsTold)
{
    ASSERT_TRUE(test::writeFile(
        programState().File_S7_Protocol,
        "<S7_Protocol><S7_Protocol_Read>"
        "<row Enable=\"N\" PLC_Address=\"10.0.0.1\" PLC_Port=\"102\" PLC_Type=\"S7300\" "
        "Data_Type=\"Bit\" Data_Identifier=\"DB\" DB_Number=\"1\" PLC_Area=\"Inputs (I)\" "
        "PLC_Add=\"0\" PLC_Bit=\"0\" PollTime=\"10\" Position=\"0\" Bit=\"0\" Swap=\"N\" "
        "SwapWord=\"N\" Mnemonic=\"a\"/>"
        "<row Enable=\"N\" PLC_Address=\"10.0.0.2\"/></S7_Protocol_Read>"
        "<S7_Protocol_Write/></S7_Protocol>"));
    auto f = open<TFS7_Protocol_Set_Access>();
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].startsWith(
        QStringLiteral("Warning!!! Values missing in the file were set to their defaults")))
        << messageTexts()[0].toStdString();
    // Rack and Slot are read with their default of "0" and are not reported; the second row
    // is loaded with its address.
    EXPECT_EQ(f->ACG_S7_Read->GetCellEx(5, 1), QStringLiteral("0"));
    EXPECT_EQ(f->ACG_S7_Read->GetCellEx(6, 1), QStringLiteral("0"));
    EXPECT_EQ(f->ACG_S7_Read->GetCellEx(2, 2), QStringLiteral("10.0.0.2"));
    EXPECT_EQ(f->ACG_S7_Read->GetCellEx(18, 1), QStringLiteral("a"));
}

TEST_F(RuleEditorWindow, FailedSaveIsReportedAndTheWindowKeepsTheEdits)
{
    programState().File_S7_Protocol = path(QStringLiteral("gone/S7_Protocol.xml"));
    auto f = open<TFS7_Protocol_Set_Access>();
    setRow(f->ACG_S7_Read, 1, s7ReadRule());
    click(*f, "Btn_OK");
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtError);
    EXPECT_TRUE(messageTexts()[0].contains(QStringLiteral("S7_Protocol.xml")));
    EXPECT_NE(f->result(), mrOk);
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(row(f->ACG_S7_Read, 1), s7ReadRule());
}

TEST_F(RuleEditorWindow, MissingPayloadSizeWarnsAtEveryOpening)
{
    auto f = open<TFLoRa_Set_Access>();
    EXPECT_EQ(messageTexts(), QStringList{"Warning!! Max Payload Size not Set Up. Set it in "
                                          "\"Set Communication\" section"});
    EXPECT_EQ(f->MaxPayloadSize, 0);
    EXPECT_TRUE(f->FPortFixed);
    reopen(*f);
    EXPECT_EQ(messageTexts().size(), 1);
    writeParGen(51, false);
    reopen(*f);
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->MaxPayloadSize, 51);

    // A general-parameters file that is no XML is named before the warning.
    ASSERT_TRUE(test::writeFile(programState().File_ParGen, "<Par_Gen><LoRa_Payload"));
    reopen(*f);
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 2u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtError);
    EXPECT_TRUE(messageTexts()[0].contains(QStringLiteral("ParGen.xml")))
        << messageTexts()[0].toStdString();
    EXPECT_TRUE(messageTexts()[1].startsWith(QStringLiteral("Warning!! Max Payload Size")));
}

// ---- row tools ----------------------------------------------------------------------------

TEST_F(RuleEditorWindow, InsertLosesTheLastRowOnlyAfterAskingAndDeleteEmptiesIt)
{
    writeParGen(51, true);
    auto f = open<TFLoRa_Set_Access>();
    f->setActiveTable(1);
    TRuleGrid* g = f->ACG_LoRa_Downlink;
    const int last = g->RowCount() - 1;
    setRow(g, 1, {"Y", "1", "2", "3", "first"});
    setRow(g, last, {"N", "7", "8", "9", "last"});

    g->MoveCurrentCell(2, 1, true, true);
    m_fakes.dialogs.messageAnswers = {mrNo};
    click(*f, "Btn_InsRow");
    EXPECT_EQ(messageTexts(),
              QStringList{"The last row holds a rule that will be lost. Do you want to insert "
                          "the row?"});
    EXPECT_EQ(row(g, 1), (QStringList{"Y", "1", "2", "3", "first"}));

    m_fakes.dialogs.messageAnswers = {mrYes};
    click(*f, "Btn_InsRow");
    EXPECT_EQ(row(g, 1), (QStringList{"Y", "", "", "", ""}));
    EXPECT_EQ(row(g, 2), (QStringList{"Y", "1", "2", "3", "first"}));
    EXPECT_EQ(row(g, last), (QStringList{"Y", "", "", "", ""}));

    m_fakes.dialogs.messages.clear();
    m_fakes.dialogs.messageAnswers = {mrYes};
    click(*f, "Btn_DelRow");
    EXPECT_EQ(messageTexts(), QStringList{"Are you sure to delete the Row number 1"});
    EXPECT_EQ(row(g, 1), (QStringList{"Y", "1", "2", "3", "first"}));
    EXPECT_EQ(row(g, last), (QStringList{"", "", "", "", ""}));
    // The uplink table was not touched.
    EXPECT_EQ(f->ACG_LoRa_Uplink->GetCellEx(1, last), QStringLiteral("Y"));
}

TEST_F(RuleEditorWindow, PasteRefusesWithoutACopyBeforeAWrongRowAndFlagsResetAtOpening)
{
    auto f = open<TFS7_Protocol_Set_Access>();
    TRuleGrid* read = f->ACG_S7_Read;
    setRow(read, 1, s7ReadRule());
    read->MoveCurrentCell(2, 1, true, true);
    programState().Copy_Row_Buffer = QStringList{"one entry"};
    click(*f, "Btn_PasteRow");
    EXPECT_EQ(messageTexts(), QStringList{"Error!!! Copy a valid row before Paste it"});

    click(*f, "Btn_CopyRow");
    EXPECT_TRUE(f->Do_Copy_In_Read());
    EXPECT_FALSE(f->Do_Copy_In_Write());
    EXPECT_EQ(programState().Copy_Row_Buffer, s7ReadRule());

    // Into a used row only after Yes.
    read->MoveCurrentCell(2, 1, true, true);
    m_fakes.dialogs.messages.clear();
    m_fakes.dialogs.messageAnswers = {mrNo};
    setRow(read, 1, {"Y", "10.1.1.1"});
    click(*f, "Btn_PasteRow");
    EXPECT_EQ(messageTexts(),
              QStringList{"Row Already used. Do you want to overwrite the values?"});
    EXPECT_EQ(read->GetCellEx(2, 1), QStringLiteral("10.1.1.1"));
    read->MoveCurrentCell(2, 2, true, true);
    click(*f, "Btn_PasteRow");
    EXPECT_EQ(row(read, 2), s7ReadRule());

    // The write grid has not copied.
    f->setActiveTable(1);
    f->ACG_S7_Write->MoveCurrentCell(2, 1, true, true);
    m_fakes.dialogs.messages.clear();
    click(*f, "Btn_PasteRow");
    EXPECT_EQ(messageTexts(), QStringList{"Error!!! Copy a valid row before Paste it"});

    f->setActiveTable(0);
    programState().Copy_Row_Buffer.removeLast();
    m_fakes.dialogs.messages.clear();
    click(*f, "Btn_PasteRow");
    EXPECT_EQ(messageTexts(),
              QStringList{"Error in the Copy values!!! Copy a valid row before Paste it"});

    reopen(*f);
    EXPECT_FALSE(f->Do_Copy_In_Read());
    EXPECT_EQ(f->activeTable(), 0);
    programState().Copy_Row_Buffer = s7ReadRule();
    f->ACG_S7_Read->MoveCurrentCell(2, 1, true, true);
    click(*f, "Btn_PasteRow");
    EXPECT_EQ(messageTexts(), QStringList{"Error!!! Copy a valid row before Paste it"});
}

// ---- grid events and texts ----------------------------------------------------------------

TEST_F(RuleEditorWindow, HeaderHintsFollowTheRealColumnAndOnlyWhereSwitchedOn)
{
    writeParGen(51, false);
    auto lora = open<TFLoRa_Set_Access>();
    QString hint = QStringLiteral("x");
    // Display column 8 is Mnemonic while the FPort column is hidden; LoRaWAN grids show no
    // header hints.
    lora->GridHint(lora->ACG_LoRa_Uplink, 0, 8, hint);
    EXPECT_EQ(hint, QString());
    EXPECT_EQ(lora->Hint_UpLink().size(), 9);
    EXPECT_EQ(lora->Hint_UpLink()[8], programState().lang(1232));

    auto s7 = open<TFS7_Protocol_Set_Access>();
    s7->GridHint(s7->ACG_S7_Read, 0, 2, hint);
    EXPECT_EQ(hint, programState().lang(5945));
    s7->GridHint(s7->ACG_S7_Read, 1, 2, hint);
    EXPECT_EQ(hint, QString());
    s7->GridHint(s7->ACG_S7_Write, 0, 2, hint);
    EXPECT_EQ(hint, QString());
    EXPECT_EQ(s7->Hint_S7_Set_Access_Write().size(), 20);
}

TEST_F(RuleEditorWindow, ClickOnTheRowNumberSelectsTheRowAndEnterJumpsWithTheOption)
{
    auto f = open<TFS7_Protocol_Set_Access>();
    TRuleGrid* g = f->ACG_S7_Read;
    const TRect cell = g->CellRect(0, 5);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                      QPoint((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2));
    EXPECT_EQ(g->Selection().Top, 5);
    EXPECT_EQ(g->Selection().Bottom, 5);
    EXPECT_EQ(g->Selection().Left, 1);
    EXPECT_EQ(g->Selection().Right, g->ColCount() - 1);
    // The row tools work on the selected row.
    EXPECT_EQ(g->Row(), 5);

    g->MoveCurrentCell(g->ColCount() - 1, g->RowCount() - 1, true, true);
    char16_t key = 13;
    f->KeyPress(g, key);
    EXPECT_EQ(key, 13);
    programState().Opt_Jump_Field_Tables = true;
    f->KeyPress(g, key);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 1);

    // Typed: Enter commits the text and moves on.
    typeInto(*f, g, 2, 4, QStringLiteral("10.0.0.1"));
    EXPECT_EQ(g->GetCellEx(2, 4), QStringLiteral("10.0.0.1"));
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->Row(), 4);
}

TEST_F(RuleEditorWindow, DoubleClickOnAHeaderSizesTheColumnWithTheOption)
{
    auto f = open<TFS7_Protocol_Set_Access>();
    TRuleGrid* g = f->ACG_S7_Read;
    g->SetCellEx(2, 3, QStringLiteral("plc-with-a-long-host-name.plant.example"));
    const int before = g->ColWidths(2);
    auto doubleClick = [g](int DCol, int ARow) {
        const TRect cell = g->CellRect(DCol, ARow);
        const QPoint at((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, at);
    };
    doubleClick(2, 0);
    EXPECT_EQ(g->ColWidths(2), before);
    programState().Opt_Double_Click_Auto_Size = true;
    doubleClick(2, 1);
    EXPECT_EQ(g->ColWidths(2), before);
    doubleClick(2, 0);
    EXPECT_GT(g->ColWidths(2), before);
}

TEST_F(RuleEditorWindow, ListColumnsOfferExactlyTheirItems)
{
    auto f = open<TFS7_Protocol_Set_Access>();
    TRuleGrid* g = f->ACG_S7_Read;
    auto openList = [&](int DCol, int ARow) {
        QApplication::setActiveWindow(f.get());
        g->setFocus();
        g->MoveCurrentCell(DCol, ARow, true, true);
        QTest::keyClick(g, Qt::Key_F2);
    };
    auto key = [&](Qt::Key k) { QTest::keyClick(g->EditCombo(), k); };
    // PLC Type: a blank cell opens on the first item; Down chooses the next.
    openList(4, 1);
    ASSERT_TRUE(g->comboEditing());
    EXPECT_EQ(g->EditCombo()->count(), 6);
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    EXPECT_EQ(g->GetCellEx(4, 1), QStringLiteral("S7200"));
    // Position: "0" to "1499", opened on the cell's item; the last item is the last choice.
    g->SetCellEx(14, 1, QStringLiteral("1499"));
    openList(14, 1);
    ASSERT_TRUE(g->comboEditing());
    EXPECT_EQ(g->EditCombo()->count(), 1500);
    EXPECT_EQ(g->EditCombo()->itemIndex(), 1499);
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    EXPECT_EQ(g->GetCellEx(14, 1), QStringLiteral("1499"));
    // The write table's Position list is its own column 16.
    f->setActiveTable(1);
    g = f->ACG_S7_Write;
    openList(16, 1);
    ASSERT_TRUE(g->comboEditing());
    EXPECT_EQ(g->EditCombo()->itemText(1499), QStringLiteral("1499"));
    key(Qt::Key_Escape);
}

TEST_F(RuleEditorWindow, SetLangPutsTheTableTextsOnTheWindow)
{
    auto f = open<TFS7_Protocol_Set_Access>();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("S7comm Access"));
    EXPECT_EQ(f->PageControl1->tabText(1), QStringLiteral("S7comm Write"));
    EXPECT_EQ(f->ACG_S7_Read->GetCellEx(14, 0), QStringLiteral("Position"));
    ProgramState& s = programState();
    s.Language_Table[5915] = QStringLiteral("Scrittura");
    s.Language_Table[5939] = QStringLiteral("Posizione");
    s.Language_Table[5907] = QStringLiteral("Incolla riga");
    f->Set_Lang();
    EXPECT_EQ(f->PageControl1->tabText(1), QStringLiteral("Scrittura"));
    EXPECT_EQ(f->ACG_S7_Write->GetCellEx(16, 0), QStringLiteral("Posizione"));
    EXPECT_EQ(button(*f, "Btn_PasteRow")->text(), QStringLiteral("Incolla riga"));
}

// ---- a typed rule reaches the device -------------------------------------------------------

TEST_F(RuleEditorWindow, RuleTypedIntoAnEmptyTableCompilesToItsBankBytes)
{
    writeParGen(51, true);
    auto f = open<TFLoRa_Set_Access>();
    TRuleGrid* g = f->ACG_LoRa_Uplink;
    typeInto(*f, g, 2, 1, QStringLiteral("16"));
    typeInto(*f, g, 3, 1, QStringLiteral("4"));
    toggle(*f, g, 4, 1);
    toggle(*f, g, 6, 1);
    typeInto(*f, g, 7, 1, QStringLiteral("60"));
    typeInto(*f, g, 8, 1, QStringLiteral("7"));
    typeInto(*f, g, 9, 1, QStringLiteral("level"));
    // On CMD stays as the opening cleared it: empty, which reads as not checked.
    ASSERT_EQ(row(g, 1), (QStringList{"Y", "16", "4", "Y", "", "Y", "60", "7", "level"}));
    click(*f, "Btn_OK");
    ASSERT_EQ(f->result(), mrOk) << messageTexts().join('\n').toStdString();

    const BinCompileResult bin = compileBinImages(binSourceFiles(root()));
    ASSERT_TRUE(bin.ok()) << bin.result.message.toStdString();
    EXPECT_EQ(bin.bank2.mid(kLoRaUplinkTableOffset, 12).toHex(' '),
              QByteArray("10 00 04 00 05 07 00 00 3c 00 00 00"));
    EXPECT_EQ(bin.bank2.mid(kLoRaUplinkTableOffset + 12, 12), QByteArray(12, '\0'));
}

TEST_F(RuleEditorWindow, OkWithAnOpenEditorSavesWhatIsTyped)
{
    writeParGen(51, false);
    auto f = open<TFLoRa_Set_Access>();
    TRuleGrid* g = f->ACG_LoRa_Downlink;
    f->setActiveTable(1);
    typeInto(*f, g, 2, 1, QStringLiteral("12"));
    QApplication::setActiveWindow(f.get());
    g->setFocus();
    g->MoveCurrentCell(3, 1, true, true);
    QTest::keyClicks(g, QStringLiteral("3"));
    ASSERT_TRUE(g->EditorMode());
    click(*f, "Btn_OK");
    ASSERT_EQ(f->result(), mrOk) << messageTexts().join('\n').toStdString();
    EXPECT_TRUE(test::readFile(programState().File_LoRaWAN_SetAccess)
                    .contains("StartByte=\"12\" NumByte=\"3\""));
}

}  // namespace
}  // namespace zfw
