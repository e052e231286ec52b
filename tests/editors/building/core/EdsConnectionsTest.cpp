// Decoding the connections and the identity of an EDS file.

#include "editors/building/core/UEDSConnections.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

QList<std::uint8_t> bytes(std::initializer_list<int> b)
{
    QList<std::uint8_t> out;
    for (int v : b)
        out.append(std::uint8_t(v));
    return out;
}

struct PathCase {
    std::string name;
    QList<std::uint8_t> path;
    bool found;
    std::uint32_t instOT = 0, instTO = 0, cpOT = 0, cpTO = 0;
};

class ConnPath : public ::testing::TestWithParam<PathCase> {};

TEST_P(ConnPath, DecodesInstancesAndConnectionPoints)
{
    const PathCase& c = GetParam();
    const auto v = decodeConnPath(c.path);
    ASSERT_EQ(v.has_value(), c.found);
    if (!c.found)
        return;
    EXPECT_EQ(v->InstanceOT, c.instOT);
    EXPECT_EQ(v->InstanceTO, c.instTO);
    EXPECT_EQ(v->ConnPointOT, c.cpOT);
    EXPECT_EQ(v->ConnPointTO, c.cpTO);
}

const PathCase kPaths[] = {
    {"SameInstanceBothWays", bytes({0x20, 0x04, 0x24, 0x64, 0x2C, 0x96, 0x2C, 0x64}), true, 100,
     100, 150, 100},
    {"InstancePerDirection", bytes({0x20, 0x04, 0x24, 0x01, 0x2C, 0x65, 0x24, 0x02, 0x2C, 0x66}),
     true, 1, 2, 101, 102},
    {"NoInstanceSegment", bytes({0x20, 0x04, 0x2C, 0x64, 0x2C, 0x65}), true, 1, 1, 100, 101},
    {"Instance16BitAligned", bytes({0x20, 0x04, 0x25, 0x00, 0x2C, 0x01, 0x2C, 0x64, 0x2C, 0x65}),
     true, 300, 300, 100, 101},
    {"InstanceValueLooksLikeSegment", bytes({0x20, 0x04, 0x24, 0x2C, 0x2C, 0x64, 0x2C, 0x65}), true,
     44, 44, 100, 101},
    {"Class16BitAndConnPoint32Bit",
     bytes({0x21, 0x00, 0x04, 0x00, 0x24, 0x05, 0x2E, 0x00, 0x10, 0x27, 0x00, 0x00, 0x2C, 0x07}),
     true, 5, 5, 10000, 7},
    {"SingleConnectionPoint", bytes({0x20, 0x04, 0x24, 0x64, 0x2C, 0x96, 0x00}), false, 0, 0, 0, 0},
    {"FiveBytes", bytes({0x20, 0x04, 0x2C, 0x64, 0x2C}), false, 0, 0, 0, 0},
    {"NoClassSegment", bytes({0x24, 0x04, 0x2C, 0x64, 0x2C, 0x65}), false, 0, 0, 0, 0},
    {"LastConnPointWithoutValue", bytes({0x20, 0x04, 0x24, 0x01, 0x2C, 0x65, 0x2C}), false, 0, 0, 0,
     0},
    {"Wide16BitValuePastEnd", bytes({0x20, 0x04, 0x24, 0x01, 0x2C, 0x65, 0x2D, 0x01}), false, 0, 0,
     0, 0},
    {"Wide32BitValuePastEnd", bytes({0x20, 0x04, 0x24, 0x01, 0x2C, 0x65, 0x2E, 0x00, 0x01, 0x02}),
     false, 0, 0, 0, 0},
};

INSTANTIATE_TEST_SUITE_P(Eds, ConnPath, ::testing::ValuesIn(kPaths), test::CaseName{});

// A connection entry with the given connection parameters and path.
QString entry(const QString& params, const QString& path)
{
    return QStringLiteral("0x04030002,%1,,,,,,,,,4,Assem5,\"Name, quoted\",\"Help\",%2")
        .arg(params, path);
}

