#include "editors/metering/core/WMBusIntake.h"

#include <algorithm>
#include <optional>

namespace zfw {

namespace {

constexpr std::uint8_t kFiller = 0x2F;

// The telegram as the intake sees it: bytes (decrypted in place) and the index of the last
// byte that may hold data records (the signal strength and, for Telit, one more byte follow).
struct Telegram {
    std::vector<std::uint8_t> bytes;
    std::size_t last = 0;  // inclusive; records never reach past it

    // A byte inside the data part; nullopt outside it.
    std::optional<std::uint8_t> at(std::size_t i) const
    {
        if (i > last || i >= bytes.size())
            return std::nullopt;
        return bytes[i];
    }
    bool is(std::size_t i, std::uint8_t v) const { return at(i) == v; }
    bool fillers(std::size_t i) const { return is(i, kFiller) && is(i + 1, kFiller); }
    int mode(std::size_t cfgHigh) const { return at(cfgHigh) ? (*at(cfgHigh) & 0x0F) : -1; }
};

struct Readable {
    bool readable = false;
    std::size_t start = 0;
    bool hasRecords = true;
};

// Which telegrams can be read and where their records start.
Readable readability(const Telegram& t)
{
    auto shortOrLong = [&](std::size_t cfgHigh, std::size_t first, bool needMode5) {
        const int m = t.mode(cfgHigh);
        const bool plain = t.fillers(first);
        const bool ok = m == 0 || (needMode5 ? (m == 5 && plain) : plain);
        return Readable{ok && m >= 0, first, true};
    };
    const auto ci = t.at(10);
    if (!ci)
        return {};
    switch (*ci) {
    case 0x7A: return shortOrLong(14, 15, true);
    case 0x72:
        // The long header's mode is not asked for: fillers alone make it readable.
        return shortOrLong(22, 23, false);
    case 0x8C:
        if (t.is(13, 0x78))
            return {true, 14, true};
        if (t.is(13, 0x7A))
            return shortOrLong(17, 18, true);
        if (t.is(13, 0x72))
            return shortOrLong(25, 26, true);
        if (t.is(13, 0x90) && t.at(14)) {
            const std::size_t afll = *t.at(14);
            // The transport CI follows the layer, at AFLL + 15 (byte 30 with the usual
            // 15-byte layer).
            if (t.is(afll + 15, 0x7A))
                return {t.fillers(afll + 21), afll + 21, true};
            if (t.is(afll + 15, 0x72))
                return {t.fillers(afll + 29), afll + 29, true};
        }
        return {};
    case 0x8D:
        if (t.is(19, 0x78))
            return {true, 20, true};
        if (t.is(19, 0x7A))
            return shortOrLong(23, 24, true);
        if (t.is(19, 0x72))
            return shortOrLong(31, 32, true);
        if (t.is(19, 0x90) && t.at(14)) {
            const std::size_t afll = *t.at(14);
            // Readable, but no record layout is known for it.
            return {t.fillers(afll + 21), 0, false};
        }
        return {};
    default: return {};
    }
}

enum class Attempt { NotTried, Decrypted, Failed, OutOfRange };

// Security mode 5 behind CI 8Ch: AES-CBC under the meter's key, IV from the link-layer
// address and the access number. No check of its own; readability decides.
Attempt tryMode5(Telegram& t, const TSlave_wMBus& meter, const MBusAes& aes)
{
    if (!t.is(10, 0x8C) || !t.is(13, 0x7A) || !t.at(17) || (*t.at(17) & 5) != 5 || t.fillers(18))
        return Attempt::NotTried;
    const std::size_t len = t.at(16).value_or(0) & 0xF0;
    if (len == 0)
        return Attempt::Decrypted;
    if (!t.at(18 + len - 1))
        return Attempt::OutOfRange;
    AesBlock iv{};
    std::copy(t.bytes.begin() + 2, t.bytes.begin() + 10, iv.begin());
    std::fill(iv.begin() + 8, iv.end(), t.bytes[14]);
    const auto plain = aes.cbcDecrypt(meter.Key, iv, std::span(t.bytes).subspan(18, len));
    if (!plain)
        return Attempt::Failed;
    std::copy(plain->begin(), plain->end(), t.bytes.begin() + 18);
    return Attempt::Decrypted;
}

// Security mode 7 behind CI 8Ch and an authentication and fragmentation layer: the key is
// derived by AES-CMAC from the message counter and the link-layer identification; the plain
// text must begin with 2Fh 2Fh. The MAC is skipped, not verified.
Attempt tryMode7(Telegram& t, const TSlave_wMBus& meter, const MBusAes& aes)
{
    if (!t.is(10, 0x8C) || !t.is(13, 0x90) || !t.at(14))
        return Attempt::NotTried;
    const std::size_t afll = *t.at(14);
    auto allSet = [&](std::size_t i) { return t.at(i) && (*t.at(i) & 7) == 7; };
    auto notFiller = [&](std::size_t i) { return t.at(i) && *t.at(i) != kFiller; };
    const bool shortHeader = t.is(afll + 15, 0x7A) && allSet(afll + 19) && notFiller(afll + 21)
                             && notFiller(afll + 22);
    const bool longHeader = t.is(afll + 15, 0x72) && allSet(afll + 27) && notFiller(afll + 29)
                            && notFiller(afll + 30);
    if (!shortHeader && !longHeader)
        return Attempt::NotTried;

    ByteReader r(std::span(t.bytes).first(t.last + 1));
    r.skip(15);
    const std::uint16_t fcl = r.u16le().value_or(0);
    int authType = -1;
    if (fcl & (1u << 13))
        authType = r.u8().value_or(0) & 0x0F;
    if (fcl & (1u << 9))
        r.skip(2);
    std::array<std::uint8_t, 4> counter{};
    if (fcl & (1u << 11)) {
        if (const auto c = r.bytes(4))
            std::copy(c->begin(), c->end(), counter.begin());
    }
    if (fcl & (1u << 10)) {
        static constexpr int kMacLength[] = {0, -1, -1, 2, 4, 8, 12, 16, 12};
        if (authType >= 0 && authType < int(std::size(kMacLength)) && kMacLength[authType] >= 0)
            r.skip(std::size_t(kMacLength[authType]));
    }
    if (fcl & (1u << 12))
        r.skip(2);
    const auto tci = r.u8();
    if (tci == 0x72)
        r.skip(8);
    else if (tci && *tci != 0x7A)
        return Attempt::NotTried;
    r.skip(2);  // access number, status
    const std::uint8_t cfgLow = r.u8().value_or(0);
    const auto cfgHigh = r.u8();
    if (r.failed())
        return Attempt::OutOfRange;
    if (!cfgHigh || (*cfgHigh & 0x1F) != 7)
        return Attempt::NotTried;
    r.skip(1);  // configuration extension
    if (*cfgHigh & 0x20)
        r.skip(4);
    const std::size_t start = r.pos();
    const std::size_t len = cfgLow & 0xF0;
    if (r.failed() || (len > 0 && !r.bytes(len)))
        return Attempt::OutOfRange;
    if (t.is(start, kFiller) || t.is(start + 1, kFiller))
        return Attempt::NotTried;  // already plain

    std::array<std::uint8_t, 16> message{};
    message[0] = 0x00;
    std::copy(counter.begin(), counter.end(), message.begin() + 1);
    std::copy(t.bytes.begin() + 4, t.bytes.begin() + 8, message.begin() + 5);
    std::fill(message.begin() + 9, message.end(), 0x07);
    const auto derived = aes.cmac(meter.Key, message);
    if (!derived)
        return Attempt::Failed;
    const auto plain = aes.cbcDecrypt(*derived, AesBlock{}, std::span(t.bytes).subspan(start, len));
    if (!plain || plain->size() < 2 || (*plain)[0] != kFiller || (*plain)[1] != kFiller)
        return Attempt::Failed;
    std::copy(plain->begin(), plain->end(), t.bytes.begin() + std::ptrdiff_t(start));
    return Attempt::Decrypted;
}

quint16 le16(const std::vector<std::uint8_t>& b, std::size_t i)
{
    return quint16(b[i] | b[i + 1] << 8);
}

qint32 le32(const std::vector<std::uint8_t>& b, std::size_t i)
{
    return qint32(quint32(b[i]) | quint32(b[i + 1]) << 8 | quint32(b[i + 2]) << 16
                  | quint32(b[i + 3]) << 24);
}

}  // namespace

TWMBusIntake::TWMBusIntake(QChar decimalSeparator)
    : m_decoder(decimalSeparator, TMBusType::mtWireless)
{
}

int TWMBusIntake::Find_Slave_Wireless(const TSlaveWMBusList& list, quint16 manufacturer, qint32 id,
                                      quint8 deviceType, quint8 version)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        const TSlave_wMBus& s = *list[i];
        if (s.ALA_Manufacturer == manufacturer && s.ALA_Address == id
            && s.ALA_DeviceType == deviceType && s.ALA_Version == version)
            return int(i);
    }
    return -1;
}

