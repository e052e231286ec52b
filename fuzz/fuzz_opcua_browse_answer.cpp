// The browse helper's answer: any bytes as its standard output. The reader either gives a
// list of exactly the announced count, a failure with its reason, or refuses with a reason.

#include "FuzzSupport.h"

#include "editors/iot/core/UOpcUaBrowse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = zfw::fuzz::bytesOf(data, size);
    const zfw::OpcUaBrowseAnswer a = zfw::parseOpcUaBrowseAnswer(bytes);
    if (a.status == zfw::OpcUaBrowseAnswer::Status::Ok) {
        for (const auto& v : a.variables)
            static_cast<void>(zfw::opcUaBrowsedNodeId(v));
    } else {
        ZFW_FUZZ_CHECK(a.variables.empty());
        ZFW_FUZZ_CHECK(a.status == zfw::OpcUaBrowseAnswer::Status::Failed || !a.message.isEmpty());
    }
    return 0;
}
