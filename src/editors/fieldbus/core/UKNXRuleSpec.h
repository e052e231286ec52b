#pragma once
// The KNX rule table of KNX_SetAccess.xml: 1024 rules by which the gateway exchanges
// telegrams with KNX devices, each placed in the gateway's data array of 1500 bytes.

#include "ruleedit/core/URuleTable.h"

#include <QChar>

namespace zfw {

inline constexpr int kKnxDataArray = 1500;
inline constexpr int kKnxRuleRows = 1025;  // the header row and 1024 rules

// The table with Position items "0" to dataArray - 1. decimalSeparator is the user's, with
// which a multiplication factor is read (Get_Decimal_Separator).
RuleFileSpec knxRuleSpec(QChar decimalSeparator, int dataArray = kKnxDataArray);

}  // namespace zfw
