#include "common/LanguageDefaults.h"

namespace zfw {

std::span<const std::span<const LangText>> languageDefaultBlocks()
{
    // A window block joins the table by adding its list here.
    // One line a block, so that blocks added side by side merge cleanly.
    // clang-format off
    static const std::span<const LangText> kBlocks[] = {
        languageDefaultsShell(),
        languageDefaultsParGen(),
        languageDefaultsBoot(),
        languageDefaultsRules(),
        languageDefaultsMBus(),
        languageDefaultsModbusCan(),
        languageDefaultsJ1939Knx(),
        languageDefaultsCANopen(),
        languageDefaultsBACnet(),
        languageDefaultsMBusWindows(),
        languageDefaultsEtherNetIP(),
        languageDefaultsIEC61850(),
        languageDefaultsOPCUA(),
        languageDefaultsSNMP(),
        languageDefaultsIoTServer(),
    };
    // clang-format on
    return kBlocks;
}

}  // namespace zfw
