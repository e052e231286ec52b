// An SCL file decoded into the model of its first IED: a failure names the file and gives no
// device; a device's data-set members are attributes of its own tree; decoding the same bytes
// again gives the same model.

#include "FuzzSupport.h"

#include "editors/iot/core/UIEC_Client_Decode.h"

#include <QSet>

namespace {

void collect(const zfw::TIEC_DA& da, QSet<const zfw::TIEC_DA*>& out)
{
    out.insert(&da);
    for (const auto& b : da.List_DA)
        collect(*b, out);
}

void collect(const zfw::TIEC_DO& d, QSet<const zfw::TIEC_DA*>& out)
{
    for (const auto& s : d.List_DO)
        collect(*s, out);
    for (const auto& a : d.List_DA)
        collect(*a, out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zfw;
    const QString name = QStringLiteral("fuzz.icd");
    SclLimits limits;
    limits.maxObjects = 200'000;
    const QByteArray bytes = zfw::fuzz::bytesOf(data, size);
    const SclDecodeResult first = decodeSclBytes(bytes, name, limits);
    ZFW_FUZZ_CHECK(bool(first.device) == first.error.isEmpty());
    if (!first.device) {
        ZFW_FUZZ_CHECK(first.error.startsWith(name));
        return 0;
    }
    QSet<const TIEC_DA*> attributes;
    for (const auto& ld : first.device->List_LDevice)
        for (const auto& ln : ld->List_LN)
            for (const auto& d : ln->List_DO)
                collect(*d, attributes);
    for (const auto& ld : first.device->List_LDevice)
        for (const auto& ln : ld->List_LN)
            for (const auto& ds : ln->List_DataSet)
                for (const TIEC_DA* m : ds->List_DA)
                    ZFW_FUZZ_CHECK(attributes.contains(m));

    const SclDecodeResult second = decodeSclBytes(bytes, name, limits);
    ZFW_FUZZ_CHECK(second.device);
    ZFW_FUZZ_CHECK(sclReferenceList(*second.device) == sclReferenceList(*first.device));
    return 0;
}
