#include "common/LanguageDefaults.h"

#include <array>

namespace zfw {

std::span<const std::span<const LangText>> languageDefaultBlocks()
{
    // A window block joins the table by adding its list here.
    static const std::array<std::span<const LangText>, 11> kBlocks = {
        languageDefaultsShell(),       languageDefaultsParGen(),  languageDefaultsBoot(),
        languageDefaultsRules(),       languageDefaultsMBus(),    languageDefaultsModbusCan(),
        languageDefaultsJ1939Knx(),    languageDefaultsCANopen(), languageDefaultsBACnet(),
        languageDefaultsMBusWindows(), languageDefaultsOPCUA(),
    };
    return kBlocks;
}

}  // namespace zfw
