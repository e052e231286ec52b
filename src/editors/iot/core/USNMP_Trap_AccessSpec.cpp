#include "editors/iot/core/USNMP_Trap_AccessSpec.h"

#include "common/TextUtil.h"
#include "common/UComonValidators.h"
#include "editors/iot/core/USNMPMib.h"
#include "ruleedit/core/URuleSpecBuild.h"

#include <QSet>

namespace zfw {

using namespace rulespec;

namespace {

constexpr int kTextUnique = 6280;

const QStringList kConversions = {"None",         "Float",      "Float * 10",  "Float * 100",
                                  "Float * 1000", "Float / 10", "Float / 100", "Float / 1000",
                                  "Int * 10",     "Int * 100",  "Int * 1000"};

// Message texts of one table's checks, in the order they run.
struct TableTexts {
    int community, type, position, startBit, stringBit, intBits, stringBytes, description, reserved,
        conversion;
};

QStringList numberItems(int count)
{
    QStringList out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out.append(QString::number(i));
    return out;
}

bool isIntRow(const RuleTable& t, int row)
{
    return asciiUpper(t.text(u"Type", row)) == QLatin1String("INT");
}

RuleColumn conversionColumn(int header)
{
    RuleColumn c = combo(u"Conversion", header, kConversions);
    c.defaultText = QStringLiteral("None");
    return c;
}

QList<RuleCheck> checksOf(const TableTexts& x)
{
    const RuleRowCheck community = [x](const RuleTable& t, int row) -> std::optional<RuleFault> {
        if (Check_Error_CommName_Desc(t.text(u"Community_Name", row), 0))
            return fault(x.community);
        return std::nullopt;
    };
    const RuleRowCheck stringBit = [x](const RuleTable& t, int row) -> std::optional<RuleFault> {
        if (!isIntRow(t, row) && trimBlanks(t.text(u"Bit", row)) != QLatin1String("0"))
            return fault(x.stringBit);
        return std::nullopt;
    };
    const RuleRowCheck size = [x](const RuleTable& t, int row) -> std::optional<RuleFault> {
        const int n = strToIntDef(t.text(u"NumBits", row), -1);
        if (isIntRow(t, row))
            return n >= 1 && n <= 64 ? std::nullopt : std::optional(fault(x.intBits));
        return n >= 1 && n <= 16 ? std::nullopt : std::optional(fault(x.stringBytes));
    };
    const RuleRowCheck description = [x](const RuleTable& t, int row) -> std::optional<RuleFault> {
        const QString d = t.text(u"Description", row);
        if (Check_Error_CommName_Desc(d, 1))
            return fault(x.description);
        // Mended: a Description equal to a name the MIB gives one of its own objects used
        // to pass, and the generated MIB then held two objects of that name.
        if (isSnmpMibReservedName(d))
            return fault(x.reserved);
        return std::nullopt;
    };
    return {
        rowCheck(community, {"Community_Name"}), notBlank(u"Type", x.type),
        notBlank(u"Position", x.position),       notBlank(u"Bit", x.startBit),
        rowCheck(stringBit, {"Type", "Bit"}),    rowCheck(size, {"Type", "NumBits"}),
        rowCheck(description, {"Description"}),
    };
}

RuleTableSpec tableOf(const char* element, int tab)
{
    RuleTableSpec t;
    t.element = QString::fromLatin1(element);
    t.tabText = tab;
    t.rowCount = kSNMPTrapRules + 1;
    t.keyAttribute = QStringLiteral("Community_Name");
    t.keyTest = RuleKeyTest::Trimmed;
    t.enableRule = RuleEnableRule::UpperCasedY;
    t.showHints = true;
    return t;
}

// Descriptions of the enabled rows of both rule lists, read table first, must all differ,
// exactly compared; an empty one counts like any other.
std::optional<RuleFault> checkUnique(const RuleFile& file)
{
    QSet<QString> seen;
    for (const RuleTable& t : file.tables) {
        const int rules = t.ruleCount();
        for (int row = 1; row <= rules; ++row) {
            if (!t.isEnabled(row))
                continue;
            const QString d = t.text(u"Description", row);
            if (seen.contains(d))
                return fault(kTextUnique, std::nullopt, RuleMessageForm::NoRowPrefix);
            seen.insert(d);
        }
    }
    return std::nullopt;
}

}  // namespace

bool Check_Error_CommName_Desc(const QString& str, int Check_Type)
{
    for (qsizetype i = 0; i < str.size(); ++i) {
        const QChar c = str[i];
        const bool lower = c >= u'a' && c <= u'z';
        if (i == 0 && Check_Type == 1 && !lower)
            return true;
        if (!lower && !(c >= u'A' && c <= u'Z') && !(c >= u'0' && c <= u'9'))
            return true;
    }
    return false;
}

RuleFileSpec snmpTrapSpec()
{
    RuleTableSpec read = tableOf("SNMP_Trap_Read", 6208);
    read.columns = {
        numberColumn(6216),
        enableColumn(6217),
        comboEdit(u"Community_Name", 6218, {"Public", "Private"}),
        combo(u"Type", 6219, {"Int", "String"}),
        column(u"On_Change", 6220, RuleColumnKind::CheckBox),
        column(u"On_Command", 6221, RuleColumnKind::CheckBox),
        column(u"On_Timer", 6222, RuleColumnKind::CheckBox),
        column(u"Time", 6223),
        combo(u"Position", 6224, numberItems(kSNMPTrapPositions)),
        combo(u"Bit", 6225, numberItems(8)),
        column(u"NumBits", 6226),
        column(u"Description", 6227),
        column(u"IP_Address", 6228),
        conversionColumn(6281),
        column(u"Mnemonic", 6229),
    };
    setHints(read.columns,
             {6239, 6240, 6241, 6242, 6243, 6244, 6245, 6246, 6247, 6248, 6249, 6250, 6283, 6251});
    read.checks = checksOf({6276, 6261, 6263, 6264, 6265, 6266, 6267, 6277, 6287, 6285});
    // The timer is checked after the type, the address after the description.
    RuleCheck time = range(u"Time", 6262, 1, 1000000000);
    time.onlyWhenYesIn = QStringLiteral("On_Timer");
    read.checks.insert(2, time);
    const RuleRowCheck address = [](const RuleTable& t, int row) -> std::optional<RuleFault> {
        QString a, b, c, d;
        if (Split_IP_Address(t.text(u"IP_Address", row), a, b, c, d))
            return std::nullopt;
        return fault(6268);
    };
    read.checks.append(rowCheck(address, {"IP_Address"}));
    read.checks.append(notBlank(u"Conversion", 6285));

    RuleTableSpec write = tableOf("SNMP_Trap_Write", 6209);
    write.columns = {
        numberColumn(6230),
        enableColumn(6231),
        comboEdit(u"Community_Name", 6232, {"Public", "Private"}),
        combo(u"Type", 6233, {"Int", "String"}),
        combo(u"Position", 6234, numberItems(kSNMPTrapPositions)),
        combo(u"Bit", 6235, numberItems(8)),
        column(u"NumBits", 6236),
        column(u"Description", 6237),
        conversionColumn(6282),
        column(u"Mnemonic", 6238),
    };
    setHints(write.columns, {6252, 6253, 6254, 6255, 6256, 6257, 6258, 6284, 6259});
    write.checks = checksOf({6278, 6269, 6270, 6271, 6272, 6273, 6274, 6279, 6288, 6286});
    write.checks.append(notBlank(u"Conversion", 6286));

    RuleFileSpec f;
    f.captionText = 6200;
    f.titleText = 6201;
    f.buttonCaptionText = 6202;
    f.buttonHintText = 6210;
    f.rootElement = QStringLiteral("SNMP_Trap");
    f.version = QStringLiteral("1.000");
    f.errorRowText = 6260;
    f.deleteRowText = 6275;
    f.tables = {read, write};
    f.fileChecks = {checkUnique};
    return builtRuleSpec(f);
}

}  // namespace zfw
