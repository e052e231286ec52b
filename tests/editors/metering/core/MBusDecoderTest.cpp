#include "editors/metering/core/MBusDecoder.h"

#include "MBusTestBytes.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace zfw {
namespace {

using test::Bytes;
using test::hexBytes;

struct Decoded {
    std::vector<TVariable_MBus> records;
    bool complete = true;
    std::optional<ParseFault> fault;
};

Decoded decode(const Bytes& data, TMBusType type = TMBusType::mtWired, QChar sep = u'.')
{
    TMBusDecoder decoder(sep, type);
    Decoded d;
    d.complete = decoder.Decode_Data_Records(d.records, data);
    d.fault = decoder.lastFault();
    return d;
}

// Records and what their first kept record holds; a null text or -1 is not checked.
struct RecordCase {
    std::string name;
    const char* bytes;
    std::size_t count = 1;
    bool complete = true;
    const char* desc = nullptr;
    const char* value = nullptr;
    int group = -1;
    int code = -1;
    const char* dataField = nullptr;
    int nbyte = -1;
    qint64 storage = -1;
    qint64 tariff = -1;
    int subunit = -1;
    const char* dife = nullptr;
    const char* vife = nullptr;
    TMBusType type = TMBusType::mtWired;
};

void PrintTo(const RecordCase& c, std::ostream* os) { *os << c.name; }

RecordCase rc(std::string name, const char* bytes)
{
    RecordCase c;
    c.name = std::move(name);
    c.bytes = bytes;
    return c;
}

RecordCase with(RecordCase c, const char* desc, const char* value, int group = -1, int code = -1)
{
    c.desc = desc;
    c.value = value;
    c.group = group;
    c.code = code;
    return c;
}

const RecordCase kRecordCases[] = {
    [] {
        RecordCase c = with(rc("volume", "04 13 40 E2 01 00"), "Volume m3", "123.456", 2, 0);
        c.dataField = "32 Bit Integer";
        c.nbyte = 4;
        c.storage = 0;
        return c;
    }(),
    [] {
        RecordCase c = rc("difeTariff", "84 10 13 40 E2 01 00");
        c.storage = 0;
        c.tariff = 1;
        c.subunit = 0;
        c.dife = "$10 ";
        c.dataField = "32 Bit Integer";
        c.nbyte = 4;
        return c;
    }(),
    [] {
        RecordCase c = rc("storageBitAlone", "44 13 40 E2 01 00");
        c.storage = 1;
        return c;
    }(),
    [] {
        RecordCase c = rc("storageBitWithDife", "C4 01 13 40 E2 01 00");
        c.storage = 3;
        return c;
    }(),
    [] {
        RecordCase c = rc("twoDifes", "C4 D5 63 13 01 00 00 00");
        c.storage = 1 + 5 * 2 + 3 * 32;
        c.tariff = 1 + 2 * 4;
        c.subunit = 3;
        c.dife = "$D5 $63 ";
        return c;
    }(),
    [] {
        RecordCase c = with(rc("bcdNegative", "0B 78 12 34 F5"), "Fabrication No", "-53412", 23);
        c.dataField = "6 Digit BCD";
        return c;
    }(),
    with(rc("bcdNibbleAboveNine", "09 78 1A"), "Fabrication No", "20"),
    with(rc("typeF", "04 6D 1E 0C 81 2C"), "Time Point Date and Time (Type F)", "01/12/20 12:30",
         20),
    with(rc("typeG", "02 6C 81 2C"), "Time Point Date (Type G)", "01/12/20", 20),
    with(rc("typeJ", "03 6D 05 1E 0C"), "Time Point Extended Time Point (Type J)", "12:30:05", 20),
    with(rc("typeI", "06 6D 05 1E 6C 81 2C 00"), "Time Point Extended Date and Time Point (Type I)",
         "Wednesday 01/12/20 12:30:05", 20),
    with(rc("timePointOtherCoding", "01 6D 07"), "", "7", 20),
    with(rc("extensionFD", "01 FD 17 05"), "Error Flag (Binary)", "5", 19, 18),
    [] {
        RecordCase c = with(rc("forwardFlow", "04 93 3B 40 E2 01 00"),
                            "Volume m3 - Accumulation Only if Positive Contributions (Forward "
                            "Flow Contribution)",
                            "123.456", 2, 95);
        c.vife = "$3B ";
        return c;
    }(),
    with(rc("reservedVife", "01 93 08 05"), "Volume m3 - Reserved", "0.005", 2, 0),
    [] {
        RecordCase c = with(rc("asciiHasNoValue", "0D 13 02 41 42"), "Volume m3", "0");
        c.dataField = "Variable Length - ASCII String with 2characters";
        c.nbyte = 2;
        return c;
    }(),
    [] {
        RecordCase c = with(rc("lvarReservedKeptEmpty", "0D 13 FB"), "Volume m3", "0");
        c.dataField = "Variable Length - Reserved";
        c.nbyte = 0;
        return c;
    }(),
    [] {
        RecordCase c = with(rc("lvarPositiveBcd", "0D 13 C3 56 34 12"), "Volume m3", "123.456");
        c.dataField = "Variable Length - Positive BCD Number with 6 digits";
        c.nbyte = 3;
        return c;
    }(),
    [] {
        RecordCase c = with(rc("lvarNegativeBcd", "0D 78 D2 34 12"), "Fabrication No", "-1234");
        c.dataField = "Variable Length - Negative BCD Number with 4 digits";
        return c;
    }(),
    [] {
        RecordCase c = rc("lvarBinary", "0D 78 E3 01 02 03");
        c.dataField = "Variable Length - Binary Number with 3 Bytes";
        c.value = "0";
        return c;
    }(),
    [] {
        RecordCase c = rc("lvarFloat", "0D 78 F4 01 02 03 04");
        c.dataField = "Variable Length - Floating Point Number with 4 Bytes";
        return c;
    }(),
    with(rc("vif6F", "01 6F 07"), "", "7", 65535, 0),
    with(rc("negative24Bit", "03 13 FF FF FF"), "Volume m3", "-0.001"),
    with(rc("real", "05 2B 00 00 C0 3F"), "Power W", "1.5"),
    with(rc("negative48Bit", "06 78 00 00 00 00 00 80"), nullptr, "-140737488355328"),
    with(rc("negative64Bit", "07 78 FF FF FF FF FF FF FF FF"), nullptr, "-1"),
    with(rc("correctionFactor", "01 93 75 05"),
         "Volume m3 - Moltiplicative Correction Factor: 10^(-1)", "0.0005", 2, 103),
    with(rc("additiveConstantScales", "01 93 78 05"),
         "Volume m3 - Additive Correction Constant: 10^(-3) * Unit of VIF", "5E-6", 2, 104),
    with(rc("times1000", "01 93 7D 05"), "Volume m3 - Multiplicative Cerrection Factor: 10^(3)",
         "5", 2, 105),
    with(rc("phaseAfter7C", "02 FD C8 FC 01 E6 00"), "Electric Units Volts - At Phase L1", "23", 19,
         38),
    with(rc("phaseUnknownCode", "02 FD C8 FC 09 E6 00"), "Electric Units Volts", "23", 19, 38),
    with(rc("dateValueTypeG", "02 93 42 81 2C"),
         "Volume m3 - Date(/Time) of Begin of First Lower Limit Exceed", "01/12/20", 2, 99),
    with(rc("dateValueTypeF", "04 93 6A 1E 0C 81 2C"), "Volume m3 - Date(/Time) of Begin of First",
         "01/12/20 12:30", 2, 102),
    with(rc("dateValueOtherCodingShowsNumber", "01 93 42 05"), nullptr, "0.005", 2, 99),
    with(rc("typeCodeFromFirstVifeBearingOne", "01 93 88 3B 05"),
         "Volume m3 - Reserved - Accumulation Only if Positive Contributions (Forward Flow "
         "Contribution)",
         "0.005", 2, 95),
    with(rc("laterVifeKeepsTypeCode", "01 93 BB 20 05"), nullptr, nullptr, 2, 95),
    with(rc("extensionCodeBeforeVife", "01 FD 97 3B 05"),
         "Error Flag (Binary) - Accumulation Only if Positive Contributions (Forward Flow "
         "Contribution)",
         "5", 19, 18),
    with(rc("plainTextUnit", "04 7C 04 68 2F 33 6D 31 32 33 34"), "Vif in following String", "1234",
         21),
    [] {
        RecordCase c = rc("dif1FEndsIncomplete", "04 13 40 E2 01 00 1F 01 02");
        c.complete = false;
        return c;
    }(),
    [] {
        RecordCase c = rc("dif0FEndsComplete", "0F 01 02 03");
        c.count = 0;
        return c;
    }(),
    [] {
        RecordCase c = rc("dif3FEnds", "3F 01 13 05");
        c.count = 0;
        return c;
    }(),
    [] {
        RecordCase c = rc("selectionEnds", "08 13 01 13 05");
        c.count = 0;
        return c;
    }(),
    [] {
        RecordCase c = rc("vif7EEnds", "01 7E 05 01 13 05");
        c.count = 0;
        return c;
    }(),
    with(rc("specialFunctionSkipped", "8F 00 13 01 13 05"), "Volume m3", "0.005"),
    with(rc("wiredFillersSkipped", "2F 2F 01 FD 17 05"), "Error Flag (Binary)", "5"),
    [] {
        RecordCase c = rc("wirelessFillersKept", "2F 2F 01 FD 17 05");
        c.count = 3;
        c.type = TMBusType::mtWireless;
        c.dataField = "Special Function";
        c.nbyte = 0;
        return c;
    }(),
};

class RecordExamples : public ::testing::TestWithParam<RecordCase> {};

TEST_P(RecordExamples, Decode)
{
    const RecordCase& c = GetParam();
    const Decoded d = decode(hexBytes(c.bytes), c.type);
    EXPECT_FALSE(d.fault.has_value());
    EXPECT_EQ(d.complete, c.complete);
    ASSERT_EQ(d.records.size(), c.count);
    if (c.count == 0)
        return;
    const TVariable_MBus& v = d.records.front();
    if (c.desc) {
        EXPECT_EQ(v.Desc_Type_Data, QString::fromUtf8(c.desc));
    }
    if (c.value) {
        EXPECT_EQ(v.ValueStr, QString::fromUtf8(c.value));
    }
    if (c.group >= 0) {
        EXPECT_EQ(v.type_data, c.group);
    }
    if (c.code >= 0) {
        EXPECT_EQ(v.Type_Data_Vife, c.code);
    }
    if (c.dataField) {
        EXPECT_EQ(v.DataFieldStr, QString::fromUtf8(c.dataField));
    }
    if (c.nbyte >= 0) {
        EXPECT_EQ(v.nbyte, c.nbyte);
    }
    if (c.storage >= 0) {
        EXPECT_EQ(v.storage_number, c.storage);
    }
    if (c.tariff >= 0) {
        EXPECT_EQ(qint64(v.tarif), c.tariff);
    }
    if (c.subunit >= 0) {
        EXPECT_EQ(v.device, c.subunit);
    }
    if (c.dife) {
        EXPECT_EQ(v.DIFE, QString::fromLatin1(c.dife));
    }
    if (c.vife) {
        EXPECT_EQ(v.VIFE, QString::fromLatin1(c.vife));
    }
    // A filler's DIF 2Fh carries function field 2.
    EXPECT_EQ(v.FunctionFieldStr, c.type == TMBusType::mtWired
                                      ? QStringLiteral("Istantaneous value")
                                      : QStringLiteral("Minimum value"));
    EXPECT_EQ(v.Real_Wireless_Var, c.type == TMBusType::mtWired);
}

INSTANTIATE_TEST_SUITE_P(Bytes, RecordExamples, ::testing::ValuesIn(kRecordCases),
                         [](const auto& info) { return info.param.name; });

// One frame of our own making: every data coding, DIFEs with storage, tariff and subunit,
// LVAR, a plain-text unit, fillers and a closing 1Fh.
TEST(WiredFrame, DecodesHeaderAndEveryCoding)
{
    const Bytes header = hexBytes("45 23 01 00  22 04  01  07  00  00  00 00");
    const Bytes records = hexBytes(
        "01 FD 17 05 "                    // 8-bit
        "02 5B 15 00 "                    // 16-bit, flow temperature
        "03 13 FF FF FF "                 // 24-bit negative
        "04 13 40 E2 01 00 "              // 32-bit
        "05 2B 00 00 C0 3F "              // real
        "06 78 01 00 00 00 00 00 "        // 48-bit
        "07 78 02 00 00 00 00 00 00 00 "  // 64-bit
        "09 78 99 "                       // BCD 2 to 12 digits
        "0A 78 34 12 "
        "0B 78 56 34 12 "
        "0C 78 78 56 34 12 "
        "0E 78 12 90 78 56 34 12 "
        "D4 D5 23 13 01 00 00 00 "           // function 1, storage, tariff and subunit
        "0D 13 C3 56 34 12 "                 // LVAR
        "2F 2F "                             // fillers
        "04 7C 04 68 2F 33 6D 31 32 33 34 "  // plain-text unit "m3/h"
        "1F 55 66");
    const Bytes frame = test::longFrame(5, header, records);

    TSlaveMBusList list;
    TMBusDecoder decoder(u',');
    bool complete = true;
    ASSERT_EQ(decoder.Decode_Frame_Wired(frame, list, -1, complete), 0);
    EXPECT_FALSE(complete);
    EXPECT_FALSE(decoder.lastFault());
    ASSERT_EQ(list.size(), 1u);
    const TSlave_MBus& s = *list[0];
    EXPECT_EQ(s.Primary_Addresss, 5);
    EXPECT_EQ(s.Secondary_Addresss, QStringLiteral("00012345"));
    EXPECT_EQ(s.Manufacture, 0x0422);
    EXPECT_EQ(s.descManufacture, QStringLiteral("AAB"));
    EXPECT_EQ(s.Version, 1);
    EXPECT_EQ(s.descmedium, QStringLiteral("Water"));

    struct Expect {
        const char* dataField;
        const char* value;
    };
    const Expect expected[] = {
        {"8 Bit Integer", "5"},
        {"16 Bit Integer", "21"},
        {"24 Bit Integer", "-0,001"},
        {"32 Bit Integer", "123,456"},
        {"32 Bit Real", "1,5"},
        {"48 Bit Integer", "1"},
        {"64 Bit Integer", "2"},
        {"2 Digit BCD", "99"},
        {"4 Digit BCD", "1234"},
        {"6 Digit BCD", "123456"},
        {"8 Digit BCD", "12345678"},
        {"12 Digit BCD", "123456789012"},
        {"32 Bit Integer", "0,001"},
        {"Variable Length - Positive BCD Number with 6 digits", "123,456"},
        {"32 Bit Integer", "1234"},
    };
    ASSERT_EQ(s.List_Var.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(s.List_Var[i].DataFieldStr, QString::fromLatin1(expected[i].dataField));
        EXPECT_EQ(s.List_Var[i].ValueStr, QString::fromLatin1(expected[i].value));
    }
    for (int i : {7, 8, 9, 10, 11})
        EXPECT_TRUE(s.List_Var[std::size_t(i)].Is_BCD);
    const TVariable_MBus& ext = s.List_Var[12];
    EXPECT_EQ(ext.FunctionFieldStr, QStringLiteral("Maximum value"));
    EXPECT_EQ(ext.storage_number, 1 + 5 * 2 + 3 * 32);
    EXPECT_EQ(ext.tarif, 1u + 2u * 4u);
    EXPECT_EQ(ext.device, 1);
    EXPECT_EQ(ext.DIF, QStringLiteral("$D4"));
    EXPECT_EQ(ext.totdati, QStringLiteral("01000000"));
    const TVariable_MBus& text = s.List_Var[14];
    EXPECT_EQ(text.VIF_ASCII, QStringLiteral("m3/h"));
    EXPECT_EQ(text.type_data, 21);

    // The meter's next frame adds its records to the same slave; its header is not read.
    const Bytes next = test::longFrame(9, hexBytes("00 00 00 00 00 00 00 00 00 00 00 00"),
                                       hexBytes("01 FD 17 07"));
    ASSERT_EQ(decoder.Decode_Frame_Wired(next, list, 0, complete), 0);
    EXPECT_TRUE(complete);
    EXPECT_EQ(s.List_Var.size(), std::size(expected) + 1);
    EXPECT_EQ(s.Primary_Addresss, 5);
}

TEST(WiredFrame, HeaderHelpers)
{
    EXPECT_EQ(TMBusDecoder::Trova_Man(0x0422), QStringLiteral("AAB"));
    EXPECT_EQ(TMBusDecoder::Trova_Man(0), QStringLiteral("???"));
    EXPECT_EQ(TMBusDecoder::Desc_Medium(0x0C), QStringLiteral("Heat (inlet) "));
    EXPECT_EQ(TMBusDecoder::Desc_Medium(0x08), QStringLiteral("Heat Cost Allocator."));
    EXPECT_EQ(TMBusDecoder::Desc_Medium(0x10), QStringLiteral("Other"));
    EXPECT_EQ(TMBusDecoder::Two_Digits(7), QStringLiteral("07"));
    EXPECT_EQ(TMBusDecoder::Two_Digits(123), QStringLiteral("123"));
}

TEST(WiredFrame, ShortFramesAndUnknownSlavesChangeNothing)
{
    TSlaveMBusList list;
    TMBusDecoder decoder;
    bool complete = false;
    EXPECT_EQ(decoder.Decode_Frame_Wired(hexBytes("68 03 03 68 08 05 72 16"), list, -1, complete),
              -1);
    EXPECT_TRUE(decoder.lastFault());
    const Bytes frame = test::longFrame(1, Bytes(12, 0), hexBytes("01 13 05"));
    EXPECT_EQ(decoder.Decode_Frame_Wired(frame, list, 3, complete), -1);
    EXPECT_TRUE(list.empty());
}

// Hostile records: the parse ends as malformed where the fault lies and keeps what was
// decoded before it.
struct HostileCase {
    std::string name;
    std::string bytes;
    std::size_t kept;
    std::size_t faultOffset;
};

void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.name; }

