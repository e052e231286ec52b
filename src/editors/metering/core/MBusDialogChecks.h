#pragma once
// The checks of the paste dialog and of the scan dialogs (key, start register, per-node start
// registers), on the values as typed. Each returns the messages to show; none shows anything.

#include "editors/metering/core/MBusRules.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace zfw {

// The paste dialog's values: mode 1 a wired node, 2 a variable, 3 a wireless node.
struct TNewIDNodeValues {
    int Form_Type = 1;
    bool secondaryChosen = false;
    QString Node_Pri;
    QString Node_Sec;
    QString wMBus_Add;
    std::vector<QString> index;  // column "Index" of the grid's rows below the header
};

// A range that is refused ends the check with its message; a conflict with the network shows
// its message and the check goes on, so several may follow. ok only when nothing was refused.
RuleVerdict checkNewIDNode(const TNewIDNodeValues& values, const TMBusRules& rules,
                           const TextLookup& text);

// The key dialog: 32 characters, each 0-9 or A-F. The text number of the refusal, 0 when
// the key is accepted.
int checkWirelessKey(const QString& key);

// The start-register dialog: a whole number from 1 to 65535, else nullopt.
std::optional<int> startModbusRegister(const QString& text);

// The per-node start dialog: column "Modbus Start Address" of the data rows, in order. The
// message naming the first faulty row, or the empty text when every row holds 1 to 59999.
QString checkStartRegisters(const std::vector<QString>& starts, const TextLookup& text);

}  // namespace zfw
