#pragma once
// A simulated gateway with a wired M-Bus line behind it, answering synchronously: every send
// files the line's answer (if any) for the next takeAnswer(). Meters answer by primary and by
// secondary address, several frames each (DIF 1Fh announces the next one, the FCB toggles
// it), several selected meters collide, and one meter can be made to answer late.

#include "editors/metering/scan/MBusWiredScan.h"

#include <QByteArray>
#include <QString>

#include <deque>
#include <optional>
#include <vector>

namespace zfw::test {

struct LineMeter {
    int primary = 0;
    QString ident;  // eight decimal digits
    int frames = 1;
    bool late = false;  // its answer to REQ_UD2 comes only after the next send
};

class FakeGatewayLine final : public IScanLine {
public:
    std::vector<LineMeter> meters;
    QByteArray analyzerReply;   // empty: the right one
    bool answerDisable = true;  // false: the closing command is never answered
    std::vector<QByteArray> sent;
    int releases = 0;

    void send(const QByteArray& data) override;
    std::optional<QByteArray> takeAnswer() override;
    void release() override { ++releases; }

    // Sends whose bytes start with prefix.
    int count(const QByteArray& prefix) const;
    // The frame that meter's n-th frame is (0-based).
    static QByteArray frameOf(const LineMeter& meter, int address, int n);

private:
    struct State {
        int lastFcb = -1;
        int frame = 0;
    };
    void requestFrame(size_t meterIndex, int address, int fcb);

    std::deque<QByteArray> m_answers;
    std::optional<QByteArray> m_lateAnswer;
    std::vector<size_t> m_selected;
    std::vector<State> m_state;
};

// Ticks move only by the engine's sleeps and by tick() itself.
class FakeScanClock final : public IScanClock {
public:
    quint32 now = 0xFFFF0000u;  // wraps during a long scan
    quint32 tick() override { return now; }
    void sleep(int milliseconds) override { now += static_cast<quint32>(milliseconds); }
    QDateTime dateTime() override { return QDateTime(QDate(2026, 12, 1), QTime(8, 0)); }
};

}  // namespace zfw::test
