// The CANopen PDO, SDO client and SDO server files and the DeviceNet slave list through their
// editors' tables: any bytes as the file, opened, checked (the server's duplicate check
// included), saved and opened again. The rules shown after the second opening must be those
// saved, and a second save the same bytes.

#include "FuzzSupport.h"

#include "common/UComon.h"
#include "editors/fieldbus/core/UCANopenRuleSpec.h"
#include "editors/fieldbus/core/UDeviceNetRuleSpec.h"

namespace {

void roundTrip(const QString& input, const QString& saved, const zfw::RuleFileSpec& spec)
{
    zfw::RuleFile first(spec);
    const zfw::RuleLoadReport report = zfw::loadRuleFile(first, input);
    if (!report.fileError.isEmpty()) {
        for (const zfw::RuleTable& t : first.tables)
            ZFW_FUZZ_CHECK(t.ruleCount() == 0);
        return;
    }
    const zfw::RuleFault fault = zfw::Controllo_dati(first);
    ZFW_FUZZ_CHECK(fault.ok() || (fault.table >= 0 && fault.table < int(first.tables.size())));

    const zfw::FileResult written = zfw::saveRuleFile(first, saved);
    if (!written.ok) {
        ZFW_FUZZ_CHECK(!written.message.isEmpty());
        return;
    }
    zfw::RuleFile second(spec);
    const zfw::RuleLoadReport again = zfw::loadRuleFile(second, saved);
    ZFW_FUZZ_CHECK(again.fileError.isEmpty() && again.missingTables.isEmpty());
    ZFW_FUZZ_CHECK(again.missingValues.isEmpty() && again.totalRowsNotShown() == 0);
    for (std::size_t t = 0; t < first.tables.size(); ++t) {
        const zfw::RuleTable& a = first.tables[t];
        const zfw::RuleTable& b = second.tables[t];
        ZFW_FUZZ_CHECK(a.ruleCount() == b.ruleCount());
        for (int r = 1; r <= a.ruleCount(); ++r)
            for (int c = 1; c < a.columnCount(); ++c)
                ZFW_FUZZ_CHECK(a.cell(c, r) == b.cell(c, r));
    }
    ZFW_FUZZ_CHECK(zfw::ruleFileBytes(second) == zfw::ruleFileBytes(first));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString dir = zfw::fuzz::scratchDir("canopen_rules");
    const QString input = zfw::joinPath(dir, QStringLiteral("rules.xml"));
    const QString saved = zfw::joinPath(dir, QStringLiteral("rules_saved.xml"));
    if (!zfw::fuzz::writeBytes(input, zfw::fuzz::bytesOf(data, size)))
        return 0;
    roundTrip(input, saved, zfw::pdoRuleSpec());
    roundTrip(input, saved, zfw::sdoClientRuleSpec());
    roundTrip(input, saved, zfw::sdoServerRuleSpec());
    roundTrip(input, saved, zfw::deviceNetRuleSpec());
    return 0;
}
