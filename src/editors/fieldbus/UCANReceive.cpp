#include "editors/fieldbus/UCANReceive.h"

#include "common/UComon.h"

namespace zfw {

namespace {

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFReceiveCAN";
    n.grids = {"ACG_CAN_Receive"};
    n.clientWidth = 1010;
    n.clientHeight = 337;
    // A click on the row number does not select the row here.
    n.gridEvents = {{.enterJump = true, .rowSelect = false}};
    n.focusGrid = 0;
    return n;
}

}  // namespace

TFReceiveCAN::TFReceiveCAN(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), canReceiveRuleSpec(), parent)
{
}

void TFReceiveCAN::built() { ACG_CAN_Receive = grid(0); }

QString TFReceiveCAN::filePath() const { return context().state->File_CAN_Rec_Frames; }

RuleFileSpec TFReceiveCAN::prepareOpening()
{
    MAX_Byte = kCANReceiveAreaSize;
    return canReceiveRuleSpec(MAX_Byte);
}

}  // namespace zfw
