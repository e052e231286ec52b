// The Modbus master, CAN frame and DMX windows driven directly: a stored file opened and saved
// unchanged, a rule typed into an empty table, bad files, the language, and what each window
// does differently from the frame.

#include "editors/fieldbus/ModbusCanFixture.h"

#include "controls/LbButton.h"
#include "editors/fieldbus/UCANReceive.h"
#include "editors/fieldbus/UCANTransmit.h"
#include "editors/fieldbus/UDMXDefVal.h"
#include "editors/fieldbus/UModbusSetAccess.h"
#include "editors/fieldbus/UModbus_TCP_Master_Set_Access.h"
#include "support/CaseName.h"

#include <QTabWidget>

#include <gtest/gtest.h>

namespace zfw {
namespace {

template <class Form>
test::EditorWindow window(QString ProgramState::*file)
{
    return {[](const RuleEditorContext& c) -> std::unique_ptr<TRuleEditorFrame> {
                return std::make_unique<Form>(c);
            },
            file};
}

const test::EditorWindow kModbusRtu = window<TFSetAccess>(&ProgramState::File_ModbusM_SetAccess);
const test::EditorWindow kModbusTcp = window<TFModbus_TCP_Master_Set_Access>(
    &ProgramState::File_ModbusTCPM_SetAccess);
const test::EditorWindow kCanReceive = window<TFReceiveCAN>(&ProgramState::File_CAN_Rec_Frames);
const test::EditorWindow kCanTransmit = window<TFTransmitCAN>(&ProgramState::File_CAN_Send_Frames);
const test::EditorWindow kDmx = window<TFDMXDefVal>(&ProgramState::File_DMX_Default_Values);

// Writes texts into row r of table t by attribute.
void setCells(TRuleEditorFrame& f, int t, int r,
              const std::vector<std::pair<const char*, const char*>>& cells)
{
    const RuleTableSpec& spec = f.layout().tables[t];
    for (const auto& [attribute, text] : cells)
        f.gridOf(t)->SetCellEx(spec.col(QString::fromLatin1(attribute)), r,
                               QString::fromUtf8(text));
}

class ModbusCanWindow : public test::ModbusCanTest {};

// ---- a stored file opened and saved unchanged ------------------------------------------------

struct GoldenCase {
    const char* name;
    const test::EditorWindow* window;
    const char* file;
    int rowCount;
    const char* parGen = nullptr;  // ParGen.xml of the project; nullptr: none
};

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }

const GoldenCase kGoldenCases[] = {
    {"ModbusRtu", &kModbusRtu, "modbus_rtu.xml", 513},
    {"ModbusTcp", &kModbusTcp, "modbus_tcp.xml", 513},
    {"CanReceive", &kCanReceive, "can_receive.xml", 513},
    {"CanTransmit", &kCanTransmit, "can_send.xml", 513},
    {"Dmx24Channels", &kDmx, "dmx_24.xml", 25,
     "<Par_Gen><DMX_Num_Channels>24</DMX_Num_Channels></Par_Gen>"},
};

class ModbusCanGolden : public ModbusCanWindow, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(ModbusCanGolden, OpenThenOkWritesTheSameBytes)
{
    const GoldenCase& c = GetParam();
    const QByteArray original = test::readFile(test::fieldbusGolden(c.file));
    ASSERT_FALSE(original.isEmpty());
    const QString file = fileOf(*c.window);
    ASSERT_TRUE(test::writeFile(file, original));
    if (c.parGen) {
        ASSERT_TRUE(test::writeFile(programState().File_ParGen, c.parGen));
    }
    auto f = open(*c.window);
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->gridOf(0)->RowCount(), c.rowCount);
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_EQ(test::readFile(file).toStdString(), original.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Files, ModbusCanGolden, ::testing::ValuesIn(kGoldenCases),
                         test::CaseName());

// ---- a rule typed into an empty table ----------------------------------------------------------

struct TypedCase {
    const char* name;
    const test::EditorWindow* window;
    int table;
    int keyColumn;                                           // real column typed with the keyboard
    const char* key;                                         // what is typed there
    std::vector<std::pair<const char*, const char*>> cells;  // the rest of the rule
    const char* expected;                                    // the whole file
};

void PrintTo(const TypedCase& c, std::ostream* os) { *os << c.name; }

const TypedCase kTypedCases[] = {
    {"ModbusRtuWriteRule",
     &kModbusRtu,
     1,
     2,
     "17",
     {{"Type", "Holding Register"},
      {"Address", "40"},
      {"NPoint", "2"},
      {"PollTime", "250"},
      {"OnChange", "Y"},
      {"OnCMD", "N"},
      {"MaxError", "5"},
      {"Position", "10"},
      {"Bit", "0"},
      {"Swap", "N"},
      {"SwapWord", "N"},
      {"Mnemonic", "Speed"}},
     "<EtherNetIP_to_Modbus>\n"
     "  <Modbus_Read/>\n"
     "  <Modbus_Write>\n"
     "    <row Enable=\"Y\" Slave_ID=\"17\" Type=\"Holding Register\" Address=\"40\" "
     "NPoint=\"2\" PollTime=\"250\" OnChange=\"Y\" OnCMD=\"N\" MaxError=\"5\" Position=\"10\" "
     "Bit=\"0\" Swap=\"N\" SwapWord=\"N\" Mnemonic=\"Speed\"/>\n"
     "  </Modbus_Write>\n"
     "</EtherNetIP_to_Modbus>\n"
     "<!--SW_VERSION = 1.002-->\n"},
    {"ModbusTcpReadRule",
     &kModbusTcp,
     0,
     2,
     "10.1.2.3",
     {{"Port", "502"},
      {"Slave_ID", "1"},
      {"Type", "Input Status"},
      {"Address", "0"},
      {"NPoint", "16"},
      {"PollTime", "100"},
      {"MaxError", "0"},
      {"Position", "0"},
      {"Bit", "4"},
      {"Swap", "N"},
      {"SwapWord", "N"},
      {"Mnemonic", ""}},
     "<PROFINET_Master_to_Modbus_TCP_Master>\n"
     "  <Modbus_Read>\n"
     "    <row Enable=\"Y\" IP_Address=\"10.1.2.3\" Port=\"502\" Slave_ID=\"1\" "
     "Type=\"Input Status\" Address=\"0\" NPoint=\"16\" PollTime=\"100\" MaxError=\"0\" "
     "Position=\"0\" Bit=\"4\" Swap=\"N\" SwapWord=\"N\" Index_Topic=\"-1\" Mnemonic=\"\"/>\n"
     "  </Modbus_Read>\n"
     "  <Modbus_Write/>\n"
     "</PROFINET_Master_to_Modbus_TCP_Master>\n"
     "<!--SW_VERSION = 1.007-->\n"},
    {"CanTransmitFrame",
     &kCanTransmit,
     0,
     2,
     "0x123",
     {{"CAN_Type", "2.0A (11 bits)"},
      {"Dim", "2"},
      {"OnChange", "Y"},
      {"OnCMD", "N"},
      {"OnTimer", "Y"},
      {"Time", "1000"},
      {"Byte1", "12"},
      {"Byte2", "None"},
      {"Mnemonic", "Lights"}},
     "<Transmit_Frames>\n"
     "  <row Enable=\"Y\" COBID=\"0x123\" CAN_Type=\"2.0A (11 bits)\" Dim=\"2\" "
     "OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"Y\" Time=\"1000\" Byte1=\"12\" Byte2=\"None\" "
     "Byte3=\"\" Byte4=\"\" Byte5=\"\" Byte6=\"\" Byte7=\"\" Byte8=\"\" Mnemonic=\"Lights\"/>\n"
     "</Transmit_Frames>\n"
     "<!--SW_VERSION = 1.000-->\n"},
    {"CanReceiveFrame",
     &kCanReceive,
     0,
     2,
     "2047",
     {{"CAN_Type", "2.0A (11 bits)"}, {"Dim", "1"}, {"TimeOut", "0"}, {"Byte1", "1999"}},
     "<Receive_Frames>\n"
     "  <row Enable=\"Y\" COBID=\"2047\" CAN_Type=\"2.0A (11 bits)\" Dim=\"1\" "
     "TimeOut=\"0\" Byte1=\"1999\" Byte2=\"\" Byte3=\"\" Byte4=\"\" Byte5=\"\" Byte6=\"\" "
     "Byte7=\"\" Byte8=\"\" Mnemonic=\"\"/>\n"
     "</Receive_Frames>\n"
     "<!--SW_VERSION = 1.000-->\n"},
};

class ModbusCanTyped : public ModbusCanWindow, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(ModbusCanTyped, RuleTypedIntoAnEmptyTableGivesTheExpectedFile)
{
    const TypedCase& c = GetParam();
    auto f = open(*c.window);
    ASSERT_EQ(messageTexts(), QStringList());
    f->setActiveTable(c.table);
    TExtStringGrid* g = f->gridOf(c.table);
    typeInto(*f, g, g->DisplColIndex(c.keyColumn), 1, QString::fromLatin1(c.key));
    setCells(*f, c.table, 1, c.cells);
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_EQ(test::readFile(fileOf(*c.window)).toStdString(), std::string(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Windows, ModbusCanTyped, ::testing::ValuesIn(kTypedCases),
                         test::CaseName());

// ---- bad files -----------------------------------------------------------------------------

QByteArray manyRows(const QByteArray& open, const QByteArray& row, const QByteArray& close, int n)
{
    QByteArray out = open;
    for (int i = 0; i < n; ++i)
        out += row;
    return out + close;
}

const QByteArray kRtuRow =
    R"(<row Enable="Y" Slave_ID="1" Type="Coil Status" Address="0" NPoint="1" PollTime="1" )"
    R"(MaxError="0" Position="0" Bit="0" Swap="N" SwapWord="N" Index_Topic="" Mnemonic="m"/>)";
const QByteArray kCanRow =
    R"x(<row Enable="Y" COBID="1" CAN_Type="2.0A (11 bits)" Dim="1" TimeOut="0" )x"
    R"(Byte1="None" Byte2="" Byte3="" Byte4="" Byte5="" Byte6="" Byte7="" Byte8="" )"
    R"(Mnemonic=""/>)";
const QByteArray kTcpRow =
    R"(<row Enable="Y" IP_Address="1.2.3.4" Port="502" Slave_ID="1" Type="Coil Status" )"
    R"(Address="0" NPoint="1" PollTime="1" MaxError="0" Position="0" Bit="0" Swap="N" )"
    R"(SwapWord="N" Index_Topic="-1" Mnemonic="m"/>)";

struct BadFileCase {
    const char* name;
    const test::EditorWindow* window;
    QByteArray bytes;
    const char* warning;  // part of the message shown at opening; "" none
    bool asks;            // OK asks before saving over the file
};

void PrintTo(const BadFileCase& c, std::ostream* os) { *os << c.name; }

const BadFileCase kBadFiles[] = {
    {"RtuNotWellFormed", &kModbusRtu, "<EtherNetIP_to_Modbus><Modbus_Read><row",
     "ModbusM_SetAccess.xml", true},
    {"RtuNoWriteTable", &kModbusRtu,
     "<EtherNetIP_to_Modbus><Modbus_Read>" + kRtuRow + "</Modbus_Read></EtherNetIP_to_Modbus>",
     "Modbus_Write", true},
    {"Rtu10000Rows", &kModbusRtu,
     manyRows("<EtherNetIP_to_Modbus><Modbus_Read>", kRtuRow,
              "</Modbus_Read><Modbus_Write/></EtherNetIP_to_Modbus>", 10000),
     ": 9488 (Modbus Read)", true},
    // Values the format requires take an empty cell and are reported; saving would write the
    // defaults in their place, so OK asks first.
    {"RtuMissingAttributes", &kModbusRtu,
     R"(<EtherNetIP_to_Modbus><Modbus_Read><row Enable="N" Slave_ID="1" Type="Coil Status"/>)"
     "</Modbus_Read><Modbus_Write/></EtherNetIP_to_Modbus>",
     ": 7. First at row 1 (Modbus Read, Address)", true},
    // A row without its key ends the rule list: the rows after it would be lost.
    {"RtuMissingSlaveId", &kModbusRtu,
     R"(<EtherNetIP_to_Modbus><Modbus_Read><row Type="Coil Status"/></Modbus_Read>)"
     "<Modbus_Write/></EtherNetIP_to_Modbus>",
     "First at row 1 (Modbus Read, Slave_ID)", true},
    {"RtuControlCharacter", &kModbusRtu,
     "<EtherNetIP_to_Modbus><Modbus_Read><row Slave_ID=\"1\x01\"/></Modbus_Read>"
     "<Modbus_Write/></EtherNetIP_to_Modbus>",
     "ModbusM_SetAccess.xml", true},
    {"TcpNoTableElements", &kModbusTcp, "<PROFINET_Master_to_Modbus_TCP_Master/>", "Modbus_Read",
     true},
    {"TcpNonUtf8Mnemonic", &kModbusTcp,
     "<R><Modbus_Read>" + QByteArray(kTcpRow).replace("Mnemonic=\"m\"", "Mnemonic=\"Z\xe4hler\"")
         + "</Modbus_Read><Modbus_Write/></R>",
     "", false},
    {"Tcp10000Rows", &kModbusTcp,
     manyRows("<R><Modbus_Read/><Modbus_Write>", kTcpRow, "</Modbus_Write></R>", 10000),
     ": 9488 (Modbus Write)", true},
    {"CanReceiveNotWellFormed", &kCanReceive, "<Receive_Frames><row COBID=\"1\"></Receive_Frames>",
     "CAN_Rec_Frames.xml", true},
    {"CanReceive10000Rows", &kCanReceive,
     manyRows("<Receive_Frames>", kCanRow, "</Receive_Frames>", 10000),
     ": 9488 (CAN Receive Frames)", true},
    // Every value of a frame has its default: a frame of no attributes loads without a word,
    // and ends the list, so the frame after it asks before it is dropped.
    {"CanReceiveFrameWithoutAttributes", &kCanReceive,
     "<Receive_Frames><row/>" + kCanRow + "</Receive_Frames>", "", true},
    {"CanTransmitControlCharacter", &kCanTransmit,
     "<Transmit_Frames><row COBID=\"1\" Mnemonic=\"a&#7;b\"/></Transmit_Frames>",
     "CAN_Send_Frames.xml", true},
    {"CanTransmitEmptyRoot", &kCanTransmit, "<Transmit_Frames/>", "", false},
    {"DmxNotWellFormed", &kDmx, "<DMX_Default_Values><Row", "DMX_Default_Values.xml", true},
    {"Dmx10000Rows", &kDmx,
     manyRows("<DMX_Default_Values>", R"(<Row Default_Value="1" Mnemonic=""/>)",
              "</DMX_Default_Values>", 10000),
     ": 9488 (DMX Default Values)", true},
    {"DmxControlCharacter", &kDmx,
     "<DMX_Default_Values><Row Mnemonic=\"\x02\"/></DMX_Default_Values>", "DMX_Default_Values.xml",
     true},
    {"DmxRowsWithoutValues", &kDmx, "<DMX_Default_Values><Row/><Other/></DMX_Default_Values>", "",
     false},
};

class ModbusCanBadFile : public ModbusCanWindow,
                         public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(ModbusCanBadFile, NamedAtOpeningAndNotSavedOverWithoutAYes)
{
    const BadFileCase& c = GetParam();
    const QString file = fileOf(*c.window);
    ASSERT_TRUE(test::writeFile(file, c.bytes));
    auto f = open(*c.window);
    const QStringList shown = messageTexts();
    if (QByteArray(c.warning).isEmpty()) {
        EXPECT_EQ(shown, QStringList());
    } else {
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].contains(QString::fromLatin1(c.warning))) << shown[0].toStdString();
    }
    m_fakes.dialogs.messages.clear();
    m_fakes.dialogs.messageAnswers = {mrNo};
    click(*f, "Btn_OK");
    if (c.asks) {
        ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
        EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtConfirmation);
        EXPECT_EQ(test::readFile(file), c.bytes);
        EXPECT_TRUE(f->isVisible());
    } else {
        EXPECT_EQ(messageTexts(), QStringList());
        EXPECT_EQ(f->result(), mrOk);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ModbusCanBadFile, ::testing::ValuesIn(kBadFiles), test::CaseName());

TEST_F(ModbusCanWindow, NonUtf8MnemonicIsShownAsItsLatin1Letters)
{
    ASSERT_TRUE(test::writeFile(programState().File_ModbusTCPM_SetAccess,
                                "<R><Modbus_Read>"
                                    + QByteArray(kTcpRow).replace("Mnemonic=\"m\"",
                                                                  "Mnemonic=\"Z\xe4hler\"")
                                    + "</Modbus_Read><Modbus_Write/></R>"));
    auto f = open<TFModbus_TCP_Master_Set_Access>();
    EXPECT_EQ(f->ACG_Modbus_Read->GetCellEx(15, 1), QStringLiteral("Z\u00e4hler"));
}

// ---- Modbus windows --------------------------------------------------------------------------

TEST_F(ModbusCanWindow, ModbusTopicColumnHiddenAndIndexWrittenEmptyOrMinusOne)
{
    const QByteArray topicFive = QByteArray(kRtuRow).replace(R"(Index_Topic="")",
                                                             R"(Index_Topic="5")");
    ASSERT_TRUE(test::writeFile(programState().File_ModbusM_SetAccess,
                                "<EtherNetIP_to_Modbus><Modbus_Read>" + topicFive
                                    + "</Modbus_Read><Modbus_Write/></EtherNetIP_to_Modbus>"));
    auto rtu = open<TFSetAccess>();
    EXPECT_TRUE(rtu->ACG_Modbus_Read->IsHiddenColumn(12));
    EXPECT_FALSE(rtu->ACG_Modbus_Read->IsHiddenColumn(8));
    EXPECT_EQ(rtu->ACG_Modbus_Read->GetCellEx(12, 1), QString());
    EXPECT_EQ(rtu->ComboItem_Topic(1), 5);
    EXPECT_EQ(rtu->ComboItem_Topic(2), -1);
    click(*rtu, "Btn_OK");
    EXPECT_TRUE(test::readFile(programState().File_ModbusM_SetAccess)
                    .contains(R"(Index_Topic="" Mnemonic="m")"));

    ASSERT_TRUE(test::writeFile(programState().File_ModbusTCPM_SetAccess,
                                "<R><Modbus_Read>"
                                    + QByteArray(kTcpRow).replace(R"(Index_Topic="-1")",
                                                                  R"(Index_Topic="5")")
                                    + "</Modbus_Read><Modbus_Write/></R>"));
    auto tcp = open<TFModbus_TCP_Master_Set_Access>();
    EXPECT_TRUE(tcp->ACG_Modbus_Read->IsHiddenColumn(14));
    click(*tcp, "Btn_OK");
    EXPECT_TRUE(test::readFile(programState().File_ModbusTCPM_SetAccess)
                    .contains(R"(Index_Topic="-1" Mnemonic="m")"));
}

TEST_F(ModbusCanWindow, ModbusRtuTopicComboKeepsItsIndexPerRowAndOtherCombosDoNot)
{
    auto f = open<TFSetAccess>();
    TRuleGrid* g = f->ACG_Modbus_Read;
    ASSERT_TRUE(g->OnComboChange);
    g->OnComboChange(g, 12, 3, 2, QStringLiteral("t2"));
    g->OnComboChange(g, 8, 4, 7, QStringLiteral("7"));
    EXPECT_EQ(f->ComboItem_Topic(3), 2);
    EXPECT_EQ(f->ComboItem_Topic(4), -1);
    // The index moves with its row.
    g->MoveCurrentCell(2, 2, true, true);
    click(*f, "Btn_InsRow");
    EXPECT_EQ(f->ComboItem_Topic(4), 2);
    // The write grid has no topic.
    f->ACG_Modbus_Write->OnComboChange(f->ACG_Modbus_Write, 12, 5, 1, QStringLiteral("x"));
    EXPECT_EQ(f->ComboItem_Topic(5), -1);
}

TEST_F(ModbusCanWindow, ModbusTcpEnterMovesOnInTheWriteGridOnly)
{
    programState().Opt_Jump_Field_Tables = true;
    auto f = open<TFModbus_TCP_Master_Set_Access>();
    QApplication::setActiveWindow(f.get());
    for (int t : {0, 1}) {
        f->setActiveTable(t);
        TExtStringGrid* g = f->gridOf(t);
        g->setFocus();
        g->MoveCurrentCell(2, 1, true, true);
        QTest::keyClick(g, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(g->Col(), t == 0 ? 2 : 3) << "grid " << t;
    }
}

TEST_F(ModbusCanWindow, ModbusRtuPasteIntoTheOtherGridIsRefused)
{
    auto f = open<TFSetAccess>();
    setCells(*f, 0, 1, {{"Slave_ID", "1"}});
    f->ACG_Modbus_Read->MoveCurrentCell(2, 1, true, true);
    click(*f, "Btn_CopyRow");
    EXPECT_TRUE(f->Do_Copy_In_Read());
    f->setActiveTable(1);
    f->ACG_Modbus_Write->MoveCurrentCell(2, 1, true, true);
    click(*f, "Btn_PasteRow");
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(f->ACG_Modbus_Write->GetCellEx(2, 1), QString());
}

// ---- CAN windows -----------------------------------------------------------------------------

TEST_F(ModbusCanWindow, CanGridsHaveTheFocusAtOpeningAndNoRowSelectOnTheRowNumber)
{
    for (const test::EditorWindow* w : {&kCanReceive, &kCanTransmit}) {
        auto f = w->make(context());
        QApplication::setActiveWindow(f.get());
        reopen(*f);
        auto* g = dynamic_cast<TRuleGrid*>(f->gridOf(0));
        ASSERT_NE(g, nullptr);
        EXPECT_TRUE(g->hasFocus() || QApplication::focusWidget() == g || f->focusWidget() == g);
        f->ClickCell(g, 3, 0);
        EXPECT_NE(g->Selection().Right, g->ColCount() - 1);
    }
}

TEST_F(ModbusCanWindow, CanByteListsAndHintsOfTheColumns)
{
    auto receive = open<TFReceiveCAN>();
    auto transmit = open<TFTransmitCAN>();
    EXPECT_EQ(receive->MAX_Byte, 2000);
    EXPECT_EQ(transmit->MAX_Byte, 3400);
    const QStringList receiveItems = receive->ACG_CAN_Receive->Columns().GetItem(6)->ComboItems();
    ASSERT_EQ(receiveItems.size(), 2001);
    EXPECT_EQ(receiveItems.first(), QStringLiteral("None"));
    EXPECT_EQ(receiveItems.last(), QStringLiteral("1999"));
    EXPECT_EQ(transmit->ACG_CAN_Transmit->Columns().GetItem(16)->ComboItems().last(),
              QStringLiteral("3399"));
    QString hint;
    receive->GridHint(receive->ACG_CAN_Receive, 0, 5, hint);
    EXPECT_EQ(hint, programState().lang(3334));  // TimeOut
    transmit->GridHint(transmit->ACG_CAN_Transmit, 0, 6, hint);
    EXPECT_EQ(hint, programState().lang(3463));  // OnCMD
    transmit->GridHint(transmit->ACG_CAN_Transmit, 1, 6, hint);
    EXPECT_EQ(hint, QString());
}

TEST_F(ModbusCanWindow, CanDeleteRowAsksWithTheRowNumber)
{
    auto f = open<TFReceiveCAN>();
    for (int r = 1; r <= 6; ++r)
        f->ACG_CAN_Receive->SetCellEx(2, r, QString::number(r));
    f->ACG_CAN_Receive->MoveCurrentCell(2, 5, true, true);
    m_fakes.dialogs.messageAnswers = {mrYes};
    click(*f, "Btn_DelRow");
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].text,
              QStringLiteral("Are you sure to delete the Row number 5"));
    EXPECT_EQ(f->ACG_CAN_Receive->GetCellEx(2, 5), QStringLiteral("6"));
}

