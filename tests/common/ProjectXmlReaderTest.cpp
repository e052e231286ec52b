// The project-file reader on the convention's edge cases and on hostile input, and values
// surviving a save and a read.

#include "common/ProjectXml.h"

#include "support/Files.h"
#include "support/TempDir.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace zfw {
namespace {

// ---- The convention ------------------------------------------------------------------------

struct ConventionCase {
    const char* name;
    QByteArray bytes;
    const char* rootName;  // expected document element
    const char* value;     // expected text of the root's child "N" (UTF-8); null: no such child
    int rows;              // expected rows of the root's child "T"; -1: no such table
};

void PrintTo(const ConventionCase& c, std::ostream* os) { *os << c.name; }

const ConventionCase kConventionCases[] = {
    {"DeclarationBeforeRoot", "<?xml version=\"1.0\"?>\n<P><N>1</N></P>", "P", "1", -1},
    {"CommentBeforeRoot", "<!--SW_VERSION = 1.002--><P><N>1</N></P>", "P", "1", -1},
    {"DeclarationAndCommentBeforeRoot",
     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- x -->\n<Q><N>2</N></Q>", "Q", "2", -1},
    {"Utf8ByteOrderMark", "\xEF\xBB\xBF<P><N>\xC3\xA9</N></P>", "P", "\xC3\xA9", -1},
    {"CommentsAmongRows", "<P><T><!--a--><row/><!--b--><row/><!--c--></T></P>", "P", nullptr, 2},
    {"InstructionAmongRows", "<P><T><?pi data?><row/></T></P>", "P", nullptr, 1},
    {"StrayTextAmongRows", "<P><T>text<row/> more <row/>\n</T></P>", "P", nullptr, 2},
    {"RowsOfAnyName", "<P><T><row/><other/><row/></T></P>", "P", nullptr, 3},
    {"EmptyTable", "<P><T/></P>", "P", nullptr, 0},
    {"MissingTable", "<P><U><row/></U></P>", "P", nullptr, -1},
    {"NestedTableIsNotTheTable", "<P><U><T><row/></T></U></P>", "P", nullptr, -1},
    {"BlankTextKept", "<P><N>   </N></P>", "P", "   ", -1},
    {"TabAndLineFeedKept", "<P><N>\t\n</N></P>", "P", "\t\n", -1},
    {"CarriageReturnReference", "<P><N>a&#13;b</N></P>", "P", "a\rb", -1},
    {"RawCarriageReturnIsALineFeed", "<P><N>a\r\nb</N></P>", "P", "a\nb", -1},
    {"Latin1Bytes", "<P><N>Caf\xE9</N></P>", "P", "Caf\xC3\xA9", -1},
    {"Latin1BytesUnderUtf8Declaration",
     "<?xml version=\"1.0\" encoding=\"UTF-8\"?><P><N>\xE9t\xE9</N></P>", "P", "\xC3\xA9t\xC3\xA9",
     -1},
    {"Utf8BytesUnderLatin1Declaration",
     "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><P><N>\xC3\xA9</N></P>", "P", "\xC3\xA9", -1},
    {"TextOfNestedElementsInOrder", "<P><N>a<b>x</b>c</N></P>", "P", "axc", -1},
    {"SixteenLevelsDeep",
     "<P><N>v</N><a><a><a><a><a><a><a><a><a><a><a><a><a><a/></a></a></a></a></a></a></a></a>"
     "</a></a></a></a></a></P>",
     "P", "v", -1},
};

class ProjectXmlConvention : public ::testing::TestWithParam<ConventionCase> {};

TEST_P(ProjectXmlConvention, ReadsAsTheConventionSays)
{
    const ConventionCase& c = GetParam();
    const ProjectXmlLoad r = parseProjectXml(c.bytes, QStringLiteral("case.xml"));
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(r.root.tagName(), QString::fromUtf8(c.rootName));
    const std::optional<QString> value = childText(r.root, u"N");
    if (c.value) {
        EXPECT_EQ(value, QString::fromUtf8(c.value));
    } else {
        EXPECT_EQ(value, std::nullopt);
    }
    const XmlElement table = childElement(r.root, u"T");
    EXPECT_EQ(table.isNull(), c.rows < 0);
    EXPECT_EQ(rowElements(table).size(), std::max(c.rows, 0));
}

INSTANTIATE_TEST_SUITE_P(Cases, ProjectXmlConvention, ::testing::ValuesIn(kConventionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProjectXmlElement, AttributesKeepDocumentOrderAndFirstOfTwinsWins)
{
    const ProjectXmlLoad r = parseProjectXml("<P><row b=\"2\" a=\"1\" c=\" 3 \"/></P>",
                                             QStringLiteral("a.xml"));
    ASSERT_TRUE(r.ok());
    const XmlElement row = r.root.firstChildElement();
    const QList<XmlAttribute> attributes = row.attributes();
    ASSERT_EQ(attributes.size(), 3);
    EXPECT_EQ(attributes[0].name, QStringLiteral("b"));
    EXPECT_EQ(attributes[2].value, QStringLiteral(" 3 "));
    EXPECT_EQ(attributeIntDef(row, u"a", -1), 1);
    EXPECT_EQ(attributeText(row, "c"), QStringLiteral(" 3 "));
    EXPECT_TRUE(XmlElement().attributes().isEmpty());
    EXPECT_EQ(XmlElement().text(), QString());
}

// An element stays usable after the load result that made it is gone.
TEST(ProjectXmlElement, OutlivesItsLoadResult)
{
    XmlElement row;
    {
        const ProjectXmlLoad r = parseProjectXml("<P><T><row v=\"7\"/></T></P>",
                                                 QStringLiteral("a.xml"));
        row = childElement(r.root, u"T").firstChildElement();
    }
    EXPECT_EQ(attributeIntDef(row, u"v", 0), 7);
}

// ---- Malformed and hostile input -----------------------------------------------------------

QByteArray nested(int depth)
{
    return QByteArray("<a>").repeated(depth) + QByteArray("</a>").repeated(depth);
}

QByteArray manyAttributes(int count)
{
    QByteArray out = "<P>\n<row";
    for (int i = 0; i < count; ++i)
        out += " a" + QByteArray::number(i) + "=\"1\"";
    return out + "/>\n</P>";
}

// Default attributes declared for every row: a way round the attribute limit whose cost grew
// with defaults times rows.
QByteArray attributeDefaults(int defaults, int rows)
{
    QByteArray out = "<!DOCTYPE P [\n<!ATTLIST row";
    for (int i = 0; i < defaults; ++i)
        out += " d" + QByteArray::number(i) + " CDATA \"1\"";
    return out + ">\n]>\n<P>" + QByteArray("<row/>").repeated(rows) + "</P>";
}

// One entity referenced many times: a short file that expands to size x refs characters.
QByteArray entityExpansion(int size, int refs)
{
    return "<?xml version=\"1.0\"?>\n<!DOCTYPE P [<!ENTITY e \"" + QByteArray(size, 'x')
           + "\">]>\n<P><N>" + QByteArray("&e;").repeated(refs) + "</N></P>";
}

QByteArray utf16BigEndian(const char* ascii)
{
    QByteArray out;
    for (const char* p = ascii; *p; ++p)
        out.append('\0').append(*p);
    return out;
}

struct RefusalCase {
    const char* name;
    QByteArray bytes;
    const char* where;  // "line L, column C" as the message gives it
    const char* why;    // part of the reason
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

const RefusalCase kRefusalCases[] = {
    {"Empty", "", "line 1, column 1", ""},
    {"MismatchedTag", "<P>\n<a>1</b>\n</P>", "line 2, column 8", ""},
    {"TextOnly", "just text", "line 1", ""},
    {"TwoRoots", "<P/><Q/>", "line 1, column 8", ""},
    // The parser's own faults name the character where it stopped, counted from 1.
    {"ControlCharacterFirstOnItsLine", "<P>\n\x01</P>", "line 2, column 1", "Unexpected"},
    {"UnquotedValue", "<P>\n<a b=1/></P>", "line 2, column 6", ""},
    {"ControlCharacterAfterAccents", "<P>\n\xC3\xA9\xC3\xA9\x01</P>", "line 2, column 3", ""},
    {"EndsAfterALineBreak", "<P>\n", "line 2, column 1", "Premature end"},
    // Valid UTF-8 by the bytes, but a UTF-16 file to a parser guessing from the first bytes.
    {"Utf16BigEndianLookalike", utf16BigEndian("<?xml version=\"1.0\"?><P><N>1</N></P>"), "line 1",
     ""},
    {"SeventeenLevels", nested(17), "line 1, column 51", "nested deeper than 16 levels"},
    {"TwoHundredThousandLevels", nested(200000), "line 1, column 51",
     "nested deeper than 16 levels"},
    {"TwoHundredFiftySevenAttributes", manyAttributes(257), "line 2, column 1",
     "more than 256 attributes"},
    {"ThirtyThousandAttributes", manyAttributes(30000), "line 2, column 1",
     "more than 256 attributes"},
    {"ManyAttributesAfterAccent", "<P>\xC3\xA9<row" + manyAttributes(300).mid(8),
     "line 1, column 5", "more than 256 attributes"},
    {"ManyAttributesInLatin1File", "<P>\xE9<row" + manyAttributes(300).mid(8), "line 1, column 5",
     "more than 256 attributes"},
    {"DoctypeWithAttributeDefaults", attributeDefaults(300, 50), "line 1, column 1",
     "document type declaration"},
    {"DoctypeWithAnEntity", entityExpansion(400, 500), "line 2, column 1",
     "document type declaration"},
    {"DoctypeAfterAComment", "<!--c--> <!DOCTYPE P><P/>", "line 1, column 10",
     "document type declaration"},
    {"DoctypeDeclaringTheRoot", "<!DOCTYPE P [<!ELEMENT P ANY>]><P><N>3</N></P>",
     "line 1, column 1", "document type declaration"},
    {"DoctypeInLatin1File", "<!--\xE9-->\n<!DOCTYPE P><P/>", "line 2, column 1",
     "document type declaration"},
    // Refused before the parser reads on: the broken end tag after it is never reached.
    {"DoctypeBeforeBrokenContent", "<!DOCTYPE P [<!ENTITY e \"x\">]>\n<P>&e;</Q>",
     "line 1, column 1", "document type declaration"},
};

class ProjectXmlRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ProjectXmlRefusal, NamesFileLineAndColumn)
{
    const RefusalCase& c = GetParam();
    const ProjectXmlLoad r = parseProjectXml(c.bytes, QStringLiteral("S7_Protocol.xml"));
    EXPECT_EQ(r.status, ProjectXmlLoad::Status::Malformed);
    EXPECT_TRUE(r.root.isNull());
    const std::string m = r.message.toStdString();
    EXPECT_NE(m.find("S7_Protocol.xml"), std::string::npos) << m;
    EXPECT_NE(m.find(c.where), std::string::npos) << m;
    EXPECT_NE(m.find(c.why), std::string::npos) << m;
}

INSTANTIATE_TEST_SUITE_P(Cases, ProjectXmlRefusal, ::testing::ValuesIn(kRefusalCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProjectXmlLimits, ExactlyAtTheLimitsIsRead)
{
    const ProjectXmlLoad deep = parseProjectXml(nested(16), QStringLiteral("d.xml"));
    EXPECT_TRUE(deep.ok()) << deep.message.toStdString();
    const ProjectXmlLoad wide = parseProjectXml(manyAttributes(256), QStringLiteral("w.xml"));
    ASSERT_TRUE(wide.ok()) << wide.message.toStdString();
    EXPECT_EQ(wide.root.firstChildElement().attributes().size(), 256);
    // Quoted "=" and markup-like text are no attributes.
    QByteArray quoted = "<P><row a=\"";
    quoted += QByteArray("=").repeated(1000) + "\" b='x c=1 d=2>'/><!-- = = = --></P>";
    EXPECT_TRUE(parseProjectXml(quoted, QStringLiteral("q.xml")).ok());
}

// Every proper prefix of a file ending with its root's end tag is malformed: an error that
// names the line and column, never a crash and never a partial document taken for whole.
TEST(ProjectXmlTruncated, EveryPrefixIsAnErrorWithLineAndColumn)
{
    const QByteArray whole =
        "<?xml version=\"1.0\"?>\n<!--c-->\n<LoRaWAN_Set_Access>\n  <LoRaWAN_Uplink>\n"
        "    <row Enable=\"Y\" StartByte=\"0\" NumByte=\"4\" Mnemonic=\"a &amp; b\"/>\n"
        "  </LoRaWAN_Uplink>\n  <LoRaWAN_Downlink><![CDATA[x]]></LoRaWAN_Downlink>\n"
        "  <Name>Caf\xC3\xA9</Name>\n</LoRaWAN_Set_Access>";
    ASSERT_TRUE(parseProjectXml(whole, QStringLiteral("w.xml")).ok());
    for (qsizetype cut = 0; cut < whole.size(); ++cut) {
        const ProjectXmlLoad r = parseProjectXml(whole.left(cut), QStringLiteral("cut.xml"));
        ASSERT_FALSE(r.ok()) << "cut at " << cut;
        EXPECT_TRUE(r.message.contains(QLatin1String("cut.xml"))) << cut;
        EXPECT_TRUE(r.message.contains(QLatin1String("line "))) << cut;
        EXPECT_TRUE(r.message.contains(QLatin1String("column "))) << cut;
    }
}

// ---- Values survive a save and a read ------------------------------------------------------

struct RoundTripCase {
    const char* name;
    QString value;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

const RoundTripCase kRoundTripCases[] = {
    {"Empty", QString()},
    {"Blank", QStringLiteral(" ")},
    {"LeadingAndTrailingBlanks", QStringLiteral("  a b  ")},
    {"CarriageReturn", QStringLiteral("a\rb")},
    {"CarriageReturnOnly", QStringLiteral("\r")},
    {"CarriageReturnLineFeed", QStringLiteral("a\r\nb\r\n")},
    {"LineFeed", QStringLiteral("a\nb")},
    {"Tab", QStringLiteral("\ta\t")},
    {"EveryBlank", QStringLiteral(" \t\r\n \n\r\t ")},
    {"Markup", QStringLiteral("<a href=\"x\">&amp; 'q'</a>")},
    {"CDataEnd", QStringLiteral("]]>")},
    {"ReferenceText", QStringLiteral("&#13;&lt;")},
    {"NonAscii", QStringLiteral("caf\u00E9 \u20AC \U0001F600")},
};

class ProjectXmlRoundTrip : public test::TempStateTest,
                            public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(ProjectXmlRoundTrip, AttributeAndTextComeBackUnchanged)
{
    const QString& v = GetParam().value;
    ProjectXmlWriter w(QStringLiteral("S7_Protocol"));
    w.root()
        .addChild(QStringLiteral("S7_Protocol_Read"))
        .addChild(QStringLiteral("row"))
        .setAttribute(QStringLiteral("Mnemonic"), v)
        .setAttribute(QStringLiteral("Next"), QStringLiteral("n"));
    w.root().addTextChild(QStringLiteral("Text"), v);
    const QString p = path(QStringLiteral("rt.xml"));
    ASSERT_TRUE(w.save(p).ok);

    const ProjectXmlLoad r = loadProjectXml(p);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    const XmlElement row = childElement(r.root, u"S7_Protocol_Read").firstChildElement();
    EXPECT_EQ(attributeText(row, u"Mnemonic"), v);
    EXPECT_EQ(attributeText(row, u"Next"), QStringLiteral("n"));
    EXPECT_EQ(childText(r.root, u"Text"), v);
}

INSTANTIATE_TEST_SUITE_P(Values, ProjectXmlRoundTrip, ::testing::ValuesIn(kRoundTripCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A character that XML cannot hold would be dropped from the file; the save fails instead and
// the old file stays.
TEST(ProjectXmlWriterTest, ValueThatXmlCannotHoldFailsTheSave)
{
    QTemporaryDir dir;
    const QString p = dir.filePath(QStringLiteral("ParGen.xml"));
    ASSERT_TRUE(test::writeFile(p, "old"));
    ProjectXmlWriter w(QStringLiteral("Par_Gen"));
    w.root().addTextChild(QStringLiteral("Eth_Conn_Device_Name"), QStringLiteral("a\x01z"));
    const FileResult r = w.save(p);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QLatin1String("ParGen.xml"))) << r.message.toStdString();
    EXPECT_EQ(test::readFile(p), QByteArray("old"));
}

}  // namespace
}  // namespace zfw
