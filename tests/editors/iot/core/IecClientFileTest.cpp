// IEC_61850_Client.xml without the window: the written form, reading it back against a freshly
// decoded catalogue, the damaged and hand-edited files, the byte ranges of the basic types and
// the checks of the variables grid, alone and through the window's table.

#include "editors/iot/core/UIEC_61850_ClientFile.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "editors/iot/core/UIEC_61850_ClientSpec.h"
#include "support/CaseName.h"
#include "support/Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zfw {
namespace {

QString dataDir() { return QStringLiteral(ZFW_TEST_DATA_DIR "/iec61850"); }

class IecClientFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir().mkpath(catalog()));
    }
    QString catalog() const { return m_dir.filePath(QStringLiteral("ICD_Catalog")); }
    QString file() const { return m_dir.filePath(QStringLiteral("IEC_61850_Client.xml")); }
    void catalogue(const char* fixture, const QString& as)
    {
        ASSERT_TRUE(QFile::copy(dataDir() + QStringLiteral("/scl/") + QLatin1String(fixture),
                                QDir(catalog()).filePath(as)));
    }
    void addDevice(IecClientConfig& c, const QString& name)
    {
        CatalogEntry e = decodeCatalogFile(catalog(), name, QString());
        ASSERT_TRUE(e.message.isEmpty()) << e.message.toStdString();
        c.List_IEC_Dev.push_back(std::move(e.device));
    }
    void write(const QByteArray& bytes) { ASSERT_TRUE(test::writeFile(file(), bytes)); }

    QTemporaryDir m_dir;
};

QStringList daRow(const QString& index, const TIEC_DA& da)
{
    QStringList row = IecClientConfig::emptyDaRow();
    row[iecda::Index - 1] = index;
    row[iecda::bType - 1] = da.bType;
    row[iecda::fc - 1] = da.FC;
    row[iecda::Reference - 1] = da.Reference;
    row[iecda::OnChange - 1] = row[iecda::OnCMD - 1] = row[iecda::OnTimer - 1] = QStringLiteral(
        "N");
    return row;
}

// A device, a FLOAT32 attribute and a data set whose second member was edited: the file is
// the golden one, and reading it back gives the same rows and members on the new decode.
TEST_F(IecClientFileTest, WrittenFileGoldenAndReadBack)
{
    catalogue("fcda_resolution.icd", QStringLiteral("server.icd"));
    IecClientConfig c;
    addDevice(c, QStringLiteral("server.icd"));
    const TIEC_LN& mmxu = *c.List_IEC_Dev[0]->List_LDevice[0]->List_LN[1];
    const TIEC_DA* f = mmxu.Find_DO(QStringLiteral("TotW"))->Find_DA(QStringLiteral("f"));
    ASSERT_TRUE(f);
    c.daRows = {daRow(QStringLiteral("0"), *f)};
    c.daRows[0][iecda::IPAddress - 1] = QStringLiteral("192.168.1.125");
    c.daRows[0][iecda::Port - 1] = QStringLiteral("102");
    c.daRows[0][iecda::Position - 1] = QStringLiteral("10");
    c.daRows[0][iecda::MoltFact - 1] = QStringLiteral("None");
    const std::vector<bool> fixed = Set_Start_Num_Byte(c.daRows);
    EXPECT_EQ(fixed, std::vector<bool>{true});
    EXPECT_EQ(c.daRows[0][iecda::StartByte - 1], QStringLiteral("0"));
    EXPECT_EQ(c.daRows[0][iecda::NumByte - 1], QStringLiteral("4"));

    const TIEC_DataSet* ds = Get_DataSet(c.List_IEC_Dev, 0, QStringLiteral("IED1LD0/LLN0.DS1"));
    ASSERT_TRUE(ds);
    c.dataSetRows = {{QStringLiteral("0"), ds->Reference, ds->GooseName, QStringLiteral("N"),
                      QStringLiteral("10.0.0.1"), QStringLiteral("102"), QStringLiteral("500"),
                      QStringLiteral("feeder")}};
    c.List_DataSet.push_back(newDataSetSelection(*ds));
    TDataSet_DA& m = *c.List_DataSet[0]->List_DAs[1];
    m.Position = QStringLiteral("20");
    m.bitAddress = QStringLiteral("3");
    m.conversion = QStringLiteral("ItoF/FtoI");
    m.multFactor = QStringLiteral("1,5");
    m.Mnemonic = QStringLiteral("power <kW> & \"more\"");

    ASSERT_TRUE(saveIecClientFile(c, file()).ok);
    const QByteArray golden = test::readFile(dataDir() + QStringLiteral("/client_golden.xml"));
    ASSERT_FALSE(golden.isEmpty());
    EXPECT_EQ(test::readFile(file()).toStdString(), golden.toStdString());

    IecClientConfig back;
    const IecClientLoad load = loadIecClientFile(file(), catalog(), back);
    EXPECT_TRUE(load.messages.isEmpty()) << load.messages.join(u'\n').toStdString();
    ASSERT_EQ(back.List_IEC_Dev.size(), 1u);
    EXPECT_EQ(back.daRows, c.daRows);
    EXPECT_EQ(back.dataSetRows, c.dataSetRows);
    ASSERT_EQ(back.List_DataSet.size(), 1u);
    const TDataSet& set = *back.List_DataSet[0];
    ASSERT_TRUE(set.Select_DataSet);
    EXPECT_EQ(set.Select_DataSet->Reference, ds->Reference);
    ASSERT_EQ(set.List_DAs.size(), 4u);
    EXPECT_EQ(set.List_DAs[1]->Select_DA, set.Select_DataSet->List_DA[1]);
    EXPECT_EQ(set.List_DAs[1]->Mnemonic, m.Mnemonic);
    EXPECT_EQ(set.List_DAs[1]->multFactor, m.multFactor);
    EXPECT_EQ(iecClientFileBytes(back), golden);
}