// ---- DMX window ------------------------------------------------------------------------------

TEST_F(ModbusCanWindow, DmxValueTypedIntoTheChannelsGivesEveryChannelInTheFile)
{
    ASSERT_TRUE(test::writeFile(programState().File_ParGen,
                                "<Par_Gen><DMX_Num_Channels>24</DMX_Num_Channels></Par_Gen>"));
    auto f = open<TFDMXDefVal>();
    ASSERT_EQ(messageTexts(), QStringList());
    TRuleGrid* g = f->ACG_DMX_Def_Val;
    EXPECT_EQ(g->RowCount(), 25);
    EXPECT_EQ(g->GetCellEx(0, 24), QStringLiteral("24"));
    EXPECT_EQ(g->GetCellEx(1, 24), QStringLiteral("0"));
    typeInto(*f, g, 1, 3, QStringLiteral("200"));
    typeInto(*f, g, 2, 3, QStringLiteral("Red"));
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->result(), mrOk);
    QByteArray expected = "<DMX_Default_Values>\n";
    for (int r = 1; r <= 24; ++r)
        expected += r == 3 ? "  <Row Default_Value=\"200\" Mnemonic=\"Red\"/>\n"
                           : "  <Row Default_Value=\"0\" Mnemonic=\"\"/>\n";
    expected += "</DMX_Default_Values>\n<!--SW_VERSION = 1.000-->\n";
    EXPECT_EQ(test::readFile(programState().File_DMX_Default_Values).toStdString(),
              expected.toStdString());
}

