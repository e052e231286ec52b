#include "common/UComonValidators.h"

#include "common/TextUtil.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <optional>
#include <string>

namespace zfw {

namespace {

// Value of an integer text when it lies in lo..hi.
std::optional<int> intInRange(QStringView text, int lo, int hi)
{
    const std::optional<int> v = parseIntText(text);
    if (!v || *v < lo || *v > hi)
        return std::nullopt;
    return v;
}

bool isByteText(QStringView text) { return intInRange(text, 0, 255).has_value(); }

struct CodeText {
    int code;
    const char* text;
};

constexpr CodeText kIdTypes[] = {
    {0, "Numeric"},
    {3, "String"},
    {4, "Guid"},
    {5, "ByteString"},
};

constexpr const char* kDataTypes[] = {
    "Boolean", "Int8",  "UInt8",  "Int16",  "UInt16",   "Int32", "UInt32",     "Int64",
    "UInt64",  "Float", "Double", "String", "DateTime", "Guid",  "ByteString",
};

// The last entry of each list also stands for every code outside it.
constexpr const char* kAuthTypes[] = {"Anonymous", "Username and Password", "Certificate"};
constexpr const char* kSecurityModes[] = {"None", "Sign", "Sign and Encrypt"};
constexpr const char* kSecurityPolicies[] = {
    "None",
    "Basic 128 RSA 15",
    "Basic 256",
    "Basic 256 SHA 256",
    "AES 128 SHA 256 RSA OAEP",
    "AES 256 SHA 256 RSA PSS",
};

template <std::size_t N>
QString lastIsDefaultText(const char* const (&names)[N], int code)
{
    const std::size_t i = (code >= 0 && static_cast<std::size_t>(code) < N) ? code : N - 1;
    return QString::fromLatin1(names[i]);
}

template <std::size_t N>
int lastIsDefaultCode(const char* const (&names)[N], const QString& text)
{
    for (std::size_t i = 0; i + 1 < N; ++i) {
        if (text == QLatin1String(names[i]))
            return static_cast<int>(i);
    }
    return static_cast<int>(N - 1);
}

}  // namespace

bool Split_IP_Address(const QString& text, QString& part1, QString& part2, QString& part3,
                      QString& part4)
{
    QString s = trimBlanks(text);
    if (!s.contains(u'.'))
        return false;
    QString* const cut[3] = {&part1, &part2, &part3};
    for (int i = 0; i < 3; ++i) {
        const qsizetype dot = s.indexOf(u'.');
        *cut[i] = trimBlanks(QStringView(s).left(dot));
        s = trimBlanks(QStringView(s).mid(dot + 1));
        if (i < 2 && !s.contains(u'.'))
            return false;
    }
    part4 = s;
    return isByteText(part1) && isByteText(part2) && isByteText(part3) && isByteText(part4);
}

bool IP_Str_To_Bytes(const QString& text, quint8& byte1, quint8& byte2, quint8& byte3,
                     quint8& byte4)
{
    if (text.isEmpty())
        return true;
    quint8* const bytes[4] = {&byte1, &byte2, &byte3, &byte4};
    QStringView rest(text);
    bool error = false;
    for (int i = 0; i < 4; ++i) {
        QStringView part = rest;
        if (i < 3) {
            const qsizetype dot = rest.indexOf(u'.');
            // Without a dot the part is empty and the whole rest is cut again next time.
            part = dot < 0 ? QStringView() : rest.left(dot);
            if (dot >= 0)
                rest = rest.mid(dot + 1);
        }
        const std::optional<int> v = intInRange(part, 0, 255);
        *bytes[i] = static_cast<quint8>(v.value_or(0));
        error = error || !v;
    }
    return error;
}

bool Check_IP_Port_Str(const QString& text, quint8& byte1, quint8& byte2, quint8& byte3,
                       quint8& byte4, quint16& port)
{
    byte1 = byte2 = byte3 = byte4 = 0;
    port = 0;

    QString parts[5];
    QStringView rest(text);
    for (int i = 0; i < 4; ++i) {
        const QChar sep = i < 3 ? QChar(u'.') : QChar(u':');
        const qsizetype at = rest.indexOf(sep);
        if (at < 0)
            return false;
        parts[i] = trimBlanks(rest.left(at));
        rest = rest.mid(at + 1);
    }
    parts[4] = trimBlanks(rest);

    std::optional<int> values[5];
    for (int i = 0; i < 5; ++i) {
        values[i] = intInRange(parts[i], 0, i < 4 ? 255 : 65535);
        if (!values[i])
            return false;
    }
    byte1 = static_cast<quint8>(*values[0]);
    byte2 = static_cast<quint8>(*values[1]);
    byte3 = static_cast<quint8>(*values[2]);
    byte4 = static_cast<quint8>(*values[3]);
    port = static_cast<quint16>(*values[4]);
    return true;
}

int Check_KNX_Address(const QString& text, bool group, bool allowZero)
{
    constexpr int kValid = 0;
    constexpr int kInvalid = 1;
    const QChar own = group ? QChar(u'/') : QChar(u'.');
    const QChar other = group ? QChar(u'.') : QChar(u'/');
    if (text.contains(other))
        return kInvalid;

    const QStringList parts = text.split(own);
    std::optional<int> v[3];
    switch (parts.size()) {
    case 1:
        // A plain number is the 16-bit address itself; 0 is never one.
        return intInRange(trimBlanks(parts[0]), 1, 65535) ? kValid : kInvalid;
    case 2:
        if (!group)
            return kInvalid;
        v[0] = intInRange(trimBlanks(parts[0]), 0, 31);
        v[1] = intInRange(trimBlanks(parts[1]), 0, 2047);
        if (!v[0] || !v[1] || (*v[0] == 0 && *v[1] == 0))
            return kInvalid;
        return kValid;
    case 3: {
        const int maxFirst = group ? 31 : 15;
        const int maxSecond = group ? 7 : 15;
        v[0] = intInRange(trimBlanks(parts[0]), 0, maxFirst);
        v[1] = intInRange(trimBlanks(parts[1]), 0, maxSecond);
        v[2] = intInRange(trimBlanks(parts[2]), 0, 255);
        if (!v[0] || !v[1] || !v[2])
            return kInvalid;
        const bool allZero = *v[0] == 0 && *v[1] == 0 && *v[2] == 0;
        // Group address 0/0/0 is never valid; individual address 0.0.0 only on request.
        if (allZero && (group || !allowZero))
            return kInvalid;
        return kValid;
    }
    default: return kInvalid;
    }
}

bool KNX_Is_Group_Address(const QString& text) { return !text.contains(u'.'); }

int Check_OID_String(const QString& text)
{
    if (text.isEmpty())
        return 2;
    if (text.size() > 128)
        return 1;
    for (const QChar c : text) {
        if (c != u'.' && (c < u'0' || c > u'9'))
            return 2;
    }
    if (text.front() == u'.')
        return 3;
    if (text.back() == u'.')
        return 4;
    if (text.contains(QLatin1String("..")))
        return 5;
    // Only digits and single dots are left here.
    std::uint64_t value = 0;
    for (const QChar c : text) {
        if (c == u'.') {
            value = 0;
            continue;
        }
        // Capped before it can wrap, so any number of digits is judged by its value.
        value = value * 10 + (c.unicode() - u'0');
        if (value > 0xFFFFFFFFull)
            return 6;
    }
    return 0;
}

int Str_To_SNMP_Security_Level(const QString& text)
{
    const QString s = asciiUpper(trimBlanks(text));
    if (s.isEmpty())
        return -1;
    if (s == QLatin1String("AUTH NOPRIV"))
        return 1;
    if (s == QLatin1String("AUTH PRIV"))
        return 3;
    return 0;
}

QChar Get_Decimal_Separator(const QLocale& locale)
{
    const QString point = locale.decimalPoint();
    if (!point.isEmpty() && (point.front() == u',' || point.front() == u'.'))
        return point.front();
    return QChar(u',');
}

bool Str_To_Float_Sep(const QString& text, QChar separator, float& value)
{
    // Whichever separator is asked for, every "," and "." of the text ends up as the decimal
    // mark of the conversion, so working with "." throughout gives the same numbers.
    Q_UNUSED(separator);
    value = 1.0f;
    const QString s = trimBlanks(text);
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(s.size()));
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        const bool allowed = (u >= u'0' && u <= u'9') || u == u'.' || u == u',' || u == u'+'
                             || u == u'-' || u == u'e' || u == u'E';
        // Also keeps out "inf", "nan", hexadecimal and group separators.
        if (!allowed)
            return false;
        ascii.push_back(u == u',' ? '.' : static_cast<char>(u));
    }
    const char* first = ascii.data();
    const char* const last = ascii.data() + ascii.size();
    bool negative = false;
    if (first != last && (*first == '+' || *first == '-')) {
        negative = *first == '-';
        ++first;
    }
    if (first == last || *first == '+' || *first == '-')
        return false;
    double d = 0;
    const auto [end, ec] = std::from_chars(first, last, d, std::chars_format::general);
    if (ec != std::errc() || end != last)
        return false;
    if (d > static_cast<double>(std::numeric_limits<float>::max()))
        return false;
    value = static_cast<float>(negative ? -d : d);
    return true;
}

