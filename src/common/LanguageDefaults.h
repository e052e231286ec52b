#pragma once
// Compiled-in English texts of the language table, one table per window block. Numbers not
// listed hold a single blank, except number 2592, which holds the empty text.

#include <span>

namespace zfw {

struct LangText {
    int number;
    const char* text;  // UTF-8
};

// Every block's defaults; the language table is filled from these.
std::span<const std::span<const LangText>> languageDefaultBlocks();

// Blocks of the application shell (main window, New, Open, Options, shared messages).
std::span<const LangText> languageDefaultsShell();

// Block of the device update window (1000-1099).
std::span<const LangText> languageDefaultsBoot();

// Blocks of the general-parameters window (400-999 and 2500-2999).
std::span<const LangText> languageDefaultsParGen();

// Blocks of the LoRaWAN and S7 rule editors (1200-1299, 5900-6099) and the rule editors'
// shared messages about files and full tables.
std::span<const LangText> languageDefaultsRules();

// Block of the M-Bus network checks (1787-1892).
std::span<const LangText> languageDefaultsMBus();

// Blocks of the M-Bus windows: network editor, paste dialog and the scan dialogs.
std::span<const LangText> languageDefaultsMBusWindows();

// Blocks of the Modbus master, CAN frame and DMX editors (3000-3499, 4000-4099).
std::span<const LangText> languageDefaultsModbusCan();

// Blocks of the J1939, KNX and NMEA 2000 rule editors (4300-4799).
std::span<const LangText> languageDefaultsJ1939Knx();

// Blocks of the CANopen and DeviceNet editors (3500-3999) and the EDS writer's messages
// (1160-1171).
std::span<const LangText> languageDefaultsCANopen();

// Blocks of the BACnet client and server editors, the EDE import and the unit picker
// (1300-1699).
std::span<const LangText> languageDefaultsBACnet();

// Blocks of the EtherNet/IP windows, the PROFINET file-name dialog and the data-segment editor
// (4100-4215, 4800-4808, 6300-6315).
std::span<const LangText> languageDefaultsEtherNetIP();

// Blocks of the IEC 61850 client editor and the known TLS certificates (4900-4967, 5100-5121).
std::span<const LangText> languageDefaultsIEC61850();

// Blocks of the OPC UA client editor, its server dialog and browse window (5400-5799).
std::span<const LangText> languageDefaultsOPCUA();

// Blocks of the SNMP manager and agent editors and the MIB writer's messages (6100-6295).
std::span<const LangText> languageDefaultsSNMP();
// Blocks of the IEC 61850 server, MQTT topics and OPC UA server editors (5000-5045,
// 5200-5308, 5800-5830).
std::span<const LangText> languageDefaultsIoTServer();

}  // namespace zfw
