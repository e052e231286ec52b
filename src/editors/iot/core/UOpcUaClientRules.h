#pragma once
// The rules of the OPC UA client editor that need no window: a variable as a grid row and back,
// automatic positions, the check on OK, and the server dialog's layout and checks.

#include "editors/iot/core/UOpcUaRecords.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace zfw {

// Both variable grids have 17 columns: 0 the row number, 1 Enable, 2 Display Name, 3 Node
// Type, 4 Node ID, 5 Var Type, 6 Name Space Index, 7-9 Var/Array, Start, Length (read) or the
// write triggers, 10 Time, 11 Position, 12 Start Bit, 13-15 the swaps, 16 Mnemonic.
inline constexpr int kOpcUaVarColumns = 17;
inline constexpr int kOpcUaColDisplayName = 2;
// The grids open with this many variable rows; a longer list makes them grow.
inline constexpr int kOpcUaVarRows = 1024;
// Highest position of the internal data array.
inline constexpr int kOpcUaMaxPosition = 1499;

// Cells 1 to 16 of the variable's row (cell 0, the row number, stays empty).
QStringList opcUaVariableRow(const TOPC_UA_Variable& v, bool write);
// A grid's rows, from its first variable row, into new variables. The walk stops at the first
// row whose Display Name is empty (a single blank counts as a name). Rows shorter than the
// grid read their missing cells as empty.
OpcUaVariableList opcUaVariablesFromRows(const std::vector<QStringList>& rows, bool write);

// First free read and write positions for the server at index: 0 for the first server,
// otherwise the ends of the previous server's lists.
void Start_Position(const OpcUaServerList& servers, int index, int& SP_Read, int& SP_Write);
// Lays the server's variables out from Start_Position, each side on its own.
void opcUaAutoPositions(OpcUaServerList& servers, int index);

struct OpcUaCheckFault {
    int text = 0;      // language text of the message
    int server = 0;    // from 1
    int variable = 0;  // from 1, within its list
};

// The first fault of the enabled variables, servers in order, read list before write list.
std::optional<OpcUaCheckFault> opcUaCheckServers(const OpcUaServerList& servers);
// The message: the text's "%d" in turn take the server, the variable and the highest position.
QString opcUaCheckMessage(const QString& text, const OpcUaCheckFault& fault);

// ---- Server dialog ----

// Tops of the dialog's rows below the authorization, by its choice.
struct OpcUaDialogLayout {
    bool userRows = false;  // user name and password shown
    bool certRows = false;  // certificate and private key shown
    int secTypeLabel = 0, secType = 0;
    int policyLabel = 0, policy = 0;
    int mnemonicLabel = 0, mnemonic = 0;
};
// Nothing for an authorization index that is no item: the layout then stays as it is.
std::optional<OpcUaDialogLayout> opcUaDialogLayout(int authIndex);
inline constexpr int kOpcUaCertFieldHeight = 89;

struct OpcUaServerDialogValues {
    QString address;
    int authIndex = 0;
    QString user, password, certificate, privateKey;
};
// The language text of the first fault, or 0 when the values pass.
int opcUaCheckServerDialog(const OpcUaServerDialogValues& v);

}  // namespace zfw
