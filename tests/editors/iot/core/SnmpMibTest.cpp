// The MIB writer: golden modules from agent files, the names a module cannot hold, the lists
// as the agent file gives them, and the module read by the SMI tools (lint and translation to
// numeric object identifiers) when they are installed.

#include "editors/iot/core/USNMPMib.h"

#include "support/CaseName.h"
#include "support/Files.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zfw {
namespace {

QString dataPath(const QString& name) { return QStringLiteral(ZFW_TEST_DATA_DIR "/snmp/") + name; }

MakerTexts maker()
{
    MakerTexts m;
    m.company = QStringLiteral("Maker");
    m.street = QStringLiteral("Via Uno 1");
    m.town = QStringLiteral("00100 Town");
    m.country = QStringLiteral("Country");
    m.email = QStringLiteral("support@example.invalid");
    m.web = QStringLiteral("www.example.invalid");
    return m;
}

SnmpTrapLists listsOf(const QByteArray& xml)
{
    const SnmpTrapLoad load = Load_SNMP_Trap_Lists(parseProjectXml(xml, QStringLiteral("t.xml")));
    EXPECT_TRUE(load.ok()) << load.error.toStdString();
    return load.lists;
}

// Runs a tool and gives what it printed on both channels; nullopt when it is not installed.
std::optional<QString> runTool(const QString& tool, const QStringList& args)
{
    const QString exe = QStandardPaths::findExecutable(tool);
    if (exe.isEmpty())
        return std::nullopt;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SMIPATH"), QStringLiteral(ZFW_TEST_DATA_DIR "/snmp"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(exe, args);
    if (!p.waitForFinished(30000))
        return QStringLiteral("did not finish");
    return QString::fromLocal8Bit(p.readAll());
}

// ---- golden modules ----

struct GoldenCase {
    std::string name;
    const char* input;     // agent file under tests/data/snmp; null: no file
    const char* expected;  // module under tests/data/snmp
};

class SnmpMibGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(SnmpMibGolden, ModuleMatchesByteForByte)
{
    const GoldenCase& c = GetParam();
    QTemporaryDir dir;
    const QString input = c.input ? dataPath(QLatin1String(c.input))
                                  : dir.filePath(QStringLiteral("absent.xml"));
    const SnmpTrapLoad load = Load_SNMP_Trap_Lists(input);
    ASSERT_TRUE(load.ok()) << load.error.toStdString();
    ASSERT_FALSE(checkSnmpMibNames(load.lists));
    const QString out = dir.filePath(QStringLiteral("GATEWAY.mib"));
    ASSERT_TRUE(Write_MIB_File(out, load.lists, maker()).ok);
    EXPECT_EQ(test::readFile(out).toStdString(),
              test::readFile(dataPath(QLatin1String(c.expected))).toStdString());
}

const GoldenCase kGolden[] = {
    {"Mix", "agent_mix.xml", "agent_mix.mib"},
    {"NoEnabledRow", "agent_none_enabled.xml", "fixed_lines.mib"},
    {"NoAgentFile", nullptr, "fixed_lines.mib"},
};
INSTANTIATE_TEST_SUITE_P(Files, SnmpMibGolden, ::testing::ValuesIn(kGolden), test::CaseName());

// ---- the lists of the agent file ----

TEST(SnmpMibLists, EnabledRowsInFileOrderWithTheirRows)
{
    const SnmpTrapLists l = Load_SNMP_Trap_Lists(dataPath(QStringLiteral("agent_mix.xml"))).lists;
    EXPECT_EQ(l.SNMP_Trap_Read_Names,
              (QStringList{QStringLiteral("temperature"), QString(), QStringLiteral("alarmBit")}));
    EXPECT_EQ(l.SNMP_Trap_Read_Is_Int, (QList<bool>{true, false, true}));
    EXPECT_EQ(l.readRows, (QList<int>{1, 3, 4}));
    EXPECT_EQ(l.SNMP_Trap_Write_Names, (QStringList{QStringLiteral("setpoint"), QString()}));
    EXPECT_EQ(l.SNMP_Trap_Write_Is_Int, (QList<bool>{true, false}));
    EXPECT_EQ(l.writeRows, (QList<int>{1, 3}));
    EXPECT_EQ(snmpReadObjectName(l, 2), QStringLiteral("bufferinval2"));
    EXPECT_EQ(snmpWriteObjectName(l, 2), QStringLiteral("bufferoutval2"));
}

// The agent editor upper-cases the letters a to z only: a Type or Enable that another
// script's case rules would turn into "INT" or "Y" is no Int object and no enabled row here
// either.
TEST(SnmpMibLists, OnlyAsciiLettersAreUpperCased)
{
    const SnmpTrapLists l = listsOf(
        "<SNMP_Trap><SNMP_Trap_Read>"
        "<row Enable=\"y\" Type=\"\xc4\xb1nt\" Description=\"a\"/>"
        "<row Enable=\"\xef\xbd\x99\" Description=\"b\"/>"
        "</SNMP_Trap_Read></SNMP_Trap>");
    EXPECT_EQ(l.SNMP_Trap_Read_Names, QStringList{QStringLiteral("a")});
    EXPECT_EQ(l.SNMP_Trap_Read_Is_Int, QList<bool>{false});
}

// More enabled rows than the old fixed tables held: every one is numbered and written.
TEST(SnmpMibLists, TablesGrowPastTwoHundredFiftySix)
{
    QByteArray xml = "<SNMP_Trap><SNMP_Trap_Read>";
    for (int i = 1; i <= 300; ++i)
        xml += "<row Enable=\"Y\" Type=\"" + QByteArray(i % 2 ? "Int" : "String")
               + "\" Description=\"v" + QByteArray::number(i) + "\"/>";
    xml += "</SNMP_Trap_Read></SNMP_Trap>";
    const SnmpTrapLists l = listsOf(xml);
    ASSERT_EQ(l.SNMP_Trap_Read_Names.size(), 300);
    EXPECT_FALSE(l.SNMP_Trap_Read_Is_Int[299]);
    const QStringList lines = buildSnmpMibLines(l, maker());
    EXPECT_TRUE(lines.contains(QStringLiteral(
        "v300 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only STATUS current DESCRIPTION "
        "\"v300\" ::= { bufferinval 300 }")));
    EXPECT_TRUE(lines.contains(QStringLiteral(
        "trapval257 NOTIFICATION-TYPE OBJECTS { v257 } STATUS current DESCRIPTION \"v257\" ::= "
        "{ trapsval 257 }")));
}

struct BadFileCase {
    std::string name;
    QByteArray xml;
    bool error;  // else: loaded, with no objects
};

class SnmpMibBadFile : public ::testing::TestWithParam<BadFileCase> {};

TEST_P(SnmpMibBadFile, ErrorNamesTheFileOrTablesAreEmpty)
{
    const BadFileCase& c = GetParam();
    const SnmpTrapLoad load = Load_SNMP_Trap_Lists(
        parseProjectXml(c.xml, QStringLiteral("SNMP_Trap.xml")));
    EXPECT_EQ(!load.ok(), c.error);
    if (c.error) {
        EXPECT_TRUE(load.error.contains(QStringLiteral("SNMP_Trap.xml")))
            << load.error.toStdString();
    }
    EXPECT_TRUE(load.lists.SNMP_Trap_Read_Names.isEmpty());
    EXPECT_TRUE(load.lists.SNMP_Trap_Write_Names.isEmpty());
}

const BadFileCase kBadFiles[] = {
    {"NotWellFormed", "<SNMP_Trap><SNMP_Trap_Read><row Enable=\"Y\"", true},
    {"NoElement", "<!-- nothing -->", true},
    {"NoTables", "<SNMP_Trap/>", false},
    {"OtherRoot", "<Other><Read><row Enable=\"Y\" Description=\"a\"/></Read></Other>", false},
    {"RowsWithoutEnable",
     "<SNMP_Trap><SNMP_Trap_Read><row Description=\"a\"/></SNMP_Trap_Read>"
     "<SNMP_Trap_Write><row Enable=\"\"/></SNMP_Trap_Write></SNMP_Trap>",
     false},
};
INSTANTIATE_TEST_SUITE_P(Files, SnmpMibBadFile, ::testing::ValuesIn(kBadFiles), test::CaseName());

// ---- names the module cannot hold ----

struct NameCase {
    std::string name;
    QStringList read;   // Descriptions of enabled read rows 1, 2, ...
    QStringList write;  // and of enabled write rows
    bool fails;
    bool inWrite;
    int row;
    SnmpMibNameFault fault;
};

class SnmpMibNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(SnmpMibNames, FirstBrokenNameWithItsRow)
{
    const NameCase& c = GetParam();
    SnmpTrapLists l;
    for (int i = 0; i < c.read.size(); ++i) {
        l.SNMP_Trap_Read_Names << c.read[i];
        l.SNMP_Trap_Read_Is_Int << false;
        l.readRows << (i + 1) * 2;  // every other row of the file is disabled
    }
    for (int i = 0; i < c.write.size(); ++i) {
        l.SNMP_Trap_Write_Names << c.write[i];
        l.SNMP_Trap_Write_Is_Int << true;
        l.writeRows << i + 1;
    }
    const std::optional<SnmpMibNameProblem> p = checkSnmpMibNames(l);
    ASSERT_EQ(p.has_value(), c.fails);
    if (!p)
        return;
    EXPECT_EQ(p->write, c.inWrite);
    EXPECT_EQ(p->row, c.row);
    EXPECT_EQ(p->fault, c.fault);
}

using F = SnmpMibNameFault;
const NameCase kNames[] = {
    {"SoundNamesAndUnnamed", {"temp1", "", "aB9"}, {"set", ""}, false, false, 0, F::Characters},
    {"CaseDiffersAfterFirst", {"tempA"}, {"tempa"}, false, false, 0, F::Characters},
    {"UpperCaseFirst", {"ok", "Temp"}, {}, true, false, 4, F::Characters},
    {"DigitFirst", {"9lives"}, {}, true, false, 2, F::Characters},
    {"Hyphen", {}, {"set-point"}, true, true, 1, F::Characters},
    {"OtherScript", {"t\u00e9mp"}, {}, true, false, 2, F::Characters},
    {"Blank", {"temp "}, {}, true, false, 2, F::Characters},
    {"SixtyFiveCharacters", {QString(65, u'a')}, {}, true, false, 2, F::TooLong},
    {"SixtyFourCharacters", {QString(64, u'a')}, {}, false, false, 0, F::Characters},
    {"FixedName", {"data"}, {}, true, false, 2, F::Reserved},
    {"ImportedName", {}, {"enterprises"}, true, true, 1, F::Reserved},
    {"GeneratedInName", {"bufferinval2"}, {}, true, false, 2, F::Reserved},
    {"NotificationName", {}, {"trapval1"}, true, true, 1, F::Reserved},
    {"StemAloneIsFixed", {"trapval"}, {}, false, false, 0, F::Characters},
    {"DuplicateAcrossTables", {"level"}, {"level"}, true, true, 1, F::Duplicate},
    {"DuplicateInRead", {"a", "b", "a"}, {}, true, false, 6, F::Duplicate},
};
INSTANTIATE_TEST_SUITE_P(Table, SnmpMibNames, ::testing::ValuesIn(kNames), test::CaseName());

// ---- the SMI tools ----

class SnmpMibTools : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_lists = Load_SNMP_Trap_Lists(dataPath(QStringLiteral("agent_mix.xml"))).lists;
    }
    QString write(const QStringList& lines)
    {
        const QString path = m_dir.filePath(QStringLiteral("GATEWAY.mib"));
        EXPECT_TRUE(test::writeFile(path, snmpMibBytes(lines)));
        return path;
    }
    std::optional<QString> lint(const QString& path)
    {
        // smilint exits 0 whatever it finds: only its output tells.
        return runTool(QStringLiteral("smilint"),
                       {QStringLiteral("-l"), QStringLiteral("3"), QStringLiteral("-s"), path});
    }

    QTemporaryDir m_dir;
    SnmpTrapLists m_lists;
};