std::string repeat(const char* piece, int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += piece;
    return s;
}

const HostileCase kHostileCases[] = {
    {"recordPastEnd", "01 13 05 04 13 01 02", 1, 7},
    {"lyingLvar", "01 13 05 0D 13 BF 41", 1, 7},
    {"endlessDifes", "01 13 05 84" + repeat(" 80", 10) + " 00 13 00", 1, 14},
    {"endlessVifes", "01 13 05 01 93" + repeat(" 80", 10) + " 00 05", 1, 15},
    {"vifesToTheEnd", "01 93" + repeat(" 80", 5), 0, 7},
    {"unitOver192", "01 13 05 01 7C C1 41", 1, 5},
    {"unitPastEnd", "01 7C 05 41 42", 0, 5},
    {"lvarMissing", "0D 13", 0, 2},
    {"vifMissing", "84 10", 0, 2},
};

class HostileRecords : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileRecords, EndAsMalformed)
{
    const HostileCase& c = GetParam();
    const Decoded d = decode(hexBytes(c.bytes));
    EXPECT_TRUE(d.complete);
    EXPECT_EQ(d.records.size(), c.kept);
    ASSERT_TRUE(d.fault.has_value());
    EXPECT_EQ(d.fault->offset, c.faultOffset);
}

