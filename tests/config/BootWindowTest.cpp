// The update window as the user sees it: layout by mode, texts, the remembered choices and
// the address edits.

#include "config/UBoot.h"

#include "UpdateDeviceSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <ostream>

namespace zfw {
namespace {

class BootWindow : public test::UpdateProjectTest {
protected:
    void SetUp() override
    {
        UpdateProjectTest::SetUp();
        m_boot = std::make_unique<TFBoot>();
    }

    test::ScopedFakeServices m_fakes;
    std::unique_ptr<TFBoot> m_boot;
};

struct LayoutCase {
    const char* name;
    int formType;
    const char* caption;
    const char* description;
    bool address;
    bool serial;
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

constexpr LayoutCase kLayouts[] = {
    {"Ethernet", 1, "Update Device by Ethernet (UDP)", "Update Device Using the Ethernet Port",
     true, false},
    {"Serial", 0, "Update Device by Serial", "Update Device Using the Serial Port", false, true},
};

class BootLayout : public BootWindow, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(BootLayout, PanelsStackUnderTheTitleAndTextsFollowTheMode)
{
    const LayoutCase& c = GetParam();
    m_boot->Form_Type = c.formType;
    m_boot->FormShow();

    EXPECT_EQ(m_boot->windowTitle(), QLatin1String(c.caption));
    EXPECT_EQ(m_boot->L_SW_Desc->text(), QLatin1String(c.description));
    EXPECT_EQ(m_boot->L_SW_Code->text(), QStringLiteral("CFK4R89"));
    EXPECT_EQ(m_boot->P_IP_Address->isVisibleTo(m_boot.get()), c.address);
    EXPECT_EQ(m_boot->P_Serial->isVisibleTo(m_boot.get()), c.serial);
    EXPECT_TRUE(m_boot->P_Options->isVisibleTo(m_boot.get()));
    EXPECT_FALSE(m_boot->P_Eth_Search->isVisibleTo(m_boot.get()));

