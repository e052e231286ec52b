// A wireless M-Bus telegram as the radio module hands it over, heard twice: first from an
// unknown meter, then again once the meter has a key (a fixed one), so that both decryption
// modes run. The first byte chooses the module (even: RadioCrafts, odd: Telit).

#include "FuzzSupport.h"

#include "editors/metering/core/MBusScanWriters.h"
#include "editors/metering/core/WMBusIntake.h"

#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zfw;
    if (size < 1)
        return 0;
    const TRadioModule module = data[0] & 1 ? TRadioModule::rmTelit : TRadioModule::rmRadioCrafts;
    const std::span<const uint8_t> telegram(data + 1, size - 1);
    static const AesKey kKey = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                                0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
    const QDateTime first(QDate(2026, 1, 1), QTime(0, 0));
    const QDateTime second(QDate(2026, 1, 1), QTime(0, 1));

    TSlaveWMBusList list;
    TWMBusIntake intake;
    const WirelessIntake heard = intake.Decode_Frame_Wireless(telegram, module, list, first);
    if (heard.index < 0) {
        ZFW_FUZZ_CHECK(list.empty());
        return 0;
    }
    ZFW_FUZZ_CHECK(heard.created && heard.updated && list.size() == 1 && heard.index == 0);
    ZFW_FUZZ_CHECK(!heard.decryptFailed);
    TSlave_wMBus& meter = *list[0];
    meter.Enable_Key = true;
    meter.Key = kKey;
    const std::size_t records = meter.List_Var.size();

    const WirelessIntake again = intake.Decode_Frame_Wireless(telegram, module, list, second);
    ZFW_FUZZ_CHECK(again.index == 0 && !again.created && list.size() == 1);
    if (again.decryptFailed) {
        // A failed mode-7 check changes nothing of the meter.
        ZFW_FUZZ_CHECK(!again.updated && meter.DateTime == first
                       && meter.List_Var.size() == records);
    } else {
        ZFW_FUZZ_CHECK(again.updated && meter.DateTime == second);
        if (meter.Cripted)
            ZFW_FUZZ_CHECK(meter.List_Var.empty());
    }
    ZFW_FUZZ_CHECK(meter.List_Var.size() <= telegram.size());

    const QString path = zfw::fuzz::scratchDir("mbus_wireless") + QStringLiteral("/report.xml");
    ZFW_FUZZ_CHECK(Save_Wireless_XML_File_DLL(path, list).ok);
    return 0;
}
