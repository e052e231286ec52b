// The general-parameters window driven as a user would: lists, boxes, keys, panels.

#include "config/ParGenFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <ostream>

namespace zfw {
namespace {

class ParGenWindow : public test::ParGenFormTest {
protected:
    QWidget* child(const char* name) const
    {
        QWidget* w = m_form->findChild<QWidget*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    bool shown(const char* name) const { return !child(name)->isHidden(); }
    int y(const char* name) const { return child(name)->y(); }

    QStringList shownCaptions() const
    {
        QStringList captions;
        for (CategoryPanel* p : m_form->panelGroup()->shownPanels())
            captions.append(p->caption());
        return captions;
    }

    // Types text into whatever control of the window has the focus, key by key.
    void typeIntoFocus(const QString& text)
    {
        for (QChar c : text)
            QTest::keyClicks(m_form->focusWidget(), QString(c));
    }
};

TEST_F(ParGenWindow, OpensWithoutFileOnTheDefaults)
{
    m_form->FormShow();
    const TFParGen& f = *m_form;
    EXPECT_EQ(f.E_EthConn_Device_Name->text(), QString());
    EXPECT_FALSE(f.CB_EthConn_En_DHCP_Cable->isChecked());
    EXPECT_FALSE(f.CB_EthConn_En_DHCP_WiFi->isEnabled());
    QStringList dns;
    for (QLineEdit* e : f.E_EthConn_Pri_DNS_IP)
        dns.append(e->text());
    for (QLineEdit* e : f.E_EthConn_Sec_DNS_IP)
        dns.append(e->text());
    EXPECT_EQ(dns.join(QLatin1Char('.')), QStringLiteral("8.8.8.8.8.8.4.4"));
    EXPECT_EQ(f.CB_LoRa_RF_Band->currentText(), QStringLiteral("AS923"));
    EXPECT_EQ(f.CB_LoRa_Network_Type->currentText(), QStringLiteral("Private"));
    EXPECT_EQ(f.CB_LoRa_DataRate->currentText(),
              QStringLiteral("6\t- LoRa: SF7/250kHz 11000 [bit/s]"));
    EXPECT_EQ(f.E_LoRa_Payload_Size->text(), QStringLiteral("230"));
    EXPECT_TRUE(shown("E_LoRa_Device_Address"));
    EXPECT_TRUE(shown("E_LoRa_Network_Session_Key"));
    EXPECT_TRUE(shown("E_LoRa_Application_Session_Key"));
    EXPECT_FALSE(shown("E_LoRa_Application_Key"));
    EXPECT_FALSE(shown("CB_LoRa_FrequencySubBand"));
    EXPECT_EQ(f.E_S7_Protocol_IP[3]->text(), QStringLiteral("5"));
    EXPECT_EQ(f.E_S7_Protocol_SM[3]->text(), QStringLiteral("0"));
    EXPECT_EQ(f.E_S7_Protocol_GAT[3]->text(), QStringLiteral("1"));
    EXPECT_FALSE(f.CB_S7_Protocol_En_GAT->isChecked());
    EXPECT_EQ(f.CB_S7_Protocol_En_GAT->text(), QStringLiteral("Gateway"));
}

TEST_F(ParGenWindow, ThisBuildShowsItsThreePanelsNumbered)
{
    EXPECT_EQ(shownCaptions(),
              (QStringList{QStringLiteral("1. Ethernet Connection"), QStringLiteral("2. LoRaWAN"),
                           QStringLiteral("3. S7comm")}));
    const QList<CategoryPanel*> panels = m_form->panelGroup()->shownPanels();
    for (int i = 0; i < panels.size(); ++i)
        EXPECT_EQ(panels[i]->tabOrderValue(), i);
    EXPECT_EQ(panels[1]->y(), panels[0]->y() + panels[0]->height());
    EXPECT_EQ(panels[2]->y(), panels[1]->y() + panels[1]->height());
    // Heights follow the last control: secondary DNS, LNCHECK label, gateway octets.
    const int header = m_form->panelGroup()->headerHeight();
    EXPECT_EQ(m_form->CP_Ethernet_Connection->panelHeight(),
              m_form->E_EthConn_Sec_DNS_IP[0]->geometry().bottom() + 1 + header + 12);
    EXPECT_EQ(m_form->CP_S7_Protocol->panelHeight(),
              m_form->E_S7_Protocol_GAT[0]->geometry().bottom() + 1 + header + 12);
}

TEST_F(ParGenWindow, ClickingAHeaderCollapsesThePanelAndLiftsTheNextOne)
{
    CategoryPanel* lora = m_form->CP_LoRa;
    auto* header = m_form->findChild<QAbstractButton*>(
        QStringLiteral("CP_Ethernet_Connection_Header"));
    ASSERT_NE(header, nullptr);
    header->click();
    EXPECT_TRUE(m_form->CP_Ethernet_Connection->isCollapsed());
    EXPECT_EQ(lora->y(), m_form->panelGroup()->headerHeight());
    header->click();
    EXPECT_EQ(lora->y(), m_form->CP_Ethernet_Connection->panelHeight());
}

TEST_F(ParGenWindow, SubBandRowOnlyForTheAmericanAndAustralianRegions)
{
    m_form->FormShow();
    const int networkY = y("CB_LoRa_Network_Type");
    m_form->CB_LoRa_RF_Band->setCurrentText(QStringLiteral("AU915"));
    EXPECT_TRUE(shown("CB_LoRa_FrequencySubBand"));
    EXPECT_EQ(y("CB_LoRa_Network_Type"), networkY + 28);
    EXPECT_EQ(y("L_LoRa_FrequencySubBand"), y("CB_LoRa_RF_Band") + 28);
    m_form->CB_LoRa_RF_Band->setCurrentText(QStringLiteral("EU868"));
    EXPECT_FALSE(shown("CB_LoRa_FrequencySubBand"));
    EXPECT_EQ(y("CB_LoRa_Network_Type"), networkY);
}

// Label rows of the LoRaWAN panel: the region list's top is y0 = 9, the sub-band row (when
// shown) stands at y0 + 28, and every following row 28 pixels below the previous one.
struct LoRaLayoutCase {
    const char* name;
    const char* region;
    int activation;  // list index: 0 ABP, 1 OTAA
    int subBandY;    // -1: hidden
    int networkY;
    int adaptiveY;
    int deviceAddressY;   // -1: hidden
    int applicationKeyY;  // -1: hidden
    int fPortY;
    int lnCheckY;
};

void PrintTo(const LoRaLayoutCase& c, std::ostream* os) { *os << c.name; }

constexpr LoRaLayoutCase kLoRaLayouts[] = {
    {"AS923_ABP", "AS923", 0, -1, 37, 65, 233, -1, 317, 345},
    {"AU915_ABP", "AU915", 0, 37, 65, 93, 261, -1, 345, 373},
    {"US915Hybrid_ABP", "US915-Hybrid", 0, 37, 65, 93, 261, -1, 345, 373},
    {"US915_OTAA", "US915", 1, 37, 65, 93, -1, 261, 289, 317},
    {"EU868_OTAA", "EU868", 1, -1, 37, 65, -1, 233, 261, 289},
};

class ParGenLoRaLayout : public ParGenWindow,
                         public ::testing::WithParamInterface<LoRaLayoutCase> {};

TEST_P(ParGenLoRaLayout, RowsFollowRegionAndActivation)
{
    const LoRaLayoutCase& c = GetParam();
    m_form->FormShow();
    m_form->CB_LoRa_RF_Band->setCurrentText(QString::fromLatin1(c.region));
    m_form->CB_LoRa_Activation_Method->setCurrentIndex(c.activation);

    auto labelAt = [this](const char* label, const char* field, int expected) {
        if (expected < 0) {
            EXPECT_FALSE(shown(label)) << label;
            EXPECT_FALSE(shown(field)) << field;
            return;
        }
        EXPECT_TRUE(shown(label)) << label;
        EXPECT_EQ(y(label), expected) << label;
        EXPECT_EQ(child(label)->x(), 14) << label;
        EXPECT_EQ(y(field), expected - 3) << field;
        EXPECT_EQ(child(field)->x(), 191) << field;
    };
    EXPECT_EQ(y("CB_LoRa_RF_Band"), 9);
    labelAt("L_LoRa_FrequencySubBand", "CB_LoRa_FrequencySubBand", c.subBandY);
    labelAt("L_LoRa_Network_Type", "CB_LoRa_Network_Type", c.networkY);
    EXPECT_EQ(y("CB_LoRa_Adaptive_DataRate"), c.adaptiveY);
    labelAt("L_LoRa_Device_Address", "E_LoRa_Device_Address", c.deviceAddressY);
    labelAt("L_LoRa_Application_Key", "E_LoRa_Application_Key", c.applicationKeyY);
    labelAt("L_LoRa_FPort", "CB_LoRa_FPort", c.fPortY);
    labelAt("L_LoRa_LNCHECK", "E_LoRa_LNCHECK", c.lnCheckY);
    // Bottom of the LNCHECK label (15 pixels high), the header, 12 pixels.
    EXPECT_EQ(m_form->CP_LoRa->panelHeight(),
              c.lnCheckY + 15 + m_form->panelGroup()->headerHeight() + 12);
}

INSTANTIATE_TEST_SUITE_P(Regions, ParGenLoRaLayout, ::testing::ValuesIn(kLoRaLayouts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParGenWindow, EthernetConnectionAndS7RowsKeepTheirDesignPlaces)
{
    m_form->FormShow();
    EXPECT_EQ(y("L_EthConn_Device_Name"), 12);
    EXPECT_EQ(y("E_EthConn_Device_Name"), 9);
    EXPECT_EQ(y("CB_EthConn_En_DHCP_Cable"), 40);
    EXPECT_EQ(y("CB_EthConn_Enable_DNS"), 96);
    EXPECT_EQ(y("L_EthConn_Secondary_DNS"), 152);
    const int octetX[] = {191, 252, 313, 374};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(m_form->E_EthConn_Sec_DNS_IP[i]->geometry(), QRect(octetX[i], 149, 55, 21));
        EXPECT_EQ(m_form->E_S7_Protocol_IP[i]->geometry(), QRect(octetX[i], 9, 55, 21));
        EXPECT_EQ(m_form->E_S7_Protocol_SM[i]->geometry(), QRect(octetX[i], 37, 55, 21));
        EXPECT_EQ(m_form->E_S7_Protocol_GAT[i]->geometry(), QRect(octetX[i], 66, 55, 21));
    }
    EXPECT_EQ(y("L_S7_Protocol_IP"), 12);
    EXPECT_EQ(y("L_S7_Protocol_SM"), 40);
    EXPECT_EQ(y("CB_S7_Protocol_En_GAT"), 68);
    const int header = m_form->panelGroup()->headerHeight();
    EXPECT_EQ(m_form->CP_Ethernet_Connection->panelHeight(), 149 + 21 + header + 12);
    EXPECT_EQ(m_form->CP_S7_Protocol->panelHeight(), 66 + 21 + header + 12);
}

TEST_F(ParGenWindow, ChangingTheRegionRefillsRatesAndPayload)
{
    m_form->FormShow();
    m_form->CB_LoRa_RF_Band->setCurrentText(QStringLiteral("EU868"));
    m_form->CB_LoRa_DataRate->setCurrentIndex(3);
    EXPECT_EQ(m_form->E_LoRa_Payload_Size->text(), QStringLiteral("115"));
    m_form->CB_LoRa_DataRate->setCurrentIndex(5);
    m_form->CB_LoRa_RF_Band->setCurrentText(QStringLiteral("US915"));
    EXPECT_EQ(m_form->CB_LoRa_DataRate->currentText(),
              QStringLiteral("0  -\tLoRa: SF10/125kHz 980 [bit/s]"));
    EXPECT_EQ(m_form->CB_LoRa_DataRate->count(), 11);
    EXPECT_EQ(m_form->E_LoRa_Payload_Size->text(), QStringLiteral("11"));
}

TEST_F(ParGenWindow, OtaaShowsTheApplicationKeyWhereTheDeviceAddressWas)
{
    m_form->FormShow();
    const int addressY = y("E_LoRa_Device_Address");
    m_form->CB_LoRa_Activation_Method->setCurrentIndex(1);
    EXPECT_FALSE(shown("E_LoRa_Device_Address"));
    EXPECT_FALSE(shown("E_LoRa_Network_Session_Key"));
    EXPECT_FALSE(shown("E_LoRa_Application_Session_Key"));
    EXPECT_TRUE(shown("E_LoRa_Application_Key"));
    EXPECT_EQ(y("E_LoRa_Application_Key"), addressY);
    EXPECT_EQ(y("CB_LoRa_FPort"), addressY + 28);
}

TEST_F(ParGenWindow, CableDhcpDisablesTheS7FieldsButTheyAreStillCheckedAndWritten)
{
    m_form->FormShow();
    m_form->CB_EthConn_En_DHCP_Cable->click();
    for (const auto* block :
         {&m_form->E_S7_Protocol_IP, &m_form->E_S7_Protocol_SM, &m_form->E_S7_Protocol_GAT})
        for (QLineEdit* e : *block)
            EXPECT_FALSE(e->isEnabled()) << e->objectName().toStdString();
    EXPECT_TRUE(m_form->CB_S7_Protocol_En_GAT->isEnabled());

    m_form->E_S7_Protocol_IP[0]->setText(QStringLiteral("300"));
    m_form->Btn_OKClick();
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].text,
              QStringLiteral("Error S7comm!! IP Address 1 must be between 0 and 255"));

