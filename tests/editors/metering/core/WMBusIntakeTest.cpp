#include "editors/metering/core/WMBusIntake.h"

#include "MBusTestBytes.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

namespace zfw {
namespace {

using test::Bytes;
using test::hexBytes;

// Link layer of every telegram here: C 44h, manufacturer AAB, identification 12345678,
// version 1, device type 7; the body starts with the CI field.
const char* const kLinkLayer = "44 22 04 78 56 34 12 01 07";

Bytes telegram(const Bytes& body, std::uint8_t signal = 0x9C,
               TRadioModule module = TRadioModule::rmRadioCrafts)
{
    Bytes t = test::concat({{0x00}, hexBytes(kLinkLayer), body});
    if (module == TRadioModule::rmTelit)
        t.push_back(0x00);
    t.push_back(signal);
    t[0] = std::uint8_t(t.size() - (module == TRadioModule::rmTelit ? 3 : 1));
    return t;
}

Bytes telegram(const char* body) { return telegram(hexBytes(body)); }

std::size_t realRecords(const TSlave_wMBus& m)
{
    return std::size_t(std::count_if(m.List_Var.begin(), m.List_Var.end(),
                                     [](const TVariable_MBus& v) { return v.Real_Wireless_Var; }));
}

const AesKey kKey = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                     0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};

const QDateTime kFirst(QDate(2026, 12, 1), QTime(8, 0));
const QDateTime kLater(QDate(2026, 12, 1), QTime(9, 30));

TEST(MBusAes, CmacMatchesTheStandardExampleOfOneBlock)
{
    // RFC 4493, example 2.
    const Bytes key = hexBytes("2b7e1516 28aed2a6 abf71588 09cf4f3c");
    const Bytes message = hexBytes("6bc1bee2 2e409f96 e93d7e11 7393172a");
    AesKey k;
    std::copy(key.begin(), key.end(), k.begin());
    const auto tag = MBusAes().cmac(k, message);
    ASSERT_TRUE(tag);
    EXPECT_EQ(Bytes(tag->begin(), tag->end()), hexBytes("070a16b4 6b4d4144 f79bdd9d d04a287c"));
}

TEST(MBusAes, CbcWithoutPaddingTakesWholeBlocksOnly)
{
    MBusAes aes;
    const AesBlock iv = {1, 2, 3};
    const Bytes plain = hexBytes(
        "2F2F0413 40E20100 2F2F2F2F 2F2F2F2F 00112233 44556677 "
        "8899AABB CCDDEEFF");
    const auto cipher = aes.cbcEncrypt(kKey, iv, plain);
    ASSERT_TRUE(cipher);
    EXPECT_EQ(cipher->size(), plain.size());
    EXPECT_NE(*cipher, plain);
    EXPECT_EQ(aes.cbcDecrypt(kKey, iv, *cipher), plain);
    EXPECT_FALSE(aes.cbcDecrypt(kKey, iv, std::span(plain).first(15)));
}

class Intake : public ::testing::Test {
protected:
    WirelessIntake take(const Bytes& t, const QDateTime& when = kFirst,
                        TRadioModule module = TRadioModule::rmRadioCrafts)
    {
        return m_intake.Decode_Frame_Wireless(t, module, m_list, when);
    }
    // Hears the meter once (plain) and gives it the key.
    TSlave_wMBus& knownMeterWithKey()
    {
        take(telegram("8C 20 01 78 01 FD 17 05"));
        TSlave_wMBus& m = *m_list.at(0);
        m.Enable_Key = true;
        m.Key = kKey;
        return m;
    }

    // A mode-5 telegram behind CI 8Ch: access number 42h, one encrypted block.
    Bytes mode5(const Bytes& plain16, const AesKey& key)
    {
        AesBlock iv;
        const Bytes ll = hexBytes(kLinkLayer);
        std::copy(ll.begin() + 1, ll.end(), iv.begin());
        std::fill(iv.begin() + 8, iv.end(), 0x42);
        const auto cipher = MBusAes().cbcEncrypt(key, iv, plain16);
        return telegram(test::concat({hexBytes("8C 20 01 7A 42 00 10 05"), *cipher}));
    }

