// The BACnet server objects editor and its unit picker, driven through their windows.

#include "editors/building/BACnetFixture.h"

#include "editors/building/UBACnetSlaveSetAccess.h"
#include "editors/building/UBACnet_Eng_Unit.h"
#include "support/CaseName.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace zfw {
namespace {

class ServerWindow : public test::BACnetWindowTest {};

TEST_F(ServerWindow, GoldenOpenThenOkWritesTheSameBytes)
{
    const QByteArray original = test::readFile(test::bacnetData("BACnet_Slave_SetAccess.xml"));
    ASSERT_FALSE(original.isEmpty());
    const QString path = programState().File_BACnet_Slave_SetAccess;
    ASSERT_TRUE(test::writeFile(path, original));
    auto f = open<TFBACnetSlaveSetAccess>();
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_TRUE(f->ACG_BACnet_in_Read->IsHiddenColumn(6));
    EXPECT_EQ(f->ACG_BACnet_in_Read->RowCount(), 2001);
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_EQ(test::readFile(path).toStdString(), original.toStdString());
}

TEST_F(ServerWindow, WindowValues)
{
    auto f = open<TFBACnetSlaveSetAccess>();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("BACnet Set Access"));
    EXPECT_EQ(f->PageControl1->tabText(0), QStringLiteral("BACnet in Read"));
    TRuleGrid* g = f->ACG_BACnet_in_Write;
    EXPECT_EQ(g->Columns().GetItem(1)->ComboItems().size(), 10);
    EXPECT_EQ(f->ACG_BACnet_in_Read->Columns().GetItem(1)->ComboItems().size(), 13);
    EXPECT_EQ(g->Columns().GetItem(3)->ComboItems().size(), 1500);
    EXPECT_EQ(g->Columns().GetItem(7)->Width(), 250);
    EXPECT_EQ(g->Columns().GetItem(2)->Color(), TColor(16710368));
    // Insert leaves the new row empty: there is no Enable column.
    g->SetCellEx(1, 1, QStringLiteral("Analog Out"));
    f->setActiveTable(1);
    g->MoveCurrentCell(2, 1, true, true);
    click(*f, "Btn_InsRow");
    EXPECT_EQ(g->GetCellEx(1, 1), QString());
    EXPECT_EQ(g->GetCellEx(1, 2), QStringLiteral("Analog Out"));
    EXPECT_EQ(g->GetCellEx(0, 2), QStringLiteral("2"));
}

// A choice in the write grid's type list presets the Length; the read grid has no preset.
TEST_F(ServerWindow, TypeChoicePresetsTheWriteLength)
{
    auto f = open<TFBACnetSlaveSetAccess>();
    for (TRuleGrid* g : {f->ACG_BACnet_in_Read, f->ACG_BACnet_in_Write}) {
        g->SetCellEx(5, 3, QStringLiteral("2"));
        g->SetCellEx(1, 3, QStringLiteral("Large Analog Value"));
        ASSERT_TRUE(g->OnComboChange);
        g->OnComboChange(g, 1, 3, 5, QStringLiteral("Large Analog Value"));
    }
    EXPECT_EQ(f->ACG_BACnet_in_Write->GetCellEx(5, 3), QStringLiteral("8"));
    EXPECT_EQ(f->ACG_BACnet_in_Read->GetCellEx(5, 3), QStringLiteral("2"));
}

struct PickerCase {
    const char* name;
    const char* cell;
    const char* label;  // Label5 when the picker opens
    const char* typed;  // typed into the picker's edit; null: none
    TModalResult result;
    const char* after;  // the cell afterwards
};

const PickerCase kPickerCases[] = {
    {"CelsiusThenOk", "62", "-> degrees-Celsius", nullptr, mrOk, "62"},
    {"UnknownNumberTypedOver", "300", "-> unknown", "95", mrOk, "95"},
    {"EmptyCellTyped300", "", "-> unknown", "300", mrOk, "300"},
    {"CancelKeepsTheCell", "62", "-> degrees-Celsius", "5", mrCancel, "62"},
};

class UnitPicker : public ServerWindow, public ::testing::WithParamInterface<PickerCase> {};

