// The PROFINET GSDML text and its file name.

#include "editors/building/core/UGSDMLWriter.h"

#include "support/CaseName.h"
#include "support/Files.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zfw {
namespace {

const QString kGolden = QStringLiteral(ZFW_TEST_DATA_DIR "/enip/gsdml_default.xml");

TEST(GsdmlGolden, DefaultsMatchStoredFile)
{
    const QByteArray bytes = gsdmlFileBytes(buildGsdmlLines(GsdmlParams{}));
    EXPECT_EQ(bytes, test::readFile(kGolden));
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"));
    EXPECT_TRUE(bytes.endsWith("</ISO15745Profile>\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n'));
}

struct ParGenCase {
    std::string name;
    QByteArray xml;
    int in, out;
    QString station;
};

class GsdmlParGen : public ::testing::TestWithParam<ParGenCase> {};

TEST_P(GsdmlParGen, ReadsValuesWithDefaults)
{
    const GsdmlParams p = Read_GSDML_Param(GetParam().xml);
    EXPECT_EQ(p.GSDML_Nb_In, GetParam().in);
    EXPECT_EQ(p.GSDML_Nb_Out, GetParam().out);
    EXPECT_EQ(p.GSDML_Name_Sta, GetParam().station);
}

const ParGenCase kParGen[] = {
    {"NoFile", QByteArray(), 1438, 1438, QStringLiteral("SERIAL")},
    {"NoElements", "<ParGen/>", 1438, 1438, QStringLiteral("SERIAL")},
    {"AllThree",
     "<ParGen><PROFINET_NB_IN>10</PROFINET_NB_IN><PROFINET_NB_OUT>20</PROFINET_NB_OUT>"
     "<PROFINET_NAME_STA> gw-1 </PROFINET_NAME_STA></ParGen>",
     10, 20, QStringLiteral(" gw-1 ")},
    {"NonNumericAndBlankName",
     "<ParGen><PROFINET_NB_IN>ten</PROFINET_NB_IN><PROFINET_NB_OUT>-3</PROFINET_NB_OUT>"
     "<PROFINET_NAME_STA>   </PROFINET_NAME_STA></ParGen>",
     1438, -3, QStringLiteral("SERIAL")},
};

INSTANTIATE_TEST_SUITE_P(Gsdml, GsdmlParGen, ::testing::ValuesIn(kParGen), test::CaseName{});

TEST(Gsdml, CountsBeyondTheTemplateAreFlagged)
{
    EXPECT_TRUE(gsdmlCountsDescribable({1440, 0, {}}));
    EXPECT_FALSE(gsdmlCountsDescribable({1441, 0, {}}));
    EXPECT_FALSE(gsdmlCountsDescribable({0, -1, {}}));
}

// Runs xmllint with args on the file; the output, or nothing when it failed.
std::optional<QByteArray> xmllint(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("xmllint"), args);
    if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    QByteArray out = p.readAllStandardOutput();
    if (out.endsWith('\n'))
        out.chop(1);  // xmllint ends its answer with a line feed
    return out;
}

class GsdmlLint : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty())
            GTEST_SKIP() << "xmllint is not installed (Debian package libxml2-utils)";
        ASSERT_TRUE(m_dir.isValid());
    }
    QString write(const GsdmlParams& p)
    {
        const QString path = m_dir.filePath(QStringLiteral("out.xml"));
        EXPECT_TRUE(test::writeFile(path, gsdmlFileBytes(buildGsdmlLines(p))));
        return path;
    }
    QTemporaryDir m_dir;
};

TEST_F(GsdmlLint, OutputIsWellFormed)
{
    EXPECT_TRUE(xmllint({QStringLiteral("--noout"), write(GsdmlParams{})}));
}

TEST_F(GsdmlLint, StationNameWithXmlCharactersReadsBackExactly)
{
    GsdmlParams p;
    p.GSDML_Name_Sta = QStringLiteral(" A&B <C> \"D\" 'E' ");
    p.GSDML_Nb_Out = 17;
    const QString path = write(p);
    ASSERT_TRUE(xmllint({QStringLiteral("--noout"), path}));
    const auto name = xmllint(
        {QStringLiteral("--xpath"),
         QStringLiteral("string(//*[local-name()='DeviceAccessPointItem']/@DNS_CompatibleName)"),
         path});
    ASSERT_TRUE(name);
    EXPECT_EQ(QString::fromUtf8(*name), p.GSDML_Name_Sta);
    const auto length = xmllint(
        {QStringLiteral("--xpath"),
         QStringLiteral("string(//*[local-name()='Input']/*[local-name()='DataItem']/@Length)"),
         path});
    ASSERT_TRUE(length);
    EXPECT_EQ(*length, QByteArray("17"));
}

struct NameCase {
    std::string name;
    QString user, file;
};

class GsdmlName : public ::testing::TestWithParam<NameCase> {};

TEST_P(GsdmlName, ComposesFixedUserAndDateParts)
{
    const QString date = gsdmlDatePart(QDate(2025, 1, 9));
    EXPECT_EQ(date, QStringLiteral("-20250109.xml"));
    EXPECT_EQ(composeGsdmlFileName(GetParam().user, date), GetParam().file);
}

const NameCase kNames[] = {
    {"Empty", QString(), QStringLiteral("GSDML-V2.25-Brenik--20250109.xml")},
    {"Blank", QStringLiteral("   "), QStringLiteral("GSDML-V2.25-Brenik--20250109.xml")},
    {"Plain", QStringLiteral("Node7"), QStringLiteral("GSDML-V2.25-Brenik-_Node7-20250109.xml")},
    {"UnderscoreLed", QStringLiteral("_Node7"),
     QStringLiteral("GSDML-V2.25-Brenik-_Node7-20250109.xml")},
    {"BlankLed", QStringLiteral(" Node7"),
     QStringLiteral("GSDML-V2.25-Brenik-_ Node7-20250109.xml")},
};

INSTANTIATE_TEST_SUITE_P(Gsdml, GsdmlName, ::testing::ValuesIn(kNames), test::CaseName{});

}  // namespace
}  // namespace zfw
