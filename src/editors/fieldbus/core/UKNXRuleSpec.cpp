#include "editors/fieldbus/core/UKNXRuleSpec.h"

#include "common/TextUtil.h"
#include "common/UComonValidators.h"
#include "ruleedit/core/URuleSpecBuild.h"

namespace zfw {

using namespace rulespec;

namespace {

const QStringList kApci = {QStringLiteral("Read"), QStringLiteral("Write")};
const QStringList kPriorities = {QStringLiteral("System"), QStringLiteral("Urgent"),
                                 QStringLiteral("Normal"), QStringLiteral("Low")};
const QStringList kFormats = {QStringLiteral("None"),
                              QStringLiteral("Swap16"),
                              QStringLiteral("Swap32"),
                              QStringLiteral("Swap All"),
                              QStringLiteral("Int to Float"),
                              QStringLiteral("Float to Int"),
                              QStringLiteral("Float16 to Float32"),
                              QStringLiteral("Float16 to Int")};

constexpr int kErrorRow = 4548;

QStringList numberItems(int first, int count)
{
    QStringList out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out.append(QString::number(first + i));
    return out;
}

RuleColumn required(RuleColumn c)
{
    c.guarded = false;
    return c;
}

RuleColumn withDefault(RuleColumn c, const char* text)
{
    c.defaultText = QString::fromLatin1(text);
    return c;
}

std::optional<RuleFault> checkSource(const RuleTable& t, int row)
{
    if (Check_KNX_Address(trimBlanks(t.text(u"Source_Address", row)), false, true) != 0)
        return fault(4549);
    return std::nullopt;
}

// A destination without a dot is a group address.
std::optional<RuleFault> checkDestination(const RuleTable& t, int row)
{
    const QString dest = trimBlanks(t.text(u"Destination_Address", row));
    const bool group = KNX_Is_Group_Address(dest);
    if (Check_KNX_Address(dest, group, true) != 0)
        return fault(group ? 4551 : 4550);
    return std::nullopt;
}

std::optional<RuleFault> checkApci(const RuleTable& t, int row)
{
    const QString apci = t.text(u"APCI", row);
    const QString upper = apci.toUpper();
    if (upper == QLatin1String("READ") || upper == QLatin1String("WRITE"))
        return std::nullopt;
    const int v = strToIntDef(apci, -1);
    if (v < 0 || v > 1023)
        return fault(4552);
    return std::nullopt;
}

RuleRowCheck checkFactor(QChar separator)
{
    return [separator](const RuleTable& t, int row) -> std::optional<RuleFault> {
        const QString factor = t.text(u"MultiplicationFactor", row);
        if (trimBlanks(factor.toUpper()).isEmpty())
            return std::nullopt;
        float value = 0;
        if (!Str_To_Float_Sep(factor, separator, value))
            return fault(4565);
        return std::nullopt;
    };
}

// OnTimer counts once upper-cased, blanks not trimmed: "y" yes, " Y" no.
std::optional<RuleFault> checkPollTime(const RuleTable& t, int row)
{
    if (t.text(u"On_Timer", row).toUpper() != QLatin1String("Y"))
        return std::nullopt;
    const int v = strToIntDef(t.text(u"Poll_Time", row), -1);
    if (v < 1 || v > 100000000)
        return fault(4555);
    return std::nullopt;
}

// Bit mode, length and the bytes the rule takes from Position on. A length in bit mode
// counts bits from the start bit, so the bytes are (length + start bit + 7) div 8.
RuleRowCheck checkPlacement(int dataArray)
{
    return [dataArray](const RuleTable& t, int row) -> std::optional<RuleFault> {
        const QString bitMode = t.text(u"Bit_Mode", row);
        const bool byteMode = bitMode.toUpper() == QLatin1String("NO");
        qint64 startBit = 0;
        if (!byteMode) {
            startBit = strToIntDef(bitMode, -1);
            if (startBit < 0 || startBit > 7)
                return fault(4557);
        }
        const bool extended = t.text(u"Extended", row).toUpper() == QLatin1String("Y");
        const qint64 maxBytes = extended ? 255 : 14;
        const qint64 maxLength = byteMode ? maxBytes : maxBytes * 8;
        const qint64 length = strToIntDef(t.text(u"Length", row), -1);
        if (length < 1 || length > maxLength)
            return fault(4558, maxLength);
        const qint64 bytes = byteMode ? length : (length + startBit + 7) / 8;
        const qint64 position = strToIntDef(t.text(u"Position", row), -1);
        if (position + bytes > dataArray)
            return fault(4559, dataArray);
        return std::nullopt;
    };
}

// A file's priority outside the list reads as "Normal"; the rows the file does not give
// stay empty.
void normalisePriority(RuleTable& t, int row, const XmlElement&)
{
    const int c = t.spec().col(u"Priority");
    if (!kPriorities.contains(t.cell(c, row)))
        t.setCell(c, row, QStringLiteral("Normal"));
}

}  // namespace

RuleFileSpec knxRuleSpec(QChar decimalSeparator, int dataArray)
{
    RuleTableSpec t;
    t.element = QStringLiteral("KNX_in_Write");
    t.tabText = 4501;  // the window's title names the table in the load and save reports
    t.rowCount = kKnxRuleRows;
    t.keyAttribute = QStringLiteral("Source_Address");
    t.keyTest = RuleKeyTest::Trimmed;
    t.enableRule = RuleEnableRule::TrimmedY;
    t.showHints = true;
    RuleColumn timeOut = withDefault(column(u"TimeOut", 4562), "0");
    timeOut.width = 96;
    t.columns = {
        numberColumn(4514),
        enableColumn(4515),
        required(column(u"Source_Address", 4516)),
        required(column(u"Destination_Address", 4517)),
        required(comboEdit(u"APCI", 4518, kApci)),
        withDefault(combo(u"Priority", 4519, kPriorities), "Normal"),
        withDefault(combo(u"Format", 4520, kFormats), "None"),
        column(u"MultiplicationFactor", 4561),
        required(column(u"Extended", 4521, RuleColumnKind::CheckBox)),
        required(column(u"ReTest", 4522, RuleColumnKind::CheckBox)),
        column(u"On_Command", 4523, RuleColumnKind::CheckBox),
        required(column(u"On_Change", 4524, RuleColumnKind::CheckBox)),
        column(u"On_Timer", 4525, RuleColumnKind::CheckBox),
        required(column(u"Poll_Time", 4526)),
        required(combo(u"Position", 4527, numberItems(0, dataArray))),
        required(combo(u"Bit_Mode", 4528, QStringList{QStringLiteral("No")} + numberItems(0, 8))),
        required(column(u"Length", 4529)),
        timeOut,
        required(column(u"Mnemonic", 4530)),
    };
    // The hint list passes over text 4539.
    setHints(t.columns, {4531, 4532, 4533, 4534, 4535, 4536, 4563, 4537, 4538, 4540, 4541, 4542,
                         4543, 4544, 4545, 4546, 4564, 4547});
    t.rowLoaded = normalisePriority;
    t.checks = {
        rowCheck(checkSource, {QStringLiteral("Source_Address")}),
        rowCheck(checkDestination, {QStringLiteral("Destination_Address")}),
        rowCheck(checkApci, {QStringLiteral("APCI")}),
        oneOf(u"Priority", 4553, kPriorities),
        notBlank(u"Format", 4554),
        rowCheck(checkFactor(decimalSeparator), {QStringLiteral("MultiplicationFactor")}),
        rowCheck(checkPollTime, {QStringLiteral("On_Timer"), QStringLiteral("Poll_Time")}),
        rangeWithBound(u"Position", 4556, 0, dataArray - 1),
        rowCheck(checkPlacement(dataArray), {QStringLiteral("Bit_Mode"), QStringLiteral("Extended"),
                                             QStringLiteral("Length"), QStringLiteral("Position")}),
        range(u"TimeOut", 4566, 0, 100000000),
    };

    RuleFileSpec f;
    f.captionText = 4500;
    f.titleText = 4501;
    f.buttonCaptionText = 4502;
    f.buttonHintText = 4508;
    f.rootElement = QStringLiteral("BACnet_to_KNX");
    f.version = QStringLiteral("1.002");
    f.errorRowText = kErrorRow;
    f.deleteRowText = 4560;
    f.tables = {t};
    return builtRuleSpec(f);
}

}  // namespace zfw
