#include "editors/fieldbus/core/UDMXRuleSpec.h"

#include "common/ProjectXml.h"
#include "ruleedit/core/URuleSpecBuild.h"

namespace zfw {

using namespace rulespec;

DMXChannelCount readDMXChannelCount(const QString& parGenPath)
{
    DMXChannelCount c;
    const ProjectXmlLoad doc = loadProjectXml(parGenPath);
    if (doc.missing())
        return c;
    if (!doc.ok()) {
        c.parGenError = doc.message;
        return c;
    }
    const int n = childIntDef(doc.root, u"DMX_Num_Channels", kDMXMaxChannels);
    // Mended: the count sized the grid as the file gave it, so a hostile file could ask for
    // millions of rows, and a count of 0 left no channel at all. A count outside the range
    // the general parameters allow opens the full universe, and the user is told.
    if (n < kDMXMinChannels || n > kDMXMaxChannels)
        c.outOfRange = n;
    else
        c.channels = n;
    return c;
}

RuleFileSpec dmxRuleSpec(int channels)
{
    // The three columns fill the narrow window, "Channel" shown whole.
    RuleColumn channel = numberColumn(4006);
    channel.width = 60;
    RuleColumn value = column(u"Default_Value", 4007);
    value.width = 100;
    value.defaultText = QStringLiteral("0");
    value.openingText = QStringLiteral("0");
    value.hintText = 4009;
    RuleColumn mnemonic = column(u"Mnemonic", 4008);
    mnemonic.hintText = 4010;
    mnemonic.width = 270;

    RuleTableSpec t;
    t.rowElement = QStringLiteral("Row");
    t.tabText = 4001;
    t.rowCount = qBound(1, channels, kDMXMaxChannels) + 1;
    // Every channel is a row of the file and is checked: no key, no Enable column.
    t.keyTest = RuleKeyTest::None;
    t.enableAttribute.clear();
    t.columns = {channel, value, mnemonic};
    t.checks = {range(u"Default_Value", 4012, 0, 255)};

    RuleFileSpec f;
    f.captionText = 4000;
    f.titleText = 4001;
    f.buttonCaptionText = 4002;  // OK, Cancel
    f.buttonHintText = 4004;
    f.rootElement = QStringLiteral("DMX_Default_Values");
    f.version = QStringLiteral("1.000");
    f.errorRowText = 4011;
    f.tables = {t};
    return builtRuleSpec(f);
}

}  // namespace zfw
