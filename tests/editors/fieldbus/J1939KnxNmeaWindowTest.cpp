// The J1939, KNX and NMEA 2000 rule windows driven as a user does: files opened and saved,
// rules typed, what older or broken files give, the row tools and the language.

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "editors/fieldbus/UJ1939Frames.h"
#include "editors/fieldbus/UKNXAccess.h"
#include "editors/fieldbus/UNMEAFrames.h"
#include "grid/ColumnGrid.h"
#include "support/CaseName.h"
#include "support/FakeServices.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace zfw {
namespace {

enum class Window { J1939Receive, J1939Transmit, Knx, NmeaReceive, NmeaTransmit };

struct WindowInfo {
    const char* file;
    QString ProgramState::*path;
};

WindowInfo infoOf(Window w)
{
    switch (w) {
    case Window::J1939Receive:
        return {"J1939_Rec_Frames.xml", &ProgramState::File_J1939_Rec_Frames};
    case Window::J1939Transmit:
        return {"J1939_Send_Frames.xml", &ProgramState::File_J1939_Send_Frames};
    case Window::Knx: return {"KNX_SetAccess.xml", &ProgramState::File_KNX_SetAccess};
    case Window::NmeaReceive: return {"NMEA_Rec_Frames.xml", &ProgramState::File_NMEA_Rec_Frames};
    case Window::NmeaTransmit:
        return {"NMEA_Send_Frames.xml", &ProgramState::File_NMEA_Send_Frames};
    }
    return {};
}

QString golden(const char* file)
{
    return QStringLiteral(ZFW_TEST_DATA_DIR "/fieldbus_j1939_knx/") + QString::fromLatin1(file);
}

void setRow(TRuleGrid* g, int r, const QStringList& cells)
{
    for (int i = 0; i < cells.size(); ++i)
        g->SetCellEx(i + 1, r, cells[i]);
}

QStringList rowOf(const TRuleGrid* g, int r)
{
    QStringList out;
    for (int c = 1; c < g->store().AllColCount(); ++c)
        out.append(g->GetCellEx(c, r));
    return out;
}

class FrameWindows : public test::TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        ProgramState& s = programState();
        Fill_Default_Language(s);
        s.Dir_Project = root();
        for (Window w : {Window::J1939Receive, Window::J1939Transmit, Window::Knx,
                         Window::NmeaReceive, Window::NmeaTransmit}) {
            const WindowInfo info = infoOf(w);
            s.*info.path = path(QString::fromLatin1(info.file));
        }
    }

    RuleEditorContext context()
    {
        return {&programState(), QStringLiteral("CODE"), &m_fakes.dialogs};
    }

    static QString fileOf(Window w) { return programState().*infoOf(w).path; }

    std::unique_ptr<TRuleEditorFrame> make(Window w)
    {
        switch (w) {
        case Window::J1939Receive: return std::make_unique<TFReceiveJ1939>(context());
        case Window::J1939Transmit: return std::make_unique<TFTransmitJ1939>(context());
        case Window::Knx: return std::make_unique<TFKNXAccess>(context());
        case Window::NmeaReceive: return std::make_unique<TFReceiveNMEA>(context());
        case Window::NmeaTransmit: return std::make_unique<TFTransmitNMEA>(context());
        }
        return nullptr;
    }

    // Shows the window, which opens it; the messages of earlier steps are forgotten first.
    std::unique_ptr<TRuleEditorFrame> open(Window w)
    {
        auto f = make(w);
        reopen(*f);
        return f;
    }
    void reopen(TRuleEditorFrame& f)
    {
        m_fakes.dialogs.messages.clear();
        f.hide();
        f.show();
    }

    static void click(TRuleEditorFrame& f, const char* name)
    {
        auto* b = f.findChild<QAbstractButton*>(QLatin1String(name));
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }

    // Types text into cell (DCol, ARow) as a user does: the first character opens the
    // editor, Enter commits.
    static void typeInto(TRuleEditorFrame& f, TRuleGrid* g, int DCol, int ARow, const QString& text)
    {
        QApplication::setActiveWindow(&f);
        g->setFocus();
        g->MoveCurrentCell(DCol, ARow, true, true);
        QTest::keyClicks(g, text.left(1));
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
    }
    // Space on a check-box cell toggles it.
    static void toggle(TRuleEditorFrame& f, TRuleGrid* g, int DCol, int ARow)
    {
        QApplication::setActiveWindow(&f);
        g->setFocus();
        g->MoveCurrentCell(DCol, ARow, true, true);
        QTest::keyClick(g, Qt::Key_Space);
    }

    QStringList messageTexts() const
    {
        QStringList out;
        for (const test::ShownMessage& m : m_fakes.dialogs.messages)
            out.append(m.text);
        return out;
    }

    test::ScopedFakeServices m_fakes;
};

