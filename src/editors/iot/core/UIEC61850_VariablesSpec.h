#pragma once
// The variables of a gateway acting as an IEC 61850 server: one "row" per variable directly
// under the root of IEC61850_Variables.xml, up to 50. Each maps a variable onto bytes (and,
// for a digital one, a bit) of the internal data array. The list ends at the first row whose
// Name is blank.
//
// The check of an enabled variable: its length, its position within the array, a start bit
// for a digital variable, a conversion and a multiplication factor that is "None" or a
// number. Neither overlaps nor position + length against the array's end are checked: two
// variables may name the same bytes.

#include "ruleedit/core/URuleTable.h"

#include <QChar>

namespace zfw {

inline constexpr int kIEC61850Variables = 50;
// Bytes of the internal data array a variable may address (NByte_IN).
inline constexpr int kIEC61850Positions = 1438;

// NByte_IN bounds the positions (0 to NByte_IN - 1); decimalSeparator is the user's, with
// which the factor is read (a factor with either mark passes whatever it is).
RuleFileSpec iec61850VariablesSpec(int NByte_IN = kIEC61850Positions,
                                   QChar decimalSeparator = QLatin1Char(','));

}  // namespace zfw
