// The CANopen PDO, SDO client and SDO server editors and the DeviceNet slave list, driven
// through their windows: opening and OK without a change, what a bad file tells the user,
// the row tools without an Enable column, the messages of OK, hints and copy flags.

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "editors/fieldbus/UDeviceNet_Net.h"
#include "editors/fieldbus/UPDO_Access.h"
#include "editors/fieldbus/USDO_Client_Access.h"
#include "editors/fieldbus/USDO_Server_Access.h"
#include "grid/ColumnGrid.h"
#include "support/CaseName.h"
#include "support/FakeServices.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace zfw {
namespace {

QString golden(const char* file)
{
    return QStringLiteral(ZFW_TEST_DATA_DIR "/fieldbus/canopen/") + QLatin1String(file);
}

void setRow(TRuleGrid* g, int r, const QStringList& cells)
{
    for (int i = 0; i < cells.size(); ++i)
        g->SetCellEx(i + 1, r, cells[i]);
}

QStringList row(const TRuleGrid* g, int r)
{
    QStringList out;
    for (int c = 1; c < g->store().AllColCount(); ++c)
        out.append(g->GetCellEx(c, r));
    return out;
}

enum class Kind { Pdo, SdoClient, SdoServer, DeviceNet };

struct WindowCase {
    const char* name;
    Kind kind;
    const char* file;
    QString ProgramState::*path;
    std::vector<const char*> objects;  // object names the window must have
    int rows;                          // header included
};

const WindowCase kWindows[] = {
    {"Pdo",
     Kind::Pdo,
     "PDO_CANopen.xml",
     &ProgramState::File_PDO_CANopen,
     {"TFSet_PDO_Access", "PageControl1", "TS_Receive_PDO", "TS_Transmit_PDO", "sga", "sgb",
      "Btn_OK", "Btn_Cancel", "Btn_DelRow", "Btn_InsRow", "Btn_CopyRow", "Btn_PasteRow"},
     31},
    {"SdoClient",
     Kind::SdoClient,
     "SDO_Client_CANopen.xml",
     &ProgramState::File_SDO_Client_CANopen,
     {"TFSet_SDO_Client_Access", "PageControl1", "TS_SDO_Read", "TS_SDO_Write", "sga", "sgb"},
     257},
    {"SdoServer",
     Kind::SdoServer,
     "SDO_Server_CANopen.xml",
     &ProgramState::File_SDO_Server_CANopen,
     {"TFSet_SDO_Server_Access", "PageControl1", "TS_SDO_Read", "TS_SDO_Write", "sga", "sgb"},
     501},
    {"DeviceNet",
     Kind::DeviceNet,
     "DNETM_Net.xml",
     &ProgramState::File_DNETM_Net,
     {"TFDNet", "ESG", "Btn_OK", "Btn_InsRow"},
     65},
};

class CANopenWindow : public test::TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        ProgramState& s = programState();
        Fill_Default_Language(s);
        s.Dir_Project = root();
        Set_Files(s);
    }

    RuleEditorContext context()
    {
        return {&programState(), QStringLiteral("CODE"), &m_fakes.dialogs};
    }

    std::unique_ptr<TRuleEditorFrame> make(Kind kind)
    {
        switch (kind) {
        case Kind::Pdo: return std::make_unique<TFSet_PDO_Access>(context());
        case Kind::SdoClient: return std::make_unique<TFSet_SDO_Client_Access>(context());
        case Kind::SdoServer: return std::make_unique<TFSet_SDO_Server_Access>(context());
        case Kind::DeviceNet: return std::make_unique<TFDNet>(context());
        }
        return {};
    }
    template <class Form>
    std::unique_ptr<Form> open()
    {
        auto f = std::make_unique<Form>(context());
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
    QStringList messageTexts() const
    {
        QStringList out;
        for (const test::ShownMessage& m : m_fakes.dialogs.messages)
            out.append(m.text);
        return out;
    }

    test::ScopedFakeServices m_fakes;
};

class CANopenWindowGolden : public CANopenWindow,
                            public ::testing::WithParamInterface<WindowCase> {};

TEST_P(CANopenWindowGolden, OpensWithoutAWordAndOkWritesTheSameBytes)
{
    const WindowCase& c = GetParam();
    const QString path = programState().*c.path;
    const QByteArray original = test::readFile(golden(c.file));
    ASSERT_FALSE(original.isEmpty());
    ASSERT_TRUE(test::writeFile(path, original));
    std::unique_ptr<TRuleEditorFrame> f = make(c.kind);
    reopen(*f);
    EXPECT_EQ(messageTexts(), QStringList());
    for (const char* name : c.objects)
        EXPECT_TRUE(f->objectName() == QLatin1String(name)
                    || f->findChild<QObject*>(QLatin1String(name)) != nullptr)
            << name;
    for (int t = 0; t < f->tableCount(); ++t) {
        TRuleGrid* g = f->grid(t);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->RowCount(), c.rows);
        // No Enable column: nothing is "Y" at opening, the rows are numbered.
        EXPECT_EQ(g->GetCellEx(0, c.rows - 1), QString::number(c.rows - 1));
        EXPECT_EQ(g->GetCellEx(1, c.rows - 1), QString());
    }
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_EQ(test::readFile(path).toStdString(), original.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Windows, CANopenWindowGolden, ::testing::ValuesIn(kWindows),
                         test::CaseName());

