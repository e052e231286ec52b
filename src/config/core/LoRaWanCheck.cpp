#include "config/core/LoRaWanCheck.h"

#include "common/ProjectXml.h"
#include "config/core/USaveBincc.h"

namespace zfw {

LoRaWanCheckResult checkLoRaWanConfig(const QString& parGenPath, const QString& rulesPath)
{
    auto unreadable = [](const ProjectXmlLoad& load) {
        return LoRaWanCheckResult{false, load.message};
    };

    int payloadSize = 0;
    const ProjectXmlLoad parGen = loadProjectXml(parGenPath);
    if (!parGen.missing()) {
        if (!parGen.ok())
            return unreadable(parGen);
        payloadSize = childIntDef(parGen.root, u"LoRa_Payload_Size", 0);
    }

    const ProjectXmlLoad rules = loadProjectXml(rulesPath);
    if (rules.missing())
        return {};
    if (!rules.ok())
        return unreadable(rules);
    // A file without an uplink table has no uplink rules to check; the compiler reports the
    // missing table itself.
    const XmlElement uplink = childElement(rules.root, u"LoRaWAN_Uplink");
    // Rows are selected exactly as the compiler selects them. The check used to look only at
    // rules whose "Enable" was exactly "Y", so a hand-edited " Y", "y" or a rule without the
    // attribute reached the device unchecked.
    for (const XmlElement& row : rowElements(uplink)) {
        if (!loRaRowEnabled(row))
            continue;
        const int numByte = attributeIntDef(row, u"NumByte", -1);
        if (numByte < 0 || numByte > payloadSize - 2)
            return {false, QString()};
    }
    return {};
}

}  // namespace zfw
