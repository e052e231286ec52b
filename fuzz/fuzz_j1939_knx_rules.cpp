// A J1939, KNX or NMEA 2000 rule file through its editor's tables: any bytes as the file,
// opened by each of the five tables (older send modes, normalised priorities and running
// totals included), checked, saved, and opened again. The rules shown after the second
// opening must be those saved, and a second save the same bytes.

#include "FuzzSupport.h"

#include "common/UComon.h"
#include "editors/fieldbus/core/UJ1939RuleSpec.h"
#include "editors/fieldbus/core/UKNXRuleSpec.h"
#include "editors/fieldbus/core/UNMEARuleSpec.h"
#include "ruleedit/core/URuleTable.h"

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
    ZFW_FUZZ_CHECK(fault.ok() || (fault.row >= 0 && fault.row <= first.tables[0].ruleCount()));

    const zfw::FileResult written = zfw::saveRuleFile(first, saved);
    if (!written.ok) {
        ZFW_FUZZ_CHECK(!written.message.isEmpty());
        return;
    }
    zfw::RuleFile second(spec);
    const zfw::RuleLoadReport again = zfw::loadRuleFile(second, saved);
    ZFW_FUZZ_CHECK(again.fileError.isEmpty() && again.missingTables.isEmpty());
    ZFW_FUZZ_CHECK(again.missingValues.isEmpty() && again.totalRowsNotShown() == 0);
    const zfw::RuleTable& a = first.tables[0];
    const zfw::RuleTable& b = second.tables[0];
    ZFW_FUZZ_CHECK(a.ruleCount() == b.ruleCount());
    for (int r = 1; r <= a.ruleCount(); ++r)
        for (int c = 1; c < a.columnCount(); ++c)
            ZFW_FUZZ_CHECK(a.cell(c, r) == b.cell(c, r));
    ZFW_FUZZ_CHECK(zfw::ruleFileDocument(second).toByteArray()
                   == zfw::ruleFileDocument(first).toByteArray());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString dir = zfw::fuzz::scratchDir("j1939_knx_rules");
    const QString input = zfw::joinPath(dir, QStringLiteral("rules.xml"));
    const QString saved = zfw::joinPath(dir, QStringLiteral("rules_saved.xml"));
    if (!zfw::fuzz::writeBytes(input, zfw::fuzz::bytesOf(data, size)))
        return 0;

    roundTrip(input, saved, zfw::j1939ReceiveSpec());
    roundTrip(input, saved, zfw::j1939TransmitSpec());
    roundTrip(input, saved, zfw::knxRuleSpec(QLatin1Char(',')));
    roundTrip(input, saved, zfw::nmeaReceiveSpec());
    roundTrip(input, saved, zfw::nmeaTransmitSpec());
    return 0;
}
