#include "FakeRadioGateway.h"

#include "editors/metering/scan/MBusGatewayProtocol.h"

#include <algorithm>

namespace zfw::test {

namespace {

QByteArray prompt() { return QByteArray(1, '>'); }

QByteArray linkLayer(quint32 ident)
{
    QByteArray out;
    out.append(char(0x44));
    out.append(static_cast<char>(kRadioManufacturer & 0xFF));
    out.append(static_cast<char>(kRadioManufacturer >> 8));
    for (int shift = 0; shift < 32; shift += 8)
        out.append(static_cast<char>(ident >> shift));
    out.append(char(0x01)).append(char(0x07));
    return out;
}

QByteArray volumeRecord(quint32 volume)
{
    QByteArray out = QByteArray::fromHex("0413");
    for (int shift = 0; shift < 32; shift += 8)
        out.append(static_cast<char>(volume >> shift));
    return out;
}

QByteArray withTrailer(QByteArray body, TRadioModule module)
{
    QByteArray out(1, '\0');
    out += body;
    if (module == TRadioModule::rmTelit)
        out.append('\0');
    out.append(char(0x9C));  // signal strength
    out[0] = static_cast<char>(out.size() - (module == TRadioModule::rmTelit ? 3 : 1));
    return out;
}

}  // namespace

QByteArray radioTelegram(quint32 ident, TRadioModule module, quint32 volume)
{
    return withTrailer(linkLayer(ident) + QByteArray::fromHex("7A01000000") + volumeRecord(volume),
                       module);
}

QByteArray encryptedRadioTelegram(quint32 ident, TRadioModule module, const AesKey& key,
                                  quint8 access, quint32 volume, const MBusAes& aes)
{
    const QByteArray ll = linkLayer(ident);
    AesBlock iv{};
    std::copy(ll.begin() + 1, ll.end(), iv.begin());
    std::fill(iv.begin() + 8, iv.end(), access);
    QByteArray plain = QByteArray::fromHex("2F2F") + volumeRecord(volume);
    plain += QByteArray(16 - plain.size(), char(0x2F));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(plain.constData());
    const auto cipher = aes.cbcEncrypt(key, iv, std::span(bytes, 16));
    // Behind an extended link layer (CI 8Ch), as meters in security mode 5 send it.
    QByteArray body = ll + QByteArray::fromHex("8C2001");
    body.append(char(0x7A)).append(static_cast<char>(access)).append(char(0x00));
    body += QByteArray::fromHex("1005");  // one encrypted block, security mode 5
    body += QByteArray(reinterpret_cast<const char*>(cipher->data()), 16);
    return withTrailer(body, module);
}

QByteArray FakeRadioGateway::reply(const QByteArray& data)
{
    if (data == gateway::kEnableConfigurationMode)
        return gateway::configurationEnabledReply();
    if (data == gateway::kDisableConfigurationMode)
        return gateway::configurationDisabledReply();
    if (data == gateway::kTypeRadioModule)
        return module == TRadioModule::rmTelit ? gateway::telitReply()
                                               : gateway::radioCraftsReply();
    if (module == TRadioModule::rmTelit)
        return data == "+++" || data.endsWith('\r') ? QByteArray("OK\r") : QByteArray();

    const Next next = m_next;
    m_next = Next::Command;
    switch (next) {
    case Next::Position: m_next = m_afterPosition; return prompt();
    case Next::Block8: return data.size() == 8 ? prompt() : QByteArray();
    case Next::Block16:
    case Next::Config: return data.size() == 16 ? prompt() : QByteArray();
    case Next::Command: break;
    }
    if (data == QByteArray(1, '\0') || data == QByteArray::fromHex("0040")
        || data == QByteArray(1, char(0xFF)))
        return prompt();
    if (data == "0")
        return QByteArray(256, char(0x11)) + prompt();
    if (data == "M") {
        m_next = Next::Config;
        return prompt();
    }
    if (data == "B" || data == "K" || data == "A") {
        m_next = Next::Position;
        m_afterPosition = data == "B" ? Next::Block8 : data == "K" ? Next::Block16 : Next::Command;
        return prompt();
    }
    return {};  // "X" and anything unknown
}

void FakeRadioGateway::send(const QByteArray& data)
{
    const size_t at = sent.size();
    sent.push_back(data);
    m_answers.clear();
    QByteArray answer = reply(data);
    if (auto it = replyAt.find(at); it != replyAt.end()) {
        if (!it->second)
            return;
        answer = *it->second;
    }
    if (!answer.isEmpty())
        m_answers.push_back(answer);
}

std::optional<QByteArray> FakeRadioGateway::takeAnswer()
{
    if (m_answers.empty())
        return std::nullopt;
    QByteArray answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

int FakeRadioGateway::count(const QByteArray& exact) const
{
    return static_cast<int>(std::count(sent.begin(), sent.end(), exact));
}

}  // namespace zfw::test
