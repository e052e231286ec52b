// The BACnet client rules editor and its EDE import, driven through their windows.

#include "editors/building/BACnetFixture.h"

#include "editors/building/UBACnetAccess.h"
#include "editors/building/UImportEDEFile.h"
#include "support/CaseName.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace zfw {
namespace {

class ClientWindow : public test::BACnetWindowTest {
protected:
    static constexpr const char* kNoType =
        "Select the BACnet Type in the \"Set Communication\" section";
};

// ---- open, then OK without a change ------------------------------------------------------

struct GoldenCase {
    const char* name;
    const char* file;
    const char* parGen;  // null: no ParGen.xml
    bool deviceHidden;
};

const GoldenCase kGoldenCases[] = {
    {"IpWithoutParGen", "BACnet_Master_Access.xml", nullptr, false},
    {"HiddenDeviceColumn", "BACnet_Master_Access_hidden.xml",
     "<BACnet_Master_Type>2</BACnet_Master_Type>", true},
};

class ClientGolden : public ClientWindow, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(ClientGolden, OpenThenOkWritesTheSameBytes)
{
    const GoldenCase& c = GetParam();
    const QByteArray original = test::readFile(test::bacnetData(c.file));
    ASSERT_FALSE(original.isEmpty());
    if (c.parGen)
        writeParGen(c.parGen);
    const QString path = programState().File_BACnet_Master_Access;
    ASSERT_TRUE(test::writeFile(path, original));
    auto f = open<TFBACnetAccess>();
    EXPECT_EQ(messageTexts(), c.parGen ? QStringList() : QStringList{kNoType});
    EXPECT_EQ(f->ACG1->IsHiddenColumn(2), c.deviceHidden);
    EXPECT_EQ(f->ACG2->IsHiddenColumn(2), c.deviceHidden);
    m_fakes.dialogs.messages.clear();
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_EQ(test::readFile(path).toStdString(), original.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Files, ClientGolden, ::testing::ValuesIn(kGoldenCases), test::CaseName());

// ---- the device column by BACnet type ------------------------------------------------------

struct TypeCase {
    const char* name;
    const char* parGen;  // null: no file
    int type;
    const char* header;  // null: hidden
    bool asked;          // text 1357 shown
};

const TypeCase kTypeCases[] = {
    {"NoParGen", nullptr, 0, "IP Address", true},
    {"ParGenWithoutType", "<BACnet_Type>1</BACnet_Type>", 0, "IP Address", true},
    {"Ip", "<BACnet_Master_Type>0</BACnet_Master_Type>", 0, "IP Address", false},
    {"Mstp", "<BACnet_Master_Type>1</BACnet_Master_Type>", 1, "Slave ID", false},
    {"Other", "<BACnet_Master_Type>2</BACnet_Master_Type>", 2, nullptr, false},
};

class ClientType : public ClientWindow, public ::testing::WithParamInterface<TypeCase> {};

TEST_P(ClientType, DeviceColumnAndKey)
{
    const TypeCase& c = GetParam();
    if (c.parGen)
        writeParGen(c.parGen);
    auto f = open<TFBACnetAccess>();
    EXPECT_EQ(messageTexts(), c.asked ? QStringList{kNoType} : QStringList());
    EXPECT_EQ(f->App_BACnet_Type, c.type);
    for (TRuleGrid* g : {f->ACG1, f->ACG2}) {
        EXPECT_EQ(g->IsHiddenColumn(2), c.header == nullptr);
        if (c.header) {
            EXPECT_EQ(g->Columns().GetItem(2)->Header(), QLatin1String(c.header));
        }
    }
    // The Convertion columns never show; Position offers "0" to "1439".
    EXPECT_TRUE(f->ACG1->IsHiddenColumn(16));
    EXPECT_TRUE(f->ACG2->IsHiddenColumn(20));
    const QStringList positions = f->ACG1->Columns().GetItem(13)->ComboItems();
    ASSERT_EQ(positions.size(), 1440);
    EXPECT_EQ(positions.back(), QStringLiteral("1439"));
    EXPECT_EQ(f->ACG2->Columns().GetItem(17)->ComboItems().size(), 1440);
}

INSTANTIATE_TEST_SUITE_P(Types, ClientType, ::testing::ValuesIn(kTypeCases), test::CaseName());

TEST_F(ClientWindow, WindowValues)
{
    auto f = open<TFBACnetAccess>();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Set BACnet Access"));
    EXPECT_EQ(f->ACG1->RowCount(), 513);
    EXPECT_EQ(f->ACG2->RowCount(), 513);
    EXPECT_EQ(f->ACG1->GetCellEx(1, 512), QStringLiteral("Y"));
    EXPECT_EQ(f->PageControl1->tabText(1), QStringLiteral("BACnet Write"));
    EXPECT_EQ(f->Btn_Import_CSV->text(), QStringLiteral("Import EDE"));
    EXPECT_FALSE(f->Btn_CopyRow->isVisible());
    EXPECT_FALSE(f->Btn_PasteRow->isVisible());
    EXPECT_EQ(f->Btn_OK->toolTip(), QString());
    EXPECT_EQ(f->Btn_Import_CSV->toolTip(), QString());
    EXPECT_EQ(TFBACnetAccess::clientWidthFor(1270), 1000);
    EXPECT_EQ(TFBACnetAccess::clientWidthFor(1271), 1305);
    // Insert gives the new row Enable "Y".
    f->ACG1->SetCellEx(2, 1, QStringLiteral("10.0.0.1"));
    f->ACG1->MoveCurrentCell(3, 1, true, true);
    click(*f, "Btn_InsRow");
    EXPECT_EQ(f->ACG1->GetCellEx(1, 1), QStringLiteral("Y"));
    EXPECT_EQ(f->ACG1->GetCellEx(2, 1), QString());
    EXPECT_EQ(f->ACG1->GetCellEx(2, 2), QStringLiteral("10.0.0.1"));
}

// The import dialog the window owns follows the window's language change.
TEST_F(ClientWindow, LanguageChangeReachesTheImportDialog)
{
    TFBACnetAccess f(context());
    programState().Language_Table[1300] = QStringLiteral("Accesso BACnet");
    programState().Language_Table[1400] = QStringLiteral("Importa EDE");
    f.Set_Lang();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Accesso BACnet"));
    EXPECT_EQ(f.importDialog()->windowTitle(), QStringLiteral("Importa EDE"));
}

TEST_F(ClientWindow, FaultKeepsTheWindowOpenWithItsMessage)
{
    auto f = open<TFBACnetAccess>();
    m_fakes.dialogs.messages.clear();
    setCells(*f, 1, 1,
             {{"IP_Address_Slave_ID", "10.0.0.1"},
              {"Object_Type", "Analog Value"},
              {"Data_Type", "Unsigned Int"},
              {"Instance", "1"},
              {"Property", "Present Value (85)"}});
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(),
              QStringList{"Error in Write, row 1!! Data Type is not correct. Aspected Data Type is "
                          "Real"});
    EXPECT_NE(f->result(), mrOk);
    EXPECT_FALSE(QFile::exists(programState().File_BACnet_Master_Access));
}

// The read grid's NByte cells propose the byte count; the write grid shows no hints.
TEST_F(ClientWindow, NByteHintOfTheReadGrid)
{
    auto f = open<TFBACnetAccess>();
    setCells(*f, 0, 2, {{"Object_Type", "Large Analog Value"}, {"Property", "Present Value (85)"}});
    setCells(*f, 1, 2, {{"Object_Type", "Large Analog Value"}, {"Property", "Present Value (85)"}});
    QString hint;
    f->GridHint(f->ACG1, 2, f->ACG1->DisplColIndex(6), hint);
    EXPECT_EQ(hint, QStringLiteral("8"));
    f->GridHint(f->ACG1, 2, f->ACG1->DisplColIndex(5), hint);
    EXPECT_EQ(hint, QString());
    f->GridHint(f->ACG2, 2, f->ACG2->DisplColIndex(8), hint);
    EXPECT_EQ(hint, QString());
}

// ---- the EDE import --------------------------------------------------------------------------

const char kEde[] =
    "PROJECT_NAME;Boiler room\r\n"
    "VERSION_OF_REFERENCEFILE;1\r\n"
    "TIMESTAMP_OF_LAST_CHANGE;x\r\n"
    "AUTHOR_OF_LAST_CHANGE;x\r\n"
    "VERSION_OF_LAYOUT;2\r\n"
    "# mandatory;mandatory;mandatory;mandatory;mandatory\r\n"
    "# keyname;device obj.-instance;object-name;object-type;object-instance\r\n"
    "D;100;Boiler;8;100;Device;\r\n"
    "T;100;Flow;0;1;Flow temperature;;;;N;\r\n"
    "P;100;Pump;4;2;Pump command;;;;Y;\r\n";

class EdeImportWindow : public ClientWindow {
protected:
    QString edeFile(const QByteArray& bytes = kEde)
    {
        QDir().mkpath(path(QStringLiteral("device")));
        const QString p = path(QStringLiteral("device/boiler.csv"));
        EXPECT_TRUE(test::writeFile(p, bytes));
        return p;
    }
    // Answers the import dialog: shows it (its opening reads the file), lets the test act on
    // it, then returns its result.
    void onImport(std::function<void(TFImportEDEFile&)> act)
    {
        m_fakes.dialogs.onShowModal = [act](QDialog& d) {
            auto& dialog = dynamic_cast<TFImportEDEFile&>(d);
            dialog.setResult(mrNone);
            dialog.show();
            act(dialog);
            dialog.hide();
            return TModalResult(dialog.result());
        };
    }
};

TEST_F(EdeImportWindow, ChosenObjectsBecomeRulesAtRunningPositions)
{
    auto f = open<TFBACnetAccess>();
    m_fakes.dialogs.fileAnswers = {edeFile()};
    onImport([](TFImportEDEFile& d) {
        EXPECT_EQ(d.ACG->RowCount(), 3);
        EXPECT_EQ(d.ACG->GetCellEx(4, 1), QStringLiteral("Flow"));
        EXPECT_EQ(d.ACG->GetCellEx(8, 2), QStringLiteral("Y"));
        EXPECT_EQ(d.ACG->GetCellEx(3, 1), QStringLiteral("N"));
        d.E_ID_IP->setText(QStringLiteral("192.168.1.50"));
        d.Btn_OKClick();
    });
    click(*f, "Btn_Import_CSV");
    ASSERT_EQ(m_fakes.dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.fileDialogs[0].request.filter,
              QStringLiteral("BACnet EDE File (*.csv)|*.csv"));
    EXPECT_EQ(cellOf(*f, 0, "Position", 1), QStringLiteral("0"));
    EXPECT_EQ(cellOf(*f, 0, "Position", 2), QStringLiteral("4"));
    EXPECT_EQ(cellOf(*f, 0, "Mnemonic", 2), QStringLiteral("Pump - Pump command"));
    EXPECT_EQ(cellOf(*f, 0, "IP_Address_Slave_ID", 2), QStringLiteral("192.168.1.50"));
    EXPECT_EQ(cellOf(*f, 1, "Position", 1), QStringLiteral("0"));
    EXPECT_EQ(cellOf(*f, 1, "Data_Type", 1), QStringLiteral("Enumerated"));
    EXPECT_EQ(cellOf(*f, 1, "NumByte", 1), QStringLiteral("1"));
    EXPECT_EQ(cellOf(*f, 1, "Object_Type", 2), QString());
    EXPECT_EQ(programState().Dir_Last_EDE_Import, path(QStringLiteral("device")));
    // The new rules pass the checks and are saved.
    m_fakes.dialogs.messages.clear();
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->result(), mrOk);
}

