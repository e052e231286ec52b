#include "editors/metering/core/MBusDecoder.h"

#include <algorithm>

namespace zfw {

namespace {

struct DataCoding {
    int bytes;
    const char* text;
    bool bcd;
};

// By data field (DIF and 0Fh); field 13 takes its length from LVAR.
constexpr DataCoding kDataCodings[16] = {
    {0, "", false},
    {1, "8 Bit Integer", false},
    {2, "16 Bit Integer", false},
    {3, "24 Bit Integer", false},
    {4, "32 Bit Integer", false},
    {4, "32 Bit Real", false},
    {6, "48 Bit Integer", false},
    {8, "64 Bit Integer", false},
    {0, "", false},
    {1, "2 Digit BCD", true},
    {2, "4 Digit BCD", true},
    {3, "6 Digit BCD", true},
    {4, "8 Digit BCD", true},
    {0, "", false},
    {6, "12 Digit BCD", true},
    {0, "Special Function", false},
};

struct Medium {
    int code;
    const char* text;
};

constexpr Medium kMedia[] = {
    {0x01, "Oil"},
    {0x02, "Electricity"},
    {0x03, "Gas"},
    {0x04, "Heat (outlet)"},
    {0x05, "Steam"},
    {0x06, "Hot Water"},
    {0x07, "Water"},
    {0x08, "Heat Cost Allocator."},
    {0x09, "Compressed Air"},
    {0x0A, "Cooling load meter (outlet)"},
    {0x0B, "Cooling load meter (inlet)"},
    {0x0C, "Heat (inlet) "},
    {0x0D, "Heat/Cooling load meter"},
    {0x0E, "Bus/System"},
    {0x0F, "Unknown Medium"},
    {0x16, "Cold Water"},
    {0x17, "Dual Water"},
    {0x18, "Pressure"},
    {0x19, "A/D Converter"},
};

constexpr const char* kFunctionTexts[4] = {"Istantaneous value", "Maximum value", "Minimum value",
                                           "Value during error state"};

constexpr int kMaxExtensions = 10;
constexpr int kMaxPlainUnit = 192;

void appendHex(QString& s, std::uint8_t b)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    s.append(QLatin1Char(kDigits[b >> 4]));
    s.append(QLatin1Char(kDigits[b & 0x0F]));
}

// "$" and two digits, with the blank that separates extension bytes when asked.
void appendDollarHex(QString& s, std::uint8_t b, bool blank)
{
    s.append(QLatin1Char('$'));
    appendHex(s, b);
    if (blank)
        s.append(QLatin1Char(' '));
}

// A text made of data bytes, one character per byte. Control characters, which no XML file
// can hold and which would make the scan report unsavable, show as "?".
QChar byteChar(std::uint8_t b) { return b < 0x20 ? QChar(u'?') : QChar(char16_t(b)); }

// Length and text of a variable-length field by its LVAR byte.
DataCoding variableCoding(std::uint8_t lvar, QString* text)
{
    if (lvar <= 0xBF) {
        *text = QStringLiteral("Variable Length - ASCII String with %1characters").arg(lvar);
        return {lvar, nullptr, false};
    }
    if (lvar <= 0xCF) {
        *text = QStringLiteral("Variable Length - Positive BCD Number with %1 digits")
                    .arg(2 * (lvar - 0xC0));
        return {lvar - 0xC0, nullptr, false};
    }
    if (lvar <= 0xDF) {
        *text = QStringLiteral("Variable Length - Negative BCD Number with %1 digits")
                    .arg(2 * (lvar - 0xD0));
        return {lvar - 0xD0, nullptr, false};
    }
    if (lvar <= 0xEF) {
        *text = QStringLiteral("Variable Length - Binary Number with %1 Bytes").arg(lvar - 0xE0);
        return {lvar - 0xE0, nullptr, false};
    }
    if (lvar <= 0xFA) {
        *text = QStringLiteral("Variable Length - Floating Point Number with %1 Bytes")
                    .arg(lvar - 0xF0);
        return {lvar - 0xF0, nullptr, false};
    }
    *text = QStringLiteral("Variable Length - Reserved");
    return {0, nullptr, false};
}

}  // namespace

