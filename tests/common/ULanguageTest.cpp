#include "common/ULanguage.h"

#include "common/LanguageDefaults.h"
#include "common/UComon.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

#include <string_view>

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
        EncodingCase{"utf16be", utf16be(QStringLiteral("STR0 =\u00C9")), QStringLiteral("\u00C9")}),
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

// The language name comes from the settings file, which anyone may edit. Only a name that is
// one file name inside the language folder is loaded; anything else falls back to English as
// a missing language does, even where a file of that path exists.
struct NameCase {
    const char* name;
    std::string_view language;  // may hold a zero character
    bool absolute;              // the test folder's path is put in front
    const char* expectedText;   // text 0 after loading
    const char* expectedName;   // Language_Name after loading
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << c.name; }

using namespace std::string_view_literals;

const NameCase kNames[] = {
    {"plain", "Italiano"sv, false, "Inizio", "Italiano"},
    {"blanksAndBrackets", "Deutsch (CH)"sv, false, "Gruezi", "Deutsch (CH)"},
    {"nonAscii",
     "Fran\xC3\xA7"
     "ais"sv,
     false, "Commencer",
     "Fran\xC3\xA7"
     "ais"},
    {"leadingDotsStayInFolder", "..."sv, false, "Dots", "..."},
    {"empty", ""sv, false, "Unnamed", ""},
    {"parentFolder", "../Outside"sv, false, "Start", "English"},
    {"deeperParent", "sub/../../Outside"sv, false, "Start", "English"},
    {"subFolder", "sub/Inner"sv, false, "Start", "English"},
    {"absolutePath", "/Outside"sv, true, "Start", "English"},
    {"backslash", "..\\Outside"sv, false, "Start", "English"},
    {"driveColon", "C:Outside"sv, false, "Start", "English"},
    {"zeroCutsPath", "Italiano\0"sv, false, "Start", "English"},
    {"tab", "Ital\tiano"sv, false, "Start", "English"},
    {"lineFeed", "Ital\niano"sv, false, "Start", "English"},
};

class LanguageName : public test::TempStateTest, public ::testing::WithParamInterface<NameCase> {
protected:
    void SetUp() override
    {
        test::TempStateTest::SetUp();
        ASSERT_TRUE(QDir(root()).mkpath(QStringLiteral("LANGUAGE/sub")));
        // Every file a case could reach, each with its own text 0; only the plain names'
        // files may ever be loaded.
        const std::pair<const char*, const char*> files[] = {
            {"Outside.lng", "Outside"},
            {"LANGUAGE/English.lng", "Start"},
            {"LANGUAGE/Italiano.lng", "Inizio"},
            {"LANGUAGE/Italiano", "NoExtension"},
            {"LANGUAGE/Deutsch (CH).lng", "Gruezi"},
            {"LANGUAGE/Fran\xC3\xA7"
             "ais.lng",
             "Commencer"},
            {"LANGUAGE/....lng", "Dots"},
            {"LANGUAGE/.lng", "Unnamed"},
            {"LANGUAGE/sub/Inner.lng", "Inner"},
            {"LANGUAGE/..\\Outside.lng", "Backslash"},
            {"LANGUAGE/C:Outside.lng", "Colon"},
            {"LANGUAGE/Ital\tiano.lng", "Tab"},
            {"LANGUAGE/Ital\niano.lng", "LineFeed"},
        };
        for (const auto& [name, text] : files)
            ASSERT_TRUE(
                test::writeFile(path(QString::fromUtf8(name)), QByteArray("STR0 =") + text + "\n"))
                << name;
    }
};

TEST_P(LanguageName, OnlyAFileNameInsideTheFolderIsLoaded)
{
    const NameCase& c = GetParam();
    ProgramState s;
    s.Dir_Language = path(QStringLiteral("LANGUAGE"));
    s.Language_Name = QString::fromUtf8(c.language.data(), qsizetype(c.language.size()));
    if (c.absolute)
        s.Language_Name.prepend(root());
    Load_Language(s);
    EXPECT_EQ(s.lang(0), QString::fromUtf8(c.expectedText));
    EXPECT_EQ(s.Language_Name, QString::fromUtf8(c.expectedName));
    EXPECT_EQ(s.Language_Table.size(), 6400);
}

INSTANTIATE_TEST_SUITE_P(Cases, LanguageName, ::testing::ValuesIn(kNames),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zfw
