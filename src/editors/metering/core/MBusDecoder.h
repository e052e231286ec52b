#pragma once
// The M-Bus application layer: the fixed header of a long frame, the variable data records
// (DIF, DIFE, VIF, VIFE, data) and what each record means (value, unit, description, group
// and type code). Window-free and thread-free: the scan engine hands it the bytes of one
// answer and gets the records back.
//
// Every read is bounded by the last data byte. A record that runs past it, carries more than
// 10 DIFEs or VIFEs, or a plain-text unit over 192 characters ends the parse as malformed
// (lastFault()); the records decoded before it stay in the list.

#include "common/ByteReader.h"
#include "editors/metering/core/MBusRecords.h"

#include <QChar>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace zfw {

enum class TMBusType { mtWired, mtWireless };

using TSlaveMBusList = std::vector<std::shared_ptr<TSlave_MBus>>;

class TMBusDecoder {
public:
    // decimalSeparator goes into value texts (the caller passes Get_Decimal_Separator()).
    explicit TMBusDecoder(QChar decimalSeparator = QChar(u'.'),
                          TMBusType type = TMBusType::mtWired);

    // Decodes a long frame (68h L L 68h C A CI, 12-byte header, records, CS, 16h) into the
    // slave at slaveIndex of list, or into a new slave appended to it when slaveIndex is
    // negative. Returns the slave's position; -1 when the frame is shorter than its header
    // plus checksum and stop byte, or slaveIndex names no slave (nothing is changed then).
    // complete receives false when the meter announced more records (DIF 1Fh).
    int Decode_Frame_Wired(std::span<const std::uint8_t> frame, TSlaveMBusList& list,
                           int slaveIndex, bool& complete);

    // Parses the records from the first to the last byte of data and appends the kept ones.
    // False when a DIF 1Fh was met, else true (a malformed record included, see lastFault).
    bool Decode_Data_Records(std::vector<TVariable_MBus>& list, std::span<const std::uint8_t> data);

    // Where the last parse stopped on a malformed record; offsets count from the start of the
    // bytes handed in (the frame for Decode_Frame_Wired). Empty after a clean parse.
    const std::optional<ParseFault>& lastFault() const { return m_fault; }

    // Fills type_data, Type_Data_Vife, Desc_Type_Data and ValueStr of var from the VIF, its
    // first VIFE and the scratch buffers App_Data_Val and App_Vife_Val.
    void Decode_VIF(quint8 vif, quint8 vife, TVariable_MBus& var, int nByte, quint8 lvar,
                    quint8 dataField);

    // Packed BCD in the first n bytes of App_Data_Val. A last byte of F0h or more negates
    // (its high nibble is not added); other nibbles above 9 count with their value.
    qint64 BCD_To_Int64(int n) const;
    // 10 to the power n, n from 0 to 18 (clamped).
    static qint64 Pow10_Int64(int n);
    // Decimal text with a leading "0" when it has one character.
    static QString Two_Digits(int value);

    static QString Desc_Medium(int code);
    // Three letters of a 16-bit manufacturer code (5 bits each, "A" = 1); "?" for any letter
    // outside A to Z.
    static QString Trova_Man(quint16 code);
    static QString Man_Letter(int value);

    TMBusType MBusType = TMBusType::mtWired;
    QChar decimalSeparator;

    // Scratch of the record being interpreted: its data bytes and its VIFEs, rest zero.
    std::array<quint8, 256> App_Data_Val{};
    std::array<quint8, 10> App_Vife_Val{};

private:
    std::optional<ParseFault> m_fault;
};

// A value as the scan shows it: at most 15 significant digits; fixed notation from 0.00001
// up to 15 integer digits, else "E" notation without "+" and without leading zeros in the
// exponent ("8E-6", "1.5E20"); separator as the decimal mark.
QString mbusValueText(long double value, QChar separator);

}  // namespace zfw
