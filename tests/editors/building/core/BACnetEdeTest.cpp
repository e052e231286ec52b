// EDE files: reading another device's object list, turning chosen objects into client rules,
// and writing the gateway's own file.

#include "editors/building/core/BACnetClientRules.h"
#include "editors/building/core/BACnetEde.h"
#include "support/CaseName.h"
#include "support/Files.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zfw {
namespace {

// ---- reading -----------------------------------------------------------------------------

// Five header lines, then the line of mandatory columns and the line of names.
const char kHeader[] =
    "PROJECT_NAME;Boiler room\n"
    "VERSION_OF_REFERENCEFILE;1\n"
    "TIMESTAMP_OF_LAST_CHANGE;x\n"
    "AUTHOR_OF_LAST_CHANGE;x\n"
    "VERSION_OF_LAYOUT;2\n";

QString summary(const EdeReadResult& r)
{
    QStringList out;
    for (const TBACnet_Var& v : r.objects)
        out.append(QStringLiteral("%1/%2/%3/%4/%5")
                       .arg(v.object_name)
                       .arg(v.object_type)
                       .arg(v.object_instance)
                       .arg(v.description)
                       .arg(v.write ? 'W' : '-'));
    return out.join(QLatin1Char(' '));
}

struct ReadCase {
    const char* name;
    QByteArray bytes;
    int firstObjectLine;
    const char* objects;  // name/type/instance/description/write of each retained object
};

const ReadCase kReadCases[] = {
    {"MandatoryOnLine7",
     QByteArray(kHeader)
         + "comment\n# mandatory;mandatory\n# keyname;...\nk1;9;Flow;0;1;Flow temp;;;;N\n",
     9, "Flow/0/1/Flow temp/-"},
    {"MandatoryOnLine6FoundBySearch",
     QByteArray(kHeader) + "#mandatory;mandatory\n# keyname\nk1;9;Pump;4;7;Pump cmd;;;;Y;\n", 8,
     "Pump/4/7/Pump cmd/W"},
    {"LastAnnouncingLineCounts",
     QByteArray(kHeader) + "# mandatory\nx\n# mandatory\n# names\nk;9;A;2;3;d;\n", 10, "A/2/3/d/-"},
    {"CapitalMDoesNotAnnounce",
     QByteArray(kHeader) + "# Mandatory;Mandatory\n# keyname\nk1;9;Flow;0;1;Flow temp;\n", 0, ""},
    {"DeviceAndScheduleDropped",
     QByteArray(kHeader)
         + "# mandatory\n# names\nk;9;Dev;8;9;d;\nk;9;Sch;17;1;d;\nk;9;Acc;23;2;d;\n",
     8, "Acc/23/2/d/-"},
    {"ShortLineGivesMinusOne", QByteArray(kHeader) + "# mandatory\n# names\nk1;9;Short;0;5\n", 8,
     "Short/0/-1//-"},
    {"QuotesKept",
     QByteArray(kHeader) + "# mandatory\n# names\n\"k\";9;\"Flow\";2;4;\"Flow, supply\";\n", 8,
     "\"Flow\"/2/4/\"Flow, supply\"/-"},
    {"CrOnlyAndBlankLines",
     QByteArray(kHeader).replace('\n', '\r') + "# mandatory\r# names\r\r  \rk;9;A;1;1;d;;;;y;\r", 8,
     "A/1/1/d/W"},
    {"TypeNotANumberDropped", QByteArray(kHeader) + "# mandatory\n# names\nk;9;A;AI;1;d;\n", 8, ""},
};

class EdeRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(EdeRead, RetainedObjects)
{
    const ReadCase& c = GetParam();
    const EdeReadResult r = readEdeObjects(c.bytes);
    EXPECT_EQ(r.firstObjectLine, c.firstObjectLine);
    EXPECT_EQ(summary(r).toStdString(), c.objects);
    EXPECT_FALSE(r.tooShort);
}

INSTANTIATE_TEST_SUITE_P(Files, EdeRead, ::testing::ValuesIn(kReadCases), test::CaseName());

TEST(EdeRead, SixteenFieldsAndTheLastTakesTheRest)
{
    const TBACnet_Var v = parseEdeLine(QStringLiteral(
        " k ; 12 ; name ; 46 ; 3 ; desc ; 1.5 ; 0 ; 9 ; y ; Y ; 90 ; 10 ; 2 ; 62 ; a;b ;"));
    EXPECT_EQ(v.keyname, QStringLiteral("k"));
    EXPECT_EQ(v.device_obj_instance, 12);
    EXPECT_EQ(v.object_type, 46);
    EXPECT_EQ(v.object_instance, 3);
    EXPECT_EQ(v.present_value_default, QStringLiteral("1.5"));
    EXPECT_TRUE(v.commandable);
    EXPECT_TRUE(v.support_COV);
    EXPECT_EQ(v.stete_text_reference, QStringLiteral("2"));
    EXPECT_EQ(v.unit_code, QStringLiteral("62"));
    EXPECT_EQ(v.vendor_specific_address, QStringLiteral("a;b"));
    EXPECT_TRUE(v.import && v.read && v.write);
}

struct EncodingCase {
    const char* name;
    QByteArray bytes;
};

QByteArray utf16(const QString& text, bool littleEndian)
{
    QByteArray out = littleEndian ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFE\xFF", 2);
    for (QChar c : text) {
        const char lo = char(c.unicode() & 0xFF), hi = char(c.unicode() >> 8);
        out.append(littleEndian ? lo : hi);
        out.append(littleEndian ? hi : lo);
    }
    return out;
}

const QString kAccented = QString::fromLatin1(kHeader)
                          + QStringLiteral(
                              "# mandatory\n# names\nk;9;Temp\u00e9rature;0;1;Caf\u00e9;\n");

const EncodingCase kEncodingCases[] = {
    {"Utf8Bom", QByteArray("\xEF\xBB\xBF") + kAccented.toUtf8()},
    {"Utf16LittleEndian", utf16(kAccented, true)},
    {"Utf16BigEndian", utf16(kAccented, false)},
    {"Utf16OddLength", utf16(kAccented, true) + QByteArray(1, 'x')},
    {"Windows1252", kAccented.toLatin1()},
};

class EdeEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(EdeEncoding, NamesDecoded)
{
    const EdeReadResult r = readEdeObjects(GetParam().bytes);
    ASSERT_EQ(r.objects.size(), 1);
    EXPECT_EQ(r.objects[0].object_name, QStringLiteral("Temp\u00e9rature"));
    EXPECT_EQ(r.objects[0].description, QStringLiteral("Caf\u00e9"));
}

INSTANTIATE_TEST_SUITE_P(Bytes, EdeEncoding, ::testing::ValuesIn(kEncodingCases), test::CaseName());

TEST(EdeRead, FewerThanSevenLinesIsSaid)
{
    const EdeReadResult r = readEdeObjects("# mandatory\n# names\nk;9;A;0;1;d;\n");
    EXPECT_TRUE(r.tooShort);
    EXPECT_TRUE(r.objects.isEmpty());
    EXPECT_TRUE(readEdeObjects(QByteArray()).tooShort);
}

TEST(EdeRead, HugeFilesAreListedUpToTheLimit)
{
    QByteArray bytes = QByteArray(kHeader) + "# mandatory\n# names\n";
    for (int i = 0; i < kEdeMaxObjects + 5; ++i)
        bytes += "k;9;A;0;" + QByteArray::number(i) + ";d;\n";
    const EdeReadResult r = readEdeObjects(bytes);
    EXPECT_EQ(r.objects.size(), kEdeMaxObjects);
    EXPECT_EQ(r.objectsLeftOut, 5);
    // One endless line is one object with long fields, not a crash.
    const EdeReadResult endless = readEdeObjects(QByteArray(kHeader) + "# mandatory\n# names\nk;9;"
                                                 + QByteArray(1 << 20, 'A') + ";0;1;"
                                                 + QByteArray(1 << 20, ';'));
    ASSERT_EQ(endless.objects.size(), 1);
    EXPECT_EQ(endless.objects[0].object_name.size(), 1 << 20);
}

// ---- the import into client rules -----------------------------------------------------------

TBACnet_Var object(int type, int instance, const char* name, bool read, bool write)
{
    TBACnet_Var v;
    v.object_type = type;
    v.object_instance = instance;
    v.object_name = QString::fromLatin1(name);
    v.description = QStringLiteral("d");
    v.read = read;
    v.write = write;
    return v;
}

QString cell(const RuleTable& t, const char* attribute, int row)
{
    return t.text(QString::fromLatin1(attribute), row);
}

TEST(EdeImport, FreshTablesGetPositionsFromZero)
{
    RuleFile f(bacnetClientRuleSpec());
    const EdeImportResult r = importEdeObjects(f.tables[0], f.tables[1],
                                               {object(0, 3, "AI", true, false),
                                                object(4, 7, "BO", true, true)},
                                               QStringLiteral("10.0.0.9"));
    EXPECT_EQ(r.faultText, 0);
    const RuleTable& read = f.tables[0];
    const RuleTable& write = f.tables[1];
    EXPECT_EQ(cell(read, "Position", 1), QStringLiteral("0"));
    EXPECT_EQ(cell(read, "Position", 2), QStringLiteral("4"));
    EXPECT_EQ(cell(read, "Object_Type", 2), QStringLiteral("Binary Output"));
    EXPECT_EQ(cell(read, "Mnemonic", 1), QStringLiteral("AI - d"));
    EXPECT_EQ(cell(read, "IP_Address_Slave_ID", 1), QStringLiteral("10.0.0.9"));
    EXPECT_EQ(cell(read, "PollTime", 1), QStringLiteral("1000"));
    EXPECT_EQ(read.ruleCount(), 2);
    EXPECT_EQ(cell(write, "Position", 1), QStringLiteral("0"));
    EXPECT_EQ(cell(write, "Data_Type", 1), QStringLiteral("Enumerated"));
    EXPECT_EQ(cell(write, "NumByte", 1), QStringLiteral("1"));
    EXPECT_EQ(cell(write, "Instance", 1), QStringLiteral("7"));
    EXPECT_EQ(write.ruleCount(), 1);
    // The new rules pass the checks as they stand.
    EXPECT_TRUE(Controllo_dati(f).ok());
}

TEST(EdeImport, ContinuesAfterTheRulesThere)
{
    RuleFile f(bacnetClientRuleSpec());
    RuleTable& read = f.tables[0];
    const int position = read.spec().col(u"Position"), numByte = read.spec().col(u"NumByte");
    const char* rules[][2] = {{"0", "8"}, {"8", "4"}, {"16", "4"}};
    for (int r = 1; r <= 3; ++r) {
        read.setCell(2, r, QStringLiteral("10.0.0.1"));
        read.setCell(position, r, QString::fromLatin1(rules[r - 1][0]));
        read.setCell(numByte, r, QString::fromLatin1(rules[r - 1][1]));
    }
    const EdeImportResult r = importEdeObjects(read, f.tables[1], {object(2, 1, "AV", true, false)},
                                               "10.0.0.2");
    EXPECT_EQ(r.firstReadRow, 4);
    EXPECT_EQ(cell(read, "Position", 4), QStringLiteral("20"));
}

// An object line too short to hold its instance gives a rule the Instance check refuses.
TEST(EdeImport, ShortLineRuleFailsTheInstanceCheck)
{
    RuleFile f(bacnetClientRuleSpec());
    const EdeReadResult read = readEdeObjects(QByteArray(kHeader)
                                              + "# mandatory\n# names\nk1;9;Short;0;5\n");
    ASSERT_EQ(read.objects.size(), 1);
    EXPECT_EQ(importEdeObjects(f.tables[0], f.tables[1], read.objects, "10.0.0.2").faultText, 0);
    const RuleFault fault = Controllo_dati(f);
    EXPECT_EQ(fault.row, 1);
    EXPECT_EQ(fault.text, 1341);
}

TEST(EdeImport, UnselectedObjectsAreLeftOut)
{
    RuleFile f(bacnetClientRuleSpec());
    TBACnet_Var skipped = object(0, 1, "A", true, true);
    skipped.import = false;
    const EdeImportResult r = importEdeObjects(f.tables[0], f.tables[1], {skipped}, "10.0.0.2");
    EXPECT_EQ(r.readRows + r.writeRows, 0);
    EXPECT_EQ(f.tables[0].ruleCount(), 0);
}

// A table without room for every chosen object is left as it was, and so is the other.
TEST(EdeImport, RefusedWhenTheRulesDoNotFit)
{
    RuleFile f(bacnetClientRuleSpec());
    for (int r = 1; r <= 511; ++r)
        f.tables[1].setCell(2, r, QStringLiteral("10.0.0.1"));
    const EdeImportResult r = importEdeObjects(f.tables[0], f.tables[1],
                                               {object(1, 1, "A", true, true),
                                                object(1, 2, "B", true, true)},
                                               "10.0.0.2");
    EXPECT_EQ(r.faultText, 1424);
    EXPECT_EQ(f.tables[0].ruleCount(), 0);
    EXPECT_EQ(cell(f.tables[1], "Object_Type", 512), QString());
    for (int r = 1; r <= 512; ++r)
        f.tables[0].setCell(2, r, QStringLiteral("10.0.0.1"));
    EXPECT_EQ(
        importEdeObjects(f.tables[0], f.tables[1], {object(1, 1, "A", true, false)}, "x").faultText,
        1423);
}

// With the device column hidden, the Object Type is the key: the free row is sought there.
TEST(EdeImport, HiddenDeviceColumnSeeksTheFreeRowInTheKey)
{
    RuleFile f(bacnetClientRuleSpec(2));
    RuleTable& read = f.tables[0];
    read.setCell(read.spec().col(u"Object_Type"), 1, QStringLiteral("Analog Input"));
    read.setCell(read.spec().col(u"Position"), 1, QStringLiteral("0"));
    read.setCell(read.spec().col(u"NumByte"), 1, QStringLiteral("4"));
    const EdeImportResult r = importEdeObjects(read, f.tables[1], {object(0, 5, "A", true, false)},
                                               "");
    EXPECT_EQ(r.firstReadRow, 2);
    EXPECT_EQ(cell(read, "Position", 2), QStringLiteral("4"));
    EXPECT_EQ(read.ruleCount(), 2);
}

// ---- writing -----------------------------------------------------------------------------

class EdeWrite : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    void parGen(const QByteArray& inner)
    {
        ASSERT_TRUE(test::writeFile(path("ParGen.xml"), "<Par_Gen>" + inner + "</Par_Gen>"));
    }
    void objects(const QByteArray& readRows, const QByteArray& writeRows = {})
    {
        ASSERT_TRUE(test::writeFile(path("BACnet_Slave_SetAccess.xml"),
                                    "<BACnet_to_Modbus><BACnet_in_Read>" + readRows
                                        + "</BACnet_in_Read><BACnet_in_Write>" + writeRows
                                        + "</BACnet_in_Write></BACnet_to_Modbus>"));
    }
    EdeExport build() const
    {
        return buildEdeFile(path("ParGen.xml"), path("BACnet_Slave_SetAccess.xml"),
                            QStringLiteral("Plant"), kTime);
    }
    // The object lines of the last build (line 8 on).
    QStringList objectLines() const
    {
        const EdeExport e = build();
        EXPECT_TRUE(e.ok) << e.message.toStdString();
        QStringList lines = QString::fromLatin1(e.bytes).split(QStringLiteral("\r\n"));
        lines.removeLast();
        return lines.mid(7);
    }

