#pragma once
// The gateway's SNMP MIB module, written from the agent objects of SNMP_Trap.xml: a fixed
// object tree under the maker's enterprise number, one object per enabled read object, one per
// enabled write object and one notification per enabled read object.
//
// Reading the objects, checking their names and building the text are separate steps, so the
// text can be tested without files and a file whose names would break the module is refused
// before anything is written.

#include "common/MakerTexts.h"
#include "common/ProjectXml.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace zfw {

// The enabled objects of the agent file, in file order. Entry k - 1 of a table belongs to its
// k-th enabled row. The lists grow with the file: a table of more than 256 enabled rows keeps
// them all rather than overflowing fixed tables.
struct SnmpTrapLists {
    QStringList SNMP_Trap_Read_Names;  // Descriptions; empty for an unnamed object
    QStringList SNMP_Trap_Write_Names;
    QList<bool> SNMP_Trap_Read_Is_Int;  // Type "Int" in any letter case
    QList<bool> SNMP_Trap_Write_Is_Int;
    QList<int> readRows;  // the row of the file's table each entry came from, counted from 1
    QList<int> writeRows;
};

struct SnmpTrapLoad {
    SnmpTrapLists lists;
    // Set when the file exists but is no readable XML; it names the file. A missing file
    // gives empty lists and no error.
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Reads the enabled rows (Enable "Y" once upper-cased; a row without it is left out) of the
// tables SNMP_Trap_Read and SNMP_Trap_Write under the root. A table the file lacks counts as
// empty. Only Enable, Description and Type are read; nothing else is checked.
SnmpTrapLoad Load_SNMP_Trap_Lists(const QString& path);
SnmpTrapLoad Load_SNMP_Trap_Lists(const ProjectXmlLoad& doc);

// The name of read object k (from 1): its Description, or "bufferinval" k when it has none.
QString snmpReadObjectName(const SnmpTrapLists& lists, int k);
// The name of write object k: its Description, or "bufferoutval" k.
QString snmpWriteObjectName(const SnmpTrapLists& lists, int k);

// True when a Description would name an object the module already has: one of the fixed
// names, an imported one, or a name the writer generates ("bufferinval", "bufferoutval" or
// "trapval" followed by digits). Compared exactly, as the module's names are.
bool isSnmpMibReservedName(QStringView name);

// Why a name cannot stand in the module.
enum class SnmpMibNameFault {
    Characters,  // not a lower-case letter followed by letters and digits
    TooLong,     // over 64 characters
    Reserved,    // a fixed, imported or generated name of the module
    Duplicate,   // the name of an earlier object
};

struct SnmpMibNameProblem {
    bool write = false;  // false: the read table
    int row = 0;         // row of the file's table, counted from 1
    QString name;
    SnmpMibNameFault fault = SnmpMibNameFault::Characters;
};

// The first object name that would make the module invalid, in file order, read table first;
// nullopt when every name is sound. Unnamed objects take their generated names, which are
// sound. A hand-edited file may hold any Description; the agent editor's check refuses the
// same names.
std::optional<SnmpMibNameProblem> checkSnmpMibNames(const SnmpTrapLists& lists);

// The module's lines, without line ends. The maker's texts fill the organisation and contact
// lines; a quotation mark in them would end the quoted text early and becomes an apostrophe.
QStringList buildSnmpMibLines(const SnmpTrapLists& lists, const MakerTexts& maker);

// The lines as the file holds them: each ends with CR LF, the last included; a character
// outside ASCII becomes "?" (the maker's texts are the only place one can come from).
QByteArray snmpMibBytes(const QStringList& lines);

// Builds and replaces the file at path in one step; a failure names the file and leaves it
// as it was. The names must have passed checkSnmpMibNames.
FileResult Write_MIB_File(const QString& path, const SnmpTrapLists& lists, const MakerTexts& maker);

// The file name for a name chosen in the save dialog: kept when it ends in ".mib" in any
// letter case, else with ".mib" appended.
QString snmpMibFileName(const QString& chosen);

}  // namespace zfw
