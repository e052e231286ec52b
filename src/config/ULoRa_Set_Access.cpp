#include "config/ULoRa_Set_Access.h"

#include "common/UComon.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QTabWidget>

namespace zfw {

namespace {

const RuleEditorNames kNames = {
    "TFLoRa_Set_Access",
    "PC_LoRa",
    {"TS_LoRa_Uplink", "TS_LoRa_Downlink"},
    {"ACG_LoRa_Uplink", "ACG_LoRa_Downlink"},
    900,
    600,
};

}  // namespace

TFLoRa_Set_Access::TFLoRa_Set_Access(QWidget* parent)
    : TRuleEditorFrame(kNames, loRaWanRuleSpec({}), parent)
{
    PC_LoRa = pageControl();
    TS_LoRa_Uplink = PC_LoRa->widget(0);
    TS_LoRa_Downlink = PC_LoRa->widget(1);
    ACG_LoRa_Uplink = grid(0);
    ACG_LoRa_Downlink = grid(1);
}

QString TFLoRa_Set_Access::filePath() const { return programState().File_LoRaWAN_SetAccess; }

RuleFileSpec TFLoRa_Set_Access::prepareOpening()
{
    const ProgramState& s = programState();
    const LoRaWanEditorSetup setup = readLoRaWanEditorSetup(s.File_ParGen);
    MaxPayloadSize = setup.MaxPayloadSize;
    FPortFixed = setup.FPortFixed;
    // An unreadable ParGen.xml used to read as "no payload size" with nothing said about
    // the file; the user is told which file it is.
    if (!setup.parGenError.isEmpty())
        services().dialogs->showError(setup.parGenError, this);
    if (setup.payloadWarning())
        services().dialogs->showWarning(s.lang(kLoRaTextNoPayloadSize), this);
    return loRaWanRuleSpec(setup);
}

}  // namespace zfw
