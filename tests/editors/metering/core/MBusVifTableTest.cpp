// First and last code of every block of the VIF tables and of the combinable VIFEs. Each
// record holds the 8-bit value 1, so the value text shows the block's scale.

#include "editors/metering/core/MBusDecoder.h"

#include "MBusTestBytes.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace zfw {
namespace {

struct VifCase {
    std::string name;
    const char* vifs;  // VIF and VIFEs between DIF 01h and the data byte 01h
    const char* desc;
    int group;
    int code;
    const char* value;
};

void PrintTo(const VifCase& c, std::ostream* os) { *os << c.name; }

const VifCase kVifCases[] = {
    {"energyWhFirst", "00", "Energy Wh", 0, 0, "0.001"},
    {"energyWhLast", "07", "Energy Wh", 0, 0, "10000"},
    {"energyJFirst", "08", "Energy J", 1, 0, "1"},
    {"energyJLast", "0F", "Energy J", 1, 0, "10000000"},
    {"volumeFirst", "10", "Volume m3", 2, 0, "1E-6"},
    {"volumeLast", "17", "Volume m3", 2, 0, "10"},
    {"massFirst", "18", "Mass kg", 3, 0, "0.001"},
    {"massLast", "1F", "Mass kg", 3, 0, "10000"},
    {"onTimeFirst", "20", "On Time Seconds", 4, 0, "1"},
    {"onTimeLast", "23", "On Time Days", 4, 0, "1"},
    {"operatingFirst", "24", "Operating Time Seconds", 5, 0, "1"},
    {"operatingLast", "27", "Operating Time Days", 5, 0, "1"},
    {"powerWFirst", "28", "Power W", 6, 0, "0.001"},
    {"powerWLast", "2F", "Power W", 6, 0, "10000"},
    {"powerJhFirst", "30", "Power J/h", 7, 0, "1"},
    {"powerJhLast", "37", "Power J/h", 7, 0, "10000000"},
    {"flowFirst", "38", "Volume Flow m3/h", 8, 0, "1E-6"},
    {"flowLast", "3F", "Volume Flow m3/h", 8, 0, "10"},
    {"flowMinFirst", "40", "Volume Flow ext. m3/min", 9, 0, "1E-7"},
    {"flowMinLast", "47", "Volume Flow ext. m3/min", 9, 0, "1"},
    {"flowSecFirst", "48", "Volume Flow ext. m3/s", 10, 0, "1E-9"},
    {"flowSecLast", "4F", "Volume Flow ext. m3/s", 10, 0, "0.01"},
    {"massFlowFirst", "50", "Mass Flow kg/h", 11, 0, "0.001"},
    {"massFlowLast", "57", "Mass Flow kg/h", 11, 0, "10000"},
    {"flowTempFirst", "58", "Flow Temperature °C", 12, 0, "0.001"},
    {"flowTempLast", "5B", "Flow Temperature °C", 12, 0, "1"},
    {"returnTempFirst", "5C", "Return Temperature °C", 13, 0, "0.001"},
    {"returnTempLast", "5F", "Return Temperature °C", 13, 0, "1"},
    {"tempDiffFirst", "60", "Temperature Difference K", 14, 0, "0.001"},
    {"tempDiffLast", "63", "Temperature Difference K", 14, 0, "1"},
    {"externalTempFirst", "64", "External Temperature °C", 15, 0, "0.001"},
    {"externalTempLast", "67", "External Temperature °C", 15, 0, "1"},
    {"pressureFirst", "68", "Pressure bar", 16, 0, "0.001"},
    {"pressureLast", "6B", "Pressure bar", 16, 0, "1"},
    {"hca", "6E", "Units for H.C.A.", 22, 0, "1"},
    {"averagingFirst", "70", "Averaging Duration Seconds", 17, 0, "1"},
    {"averagingLast", "73", "Averaging Duration Days", 17, 0, "1"},
    {"actualityFirst", "74", "Actuality Duration Seconds", 18, 0, "1"},
    {"actualityLast", "77", "Actuality Duration Days", 18, 0, "1"},
    {"fabrication", "78", "Fabrication No", 23, 0, "1"},
    {"identification", "79", "Identification", 24, 0, "1"},
    {"busAddress", "7A", "Bus Address", 25, 0, "1"},
    {"vif7B", "7B", "", 19, 0, "1"},
    {"manufacturerSpecific", "7F", "Manufacturer Specific", 65535, 0, "1"},
    {"fdCreditFirst", "FD 00", "Credit of (currency units)", 19, 1, "0.001"},
    {"fdCreditLast", "FD 03", "Credit of (currency units)", 19, 1, "1"},
    {"fdDebitFirst", "FD 04", "Debit of (currency units)", 19, 2, "0.001"},
    {"fdUniqueId", "FD 08", "Unique message Identification", 19, 3, "1"},
    {"fdCustomerLocation", "FD 10", "Customer LOcation", 19, 11, "1"},
    {"fdSecurityKey", "FD 19", "Security Key", 19, 126, "1"},
    {"fdResponseDelay", "FD 1D", "Responce Delay Time [Bit-Times]", 19, 23, "1"},
    {"fdReserved23", "FD 23", "Reserved", 19, 0, "1"},
    {"fdStorageIntervalFirst", "FD 24", "Storage Interval Second(s)", 19, 28, "1"},
    {"fdStorageIntervalLast", "FD 27", "Storage Interval Day(s)", 19, 28, "1"},
    {"fdTariffDurationFirst", "FD 31", "Duration of Tariff Minute(s)", 19, 33, "1"},
    {"fdTariffDurationLast", "FD 33", "Duration of Tariff Day(s)", 19, 33, "1"},
    {"fdVoltsFirst", "FD 40", "Electric Units Volts", 19, 38, "1E-9"},
    {"fdVoltsLast", "FD 4F", "Electric Units Volts", 19, 38, "1000000"},
    {"fdAmpereFirst", "FD 50", "Electric Units A", 19, 39, "1E-12"},
    {"fdAmpereLast", "FD 5F", "Electric Units A", 19, 39, "1000"},
    {"fdBatteryFirst", "FD 6C", "Operating Time Battery Hour(s)", 19, 49, "1"},
    {"fdStopsLast", "FD 75", "Number Times the Meter Was Stopped", 19, 136, "1"},
    {"fdReservedFirst", "FD 76", "Reserved", 19, 0, "1"},
    {"fdReservedLast", "FD 7F", "Reserved", 19, 0, "1"},
    {"fbEnergyMWhFirst", "FB 00", "Energy MWh", 19, 51, "0.1"},
    {"fbEnergyMWhLast", "FB 01", "Energy MWh", 19, 51, "1"},
    {"fbReactiveLast", "FB 03", "Reactive Energy kVARh", 19, 137, "10"},
    {"fbReserved06", "FB 06", "Reserved", 19, 0, "1"},
    {"fbMcalFirst", "FB 0C", "Energy MCal", 19, 139, "0.1"},
    {"fbVolumeLast", "FB 11", "Volume m3", 19, 53, "1000"},
    {"fbTonnes", "FB 18", "Volume t", 19, 54, "100"},
    {"fbHumidity", "FB 1A", "Relative Humidity %", 19, 141, "0.1"},
    {"fbFeet", "FB 20", "Volume Feet 3", 19, 142, "1"},
    {"fbGallonPerHour", "FB 26", "Volume Flow 1 American Gallon/h", 19, 60, "1"},
    {"fbFlowTempF", "FB 58", "Flow Temperature °F", 19, 63, "0.001"},
    {"fbLimitC", "FB 77", "Cold / Warm Temperature Limit °C", 19, 68, "1"},
    {"fbActivePowerFirst", "FB 78", "Cum. Max. of Active Power W", 19, 69, "0.001"},
    {"fbActivePowerLast", "FB 7F", "Cum. Max. of Active Power W", 19, 69, "10000"},
    {"fbReserved38", "FB 38", "Reserved", 19, 0, "1"},
    {"vifeNone", "98 00", "Mass kg - None", 3, 108, "0.001"},
    {"vifeDataSize", "98 07", "Mass kg - Data Size not Implemented", 3, 115, "0.001"},
    {"vifeTooManyVifes", "98 0B", "Mass kg - Too Many VIFEs", 3, 116, "0.001"},
    {"vifeUnimplemented", "98 0F", "Mass kg - Unimplemented Action", 3, 120, "0.001"},
    {"vifeNoData", "98 15", "Mass kg - No Data Available (Undefined Value)", 3, 121, "0.001"},
    {"vifePremature", "98 1C", "Mass kg - Premature End of Record", 3, 125, "0.001"},
    {"vifePerSecond", "98 20", "Mass kg - Per Second", 3, 70, "0.001"},
    {"vifePerRevolution", "98 27", "Mass kg - Per Revolution / Measurement", 3, 77, "0.001"},
    {"vifeInputPulse", "98 29", "Mass kg - Increment per Input Pulse on Input Channel 1", 3, 78,
     "0.001"},
    {"vifeOutputPulse", "98 2A", "Mass kg - Increment per Output Pulse on Output Channel 0", 3, 79,
     "0.001"},
    {"vifePerLiter", "98 2C", "Mass kg - Per Liter", 3, 80, "0.001"},
    {"vifePerAmpere", "98 35", "Mass kg - Per (A) (Ampere)", 3, 89, "0.001"},
    {"vifeMultipliedS", "98 36", "Mass kg - Multiplied by s", 3, 90, "0.001"},
    {"vifeMultipliedSA", "98 38", "Mass kg - Multiplied by s / A", 3, 92, "0.001"},
    {"vifeBaseConditions", "98 3E", "Mass kg - Value at Base Conditions", 3, 148, "0.001"},
    {"vifeReserved3F", "98 3F", "Mass kg - Reserved", 3, 0, "0.001"},
    {"vifeUpperLimit", "98 48", "Mass kg - Upper Limit Value", 3, 97, "0.001"},
    {"vifeExceedsUpper", "98 49", "Mass kg - # of Exceeds of Upper Limit", 3, 98, "0.001"},
    {"vifeReserved44", "98 44", "Mass kg - Reserved", 3, 0, "0.001"},
    {"vifeDurationFirst", "98 50", "Mass kg - Duration 00 of First Lower Limit Exceed", 3, 100,
     "0.001"},
    {"vifeDurationLast", "98 5F", "Mass kg - Duration 03 of Last Upper Limit Exceed", 3, 100,
     "0.001"},
    {"vifeDurationOfFirst", "98 60", "Mass kg - Duration 00 of First", 3, 101, "0.001"},
    {"vifeDurationOfLast", "98 67", "Mass kg - Duration 03 of Last", 3, 101, "0.001"},
    {"vifeLowerExceedValue", "98 68", "Mass kg - Value During Lower Limit Exceed", 3, 149, "0.001"},
    {"vifeLeakage", "98 69", "Mass kg - Leakage Values", 3, 150, "0.001"},
    {"vifeOverflow", "98 6D", "Mass kg - Overflow Values", 3, 151, "0.001"},
    {"vifeFactorFirst", "98 70", "Mass kg - Moltiplicative Correction Factor: 10^(-6)", 3, 103,
     "1E-9"},
    {"vifeFactorLast", "98 77", "Mass kg - Moltiplicative Correction Factor: 10^(1)", 3, 103,
     "0.01"},
    {"vifeAdditiveLast", "98 7B", "Mass kg - Additive Correction Constant: 10^(0) * Unit of VIF", 3,
     104, "0.001"},
    {"vifeFuture", "98 7E", "Mass kg - Future Value", 3, 106, "0.001"},
    {"vifeManufacturer", "98 7F",
     "Mass kg - Next VIFEs and Data of This Block Are Manufacturer Specific", 3, 107, "0.001"},
    {"vifeNeutral", "98 FC 04", "Mass kg - At Neutral (N)", 3, 0, "0.001"},
    {"vifeAbsoluteCount", "98 FC 10",
     "Mass kg - Accumulation of abs. Value for Both Positive and Negative Contribution (Absolute "
     "Count)",
     3, 0, "0.001"},
    {"vifeAfterPhaseGoesOn", "98 FC 81 20", "Mass kg - At Phase L1 - Per Second", 3, 70, "0.001"},
    {"noCombinableAfterPlainFD", "FD 17", "Error Flag (Binary)", 19, 18, "1"},
    {"plainTextUnitWithVifes", "FC 01 41 20", "Vif in following String - Per Second", 21, 70, "?"},
};

class VifTable : public ::testing::TestWithParam<VifCase> {};

TEST_P(VifTable, Blocks)
{
    const VifCase& c = GetParam();
    const test::Bytes record = test::concat({{0x01}, test::hexBytes(c.vifs), {0x01}});
    std::vector<TVariable_MBus> list;
    TMBusDecoder decoder;
    decoder.Decode_Data_Records(list, record);
    ASSERT_FALSE(decoder.lastFault());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Desc_Type_Data, QString::fromUtf8(c.desc));
    EXPECT_EQ(list[0].type_data, c.group);
    EXPECT_EQ(list[0].Type_Data_Vife, c.code);
    EXPECT_EQ(list[0].ValueStr, QString::fromLatin1(c.value));
}

INSTANTIATE_TEST_SUITE_P(Codes, VifTable, ::testing::ValuesIn(kVifCases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace zfw
