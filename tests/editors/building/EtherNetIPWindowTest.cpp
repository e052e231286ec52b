// The EtherNet/IP windows driven offscreen: the scanner editor with its EDS import and its
// data-segment edit, the connection chooser, the data-segment editor, the GSDML file-name
// dialog, and the GSD and GSDML steps.

#include "editors/building/UEtherNetIP_Data_Seg.h"
#include "editors/building/UEtherNetIP_EDS.h"
#include "editors/building/UEtherNetIP_Master_Access.h"
#include "editors/building/UProfibusProfinetSteps.h"
#include "editors/building/UProfinetFileName.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "grid/ColumnGrid.h"
#include "support/FakeServices.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace zfw {
namespace {

const char* const kEds = R"([Device]
  VendCode = 1;
  ProdType = 12;
  ProdCode = 3;
  MajRev = 2;
  MinRev = 1;
[Connection Manager]
  Connection1 = 0x04030002,0x44640405,,,,,,,,,4,Assem1,"Exclusive Owner","",
      "20 04 24 64 2C 96 2C 64";
  Connection2 = 0x04030002,0x00002300,,,,,,,,,,,"Listen Only","Help","20 04 2C 64 2C 65";
[Assembly]
  Assem1 = "Config", "", 32,,,, 16, Param1, 8, Param2;
[Params]
  Param1 = 0, "", "", 0, 0xC7, 2, "Speed", "", "", 0, 2000, 1000;
  Param2 = 0, "", "", 0, 0xC6, 1, "Mode", "", "", 0, 1, 1;
  Enum2 = 0, "Off", 1, "On";
)";

class EtherNetIPWindow : public test::TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        ProgramState& s = programState();
        Fill_Default_Language(s);
        s.Dir_Project = root();
        s.File_ParGen = path(QStringLiteral("ParGen.xml"));
        s.File_EtherNetIP_Master_Rules = path(QStringLiteral("EtherNetIP_Master_Rules.xml"));
        m_edsPath = path(QStringLiteral("drive.eds"));
        ASSERT_TRUE(test::writeFile(m_edsPath, kEds));
    }

    RuleEditorContext context() { return {&programState(), QStringLiteral("CODE"), &dialogs()}; }
    test::FakeDialogs& dialogs() { return m_fakes.dialogs; }

    std::unique_ptr<TFEtherNetIP_Master_Access> openEditor()
    {
        auto f = std::make_unique<TFEtherNetIP_Master_Access>(context());
        f->show();
        return f;
    }
    static void click(QWidget& w, const char* name)
    {
        auto* b = w.findChild<QAbstractButton*>(QLatin1String(name));
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
    QString m_edsPath;
};

TEST_F(EtherNetIPWindow, GoldenOpenThenOkWritesTheSameBytes)
{
    const QByteArray golden = test::readFile(
        QStringLiteral(ZFW_TEST_DATA_DIR "/enip/EtherNetIP_Master_Rules.xml"));
    ASSERT_TRUE(test::writeFile(programState().File_EtherNetIP_Master_Rules, golden));
    auto f = openEditor();
    EXPECT_EQ(f->ACG->RowCount(), 11);
    EXPECT_TRUE(f->ArrTargetConf(1));
    f->Btn_OKClick();
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_EQ(test::readFile(programState().File_EtherNetIP_Master_Rules).toStdString(),
              golden.toStdString());
}