TEST_F(SnmpMibTools, LintFindsNothing)
{
    for (const SnmpTrapLists& lists : {m_lists, SnmpTrapLists{}}) {
        const std::optional<QString> out = lint(write(buildSnmpMibLines(lists, maker())));
        if (!out)
            GTEST_SKIP() << "smilint is not installed (Debian package smitools)";
        EXPECT_EQ(out->toStdString(), "");
    }
}

// The module as it was written before: enterprises from the SMIv1 module and notifications
// with SYNTAX and MAX-ACCESS. The lint must see it fail, or the test above proves nothing.
TEST_F(SnmpMibTools, LintRefusesTheOldModule)
{
    QStringList lines = buildSnmpMibLines(m_lists, maker());
    lines[2] = QStringLiteral("       MODULE-IDENTITY,OBJECT-TYPE");
    lines[5] = QStringLiteral("         FROM SNMPv2-TC");
    lines.insert(6, QStringLiteral("         enterprises"));
    lines.insert(7, QStringLiteral("         FROM RFC1155-SMI;"));
    for (QString& line : lines) {
        if (!line.startsWith(QLatin1String("trapval")))
            continue;
        const qsizetype objects = line.indexOf(QLatin1String("OBJECTS"));
        const qsizetype status = line.indexOf(QLatin1String("STATUS"));
        const bool isInt = line.contains(QLatin1String("temperature"))
                           || line.contains(QLatin1String("alarmBit"));
        line.replace(objects, status - objects,
                     isInt ? QStringLiteral("SYNTAX INTEGER MAX-ACCESS read-only ")
                           : QStringLiteral("SYNTAX OCTET STRING MAX-ACCESS read-only "));
    }
    ASSERT_TRUE(lines.contains(QStringLiteral(
        "trapval1 NOTIFICATION-TYPE SYNTAX INTEGER MAX-ACCESS read-only STATUS current "
        "DESCRIPTION \"temperature\" ::= { trapsval 1 }")));
    const std::optional<QString> out = lint(write(lines));
    if (!out)
        GTEST_SKIP() << "smilint is not installed (Debian package smitools)";
    EXPECT_TRUE(out->contains(QLatin1String("syntax error"))) << out->toStdString();
}