TEST_F(ModbusCanWindow, DmxFileOfMoreChannelsIsShortenedOnlyAfterAYes)
{
    ASSERT_TRUE(test::writeFile(programState().File_ParGen,
                                "<Par_Gen><DMX_Num_Channels>24</DMX_Num_Channels></Par_Gen>"));
    const QByteArray full = manyRows("<DMX_Default_Values>", R"(<Row Default_Value="9"/>)",
                                     "</DMX_Default_Values>", 512);
    ASSERT_TRUE(test::writeFile(programState().File_DMX_Default_Values, full));
    auto f = open<TFDMXDefVal>();
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].endsWith(QStringLiteral(": 488 (DMX Default Values)")));
    EXPECT_EQ(f->ACG_DMX_Def_Val->GetCellEx(1, 24), QStringLiteral("9"));
    m_fakes.dialogs.messageAnswers = {mrYes};
    click(*f, "Btn_OK");
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_EQ(test::readFile(programState().File_DMX_Default_Values).count("<Row "), 24);
}

TEST_F(ModbusCanWindow, DmxChannelCountOutsideTheUniverseOpensAllChannelsAndSaysSo)
{
    ASSERT_TRUE(test::writeFile(programState().File_ParGen,
                                "<Par_Gen><DMX_Num_Channels>100000</DMX_Num_Channels></Par_Gen>"));
    auto f = open<TFDMXDefVal>();
    EXPECT_EQ(f->ACG_DMX_Def_Val->RowCount(), 513);
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtWarning);
    EXPECT_EQ(m_fakes.dialogs.messages[0].text,
              programState().lang(kDMXTextChannelsOutOfRange) + QStringLiteral("100000"));
    // The count is read again at the next opening.
    ASSERT_TRUE(test::writeFile(programState().File_ParGen,
                                "<Par_Gen><DMX_Num_Channels>32</DMX_Num_Channels></Par_Gen>"));
    reopen(*f);
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->ACG_DMX_Def_Val->RowCount(), 33);
}

