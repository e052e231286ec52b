// The checks of the J1939, KNX and NMEA 2000 rule tables: one table of (table, cells, exact
// message) over the edges that matter, with the running totals of the data areas.

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "editors/fieldbus/core/UJ1939RuleSpec.h"
#include "editors/fieldbus/core/UKNXRuleSpec.h"
#include "editors/fieldbus/core/UNMEARuleSpec.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <functional>

namespace zfw {
namespace {

enum class Table { J1939Receive, J1939Transmit, KnxDot, KnxComma, NmeaReceive, NmeaTransmit };

RuleFileSpec specOf(Table t)
{
    switch (t) {
    case Table::J1939Receive: return j1939ReceiveSpec();
    case Table::J1939Transmit: return j1939TransmitSpec();
    case Table::KnxDot: return knxRuleSpec(QLatin1Char('.'));
    case Table::KnxComma: return knxRuleSpec(QLatin1Char(','));
    case Table::NmeaReceive: return nmeaReceiveSpec();
    case Table::NmeaTransmit: return nmeaTransmitSpec();
    }
    return {};
}

void setRow(RuleTable& t, int row, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c)
        t.setCell(c + 1, row, cells[c]);
}

// Valid rules, columns 1 on.
QStringList j1939Rx(const char* start = "", const char* count = "", const char* tp = "N")
{
    return {"0", "61444", "0", tp, start, count, "N", "N", "", ""};
}
QStringList j1939Tx(const char* count = "8")
{
    return {"6", "0", "65226", "0", count, "N", "N", "N", "", ""};
}
QStringList nmeaRx(const char* start = "", const char* count = "", const char* tp = "N",
                   const char* fp = "N")
{
    return {"127250", "1", tp, fp, start, count, "N", ""};
}
QStringList nmeaTx(const char* count = "8")
{
    return {"2", "127250", "1", "N", count, "N", "N", "N", "", ""};
}
QStringList knx(const char* position = "0", const char* bitMode = "No", const char* length = "2")
{
    return {"Y", "1.1.1", "1/2/3", "Write", "Normal", "None",  "",     "N", "N",
            "N", "N",     "N",     "",      position, bitMode, length, "0", ""};
}

// The rule with column c (1 on) replaced.
QStringList with(QStringList rule, int c, const char* text)
{
    rule[c - 1] = QString::fromUtf8(text);
    return rule;
}

using Fill = std::function<void(RuleTable&)>;

Fill rows(std::vector<QStringList> list)
{
    return [list](RuleTable& t) {
        for (std::size_t i = 0; i < list.size(); ++i)
            setRow(t, int(i) + 1, list[i]);
    };
}

// count copies of rule from row 1, then the rules of tail.
Fill repeated(QStringList rule, int count, std::vector<QStringList> tail = {})
{
    return [rule, count, tail](RuleTable& t) {
        for (int r = 1; r <= count; ++r)
            setRow(t, r, rule);
        for (std::size_t i = 0; i < tail.size(); ++i)
            setRow(t, count + 1 + int(i), tail[i]);
    };
}

struct CheckCase {
    const char* name;
    Table table;
    Fill fill;
    const char* message;  // empty: every rule passes
};

const CheckCase kCheckCases[] = {
    // J1939 received frames: 1440 bytes.
    {"J1939Rx180WholeFramesFillTheArea", Table::J1939Receive, repeated(j1939Rx(), 180), ""},
    {"J1939Rx181stWholeFrame", Table::J1939Receive, repeated(j1939Rx(), 181),
     "Error!! Too many bytes of data, the max number is 1440"},
    // A part of a frame counts N Byte + 8: 11 + 178 x 8 = 1435 passes, one more part does not.
    {"J1939RxPartOfAFrameCountsNBytePlus8", Table::J1939Receive,
     repeated(j1939Rx(), 178, {j1939Rx("2", "3"), j1939Rx("2", "3")}),
     "Error!! Too many bytes of data, the max number is 1440"},
    {"J1939RxPartOfAFrameWithRoomLeft", Table::J1939Receive,
     repeated(j1939Rx(), 178, {j1939Rx("2", "3")}), ""},
    {"J1939RxStart7Count2", Table::J1939Receive, rows({j1939Rx("7", "2")}),
     "Error in row 1!! The Number Bytes plus Start Byte must be minor of 9"},
    {"J1939RxStart9", Table::J1939Receive, rows({j1939Rx("9", "1")}),
     "Error in row 1!! The Start Byte must be between 1 and 8"},
    {"J1939RxCount0", Table::J1939Receive, rows({j1939Rx("1", "0")}),
     "Error in row 1!! The Number Bytes must be between 1 and 8"},
    {"J1939RxOnlyStartGiven", Table::J1939Receive, rows({j1939Rx(), j1939Rx("3", " ")}),
     "Error in row 2!! Start Byte and Number Bytes must be both compiled"},
    {"J1939RxTransportStart1785Count0", Table::J1939Receive, rows({j1939Rx("1785", "0", "Y")}), ""},
    {"J1939RxTransportPastTheMessage", Table::J1939Receive, rows({j1939Rx("1785", "1", "Y")}),
     "Error in row 1!! Start Byte plus Number Bytes must be between 0 and 1785"},
    {"J1939RxTransportStart1786", Table::J1939Receive, rows({j1939Rx("1786", "0", "Y")}),
     "Error in row 1!! Start Byte must be between 0 and 1785"},
    {"J1939RxTransportFlagExactY", Table::J1939Receive, rows({j1939Rx("1785", "0", "y")}),
     "Error in row 1!! The Start Byte must be between 1 and 8"},
    {"J1939RxOnRequestTime1", Table::J1939Receive, rows({with(with(j1939Rx(), 8, "Y"), 9, "1")}),
     "Error in row 1!! Time(ms) must be between 0 and 10000000"},
    {"J1939RxOnRequestTime2", Table::J1939Receive, rows({with(with(j1939Rx(), 8, "Y"), 9, "2")}),
     ""},
    {"J1939RxTimeUncheckedWithoutRequest", Table::J1939Receive, rows({with(j1939Rx(), 9, "1")}),
     ""},
    {"J1939RxPgn0x1FFFF", Table::J1939Receive, rows({with(j1939Rx(), 2, "0x1FFFF")}),
     "Error in row 1!! PGN must be between 0x0000 and 0xFFFF"},
    {"J1939RxNoDataPage", Table::J1939Receive, rows({with(j1939Rx(), 1, " ")}),
     "Error in row 1!! Data Page must be 0 or 1"},
    {"J1939RxBlankPgnIsARule", Table::J1939Receive, rows({j1939Rx(), with(j1939Rx(), 2, " ")}),
     "Error in row 2!! PGN must be between 0x0000 and 0xFFFF"},
    {"J1939RxSourceAddress240", Table::J1939Receive, rows({with(j1939Rx(), 3, "240")}),
     "Error in row 1!! Source Address must be between 0 and 239"},
    {"J1939RxListEndsAtEmptyPgn", Table::J1939Receive,
     rows({j1939Rx(), with(j1939Rx(), 2, ""), with(j1939Rx(), 3, "999")}), ""},
    // J1939 transmitted frames: 512 bytes.
    {"J1939TxPgn0x1FFFF", Table::J1939Transmit, rows({with(j1939Tx(), 3, "0x1FFFF")}), ""},
    {"J1939TxNBytes0", Table::J1939Transmit, rows({j1939Tx("0")}),
     "Error in row 1!! Num Byte must be between 0 and 512"},
    {"J1939TxNBytes512", Table::J1939Transmit, rows({j1939Tx("512")}), ""},
    {"J1939TxTwoOf256FillTheArea", Table::J1939Transmit, rows({j1939Tx("256"), j1939Tx("256")}),
     ""},
    {"J1939TxOneByteTooMany", Table::J1939Transmit,
     rows({j1939Tx("256"), j1939Tx("256"), j1939Tx("1")}),
     "Error!! Too many bytes of data, the max number is 512"},
    {"J1939TxPriority8", Table::J1939Transmit, rows({with(j1939Tx(), 1, "8")}),
     "Error in row 1!! Priority must be between 0 and 7"},
    {"J1939TxNoDataPage", Table::J1939Transmit, rows({with(j1939Tx(), 2, "")}),
     "Error in row 1!! Data Page must be 0 or 1"},
    {"J1939TxSourceAddress255", Table::J1939Transmit, rows({with(j1939Tx(), 4, "255")}), ""},
    {"J1939TxSendTimer0", Table::J1939Transmit, rows({with(with(j1939Tx(), 8, "Y"), 9, "0")}),
     "Error in row 1!! Send Timer must be between 1 and 65535 ms"},
    {"J1939TxRowsAfterAnEmptyPgnUnchecked", Table::J1939Transmit,
     rows({j1939Tx(), with(j1939Tx(), 3, ""), j1939Tx("999")}), ""},
    // KNX: a data array of 1500 bytes.
    {"KnxBitModeStart7Length2At1498", Table::KnxDot, rows({knx("1498", "7", "2")}), ""},
    {"KnxBitModeStart7Length2At1499", Table::KnxDot, rows({knx("1499", "7", "2")}),
     "Error row 1!! [KNX in Write] Position plus Length must be minor or equal to 1500"},
    {"KnxByteModeLength14", Table::KnxDot, rows({knx("0", "No", "14")}), ""},
    {"KnxByteModeLength15", Table::KnxDot, rows({knx("0", "no", "15")}),
     "Error row 1!! [KNX in Write] Length must be between 1 and 14"},
    {"KnxExtendedByteModeLength256", Table::KnxDot, rows({with(knx("0", "No", "256"), 8, "y")}),
     "Error row 1!! [KNX in Write] Length must be between 1 and 255"},
    {"KnxBitModeLength113", Table::KnxDot, rows({knx("0", "0", "113")}),
     "Error row 1!! [KNX in Write] Length must be between 1 and 112"},
    {"KnxExtendedBitModeLength2040", Table::KnxDot, rows({with(knx("0", "0", "2040"), 8, "Y")}),
     ""},
    {"KnxBitMode8", Table::KnxDot, rows({knx("0", "8", "1")}),
     "Error row 1!! [KNX in Write] Bit Mode must be \"No\" or between 0 and 7"},
    {"KnxPosition1500", Table::KnxDot, rows({knx("1500", "No", "1")}),
     "Error row 1!! [KNX in Write] Position must be between 0 and 1499"},
    {"KnxApciReadAnyCase", Table::KnxDot, rows({with(knx(), 4, "read")}), ""},
    {"KnxApci1023", Table::KnxDot, rows({with(knx(), 4, "1023")}), ""},
    {"KnxApci1024", Table::KnxDot, rows({with(knx(), 4, "1024")}),
     "Error row 1!! [KNX in Write] APCI must be between 0 and 1023 or use the value Read or "
     "Write"},
    {"KnxPriorityLowerCase", Table::KnxDot, rows({with(knx(), 5, "normal")}),
     "Error row 1!! [KNX in Write] Priority must be System or Urgent or Normal or Low"},
    {"KnxSourceZero", Table::KnxDot, rows({with(knx(), 2, "0.0.0")}), ""},
    {"KnxSourceTwoParts", Table::KnxDot, rows({with(knx(), 2, "1.1")}),
     "Error row 1!! [KNX in Write] Source Address must be a valid KNX Address (Ex. 1.1.20)"},
    {"KnxDestinationTwoPartGroup", Table::KnxDot, rows({with(knx(), 3, "1/2000")}), ""},
    {"KnxDestinationIndividual", Table::KnxDot, rows({with(knx(), 3, " 1.1.20 ")}), ""},
    {"KnxDestinationNumber", Table::KnxDot, rows({with(knx(), 3, "4660")}), ""},
    {"KnxDestinationGroupMiddle8", Table::KnxDot, rows({with(knx(), 3, "1/8/1")}),
     "Error row 1!! [KNX in Write] Destination Address must be a valid KNX Address (Ex. "
     "230.240)"},
    {"KnxDestinationIndividual256", Table::KnxDot, rows({with(knx(), 3, "1.1.256")}),
     "Error row 1!! [KNX in Write] Destination Address must be a valid KNX Address (Ex. 1.1.20)"},
    {"KnxPollTimeUncheckedWithoutTimer", Table::KnxDot, rows({knx()}), ""},
    {"KnxPollTimeCheckedWithLowerY", Table::KnxDot, rows({with(knx(), 12, "y")}),
     "Error row 1!! [KNX in Write] Poll Time must be between 1 and 100000000"},
    {"KnxEmptyTimeOut", Table::KnxDot, rows({with(knx(), 17, "")}),
     "Error row 1!! [KNX in Write] TimeOut must be between 0 and 100000000 milliseconds"},
    {"KnxFactorNotANumber", Table::KnxDot, rows({with(knx(), 7, "abc")}),
     "Error row 1!! [KNX in Write] Mul. Factor must be a valid Float"},
    {"KnxFactorWithComma", Table::KnxDot, rows({with(knx(), 7, "1,5")}), ""},
    {"KnxFactorWithDotAndCommaSeparator", Table::KnxComma, rows({with(knx(), 7, "0.25")}), ""},
    {"KnxDisabledRuleUnchecked", Table::KnxDot,
     rows({with(with(knx(), 1, "N"), 2, "x"), with(with(knx(), 1, "y"), 2, "x")}), ""},
    {"KnxRowTwoFails", Table::KnxDot, rows({knx(), with(knx(), 6, " ")}),
     "Error row 2!! [KNX in Write] Format is not correct"},
    // NMEA 2000 received frames: 512 bytes.
    {"NmeaRx62WholeFrames", Table::NmeaReceive, repeated(nmeaRx(), 62), ""},
    {"NmeaRxFastPacket200Plus23", Table::NmeaReceive, rows({nmeaRx("200", "23", "N", "Y")}), ""},
    {"NmeaRxFastPacket200Plus24", Table::NmeaReceive, rows({nmeaRx("200", "24", "N", "Y")}),
     "Error in row 1!! Start Byte plus Number Bytes must be between 0 and 223"},
    {"NmeaRxFastPacketStart224", Table::NmeaReceive, rows({nmeaRx("224", "0", "N", "Y")}),
     "Error in row 1!! Start Byte must be between 0 and 223"},
    {"NmeaRxBothFlagsCheckedAsTransport", Table::NmeaReceive,
     rows({nmeaRx("1000", "500", "Y", "Y")}), ""},
    {"NmeaRxPartOfAFrameCountsNBytePlus8", Table::NmeaReceive,
     rows({nmeaRx("0", "500", "Y"), nmeaRx("2", "3"), nmeaRx("2", "3")}),
     "Error!! Too many bytes of data, the max number is 512"},
    {"NmeaRxTransportBeyondTheArea", Table::NmeaReceive, rows({nmeaRx("0", "513", "Y")}),
     "Error!! Too many bytes of data, the max number is 512"},
    {"NmeaRxSingleStart0", Table::NmeaReceive, rows({nmeaRx("0", "1")}),
     "Error in row 1!! The Start Byte must be between 1 and 8"},
    {"NmeaRxSourceAddress240", Table::NmeaReceive, rows({with(nmeaRx(), 2, "240")}),
     "Error in row 1!! Source Address must be between 0 and 239"},
    // NMEA 2000 transmitted frames: 512 bytes.
    {"NmeaTxNumByte0", Table::NmeaTransmit, rows({nmeaTx("0")}), ""},
    {"NmeaTxNumByte513", Table::NmeaTransmit, rows({nmeaTx("513")}),
     "Error in row 1!! Num Byte must be between 0 and 512"},
    {"NmeaTxTotal", Table::NmeaTransmit, rows({nmeaTx("500"), nmeaTx("13")}),
     "Error!! Too many bytes of data, the max number is 512"},
    {"NmeaTxSendTimer0", Table::NmeaTransmit, rows({with(with(nmeaTx(), 8, "Y"), 9, "0")}),
     "Error in row 1!! Send Timer must be between 1 and 65535 ms"},
    {"NmeaTxSourceAddress240", Table::NmeaTransmit, rows({with(nmeaTx(), 3, "240")}),
     "Error in row 1!! Source Address must be between 0 and 239"},
};

class RuleChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(RuleChecks, FirstFaultGivesItsExactMessage)
{
    const CheckCase& c = GetParam();
    ProgramState lang;
    Fill_Default_Language(lang);
    RuleFile file(specOf(c.table));
    c.fill(file.tables[0]);
    const RuleFault fault = Controllo_dati(file);
    EXPECT_EQ(ruleFaultMessage(fault, file.spec, lang).toStdString(), std::string(c.message));
}

INSTANTIATE_TEST_SUITE_P(Tables, RuleChecks, ::testing::ValuesIn(kCheckCases), test::CaseName());

}  // namespace
}  // namespace zfw