struct WriteRuleCase {
    std::string name;
    QList<QStringList> rows;
    int written;
};

QStringList indexRow(const char* index)
{
    QStringList r = IecClientConfig::emptyDaRow();
    r[0] = QLatin1String(index);
    return r;
}

const WriteRuleCase kWriteRule[] = {
    {"OnlyEmptyRowOne", {indexRow("")}, 0},
    {"RowOneWithIndex", {indexRow("0")}, 1},
    {"EmptyIndexThenARow", {indexRow(""), indexRow("1")}, 2},
};

class IecClientWriteRuleTest : public ::testing::TestWithParam<WriteRuleCase> {};

TEST_P(IecClientWriteRuleTest, ListsAlwaysWrittenRowsByTheRule)
{
    IecClientConfig c;
    c.daRows = GetParam().rows;
    const ProjectXmlLoad doc = parseProjectXml(iecClientFileBytes(c),
                                               QStringLiteral("IEC_61850_Client.xml"));
    ASSERT_TRUE(doc.ok());
    EXPECT_EQ(doc.root.tagName(), QStringLiteral("IEC_68850_Client"));
    for (const char* list : {"List_ICD_Files", "List_DA_Selected", "List_DataSet_Selected"})
        EXPECT_FALSE(childElement(doc.root, QLatin1String(list)).isNull()) << list;
    const QList<XmlElement> rows = rowElements(childElement(doc.root, u"List_DA_Selected"));
    ASSERT_EQ(rows.size(), GetParam().written);
    if (GetParam().written == 2) {
        EXPECT_EQ(rows[0].attribute(u"Index"), QString());
    }
}

INSTANTIATE_TEST_SUITE_P(Iec, IecClientWriteRuleTest, ::testing::ValuesIn(kWriteRule),
                         test::CaseName());

TEST_F(IecClientFileTest, EmptyGridsReadBackAsOneEmptyRow)
{
    IecClientConfig c;
    ASSERT_TRUE(saveIecClientFile(c, file()).ok);
    IecClientConfig back;
    EXPECT_TRUE(loadIecClientFile(file(), catalog(), back).messages.isEmpty());
    EXPECT_EQ(back.daRows, QList<QStringList>{IecClientConfig::emptyDaRow()});
    EXPECT_EQ(back.dataSetRows, QList<QStringList>{IecClientConfig::emptyDataSetRow()});
    EXPECT_TRUE(back.List_DataSet.empty());
}

