// The DeviceNet byte offset window driven as a user would: choosing slaves keeps the edits,
// Cancel discards them, OK checks and writes, a bad file is told and guarded.

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "editors/fieldbus/UDeviceNetOffset.h"
#include "grid/ColumnGrid.h"
#include "support/FakeServices.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace zfw {
namespace {

class DeviceNetOffsetWindow : public test::TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        ProgramState& s = programState();
        Fill_Default_Language(s);
        s.Dir_Project = root();
        Set_Files(s);
    }
    std::unique_ptr<TFDefOffset> open()
    {
        auto f = std::make_unique<TFDefOffset>(
            RuleEditorContext{&programState(), QStringLiteral("CODE"), &m_fakes.dialogs});
        reopen(*f);
        return f;
    }
    void reopen(TFDefOffset& f)
    {
        m_fakes.dialogs.messages.clear();
        f.hide();
        f.show();
    }
    static void click(TFDefOffset& f, const char* name)
    {
        auto* b = f.findChild<QAbstractButton*>(QLatin1String(name));
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void writeSlaves()
    {
        ASSERT_TRUE(test::writeFile(
            programState().File_DNETM_Net,
            "<DNET_Net><row ID=\"4\" NB_IN=\"2\" NB_OUT=\"1\" Mnemonic=\"Valve\"/>"
            "<row ID=\"0x3F\" NB_IN=\"0\" NB_OUT=\"3\" Mnemonic=\"Drive\"/></DNET_Net>"));
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

TEST_F(DeviceNetOffsetWindow, ShowsTheSlavesAndTheBytesOfTheFirst)
{
    writeSlaves();
    auto f = open();
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Define DeviceNet Offsets"));
    EXPECT_EQ(f->Label1->text(), QStringLiteral("Select the Slave DeviceNet"));
    EXPECT_EQ(f->PageControl1->tabText(1), QStringLiteral("Byte Out"));
    EXPECT_EQ(f->ACG_DN_Slaves->FixedCols(), 0);
    EXPECT_EQ(f->ACG_DN_Slaves->LeftCol(), 0);
    EXPECT_EQ(f->ACG_DN_Slaves->RowCount(), 3);
    EXPECT_EQ(f->ACG_DN_Slaves->GetCellEx(0, 2), QStringLiteral("0x3F"));
    EXPECT_EQ(f->ACG_DN_Slaves->GetCellEx(3, 0), QStringLiteral("Mnemonic"));
    EXPECT_EQ(f->Slave_Before_Select, 0);
    EXPECT_EQ(f->ACG_ByteIN->RowCount(), 3);
    EXPECT_EQ(f->ACG_ByteIN->GetCellEx(0, 2), QStringLiteral("1"));
    EXPECT_EQ(f->ACG_ByteIN->GetCellEx(1, 2), QStringLiteral("None"));
    EXPECT_EQ(f->ACG_ByteOUT->RowCount(), 2);
    EXPECT_EQ(f->ACG_ByteOUT->Columns().GetItem(1)->ComboItems().size(), 1441);
    EXPECT_EQ(f->ACG_ByteOUT->Columns().GetItem(1)->ComboItems().last(), QStringLiteral("1439"));

    // The second slave has no input bytes: the header row alone.
    f->ACG_DN_Slaves->MoveCurrentCell(0, 2, true, true);
    EXPECT_EQ(f->Slave_Before_Select, 1);
    EXPECT_EQ(f->ACG_ByteIN->RowCount(), 1);
    EXPECT_EQ(f->ACG_ByteIN->GetCellEx(1, 0), QStringLiteral("Offset"));
    EXPECT_EQ(f->ACG_ByteOUT->RowCount(), 4);

    // Back to the first: the header row is fixed again above the bytes.
    f->ACG_DN_Slaves->MoveCurrentCell(0, 1, true, true);
    EXPECT_EQ(f->ACG_ByteIN->RowCount(), 3);
    EXPECT_EQ(f->ACG_ByteIN->FixedRows(), 1);
    EXPECT_EQ(f->ACG_ByteIN->GetCellEx(0, 1), QStringLiteral("0"));
}

TEST_F(DeviceNetOffsetWindow, SwitchingSlavesKeepsEditsAndCancelDiscardsThem)
{
    writeSlaves();
    auto f = open();
    f->ACG_ByteIN->SetCellEx(1, 2, QStringLiteral("17"));
    f->ACG_ByteIN->SetCellEx(2, 2, QStringLiteral("level"));
    f->ACG_ByteOUT->SetCellEx(1, 1, QStringLiteral("5"));
    f->ACG_DN_Slaves->MoveCurrentCell(0, 2, true, true);
    f->ACG_ByteOUT->SetCellEx(1, 3, QStringLiteral("6"));
    f->ACG_DN_Slaves->MoveCurrentCell(0, 1, true, true);
    EXPECT_EQ(f->ACG_ByteIN->GetCellEx(1, 2), QStringLiteral("17"));
    EXPECT_EQ(f->ACG_ByteIN->GetCellEx(2, 2), QStringLiteral("level"));
    EXPECT_EQ(f->ACG_ByteOUT->GetCellEx(1, 1), QStringLiteral("5"));
    EXPECT_EQ(f->List_Slaves_DN()[1].SL_ByteOUT, (QStringList{"None", "None", "6"}));

    click(*f, "Btn_Cancel");
    EXPECT_FALSE(QFile::exists(programState().File_DNETM_DefOff));
    reopen(*f);
    EXPECT_EQ(f->ACG_ByteIN->GetCellEx(1, 2), QStringLiteral("None"));
    EXPECT_EQ(f->List_Slaves_DN()[1].SL_ByteOUT, (QStringList{"None", "None", "None"}));
}

TEST_F(DeviceNetOffsetWindow, OkRefusesAnOutputOffsetTakenTwiceThenWritesTheShownSlave)
{
    writeSlaves();
    auto f = open();
    f->ACG_ByteOUT->SetCellEx(1, 1, QStringLiteral("8"));
    f->ACG_DN_Slaves->MoveCurrentCell(0, 2, true, true);
    // The edit of the slave shown is stored at OK without choosing another slave.
    f->ACG_ByteOUT->SetCellEx(1, 2, QStringLiteral("8"));
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(),
              QStringList{"Error in ByteOUT! The same byte of LoRaWAN is used in two bytes "
                          "DeviceNet.\n\r( First ID = 4 Byte = 0, Second ID = 63 Byte = 1)"});
    EXPECT_EQ(m_fakes.dialogs.messages.back().type, TMsgDlgType::mtError);
    EXPECT_FALSE(QFile::exists(programState().File_DNETM_DefOff));
    EXPECT_NE(f->result(), mrOk);

    f->ACG_ByteOUT->SetCellEx(1, 2, QStringLiteral("9"));
    m_fakes.dialogs.messages.clear();
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->result(), mrOk);
    const QByteArray written = test::readFile(programState().File_DNETM_DefOff);
    EXPECT_TRUE(written.contains("<Nodo_DNET ID=\"63\">")) << written.toStdString();
    EXPECT_TRUE(written.contains("<row Offset=\"9\" Mnemonic=\"\"/>"));

    // Deleting the first slave no longer hands its offsets to the next.
    ASSERT_TRUE(test::writeFile(
        programState().File_DNETM_Net,
        "<DNET_Net><row ID=\"0x3F\" NB_IN=\"0\" NB_OUT=\"3\" Mnemonic=\"Drive\"/></DNET_Net>"));
    reopen(*f);
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->ACG_ByteOUT->GetCellEx(1, 1), QStringLiteral("None"));
    EXPECT_EQ(f->ACG_ByteOUT->GetCellEx(1, 2), QStringLiteral("9"));
}

