// The step that saves the gateway's EDE file: the name, the overwrite question, a refusal.

#include "editors/building/BACnetFixture.h"

#include "editors/building/BACnetEdeStep.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

const QDateTime kNow(QDate(2025, 2, 4), QTime(9, 5, 3));

struct StepCase {
    const char* name;
    const char* typed;    // the name the save dialog returns
    const char* written;  // the file expected; null: none
    bool exists;          // the file is there before
    TModalResult answer;  // to the overwrite question
};

const StepCase kStepCases[] = {
    {"CsvAppended", "plant", "plant.csv", false, mrYes},
    {"UpperCaseSuffixKept", "PLANT.CSV", "PLANT.CSV", false, mrYes},
    {"OverwriteYes", "plant.csv", "plant.csv", true, mrYes},
    {"OverwriteNo", "plant", nullptr, true, mrNo},
    {"OverwriteCancel", "plant", nullptr, true, mrCancel},
};

class EdeStep : public test::BACnetWindowTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(EdeStep, NameQuestionAndFile)
{
    const StepCase& c = GetParam();
    programState().Project_Name = QStringLiteral("Plant");
    const QString target = path(QStringLiteral("plant.csv"));
    if (c.exists) {
        ASSERT_TRUE(test::writeFile(target, "old"));
    }
    m_fakes.dialogs.fileAnswers = {path(QString::fromLatin1(c.typed))};
    m_fakes.dialogs.messageAnswers = {c.answer};
    const bool written = BACnet_EDE_File(m_fakes.dialogs, programState(), kNow);
    EXPECT_EQ(written, c.written != nullptr);
    ASSERT_EQ(m_fakes.dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.fileDialogs[0].request.folder, root());
    EXPECT_EQ(messageTexts().size(), c.exists ? 1 : 0);
    if (c.written) {
        EXPECT_EQ(test::readFile(path(QString::fromLatin1(c.written))),
                  test::readFile(test::bacnetData("ede_plant_empty.csv")));
    } else {
        EXPECT_EQ(test::readFile(target), QByteArray("old"));
    }
}

INSTANTIATE_TEST_SUITE_P(Names, EdeStep, ::testing::ValuesIn(kStepCases), test::CaseName());

class EdeStepFile : public test::BACnetWindowTest {};

TEST_F(EdeStepFile, RefusalIsShownAndNothingWritten)
{
    ASSERT_TRUE(test::writeFile(programState().File_BACnet_Slave_SetAccess,
                                "<R><BACnet_in_Read><row Data_Type=\"Analog Input\" "
                                "Eng_Unit=\"62\" Mnemonic=\"a;b\"/></BACnet_in_Read>"
                                "<BACnet_in_Write/></R>"));
    m_fakes.dialogs.fileAnswers = {path(QStringLiteral("plant"))};
    EXPECT_FALSE(BACnet_EDE_File(m_fakes.dialogs, programState(), kNow));
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtError);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("plant.csv"))));
    m_fakes.dialogs.messages.clear();
    m_fakes.dialogs.fileAnswers = {std::nullopt};
    EXPECT_FALSE(BACnet_EDE_File(m_fakes.dialogs, programState(), kNow));
    EXPECT_TRUE(messageTexts().isEmpty());
}

}  // namespace
}  // namespace zfw