// Files A, B and C with B gone from the folder: B keeps its place, so C stays index 2 and the
// rows stored for it still name it; saving keeps B in the catalogue.
TEST_F(IecClientFileTest, MissingMiddleFileKeepsTheIndexes)
{
    catalogue("two_ieds.scd", QStringLiteral("A.scd"));
    catalogue("goose_before_dataset.icd", QStringLiteral("C.icd"));
    write(R"(<IEC_68850_Client>
  <List_ICD_Files>
    <ICD_File Name="IED1" FileName="A.scd"/>
    <ICD_File Name="GONE" FileName="B.icd"/>
    <ICD_File Name="GIED" FileName="C.icd"/>
  </List_ICD_Files>
  <List_DA_Selected/>
  <List_DataSet_Selected>
    <DataSet_Item Index="2" Reference="GIEDLD1/LLN0.DS1" GooseName="GC_First" EnGoose="Y" IPAddress="" Port="" Time="" Mnemonic="">
      <DataSet_List_DAs>
        <DataSet_DA_Item bType="Enum" Reference="GIEDLD1/LLN0.Mod.stVal" Position="7" StartBit="" Convertion="" MoltFact="" Mnemonic="m"/>
      </DataSet_List_DAs>
    </DataSet_Item>
  </List_DataSet_Selected>
</IEC_68850_Client>
)");
    IecClientConfig c;
    const IecClientLoad load = loadIecClientFile(file(), catalog(), c);
    ASSERT_EQ(load.messages.size(), 1);
    EXPECT_TRUE(load.messages[0].contains(QStringLiteral("B.icd")));
    ASSERT_EQ(c.List_IEC_Dev.size(), 3u);
    EXPECT_TRUE(c.List_IEC_Dev[1]->Placeholder);
    EXPECT_EQ(c.List_IEC_Dev[1]->Name, QStringLiteral("GONE"));
    EXPECT_EQ(c.List_IEC_Dev[2]->Name, QStringLiteral("GIED"));
    ASSERT_EQ(c.List_DataSet.size(), 1u);
    ASSERT_TRUE(c.List_DataSet[0]->Select_DataSet);
    ASSERT_EQ(c.List_DataSet[0]->List_DAs.size(), 1u);
    EXPECT_EQ(c.List_DataSet[0]->List_DAs[0]->Position, QStringLiteral("7"));

    const ProjectXmlLoad doc = parseProjectXml(iecClientFileBytes(c), QStringLiteral("x"));
    const QList<XmlElement> files = rowElements(childElement(doc.root, u"List_ICD_Files"));
    ASSERT_EQ(files.size(), 3);
    EXPECT_EQ(files[1].attribute(u"FileName"), QStringLiteral("B.icd"));
    EXPECT_EQ(files[1].attribute(u"Name"), QStringLiteral("GONE"));
}

// The stored members are compared by position with the decoded set: members swapped in the
// server's file are dropped, the others keep their settings; members beyond the set are
// dropped with a word.
TEST_F(IecClientFileTest, StoredMembersKeptOnlyWhereTheyStillMatch)
{
    catalogue("fcda_resolution.icd", QStringLiteral("s.icd"));
    write(R"(<IEC_68850_Client>
  <List_ICD_Files><ICD_File Name="IED1" FileName="s.icd"/></List_ICD_Files>
  <List_DA_Selected/>
  <List_DataSet_Selected>
    <DataSet_Item Index="0" Reference="IED1LD0/LLN0.DS1" GooseName="" EnGoose="N" IPAddress="" Port="" Time="" Mnemonic="">
      <DataSet_List_DAs>
        <DataSet_DA_Item bType="Struct" Reference="IED1LD0/MMXU1.TotW.mag" Position="1"/>
        <DataSet_DA_Item bType="FLOAT32" Reference="IED1LD0/MMXU1.A.phsA.cVal.f" Position="2"/>
        <DataSet_DA_Item bType="FLOAT32" Reference="IED1LD0/MMXU1.TotW.mag.f" Position="3"/>
        <DataSet_DA_Item bType="Quality" Reference="IED1LD0/MMXU1.TotW.q" Position="4"/>
        <DataSet_DA_Item bType="Quality" Reference="IED1LD0/MMXU1.TotW.q" Position="5"/>
      </DataSet_List_DAs>
    </DataSet_Item>
    <DataSet_Item Index="0" Reference="ied1LD0/LLN0.DS1" GooseName="" EnGoose="N" IPAddress="" Port="" Time="" Mnemonic="">
      <DataSet_List_DAs/>
    </DataSet_Item>
  </List_DataSet_Selected>
</IEC_68850_Client>
)");
    IecClientConfig c;
    const IecClientLoad load = loadIecClientFile(file(), catalog(), c);
    ASSERT_EQ(load.messages.size(), 1) << load.messages.join(u'\n').toStdString();
    EXPECT_TRUE(load.messages[0].contains(QStringLiteral("row 1: 1 stored members")));
    ASSERT_EQ(c.List_DataSet.size(), 2u);
    const auto& kept = c.List_DataSet[0]->List_DAs;
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0]->Position, QStringLiteral("1"));
    EXPECT_EQ(kept[1]->Position, QStringLiteral("4"));
    // References are compared with their letter case.
    EXPECT_EQ(c.List_DataSet[1]->Select_DataSet, nullptr);
}

