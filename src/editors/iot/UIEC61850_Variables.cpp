#include "editors/iot/UIEC61850_Variables.h"

#include "common/UComon.h"
#include "common/UComonValidators.h"

namespace zfw {

namespace {

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFIEC61850_Variables";
    n.grids = {"ACG"};
    n.clientWidth = 1155;
    n.clientHeight = 337;
    return n;
}

}  // namespace

TFIEC61850_Variables::TFIEC61850_Variables(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), iec61850VariablesSpec(), parent)
{
}

RuleFileSpec TFIEC61850_Variables::prepareOpening()
{
    NByte_IN = kIEC61850Positions;
    return iec61850VariablesSpec(NByte_IN, Get_Decimal_Separator());
}

QString TFIEC61850_Variables::filePath() const { return context().state->File_IEC61850_Variables; }

}  // namespace zfw
