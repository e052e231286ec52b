#include "editors/iot/core/USNMPManagerAccessSpec.h"

#include "common/TextUtil.h"
#include "common/UComonValidators.h"
#include "ruleedit/core/URuleSpecBuild.h"

#include <QHash>

namespace zfw {

using namespace rulespec;

namespace {

// Texts of the checks.
constexpr int kTextIp = 6138;
constexpr int kTextOidFirst = 6139;  // codes 1 to 6 of Check_OID_String, in order
constexpr int kTextTime = 6145;
constexpr int kTextBytes = 6146;
constexpr int kTextConversion = 6156;
constexpr int kTextAuthMode = 6184;
constexpr int kTextPrivMode = 6185;
constexpr int kTextRows = 6186;     // "Error in rows "
constexpr int kTextAnd = 6187;      // " and "
constexpr int kTextSame = 6188;     // "!! Same IP Address, Version and OID used"
constexpr int kTextTooMany = 6189;  // the total is over the room

QStringList numberItems(int count)
{
    QStringList out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out.append(QString::number(i));
    return out;
}

bool isVersion3(const RuleTable& t, int row)
{
    return strToIntDef(t.text(u"Version", row), -1) == 3;
}

// Length + 1 of a text that is not empty, else 0.
qint64 counted(const QString& text) { return text.isEmpty() ? 0 : text.size() + 1; }

std::optional<RuleFault> checkAddress(const RuleTable& t, int row)
{
    QString a, b, c, d;
    if (Split_IP_Address(t.text(u"IP_Address", row), a, b, c, d))
        return std::nullopt;
    return fault(kTextIp);
}

// An empty OID gives code 2 (only digits and dots), as any other text without a number.
std::optional<RuleFault> checkOid(const RuleTable& t, int row)
{
    const int code = Check_OID_String(t.text(u"OID", row));
    if (code == 0)
        return std::nullopt;
    return fault(kTextOidFirst + code - 1);
}

// An empty Security Level gives -1: both bits set, so it asks for both modes.
std::optional<RuleFault> checkVersion3(const RuleTable& t, int row)
{
    if (!isVersion3(t, row))
        return std::nullopt;
    const int level = Str_To_SNMP_Security_Level(t.text(u"Security_Level", row));
    if ((level & 1) && trimBlanks(t.text(u"Auth_Mode", row)).isEmpty())
        return fault(kTextAuthMode);
    if ((level & 2) && trimBlanks(t.text(u"Priv_Mode", row)).isEmpty())
        return fault(kTextPrivMode);
    return std::nullopt;
}

// The first pair (lowest first row, then lowest second row) of enabled requests with the same
// trimmed address, version and identifier, found in one pass over the rule list.
std::optional<RuleFault> checkDuplicates(const RuleFile& file)
{
    const RuleTable& t = file.tables[0];
    const int rules = t.ruleCount();
    QHash<QString, int> firstRow;
    int bestFirst = 0;
    int bestSecond = 0;
    for (int row = 1; row <= rules; ++row) {
        if (!t.isEnabled(row))
            continue;
        const QString key = trimBlanks(t.text(u"IP_Address", row)) + QChar(0)
                            + trimBlanks(t.text(u"Version", row)) + QChar(0)
                            + trimBlanks(t.text(u"OID", row));
        const auto it = firstRow.constFind(key);
        if (it == firstRow.constEnd()) {
            firstRow.insert(key, row);
            continue;
        }
        // Rows come in order, so this is the lowest partner of its first row; a lower first
        // row found later still wins.
        if (bestFirst == 0 || *it < bestFirst) {
            bestFirst = *it;
            bestSecond = row;
        }
    }
    if (bestFirst == 0)
        return std::nullopt;
    RuleFault f = fault(kTextRows, bestFirst, RuleMessageForm::NoRowPrefix);
    f.row = bestFirst;
    f.afterText = kTextAnd;
    f.morePieces = {{bestSecond, kTextSame}};
    return f;
}

std::optional<RuleFault> checkTotal(const RuleFile& file)
{
    if (snmpManagerTextTotal(file.tables[0]) <= kSNMPManagerTextRoom)
        return std::nullopt;
    return fault(kTextTooMany, std::nullopt, RuleMessageForm::NoRowPrefix);
}

}  // namespace

qint64 snmpManagerTextTotal(const RuleTable& t)
{
    qint64 total = 1;
    const int rules = t.ruleCount();
    for (int row = 1; row <= rules; ++row) {
        if (!t.isEnabled(row))
            continue;
        total += counted(t.text(u"OID", row));
        if (!isVersion3(t, row))
            continue;
        total += counted(t.text(u"User", row));
        const int level = Str_To_SNMP_Security_Level(t.text(u"Security_Level", row));
        if (level & 1)
            total += counted(t.text(u"Auth_Pass", row));
        if (level & 2)
            total += counted(t.text(u"Priv_Pass", row));
    }
    return total;
}

RuleFileSpec snmpManagerSpec()
{
    // Addresses and object identifiers are longer than the header texts.
    RuleColumn address = column(u"IP_Address", 6110);
    address.width = 110;
    RuleColumn oid = column(u"OID", 6113);
    oid.width = 170;
    RuleColumn conversion = combo(u"ConvertFrom", 6154,
                                  {"None", "Float", "Float * 10", "Float * 100"});
    conversion.defaultText = QStringLiteral("None");
    QList<RuleColumn> cols = {
        numberColumn(6108),
        enableColumn(6109),
        address,
        combo(u"Version", 6111, {"1", "2", "3"}),
        comboEdit(u"Community_String", 6112, {"Public", "Private"}),
        oid,
        combo(u"Type", 6114, {"String", "Int"}),
        combo(u"Mode", 6115, {"Get", "Set", "Trap"}),
        column(u"On_Change", 6116, RuleColumnKind::CheckBox),
        column(u"On_Command", 6117, RuleColumnKind::CheckBox),
        column(u"On_Timer", 6118, RuleColumnKind::CheckBox),
        column(u"Time", 6119),
        combo(u"Position", 6120, numberItems(kSNMPManagerPositions)),
        column(u"Number_Bytes", 6121),
        conversion,
        column(u"Cancel", 6160, RuleColumnKind::CheckBox),
        column(u"User", 6162),
        column(u"Auth_Pass", 6163),
        column(u"Priv_Pass", 6164),
        combo(u"Security_Level", 6165, {"NoAuth NoPriv", "Auth NoPriv", "Auth Priv"}),
        combo(u"Auth_Mode", 6166, {"MD5", "SHA"}),
        combo(u"Priv_Mode", 6167, {"DES", "AES"}),
        column(u"Mnemonic", 6122),
    };
    setHints(cols, {6123, 6124, 6125, 6126, 6127, 6128, 6129, 6130, 6131, 6132, 6133,
                    6134, 6135, 6155, 6161, 6168, 6169, 6170, 6171, 6172, 6173, 6136});

    RuleCheck time = range(u"Time", kTextTime, 1, 100000000);
    time.onlyWhenYesIn = QStringLiteral("On_Timer");

    RuleTableSpec t;
    t.element.clear();
    t.tabText = 6101;
    t.rowCount = kSNMPManagerRules + 1;
    t.keyAttribute = QStringLiteral("IP_Address");
    t.keyTest = RuleKeyTest::Trimmed;
    t.enableRule = RuleEnableRule::TrimmedY;
    t.showHints = true;
    t.columns = cols;
    t.checks = {
        rowCheck(checkAddress, {"IP_Address"}),
        rowCheck(checkOid, {"OID"}),
        time,
        range(u"Number_Bytes", kTextBytes, 0, 1024),
        notBlank(u"ConvertFrom", kTextConversion),
        rowCheck(checkVersion3, {"Version", "Security_Level", "Auth_Mode", "Priv_Mode"}),
    };

    RuleFileSpec f;
    f.captionText = 6100;
    f.titleText = 6101;
    f.buttonCaptionText = 6102;
    f.buttonHintText = 6148;
    f.rootElement = QStringLiteral("SNMP_Manager_Access");
    f.version = QStringLiteral("1.000");
    f.errorRowText = 6137;
    f.deleteRowText = 6147;
    f.tables = {t};
    f.fileChecks = {checkDuplicates, checkTotal};
    return builtRuleSpec(f);
}

}  // namespace zfw
