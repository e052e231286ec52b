#include "editors/fieldbus/UDMXDefVal.h"

#include "common/UComon.h"
#include "platform/Dialogs.h"

namespace zfw {

namespace {

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFDMXDefVal";
    n.grids = {"ACG_DMX_Def_Val"};
    n.clientWidth = 475;
    n.clientHeight = 337;
    // OK and Cancel only: a channel is never inserted, deleted or copied.
    n.rowTools = {false, false, false, false};
    return n;
}

}  // namespace

TFDMXDefVal::TFDMXDefVal(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), dmxRuleSpec(), parent)
{
}

void TFDMXDefVal::built() { ACG_DMX_Def_Val = grid(0); }

QString TFDMXDefVal::filePath() const { return context().state->File_DMX_Default_Values; }

RuleFileSpec TFDMXDefVal::prepareOpening()
{
    const ProgramState& s = *context().state;
    const DMXChannelCount count = readDMXChannelCount(s.File_ParGen);
    if (!count.parGenError.isEmpty())
        dialogs().showError(count.parGenError, this);
    if (count.outOfRange)
        dialogs().showWarning(s.lang(kDMXTextChannelsOutOfRange)
                                  + QString::number(*count.outOfRange),
                              this);
    return dmxRuleSpec(count.channels);
}

}  // namespace zfw