// ---- a golden file opened, then OK: the same bytes -----------------------------------------

struct GoldenCase {
    const char* name;
    Window window;
    int rowCount;
    const char* gridName;
};

const GoldenCase kGoldenCases[] = {
    {"J1939Receive", Window::J1939Receive, 513, "sga"},
    {"J1939Transmit", Window::J1939Transmit, 513, "sga"},
    {"Knx", Window::Knx, 1025, "ACG_KNX_in_Write"},
    {"NmeaReceive", Window::NmeaReceive, 63, "sga"},
    {"NmeaTransmit", Window::NmeaTransmit, 63, "sga"},
};

class FrameGolden : public FrameWindows, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(FrameGolden, OpenThenOkWritesTheSameBytes)
{
    const GoldenCase& c = GetParam();
    const QByteArray original = test::readFile(golden(infoOf(c.window).file));
    ASSERT_FALSE(original.isEmpty());
    const QString path = fileOf(c.window);
    ASSERT_TRUE(test::writeFile(path, original));
    auto f = open(c.window);
    EXPECT_EQ(messageTexts(), QStringList());
    TRuleGrid* g = f->grid(0);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->objectName(), QLatin1String(c.gridName));
    EXPECT_EQ(g->RowCount(), c.rowCount);
    EXPECT_EQ(g->GetCellEx(0, c.rowCount - 1), QString::number(c.rowCount - 1));
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_EQ(test::readFile(path).toStdString(), original.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Files, FrameGolden, ::testing::ValuesIn(kGoldenCases), test::CaseName());

// ---- a rule typed into an empty table ------------------------------------------------------

// A cell to type (text), to toggle (nullptr text) or to set as a combo pick (pick true).
struct Typed {
    int col;
    const char* text;
    bool pick = false;
};

struct TypedCase {
    const char* name;
    Window window;
    std::vector<Typed> cells;
    const char* file;
};

