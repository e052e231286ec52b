#include "editors/iot/core/UTLSCertRuleSpec.h"

#include "ruleedit/core/URuleSpecBuild.h"

namespace zfw {

using namespace rulespec;

RuleFileSpec tlsKnownCertSpec()
{
    RuleColumn number = numberColumn(5114);
    number.width = 40;
    // A row without the attribute reads ticked, and so does the emptied row of a delete.
    RuleColumn enable = enableColumn(5115);
    enable.width = 50;
    enable.colour = 0xB0D8FF;  // light orange
    enable.centred = true;
    // The certificate is stored as typed: line breaks and blanks at either end included.
    RuleColumn certificate = column(u"Certificate", 5116);
    certificate.width = 500;
    certificate.colour = 0xFEFAE0;  // light cyan
    RuleColumn mnemonic = column(u"Mnemonic", 5117);
    mnemonic.width = 160;
    QList<RuleColumn> cols = {number, enable, certificate, mnemonic};
    setHints(cols, {5118, 5119, 5120});

    RuleTableSpec t;
    t.element.clear();
    t.tabText = 5101;
    t.rowCount = kTLSCertRows + 1;
    t.keyAttribute = QStringLiteral("Certificate");
    t.keyTest = RuleKeyTest::Trimmed;
    t.showHints = true;
    // A delete leaves the emptied last row locked until an insert above moves it down.
    t.lockEmptiedRow = true;
    t.columns = cols;

    RuleFileSpec f;
    f.captionText = 5100;
    f.titleText = 5101;
    f.buttonCaptionText = 5102;
    f.buttonHintText = 5108;
    f.rootElement = QStringLiteral("TLS_Server_Known_Cert");
    f.version = QStringLiteral("1.000");
    f.deleteRowText = 5121;
    f.tables = {t};
    return builtRuleSpec(f);
}

}  // namespace zfw
