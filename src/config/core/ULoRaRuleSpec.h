#pragma once
// The LoRaWAN rule editor's tables: uplink and downlink rules of LoRaWAN_SetAccess.xml. Their
// limits follow two general parameters read at every opening: the payload size bounds the
// bytes per rule, and the FPort mode decides whether each rule has an FPort of its own.

#include "ruleedit/core/URuleTable.h"

#include <QString>

namespace zfw {

// Text of the warning shown at opening when no payload size is set.
inline constexpr int kLoRaTextNoPayloadSize = 1242;

struct LoRaWanEditorSetup {
    int MaxPayloadSize = 0;  // 0 when unknown
    bool FPortFixed = true;
    QString parGenError;  // set, naming the file, when ParGen.xml exists but is no XML

    // The warning is due: every enabled rule then fails its byte count.
    bool payloadWarning() const { return MaxPayloadSize == 0; }
};

// The two general parameters from the ParGen.xml at path: LoRa_Payload_Size through the
// integer parse (0 when missing or no integer) and LoRa_FPort ("VARIABLE", trimmed and in
// any case, gives an FPort per rule). A missing or unreadable file gives the defaults.
LoRaWanEditorSetup readLoRaWanEditorSetup(const QString& parGenPath);

// Both tables: 256 rules each with the fixed FPort (FPort columns hidden, still loaded and
// written), 223 with an FPort per rule; the byte count bounded by MaxPayloadSize - 2.
RuleFileSpec loRaWanRuleSpec(const LoRaWanEditorSetup& setup);

}  // namespace zfw