const TypedCase kTypedCases[] = {
    {"J1939Receive",
     Window::J1939Receive,
     {{1, "1", true},
      {2, "61444"},
      {3, "0"},
      {5, "2"},
      {6, "3"},
      {8, nullptr},
      {9, "500"},
      {10, "Speed"}},
     "<Receive_J1939>\n  <row DP=\"1\" PGN=\"61444\" SA=\"0\" TP=\"\" TP_Start=\"2\" "
     "TP_NByte=\"3\" Delete=\"\" OnRequest=\"Y\" OnReq_Time=\"500\" Mnemonic=\"Speed\"/>\n"
     "</Receive_J1939>\n<!--SW_VERSION = 1.000-->\n"},
    {"J1939Transmit",
     Window::J1939Transmit,
     {{1, "6"}, {2, "0", true}, {3, "0xFECA"}, {4, "3"}, {5, "8"}, {8, nullptr}, {9, "100"}},
     "<Transmit_J1939>\n  <row Priority=\"6\" DP=\"0\" PGN=\"0xFECA\" SA=\"3\" TP_NByte=\"8\" "
     "On_Request=\"\" On_Data_Change=\"\" On_Timer=\"Y\" SendTimer=\"100\" Mnemonic=\"\"/>\n"
     "</Transmit_J1939>\n<!--SW_VERSION = 1.000-->\n"},
    {"Knx",
     Window::Knx,
     {{2, "1.1.20"},
      {3, "1/2/3"},
      {4, "Write", true},
      {5, "Normal", true},
      {6, "None", true},
      {14, "10", true},
      {15, "No", true},
      {16, "2"},
      {17, "0"}},
     "<BACnet_to_KNX>\n  <KNX_in_Write>\n    <row Enable=\"Y\" Source_Address=\"1.1.20\" "
     "Destination_Address=\"1/2/3\" APCI=\"Write\" Priority=\"Normal\" Format=\"None\" "
     "MultiplicationFactor=\"\" Extended=\"\" ReTest=\"\" On_Command=\"\" On_Change=\"\" "
     "On_Timer=\"\" Poll_Time=\"\" Position=\"10\" Bit_Mode=\"No\" Length=\"2\" TimeOut=\"0\" "
     "Mnemonic=\"\"/>\n  </KNX_in_Write>\n</BACnet_to_KNX>\n<!--SW_VERSION = 1.002-->\n"},
    {"NmeaReceive",
     Window::NmeaReceive,
     {{1, "127250"}, {2, "1"}, {4, nullptr}, {5, "200"}, {6, "23"}},
     "<Receive_NMEA_2000>\n  <row PGN=\"127250\" SA=\"1\" TP=\"\" FP=\"Y\" TP_Start=\"200\" "
     "TP_NByte=\"23\" Delete=\"\" Mnemonic=\"\"/>\n</Receive_NMEA_2000>\n"
     "<!--SW_VERSION = 1.000-->\n"},
    {"NmeaTransmit",
     Window::NmeaTransmit,
     {{1, "2"}, {2, "127250"}, {3, "1"}, {5, "0"}, {6, nullptr}},
     "<Receive_NMEA_2000>\n  <row Priority=\"2\" PGN=\"127250\" SA=\"1\" FP=\"\" TP_NByte=\"0\" "
     "On_Request=\"Y\" On_Data_Change=\"\" On_Timer=\"\" SendTimer=\"\" Mnemonic=\"\"/>\n"
     "</Receive_NMEA_2000>\n<!--SW_VERSION = 1.000-->\n"},
};

class FrameTyped : public FrameWindows, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(FrameTyped, RuleTypedIntoAnEmptyTableGivesTheFile)
{
    const TypedCase& c = GetParam();
    auto f = open(c.window);
    TRuleGrid* g = f->grid(0);
    for (const Typed& cell : c.cells) {
        if (!cell.text)
            toggle(*f, g, cell.col, 1);
        else if (cell.pick)
            g->SetCellEx(cell.col, 1, QString::fromUtf8(cell.text));
        else
            typeInto(*f, g, cell.col, 1, QString::fromUtf8(cell.text));
    }
    click(*f, "Btn_OK");
    ASSERT_EQ(f->result(), mrOk) << messageTexts().join('\n').toStdString();
    EXPECT_EQ(test::readFile(fileOf(c.window)).toStdString(), std::string(c.file));
}

INSTANTIATE_TEST_SUITE_P(Windows, FrameTyped, ::testing::ValuesIn(kTypedCases), test::CaseName());

// ---- checks through the window -------------------------------------------------------------

TEST_F(FrameWindows, FirstFaultIsShownWithItsIconAndNothingIsWritten)
{
    auto f = open(Window::J1939Receive);
    TRuleGrid* g = f->grid(0);
    const QStringList whole = {"0", "61444", "0", "N", "", "", "N", "N", "", ""};
    for (int r = 1; r <= 181; ++r)
        setRow(g, r, whole);
    click(*f, "Btn_OK");
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(messageTexts()[0],
              QStringLiteral("Error!! Too many bytes of data, the max number is 1440"));
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtError);
    EXPECT_NE(f->result(), mrOk);
    EXPECT_TRUE(f->isVisible());
    EXPECT_FALSE(QFile::exists(fileOf(Window::J1939Receive)));

    // A PGN of blanks is a rule, not the end of the list.
    m_fakes.dialogs.messages.clear();
    setRow(g, 181, {"0", " "});
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(),
              QStringList{"Error in row 181!! PGN must be between 0x0000 and 0xFFFF"});
}

// Mended: the transmit windows checked up to the first empty PGN but saved up to the first
// empty Priority, so rows after a PGN gap reached the file unchecked.
struct TransmitGapCase {
    const char* name;
    Window window;
    QStringList rule;
    QStringList noPgn;  // a row with a priority and no PGN
    const char* title;
};

