#pragma once
// The variable tables of the OPC UA client editor: the read and the write list of the server
// the window shows, 17 columns each (see UOpcUaClientRules.h), 1,024 rows that grow to a
// longer list. The file is the editor's own (servers that each hold both lists), so the
// tables are views of one server at a time and the descriptor names no file elements.

#include "editors/iot/core/UOpcUaClientRules.h"
#include "ruleedit/core/URuleTable.h"

#include <optional>

namespace zfw {

// The tables may grow to this many rows, header included: far beyond any browse.
inline constexpr int kOpcUaMaxVarRows = 1 << 22;

// Both tables; table 0 the read list, table 1 the write list.
RuleFileSpec opcUaClientSpec();

// The check of every server's enabled variables as a fault of the frame: the message's
// "%d" take the server, the variable and the highest position.
std::optional<RuleFault> opcUaCheckFault(const OpcUaServerList& servers);

// The table's rows as the grid holds them, from row 1 up to the first empty Display Name,
// into variables.
OpcUaVariableList opcUaVariablesOfTable(const RuleTable& table, bool write);
// The table cleared, grown to the list with a free row below it, then the list in it.
void opcUaFillTable(RuleTable& table, const OpcUaVariableList& list, bool write);

}  // namespace zfw
