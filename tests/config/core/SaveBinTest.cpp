#include "config/core/USaveBincc.h"
#include "support/Files.h"

#include "SaveBinSupport.h"

#include <QDir>
#include <QFileInfo>

#include <ostream>

namespace zfw {
namespace {

using test::BankProjectTest;

QByteArray rows(const char* table, int count, const char* attributes)
{
    QByteArray out = QByteArray("<") + table + ">";
    for (int i = 0; i < count; ++i)
        out += QByteArray("<row ") + attributes + " StartByte=\"" + QByteArray::number(i)
               + "\" PLC_Add=\"" + QByteArray::number(i) + "\"/>";
    return out + "</" + table + ">";
}

// A rule file with count1 and count2 enabled rows in its two tables.
QByteArray ruleFile(const char* root, const char* table1, int count1, const char* table2,
                    int count2)
{
    return QByteArray("<") + root + ">" + rows(table1, count1, "Enable=\"Y\"")
           + rows(table2, count2, "Enable=\"Y\"") + "</" + root + ">";
}

QByteArray loRaFile(int uplinks, int downlinks)
{
    return ruleFile("LoRaWAN_Set_Access", "LoRaWAN_Uplink", uplinks, "LoRaWAN_Downlink", downlinks);
}

QByteArray s7File(int reads, int writes)
{
    return ruleFile("S7_Protocol", "S7_Protocol_Read", reads, "S7_Protocol_Write", writes);
}

// ---- Files that stop the compilation ------------------------------------------------------

struct FailCase {
    const char* name;
    const char* file;
    QByteArray (*content)();
    const char* messagePart;  // besides the file name
};

void PrintTo(const FailCase& c, std::ostream* os) { *os << c.name; }

const FailCase kFailCases[] = {
    {"S7WithoutReadTable", "S7_Protocol.xml",
     [] { return QByteArray("<S7_Protocol><S7_Protocol_Write/></S7_Protocol>"); },
     "S7_Protocol_Read"},
    {"S7WithoutWriteTable", "S7_Protocol.xml",
     [] { return QByteArray("<S7_Protocol><S7_Protocol_Read/></S7_Protocol>"); },
     "S7_Protocol_Write"},
    {"LoRaWithoutUplinkTable", "LoRaWAN_SetAccess.xml",
     [] { return QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Downlink/></LoRaWAN_Set_Access>"); },
     "LoRaWAN_Uplink"},
    {"LoRaWithoutDownlinkTable", "LoRaWAN_SetAccess.xml",
     [] { return QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Uplink/></LoRaWAN_Set_Access>"); },
     "LoRaWAN_Downlink"},
    {"ParGenNotXml", "ParGen.xml", [] { return QByteArray("<Par_Gen><LoRa_FPort>"); }, "line"},
    {"S7EmptyFile", "S7_Protocol.xml", [] { return QByteArray(); }, "XML"},
    {"LoRaTagMismatch", "LoRaWAN_SetAccess.xml",
     [] { return QByteArray("<LoRaWAN_Set_Access>\n<LoRaWAN_Uplink></LoRaWAN_Downlink>"); },
     "line 2"},
    {"TooManyUplinkRules", "LoRaWAN_SetAccess.xml", [] { return loRaFile(257, 0); },
     "LoRaWAN_Uplink"},
    {"TooManyDownlinkRules", "LoRaWAN_SetAccess.xml", [] { return loRaFile(0, 257); },
     "LoRaWAN_Downlink"},
    {"TooManyS7Rules", "S7_Protocol.xml", [] { return s7File(600, 425); }, "1024"},
};

class BankFailure : public BankProjectTest, public ::testing::WithParamInterface<FailCase> {};

TEST_P(BankFailure, StopsWithTheFileNamedAndWritesNothing)
{
    const FailCase& c = GetParam();
    // Images of an earlier update stay as they were.
    ASSERT_TRUE(Compile_Bin().ok);
    ASSERT_TRUE(Save_Bin_Files().ok);
    const QByteArray old1 = test::readFile(binFile(QStringLiteral("bank1.bin")));

    writeProjectFile(QLatin1String(c.file), c.content());
    const FileResult r = Compile_Bin();
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QLatin1String(c.file))) << r.message.toStdString();
    EXPECT_TRUE(r.message.contains(QLatin1String(c.messagePart))) << r.message.toStdString();

    const FileResult saved = Save_Bin_Files();
    EXPECT_FALSE(saved.ok);
    EXPECT_FALSE(saved.message.isEmpty());
    EXPECT_TRUE(test::readFile(binFile(QStringLiteral("bank1.bin"))) == old1);
}

INSTANTIATE_TEST_SUITE_P(Files, BankFailure, ::testing::ValuesIn(kFailCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Capacity -----------------------------------------------------------------------------

TEST_F(BankProjectTest, FullTablesFitExactly)
{
    writeProjectFile(QStringLiteral("LoRaWAN_SetAccess.xml"), loRaFile(256, 256));
    writeProjectFile(QStringLiteral("S7_Protocol.xml"), s7File(512, 512));
    const FileResult r = Compile_Bin();
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    ASSERT_TRUE(Save_Bin_Files().ok);
    const QByteArray bank1 = test::readFile(binFile(QStringLiteral("bank1.bin")));
    const QByteArray bank2 = test::readFile(binFile(QStringLiteral("bank2.bin")));
    ASSERT_EQ(bank1.size(), 2048);
    ASSERT_EQ(bank2.size(), 36864);
    EXPECT_EQ(bank1.mid(1624, 4).toHex(), QByteArray("00040000"));  // 1024 rules
    EXPECT_EQ(bank2.mid(80, 4).toHex(), QByteArray("00010001"));    // 256 and 256
    // Last uplink record (StartByte 255) ends where the downlink table starts.
    EXPECT_EQ(bank2.mid(1024 + 255 * 12, 2).toHex(), QByteArray("ff00"));
    EXPECT_EQ(bank2.mid(4096 + 255 * 12, 2).toHex(), QByteArray("ff00"));
    EXPECT_EQ(bank2.mid(7168, 1024), QByteArray(1024, '\0'));
    // Last S7 record: write rule 511, PLC_Add 511, flags 0x20.
    EXPECT_EQ(bank2.mid(8192 + 1023 * 28 + 8, 2).toHex(), QByteArray("ff01"));
    EXPECT_EQ(quint8(bank2[8192 + 1023 * 28 + 23]), 0x20);
}

// ---- Writing ------------------------------------------------------------------------------

TEST_F(BankProjectTest, BinFolderIsCreatedWhenMissing)
{
    ASSERT_FALSE(QFileInfo::exists(binFile(QString())));
    ASSERT_TRUE(Compile_Bin().ok);
    const FileResult r = Save_Bin_Files();
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(QFileInfo(binFile(QStringLiteral("bank1.bin"))).size(), 2048);
    EXPECT_EQ(QFileInfo(binFile(QStringLiteral("bank2.bin"))).size(), 36864);
}

// Tests run as root, so a read-only folder would not stop the write: a file named "bin"
// makes the folder impossible to create.
TEST_F(BankProjectTest, BinThatIsAFileIsReportedAndNothingIsWritten)
{
    writeProjectFile(QStringLiteral("bin"), "not a folder");
    ASSERT_TRUE(Compile_Bin().ok);
    const FileResult r = Save_Bin_Files();
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("bin"))) << r.message.toStdString();
    EXPECT_EQ(test::readFile(projectFile(QStringLiteral("bin"))), QByteArray("not a folder"));
    const QStringList left = QDir(programState().Dir_Project).entryList(QDir::Files);
    EXPECT_EQ(left, QStringList{QStringLiteral("bin")});
}

// A failure on the second image must not leave a new bank1.bin beside an old bank2.bin.
TEST_F(BankProjectTest, FailureOnBank2KeepsTheOldBank1)
{
    ASSERT_TRUE(QDir(programState().Dir_Project).mkpath(QStringLiteral("bin/bank2.bin")));
    ASSERT_TRUE(test::writeFile(binFile(QStringLiteral("bank1.bin")), "old"));
    ASSERT_TRUE(Compile_Bin().ok);
    const FileResult r = Save_Bin_Files();
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("bank2.bin"))) << r.message.toStdString();
    EXPECT_EQ(test::readFile(binFile(QStringLiteral("bank1.bin"))), QByteArray("old"));
    EXPECT_EQ(
        QDir(joinPath(programState().Dir_Project, QStringLiteral("bin"))).entryList(QDir::Files),
        QStringList{QStringLiteral("bank1.bin")});
}

