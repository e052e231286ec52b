#pragma once
// The DeviceNet slave list of DNETM_Net.xml: 64 slaves, each with its node ID, its input and
// output byte counts and a description, as "row" elements directly under the root. The ID
// cell ends the list only when it is empty: a cell of blanks is a slave, and fails its check.

#include "ruleedit/core/URuleTable.h"

namespace zfw {

inline constexpr int kDeviceNetSlaves = 64;
inline constexpr int kDeviceNetMaxId = 63;
inline constexpr int kDeviceNetMaxBytes = 65535;

RuleFileSpec deviceNetRuleSpec();

}  // namespace zfw
