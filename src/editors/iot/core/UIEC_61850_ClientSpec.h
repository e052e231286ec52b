#pragma once
// The tables of the IEC 61850 client editor on the rule-editor frame: the variables (ACG_DA),
// the chosen data sets (ACG_DataSet) and the members of one data set (ACG_DS_Vars). The three
// grow one row per item and have no maximum; the file is the editor's own
// (UIEC_61850_ClientFile), so the descriptor carries the grids' columns and the checks of the
// variables only.

#include "ruleedit/core/URuleTable.h"

namespace zfw {

inline constexpr int kIecDaTable = 0;
inline constexpr int kIecDataSetTable = 1;
inline constexpr int kIecMemberTable = 2;

// Real columns of ACG_DS_Vars.
namespace iecmember {
inline constexpr int bType = 1, Reference = 2, Position = 3, StartBit = 4, Convertion = 5,
                     MultFact = 6, Mnemonic = 7;
}

// The checks of a variables row read "None" factors and factors with either decimal mark
// by the separator given.
RuleFileSpec iecClientRuleSpec(QChar decimalSeparator);

}  // namespace zfw