INSTANTIATE_TEST_SUITE_P(Bytes, HostileRecords, ::testing::ValuesIn(kHostileCases),
                         [](const auto& info) { return info.param.name; });

TEST(HostileRecordsLimits, TenExtensionsAreStillAccepted)
{
    const Decoded difes = decode(hexBytes("84" + repeat(" 80", 9) + " 00 13 01 00 00 00"));
    EXPECT_FALSE(difes.fault);
    EXPECT_EQ(difes.records.size(), 1u);
    const Decoded vifes = decode(hexBytes("01 93" + repeat(" 80", 9) + " 00 05"));
    EXPECT_FALSE(vifes.fault);
    ASSERT_EQ(vifes.records.size(), 1u);
    const Decoded unit = decode(hexBytes("00 7C C0" + repeat(" 41", 192)));
    EXPECT_FALSE(unit.fault);
    ASSERT_EQ(unit.records.size(), 1u);
    EXPECT_EQ(unit.records[0].VIF_ASCII.size(), 192);
}

TEST(HostileRecordsLimits, EveryPrefixAndFlippedByteOfAFrameDecodesSafely)
{
    const Bytes frame = test::longFrame(
        5, hexBytes("45 23 01 00 22 04 01 07 00 00 00 00"),
        hexBytes("D4 D5 23 13 01 00 00 00 0D 13 C3 56 34 12 04 7C 02 41 42 01 02 03 04 "
                 "02 FD C8 FC 01 E6 00 1F"));
    for (std::size_t n = 0; n <= frame.size(); ++n) {
        TSlaveMBusList list;
        TMBusDecoder decoder;
        bool complete;
        decoder.Decode_Frame_Wired(std::span(frame).first(n), list, -1, complete);
    }
    for (std::size_t i = 0; i < frame.size(); ++i) {
        for (std::uint8_t flip : {std::uint8_t(0xFF), std::uint8_t(0x80)}) {
            Bytes bad = frame;
            bad[i] ^= flip;
            TSlaveMBusList list;
            TMBusDecoder decoder;
            bool complete;
            decoder.Decode_Frame_Wired(bad, list, -1, complete);
        }
    }
}

