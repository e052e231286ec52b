// The reply of the maker's web server to the version check: any bytes as what the server sent
// before closing, parsed as an HTTP reply, and its body (or the raw bytes, as a server that
// answers without a status line would have them taken) compared with this build's version.

#include "FuzzSupport.h"

#include "common/UComon.h"
#include "platform/Http.h"
#include "shell/USoftOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray raw = zfw::fuzz::bytesOf(data, size);
    const zfw::HttpReply r = zfw::parseHttpResponse(raw);
    if (r.ok) {
        ZFW_FUZZ_CHECK(r.status >= 200 && r.status <= 299);
        ZFW_FUZZ_CHECK(r.error.isEmpty());
        ZFW_FUZZ_CHECK(r.body.size() <= raw.size());
    } else {
        ZFW_FUZZ_CHECK(r.body.isEmpty());
        ZFW_FUZZ_CHECK(!r.error.isEmpty());
    }

    // The version comparison has no result to check beyond its own rules; it must take any
    // text without reading outside it.
    const QString local = QString::fromLatin1(zfw::Build_SW_Version);
    for (const QByteArray& text : {r.body, raw}) {
        const QString reply = QString::fromUtf8(text);
        static_cast<void>(zfw::TFSoftOptions::Conv_Version(reply));
        static_cast<void>(zfw::TFSoftOptions::versionReplyIsNewer(reply, local));
    }
    return 0;
}