TEST_P(UnitPicker, DoubleClickOnEngUnitExchangesTheUnit)
{
    const PickerCase& c = GetParam();
    auto f = open<TFBACnetSlaveSetAccess>();
    TRuleGrid* g = f->ACG_BACnet_in_Read;
    g->SetCellEx(2, 4, QString::fromLatin1(c.cell));
    QString seenEdit, seenLabel;
    m_fakes.dialogs.onShowModal = [&](QDialog& d) {
        auto& picker = dynamic_cast<TFBACnet_Eng_Unit&>(d);
        seenEdit = picker.E_Selected_EU->text();
        seenLabel = picker.Label5->text();
        if (c.typed)
            picker.E_Selected_EU->setText(QString::fromLatin1(c.typed));
        return c.result;
    };
    f->DblClickCell(g, 4, g->DisplColIndex(2));
    EXPECT_EQ(m_fakes.dialogs.shownForms, QStringList{"TFBACnet_Eng_Unit"});
    EXPECT_EQ(seenEdit, QLatin1String(c.cell));
    EXPECT_EQ(seenLabel, QLatin1String(c.label));
    EXPECT_EQ(g->GetCellEx(2, 4), QLatin1String(c.after));
    // Other cells are not the picker's.
    f->DblClickCell(g, 4, g->DisplColIndex(5));
    EXPECT_EQ(m_fakes.dialogs.shownForms.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Cells, UnitPicker, ::testing::ValuesIn(kPickerCases), test::CaseName());

struct SelectCase {
    const char* name;
    const char* category;
    const char* entry;
    const char* number;
    const char* label;
};

const SelectCase kSelectCases[] = {
    {"PerMille", "Other", "per-mille", "207", "-> per-mille"},
    {"OhmsMeters", "Electrical", "ohms-meters", "172", "-> ohm-meters"},
    {"MegajoulesPerSquareMeter", "Other", "megajoules-per-square-meter", "139",
     "-> megajoules-hours-per-square-meter"},
    {"AreaFirst", "Area", nullptr, "0", "-> square-meters"},
};

class UnitSelect : public ServerWindow, public ::testing::WithParamInterface<SelectCase> {};

TEST_P(UnitSelect, SelectButtonTakesTheUnit)
{
    const SelectCase& c = GetParam();
    TFBACnet_Eng_Unit d(context());
    EXPECT_EQ(d.CB_Select_Type->currentText(), QStringLiteral("Acceleration"));
    EXPECT_EQ(d.Label5->text(), QStringLiteral("-> unknown"));
    d.show();
    EXPECT_EQ(d.CB_Select_Unit->currentText(), QStringLiteral("meters-per-second-per-second"));
    d.CB_Select_Type->setCurrentText(QString::fromLatin1(c.category));
    d.CB_Select_TypeSelect();
    EXPECT_EQ(d.CB_Select_Unit->currentIndex(), 0);
    if (c.entry)
        d.CB_Select_Unit->setCurrentText(QString::fromLatin1(c.entry));
    QTest::mouseClick(d.Btn_Select_Eng_Unit, Qt::LeftButton);
    EXPECT_EQ(d.E_Selected_EU->text(), QLatin1String(c.number));
    EXPECT_EQ(d.Label5->text(), QLatin1String(c.label));
    EXPECT_TRUE(d.isVisible());
    // Typing does not change the label; the category survives the next opening.
    d.E_Selected_EU->setText(QStringLiteral("300"));
    EXPECT_EQ(d.Label5->text(), QLatin1String(c.label));
    d.hide();
    d.show();
    EXPECT_EQ(d.CB_Select_Type->currentText(), QLatin1String(c.category));
    EXPECT_EQ(d.CB_Select_Unit->currentIndex(), 0);
}

INSTANTIATE_TEST_SUITE_P(Units, UnitSelect, ::testing::ValuesIn(kSelectCases), test::CaseName());

// With long descriptions each grid holds 1000 rows: a file of 1500 read objects shows the
// first 1000, says so, and OK writes those 1000 after a Yes.
TEST_F(ServerWindow, RowsBeyondTheGridAreSaidAndDroppedOnlyAfterYes)
{
    writeParGen("<BACnet_Desc_Chars_Limit>1</BACnet_Desc_Chars_Limit>");
    QByteArray xml = "<BACnet_to_Modbus><BACnet_in_Read>";
    for (int i = 0; i < 1500; ++i)
        xml +=
            "<row Data_Type=\"Binary Input\" Eng_Unit=\"95\" Position=\"0\" Bit=\"0\" Length=\"\" "
            "Swap=\"N\" Mnemonic=\"B"
            + QByteArray::number(i) + "\"/>";
    xml += "</BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus>";
    const QString path = programState().File_BACnet_Slave_SetAccess;
    ASSERT_TRUE(test::writeFile(path, xml));
    auto f = open<TFBACnetSlaveSetAccess>();
    EXPECT_TRUE(f->Desc_Lenght);
    EXPECT_EQ(f->ACG_BACnet_in_Read->RowCount(), 1001);
    EXPECT_EQ(f->ACG_BACnet_in_Read->GetCellEx(7, 1000), QStringLiteral("B999"));
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].contains(QStringLiteral("500")))
        << messageTexts()[0].toStdString();
    m_fakes.dialogs.messages.clear();
    m_fakes.dialogs.messageAnswers = {mrNo};
    click(*f, "Btn_OK");
    EXPECT_EQ(test::readFile(path), xml);
    m_fakes.dialogs.messageAnswers = {mrYes};
    click(*f, "Btn_OK");
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_EQ(test::readFile(path).count("<row "), 1000);
}

