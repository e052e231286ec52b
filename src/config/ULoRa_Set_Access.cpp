#include "config/ULoRa_Set_Access.h"

#include "common/UComon.h"
#include "platform/Dialogs.h"

#include <QTabWidget>

namespace zfw {

namespace {

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFLoRa_Set_Access";
    n.pageControl = "PC_LoRa";
    n.tabs = {"TS_LoRa_Uplink", "TS_LoRa_Downlink"};
    n.grids = {"ACG_LoRa_Uplink", "ACG_LoRa_Downlink"};
    n.clientWidth = 900;
    n.clientHeight = 600;
    return n;
}

}  // namespace

TFLoRa_Set_Access::TFLoRa_Set_Access(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), loRaWanRuleSpec({}), parent)
{
}

void TFLoRa_Set_Access::built()
{
    PC_LoRa = pageControl();
    TS_LoRa_Uplink = PC_LoRa->widget(0);
    TS_LoRa_Downlink = PC_LoRa->widget(1);
    ACG_LoRa_Uplink = grid(0);
    ACG_LoRa_Downlink = grid(1);
}

QString TFLoRa_Set_Access::filePath() const { return context().state->File_LoRaWAN_SetAccess; }

RuleFileSpec TFLoRa_Set_Access::prepareOpening()
{
    const ProgramState& s = *context().state;
    const LoRaWanEditorSetup setup = readLoRaWanEditorSetup(s.File_ParGen);
    MaxPayloadSize = setup.MaxPayloadSize;
    FPortFixed = setup.FPortFixed;
    // An unreadable ParGen.xml used to read as "no payload size" with nothing said about
    // the file; the user is told which file it is.
    if (!setup.parGenError.isEmpty())
        dialogs().showError(setup.parGenError, this);
    if (setup.payloadWarning())
        dialogs().showWarning(s.lang(kLoRaTextNoPayloadSize), this);
    return loRaWanRuleSpec(setup);
}

}  // namespace zfw
