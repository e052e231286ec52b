// The whole "Update Device UDP" step up to the update window: what stops it, and what it
// leaves behind when it goes through.

#include "config/UUpdateDevice.h"

#include "config/UBoot.h"

#include "UpdateDeviceSupport.h"

#include <QFileInfo>

namespace zfw {
namespace {

class UpdateStep : public test::UpdateProjectTest {
protected:
    void SetUp() override
    {
        UpdateProjectTest::SetUp();
        m_fakes.dialogs.onShowModal = [this](QDialog& d) {
            if (auto* b = qobject_cast<TFBoot*>(&d))
                m_formTypeShown = b->Form_Type;
            return mrCancel;
        };
    }

    void writeRules(const char* numByte)
    {
        ASSERT_TRUE(test::writeFile(state().File_ParGen,
                                    "<ParGen><LoRa_Payload_Size>51</LoRa_Payload_Size></ParGen>"));
        ASSERT_TRUE(test::writeFile(
            state().File_LoRaWAN_SetAccess,
            QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Uplink><row Enable=\"Y\" NumByte=\"") + numByte
                + "\"/></LoRaWAN_Uplink><LoRaWAN_Downlink/></LoRaWAN_Set_Access>"));
    }

    test::ScopedFakeServices m_fakes;
    TFBoot m_boot;
    int m_formTypeShown = -1;
};

TEST_F(UpdateStep, RulesThatFitGiveBothBankFilesAndTheEthernetWindow)
{
    writeRules("49");
    m_boot.Form_Type = 0;
    Update_Device(state(), &m_boot, nullptr);

    EXPECT_TRUE(m_fakes.dialogs.messages.empty());
    EXPECT_EQ(QFileInfo(binPath("bank1.bin")).size(), 2048);
    EXPECT_EQ(QFileInfo(binPath("bank2.bin")).size(), 36864);
    EXPECT_EQ(m_fakes.dialogs.shownForms, QStringList{QStringLiteral("TFBoot")});
    EXPECT_EQ(m_formTypeShown, 1);
}

TEST_F(UpdateStep, ProjectWithoutFilesStillCompiles)
{
    Update_Device(state(), &m_boot, nullptr);
    EXPECT_TRUE(QFile::exists(binPath("bank1.bin")));
    EXPECT_EQ(m_fakes.dialogs.shownForms.size(), 1);
}

TEST_F(UpdateStep, RuleTooLongStopsWithText30AndWritesNothing)
{
    writeRules("50");
    Update_Device(state(), &m_boot, nullptr);

    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].text,
              QStringLiteral(
                  "Error in configuration, Num. Byte not conformed with Max Payload Size"));
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtError);
    EXPECT_FALSE(QFile::exists(binPath("bank1.bin")));
    EXPECT_TRUE(m_fakes.dialogs.shownForms.isEmpty());
}

TEST_F(UpdateStep, MalformedRuleFileIsNamedAndStopsTheStep)
{
    ASSERT_TRUE(test::writeFile(state().File_LoRaWAN_SetAccess, "<LoRaWAN_Set_Access><"));
    Update_Device(state(), &m_boot, nullptr);

    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_TRUE(m_fakes.dialogs.messages[0].text.contains(QLatin1String("LoRaWAN_SetAccess.xml")));
    EXPECT_FALSE(QFile::exists(binPath("bank1.bin")));
    EXPECT_TRUE(m_fakes.dialogs.shownForms.isEmpty());
}

TEST_F(UpdateStep, BankFilesThatCannotBeWrittenStopBeforeTheWindow)
{
    writeRules("10");
    // A regular file where the bin folder belongs: neither the folder nor the images can be
    // created.
    const QString bin = joinPath(state().Dir_Project, QStringLiteral("bin"));
    ASSERT_TRUE(test::writeFile(bin, "not a folder"));
    Update_Device(state(), &m_boot, nullptr);

    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtError);
    EXPECT_TRUE(m_fakes.dialogs.messages[0].text.contains(QLatin1String("bin")))
        << m_fakes.dialogs.messages[0].text.toStdString();
    EXPECT_TRUE(m_fakes.dialogs.shownForms.isEmpty());
    EXPECT_EQ(test::readFile(bin), QByteArray("not a folder"));
}

TEST_F(UpdateStep, CompileFailureStopsBeforeTheBankFiles)
{
    // A rule file without its uplink table cannot be compiled.
    ASSERT_TRUE(test::writeFile(state().File_LoRaWAN_SetAccess, "<LoRaWAN_Set_Access/>"));
    Update_Device(state(), &m_boot, nullptr);

    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_TRUE(m_fakes.dialogs.messages[0].text.contains(QLatin1String("LoRaWAN_Uplink")))
        << m_fakes.dialogs.messages[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(binPath("bank1.bin")));
    EXPECT_TRUE(m_fakes.dialogs.shownForms.isEmpty());
}

}  // namespace
}  // namespace zfw
