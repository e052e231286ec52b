#pragma once
// A simulated gateway in configuration mode with a radio module behind it, answering
// synchronously: a Telit module answers every AT command with "OK", a RadioCrafts module
// answers its binary commands with the prompt (the configuration memory with 256 bytes and
// the prompt). Replies can be replaced or withheld by the position of the send, and the
// module can be made to hear telegrams.

#include "editors/metering/core/MBusCrypto.h"
#include "editors/metering/core/WMBusIntake.h"
#include "editors/metering/scan/MBusWiredScan.h"

#include <QByteArray>

#include <deque>
#include <map>
#include <optional>
#include <vector>

namespace zfw::test {

class FakeRadioGateway final : public IScanLine {
public:
    explicit FakeRadioGateway(TRadioModule module = TRadioModule::rmTelit) : module(module) {}

    TRadioModule module;
    // Send position (0-based) -> the reply given instead; nullopt: no reply at all.
    std::map<size_t, std::optional<QByteArray>> replyAt;
    std::vector<QByteArray> sent;
    int releases = 0;

    void send(const QByteArray& data) override;
    std::optional<QByteArray> takeAnswer() override;
    void release() override { ++releases; }

    // The module passes a datagram on as if heard over the air.
    void hear(const QByteArray& datagram) { m_answers.push_back(datagram); }
    int count(const QByteArray& exact) const;

private:
    enum class Next { Command, Position, Block8, Block16, Config };
    QByteArray reply(const QByteArray& data);

    std::deque<QByteArray> m_answers;
    Next m_next = Next::Command;
    Next m_afterPosition = Next::Command;
};

// Link layer of the telegrams below: C 44h, manufacturer AAB (0422h), the identification
// number, version 1, device type 7 (warm water).
inline constexpr quint16 kRadioManufacturer = 0x0422;

// A plain telegram of one volume record with the module's trailer (RadioCrafts: the signal
// strength; Telit: 00h and the signal strength), its L field set to match.
QByteArray radioTelegram(quint32 ident, TRadioModule module, quint32 volume = 1234);
// The same record behind an extended link layer and a security-mode-5 header, encrypted
// with key.
QByteArray encryptedRadioTelegram(quint32 ident, TRadioModule module, const AesKey& key,
                                  quint8 access, quint32 volume, const MBusAes& aes);

}  // namespace zfw::test