TEST_F(EdeImportWindow, WriteBoxOfAReadOnlyObjectRefusedAndSelectAll)
{
    auto f = open<TFBACnetAccess>();
    m_fakes.dialogs.fileAnswers = {edeFile()};
    onImport([this](TFImportEDEFile& d) {
        m_fakes.dialogs.messages.clear();
        d.ACG->SetCellEx(3, 1, QStringLiteral("Y"));
        d.ACGCheckBoxClick(d.ACG, 3, 1, true);
        EXPECT_EQ(messageTexts(), QStringList{"Error line 1!! The Variable is only in read"});
        EXPECT_EQ(d.ACG->GetCellEx(3, 1), QStringLiteral("N"));
        EXPECT_FALSE(d.List_EDE_Var[0].write);
        d.Btn_Unselect_AllClick();
        EXPECT_EQ(d.ACG->GetCellEx(1, 2), QStringLiteral("N"));
        d.Btn_Select_AllClick();
        d.ACGCheckBoxClick(d.ACG, 2, 2, false);  // the pump only as a write rule
        d.E_ID_IP->setText(QStringLiteral("10.0.0.7"));
        d.Btn_OKClick();
    });
    click(*f, "Btn_Import_CSV");
    EXPECT_EQ(cellOf(*f, 0, "Object_Type", 1), QStringLiteral("Analog Input"));
    EXPECT_EQ(cellOf(*f, 0, "Object_Type", 2), QString());
    EXPECT_EQ(cellOf(*f, 1, "Object_Type", 1), QStringLiteral("Binary Output"));
}

