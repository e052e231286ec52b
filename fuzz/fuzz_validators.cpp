// The checks and converters the editors run on texts typed into rule tables or read from
// project files, and the records handed over by the OPC UA browse library. Any bytes as the
// text (UTF-8) and as the library's memory.

#include "FuzzSupport.h"

#include "common/UComonValidators.h"

#include <cmath>

namespace {

void checkTexts(const QString& text)
{
    QString p1, p2, p3, p4;
    static_cast<void>(zfw::Split_IP_Address(text, p1, p2, p3, p4));

    quint8 b1 = 7, b2 = 7, b3 = 7, b4 = 7;
    const bool ipError = zfw::IP_Str_To_Bytes(text, b1, b2, b3, b4);
    ZFW_FUZZ_CHECK(!text.isEmpty() || ipError);

    quint16 port = 7;
    if (!zfw::Check_IP_Port_Str(text, b1, b2, b3, b4, port))
        ZFW_FUZZ_CHECK(b1 == 0 && b2 == 0 && b3 == 0 && b4 == 0 && port == 0);

    for (bool group : {false, true})
        for (bool allowZero : {false, true}) {
            const int knx = zfw::Check_KNX_Address(text, group, allowZero);
            ZFW_FUZZ_CHECK(knx == 0 || knx == 1);
        }
    static_cast<void>(zfw::KNX_Is_Group_Address(text));

    const int oid = zfw::Check_OID_String(text);
    ZFW_FUZZ_CHECK(oid >= 0 && oid <= 6);
    const int level = zfw::Str_To_SNMP_Security_Level(text);
    ZFW_FUZZ_CHECK(level == -1 || level == 0 || level == 1 || level == 3);

    for (QChar separator : {QChar(u','), QChar(u'.')}) {
        float value = 0;
        if (zfw::Str_To_Float_Sep(text, separator, value))
            ZFW_FUZZ_CHECK(std::isfinite(value));
        else
            ZFW_FUZZ_CHECK(value == 1.0f);
    }

    // A name that converts to a code converts back to a name.
    if (const int id = zfw::Str_To_OPC_UA_IdType(text); id != 0)
        ZFW_FUZZ_CHECK(!zfw::OPC_UA_IdType_To_Str(id).isEmpty());
    static_cast<void>(zfw::OPC_UA_Auth_To_Str(zfw::Str_To_OPC_UA_Auth(text)));
    static_cast<void>(zfw::OPC_UA_Security_Mode_To_Str(zfw::Str_To_OPC_UA_Security_Mode(text)));
    static_cast<void>(zfw::OPC_UA_Security_Policy_To_Str(zfw::Str_To_OPC_UA_Security_Policy(text)));
}

// The library's node record with its texts pointing into the input. The lengths never reach
// past the input, so any read beyond them is the converter's fault.
void checkNode(const uint8_t* data, size_t size)
{
    if (size < 8)
        return;
    zfw::opcua_structure node;
    node.identifierType = data[0] % 8;
    node.numeric = quint32(data[1]) | quint32(data[2]) << 8 | quint32(data[3]) << 16
                   | quint32(data[4]) << 24;
    node.guide1 = node.numeric;
    node.guide2 = quint16(data[5] | data[6] << 8);
    node.guide3 = quint16(data[7]);
    for (size_t i = 0; i < node.guide4.size() && i < size; ++i)
        node.guide4[i] = data[size - 1 - i];
    const char* text = reinterpret_cast<const char*>(data + 8);
    const quint32 textLength = quint32(size - 8);
    const bool noPointer = data[5] & 1;
    node.stringname = noPointer ? nullptr : text;
    node.stringLength = textLength;
    node.byteString = noPointer ? nullptr : text;
    node.byteStringLength = textLength;
    node.displayName = text;
    node.displayNameLength = textLength;
    static_cast<void>(zfw::OPC_UA_NodeId_Value_To_Str(node));
    static_cast<void>(zfw::opcUaLibraryText(text, textLength));
    static_cast<void>(zfw::opcUaLibraryText(noPointer ? nullptr : text, textLength));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = zfw::fuzz::bytesOf(data, size);
    checkTexts(QString::fromUtf8(bytes));
    checkTexts(QString::fromLatin1(bytes));
    checkNode(data, size);
    return 0;
}
