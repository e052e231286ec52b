// A rule file through the rule editors' tables: any bytes as the file, opened by the LoRaWAN
// editor (both FPort modes), the S7 editor and a growing table of rows under the root,
// checked, saved, and opened again. The rules
// shown after the second opening must be those saved, and a second save the same bytes.

#include "RuleFileRoundTrip.h"

#include "common/UComon.h"
#include "config/core/ULoRaRuleSpec.h"
#include "config/core/US7RuleSpec.h"
#include "ruleedit/core/URuleSpecBuild.h"
#include "ruleedit/core/URuleTable.h"

namespace {

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
    zfw::fuzz::ruleFileRoundTrip(input, saved, zfw::loRaWanRuleSpec(fixed));
    zfw::fuzz::ruleFileRoundTrip(input, saved, zfw::loRaWanRuleSpec(variable));
    zfw::fuzz::ruleFileRoundTrip(input, saved, zfw::s7RuleSpec());
    zfw::fuzz::ruleFileRoundTrip(input, saved, growingRootRows());
    return 0;
}