// The boxes as a user toggles them: Space on a Write box of a read-only object is refused,
// and the Commandable boxes cannot be changed.
TEST_F(EdeImportWindow, SpaceOnTheBoxes)
{
    auto f = open<TFBACnetAccess>();
    m_fakes.dialogs.fileAnswers = {edeFile()};
    onImport([this](TFImportEDEFile& d) {
        QApplication::setActiveWindow(&d);
        auto press = [&d](int ACol, int ARow) {
            d.ACG->setFocus();
            d.ACG->MoveCurrentCell(ACol, ARow, true, true);
            QTest::keyClick(d.ACG, Qt::Key_Space);
            QApplication::processEvents();
        };
        m_fakes.dialogs.messages.clear();
        press(3, 1);
        EXPECT_EQ(messageTexts(), QStringList{"Error line 1!! The Variable is only in read"});
        EXPECT_EQ(d.ACG->GetCellEx(3, 1), QStringLiteral("N"));
        EXPECT_FALSE(d.List_EDE_Var[0].write);
        press(3, 2);
        EXPECT_EQ(d.ACG->GetCellEx(3, 2), QStringLiteral("N"));
        EXPECT_FALSE(d.List_EDE_Var[1].write);
        press(8, 1);
        EXPECT_EQ(d.ACG->GetCellEx(8, 1), QStringLiteral("N"));
        EXPECT_EQ(messageTexts().size(), 1);
    });
    click(*f, "Btn_Import_CSV");
}

