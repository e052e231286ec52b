// What a data record means: the primary VIF table, the extension tables behind FDh and FBh,
// the combinable VIFEs, the date and time types, and the value as text.

#include "editors/metering/core/MBusDecoder.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

namespace zfw {

namespace {

// Which bits of the code give the exponent: n (VIF and 7), m (and 3), FB's n (and 1), and
// the electric units' (and 0Fh).
enum class Exp : std::uint8_t { None, And1, And3, And7, AndF };

enum class Special : std::uint8_t { None, TimePoint, PlainText };

// One row of a code table. A row with several texts picks one by m (code and 3).
struct CodeRow {
    std::uint8_t first;
    std::uint8_t last;
    std::array<const char*, 4> texts;
    Exp exp;
    int offset;
    int code;  // group (primary table) or type code (FD, FB); -1 none
    Special special = Special::None;
};

constexpr int kNoGroup = 65535;

// The tables keep one row per code block, as the protocol lists them.
// clang-format off
constexpr CodeRow kPrimary[] = {
    {0x00, 0x07, {"Energy Wh"}, Exp::And7, -3, 0},
    {0x08, 0x0F, {"Energy J"}, Exp::And7, 0, 1},
    {0x10, 0x17, {"Volume m3"}, Exp::And7, -6, 2},
    {0x18, 0x1F, {"Mass kg"}, Exp::And7, -3, 3},
    {0x20, 0x23, {"On Time Seconds", "On Time Minutes", "On Time Hours", "On Time Days"},
     Exp::None, 0, 4},
    {0x24, 0x27,
     {"Operating Time Seconds", "Operating Time Minutes", "Operating Time Hours",
      "Operating Time Days"},
     Exp::None, 0, 5},
    {0x28, 0x2F, {"Power W"}, Exp::And7, -3, 6},
    {0x30, 0x37, {"Power J/h"}, Exp::And7, 0, 7},
    {0x38, 0x3F, {"Volume Flow m3/h"}, Exp::And7, -6, 8},
    {0x40, 0x47, {"Volume Flow ext. m3/min"}, Exp::And7, -7, 9},
    {0x48, 0x4F, {"Volume Flow ext. m3/s"}, Exp::And7, -9, 10},
    {0x50, 0x57, {"Mass Flow kg/h"}, Exp::And7, -3, 11},
    {0x58, 0x5B, {"Flow Temperature °C"}, Exp::And3, -3, 12},
    {0x5C, 0x5F, {"Return Temperature °C"}, Exp::And3, -3, 13},
    {0x60, 0x63, {"Temperature Difference K"}, Exp::And3, -3, 14},
    {0x64, 0x67, {"External Temperature °C"}, Exp::And3, -3, 15},
    {0x68, 0x6B, {"Pressure bar"}, Exp::And3, -3, 16},
    {0x6C, 0x6D, {""}, Exp::None, 0, 20, Special::TimePoint},
    {0x6E, 0x6E, {"Units for H.C.A."}, Exp::None, 0, 22},
    {0x6F, 0x6F, {""}, Exp::None, 0, kNoGroup},
    {0x70, 0x73,
     {"Averaging Duration Seconds", "Averaging Duration Minutes", "Averaging Duration Hours",
      "Averaging Duration Days"},
     Exp::None, 0, 17},
    {0x74, 0x77,
     {"Actuality Duration Seconds", "Actuality Duration Minutes", "Actuality Duration Hours",
      "Actuality Duration Days"},
     Exp::None, 0, 18},
    {0x78, 0x78, {"Fabrication No"}, Exp::None, 0, 23},
    {0x79, 0x79, {"Identification"}, Exp::None, 0, 24},
    {0x7A, 0x7A, {"Bus Address"}, Exp::None, 0, 25},
    {0x7B, 0x7B, {""}, Exp::None, 0, 19},
    {0x7C, 0x7C, {"Vif in following String"}, Exp::None, 0, 21, Special::PlainText},
    {0x7D, 0x7D, {""}, Exp::None, 0, 19},
    {0x7F, 0x7F, {"Manufacturer Specific"}, Exp::None, 0, kNoGroup},
};

constexpr CodeRow kExtensionFD[] = {
    {0x00, 0x03, {"Credit of (currency units)"}, Exp::And3, -3, 1},
    {0x04, 0x07, {"Debit of (currency units)"}, Exp::And3, -3, 2},
    {0x08, 0x08, {"Unique message Identification"}, Exp::None, 0, 3},
    {0x09, 0x09, {"Device Type"}, Exp::None, 0, 4},
    {0x0A, 0x0A, {"Manufacturer"}, Exp::None, 0, 5},
    {0x0B, 0x0B, {"Parameter Set Identification"}, Exp::None, 0, 6},
    {0x0C, 0x0C, {"Model Version"}, Exp::None, 0, 7},
    {0x0D, 0x0D, {"Hardware Version Number"}, Exp::None, 0, 8},
    {0x0E, 0x0E, {"Metrology (Firmware) Version Number"}, Exp::None, 0, 9},
    {0x0F, 0x0F, {"Other Software Version Number"}, Exp::None, 0, 10},
    {0x10, 0x10, {"Customer LOcation"}, Exp::None, 0, 11},
    {0x11, 0x11, {"Customer"}, Exp::None, 0, 12},
    {0x12, 0x12, {"Access Code User"}, Exp::None, 0, 13},
    {0x13, 0x13, {"Access Code Operator"}, Exp::None, 0, 14},
    {0x14, 0x14, {"Access Code System Operator"}, Exp::None, 0, 15},
    {0x15, 0x15, {"Access Code Developer"}, Exp::None, 0, 16},
    {0x16, 0x16, {"Password"}, Exp::None, 0, 17},
    {0x17, 0x17, {"Error Flag (Binary)"}, Exp::None, 0, 18},
    {0x18, 0x18, {"Error Mask"}, Exp::None, 0, 19},
    {0x19, 0x19, {"Security Key"}, Exp::None, 0, 126},
    {0x1A, 0x1A, {"Digital Output (Binary)"}, Exp::None, 0, 20},
    {0x1B, 0x1B, {"Digital Input (Binary)"}, Exp::None, 0, 21},
    {0x1C, 0x1C, {"Baudrate [Baud]"}, Exp::None, 0, 22},
    {0x1D, 0x1D, {"Responce Delay Time [Bit-Times]"}, Exp::None, 0, 23},
    {0x1E, 0x1E, {"Retry"}, Exp::None, 0, 24},
    {0x1F, 0x1F, {"Remote Control (Device Specific e.g. Gas Value)"}, Exp::None, 0, 127},
    {0x20, 0x20, {"First Storage Number for Cyclic Storage"}, Exp::None, 0, 25},
    {0x21, 0x21, {"Last Storage Number for Cyclic Storage"}, Exp::None, 0, 26},
    {0x22, 0x22, {"Size of Storage Block"}, Exp::None, 0, 27},
    {0x24, 0x27,
     {"Storage Interval Second(s)", "Storage Interval Minute(s)", "Storage Interval Hour(s)",
      "Storage Interval Day(s)"},
     Exp::None, 0, 28},
    {0x28, 0x28, {"Storage Interval Month(s)"}, Exp::None, 0, 29},
    {0x29, 0x29, {"Storage Interval Year(s)"}, Exp::None, 0, 30},
    {0x2A, 0x2A, {"Operator Specific Data"}, Exp::None, 0, 128},
    {0x2B, 0x2B, {"Time Point Second (0 to 59)"}, Exp::None, 0, 129},
    {0x2C, 0x2F,
     {"Duration Since Last Readout Second(s)", "Duration Since Last Readout Minute(s)",
      "Duration Since Last Readout Hour(s)", "Duration Since Last Readout Day(s)"},
     Exp::None, 0, 31},
    {0x30, 0x30, {"Start (Date/Time) of Tariff"}, Exp::None, 0, 32},
    // m is 1 to 3 here: index 0 is never taken.
    {0x31, 0x33,
     {"", "Duration of Tariff Minute(s)", "Duration of Tariff Hour(s)",
      "Duration of Tariff Day(s)"},
     Exp::None, 0, 33},
    {0x34, 0x37,
     {"Period of Tariff Second(s)", "Period of Tariff Minute(s)", "Period of Tariff Hour(s)",
      "Period of Tariff Day(s)"},
     Exp::None, 0, 34},
    {0x38, 0x38, {"Period of Tariff Month(s)"}, Exp::None, 0, 35},
    {0x39, 0x39, {"Period of Tariff Year(s)"}, Exp::None, 0, 36},
    {0x3A, 0x3A, {"Dimensionless / No VIF"}, Exp::None, 0, 37},
    {0x3B, 0x3B, {"Data Container for Wireless M-Bus Protocol"}, Exp::None, 0, 130},
    {0x3C, 0x3F,
     {"Period of Nominal Data Transmissions Second(s)",
      "Period of Nominal Data Transmissions Minute(s)",
      "Period of Nominal Data Transmissions Hour(s)",
      "Period of Nominal Data Transmissions Day(s)"},
     Exp::None, 0, 131},
    {0x40, 0x4F, {"Electric Units Volts"}, Exp::AndF, -9, 38},
    {0x50, 0x5F, {"Electric Units A"}, Exp::AndF, -12, 39},
    {0x60, 0x60, {"Reset Counter"}, Exp::None, 0, 40},
    {0x61, 0x61, {"Cumulation Counter"}, Exp::None, 0, 41},
    {0x62, 0x62, {"Control Signal"}, Exp::None, 0, 42},
    {0x63, 0x63, {"Day of Week"}, Exp::None, 0, 43},
    {0x64, 0x64, {"Week Number"}, Exp::None, 0, 44},
    {0x65, 0x65, {"Time Point of Day Change"}, Exp::None, 0, 45},
    {0x66, 0x66, {"State of Parameter Activation"}, Exp::None, 0, 46},
    {0x67, 0x67, {"Special Supplier Information"}, Exp::None, 0, 47},
    {0x68, 0x6B,
     {"Duration Since Last Cumulation Hour(s)", "Duration Since Last Cumulation Day(s)",
      "Duration Since Last Cumulation Month(s)", "Duration Since Last Cumulation Year(s)"},
     Exp::None, 0, 48},
    {0x6C, 0x6F,
     {"Operating Time Battery Hour(s)", "Operating Time Battery Day(s)",
      "Operating Time Battery Month(s)", "Operating Time Battery Year(s)"},
     Exp::None, 0, 49},
    {0x70, 0x70, {"Date and Time of Battery Change"}, Exp::None, 0, 50},
    {0x71, 0x71, {"RF Level Units: dBm"}, Exp::None, 0, 132},
    {0x72, 0x72, {"Daylight Savings (Beginning, Ending, Deviation) Data Type K"}, Exp::None, 0,
     133},
    {0x73, 0x73, {"Listening Window Management Data Type L"}, Exp::None, 0, 134},
    {0x74, 0x74, {"Remaining Battery Life Time (Days)"}, Exp::None, 0, 135},
    {0x75, 0x75, {"Number Times the Meter Was Stopped"}, Exp::None, 0, 136},
};

constexpr CodeRow kExtensionFB[] = {
    {0x00, 0x01, {"Energy MWh"}, Exp::And1, -1, 51},
    {0x02, 0x03, {"Reactive Energy kVARh"}, Exp::And1, 0, 137},
    {0x04, 0x05, {"Apparent Energy kVAh"}, Exp::And1, 0, 138},
    {0x08, 0x09, {"Energy GJ"}, Exp::And1, -1, 52},
    {0x0C, 0x0F, {"Energy MCal"}, Exp::And3, -1, 139},
    {0x10, 0x11, {"Volume m3"}, Exp::And1, 2, 53},
    {0x14, 0x17, {"Reactive Power kVAR"}, Exp::And3, -3, 140},
    {0x18, 0x19, {"Volume t"}, Exp::And1, 2, 54},
    {0x1A, 0x1B, {"Relative Humidity %"}, Exp::And1, -1, 141},
    {0x20, 0x20, {"Volume Feet 3"}, Exp::None, 0, 142},
    {0x21, 0x21, {"Volume 0,1 Feet 3"}, Exp::None, 0, 55},
    {0x22, 0x22, {"Volume 0,1 American Gallon"}, Exp::None, 0, 56},
    {0x23, 0x23, {"Volume 1 American Gallon"}, Exp::None, 0, 57},
    {0x24, 0x24, {"Volume Flow 0,001 American Gallon/min"}, Exp::None, 0, 58},
    {0x25, 0x25, {"Volume Flow 1 American Gallon/min"}, Exp::None, 0, 59},
    {0x26, 0x26, {"Volume Flow 1 American Gallon/h"}, Exp::None, 0, 60},
    {0x28, 0x29, {"Power MW"}, Exp::And1, -1, 61},
    {0x2A, 0x2A, {"Phase U-U (Volt. to Volt.)"}, Exp::None, 0, 143},
    {0x2B, 0x2B, {"Phase U-I (Volt. to Current)"}, Exp::None, 0, 144},
    {0x2C, 0x2F, {"Frequency Hz"}, Exp::And3, -3, 145},
    {0x30, 0x31, {"Power GJ/h"}, Exp::And1, -1, 62},
    {0x34, 0x37, {"Apparent Power kVA"}, Exp::And3, -3, 146},
    {0x58, 0x5B, {"Flow Temperature °F"}, Exp::And3, -3, 63},
    {0x5C, 0x5F, {"Return Temperature °F"}, Exp::And3, -3, 64},
    {0x60, 0x63, {"Temperature Difference °F"}, Exp::And3, -3, 65},
    {0x64, 0x67, {"External Temperature °F"}, Exp::And3, -3, 66},
    {0x70, 0x73, {"Cold / Warm Temperature Limit °F"}, Exp::And3, -3, 67},
    {0x74, 0x77, {"Cold / Warm Temperature Limit °C"}, Exp::And3, -3, 68},
    {0x78, 0x7F, {"Cum. Max. of Active Power W"}, Exp::And7, -3, 69},
};

enum class Effect : std::uint8_t { None, DateValue, Multiply, Add, Phase, Times1000 };

// A combinable VIFE: one text per code from first to last, one type code (or, with codeSteps,
// consecutive codes from code), and what it does to the value.
struct VifeRow {
    std::uint8_t first;
    std::uint8_t last;
    std::array<const char*, 10> texts;
    int code;  // -1 none
    bool codeSteps = false;
    Effect effect = Effect::None;
};

constexpr VifeRow kCombinable[] = {
    {0x00, 0x00, {" - None"}, 108},
    {0x01, 0x01, {" - Too Many DIFEs"}, 109},
    {0x02, 0x02, {" - Storage Number not Implemented"}, 110},
    {0x03, 0x03, {" - Unit Number not Implemented"}, 111},
    {0x04, 0x04, {" - Tariff Number not Implemented"}, 112},
    {0x05, 0x05, {" - Function not Implemented"}, 113},
    {0x06, 0x06, {" - Data Class not Implemented"}, 114},
    {0x07, 0x07, {" - Data Size not Implemented"}, 115},
    {0x0B, 0x0B, {" - Too Many VIFEs"}, 116},
    {0x0C, 0x0C, {" - Illegal VIF-Group"}, 117},
    {0x0D, 0x0D, {" - Illegal VIF-Exponent"}, 118},
    {0x0E, 0x0E, {" - VIF / DIF Mismatch"}, 119},
    {0x0F, 0x0F, {" - Unimplemented Action"}, 120},
    {0x15, 0x15, {" - No Data Available (Undefined Value)"}, 121},
    {0x16, 0x16, {" - Data Overflow"}, 122},
    {0x17, 0x17, {" - Data Underflow"}, 123},
    {0x18, 0x18, {" - Data Error"}, 124},
    {0x1C, 0x1C, {" - Premature End of Record"}, 125},
    {0x20, 0x27,
     {" - Per Second", " - Per Minute", " - Per Hour", " - Per Day", " - Per Week",
      " - Per Month", " - Per Year", " - Per Revolution / Measurement"},
     70, true},
    {0x28, 0x29,
     {" - Increment per Input Pulse on Input Channel 0",
      " - Increment per Input Pulse on Input Channel 1"},
     78},
    {0x2A, 0x2B,
     {" - Increment per Output Pulse on Output Channel 0",
      " - Increment per Output Pulse on Output Channel 1"},
     79},
    {0x2C, 0x35,
     {" - Per Liter", " - Per m3", " - Per kg", " - Per K (Kelvin)", " - Per kWh", " - Per GJ",
      " - Per kW", " - Per (K*l)(Kelvin * Litre)", " - Per V (Volt)", " - Per (A) (Ampere)"},
     80, true},
    {0x36, 0x38, {" - Multiplied by s", " - Multiplied by s / V", " - Multiplied by s / A"}, 90,
     true},
    {0x39, 0x39, {" - Start Date (/Time) of"}, 93},
    {0x3A, 0x3A,
     {" - VIF Contains Uncorrect Unit or Value at Metering Conditions Instead of Converted "
      "Unit"},
     94},
    {0x3B, 0x3B, {" - Accumulation Only if Positive Contributions (Forward Flow Contribution)"},
     95},
    {0x3C, 0x3C, {" - Accumulation of abs Value Only if Negative Contributions (Backward Flow)"},
     96},
    {0x3D, 0x3D, {" - Reserved for Alternate non-metric Unit System (according to Annex C)"},
     147},
    {0x3E, 0x3E, {" - Value at Base Conditions"}, 148},
    {0x40, 0x40, {" - Lower Limit Value"}, 97},
    {0x48, 0x48, {" - Upper Limit Value"}, 97},
    {0x41, 0x41, {" - # of Exceeds of Lower Limit"}, 98},
    {0x49, 0x49, {" - # of Exceeds of Upper Limit"}, 98},
    {0x42, 0x43,
     {" - Date(/Time) of Begin of First Lower Limit Exceed",
      " - Date(/Time) of End of First Lower Limit Exceed"},
     99, false, Effect::DateValue},
    {0x46, 0x47,
     {" - Date(/Time) of Begin of Last Lower Limit Exceed",
      " - Date(/Time) of End of Last Lower Limit Exceed"},
     99, false, Effect::DateValue},
    {0x4A, 0x4B,
     {" - Date(/Time) of Begin of First Upper Limit Exceed",
      " - Date(/Time) of End of First Upper Limit Exceed"},
     99, false, Effect::DateValue},
    {0x4E, 0x4F,
     {" - Date(/Time) of Begin of Last Upper Limit Exceed",
      " - Date(/Time) of End of Last Upper Limit Exceed"},
     99, false, Effect::DateValue},
    {0x50, 0x53,
     {" - Duration 00 of First Lower Limit Exceed", " - Duration 01 of First Lower Limit Exceed",
      " - Duration 02 of First Lower Limit Exceed", " - Duration 03 of First Lower Limit Exceed"},
     100},
    {0x54, 0x57,
     {" - Duration 00 of Last Lower Limit Exceed", " - Duration 01 of Last Lower Limit Exceed",
      " - Duration 02 of Last Lower Limit Exceed", " - Duration 03 of Last Lower Limit Exceed"},
     100},
    {0x58, 0x5B,
     {" - Duration 00 of First Upper Limit Exceed", " - Duration 01 of First Upper Limit Exceed",
      " - Duration 02 of First Upper Limit Exceed", " - Duration 03 of First Upper Limit Exceed"},
     100},
    {0x5C, 0x5F,
     {" - Duration 00 of Last Upper Limit Exceed", " - Duration 01 of Last Upper Limit Exceed",
      " - Duration 02 of Last Upper Limit Exceed", " - Duration 03 of Last Upper Limit Exceed"},
     100},
    {0x60, 0x63,
     {" - Duration 00 of First", " - Duration 01 of First", " - Duration 02 of First",
      " - Duration 03 of First"},
     101},
    {0x64, 0x67,
     {" - Duration 00 of Last", " - Duration 01 of Last", " - Duration 02 of Last",
      " - Duration 03 of Last"},
     101},
    {0x68, 0x68, {" - Value During Lower Limit Exceed"}, 149},
    {0x6C, 0x6C, {" - Value During Upper Limit Exceed"}, 149},
    {0x69, 0x69, {" - Leakage Values"}, 150},
    {0x6D, 0x6D, {" - Overflow Values"}, 151},
    {0x6A, 0x6B, {" - Date(/Time) of Begin of First", " - Date(/Time) of End of First"}, 102,
     false, Effect::DateValue},
    {0x6E, 0x6F, {" - Date(/Time) of Begin of Last", " - Date(/Time) of End of Last"}, 102,
     false, Effect::DateValue},
    {0x70, 0x77,
     {" - Moltiplicative Correction Factor: 10^(-6)",
      " - Moltiplicative Correction Factor: 10^(-5)",
      " - Moltiplicative Correction Factor: 10^(-4)",
      " - Moltiplicative Correction Factor: 10^(-3)",
      " - Moltiplicative Correction Factor: 10^(-2)",
      " - Moltiplicative Correction Factor: 10^(-1)",
      " - Moltiplicative Correction Factor: 10^(0)",
      " - Moltiplicative Correction Factor: 10^(1)"},
     103, false, Effect::Multiply},
    {0x78, 0x7B,
     {" - Additive Correction Constant: 10^(-3) * Unit of VIF",
      " - Additive Correction Constant: 10^(-2) * Unit of VIF",
      " - Additive Correction Constant: 10^(-1) * Unit of VIF",
      " - Additive Correction Constant: 10^(0) * Unit of VIF"},
     104, false, Effect::Add},
    {0x7C, 0x7C, {""}, -1, false, Effect::Phase},
    {0x7D, 0x7D, {" - Multiplicative Cerrection Factor: 10^(3)"}, 105, false, Effect::Times1000},
    {0x7E, 0x7E, {" - Future Value"}, 106},
    {0x7F, 0x7F, {" - Next VIFEs and Data of This Block Are Manufacturer Specific"}, 107},
};

// clang-format on

struct PhaseText {
    std::uint8_t code;
    const char* text;
};

constexpr PhaseText kPhases[] = {
    {0x01, " - At Phase L1"},
    {0x02, " - At Phase L2"},
    {0x03, " - At Phase L3"},
    {0x04, " - At Neutral (N)"},
    {0x05, " - Between Phase L1 and L2"},
    {0x06, " - Between Phase L2 and L3"},
    {0x07, " - Between Phase L3 and L1"},
    {0x10,
     " - Accumulation of abs. Value for Both Positive and Negative Contribution "
     "(Absolute Count)"},
};

constexpr const char* kWeekdays[8] = {"",          "Monday ", "Tuesday ",  "Wednesday ",
                                      "Thursday ", "Friday ", "Saturday ", "Sunday "};

template <std::size_t N>
const CodeRow* findRow(const CodeRow (&table)[N], std::uint8_t code)
{
    for (const CodeRow& row : table)
        if (code >= row.first && code <= row.last)
            return &row;
    return nullptr;
}

const VifeRow* findVife(std::uint8_t code)
{
    for (const VifeRow& row : kCombinable)
        if (code >= row.first && code <= row.last)
            return &row;
    return nullptr;
}

QString rowText(const CodeRow& row, std::uint8_t code)
{
    const char* text = row.texts[1] ? row.texts[code & 3] : row.texts[0];
    return QString::fromUtf8(text);
}

int rowExponent(const CodeRow& row, std::uint8_t code)
{
    switch (row.exp) {
    case Exp::None: return 0;
    case Exp::And1: return (code & 1) + row.offset;
    case Exp::And3: return (code & 3) + row.offset;
    case Exp::And7: return (code & 7) + row.offset;
    case Exp::AndF: return (code & 0x0F) + row.offset;
    }
    return 0;
}

}  // namespace

qint64 TMBusDecoder::Pow10_Int64(int n)
{
    n = std::clamp(n, 0, 18);
    qint64 v = 1;
    for (int i = 0; i < n; ++i)
        v *= 10;
    return v;
}

QString TMBusDecoder::Two_Digits(int value)
{
    QString s = QString::number(value);
    return s.size() == 1 ? QLatin1Char('0') + s : s;
}

qint64 TMBusDecoder::BCD_To_Int64(int n) const
{
    // Nine bytes are the most any coding asks for (LVAR C9h); more would overflow.
    n = std::clamp(n, 0, 9);
    qint64 value = 0;
    for (int i = 0; i < n; ++i) {
        const int lo = App_Data_Val[std::size_t(i)] & 0x0F;
        const int hi = App_Data_Val[std::size_t(i)] >> 4;
        value += lo * Pow10_Int64(2 * i);
        if (i == n - 1 && App_Data_Val[std::size_t(i)] >= 0xF0)
            return -value;
        value += hi * Pow10_Int64(2 * i + 1);
    }
    return value;
}

QString mbusValueText(long double value, QChar separator)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0)
        return QStringLiteral("0");
    // Whole numbers below 15 digits, the most common values, need no rounding.
    if (std::fabs(value) < 1e15L && value == std::trunc(value))
        return QString::number(qint64(value));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14Le", value);
    // buf: [-]d.dddddddddddddde[+-]xx
    const char* p = buf;
    QString out;
    if (*p == '-') {
        out += QLatin1Char('-');
        ++p;
    }
    QString digits;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits += QLatin1Char(*p);
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    if (exponent >= -5 && exponent < 15) {
        if (exponent >= 0) {
            QString whole = digits.left(exponent + 1);
            while (whole.size() < exponent + 1)
                whole += QLatin1Char('0');
            const QString fraction = digits.mid(exponent + 1);
            out += whole;
            if (!fraction.isEmpty())
                out += separator + fraction;
        } else {
            out += QLatin1Char('0') + QString(separator) + QString(-exponent - 1, QLatin1Char('0'))
                   + digits;
        }
        return out;
    }
    out += digits.left(1);
    if (digits.size() > 1)
        out += separator + digits.mid(1);
    return out + QStringLiteral("E%1").arg(exponent);
}

