#include "common/ProjectXml.h"

#include "support/Files.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <ostream>

namespace zfw {
namespace {

class ProjectXml : public test::TempStateTest {
protected:
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString p = path(name);
        EXPECT_TRUE(test::writeFile(p, bytes));
        return p;
    }
    static QByteArray read(const QString& p) { return test::readFile(p); }
};

TEST_F(ProjectXml, MissingFileIsReportedAsMissing)
{
    const ProjectXmlLoad r = loadProjectXml(path(QStringLiteral("none.xml")));
    EXPECT_TRUE(r.missing());
    EXPECT_TRUE(r.root.isNull());
}

TEST_F(ProjectXml, MalformedFileNamesFileAndLine)
{
    const QString p = write(QStringLiteral("bad.xml"), "<Par_Gen>\n<a>1</b>\n</Par_Gen>");
    const ProjectXmlLoad r = loadProjectXml(p);
    EXPECT_EQ(r.status, ProjectXmlLoad::Status::Malformed);
    EXPECT_TRUE(r.message.contains(QStringLiteral("bad.xml"))) << r.message.toStdString();
    EXPECT_TRUE(r.message.contains(QStringLiteral("line 2"))) << r.message.toStdString();
}

TEST_F(ProjectXml, EmptyFileIsMalformedNotACrash)
{
    const ProjectXmlLoad r = loadProjectXml(write(QStringLiteral("empty.xml"), ""));
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(r.message.isEmpty());
}

TEST_F(ProjectXml, FolderInPlaceOfFileIsUnreadable)
{
    QDir(root()).mkdir(QStringLiteral("dir.xml"));
    EXPECT_EQ(loadProjectXml(path(QStringLiteral("dir.xml"))).status,
              ProjectXmlLoad::Status::Unreadable);
}

// The root is taken whatever its name, also when a declaration or comment comes first.
TEST_F(ProjectXml, RootIsTheDocumentElementWhateverItsName)
{
    const QString p = write(QStringLiteral("r.xml"),
                            "<?xml version=\"1.0\"?><!--note--><Other><A>7</A></Other>"
                            "<!--SW_VERSION = 1.002-->");
    const ProjectXmlLoad r = loadProjectXml(p);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(r.root.tagName(), QStringLiteral("Other"));
    EXPECT_EQ(childIntDef(r.root, u"A", -1), 7);
}

TEST_F(ProjectXml, Latin1BytesAreReadWhenNotUtf8)
{
    const QString p = write(QStringLiteral("l.xml"), "<P><N>Caf\xE9</N></P>");
    const ProjectXmlLoad r = loadProjectXml(p);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(childText(r.root, u"N"), QStringLiteral("Caf\u00E9"));
}

struct TextCase {
    const char* name;
    const char* xml;       // children of the root
    const char* expected;  // childText(root, "N")
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

// Texts come back as they stand: a value of blanks is a value, not an empty element.
const TextCase kTextCases[] = {
    {"BlanksOnly", "<N>   </N>", "   "},
    {"TabOnly", "<N>\t</N>", "\t"},
    {"BlanksAround", "<N> a b </N>", " a b "},
    {"Empty", "<N></N>", ""},
    {"SelfClosed", "<N/>", ""},
    {"Entities", "<N> &amp;&lt;&#65; </N>", " &<A "},
    {"CData", "<N><![CDATA[ <x> ]]></N>", " <x> "},
    {"BlankValueBesideIndentation", "\n  <M>1</M>\n  <N> </N>\n", " "},
    {"PrefixedSiblingIsNoError", "<a:M>1</a:M><N>x</N>", "x"},
};

class ProjectXmlText : public ProjectXml, public ::testing::WithParamInterface<TextCase> {};

TEST_P(ProjectXmlText, ChildTextIsKeptAsItStands)
{
    const TextCase& c = GetParam();
    const QString p = write(QStringLiteral("t.xml"),
                            QByteArray("<Root>") + c.xml + QByteArray("</Root>"));
    const ProjectXmlLoad r = loadProjectXml(p);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(childText(r.root, u"N"), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Texts, ProjectXmlText, ::testing::ValuesIn(kTextCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Indentation between elements is neither a row nor part of a sibling's value.
TEST_F(ProjectXml, IndentationIsNoValue)
{
    const QString p = write(QStringLiteral("i.xml"),
                            "<R>\n  <T>\n    <row a=\"1\"/>\n  </T>\n  <V>5</V>\n</R>\n"
                            "<!--SW_VERSION = 1.002-->\n");
    const ProjectXmlLoad r = loadProjectXml(p);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(rowElements(childElement(r.root, u"T")).size(), 1);
    EXPECT_EQ(childIntDef(r.root, u"V", -1), 5);
    EXPECT_EQ(r.documentComments, QStringList{QStringLiteral("SW_VERSION = 1.002")});
}

struct ValueCase {
    const char* name;
    const char* xml;  // children of the root
    int expected;     // childIntDef(root, "V", -1)
};

void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }

const ValueCase kValueCases[] = {
    {"Decimal", "<V>42</V>", 42},
    {"LeadingBlanks", "<V>  42</V>", 42},
    {"TrailingBlankFails", "<V>42 </V>", -1},
    {"Dollar", "<V>$1F</V>", 31},
    {"ZeroX", "<V>0x10</V>", 16},
    {"Negative", "<V>-5</V>", -5},
    {"Empty", "<V></V>", -1},
    {"Letters", "<V>abc</V>", -1},
    {"Missing", "<W>1</W>", -1},
    {"NestedIsNotDirectChild", "<X><V>3</V></X>", -1},
    {"FirstOfTwoWins", "<V>1</V><V>2</V>", 1},
};

class ProjectXmlValue : public ProjectXml, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(ProjectXmlValue, IntegerChildTakesItsDefault)
{
    const ValueCase& c = GetParam();
    const QString p = write(QStringLiteral("v.xml"),
                            QByteArray("<Root>") + c.xml + QByteArray("</Root>"));
    const ProjectXmlLoad r = loadProjectXml(p);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(childIntDef(r.root, u"V", -1), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Values, ProjectXmlValue, ::testing::ValuesIn(kValueCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProjectXml, CheckedIsExactlyOneAndYIsExactlyY)
{
    const QString p = write(QStringLiteral("c.xml"),
                            "<R><A>1</A><B> 1</B><C>true</C>"
                            "<T><row E=\"Y\" F=\"y\" G=\" Y\"/></T></R>");
    const ProjectXmlLoad r = loadProjectXml(p);
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(childChecked(r.root, u"A"));
    EXPECT_FALSE(childChecked(r.root, u"B"));
    EXPECT_FALSE(childChecked(r.root, u"C"));
    EXPECT_FALSE(childChecked(r.root, u"Missing"));
    const XmlElement row = childElement(childElement(r.root, u"T"), u"row");
    EXPECT_TRUE(attributeIsY(row, u"E"));
    EXPECT_FALSE(attributeIsY(row, u"F"));
    EXPECT_FALSE(attributeIsY(row, u"G"));
    EXPECT_FALSE(attributeIsY(row, u"H"));
    EXPECT_EQ(attributeText(row, u"H"), std::nullopt);
}

TEST_F(ProjectXml, RowsAreChildElementsOnly)
{
    const QString p = write(QStringLiteral("t.xml"),
                            "<R><T>\n  <row a=\"1\"/>\n  <!-- c -->\n  <other a=\"2\"/>\n</T></R>");
    const ProjectXmlLoad r = loadProjectXml(p);
    ASSERT_TRUE(r.ok());
    const QList<XmlElement> rows = rowElements(childElement(r.root, u"T"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(attributeIntDef(rows[1], u"a", 0), 2);
    EXPECT_TRUE(rowElements(childElement(r.root, u"Missing")).isEmpty());
}

TEST_F(ProjectXml, WriterPutsVersionCommentAfterRootAndNoDeclaration)
{
    ProjectXmlWriter w(QStringLiteral("Par_Gen"));
    w.root().addTextChild(QStringLiteral("A"), QStringLiteral("1"));
    w.root().addTextChild(QStringLiteral("B"), QString());
    const QByteArray bytes = w.toByteArray();
    EXPECT_FALSE(bytes.contains("<?xml"));
    EXPECT_TRUE(bytes.startsWith("<Par_Gen>"));
    EXPECT_TRUE(bytes.trimmed().endsWith("</Par_Gen>\n<!--SW_VERSION = 1.002-->"))
        << bytes.toStdString();

    const QString p = path(QStringLiteral("ParGen.xml"));
    ASSERT_TRUE(w.save(p));
    const ProjectXmlLoad r = loadProjectXml(p);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.root.tagName(), QStringLiteral("Par_Gen"));
    EXPECT_EQ(childText(r.root, u"B"), QString());
    ASSERT_FALSE(r.documentComments.isEmpty());
    EXPECT_EQ(r.documentComments.last(), QStringLiteral("SW_VERSION = 1.002"));
}

// Attribute order is part of the file format; values with tabs, quotes, markup and
// surrounding blanks must come back unchanged.
TEST_F(ProjectXml, AttributesKeepOrderAndValuesRoundTrip)
{
    const QString odd = QStringLiteral(" a\t<b> & \"c\" 'd' é ");
    ProjectXmlWriter w(QStringLiteral("LoRaWAN_Set_Access"));
    ProjectXmlElement& row =
        w.root().addChild(QStringLiteral("LoRaWAN_Uplink")).addChild(QStringLiteral("row"));
    row.setAttribute(QStringLiteral("Enable"), QStringLiteral("Y"))
        .setAttribute(QStringLiteral("StartByte"), QStringLiteral("0"))
        .setAttribute(QStringLiteral("Mnemonic"), odd)
        .setAttribute(QStringLiteral("Enable"), QStringLiteral("N"));
    w.root().addTextChild(QStringLiteral("Text"), odd);
    const QByteArray bytes = w.toByteArray();
    EXPECT_TRUE(bytes.contains("<row Enable=\"N\" StartByte=\"0\" Mnemonic="))
        << bytes.toStdString();

    const QString p = path(QStringLiteral("rt.xml"));
    ASSERT_TRUE(w.save(p));
    const ProjectXmlLoad r = loadProjectXml(p);
    ASSERT_TRUE(r.ok());
    const XmlElement back = rowElements(childElement(r.root, u"LoRaWAN_Uplink")).value(0);
    EXPECT_EQ(attributeText(back, u"Mnemonic"), odd);
    EXPECT_EQ(childText(r.root, u"Text"), odd);
}

TEST_F(ProjectXml, SavingTwiceGivesIdenticalBytes)
{
    auto build = [] {
        ProjectXmlWriter w(QStringLiteral("S7_Protocol"));
        w.root().addChild(QStringLiteral("S7_Protocol_Read"));
        w.root()
            .addChild(QStringLiteral("S7_Protocol_Write"))
            .addChild(QStringLiteral("row"))
            .setAttribute(QStringLiteral("Enable"), QStringLiteral("Y"));
        return w;
    };
    const QString a = path(QStringLiteral("a.xml"));
    ASSERT_TRUE(build().save(a));
    const QByteArray first = read(a);
    ASSERT_TRUE(build().save(a));
    EXPECT_EQ(read(a), first);
}

TEST_F(ProjectXml, FailedSaveIsReportedAndKeepsTheOldFile)
{
    // A folder where the file's folder should be: the save cannot succeed even as root.
    const QString blocker = write(QStringLiteral("blocker"), "old");
    const FileResult r = saveFileAtomically(blocker + QStringLiteral("/x.xml"), "new");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("x.xml"))) << r.message.toStdString();
    EXPECT_EQ(read(blocker), QByteArray("old"));
}

}  // namespace
}  // namespace zfw
