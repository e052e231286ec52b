// A rule file through the rule editors' tables: any bytes as the file, opened by the LoRaWAN
// editor (both FPort modes) and the S7 editor, checked, saved, and opened again. The rules
// shown after the second opening must be those saved, and a second save the same bytes.

#include "FuzzSupport.h"

#include "common/UComon.h"
#include "config/core/ULoRaRuleSpec.h"
#include "config/core/US7RuleSpec.h"
#include "ruleedit/core/URuleTable.h"

namespace {

void roundTrip(const QString& input, const QString& saved, const zfw::RuleFileSpec& spec)
{
    zfw::RuleFile first(spec);
    const zfw::RuleLoadReport report = zfw::loadRuleFile(first, input);
    if (!report.fileError.isEmpty()) {
        // Nothing half read: the tables stay as an opening clears them.
        for (const zfw::RuleTable& t : first.tables)
            ZFW_FUZZ_CHECK(t.ruleCount() == 0);
        return;
    }
    static_cast<void>(zfw::Controllo_dati(first));

    const zfw::FileResult written = zfw::saveRuleFile(first, saved);
    if (!written.ok) {
        // Only a text the file format cannot hold may stop a save, and it says so.
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
    const QString dir = zfw::fuzz::scratchDir("rules_roundtrip");
    const QString input = zfw::joinPath(dir, QStringLiteral("rules.xml"));
    const QString saved = zfw::joinPath(dir, QStringLiteral("rules_saved.xml"));
    if (!zfw::fuzz::writeBytes(input, zfw::fuzz::bytesOf(data, size)))
        return 0;

    zfw::LoRaWanEditorSetup fixed;
    fixed.MaxPayloadSize = 51;
    zfw::LoRaWanEditorSetup variable = fixed;
    variable.FPortFixed = false;
    roundTrip(input, saved, zfw::loRaWanRuleSpec(fixed));
    roundTrip(input, saved, zfw::loRaWanRuleSpec(variable));
    roundTrip(input, saved, zfw::s7RuleSpec());
    return 0;
}
