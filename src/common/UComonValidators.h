#pragma once
// Small parsers and converters the editors share when they check a rule table or fill a
// dialog: IPv4 address texts (three forms), KNX addresses, SNMP object identifiers, numbers
// with either decimal separator, the text forms of OPC UA codes and SNMPv3 security levels,
// and the records exchanged with the OPC UA browse library. None of them shows a message:
// each returns a result and the calling editor reports the fault with its own text.
// Integer parts follow the integer-text rules of parseIntText (common/TextUtil.h).

#include <QChar>
#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <array>

namespace zfw {

// Dotted address typed as one text. The text is trimmed and cut at its first three dots into
// four trimmed parts. True when there were three dots and every part is an integer 0 to 255,
// so a fourth dot fails (the fourth part then holds it). Without any dot nothing is written;
// when a later dot is missing, the parts cut so far stay written and the others untouched.
bool Split_IP_Address(const QString& text, QString& part1, QString& part2, QString& part3,
                      QString& part4);

// Returns true on ERROR. An empty text is an error and leaves the bytes untouched; otherwise
// all four bytes are written: the parts before the first three dots and the rest, untrimmed,
// each its value when it is an integer 0 to 255, else 0 (and the result is true).
bool IP_Str_To_Bytes(const QString& text, quint8& byte1, quint8& byte2, quint8& byte3,
                     quint8& byte4);

// "a.b.c.d:port", every part trimmed: address parts 0 to 255, port 0 to 65535. True when
// valid; on any fault false with all five outputs 0.
bool Check_IP_Port_Str(const QString& text, quint8& byte1, quint8& byte2, quint8& byte3,
                       quint8& byte4, quint16& port);

// 0 when valid, 1 when not. A group address is "x/y" (x 0-31, y 0-2047, not both 0) or
// "x/y/z" (x 0-31, y 0-7, z 0-255, not all 0); an individual address is "a.b.c" (a and b
// 0-15, c 0-255; 0.0.0 only with allowZero). In both modes a plain integer 1 to 65535 is valid.
// Parts are trimmed; a part that is not an integer fails.
int Check_KNX_Address(const QString& text, bool group, bool allowZero);

// True when the text holds no ".", i.e. it is meant as a group address.
bool KNX_Is_Group_Address(const QString& text);

// Checks an object identifier (decimal numbers joined by dots), untrimmed. The first rule
// that applies gives the code: 1 longer than 128 characters, 2 a character other than a
// digit or ".", 3 starts with ".", 4 ends with ".", 5 holds "..", 6 a number above
// 4294967295 (however many digits); 0 valid.
// An empty text gives 2 without reading a character: the old check looked at the first
// character of any text and read past an empty one, which the SNMP manager does pass.
int Check_OID_String(const QString& text);

// Upper-cased and trimmed: "AUTH NOPRIV" 1, "AUTH PRIV" 3, empty -1, anything else 0.
// Bit 0 stands for authentication, bit 1 for privacy.
int Str_To_SNMP_Security_Level(const QString& text);

// The user's decimal separator: the locale's decimal point when it is "," or ".", else ","
// (also when the locale gives none). The locale is a parameter so that tests can choose it.
QChar Get_Decimal_Separator(const QLocale& locale = QLocale::system());

// Converts a decimal number typed with either "," or "." as its decimal mark: the text's
// marks are turned into the separator's and the number is read with the separator as its
// decimal mark, so 3,5 and 3.5 both give 3.5 whatever the separator. Blanks around the
// number, a sign and an exponent are allowed. True with the value stored as single
// precision; false with value 1.0 when the text is no number.
// A value beyond the single-precision range, "inf" and "nan" also give false and 1.0:
// stored as single precision they would become an infinite or meaningless factor that the
// caller would take as converted.
bool Str_To_Float_Sep(const QString& text, QChar separator, float& value);

// The records keep the outside browse library's field names and order. Its binary interface
// (32-bit pointers, fixed offsets) cannot be loaded here, so they use the compiler's natural
// layout. The texts behind the pointers belong to the library; the length fields bound
// every read of them (see opcUaLibraryText).

// One node (variable) of a server.
struct opcua_structure {
    quint16 nameSpaceIndex = 0;
    quint16 identifierType = 0;  // 0 numeric, 3 string, 4 GUID, 5 byte string
    quint32 numeric = 0;
    const char* stringname = nullptr;
    quint32 stringLength = 0;
    quint32 guide1 = 0;
    quint16 guide2 = 0;
    quint16 guide3 = 0;
    std::array<quint8, 8> guide4{};  // the last eight GUID bytes in text order
    const char* byteString = nullptr;
    quint32 byteStringLength = 0;
    const char* displayName = nullptr;
    quint32 displayNameLength = 0;
    qint32 dataType = 0;     // code of OPC_UA_DataType_To_Str
    quint8 accessLevel = 0;  // bit 0 readable, bit 1 writable
    std::array<quint8, 3> spare{};
};

// The server to browse. The texts are owned by the caller and must outlive the browse.
struct opcua_server_to_discover {
    const char* server_address = nullptr;
    qint32 user_pass_auth_flag = 0;  // code of OPC_UA_Auth_To_Str
    const char* username = nullptr;
    const char* password = nullptr;
    const char* cert = nullptr;
    const char* priv_key = nullptr;
    qint32 security_type = 0;    // code of OPC_UA_Security_Mode_To_Str
    qint32 security_policy = 0;  // code of OPC_UA_Security_Policy_To_Str
};

struct TOPC_UA_Guid {
    quint32 data1 = 0;
    quint16 data2 = 0;
    quint16 data3 = 0;
    std::array<quint8, 8> data4{};
};

// A text handed over by the browse library: 8-bit text in the system's encoding, read up to
// its zero byte but never beyond length bytes. A null pointer gives the empty text.
QString opcUaLibraryText(const char* text, quint32 length);

// 0 "Numeric", 3 "String", 4 "Guid", 5 "ByteString"; any other code the empty text.
QString OPC_UA_IdType_To_Str(int code);
// The names above in any letter case; any other text 0.
int Str_To_OPC_UA_IdType(const QString& text);

// The node's identifier as text, by identifierType: 0 the numeric value (unsigned decimal),
// 3 the string identifier, 4 the GUID as upper-case 8-4-4-4-12 hexadecimal, 5 the byte
// string; any other type the empty text.
// The old conversion read the library's texts up to a zero byte and ignored the length
// fields, so a null pointer crashed it and a missing terminator over-read; now a null pointer
// gives the empty text and the length bounds the read.
QString OPC_UA_NodeId_Value_To_Str(const opcua_structure& node);

// Data-type code 0 to 14 ("Boolean" ... "ByteString"); any other code the empty text.
QString OPC_UA_DataType_To_Str(int code);

// Identity type: 0 "Anonymous", 1 "Username and Password", any other code "Certificate".
QString OPC_UA_Auth_To_Str(int code);
// Exact names only; any other text 2.
int Str_To_OPC_UA_Auth(const QString& text);

// Security mode: 0 "None", 1 "Sign", any other code "Sign and Encrypt".
QString OPC_UA_Security_Mode_To_Str(int code);
// Exact names only; any other text 2.
int Str_To_OPC_UA_Security_Mode(const QString& text);

// Security policy 0 to 4 by name; any other code "AES 256 SHA 256 RSA PSS" (5).
QString OPC_UA_Security_Policy_To_Str(int code);
// Exact names only; any other text 5.
int Str_To_OPC_UA_Security_Policy(const QString& text);

}  // namespace zfw
