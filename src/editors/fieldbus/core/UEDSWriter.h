#pragma once
// The electronic data sheet of the CANopen gateway: the fixed communication objects, one
// communication, mapping and data object per PDO of PDO_CANopen.xml and one manufacturer
// object per index of SDO_Server_CANopen.xml, as the text a master's configuration tool
// imports. ASCII, CR LF after every line (the last included), no byte-order mark.
//
// Window-free: the two project files and the local date and time come in as arguments, the
// file's bytes or what refused them come out. Nothing is written unless every value read is
// one the editors accept, so a file that a reader would reject is never produced.

#include "common/ProjectXml.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace zfw {

struct ProgramState;

inline constexpr char EDS_File_Name[] = "NMEA_Send_Frames_CANopen.eds";
inline constexpr char EDS_Product_Name[] = "NMEA_Send_Frames / CANopen - Converter";
inline constexpr char EDS_Product_Number[] = "R70";
inline constexpr char EDS_Order_Code[] = "GWK4R70";

// The PDO lists hold 30 entries each; a table of more rows gives its first 30.
inline constexpr int kEdsMaxPdos = 30;

struct PDO_Entry {
    std::int32_t COB_ID = 0;
    std::int32_t Dimension = 8;
};

struct SDO_Sub_Type {
    std::uint8_t Sub = 0;
    std::uint8_t Quantity = 0;
    bool Readonly = false;
    QString Mnemonic;  // always empty
};

struct SDO_Index {
    std::uint16_t Index = 0;
    QList<SDO_Sub_Type> Sub_Indexs;
};

// What the writer read from the two project files.
struct EdsLists {
    QList<PDO_Entry> PDO_Receive_List;   // at most kEdsMaxPdos
    QList<PDO_Entry> PDO_Transmit_List;  // at most kEdsMaxPdos
    // In the order each index was first met: the "SDO_Read" rows, then the "SDO_Write" rows.
    QList<SDO_Index> SDO_Index_List;
    // Rows of a PDO table beyond the 30th, per table (receive, transmit): left out.
    int receiveRowsLeftOut = 0;
    int transmitRowsLeftOut = 0;
};

// Why a file was refused. Texts are language numbers of the shared message block.
struct EdsFault {
    int text = 0;    // 0: no fault
    QString file;    // the project file, as messages show it
    QString table;   // table element; empty for a whole-file fault
    int row = 0;     // row of the table counted from 1; 0 for none
    QString detail;  // the attribute, the value, or the parser's message
    bool ok() const { return text == 0; }
};

inline constexpr int kEdsTextFileUnreadable = 1160;  // the project file is no readable XML
inline constexpr int kEdsTextNoTable = 1161;         // a table element is missing
inline constexpr int kEdsTextNoAttribute = 1162;     // a row lacks an attribute
inline constexpr int kEdsTextIndex = 1163;           // Index outside 0x2000 to 0x5FFF
inline constexpr int kEdsTextSubIndex = 1164;        // SubIndex outside 0 to 255
inline constexpr int kEdsTextNByte = 1165;           // N Byte not 1, 2 or 4
inline constexpr int kEdsTextDuplicate = 1166;       // Index and SubIndex of an earlier row
inline constexpr int kEdsTextDimension = 1167;       // Dimension outside 1 to 8
inline constexpr int kEdsTextPdosLeftOut = 1168;     // warning: PDO rows past the 30th
inline constexpr int kEdsTextWriteFailed = 1169;     // the EDS file could not be written
inline constexpr int kEdsTextRow = 1170;             // ", row "
inline constexpr int kEdsTextTable = 1171;           // ", table "

// Reads both project files (a missing file has no rows). The documents come loaded, so that
// a caller may hand in bytes; fault is set, and the lists are to be ignored, when a value is
// refused.
// pdoName and sdoName stand for the files in messages.
EdsLists readEdsLists(const ProjectXmlLoad& pdoFile, const ProjectXmlLoad& sdoServerFile,
                      EdsFault& fault, const QString& pdoName = QStringLiteral("PDO_CANopen.xml"),
                      const QString& sdoName = QStringLiteral("SDO_Server_CANopen.xml"));

// Sorts the sub-entries of every object by sub-index, keeping the order of equal ones.
void Sort_SDO_Sub_Index(QList<SDO_Index>& list);

// "MM-DD-YYYY" and "hh:mmAM" on the 12-hour clock.
QString edsDateText(const QDate& date);
QString edsTimeText(const QTime& time);

// The file's lines, without line ends, for sorted lists.
QStringList edsLines(const EdsLists& lists, const QDateTime& localTime);

struct EdsResult {
    EdsFault fault;
    QByteArray bytes;      // the file; empty when refused
    QStringList warnings;  // language-composed texts to show once the file is written
    bool ok() const { return fault.ok(); }
};

// The whole file from the two loaded project files and the local date and time.
EdsResult buildEdsFile(const ProjectXmlLoad& pdoFile, const ProjectXmlLoad& sdoServerFile,
                       const QDateTime& localTime, const ProgramState& lang,
                       const QString& pdoName = QStringLiteral("PDO_CANopen.xml"),
                       const QString& sdoName = QStringLiteral("SDO_Server_CANopen.xml"));

// Create_EDS_File: reads the project files at their paths, builds the file and writes it to
// target atomically, replacing it without a question. A refused project or a failed write
// leaves an existing target as it was.
EdsResult Create_EDS_File(const QString& target, const QString& pdoPath,
                          const QString& sdoServerPath, const QDateTime& localTime,
                          const ProgramState& lang);

// The user's message of a fault.
QString edsFaultMessage(const EdsFault& fault, const ProgramState& lang);

}  // namespace zfw
