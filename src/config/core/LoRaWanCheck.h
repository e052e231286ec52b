#pragma once
// The configuration check run before the images are compiled: every LoRaWAN uplink rule must
// fit the payload size of the general parameters.

#include <QString>

namespace zfw {

struct LoRaWanCheckResult {
    bool ok = true;
    // Set, naming the file (and line and column), when a file exists but cannot be read as
    // XML; empty when the check failed because a rule does not fit.
    QString fileError;
};

// True when every enabled uplink rule of the LoRaWAN_SetAccess.xml at rulesPath carries 0 to
// payload size - 2 data bytes, the payload size being LoRa_Payload_Size of the ParGen.xml at
// parGenPath (0 without that file). Rows are selected exactly as the image compiler selects
// them. Missing rule file or uplink table: nothing to check.
LoRaWanCheckResult checkLoRaWanConfig(const QString& parGenPath, const QString& rulesPath);

}  // namespace zfw
