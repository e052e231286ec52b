#pragma once
// TComm on Linux: the property store of CommControl.h over a terminal device. Only the bit
// rate, parity, stop and data bits and the flow control reach the terminal settings; the
// other flags of the control block have no terminal meaning and are only kept in it.
//
// Ownership: one thread uses a TComm at a time. Read and Write wait with poll() and then
// transfer at once, so nothing stays pending on the caller's buffer after a time-out.

#include "editors/metering/scan/CommControl.h"

#include <QByteArray>

#include <optional>

struct termios;

namespace zfw {

// Applies rate, parity, stop and data bits and flow control of block to t, on top of a raw
// line. False when the rate has no standard code (the caller sets it through BOTHER) or the
// byte size does not exist on Linux; t then keeps everything else applied.
bool applyLineSettings(termios& t, const TDcb& block, bool* otherRate, bool* badSize);

class TComm {
public:
    TComm();
    ~TComm();
    TComm(const TComm&) = delete;
    TComm& operator=(const TComm&) = delete;

    TCommPropertyStore& properties() { return m_store; }

    // Opens DeviceName ("ttyUSB0" or a full path) and applies the line. A failure after the
    // device was opened closes it again, so Enabled() stays false.
    std::optional<CommError> Open();
    void Close();
    bool Enabled() const { return m_fd >= 0; }

    // Bytes written or read, or -1 when the device was not ready within the time-out. Read
    // returns at once with what the device holds (possibly 0 after the wait found data gone).
    int Write(const QByteArray& data, std::optional<CommError>* error = nullptr);
    int Read(QByteArray& into, int count, std::optional<CommError>* error = nullptr);

private:
    std::optional<CommError> applyBlock(const TCommProperties& p);

    TCommPropertyStore m_store;
    TDcb m_block;
    int m_fd = -1;
};

}  // namespace zfw
