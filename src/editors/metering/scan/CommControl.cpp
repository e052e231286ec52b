#include "editors/metering/scan/CommControl.h"

namespace zfw {

namespace {

constexpr std::array<std::uint32_t, 17> kRates = {110,    300,    600,    1200,    2400,   4800,
                                                  9600,   14400,  19200,  38400,   56000,  57600,
                                                  115200, 128000, 256000, 1500000, 3000000};

// Device event bits by event type ordinal.
constexpr std::array<std::uint32_t, 9> kEventBits = {0x40, 0x08, 0x10, 0x80, 0x100,
                                                     0x20, 0x01, 0x02, 0x04};

struct OptionBit {
    TCommOption option;
    std::uint32_t bit;
};
constexpr std::array<OptionBit, 5> kOptionBits = {{
    {TCommOption::coParityCheck, dcb::kParityCheck},
    {TCommOption::coDsrSensitivity, dcb::kDsrSensitivity},
    {TCommOption::coIgnoreXOff, dcb::kTxContinueOnXoff},
    {TCommOption::coErrorChar, dcb::kErrorChar},
    {TCommOption::coNullStrip, dcb::kNullStrip},
}};

}  // namespace

CommError RaiseCommError(const QString& text, int code)
{
    return {text + QStringLiteral(" (Error: %1) ").arg(code), code};
}

std::uint32_t baudRateValue(TBaudrate rate) { return kRates[static_cast<size_t>(rate)]; }

TDcb UpdateDataControlBlock(const TDcb& current, const TCommProperties& p)
{
    TDcb block = current;
    block.BaudRate = baudRateValue(p.BaudRate);
    block.Parity = static_cast<std::uint8_t>(p.Parity);
    block.StopBits = static_cast<std::uint8_t>(p.Stopbits);
    block.ByteSize = static_cast<std::uint8_t>(4 + static_cast<int>(p.Databits));
    block.chars = p.EventChars;
    const auto limit = static_cast<std::uint16_t>(p.ReadBufSize / 4);
    block.XonLim = limit;
    block.XoffLim = limit;
    switch (p.FlowControl) {
    case TFlowControl::fcNone: block.Flags = dcb::kBinary; break;
    case TFlowControl::fcCTS: block.Flags |= dcb::kOutxCtsFlow | dcb::kRtsHandshake; break;
    case TFlowControl::fcDTR: block.Flags |= dcb::kOutxDsrFlow | dcb::kDtrHandshake; break;
    case TFlowControl::fcSoftware: block.Flags |= dcb::kOutX | dcb::kInX; break;
    case TFlowControl::fcDefault: break;
    }
    for (const OptionBit& o : kOptionBits) {
        if (p.Options & commOption(o.option))
            block.Flags |= o.bit;
        else
            block.Flags &= ~o.bit;
    }
    return block;
}

std::uint32_t eventMask(TCommEventTypes events)
{
    std::uint32_t mask = 0;
    for (size_t i = 0; i < kEventBits.size(); ++i)
        if (events & (1u << i))
            mask |= kEventBits[i];
    return mask;
}

void HandleCommEvent(std::uint32_t status, int errors, int inQueue, const TCommHandlers& h)
{
    const auto plain = [&](std::uint32_t bit, const std::function<void()>& handler) {
        if ((status & bit) && handler)
            handler();
    };
    plain(0x40, h.OnBreak);
    plain(0x08, h.OnCts);
    plain(0x10, h.OnDsr);
    if ((status & 0x80) && h.OnError)
        h.OnError(errors);
    plain(0x100, h.OnRing);
    plain(0x20, h.OnRlsd);
    if ((status & 0x01) && h.OnRxChar && inQueue > 0)
        h.OnRxChar(inQueue);
    plain(0x02, h.OnRxFlag);
    plain(0x04, h.OnTxEmpty);
}

}  // namespace zfw
