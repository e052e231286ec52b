// A Modbus master, CAN frame or DMX file through those editors' tables: any bytes as the file,
// opened by each of them (the DMX table with the fewest and the most channels), checked,
// saved, and opened again; and the same bytes as the general parameters the DMX editor takes
// its channel count from. The rules shown after the second opening must be those saved, a
// second save the same bytes, and the channel count always within the DMX universe.

#include "FuzzSupport.h"

#include "common/UComon.h"
#include "editors/fieldbus/core/UCANRuleSpec.h"
#include "editors/fieldbus/core/UDMXRuleSpec.h"
#include "editors/fieldbus/core/UModbusRuleSpec.h"
#include "ruleedit/core/URuleTable.h"

namespace {

void roundTrip(const QString& input, const QString& saved, const zfw::RuleFileSpec& spec)
{
    zfw::RuleFile first(spec);
    const zfw::RuleLoadReport report = zfw::loadRuleFile(first, input);
    if (!report.fileError.isEmpty()) {
        // Nothing half read: the tables stay as an opening clears them.
        for (const zfw::RuleTable& t : first.tables)
            for (int r = 1; r < t.rowCount(); ++r)
                for (int c = 1; c < t.columnCount(); ++c)
                    ZFW_FUZZ_CHECK(t.cell(c, r) == t.spec().columns[c].openingText);
        return;
    }
    static_cast<void>(zfw::Controllo_dati(first));

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
    ZFW_FUZZ_CHECK(zfw::ruleFileDocument(second).toByteArray()
                   == zfw::ruleFileDocument(first).toByteArray());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString dir = zfw::fuzz::scratchDir("modbus_can_rules");
    const QString input = zfw::joinPath(dir, QStringLiteral("rules.xml"));
    const QString saved = zfw::joinPath(dir, QStringLiteral("rules_saved.xml"));
    if (!zfw::fuzz::writeBytes(input, zfw::fuzz::bytesOf(data, size)))
        return 0;

    roundTrip(input, saved, zfw::modbusRtuRuleSpec());
    roundTrip(input, saved, zfw::modbusTcpRuleSpec({QStringLiteral("t0"), QStringLiteral("t1")}));
    roundTrip(input, saved, zfw::canReceiveRuleSpec());
    roundTrip(input, saved, zfw::canTransmitRuleSpec());
    roundTrip(input, saved, zfw::dmxRuleSpec(zfw::kDMXMinChannels));
    roundTrip(input, saved, zfw::dmxRuleSpec(zfw::kDMXMaxChannels));

    const zfw::DMXChannelCount count = zfw::readDMXChannelCount(input);
    ZFW_FUZZ_CHECK(count.channels >= zfw::kDMXMinChannels
                   && count.channels <= zfw::kDMXMaxChannels);
    ZFW_FUZZ_CHECK(!count.outOfRange || count.channels == zfw::kDMXMaxChannels);
    return 0;
}
