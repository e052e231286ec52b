#pragma once
// The round trip every rule-file target runs: any bytes opened by a table descriptor, checked,
// saved and opened again. The rules shown after the second opening must be those saved, and a
// second save the same bytes.

#include "FuzzSupport.h"

#include "ruleedit/core/URuleTable.h"

#include <functional>

namespace zfw::fuzz {

struct RuleRoundTripChecks {
    // After a file error the tables hold exactly their opening texts; otherwise they hold no
    // rule (tables without a key count every row as a rule, so they ask for the texts).
    bool openingTextsAfterFileError = false;
    // What the file's first fault must satisfy, when the target knows.
    std::function<bool(const RuleFile&, const RuleFault&)> faultIsSane;
};

inline void ruleFileRoundTrip(const QString& input, const QString& saved, const RuleFileSpec& spec,
                              const RuleRoundTripChecks& checks = {})
{
    RuleFile first(spec);
    const RuleLoadReport report = loadRuleFile(first, input);
    if (!report.fileError.isEmpty()) {
        // Nothing half read: the tables stay as an opening clears them.
        for (const RuleTable& t : first.tables) {
            if (!checks.openingTextsAfterFileError) {
                ZFW_FUZZ_CHECK(t.ruleCount() == 0);
                continue;
            }
            for (int r = 1; r < t.rowCount(); ++r)
                for (int c = 1; c < t.columnCount(); ++c)
                    ZFW_FUZZ_CHECK(t.cell(c, r) == t.spec().columns[c].openingText);
        }
        return;
    }
    const RuleFault fault = Controllo_dati(first);
    if (checks.faultIsSane)
        ZFW_FUZZ_CHECK(checks.faultIsSane(first, fault));

    const FileResult written = saveRuleFile(first, saved);
    if (!written.ok) {
        // Only a text the file format cannot hold may stop a save, and it says so.
        ZFW_FUZZ_CHECK(!written.message.isEmpty());
        return;
    }
    RuleFile second(spec);
    const RuleLoadReport again = loadRuleFile(second, saved);
    ZFW_FUZZ_CHECK(again.fileError.isEmpty() && again.missingTables.isEmpty());
    ZFW_FUZZ_CHECK(again.missingValues.isEmpty() && again.totalRowsNotShown() == 0);
    for (std::size_t t = 0; t < first.tables.size(); ++t) {
        const RuleTable& a = first.tables[t];
        const RuleTable& b = second.tables[t];
        ZFW_FUZZ_CHECK(a.ruleCount() == b.ruleCount());
        for (int r = 1; r <= a.ruleCount(); ++r)
            for (int c = 1; c < a.columnCount(); ++c)
                ZFW_FUZZ_CHECK(a.cell(c, r) == b.cell(c, r));
    }
    ZFW_FUZZ_CHECK(ruleFileBytes(second) == ruleFileBytes(first));
}

}  // namespace zfw::fuzz
