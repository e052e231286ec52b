#pragma once
// The OPC UA client editor keeps its configuration in objects, not in its grids: a list of
// servers, each owning the variables the gateway reads from it and those it writes to it. The
// grids and the project file are views of these objects.
//
// A variable holds its node id twice over: the kind plus the typed identifier fields, and the
// text NodeID that grids and the file show, read and written by the kind in force.

#include <QString>
#include <QtGlobal>

#include <array>
#include <memory>
#include <vector>

namespace zfw {

class TOPC_UA_Variable {
public:
    // ---- plain properties ----
    bool Enable = false;
    QString DispalyName;
    QString ReadWrite;  // kept for the record's shape; nothing sets or reads it
    QString OnChange;   // "Y"/"N" (write variables)
    QString OnCMD;      // "Y"/"N"
    QString OnTimer;    // "Y"/"N"
    QString VarArray;   // "Variable" or "Array" (read variables)
    QString Start;
    QString Len;
    QString Time;
    QString Position;
    QString StartBit = QStringLiteral("0");
    bool Swap = false;
    bool Swap_Word = false;
    bool Swap_All = false;
    QString Mnemonic;

    // ---- identifier fields (no property; the editor reaches them directly) ----
    quint16 nameSpaceIndex = 0;
    quint16 identifierType = 0;  // 0 numeric, 3 string, 4 GUID, 5 byte string
    quint32 numeric = 0;
    QString stringname;
    quint32 guide1 = 0;
    quint16 guide2 = 0;
    quint16 guide3 = 0;
    std::array<quint8, 8> guide4{};
    QString byteString;  // the text typed or received, not decoded
    qint32 dataType = 0;

    // "Numeric", "String", "Guid", "ByteString", or empty for any other kind.
    QString NodeType() const;
    // Any letter case of the four names; any other text sets the numeric kind.
    void setNodeType(const QString& text);

    // The identifier of the current kind as text (no namespace or kind prefix).
    QString NodeID() const;
    // Parses the text by the current kind; the other kinds' fields keep their values.
    void setNodeID(const QString& text);

    // The data type's name; every number outside 1 to 14 reads "Boolean".
    QString VarType() const;
    // Any letter case of the fifteen names; any other text sets 0.
    void setVarType(const QString& text);
};

using OpcUaVariableList = std::vector<std::unique_ptr<TOPC_UA_Variable>>;

class TOPC_UA_Server {
public:
    bool Enable = false;
    QString ServerAddress;
    QString Authorization;
    QString UserName;
    QString Password;  // kept and written in plain: the file format holds it so
    QString Certificate;
    QString PrivateKey;
    QString SecurityType;
    QString SecurityPolicy;
    QString Mnemonic;

    OpcUaVariableList Var_List_R;
    OpcUaVariableList Var_List_W;
};

using OpcUaServerList = std::vector<std::unique_ptr<TOPC_UA_Server>>;

// Names of the data types 0 to 14, in number order (the choices of the Var Type column).
const std::array<const char*, 15>& opcUaDataTypeNames();
// The four node kinds in the order of the Node Type column.
const std::array<const char*, 4>& opcUaNodeTypeNames();

// Byte length of the named data type in any letter case; 0 for any other text.
int GetLenVarType(const QString& DT);

// The GUID text rules on a trimmed text: the first three groups are cut at hyphens and may be
// short, the last eight bytes are cut by character count; a missing part gives 0.
void parseOpcUaGuid(const QString& text, quint32& g1, quint16& g2, quint16& g3,
                    std::array<quint8, 8>& g4);
// XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX in upper case, every group padded.
QString formatOpcUaGuid(quint32 g1, quint16 g2, quint16 g3, const std::array<quint8, 8>& g4);

}  // namespace zfw
