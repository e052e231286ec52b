#include "editors/fieldbus/USDO_Server_Access.h"

#include "common/UComon.h"

#include <QTabWidget>

namespace zfw {

namespace {

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFSet_SDO_Server_Access";
    n.pageControl = "PageControl1";
    n.tabs = {"TS_SDO_Read", "TS_SDO_Write"};
    n.grids = {"sga", "sgb"};
    n.clientWidth = 749;
    n.clientHeight = 337;
    return n;
}

}  // namespace

TFSet_SDO_Server_Access::TFSet_SDO_Server_Access(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), sdoServerRuleSpec(), parent)
{
}

void TFSet_SDO_Server_Access::built()
{
    PageControl1 = pageControl();
    TS_SDO_Read = PageControl1->widget(0);
    TS_SDO_Write = PageControl1->widget(1);
    sga = grid(0);
    sgb = grid(1);
}

QString TFSet_SDO_Server_Access::filePath() const
{
    return context().state->File_SDO_Server_CANopen;
}

RuleFileSpec TFSet_SDO_Server_Access::prepareOpening()
{
    PROFINET_NByte_IN = kCANopenDataAreaSize;
    PROFINET_NByte_OUT = kCANopenDataAreaSize;
    return sdoServerRuleSpec(PROFINET_NByte_IN, PROFINET_NByte_OUT);
}

}  // namespace zfw
