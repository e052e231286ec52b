// A rule file through the rule editors' tables: any bytes as the file, opened by the LoRaWAN
// editor (both FPort modes), the S7 editor and a growing table of rows under the root,
// checked, saved, and opened again. The rules
// shown after the second opening must be those saved, and a second save the same bytes.

#include "FuzzSupport.h"

#include "common/UComon.h"
#include "config/core/ULoRaRuleSpec.h"
#include "config/core/US7RuleSpec.h"
#include "ruleedit/core/URuleSpecBuild.h"
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

// Rows directly under the root, a table that grows from 4 to 64 rules, no Enable column, a
// key as it stands, an older attribute name and no version comment.
zfw::RuleFileSpec growingRootRows()
{
    using namespace zfw::rulespec;
    zfw::RuleTableSpec t;
    t.rowCount = 5;
    t.maxRowCount = 65;
    t.rowElement = QStringLiteral("Row");
    t.enableAttribute.clear();
    t.keyAttribute = QStringLiteral("Key");
    t.keyTest = zfw::RuleKeyTest::AsItStands;
    zfw::RuleColumn value = column(u"Value", 0);
    value.legacyAttributes = {QStringLiteral("StartByte")};
    t.columns = {numberColumn(0), column(u"Key", 0), value, column(u"Enable", 0)};
    t.checks = {range(u"Value", 0, 0, 255)};
    zfw::RuleFileSpec f;
    f.rootElement = QStringLiteral("Rows");
    f.tables = {t};
    return f;
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
    roundTrip(input, saved, growingRootRows());
    return 0;
}
