#include "editors/fieldbus/UCANTransmit.h"

#include "common/UComon.h"

namespace zfw {

namespace {

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFTransmitCAN";
    n.grids = {"ACG_CAN_Transmit"};
    n.clientWidth = 1100;
    n.clientHeight = 337;
    // A click on the row number does not select the row here.
    n.gridEvents = {{.enterJump = true, .rowSelect = false}};
    n.focusGrid = 0;
    return n;
}

}  // namespace

TFTransmitCAN::TFTransmitCAN(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), canTransmitRuleSpec(), parent)
{
}

void TFTransmitCAN::built() { ACG_CAN_Transmit = grid(0); }

QString TFTransmitCAN::filePath() const { return context().state->File_CAN_Send_Frames; }

RuleFileSpec TFTransmitCAN::prepareOpening()
{
    MAX_Byte = kCANTransmitAreaSize;
    return canTransmitRuleSpec(MAX_Byte);
}

}  // namespace zfw
