// The target configuration of an EDS assembly and its data segment text.

#include "editors/building/core/UEDSText.h"
#include "editors/building/core/UTargetConfig.h"

#include "common/TextUtil.h"

#include "support/CaseName.h"
#include "support/Files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace zfw {
namespace {

QStringList lines(const char* text) { return QString::fromUtf8(text).split(u'\n'); }

// Two assemblies whose keys share a prefix, and parameters with and without enumeration.
const char* const kEds = R"([Device]
  VendCode = 1;
[Assembly]
  Assem10 = "Wrong", "", 8,, ,, 8, Param3;
  Assem1 = "Config", "20 04 24 01", 32, 0x0000, , ,
      16, Param1,
      16, Param2;
  Assem2 =
      "Multi",          $ name
      "",               $ path
      24,               $ size
      ,                 $ descriptor
      ,,                $ reserved
      16, Param1,       $ first member
      8, Param2;        $ second member
  Assem3 = "Twice", "", 16,,,, 8, Param2, 8, Param2;
  Assem4 = "Missing", "", 8,,,, 8, Param9;
  Assem5 = "Short", "", 8,,,, 8, Param4;
  Assem6 = "Odd", "", 8,,,, 8, Param3, 8;
[Params]
  Param1 = 0, "", "", 0x0000, 0xC8, 2, "Speed", "rpm", "help", -100, 0x7FFF, 1000;
  Param10 = 0, "", "", 0, 0xC6, 1, "Wrong", "", "", 0, 1, 1;
  Param2 =
      0, "", "",
      0x0000,       $ descriptor
      0xC6,         $ type
      1,            $ size
      "Mode",
      "", "",
      0, 1, 1;
  Enum2 = 0, "Off", 1, "On";
  Param3 = 0, "", "", 0, 0xC6, 1, "Flag", "", "", , , ;
  Param4 = 0, "", "", 0, 0xC6, 1, "Short";
)";

TTargetConfig decoded(const char* format, const char* size = "4")
{
    TTargetConfig t;
    t.FileName = QStringLiteral("device.eds");
    t.Size = QString::fromUtf8(size);
    t.Format = QString::fromUtf8(format);
    QString error;
    EXPECT_TRUE(t.decodeFrom(EdsIndex(lines(kEds)), &error)) << error.toStdString();
    return t;
}

TEST(TargetConf, DecodesAssemblyMembersAndParameters)
{
    const TTargetConfig t = decoded("Assem1");
    EXPECT_EQ(t.AO_Name, QStringLiteral("Config"));
    EXPECT_EQ(t.AO_SizeBit, QStringLiteral(" 32"));
    ASSERT_EQ(t.ListParamObject.size(), 2);
    const TTC_ParamObj& a = t.ListParamObject[0];
    EXPECT_EQ(trimBlanks(a.BitSize), QStringLiteral("16"));
    EXPECT_EQ(trimBlanks(a.ParamName), QStringLiteral("Param1"));
    EXPECT_EQ(a.Name, QStringLiteral("Speed"));
    EXPECT_EQ(a.DataSizeByte, 2);
    EXPECT_EQ(a.DataType, 0xC8);
    EXPECT_EQ(a.Min, -100);
    EXPECT_EQ(a.Max, 0x7FFF);
    EXPECT_EQ(a.Default, 1000);
    EXPECT_EQ(a.Value, 1000);
    EXPECT_FALSE(a.Enum);
    const TTC_ParamObj& b = t.ListParamObject[1];
    EXPECT_EQ(b.Name, QStringLiteral("Mode"));
    ASSERT_TRUE(b.Enum);
    ASSERT_EQ(b.ListEnum.size(), 2);
    EXPECT_EQ(b.ListEnum[1].Value, 1);
    EXPECT_EQ(b.EnumString, (QStringList{QStringLiteral("Off"), QStringLiteral("On")}));
    // Size 4 covers the 3 member bytes plus one zero.
    EXPECT_EQ(t.GetConfigStrData(), QStringLiteral("0xE8,0x03,0x01,0x00"));
}

TEST(TargetConf, KeysMatchExactly)
{
    // Assem10 and Param10 come first in their sections and share the prefix.
    const TTargetConfig t = decoded("Assem1");
    EXPECT_NE(t.AO_Name, QStringLiteral("Wrong"));
    ASSERT_FALSE(t.ListParamObject.isEmpty());
    EXPECT_EQ(t.ListParamObject[0].Name, QStringLiteral("Speed"));
}

