// What a user types into the M-Bus network editor, its paste dialog and the scan dialogs, and
// a ParGen.xml read for the scan window's gateway address. The input is split at newlines
// into the page fields; every stored number must be defined, and what the editor stores must
// survive its own network file.

#include "FuzzSupport.h"

#include "editors/metering/core/MBusDialogChecks.h"
#include "editors/metering/core/MBusScanTexts.h"
#include "editors/metering/core/MeterBusModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zfw;
    const QByteArray bytes = zfw::fuzz::bytesOf(data, size);
    const QStringList f = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    auto field = [&](int i) { return i < f.size() ? f[i] : QString(); };
    const auto text = [](int n) { return QStringLiteral("#%1").arg(n); };

    TNodePageValues node;
    const int flags = size > 0 ? data[0] : 0;
    node.MBus_Type = flags & 1;
    node.secondaryChosen = flags & 2;
    node.Enable_NS = flags & 4;
    node.Enable_IN = flags & 8;
    node.Enable_MS = flags & 16;
    node.Enable_AN = flags & 32;
    node.wMBus_En_Key = flags & 64;
    QString* numbers[] = {&node.Node_Pri,      &node.Node_Sec,          &node.Node_State,
                          &node.Ident_Num,     &node.Manufacturer_Spec, &node.MSD_Length,
                          &node.MSD_Offset,    &node.Access_Number,     &node.wMBus_ManID,
                          &node.wMBus_Add,     &node.wMBus_Ver,         &node.wMBus_DevType,
                          &node.wNode_State,   &node.wIdent_Num,        &node.wRSSI,
                          &node.wAccess_Number};
    int i = 1;
    for (QString* n : numbers)
        *n = field(i++);
    for (QString& k : node.wMBus_Key)
        k = field(i++);
    TVarPageValues var;
    var.Dimension = (flags >> 1) & 7;
    var.Type_Of_Data = flags % 26;
    var.TP_Mod_Regs = flags & 128;
    QString* varNumbers[] = {&var.PositionData, &var.Storage_Number, &var.Tariff,
                             &var.Length,       &var.TP_Mod_Year,    &var.Position};
    for (QString* n : varNumbers)
        *n = field(i++);

    TMeterBusModel model(text);
    const TEditOutcome added = model.nodeButton(text(1723), node);
    ZFW_FUZZ_CHECK(added.done || !added.errors.isEmpty());  // a refusal always says why
    ZFW_FUZZ_CHECK(model.Nodi_List.size() == (added.done ? 1u : 0u));
    if (added.done) {
        model.select(0, -1);
        model.variableButton(text(1748), var);
        const QByteArray written = mbusNetworkBytes(model.Nodi_List);
        const MBusNetworkLoad back = parseMBusNetwork(written, QStringLiteral("M_Bus.xml"));
        ZFW_FUZZ_CHECK(back.ok);
        ZFW_FUZZ_CHECK(back.nodes == model.Nodi_List);
    }
    // Fields the rules never see are stored defined: a node built from any page writes and
    // reads back the same.
    const TNodo stored = nodeFromPage(node);
    const TNodiList one = {stored};
    ZFW_FUZZ_CHECK(parseMBusNetwork(mbusNetworkBytes(one), QStringLiteral("M_Bus.xml")).nodes
                   == one);
    for (int k = 0; k < 5; ++k)
        (void)timePointBoxes(field(k));

    TNewIDNodeValues paste;
    paste.Form_Type = 1 + flags % 3;
    paste.secondaryChosen = flags & 2;
    paste.Node_Pri = field(1);
    paste.Node_Sec = field(2);
    paste.wMBus_Add = field(10);
    for (int k = 40; k < f.size() && k < 52; ++k)
        paste.index.push_back(f[k]);
    const RuleVerdict v = checkNewIDNode(paste, model.rules(), text);
    ZFW_FUZZ_CHECK(v.ok == v.messages.isEmpty());
    (void)checkWirelessKey(field(0));
    (void)startModbusRegister(field(0));
    (void)checkStartRegisters({field(0), field(1)}, text);
    (void)gatewayAddressFromParGen(bytes, flags);
    return 0;
}