// ---- bad files -----------------------------------------------------------------------------

struct BadFileCase {
    const char* name;
    Kind kind;
    QString ProgramState::*path;
    QByteArray xml;
    const char* messageStart;
    bool asks;  // OK asks before replacing the file
};

QByteArray manyDeviceNetRows()
{
    QByteArray x = "<DNET_Net>";
    for (int i = 0; i < 100000; ++i)
        x += "<row ID=\"1\" NB_IN=\"1\" NB_OUT=\"1\" Mnemonic=\"\"/>";
    return x + "</DNET_Net>";
}

const BadFileCase kBadFiles[] = {
    {"PdoNotWellFormed", Kind::Pdo, &ProgramState::File_PDO_CANopen,
     "<PDO_CANopen><Receive_PDO><row COB-ID=\"1\"", "Error!!! The rules could not be read", true},
    {"PdoWithoutTransmitTable", Kind::Pdo, &ProgramState::File_PDO_CANopen,
     "<PDO_CANopen><Receive_PDO/></PDO_CANopen>", "Warning!!! The file has no table ", true},
    {"SdoClientRowWithoutAValue", Kind::SdoClient, &ProgramState::File_SDO_Client_CANopen,
     "<SDO_Client_CANopen><SDO_Read><row Device_ID=\"1\" Index=\"0x2000\" SubIndex=\"0\" "
     "NByte=\"1\" Poll_Time=\"1\" Address_B1=\"0\" Address_B2=\"\" Address_B3=\"\" "
     "Address_B4=\"\"/></SDO_Read><SDO_Write/></SDO_Client_CANopen>",
     "Warning!!! Values missing in the file were set to their defaults: ", true},
    {"SdoServerControlCharacters", Kind::SdoServer, &ProgramState::File_SDO_Server_CANopen,
     "<SDO_Server_CANopen><SDO_Read>\x01</SDO_Read></SDO_Server_CANopen>",
     "Error!!! The rules could not be read", true},
    {"DeviceNetHundredThousandRows", Kind::DeviceNet, &ProgramState::File_DNETM_Net,
     manyDeviceNetRows(), "Warning!!! Rules of the file that the table cannot show", true},
    {"DeviceNetNotUtf8", Kind::DeviceNet, &ProgramState::File_DNETM_Net,
     "<DNET_Net><row ID=\"1\" NB_IN=\"1\" NB_OUT=\"1\" Mnemonic=\"V\xe4lve\"/></DNET_Net>", "",
     false},
};

class CANopenBadFile : public CANopenWindow, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(CANopenBadFile, TheUserIsToldAndNothingIsReplacedWithoutAYes)
{
    const BadFileCase& c = GetParam();
    const QString path = programState().*c.path;
    ASSERT_TRUE(test::writeFile(path, c.xml));
    std::unique_ptr<TRuleEditorFrame> f = make(c.kind);
    reopen(*f);
    if (*c.messageStart == 0) {
        EXPECT_EQ(messageTexts(), QStringList());
        EXPECT_EQ(f->grid(0)->GetCellEx(4, 1), QString::fromUtf8("V\xc3\xa4lve"));
        return;
    }
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].startsWith(QLatin1String(c.messageStart)))
        << messageTexts()[0].toStdString();
    // A file that cannot be read is named; the other reports name the table or the count.
    if (messageTexts()[0].startsWith(QLatin1String("Error"))) {
        EXPECT_TRUE(messageTexts()[0].contains(QFileInfo(path).fileName()))
            << messageTexts()[0].toStdString();
    }
    m_fakes.dialogs.messages.clear();
    m_fakes.dialogs.messageAnswers = {mrNo};
    click(*f, "Btn_OK");
    EXPECT_EQ(test::readFile(path), c.xml);
    EXPECT_NE(f->result(), mrOk);
    if (c.asks) {
        ASSERT_FALSE(m_fakes.dialogs.messages.empty());
        EXPECT_EQ(m_fakes.dialogs.messages.back().buttons, TMsgDlgButtons(mbYes | mbNo));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, CANopenBadFile, ::testing::ValuesIn(kBadFiles), test::CaseName());

// ---- OK, row tools, hints ------------------------------------------------------------------

