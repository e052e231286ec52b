// The SCL decoder: each small file of tests/data/iec61850/scl shows one rule, and its model is
// compared line by line with the reference list next to it; then the searches, ownership and
// the files a hostile or careless author may hand in.

#include "editors/iot/core/UIEC_Client_Decode.h"

#include "support/CaseName.h"
#include "support/Files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zfw {
namespace {

QString sclDir() { return QStringLiteral(ZFW_TEST_DATA_DIR "/iec61850/scl"); }

struct GoldenCase {
    std::string name;
    const char* file;
};

const GoldenCase kGolden[] = {
    {"FirstIedOnly", "two_ieds.scd"},
    {"FirstAccessPointWithoutServer", "ap_without_server.icd"},
    {"FcdaResolution", "fcda_resolution.icd"},
    {"TemplatesAndComments", "templates.icd"},
    {"GooseControlBeforeDataSet", "goose_before_dataset.icd"},
    {"SelfReferencingTemplates", "self_reference.icd"},
    {"PrefixedNamespace", "prefixed_namespace.icd"},
};

class SclGoldenTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(SclGoldenTest, ReferenceListGolden)
{
    const QString path = sclDir() + u'/' + QString::fromLatin1(GetParam().file);
    const SclDecodeResult r = decodeSclFile(path);
    ASSERT_TRUE(r.device) << r.error.toStdString();
    EXPECT_TRUE(r.warning.isEmpty()) << r.warning.toStdString();
    const QString expected = QString::fromUtf8(test::readFile(path + QStringLiteral(".txt")));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(sclReferenceList(*r.device).toStdString(), expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Scl, SclGoldenTest, ::testing::ValuesIn(kGolden), test::CaseName());

std::unique_ptr<TIEC_Device> decodeFixture(const char* file)
{
    SclDecodeResult r = decodeSclFile(sclDir() + u'/' + QString::fromLatin1(file));
    return std::move(r.device);
}

TEST(SclDecode, SearchesFollowTheModel)
{
    const auto dev = decodeFixture("fcda_resolution.icd");
    ASSERT_TRUE(dev);
    const TIEC_LDevice* ld = dev->Find_LDevice(QStringLiteral("LD0"));
    ASSERT_TRUE(ld);
    EXPECT_EQ(dev->Find_LDevice(QStringLiteral("ld0")), nullptr);
    // The first node of the class, whatever its prefix and instance.
    const TIEC_LN* mmxu = ld->Find_LN(QStringLiteral("MMXU"));
    ASSERT_TRUE(mmxu);
    EXPECT_EQ(mmxu->Inst, QStringLiteral("1"));
    EXPECT_EQ(mmxu->Prefix, QString());
    EXPECT_EQ(ld->List_LN[2]->Prefix, QStringLiteral("Q1"));

    const TIEC_DO* phsA = mmxu->Find_DO(QStringLiteral("phsA"));
    ASSERT_TRUE(phsA);
    EXPECT_EQ(mmxu->Find_DO(QStringLiteral("A.phsA")), nullptr);
    const TIEC_DO* totW = mmxu->Find_DO(QStringLiteral("TotW"));
    ASSERT_TRUE(totW);
    // Find_DA never looks into nested data objects.
    EXPECT_EQ(mmxu->Find_DO(QStringLiteral("A"))->Find_DA(QStringLiteral("cVal")), nullptr);
    EXPECT_EQ(phsA->Find_DA(QStringLiteral("f"))->Reference,
              QStringLiteral("IED1LD0/MMXU1.A.phsA.cVal.f"));
    EXPECT_EQ(totW->Find_First_DA()->Reference, QStringLiteral("IED1LD0/MMXU1.TotW.mag.f"));
    EXPECT_EQ(mmxu->Find_DO(QStringLiteral("Health"))->Find_First_DA(), nullptr);
    EXPECT_EQ(mmxu->Find_DO(QStringLiteral("A"))->Find_First_DA(), nullptr);

    // Members are the model's own attributes, not copies.
    const TIEC_DataSet& ds1 = *ld->List_LN[0]->List_DataSet[0];
    ASSERT_EQ(ds1.List_DA.size(), 4u);
    EXPECT_EQ(ds1.List_DA[3], totW->Find_DA(QStringLiteral("q")));
}

TEST(SclDecode, NothingIsLeftForTheEditorToSet)
{
    const auto dev = decodeFixture("templates.icd");
    ASSERT_TRUE(dev);
    EXPECT_EQ(dev->TreeNode, nullptr);
    EXPECT_EQ(dev->FileName, QStringLiteral("templates.icd"));
    EXPECT_FALSE(dev->Placeholder);
    ASSERT_EQ(dev->List_LDevice.size(), 2u);
    EXPECT_EQ(dev->List_LDevice[1]->List_LN.size(), 3u);
    const TIEC_LN& gapc = *dev->List_LDevice[1]->List_LN[1];
    EXPECT_EQ(gapc.lnClass, QStringLiteral("GAPC"));
    EXPECT_TRUE(gapc.List_DO.empty());
    EXPECT_TRUE(gapc.List_DataSet.empty());
}

// Data sets that share members, and an attribute listed twice in one set: destroying the
// device frees each attribute once (the sanitizer build reports a second free).
TEST(SclDecode, SharedMembersAreFreedOnce)
{
    auto dev = decodeFixture("goose_before_dataset.icd");
    ASSERT_TRUE(dev);
    const auto& sets = dev->List_LDevice[0]->List_LN[0]->List_DataSet;
    ASSERT_EQ(sets.size(), 4u);
    EXPECT_EQ(sets[0]->List_DA[0], sets[1]->List_DA[1]);
    dev.reset();
}

TEST(SclDecode, MissingFileGivesAnEmptyDevice)
{
    const SclDecodeResult r = decodeSclFile(sclDir() + QStringLiteral("/no_such_file.icd"));
    ASSERT_TRUE(r.device);
    EXPECT_TRUE(r.error.isEmpty());
    EXPECT_EQ(r.device->Name, QString());
    EXPECT_EQ(r.device->FileName, QStringLiteral("no_such_file.icd"));
    EXPECT_TRUE(r.device->List_LDevice.empty());
}

// A file where a few hundred bytes of templates multiply into a model of 10^12 objects: each
// of twelve DOTypes holds ten nested objects of the next one.
QByteArray templateBomb()
{
    QByteArray t = "<DOType id=\"T12\"><DA name=\"v\" bType=\"INT8\" fc=\"ST\"/></DOType>";
    for (int i = 0; i < 12; ++i) {
        t += "<DOType id=\"T" + QByteArray::number(i) + "\">";
        for (int k = 0; k < 10; ++k)
            t += "<SDO name=\"s" + QByteArray::number(k) + "\" type=\"T" + QByteArray::number(i + 1)
                 + "\"/>";
        t += "</DOType>";
    }
    return "<SCL><IED name=\"B\"><AccessPoint><Server><LDevice inst=\"L\">"
           "<LN lnClass=\"X\" lnType=\"LN\" inst=\"1\"/></LDevice></Server></AccessPoint></IED>"
           "<DataTypeTemplates><LNodeType id=\"LN\"><DO name=\"d\" type=\"T0\"/></LNodeType>"
           + t + "</DataTypeTemplates></SCL>";
}

QByteArray nested(int depth)
{
    return QByteArray("<SCL>") + QByteArray("<a>").repeated(depth)
           + QByteArray("</a>").repeated(depth) + "</SCL>";
}

struct BadCase {
    std::string name;
    QByteArray bytes;
    const char* error;    // a part of the message; empty: a device is expected
    const char* warning;  // a part of the warning when a device is expected
};

const QByteArray kSmall = "<SCL><IED name=\"S\"/><DataTypeTemplates/></SCL>";

const BadCase kBad[] = {
    {"NotWellFormed", "<SCL><IED name=\"x\"></SCL>", "not well-formed", ""},
    {"Truncated", kSmall.left(20), "not well-formed", ""},
    {"Empty", "", "not well-formed", ""},
    {"EntityBomb",
     "<?xml version=\"1.0\"?><!DOCTYPE SCL [<!ENTITY a \"aaaaaaaaaa\">"
     "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]>"
     "<SCL><IED name=\"&c;\"/></SCL>",
     "document type declaration", ""},
    {"ExternalEntity",
     "<!DOCTYPE SCL [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><SCL><IED name=\"&x;\"/></SCL>",
     "document type declaration", ""},
    {"UndeclaredEntity", "<SCL><IED name=\"&x;\"/></SCL>", "not well-formed", ""},
    {"TooDeep", nested(200), "nested deeper than 64", ""},
    {"DeepButAllowed", nested(60), "", ""},
    {"NoScl", "<Other><IED name=\"x\"/><DataTypeTemplates/></Other>", "", ""},
    {"NoTemplates",
     "<SCL><IED name=\"x\"><AccessPoint><Server><LDevice inst=\"L\"/></Server>"
     "</AccessPoint></IED></SCL>",
     "", ""},
    {"NonUtf8Attribute",
     "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><SCL><IED name=\"\xe9\"/>"
     "<DataTypeTemplates/></SCL>",
     "", ""},
    {"ControlCharacter", "<SCL><IED name=\"a\x01\"/></SCL>", "not well-formed", ""},
    {"TemplateBomb", templateBomb(), "", "too large"},
};

class SclBadInputTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(SclBadInputTest, MessageOrSmallerModel)
{
    const BadCase& c = GetParam();
    SclLimits limits;
    limits.maxObjects = 100'000;
    const SclDecodeResult r = decodeSclBytes(c.bytes, QStringLiteral("bad.icd"), limits);
    if (*c.error) {
        EXPECT_FALSE(r.device);
        EXPECT_TRUE(r.error.contains(QLatin1String(c.error))) << r.error.toStdString();
        EXPECT_TRUE(r.error.startsWith(QStringLiteral("bad.icd"))) << r.error.toStdString();
        return;
    }
    ASSERT_TRUE(r.device) << r.error.toStdString();
    EXPECT_TRUE(r.error.isEmpty());
    if (*c.warning)
        EXPECT_TRUE(r.warning.contains(QLatin1String(c.warning))) << r.warning.toStdString();
    else
        EXPECT_TRUE(r.warning.isEmpty()) << r.warning.toStdString();
    EXPECT_TRUE(r.device->List_LDevice.empty() || *c.warning);
}

INSTANTIATE_TEST_SUITE_P(Scl, SclBadInputTest, ::testing::ValuesIn(kBad), test::CaseName());

TEST(SclDecode, NamesAreReadOnlyWithBothIedAndTemplates)
{
    const auto noTemplates = decodeSclBytes("<SCL><IED name=\"x\"/></SCL>",
                                            QStringLiteral("a.icd"));
    ASSERT_TRUE(noTemplates.device);
    EXPECT_EQ(noTemplates.device->Name, QString());
    const auto both = decodeSclBytes(kSmall, QStringLiteral("a.icd"));
    ASSERT_TRUE(both.device);
    EXPECT_EQ(both.device->Name, QStringLiteral("S"));
}

TEST(SclDecode, FileLargerThanTheBoundIsRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.icd"));
    ASSERT_TRUE(test::writeFile(path, QByteArray(4096, ' ') + kSmall));
    SclLimits limits;
    limits.maxBytes = 1024;
    const SclDecodeResult r = decodeSclFile(path, limits);
    EXPECT_FALSE(r.device);
    EXPECT_TRUE(r.error.contains(QStringLiteral("big.icd"))) << r.error.toStdString();
    EXPECT_TRUE(decodeSclFile(path).device);
}

}  // namespace
}  // namespace zfw
