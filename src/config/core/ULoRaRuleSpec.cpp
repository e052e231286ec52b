#include "config/core/ULoRaRuleSpec.h"

#include "common/ProjectXml.h"
#include "common/TextUtil.h"
#include "config/core/URuleFileNames.h"
#include "ruleedit/core/URuleSpecBuild.h"

namespace zfw {

using namespace rulespec;
using namespace rulefile;

namespace {

RuleTableSpec baseTable(const char* element, int tab, bool fixed)
{
    RuleTableSpec t;
    t.element = QString::fromLatin1(element);
    t.keyAttribute = QString::fromLatin1(StartByte);
    t.tabText = tab;
    t.rowCount = fixed ? 257 : 224;
    t.firstNumber = 0;
    // The compiler sends every row whose Enable reads "Y" in any case, and sets the timer of
    // a rule whose On Timer does; the editor checks exactly those rows and times. Taking "y"
    // for "N", as the check used to, let a hand-edited rule reach the device unchecked.
    t.enableRule = RuleEnableRule::TrimmedAnyCaseY;
    return t;
}

}  // namespace

LoRaWanEditorSetup readLoRaWanEditorSetup(const QString& parGenPath)
{
    LoRaWanEditorSetup s;
    const ProjectXmlLoad doc = loadProjectXml(parGenPath);
    if (doc.missing())
        return s;
    if (!doc.ok()) {
        s.parGenError = doc.message;
        return s;
    }
    s.MaxPayloadSize = childIntDef(doc.root, u"LoRa_Payload_Size", 0);
    const std::optional<QString> fPort = childText(doc.root, u"LoRa_FPort");
    if (fPort && asciiUpper(trimBlanks(*fPort)) == QLatin1String("VARIABLE"))
        s.FPortFixed = false;
    return s;
}

RuleFileSpec loRaWanRuleSpec(const LoRaWanEditorSetup& setup)
{
    const bool fixed = setup.FPortFixed;
    const int bound = setup.MaxPayloadSize - 2;

    RuleTableSpec up = baseTable(LoRaWAN_Uplink, 1214, fixed);
    up.columns = {
        numberColumn(1216),
        enableColumn(1217),
        column(StartByte, 1218),
        column(NumByte, 1219),
        column(OnChange, 1220, RuleColumnKind::CheckBox),
        column(OnCMD, 1221, RuleColumnKind::CheckBox),
        column(OnTimer, 1222, RuleColumnKind::CheckBox),
        column(Time, 1223),
        column(FPort, 1250),
        column(Mnemonic, 1224),
    };
    up.columns[up.col(u"FPort")].hidden = fixed;
    setHints(up.columns, {1225, 1226, 1227, 1228, 1229, 1230, 1231, 1251, 1232});
    RuleCheck upTime = range(Time, 1246, 30, 86400);
    upTime.onlyWhenYesIn = QString::fromLatin1(OnTimer);
    RuleCheck upPort = range(FPort, 1254, 1, 223);
    upPort.onlyWhenShown = true;
    up.checks = {range(StartByte, 1244, 0, 1536), rangeWithBound(NumByte, 1245, 0, bound), upTime,
                 upPort};

    RuleTableSpec down = baseTable(LoRaWAN_Downlink, 1215, fixed);
    down.columns = {
        numberColumn(1233),    enableColumn(1234),  column(StartByte, 1235),
        column(NumByte, 1236), column(FPort, 1252), column(Mnemonic, 1237),
    };
    down.columns[down.col(u"FPort")].hidden = fixed;
    setHints(down.columns, {1238, 1239, 1240, 1253, 1241});
    RuleCheck downPort = range(FPort, 1255, 1, 223);
    downPort.onlyWhenShown = true;
    down.checks = {range(StartByte, 1247, 0, 1536), rangeWithBound(NumByte, 1248, 0, bound),
                   downPort};

    RuleFileSpec f;
    f.captionText = 1200;
    f.titleText = 1201;
    f.buttonCaptionText = 1202;
    f.buttonHintText = 1208;
    f.rootElement = QString::fromLatin1(LoRaWAN_Root);
    f.version = QStringLiteral("1.002");
    f.errorRowText = 1243;
    f.deleteRowText = 1249;
    f.tables = {up, down};
    return builtRuleSpec(f);
}

}  // namespace zfw
