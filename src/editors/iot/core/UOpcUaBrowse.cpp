#include "editors/iot/core/UOpcUaBrowse.h"

#include "common/UComonValidators.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QList>
#include <QRegularExpression>

#include <cmath>

namespace zfw {

namespace {

// A whole number in [lo, hi] from a JSON value; nullopt for anything else.
std::optional<qint64> wholeNumber(const QJsonValue& v, qint64 lo, qint64 hi)
{
    if (!v.isDouble())
        return std::nullopt;
    const double d = v.toDouble();
    if (!std::isfinite(d) || d != std::floor(d) || d < double(lo) || d > double(hi))
        return std::nullopt;
    return qint64(d);
}

}  // namespace

OpcUaBrowseRequest opcUaBrowseRequest(const TOPC_UA_Server& server)
{
    OpcUaBrowseRequest r;
    r.server_address = server.ServerAddress;
    r.user_pass_auth_flag = Str_To_OPC_UA_Auth(server.Authorization);
    r.username = server.UserName;
    r.password = server.Password;
    r.cert = server.Certificate;
    r.priv_key = server.PrivateKey;
    r.security_type = Str_To_OPC_UA_Security_Mode(server.SecurityType);
    r.security_policy = Str_To_OPC_UA_Security_Policy(server.SecurityPolicy);
    return r;
}

QByteArray opcUaBrowseRequestJson(const OpcUaBrowseRequest& request)
{
    QJsonObject o;
    o.insert(QStringLiteral("server_address"), request.server_address);
    o.insert(QStringLiteral("user_pass_auth_flag"), request.user_pass_auth_flag);
    o.insert(QStringLiteral("username"), request.username);
    o.insert(QStringLiteral("password"), request.password);
    o.insert(QStringLiteral("cert"), request.cert);
    o.insert(QStringLiteral("priv_key"), request.priv_key);
    o.insert(QStringLiteral("security_type"), request.security_type);
    o.insert(QStringLiteral("security_policy"), request.security_policy);
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

QString opcUaBrowsedNodeId(const OpcUaBrowsedVariable& v)
{
    TOPC_UA_Variable t;
    t.identifierType = v.identifierType;
    t.numeric = v.numeric;
    t.stringname = v.stringname;
    t.guide1 = v.guide1;
    t.guide2 = v.guide2;
    t.guide3 = v.guide3;
    t.guide4 = v.guide4;
    t.byteString = v.byteString;
    return t.NodeID();
}

std::unique_ptr<TOPC_UA_Variable> opcUaVariableFromBrowse(const OpcUaBrowsedVariable& v)
{
    auto t = std::make_unique<TOPC_UA_Variable>();
    t->Enable = true;
    t->nameSpaceIndex = v.nameSpaceIndex;
    t->identifierType = v.identifierType;
    t->numeric = v.numeric;
    t->guide1 = v.guide1;
    t->guide2 = v.guide2;
    t->guide3 = v.guide3;
    t->guide4 = v.guide4;
    t->dataType = v.dataType;
    t->DispalyName = v.displayName;
    t->stringname = v.stringname;
    t->byteString = v.byteString;
    return t;
}

std::optional<OpcUaBrowsedVariable> parseOpcUaBrowseLine(const QByteArray& line, QString* why)
{
    auto fail = [why](const QString& text) -> std::optional<OpcUaBrowsedVariable> {
        if (why)
            *why = text;
        return std::nullopt;
    };
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return fail(QStringLiteral("not a JSON object"));
    const QJsonObject o = doc.object();
    OpcUaBrowsedVariable v;
    struct IntField {
        const char* name;
        qint64 lo, hi;
        qint64* out;
    };
    qint64 ns = 0, idType = 0, numeric = 0, dataType = 0, access = 0;
    const IntField ints[] = {
        {"ns", 0, 65535, &ns},
        {"idType", 0, 65535, &idType},
        {"numeric", 0, 4294967295LL, &numeric},
        {"dataType", -2147483647LL - 1, 2147483647LL, &dataType},
        {"accessLevel", 0, 255, &access},
    };
    for (const IntField& f : ints) {
        const QJsonValue value = o.value(QLatin1String(f.name));
        if (value.isUndefined())
            continue;
        const auto n = wholeNumber(value, f.lo, f.hi);
        if (!n)
            return fail(QStringLiteral("\"%1\" is not a number from %2 to %3")
                            .arg(QLatin1String(f.name))
                            .arg(f.lo)
                            .arg(f.hi));
        *f.out = *n;
    }
    v.nameSpaceIndex = quint16(ns);
    v.identifierType = quint16(idType);
    v.numeric = quint32(numeric);
    v.dataType = qint32(dataType);
    v.accessLevel = quint8(access);
    struct TextField {
        const char* name;
        QString* out;
    };
    QString guid;
    const TextField texts[] = {{"string", &v.stringname},
                               {"byteString", &v.byteString},
                               {"displayName", &v.displayName},
                               {"guid", &guid}};
    for (const TextField& f : texts) {
        const QJsonValue value = o.value(QLatin1String(f.name));
        if (value.isUndefined() || value.isNull())
            continue;
        if (!value.isString())
            return fail(QStringLiteral("\"%1\" is not a text").arg(QLatin1String(f.name)));
        *f.out = value.toString();
    }
    if (!guid.isEmpty()) {
        static const QRegularExpression kGuid(QStringLiteral(
            "^[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}$"));
        if (!kGuid.match(guid).hasMatch())
            return fail(QStringLiteral("\"guid\" is not a GUID"));
        parseOpcUaGuid(guid, v.guide1, v.guide2, v.guide3, v.guide4);
    }
    return v;
}

OpcUaBrowseAnswer parseOpcUaBrowseAnswer(const QByteArray& output)
{
    OpcUaBrowseAnswer a;
    const QList<QByteArray> lines = output.split('\n');
    qsizetype i = 0;
    auto nextLine = [&]() -> std::optional<QByteArray> {
        while (i < lines.size()) {
            QByteArray l = lines[i++].trimmed();
            if (!l.isEmpty())
                return l;
        }
        return std::nullopt;
    };
    auto unusable = [&a](const QString& why) {
        a.status = OpcUaBrowseAnswer::Status::Unusable;
        a.variables.clear();
        a.message = why;
        return a;
    };
    const auto first = nextLine();
    if (!first)
        return unusable(QStringLiteral("The helper gave no answer"));
    QJsonParseError error{};
    const QJsonDocument head = QJsonDocument::fromJson(*first, &error);
    if (error.error != QJsonParseError::NoError || !head.isObject())
        return unusable(QStringLiteral("Line 1 is not a JSON object"));
    const QJsonObject ho = head.object();
    if (ho.contains(QStringLiteral("error"))) {
        a.status = OpcUaBrowseAnswer::Status::Failed;
        a.message = ho.value(QStringLiteral("error")).toString();
        if (a.message.isEmpty())
            a.message = QStringLiteral("The browse failed");
        return a;
    }
    const auto count = wholeNumber(ho.value(QStringLiteral("count")), 0, kOpcUaMaxBrowsed);
    if (!count)
        return unusable(QStringLiteral("Line 1 holds no count from 0 to %1").arg(kOpcUaMaxBrowsed));
    a.variables.reserve(size_t(*count));
    for (qint64 k = 0; k < *count; ++k) {
        const auto line = nextLine();
        if (!line)
            return unusable(
                QStringLiteral("The answer ends after %1 of %2 variables").arg(k).arg(*count));
        QString why;
        auto v = parseOpcUaBrowseLine(*line, &why);
        if (!v)
            return unusable(QStringLiteral("Variable %1: %2").arg(k + 1).arg(why));
        a.variables.push_back(std::move(*v));
    }
    if (nextLine())
        return unusable(QStringLiteral("The answer holds more than %1 variables").arg(*count));
    a.status = OpcUaBrowseAnswer::Status::Ok;
    return a;
}

}  // namespace zfw
