// The main window's EDS action: what the save dialog is asked, the file written with the
// clock's time, and the errors and warnings shown through the dialogs.

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "editors/fieldbus/UEDSBuild.h"
#include "editors/fieldbus/core/UEDSWriter.h"
#include "support/FakeServices.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace zfw {
namespace {

class EdsBuild : public test::TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        ProgramState& s = programState();
        Fill_Default_Language(s);
        s.Dir_Project = root();
        Set_Files(s);
        m_fakes.clock.dateTime = QDateTime(QDate(2026, 7, 4), QTime(0, 30));
    }
    std::optional<QString> run()
    {
        return Build_EDS_File(programState(), m_fakes.dialogs, m_fakes.dialogs, m_fakes.clock);
    }
    test::ScopedFakeServices m_fakes;
};

TEST_F(EdsBuild, AsksWhereInTheProjectFolderAndWritesWithTheClocksTime)
{
    const QString target = path(QStringLiteral("gateway.eds"));
    ASSERT_TRUE(test::writeFile(target, "replaced without a question"));
    m_fakes.dialogs.fileAnswers = {target};
    EXPECT_EQ(run(), target);
    ASSERT_EQ(m_fakes.dialogs.fileDialogs.size(), 1u);
    const test::FileDialogAsked& asked = m_fakes.dialogs.fileDialogs[0];
    EXPECT_TRUE(asked.save);
    EXPECT_EQ(asked.request.folder, root());
    EXPECT_EQ(asked.request.filter, QStringLiteral("Electronic Data Sheet (*.eds)|*.eds"));
    EXPECT_EQ(asked.request.defaultSuffix, QStringLiteral("eds"));
    EXPECT_FALSE(asked.request.confirmOverwrite);
    EXPECT_TRUE(m_fakes.dialogs.messages.empty());
    const QByteArray written = test::readFile(target);
    EXPECT_TRUE(written.contains("\r\nCreationTime=12:30AM\r\nCreationDate=07-04-2026\r\n"))
        << written.left(400).toStdString();
    EXPECT_TRUE(written.contains("FileName=NMEA_Send_Frames_CANopen.eds\r\n"));
}

TEST_F(EdsBuild, CancelledDialogWritesNothing)
{
    EXPECT_EQ(run(), std::nullopt);
    EXPECT_TRUE(m_fakes.dialogs.messages.empty());
    EXPECT_EQ(QDir(root()).entryList(QDir::Files).size(), 0);
}

TEST_F(EdsBuild, ARefusedProjectIsReportedAsAnErrorAndNoFileIsWritten)
{
    ASSERT_TRUE(test::writeFile(programState().File_SDO_Server_CANopen,
                                "<SDO_Server_CANopen><SDO_Read><row Index=\"0x1000\" "
                                "SubIndex=\"1\" NByte=\"1\"/></SDO_Read><SDO_Write/>"
                                "</SDO_Server_CANopen>"));
    const QString target = path(QStringLiteral("gateway.eds"));
    m_fakes.dialogs.fileAnswers = {target};
    EXPECT_EQ(run(), std::nullopt);
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(m_fakes.dialogs.messages[0].text,
              programState().lang(kEdsTextIndex)
                  + displayPath(programState().File_SDO_Server_CANopen)
                  + QStringLiteral(", table SDO_Read, row 1: 0x1000"));
    EXPECT_FALSE(QFileInfo::exists(target));
}

TEST_F(EdsBuild, PdosPastTheThirtiethAreLeftOutAndTheUserIsTold)
{
    QByteArray pdo = "<PDO_CANopen><Receive_PDO>";
    for (int i = 0; i < 32; ++i)
        pdo += "<row COB-ID=\"" + QByteArray::number(0x200 + i) + "\" Dimension=\"1\"/>";
    pdo += "</Receive_PDO><Transmit_PDO/></PDO_CANopen>";
    ASSERT_TRUE(test::writeFile(programState().File_PDO_CANopen, pdo));
    const QString target = path(QStringLiteral("gateway.eds"));
    m_fakes.dialogs.fileAnswers = {target};
    EXPECT_EQ(run(), target);
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtWarning);
    EXPECT_EQ(m_fakes.dialogs.messages[0].text,
              programState().lang(kEdsTextPdosLeftOut) + QStringLiteral("2"));
    EXPECT_TRUE(test::readFile(target).contains("\r\nNrOfRXPDO=30\r\n"));
}

}  // namespace
}  // namespace zfw
