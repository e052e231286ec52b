// Importing an EDS connection into a rule row, and the data-segment editor's value check.

#include "editors/building/core/UEtherNetIPImport.h"
#include "editors/building/core/UEtherNetIPRuleSpec.h"

#include "support/CaseName.h"
#include "support/Files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace zfw {
namespace {

class EdsImport : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_eds = m_dir.filePath(QStringLiteral("drive.eds"));
        ASSERT_TRUE(test::writeFile(m_eds,
                                    "[Assembly]\nAssem1 = a,,32,,,,16,Param1,8,Param2;\n"
                                    "Assem2 = b,,8,,,,8,Param7;\n[Params]\n"
                                    "Param1 = 0,,,0,0xC7,2,\"Speed\",,,0,2000,1000;\n"
                                    "Param2 = 0,,,0,0xC6,1,\"Mode\",,,0,1,1;\n"
                                    "Enum2 = 0,\"Off\",1,\"On\";\n"));
        m_file.tables[0].clear();
        m_conn.InstanceOT = 150;
        m_conn.ConnPointOT = 151;
        m_conn.InstanceTO = 100;
        m_conn.ConnPointTO = 101;
        m_conn.DimHeaderOT = 4;
        m_conn.DimHeaderTO = 2;
        m_conn.TargetConfSize = QStringLiteral("4");
        m_conn.TargetConfFormat = QStringLiteral("Assem1");
    }
    RuleTable& table() { return m_file.tables[0]; }

    QTemporaryDir m_dir;
    QString m_eds;
    RuleFile m_file{etherNetIPRuleSpec()};
    TConnData m_conn;
};

TEST_F(EdsImport, FillsFirstRowWithoutIpAndInstance)
{
    table().setCell(2, 1, QStringLiteral("10.0.0.1"));
    table().setCell(table().spec().col(u"Instance_T_O"), 2, QStringLiteral("5"));
    table().setCell(table().spec().col(u"ElectronicKey"), 3, QStringLiteral("kept"));
    EdsDeviceIdentity id;
    id.VendCode = 1;
    id.ProdType = 12;
    id.ProdCode = 3;
    id.MajRev = 2;
    id.MinRev = 1;
    const EdsImportResult r = importEdsTarget(table(), m_conn, id, m_eds);
    ASSERT_EQ(r.row, 3);
    EXPECT_TRUE(r.error.isEmpty());
    EXPECT_EQ(table().text(u"Instance_O_T", 3), QStringLiteral("150"));
    EXPECT_EQ(table().text(u"Connection_Point_O_T", 3), QStringLiteral("151"));
    EXPECT_EQ(table().text(u"Instance_T_O", 3), QStringLiteral("100"));
    EXPECT_EQ(table().text(u"Connection_Point_T_O", 3), QStringLiteral("101"));
    EXPECT_EQ(table().text(u"Dim_Header_T_O", 3), QStringLiteral("2"));
    EXPECT_EQ(table().text(u"Dim_Header_O_T", 3), QStringLiteral("Default"));
    EXPECT_EQ(table().text(u"ElectronicKey", 3),
              QStringLiteral("0x01, 0x00, 0x0C, 0x00, 0x03, 0x00, 0x82, 0x01"));
    EXPECT_EQ(table().text(u"DataSegment", 3), QStringLiteral("0xE8,0x03,0x01,0x00"));
    EXPECT_EQ(table().text(u"IP_Address", 3), QString());
    const auto config = rowTargetConfig(table(), 3);
    ASSERT_TRUE(config);
    EXPECT_EQ(config->FileName, m_eds);
    EXPECT_EQ(config->ListParamObject.size(), 2);
}

TEST_F(EdsImport, EmptyIdentityKeepsKeyAndNoFormatLeavesNoConfiguration)
{
    table().setCell(table().spec().col(u"ElectronicKey"), 1, QStringLiteral("kept"));
    table().setCell(table().spec().col(u"DataSegment"), 1, QStringLiteral("0x01"));
    setRowTargetConfig(table(), 1, TTargetConfig{});
    m_conn.TargetConfFormat.clear();
    const EdsImportResult r = importEdsTarget(table(), m_conn, {}, m_eds);
    ASSERT_EQ(r.row, 1);
    EXPECT_EQ(table().text(u"ElectronicKey", 1), QStringLiteral("kept"));
    EXPECT_EQ(table().text(u"DataSegment", 1), QString());
    EXPECT_FALSE(rowTargetConfig(table(), 1));
}

