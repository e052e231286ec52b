// The EtherNet/IP scanner rules: loading and writing with target configurations, the checks.

#include "editors/building/core/UEtherNetIPRuleSpec.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "ruleedit/core/URuleRowTools.h"
#include "support/CaseName.h"
#include "support/Files.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

const QString kGolden = QStringLiteral(ZFW_TEST_DATA_DIR "/enip/EtherNetIP_Master_Rules.xml");

RuleFile loaded(const QByteArray& bytes, RuleLoadReport* report = nullptr)
{
    RuleFile file(etherNetIPRuleSpec());
    const RuleLoadReport r =
        loadRuleFile(file, parseProjectXml(bytes, QStringLiteral("EtherNetIP_Master_Rules.xml")));
    if (report)
        *report = r;
    return file;
}

TEST(EtherNetIPRulesGolden, OpenThenSaveGivesTheSameBytes)
{
    const QByteArray golden = test::readFile(kGolden);
    ASSERT_FALSE(golden.isEmpty());
    RuleLoadReport report;
    const RuleFile file = loaded(golden, &report);
    EXPECT_FALSE(report.askBeforeOverwrite());
    EXPECT_TRUE(Controllo_dati(file).ok());
    EXPECT_EQ(ruleFileBytes(file), golden);

    const auto config = rowTargetConfig(file.tables[0], 1);
    ASSERT_TRUE(config);
    ASSERT_EQ(config->ListParamObject.size(), 2);
    EXPECT_EQ(config->ListParamObject[1].Min, std::numeric_limits<qint64>::min());
    EXPECT_EQ(config->ListParamObject[1].EnumString,
              (QStringList{QStringLiteral("Off"), QStringLiteral("On")}));
    EXPECT_EQ(config->GetConfigStrData(), file.tables[0].text(u"DataSegment", 1));
    EXPECT_FALSE(rowTargetConfig(file.tables[0], 2));
    EXPECT_TRUE(rowTargetConfig(file.tables[0], 3));
}

TEST(EtherNetIPRules, RulesBelowADisabledEmptyRowAreWritten)
{
    RuleFile file(etherNetIPRuleSpec());
    RuleTable& t = file.tables[0];
    t.clear();
    for (int row : {1, 3}) {
        t.setCell(2, row, QStringLiteral("10.0.0.%1").arg(row));
        for (const char* a : {"Start_Input", "Num_Input", "Start_Output", "Num_Output"})
            t.setCell(t.spec().col(QString::fromLatin1(a)), row, QStringLiteral("1"));
        for (const char* a : {"Time_Poll", "Instance_T_O", "Connection_Point_T_O", "Instance_O_T",
                              "Connection_Point_O_T"})
            t.setCell(t.spec().col(QString::fromLatin1(a)), row, QStringLiteral("100"));
        t.setCell(t.spec().col(u"Dim_Header_T_O"), row, QStringLiteral(" DEFAULT "));
        t.setCell(t.spec().col(u"Dim_Header_O_T"), row, QStringLiteral("4"));
    }
    t.setCell(1, 2, QStringLiteral("N"));
    ASSERT_TRUE(Controllo_dati(file).ok());
    const QByteArray bytes = ruleFileBytes(file);
    EXPECT_EQ(bytes.count("<row "), 3);
    EXPECT_TRUE(bytes.contains("IP_Address=\"10.0.0.3\""));
}

struct CheckCase {
    std::string name;
    int row;
    const char* attribute;
    QString text;
    QString message;  // empty: passes
};

class EtherNetIPCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(EtherNetIPCheck, GivesItsMessage)
{
    ProgramState lang;
    Fill_Default_Language(lang);
    RuleFile file = loaded(test::readFile(kGolden));
    RuleTable& t = file.tables[0];
    const CheckCase& c = GetParam();
    t.setCell(t.spec().col(QString::fromLatin1(c.attribute)), c.row, c.text);
    const RuleFault f = Controllo_dati(file);
    EXPECT_EQ(f.ok() ? QString() : ruleFaultMessage(f, file.spec, lang), c.message);
}

const QString kKeyBad = QStringLiteral(
    "Error row 1!! Eletronic Key one or more bytes are wrong. Bytes must have a value between 0 "
    "and 255");
const QString kKeyCount = QStringLiteral("Error row 1!! Eletronic Key must contain 8 bytes");