TEST_F(DeviceNetOffsetWindow, ABadSlaveListIsToldAndOkAsksBeforeSaving)
{
    ASSERT_TRUE(test::writeFile(programState().File_DNETM_Net,
                                "<DNET_Net><row ID=\"4\" NB_IN=\"2\" NB_OUT=\"1\" Mnemonic=\"\"/>"
                                "<row ID=\"4\" NB_IN=\"two\" NB_OUT=\"1\" Mnemonic=\"\"/>"
                                "</DNET_Net>"));
    const QByteArray old = "<Define_Offset/>";
    ASSERT_TRUE(test::writeFile(programState().File_DNETM_DefOff, old));
    auto f = open();
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].contains(QStringLiteral("DNETM_Net.xml, row 2")))
        << messageTexts()[0].toStdString();
    EXPECT_EQ(f->ACG_DN_Slaves->RowCount(), 2);

    m_fakes.dialogs.messages.clear();
    m_fakes.dialogs.messageAnswers = {mrNo};
    click(*f, "Btn_OK");
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].buttons, TMsgDlgButtons(mbYes | mbNo));
    EXPECT_EQ(test::readFile(programState().File_DNETM_DefOff), old);

    m_fakes.dialogs.messageAnswers = {mrYes};
    click(*f, "Btn_OK");
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_TRUE(test::readFile(programState().File_DNETM_DefOff).contains("Nodo_DNET ID=\"4\""));
}

TEST_F(DeviceNetOffsetWindow, WithoutSlavesBothByteGridsShowTheHeaderRowAndOkWritesTheRoot)
{
    auto f = open();
    EXPECT_EQ(f->ACG_DN_Slaves->RowCount(), 1);
    EXPECT_EQ(f->ACG_ByteIN->RowCount(), 1);
    EXPECT_EQ(f->ACG_ByteOUT->RowCount(), 1);
    click(*f, "Btn_OK");
    EXPECT_EQ(test::readFile(programState().File_DNETM_DefOff),
              QByteArray("<Define_Offset/>\n<!--SW_VERSION = 1.000-->\n"));
}

}  // namespace
}  // namespace zfw