TEST_F(BankProjectTest, NoActiveProjectIsRefused)
{
    programState().Dir_Project.clear();
    Set_Files(programState());
    EXPECT_FALSE(Compile_Bin().ok);
    EXPECT_FALSE(Save_Bin_Files().ok);
}

// ---- Values -------------------------------------------------------------------------------

struct DataRateCase {
    const char* name;
    const char* element;  // the LoRa_DataRate element, or nothing
    int expected;
};

void PrintTo(const DataRateCase& c, std::ostream* os) { *os << c.name; }

const DataRateCase kDataRateCases[] = {
    {"TwoDigits", "<LoRa_DataRate>10 - LoRa: SF10/500kHz 3900 [bit/s]</LoRa_DataRate>", 10},
    {"TabBeforeDash", "<LoRa_DataRate>5\t- LoRa: SF7/125kHz 5470 [bit/s]</LoRa_DataRate>", 5},
    {"TabAfterDash", "<LoRa_DataRate>0 -\tLoRa: SF12/125kHz 250 [bit/s]</LoRa_DataRate>", 0},
    {"BlanksAround", "<LoRa_DataRate>  7  - FSK</LoRa_DataRate>", 7},
    {"NoDash", "<LoRa_DataRate>7</LoRa_DataRate>", 0},
    {"NotANumber", "<LoRa_DataRate>fast - LoRa</LoRa_DataRate>", 0},
    {"MissingWithFile", "", 0},
};