    // A mode-7 telegram: AFL with message control (authentication type 5, an 8-byte MAC),
    // the message counter and the MAC, then a short transport header and one block.
    Bytes mode7(const Bytes& plain16, const AesKey& key, const Bytes& counter)
    {
        MBusAes aes;
        const Bytes ll = hexBytes(kLinkLayer);
        std::array<std::uint8_t, 16> message{};
        std::copy(counter.begin(), counter.end(), message.begin() + 1);
        std::copy(ll.begin() + 3, ll.begin() + 7, message.begin() + 5);
        std::fill(message.begin() + 9, message.end(), 0x07);
        const auto derived = aes.cmac(key, message);
        const auto cipher = aes.cbcEncrypt(*derived, AesBlock{}, plain16);
        return telegram(
            test::concat({hexBytes("8C 20 01 90 0F 00 2C 05"), counter,
                          hexBytes("A1 A2 A3 A4 A5 A6 A7 A8 7A 42 00 10 07 00"), *cipher}));
    }

    TSlaveWMBusList m_list;
    TWMBusIntake m_intake;
};

const Bytes kPlain = hexBytes("2F 2F 04 13 40 E2 01 00 01 FD 17 05 2F 2F 2F 2F");

TEST_F(Intake, UnknownMeterIsCreatedAndItsPlainRecordsDecoded)
{
    const WirelessIntake r = take(telegram("7A 01 00 00 00 04 13 40 E2 01 00"));
    EXPECT_EQ(r.index, 0);
    EXPECT_TRUE(r.created);
    ASSERT_EQ(m_list.size(), 1u);
    const TSlave_wMBus& m = *m_list[0];
    EXPECT_EQ(m.Message_Type, 0x44);
    EXPECT_EQ(m.ALA_Manu_str, QStringLiteral("AAB"));
    EXPECT_EQ(m.ALA_Address, 0x12345678);
    EXPECT_EQ(m.ALA_Version, 1);
    EXPECT_EQ(m.ALA_DeviceType, 7);
    EXPECT_EQ(m.RSSI, -49);  // RadioCrafts: 9Ch is -100, halved, plus one
    EXPECT_EQ(m.RadioCrafts_Ind_Tab_Decript, -1);
    EXPECT_EQ(m.DateTime, kFirst);
    EXPECT_FALSE(m.Cripted);
    ASSERT_EQ(m.List_Var.size(), 1u);
    EXPECT_EQ(m.List_Var[0].ValueStr, QStringLiteral("123.456"));
}

TEST_F(Intake, SecondTelegramReplacesTheRecordsInPlace)
{
    take(telegram("7A 01 00 00 00 01 FD 17 05"));
    // Another meter heard in between.
    const Bytes other = test::concat(
        {{0x00}, hexBytes("44 22 04 01 00 00 00 01 07 7A 01 00 00 00 01 FD 17 05"), {0x10}});
    take(other);
    const WirelessIntake r = take(telegram("7A 02 00 00 00 01 FD 17 09 01 FD 17 0A"), kLater);
    EXPECT_EQ(r.index, 0);
    EXPECT_FALSE(r.created);
    EXPECT_EQ(m_list.size(), 2u);
    ASSERT_EQ(m_list[0]->List_Var.size(), 2u);
    EXPECT_EQ(m_list[0]->List_Var[0].ValueStr, QStringLiteral("9"));
    EXPECT_EQ(m_list[0]->DateTime, kLater);
}

TEST_F(Intake, TelitSignalAndRecordsEndOneByteEarlier)
{
    const Bytes t = telegram(hexBytes("7A 01 00 00 00 01 FD 17 05"), 0x50, TRadioModule::rmTelit);
    const WirelessIntake r = take(t, kFirst, TRadioModule::rmTelit);
    ASSERT_EQ(r.index, 0);
    EXPECT_EQ(m_list[0]->RSSI, -82);
    EXPECT_FALSE(r.fault);
    ASSERT_EQ(m_list[0]->List_Var.size(), 1u);
}

TEST_F(Intake, Mode5IsDecryptedWithTheMetersKey)
{
    knownMeterWithKey();
    const WirelessIntake r = take(mode5(kPlain, kKey), kLater);
    EXPECT_TRUE(r.updated);
    const TSlave_wMBus& m = *m_list[0];
    EXPECT_FALSE(m.Cripted);
    EXPECT_EQ(realRecords(m), 2u);
    EXPECT_EQ(m.List_Var[2].ValueStr, QStringLiteral("123.456"));
}

TEST_F(Intake, Mode5WithoutKeyStaysUnreadableAndClearsTheRecords)
{
    take(telegram("8C 20 01 78 01 FD 17 05"));
    ASSERT_EQ(m_list[0]->List_Var.size(), 1u);
    take(mode5(kPlain, kKey), kLater);
    const TSlave_wMBus& m = *m_list[0];
    EXPECT_TRUE(m.Cripted);
    EXPECT_TRUE(m.List_Var.empty());
    EXPECT_EQ(m.DateTime, kLater);
}

TEST_F(Intake, Mode7IsDecryptedWithTheDerivedKey)
{
    knownMeterWithKey();
    const WirelessIntake r = take(mode7(kPlain, kKey, hexBytes("01 02 03 04")), kLater);
    EXPECT_FALSE(r.decryptFailed);
    const TSlave_wMBus& m = *m_list[0];
    EXPECT_FALSE(m.Cripted);
    EXPECT_EQ(realRecords(m), 2u);
}

TEST_F(Intake, WrongMode7KeyKeepsTheOldRecordsTimeAndSignal)
{
    TSlave_wMBus& m = knownMeterWithKey();
    AesKey wrong = kKey;
    wrong[0] ^= 1;
    for (const Bytes& t : {mode7(kPlain, wrong, hexBytes("01 02 03 04")),
                           // the right key under a counter the telegram does not carry
                           [&] {
                               Bytes x = mode7(kPlain, kKey, hexBytes("01 02 03 04"));
                               x[18] ^= 1;
                               return x;
                           }()}) {
        const WirelessIntake r = take(t, kLater);
        EXPECT_TRUE(r.decryptFailed);
        EXPECT_FALSE(r.updated);
        EXPECT_EQ(r.index, 0);
        EXPECT_EQ(m.List_Var.size(), 1u);
        EXPECT_EQ(m.DateTime, kFirst);
        EXPECT_EQ(m.RSSI, -49);
        EXPECT_FALSE(m.Cripted);
    }
}

TEST_F(Intake, RepeatedTelegramIsTheSameMeter)
{
    // A long transport header names the meter; the link layer is the repeater's.
    const char* body = "72 11 11 11 11 22 04 01 07 01 00 00 00 01 FD 17 05";
    take(telegram(body));
    Bytes repeated = telegram(body);
    repeated[4] = 0x99;  // another link-layer identification
    const WirelessIntake r = take(repeated);
    EXPECT_EQ(r.index, 0);
    EXPECT_EQ(m_list.size(), 1u);
    EXPECT_EQ(m_list[0]->ALA_Address, 0x11111111);
    EXPECT_EQ(m_list[0]->LLA_Address, 0x12345678);
}

TEST_F(Intake, CipherLengthPastTheEndIsUnreadable)
{
    knownMeterWithKey();
    // Mode 5 announcing three blocks with one present.
    Bytes t = mode5(kPlain, kKey);
    t[16] = 0x30;
    const WirelessIntake r = take(t, kLater);
    EXPECT_TRUE(m_list[0]->Cripted);
    EXPECT_TRUE(m_list[0]->List_Var.empty());
    EXPECT_TRUE(r.fault);
    // Mode 7 the same way.
    Bytes t7 = mode7(kPlain, kKey, hexBytes("01 02 03 04"));
    t7[33] = 0xF0;
    take(t7, kLater);
    EXPECT_TRUE(m_list[0]->Cripted);
}

TEST_F(Intake, EveryPrefixAndFlippedByteIsSafe)
{
    knownMeterWithKey();
    const Bytes whole = mode7(kPlain, kKey, hexBytes("01 02 03 04"));
    for (std::size_t n = 0; n <= whole.size(); ++n) {
        const WirelessIntake r = take(Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(n)));
        if (n < 12) {
            EXPECT_EQ(r.index, -1) << n;
        }
    }
    for (std::size_t i = 0; i < whole.size(); ++i) {
        Bytes bad = whole;
        bad[i] ^= 0xFF;
        take(bad);
    }
    const std::size_t meters = m_list.size();
    EXPECT_EQ(take(Bytes()).index, -1);
    EXPECT_EQ(m_list.size(), meters);
}