TEST_F(ModbusCanWindow, DmxHasOnlyOkAndCancelAndNoHeaderHints)
{
    auto f = open<TFDMXDefVal>();
    EXPECT_TRUE(f->Btn_OK->isVisible());
    EXPECT_TRUE(f->Btn_Cancel->isVisible());
    for (TLbButton* b : {f->Btn_DelRow, f->Btn_InsRow, f->Btn_CopyRow, f->Btn_PasteRow})
        EXPECT_FALSE(b->isVisible()) << b->objectName().toStdString();
    EXPECT_EQ(f->Btn_OK->toolTip(), programState().lang(4004));
    EXPECT_EQ(f->Btn_Cancel->toolTip(), programState().lang(4005));
    EXPECT_EQ(f->ACG_DMX_Def_Val->GetCellEx(0, 0), QStringLiteral("Channel"));
    EXPECT_EQ(f->Hint(), QStringList({programState().lang(4009), programState().lang(4010)}));
    QString hint = QStringLiteral("x");
    f->GridHint(f->ACG_DMX_Def_Val, 0, 1, hint);
    EXPECT_EQ(hint, QString());
}

// ---- language --------------------------------------------------------------------------------

struct LanguageCase {
    const char* name;
    const test::EditorWindow* window;
    int caption;
    int header;   // of the first grid's column 2
    int message;  // "Error row "
};

