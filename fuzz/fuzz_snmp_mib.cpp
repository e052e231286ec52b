// SNMP agent files: any bytes read as SNMP_Trap.xml into the MIB writer's lists. A file that
// is no XML gives an error naming it and no objects; otherwise the lists agree in length, and
// a module whose names pass the check is plain ASCII with every line ended by CR LF.

#include "FuzzSupport.h"

#include "editors/iot/core/USNMPMib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zfw;
    const QString name = QStringLiteral("SNMP_Trap.xml");
    const SnmpTrapLoad load = Load_SNMP_Trap_Lists(
        parseProjectXml(fuzz::bytesOf(data, size), name));
    const SnmpTrapLists& l = load.lists;
    if (!load.ok()) {
        ZFW_FUZZ_CHECK(load.error.contains(name));
        ZFW_FUZZ_CHECK(l.SNMP_Trap_Read_Names.isEmpty() && l.SNMP_Trap_Write_Names.isEmpty());
        return 0;
    }
    ZFW_FUZZ_CHECK(l.SNMP_Trap_Read_Names.size() == l.SNMP_Trap_Read_Is_Int.size());
    ZFW_FUZZ_CHECK(l.SNMP_Trap_Read_Names.size() == l.readRows.size());
    ZFW_FUZZ_CHECK(l.SNMP_Trap_Write_Names.size() == l.SNMP_Trap_Write_Is_Int.size());
    ZFW_FUZZ_CHECK(l.SNMP_Trap_Write_Names.size() == l.writeRows.size());
    if (checkSnmpMibNames(l))
        return 0;
    const QByteArray bytes = snmpMibBytes(buildSnmpMibLines(l, MakerTexts{}));
    ZFW_FUZZ_CHECK(bytes.startsWith("GATEWAY DEFINITIONS ::= BEGIN\r\n"));
    ZFW_FUZZ_CHECK(bytes.endsWith("\r\nEND\r\n"));
    for (char c : bytes)
        ZFW_FUZZ_CHECK(static_cast<unsigned char>(c) < 0x80);
    ZFW_FUZZ_CHECK(bytes.count("\r\n") == bytes.count('\n'));
    return 0;
}
