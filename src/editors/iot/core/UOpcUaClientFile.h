#pragma once
// OPC_UA_Client.xml: the servers of the OPC UA client editor, each nesting its read and write
// variables. Check values are "1"/"0", the file carries no version comment, and the reader finds
// the root and the lists by name.

#include "common/ProjectXml.h"
#include "editors/iot/core/UOpcUaRecords.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zfw {

struct OpcUaClientLoad {
    OpcUaServerList servers;
    // Ok when the file was read whole or does not exist (no server then).
    FileResult result;
    // What a hand-edited file lacked; the rest was read. Empty for a complete file.
    QStringList problems;
};

// The document of the server list, ready to save.
ProjectXmlWriter buildOpcUaClientXml(const OpcUaServerList& servers);
FileResult saveOpcUaClientFile(const QString& path, const OpcUaServerList& servers);

OpcUaClientLoad loadOpcUaClientFile(const QString& path);
// The same for bytes in memory; name stands for the file in messages.
OpcUaClientLoad parseOpcUaClientXml(const QByteArray& bytes, const QString& name);

}  // namespace zfw
