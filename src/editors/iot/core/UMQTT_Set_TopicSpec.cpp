#include "editors/iot/core/UMQTT_Set_TopicSpec.h"

#include "common/TextUtil.h"
#include "ruleedit/core/URuleSpecBuild.h"

namespace zfw {

using namespace rulespec;

namespace {

// Message texts of one table's checks.
struct TableTexts {
    int dataType, intDimension, floatDimension, otherDimension, position, templ;
};

const QStringList kDataTypes = {"Int", "Float", "String", "Base64"};
const QStringList kQoS = {"0", "1", "2"};
const QStringList kTemplates = {"$VALUE$"};

// A value the format requires: a row without it is told at opening. A check box without
// its value stays empty, as one never ticked.
RuleColumn required(RuleColumn c)
{
    c.guarded = false;
    c.defaultText.clear();
    return c;
}

RuleColumn hidden(RuleColumn c)
{
    c.hidden = true;
    return c;
}

// A column of other gateway models, never in the file.
RuleColumn unstored(RuleColumn c)
{
    c.hidden = true;
    c.stored = false;
    c.defaultText.clear();
    return c;
}

QStringList channels()
{
    QStringList out;
    for (int i = 0; i < 64; ++i)
        out.append(QString::number(i));
    out.append(QStringLiteral("All"));
    return out;
}

void setWidths(QList<RuleColumn>& cols, std::initializer_list<int> widths)
{
    int c = 0;
    for (int w : widths)
        if (c < cols.size())
            cols[c++].width = w;
}

QList<RuleCheck> checksOf(const TableTexts& x, const char* templateColumn, int positions)
{
    const RuleRowCheck dimension = [x](const RuleTable& t, int row) -> std::optional<RuleFault> {
        const QString type = asciiUpper(trimBlanks(t.text(u"DataType", row)));
        const qint64 n = strToIntDef(t.text(u"Dimension", row), -1);
        if (type == QLatin1String("INT"))
            return n == 1 || n == 2 || n == 4 || n == 8 ? std::nullopt
                                                        : std::optional(fault(x.intDimension));
        if (type == QLatin1String("FLOAT"))
            return n == 4 || n == 8 ? std::nullopt : std::optional(fault(x.floatDimension));
        return n >= 1 ? std::nullopt : std::optional(fault(x.otherDimension));
    };
    const QString templ = QString::fromLatin1(templateColumn);
    const RuleRowCheck templateCheck = [x, templ](const RuleTable& t,
                                                  int row) -> std::optional<RuleFault> {
        if (Error_In_Topic_Template(trimBlanks(t.text(templ, row))))
            return fault(x.templ);
        return std::nullopt;
    };
    QList<RuleCheck> checks = {
        notBlank(u"DataType", x.dataType),
        rowCheck(dimension, {"DataType", "Dimension"}),
        rangeWithBound(u"Position", x.position, 0, positions - 1),
        rowCheck(templateCheck, {templ}),
    };
    // The Dimension check reads the Data Type too, yet counts as the Dimension's: it is left
    // out exactly when the Dimension column is hidden.
    checks[1].attribute = QStringLiteral("Dimension");
    checks[3].attribute = templ;
    for (RuleCheck& c : checks)
        c.onlyWhenShown = true;
    return checks;
}

RuleTableSpec tableOf(const char* element, int tab)
{
    RuleTableSpec t;
    t.element = QString::fromLatin1(element);
    t.tabText = tab;
    t.rowCount = kMQTTTopics + 1;
    t.keyAttribute = QStringLiteral("Topic");
    t.keyTest = RuleKeyTest::Trimmed;
    // No Enable column: every topic of the list is checked, and Insert leaves the new row
    // empty. The rule below is the one the OnTimer box is read with.
    t.enableAttribute.clear();
    t.enableRule = RuleEnableRule::TrimmedAnyCaseY;
    t.showHints = true;
    return t;
}

}  // namespace

bool Error_In_Topic_Template(const QString& Str) { return Str.count(QLatin1Char('$')) % 2 != 0; }

RuleFileSpec mqttSetTopicSpec(int Byte_IN, int Byte_OUT)
{
    RuleTableSpec pub = tableOf("MQTT_Publish", 5233);
    pub.columns = {
        numberColumn(5214),
        required(column(u"Topic", 5215)),
        required(column(u"Retained", 5216, RuleColumnKind::CheckBox)),
        required(combo(u"QoS", 5217, kQoS)),
        combo(u"DataType", 5237, kDataTypes),
        column(u"Dimension", 5238),
        column(u"Position", 5239),
        hidden(column(u"IPAddress", 5262)),
        hidden(column(u"InputTemplate", 5263)),
        comboEdit(u"Template", 5235, kTemplates),
        column(u"OnChange", 5281, RuleColumnKind::CheckBox),
        unstored(column(u"OnCMD", 5283, RuleColumnKind::CheckBox)),
        column(u"OnTimer", 5284, RuleColumnKind::CheckBox),
        column(u"Time", 5285),
        unstored(combo(u"Channel", 5290, channels())),
        unstored(column(u"Swap", 5293, RuleColumnKind::CheckBox)),
        unstored(column(u"SwapWord", 5294, RuleColumnKind::CheckBox)),
        required(column(u"Mnemonic", 5218)),
    };
    setWidths(pub.columns,
              {40, 300, 60, 80, 80, 80, 80, 100, 120, 130, 75, 55, 64, 70, 60, 40, 80, 170});
    setHints(pub.columns, {5219, 5220, 5221, 5240, 5241, 5242, 5264, 5265, 5236, 5282, 5286, 5287,
                           5288, 5291, 5295, 5296, 5222});
    pub.checks = checksOf({5252, 5253, 5254, 5255, 5256, 5278}, "Template", Byte_IN);
    RuleCheck time = range(u"Time", 5289, 1, 999999999);
    time.onlyWhenYesIn = QStringLiteral("OnTimer");
    time.onlyWhenShown = true;
    pub.checks.append(time);
    // The columns the file does not keep: Channel empty, Swap and Swap Word "N" on every row
    // the file gives.
    pub.rowLoaded = [](RuleTable& t, int row, const XmlElement&) {
        t.setCell(t.spec().col(u"Channel"), row, QString());
        t.setCell(t.spec().col(u"Swap"), row, QStringLiteral("N"));
        t.setCell(t.spec().col(u"SwapWord"), row, QStringLiteral("N"));
    };

    RuleTableSpec sub = tableOf("MQTT_Subscribe", 5234);
    sub.columns = {
        numberColumn(5224),
        required(column(u"Topic", 5225)),
        hidden(required(column(u"Retained", 5226, RuleColumnKind::CheckBox))),
        required(combo(u"QoS", 5227, kQoS)),
        combo(u"DataType", 5243, kDataTypes),
        column(u"Dimension", 5244),
        column(u"Position", 5245),
        hidden(column(u"IPAddress", 5266)),
        hidden(column(u"Port", 5267)),
        hidden(combo(u"EthType", 5268, {"TCP", "UDP"})),
        hidden(column(u"InputTemplate", 5269)),
        comboEdit(u"Template", 5246, kTemplates),
        unstored(column(u"Swap", 5293, RuleColumnKind::CheckBox)),
        unstored(column(u"SwapWord", 5294, RuleColumnKind::CheckBox)),
        required(column(u"Mnemonic", 5228)),
    };
    setWidths(sub.columns, {40, 300, 60, 80, 80, 80, 80, 100, 50, 64, 130, 130, 40, 80, 220});
    setHints(sub.columns,
             {5229, 5230, 5231, 5247, 5248, 5249, 5270, 5271, 5272, 5273, 5250, 5297, 5298, 5232});
    sub.checks = checksOf({5257, 5258, 5259, 5260, 5261, 5280}, "Template", Byte_OUT);
    sub.rowLoaded = [](RuleTable& t, int row, const XmlElement&) {
        t.setCell(t.spec().col(u"Swap"), row, QStringLiteral("N"));
        t.setCell(t.spec().col(u"SwapWord"), row, QStringLiteral("N"));
    };

    RuleFileSpec f;
    f.captionText = 5200;
    f.titleText = 5201;
    f.buttonCaptionText = 5202;
    f.buttonHintText = 5208;
    f.rootElement = QStringLiteral("MQTT_Set_Topic");
    f.version = QStringLiteral("1.003");
    f.errorRowText = 5251;
    f.deleteRowText = 5223;
    f.tables = {pub, sub};
    return builtRuleSpec(f);
}

}  // namespace zfw
