// The PROFIBUS GSD text built from the two byte counts.

#include "editors/building/core/UGSDWriter.h"

#include "support/CaseName.h"
#include "support/Files.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

MakerTexts testMaker()
{
    return {QStringLiteral("Brenikcorp"),          QStringLiteral("Via Esempio 1"),
            QStringLiteral("12345 Town"),          QStringLiteral("Province - Country"),
            QStringLiteral("Tel. +00 123"),        QStringLiteral("Fax +00 124"),
            QStringLiteral("support@example.com"), QStringLiteral("www.example.com")};
}

QString goldenPath(const std::string& name)
{
    return QStringLiteral(ZFW_TEST_DATA_DIR "/enip/") + QString::fromStdString(name)
           + QStringLiteral(".gsd");
}

struct GsdCase {
    std::string name;
    int nbIn;   // gateway input: the master's output modules
    int nbOut;  // gateway output: the master's input modules
};

class GsdGolden : public ::testing::TestWithParam<GsdCase> {};

TEST_P(GsdGolden, MatchesStoredFile)
{
    const QByteArray bytes = gsdFileBytes(
        buildGsdLines(GetParam().nbIn, GetParam().nbOut, testMaker()));
    const QString path = goldenPath(GetParam().name);
    EXPECT_EQ(bytes, test::readFile(path)) << path.toStdString();
}

const GsdCase kGsd[] = {
    {"gsd_none", 0, 0},    {"gsd_in64", 0, 64},        {"gsd_in65", 0, 65},
    {"gsd_in128", 0, 128}, {"gsd_in70_out10", 10, 70},
};

INSTANTIATE_TEST_SUITE_P(Gsd, GsdGolden, ::testing::ValuesIn(kGsd), test::CaseName{});

TEST(Gsd, BoxLinesAre85WideAndFileEndsWithCrLf)
{
    const QStringList lines = buildGsdLines(10, 70, testMaker());
    for (int i = 1; i <= 20; ++i)
        EXPECT_EQ(lines[i].size(), 85) << "line " << i + 1;
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral(";* Vendor:         Brenikcorp ")));
    const QByteArray bytes = gsdFileBytes(lines);
    EXPECT_TRUE(bytes.endsWith("EndSlotDefinition\r\n\r\n\r\n\r\n\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), lines.size());
    EXPECT_EQ(bytes.count('\n'), lines.size());
}

TEST(Gsd, MakerTextTooLongOrNonAsciiKeepsTheBox)
{
    MakerTexts m = testMaker();
    m.street = QString(100, u'x');
    m.phone = QStringLiteral("T\u00e9l");
    const QStringList lines = buildGsdLines(0, 0, m);
    EXPECT_EQ(lines[5].size(), 85);
    EXPECT_TRUE(lines[5].endsWith(u'*'));
    EXPECT_TRUE(gsdFileBytes(lines).contains(";*                 T?l "));
}

TEST(Gsd, ModulesCountFromInputsAndNoInputsStartsOutputsAtOne)
{
    const QStringList lines = buildGsdLines(130, 0, testMaker());
    EXPECT_TRUE(lines.contains(QStringLiteral("Module=\"DO  (PORT1)    \" 0x82,0x3F,0x00,0x01")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Module=\"DO  (PORT3)    \" 0x82,0x01,0x00,0x03")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Max_Module=3")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Slot(3) = \"Slot 3\" 3 3")));
    // A negative count gives no module but is written as it stands.
    const QStringList neg = buildGsdLines(-5, 0, testMaker());
    EXPECT_TRUE(neg.contains(QStringLiteral("Max_Output_Len=-5")));
    EXPECT_TRUE(neg.contains(QStringLiteral("Max_Module=0")));
}

struct NameCase {
    std::string name;
    QString chosen, file;
};

class GsdName : public ::testing::TestWithParam<NameCase> {};

TEST_P(GsdName, GetsGsdExtensionOnce)
{
    EXPECT_EQ(gsdFileName(GetParam().chosen), GetParam().file);
}

const NameCase kNames[] = {
    {"Bare", QStringLiteral("dev"), QStringLiteral("dev.gsd")},
    {"UpperCaseKept", QStringLiteral("dev.GSD"), QStringLiteral("dev.GSD")},
    {"OtherExtension", QStringLiteral("a.gsd.txt"), QStringLiteral("a.gsd.txt.gsd")},
};

INSTANTIATE_TEST_SUITE_P(Gsd, GsdName, ::testing::ValuesIn(kNames), test::CaseName{});

TEST(Gsd, CountsReadFromParGenAndTheirLimits)
{
    const GsdCounts c = readGsdCounts(
        "<ParGen><PROFINET_NB_IN>12</PROFINET_NB_IN><PROFINET_NB_OUT>x</PROFINET_NB_OUT></ParGen>");
    EXPECT_EQ(c.GSD_Nb_In, 12);
    EXPECT_EQ(c.GSD_Nb_Out, 0);
    EXPECT_EQ(readGsdCounts("not xml").GSD_Nb_In, 0);
    EXPECT_TRUE(gsdCountsDescribable(244, 0));
    EXPECT_FALSE(gsdCountsDescribable(245, 0));
    EXPECT_FALSE(gsdCountsDescribable(0, -1));
}

}  // namespace
}  // namespace zfw
