// The EDS writer: golden files worked out from the project files with the clock fixed, every
// written file read back by a strict reader of the test's own, the 12-hour clock, the PDO
// counts, the values it refuses and the atomic write.

#include "EdsCheck.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "editors/fieldbus/core/UEDSWriter.h"
#include "support/CaseName.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <optional>

namespace zfw {
namespace {

const QDateTime kClock(QDate(2026, 3, 7), QTime(18, 5, 41));

QString dataDir(const QString& name)
{
    return QStringLiteral(ZFW_TEST_DATA_DIR "/fieldbus/eds/") + name;
}

class EdsTest : public test::TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        Fill_Default_Language(programState());
    }
    const ProgramState& lang() const { return programState(); }

    EdsResult build(const std::optional<QByteArray>& pdo, const std::optional<QByteArray>& sdo)
    {
        const ProjectXmlLoad a = pdo ? parseProjectXml(*pdo, QStringLiteral("PDO_CANopen.xml"))
                                     : ProjectXmlLoad{};
        const ProjectXmlLoad b = sdo ? parseProjectXml(*sdo,
                                                       QStringLiteral("SDO_Server_CANopen.xml"))
                                     : ProjectXmlLoad{};
        return buildEdsFile(a, b, kClock, lang());
    }
};

// ---- golden files --------------------------------------------------------------------------

struct GoldenCase {
    const char* name;
};

const GoldenCase kGoldenCases[] = {{"empty"}, {"edges"}, {"full30"}};