TEST_F(EdeImportWindow, UnselectAllImportsNothing)
{
    auto f = open<TFBACnetAccess>();
    m_fakes.dialogs.fileAnswers = {edeFile()};
    onImport([](TFImportEDEFile& d) {
        d.Btn_Unselect_AllClick();
        d.E_ID_IP->setText(QStringLiteral("10.0.0.7"));
        d.Btn_OKClick();
    });
    click(*f, "Btn_Import_CSV");
    EXPECT_EQ(f->ACG1->GetCellEx(2, 1), QString());
    EXPECT_EQ(f->ACG2->GetCellEx(2, 1), QString());
}

struct DeviceCase {
    const char* name;
    const char* parGen;
    const char* typed;
    const char* message;  // empty: accepted
};

const DeviceCase kDeviceCases[] = {
    {"IpAccepted", "<BACnet_Master_Type>0</BACnet_Master_Type>", "10.1.2.3", ""},
    {"IpRefused", "<BACnet_Master_Type>0</BACnet_Master_Type>", "10.1.2",
     "Error!! IP Address is not correct"},
    {"SlaveId254", "<BACnet_Master_Type>1</BACnet_Master_Type>", "254", ""},
    {"SlaveId255", "<BACnet_Master_Type>1</BACnet_Master_Type>", "255",
     "Error!! Slave ID must be between 0 and 254"},
    {"OtherTypeUnchecked", "<BACnet_Master_Type>2</BACnet_Master_Type>", "anything", ""},
};

