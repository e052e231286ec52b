// An EDS file, as the EtherNet/IP import reads it: its connections and identity, and the
// target configuration of every assembly its connections name (and of Assem1 to Assem3).

#include "FuzzSupport.h"

#include "editors/building/core/UEDSConnections.h"
#include "editors/building/core/UEDSText.h"
#include "editors/building/core/UTargetConfig.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = zfw::fuzz::scratchDir("enip_eds") + QStringLiteral("/input.eds");
    if (!zfw::fuzz::writeBytes(path, zfw::fuzz::bytesOf(data, size)))
        return 0;
    QString error;
    const auto lines = zfw::readEdsLines(path, &error);
    ZFW_FUZZ_CHECK(lines.has_value());

    const zfw::EdsConnections conns = zfw::decodeEdsConnections(*lines);
    QSet<QString> formats = {QStringLiteral("Assem1"), QStringLiteral("Assem2"),
                             QStringLiteral("Assem3")};
    for (qsizetype i = 0; i < conns.List_Conn.size(); ++i) {
        ZFW_FUZZ_CHECK(conns.List_Conn[i].ConnIndex == i + 1);
        formats.insert(conns.List_Conn[i].TargetConfFormat);
    }
    static_cast<void>(zfw::electronicKeyText(conns.identity));

    const zfw::EdsIndex index(*lines);
    for (const QString& format : formats) {
        zfw::TTargetConfig t;
        t.FileName = path;
        t.Format = format;
        t.Size = QStringLiteral("600");
        error.clear();
        const bool ok = t.decodeFrom(index, &error);
        // A refusal names the file and leaves nothing half-built.
        ZFW_FUZZ_CHECK(ok || (t.ListParamObject.isEmpty() && error.contains(u"input.eds")));
        qsizetype bytes = 0;
        for (const zfw::TTC_ParamObj& p : t.ListParamObject) {
            ZFW_FUZZ_CHECK(p.DataSizeByte >= 0 && p.DataSizeByte <= zfw::kDataSegmentMaxBytes);
            ZFW_FUZZ_CHECK(p.ListEnum.size() == p.EnumString.size());
            static_cast<void>(p.GetEnumString());
            bytes += p.DataSizeByte;
        }
        const QString segment = t.GetConfigStrData();
        const qsizetype written = segment.isEmpty() ? 0 : segment.count(u',') + 1;
        ZFW_FUZZ_CHECK(written == std::max<qsizetype>(bytes, 600));
    }
    return 0;
}