// The picker the window owns follows the window's language change.
TEST_F(ServerWindow, LanguageChangeReachesThePicker)
{
    TFBACnetSlaveSetAccess f(context());
    programState().Language_Table[1500] = QStringLiteral("Oggetti BACnet");
    programState().Language_Table[1600] = QStringLiteral("Unita BACnet");
    f.Set_Lang();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Oggetti BACnet"));
    EXPECT_EQ(f.unitPicker()->windowTitle(), QStringLiteral("Unita BACnet"));
}

TEST_F(ServerWindow, ObjectLimitOverBothGrids)
{
    auto f = open<TFBACnetSlaveSetAccess>();
    for (int r = 1; r <= 1200; ++r)
        setCells(
            *f, 0, r,
            {{"Data_Type", "Binary Input"}, {"Eng_Unit", "95"}, {"Position", "0"}, {"Bit", "0"}});
    for (int r = 1; r <= 900; ++r)
        setCells(
            *f, 1, r,
            {{"Data_Type", "Binary Out"}, {"Eng_Unit", "95"}, {"Position", "0"}, {"Bit", "0"}});
    m_fakes.dialogs.messages.clear();
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList{"Error!! Too many Requests. Max requests 2000"});
    EXPECT_FALSE(QFile::exists(programState().File_BACnet_Slave_SetAccess));
}

TEST_F(ServerWindow, BadFileIsNamedAndOkAsksBeforeOverwriting)
{
    const std::pair<QByteArray, const char*> bad[] = {
        {"<BACnet_to_Modbus><BACnet_in_Read><row Data_Type=\"Analog Input\"",
         "BACnet_Slave_SetAccess.xml is not a valid XML file"},
        {"<BACnet_to_Modbus><BACnet_in_Read/></BACnet_to_Modbus>", "has no table BACnet_in_Write"},
        {"<BACnet_to_Modbus><BACnet_in_Read><row Data_Type=\"Analog Input\" Eng_Unit=\"62\"/>"
         "</BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus>",
         "First at row 1 (BACnet in Read, Position)"},
    };
    for (const auto& [bytes, said] : bad) {
        const QString path = programState().File_BACnet_Slave_SetAccess;
        ASSERT_TRUE(test::writeFile(path, bytes));
        auto f = open<TFBACnetSlaveSetAccess>();
        ASSERT_EQ(messageTexts().size(), 1) << bytes.toStdString();
        EXPECT_TRUE(messageTexts()[0].contains(QLatin1String(said)))
            << messageTexts()[0].toStdString();
        m_fakes.dialogs.messages.clear();
        m_fakes.dialogs.messageAnswers = {mrNo};
        click(*f, "Btn_OK");
        EXPECT_EQ(test::readFile(path), bytes);
        EXPECT_NE(f->result(), mrOk);
    }
}

}  // namespace
}  // namespace zfw
