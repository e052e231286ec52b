// ParGen.xml through the general-parameters data: any bytes as the file, read as the editor
// reads it, saved as the editor saves it, and read again. What the editor showed after the
// first read must be exactly what it shows after the second: a save may not change a value.

#include "FuzzSupport.h"

#include "common/ProjectXml.h"
#include "common/UComon.h"
#include "config/UParGenData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString dir = zfw::fuzz::scratchDir("pargen_roundtrip");
    const QString input = zfw::joinPath(dir, QStringLiteral("ParGen.xml"));
    const QString saved = zfw::joinPath(dir, QStringLiteral("ParGen_saved.xml"));
    if (!zfw::fuzz::writeBytes(input, zfw::fuzz::bytesOf(data, size)))
        return 0;

    const zfw::ProjectXmlLoad first = zfw::loadProjectXml(input);
    if (!first.ok()) {
        ZFW_FUZZ_CHECK(!first.message.isEmpty());
        return 0;
    }
    const zfw::ParGenValues values = zfw::readParGenValues(first.root);
    static_cast<void>(zfw::checkParGenValues(values));

    const zfw::FileResult written = zfw::buildParGenXml(values).save(saved);
    ZFW_FUZZ_CHECK(written.ok);
    const zfw::ProjectXmlLoad second = zfw::loadProjectXml(saved);
    ZFW_FUZZ_CHECK(second.ok());
    ZFW_FUZZ_CHECK(zfw::readParGenValues(second.root) == values);
    return 0;
}