void TMBusDecoder::Decode_VIF(quint8 vif, quint8 vife, TVariable_MBus& var, int nByte, quint8 lvar,
                              quint8 dataField)
{
    const std::uint8_t* d = App_Data_Val.data();

    // Raw value by data coding, least significant byte first.
    long double raw = 0;
    auto signedLe = [d](int bytes) {
        quint64 u = 0;
        for (int i = bytes - 1; i >= 0; --i)
            u = (u << 8) | d[i];
        const int shift = 64 - 8 * bytes;
        return qint64(u << shift) >> shift;  // sign extension from the top byte
    };
    switch (dataField) {
    case 1: raw = signedLe(1); break;
    case 2: raw = signedLe(2); break;
    case 3: raw = signedLe(3); break;
    case 4: raw = signedLe(4); break;
    case 6: raw = signedLe(6); break;
    case 7: raw = signedLe(8); break;
    case 5: {
        quint32 bits = quint32(d[0]) | quint32(d[1]) << 8 | quint32(d[2]) << 16
                       | quint32(d[3]) << 24;
        float f;
        std::memcpy(&f, &bits, sizeof f);
        raw = f;
        break;
    }
    case 9:
    case 10:
    case 11:
    case 12:
    case 14: raw = BCD_To_Int64(dataField - 8); break;
    case 13:
        if (lvar >= 0xC0 && lvar <= 0xC9)
            raw = BCD_To_Int64(lvar - 0xC0);
        else if (lvar >= 0xD0 && lvar <= 0xD9)
            raw = -BCD_To_Int64(lvar - 0xD0);
        break;
    default: break;
    }

    auto twoDigitDate = [&](int day, int month, int year) {
        return Two_Digits(day) + QLatin1Char('/') + Two_Digits(month) + QLatin1Char('/')
               + Two_Digits(year);
    };
    auto dateG = [&]() {
        return twoDigitDate(d[0] & 0x1F, d[1] & 0x0F, ((d[0] & 0xE0) >> 5) | ((d[1] & 0xF0) >> 1));
    };
    auto dateF = [&]() {
        return twoDigitDate(d[2] & 0x1F, d[3] & 0x0F, ((d[2] & 0xE0) >> 5) | ((d[3] & 0xF0) >> 1))
               + QLatin1Char(' ') + Two_Digits(d[1] & 0x1F) + QLatin1Char(':')
               + Two_Digits(d[0] & 0x3F);
    };

    int exponent = 0;
    QString desc;
    std::optional<QString> text;
    int group = kNoGroup;
    int typeCode = 0;

    const std::uint8_t primary = vif & 0x7F;
    if (const CodeRow* row = findRow(kPrimary, primary)) {
        group = row->code;
        desc = rowText(*row, primary);
        exponent = rowExponent(*row, primary);
        if (row->special == Special::TimePoint) {
            switch (dataField) {
            case 2:
                desc = QStringLiteral("Time Point Date (Type G)");
                text = dateG();
                break;
            case 4:
                desc = QStringLiteral("Time Point Date and Time (Type F)");
                text = dateF();
                break;
            case 3:
                desc = QStringLiteral("Time Point Extended Time Point (Type J)");
                text = Two_Digits(d[2] & 0x1F) + QLatin1Char(':') + Two_Digits(d[1] & 0x3F)
                       + QLatin1Char(':') + Two_Digits(d[0] & 0x3F);
                break;
            case 6:
                desc = QStringLiteral("Time Point Extended Date and Time Point (Type I)");
                text = QString::fromLatin1(kWeekdays[(d[2] & 0xE0) >> 5])
                       + twoDigitDate(d[3] & 0x1F, d[4] & 0x0F,
                                      ((d[3] & 0xE0) >> 5) | ((d[4] & 0xF0) >> 1))
                       + QLatin1Char(' ') + Two_Digits(d[2] & 0x1F) + QLatin1Char(':')
                       + Two_Digits(d[1] & 0x3F) + QLatin1Char(':') + Two_Digits(d[0] & 0x3F);
                break;
            default: break;
            }
        } else if (row->special == Special::PlainText) {
            QString chars;
            for (int i = 0; i < nByte && i < int(App_Data_Val.size()); ++i)
                chars += d[i] < 0x20 ? QChar(u'?') : QChar(char16_t(d[i]));
            text = chars;
        }
    }

    // The extension tables replace text and scale, and give the type code.
    int firstCombinable = -1;
    if (vif == 0xFD || vif == 0xFB) {
        const std::uint8_t code = vife & 0x7F;
        const CodeRow* row = vif == 0xFD ? findRow(kExtensionFD, code)
                                         : findRow(kExtensionFB, code);
        if (row) {
            desc = rowText(*row, code);
            exponent = rowExponent(*row, code);
            typeCode = row->code;
        } else {
            desc = QStringLiteral("Reserved");
            exponent = 0;
        }
        if (vife & 0x80)
            firstCombinable = 1;
    } else if (vif >= 0x80 && vif <= 0xFC) {
        firstCombinable = 0;
    }

    if (firstCombinable >= 0) {
        const int count = int(App_Vife_Val.size());
        for (int i = firstCombinable; i < count; ++i) {
            std::uint8_t current = App_Vife_Val[std::size_t(i)];
            const std::uint8_t code = current & 0x7F;
            const VifeRow* row = findVife(code);
            if (!row) {
                desc += QStringLiteral(" - Reserved");
            } else {
                if (row->effect == Effect::Phase) {
                    // The phase code is the next VIFE, when the 7Ch announces one.
                    if ((current & 0x80) && i + 1 < count) {
                        current = App_Vife_Val[std::size_t(++i)];
                        for (const PhaseText& ph : kPhases)
                            if (ph.code == (current & 0x7F))
                                desc += QString::fromLatin1(ph.text);
                    }
                } else {
                    desc += QString::fromUtf8(row->texts[row->texts[1] ? code - row->first : 0]);
                    if (row->code >= 0 && typeCode == 0)
                        typeCode = row->code + (row->codeSteps ? code - row->first : 0);
                }
                switch (row->effect) {
                case Effect::DateValue:
                    if (dataField == 2)
                        text = dateG();
                    else if (dataField == 4)
                        text = dateF();
                    else
                        text.reset();
                    break;
                case Effect::Multiply: exponent += (code & 7) - 6; break;
                case Effect::Add: exponent += (code & 3) - 3; break;
                case Effect::Times1000: exponent += 3; break;
                default: break;
                }
            }
            if (!(current & 0x80))
                break;
        }
    }

    var.type_data = quint16(group);
    var.Type_Data_Vife = typeCode;
    var.Desc_Type_Data = desc;
    if (text) {
        var.ValueStr = *text;
        return;
    }
    long double value = raw;
    long double scale = 1;
    for (int i = 0; i < std::abs(exponent); ++i)
        scale *= 10;
    value = exponent >= 0 ? value * scale : value / scale;
    var.ValueStr = mbusValueText(value, decimalSeparator);
}

}  // namespace zfw