struct ValueTextCase {
    std::string name;
    long double value;
    const char* point;
    const char* comma;
};

void PrintTo(const ValueTextCase& c, std::ostream* os) { *os << c.name; }

const ValueTextCase kValueTexts[] = {
    {"zero", 0, "0", "0"},
    {"whole", 100, "100", "100"},
    {"fraction", 123.456L, "123.456", "123,456"},
    {"negative", -0.5L, "-0.5", "-0,5"},
    {"smallestFixed", 0.00001L, "0.00001", "0,00001"},
    {"belowFixed", 0.000008L, "8E-6", "8E-6"},
    {"largestFixed", 999999999999999.0L, "999999999999999", "999999999999999"},
    {"aboveFixed", 1e15L, "1E15", "1E15"},
    {"roundedTo15Digits", 1234567890123456.0L, "1.23456789012346E15", "1,23456789012346E15"},
    {"largeMantissa", 1.5e20L, "1.5E20", "1,5E20"},
    {"tiny", -2.5e-20L, "-2.5E-20", "-2,5E-20"},
    {"fifteenDigitFraction", 0.1L + 0.2L, "0.3", "0,3"},
};

class ValueText : public ::testing::TestWithParam<ValueTextCase> {};

TEST_P(ValueText, BothSeparators)
{
    const ValueTextCase& c = GetParam();
    EXPECT_EQ(mbusValueText(c.value, u'.'), QString::fromLatin1(c.point));
    EXPECT_EQ(mbusValueText(c.value, u','), QString::fromLatin1(c.comma));
}

INSTANTIATE_TEST_SUITE_P(Values, ValueText, ::testing::ValuesIn(kValueTexts),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace zfw