// Telegrams encrypted outside this program (with the openssl command line, key
// 00112233...FF): the first byte of each file is the radio-module byte of the fuzz seeds.
TEST_F(Intake, TelegramsEncryptedElsewhereDecrypt)
{
    for (const char* name : {"mode5_telegram.bin", "mode7_telegram.bin"}) {
        SCOPED_TRACE(name);
        const QByteArray file = test::readFile(QStringLiteral(ZFW_TEST_DATA_DIR "/metering/")
                                               + QLatin1String(name));
        ASSERT_GT(file.size(), 20);
        const Bytes t(file.begin() + 1, file.end());
        m_list.clear();
        take(t);
        m_list[0]->Enable_Key = true;
        m_list[0]->Key = kKey;
        const WirelessIntake r = take(t, kLater);
        EXPECT_FALSE(r.decryptFailed);
        EXPECT_FALSE(m_list[0]->Cripted);
        ASSERT_EQ(realRecords(*m_list[0]), 2u);
        EXPECT_EQ(m_list[0]->List_Var[2].ValueStr, QStringLiteral("123.456"));
    }
}

TEST(IntakeHelpers, HexTextToBytes)
{
    EXPECT_EQ(TWMBusIntake::HexStr_To_Bin(QStringLiteral("2F2fA0")), QByteArray("\x2F\x2F\xA0", 3));
    EXPECT_EQ(TWMBusIntake::HexStr_To_Bin(QStringLiteral("1")), QByteArray());
}

