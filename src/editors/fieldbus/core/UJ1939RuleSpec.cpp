#include "editors/fieldbus/core/UJ1939RuleSpec.h"

#include "editors/fieldbus/core/UJ1939FrameRules.h"
#include "ruleedit/core/URuleSpecBuild.h"

namespace zfw {

using namespace rulespec;

namespace {

const QStringList kDataPages = {QStringLiteral("0"), QStringLiteral("1")};

// Older transmit rows name one send mode in "T_Type" instead of the three flags; when it is
// there it alone decides them. An empty N Bytes means a whole frame.
void loadTransmitRow(RuleTable& t, int row, const XmlElement& e)
{
    const int count = t.spec().col(u"TP_NByte");
    if (t.cell(count, row).isEmpty())
        t.setCell(count, row, QStringLiteral("8"));
    const std::optional<QString> type = e.attribute(u"T_Type");
    if (!type)
        return;
    const QString mode = type->toUpper();
    const QString yes = QStringLiteral("Y");
    const QString no = QStringLiteral("N");
    t.setCell(t.spec().col(u"On_Request"), row, no);
    t.setCell(t.spec().col(u"On_Data_Change"), row,
              mode == QLatin1String("ON DATA CHANGE") ? yes : no);
    t.setCell(t.spec().col(u"On_Timer"), row, mode == QLatin1String("ON TIMER") ? yes : no);
}

}  // namespace

RuleFileSpec j1939ReceiveSpec(int inputArea)
{
    RuleTableSpec t = frameRuleTable(kJ1939RuleRows, 4301);
    RuleColumn time = column(u"OnReq_Time", 4323);
    time.defaultText = QStringLiteral("1000");
    t.columns = {
        numberColumn(4314),
        combo(u"DP", 4315, kDataPages),
        column(u"PGN", 4316),
        column(u"SA", 4317),
        column(u"TP", 4318, RuleColumnKind::CheckBox),
        column(u"TP_Start", 4319),
        column(u"TP_NByte", 4320),
        column(u"Delete", 4321, RuleColumnKind::CheckBox),
        column(u"OnRequest", 4322, RuleColumnKind::CheckBox),
        time,
        column(u"Mnemonic", 4324),
    };
    setHints(t.columns, {4325, 4326, 4327, 4328, 4329, 4330, 4331, 4332, 4333, 4334});

    FrameReceiveTexts texts;
    texts.transportStart = 4339;
    texts.transportSum = 4340;
    texts.bothGiven = 4341;
    texts.singleStart = 4342;
    texts.singleCount = 4343;
    texts.singleSum = 4344;
    texts.total = 4345;
    // The message says 0, but a time below 2 ms is refused.
    RuleCheck onRequestTime = range(u"OnReq_Time", 4346, 2, 10000000);
    onRequestTime.onlyWhenYesIn = QStringLiteral("OnRequest");
    t.checks = {
        notBlank(u"DP", 4336),
        range(u"PGN", 4337, 0, 65535),
        range(u"SA", 4338, 0, 239),
        frameReceiveBytes(
            {QStringLiteral("TP"), {}, QStringLiteral("TP_Start"), QStringLiteral("TP_NByte")},
            texts, inputArea),
        onRequestTime,
    };

    RuleFileSpec f = frameRuleFile(4300, QStringLiteral("Receive_J1939"), 4335, 4347);
    f.tables = {t};
    return builtRuleSpec(f);
}

RuleFileSpec j1939TransmitSpec(int outputArea)
{
    RuleTableSpec t = frameRuleTable(kJ1939RuleRows, 4401);
    RuleColumn count = column(u"TP_NByte", 4419);
    count.defaultText = QStringLiteral("8");
    t.columns = {
        numberColumn(4414),
        column(u"Priority", 4415),
        combo(u"DP", 4416, kDataPages),
        column(u"PGN", 4417),
        column(u"SA", 4418),
        count,
        column(u"On_Request", 4420, RuleColumnKind::CheckBox),
        column(u"On_Data_Change", 4421, RuleColumnKind::CheckBox),
        column(u"On_Timer", 4422, RuleColumnKind::CheckBox),
        column(u"SendTimer", 4423),
        column(u"Mnemonic", 4424),
    };
    setHints(t.columns, {4425, 4426, 4427, 4428, 4429, 4430, 4431, 4432, 4433, 4434});
    t.rowLoaded = loadTransmitRow;

    RuleCheck sendTimer = range(u"SendTimer", 4442, 1, 65535);
    sendTimer.onlyWhenYesIn = QStringLiteral("On_Timer");
    t.checks = {
        range(u"Priority", 4436, 0, 7),
        notBlank(u"DP", 4437),
        range(u"PGN", 4438, 0, 0x1FFFF),
        range(u"SA", 4439, 0, 255),
        // The message says 0, but a group of no bytes is refused.
        rangeWithBound(u"TP_NByte", 4440, 1, outputArea),
        frameRunningTotal(QStringLiteral("TP_NByte"), 4441, outputArea),
        sendTimer,
    };

    RuleFileSpec f = frameRuleFile(4400, QStringLiteral("Transmit_J1939"), 4435, 4443);
    f.tables = {t};
    return builtRuleSpec(f);
}

}  // namespace zfw
