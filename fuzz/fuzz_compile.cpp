// The bank-image compiler over the three project files it reads.
//
// Input: the first byte says which files exist (bit 0 ParGen.xml, bit 1 LoRaWAN_SetAccess.xml,
// bit 2 S7_Protocol.xml; the digits '0' to '7' read the same), the rest holds the existing
// files in that order, separated by a line "----". A file without its part is empty.
//
// The compiler is called with the paths of a scratch folder that holds exactly the files of
// this input; no program state is set or read.

#include "FuzzSupport.h"

#include "common/UComon.h"
#include "config/core/USaveBincc.h"

#include <array>

namespace {

constexpr char kSeparator[] = "\n----\n";

constexpr std::array<QString zfw::BinSourceFiles::*, 3> kFiles = {
    &zfw::BinSourceFiles::File_ParGen,
    &zfw::BinSourceFiles::File_LoRaWAN_SetAccess,
    &zfw::BinSourceFiles::File_S7_Protocol,
};

QList<QByteArray> splitParts(const QByteArray& bytes)
{
    QList<QByteArray> parts;
    qsizetype from = 0;
    for (;;) {
        const qsizetype to = bytes.indexOf(kSeparator, from);
        if (to < 0) {
            parts.append(bytes.mid(from));
            return parts;
        }
        parts.append(bytes.mid(from, to - from));
        from = to + qsizetype(sizeof kSeparator - 1);
    }
}

quint32 byteSum(const QByteArray& bytes, int count)
{
    quint32 sum = 0;
    for (int i = 0; i < count; ++i)
        sum += quint8(bytes[i]);
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const unsigned present = data[0] & 7u;
    const QByteArray rest = zfw::fuzz::bytesOf(data + 1, size - 1);

    const QString dir = zfw::fuzz::scratchDir("compile");
    const zfw::BinSourceFiles files{zfw::joinPath(dir, QStringLiteral("ParGen.xml")),
                                    zfw::joinPath(dir, QStringLiteral("S7_Protocol.xml")),
                                    zfw::joinPath(dir, QStringLiteral("LoRaWAN_SetAccess.xml"))};

    // The k-th existing file takes the k-th part; parts beyond the existing files are unused.
    const QList<QByteArray> parts = splitParts(rest);
    qsizetype next = 0;
    for (size_t i = 0; i < kFiles.size(); ++i) {
        const QString& path = files.*kFiles[i];
        QFile::remove(path);
        if (!(present & (1u << i)))
            continue;
        if (!zfw::fuzz::writeBytes(path, parts.value(next++)))
            return 0;
    }

    const zfw::BinCompileResult r = zfw::compileBinImages(files);
    if (r.ok()) {
        ZFW_FUZZ_CHECK(r.bank1.size() == zfw::kBank1Size);
        ZFW_FUZZ_CHECK(r.bank2.size() == zfw::kBank2Size);
        const int at = zfw::TPar_Gen_Bank::kChecksum;
        const auto byte = [&](int i) { return quint32(quint8(r.bank1[at + i])); };
        const quint32 stored = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
        ZFW_FUZZ_CHECK(stored == byteSum(r.bank1, at));
    } else {
        ZFW_FUZZ_CHECK(r.bank1.isEmpty() && r.bank2.isEmpty());
        ZFW_FUZZ_CHECK(!r.result.message.isEmpty());
    }
    return 0;
}