struct DamagedCase {
    std::string name;
    const char* xml;
    const char* message;  // part of a message; empty: a clean load
    int daRows;
    int dataSetRows;
};

const DamagedCase kDamaged[] = {
    {"WrongRoot",
     "<IEC_61850_Client><List_DA_Selected><DA_Item Index=\"0\"/></List_DA_Selected>"
     "</IEC_61850_Client>",
     "root element", 1, 1},
    {"NotXml", "<IEC_68850_Client>", "IEC_61850_Client.xml", 1, 1},
    {"NoLists", "<IEC_68850_Client/>", "List_ICD_Files", 1, 1},
    {"NoDataSetListOfOlderFiles",
     "<IEC_68850_Client><List_ICD_Files/><List_DA_Selected><DA_Item Index=\"0\" bType=\"INT16\" "
     "fc=\"\" Reference=\"\" IPAddress=\"\" Port=\"\" OnChange=\"N\" OnCMD=\"N\" OnTimer=\"N\" "
     "Time=\"\" Position=\"\" StartBit=\"\" ReadWrite=\"\" Convertion=\"\" MoltFact=\"\" "
     "Mnemonic=\"\"/></List_DA_Selected></IEC_68850_Client>",
     "", 1, 1},
    {"DaItemLackingAttributes",
     "<IEC_68850_Client><List_ICD_Files/><List_DA_Selected><DA_Item Index=\"0\"/><DA_Item/>"
     "</List_DA_Selected><List_DataSet_Selected/></IEC_68850_Client>",
     "values were missing", 2, 1},
    {"DataSetIndexNoNumber",
     "<IEC_68850_Client><List_ICD_Files/><List_DA_Selected/><List_DataSet_Selected>"
     "<DataSet_Item Index=\"x\" Reference=\"r\" GooseName=\"\" EnGoose=\"N\" IPAddress=\"\" "
     "Port=\"\" Time=\"\" Mnemonic=\"\"><DataSet_List_DAs/></DataSet_Item>"
     "</List_DataSet_Selected></IEC_68850_Client>",
     "no number", 1, 1},
    {"CatalogueNameWithFolder",
     "<IEC_68850_Client><List_ICD_Files><ICD_File Name=\"x\" FileName=\"../IEC_61850_Client.xml\"/>"
     "</List_ICD_Files><List_DA_Selected/><List_DataSet_Selected/></IEC_68850_Client>",
     "no file name of the catalogue folder", 1, 1},
    {"CatalogueFileNotXml",
     "<IEC_68850_Client><List_ICD_Files><ICD_File Name=\"x\" FileName=\"broken.icd\"/>"
     "<ICD_File Name=\"y\" FileName=\"broken.icd\"/></List_ICD_Files><List_DA_Selected/>"
     "<List_DataSet_Selected/></IEC_68850_Client>",
     "broken.icd: not well-formed", 1, 1},
};