class BankDataRate : public BankProjectTest, public ::testing::WithParamInterface<DataRateCase> {};

TEST_P(BankDataRate, IsTheNumberBeforeTheFirstDash)
{
    writeProjectFile(QStringLiteral("ParGen.xml"),
                     QByteArray("<Par_Gen>") + GetParam().element + "</Par_Gen>");
    ASSERT_TRUE(Compile_Bin().ok);
    EXPECT_EQ(binImages().Bank2_Buffer[3], GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, BankDataRate, ::testing::ValuesIn(kDataRateCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct DeviceNameCase {
    const char* name;
    const char* element;  // the Eth_Conn_Device_Name element (UTF-8), or nothing
    const char* bytes;    // bank1 bytes 1300 on, in hex; the rest of the 32 bytes is zero
};

void PrintTo(const DeviceNameCase& c, std::ostream* os) { *os << c.name; }

const DeviceNameCase kDeviceNameCases[] = {
    {"Plain", "<Eth_Conn_Device_Name>GW1</Eth_Conn_Device_Name>", "475731"},
    {"BlanksKept", "<Eth_Conn_Device_Name> GW </Eth_Conn_Device_Name>", "20475720"},
    {"BlanksOnly", "<Eth_Conn_Device_Name>   </Eth_Conn_Device_Name>", "202020"},
    {"AccentIsItsLatin1Byte", "<Eth_Conn_Device_Name>\xC3\xA9</Eth_Conn_Device_Name>", "e9"},
    {"Empty", "<Eth_Conn_Device_Name></Eth_Conn_Device_Name>", ""},
    {"Missing", "", ""},
};

class BankDeviceName : public BankProjectTest,
                       public ::testing::WithParamInterface<DeviceNameCase> {};

TEST_P(BankDeviceName, IsStoredAsItStands)
{
    writeProjectFile(QStringLiteral("ParGen.xml"),
                     QByteArray("<Par_Gen>") + GetParam().element + "</Par_Gen>");
    ASSERT_TRUE(Compile_Bin().ok);
    const QByteArray field(reinterpret_cast<const char*>(binImages().Bank1_Buffer.data()) + 1300,
                           32);
    QByteArray expected = QByteArray::fromHex(GetParam().bytes);
    expected.append(32 - expected.size(), '\0');
    EXPECT_EQ(field.toHex(' '), expected.toHex(' '));
}

INSTANTIATE_TEST_SUITE_P(Texts, BankDeviceName, ::testing::ValuesIn(kDeviceNameCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Which rows are rules: the LoRaWAN compiler is lenient (trimmed, any case, or no attribute),
// the S7 compiler takes exactly "Y" only.
struct EnableCase {
    const char* name;
    const char* attribute;  // the Enable attribute as written, or nothing
    bool loRaTaken;
    bool s7Taken;
};

void PrintTo(const EnableCase& c, std::ostream* os) { *os << c.name; }

const EnableCase kEnableCases[] = {
    {"UpperY", "Enable=\"Y\"", true, true},
    {"LowerY", "Enable=\"y\"", true, false},
    {"BlankBeforeY", "Enable=\" Y\"", true, false},
    {"BlanksAroundLowerY", "Enable=\" y \"", true, false},
    {"Missing", "", true, false},
    {"N", "Enable=\"N\"", false, false},
    {"Empty", "Enable=\"\"", false, false},
    {"Yes", "Enable=\"YES\"", false, false},
};

class BankEnable : public BankProjectTest, public ::testing::WithParamInterface<EnableCase> {};

TEST_P(BankEnable, RowIsTakenOnlyWhenEnabled)
{
    const EnableCase& c = GetParam();
    const QByteArray row = QByteArray("<row ") + c.attribute + " StartByte=\"7\" PLC_Add=\"7\"/>";
    const QByteArray enabled = "<row Enable=\"Y\" StartByte=\"9\" PLC_Add=\"9\"/>";
    writeProjectFile(QStringLiteral("LoRaWAN_SetAccess.xml"),
                     "<LoRaWAN_Set_Access><LoRaWAN_Uplink>" + row + enabled
                         + "</LoRaWAN_Uplink><LoRaWAN_Downlink>" + row + enabled
                         + "</LoRaWAN_Downlink></LoRaWAN_Set_Access>");
    writeProjectFile(QStringLiteral("S7_Protocol.xml"),
                     "<S7_Protocol><S7_Protocol_Read>" + row + enabled
                         + "</S7_Protocol_Read><S7_Protocol_Write>" + row
                         + "</S7_Protocol_Write></S7_Protocol>");
    ASSERT_TRUE(Compile_Bin().ok);
    const BinImages& img = binImages();
    const quint16 loRaCount = c.loRaTaken ? 2 : 1;
    EXPECT_EQ(img.LoRa_Bank.uplinkCount, loRaCount);
    EXPECT_EQ(img.LoRa_Bank.downlinkCount, loRaCount);
    EXPECT_EQ(img.LoRa_Uplink_Rules[0].startByte, c.loRaTaken ? 7 : 9);
    EXPECT_EQ(img.LoRa_Downlink_Rules[0].startByte, c.loRaTaken ? 7 : 9);
    const int s7Count = c.s7Taken ? 3 : 1;  // the row in both tables, plus the enabled read row
    EXPECT_EQ(img.Par_Gen_Bank.u32(TPar_Gen_Bank::kS7RuleCount), quint32(s7Count));
    EXPECT_EQ(img.S7_Rules[0].plcAdd, c.s7Taken ? 7 : 9);
    if (c.s7Taken) {
        EXPECT_EQ(img.S7_Rules[2].flags, TS7_Rule::kWriteRule);
    }
}

INSTANTIATE_TEST_SUITE_P(Attributes, BankEnable, ::testing::ValuesIn(kEnableCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct HexKeyCase {
    const char* name;
    const char* text;
    const char* devAddr;  // the four bytes in hex
};

void PrintTo(const HexKeyCase& c, std::ostream* os) { *os << c.name; }

const HexKeyCase kHexKeyCases[] = {
    {"Full", "260B1A2F", "260b1a2f"},
    {"LowerCase", "260b1a2f", "260b1a2f"},
    {"TwoDigitsPaddedLeft", "1A", "0000001a"},
    {"OddLength", "123", "00000123"},
    {"Empty", "", "00000000"},
    {"NonHexPairIsZero", "G1234567", "00234567"},
    {"BlankInPairIsZero", " 1234567", "00234567"},
    {"LongerTextStopsAtTheField", "0102030405", "01020304"},
};

class BankHexKey : public ::testing::TestWithParam<HexKeyCase> {};

TEST_P(BankHexKey, BytesInWrittenOrder)
{
    TLoRa_Bank bank;
    Set_LoRa_DevAddr(bank, QString::fromLatin1(GetParam().text));
    const auto& f = bank.devAddr;
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(f.data()), 4).toHex(),
              QByteArray(GetParam().devAddr));
}

INSTANTIATE_TEST_SUITE_P(Texts, BankHexKey, ::testing::ValuesIn(kHexKeyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BankCodes, S7CodeTablesMatchExactTextsOnly)
{
    EXPECT_EQ(Get_S7_PLC_Type(QStringLiteral("S71500")), 40);
    EXPECT_EQ(Get_S7_PLC_Type(QStringLiteral("Logo0BA8")), 1);
    EXPECT_EQ(Get_S7_PLC_Type(QStringLiteral("s71500")), 0);
    EXPECT_EQ(Get_S7_Data_Type(QStringLiteral("Bit")), 1);
    EXPECT_EQ(Get_S7_Data_Type(QStringLiteral("Int")), 5);
    EXPECT_EQ(Get_S7_Data_Type(QStringLiteral("DWord")), 6);
    EXPECT_EQ(Get_S7_Data_Type(QStringLiteral("dword")), 1);
    EXPECT_EQ(Get_S7_Data_Identifier(QStringLiteral("FC")), 12);
    EXPECT_EQ(Get_S7_Data_Identifier(QStringLiteral("SFC")), 13);
    EXPECT_EQ(Get_S7_Data_Identifier(QStringLiteral(" DB")), 8);
    EXPECT_EQ(Get_S7_PLC_Area(QStringLiteral("Inputs (I)")), 0x81);
    EXPECT_EQ(Get_S7_PLC_Area(QStringLiteral("Inputs (i)")), 0x80);
    EXPECT_EQ(Get_LoRa_Region_Code(QStringLiteral("as923")), 0);
    EXPECT_EQ(Get_LoRa_Region_Code(QStringLiteral("AU915")), 1);
    EXPECT_EQ(Get_LoRa_Region_Code(QStringLiteral("KR920")), 6);
    EXPECT_EQ(Get_LoRa_Region_Code(QStringLiteral("in865")), 7);
    EXPECT_EQ(Get_LoRa_Region_Code(QStringLiteral("US915 ")), 8);
    EXPECT_EQ(Get_LoRa_Region_Code(QStringLiteral("EU433")), 0);
}

TEST_F(BankProjectTest, ReadAndWriteRuleWithTheSameCellsDifferOnlyInFlags)
{
    const QByteArray cells =
        "Enable=\"Y\" PLC_Address=\"10.0.0.9\" PLC_Port=\"102\" PLC_Type=\"S7300\" Rack=\"0\" "
        "Slot=\"2\" Data_Type=\"Int\" Data_Identifier=\"DB\" DB_Number=\"3\" "
        "PLC_Area=\"Flags (M) (Merker)\" PLC_Add=\"6\" PLC_Bit=\"1\" PollTime=\"200\" "
        "OnChange=\"Y\" OnCMD=\"Y\" Position=\"9\" Bit=\"4\" Swap=\"Y\" SwapWord=\"N\"";
    writeProjectFile(QStringLiteral("S7_Protocol.xml"),
                     "<S7_Protocol><S7_Protocol_Read><row " + cells
                         + "/></S7_Protocol_Read><S7_Protocol_Write><row " + cells
                         + "/></S7_Protocol_Write></S7_Protocol>");
    ASSERT_TRUE(Compile_Bin().ok);
    const auto& b2 = binImages().Bank2_Buffer;
    QByteArray read(reinterpret_cast<const char*>(b2.data()) + 8192, 28);
    QByteArray write(reinterpret_cast<const char*>(b2.data()) + 8192 + 28, 28);
    EXPECT_EQ(quint8(read[23]), 0x04);   // Swap; OnChange and OnCMD ignored for reads
    EXPECT_EQ(quint8(write[23]), 0x35);  // write rule + OnChange + OnCMD + Swap
    read[23] = write[23] = 0;
    EXPECT_EQ(read.toHex(), write.toHex());
}

TEST(BankChecksum, SumsBytes0To2043Only)
{
    TPar_Gen_Bank b;
    b.bytes[0] = 1;
    b.bytes[2043] = 250;
    b.setU32(TPar_Gen_Bank::kChecksum, 0xFFFFFFFF);
    EXPECT_EQ(b.checksum(), 251u);
    b.bytes[1000] += 7;
    EXPECT_EQ(b.checksum(), 258u);
    b.bytes.fill(0xFF);
    EXPECT_EQ(b.checksum(), 2044u * 255u);
}

}  // namespace
}  // namespace zfw
