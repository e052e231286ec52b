#include "common/ULanguage.h"

#include "common/LanguageDefaults.h"
#include "common/UComon.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

namespace zfw {
namespace {

ProgramState filled()
{
    ProgramState s;
    Fill_Default_Language(s);
    return s;
}

TEST(FillDefaultLanguage, HasEveryEntryWithItsDefault)
{
    ProgramState s = filled();
    ASSERT_EQ(s.Language_Table.size(), 6400);
    EXPECT_EQ(s.Language_Table_Size, 6400);
    EXPECT_EQ(s.lang(0), QStringLiteral("Begin"));
    EXPECT_EQ(s.lang(18), QStringLiteral("Error! Project not Valid"));
    EXPECT_EQ(s.lang(9), QStringLiteral("None Configuration Opened "));
    EXPECT_EQ(s.lang(33), QStringLiteral("Scan && Decode"));
    EXPECT_EQ(s.lang(85), QStringLiteral("Create the SNMP MIB for Actual Configuration"));
    EXPECT_EQ(s.lang(86), QStringLiteral(" "));
    EXPECT_EQ(s.lang(2592), QString());
    EXPECT_EQ(s.lang(6399), QStringLiteral(" "));
    EXPECT_EQ(s.lang(1105), QStringLiteral("File already exists. Do you want to overwrite?"));
}

TEST(FillDefaultLanguage, EveryBlockNumberIsInsideTheTableAndGivenOnce)
{
    QSet<int> seen;
    for (std::span<const LangText> block : languageDefaultBlocks()) {
        for (const LangText& t : block) {
            EXPECT_GE(t.number, 0);
            EXPECT_LT(t.number, 6400);
            EXPECT_NE(t.number, 2592) << "2592 stays empty";
            EXPECT_FALSE(seen.contains(t.number)) << "number given twice: " << t.number;
            seen.insert(t.number);
        }
    }
}

TEST(FillDefaultLanguage, RefillReplacesOverriddenEntries)
{
    ProgramState s = filled();
    s.Language_Table[0] = QStringLiteral("Anfang");
    s.Language_Table.append(QStringLiteral("extra"));
    Fill_Default_Language(s);
    EXPECT_EQ(s.Language_Table.size(), 6400);
    EXPECT_EQ(s.lang(0), QStringLiteral("Begin"));
}

struct LineCase {
    const char* name;
    const char* line;
    int number;
    const char* expected;  // text of entry number after applying the line
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }


const LineCase kLines[] = {
    {"plain", "STR12 =Open", 12, "Open"},
    {"blanksAroundNumber", "STR 12  = Open ", 12, "Open"},
    {"noSeparatorLosesLastDigit", "STR12=Open", 1, "Open"},
    {"noSeparatorLeavesNumberAlone", "STR12=Open", 12, "Information"},
    {"leadingBlanksBeforePrefix", "   STR13 =Optionen", 13, "Optionen"},
    {"lowerCasePrefixIgnored", "str13 =x", 13, "Options"},
    {"textBeforePrefixIgnored", "x STR13 =x", 13, "Options"},
    {"lastEntryApplied", "STR6399 =last", 6399, "last"},
    {"pastTableIgnored", "STR6400 =x", 6399, " "},
    {"negativeIgnored", "STR-1 =x", 0, "Begin"},
    {"emptyTextKeepsDefault", "STR14 =   ", 14, "Close Configurator"},
    {"onlyCommentKeepsDefault", "STR14 = /#/ note", 14, "Close Configurator"},
    {"commentCut", "STR14 = Chiudi /#/ note", 14, "Chiudi"},
    {"noEqualsIgnored", "STR14 Chiudi", 14, "Close Configurator"},
    {"noNumberIgnored", "STR =x", 0, "Begin"},
    {"pilcrowKeepsBlanks", "STR15 =\xc2\xb6  a b  \xc2\xb6 rest", 15, "  a b  "},
    {"lonePilcrowGivesEmpty", "STR15 =\xc2\xb6", 15, ""},
    {"equalsInText", "STR16 =a=b", 16, "a=b"},
    {"hexNumber", "STR$10 =hex", 16, "hex"},
};

class LanguageLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(LanguageLine, IsAppliedByTheFileRules)
{
    const LineCase& c = GetParam();
    ProgramState s = filled();
    Apply_Language_Text(s, QByteArray(c.line));
    EXPECT_EQ(s.lang(c.number), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, LanguageLine, ::testing::ValuesIn(kLines),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LanguageFile, LaterLineWinsAndAllLineEndsSplit)
{
    ProgramState s = filled();
    Apply_Language_Text(s, QByteArray("STR1 =a\r\nSTR2 =b\nSTR3 =c\rSTR1 =z\r\nbad line\nSTR4 =d"));
    EXPECT_EQ(s.lang(1), QStringLiteral("z"));
    EXPECT_EQ(s.lang(2), QStringLiteral("b"));
    EXPECT_EQ(s.lang(3), QStringLiteral("c"));
    EXPECT_EQ(s.lang(4), QStringLiteral("d"));
}

struct EncodingCase {
    const char* name;
    QByteArray bytes;
    QString expected;
};

void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.name; }


class LanguageEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(LanguageEncoding, IsDetected)
{
    ProgramState s = filled();
    Apply_Language_Text(s, GetParam().bytes);
    EXPECT_EQ(s.lang(0), GetParam().expected);
}

QByteArray utf16le(const QString& text)
{
    QByteArray b("\xFF\xFE", 2);
    for (QChar c : text) {
        b.append(char(c.unicode() & 0xFF));
        b.append(char(c.unicode() >> 8));
    }
    return b;
}

QByteArray utf16be(const QString& text)
{
    QByteArray b("\xFE\xFF", 2);
    for (QChar c : text) {
        b.append(char(c.unicode() >> 8));
        b.append(char(c.unicode() & 0xFF));
    }
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageEncoding,
    ::testing::Values(
        EncodingCase{"utf8Bom", QByteArray("\xEF\xBB\xBFSTR0 =Inizio \xC3\xA8"),
                     QStringLiteral("Inizio \u00E8")},
        EncodingCase{"utf8NoBom", QByteArray("STR0 =Gr\xC3\xBC\xC3\x9F"),
                     QStringLiteral("Gr\u00FC\u00DF")},
        EncodingCase{"cp1252NoBom", QByteArray("STR0 =Gr\xFC\xDF \x80"),
                     QStringLiteral("Gr\u00FC\u00DF \u20AC")},
        EncodingCase{"utf16le", utf16le(QStringLiteral("STR0 =\u0411\u0435\u0433\r\n")),
                     QStringLiteral("\u0411\u0435\u0433")},
        EncodingCase{"utf16be", utf16be(QStringLiteral("STR0 =\u00C9")),
                     QStringLiteral("\u00C9")}),
    [](const auto& info) { return std::string(info.param.name); });

class LoadLanguage : public test::TempStateTest {
protected:
    void writeLng(const QString& name, const QByteArray& content)
    {
        ASSERT_TRUE(test::writeFile(path(name + QStringLiteral(".lng")), content));
    }
};

TEST_F(LoadLanguage, AppliesTheChosenFile)
{
    ProgramState s;
    s.Dir_Language = root();
    s.Language_Name = QStringLiteral("Italiano");
    writeLng(QStringLiteral("Italiano"), "STR0 =Inizio\n");
    writeLng(QStringLiteral("English"), "STR0 =Start\n");
    Load_Language(s);
    EXPECT_EQ(s.Language_Name, QStringLiteral("Italiano"));
    EXPECT_EQ(s.lang(0), QStringLiteral("Inizio"));
    EXPECT_EQ(s.lang(1), QStringLiteral("Step 1"));
}

TEST_F(LoadLanguage, MissingFileFallsBackToEnglishFile)
{
    ProgramState s;
    s.Dir_Language = root();
    s.Language_Name = QStringLiteral("Removed");
    writeLng(QStringLiteral("English"), "STR0 =Start\n");
    Load_Language(s);
    EXPECT_EQ(s.Language_Name, QStringLiteral("English"));
    EXPECT_EQ(s.lang(0), QStringLiteral("Start"));
}

TEST_F(LoadLanguage, EmptyNameLooksForItsFileLikeAnyOther)
{
    // An empty language element in the settings names the file ".lng".
    ProgramState s;
    s.Dir_Language = root();
    writeLng(QString(), "STR0 =Unnamed\n");
    writeLng(QStringLiteral("English"), "STR0 =Start\n");
    Load_Language(s);
    EXPECT_EQ(s.Language_Name, QString());
    EXPECT_EQ(s.lang(0), QStringLiteral("Unnamed"));

    ASSERT_TRUE(QFile::remove(path(QStringLiteral(".lng"))));
    Load_Language(s);
    EXPECT_EQ(s.Language_Name, QStringLiteral("English"));
    EXPECT_EQ(s.lang(0), QStringLiteral("Start"));
}

TEST_F(LoadLanguage, NoFilesGiveDefaults)
{
    ProgramState s;
    s.Dir_Language = root();
    s.Language_Name = QStringLiteral("Removed");
    Load_Language(s);
    EXPECT_EQ(s.Language_Name, QStringLiteral("English"));
    EXPECT_EQ(s.lang(0), QStringLiteral("Begin"));
    EXPECT_FALSE(Load_Language_File(s, path(QStringLiteral("nothing.lng"))));
}

}  // namespace
}  // namespace zfw
