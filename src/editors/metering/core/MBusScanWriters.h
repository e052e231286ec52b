#pragma once
// What a scan found, written out: the scan reports ("SCAN_M-Bus_Wired",
// "SCAN_M-Bus_Wireless") and the network file M_Bus.xml in the form of a gateway model
// (XML_Code_Dev 0 to 14), with Modbus registers allocated one after another. The files are
// built in memory and replaced atomically; in append mode the existing network file is
// loaded first and the new nodes follow its own.

#include "common/ProjectXml.h"
#include "editors/metering/core/MBusDecoder.h"
#include "editors/metering/core/WMBusIntake.h"

#include <QString>

#include <vector>

namespace zfw {

struct TSaveConfXML {
    qint32 Append = 0;        // 1: add the nodes to the existing File_Name
    qint32 XML_Code_Dev = 0;  // variant 0 to 14
    qint32 Mod_Start = 1;     // first register
    qint32 Index_Baud = 0;    // variants 4 and 7
    qint32 Index_Par = 0;
    qint32 Node_ID_Type = 0;
    qint32 SND_NKE = 0;
    qint32 Reset_App = 0;
    qint32 Cut_After = 0;
    // 1: each node's first register comes from SMN_Array (by the node's position), nodes get
    // node-state and identification registers, and only checked records take registers.
    qint32 StartModnode = 0;
    std::vector<qint32> SMN_Array;
    bool En_NodeState = false;
    bool En_IdeNum = false;
    QString File_Name;
};

// The check boxes of the scan window's tree for the wired writer: slaves[i] for the slave at
// position i, records[i][j] for its record j. A missing entry (no tree node, or one that
// cannot be read) counts as checked.
struct TScanChecks {
    std::vector<bool> slaves;
    std::vector<std::vector<bool>> records;

    bool slave(std::size_t i) const { return i >= slaves.size() || slaves[i]; }
    bool record(std::size_t i, std::size_t j) const
    {
        return i >= records.size() || j >= records[i].size() || records[i][j];
    }
};

struct ScanSaveResult {
    bool written = false;
    QString message;  // why nothing was written; empty when the list was empty

    explicit operator bool() const { return written; }
};

// Scan reports; they carry no version comment.
FileResult Save_XML_File_DLL(const QString& path, const TSlaveMBusList& slaves);
FileResult Save_Wireless_XML_File_DLL(const QString& path, const TSlaveWMBusList& slaves);

// Network files. An empty list writes nothing. A file that cannot be loaded in append mode,
// a start-register list shorter than the slave list, or a failed save writes nothing and
// says why.
ScanSaveResult Save_XML_Conf_Wired(const TSaveConfXML& DataIn, bool Check_BCD,
                                   const TSlaveMBusList& slaves, const TScanChecks& checks);
ScanSaveResult Save_XML_Conf_Wireless(const TSaveConfXML& DataIn, bool Check_BCD,
                                      const TSlaveWMBusList& slaves);

}  // namespace zfw
