#include "common/LanguageDefaults.h"

namespace zfw {

namespace {
constexpr LangText kBoot[] = {
    {1000, "Update Device by Serial"},
    {1001, "Update Device Using the Serial Port"},
    {1002, "Update Device by Ethernet (UDP)"},
    {1003, "Update Device Using the Ethernet Port"},
    {1006, "Insert the IP Address of Device"},
    {1011, "IP Address"},
    {1012, "MAC Address"},
    {1014, "Select Update Options"},
    {1015, "Firmware + Configuration"},
    {1016, "Firmware"},
    {1017, "Configuration"},
    {1018, "Read Back"},
    {1019, "Cancel"},
    {1020, "Execute Update Firmware"},
    {1021, "Insert first byte of IP Address"},
    {1022, "Insert second byte of IP Address"},
    {1023, "Insert third byte of IP Address"},
    {1024, "Insert fourth byte of IP Address"},
    {1032, "Select the operation to do in update"},
    {1033, "Enable or disable the possibility to read back the Firmware/Configuration"},
    {1034, "Exit without to do the Update"},
    {1035, "Start the update of Device"},
    {1036, "Device Not Found!"},
    {1037, "Error!!! Check the Ip Address"},
    // Shown instead of 1037 when the system refuses every kind of ICMP socket, so the user
    // is not sent to check an address that is right.
    {1038, "Error!!! This computer does not permit the ping of the device (ICMP echo)"},
};
}  // namespace

std::span<const LangText> languageDefaultsBoot() { return kBoot; }

}  // namespace zfw
