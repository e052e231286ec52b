#include "editors/iot/core/UIEC61850_VariablesSpec.h"

#include "common/TextUtil.h"
#include "common/UComonValidators.h"
#include "ruleedit/core/URuleSpecBuild.h"

namespace zfw {

using namespace rulespec;

namespace {

constexpr int kTextStartBit = 5038;
constexpr int kTextConversion = 5039;
constexpr int kTextFactor = 5040;

// The start bit counts only for this type, compared as it stands: " Digital (Bit)" is
// another type and needs no bit.
const QString kDigital = QStringLiteral("Digital (Bit)");

RuleColumn sized(RuleColumn c, int width)
{
    c.width = width;
    return c;
}

}  // namespace

RuleFileSpec iec61850VariablesSpec(int NByte_IN, QChar decimalSeparator)
{
    RuleTableSpec t;
    t.element.clear();
    t.tabText = 5001;  // the window's title names the table in the load and save reports
    t.rowCount = kIEC61850Variables + 1;
    t.keyAttribute = QStringLiteral("Name");
    t.keyTest = RuleKeyTest::Trimmed;
    t.enableRule = RuleEnableRule::TrimmedY;
    t.showHints = true;

    QStringList bits;
    for (int b = 0; b < 8; ++b)
        bits.append(QString::number(b));
    t.columns = {
        sized(numberColumn(5014), 40),
        sized(enableColumn(5015), 50),
        sized(column(u"Name", 5016), 250),
        sized(combo(u"Type", 5017, {"Int", "Float", kDigital}), 80),
        sized(column(u"Length", 5018), 65),
        sized(column(u"ReadOnly", 5019, RuleColumnKind::CheckBox), 65),
        sized(column(u"Position", 5020), 80),
        sized(combo(u"StartBit", 5032, bits), 60),
        sized(combo(u"Conversion", 5033, {"None", "Int to Float", "Float to Int"}), 75),
        sized(comboEdit(u"MultiplicationFactor", 5034, {"None"}), 75),
        sized(column(u"Swap", 5042, RuleColumnKind::CheckBox), 45),
        sized(column(u"SwapWord", 5043, RuleColumnKind::CheckBox), 80),
        sized(column(u"Mnemonic", 5021), 128),
    };
    setHints(t.columns, {5022, 5023, 5024, 5025, 5026, 5027, 5035, 5036, 5037, 5044, 5045, 5028});

    const RuleRowCheck startBit = [](const RuleTable& table, int row) -> std::optional<RuleFault> {
        if (table.text(u"Type", row) == kDigital
            && trimBlanks(table.text(u"StartBit", row)).isEmpty())
            return fault(kTextStartBit);
        return std::nullopt;
    };
    const RuleRowCheck factor = [decimalSeparator](const RuleTable& table,
                                                   int row) -> std::optional<RuleFault> {
        const QString text = table.text(u"MultiplicationFactor", row);
        if (asciiUpper(trimBlanks(text)) == QLatin1String("NONE"))
            return std::nullopt;
        float value = 0;
        if (Str_To_Float_Sep(text, decimalSeparator, value))
            return std::nullopt;
        return fault(kTextFactor);
    };
    t.checks = {
        range(u"Length", 5041, 1, 4),
        rangeWithBound(u"Position", 5030, 0, NByte_IN - 1),
        rowCheck(startBit, {"Type", "StartBit"}),
        notBlank(u"Conversion", kTextConversion),
        rowCheck(factor, {"MultiplicationFactor"}),
    };

    RuleFileSpec f;
    f.captionText = 5000;
    f.titleText = 5001;
    f.buttonCaptionText = 5002;
    f.buttonHintText = 5008;
    f.rootElement = QStringLiteral("IEC61850_Variables");
    f.version = QStringLiteral("1.000");
    f.errorRowText = 5029;
    f.deleteRowText = 5031;
    f.tables = {t};
    return builtRuleSpec(f);
}

}  // namespace zfw