const TransmitGapCase kTransmitGapCases[] = {
    {"J1939",
     Window::J1939Transmit,
     {"6", "0", "65226", "0", "8", "N", "N", "N", "", "a"},
     {"6", "0", "", "0", "8", "N", "N", "N", "", "gap"},
     "J1939 Transmitted Frames"},
    {"Nmea",
     Window::NmeaTransmit,
     {"2", "127250", "1", "N", "8", "N", "N", "N", "", "a"},
     {"2", "", "1", "N", "8", "N", "N", "N", "", "gap"},
     "NMEA 2000 Transmitted Frames"},
};

class TransmitGap : public FrameWindows, public ::testing::WithParamInterface<TransmitGapCase> {};

TEST_P(TransmitGap, SavesExactlyTheCheckedRowsAfterAskingAboutTheRest)
{
    const TransmitGapCase& c = GetParam();
    auto f = open(c.window);
    TRuleGrid* g = f->grid(0);
    setRow(g, 1, c.rule);
    setRow(g, 2, c.noPgn);
    QStringList bad = c.rule;
    bad[0] = QStringLiteral("99");  // never checked, so never saved
    setRow(g, 3, bad);

    m_fakes.dialogs.messageAnswers = {mrNo};
    click(*f, "Btn_OK");
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_EQ(messageTexts()[0].toStdString(),
              "Warning!!! Rows after the first row with an empty key cell are not saved: 2 ("
                  + std::string(c.title)
                  + ")\nSaving will replace the file with the rules shown. Do you want to save?");
    EXPECT_FALSE(QFile::exists(fileOf(c.window)));

    m_fakes.dialogs.messageAnswers = {mrYes};
    click(*f, "Btn_OK");
    EXPECT_EQ(f->result(), mrOk);
    const QByteArray saved = test::readFile(fileOf(c.window));
    EXPECT_EQ(saved.count("<row "), 1) << saved.constData();
    EXPECT_FALSE(saved.contains("gap"));
}

INSTANTIATE_TEST_SUITE_P(Windows, TransmitGap, ::testing::ValuesIn(kTransmitGapCases),
                         test::CaseName());

// ---- what a file gives at opening ----------------------------------------------------------

TEST_F(FrameWindows, J1939TransmitReadsTheOlderSendModeAndAnEmptyCountAsAWholeFrame)
{
    ASSERT_TRUE(test::writeFile(
        fileOf(Window::J1939Transmit),
        "<Transmit_J1939>"
        "<row Priority=\"6\" DP=\"0\" PGN=\"1\" SA=\"0\" TP_NByte=\"\" T_Type=\"On Timer\" "
        "SendTimer=\"10\" Mnemonic=\"a\"/>"
        "<row Priority=\"6\" DP=\"0\" PGN=\"2\" SA=\"0\" T_Type=\"on data change\" "
        "On_Timer=\"Y\"/>"
        "<row Priority=\"6\" DP=\"0\" PGN=\"3\" SA=\"0\" TP_NByte=\"4\" T_Type=\"On Request\" "
        "On_Request=\"Y\"/>"
        "<row Priority=\"6\" DP=\"0\" PGN=\"4\" SA=\"0\" TP_NByte=\"5\" On_Request=\"Y\" "
        "On_Timer=\"Y\"/>"
        "</Transmit_J1939>"));
    auto f = open(Window::J1939Transmit);
    EXPECT_EQ(messageTexts(), QStringList());
    TRuleGrid* g = f->grid(0);
    EXPECT_EQ(rowOf(g, 1), (QStringList{"6", "0", "1", "0", "8", "N", "N", "Y", "10", "a"}));
    EXPECT_EQ(rowOf(g, 2), (QStringList{"6", "0", "2", "0", "8", "N", "Y", "N", "", ""}));
    // "T_Type" decides the flags alone, also when it names no mode of the three.
    EXPECT_EQ(rowOf(g, 3), (QStringList{"6", "0", "3", "0", "4", "N", "N", "N", "", ""}));
    EXPECT_EQ(rowOf(g, 4), (QStringList{"6", "0", "4", "0", "5", "Y", "N", "Y", "", ""}));
    // Below the file's rows nothing is filled in.
    EXPECT_EQ(rowOf(g, 5), QStringList(10, QString()));

    // Saving writes the three flags, never "T_Type".
    g->SetCellEx(9, 4, QStringLiteral("1"));
    click(*f, "Btn_OK");
    ASSERT_EQ(f->result(), mrOk) << messageTexts().join('\n').toStdString();
    const QByteArray saved = test::readFile(fileOf(Window::J1939Transmit));
    EXPECT_FALSE(saved.contains("T_Type"));
    EXPECT_TRUE(
        saved.contains("<row Priority=\"6\" DP=\"0\" PGN=\"1\" SA=\"0\" TP_NByte=\"8\" "
                       "On_Request=\"N\" On_Data_Change=\"N\" On_Timer=\"Y\" "
                       "SendTimer=\"10\" Mnemonic=\"a\"/>"))
        << saved.constData();
}

