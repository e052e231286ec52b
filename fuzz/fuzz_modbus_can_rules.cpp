// A Modbus master, CAN frame or DMX file through those editors' tables: any bytes as the file,
// opened by each of them (the DMX table with the fewest and the most channels), checked,
// saved, and opened again; and the same bytes as the general parameters the DMX editor takes
// its channel count from. The rules shown after the second opening must be those saved, a
// second save the same bytes, and the channel count always within the DMX universe.

#include "RuleFileRoundTrip.h"

#include "common/UComon.h"
#include "editors/fieldbus/core/UCANRuleSpec.h"
#include "editors/fieldbus/core/UDMXRuleSpec.h"
#include "editors/fieldbus/core/UModbusRuleSpec.h"
#include "ruleedit/core/URuleTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString dir = zfw::fuzz::scratchDir("modbus_can_rules");
    const QString input = zfw::joinPath(dir, QStringLiteral("rules.xml"));
    const QString saved = zfw::joinPath(dir, QStringLiteral("rules_saved.xml"));
    if (!zfw::fuzz::writeBytes(input, zfw::fuzz::bytesOf(data, size)))
        return 0;

    // The DMX table has no key: every row counts as a rule, so its cleared state is its texts.
    zfw::fuzz::RuleRoundTripChecks checks;
    checks.openingTextsAfterFileError = true;
    zfw::fuzz::ruleFileRoundTrip(input, saved, zfw::modbusRtuRuleSpec(), checks);
    zfw::fuzz::ruleFileRoundTrip(
        input, saved, zfw::modbusTcpRuleSpec({QStringLiteral("t0"), QStringLiteral("t1")}), checks);
    zfw::fuzz::ruleFileRoundTrip(input, saved, zfw::canReceiveRuleSpec(), checks);
    zfw::fuzz::ruleFileRoundTrip(input, saved, zfw::canTransmitRuleSpec(), checks);
    zfw::fuzz::ruleFileRoundTrip(input, saved, zfw::dmxRuleSpec(zfw::kDMXMinChannels), checks);
    zfw::fuzz::ruleFileRoundTrip(input, saved, zfw::dmxRuleSpec(zfw::kDMXMaxChannels), checks);

    const zfw::DMXChannelCount count = zfw::readDMXChannelCount(input);
    ZFW_FUZZ_CHECK(count.channels >= zfw::kDMXMinChannels
                   && count.channels <= zfw::kDMXMaxChannels);
    ZFW_FUZZ_CHECK(!count.outOfRange || count.channels == zfw::kDMXMaxChannels);
    return 0;
}