    QWidget* middle = c.address ? m_boot->P_IP_Address : m_boot->P_Serial;
    EXPECT_EQ(m_boot->P_Title->y(), 0);
    EXPECT_EQ(middle->y(), m_boot->P_Title->geometry().bottom() + 1);
    EXPECT_EQ(m_boot->P_Options->y(), middle->geometry().bottom() + 1);
    EXPECT_EQ(m_boot->P_Button->y(), m_boot->P_Options->geometry().bottom() + 1);
    EXPECT_EQ(m_boot->width(), 449);
    EXPECT_EQ(m_boot->height(), m_boot->P_Button->geometry().bottom() + 1);
}

INSTANTIATE_TEST_SUITE_P(Boot, BootLayout, ::testing::ValuesIn(kLayouts),
                         [](const ::testing::TestParamInfo<LayoutCase>& i) {
                             return std::string(i.param.name);
                         });

TEST_F(BootWindow, LanguageTextsReachEveryControl)
{
    m_boot->FormShow();
    EXPECT_EQ(m_boot->L_IP_Address->text(), QStringLiteral("Insert the IP Address of Device"));
    EXPECT_EQ(m_boot->L_Update_Option->text(), QStringLiteral("Select Update Options"));
    ASSERT_EQ(m_boot->CB_Update_Options->count(), 3);
    EXPECT_EQ(m_boot->CB_Update_Options->itemText(0), QStringLiteral("Firmware + Configuration"));
    EXPECT_EQ(m_boot->CB_Update_Options->itemText(1), QStringLiteral("Firmware"));
    EXPECT_EQ(m_boot->CB_Update_Options->itemText(2), QStringLiteral("Configuration"));
    EXPECT_EQ(m_boot->CB_Update_Option_Read_Back->text(), QStringLiteral("Read Back"));
    EXPECT_EQ(m_boot->Btn_Cancel->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(m_boot->Btn_Update->text(), QStringLiteral("Execute Update Firmware"));
    EXPECT_EQ(m_boot->E_IP1->toolTip(), QStringLiteral("Insert first byte of IP Address"));
    EXPECT_EQ(m_boot->E_IP4->toolTip(), QStringLiteral("Insert fourth byte of IP Address"));
    EXPECT_EQ(m_boot->Btn_Update->toolTip(), QStringLiteral("Start the update of Device"));

    // A language change reaches the window at once; the option list is refilled and starts
    // again at its first item.
    m_boot->CB_Update_Options->setCurrentIndex(2);
    state().Language_Table[1020] = QStringLiteral("Aggiorna");
    state().Language_Table[1016] = QStringLiteral("Solo firmware");
    m_boot->Set_Lang();
    EXPECT_EQ(m_boot->Btn_Update->text(), QStringLiteral("Aggiorna"));
    ASSERT_EQ(m_boot->CB_Update_Options->count(), 3);
    EXPECT_EQ(m_boot->CB_Update_Options->itemText(1), QStringLiteral("Solo firmware"));
    EXPECT_EQ(m_boot->CB_Update_Options->currentIndex(), 0);
}

TEST_F(BootWindow, OpeningFocusesTheFirstFieldOfTheMode)
{
    m_boot->Form_Type = 1;
    m_boot->show();
    EXPECT_EQ(m_boot->focusWidget(), m_boot->E_IP1);
    m_boot->hide();

    m_boot->Form_Type = 0;
    m_boot->show();
    EXPECT_EQ(m_boot->focusWidget(), m_boot->CB_COM_Port);
    m_boot->hide();
}

TEST_F(BootWindow, OpeningRestoresTheRememberedAddressAndChoices)
{
    state().Device_IP_Address = QStringLiteral(" 10.1.2.3 ");
    state().Update_Option_Index = 2;
    state().Update_Read_Back = false;
    m_boot->FormShow();
    EXPECT_EQ(m_boot->ipAddressText(), QStringLiteral("10.1.2.3"));
    EXPECT_EQ(m_boot->CB_Update_Options->currentIndex(), 2);
    EXPECT_FALSE(m_boot->CB_Update_Option_Read_Back->isChecked());
}

TEST_F(BootWindow, AddressThatDoesNotSplitLeavesTheEdits)
{
    m_boot->E_IP1->setText(QStringLiteral("7"));
    state().Device_IP_Address = QStringLiteral("10.1.2");
    state().Update_Option_Index = 9;
    m_boot->FormShow();
    EXPECT_EQ(m_boot->ipAddressText(), QStringLiteral("7.0.0.0"));
    EXPECT_EQ(m_boot->CB_Update_Options->currentIndex(), 0);
}

TEST_F(BootWindow, TypedDotsMoveThroughTheFourEdits)
{
    m_boot->show();
    QApplication::setActiveWindow(m_boot.get());
    for (QLineEdit* e : {m_boot->E_IP1, m_boot->E_IP2, m_boot->E_IP3, m_boot->E_IP4})
        e->clear();
    m_boot->E_IP1->setFocus();
    for (const QChar ch : QStringLiteral("192.168.2.205.")) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, ch.toLatin1());
    }
    EXPECT_EQ(m_boot->E_IP1->text(), QStringLiteral("192"));
    EXPECT_EQ(m_boot->E_IP2->text(), QStringLiteral("168"));
    EXPECT_EQ(m_boot->E_IP3->text(), QStringLiteral("2"));
    // The last dot is dropped in the fourth edit, which keeps the focus.
    EXPECT_EQ(m_boot->E_IP4->text(), QStringLiteral("205"));
    EXPECT_EQ(QApplication::focusWidget(), m_boot->E_IP4);
    m_boot->hide();
}

TEST_F(BootWindow, SerialModeOnlyStoresTheChoices)
{
    test::ScriptedPinger fake(m_fakes.clock);
    ScopedPinger scope(fake);
    m_boot->Form_Type = 0;
    m_boot->FormShow();
    m_boot->CB_Update_Options->setCurrentIndex(1);
    m_boot->CB_Update_Option_Read_Back->setChecked(false);
    m_boot->Btn_UpdateClick();
    EXPECT_EQ(state().Update_Option_Index, 1);
    EXPECT_FALSE(state().Update_Read_Back);
    EXPECT_TRUE(fake.hosts.isEmpty());
    EXPECT_FALSE(QFile::exists(listPath()));
}

}  // namespace
}  // namespace zfw
