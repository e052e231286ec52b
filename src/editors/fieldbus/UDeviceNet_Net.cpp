#include "editors/fieldbus/UDeviceNet_Net.h"

#include "common/UComon.h"

namespace zfw {

namespace {

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFDNet";
    n.grids = {"ESG"};
    n.clientWidth = 745;
    n.clientHeight = 337;
    return n;
}

}  // namespace

TFDNet::TFDNet(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), deviceNetRuleSpec(), parent)
{
}

QString TFDNet::filePath() const { return context().state->File_DNETM_Net; }

}  // namespace zfw
