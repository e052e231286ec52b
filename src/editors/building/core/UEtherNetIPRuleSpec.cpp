#include "editors/building/core/UEtherNetIPRuleSpec.h"

#include "common/TextUtil.h"
#include "common/UComonValidators.h"
#include "editors/building/core/UEDSText.h"
#include "ruleedit/core/URuleSpecBuild.h"

namespace zfw {

namespace {

// Pieces of a byte list: cut at each comma, trimmed; an empty rest ends the list, so a final
// comma adds nothing while an empty piece between commas counts.
QStringList bytePieces(const QString& list)
{
    QStringList pieces;
    QString rest = trimBlanks(list);
    while (!rest.isEmpty()) {
        const qsizetype comma = rest.indexOf(u',');
        if (comma < 0) {
            pieces.append(rest);
            break;
        }
        pieces.append(trimBlanks(QStringView(rest).left(comma)));
        rest = trimBlanks(QStringView(rest).mid(comma + 1));
    }
    return pieces;
}

int checkBytes(const QString& list, bool key)
{
    const QStringList pieces = bytePieces(list);
    for (const QString& p : pieces) {
        const auto v = parseIntText(p);
        if (!v || *v < 0 || *v > 255)
            return 1;
    }
    if (key ? pieces.size() != 8 : pieces.size() > kDataSegmentMaxBytes)
        return 2;
    return 0;
}

std::optional<qint64> attrInt64(const XmlElement& e, const char* name)
{
    const auto v = e.attribute(QLatin1String(name));
    if (!v)
        return std::nullopt;
    return parseEdsInt64(trimBlanks(*v));
}

// The TargetCong part of a row element; a message when it is damaged.
std::optional<TTargetConfig> readTargetConfig(const XmlElement& part, QString& fault)
{
    TTargetConfig t;
    const char* texts[] = {"FileName", "Size", "Format", "AO_Name", "AO_SizeBit"};
    QString* fields[] = {&t.FileName, &t.Size, &t.Format, &t.AO_Name, &t.AO_SizeBit};
    for (int i = 0; i < 5; ++i) {
        const auto v = part.attribute(QLatin1String(texts[i]));
        if (!v) {
            fault = QStringLiteral("TargetCong lacks %1").arg(QLatin1String(texts[i]));
            return std::nullopt;
        }
        *fields[i] = *v;
    }
    const XmlElement params = childElement(part, u"ParamObjects");
    int index = 0;
    for (XmlElement e = params.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        ++index;
        TTC_ParamObj p;
        const auto bitSize = e.attribute(u"BitSize");
        const auto paramName = e.attribute(u"ParamName");
        const auto name = e.attribute(u"Name");
        const auto size = attrInt64(e, "DataSizeByte");
        const auto type = attrInt64(e, "DataType");
        const auto min = attrInt64(e, "Min");
        const auto max = attrInt64(e, "Max");
        const auto def = attrInt64(e, "Default");
        const auto value = attrInt64(e, "Value");
        const auto isEnum = e.attribute(u"Enum");
        if (!bitSize || !paramName || !name || !size || !type || !min || !max || !def || !value
            || !isEnum || *size < 0 || *size > kDataSegmentMaxBytes
            || *type != std::int32_t(*type)) {
            fault = QStringLiteral("parameter %1 of TargetCong is damaged").arg(index);
            return std::nullopt;
        }
        p.BitSize = *bitSize;
        p.ParamName = *paramName;
        p.Name = *name;
        p.DataSizeByte = std::int32_t(*size);
        p.DataType = std::int32_t(*type);
        p.Min = *min;
        p.Max = *max;
        p.Default = *def;
        p.Value = *value;
        p.Enum = *isEnum == u"1";
        const XmlElement list = childElement(e, u"EnumList");
        for (XmlElement x = list.firstChildElement(); !x.isNull(); x = x.nextSiblingElement()) {
            const auto v = attrInt64(x, "Value");
            const auto d = x.attribute(u"Description");
            if (!v || !d || *v != std::int32_t(*v)) {
                fault = QStringLiteral("an enumeration of parameter %1 of TargetCong is damaged")
                            .arg(index);
                return std::nullopt;
            }
            p.ListEnum.append({std::int32_t(*v), *d});
            p.EnumString.append(*d);
        }
        t.ListParamObject.append(std::move(p));
    }
    return t;
}

void writeTargetConfig(const TTargetConfig& t, ProjectXmlElement& row)
{
    ProjectXmlElement& part = row.addChild(QStringLiteral("TargetCong"));
    part.setAttribute(QStringLiteral("FileName"), t.FileName)
        .setAttribute(QStringLiteral("Size"), t.Size)
        .setAttribute(QStringLiteral("Format"), t.Format)
        .setAttribute(QStringLiteral("AO_Name"), t.AO_Name)
        .setAttribute(QStringLiteral("AO_SizeBit"), t.AO_SizeBit);
    ProjectXmlElement& params = part.addChild(QStringLiteral("ParamObjects"));
    for (const TTC_ParamObj& p : t.ListParamObject) {
        ProjectXmlElement& e = params.addChild(QStringLiteral("ParamObject"));
        e.setAttribute(QStringLiteral("BitSize"), p.BitSize)
            .setAttribute(QStringLiteral("ParamName"), p.ParamName)
            .setAttribute(QStringLiteral("Name"), p.Name)
            .setAttribute(QStringLiteral("DataSizeByte"), QString::number(p.DataSizeByte))
            .setAttribute(QStringLiteral("DataType"), QString::number(p.DataType))
            .setAttribute(QStringLiteral("Min"), QString::number(p.Min))
            .setAttribute(QStringLiteral("Max"), QString::number(p.Max))
            .setAttribute(QStringLiteral("Default"), QString::number(p.Default))
            .setAttribute(QStringLiteral("Value"), QString::number(p.Value))
            .setAttribute(QStringLiteral("Enum"),
                          p.Enum ? QStringLiteral("1") : QStringLiteral("0"));
        ProjectXmlElement& list = e.addChild(QStringLiteral("EnumList"));
        for (const TTC_EnumObj& x : p.ListEnum)
            list.addChild(QStringLiteral("Enum"))
                .setAttribute(QStringLiteral("Value"), QString::number(x.Value))
                .setAttribute(QStringLiteral("Description"), x.Description);
    }
}

std::optional<RuleFault> dimHeader(const RuleTable& t, int row, QStringView attribute, int text)
{
    const QString cell = trimBlanks(t.text(attribute, row));
    if (cell.compare(QLatin1String("Default"), Qt::CaseInsensitive) == 0)
        return std::nullopt;
    const auto v = parseIntText(cell);
    if (v && *v >= 0 && *v <= 7)
        return std::nullopt;
    return rulespec::fault(text);
}

}  // namespace

int CheckBytesElectronicKey(const QString& listBytes) { return checkBytes(listBytes, true); }

int CheckBytesDataSegment(const QString& listBytes) { return checkBytes(listBytes, false); }

int Err_Check_Data_Path(const QString& Data_Path, int Num_DP)
{
    const QStringList pieces = Data_Path.split(u',');
    int count = 0;
    for (const QString& p : pieces) {
        const QString t = trimBlanks(p);
        const auto v = t.startsWith(u'-') ? std::nullopt
                                          : parseEdsInt64(QStringView(QStringLiteral("0x") + t));
        if (!v || *v < 0 || *v > 255)
            return 1;
        ++count;
    }
    return count < Num_DP ? 2 : 0;
}

std::optional<TTargetConfig> rowTargetConfig(const RuleTable& table, int row)
{
    const QVariant v = table.rowObject(row);
    if (!v.isValid() || !v.canConvert<TTargetConfig>())
        return std::nullopt;
    return v.value<TTargetConfig>();
}

void setRowTargetConfig(RuleTable& table, int row, const std::optional<TTargetConfig>& config)
{
    table.setRowObject(row, config ? QVariant::fromValue(*config) : QVariant());
}

RuleFileSpec etherNetIPRuleSpec(int Num_Byte_In, int Num_Byte_Out)
{
    using namespace rulespec;
    RuleTableSpec t;
    t.rowCount = kEtherNetIPRules + 1;
    t.keyAttribute = QStringLiteral("IP_Address");
    t.enableRule = RuleEnableRule::UpperCasedY;
    t.skipDisabledBeforeKey = true;
    // Mended: the old writer stopped at the first empty IP address although the check went
    // on past disabled rows, so checked rules below a disabled empty row were lost on save.
    t.writeThroughLastKey = true;
    t.showHints = true;

    RuleColumn enable = column(u"Enable", 4115, RuleColumnKind::CheckBox);
    enable.openingText = QStringLiteral("Y");
    RuleColumn dimTO = comboEdit(u"Dim_Header_T_O", 4153, {QStringLiteral("Default")});
    dimTO.defaultText = QStringLiteral("Default");
    RuleColumn dimOT = comboEdit(u"Dim_Header_O_T", 4154, {QStringLiteral("Default")});
    dimOT.defaultText = QStringLiteral("Default");
    t.columns = {numberColumn(4114),
                 enable,
                 column(u"IP_Address", 4116),
                 column(u"Start_Input", 4117),
                 column(u"Num_Input", 4118),
                 column(u"Start_Output", 4119),
                 column(u"Num_Output", 4120),
                 column(u"Time_Poll", 4121),
                 column(u"Instance_T_O", 4141),
                 column(u"Connection_Point_T_O", 4147),
                 column(u"Instance_O_T", 4142),
                 column(u"Connection_Point_O_T", 4148),
                 dimTO,
                 dimOT,
                 column(u"EnableElectronicKey", 4161, RuleColumnKind::CheckBox),
                 column(u"ElectronicKey", 4162),
                 column(u"EnableDataSegment", 4165, RuleColumnKind::CheckBox),
                 column(u"DataSegment", 4166),
                 column(u"ResetData", 4175, RuleColumnKind::CheckBox),
                 column(u"Mnemonic", 4122)};
    setHints(t.columns, {4123, 4124, 4125, 4126, 4127, 4128, 4129, 4143, 4149, 4144, 4150, 4155,
                         4156, 4163, 4164, 4167, 4168, 4176, 4130});

    RuleCheck ip = rowCheck(
        [](const RuleTable& table, int row) -> std::optional<RuleFault> {
            QString a, b, c, d;
            if (Split_IP_Address(table.text(u"IP_Address", row), a, b, c, d))
                return std::nullopt;
            return fault(4132);
        },
        {QStringLiteral("IP_Address")});
    RuleCheck headers = rowCheck(
        [](const RuleTable& table, int row) -> std::optional<RuleFault> {
            if (auto f = dimHeader(table, row, u"Dim_Header_T_O", 4157))
                return f;
            return dimHeader(table, row, u"Dim_Header_O_T", 4158);
        },
        {QStringLiteral("Dim_Header_T_O"), QStringLiteral("Dim_Header_O_T")});
    RuleCheck key = rowCheck(
        [](const RuleTable& table, int row) -> std::optional<RuleFault> {
            const QString k = trimBlanks(table.text(u"ElectronicKey", row));
            if (k.isEmpty())
                return fault(4171);
            switch (CheckBytesElectronicKey(k)) {
            case 1: return fault(4169);
            case 2: return fault(4170);
            default: return std::nullopt;
            }
        },
        {QStringLiteral("ElectronicKey")});
    key.onlyWhenYesIn = QStringLiteral("EnableElectronicKey");
    RuleCheck segment = rowCheck(
        [](const RuleTable& table, int row) -> std::optional<RuleFault> {
            const QString s = trimBlanks(table.text(u"DataSegment", row));
            if (s.isEmpty())
                return fault(4174);
            switch (CheckBytesDataSegment(s)) {
            case 1: return fault(4172);
            case 2: return fault(4173);
            default: return std::nullopt;
            }
        },
        {QStringLiteral("DataSegment")});
    segment.onlyWhenYesIn = QStringLiteral("EnableDataSegment");
    t.checks = {ip,
                range(u"Start_Input", 4133, 0, 65535),
                range(u"Num_Input", 4134, 0, 65535),
                range(u"Start_Output", 4135, 0, 65535),
                range(u"Num_Output", 4136, 0, 65535),
                range(u"Time_Poll", 4137, 1, 100000000),
                range(u"Instance_T_O", 4145, 0, 65535),
                range(u"Connection_Point_T_O", 4151, 0, 65535),
                range(u"Instance_O_T", 4146, 0, 65535),
                range(u"Connection_Point_O_T", 4152, 0, 65535),
                headers,
                key,
                segment};

    t.readRowChildren = [](RuleTable& table, int row, const XmlElement& e, QStringList& notes) {
        const XmlElement part = childElement(e, u"TargetCong");
        if (part.isNull())
            return;
        QString why;
        if (auto config = readTargetConfig(part, why))
            setRowTargetConfig(table, row, config);
        else
            notes.append(
                QStringLiteral("Row %1 loaded without its configuration: %2").arg(row).arg(why));
    };
    t.writeRowChildren = [](const RuleTable& table, int row, ProjectXmlElement& e) {
        if (const auto config = rowTargetConfig(table, row))
            writeTargetConfig(*config, e);
    };

    RuleFileSpec f;
    f.captionText = 4100;
    f.titleText = 4101;
    f.buttonCaptionText = 4102;
    f.buttonHintText = 4108;
    f.rootElement = QStringLiteral("EtherNetIP_Master_Access");
    f.version = QStringLiteral("1.000");
    f.errorRowText = 4131;
    f.deleteRowText = 4140;
    f.tables = {t};
    f.fileChecks = {[Num_Byte_In, Num_Byte_Out](const RuleFile& file) -> std::optional<RuleFault> {
        // The totals of the rules the walk checked: enabled rows up to the first enabled row
        // without an IP address.
        const RuleTable& table = file.tables[0];
        qint64 in = 0, out = 0;
        for (int r = 1; r < table.rowCount(); ++r) {
            if (!table.isEnabled(r))
                continue;
            if (table.keyEnds(r))
                break;
            in += parseIntText(table.text(u"Num_Input", r)).value_or(0);
            out += parseIntText(table.text(u"Num_Output", r)).value_or(0);
        }
        if (in > Num_Byte_In)
            return fault(4138, Num_Byte_In, RuleMessageForm::NoRowPrefix);
        if (out > Num_Byte_Out)
            return fault(4139, Num_Byte_Out, RuleMessageForm::NoRowPrefix);
        return std::nullopt;
    }};
    return builtRuleSpec(std::move(f));
}

}  // namespace zfw