class EdeImportDevice : public EdeImportWindow, public ::testing::WithParamInterface<DeviceCase> {};

TEST_P(EdeImportDevice, DialogOkChecksTheDeviceByType)
{
    const DeviceCase& c = GetParam();
    writeParGen(c.parGen);
    auto f = open<TFBACnetAccess>();
    m_fakes.dialogs.fileAnswers = {edeFile()};
    bool closed = false;
    onImport([&](TFImportEDEFile& d) {
        m_fakes.dialogs.messages.clear();
        d.E_ID_IP->setText(QString::fromLatin1(c.typed));
        d.Btn_OKClick();
        closed = d.result() == mrOk;
        EXPECT_EQ(messageTexts(), c.message[0] ? QStringList{c.message} : QStringList());
    });
    click(*f, "Btn_Import_CSV");
    EXPECT_EQ(closed, c.message[0] == 0);
}

INSTANTIATE_TEST_SUITE_P(Types, EdeImportDevice, ::testing::ValuesIn(kDeviceCases),
                         test::CaseName());

TEST_F(EdeImportWindow, RememberedFolderFollowsTheChosenFile)
{
    programState().Dir_Last_EDE_Import = QStringLiteral("/before");
    auto f = open<TFBACnetAccess>();
    m_fakes.dialogs.fileAnswers = {std::nullopt};
    click(*f, "Btn_Import_CSV");
    EXPECT_EQ(programState().Dir_Last_EDE_Import, QStringLiteral("/before"));
    EXPECT_EQ(m_fakes.dialogs.fileDialogs.back().request.folder, QStringLiteral("/before"));
    EXPECT_TRUE(m_fakes.dialogs.shownForms.isEmpty());
    // Chosen, then the import dialog cancelled: the folder is remembered, nothing imported.
    m_fakes.dialogs.fileAnswers = {edeFile()};
    click(*f, "Btn_Import_CSV");
    EXPECT_EQ(programState().Dir_Last_EDE_Import, path(QStringLiteral("device")));
    EXPECT_EQ(m_fakes.dialogs.shownForms, QStringList{"TFImportEDEFile"});
    EXPECT_EQ(f->ACG1->GetCellEx(2, 1), QString());
    // A typed name of a file that does not exist: only the folder is remembered.
    m_fakes.dialogs.fileAnswers = {path(QStringLiteral("elsewhere.csv"))};
    click(*f, "Btn_Import_CSV");
    EXPECT_EQ(programState().Dir_Last_EDE_Import, root());
    EXPECT_EQ(m_fakes.dialogs.shownForms.size(), 1);
}

// Bad files: the dialog says what is wrong and lists what it could read.
TEST_F(EdeImportWindow, ShortOrUnreadableFileIsSaid)
{
    auto f = open<TFBACnetAccess>();
    m_fakes.dialogs.fileAnswers = {edeFile("# mandatory\r\nk;1;A;0;1;d;\r\n")};
    onImport([this](TFImportEDEFile& d) {
        EXPECT_EQ(messageTexts(),
                  QStringList{"Error!! The EDE file has fewer than 7 lines: no object can be "
                              "imported"});
        EXPECT_EQ(d.ACG->RowCount(), 2);
        EXPECT_TRUE(d.List_EDE_Var.isEmpty());
        d.E_ID_IP->setText(QStringLiteral("10.0.0.7"));
        d.Btn_OKClick();
    });
    m_fakes.dialogs.messages.clear();
    click(*f, "Btn_Import_CSV");
    EXPECT_EQ(f->ACG1->GetCellEx(2, 1), QString());
}