TEST_F(SnmpMibTools, TranslateGivesTheObjectIdentifiers)
{
    const QString path = write(buildSnmpMibLines(m_lists, maker()));
    const std::optional<QString> out =
        runTool(QStringLiteral("snmptranslate"),
                {QStringLiteral("-M"), QStringLiteral(ZFW_TEST_DATA_DIR "/snmp"),
                 QStringLiteral("-m"), path, QStringLiteral("-On"),
                 QStringLiteral("GATEWAY::bufferinval2"), QStringLiteral("GATEWAY::setpoint"),
                 QStringLiteral("GATEWAY::trapval3"), QStringLiteral("GATEWAY::identity")});
    if (!out)
        GTEST_SKIP() << "snmptranslate is not installed (Debian package snmp)";
    EXPECT_EQ(out->split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              (QStringList{QStringLiteral(".1.3.6.1.4.1.57203.1.1.1.4.9.2"),
                           QStringLiteral(".1.3.6.1.4.1.57203.1.1.1.5.9.1"),
                           QStringLiteral(".1.3.6.1.4.1.57203.1.1.2.1.3"),
                           QStringLiteral(".1.3.6.1.4.1.57203.2")}))
        << out->toStdString();
}

TEST(SnmpMibText, MakerQuotesAndOtherScriptsCannotBreakTheModule)
{
    MakerTexts m = maker();
    m.web = QStringLiteral("the \"best\" maker");
    m.town = QStringLiteral("K\u00f6ln");
    const QByteArray bytes = snmpMibBytes(buildSnmpMibLines({}, m));
    EXPECT_TRUE(bytes.contains("    ORGANIZATION \"the 'best' maker\"\r\n"));
    EXPECT_TRUE(bytes.contains("    K?ln\r\n"));
    EXPECT_TRUE(bytes.endsWith("END\r\n"));
}

TEST(SnmpMibText, FileNameGetsTheExtension)
{
    EXPECT_EQ(snmpMibFileName(QStringLiteral("/p/GW")), QStringLiteral("/p/GW.mib"));
    EXPECT_EQ(snmpMibFileName(QStringLiteral("/p/GW.MIB")), QStringLiteral("/p/GW.MIB"));
    EXPECT_EQ(snmpMibFileName(QStringLiteral("/p/GW.txt")), QStringLiteral("/p/GW.txt.mib"));
}

}  // namespace
}  // namespace zfw