TEST_F(FrameWindows, KnxFileValuesTakeTheirDefaultsAndMissingRequiredOnesAreReported)
{
    ASSERT_TRUE(test::writeFile(
        fileOf(Window::Knx),
        "<BACnet_to_KNX><KNX_in_Write>"
        "<row Source_Address=\"1.1.1\" Destination_Address=\"1/2/3\" APCI=\"Read\" "
        "Priority=\"normal\" Extended=\"N\" ReTest=\"N\" On_Change=\"N\" Poll_Time=\"\" "
        "Position=\"0\" Bit_Mode=\"No\" Length=\"1\" Mnemonic=\"m\"/>"
        "<row Source_Address=\"1.1.2\" Priority=\"Urgent\"/>"
        "</KNX_in_Write></BACnet_to_KNX>"));
    auto f = open(Window::Knx);
    TRuleGrid* g = f->grid(0);
    // Enable "Y", Priority normalised, Format "None", factor empty, OnCMD and OnTimer "N",
    // TimeOut "0".
    EXPECT_EQ(rowOf(g, 1), (QStringList{"Y", "1.1.1", "1/2/3", "Read", "Normal", "None", "", "N",
                                        "N", "N", "N", "N", "", "0", "No", "1", "0", "m"}));
    EXPECT_EQ(g->GetCellEx(5, 2), QStringLiteral("Urgent"));
    // Empty rows below stay empty, priority included.
    EXPECT_EQ(g->GetCellEx(5, 3), QString());
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_EQ(messageTexts()[0].toStdString(),
              "Warning!!! Values missing in the file were set to their defaults: 10. First at "
              "row 2 (KNX Access, Destination_Address)");
}

// ---- bad files: named, the rest shown, nothing saved over without a Yes --------------------

struct BadFileCase {
    const char* name;
    Window window;
    QByteArray bytes;
    const char* messageStart;
    int rulesShown;
};

QByteArray manyRows(const char* root, const QByteArray& row, int count)
{
    QByteArray out = "<" + QByteArray(root) + ">";
    for (int i = 0; i < count; ++i)
        out += row;
    return out + "</" + QByteArray(root) + ">";
}

// Rules that pass their checks, so that OK comes to the question before saving.
const QByteArray kJ1939Row =
    "<row DP=\"0\" PGN=\"1\" SA=\"0\" TP=\"Y\" TP_Start=\"0\" TP_NByte=\"0\"/>";
const QByteArray kKnxRow = "<row Enable=\"N\" Source_Address=\"1.1.1\"/>";

