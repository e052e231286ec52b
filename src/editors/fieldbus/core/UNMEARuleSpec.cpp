#include "editors/fieldbus/core/UNMEARuleSpec.h"

#include "editors/fieldbus/core/UJ1939FrameRules.h"
#include "ruleedit/core/URuleSpecBuild.h"

namespace zfw {

using namespace rulespec;

namespace {

const QString kRoot = QStringLiteral("Receive_NMEA_2000");

}  // namespace

RuleFileSpec nmeaReceiveSpec(int inputArea)
{
    RuleTableSpec t = frameRuleTable(kNmeaRuleRows, 4601);
    t.columns = {
        numberColumn(4614),
        column(u"PGN", 4615),
        column(u"SA", 4616),
        column(u"TP", 4617, RuleColumnKind::CheckBox),
        column(u"FP", 4618, RuleColumnKind::CheckBox),
        column(u"TP_Start", 4619),
        column(u"TP_NByte", 4620),
        column(u"Delete", 4621, RuleColumnKind::CheckBox),
        column(u"Mnemonic", 4622),
    };
    setHints(t.columns, {4623, 4624, 4625, 4626, 4627, 4628, 4629, 4630});

    FrameReceiveTexts texts;
    texts.transportStart = 4634;
    texts.transportSum = 4635;
    texts.fastStart = 4636;
    texts.fastSum = 4637;
    texts.bothGiven = 4638;
    texts.singleStart = 4639;
    texts.singleCount = 4640;
    texts.singleSum = 4641;
    texts.total = 4642;
    t.checks = {
        range(u"PGN", 4632, 0, 0x1FFFF),
        range(u"SA", 4633, 0, 239),
        frameReceiveBytes({QStringLiteral("TP"), QStringLiteral("FP"), QStringLiteral("TP_Start"),
                           QStringLiteral("TP_NByte")},
                          texts, inputArea),
    };

    RuleFileSpec f = frameRuleFile(4600, kRoot, 4631, 4643);
    f.tables = {t};
    return builtRuleSpec(f);
}

RuleFileSpec nmeaTransmitSpec(int outputArea)
{
    RuleTableSpec t = frameRuleTable(kNmeaRuleRows, 4701);
    t.showHints = false;
    t.columns = {
        numberColumn(4714),
        column(u"Priority", 4715),
        column(u"PGN", 4716),
        column(u"SA", 4717),
        column(u"FP", 4718, RuleColumnKind::CheckBox),
        column(u"TP_NByte", 4719),
        column(u"On_Request", 4720, RuleColumnKind::CheckBox),
        column(u"On_Data_Change", 4721, RuleColumnKind::CheckBox),
        column(u"On_Timer", 4722, RuleColumnKind::CheckBox),
        column(u"SendTimer", 4723),
        column(u"Mnemonic", 4724),
    };
    setHints(t.columns, {4725, 4726, 4727, 4728, 4729, 4730, 4731, 4732, 4733, 4734});

    RuleCheck sendTimer = range(u"SendTimer", 4741, 1, 65535);
    sendTimer.onlyWhenYesIn = QStringLiteral("On_Timer");
    t.checks = {
        range(u"Priority", 4736, 0, 7),
        range(u"PGN", 4737, 0, 0x1FFFF),
        range(u"SA", 4738, 0, 239),
        rangeWithBound(u"TP_NByte", 4739, 0, outputArea),
        frameRunningTotal(QStringLiteral("TP_NByte"), 4740, outputArea),
        sendTimer,
    };

    RuleFileSpec f = frameRuleFile(4700, kRoot, 4735, 4742);
    f.tables = {t};
    return builtRuleSpec(f);
}

}  // namespace zfw
