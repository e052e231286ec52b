#include "editors/iot/core/UOpcUaRecords.h"

#include "common/IntText.h"
#include "common/TextUtil.h"
#include "common/UComonValidators.h"

#include <limits>

namespace zfw {

namespace {

struct DataTypeRow {
    const char* name;
    int bytes;
};

// Numbers are the built-in type ids of the first fifteen OPC UA types minus one.
constexpr std::array<DataTypeRow, 15> kDataTypes = {{
    {"Boolean", 1},
    {"Int8", 1},
    {"UInt8", 1},
    {"Int16", 2},
    {"UInt16", 2},
    {"Int32", 4},
    {"UInt32", 4},
    {"Int64", 8},
    {"UInt64", 8},
    {"Float", 4},
    {"Double", 8},
    {"String", 20},
    {"DateTime", 8},
    {"Guid", 16},
    {"ByteString", 20},
}};

int dataTypeIndex(const QString& text)
{
    for (int i = 0; i < int(kDataTypes.size()); ++i) {
        if (text.compare(QLatin1String(kDataTypes[i].name), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// "0x" followed by the text, read as an integer; 0 when that fails. Callers keep the low
// bits their field has.
quint32 hexGroup(const QString& part)
{
    const auto v = parseIntText(QString(QStringLiteral("0x") + part));
    return v ? quint32(*v) : 0u;
}

}  // namespace

const std::array<const char*, 15>& opcUaDataTypeNames()
{
    static const std::array<const char*, 15> kNames = [] {
        std::array<const char*, 15> names{};
        for (size_t i = 0; i < kDataTypes.size(); ++i)
            names[i] = kDataTypes[i].name;
        return names;
    }();
    return kNames;
}

const std::array<const char*, 4>& opcUaNodeTypeNames()
{
    static const std::array<const char*, 4> kNames = {"Numeric", "String", "Guid", "ByteString"};
    return kNames;
}

int GetLenVarType(const QString& DT)
{
    const int i = dataTypeIndex(DT);
    return i < 0 ? 0 : kDataTypes[size_t(i)].bytes;
}

void parseOpcUaGuid(const QString& text, quint32& g1, quint16& g2, quint16& g3,
                    std::array<quint8, 8>& g4)
{
    QString s = trimBlanks(text);
    auto cutAtHyphen = [&s]() {
        const qsizetype dash = s.indexOf(u'-');
        QString part;
        if (dash >= 0) {
            part = s.left(dash);
            s = s.mid(dash + 1);
        } else {
            part = s;
            s.clear();
        }
        return hexGroup(part);
    };
    // The byte after the first of the fourth group skips that group's hyphen too, which is why
    // a short fourth group reads the hyphen as part of a byte.
    auto cutByte = [&s](int skip) {
        QString part;
        if (s.size() <= 2) {
            part = s;
            s.clear();
        } else {
            part = s.left(2);
            s = s.mid(skip);
        }
        return quint8(hexGroup(part));
    };
    g1 = cutAtHyphen();
    g2 = quint16(cutAtHyphen());
    g3 = quint16(cutAtHyphen());
    g4[0] = cutByte(2);
    g4[1] = cutByte(3);
    for (size_t i = 2; i < g4.size(); ++i)
        g4[i] = cutByte(2);
}

QString formatOpcUaGuid(quint32 g1, quint16 g2, quint16 g3, const std::array<quint8, 8>& g4)
{
    auto hex = [](quint64 v, int width) {
        return QStringLiteral("%1").arg(v, width, 16, QLatin1Char('0')).toUpper();
    };
    QString s = hex(g1, 8) + u'-' + hex(g2, 4) + u'-' + hex(g3, 4) + u'-' + hex(g4[0], 2)
                + hex(g4[1], 2) + u'-';
    for (size_t i = 2; i < g4.size(); ++i)
        s += hex(g4[i], 2);
    return s;
}

QString TOPC_UA_Variable::NodeType() const { return OPC_UA_IdType_To_Str(identifierType); }

void TOPC_UA_Variable::setNodeType(const QString& text)
{
    identifierType = quint16(Str_To_OPC_UA_IdType(text));
}

QString TOPC_UA_Variable::NodeID() const
{
    switch (identifierType) {
    case 0: return QString::number(numeric);
    case 3: return stringname;
    case 4: return formatOpcUaGuid(guide1, guide2, guide3, guide4);
    case 5: return byteString;
    default: return {};
    }
}

void TOPC_UA_Variable::setNodeID(const QString& text)
{
    switch (identifierType) {
    case 0: {
        // Read as a 64-bit integer; what does not fit the 32-bit identifier stores 0.
        const auto d = scanIntText(text, std::numeric_limits<qint64>::max(),
                                   std::numeric_limits<quint64>::max());
        numeric = (d && !(d->negative && d->magnitude != 0) && d->magnitude <= 0xFFFFFFFFull)
                      ? quint32(d->magnitude)
                      : 0u;
        break;
    }
    case 3: stringname = text; break;
    case 4: parseOpcUaGuid(text, guide1, guide2, guide3, guide4); break;
    case 5: byteString = text; break;
    default: break;
    }
}

QString TOPC_UA_Variable::VarType() const
{
    if (dataType < 1 || dataType >= int(kDataTypes.size()))
        return QLatin1String(kDataTypes[0].name);
    return QLatin1String(kDataTypes[size_t(dataType)].name);
}

void TOPC_UA_Variable::setVarType(const QString& text)
{
    const int i = dataTypeIndex(text);
    dataType = i < 0 ? 0 : i;
}

}  // namespace zfw
