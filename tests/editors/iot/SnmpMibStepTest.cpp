// The main window's MIB step: the save dialog, the overwrite question, the agent file read
// only when the module is to be written, and a file whose names would break the module
// refused with its row.

#include "editors/iot/USNMPMibStep.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "support/FakeServices.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

class SnmpMibStep : public test::TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        ProgramState& s = programState();
        Fill_Default_Language(s);
        s.Dir_Project = root();
        s.File_SNMP_Trap = path(QStringLiteral("SNMP_Trap.xml"));
        ASSERT_TRUE(test::writeFile(s.File_SNMP_Trap,
                                    test::readFile(
                                        QStringLiteral(ZFW_TEST_DATA_DIR "/snmp/agent_mix.xml"))));
    }
    bool run() { return Save_MIB(m_fakes.dialogs, programState(), MakerTexts{}); }

    test::ScopedFakeServices m_fakes;
};

TEST_F(SnmpMibStep, WritesTheModuleWithTheExtension)
{
    m_fakes.dialogs.fileAnswers = {path(QStringLiteral("gateway"))};
    EXPECT_TRUE(run());
    ASSERT_EQ(m_fakes.dialogs.fileDialogs.size(), 1u);
    const FileDialogRequest& asked = m_fakes.dialogs.fileDialogs[0].request;
    EXPECT_EQ(asked.folder, root());
    EXPECT_EQ(asked.filter, QStringLiteral("Management Information Base (*.mib)|*.mib"));
    EXPECT_TRUE(m_fakes.dialogs.messages.empty());
    const QByteArray bytes = test::readFile(path(QStringLiteral("gateway.mib")));
    EXPECT_TRUE(bytes.contains("\r\nalarmBit OBJECT-TYPE SYNTAX INTEGER")) << bytes.toStdString();
    EXPECT_EQ(programState().SNMP_Trap_Read_Names.size(), 3);
}

TEST_F(SnmpMibStep, CancelOrNoLeaveEverythingAsItWas)
{
    EXPECT_FALSE(run());  // the dialog cancelled
    const QString target = path(QStringLiteral("old.mib"));
    ASSERT_TRUE(test::writeFile(target, "old"));
    programState().SNMP_Trap_Read_Names = QStringList{QStringLiteral("before")};
    m_fakes.dialogs.fileAnswers = {target};
    m_fakes.dialogs.messageAnswers = {mrNo};
    EXPECT_FALSE(run());
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].text,
              QStringLiteral("File already exists. Do you want to overwrite?"));
    EXPECT_EQ(test::readFile(target), QByteArray("old"));
    // On No the agent file is not even read.
    EXPECT_EQ(programState().SNMP_Trap_Read_Names, QStringList{QStringLiteral("before")});
    m_fakes.dialogs.fileAnswers = {target};
    m_fakes.dialogs.messageAnswers = {mrYes};
    EXPECT_TRUE(run());
    EXPECT_TRUE(test::readFile(target).startsWith("GATEWAY DEFINITIONS ::= BEGIN\r\n"));
}

struct RefusedCase {
    const char* name;
    QByteArray agentFile;
    const char* message;  // what the message holds
};

class SnmpMibStepRefused : public SnmpMibStep, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(SnmpMibStepRefused, NothingIsWritten)
{
    ASSERT_TRUE(test::writeFile(programState().File_SNMP_Trap, GetParam().agentFile));
    m_fakes.dialogs.fileAnswers = {path(QStringLiteral("gateway.mib"))};
    EXPECT_FALSE(run());
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtError);
    EXPECT_TRUE(m_fakes.dialogs.messages[0].text.contains(QString::fromUtf8(GetParam().message)))
        << m_fakes.dialogs.messages[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("gateway.mib"))));
}

const RefusedCase kRefused[] = {
    {"FixedName",
     "<SNMP_Trap><SNMP_Trap_Read><row Enable=\"N\"/><row Enable=\"Y\" Description=\"data\"/>"
     "</SNMP_Trap_Read></SNMP_Trap>",
     "The MIB was not written: row 2 of the SNMP Read table has the object name \"data\", which "
     "the MIB already uses for an object of its own ("},
    {"DuplicateAcrossTables",
     "<SNMP_Trap><SNMP_Trap_Read><row Enable=\"Y\" Description=\"level\"/></SNMP_Trap_Read>"
     "<SNMP_Trap_Write><row Enable=\"Y\" Description=\"level\"/></SNMP_Trap_Write></SNMP_Trap>",
     "The MIB was not written: row 1 of the SNMP Write table has the object name \"level\", "
     "which an earlier object already has"},
    {"Characters",
     "<SNMP_Trap><SNMP_Trap_Write><row Enable=\"y\" Description=\"a b\"/></SNMP_Trap_Write>"
     "</SNMP_Trap>",
     "The MIB was not written: row 1 of the SNMP Write table has the object name \"a b\", which "
     "must start with a lower-case letter and hold only letters and digits"},
    {"NotXml", "<SNMP_Trap><SNMP_Trap_Read>", "SNMP_Trap.xml"},
};
INSTANTIATE_TEST_SUITE_P(Files, SnmpMibStepRefused, ::testing::ValuesIn(kRefused),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zfw