class EdsGolden : public EdsTest, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(EdsGolden, WritesTheFileWorkedOutByHand)
{
    const QString dir = dataDir(QLatin1String(GetParam().name));
    const QString target = path(QStringLiteral("out.eds"));
    const EdsResult r = Create_EDS_File(target, dir + QStringLiteral("/PDO_CANopen.xml"),
                                        dir + QStringLiteral("/SDO_Server_CANopen.xml"), kClock,
                                        lang());
    ASSERT_TRUE(r.ok()) << edsFaultMessage(r.fault, lang()).toStdString();
    EXPECT_TRUE(r.warnings.isEmpty());
    const QByteArray written = test::readFile(target);
    const QByteArray expected = test::readFile(dir + QStringLiteral("/expected.eds"));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(written.toStdString(), expected.toStdString());
    EXPECT_EQ(test::edsFaults(written), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Files, EdsGolden, ::testing::ValuesIn(kGoldenCases), test::CaseName());

// The reader of the test finds what it is there to find: a file it accepts, broken in one
// place, is refused.
TEST_F(EdsTest, TheTestsReaderRefusesBrokenFiles)
{
    const QByteArray good = test::readFile(dataDir(QStringLiteral("edges/expected.eds")));
    ASSERT_EQ(test::edsFaults(good), QStringList());
    const std::pair<QByteArray, QByteArray> breaks[] = {
        {"NrOfRXPDO=2", "NrOfRXPDO=3"},
        {"[7000sub2]", "[7000sub1]"},
        {"SubNumber=3\r\nParameterName=RPDO1", "SubNumber=4\r\nParameterName=RPDO1"},
        {"9=0x1400", "9=0x1401"},
        {"DefaultValue=0x70000208", "DefaultValue=0x70000308"},
        {"HighLimit=0xFFFF\r\n", "HighLimit=0x10000\r\n"},
        {"Lines=0\r\n", "Lines=0\n"},
        {"[DummyUsage]", "[Comments]"},
    };
    for (const auto& [from, to] : breaks) {
        QByteArray broken = good;
        ASSERT_TRUE(broken.contains(from)) << from.toStdString();
        broken.replace(broken.indexOf(from), from.size(), to);
        EXPECT_NE(test::edsFaults(broken), QStringList()) << to.toStdString();
    }
}

// ---- the clock -----------------------------------------------------------------------------

struct TimeCase {
    const char* name;
    int hour;
    int minute;
    const char* text;
};

const TimeCase kTimeCases[] = {
    {"Midnight", 0, 0, "12:00AM"},       {"HalfPastMidnight", 0, 30, "12:30AM"},
    {"Morning", 9, 7, "09:07AM"},        {"BeforeNoon", 11, 59, "11:59AM"},
    {"Noon", 12, 0, "12:00PM"},          {"AfterNoon", 12, 1, "12:01PM"},
    {"HalfPastNoon", 12, 30, "12:30PM"}, {"Evening", 18, 5, "06:05PM"},
    {"LastMinute", 23, 59, "11:59PM"},
};

class EdsTime : public ::testing::TestWithParam<TimeCase> {};

TEST_P(EdsTime, UsesTheTwelveHourClock)
{
    EXPECT_EQ(edsTimeText(QTime(GetParam().hour, GetParam().minute)),
              QLatin1String(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Times, EdsTime, ::testing::ValuesIn(kTimeCases), test::CaseName());

TEST(EdsDate, MonthDayYearWithTwoDigitMonthAndDay)
{
    EXPECT_EQ(edsDateText(QDate(2026, 3, 7)), QLatin1String("03-07-2026"));
    EXPECT_EQ(edsDateText(QDate(2026, 12, 31)), QLatin1String("12-31-2026"));
    EXPECT_EQ(edsDateText(QDate(987, 10, 1)), QLatin1String("10-01-987"));
}

// ---- PDO counts ----------------------------------------------------------------------------

QByteArray pdoFile(int receive, int transmit)
{
    QByteArray x = "<PDO_CANopen><Receive_PDO>";
    for (int i = 0; i < receive; ++i)
        x += "<row COB-ID=\"" + QByteArray::number(0x200 + i) + "\" Dimension=\"1\"/>";
    x += "</Receive_PDO><Transmit_PDO>";
    for (int i = 0; i < transmit; ++i)
        x += "<row COB-ID=\"" + QByteArray::number(0x180 + i) + "\" Dimension=\"2\"/>";
    return x + "</Transmit_PDO></PDO_CANopen>";
}

struct CountCase {
    const char* name;
    int receive;
    int transmit;
    int nrOfRx;
    int nrOfTx;
    bool warned;
};

const CountCase kCountCases[] = {
    {"None", 0, 0, 0, 0, false},
    {"OneEach", 1, 1, 1, 1, false},
    {"ThirtyReceive", 30, 0, 30, 0, false},
    {"ThirtyOneGivesThirtyAndAWarning", 31, 2, 30, 2, true},
    {"ManyTransmitRows", 0, 5000, 0, 30, true},
};

class EdsCounts : public EdsTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(EdsCounts, NrOfPdosFollowTheTables)
{
    const CountCase& c = GetParam();
    const EdsResult r = build(pdoFile(c.receive, c.transmit), std::nullopt);
    ASSERT_TRUE(r.ok()) << edsFaultMessage(r.fault, lang()).toStdString();
    QStringList faults;
    const test::EdsFile eds = test::readEds(r.bytes, &faults);
    const test::EdsSection* info = eds.section(QStringLiteral("DeviceInfo"));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->value(QStringLiteral("NrOfRXPDO")), QString::number(c.nrOfRx));
    EXPECT_EQ(info->value(QStringLiteral("NrOfTXPDO")), QString::number(c.nrOfTx));
    EXPECT_EQ(
        eds.section(QStringLiteral("OptionalObjects"))->value(QStringLiteral("SupportedObjects")),
        QString::number(8 + 3 * c.nrOfRx + 3 * c.nrOfTx));
    EXPECT_EQ(test::edsFaults(r.bytes), QStringList());
    EXPECT_EQ(!r.warnings.isEmpty(), c.warned);
    if (c.warned) {
        EXPECT_TRUE(r.warnings.front().startsWith(lang().lang(kEdsTextPdosLeftOut)));
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, EdsCounts, ::testing::ValuesIn(kCountCases), test::CaseName());

// ---- what the writer refuses ---------------------------------------------------------------

QByteArray sdoFile(const QByteArray& readRows, const QByteArray& writeRows = {})
{
    return "<SDO_Server_CANopen><SDO_Read>" + readRows + "</SDO_Read><SDO_Write>" + writeRows
           + "</SDO_Write></SDO_Server_CANopen>";
}

QByteArray sdoRow(const char* index, const char* sub, const char* nByte)
{
    return QByteArray("<row Index=\"") + index + "\" SubIndex=\"" + sub + "\" NByte=\"" + nByte
           + "\"/>";
}

struct RefusalCase {
    const char* name;
    std::optional<QByteArray> pdo;
    std::optional<QByteArray> sdo;
    int text;
    const char* table;
    int row;
};

const RefusalCase kRefusals[] = {
    {"PdoFileNotXml", QByteArray("<PDO_CANopen><Receive_PDO>"), std::nullopt,
     kEdsTextFileUnreadable, "", 0},
    {"SdoFileEmpty", std::nullopt, QByteArray(), kEdsTextFileUnreadable, "", 0},
    {"NoTransmitTable", QByteArray("<PDO_CANopen><Receive_PDO/></PDO_CANopen>"), std::nullopt,
     kEdsTextNoTable, "Transmit_PDO", 0},
    {"NoSdoWriteTable", std::nullopt,
     QByteArray("<SDO_Server_CANopen><SDO_Read/></SDO_Server_CANopen>"), kEdsTextNoTable,
     "SDO_Write", 0},
    {"PdoWithoutDimension",
     QByteArray("<PDO_CANopen><Receive_PDO><row COB-ID=\"1\" Dimension=\"1\"/><row COB-ID=\"2\"/>"
                "</Receive_PDO><Transmit_PDO/></PDO_CANopen>"),
     std::nullopt, kEdsTextNoAttribute, "Receive_PDO", 2},
    {"DimensionNine",
     QByteArray("<PDO_CANopen><Receive_PDO/><Transmit_PDO><row COB-ID=\"1\" Dimension=\"9\"/>"
                "</Transmit_PDO></PDO_CANopen>"),
     std::nullopt, kEdsTextDimension, "Transmit_PDO", 1},
    {"DimensionZero",
     QByteArray("<PDO_CANopen><Receive_PDO><row COB-ID=\"1\" Dimension=\"0\"/></Receive_PDO>"
                "<Transmit_PDO/></PDO_CANopen>"),
     std::nullopt, kEdsTextDimension, "Receive_PDO", 1},
    {"SdoWithoutNByte", std::nullopt, sdoFile("<row Index=\"0x2000\" SubIndex=\"1\"/>"),
     kEdsTextNoAttribute, "SDO_Read", 1},
    {"IndexOfAFixedObject", std::nullopt, sdoFile(sdoRow("0x1018", "1", "1")), kEdsTextIndex,
     "SDO_Read", 1},
    {"IndexPastTheArea", std::nullopt, sdoFile({}, sdoRow("0x6000", "1", "1")), kEdsTextIndex,
     "SDO_Write", 1},
    {"HexMarkerAlone", std::nullopt, sdoFile(sdoRow("0x", "1", "1")), kEdsTextIndex, "SDO_Read", 1},
    {"IndexPast32Bits", std::nullopt, sdoFile(sdoRow("4294975488", "1", "1")), kEdsTextIndex,
     "SDO_Read", 1},
    {"IndexWrappingTo16Bits", std::nullopt, sdoFile(sdoRow("0x12000", "1", "1")), kEdsTextIndex,
     "SDO_Read", 1},
    {"SubIndex256", std::nullopt, sdoFile(sdoRow("0x2000", "256", "1")), kEdsTextSubIndex,
     "SDO_Read", 1},
    {"NByteThree", std::nullopt, sdoFile(sdoRow("0x2000", "1", "3")), kEdsTextNByte, "SDO_Read", 1},
    {"DuplicateWithinATable", std::nullopt,
     sdoFile(sdoRow("0x2000", "1", "1") + sdoRow("0x2001", "1", "1") + sdoRow("8192", "0x1", "2")),
     kEdsTextDuplicate, "SDO_Read", 3},
    {"DuplicateAcrossTables", std::nullopt,
     sdoFile(sdoRow("0x2000", "1", "1"), sdoRow("0x2001", "1", "1") + sdoRow("0x2000", "1", "4")),
     kEdsTextDuplicate, "SDO_Write", 2},
};

class EdsRefusal : public EdsTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(EdsRefusal, NamesFileTableAndRowAndLeavesTheTargetAsItWas)
{
    const RefusalCase& c = GetParam();
    const QString pdoPath = path(QStringLiteral("PDO_CANopen.xml"));
    const QString sdoPath = path(QStringLiteral("SDO_Server_CANopen.xml"));
    if (c.pdo) {
        ASSERT_TRUE(test::writeFile(pdoPath, *c.pdo));
    }
    if (c.sdo) {
        ASSERT_TRUE(test::writeFile(sdoPath, *c.sdo));
    }
    const QString target = path(QStringLiteral("device.eds"));
    ASSERT_TRUE(test::writeFile(target, "old contents"));

    const EdsResult r = Create_EDS_File(target, pdoPath, sdoPath, kClock, lang());
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.fault.text, c.text);
    EXPECT_EQ(r.fault.table, QLatin1String(c.table));
    EXPECT_EQ(r.fault.row, c.row);
    EXPECT_TRUE(r.bytes.isEmpty());
    const QString message = edsFaultMessage(r.fault, lang());
    EXPECT_TRUE(message.startsWith(lang().lang(c.text))) << message.toStdString();
    EXPECT_TRUE(message.contains(displayPath(c.pdo ? pdoPath : sdoPath))) << message.toStdString();
    if (c.row > 0) {
        EXPECT_TRUE(message.contains(lang().lang(kEdsTextRow) + QString::number(c.row)))
            << message.toStdString();
    }
    EXPECT_EQ(test::readFile(target), QByteArray("old contents"));
    EXPECT_EQ(QDir(root()).entryList(QDir::Files | QDir::Hidden).size(),
              1 + (c.pdo ? 1 : 0) + (c.sdo ? 1 : 0));
}

INSTANTIATE_TEST_SUITE_P(Files, EdsRefusal, ::testing::ValuesIn(kRefusals), test::CaseName());

TEST_F(EdsTest, ARefusedProjectWritesNoFile)
{
    const QString sdoPath = path(QStringLiteral("SDO_Server_CANopen.xml"));
    ASSERT_TRUE(
        test::writeFile(sdoPath, sdoFile(sdoRow("0x2000", "1", "1"), sdoRow("0x2000", "1", "1"))));
    const QString target = path(QStringLiteral("new.eds"));
    EXPECT_FALSE(
        Create_EDS_File(target, path(QStringLiteral("none.xml")), sdoPath, kClock, lang()).ok());
    EXPECT_FALSE(QFileInfo::exists(target));
}

TEST_F(EdsTest, AHundredThousandServerRowsGiveTheirObjectsInTheOrderFirstMet)
{
    QByteArray rows;
    for (int i = 0; i < 100000; ++i)
        rows += sdoRow(QByteArray::number(0x5FFF - i / 256).constData(),
                       QByteArray::number(i % 256).constData(), "2");
    const EdsResult r = build(std::nullopt, sdoFile(rows));
    ASSERT_TRUE(r.ok()) << edsFaultMessage(r.fault, lang()).toStdString();
    EXPECT_TRUE(r.bytes.contains("[ManufacturerObjects]\r\nSupportedObjects=391\r\n1=0x5FFF\r\n"));
    EXPECT_TRUE(r.bytes.contains("\r\n391=0x5E79\r\n"));
    EXPECT_TRUE(
        r.bytes.endsWith("[5E79sub9F]\r\nParameterName=Application Variable\r\n"
                         "ObjectType=0x7\r\nDataType=0x0006\r\nLowLimit=0x0000\r\n"
                         "HighLimit=0xFFFF\r\nDefaultValue=0x0000\r\nAccessType=ro\r\n"
                         "PDOMapping=0\r\n\r\n\r\n"));
}

// ---- the write -----------------------------------------------------------------------------

TEST_F(EdsTest, AFailedWriteReportsAndLeavesTheOldFile)
{
    const QString folder = path(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString target = folder + QStringLiteral("/device.eds");
    ASSERT_TRUE(test::writeFile(target, "old contents"));
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    const EdsResult r = Create_EDS_File(target, path(QStringLiteral("none.xml")),
                                        path(QStringLiteral("none2.xml")), kClock, lang());
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (QFileInfo(folder).isWritable() && r.ok())
        GTEST_SKIP() << "the folder stays writable (run as root)";
    EXPECT_EQ(r.fault.text, kEdsTextWriteFailed);
    EXPECT_TRUE(edsFaultMessage(r.fault, lang()).contains(displayPath(target)));
    EXPECT_EQ(test::readFile(target), QByteArray("old contents"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(EdsTest, AFolderInPlaceOfTheTargetIsReported)
{
    const QString target = path(QStringLiteral("device.eds"));
    ASSERT_TRUE(QDir().mkpath(target));
    const EdsResult r = Create_EDS_File(target, path(QStringLiteral("none.xml")),
                                        path(QStringLiteral("none2.xml")), kClock, lang());
    EXPECT_EQ(r.fault.text, kEdsTextWriteFailed);
    EXPECT_TRUE(QFileInfo(target).isDir());
}

TEST_F(EdsTest, WritingTwiceReplacesTheFile)
{
    const QString target = path(QStringLiteral("device.eds"));
    const QString pdoPath = path(QStringLiteral("PDO_CANopen.xml"));
    ASSERT_TRUE(
        Create_EDS_File(target, pdoPath, path(QStringLiteral("none.xml")), kClock, lang()).ok());
    ASSERT_TRUE(test::writeFile(pdoPath, pdoFile(2, 1)));
    ASSERT_TRUE(
        Create_EDS_File(target, pdoPath, path(QStringLiteral("none.xml")), kClock, lang()).ok());
    EXPECT_TRUE(test::readFile(target).contains("NrOfRXPDO=2\r\n"));
}

}  // namespace
}  // namespace zfw