class IecClientDamagedTest : public IecClientFileTest,
                             public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(IecClientDamagedTest, LoadsWhatItCanAndSaysWhat)
{
    ASSERT_TRUE(test::writeFile(QDir(catalog()).filePath(QStringLiteral("broken.icd")),
                                "<SCL><IED name=\"x\">"));
    write(GetParam().xml);
    IecClientConfig c;
    const IecClientLoad load = loadIecClientFile(file(), catalog(), c);
    if (*GetParam().message) {
        ASSERT_FALSE(load.messages.isEmpty());
        EXPECT_TRUE(load.messages.join(u'\n').contains(QLatin1String(GetParam().message)))
            << load.messages.join(u'\n').toStdString();
    } else {
        EXPECT_TRUE(load.messages.isEmpty()) << load.messages.join(u'\n').toStdString();
    }
    EXPECT_EQ(c.daRows.size(), GetParam().daRows);
    EXPECT_EQ(c.dataSetRows.size(), GetParam().dataSetRows);
    for (const QStringList& r : c.daRows)
        EXPECT_EQ(r.size(), kIecDaColumns);
    // Every data-set row has its selection, and the lists keep the device indexes.
    const bool emptyGrid = c.dataSetRows.size() == 1 && c.dataSetRows[0][0].isEmpty()
                           && c.List_DataSet.empty();
    EXPECT_TRUE(emptyGrid || c.List_DataSet.size() == size_t(c.dataSetRows.size()));
    if (QByteArray(GetParam().xml).contains("broken.icd")) {
        ASSERT_EQ(c.List_IEC_Dev.size(), 2u);
        EXPECT_TRUE(c.List_IEC_Dev[1]->Placeholder);
    }
}

INSTANTIATE_TEST_SUITE_P(Iec, IecClientDamagedTest, ::testing::ValuesIn(kDamaged),
                         test::CaseName());

TEST_F(IecClientFileTest, OlderRowWithoutByteRangeTakesTheTypeSize)
{
    write(kDamaged[3].xml);
    IecClientConfig c;
    loadIecClientFile(file(), catalog(), c);
    EXPECT_EQ(c.daRows[0][iecda::StartByte - 1], QStringLiteral("0"));
    EXPECT_EQ(c.daRows[0][iecda::NumByte - 1], QStringLiteral("2"));
}

struct ByteCase {
    std::string name;
    const char* bType;
    const char* start;  // null: editable and unchanged
    const char* count;
};

const ByteCase kBytes[] = {
    {"Float32", "FLOAT32", "0", "4"},
    {"Int16AnyCase", "iNt16", "0", "2"},
    {"Float64", "FLOAT64", "0", "8"},
    {"TimestampOneByte", "Timestamp", "0", "1"},
    {"Quality", "Quality", "0", "4"},
    {"Dbpos", "Dbpos", nullptr, nullptr},
    {"VisString", "VisString255", nullptr, nullptr},
    {"Empty", "", nullptr, nullptr},
};

class IecStartNumByteTest : public ::testing::TestWithParam<ByteCase> {};

TEST_P(IecStartNumByteTest, FixedTypesWrittenOthersKept)
{
    QList<QStringList> rows = {IecClientConfig::emptyDaRow()};
    rows[0][iecda::bType - 1] = QLatin1String(GetParam().bType);
    rows[0][iecda::StartByte - 1] = QStringLiteral("7");
    rows[0][iecda::NumByte - 1] = QStringLiteral("9");
    const std::vector<bool> fixed = Set_Start_Num_Byte(rows);
    EXPECT_EQ(fixed[0], GetParam().start != nullptr);
    EXPECT_EQ(rows[0][iecda::StartByte - 1],
              QLatin1String(GetParam().start ? GetParam().start : "7"));
    EXPECT_EQ(rows[0][iecda::NumByte - 1],
              QLatin1String(GetParam().count ? GetParam().count : "9"));
}

INSTANTIATE_TEST_SUITE_P(Iec, IecStartNumByteTest, ::testing::ValuesIn(kBytes), test::CaseName());

struct CheckCase {
    std::string name;
    QMap<int, QString> cells;  // over a valid row
    QChar separator;
    int faultText;  // 0: passes
    int faultRow;
};

QList<QStringList> checkRows(const QMap<int, QString>& cells)
{
    QStringList row = IecClientConfig::emptyDaRow();
    row[iecda::bType - 1] = QStringLiteral("FLOAT32");
    row[iecda::IPAddress - 1] = QStringLiteral("192.168.1.125");
    row[iecda::Port - 1] = QStringLiteral("102");
    row[iecda::OnTimer - 1] = QStringLiteral("N");
    row[iecda::Position - 1] = QStringLiteral("0");
    row[iecda::MoltFact - 1] = QStringLiteral("None");
    QList<QStringList> rows = {row, row};
    for (auto it = cells.cbegin(); it != cells.cend(); ++it)
        rows[it.key() / 100][it.key() % 100 - 1] = it.value();
    return rows;
}