QByteArray TWMBusIntake::HexStr_To_Bin(const QString& text)
{
    QByteArray out;
    for (qsizetype i = 0; i + 1 < text.size(); i += 2) {
        bool ok = false;
        const uint v = text.mid(i, 2).toUInt(&ok, 16);
        out.append(char(ok ? v : 0));
    }
    return out;
}

WirelessIntake TWMBusIntake::Decode_Frame_Wireless(std::span<const std::uint8_t> telegram,
                                                   TRadioModule module, TSlaveWMBusList& list,
                                                   const QDateTime& now)
{
    WirelessIntake result;
    Telegram t;
    t.bytes.assign(telegram.begin(), telegram.end());
    const std::size_t tail = module == TRadioModule::rmTelit ? 3 : 2;
    const std::uint8_t ci = telegram.size() > 10 ? telegram[10] : 0;
    const bool sameAddress = ci == 0x7A || ci == 0x8C || ci == 0x8D;
    // The link-layer address, the CI field and, for other CI fields, the long header's
    // address must lie before the signal strength.
    const std::size_t needed = (sameAddress ? 11 : 19) + tail - 1;
    if (telegram.size() < needed) {
        result.fault = ParseFault{telegram.size(), "telegram shorter than its addresses"};
        return result;
    }
    t.last = telegram.size() - tail;
    const std::vector<std::uint8_t>& b = t.bytes;

    const std::uint8_t s = b.back();
    const qint8 rssi = module == TRadioModule::rmRadioCrafts ? qint8(qint8(s) / 2 + 1)
                                                             : qint8(-int(s) - 2);
    const quint16 llaMan = le16(b, 2);
    const qint32 llaId = le32(b, 4);
    quint16 alaMan = llaMan;
    qint32 alaId = llaId;
    quint8 alaVer = b[8];
    quint8 alaType = b[9];
    if (!sameAddress) {
        alaId = le32(b, 11);
        alaMan = le16(b, 15);
        alaVer = b[17];
        alaType = b[18];
    }

    int index = Find_Slave_Wireless(list, alaMan, alaId, alaType, alaVer);
    Attempt attempt = Attempt::NotTried;
    if (index < 0) {
        // A meter heard for the first time: no key is known yet.
        auto meter = std::make_shared<TSlave_wMBus>();
        meter->Message_Type = b[1];
        meter->LLA_Manufacturer = llaMan;
        meter->LLA_Manu_str = TMBusDecoder::Trova_Man(llaMan);
        meter->LLA_Address = llaId;
        meter->LLA_Version = b[8];
        meter->LLA_DeviceType = b[9];
        meter->ALA_Manufacturer = alaMan;
        meter->ALA_Manu_str = TMBusDecoder::Trova_Man(alaMan);
        meter->ALA_Address = alaId;
        meter->ALA_Version = alaVer;
        meter->ALA_DeviceType = alaType;
        meter->RSSI = rssi;
        meter->RadioCrafts_Ind_Tab_Decript = -1;
        list.push_back(std::move(meter));
        index = int(list.size()) - 1;
        result.created = true;
    } else if (list[std::size_t(index)]->Enable_Key) {
        const TSlave_wMBus& meter = *list[std::size_t(index)];
        attempt = tryMode5(t, meter, m_aes);
        if (attempt == Attempt::NotTried)
            attempt = tryMode7(t, meter, m_aes);
    }
    result.index = index;
    TSlave_wMBus& meter = *list[std::size_t(index)];
    if (attempt == Attempt::Failed && t.is(10, 0x8C) && t.is(13, 0x90)) {
        result.decryptFailed = true;
        return result;
    }

    meter.Cancel_Var();
    meter.DateTime = now;
    meter.RSSI = rssi;
    result.updated = true;
    const Readable r = attempt == Attempt::OutOfRange ? Readable{} : readability(t);
    if (attempt == Attempt::OutOfRange)
        result.fault = ParseFault{t.last + 1, "cipher text runs past the telegram"};
    if (!r.readable) {
        meter.Cripted = true;
        return result;
    }
    meter.Cripted = false;
    if (r.hasRecords && r.start <= t.last) {
        m_decoder.Decode_Data_Records(meter.List_Var,
                                      std::span(t.bytes).subspan(r.start, t.last + 1 - r.start));
        if (m_decoder.lastFault()) {
            ParseFault f = *m_decoder.lastFault();
            f.offset += r.start;
            result.fault = f;
        }
    }
    return result;
}

}  // namespace zfw
