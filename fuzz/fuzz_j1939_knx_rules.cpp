// A J1939, KNX or NMEA 2000 rule file through its editor's tables: any bytes as the file,
// opened by each of the five tables (older send modes, normalised priorities and running
// totals included), checked, saved, and opened again. The rules shown after the second
// opening must be those saved, and a second save the same bytes.

#include "RuleFileRoundTrip.h"

#include "common/UComon.h"
#include "editors/fieldbus/core/UJ1939RuleSpec.h"
#include "editors/fieldbus/core/UKNXRuleSpec.h"
#include "editors/fieldbus/core/UNMEARuleSpec.h"
#include "ruleedit/core/URuleTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString dir = zfw::fuzz::scratchDir("j1939_knx_rules");
    const QString input = zfw::joinPath(dir, QStringLiteral("rules.xml"));
    const QString saved = zfw::joinPath(dir, QStringLiteral("rules_saved.xml"));
    if (!zfw::fuzz::writeBytes(input, zfw::fuzz::bytesOf(data, size)))
        return 0;

    // The first fault names a row of the one table.
    zfw::fuzz::RuleRoundTripChecks checks;
    checks.faultIsSane = [](const zfw::RuleFile& f, const zfw::RuleFault& fault) {
        return fault.ok() || (fault.row >= 0 && fault.row <= f.tables[0].ruleCount());
    };
    zfw::fuzz::ruleFileRoundTrip(input, saved, zfw::j1939ReceiveSpec(), checks);
    zfw::fuzz::ruleFileRoundTrip(input, saved, zfw::j1939TransmitSpec(), checks);
    zfw::fuzz::ruleFileRoundTrip(input, saved, zfw::knxRuleSpec(QLatin1Char(',')), checks);
    zfw::fuzz::ruleFileRoundTrip(input, saved, zfw::nmeaReceiveSpec(), checks);
    zfw::fuzz::ruleFileRoundTrip(input, saved, zfw::nmeaTransmitSpec(), checks);
    return 0;
}
