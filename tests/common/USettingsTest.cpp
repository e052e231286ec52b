#include "common/USettings.h"

#include "common/UComon.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace zfw {
namespace {

class Settings : public test::TempStateTest {
protected:
    ProgramState state() const
    {
        ProgramState s;
        s.Dir_Exe = root();
        return s;
    }
    void writeSettings(const QByteArray& xml)
    {
        ASSERT_TRUE(test::writeFile(path(QStringLiteral("Zandoveric.xml")), xml));
    }
    QByteArray readSettings() { return test::readFile(path(QStringLiteral("Zandoveric.xml"))); }
};

TEST_F(Settings, MissingOrMalformedFileGivesDefaults)
{
    for (const QByteArray& content : {QByteArray(), QByteArray("<Conf_Settings><lastproj>")}) {
        if (!content.isEmpty())
            writeSettings(content);
        ProgramState s = state();
        s.Project_Name = QStringLiteral("stale");
        s.Opt_Enable_Update = true;
        Load_Settings(s);
        EXPECT_TRUE(s.Project_Name.isEmpty());
        EXPECT_EQ(s.Device_IP_Address, QStringLiteral("192.168.2.205"));
        EXPECT_EQ(s.Language_Name, QStringLiteral("English"));
        EXPECT_FALSE(s.Opt_Enable_Internet);
        EXPECT_FALSE(s.Opt_Enable_Update);
        EXPECT_FALSE(s.Opt_Jump_Field_Tables);
        EXPECT_FALSE(s.Opt_Double_Click_Auto_Size);
    }
}

TEST_F(Settings, RoundTripWritesTheExactDocument)
{
    ProgramState s = state();
    s.Project_Name = QStringLiteral("Plant 1");
    s.Device_IP_Address = QStringLiteral("10.0.0.7");
    s.Language_Name = QStringLiteral("Italiano");
    s.Opt_Enable_Internet = true;
    s.Opt_Jump_Field_Tables = true;
    ASSERT_TRUE(Save_Setting(s));
    EXPECT_EQ(readSettings(),
              QByteArray("<Conf_Settings><lastproj><projectname>Plant 1</projectname></lastproj>"
                         "<lastipadd><ipaddress>10.0.0.7</ipaddress></lastipadd>"
                         "<lastlang><language>Italiano</language></lastlang>"
                         "<lastinternet><enable_internet>1</enable_internet>"
                         "<enable_update>0</enable_update>"
                         "<enable_jump_field_tables>1</enable_jump_field_tables>"
                         "<Double_Click_Auto_Size>0</Double_Click_Auto_Size>"
                         "</lastinternet></Conf_Settings>"));

    ProgramState r = state();
    Load_Settings(r);
    EXPECT_EQ(r.Project_Name, s.Project_Name);
    EXPECT_EQ(r.Device_IP_Address, s.Device_IP_Address);
    EXPECT_EQ(r.Language_Name, s.Language_Name);
    EXPECT_TRUE(r.Opt_Enable_Internet);
    EXPECT_FALSE(r.Opt_Enable_Update);
    EXPECT_TRUE(r.Opt_Jump_Field_Tables);
    EXPECT_FALSE(r.Opt_Double_Click_Auto_Size);
}

TEST_F(Settings, EachValueHasItsOwnFallback)
{
    writeSettings(
        "<Other><lastipadd><ipaddress></ipaddress></lastipadd>"
        "<lastlang><language>Deutsch</language></lastlang></Other>");
    ProgramState s = state();
    Load_Settings(s);
    EXPECT_TRUE(s.Project_Name.isEmpty());
    EXPECT_EQ(s.Device_IP_Address, QString());  // present and empty: not the default
    EXPECT_EQ(s.Language_Name, QStringLiteral("Deutsch"));
    EXPECT_FALSE(s.Opt_Enable_Internet);
}

TEST_F(Settings, OnlyExactOneSwitchesAnOptionOn)
{
    writeSettings(
        "<Conf_Settings><lastinternet><enable_internet>1</enable_internet>"
        "<enable_update> 1</enable_update><enable_jump_field_tables>true"
        "</enable_jump_field_tables><Double_Click_Auto_Size/></lastinternet>"
        "</Conf_Settings>");
    ProgramState s = state();
    Load_Settings(s);
    EXPECT_TRUE(s.Opt_Enable_Internet);
    EXPECT_FALSE(s.Opt_Enable_Update);
    EXPECT_FALSE(s.Opt_Jump_Field_Tables);
    EXPECT_FALSE(s.Opt_Double_Click_Auto_Size);
}

// A settings file nested far deeper than any the program writes is refused as a whole at
// the depth limit, without reading on through it.
TEST_F(Settings, DeeplyNestedFileGivesDefaults)
{
    writeSettings("<Conf_Settings><lastlang><language>Deutsch</language></lastlang>"
                  + QByteArray("<a>").repeated(200000) + QByteArray("</a>").repeated(200000)
                  + "</Conf_Settings>");
    ProgramState s = state();
    Load_Settings(s);
    EXPECT_EQ(s.Language_Name, QStringLiteral("English"));
}

TEST_F(Settings, UnwritableFolderReportsFailureAndKeepsOldFile)
{
    writeSettings("<Conf_Settings/>");
    ProgramState s = state();
    s.Dir_Exe = path(QStringLiteral("missing/folder"));
    EXPECT_FALSE(Save_Setting(s));
    EXPECT_EQ(readSettings(), QByteArray("<Conf_Settings/>"));
}

}  // namespace
}  // namespace zfw
