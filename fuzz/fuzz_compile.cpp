// The bank-image compiler over the three project files it reads.
//
// Input: the first byte says which files exist (bit 0 ParGen.xml, bit 1 LoRaWAN_SetAccess.xml,
// bit 2 S7_Protocol.xml; the digits '0' to '7' read the same), the rest holds the existing
// files in that order, separated by a line "----". A file without its part is empty.
//
// The compiler takes its files from the program state, so each input gets a fresh state whose
// project folder holds exactly the files of this input; the state is reset again afterwards.

#include "FuzzSupport.h"

#include "common/UComon.h"
#include "config/USaveBincc.h"

#include <array>

namespace {

constexpr char kSeparator[] = "\n----\n";

constexpr std::array<QString zfw::ProgramState::*, 3> kFiles = {
    &zfw::ProgramState::File_ParGen,
    &zfw::ProgramState::File_LoRaWAN_SetAccess,
    &zfw::ProgramState::File_S7_Protocol,
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

quint32 byteSum(const quint8* bytes, int count)
{
    quint32 sum = 0;
    for (int i = 0; i < count; ++i)
        sum += bytes[i];
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const unsigned present = data[0] & 7u;
    const QByteArray rest = zfw::fuzz::bytesOf(data + 1, size - 1);

    zfw::resetProgramState();
    zfw::ProgramState& s = zfw::programState();
    s.Dir_Project = zfw::fuzz::scratchDir("compile");
    zfw::Set_Files(s);

    // The k-th existing file takes the k-th part; parts beyond the existing files are unused.
    const QList<QByteArray> parts = splitParts(rest);
    qsizetype next = 0;
    for (size_t i = 0; i < kFiles.size(); ++i) {
        const QString& path = s.*kFiles[i];
        QFile::remove(path);
        if (!(present & (1u << i)))
            continue;
        if (!zfw::fuzz::writeBytes(path, parts.value(next++)))
            return 0;
    }

    const zfw::FileResult r = zfw::Compile_Bin();
    const zfw::BinImages& img = zfw::binImages();
    if (r.ok) {
        ZFW_FUZZ_CHECK(img.Bank1_Length == zfw::kBank1Size);
        ZFW_FUZZ_CHECK(img.Bank2_Length == zfw::kBank2Size);
        const quint8* bank1 = img.Bank1_Buffer.data();
        const int at = zfw::TPar_Gen_Bank::kChecksum;
        const quint32 stored = quint32(bank1[at]) | quint32(bank1[at + 1]) << 8
                               | quint32(bank1[at + 2]) << 16 | quint32(bank1[at + 3]) << 24;
        ZFW_FUZZ_CHECK(stored == byteSum(bank1, at));
    } else {
        ZFW_FUZZ_CHECK(img.Bank1_Length == 0 && img.Bank2_Length == 0);
        ZFW_FUZZ_CHECK(!r.message.isEmpty());
    }
    zfw::resetProgramState();
    return 0;
}
