// A wired M-Bus answer: the bytes as a long frame, and the same bytes as bare data records in
// a wired and in a wireless decode. Whatever the decoder keeps must go into a scan report.

#include "FuzzSupport.h"

#include "editors/metering/core/MBusDecoder.h"
#include "editors/metering/core/MBusScanWriters.h"

#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zfw;
    const std::span<const uint8_t> bytes(data, size);

    TSlaveMBusList slaves;
    TMBusDecoder decoder(u',');
    bool complete = true;
    const int index = decoder.Decode_Frame_Wired(bytes, slaves, -1, complete);
    ZFW_FUZZ_CHECK(index == -1 || (index == 0 && slaves.size() == 1));
    if (index == -1)
        ZFW_FUZZ_CHECK(slaves.empty());
    if (decoder.lastFault())
        ZFW_FUZZ_CHECK(decoder.lastFault()->offset <= size);
    // A follow-up frame appends to the same slave.
    if (index == 0) {
        const std::size_t before = slaves[0]->List_Var.size();
        ZFW_FUZZ_CHECK(decoder.Decode_Frame_Wired(bytes, slaves, 0, complete) == 0);
        ZFW_FUZZ_CHECK(slaves[0]->List_Var.size() == 2 * before);
    }

    for (TMBusType type : {TMBusType::mtWired, TMBusType::mtWireless}) {
        TMBusDecoder records(u'.', type);
        std::vector<TVariable_MBus> list;
        records.Decode_Data_Records(list, bytes);
        // Every kept record took at least its DIF.
        ZFW_FUZZ_CHECK(list.size() <= size);
        for (const TVariable_MBus& v : list) {
            ZFW_FUZZ_CHECK(v.nbyte >= 0 && v.nbyte <= 191);
            ZFW_FUZZ_CHECK(v.totdati.size() == 2 * v.nbyte);
            ZFW_FUZZ_CHECK(v.DIF.size() == 3);
            ZFW_FUZZ_CHECK(v.DIFE.size() % 4 == 0 && v.VIFE.size() % 4 == 0);
            ZFW_FUZZ_CHECK(v.DIFE.size() <= 40 && v.VIFE.size() <= 40);
            ZFW_FUZZ_CHECK(v.VIF_ASCII.size() <= 192);
            ZFW_FUZZ_CHECK(type == TMBusType::mtWireless || v.Real_Wireless_Var);
        }
        if (records.lastFault())
            ZFW_FUZZ_CHECK(records.lastFault()->offset <= size);
    }

    if (!slaves.empty()) {
        const QString path = zfw::fuzz::scratchDir("mbus_wired") + QStringLiteral("/report.xml");
        ZFW_FUZZ_CHECK(Save_XML_File_DLL(path, slaves).ok);
    }
    return 0;
}