QString opcUaLibraryText(const char* text, quint32 length)
{
    if (!text)
        return QString();
    return QString::fromLocal8Bit(text, static_cast<qsizetype>(::strnlen(text, length)));
}

QString OPC_UA_IdType_To_Str(int code)
{
    for (const CodeText& t : kIdTypes) {
        if (t.code == code)
            return QString::fromLatin1(t.text);
    }
    return QString();
}

int Str_To_OPC_UA_IdType(const QString& text)
{
    const QString upper = asciiUpper(text);
    for (const CodeText& t : kIdTypes) {
        if (upper == asciiUpper(QString::fromLatin1(t.text)))
            return t.code;
    }
    return 0;
}

QString OPC_UA_NodeId_Value_To_Str(const opcua_structure& node)
{
    switch (node.identifierType) {
    case 0: return QString::number(node.numeric);
    case 3: return opcUaLibraryText(node.stringname, node.stringLength);
    case 4: {
        const auto& b = node.guide4;
        return QString::asprintf("%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                                 unsigned(node.guide1), unsigned(node.guide2),
                                 unsigned(node.guide3), b[0], b[1], b[2], b[3], b[4], b[5], b[6],
                                 b[7]);
    }
    case 5: return opcUaLibraryText(node.byteString, node.byteStringLength);
    default: return QString();
    }
}

QString OPC_UA_DataType_To_Str(int code)
{
    if (code < 0 || code >= static_cast<int>(std::size(kDataTypes)))
        return QString();
    return QString::fromLatin1(kDataTypes[code]);
}

QString OPC_UA_Auth_To_Str(int code) { return lastIsDefaultText(kAuthTypes, code); }

int Str_To_OPC_UA_Auth(const QString& text) { return lastIsDefaultCode(kAuthTypes, text); }

QString OPC_UA_Security_Mode_To_Str(int code) { return lastIsDefaultText(kSecurityModes, code); }

int Str_To_OPC_UA_Security_Mode(const QString& text)
{
    return lastIsDefaultCode(kSecurityModes, text);
}

QString OPC_UA_Security_Policy_To_Str(int code)
{
    return lastIsDefaultText(kSecurityPolicies, code);
}

int Str_To_OPC_UA_Security_Policy(const QString& text)
{
    return lastIsDefaultCode(kSecurityPolicies, text);
}

}  // namespace zfw
