#pragma once
// The variables a gateway acting as an OPC UA server exposes: table OPC_UA_Server_Variables of
// OPC_UA_Server.xml, 250 rows. Each gives a variable's data type, its position and length in
// the internal data array, its name, its access and a description. The file ends at the first
// row whose Type is blank; the check visits every row and passes over those without a type.
//
// A data type of fixed size fixes the length; "String" and "ByteString" start at 10 bytes and
// take any length the user types.

#include "ruleedit/core/URuleTable.h"

#include <optional>

namespace zfw {

inline constexpr int kOPCUAServerVariables = 250;
// Bytes of the internal data array the variables may address.
inline constexpr int kOPCUAServerPositions = 2000;

// The data types, in the order the Type list shows them (VarType), and the access kinds
// (RWType).
const QStringList& opcUaServerVarTypes();
const QStringList& opcUaServerRWTypes();

// The length a data type gives and whether the user may change it; nullopt for a text that
// is no data type (the Length cell is then left as it is).
struct OpcUaVarLength {
    QString length;
    bool editable = false;
};
std::optional<OpcUaVarLength> opcUaServerVarLength(const QString& type);

RuleFileSpec opcUaServerSpec();

}  // namespace zfw
