// Panels of the general-parameters window that are built only when a model first shows them:
// what exists before, and that a panel built late looks and behaves as if it had always been
// there (texts, values, tab order, saving).

#include "config/ParGenFixture.h"
#include "config/core/UParGenData.h"
#include "support/Files.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

namespace zfw {
namespace {

constexpr PanelId kThisBuild[] = {PanelId::Ethernet_Connection, PanelId::LoRa,
                                  PanelId::S7_Protocol};

bool ofThisBuild(PanelId id) { return std::ranges::find(kThisBuild, id) != std::end(kThisBuild); }

QString pargenData(const char* name)
{
    return QStringLiteral(ZFW_TEST_DATA_DIR "/config/pargen/") + QLatin1String(name);
}

class ParGenLazyPanels : public test::ParGenFormTest {
protected:
    template <typename T = QWidget>
    T* find(const char* name) const
    {
        return m_form->findChild<T*>(QLatin1String(name));
    }

    void showModel(void (TFParGen::*order)(), void (TFParGen::*reposition)())
    {
        m_form->hideAllPanels();
        (m_form.get()->*order)();
        (m_form.get()->*reposition)();
    }

    // The fields of the panels in the order Tab visits them.
    QStringList tabChain() const
    {
        QStringList names;
        QWidget* canvas = m_form->panelGroup()->canvas();
        for (QWidget* w = m_form->nextInFocusChain(); w != m_form.get(); w = w->nextInFocusChain())
            if ((w->focusPolicy() & Qt::TabFocus) && canvas->isAncestorOf(w))
                names.append(w->objectName());
        return names;
    }

    // The fields of every built panel, panel by panel in design order, row by row.
    QStringList designChain() const
    {
        QStringList names;
        for (const PanelDef& def : panelDefs())
            for (const ParGenRow& row : m_form->rows(def.id)) {
                for (QWidget* w : std::initializer_list<QWidget*>{row.check, row.field})
                    if (w)
                        names.append(w->objectName());
                for (QLineEdit* e : row.octets)
                    if (e)
                        names.append(e->objectName());
            }
        return names;
    }
};

TEST_F(ParGenLazyPanels, OnlyThePanelsOfThisBuildExistAfterCreation)
{
    for (const PanelDef& def : panelDefs()) {
        const bool built = m_form->panel(def.id) != nullptr;
        EXPECT_EQ(built, ofThisBuild(def.id)) << def.name;
        EXPECT_EQ(m_form->rows(def.id).empty(), !ofThisBuild(def.id)) << def.name;
    }
    EXPECT_EQ(find("CB_MBus_OnWire_Present"), nullptr);
    EXPECT_EQ(find("E_Ethernet_IP1"), nullptr);
    EXPECT_EQ(find("CP_SNMP_Agent"), nullptr);
}

TEST_F(ParGenLazyPanels, OpeningAndSavingBuildNoOtherPanelAndKeepTheFile)
{
    const QByteArray original = test::readFile(pargenData("all_changed.xml"));
    ASSERT_TRUE(test::writeFile(programState().File_ParGen, original));
    m_form->FormShow();
    m_form->Btn_OKClick();
    ASSERT_EQ(m_form->result(), mrOk);
    EXPECT_EQ(test::readFile(programState().File_ParGen), original);
    for (const PanelDef& def : panelDefs())
        EXPECT_EQ(m_form->panel(def.id) != nullptr, ofThisBuild(def.id)) << def.name;
}

TEST_F(ParGenLazyPanels, PanelBuiltAfterLoadingFollowsTheLoadedValuesAndSavesThemUnchanged)
{
    // The file switches the cable connection to DHCP, which disables the Ethernet panel's
    // address block as soon as that panel exists.
    const QByteArray original = test::readFile(pargenData("all_changed.xml"));
    ASSERT_TRUE(test::writeFile(programState().File_ParGen, original));
    m_form->FormShow();
    const ParGenValues loaded = m_form->values();
    ASSERT_EQ(m_form->panel(PanelId::Ethernet), nullptr);

    showModel(&TFParGen::Order_TAB_Panels_K4R68, &TFParGen::RePosition_Objects_K4R68);
    ASSERT_NE(m_form->panel(PanelId::Ethernet), nullptr);
    EXPECT_FALSE(find("E_Ethernet_IP1")->isEnabled());
    EXPECT_FALSE(find("CB_Ethernet_GAT_En")->isEnabled());
    EXPECT_EQ(m_form->values(), loaded);

    m_form->Btn_OKClick();
    ASSERT_EQ(m_form->result(), mrOk);
    EXPECT_EQ(test::readFile(programState().File_ParGen), original);
}

TEST_F(ParGenLazyPanels, PanelBuiltAfterALanguageChangeTakesTheNewTexts)
{
    ProgramState& s = programState();
    s.Language_Table[437] = QStringLiteral("IP-Adresse");
    s.Language_Table[438] = QStringLiteral("Oktett 1");
    s.Language_Table[448] = QStringLiteral("Gateway verwenden");
    s.Language_Table[634] = QStringLiteral("Vorhanden");
    m_form->Set_Lang();

    showModel(&TFParGen::Order_TAB_Panels_K4R65, &TFParGen::RePosition_Objects_K4R65);
    EXPECT_EQ(find<QLabel>("L_Ethernet_IP")->text(), QStringLiteral("IP-Adresse"));
    EXPECT_EQ(find<QLineEdit>("E_Ethernet_IP1")->toolTip(), QStringLiteral("Oktett 1"));
    EXPECT_EQ(find<QCheckBox>("CB_Ethernet_GAT_En")->toolTip(),
              QStringLiteral("Gateway verwenden"));
    auto* present = find<QComboBox>("CB_MBus_OnWire_Present");
    ASSERT_NE(present, nullptr);
    ASSERT_EQ(present->count(), 2);
    EXPECT_EQ(present->itemText(1), QStringLiteral("Vorhanden"));
    EXPECT_EQ(present->currentIndex(), 0);
}

// The tab chain through the fields follows the design order of the panels whether they were
// built at creation or later for another model.
struct TabCase {
    const char* name;
    void (TFParGen::*order)();
    void (TFParGen::*reposition)();
};

void PrintTo(const TabCase& c, std::ostream* os) { *os << c.name; }

const TabCase kTabCases[] = {
    {"ThisBuild", nullptr, nullptr},
    {"K4R86", &TFParGen::Order_TAB_Panels_K4R86, &TFParGen::RePosition_Objects_K4R86},
    {"K4R91", &TFParGen::Order_TAB_Panels_K4R91, &TFParGen::RePosition_Objects_K4R91},
};

class ParGenLazyTabs : public ParGenLazyPanels, public ::testing::WithParamInterface<TabCase> {};

TEST_P(ParGenLazyTabs, TabVisitsTheFieldsInDesignOrder)
{
    const TabCase& c = GetParam();
    if (c.order)
        showModel(c.order, c.reposition);
    const QStringList chain = tabChain();
    EXPECT_EQ(chain, designChain());
    EXPECT_EQ(chain.first(), QStringLiteral("E_EthConn_Device_Name"));
}

INSTANTIATE_TEST_SUITE_P(Models, ParGenLazyTabs, ::testing::ValuesIn(kTabCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zfw