const CheckCase kChecks[] = {
    {"InputTotal1438Passes", 3, "Num_Input", QStringLiteral("1422"), QString()},
    {"InputTotal1439Refused", 3, "Num_Input", QStringLiteral("1423"),
     QStringLiteral("Error!! The Total Number of Input Bytes must be between 0 and 1438")},
    {"OutputTotal1439Refused", 3, "Num_Output", QStringLiteral("1431"),
     QStringLiteral("Error!! The Total Number of Output Bytes must be between 0 and 1438")},
    {"DisabledRowsDoNotCount", 3, "Enable", QStringLiteral("N"), QString()},
    {"TimePollZero", 1, "Time_Poll", QStringLiteral("0"),
     QStringLiteral("Error row 1!! Poll Time must be between 1 and 100000000")},
    {"TimePollHex", 1, "Time_Poll", QStringLiteral("$FF"), QString()},
    {"BadIp", 3, "IP_Address", QStringLiteral("10.0.0"),
     QStringLiteral("Error row 3!! IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)")},
    {"InstanceAbove65535", 3, "Instance_O_T", QStringLiteral("65536"),
     QStringLiteral("Error row 3!! Instance O > T must be between 0 and 65535. Default Value 1")},
    {"DimHeaderEight", 1, "Dim_Header_T_O", QStringLiteral("8"),
     QStringLiteral(
         "Error row 1!! Dimension Header T > O must be between 0 and 7. Default Value 0")},
    {"DimHeaderEmpty", 1, "Dim_Header_O_T", QString(),
     QStringLiteral(
         "Error row 1!! Dimension Header O > T must be between 0 and 7. Default Value 4")},
    {"KeyOfNumbers", 1, "ElectronicKey", QStringLiteral("1,2,3,4,5,6,7,8"), QString()},
    {"KeyTrailingComma", 1, "ElectronicKey", QStringLiteral("1,2,3,4,5,6,7,8,"), QString()},
    {"KeySeven", 1, "ElectronicKey", QStringLiteral("1,2,3,4,5,6,7"), kKeyCount},
    {"Key256", 1, "ElectronicKey", QStringLiteral("1,2,3,4,5,6,7,256"), kKeyBad},
    {"KeyDoubleComma", 1, "ElectronicKey", QStringLiteral("1,2,,3,4,5,6,7"), kKeyBad},
    {"KeyThreeDigitByte", 1, "ElectronicKey",
     QStringLiteral("0x01, 0x00, 0x0C, 0x00, 0x03, 0x00, 0x102, 0x01"), kKeyBad},
    {"KeyEmpty", 1, "ElectronicKey", QStringLiteral("  "), kKeyCount},
    {"KeyNotEnabled", 1, "EnableElectronicKey", QStringLiteral("n"), QString()},
    {"SegmentEmpty", 1, "DataSegment", QString(),
     QStringLiteral("Error row 1!! Data Segment must contain at least one byte")},
    {"Segment511", 1, "DataSegment", (QStringLiteral("1,").repeated(510) + QStringLiteral("1")),
     QStringLiteral("Error row 1!! Data Segment must at max 510 bytes")},
    {"Segment510", 1, "DataSegment", (QStringLiteral("1,").repeated(509) + QStringLiteral("1")),
     QString()},
};

INSTANTIATE_TEST_SUITE_P(EtherNetIP, EtherNetIPCheck, ::testing::ValuesIn(kChecks),
                         test::CaseName{});

TEST(EtherNetIPRules, DataPathPieces)
{
    EXPECT_EQ(Err_Check_Data_Path(QStringLiteral("20, 04,24 ,01"), 4), 0);
    EXPECT_EQ(Err_Check_Data_Path(QStringLiteral("20,04"), 4), 2);
    EXPECT_EQ(Err_Check_Data_Path(QStringLiteral("20,1FF"), 1), 1);
    EXPECT_EQ(Err_Check_Data_Path(QStringLiteral("20,,04"), 1), 1);
}

struct DamagedCase {
    std::string name;
    QByteArray part;
};