    m_form->CB_EthConn_En_DHCP_Cable->click();
    EXPECT_TRUE(m_form->E_S7_Protocol_IP[0]->isEnabled());
}

TEST_F(ParGenWindow, ADotMovesToTheNextOctet)
{
    m_form->show();
    m_form->FormShow();
    for (QLineEdit* e : m_form->E_S7_Protocol_IP)
        e->clear();
    m_form->E_S7_Protocol_IP[0]->setFocus();
    typeIntoFocus(QStringLiteral("192.168.0.10."));
    EXPECT_EQ(m_form->E_S7_Protocol_IP[0]->text(), QStringLiteral("192"));
    EXPECT_EQ(m_form->E_S7_Protocol_IP[1]->text(), QStringLiteral("168"));
    EXPECT_EQ(m_form->E_S7_Protocol_IP[2]->text(), QStringLiteral("0"));
    // The last dot moved on to the mask, replacing nothing.
    EXPECT_EQ(m_form->E_S7_Protocol_IP[3]->text(), QStringLiteral("10"));
    EXPECT_EQ(m_form->focusWidget(), m_form->E_S7_Protocol_SM[0]);

    // The last field of a chain just drops the dot.
    m_form->E_EthConn_Sec_DNS_IP[3]->setFocus();
    m_form->E_EthConn_Sec_DNS_IP[3]->setText(QStringLiteral("4"));
    typeIntoFocus(QStringLiteral("."));
    EXPECT_EQ(m_form->E_EthConn_Sec_DNS_IP[3]->text(), QStringLiteral("4"));
    EXPECT_EQ(m_form->focusWidget(), m_form->E_EthConn_Sec_DNS_IP[3]);
}

TEST_F(ParGenWindow, KeyFieldsTakeOnlyHexDigitsAndBlanksInUpperCase)
{
    m_form->FormShow();
    QLineEdit* key = m_form->E_LoRa_Network_Session_Key;
    key->clear();
    QTest::keyClicks(key, QStringLiteral("0aG-f 9"));
    EXPECT_EQ(key->text(), QStringLiteral("0AF 9"));

    QLineEdit* address = m_form->E_LoRa_Device_Address;
    address->clear();
    QTest::keyClicks(address, QStringLiteral("0123456789"));
    EXPECT_EQ(address->text(), QStringLiteral("01234567"));

    // The blank that typing admits is refused on OK.
    m_form->Btn_OKClick();
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_TRUE(m_fakes.dialogs.messages[0].text.contains(QLatin1String("Network Session Key")));
    EXPECT_NE(m_form->result(), mrOk);
}

// One key event as the platform delivers it, sent to a key field holding "AB" with the cursor
// between the two letters.
struct HexKeyCase {
    const char* name;
    int key;
    const char* text;  // UTF-8 text of the event
    const char* expected;
};

void PrintTo(const HexKeyCase& c, std::ostream* os) { *os << c.name; }

constexpr HexKeyCase kHexKeys[] = {
    {"digit", Qt::Key_7, "7", "A7B"},
    {"lowerHexTurnsUpper", Qt::Key_F, "f", "AFB"},
    {"blank", Qt::Key_Space, " ", "A B"},
    {"letterPastF", Qt::Key_G, "g", "AB"},
    {"minus", Qt::Key_Minus, "-", "AB"},
    {"backspace", Qt::Key_Backspace, "\b", "B"},
    // X11 delivers the Delete key with the text DEL (127).
    {"deleteAsDel", Qt::Key_Delete, "\x7f", "A"},
    {"deleteWithoutText", Qt::Key_Delete, "", "A"},
    {"characterOutsideTheBasicPlane", Qt::Key_unknown, "\xF0\x9F\x98\x80", "AB"},
    {"severalCharactersOneForbidden", Qt::Key_unknown, "1z", "AB"},
    {"severalHexCharacters", Qt::Key_unknown, "c1", "AC1B"},
};

class ParGenHexKeys : public ParGenWindow, public ::testing::WithParamInterface<HexKeyCase> {};

TEST_P(ParGenHexKeys, KeyFieldFilter)
{
    const HexKeyCase& c = GetParam();
    m_form->FormShow();
    QLineEdit* key = m_form->E_LoRa_Application_Session_Key;
    key->setText(QStringLiteral("AB"));
    key->setCursorPosition(1);
    QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier, QString::fromUtf8(c.text));
    QCoreApplication::sendEvent(key, &press);
    EXPECT_EQ(key->text(), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Keys, ParGenHexKeys, ::testing::ValuesIn(kHexKeys),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParGenWindow, CancelDiscardsAndTheNextOpeningReloadsTheFile)
{
    m_form->FormShow();
    m_form->Btn_OKClick();
    ASSERT_EQ(m_form->result(), mrOk);
    m_form->E_EthConn_Device_Name->setText(QStringLiteral("edited"));
    m_form->Btn_Cancel->click();
    EXPECT_EQ(m_form->result(), mrCancel);
    m_form->FormShow();
    EXPECT_EQ(m_form->E_EthConn_Device_Name->text(), QString());
}

TEST_F(ParGenWindow, LanguageChangeLeavesThePanelCaptions)
{
    ProgramState& s = programState();
    s.Language_Table[2906] = QStringLiteral("Ethernet-Verbindung");
    s.Language_Table[2913] = QStringLiteral("DNS aktivieren");
    s.Language_Table[2796] = QStringLiteral("gateway box");
    s.Language_Table[2797] = QStringLiteral("gateway 1");
    s.Language_Table[2789] = QStringLiteral("address 4");
    m_form->Set_Lang();
    EXPECT_EQ(m_form->CB_EthConn_Enable_DNS->text(), QStringLiteral("DNS aktivieren"));
    EXPECT_EQ(m_form->CB_S7_Protocol_En_GAT->toolTip(), QStringLiteral("gateway box"));
    EXPECT_EQ(m_form->E_S7_Protocol_GAT[0]->toolTip(), QStringLiteral("gateway 1"));
    EXPECT_EQ(m_form->E_S7_Protocol_IP[3]->toolTip(), QStringLiteral("address 4"));
    EXPECT_EQ(m_form->CP_Ethernet_Connection->caption(), QStringLiteral("1. Ethernet Connection"));
}

TEST_F(ParGenWindow, WidthStaysAtTheDesignWidth)
{
    m_form->show();
    m_form->resize(700, 500);
    QApplication::processEvents();
    EXPECT_EQ(m_form->width(), 460);
    EXPECT_EQ(m_form->height(), 500);
}

TEST_F(ParGenWindow, WheelOverTheGroupScrollsIt)
{
    m_form->show();
    m_form->resize(460, 400);
    QApplication::processEvents();
    QScrollBar* bar = m_form->panelGroup()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    const QPoint inside = m_form->panelGroup()->viewport()->mapToGlobal(QPoint(20, 20));
    EXPECT_TRUE(m_form->FormMouseWheel(inside, -120));
    EXPECT_GT(bar->value(), 0);
    const int down = bar->value();
    EXPECT_TRUE(m_form->FormMouseWheel(inside, 120));
    EXPECT_LT(bar->value(), down);
    EXPECT_FALSE(m_form->FormMouseWheel(m_form->Btn_OK->mapToGlobal(QPoint(2, 2)), -120));
}

TEST_F(ParGenWindow, WheelEventWithoutVerticalMovementDoesNotScroll)
{
    m_form->show();
    m_form->resize(460, 400);
    QApplication::processEvents();
    QScrollBar* bar = m_form->panelGroup()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    const QPoint inside = m_form->panelGroup()->viewport()->mapToGlobal(QPoint(20, 20));
    // A touchpad gesture starts and ends with such events, and a sideways swipe has no
    // vertical part either.
    QWheelEvent phase(m_form->panelGroup()->viewport()->mapFromGlobal(QPointF(inside)),
                      QPointF(inside), QPoint(), QPoint(0, 0), Qt::NoButton, Qt::NoModifier,
                      Qt::ScrollBegin, false);
    QCoreApplication::sendEvent(m_form->panelGroup()->viewport(), &phase);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_TRUE(m_form->FormMouseWheel(inside, 0));
    EXPECT_EQ(bar->value(), 0);
}

// ---- Other models of the family ------------------------------------------------------------

struct ModelCase {
    const char* name;
    void (TFParGen::*order)();
    void (TFParGen::*reposition)();
    QStringList captions;
    QList<int> tabOrder;
};

void PrintTo(const ModelCase& c, std::ostream* os) { *os << c.name; }

const ModelCase kModels[] = {
    {"K4R86",
     &TFParGen::Order_TAB_Panels_K4R86,
     &TFParGen::RePosition_Objects_K4R86,
     {"1. Ethernet Connection", "2. LoRaWAN", "3. MQTT", "4. Ethernet",
      "5. TLS (Transport Layer Security)", "6. NTP (Network Time Protocol)"},
     {0, 1, 2, 3, 4, 5}},
    {"K4R85",
     &TFParGen::Order_TAB_Panels_K4R85,
     &TFParGen::RePosition_Objects_K4R85,
     {"1. Ethernet Connection", "2. LoRaWAN", "3. IEC61850 Server",
      "4. TLS (Transport Layer Security) Server", "5. NTP (Network Time Protocol)"},
     {0, 1, 2, 3, 4}},
    {"K4R53",
     &TFParGen::Order_TAB_Panels_K4R53,
     &TFParGen::RePosition_Objects_K4R53,
     {"1. Ethernet Connection", "2. LoRaWAN", "3. Modbus TCP Master"},
     {0, 1, 2}},
    {"K4R65",
     &TFParGen::Order_TAB_Panels_K4R65,
     &TFParGen::RePosition_Objects_K4R65,
     {"1. Ethernet Connection", "2. LoRaWAN", "3. M-Bus", "4. M-Bus Wireless", "5. Ethernet"},
     {0, 1, 2, 3, 4}},
    {"K4R70",
     &TFParGen::Order_TAB_Panels_K4R70,
     &TFParGen::RePosition_Objects_K4R70,
     {"1. Ethernet Connection", "2. LoRaWAN", "3. CANopen", "4. Ethernet"},
     {0, 0, 1, 2}},
    {"K4R66",
     &TFParGen::Order_TAB_Panels_K4R66,
     &TFParGen::RePosition_Objects_K4R66,
     {"1. Ethernet Connection", "2. LoRaWAN", "3. BACnet Master"},
     {0, 1, 2}},
};

class ParGenModels : public ParGenWindow, public ::testing::WithParamInterface<ModelCase> {};

TEST_P(ParGenModels, PanelsShownInOrderWithNumberedCaptions)
{
    const ModelCase& c = GetParam();
    m_form->hideAllPanels();
    (m_form.get()->*c.order)();
    (m_form.get()->*c.reposition)();
    EXPECT_EQ(shownCaptions(), c.captions);
    QList<int> tabs;
    int previousBottom = 0;
    for (CategoryPanel* p : m_form->panelGroup()->shownPanels()) {
        tabs.append(p->tabOrderValue());
        EXPECT_EQ(p->y(), previousBottom) << p->objectName().toStdString();
        previousBottom = p->y() + p->height();
    }
    EXPECT_EQ(tabs, c.tabOrder);
}

INSTANTIATE_TEST_SUITE_P(Family, ParGenModels, ::testing::ValuesIn(kModels),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParGenWindow, BACnetMasterOverMstpBringsTheEthernetPanelFourth)
{
    m_form->hideAllPanels();
    m_form->Order_TAB_Panels_K4R66();
    m_form->RePosition_Objects_K4R66();
    EXPECT_TRUE(shown("E_BACnet_Master_IP1"));
    EXPECT_FALSE(shown("E_BACnet_Master_MSTP_MAC_Address"));

    qobject_cast<QComboBox*>(child("CB_BACnet_Master_Type"))
        ->setCurrentText(QStringLiteral("BACnet MS/TP"));
    m_form->RePosition_Objects_K4R66();
    ASSERT_EQ(shownCaptions().size(), 4);
    EXPECT_EQ(shownCaptions()[3], QStringLiteral("4. Ethernet"));
    EXPECT_FALSE(shown("E_BACnet_Master_IP1"));
    EXPECT_TRUE(shown("E_BACnet_Master_MSTP_MAC_Address"));
    // MS/TP rows start where the IP rows started.
    EXPECT_EQ(y("L_BACnet_Master_MSTP_Baud_Rate"), y("L_BACnet_Master_IP"));
}

TEST_F(ParGenWindow, CableDhcpDisablesTheEthernetPanelAddressBlock)
{
    m_form->hideAllPanels();
    m_form->Order_TAB_Panels_K4R68();
    m_form->CB_EthConn_En_DHCP_Cable->setChecked(true);
    m_form->RePosition_Objects_K4R68();
    EXPECT_FALSE(child("E_Ethernet_IP1")->isEnabled());
    EXPECT_FALSE(child("E_Ethernet_SM4")->isEnabled());
    EXPECT_FALSE(child("E_Ethernet_GAT2")->isEnabled());
    EXPECT_FALSE(child("CB_Ethernet_GAT_En")->isEnabled());
    EXPECT_FALSE(shown("E_Ethernet_TCP_Port"));
    EXPECT_FALSE(shown("E_Ethernet_UDP_Port"));
}

TEST_F(ParGenWindow, SnmpAgentAuthorityWithoutPrivacyEndsAtTheAuthorityMode)
{
    m_form->hideAllPanels();
    m_form->Order_TAB_Panels_K4R91();
    qobject_cast<QCheckBox*>(child("CB_SNMP_Agent_Version3"))->setChecked(true);
    qobject_cast<QComboBox*>(child("CB_SNMP_Agent_SecurityLevel"))->setCurrentIndex(1);
    m_form->RePosition_Objects_K4R91();
    EXPECT_TRUE(shown("CB_SNMP_Agent_Authority_Mode"));
    EXPECT_FALSE(shown("CB_SNMP_Agent_Privacy_Mode"));
    CategoryPanel* agent = m_form->panel(PanelId::SNMP_Agent);
    EXPECT_EQ(agent->panelHeight(), child("CB_SNMP_Agent_Authority_Mode")->geometry().bottom() + 1
                                        + m_form->panelGroup()->headerHeight() + 12);
}

TEST_F(ParGenWindow, LanguageListsAreRefilledOnEveryLanguageChange)
{
    // Panels are built when first shown: the M-Bus one by a model that shows it, the Wi-Fi
    // one (no model shows it) by its layout routine.
    m_form->Order_TAB_Panels_K4R65();
    m_form->RePosition_Object_WiFi();
    auto* presence = qobject_cast<QComboBox*>(child("CB_MBus_OnWire_Present"));
    ASSERT_EQ(presence->count(), 2);
    EXPECT_EQ(presence->itemText(1), QStringLiteral("Present"));
    presence->setCurrentIndex(1);
    m_form->Set_Lang();
    EXPECT_EQ(presence->currentIndex(), 0);
    EXPECT_EQ(qobject_cast<QComboBox*>(child("CB_WiFi_Channel"))->count(), 12);
}

}  // namespace
}  // namespace zfw
