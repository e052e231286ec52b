// The CANopen PDO, SDO client and SDO server files and the DeviceNet slave list through their
// editors' tables: any bytes as the file, opened, checked (the server's duplicate check
// included), saved and opened again. The rules shown after the second opening must be those
// saved, and a second save the same bytes.

#include "RuleFileRoundTrip.h"

#include "common/UComon.h"
#include "editors/fieldbus/core/UCANopenRuleSpec.h"
#include "editors/fieldbus/core/UDeviceNetRuleSpec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString dir = zfw::fuzz::scratchDir("canopen_rules");
    const QString input = zfw::joinPath(dir, QStringLiteral("rules.xml"));
    const QString saved = zfw::joinPath(dir, QStringLiteral("rules_saved.xml"));
    if (!zfw::fuzz::writeBytes(input, zfw::fuzz::bytesOf(data, size)))
        return 0;
    // The first fault names one of the file's tables.
    zfw::fuzz::RuleRoundTripChecks checks;
    checks.faultIsSane = [](const zfw::RuleFile& f, const zfw::RuleFault& fault) {
        return fault.ok() || (fault.table >= 0 && fault.table < int(f.tables.size()));
    };
    zfw::fuzz::ruleFileRoundTrip(input, saved, zfw::pdoRuleSpec(), checks);
    zfw::fuzz::ruleFileRoundTrip(input, saved, zfw::sdoClientRuleSpec(), checks);
    zfw::fuzz::ruleFileRoundTrip(input, saved, zfw::sdoServerRuleSpec(), checks);
    zfw::fuzz::ruleFileRoundTrip(input, saved, zfw::deviceNetRuleSpec(), checks);
    return 0;
}
