// The DeviceNet byte offsets on any project files: the first byte says which files exist
// (bit 0 DNETM_Net.xml, bit 1 DNETM_DefOff.xml; the digits 0 to 3 read the same), the rest
// holds the existing files in that order, separated by a line "----". Every slave read has
// one offset and one mnemonic per byte; the offsets file written and read again with the same
// slaves gives the same offsets and the same bytes; the output check answers without reading
// past its table.

#include "FuzzSupport.h"

#include "editors/fieldbus/core/UDeviceNetOffsets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int present = (data[0] >= '0' && data[0] <= '9' ? data[0] - '0' : data[0]) & 3;
    QByteArray files[2];
    int at = 0;
    for (const QByteArray& line : zfw::fuzz::bytesOf(data + 1, size - 1).split('\n')) {
        if (line == "----" || line == "----\r") {
            at = qMin(at + 1, 1);
            continue;
        }
        files[at] += line + '\n';
    }
    const QString netName = QStringLiteral("DNETM_Net.xml");
    const QString offName = QStringLiteral("DNETM_DefOff.xml");
    const zfw::ProjectXmlLoad net = present & 1 ? zfw::parseProjectXml(files[0], netName)
                                                : zfw::ProjectXmlLoad{};
    const zfw::ProjectXmlLoad off = present & 2 ? zfw::parseProjectXml(files[1], offName)
                                                : zfw::ProjectXmlLoad{};

    zfw::TDefOffsetModel first;
    const zfw::DefOffsetOpening opening = first.open(net, off, netName, offName);
    for (const zfw::DefOffsetProblem& p : opening.problems)
        ZFW_FUZZ_CHECK(p.row >= 1 && (p.file == netName || p.file == offName));
    for (const zfw::TSlave_DN& s : first.List_Slaves_DN) {
        ZFW_FUZZ_CHECK(s.ID <= 63);
        ZFW_FUZZ_CHECK(s.SL_ByteIN.size() == s.ByteIN && s.SL_ByteIN_M.size() == s.ByteIN);
        ZFW_FUZZ_CHECK(s.SL_ByteOUT.size() == s.ByteOUT && s.SL_ByteOUT_M.size() == s.ByteOUT);
    }
    const zfw::DefOffsetFault fault = first.Check_Data();
    ZFW_FUZZ_CHECK(fault.ok() || fault.text == 3921 || fault.text == 3930);

    const QByteArray written = first.document().toByteArray();
    zfw::TDefOffsetModel second;
    const zfw::DefOffsetOpening again = second.open(net, zfw::parseProjectXml(written, offName),
                                                    netName, offName);
    if (!opening.fileError.isEmpty() || !net.ok())
        return 0;
    // The slaves read the same; their offsets come back by ID or by position alike.
    ZFW_FUZZ_CHECK(second.List_Slaves_DN.size() == first.List_Slaves_DN.size());
    for (std::size_t i = 0; i < first.List_Slaves_DN.size(); ++i) {
        ZFW_FUZZ_CHECK(second.List_Slaves_DN[i].SL_ByteIN == first.List_Slaves_DN[i].SL_ByteIN);
        ZFW_FUZZ_CHECK(second.List_Slaves_DN[i].SL_ByteOUT_M
                       == first.List_Slaves_DN[i].SL_ByteOUT_M);
    }
    ZFW_FUZZ_CHECK(second.document().toByteArray() == written);
    return 0;
}
