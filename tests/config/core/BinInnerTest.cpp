// The compiler called with its inputs only: a project folder or three paths in, two images
// (or a failure naming file, line and column) out, no program state read or written.

#include "config/core/UParGenData.h"
#include "config/core/USaveBincc.h"

#include "SaveBinSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstring>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace zfw {
namespace {

std::vector<std::string> goldenCaseNames()
{
    std::vector<std::string> names;
    for (const QString& d :
         QDir(test::bankDataDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        names.push_back(d.toStdString());
    return names;
}

// A snapshot of the program's work area, to show that the inner compiler leaves it alone.
QByteArray programImages()
{
    const BinImages& img = binImages();
    QByteArray out(reinterpret_cast<const char*>(img.Bank1_Buffer.data()), kBank1Size);
    out += QByteArray(reinterpret_cast<const char*>(img.Bank2_Buffer.data()), kBank2Size);
    out += QByteArray::number(img.Bank1_Length) + ' ' + QByteArray::number(img.Bank2_Length);
    return out;
}

class InnerGolden : public test::TempStateTest,
                    public ::testing::WithParamInterface<std::string> {};

// The golden folders are compiled where they lie, with a fresh program state that names no
// project: every input comes from the argument.
TEST_P(InnerGolden, CompilesTheFolderWithoutProgramState)
{
    const QString dir = test::bankDataDir() + QLatin1Char('/') + QString::fromStdString(GetParam());
    ASSERT_FALSE(programState().isProjectActive());
    const QByteArray before = programImages();

    const BinCompileResult r = compileBinProject(dir);
    ASSERT_TRUE(r.ok()) << r.result.message.toStdString();
    const QByteArray want1 = test::parseExpectedImage(dir + QStringLiteral("/bank1.expected"),
                                                      kBank1Size);
    const QByteArray want2 = test::parseExpectedImage(dir + QStringLiteral("/bank2.expected"),
                                                      kBank2Size);
    EXPECT_TRUE(r.bank1 == want1) << test::imageDiff(r.bank1, want1);
    EXPECT_TRUE(r.bank2 == want2) << test::imageDiff(r.bank2, want2);
    EXPECT_TRUE(programImages() == before);
    EXPECT_FALSE(programState().isProjectActive());

    // The inner save writes what the inner compiler made, into the folder it is given.
    const QString out = path(QStringLiteral("out"));
    ASSERT_TRUE(saveBinImages(out, r.bank1, r.bank2).ok);
    EXPECT_TRUE(test::readFile(out + QStringLiteral("/bin/bank1.bin")) == want1);
    EXPECT_TRUE(test::readFile(out + QStringLiteral("/bin/bank2.bin")) == want2);
}

INSTANTIATE_TEST_SUITE_P(Cases, InnerGolden, ::testing::ValuesIn(goldenCaseNames()),
                         [](const auto& info) { return info.param; });

class InnerCompile : public test::TempStateTest {
protected:
    void put(const char* name, const QByteArray& bytes)
    {
        ASSERT_TRUE(test::writeFile(path(QLatin1String(name)), bytes));
    }
    BinCompileResult compile() const { return compileBinProject(root()); }
};

TEST_F(InnerCompile, MalformedFileIsNamedWithLineAndColumn)
{
    put("S7_Protocol.xml", "<S7_Protocol>\n  <S7_Protocol_Read>\n  </S7_Protocol_Write>\n");
    const BinCompileResult r = compile();
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.bank1.isEmpty());
    EXPECT_TRUE(r.bank2.isEmpty());
    const std::string m = r.result.message.toStdString();
    EXPECT_NE(m.find("S7_Protocol.xml"), std::string::npos) << m;
    EXPECT_NE(m.find("line 3, column"), std::string::npos) << m;
}

TEST_F(InnerCompile, SaveRefusesImagesOfTheWrongSize)
{
    const FileResult r = saveBinImages(root(), QByteArray(kBank1Size, 0), QByteArray(10, 0));
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(QDir(root()).exists(QStringLiteral("bin/bank1.bin")));
    EXPECT_FALSE(saveBinImages(QString(), QByteArray(kBank1Size, 0), QByteArray(kBank2Size, 0)).ok);
}

// A carriage return typed into the device name reaches the image as byte 0x0D after the
// general parameters are saved and read back.
TEST_F(InnerCompile, CarriageReturnSurvivesSaveReadAndCompile)
{
    ParGenValues values = parGenNoFileValues();
    values[PG::Eth_Conn_Device_Name] = QStringLiteral(" A\rB\t ");
    ASSERT_TRUE(saveParGenValues(path(QStringLiteral("ParGen.xml")), values).ok);
    const ParGenLoad back = loadParGenValues(path(QStringLiteral("ParGen.xml")));
    ASSERT_TRUE(back.ok()) << back.message.toStdString();
    EXPECT_EQ(back.values[PG::Eth_Conn_Device_Name], values[PG::Eth_Conn_Device_Name]);

    const BinCompileResult r = compile();
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.bank1.mid(TPar_Gen_Bank::kDeviceName, 7).toHex(' '),
              QByteArray("20 41 0d 42 09 20 00"));
}

TEST_F(InnerCompile, ParGenLoadNamesTheFaultAndShowsNoFileValues)
{
    put("ParGen.xml", "<Par_Gen>\n<LoRa_RF_Band>EU868</LoRa_RF_Band>\n<x>\n</Par_Gen>");
    const ParGenLoad load = loadParGenValues(path(QStringLiteral("ParGen.xml")));
    EXPECT_EQ(load.status, ProjectXmlLoad::Status::Malformed);
    EXPECT_TRUE(load.message.contains(QLatin1String("ParGen.xml")));
    EXPECT_TRUE(load.message.contains(QLatin1String("line 4")));
    EXPECT_TRUE(load.values == parGenNoFileValues());

    const ParGenLoad missing = loadParGenValues(path(QStringLiteral("none.xml")));
    EXPECT_TRUE(missing.missing());
    EXPECT_TRUE(missing.values == parGenNoFileValues());
}

// ---- Numbers at the ends of their range ----------------------------------------------------

enum class Source { S7, LoRa, ParGen };

struct Field {
    const char* name;  // attribute (rule files) or element (ParGen.xml)
    Source source;
    bool bank2;
    int offset;        // in the image
    int width;         // bytes
    quint32 fallback;  // value when the text is no integer
};

// The numeric fields of the three files where the images put them: the first read rule, the
// first uplink rule, the general parameters.
constexpr Field kFields[] = {
    {"PLC_Port", Source::S7, true, 8192 + 12, 2, 0},
    {"DB_Number", Source::S7, true, 8192 + 10, 2, 0},
    {"PLC_Add", Source::S7, true, 8192 + 8, 2, 0},
    {"PLC_Bit", Source::S7, true, 8192 + 24, 1, 0},
    {"PollTime", Source::S7, true, 8192 + 4, 4, 1000},
    {"Position", Source::S7, true, 8192 + 14, 2, 0},
    {"Bit", Source::S7, true, 8192 + 18, 1, 0},
    {"Slot", Source::S7, true, 8192 + 26, 1, 0},  // with rack 0
    {"StartByte", Source::LoRa, true, 1024 + 0, 2, 0},
    {"NumByte", Source::LoRa, true, 1024 + 2, 2, 0},
    {"FPort", Source::LoRa, true, 1024 + 5, 1, 2},
    {"Time", Source::LoRa, true, 1024 + 8, 4, 30},
    {"LoRa_Adaptive_DataRate", Source::ParGen, true, 64, 1, 0},
    {"LoRa_Payload_Size", Source::ParGen, true, 66, 1, 1},
    {"LoRa_Transmit_Interval", Source::ParGen, true, 68, 4, 1},
    {"LoRa_Frequency_SubBand", Source::ParGen, true, 84, 1, 1},
    {"LoRa_LNCHECK", Source::ParGen, true, 85, 1, 5},
    {"S7_Protocol_IP1", Source::ParGen, false, 40, 1, 192},
    {"S7_Protocol_SM4", Source::ParGen, false, 47, 1, 0},
    {"S7_Protocol_GAT4", Source::ParGen, false, 51, 1, 1},
    {"Eth_Conn_Primary_DNS1", Source::ParGen, false, 1420, 1, 8},
    {"Eth_Conn_Secondary_DNS4", Source::ParGen, false, 1343, 1, 4},
};

struct Extreme {
    const char* label;
    const char* text;
    std::optional<quint32> bits;  // the 32-bit pattern of the integer; nullopt: no integer
};

const Extreme kExtremes[] = {
    {"IntMax", "2147483647", 0x7FFFFFFFu},
    {"IntMin", "-2147483648", 0x80000000u},
    {"IntMaxPlusOne", "2147483648", std::nullopt},
    {"IntMinMinusOne", "-2147483649", std::nullopt},
    {"UnsignedMax", "4294967295", std::nullopt},
    {"HexAllOnes", "0xFFFFFFFF", 0xFFFFFFFFu},
    {"DollarHexTopBit", "$80000000", 0x80000000u},
    {"HexNineDigits", "0x100000000", std::nullopt},
    {"MinusOne", "-1", 0xFFFFFFFFu},
    {"NegativeHex", "-0x1", 0xFFFFFFFFu},
    {"TwentyDigits", "99999999999999999999", std::nullopt},
    {"Empty", "", std::nullopt},
};

struct ExtremeCase {
    std::string name;
    Field field;
    Extreme extreme;
};

void PrintTo(const ExtremeCase& c, std::ostream* os) { *os << c.name; }

std::vector<ExtremeCase> extremeCases()
{
    std::vector<ExtremeCase> cases;
    for (const Field& f : kFields)
        for (const Extreme& e : kExtremes)
            cases.push_back({std::string(f.name) + "_" + e.label, f, e});
    return cases;
}

class InnerExtreme : public InnerCompile, public ::testing::WithParamInterface<ExtremeCase> {};

// The field holds the low bits of the integer the text gives, or its default when the text is
// no integer; never undefined behaviour on the way (the sanitizer build runs this table).
TEST_P(InnerExtreme, FieldHoldsTheLowBitsOrItsDefault)
{
    const Field& f = GetParam().field;
    const Extreme& e = GetParam().extreme;
    const QByteArray cell = QByteArray(f.name) + "=\"" + e.text + "\"";
    // FPort counts only with the variable FPort mode; DNS and gateway only when enabled.
    QByteArray parGen =
        "<Par_Gen><LoRa_FPort>Variable</LoRa_FPort>"
        "<Eth_Conn_Enable_DNS>1</Eth_Conn_Enable_DNS>"
        "<S7_Protocol_EN_GAT>1</S7_Protocol_EN_GAT>";
    if (f.source == Source::ParGen)
        parGen += QByteArray("<") + f.name + ">" + e.text + "</" + f.name + ">";
    put("ParGen.xml", parGen + "</Par_Gen>");
    if (f.source == Source::S7)
        put("S7_Protocol.xml", "<S7_Protocol><S7_Protocol_Read><row Enable=\"Y\" " + cell
                                   + "/></S7_Protocol_Read><S7_Protocol_Write/></S7_Protocol>");
    if (f.source == Source::LoRa)
        put("LoRaWAN_SetAccess.xml", "<LoRaWAN_Set_Access><LoRaWAN_Uplink><row " + cell
                                         + "/></LoRaWAN_Uplink><LoRaWAN_Downlink/>"
                                           "</LoRaWAN_Set_Access>");

    const BinCompileResult r = compile();
    ASSERT_TRUE(r.ok()) << r.result.message.toStdString();
    const quint32 value = e.bits.value_or(f.fallback);
    const QByteArray& image = f.bank2 ? r.bank2 : r.bank1;
    for (int i = 0; i < f.width; ++i)
        EXPECT_EQ(quint8(image[f.offset + i]), quint8(value >> (8 * i))) << "byte " << i;
}

INSTANTIATE_TEST_SUITE_P(Fields, InnerExtreme, ::testing::ValuesIn(extremeCases()),
                         [](const auto& info) { return info.param.name; });

struct RackSlotCase {
    const char* name;
    const char* rack;  // null: no attribute
    const char* slot;
    quint8 expected;  // low 8 bits of rack * 32 + slot
};

void PrintTo(const RackSlotCase& c, std::ostream* os) { *os << c.name; }

const RackSlotCase kRackSlotCases[] = {
    {"Rack3Slot31", "3", "31", 127},
    {"Rack8Slot0", "8", "0", 0},
    {"NoRack", nullptr, "7", 7},
    {"HexSlot", "1", "0x1F", 63},
    {"IntMaxRack", "2147483647", "0", 0xE0},
    {"IntMaxBoth", "2147483647", "2147483647", 0xDF},
    {"IntMinRackMinusOneSlot", "-2147483648", "-1", 0xFF},
    {"HexAllOnesRack", "0xFFFFFFFF", "0", 0xE0},
    {"RackPastIntMaxIsZero", "2147483648", "5", 5},
    {"BothMinusOne", "-1", "-1", 0xDF},
};

class InnerRackSlot : public InnerCompile, public ::testing::WithParamInterface<RackSlotCase> {};

TEST_P(InnerRackSlot, ByteIsTheLowBitsOfRackTimes32PlusSlot)
{
    const RackSlotCase& c = GetParam();
    QByteArray row = "<row Enable=\"Y\" Slot=\"" + QByteArray(c.slot) + "\"";
    if (c.rack)
        row += " Rack=\"" + QByteArray(c.rack) + "\"";
    put("S7_Protocol.xml", "<S7_Protocol><S7_Protocol_Read/><S7_Protocol_Write>" + row
                               + "/></S7_Protocol_Write></S7_Protocol>");
    const BinCompileResult r = compile();
    ASSERT_TRUE(r.ok()) << r.result.message.toStdString();
    EXPECT_EQ(quint8(r.bank2[8192 + 26]), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, InnerRackSlot, ::testing::ValuesIn(kRackSlotCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zfw