// Which telegrams can be read, with the record count when they can.
struct ReadCase {
    std::string name;
    const char* body;
    bool cripted;
    std::size_t records;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

const ReadCase kReadCases[] = {
    {"short7AMode0", "7A 01 00 00 00 01 FD 17 05", false, 1},
    {"short7AMode5Plain", "7A 01 00 10 05 2F 2F 01 FD 17 05", false, 3},
    {"short7AMode5Encrypted", "7A 01 00 10 05 11 22 01 FD 17 05", true, 0},
    {"short7AMode3", "7A 01 00 00 03 01 FD 17 05", true, 0},
    {"long72Mode0", "72 11 11 11 11 22 04 01 07 01 00 00 00 01 FD 17 05", false, 1},
    {"long72FillersAnyMode", "72 11 11 11 11 22 04 01 07 01 00 10 07 2F 2F 01 FD 17 05", false, 3},
    {"long72Encrypted", "72 11 11 11 11 22 04 01 07 01 00 10 05 11 22 01 FD 17 05", true, 0},
    {"ell8CNoHeader", "8C 20 01 78 01 FD 17 05", false, 1},
    {"ell8CShortMode0", "8C 20 01 7A 01 00 00 00 01 FD 17 05", false, 1},
    {"ell8CShortMode5Plain", "8C 20 01 7A 01 00 10 05 2F 2F 01 FD 17 05", false, 3},
    {"ell8CLongMode0", "8C 20 01 72 11 11 11 11 22 04 01 07 01 00 00 00 01 FD 17 05", false, 1},
    {"ell8CAflShortPlain",
     "8C 20 01 90 0F 00 2C 05 01 00 00 00 00 00 00 00 00 00 00 00 7A 01 00 10 07 00 2F 2F "
     "01 FD 17 05",
     false, 3},
    {"ell8CAflLongPlain",
     "8C 20 01 90 0F 00 2C 05 01 00 00 00 00 00 00 00 00 00 00 00 72 11 11 11 11 22 04 01 07 "
     "01 00 10 07 00 2F 2F 01 FD 17 05",
     false, 3},
    {"ell8CAflEncrypted",
     "8C 20 01 90 0F 00 2C 05 01 00 00 00 00 00 00 00 00 00 00 00 7A 01 00 10 07 00 11 22 "
     "01 FD 17 05",
     true, 0},
    {"ell8DNoHeader", "8D 20 01 00 00 00 00 00 00 78 01 FD 17 05", false, 1},
    {"ell8DShortMode0", "8D 20 01 00 00 00 00 00 00 7A 01 00 00 00 01 FD 17 05", false, 1},
    {"ell8DLongMode0",
     "8D 20 01 00 00 00 00 00 00 72 11 11 11 11 22 04 01 07 01 00 00 00 01 FD 17 05", false, 1},
    {"ell8DAflReadableWithoutLayout", "8D 20 01 00 05 00 00 00 00 90 00 00 00 00 00 00 2F 2F 05",
     false, 0},
    {"ell8ENeverReadable", "8E 20 01 00 00 00 00 00 00 78 01 FD 17 05", true, 0},
    {"unknownCi", "51 01 00 00 00 00 00 00 00 00 01 FD 17 05", true, 0},
};

class Readability : public ::testing::TestWithParam<ReadCase> {};

TEST_P(Readability, Rows)
{
    const ReadCase& c = GetParam();
    TSlaveWMBusList list;
    TWMBusIntake intake;
    const WirelessIntake r = intake.Decode_Frame_Wireless(telegram(c.body),
                                                          TRadioModule::rmRadioCrafts, list,
                                                          kFirst);
    ASSERT_EQ(r.index, 0);
    EXPECT_EQ(list[0]->Cripted, c.cripted);
    EXPECT_EQ(list[0]->List_Var.size(), c.records);
    EXPECT_FALSE(r.fault);
}

INSTANTIATE_TEST_SUITE_P(Telegrams, Readability, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace zfw
