#pragma once
// The Modbus master editors' tables: read and write rules, 512 each, of a gateway that polls
// Modbus slaves over a serial line (ModbusM_SetAccess.xml) or over TCP
// (ModbusTCPM_SetAccess.xml, where every rule also names the slave's IP address and port).
// A read rule stores what it reads from Position on in the input data area; a write rule
// sends what stands from Position on in the output data area.

#include "ruleedit/core/URuleTable.h"

#include <QStringList>

namespace zfw {

// Size of the input and of the output data area; Position runs below it.
inline constexpr int kModbusDataAreaSize = 1500;

// The index of Topic in the topic list: index itself when that entry is Topic, else the first
// entry equal to Topic (exact comparison), -1 when none is.
int Get_Index_From_Topic(const QStringList& topics, const QString& Topic, int index = -1);
// Entry Index of the topic list; empty outside it.
QString Get_Topic_From_Index(const QStringList& topics, int Index);

// The serial master's tables. The Topic column is hidden and Index_Topic is written empty;
// topics is the list its combo offers and that a file's index is looked up in.
RuleFileSpec modbusRtuRuleSpec(const QStringList& topics = {}, int nByteIn = kModbusDataAreaSize,
                               int nByteOut = kModbusDataAreaSize);

// The TCP master's tables: the serial master's with the slave's IP address (the key) and
// port first. Index_Topic is written as the index of the Topic cell in topics, "-1" for none.
RuleFileSpec modbusTcpRuleSpec(const QStringList& topics = {}, int nByteIn = kModbusDataAreaSize,
                               int nByteOut = kModbusDataAreaSize);

}  // namespace zfw