    const QDateTime kTime{QDate(2025, 2, 4), QTime(9, 5, 3)};
    QTemporaryDir m_dir;
};

static QByteArray row(const char* type, const char* unit, const char* mnemonic)
{
    return QByteArray("<row Data_Type=\"") + type + "\" Eng_Unit=\"" + unit
           + "\" Position=\"0\" Bit=\"\" Length=\"4\" Swap=\"N\" Mnemonic=\"" + mnemonic + "\"/>";
}

TEST_F(EdeWrite, GoldenSevenLinesWithoutAnyFile)
{
    const EdeExport e = build();
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.bytes.toStdString(),
              test::readFile(QStringLiteral(ZFW_TEST_DATA_DIR "/bacnet/ede_plant_empty.csv"))
                  .toStdString());
    const QString out = path("out.csv");
    ASSERT_TRUE(
        BACnet_EDE_Export(out, path("ParGen.xml"), path("none.xml"), QStringLiteral("Plant"), kTime)
            .ok);
    EXPECT_EQ(test::readFile(out), e.bytes);
}

TEST_F(EdeWrite, ObjectLineOfTheDevice)
{
    parGen("<BACnet_Type>0</BACnet_Type><BACnet_DEV_IDE>1234</BACnet_DEV_IDE>");
    objects(row("Analog Input", "62", "Boiler_Temperature_Flow"));
    EXPECT_EQ(objectLines(),
              QStringList({"1234_Boiler_Temperature_Flow_0;1234;Boiler_Temperatu;0;0;Boiler_"
                           "Temperatu;62;"}));
    parGen(
        "<BACnet_DEV_IDE>1234</BACnet_DEV_IDE><BACnet_Desc_Chars_Limit>1</"
        "BACnet_Desc_Chars_Limit>");
    EXPECT_EQ(objectLines(),
              QStringList({"1234_Boiler_Temperature_Flow_0;1234;Boiler_Temperature_Flow;0;0;"
                           "Boiler_Temperature_Flow;62;"}));
}

