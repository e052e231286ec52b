// M_Bus.xml read, written and read again: the second reading gives the network of the first
// (what was read before a fault included), and writing that again gives the same bytes.

#include "FuzzSupport.h"

#include "editors/metering/core/MBusNetwork.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zfw;
    const QString name = QStringLiteral("M_Bus.xml");
    const MBusNetworkLoad first = parseMBusNetwork(zfw::fuzz::bytesOf(data, size), name);
    ZFW_FUZZ_CHECK(first.ok == first.message.isEmpty());
    if (!first.ok)
        ZFW_FUZZ_CHECK(first.message.contains(name));

    const QByteArray written = mbusNetworkBytes(first.nodes);
    const MBusNetworkLoad second = parseMBusNetwork(written, name);
    ZFW_FUZZ_CHECK(second.ok);
    ZFW_FUZZ_CHECK(second.nodes == first.nodes);
    ZFW_FUZZ_CHECK(mbusNetworkBytes(second.nodes) == written);
    return 0;
}