const BadFileCase kBadFiles[] = {
    {"J1939ReceiveMalformed", Window::J1939Receive,
     "<Receive_J1939><row PGN=\"1\"></Receive_J1939>",
     "Error!!! The rules could not be read and the tables are shown empty: ", 0},
    {"J1939Receive10000Rows", Window::J1939Receive, manyRows("Receive_J1939", kJ1939Row, 10000),
     "Warning!!! Rules of the file that the table cannot show, and that saving drops: 9488 "
     "(J1939 Received Frames)",
     512},
    {"J1939TransmitNotXml", Window::J1939Transmit, "\x01\x02 binary",
     "Error!!! The rules could not be read", 0},
    {"KnxNoTable", Window::Knx, "<BACnet_to_KNX><Other/></BACnet_to_KNX>",
     "Warning!!! The file has no table KNX_in_Write", 0},
    {"Knx10000Rows", Window::Knx,
     "<BACnet_to_KNX>" + manyRows("KNX_in_Write", kKnxRow, 10000) + "</BACnet_to_KNX>",
     "Warning!!! Values missing in the file were set to their defaults: ", 1024},
    {"NmeaReceiveControlCharacter", Window::NmeaReceive,
     "<Receive_NMEA_2000><row PGN=\"1\" Mnemonic=\"a&#1;b\"/></Receive_NMEA_2000>",
     "Error!!! The rules could not be read", 0},
    {"NmeaTransmitTruncated", Window::NmeaTransmit, "<Receive_NMEA_2000><row Priority=\"1\"",
     "Error!!! The rules could not be read", 0},
};

class FrameBadFile : public FrameWindows, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(FrameBadFile, NamedShownAndKeptWithoutAYes)
{
    const BadFileCase& c = GetParam();
    const QString path = fileOf(c.window);
    ASSERT_TRUE(test::writeFile(path, c.bytes));
    auto f = open(c.window);
    ASSERT_FALSE(messageTexts().isEmpty());
    const QString all = messageTexts().join('\n');
    EXPECT_TRUE(all.startsWith(QString::fromUtf8(c.messageStart))) << all.toStdString();
    // A file that cannot be read is named.
    if (all.startsWith(QStringLiteral("Error"))) {
        EXPECT_TRUE(all.contains(QString::fromLatin1(infoOf(c.window).file))) << all.toStdString();
    }
    m_fakes.dialogs.messages.clear();

    m_fakes.dialogs.messageAnswers = {mrNo};
    click(*f, "Btn_OK");
    EXPECT_EQ(f->ruleFile()->tables[0].ruleCount(), c.rulesShown);
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u) << messageTexts().join('\n').toStdString();
    EXPECT_EQ(m_fakes.dialogs.messages[0].buttons, TMsgDlgButtons(mbYes | mbNo));
    EXPECT_NE(f->result(), mrOk);
    EXPECT_EQ(test::readFile(path), c.bytes);

    m_fakes.dialogs.messageAnswers = {mrYes};
    click(*f, "Btn_OK");
    EXPECT_EQ(f->result(), mrOk);
}

INSTANTIATE_TEST_SUITE_P(Files, FrameBadFile, ::testing::ValuesIn(kBadFiles), test::CaseName());

TEST_F(FrameWindows, NonUtf8MnemonicIsReadAndTheOtherCellsShown)
{
    ASSERT_TRUE(test::writeFile(fileOf(Window::NmeaReceive),
                                "<Receive_NMEA_2000><row PGN=\"127250\" SA=\"1\" TP=\"N\" FP=\"N\" "
                                "TP_Start=\"\" TP_NByte=\"\" Delete=\"N\" "
                                "Mnemonic=\"Temp\xe9rature\"/></Receive_NMEA_2000>"));
    auto f = open(Window::NmeaReceive);
    TRuleGrid* g = f->grid(0);
    EXPECT_EQ(g->GetCellEx(1, 1), QStringLiteral("127250"));
    EXPECT_EQ(g->GetCellEx(8, 1), QString::fromUtf8("Temp\xc3\xa9rature"));
}

// ---- row tools -----------------------------------------------------------------------------

TEST_F(FrameWindows, InsertLeavesTheRowEmptyWithoutAnEnableColumnAndEnablesItWithOne)
{
    auto rx = open(Window::J1939Receive);
    TRuleGrid* g = rx->grid(0);
    setRow(g, 1, {"0", "61444"});
    g->MoveCurrentCell(2, 1, true, true);
    click(*rx, "Btn_InsRow");
    EXPECT_EQ(rowOf(g, 1), QStringList(10, QString()));
    EXPECT_EQ(g->GetCellEx(2, 2), QStringLiteral("61444"));
    // The empty first row now ends the list.
    EXPECT_EQ(g->GetCellEx(0, 1), QStringLiteral("1"));

    auto knx = open(Window::Knx);
    TRuleGrid* k = knx->grid(0);
    k->SetCellEx(2, 1, QStringLiteral("1.1.1"));
    k->MoveCurrentCell(2, 1, true, true);
    click(*knx, "Btn_InsRow");
    EXPECT_EQ(k->GetCellEx(1, 1), QStringLiteral("Y"));
    EXPECT_EQ(k->GetCellEx(2, 1), QString());
    EXPECT_EQ(k->GetCellEx(2, 2), QStringLiteral("1.1.1"));
}

