#include "editors/fieldbus/UJ1939Frames.h"

#include "common/UComon.h"

namespace zfw {

RuleEditorNames frameWindowNames(const char* form, int clientWidth)
{
    RuleEditorNames n;
    n.form = form;
    n.grids = {"sga"};
    n.clientWidth = clientWidth;
    n.clientHeight = 337;
    return n;
}

TFReceiveJ1939::TFReceiveJ1939(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, frameWindowNames("TFReceiveJ1939", 876), j1939ReceiveSpec(), parent)
{
}

void TFReceiveJ1939::built() { sga = grid(0); }

QString TFReceiveJ1939::filePath() const { return context().state->File_J1939_Rec_Frames; }

RuleFileSpec TFReceiveJ1939::prepareOpening()
{
    NUM_BYTE_IN = kJ1939InputArea;
    return j1939ReceiveSpec(NUM_BYTE_IN);
}

TFTransmitJ1939::TFTransmitJ1939(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, frameWindowNames("TFTransmitJ1939", 800), j1939TransmitSpec(),
                       parent)
{
}

void TFTransmitJ1939::built() { sga = grid(0); }

QString TFTransmitJ1939::filePath() const { return context().state->File_J1939_Send_Frames; }

RuleFileSpec TFTransmitJ1939::prepareOpening()
{
    NUM_BYTE_OUT = kJ1939OutputArea;
    return j1939TransmitSpec(NUM_BYTE_OUT);
}

}  // namespace zfw