struct HeaderCase {
    std::string name;
    QString params;
    QString ot, to;  // the chooser's texts
};

class DimHeader : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(DimHeader, TakesBits8To10And12To14)
{
    const auto c = DecodeConnStr(
        entry(GetParam().params, QStringLiteral("20 04 24 01 2C 65 2C 66")));
    ASSERT_TRUE(c);
    EXPECT_EQ(dimHeaderOTText(c->DimHeaderOT), GetParam().ot);
    EXPECT_EQ(dimHeaderTOText(c->DimHeaderTO), GetParam().to);
}

const HeaderCase kHeaders[] = {
    {"DefaultsShowDefault", QStringLiteral("0x00000400"), QStringLiteral("Default"),
     QStringLiteral("Default")},
    {"ThreeAndTwo", QStringLiteral("0x00002300"), QStringLiteral("3"), QStringLiteral("2")},
    {"OtherBitsIgnored", QStringLiteral("0xFFFF8CFF"), QStringLiteral("Default"),
     QStringLiteral("Default")},
    {"UnreadableGivesSevens", QStringLiteral("param"), QStringLiteral("7"), QStringLiteral("7")},
};

INSTANTIATE_TEST_SUITE_P(Eds, DimHeader, ::testing::ValuesIn(kHeaders), test::CaseName{});

TEST(EdsConnStr, KeepsQuotedFieldsAndSkipsShortEntries)
{
    const auto c = DecodeConnStr(
        entry(QStringLiteral("0x0400"), QStringLiteral("\"20 04 24 01 2C 65 2C 66\"")));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->ConnName, QStringLiteral("\"Name, quoted\""));
    EXPECT_EQ(c->HelpStr, QStringLiteral("\"Help\""));
    EXPECT_EQ(c->TargetConfSize, QStringLiteral("4"));
    EXPECT_EQ(c->TargetConfFormat, QStringLiteral("Assem5"));
    EXPECT_EQ(c->ConnPointTO, 0x66u);
    EXPECT_FALSE(DecodeConnStr(QStringLiteral("1,2,3,4,5,6,7,8,9,10,11,12,13,14")));
}

TEST(EdsConnStr, PathLongerThanItsBufferGivesNoConnection)
{
    QString path = QStringLiteral("20 04 24 01 2C 65 2C 66");
    QString longPath = path;
    for (int i = 0; i < kEdsPathCapacity; ++i)
        longPath += QStringLiteral(" 00");
    EXPECT_FALSE(DecodeConnStr(entry(QStringLiteral("0"), longPath)));
    // Parameter references in the path are skipped and do not count.
    EXPECT_TRUE(DecodeConnStr(
        entry(QStringLiteral("0"), QStringLiteral("20 04 [Param1] 24 01 2C 65 2C 66"))));
}

TEST(EdsSplit, QuotesProtectSeparatorsAndNoTrailingEmptyField)
{
    QStringList f;
    Split_EDS_Fields(u"a,\"b;c\",,d;", f);
    EXPECT_EQ(f, (QStringList{QStringLiteral("a"), QStringLiteral("\"b;c\""), QString(),
                              QStringLiteral("d")}));
    f.clear();
    Split_EDS_Fields(u"\"open, quote", f);
    EXPECT_EQ(f, QStringList{QStringLiteral("\"open, quote")});
}

struct DeviceCase {
    std::string name;
    QString line;
    std::optional<qint64> value;
};

class DeviceValue : public ::testing::TestWithParam<DeviceCase> {};

TEST_P(DeviceValue, ReadsKeyValue)
{
    EXPECT_EQ(GetDeviceValue(GetParam().line, u"VENDCODE"), GetParam().value);
}

