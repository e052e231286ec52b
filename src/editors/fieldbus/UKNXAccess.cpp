#include "editors/fieldbus/UKNXAccess.h"

#include "common/UComon.h"
#include "common/UComonValidators.h"

namespace zfw {

namespace {

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFKNXAccess";
    n.grids = {"ACG_KNX_in_Write"};
    n.clientWidth = 1250;
    n.clientHeight = 337;
    return n;
}

}  // namespace

TFKNXAccess::TFKNXAccess(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), knxRuleSpec(Get_Decimal_Separator()), parent)
{
}

void TFKNXAccess::built() { ACG_KNX_in_Write = grid(0); }

QString TFKNXAccess::filePath() const { return context().state->File_KNX_SetAccess; }

// The user's decimal separator is taken at each opening, for the factors checked at OK.
RuleFileSpec TFKNXAccess::prepareOpening()
{
    Max_Num_Byte = kKnxDataArray;
    return knxRuleSpec(Get_Decimal_Separator(), Max_Num_Byte);
}

}  // namespace zfw
