#pragma once
// The serial port's pure logic: its property store with defaults and the rule for writes
// while open, the translation of the properties into a device control block (flag word,
// options, XON/XOFF limits), the event bits and the order in which events reach their
// handlers. No device is touched here; the device layer maps the block to the terminal.

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace zfw {

enum class TBaudrate {
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000,
    br1500000,
    br3000000
};
enum class TParity { paNone, paOdd, paEven, paMark, paSpace };
enum class TStopbits { sb10, sb15, sb20 };
enum class TDatabits { da4, da5, da6, da7, da8 };
enum class TFlowControl { fcNone, fcCTS, fcDTR, fcSoftware, fcDefault };
enum class TCommOption { coParityCheck, coDsrSensitivity, coIgnoreXOff, coErrorChar, coNullStrip };
enum class TCommEventType {
    evBreak,
    evCts,
    evDsr,
    evError,
    evRing,
    evRlsd,
    evRxChar,
    evRxFlag,
    evTxEmpty
};

// Sets as bit masks over the enumerations' ordinals.
using TCommOptions = std::uint8_t;
using TCommEventTypes = std::uint16_t;
constexpr std::uint8_t commOption(TCommOption o) { return std::uint8_t(1u << int(o)); }
constexpr std::uint16_t commEvent(TCommEventType e) { return std::uint16_t(1u << int(e)); }
inline constexpr TCommEventTypes kAllCommEvents = 0x01FF;

// A failure of the serial port: the message is the text followed by " (Error: %d) ".
struct CommError {
    QString message;
    int code = -1;
};
CommError RaiseCommError(const QString& text, int code);

// The bit rate of a rate's ordinal.
std::uint32_t baudRateValue(TBaudrate rate);

struct TCommEventChars {
    std::uint8_t XonChar = 17;
    std::uint8_t XoffChar = 19;
    std::uint8_t ErrorChar = 0;
    std::uint8_t EofChar = 0;
    std::uint8_t EvtChar = 0;
    bool operator==(const TCommEventChars&) const = default;
};

// The device control block as the port keeps it between updates.
struct TDcb {
    std::uint32_t BaudRate = 0;
    std::uint32_t Flags = 0;
    std::uint16_t XonLim = 0;
    std::uint16_t XoffLim = 0;
    std::uint8_t ByteSize = 0;
    std::uint8_t Parity = 0;
    std::uint8_t StopBits = 0;
    TCommEventChars chars;
    bool operator==(const TDcb&) const = default;
};

namespace dcb {
inline constexpr std::uint32_t kBinary = 0x0001;
inline constexpr std::uint32_t kParityCheck = 0x0002;
inline constexpr std::uint32_t kOutxCtsFlow = 0x0004;
inline constexpr std::uint32_t kOutxDsrFlow = 0x0008;
inline constexpr std::uint32_t kDtrHandshake = 0x0020;
// The next four have no terminal meaning; they stay in the stored block only.
inline constexpr std::uint32_t kDsrSensitivity = 0x0040;
inline constexpr std::uint32_t kTxContinueOnXoff = 0x0080;
inline constexpr std::uint32_t kOutX = 0x0100;
inline constexpr std::uint32_t kInX = 0x0200;
inline constexpr std::uint32_t kErrorChar = 0x0400;
inline constexpr std::uint32_t kNullStrip = 0x0800;
inline constexpr std::uint32_t kRtsHandshake = 0x2000;
}  // namespace dcb

// The published properties with their defaults.
struct TCommProperties {
    QString DeviceName = QStringLiteral("Com2");
    int ReadTimeout = 1000;
    int WriteTimeout = 1000;
    int ReadBufSize = 4096;
    int WriteBufSize = 2048;
    TCommEventTypes MonitorEvents = kAllCommEvents;
    TBaudrate BaudRate = TBaudrate::br9600;
    TParity Parity = TParity::paNone;
    TStopbits Stopbits = TStopbits::sb10;
    TDatabits Databits = TDatabits::da8;
    TCommEventChars EventChars;
    TCommOptions Options = 0;
    TFlowControl FlowControl = TFlowControl::fcDefault;
};

// Fills the block from the properties, starting from the block read from the device.
TDcb UpdateDataControlBlock(const TDcb& current, const TCommProperties& properties);
// The device's event mask of a set of event types.
std::uint32_t eventMask(TCommEventTypes events);

// The property store with the rule for writes while the port is open: a refused write of a
// different value fails with "Port already assigned (open)" and keeps the old value; a write
// applied at once stores the value and, while open, runs apply (which writes the block).
class TCommPropertyStore {
public:
    using Apply = std::function<std::optional<CommError>(const TCommProperties&)>;

    explicit TCommPropertyStore(Apply apply = {}) : m_apply(std::move(apply)) {}

    const TCommProperties& properties() const { return m_p; }
    void setOpen(bool open) { m_open = open; }
    bool isOpen() const { return m_open; }

    std::optional<CommError> setDeviceName(const QString& v) { return refused(m_p.DeviceName, v); }
    std::optional<CommError> setReadBufSize(int v) { return refused(m_p.ReadBufSize, v); }
    std::optional<CommError> setWriteBufSize(int v) { return refused(m_p.WriteBufSize, v); }
    std::optional<CommError> setMonitorEvents(TCommEventTypes v)
    {
        return refused(m_p.MonitorEvents, v);
    }
    void setReadTimeout(int v) { m_p.ReadTimeout = v; }
    void setWriteTimeout(int v) { m_p.WriteTimeout = v; }
    std::optional<CommError> setBaudRate(TBaudrate v) { return applied(m_p.BaudRate, v); }
    std::optional<CommError> setParity(TParity v) { return applied(m_p.Parity, v); }
    std::optional<CommError> setStopbits(TStopbits v) { return applied(m_p.Stopbits, v); }
    std::optional<CommError> setDatabits(TDatabits v) { return applied(m_p.Databits, v); }
    std::optional<CommError> setEventChars(const TCommEventChars& v)
    {
        return applied(m_p.EventChars, v);
    }
    std::optional<CommError> setOptions(TCommOptions v) { return applied(m_p.Options, v); }
    std::optional<CommError> setFlowControl(TFlowControl v) { return applied(m_p.FlowControl, v); }

private:
    template <typename T>
    std::optional<CommError> refused(T& field, const T& value)
    {
        if (field == value)
            return std::nullopt;
        if (m_open)
            return RaiseCommError(QStringLiteral("Port already assigned (open)"), -1);
        field = value;
        return std::nullopt;
    }
    template <typename T>
    std::optional<CommError> applied(T& field, const T& value)
    {
        if (field == value)
            return std::nullopt;
        field = value;
        if (m_open && m_apply)
            return m_apply(m_p);
        return std::nullopt;
    }

    TCommProperties m_p;
    Apply m_apply;
    bool m_open = false;
};

// The handlers a line event reaches, in dispatch order; a handler left empty is skipped.
struct TCommHandlers {
    std::function<void()> OnBreak, OnCts, OnDsr;
    std::function<void(int errors)> OnError;
    std::function<void()> OnRing, OnRlsd;
    std::function<void(int count)> OnRxChar;
    std::function<void()> OnRxFlag, OnTxEmpty;
};

// Calls the handlers of the bits in status in their fixed order. errors and inQueue come
// from clearing the device's error state first; OnRxChar is not called for an empty queue.
void HandleCommEvent(std::uint32_t status, int errors, int inQueue, const TCommHandlers& handlers);

}  // namespace zfw