// A grid without room for every chosen object is left as it was.
TEST_F(EdeImportWindow, FullGridRefusesTheImport)
{
    auto f = open<TFBACnetAccess>();
    for (int r = 1; r <= 512; ++r)
        f->ACG1->SetCellEx(2, r, QStringLiteral("10.0.0.1"));
    m_fakes.dialogs.fileAnswers = {edeFile()};
    onImport([](TFImportEDEFile& d) {
        d.E_ID_IP->setText(QStringLiteral("10.0.0.7"));
        d.Btn_OKClick();
    });
    m_fakes.dialogs.messages.clear();
    click(*f, "Btn_Import_CSV");
    EXPECT_EQ(messageTexts(),
              QStringList{"Error!! The objects chosen for reading do not fit into the free rows of "
                          "the table BACnet Read: nothing was imported"});
    EXPECT_EQ(f->ACG2->GetCellEx(2, 1), QString());
}

// Attributes missing from a row take their column's default without a word.
TEST_F(ClientWindow, MissingAttributesTakeTheColumnDefaults)
{
    writeParGen("<BACnet_Master_Type>0</BACnet_Master_Type>");
    ASSERT_TRUE(test::writeFile(programState().File_BACnet_Master_Access,
                                "<BACnet_Master_Access><BACnet_Read><row "
                                "IP_Address_Slave_ID=\"10.0.0.1\" Object_Type=\"Analog Input\"/>"
                                "</BACnet_Read><BACnet_Write><x Mnemonic=\"w\"/></BACnet_Write>"
                                "</BACnet_Master_Access>"));
    auto f = open<TFBACnetAccess>();
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(cellOf(*f, 0, "Enable", 1), QStringLiteral("Y"));
    EXPECT_EQ(cellOf(*f, 0, "Swap", 1), QStringLiteral("N"));
    EXPECT_EQ(cellOf(*f, 0, "FloatToInt", 1), QStringLiteral("N"));
    EXPECT_EQ(cellOf(*f, 0, "Mnemonic", 1), QString());
    EXPECT_EQ(cellOf(*f, 0, "Instance", 1), QString());
    EXPECT_EQ(cellOf(*f, 1, "OnTimer", 1), QStringLiteral("N"));
    EXPECT_EQ(cellOf(*f, 1, "Mnemonic", 1), QStringLiteral("w"));
}

// ---- bad project files -----------------------------------------------------------------------

TEST_F(ClientWindow, BadFileIsNamedAndOkAsksBeforeOverwriting)
{
    writeParGen("<BACnet_Master_Type>0</BACnet_Master_Type>");
    const QByteArray bad[] = {
        "<BACnet_Master_Access><BACnet_Read><row Enable=\"Y\"",
        "<BACnet_Master_Access><BACnet_Read/></BACnet_Master_Access>",
        "\xff\xfe<\x00x\x00",
    };
    for (const QByteArray& bytes : bad) {
        const QString path = programState().File_BACnet_Master_Access;
        ASSERT_TRUE(test::writeFile(path, bytes));
        auto f = open<TFBACnetAccess>();
        ASSERT_EQ(messageTexts().size(), 1) << bytes.toStdString();
        m_fakes.dialogs.messages.clear();
        m_fakes.dialogs.messageAnswers = {mrNo};
        click(*f, "Btn_OK");
        EXPECT_EQ(m_fakes.dialogs.messages.back().buttons, TMsgDlgButtons(mbYes | mbNo));
        EXPECT_EQ(test::readFile(path), bytes);
        EXPECT_NE(f->result(), mrOk);
    }
}

}  // namespace
}  // namespace zfw
