// ParGen.xml through the general-parameters data: any bytes as the file, read as the editor
// reads it, saved as the editor saves it, and read again. What the editor showed after the
// first read must be exactly what it shows after the second: a save may not change a value.

#include "FuzzSupport.h"

#include "common/ProjectXml.h"
#include "common/UComon.h"
#include "config/core/UParGenData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString dir = zfw::fuzz::scratchDir("pargen_roundtrip");
    const QString input = zfw::joinPath(dir, QStringLiteral("ParGen.xml"));
    const QString saved = zfw::joinPath(dir, QStringLiteral("ParGen_saved.xml"));
    if (!zfw::fuzz::writeBytes(input, zfw::fuzz::bytesOf(data, size)))
        return 0;

    const zfw::ParGenLoad first = zfw::loadParGenValues(input);
    if (first.status != zfw::ProjectXmlLoad::Status::Ok) {
        ZFW_FUZZ_CHECK(!first.message.isEmpty());
        return 0;
    }
    static_cast<void>(zfw::checkParGenValues(first.values));

    // Whatever a file could hold, a save can write back.
    const zfw::FileResult written = zfw::saveParGenValues(saved, first.values);
    ZFW_FUZZ_CHECK(written.ok);
    const zfw::ParGenLoad second = zfw::loadParGenValues(saved);
    ZFW_FUZZ_CHECK(second.status == zfw::ProjectXmlLoad::Status::Ok);
    ZFW_FUZZ_CHECK(second.values == first.values);
    return 0;
}
