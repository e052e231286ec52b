#pragma once
// A serial device behind a small interface: open a terminal, set its line, read and write
// after a bounded wait, query and set the modem lines, and wait for line events. The serial
// port component keeps its own logic (properties, control block, event dispatch) and reaches
// the system only through this; tests replace it with a fake.
//
// Threads: one thread may wait in waitEvent() while another reads, writes or sets lines;
// wakeUp() may be called from any thread. Everything else is for one thread at a time.

#include <QString>

#include <cstdint>
#include <memory>

struct termios;

namespace zfw {

// What the line is set to.
struct SerialLine {
    std::uint32_t baudRate = 9600;
    std::uint8_t byteSize = 8;  // 5 to 8
    std::uint8_t parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint8_t stopBits = 0;  // 0 one, 1 one and a half, 2 two
    bool parityCheck = false;
    bool ctsFlow = false;    // RTS/CTS hardware flow control
    bool xonOutput = false;  // XON/XOFF on output
    bool xonInput = false;   // XON/XOFF on input
    std::uint8_t xonChar = 17;
    std::uint8_t xoffChar = 19;
    bool operator==(const SerialLine&) const = default;
};

// Line events as bits of one word (the serial component's own numbering).
namespace serial {
inline constexpr std::uint32_t kRxChar = 0x01;
inline constexpr std::uint32_t kRxFlag = 0x02;
inline constexpr std::uint32_t kTxEmpty = 0x04;
inline constexpr std::uint32_t kCts = 0x08;
inline constexpr std::uint32_t kDsr = 0x10;
inline constexpr std::uint32_t kRlsd = 0x20;
inline constexpr std::uint32_t kBreak = 0x40;
inline constexpr std::uint32_t kError = 0x80;
inline constexpr std::uint32_t kRing = 0x100;

// Line error bits of lineErrors().
inline constexpr int kOverrun = 0x02;
inline constexpr int kParityError = 0x04;
inline constexpr int kFrameError = 0x08;
inline constexpr int kBreakSeen = 0x10;
}  // namespace serial

struct ModemLines {
    bool cts = false;
    bool dsr = false;
    bool ring = false;
    bool rlsd = false;  // carrier detect
    bool operator==(const ModemLines&) const = default;
};

class ISerialDevice {
public:
    virtual ~ISerialDevice() = default;

    // Opens path for reading and writing, not as controlling terminal. 0, or the system's
    // error code; ENOTTY when the path is no terminal (the device is closed again then).
    virtual int open(const QString& path) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // 0, or the system's error code. EINVAL for a byte size the system does not know.
    virtual int setLine(const SerialLine& line) = 0;

    // Waits until the device can be read (written), at most timeoutMs. 1 ready, 0 timed out,
    // or minus the system's error code. Nothing stays pending after it returns.
    virtual int waitReadable(int timeoutMs) = 0;
    virtual int waitWritable(int timeoutMs) = 0;
    // Bytes transferred at once (0 when none could be), or minus the system's error code.
    virtual qint64 read(char* into, qint64 count) = 0;
    virtual qint64 write(const char* from, qint64 count) = 0;

    // Bytes waiting in the input and output queues; -1 when closed or unknown.
    virtual int inQueue() const = 0;
    virtual int outQueue() const = 0;
    // Line error bits (serial::kOverrun ...) since the last call, which clears them.
    virtual int lineErrors() = 0;
    // The modem status lines; false (all clear) when closed or unreadable.
    virtual bool modemLines(ModemLines* lines) const = 0;

    // 0, or the system's error code.
    virtual int setDtr(bool on) = 0;
    virtual int setRts(bool on) = 0;
    virtual int setBreak(bool on) = 0;
    // Output resumes (true) or is held as if XOFF had been received (false).
    virtual int setXon(bool on) = 0;
    // Drops what waits in the input and/or output queue.
    virtual void purge(bool input, bool output) = 0;

    // Waits until one of the events in mask happens and returns the events seen (a subset
    // of mask), or returns 0 when wakeUp() was called or the device is closed.
    virtual std::uint32_t waitEvent(std::uint32_t mask) = 0;
    virtual void wakeUp() = 0;
};

// Applies line to the terminal settings t on top of a raw line. 0, or EINVAL for a byte size
// the system does not know; *otherRate tells that the rate has no standard code and must be
// set through the kernel's other-rate interface. (A pseudo-terminal ignores byte size and
// parity, so the mapping is its own function.)
int applySerialLine(termios& t, const SerialLine& line, bool* otherRate);

// The device over a POSIX terminal (termios, ioctl, poll).
std::unique_ptr<ISerialDevice> makeTerminalDevice();

}  // namespace zfw