TEST_F(EdeWrite, InstancesCountPerTypeOverBothTables)
{
    parGen("<BACnet_Type>1</BACnet_Type><BACnet_Ser_DEV_IDE>7</BACnet_Ser_DEV_IDE>");
    objects(row("Multi State Value", "95", "A") + row("analog value ", "95", "B")
                + row("Odd", "95", "C") + row("ANALOG INPUT", "95", "D"),
            row("Multi State Value", "95", "E") + row("Analog Value", "95", "F"));
    EXPECT_EQ(objectLines(),
              QStringList({"7_A_0;7;A;19;0;A;95;", "7_B_0;7;B;2;0;B;95;", "7_C_0;7;C;0;0;C;95;",
                           "7_D_1;7;D;0;1;D;95;", "7_E_1;7;E;19;1;E;95;", "7_F_1;7;F;2;1;F;95;"}));
}

// Each export starts without a device instance: one whose parameters lack it never takes
// the instance of an earlier export.
TEST_F(EdeWrite, DeviceInstanceNeverCarriedOver)
{
    objects(row("Analog Input", "62", "A"));
    parGen("<BACnet_DEV_IDE>1234</BACnet_DEV_IDE>");
    EXPECT_EQ(objectLines(), QStringList({"1234_A_0;1234;A;0;0;A;62;"}));
    parGen("<BACnet_Type>1</BACnet_Type><BACnet_DEV_IDE>1234</BACnet_DEV_IDE>");
    EXPECT_EQ(objectLines(), QStringList({"_A_0;;A;0;0;A;62;"}));
}