void PrintTo(const LanguageCase& c, std::ostream* os) { *os << c.name; }

const LanguageCase kLanguageCases[] = {
    {"ModbusRtu", &kModbusRtu, 3000, 3018, 3068},
    {"ModbusTcp", &kModbusTcp, 3100, 3110, 3138},
    {"CanReceive", &kCanReceive, 3300, 3310, 3344},
    {"CanTransmit", &kCanTransmit, 3400, 3410, 3447},
    {"Dmx", &kDmx, 4000, 4008, 4011},
};

class ModbusCanLanguage : public ModbusCanWindow,
                          public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(ModbusCanLanguage, TextsOfTheWindowsBlockFollowTheLanguageTable)
{
    const LanguageCase& c = GetParam();
    auto f = open(*c.window);
    ProgramState& s = programState();
    s.Language_Table[c.caption] = QStringLiteral("Titolo");
    s.Language_Table[c.header] = QStringLiteral("Colonna");
    s.Language_Table[c.message] = QStringLiteral("Errore riga ");
    f->Set_Lang();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Titolo"));
    EXPECT_EQ(f->gridOf(0)->GetCellEx(2, 0), QStringLiteral("Colonna"));
    // Messages take their texts when they are shown.
    f->gridOf(0)->SetCellEx(2, 1, QStringLiteral("x"));
    f->gridOf(0)->SetCellEx(1, 1, QStringLiteral("Y"));
    click(*f, "Btn_OK");
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_TRUE(m_fakes.dialogs.messages[0].text.startsWith(QStringLiteral("Errore riga 1")));
}

INSTANTIATE_TEST_SUITE_P(Windows, ModbusCanLanguage, ::testing::ValuesIn(kLanguageCases),
                         test::CaseName());

TEST_F(ModbusCanWindow, ModbusTcpCopyAndPasteRowCaptionsStayInEveryLanguage)
{
    auto f = open<TFModbus_TCP_Master_Set_Access>();
    for (int n = 3100; n < 3300; ++n)
        programState().Language_Table[n] = QStringLiteral("x%1").arg(n);
    f->Set_Lang();
    EXPECT_EQ(f->Btn_OK->text(), QStringLiteral("x3102"));
    EXPECT_EQ(f->Btn_InsRow->text(), QStringLiteral("x3105"));
    EXPECT_EQ(f->Btn_CopyRow->text(), QStringLiteral("Copy Row"));
    EXPECT_EQ(f->Btn_PasteRow->text(), QStringLiteral("Paste Row"));
    EXPECT_EQ(f->Btn_PasteRow->toolTip(), QStringLiteral("x3168"));
    EXPECT_EQ(f->PageControl1->tabText(1), QStringLiteral("x3107"));
}

}  // namespace
}  // namespace zfw