TEST_F(CANopenWindow, PdoOkStopsAtTheAddressWithItsBound)
{
    auto f = open<TFSet_PDO_Access>();
    for (int r = 1; r <= 3; ++r)
        setRow(f->sga, r, {"0x181", "1", "0", "", "", "", "", "", "", "", "0", ""});
    f->sga->SetCellEx(3, 3, QStringLiteral("1500"));
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(),
              QStringList{"Error row 3!! [Receive PDO] Address Byte1 must be between 0 and 1499"});
    EXPECT_EQ(m_fakes.dialogs.messages.back().type, TMsgDlgType::mtError);
    EXPECT_FALSE(QFile::exists(programState().File_PDO_CANopen));

    // A blank COB-ID in row 1 of the transmit grid: an empty table element is written.
    f->sga->SetCellEx(3, 3, QStringLiteral("1499"));
    setRow(f->sgb, 2, {"abc"});
    m_fakes.dialogs.messages.clear();
    m_fakes.dialogs.messageAnswers = {mrYes};
    click(*f, "Btn_OK");
    EXPECT_EQ(f->result(), mrOk);
    const QByteArray written = test::readFile(programState().File_PDO_CANopen);
    EXPECT_TRUE(written.contains("<Transmit_PDO/>")) << written.toStdString();
    EXPECT_TRUE(written.contains("On_Change=\"\"") || !written.contains("On_Change"));
}

TEST_F(CANopenWindow, SdoServerRefusesAnIndexAndSubIndexGivenTwice)
{
    auto f = open<TFSet_SDO_Server_Access>();
    setRow(f->sga, 1, {"0x2000", "1", "1", "0"});
    setRow(f->sgb, 1, {"8192", "0x01", "2", "0", "1"});
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(),
              QStringList{"Error row 1!! [SDO in Write] Index and SubIndex already used in the "
                          "row 1 of the table SDO in Read"});
    EXPECT_FALSE(QFile::exists(programState().File_SDO_Server_CANopen));
}

TEST_F(CANopenWindow, InsertLeavesTheNewRowEmptyAndDeleteAsksFirst)
{
    auto f = open<TFSet_SDO_Client_Access>();
    f->setActiveTable(1);
    const QStringList rule = {"1", "0x2000", "0", "1", "0", "Y", "0", "", "", "", "a"};
    setRow(f->sgb, 1, rule);
    f->sgb->MoveCurrentCell(2, 1, true, true);
    click(*f, "Btn_InsRow");
    EXPECT_EQ(row(f->sgb, 1), QStringList(11, QString()));
    EXPECT_EQ(row(f->sgb, 2), rule);
    EXPECT_EQ(f->sgb->GetCellEx(0, 1), QStringLiteral("1"));

    m_fakes.dialogs.messageAnswers = {mrYes};
    click(*f, "Btn_DelRow");
    EXPECT_EQ(messageTexts(), QStringList{"Are you sure to delete the Row number 1"});
    EXPECT_EQ(row(f->sgb, 1), rule);
}

TEST_F(CANopenWindow, ARowCopiedFromOneGridIsNotPastedIntoTheOther)
{
    auto f = open<TFSet_PDO_Access>();
    setRow(f->sga, 1, {"0x181", "1", "0"});
    f->sga->MoveCurrentCell(1, 1, true, true);
    click(*f, "Btn_CopyRow");
    EXPECT_TRUE(f->Do_Copy_Receive_PDO());
    EXPECT_FALSE(f->Do_Copy_Transmit_PDO());
    f->setActiveTable(1);
    f->sgb->MoveCurrentCell(1, 1, true, true);
    click(*f, "Btn_PasteRow");
    EXPECT_EQ(messageTexts(), QStringList{"Error!!! Copy a valid row before Paste it"});
    EXPECT_EQ(f->sgb->GetCellEx(1, 1), QString());
}

TEST_F(CANopenWindow, HeadersTabsAndHintsComeFromTheLanguageTable)
{
    auto f = open<TFSet_PDO_Access>();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Set CANopen PDO Access"));
    EXPECT_EQ(f->PageControl1->tabText(1), QStringLiteral("Transmit PDO"));
    EXPECT_EQ(f->sgb->GetCellEx(11, 0), QStringLiteral("Send Time"));
    EXPECT_EQ(f->Hint_PDO_Transmit().value(0),
              QStringLiteral("Insert the CobID of the CANopen PDO in Transmit"));
    QString hint;
    f->setActiveTable(1);
    f->GridHint(f->sgb, 0, 12, hint);
    EXPECT_EQ(hint,
              QStringLiteral("Enable or Disable the possibility to send the CANopen PDO Frame if a "
                             "Data Byte changes"));

    auto d = open<TFDNet>();
    EXPECT_EQ(d->ESG->GetCellEx(1, 0), QStringLiteral("ID Slave"));
    EXPECT_EQ(d->Hint_DeviceNet().value(3),
              QStringLiteral("Insert a description of DeviceNet Slave"));
}

TEST_F(CANopenWindow, DeviceNetBlankIdIsASlaveAndItsRowIsNamed)
{
    auto f = open<TFDNet>();
    setRow(f->ESG, 1, {"1", "2", "3", "a"});
    setRow(f->ESG, 2, {" ", "2", "3", ""});
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList{"Error in row 2!! ID must be 0 or 63"});
}

}  // namespace
}  // namespace zfw
