#pragma once
// Texts and choices of the Scan & Decode window that need no widgets: the gateway address
// read from the project's ParGen.xml by device code, the progress lines, the result trees'
// node texts, and which dialogs a save shows for a device code.

#include "editors/metering/core/MBusRecords.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace zfw {

// The four address bytes of the gateway from ParGen.xml's bytes, by device code; an element
// that is missing (or a file that cannot be read) gives nullopt for its byte.
std::array<std::optional<QString>, 4> gatewayAddressFromParGen(const QByteArray& parGen,
                                                               int XML_Code_Dev);

// The progress list's line for one notice of the engine (kind 1 start, 2 one address, 3
// end; scanKind 1 primary, 2 secondary); nullopt when the notice adds no line. startText and
// endText are the texts of the secondary scan's first and last lines.
std::optional<QString> progressLine(int kind, int address, int found, int scanKind,
                                    const QString& startText, const QString& endText);

// The marker of a line whose address did not answer.
inline constexpr char kNotFound[] = "[NOT FOUND]";

QString slaveNodeText(const TSlave_MBus& slave);
QString recordNodeText(const TVariable_MBus& record);
// The twelve detail lines under a record.
std::array<QString, 12> recordDetailTexts(const TVariable_MBus& record);

// Device codes for which "Save Node Add. Conf." is hidden in the wired result state.
bool hidesPerNodeSave(int XML_Code_Dev);
// Device codes that ask for start registers (the per-node dialog, or the start-register
// dialog when appending).
bool asksStartRegisters(int XML_Code_Dev);

}  // namespace zfw
