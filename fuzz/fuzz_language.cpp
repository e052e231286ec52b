// Language files: any bytes as the text of a .lng file, applied over the English defaults.
// The table keeps its 6400 entries whatever the file holds.

#include "FuzzSupport.h"

#include "common/UComon.h"
#include "common/ULanguage.h"

namespace {

const zfw::ProgramState& defaults()
{
    static const zfw::ProgramState s = [] {
        zfw::ProgramState d;
        zfw::Fill_Default_Language(d);
        return d;
    }();
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = zfw::fuzz::bytesOf(data, size);
    zfw::ProgramState s = defaults();
    zfw::Apply_Language_Text(s, bytes);
    ZFW_FUZZ_CHECK(s.Language_Table.size() == zfw::kLanguageTableSize);
    ZFW_FUZZ_CHECK(s.Language_Table_Size == zfw::kLanguageTableSize);
    // Applying the same file again changes nothing: every line sets its entry outright.
    zfw::ProgramState again = s;
    zfw::Apply_Language_Text(again, bytes);
    ZFW_FUZZ_CHECK(again.Language_Table == s.Language_Table);
    return 0;
}