struct RefusalCase {
    const char* name;
    QByteArray parGen;  // empty: no file
    QByteArray objects;
};

const RefusalCase kRefusalCases[] = {
    {"SemicolonInMnemonic",
     {},
     "<R><BACnet_in_Read>" + row("Analog Input", "62", "a;b")
         + "</BACnet_in_Read><BACnet_in_Write/></R>"},
    {"LineBreakInUnit",
     {},
     "<R><BACnet_in_Read>" + row("Analog Input", "62&#10;", "a")
         + "</BACnet_in_Read><BACnet_in_Write/></R>"},
    {"MissingWriteTable", {}, "<R><BACnet_in_Read/></R>"},
    {"RowWithoutMnemonic",
     {},
     "<R><BACnet_in_Read><row Data_Type=\"Analog Input\" Eng_Unit=\"1\"/>"
     "</BACnet_in_Read><BACnet_in_Write/></R>"},
    {"ObjectsNotXml", {}, "<R><BACnet_in_Read>"},
    {"ParGenNotXml", "<Par_Gen>", "<R><BACnet_in_Read/><BACnet_in_Write/></R>"},
    {"NotWindows1252",
     {},
     "<R><BACnet_in_Read>" + row("Analog Input", "62", "\xe6\xb8\xa9")
         + "</BACnet_in_Read><BACnet_in_Write/></R>"},
};

