#include "editors/fieldbus/UNMEAFrames.h"

#include "common/UComon.h"
#include "editors/fieldbus/UJ1939Frames.h"

namespace zfw {

TFReceiveNMEA::TFReceiveNMEA(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, frameWindowNames("TFReceiveNMEA", 810), nmeaReceiveSpec(), parent)
{
}

void TFReceiveNMEA::built() { sga = grid(0); }

QString TFReceiveNMEA::filePath() const { return context().state->File_NMEA_Rec_Frames; }

RuleFileSpec TFReceiveNMEA::prepareOpening()
{
    NUM_BYTE_IN = kNmeaInputArea;
    return nmeaReceiveSpec(NUM_BYTE_IN);
}

TFTransmitNMEA::TFTransmitNMEA(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, frameWindowNames("TFTransmitNMEA", 810), nmeaTransmitSpec(), parent)
{
}

void TFTransmitNMEA::built() { sga = grid(0); }

QString TFTransmitNMEA::filePath() const { return context().state->File_NMEA_Send_Frames; }

RuleFileSpec TFTransmitNMEA::prepareOpening()
{
    NUM_BYTE_OUT = kNmeaOutputArea;
    return nmeaTransmitSpec(NUM_BYTE_OUT);
}

}  // namespace zfw
