#pragma once
// The project's M-Bus network: nodes (meters, wired or wireless) with their variables, and
// the network file M_Bus.xml. Read with the project-file reader, written whole with the
// shared writer and replaced atomically.

#include "common/ProjectXml.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <vector>

namespace zfw {

class TVariabile {
public:
    bool Enable = false;
    QString Description;
    qint32 Type_Of_Data = 0;    // group code 0 to 25
    qint32 Function_Field = 0;  // 0 instantaneous, 1 minimum, 2 maximum, 3 error state
    qint32 Dimension = 0;       // 0 "8", 1 "16", 2 "32", 3 "64", 4 "24", 5 "48", 6 real, 7 var.
    qint32 Unita = 0;
    qint32 PositionData = 0;  // Modbus register of the value
    quint32 Storage_Number = 0;
    qint32 Tariff = 0;
    quint8 VIFE = 0;  // type code; 0 not selected
    bool BCDtoINT = false;
    qint32 Length = 0;
    QString VIF_ASCII;
    bool Conv_Float = false;
    bool Force_Int32 = false;
    bool TP_Mod_Regs = false;  // a time point over six registers from TP_Mod_Year
    qint32 TP_Mod_Year = 0;
    quint16 Position = 0;  // position of the record in the answer
    quint8 Post_Operation = 0;

    bool operator==(const TVariabile&) const = default;
};

class TNodo {
public:
    quint8 Enable = 0;
    QString Description;
    qint32 Node_Pri = 0;
    qint32 Node_Sec = 0;
    quint8 Send_SNK = 0;
    quint8 Reset_App = 0;
    std::vector<TVariabile> Var_List;
    quint8 Enable_NS = 0;
    qint32 Node_State = 0;
    quint8 Enable_IN = 0;
    qint32 Ident_Num = 0;
    quint8 BCDtoINT_IN = 0;
    qint32 Swap_Ident = 0;
    quint8 Node_ID_Type = 0;  // 0 primary address, else secondary
    quint8 Var_List_Type = 0;
    quint8 Cut_After = 0;
    quint8 Enable_MS = 0;
    qint32 Manufacturer_Spec = 0;
    quint8 MSD_Length = 0;
    quint8 MSD_Offset = 0;
    quint8 MBus_Type = 0;  // 0 wireless, else wired
    QString wMBus_ManID;
    QString wMBus_Add;
    QString wMBus_Ver;
    QString wMBus_DevType;
    quint8 wMBus_En_Key = 0;
    std::array<QString, 16> wMBus_Key;
    quint8 Enable_RSSI = 0;
    qint32 RSSI = 0;
    quint8 Enable_AN = 0;
    qint32 Access_Number = 0;

    bool operator==(const TNodo&) const = default;
};

using TNodiList = std::vector<TNodo>;

struct MBusNetworkLoad {
    TNodiList nodes;  // what was read, up to the fault when there is one
    bool ok = true;
    bool missing = false;  // no file: an empty network, no message
    QString message;       // names the file, where the fault lies and how many nodes were read
};

// Reads M_Bus.xml. The network element is the document element, whatever comment or
// declaration precedes it; every child of it is a node and every child of a node a variable.
// A file that is not well-formed or nests too deep, a variable without a whole-number "Type",
// "Fun_Field" or "Dim", or a number that does not fit its field ends the reading with a
// message; the nodes and variables read before the fault stay. The file is never changed.
MBusNetworkLoad loadMBusNetwork(const QString& path);
MBusNetworkLoad parseMBusNetwork(const QByteArray& bytes, const QString& name);

// The file's bytes: "M-Bus_Network" with every node and variable and all their attributes,
// then the comment "SW_VERSION = 1.002".
QByteArray mbusNetworkBytes(const TNodiList& nodes);
// Replaces the file atomically; a failure names the file and the old file stays.
FileResult saveMBusNetwork(const QString& path, const TNodiList& nodes);

}  // namespace zfw