class EdeRefusal : public EdeWrite, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(EdeRefusal, NothingWrittenAndSaid)
{
    const RefusalCase& c = GetParam();
    if (!c.parGen.isEmpty()) {
        ASSERT_TRUE(test::writeFile(path("ParGen.xml"), c.parGen));
    }
    ASSERT_TRUE(test::writeFile(path("BACnet_Slave_SetAccess.xml"), c.objects));
    const QString out = path("out.csv");
    ASSERT_TRUE(test::writeFile(out, "old"));
    const FileResult r = BACnet_EDE_Export(out, path("ParGen.xml"),
                                           path("BACnet_Slave_SetAccess.xml"), "Plant", kTime);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.message.isEmpty());
    EXPECT_EQ(test::readFile(out), QByteArray("old"));
}

INSTANTIATE_TEST_SUITE_P(Files, EdeRefusal, ::testing::ValuesIn(kRefusalCases), test::CaseName());

// The client's import reads the server's file back: names, types and instances.
TEST_F(EdeWrite, ImportReadsTheWrittenFileBack)
{
    parGen("<BACnet_DEV_IDE>55</BACnet_DEV_IDE>");
    objects(row("Analog Input", "62", "Flow") + row("Binary Value", "95", "Pump"),
            row("Large Analog Value", "95", "Set"));
    const EdeExport e = build();
    ASSERT_TRUE(e.ok);
    const EdeReadResult r = readEdeObjects(e.bytes);
    EXPECT_EQ(r.firstObjectLine, 8);
    EXPECT_EQ(summary(r).toStdString(), "Flow/0/0/Flow/- Pump/5/0/Pump/- Set/46/0/Set/-");
    for (const TBACnet_Var& v : r.objects)
        EXPECT_EQ(v.device_obj_instance, 55);
}

}  // namespace
}  // namespace zfw