TEST(TargetConf, MultiLineEntriesWithCommentsEqualSingleLine)
{
    const TTargetConfig multi = decoded("Assem2");
    EXPECT_EQ(multi.AO_Name, QStringLiteral("Multi"));
    ASSERT_EQ(multi.ListParamObject.size(), 2);
    TTargetConfig single = decoded("Assem1");
    EXPECT_EQ(multi.ListParamObject[0], single.ListParamObject[0]);
    EXPECT_EQ(multi.ListParamObject[1].Name, single.ListParamObject[1].Name);
    EXPECT_EQ(multi.ListParamObject[1].ListEnum, single.ListParamObject[1].ListEnum);
}

TEST(TargetConf, MembersSharingAParameterEachGetItsEnumeration)
{
    const TTargetConfig t = decoded("Assem3");
    ASSERT_EQ(t.ListParamObject.size(), 2);
    EXPECT_EQ(t.ListParamObject[0].ListEnum.size(), 2);
    EXPECT_EQ(t.ListParamObject[1].ListEnum.size(), 2);
}

TEST(TargetConf, EmptyNumbersAreZeroAndOddFieldIgnored)
{
    const TTargetConfig t = decoded("Assem6");
    ASSERT_EQ(t.ListParamObject.size(), 1);
    EXPECT_EQ(t.ListParamObject[0].Min, 0);
    EXPECT_EQ(t.ListParamObject[0].Max, 0);
    EXPECT_EQ(t.ListParamObject[0].Default, 0);
}

struct BadCase {
    std::string name;
    const char* format;
    const char* mentions;
};

class TargetConfBad : public ::testing::TestWithParam<BadCase> {};

