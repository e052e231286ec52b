#include "editors/building/core/BACnetClientRules.h"

#include "common/IntText.h"
#include "common/ProjectXml.h"
#include "common/TextUtil.h"
#include "common/UComonValidators.h"
#include "ruleedit/core/URuleSpecBuild.h"

#include <array>
#include <limits>
#include <string_view>

namespace zfw {

using namespace rulespec;
namespace F = bacnetfile;

namespace {

// ---- code tables -------------------------------------------------------------------------

struct ObjectCode {
    std::string_view text;  // upper case
    int code;
    bool writable;
};

constexpr ObjectCode kObjectCodes[] = {
    {"ACCUMULATOR", 1, false},       {"MULTI-STATE INPUT", 2, false},
    {"MULTI-STATE OUTPUT", 3, true}, {"ANALOG INPUT", 4, false},
    {"ANALOG OUTPUT", 5, true},      {"BINARY INPUT", 6, false},
    {"BINARY OUTPUT", 7, true},      {"INTEGER VALUE", 8, true},
    {"LARGE ANALOG VALUE", 9, true}, {"POSITIVE INTEGER VALUE", 10, true},
    {"MULTI-STATE VALUE", 11, true}, {"ANALOG VALUE", 12, true},
    {"BINARY VALUE", 13, true},      {"LIFE SAFETY POINT", 14, true},
    {"LIFE SAFETY ZONE", 15, true},
};

constexpr int kProprietaryObjectMin = 128;
constexpr int kProprietaryObjectMax = 1023;
constexpr int kProprietaryPropertyMin = 512;
constexpr int kProprietaryPropertyMax = 4194303;

// A read-only property: its code (the NByte the hint proposes) and the object codes it is
// limited to; none listed: every object. refused lists object codes it is never allowed for.
struct PropertyCode {
    std::string_view text;
    int code;
    std::array<int, 3> onlyFor;
    std::array<int, 6> refusedFor;
};

constexpr PropertyCode kReadPropertyCodes[] = {
    {"OBJECT IDENTIFIER (75)", 4, {}, {}},
    {"UNITS (117)", 4, {}, {2, 3, 6, 7, 11, 13}},
    {"SCALE (187)", 1, {1}, {}},
    {"PRESCALE (185)", 5, {1}, {}},
    {"POLARITY (84)", 1, {6, 7, 13}, {}},
    {"EVENT STATE (36)", 4, {}, {}},
    {"STATUS FLAGS (111)", 1, {}, {}},
    {"OBJECT TYPE (79)", 2, {}, {}},
    {"NUMBER OF STATES (74)", 4, {2, 3, 11}, {}},
};

bool listed(const auto& list, int code)
{
    for (int c : list)
        if (c != 0 && c == code)
            return true;
    return false;
}

bool isProprietaryObject(int code)
{
    return code >= kProprietaryObjectMin && code <= kProprietaryObjectMax;
}

struct DataTypeFit {
    std::array<int, 3> objects;
    std::string_view accepted;  // upper case
    int result;
    const char* expected;
};

constexpr DataTypeFit kDataTypeFits[] = {
    {{3, 10, 11}, "UNSIGNED INT", 4, "Unsigned Int"},
    {{8}, "SIGNED INT", 4, "Signed Int"},
    {{5, 12}, "REAL", 4, "Real"},
    {{9}, "DOUBLE", 8, "Double"},
    {{7, 13}, "ENUMERATED", 1, "Enumerated"},
};

struct ByteLimit {
    std::string_view dataType;
    int largest;
};

constexpr ByteLimit kByteLimits[] = {
    {"NULL", 0},         {"BOOLEAN", 1},    {"UNSIGNED INT", 4},   {"SIGNED INT", 4},
    {"REAL", 4},         {"DOUBLE", 8},     {"OCTET STRING", 255}, {"CHARACTER STRING", 255},
    {"BIT STRING", 120}, {"ENUMERATED", 4}, {"DATE", 4},           {"TIME", 4},
    {"OBJECT ID", 4},
};
constexpr int kDefaultByteLimit = 255;

bool equals(const QString& upper, std::string_view text)
{
    return upper == QLatin1StringView(text.data(), qsizetype(text.size()));
}

QString keyText(const QString& text) { return asciiUpper(trimBlanks(text)); }

// ---- numbers -----------------------------------------------------------------------------

qint64 asInt(const QString& text) { return strToIntDef(text, -1); }

// Instances reach 4294967295, beyond the 32-bit reader.
qint64 asInt64(const QString& text)
{
    const auto n = scanIntText(text, quint64(std::numeric_limits<qint64>::max()),
                               std::numeric_limits<quint64>::max());
    if (!n)
        return -1;
    return n->negative ? qint64(0 - n->magnitude) : qint64(n->magnitude);
}

bool inRange(qint64 v, qint64 min, qint64 max) { return v >= min && v <= max; }

bool upperY(const QString& text) { return asciiUpper(text) == QLatin1String("Y"); }

// ---- the checks --------------------------------------------------------------------------

// Message texts of one rule kind; the read and write tables differ only in them.
struct KindTexts {
    int ip, slaveId, objectType, instance, property, netw, len, add1, add2, add6, mLen, pollTime,
        maxErr, factor;
};

constexpr KindTexts kReadTexts = {1338, 1339, 1340, 1341, 1342, 1370, 1371,
                                  1372, 1373, 1374, 1386, 1344, 1345, 1398};
constexpr KindTexts kWriteTexts = {1347, 1348, 1349, 1350, 1351, 1375, 1376,
                                   1377, 1378, 1379, 1387, 1355, 1356, 1399};

std::optional<RuleFault> failWith(int text) { return fault(text); }

std::optional<RuleFault> checkDevice(const RuleTable& t, int row, int type, const KindTexts& x)
{
    const QString key = trimBlanks(t.text(QString::fromLatin1(F::Device), row));
    if (type == kBACnetTypeIp) {
        quint8 a = 0, b = 0, c = 0, d = 0;
        if (IP_Str_To_Bytes(key, a, b, c, d))
            return failWith(x.ip);
    } else if (type == kBACnetTypeMstp) {
        if (!inRange(asInt(key), 0, 254))
            return failWith(x.slaveId);
    }
    return std::nullopt;
}

std::optional<RuleFault> checkDestination(const QString& net, const QString& len,
                                          const QString& add, bool read, const KindTexts& x)
{
    if (!inRange(asInt(net), 1, 65535))
        return failWith(x.netw);
    if (const std::optional<int> n = parseIntText(len)) {
        switch (*n) {
        case 1:
            if (!inRange(asInt(add), 0, 255))
                return failWith(x.add1);
            return std::nullopt;
        case 2:
            if (!inRange(asInt(add), 1, 65535))
                return failWith(x.add2);
            return std::nullopt;
        case 6: {
            quint8 a = 0, b = 0, c = 0, d = 0;
            quint16 port = 0;
            if (!Check_IP_Port_Str(trimBlanks(add), a, b, c, d, port))
                return failWith(x.add6);
            return std::nullopt;
        }
        default: return failWith(x.len);
        }
    }
    const QString m = keyText(len);
    if (m.size() != 2 || m[0] != QLatin1Char('M') || m[1] < QLatin1Char('1')
        || m[1] > QLatin1Char('8'))
        return failWith(x.mLen);
    if (const int text = Check_Dest_Add(add, m[1].unicode() - u'0', read))
        return failWith(text);
    return std::nullopt;
}

std::optional<RuleFault> checkFactor(const RuleTable& t, int row, const char* flag, QChar sep,
                                     int text)
{
    if (!upperY(t.text(QString::fromLatin1(flag), row)))
        return std::nullopt;
    float value = 0;
    if (!Str_To_Float_Sep(t.text(QString::fromLatin1(F::MultiplicationFactor), row), sep, value))
        return failWith(text);
    return std::nullopt;
}

std::optional<RuleFault> checkRead(const RuleTable& t, int row, int type, QChar sep)
{
    const KindTexts& x = kReadTexts;
    auto cell = [&](const char* attribute) { return t.text(QString::fromLatin1(attribute), row); };
    if (auto f = checkDevice(t, row, type, x))
        return f;
    const int object = Check_Object_Type(cell(F::Object_Type), kBACnetRead);
    if (object == -1)
        return failWith(x.objectType);
    if (!inRange(asInt64(cell(F::Instance)), 0, 4294967295LL))
        return failWith(x.instance);
    if (Check_Property(cell(F::Property), kBACnetRead, object) < 0)
        return failWith(x.property);
    if (!inRange(asInt(cell(F::NumByte)), 0, 255))
        return failWith(1343);
    if (keyText(cell(F::Enable_Destination)) == QLatin1String("Y"))
        if (auto f = checkDestination(cell(F::Destination_Network), cell(F::Destination_Length),
                                      cell(F::Destination_Address), true, x))
            return f;
    if (!inRange(asInt(cell(F::PollTime)), 0, 100000000))
        return failWith(x.pollTime);
    if (!inRange(asInt(cell(F::MaxError)), 0, 65535))
        return failWith(x.maxErr);
    return checkFactor(t, row, F::FloatToInt, sep, x.factor);
}

std::optional<RuleFault> checkWrite(const RuleTable& t, int row, int type, QChar sep)
{
    const KindTexts& x = kWriteTexts;
    auto cell = [&](const char* attribute) { return t.text(QString::fromLatin1(attribute), row); };
    if (auto f = checkDevice(t, row, type, x))
        return f;
    const int object = Check_Object_Type(cell(F::Object_Type), kBACnetWrite);
    if (object == -1)
        return failWith(x.objectType);
    if (!inRange(asInt64(cell(F::Instance)), 0, 4294967295LL))
        return failWith(x.instance);
    const int property = Check_Property(cell(F::Property), kBACnetWrite, object);
    if (property < 0)
        return failWith(x.property);
    const QString dataType = cell(F::Data_Type);
    if (Check_Data_Type(dataType, object, property) < 0) {
        const QString expected = Aspected_Data_Type_Value(object, property);
        if (expected.isEmpty())
            return failWith(1352);
        RuleFault f = fault(1358);
        f.afterString = expected;
        return f;
    }
    if (!inRange(asInt(cell(F::Priority)), 0, 16))
        return failWith(1353);
    const int largest = Check_Num_Byte_Max(dataType);
    if (!inRange(asInt(cell(F::NumByte)), 0, largest))
        return fault(1354, largest);
    if (keyText(cell(F::Enable_Destination)) == QLatin1String("Y"))
        if (auto f = checkDestination(cell(F::Destination_Network), cell(F::Destination_Length),
                                      cell(F::Destination_Address), false, x))
            return f;
    if (upperY(cell(F::OnTimer)) && !inRange(asInt(cell(F::PollTime)), 0, 100000000))
        return failWith(x.pollTime);
    if (!inRange(asInt(cell(F::MaxError)), 0, 65535))
        return failWith(x.maxErr);
    return checkFactor(t, row, F::IntToFloat, sep, x.factor);
}

// ---- the tables --------------------------------------------------------------------------

const QStringList kReadObjectTypes = {"Accumulator",
                                      "Multi-State Input",
                                      "Multi-State Output",
                                      "Multi-State Value",
                                      "Analog Input",
                                      "Analog Output",
                                      "Analog Value",
                                      "Binary Input",
                                      "Binary Output",
                                      "Binary Value",
                                      "Integer Value",
                                      "Large Analog Value",
                                      "Positive Integer Value",
                                      "Life Safety Point",
                                      "Life Safety Zone"};
const QStringList kWriteObjectTypes = {"Multi-State Output",    "Multi-State Value",
                                       "Analog Output",         "Analog Value",
                                       "Binary Output",         "Binary Value",
                                       "Integer Value",         "Large Analog Value",
                                       "Positive Integer Value"};
const QStringList kReadProperties = {"Present Value (85)", "Object Identifier (75)",
                                     "Units (117)",        "Scale (187)",
                                     "PreScale (185)",     "Polarity (84)",
                                     "Event State (36)",   "Status Flags (111)",
                                     "Object Type (79)",   "Number of States (74)"};
const QStringList kWriteDataTypes = {"Null",       "Boolean",    "Unsigned Int", "Signed Int",
                                     "Real",       "Double",     "Octet String", "Character String",
                                     "Bit String", "Enumerated", "Date",         "Time",
                                     "Object ID"};
const QStringList kDestinationLengths = {"1",  "2",  "6",  "M1", "M2", "M3",
                                         "M4", "M5", "M6", "M7", "M8"};

QStringList numberItems(int count)
{
    QStringList out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out.append(QString::number(i));
    return out;
}

RuleColumn convertion(int header, QStringList items)
{
    RuleColumn c = combo(F::Convertion, header, std::move(items));
    c.hidden = true;
    c.stored = false;
    return c;
}

RuleTableSpec table(const char* element, int tab, int type)
{
    RuleTableSpec t;
    t.element = QString::fromLatin1(element);
    t.tabText = tab;
    t.rowCount = kBACnetClientRules + 1;
    const bool deviceShown = type == kBACnetTypeIp || type == kBACnetTypeMstp;
    t.keyAttribute = QString::fromLatin1(deviceShown ? F::Device : F::Object_Type);
    t.keyTest = RuleKeyTest::Trimmed;
    t.enableRule = RuleEnableRule::Exact;
    return t;
}

// Header texts of the columns that follow the destination in both tables.
struct ValueHeaders {
    int pollTime;
    int maxError;
    int position;
    int startBit;
    int swap;
    int convertion;
    int scale;
    int factor;
    int mnemonic;
};

// Polling, the value's place in the data, its conversion and the mnemonic: the same layout for
// reading and writing; only the texts, the conversion's items and its scale flag differ.
QList<RuleColumn> valueColumns(const ValueHeaders& h, QStringList convertionItems,
                               const char* scaleFlag)
{
    return {
        column(F::PollTime, h.pollTime),
        column(F::MaxError, h.maxError),
        combo(F::Position, h.position, numberItems(kBACnetClientPositions)),
        combo(F::StartBit, h.startBit, numberItems(8)),
        column(F::Swap, h.swap, RuleColumnKind::CheckBox),
        convertion(h.convertion, std::move(convertionItems)),
        column(scaleFlag, h.scale, RuleColumnKind::CheckBox),
        column(F::MultiplicationFactor, h.factor),
        column(F::Mnemonic, h.mnemonic),
    };
}

RuleColumn device(int ipHeader, int slaveHeader, int type)
{
    RuleColumn c = column(F::Device, type == kBACnetTypeMstp ? slaveHeader : ipHeader);
    c.hidden = type != kBACnetTypeIp && type != kBACnetTypeMstp;
    return c;
}

}  // namespace

RuleFileSpec bacnetClientRuleSpec(int appBACnetType, QChar separator)
{
    const int type = appBACnetType;
    RuleTableSpec read = table(F::Read, 1306, type);
    read.errorRowText = 1337;
    read.columns = {
        numberColumn(1308),
        enableColumn(1390),
        device(1309, 1310, type),
        comboEdit(F::Object_Type, 1311, kReadObjectTypes),
        column(F::Instance, 1312),
        comboEdit(F::Property, 1313, kReadProperties),
        column(F::NumByte, 1314),
        column(F::Enable_Destination, 1362, RuleColumnKind::CheckBox),
        column(F::Destination_Network, 1363),
        combo(F::Destination_Length, 1364, kDestinationLengths),
        column(F::Destination_Address, 1365),
    };
    read.columns += valueColumns({.pollTime = 1315,
                                  .maxError = 1316,
                                  .position = 1317,
                                  .startBit = 1318,
                                  .swap = 1360,
                                  .convertion = 1380,
                                  .scale = 1394,
                                  .factor = 1395,
                                  .mnemonic = 1319},
                                 {"None", "Float to Int", "(Float to Int) * 10",
                                  "(Float to Int) * 100"},
                                 F::FloatToInt);
    read.checks = {
        rowCheck([type, separator](const RuleTable& t,
                                   int row) { return checkRead(t, row, type, separator); },
                 {F::Device, F::Object_Type, F::Instance, F::Property, F::NumByte,
                  F::Enable_Destination, F::Destination_Network, F::Destination_Length,
                  F::Destination_Address, F::PollTime, F::MaxError, F::FloatToInt,
                  F::MultiplicationFactor})};

    RuleTableSpec write = table(F::Write, 1307, type);
    write.errorRowText = 1346;
    write.columns = {
        numberColumn(1320),
        enableColumn(1391),
        device(1321, 1322, type),
        comboEdit(F::Object_Type, 1323, kWriteObjectTypes),
        combo(F::Data_Type, 1324, kWriteDataTypes),
        column(F::Instance, 1325),
        comboEdit(F::Property, 1326, {"Present Value (85)"}),
        column(F::Priority, 1327),
        column(F::NumByte, 1328),
        column(F::Enable_Destination, 1366, RuleColumnKind::CheckBox),
        column(F::Destination_Network, 1367),
        combo(F::Destination_Length, 1368, kDestinationLengths),
        column(F::Destination_Address, 1369),
        column(F::OnChange, 1329, RuleColumnKind::CheckBox),
        column(F::OnTimer, 1330, RuleColumnKind::CheckBox),
    };
    write.columns += valueColumns({.pollTime = 1331,
                                   .maxError = 1332,
                                   .position = 1333,
                                   .startBit = 1334,
                                   .swap = 1361,
                                   .convertion = 1381,
                                   .scale = 1396,
                                   .factor = 1397,
                                   .mnemonic = 1335},
                                  {"None", "Int to Float", "(Int to Float) / 10",
                                   "(Int to Float) / 100"},
                                  F::IntToFloat);
    write.checks = {
        rowCheck([type, separator](const RuleTable& t,
                                   int row) { return checkWrite(t, row, type, separator); },
                 {F::Device, F::Object_Type, F::Data_Type, F::Instance, F::Property, F::Priority,
                  F::NumByte, F::Enable_Destination, F::Destination_Network, F::Destination_Length,
                  F::Destination_Address, F::OnTimer, F::PollTime, F::MaxError, F::IntToFloat,
                  F::MultiplicationFactor})};

    RuleFileSpec f;
    f.captionText = 1300;
    f.titleText = 1301;
    f.buttonCaptionText = 1302;
    f.rootElement = QString::fromLatin1(F::Root);
    f.version = QStringLiteral("1.006");
    f.errorRowText = 1337;
    f.deleteRowText = 1336;
    f.tables = {read, write};
    return builtRuleSpec(f);
}

std::optional<int> readBACnetMasterType(const QString& parGenPath)
{
    const ProjectXmlLoad doc = loadProjectXml(parGenPath);
    if (!doc.ok())
        return std::nullopt;
    const std::optional<QString> text = childText(doc.root, u"BACnet_Master_Type");
    if (!text)
        return std::nullopt;
    return parseIntText(*text).value_or(0);
}

int Check_Object_Type(const QString& str, int read_write)
{
    const QString key = keyText(str);
    for (const ObjectCode& o : kObjectCodes)
        if (equals(key, o.text))
            return read_write == kBACnetRead || o.writable ? o.code : -1;
    const int n = strToIntDef(key, -1);
    return isProprietaryObject(n) ? n : -1;
}

int Check_Property(const QString& str, int read_write, int Obj_Type)
{
    const QString key = keyText(str);
    if (equals(key, "PRESENT VALUE (85)"))
        return kPropertyPresentValue;
    if (read_write == kBACnetRead) {
        for (const PropertyCode& p : kReadPropertyCodes) {
            if (!equals(key, p.text))
                continue;
            const bool limited = p.onlyFor[0] != 0;
            if ((limited && !listed(p.onlyFor, Obj_Type)) || listed(p.refusedFor, Obj_Type))
                return -1;
            return p.code;
        }
    }
    const int n = strToIntDef(key, -1);
    return n >= kProprietaryPropertyMin && n <= kProprietaryPropertyMax ? kPropertyProprietary : -1;
}

int Check_Data_Type(const QString& str, int Obj_Type, int Property_val)
{
    if (Property_val != kPropertyPresentValue)
        return 1000;
    if (isProprietaryObject(Obj_Type))
        return 1;
    const QString key = keyText(str);
    for (const DataTypeFit& fit : kDataTypeFits)
        if (listed(fit.objects, Obj_Type))
            return equals(key, fit.accepted) ? fit.result : -1;
    return -1;
}

QString Aspected_Data_Type_Value(int Obj_Type, int Property_val)
{
    if (Property_val != kPropertyPresentValue)
        return {};
    for (const DataTypeFit& fit : kDataTypeFits)
        if (listed(fit.objects, Obj_Type))
            return QString::fromLatin1(fit.expected);
    return {};
}

int Check_Num_Byte_Max(const QString& str)
{
    const QString key = keyText(str);
    for (const ByteLimit& limit : kByteLimits)
        if (equals(key, limit.dataType))
            return limit.largest;
    return kDefaultByteLimit;
}

int Check_Dest_Add(const QString& values, int NumByte, bool InRead)
{
    QString rest = trimBlanks(values);
    if (rest.isEmpty())
        return InRead ? 1388 : 1389;
    int count = 0;
    while (!rest.isEmpty()) {
        const qsizetype comma = rest.indexOf(QLatin1Char(','));
        const QString part = trimBlanks(comma < 0 ? QStringView(rest)
                                                  : QStringView(rest).left(comma));
        rest = comma < 0 ? QString() : trimBlanks(QStringView(rest).mid(comma + 1));
        if (!inRange(asInt(part), 0, 255))
            return InRead ? 1382 : 1383;
        if (++count > NumByte)
            return InRead ? 1384 : 1385;
    }
    if (count < NumByte)
        return InRead ? 1388 : 1389;
    return 0;
}

QString Str_Hint_Read(const QString& objectType, const QString& property)
{
    if (trimBlanks(objectType).isEmpty() || trimBlanks(property).isEmpty())
        return {};
    const int object = Check_Object_Type(objectType, kBACnetRead);
    const int code = Check_Property(property, kBACnetRead, object);
    if (code >= 1 && code <= 49)
        return QString::number(code);
    if (code != kPropertyPresentValue)
        return {};
    switch (object) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 8:
    case 10: return QStringLiteral("4");
    case 6:
    case 7: return QStringLiteral("1");
    case 9: return QStringLiteral("8");
    default: return {};
    }
}

}  // namespace zfw
