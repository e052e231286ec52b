#include "FakeGatewayLine.h"

#include <algorithm>

namespace zfw::test {

namespace {

quint8 bcdPair(const QString& ident, int at)
{
    return static_cast<quint8>((ident[at].digitValue() << 4) | ident[at + 1].digitValue());
}

bool digitMatches(const QString& ident, int at, quint8 nibble)
{
    return nibble == 0x0F || ident[at].digitValue() == nibble;
}

}  // namespace

QByteArray FakeGatewayLine::frameOf(const LineMeter& meter, int address, int n)
{
    QByteArray body;
    body.append(char(0x08)).append(static_cast<char>(address)).append(char(0x72));
    // Identification number least significant byte first, then manufacturer, version,
    // medium (water), access number, status and signature.
    for (int at = 6; at >= 0; at -= 2)
        body.append(static_cast<char>(bcdPair(meter.ident, at)));
    body.append(QByteArray::fromHex("2440 01 07 00 00 0000"));
    // One volume record whose value is the frame number, then 1Fh when more frames follow.
    body.append(QByteArray::fromHex("0413")).append(static_cast<char>(n)).append(3, char(0));
    if (n + 1 < meter.frames)
        body.append(char(0x1F));
    QByteArray frame;
    frame.append(char(0x68)).append(static_cast<char>(body.size()));
    frame.append(static_cast<char>(body.size())).append(char(0x68)).append(body);
    quint8 sum = 0;
    for (char b : body)
        sum = static_cast<quint8>(sum + static_cast<quint8>(b));
    frame.append(static_cast<char>(sum)).append(char(0x16));
    return frame;
}

void FakeGatewayLine::requestFrame(size_t meterIndex, int address, int fcb)
{
    State& s = m_state[meterIndex];
    // A toggled FCB acknowledges the last frame and asks for the next one.
    if (s.lastFcb >= 0 && fcb != s.lastFcb)
        s.frame = std::min(s.frame + 1, meters[meterIndex].frames - 1);
    s.lastFcb = fcb;
    const QByteArray frame = frameOf(meters[meterIndex], address, s.frame);
    if (meters[meterIndex].late)
        m_lateAnswer = frame;
    else
        m_answers.push_back(frame);
}

void FakeGatewayLine::send(const QByteArray& data)
{
    sent.push_back(data);
    m_answers.clear();
    if (m_lateAnswer) {
        m_answers.push_back(*m_lateAnswer);
        m_lateAnswer.reset();
    }
    m_state.resize(meters.size());
    const auto byte = [&](int i) { return static_cast<quint8>(data[i]); };

    if (data == gateway::kEnableAnalyzerMode) {
        m_answers.push_back(analyzerReply.isEmpty() ? gateway::analyzerEnabledReply()
                                                    : analyzerReply);
    } else if (data == gateway::kDisableAnalyzerMode) {
        if (answerDisable)
            m_answers.push_back(gateway::analyzerDisabledReply());
    } else if (data.startsWith("Brenik_S_M:")) {
        m_answers.push_back(gateway::lineSetReply());
    } else if (data.size() == 5 && byte(0) == 0x10) {
        const int c = byte(1);
        const int a = byte(2);
        if (c == 0x40) {
            for (size_t i = 0; i < meters.size(); ++i)
                if (meters[i].primary == a)
                    m_state[i] = {};
            if (a == 253 && !m_selected.empty())
                m_answers.push_back(QByteArray(1, char(0xE5)));
            else if (a != 255 && a != 253
                     && std::any_of(meters.begin(), meters.end(),
                                    [&](const LineMeter& m) { return m.primary == a; }))
                m_answers.push_back(QByteArray(1, char(0xE5)));
        } else {
            const int fcb = (c & 0x20) ? 1 : 0;
            if (a == 253) {
                if (m_selected.size() == 1)
                    requestFrame(m_selected[0], 253, fcb);
            } else {
                for (size_t i = 0; i < meters.size(); ++i)
                    if (meters[i].primary == a)
                        requestFrame(i, a, fcb);
            }
        }
    } else if (data.size() == 17 && byte(0) == 0x68 && byte(6) == 0x52) {
        m_selected.clear();
        for (size_t i = 0; i < meters.size(); ++i) {
            bool match = true;
            // ID1..ID4 carry D7D8, D5D6, D3D4, D1D2.
            for (int pair = 0; pair < 4; ++pair) {
                const quint8 id = byte(7 + pair);
                const int at = 6 - 2 * pair;
                match = match && digitMatches(meters[i].ident, at, id >> 4)
                        && digitMatches(meters[i].ident, at + 1, id & 0x0F);
            }
            if (match) {
                m_selected.push_back(i);
                m_state[i] = {};
            }
        }
        if (m_selected.empty())
            m_answers.push_back(gateway::noSlaveReply());
        else if (m_selected.size() == 1)
            m_answers.push_back(QByteArray(1, char(0xE5)));
        else
            m_answers.push_back(QByteArray::fromHex("E5F3E5"));  // a collision
    } else if (data.size() >= 9 && byte(0) == 0x68 && byte(6) == 0x50) {
        const int a = byte(5);
        if (std::any_of(meters.begin(), meters.end(),
                        [&](const LineMeter& m) { return m.primary == a; }))
            m_answers.push_back(QByteArray(1, char(0xE5)));
    }
}

std::optional<QByteArray> FakeGatewayLine::takeAnswer()
{
    if (m_answers.empty())
        return std::nullopt;
    QByteArray answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

int FakeGatewayLine::count(const QByteArray& prefix) const
{
    return static_cast<int>(std::count_if(sent.begin(), sent.end(), [&](const QByteArray& s) {
        return s.startsWith(prefix);
    }));
}

}  // namespace zfw::test