// Keys of cells: row index * 100 + column.
const CheckCase kChecks[] = {
    {"ValidRows", {}, u',', 0, 0},
    {"VisStringInside", {{2, "VisString255"}, {5, "10"}, {6, "245"}}, u',', 0, 0},
    {"VisStringSumOver", {{2, "VisString255"}, {5, "10"}, {6, "246"}}, u',', 4964, 1},
    {"VisStringStartOver", {{2, "VisString255"}, {5, "255"}, {6, "1"}}, u',', 4962, 1},
    {"VisStringNoCount", {{2, "visstring255"}, {5, "0"}, {6, ""}}, u',', 4963, 1},
    {"OctetWhole", {{2, "Octet64"}, {5, "0"}, {6, "64"}}, u',', 0, 0},
    {"OctetSumOver", {{2, "Octet64"}, {5, "1"}, {6, "64"}}, u',', 4967, 1},
    {"OctetStartOver", {{2, "Octet64"}, {5, "64"}, {6, "1"}}, u',', 4965, 1},
    {"OctetCountOver", {{2, "Octet64"}, {5, "0"}, {6, "65"}}, u',', 4966, 1},
    {"BadAddress", {{107, "192.168.1"}}, u',', 4953, 2},
    {"AddressWithBlanks", {{7, " 10 . 0 .0. 1 "}}, u',', 0, 0},
    {"PortOver", {{8, "65536"}}, u',', 4954, 1},
    {"TimeCheckedWithTimer", {{11, " Y "}, {12, "0"}}, u',', 4955, 1},
    {"TimeFreeWithoutTimer", {{11, "N"}, {12, ""}}, u',', 0, 0},
    {"Position1400", {{13, "1400"}}, u',', 4956, 1},
    {"Position1399", {{13, "1399"}}, u',', 0, 0},
    {"FactorNoneSmall", {{17, "none"}}, u',', 0, 0},
    {"FactorCommaWithPoint", {{17, "1,5"}}, u'.', 0, 0},
    {"FactorCommaWithComma", {{17, "1,5"}}, u',', 0, 0},
    {"FactorEmpty", {{17, ""}}, u',', 4957, 1},
    {"NoBTypeSkippedNextChecked", {{2, ""}, {13, "5000"}, {113, "5000"}}, u',', 4956, 2},
};

class IecDaCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(IecDaCheckTest, FirstFaultWithItsRow)
{
    const IecDaFault f = checkIecDaRows(checkRows(GetParam().cells), GetParam().separator);
    EXPECT_EQ(f.text, GetParam().faultText);
    EXPECT_EQ(f.row, GetParam().faultRow);
    EXPECT_EQ(f.bound, GetParam().faultText == 4956 ? QStringLiteral("1399") : QString());
}

// The same rows in the window's table: the frame's walk of the descriptor finds the same
// fault in the same row, and the message ends with the bound of the Position.
TEST_P(IecDaCheckTest, TheWindowsTableGivesTheSameFault)
{
    const QList<QStringList> rows = checkRows(GetParam().cells);
    RuleFile file(iecClientRuleSpec(GetParam().separator));
    RuleTable& t = file.tables[kIecDaTable];
    t.setRowCount(int(rows.size()) + 1);
    for (int r = 1; r <= rows.size(); ++r)
        for (int c = 1; c <= kIecDaColumns; ++c)
            t.setCell(c, r, rows[r - 1][c - 1]);
    const RuleFault f = Controllo_dati(file);
    EXPECT_EQ(f.text, GetParam().faultText);
    EXPECT_EQ(f.ok() ? 0 : f.row, GetParam().faultRow);
    if (GetParam().faultText == 4956) {
        ProgramState lang;
        Fill_Default_Language(lang);
        EXPECT_EQ(ruleFaultMessage(f, file.spec, lang),
                  QStringLiteral("Error row %1!! Position must be between 0 and 1399")
                      .arg(GetParam().faultRow));
    }
}

INSTANTIATE_TEST_SUITE_P(Iec, IecDaCheckTest, ::testing::ValuesIn(kChecks), test::CaseName());

}  // namespace
}  // namespace zfw
