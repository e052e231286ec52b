#include "common/UComon.h"

#include <QSet>

#include <gtest/gtest.h>

namespace zfw {
namespace {

TEST(SetFiles, BuildsThirtyDistinctPathsInsideTheProject)
{
    ProgramState s;
    s.Dir_Projects = QStringLiteral("/data/PROJECTS");
    s.Dir_Project = QStringLiteral("/data/PROJECTS/Plant 1");
    Set_Files(s);

    EXPECT_EQ(s.File_ParGen, QStringLiteral("/data/PROJECTS/Plant 1/ParGen.xml"));
    EXPECT_EQ(s.File_LoRaWAN_SetAccess,
              QStringLiteral("/data/PROJECTS/Plant 1/LoRaWAN_SetAccess.xml"));
    EXPECT_EQ(s.File_S7_Protocol, QStringLiteral("/data/PROJECTS/Plant 1/S7_Protocol.xml"));
    EXPECT_EQ(s.File_M_Bus, QStringLiteral("/data/PROJECTS/Plant 1/M_Bus.xml"));
    EXPECT_EQ(s.File_SNMP_Trap, QStringLiteral("/data/PROJECTS/Plant 1/SNMP_Trap.xml"));

    QSet<QString> seen;
    for (const ProjectFile& f : kProjectFiles) {
        const QString& p = s.*f.path;
        EXPECT_EQ(p, s.Dir_Project + QLatin1Char('/') + QLatin1String(f.fileName));
        seen.insert(p);
    }
    EXPECT_EQ(seen.size(), 30);
}

TEST(SetFiles, LeavesPathsEmptyWithoutProject)
{
    ProgramState s;
    s.Dir_Project = QStringLiteral("/x");
    Set_Files(s);
    s.Dir_Project.clear();
    Set_Files(s);
    for (const ProjectFile& f : kProjectFiles)
        EXPECT_TRUE((s.*f.path).isEmpty()) << f.fileName;
}

TEST(ProgramStateTest, ResetGivesFreshState)
{
    programState().Project_Name = QStringLiteral("x");
    programState().Opt_Enable_Internet = true;
    resetProgramState();
    EXPECT_TRUE(programState().Project_Name.isEmpty());
    EXPECT_FALSE(programState().Opt_Enable_Internet);
    EXPECT_FALSE(programState().isProjectActive());
}

TEST(ProgramStateTest, LangOutsideTableIsEmpty)
{
    ProgramState s;
    s.Language_Table = {QStringLiteral("a")};
    EXPECT_EQ(s.lang(0), QStringLiteral("a"));
    EXPECT_EQ(s.lang(1), QString());
    EXPECT_EQ(s.lang(-1), QString());
}

struct NameCase {
    const char* name;
    const char* text;
    bool valid;
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << c.name; }

const NameCase kNames[] = {
    {"plain", "Plant 1", true},
    {"dotsInside", "a.b", true},
    {"unicode", "Stazione \xc3\xa8", true},
    {"empty", "", false},
    {"dot", ".", false},
    {"dotDot", "..", false},
    {"slash", "a/b", false},
    {"backslashEscape", "..\\x", false},
    {"colon", "c:x", false},
    {"star", "a*", false},
    {"question", "a?", false},
    {"quote", "a\"b", false},
    {"angles", "<a>", false},
    {"pipe", "a|b", false},
    {"control", "a\tb", false},
    {"trailingBlank", "abc ", false},
    {"trailingDot", "abc.", false},
    {"deviceCon", "CON", false},
    {"deviceLowerNul", "nul", false},
    {"deviceWithExtension", "com1.txt", false},
    {"deviceLpt9", "LPT9", false},
    {"com0IsFine", "COM0", true},
    {"conPrefixIsFine", "CONFIG", true},
};

class ProjectName : public ::testing::TestWithParam<NameCase> {};

TEST_P(ProjectName, RefusesNamesThatEscapeOrThatFolderNamesRefuse)
{
    EXPECT_EQ(isValidProjectName(QString::fromUtf8(GetParam().text)), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProjectName, ::testing::ValuesIn(kNames),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BuildHelpers, DefinedValuesOfThisBuild)
{
    EXPECT_EQ(Default_BACnet_Eng_Unit(), 95);
    EXPECT_EQ(Get_ScanDecode_Form_Type(), 0);
    EXPECT_TRUE(Get_XML_Code_Dev().isEmpty());
    EXPECT_STREQ(Build_SW_Code, "CFK4R89");
    EXPECT_STREQ(Build_SW_Version, "1.002");
    EXPECT_STREQ(Build_SW_Description, "S7comm Client / LoRaWAN - Converter");
}

}  // namespace
}  // namespace zfw