TEST_P(TargetConfBad, FailsNamingFileAndParameterWithNoMembers)
{
    TTargetConfig t;
    t.FileName = QStringLiteral("/some/where/device.eds");
    t.Size = QStringLiteral("4");
    t.Format = QString::fromUtf8(GetParam().format);
    QString error;
    EXPECT_FALSE(t.decodeFrom(EdsIndex(lines(kEds)), &error));
    EXPECT_TRUE(t.ListParamObject.isEmpty());
    EXPECT_TRUE(error.contains(QStringLiteral("device.eds"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QString::fromUtf8(GetParam().mentions))) << error.toStdString();
}

const BadCase kBad[] = {
    {"MissingParameter", "Assem4", "Param9"},
    {"ParameterOfSevenFields", "Assem5", "Param4"},
};

INSTANTIATE_TEST_SUITE_P(Eds, TargetConfBad, ::testing::ValuesIn(kBad), test::CaseName{});

struct NoMemberCase {
    std::string name;
    const char* eds;
    const char* size;
    QString data;
};

class TargetConfNoMembers : public ::testing::TestWithParam<NoMemberCase> {};

TEST_P(TargetConfNoMembers, LeavesOnlyTheZeroFill)
{
    TTargetConfig t;
    t.Size = QString::fromUtf8(GetParam().size);
    t.Format = QStringLiteral("Assem1");
    QString error;
    EXPECT_TRUE(t.decodeFrom(EdsIndex(lines(GetParam().eds)), &error));
    EXPECT_TRUE(t.ListParamObject.isEmpty());
    EXPECT_EQ(t.GetConfigStrData(), GetParam().data);
}

const NoMemberCase kNoMembers[] = {
    {"NoAssemblySection", "[Params]\nParam1 = 1;\n", "2", QStringLiteral("0x00,0x00")},
    {"NoSuchEntry", "[Assembly]\nAssem2 = a,b,c,d,e,f,8,Param1;\n", "0", QString()},
    {"SixFields", "[Assembly]\nAssem1 = a,b,c,d,e,f;\n", "x", QString()},
    {"EndlessEntry", "[Assembly]\nAssem1 = a,b,c,\nd,e,\nf\n", "1", QStringLiteral("0x00")},
};

INSTANTIATE_TEST_SUITE_P(Eds, TargetConfNoMembers, ::testing::ValuesIn(kNoMembers),
                         test::CaseName{});

struct DataCase {
    std::string name;
    QList<std::pair<int, qint64>> members;  // size, value
    QString size;
    QString data;
};

class ConfigData : public ::testing::TestWithParam<DataCase> {};

TEST_P(ConfigData, LowByteFirstZeroFilledToSize)
{
    TTargetConfig t;
    t.Size = GetParam().size;
    for (const auto& [bytes, value] : GetParam().members) {
        TTC_ParamObj p;
        p.DataSizeByte = bytes;
        p.Value = value;
        t.ListParamObject.append(p);
    }
    EXPECT_EQ(t.GetConfigStrData(), GetParam().data);
}

const DataCase kData[] = {
    {"WordThenByteFilledToFour",
     {{2, 1000}, {1, 5}},
     QStringLiteral("4"),
     QStringLiteral("0xE8,0x03,0x05,0x00")},
    {"MinusOne", {{2, -1}}, QStringLiteral("0"), QStringLiteral("0xFF,0xFF")},
    {"SizeSixAddsThree",
     {{1, 1}, {2, 2}},
     QStringLiteral("6"),
     QStringLiteral("0x01,0x02,0x00,0x00,0x00,0x00")},
    {"SizeNotANumber", {{1, 0xAB}}, QStringLiteral("many"), QStringLiteral("0xAB")},
    {"SmallerSizeCutsNothing", {{2, 0x1234}}, QStringLiteral("1"), QStringLiteral("0x34,0x12")},
    {"SmallestValue",
     {{8, std::numeric_limits<qint64>::min()}},
     QStringLiteral("0"),
     QStringLiteral("0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x80")},
    {"WiderThanValueKeepsSign",
     {{9, -2}},
     QString(),
     QStringLiteral("0xFE,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF")},
};

INSTANTIATE_TEST_SUITE_P(Eds, ConfigData, ::testing::ValuesIn(kData), test::CaseName{});

TEST(TargetConfEnum, LookupsByValueAndDescription)
{
    TTC_ParamObj p;
    p.Default = 7;
    p.ListEnum = {{0, QStringLiteral("Off")},
                  {1, QStringLiteral("On")},
                  {1, QStringLiteral("Also")}};
    p.Value = 1;
    EXPECT_EQ(p.GetEnumString(), QStringLiteral("On"));
    p.Value = 2;
    EXPECT_EQ(p.GetEnumString(), QString());
    EXPECT_EQ(p.SetValueFromEnum(QStringLiteral("Off")), 0);
    EXPECT_EQ(p.SetValueFromEnum(QStringLiteral("off")), 7);
    EXPECT_EQ(p.Value, 2);
}

TEST(EdsCommaList, QuotedFieldsAndTrailingComma)
{
    EXPECT_EQ(splitEdsCommaList(u""), QStringList());
    EXPECT_EQ(splitEdsCommaList(u"0,\"Off\",1, \"a, \"\"b\"\"\""),
              (QStringList{QStringLiteral("0"), QStringLiteral("Off"), QStringLiteral("1"),
                           QStringLiteral("a, \"b\"")}));
    EXPECT_EQ(splitEdsCommaList(u"a, b,"),
              (QStringList{QStringLiteral("a"), QStringLiteral(" b"), QString()}));
    EXPECT_EQ(splitEdsCommaList(u"\"open"), QStringList{QStringLiteral("open")});
    EXPECT_EQ(splitEdsCommaList(u"\"x\"y,z"),
              (QStringList{QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")}));
}

TEST(TargetConfFile, ReadsWindows1252AndReportsUnreadableFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dev.eds"));
    ASSERT_TRUE(test::writeFile(path,
                                "[Assembly]\r\nAssem1 = a,,1,,,,8,Param1;\r\n[Params]\r\n"
                                "Param1 = 0,,,0,0xC6,1,\"Temp \xB0"
                                "C\",,,0,9,3;\r\n"));
    TTargetConfig t;
    t.FileName = path;
    t.Format = QStringLiteral("Assem1");
    QString error;
    ASSERT_TRUE(t.DecodeTargetConf(&error)) << error.toStdString();
    ASSERT_EQ(t.ListParamObject.size(), 1);
    EXPECT_EQ(t.ListParamObject[0].Name, QStringLiteral("Temp \u00B0C"));

    // A missing file leaves no members and is no error; a folder cannot be read.
    t.FileName = dir.filePath(QStringLiteral("none.eds"));
    EXPECT_TRUE(t.DecodeTargetConf(&error));
    EXPECT_TRUE(t.ListParamObject.isEmpty());
    t.FileName = dir.path();
    EXPECT_FALSE(t.DecodeTargetConf(&error));
}

}  // namespace
}  // namespace zfw