const DeviceCase kDevice[] = {
    {"HexUpperCased", QStringLiteral("VENDCODE = 0X0001;"), 1},
    {"Decimal", QStringLiteral("VENDCODE = 1234;"), 1234},
    {"NoBlankBeforeEquals", QStringLiteral("VENDCODE= 7;"), 7},
    {"ManyBlanksBeforeEquals", QStringLiteral("VENDCODE \t  = 9;"), 9},
    {"ValueRightAfterEquals", QStringLiteral("VENDCODE =12;"), 12},
    {"NoSemicolonGivesZero", QStringLiteral("VENDCODE = 5"), 0},
    {"UnreadableGivesZero", QStringLiteral("VENDCODE = FIVE;"), 0},
    {"OtherKey", QStringLiteral("VENDNAME = \"X\";"), std::nullopt},
    {"LongerKey", QStringLiteral("VENDCODEX = 3;"), std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Eds, DeviceValue, ::testing::ValuesIn(kDevice), test::CaseName{});

QStringList lines(const char* text) { return QString::fromUtf8(text).split(u'\n'); }

TEST(EdsFile, DecodesIdentityAndMultiLineEntries)
{
    const EdsConnections r = decodeEdsConnections(lines(R"([File]
  DescText = "sample";
[Device]
  VendCode = 0x0001;    $ vendor
  ProdType = 12;
  ProdCode = 3;
  MajRev = 2;
  MinRev = 1;
[Connection Manager]
  Connection1 =
      0x04030002,        $ trigger
      0x44640405,        $ parameters
      ,,,                $ O>T
      ,,,                $ T>O
      ,,                 $ proxy
      4, Assem100,       $ target configuration
      "Exclusive Owner", "",
      "20 04 24 64 2C 96 2C 64";
  Connection2 = 0x04030002,0x00002300,,,,,,,,,,,"Second","","20 04 24 01 2C 65 24 02 2C 66";
  Connection3 = 0x04030002,0x00002300,,,,,,,,,,,
      "Third", "a=b",
      "20 04 24 01 2C 65 2C 66";
[Params]
)"));
    EXPECT_EQ(r.identity.VendCode, 1);
    EXPECT_EQ(r.identity.ProdType, 12);
    EXPECT_EQ(r.identity.ProdCode, 3);
    EXPECT_EQ(r.identity.MajRev, 2);
    EXPECT_EQ(r.identity.MinRev, 1);
    EXPECT_EQ(electronicKeyText(r.identity),
              QStringLiteral("0x01, 0x00, 0x0C, 0x00, 0x03, 0x00, 0x82, 0x01"));

    // The third entry's line holding "=" is lost, which leaves it too few fields.
    ASSERT_EQ(r.List_Conn.size(), 2);
    const TConnData& a = r.List_Conn[0];
    EXPECT_EQ(a.ConnIndex, 1);
    EXPECT_EQ(a.ConnName, QStringLiteral("\"Exclusive Owner\""));
    EXPECT_EQ(a.TargetConfSize, QStringLiteral("4"));
    EXPECT_EQ(a.TargetConfFormat, QStringLiteral("Assem100"));
    EXPECT_EQ(a.DimHeaderOT, 4);
    EXPECT_EQ(a.DimHeaderTO, 0);
    EXPECT_EQ(a.InstanceOT, 100u);
    EXPECT_EQ(a.ConnPointOT, 150u);
    EXPECT_EQ(r.List_Conn[1].ConnIndex, 2);
    EXPECT_EQ(r.List_Conn[1].InstanceTO, 2u);
    EXPECT_EQ(r.List_Conn[1].DimHeaderOT, 3);
}

TEST(EdsFile, NoDeviceSectionLeavesIdentityEmpty)
{
    const EdsConnections r = decodeEdsConnections(
        lines("[Connection Manager]\nConnection1 = 1;\n"));
    EXPECT_TRUE(r.identity.isEmpty());
    EXPECT_TRUE(r.List_Conn.isEmpty());
}

TEST(EdsKey, MajorRevisionAbove127KeepsTwoDigits)
{
    EdsDeviceIdentity id;
    id.VendCode = 0x1234;
    id.MajRev = 200;
    EXPECT_EQ(electronicKeyText(id),
              QStringLiteral("0x34, 0x12, 0x00, 0x00, 0x00, 0x00, 0xC8, 0x00"));
}

}  // namespace
}  // namespace zfw
