#include "editors/fieldbus/core/UDeviceNetRuleSpec.h"

#include "ruleedit/core/URuleSpecBuild.h"

namespace zfw {

using namespace rulespec;

RuleFileSpec deviceNetRuleSpec()
{
    RuleTableSpec t;
    t.rowCount = kDeviceNetSlaves + 1;
    t.keyAttribute = QStringLiteral("ID");
    t.keyTest = RuleKeyTest::AsItStands;
    t.enableAttribute.clear();
    t.showHints = true;
    t.columns = {numberColumn(3814), column(u"ID", 3815), column(u"NB_IN", 3816),
                 column(u"NB_OUT", 3817), column(u"Mnemonic", 3818)};
    // Every value is required by the format: a missing one is reported at opening.
    for (int c = 1; c < t.columns.size(); ++c)
        t.columns[c].guarded = false;
    setHints(t.columns, {3819, 3820, 3821, 3822});
    t.checks = {range(u"ID", 3824, 0, kDeviceNetMaxId),
                range(u"NB_IN", 3825, 0, kDeviceNetMaxBytes),
                range(u"NB_OUT", 3826, 0, kDeviceNetMaxBytes)};

    RuleFileSpec f;
    f.captionText = 3800;
    f.titleText = 3801;
    f.buttonCaptionText = 3802;
    f.buttonHintText = 3808;
    f.rootElement = QStringLiteral("DNET_Net");
    f.version = QStringLiteral("1.000");
    f.errorRowText = 3823;
    f.deleteRowText = 3827;
    f.tables = {t};
    return builtRuleSpec(f);
}

}  // namespace zfw