TEST_F(FrameWindows, DeleteAsksWithTheWindowsTextAndCopyPastesOnlyAfterACopy)
{
    auto f = open(Window::NmeaTransmit);
    auto* tx = static_cast<TFTransmitNMEA*>(f.get());
    TRuleGrid* g = tx->sga;
    setRow(g, 1, {"1", "10"});
    setRow(g, 2, {"2", "20"});
    g->MoveCurrentCell(2, 1, true, true);
    click(*f, "Btn_PasteRow");
    EXPECT_EQ(messageTexts().size(), 1);  // nothing copied in this opening
    m_fakes.dialogs.messages.clear();
    click(*f, "Btn_CopyRow");
    EXPECT_TRUE(tx->Do_Copy());
    g->MoveCurrentCell(2, 3, true, true);
    click(*f, "Btn_PasteRow");
    EXPECT_EQ(g->GetCellEx(2, 3), QStringLiteral("10"));

    m_fakes.dialogs.messageAnswers = {mrYes};
    g->MoveCurrentCell(2, 1, true, true);
    click(*f, "Btn_DelRow");
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_EQ(messageTexts()[0], QStringLiteral("Are you sure to delete the Row number 1"));
    EXPECT_EQ(g->GetCellEx(2, 1), QStringLiteral("20"));
    reopen(*f);
    EXPECT_FALSE(tx->Do_Copy());
}

// ---- texts ---------------------------------------------------------------------------------

TEST_F(FrameWindows, WindowsShowTheirTextsHintsAndSize)
{
    auto rx = open(Window::J1939Receive);
    auto* j = static_cast<TFReceiveJ1939*>(rx.get());
    EXPECT_EQ(j->windowTitle(), QStringLiteral("J1939 Received Frames"));
    EXPECT_EQ(j->sga->GetCellEx(9, 0), QStringLiteral("Time(ms)"));
    EXPECT_EQ(j->Hint_ReceiveJ1939().size(), 10);
    QString hint;
    j->GridHint(j->sga, 0, 2, hint);
    EXPECT_EQ(hint, QStringLiteral("Parameter group number, 0 to 65535"));
    EXPECT_EQ(j->NUM_BYTE_IN, 1440);

    auto kf = open(Window::Knx);
    auto* k = static_cast<TFKNXAccess*>(kf.get());
    EXPECT_EQ(k->ACG_KNX_in_Write->GetCellEx(7, 0), QStringLiteral("Mul. Factor"));
    // The hint list passes over text 4539: OnCMD's hint is 4540.
    ASSERT_EQ(k->Hint().size(), 18);
    EXPECT_EQ(k->Hint()[9], QStringLiteral("Y: the telegram is sent on command"));
    EXPECT_EQ(k->Max_Num_Byte, 1500);

    ProgramState& s = programState();
    s.Language_Table[4715] = QStringLiteral("Priorita");
    s.Language_Table[4707] = QStringLiteral("Incolla riga");
    auto tf = open(Window::NmeaTransmit);
    EXPECT_EQ(tf->grid(0)->GetCellEx(1, 0), QStringLiteral("Priorita"));
    auto* paste = tf->findChild<QAbstractButton*>(QStringLiteral("Btn_PasteRow"));
    ASSERT_NE(paste, nullptr);
    EXPECT_EQ(paste->text(), QStringLiteral("Incolla riga"));
    // Hints are off in the NMEA 2000 transmit grid, though its list is filled.
    auto* nt = static_cast<TFTransmitNMEA*>(tf.get());
    EXPECT_EQ(nt->Hint_TransmitNMEA().size(), 10);
    nt->GridHint(nt->sga, 0, 2, hint);
    EXPECT_EQ(hint, QString());
}

}  // namespace
}  // namespace zfw
