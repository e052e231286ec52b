#include "editors/iot/USNMPManagerAccess.h"

#include "common/UComon.h"

namespace zfw {

namespace {

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFSNMPManagerAccess";
    n.grids = {"ACG_SNMP"};
    n.clientWidth = 1230;
    n.clientHeight = 337;
    n.focusGrid = 0;
    return n;
}

}  // namespace

TFSNMPManagerAccess::TFSNMPManagerAccess(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), snmpManagerSpec(), parent)
{
}

QString TFSNMPManagerAccess::filePath() const { return context().state->File_SNMP_Manager; }

}  // namespace zfw
