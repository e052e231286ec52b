#pragma once
// The window-free model of the DeviceNet byte offset editor: the slaves of DNETM_Net.xml, and
// for each of their input and output bytes the position in the gateway's arrays of 1440
// bytes ("None" when the byte is not passed on) and a mnemonic, stored in DNETM_DefOff.xml.
//
// Each "Nodo_DNET" of the offsets file carries the ID of its slave. The offsets follow their
// slave by ID when every element has one and the IDs (of the elements and of the slaves) are
// unique; otherwise, as in files written before the ID was stored, by position.

#include "common/ProjectXml.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace zfw {

struct ProgramState;

inline constexpr int kDeviceNetArraySize = 1440;

struct TSlave_DN {
    std::uint8_t ID = 0;
    std::uint16_t ByteIN = 0;
    std::uint16_t ByteOUT = 0;
    QStringList SL_ByteIN;     // offset of each input byte: "None" or a decimal number
    QStringList SL_ByteIN_M;   // mnemonic of each input byte
    QStringList SL_ByteOUT;    // offset of each output byte
    QStringList SL_ByteOUT_M;  // mnemonic of each output byte
    QString Mnemonic;          // the slave's description, shown in the slave grid
    QString texts[4];          // ID, NB_IN, NB_OUT and Mnemonic as the slave list file holds them
};

// One thing the opening could not read, with the file and the row (counted from 1) it is in.
struct DefOffsetProblem {
    QString file;
    int row = 0;
    QString what;   // attribute or element name
    QString value;  // the text read; empty for a missing one
    bool missing = false;
};

struct DefOffsetOpening {
    QString fileError;  // a file that exists is no readable XML (named)
    std::vector<DefOffsetProblem> problems;
    // True when saving would not give back what the files hold: the user is asked first.
    bool askBeforeSaving() const { return !fileError.isEmpty() || !problems.empty(); }
};

// The user's text of an opening's faults, one line each; empty when the opening was clean.
QString defOffsetOpeningMessage(const DefOffsetOpening& opening, const ProgramState& lang);

struct DefOffsetFault {
    int text = 0;  // 3921 (an output offset used twice) or 3930 (above the array); 0 none
    int firstId = 0;
    int firstByte = 0;
    int id = 0;
    int byte = 0;
    bool ok() const { return text == 0; }
};

QString defOffsetFaultMessage(const DefOffsetFault& fault, const ProgramState& lang);

class TDefOffsetModel {
public:
    std::vector<TSlave_DN> List_Slaves_DN;
    int MAX_BYTE_IN = kDeviceNetArraySize;
    int MAX_BYTE_OUT = kDeviceNetArraySize;

    // Opening: the slaves from the slave list, then their offsets. Missing files give no
    // slaves or no offsets; what cannot be read is reported and what was read before it kept.
    DefOffsetOpening open(const QString& netPath, const QString& offsetPath);
    DefOffsetOpening open(const ProjectXmlLoad& net, const ProjectXmlLoad& offsets,
                          const QString& netName, const QString& offsetName);

    // Every output offset is taken by one byte only and lies within the array.
    DefOffsetFault Check_Data() const;

    // The offsets file of the slaves as they stand.
    ProjectXmlWriter document() const;
    FileResult Save_Offset_Slave_DN(const QString& path) const { return document().save(path); }

    // The combo items of the offset columns: "None", then "0" to size - 1.
    static QStringList offsetItems(int size);
};

}  // namespace zfw
