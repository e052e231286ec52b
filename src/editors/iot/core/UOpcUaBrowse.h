#pragma once
// The live browse of an OPC UA server, as the editor sees it: the server's settings go in, a
// list of variables comes out, each with texts the program owns. The browse runs outside the
// window's thread of control (a helper process); its answer arrives once, by callback, on
// the window's event loop.
//
// The helper answers one JSON object per line:
//   {"count":N}                       first, the number of variables that follow
//   {"ns":..,"idType":..,"numeric":..,"string":"..","guid":"8-4-4-4-12","byteString":"..",
//    "displayName":"..","dataType":..,"accessLevel":..}    one per variable
//   {"error":"..."}                   instead, when the browse failed

#include "editors/iot/core/UOpcUaRecords.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace zfw {

// The server to browse, with the codes of the browse records.
struct OpcUaBrowseRequest {
    QString server_address;
    int user_pass_auth_flag = 0;  // 0 anonymous, 1 user name and password, 2 certificate
    QString username;
    QString password;
    QString cert;
    QString priv_key;
    int security_type = 0;    // 0 None, 1 Sign, 2 Sign and Encrypt
    int security_policy = 0;  // 0 None ... 5 AES 256 SHA 256 RSA PSS
};

// The request for a server, whether it is enabled or not. Texts that name no choice give
// certificate (2), Sign and Encrypt (2) and the last policy (5).
OpcUaBrowseRequest opcUaBrowseRequest(const TOPC_UA_Server& server);
// The request as the one JSON line handed to the helper on its standard input.
QByteArray opcUaBrowseRequestJson(const OpcUaBrowseRequest& request);

// One browsed variable; every text is the program's own copy.
struct OpcUaBrowsedVariable {
    quint16 nameSpaceIndex = 0;
    quint16 identifierType = 0;
    quint32 numeric = 0;
    QString stringname;
    quint32 guide1 = 0;
    quint16 guide2 = 0;
    quint16 guide3 = 0;
    std::array<quint8, 8> guide4{};
    QString byteString;
    QString displayName;
    qint32 dataType = 0;
    quint8 accessLevel = 0;
};

// The node identifier as the browse grid shows it (the text NodeID would show).
QString opcUaBrowsedNodeId(const OpcUaBrowsedVariable& v);
// A new enabled variable with the browsed identifier, data type and display name; its
// positions, times and array fields stay empty.
std::unique_ptr<TOPC_UA_Variable> opcUaVariableFromBrowse(const OpcUaBrowsedVariable& v);

// Reads the helper's answer. Stops at the first line that is not what the protocol allows.
struct OpcUaBrowseAnswer {
    enum class Status { Ok, Failed, Unusable };
    Status status = Status::Unusable;
    std::vector<OpcUaBrowsedVariable> variables;
    QString message;  // Failed: the helper's reason; Unusable: what was wrong, and where
};
// A browse never yields more than this; a longer answer is unusable rather than cut.
inline constexpr int kOpcUaMaxBrowsed = 200000;
OpcUaBrowseAnswer parseOpcUaBrowseAnswer(const QByteArray& output);
// One variable line; nullopt with a reason when the line is not one.
std::optional<OpcUaBrowsedVariable> parseOpcUaBrowseLine(const QByteArray& line, QString* why);

struct OpcUaBrowseResult {
    enum class Status { Ok, CannotStart, Unusable, Failed, TimedOut, Cancelled };
    Status status = Status::Failed;
    std::vector<OpcUaBrowsedVariable> variables;
    QString message;
};

// Runs browses; one at a time.
class IOpcUaBrowser {
public:
    virtual ~IOpcUaBrowser() = default;
    // Starts a browse; done is called once, later, from the event loop (never from inside
    // begin), unless cancel came first.
    virtual void begin(const OpcUaBrowseRequest& request,
                       std::function<void(OpcUaBrowseResult)> done) = 0;
    // Ends a running browse; its done is not called.
    virtual void cancel() = 0;
};

}  // namespace zfw