TEST_F(EtherNetIPWindow, ImportThenEditDataSegment)
{
    auto f = openEditor();
    f->ACG->SetCellEx(2, 1, QStringLiteral("10.0.0.1"));
    dialogs().fileAnswers.push_back(m_edsPath);
    dialogs().onShowModal = [](QDialog& d) {
        auto* chooser = qobject_cast<TFEtherNEtIP_EDS*>(&d);
        if (!chooser)
            return mrCancel;
        chooser->show();
        EXPECT_EQ(chooser->ACG->RowCount(), 3);
        EXPECT_EQ(chooser->ACG->Cells(1, 1), QStringLiteral("\"Exclusive Owner\""));
        EXPECT_EQ(chooser->ACG->Cells(7, 1), QStringLiteral("Default"));
        chooser->ACG->SetRow(1);
        chooser->hide();
        return mrOk;
    };
    // The editor is wider than the offscreen screen, whose width the button band does not
    // follow: its buttons are pressed through their handlers.
    f->Btn_Import_EDSClick();
    ASSERT_EQ(dialogs().fileDialogs.size(), 1u);
    EXPECT_EQ(dialogs().fileDialogs[0].request.filter,
              QStringLiteral("EtherNet/IP EDS (*.eds)|*.eds"));
    TRuleGrid* g = f->ACG;
    EXPECT_EQ(g->Cells(10, 2), QStringLiteral("100"));  // Instance O > T
    EXPECT_EQ(g->Cells(11, 2), QStringLiteral("150"));
    EXPECT_EQ(g->Cells(13, 2), QStringLiteral("Default"));
    EXPECT_EQ(g->Cells(15, 2), QStringLiteral("0x01, 0x00, 0x0C, 0x00, 0x03, 0x00, 0x82, 0x01"));
    EXPECT_EQ(g->Cells(17, 2), QStringLiteral("0xE8,0x03,0x01,0x00"));
    EXPECT_EQ(messageTexts(), QStringList());

    // Cancel in the data-segment editor keeps the configuration; OK takes the new values.
    dialogs().onShowModal = [](QDialog& d) {
        auto* seg = qobject_cast<TFEtherNetIP_Data_Seg*>(&d);
        if (!seg)
            return mrCancel;
        seg->show();
        seg->ESG_DataSegComboChange(2, QStringLiteral("Off"));
        seg->hide();
        return mrCancel;
    };
    f->DblClickCell(g, 2, 17);
    EXPECT_EQ(g->Cells(17, 2), QStringLiteral("0xE8,0x03,0x01,0x00"));
    dialogs().onShowModal = [](QDialog& d) {
        auto* seg = qobject_cast<TFEtherNetIP_Data_Seg*>(&d);
        if (!seg)
            return mrCancel;
        seg->show();
        EXPECT_EQ(seg->ESG_DataSeg->Cells(4, 2), QStringLiteral("On"));
        seg->ESG_DataSeg->SetCells(4, 1, QStringLiteral("0x10"));
        seg->ESG_DataSegComboChange(2, QStringLiteral("Off"));
        EXPECT_EQ(seg->ESG_DataSeg->Cells(8, 2), QStringLiteral("0"));
        const bool ok = seg->Check_Value();
        seg->hide();
        return ok ? mrOk : mrCancel;
    };
    f->DblClickCell(g, 2, 17);
    EXPECT_EQ(g->Cells(17, 2), QStringLiteral("0x10,0x00,0x00,0x00"));

    // Row 2 now needs an IP address and the rest of a rule for OK to write it.
    const QStringList rest = {"0", "1", "0", "1", "100"};
    g->SetCellEx(2, 2, QStringLiteral("10.0.0.2"));
    for (int i = 0; i < rest.size(); ++i)
        g->SetCellEx(3 + i, 2, rest[i]);
    for (int c : {3, 4, 5, 6})
        g->SetCellEx(c, 1, QStringLiteral("0"));
    g->SetCellEx(7, 1, QStringLiteral("10"));
    for (int c : {8, 9, 10, 11})
        g->SetCellEx(c, 1, QStringLiteral("1"));
    g->SetCellEx(12, 1, QStringLiteral("Default"));
    g->SetCellEx(13, 1, QStringLiteral("Default"));
    f->Btn_OKClick();
    EXPECT_EQ(messageTexts(), QStringList());
    const QByteArray saved = test::readFile(programState().File_EtherNetIP_Master_Rules);
    EXPECT_TRUE(saved.contains("<TargetCong FileName=")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("Value=\"16\"")) << saved.toStdString();
}

TEST_F(EtherNetIPWindow, ChooserWithoutConnectionReportsAndCancels)
{
    ASSERT_TRUE(test::writeFile(m_edsPath, "[Connection Manager]\nConnection1 = 1,2,3;\n"));
    TFEtherNEtIP_EDS chooser(context());
    chooser.EDS_FileName = m_edsPath;
    chooser.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialogs().messages.empty(); }, 2000));
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("Error!! No Valid Connection found")});
    EXPECT_EQ(chooser.result(), mrCancel);
    EXPECT_EQ(chooser.chosenConnection(), nullptr);
}

