#pragma once
// BACnet EDE files (engineering data exchange: a text of ";"-separated fields, one object a
// line). Reading another device's object list for the client's import, and writing the
// gateway's own objects for a building-management tool.

#include "common/ProjectXml.h"
#include "ruleedit/core/URuleTable.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace zfw {

// ---- reading -----------------------------------------------------------------------------

// One object line of an EDE file. An integer field whose text is no integer holds -1.
struct TBACnet_Var {
    QString keyname;
    int device_obj_instance = -1;
    QString object_name;
    int object_type = -1;
    int object_instance = -1;
    QString description;
    QString present_value_default;
    QString min_present_value;
    QString max_present_value;
    bool commandable = false;
    bool support_COV = false;
    QString hi_limit;
    QString low_limit;
    QString stete_text_reference;
    QString unit_code;
    QString vendor_specific_address;
    // The user's choices in the import dialog.
    bool import = true;
    bool read = true;
    bool write = false;
};

// A file larger than this is not read: no device describes that many objects, and the
// grid could not list them.
inline constexpr qsizetype kEdeMaxFileBytes = 16 * 1024 * 1024;
// Objects listed at most; the rest of a longer file is left out and reported.
inline constexpr int kEdeMaxObjects = 20000;

struct EdeReadResult {
    QList<TBACnet_Var> objects;  // retained object lines, in file order
    int lineCount = 0;
    int firstObjectLine = 0;  // 1-based; 0 when no line announces the objects
    bool tooShort = false;    // fewer than seven lines: nothing can be read
    int objectsLeftOut = 0;   // retained objects beyond kEdeMaxObjects
};

// The text of an EDE file's bytes: a byte-order mark selects UTF-8 or UTF-16; without one
// the bytes are Windows-1252.
QString decodeEdeText(const QByteArray& bytes);
// Splits a text into lines at CR LF, LF or CR.
QStringList edeLines(const QString& text);
// One object line split into its sixteen fields; quotes have no meaning.
TBACnet_Var parseEdeLine(const QString& line);
// True when the object type is one the client's rules can address.
bool isRetainedEdeType(int objectType);
// The retained objects of an EDE file's bytes.
EdeReadResult readEdeObjects(const QByteArray& bytes);

struct EdeFileBytes {
    QByteArray bytes;
    QString error;  // set when the file cannot be read or is too large; names the file
};
// The file's bytes, up to kEdeMaxFileBytes.
EdeFileBytes readEdeFile(const QString& path);

// Texts and sizes new rules get for a retained object type; for any other, empty, "Null"
// and 4.
QString Get_ObjType_EDE(int val);
QString Get_DataType_EDE(int val);
int Get_NumByte_EDE(int val);

// Where an import leaves the new rules, or why it changed nothing.
struct EdeImportResult {
    int faultText = 0;  // 0: imported
    int readRows = 0;   // rules added to each table
    int writeRows = 0;
    int firstReadRow = 0;  // first row filled; 0 when none
    int firstWriteRow = 0;
};

// Appends the chosen objects as read and write rules for the device text typed by the user,
// from each table's first free row on, at the running positions after the rules already
// there. The free row and the rules already there are judged by the table's key column
// (the device column, or Object Type when the device column is hidden). When the rules of a
// table would not fit below its last row, nothing is changed in either table.
EdeImportResult importEdeObjects(RuleTable& read, RuleTable& write,
                                 const QList<TBACnet_Var>& objects, const QString& device);

// ---- writing -----------------------------------------------------------------------------

// One object line of the gateway's EDE file.
struct TBACnet_EDE_Obj {
    QString Keyname;
    QString DevObjInstance;
    QString ObjectName;
    QString ObjectType;
    QString ObjectInstance;
    QString Description;
    QString UnitCode;
};

struct EdeExport {
    bool ok = false;
    QString message;  // why nothing may be written; names the file or the object
    QList<TBACnet_EDE_Obj> objects;
    QByteArray bytes;  // the whole file: Windows-1252, CR LF after every line, no BOM
};

// BACnet object-type code of an objects-file Data_Type (trimmed, any case); 0 for any other.
int Get_EDE_Object_Type(const QString& upperType);
// "HH:MM:SS DD/MM/YYYY".
QString Get_TimeStamp_Str(const QDateTime& time);

// The gateway's EDE file from the general parameters and the server objects file (either
// may be missing), for the project's name at the time given. Every export starts from
// zeroed instance counters and no device instance.
EdeExport buildEdeFile(const QString& parGenPath, const QString& objectsPath,
                       const QString& projectName, const QDateTime& time);
// buildEdeFile, then the bytes replace the file at path; nothing is written when the build
// failed.
FileResult BACnet_EDE_Export(const QString& path, const QString& parGenPath,
                             const QString& objectsPath, const QString& projectName,
                             const QDateTime& time);

}  // namespace zfw