TEST_F(EdsImport, UndecodableConfigurationReportedAndNotKept)
{
    m_conn.TargetConfFormat = QStringLiteral("Assem2");
    const EdsImportResult r = importEdsTarget(table(), m_conn, {}, m_eds);
    ASSERT_EQ(r.row, 1);
    EXPECT_TRUE(r.error.contains(QStringLiteral("drive.eds"))) << r.error.toStdString();
    EXPECT_EQ(table().text(u"Instance_T_O", 1), QStringLiteral("100"));
    EXPECT_EQ(table().text(u"DataSegment", 1), QString());
    EXPECT_FALSE(rowTargetConfig(table(), 1));
}

TEST_F(EdsImport, NoFreeRowChangesNothing)
{
    for (int r = 1; r <= kEtherNetIPRules; ++r)
        table().setCell(r % 2 ? 2 : table().spec().col(u"Instance_T_O"), r, QStringLiteral("1"));
    EXPECT_EQ(importEdsTarget(table(), m_conn, {}, m_eds).row, 0);
    EXPECT_EQ(table().text(u"Instance_O_T", 1), QString());
}

TTargetConfig twoParams()
{
    TTargetConfig c;
    TTC_ParamObj a;
    a.Min = -5;
    a.Max = 5;
    a.Value = 1;
    TTC_ParamObj e;
    e.Enum = true;
    e.Value = 9;
    TTC_ParamObj wide;
    wide.Min = std::numeric_limits<qint64>::min();
    wide.Max = 0;
    c.ListParamObject = {a, e, wide};
    return c;
}

struct ValueCase {
    std::string name;
    QStringList texts;
    int faultRow;  // 0: passes
    qint64 first = 0;
};

class DataSegValue : public ::testing::TestWithParam<ValueCase> {};

TEST_P(DataSegValue, ChecksNonEnumeratedValues)
{
    TTargetConfig c = twoParams();
    const auto f = Check_Value(c, GetParam().texts);
    if (GetParam().faultRow == 0) {
        ASSERT_FALSE(f);
        EXPECT_EQ(c.ListParamObject[0].Value, GetParam().first);
        EXPECT_EQ(c.ListParamObject[1].Value, 9);
    } else {
        ASSERT_TRUE(f);
        EXPECT_EQ(f->row, GetParam().faultRow);
        EXPECT_EQ(c.ListParamObject[0].Value, 1);
    }
}

const ValueCase kValues[] = {
    {"MinAndMaxPass", {QStringLiteral("-5"), QStringLiteral("x"), QStringLiteral("0")}, 0, -5},
    {"HexReadsAsNumber", {QStringLiteral("0x5"), QString(), QStringLiteral("-1")}, 0, 5},
    {"BelowMin", {QStringLiteral("-6"), QString(), QStringLiteral("0")}, 1},
    {"AboveMax", {QStringLiteral("6"), QString(), QStringLiteral("0")}, 1},
    {"Letters", {QStringLiteral("abc"), QString(), QStringLiteral("0")}, 1},
    {"UnreadableWithSmallestMin", {QStringLiteral("1"), QString(), QStringLiteral("?")}, 3},
    {"SmallestValuePasses",
     {QStringLiteral("2"), QString(), QStringLiteral("-9223372036854775808")},
     0,
     2},
};

INSTANTIATE_TEST_SUITE_P(DataSeg, DataSegValue, ::testing::ValuesIn(kValues), test::CaseName{});

TEST(DataSeg, MessageAndTakingValuesBack)
{
    EXPECT_EQ(
        dataSegFaultMessage(QStringLiteral("Param Number %d. The Value must be between %d and %d"),
                            {3, std::numeric_limits<qint64>::min(), 0}),
        QStringLiteral("Param Number 3. The Value must be between -9223372036854775808 and 0"));
    TTargetConfig c = twoParams();
    TTargetConfig edited = c;
    edited.ListParamObject[1].Value = 0;
    takeEditedValues(c, edited);
    EXPECT_EQ(c.ListParamObject[1].Value, 0);
    EXPECT_EQ(c, edited);
}

}  // namespace
}  // namespace zfw