TEST_F(EtherNetIPWindow, DataSegmentEditorRefusesOutOfRangeWithItsLimits)
{
    TFEtherNetIP_Data_Seg seg(context());
    TTC_ParamObj p;
    p.Name = QStringLiteral("Speed");
    p.Min = -5;
    p.Max = 5;
    seg.TC.ListParamObject = {p};
    seg.show();
    EXPECT_EQ(seg.ESG_DataSeg->Cells(0, 0), QStringLiteral("Param"));
    seg.ESG_DataSeg->SetCells(4, 1, QStringLiteral("6"));
    click(seg, "Btn_OK");
    EXPECT_EQ(messageTexts(),
              QStringList{QStringLiteral("Param Number 1. The Value must be between -5 and 5")});
    EXPECT_EQ(seg.TC.ListParamObject[0].Value, 0);
    seg.ESG_DataSeg->SetCells(4, 1, QStringLiteral("-5"));
    click(seg, "Btn_OK");
    EXPECT_EQ(seg.result(), mrOk);
    EXPECT_EQ(seg.TC.ListParamObject[0].Value, -5);
}

TEST_F(EtherNetIPWindow, ProfinetFileNameComposedWithCreationDate)
{
    TFProfinetFileName d(context(), QDate(2025, 1, 9));
    d.show();
    d.E_XML_User->setText(QStringLiteral("Node7"));
    click(d, "Btn_OK");
    EXPECT_EQ(d.result(), mrOk);
    EXPECT_EQ(d.Name_File_XML, QStringLiteral("GSDML-V2.25-Brenik-_Node7-20250109.xml"));
}

TEST_F(EtherNetIPWindow, GsdStepNeedsParGenAndAppendsExtension)
{
    ProgramState& s = programState();
    EXPECT_EQ(Create_GSD_File(s, dialogs(), nullptr), DescriptionStep::NoParGen);
    EXPECT_EQ(messageTexts(), QStringList{s.lang(1104)});

    ASSERT_TRUE(test::writeFile(s.File_ParGen,
                                "<ParGen><PROFINET_NB_IN>10</PROFINET_NB_IN>"
                                "<PROFINET_NB_OUT>70</PROFINET_NB_OUT></ParGen>"));
    dialogs().fileAnswers.push_back(path(QStringLiteral("dev")));
    EXPECT_EQ(Create_GSD_File(s, dialogs(), nullptr), DescriptionStep::Written);
    ASSERT_EQ(dialogs().fileDialogs.size(), 1u);
    EXPECT_EQ(dialogs().fileDialogs[0].request.folder, root());
    EXPECT_TRUE(test::readFile(path(QStringLiteral("dev.gsd"))).contains("Max_Input_Len=70\r\n"));

    // An existing file is replaced only after Yes; a count a master cannot take is asked.
    dialogs().messages.clear();
    dialogs().fileAnswers.push_back(path(QStringLiteral("dev.gsd")));
    dialogs().messageAnswers.push_back(mrNo);
    EXPECT_EQ(Create_GSD_File(s, dialogs(), nullptr), DescriptionStep::Cancelled);
    EXPECT_EQ(messageTexts(), QStringList{s.lang(1103)});
    ASSERT_TRUE(test::writeFile(s.File_ParGen,
                                "<ParGen><PROFINET_NB_IN>300</PROFINET_NB_IN>"
                                "</ParGen>"));
    dialogs().messageAnswers.push_back(mrNo);
    EXPECT_EQ(Create_GSD_File(s, dialogs(), nullptr), DescriptionStep::Cancelled);
    EXPECT_TRUE(messageTexts().last().contains(QStringLiteral("300")));
}

TEST_F(EtherNetIPWindow, GsdmlStepWritesComposedNameIntoChosenFolder)
{
    ProgramState& s = programState();
    QDir(root()).mkpath(QStringLiteral("other"));
    const QString name = QStringLiteral("GSDML-V2.25-Brenik--20250109.xml");
    dialogs().fileAnswers.push_back(path(QStringLiteral("other/picked.xml")));
    EXPECT_EQ(Create_GSDML_File(name, s, dialogs(), nullptr), DescriptionStep::Written);
    ASSERT_EQ(dialogs().fileDialogs.size(), 1u);
    EXPECT_EQ(dialogs().fileDialogs[0].request.filter,
              QStringLiteral("PROFINET XML (*.xml)|") + name);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("other/picked.xml"))));
    const QByteArray bytes = test::readFile(path(QStringLiteral("other/") + name));
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF<?xml"));
    EXPECT_TRUE(bytes.contains("DNS_CompatibleName=\"SERIAL\""));

    dialogs().fileAnswers.push_back(path(QStringLiteral("other/picked.xml")));
    dialogs().messageAnswers.push_back(mrNo);
    EXPECT_EQ(Create_GSDML_File(name, s, dialogs(), nullptr), DescriptionStep::Cancelled);
    EXPECT_EQ(messageTexts(), QStringList{s.lang(4808)});
}

}  // namespace
}  // namespace zfw