TMBusDecoder::TMBusDecoder(QChar separator, TMBusType type)
    : MBusType(type), decimalSeparator(separator)
{
}

QString TMBusDecoder::Desc_Medium(int code)
{
    for (const Medium& m : kMedia)
        if (m.code == code)
            return QString::fromLatin1(m.text);
    return QStringLiteral("Other");
}

QString TMBusDecoder::Man_Letter(int value)
{
    if (value >= 65 && value <= 90)
        return QString(QChar(char16_t(value)));
    return QStringLiteral("?");
}

QString TMBusDecoder::Trova_Man(quint16 code)
{
    return Man_Letter(((code >> 10) & 0x1F) + 64) + Man_Letter(((code >> 5) & 0x1F) + 64)
           + Man_Letter((code & 0x1F) + 64);
}

int TMBusDecoder::Decode_Frame_Wired(std::span<const std::uint8_t> frame, TSlaveMBusList& list,
                                     int slaveIndex, bool& complete)
{
    constexpr std::size_t kRecordsStart = 19;
    m_fault.reset();
    complete = true;
    // Header, checksum and stop byte must be there; the caller has checked the frame's form.
    if (frame.size() < kRecordsStart + 2) {
        m_fault = ParseFault{frame.size(), "frame shorter than its fixed header"};
        return -1;
    }
    if (slaveIndex >= 0 && std::size_t(slaveIndex) >= list.size())
        return -1;
    if (slaveIndex < 0) {
        auto slave = std::make_shared<TSlave_MBus>();
        slave->Primary_Addresss = frame[5];
        const quint32 id = quint32(frame[7]) | quint32(frame[8]) << 8 | quint32(frame[9]) << 16
                           | quint32(frame[10]) << 24;
        slave->Secondary_Addresss = QStringLiteral("%1").arg(id, 8, 16, QChar(u'0')).toUpper();
        slave->Manufacture = frame[11] | frame[12] << 8;
        slave->descManufacture = Trova_Man(quint16(slave->Manufacture));
        slave->Version = frame[13];
        slave->Medium = frame[14];
        slave->descmedium = Desc_Medium(slave->Medium);
        slave->Status = frame[16];
        list.push_back(std::move(slave));
        slaveIndex = int(list.size()) - 1;
    }
    // Records from byte 19 up to the byte before the checksum.
    complete = Decode_Data_Records(list[std::size_t(slaveIndex)]->List_Var,
                                   frame.subspan(kRecordsStart, frame.size() - kRecordsStart - 2));
    if (m_fault)
        m_fault->offset += kRecordsStart;
    return slaveIndex;
}