class EtherNetIPDamaged : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(EtherNetIPDamaged, RowLoadsWithoutConfigurationAndReportSaysSo)
{
    const QByteArray bytes = "<EtherNetIP_Master_Access><row Enable=\"Y\" IP_Address=\"1.2.3.4\">"
                             + GetParam().part + "</row></EtherNetIP_Master_Access>";
    RuleLoadReport report;
    const RuleFile file = loaded(bytes, &report);
    EXPECT_EQ(file.tables[0].text(u"IP_Address", 1), QStringLiteral("1.2.3.4"));
    EXPECT_FALSE(rowTargetConfig(file.tables[0], 1));
    ASSERT_EQ(report.rowNotes.size(), 1);
    EXPECT_TRUE(
        report.rowNotes[0].startsWith(QStringLiteral("Row 1 loaded without its"
                                                     " configuration")));
    EXPECT_TRUE(report.askBeforeOverwrite());
}

const DamagedCase kDamaged[] = {
    {"MissingFormat", "<TargetCong FileName=\"\" Size=\"1\" AO_Name=\"\" AO_SizeBit=\"\"/>"},
    {"NonNumericMin",
     "<TargetCong FileName=\"\" Size=\"1\" Format=\"A\" AO_Name=\"\" AO_SizeBit=\"\"><ParamObjects>"
     "<ParamObject BitSize=\"8\" ParamName=\"P\" Name=\"N\" DataSizeByte=\"1\" DataType=\"1\" "
     "Min=\"low\" Max=\"1\" Default=\"0\" Value=\"0\" Enum=\"0\"/></ParamObjects></TargetCong>"},
    {"MissingValue",
     "<TargetCong FileName=\"\" Size=\"1\" Format=\"A\" AO_Name=\"\" AO_SizeBit=\"\"><ParamObjects>"
     "<ParamObject BitSize=\"8\" ParamName=\"P\" Name=\"N\" DataSizeByte=\"1\" DataType=\"1\" "
     "Min=\"0\" Max=\"1\" Default=\"0\" Enum=\"0\"/></ParamObjects></TargetCong>"},
    {"HugeDataSize",
     "<TargetCong FileName=\"\" Size=\"1\" Format=\"A\" AO_Name=\"\" AO_SizeBit=\"\"><ParamObjects>"
     "<ParamObject BitSize=\"8\" ParamName=\"P\" Name=\"N\" DataSizeByte=\"2000000000\" "
     "DataType=\"1\" Min=\"0\" Max=\"1\" Default=\"0\" Value=\"0\" Enum=\"0\"/></ParamObjects>"
     "</TargetCong>"},
    {"EnumWithoutDescription",
     "<TargetCong FileName=\"\" Size=\"1\" Format=\"A\" AO_Name=\"\" AO_SizeBit=\"\"><ParamObjects>"
     "<ParamObject BitSize=\"8\" ParamName=\"P\" Name=\"N\" DataSizeByte=\"1\" DataType=\"1\" "
     "Min=\"0\" Max=\"1\" Default=\"0\" Value=\"0\" Enum=\"1\"><EnumList><Enum Value=\"1\"/>"
     "</EnumList></ParamObject></ParamObjects></TargetCong>"},
};

INSTANTIATE_TEST_SUITE_P(EtherNetIP, EtherNetIPDamaged, ::testing::ValuesIn(kDamaged),
                         test::CaseName{});

TEST(EtherNetIPRules, SlotsMoveWithInsertAndDeleteButNotWithPaste)
{
    RuleFile file(etherNetIPRuleSpec());
    RuleTable& t = file.tables[0];
    t.clear();
    for (int r = 1; r <= 10; ++r) {
        TTargetConfig c;
        c.Format = QStringLiteral("Assem%1").arg(r);
        setRowTargetConfig(t, r, c);
    }
    t.moveRowsDown(4);  // insert at row 4
    EXPECT_FALSE(rowTargetConfig(t, 4));
    EXPECT_EQ(rowTargetConfig(t, 5)->Format, QStringLiteral("Assem4"));
    EXPECT_EQ(rowTargetConfig(t, 10)->Format, QStringLiteral("Assem9"));
    t.moveRowsUp(4);  // delete row 4
    EXPECT_EQ(rowTargetConfig(t, 4)->Format, QStringLiteral("Assem4"));
    EXPECT_EQ(rowTargetConfig(t, 9)->Format, QStringLiteral("Assem9"));
    EXPECT_FALSE(rowTargetConfig(t, 10));
}

}  // namespace
}  // namespace zfw