bool TMBusDecoder::Decode_Data_Records(std::vector<TVariable_MBus>& list,
                                       std::span<const std::uint8_t> data)
{
    m_fault.reset();
    ByteReader r(data);
    auto malformed = [&](std::size_t offset, const char* what) {
        r.failAt(offset, what);
        m_fault = r.fault();
        return true;
    };
    while (!r.atEnd()) {
        const std::uint8_t dif = *r.u8();
        const std::uint8_t dataField = dif & 0x0F;
        // Manufacturer data follow (0Fh, 1Fh: more records in the next frame) or the record
        // is of a kind that ends the telegram.
        if (dif == 0x0F)
            return true;
        if (dif == 0x1F)
            return false;
        if (dataField == 0x0F && dif >= 0x3F && dif <= 0x7F)
            return true;

        const bool filler = dif == 0x2F;
        std::array<std::uint8_t, kMaxExtensions> difes{};
        std::array<std::uint8_t, kMaxExtensions> vifes{};
        int difeCount = 0;
        int vifeCount = 0;
        std::uint8_t vif = 0;
        QString plainUnit;
        if (!filler) {
            for (std::uint8_t last = dif; last & 0x80;) {
                if (difeCount == kMaxExtensions)
                    return malformed(r.pos(), "more than 10 DIFEs");
                const auto b = r.u8();
                if (!b)
                    return malformed(r.pos(), "record ends inside its DIFEs");
                last = difes[std::size_t(difeCount++)] = *b;
            }
            const auto v = r.u8();
            if (!v)
                return malformed(r.pos(), "record ends before its VIF");
            vif = *v;
            if ((vif & 0x7F) == 0x7C) {
                const std::size_t at = r.pos();
                const auto n = r.u8();
                if (!n)
                    return malformed(at, "record ends before its unit length");
                if (*n > kMaxPlainUnit)
                    return malformed(at, "plain-text unit longer than 192 characters");
                const auto text = r.bytes(*n);
                if (!text)
                    return malformed(r.pos(), "record ends inside its unit text");
                for (auto it = text->rbegin(); it != text->rend(); ++it)
                    plainUnit.append(byteChar(*it));
            }
            for (std::uint8_t last = vif; last & 0x80;) {
                if (vifeCount == kMaxExtensions)
                    return malformed(r.pos(), "more than 10 VIFEs");
                const auto b = r.u8();
                if (!b)
                    return malformed(r.pos(), "record ends inside its VIFEs");
                last = vifes[std::size_t(vifeCount++)] = *b;
            }
        }

        DataCoding coding = kDataCodings[dataField];
        QString dataFieldText = QString::fromLatin1(coding.text);
        std::uint8_t lvar = 0;
        if (dataField == 13) {
            const auto l = r.u8();
            if (!l)
                return malformed(r.pos(), "record ends before its LVAR");
            lvar = *l;
            coding = variableCoding(lvar, &dataFieldText);
        }
        const auto bytes = r.bytes(std::size_t(coding.bytes));
        if (!bytes)
            return malformed(r.pos(), "record runs past the last data byte");

        if (filler || (dif >= 0x8F && dataField == 0x0F)) {
            if (!(filler && MBusType == TMBusType::mtWireless))
                continue;
        }
        if (dataField == 8)
            return true;
        if ((vif & 0x7F) == 0x7E)
            return true;

        TVariable_MBus var;
        var.dimension = dataField;
        var.function_fild = (dif >> 4) & 3;
        qint64 storage = (dif >> 6) & 1;
        quint32 tariff = 0;
        quint16 subunit = 0;
        for (int i = 0; i < difeCount; ++i) {
            const std::uint8_t d = difes[std::size_t(i)];
            storage |= qint64(d & 0x0F) << (1 + 4 * i);
            tariff |= quint32((d >> 4) & 3) << (2 * i);
            subunit |= quint16(((d >> 6) & 1) << i);
            appendDollarHex(var.DIFE, d, true);
        }
        var.storage_number = storage;
        var.tarif = tariff;
        var.device = subunit;
        appendDollarHex(var.DIF, dif, false);
        var.VIF = vif;
        for (int i = 0; i < vifeCount; ++i)
            appendDollarHex(var.VIFE, vifes[std::size_t(i)], true);
        var.totdati.reserve(2 * qsizetype(bytes->size()));
        for (std::uint8_t b : *bytes)
            appendHex(var.totdati, b);
        var.nbyte = coding.bytes;
        var.Is_BCD = coding.bcd;
        var.Real_Wireless_Var = !filler;
        var.DataFieldStr = dataFieldText;
        if ((vif & 0x7F) == 0x7C)
            var.VIF_ASCII = plainUnit;

        App_Data_Val.fill(0);
        std::copy(bytes->begin(), bytes->end(), App_Data_Val.begin());
        App_Vife_Val.fill(0);
        std::copy(vifes.begin(), vifes.begin() + vifeCount, App_Vife_Val.begin());
        Decode_VIF(vif, vifes[0], var, coding.bytes, lvar, dataField);
        var.FunctionFieldStr = QString::fromLatin1(kFunctionTexts[var.function_fild]);
        list.push_back(std::move(var));
    }
    return true;
}

}  // namespace zfw
