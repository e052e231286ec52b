#include "editors/fieldbus/USDO_Client_Access.h"

#include "common/UComon.h"

#include <QTabWidget>

namespace zfw {

namespace {

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFSet_SDO_Client_Access";
    n.pageControl = "PageControl1";
    n.tabs = {"TS_SDO_Read", "TS_SDO_Write"};
    n.grids = {"sga", "sgb"};
    n.clientWidth = 798;
    n.clientHeight = 337;
    return n;
}

}  // namespace

TFSet_SDO_Client_Access::TFSet_SDO_Client_Access(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), sdoClientRuleSpec(), parent)
{
}

void TFSet_SDO_Client_Access::built()
{
    PageControl1 = pageControl();
    TS_SDO_Read = PageControl1->widget(0);
    TS_SDO_Write = PageControl1->widget(1);
    sga = grid(0);
    sgb = grid(1);
}

QString TFSet_SDO_Client_Access::filePath() const
{
    return context().state->File_SDO_Client_CANopen;
}

RuleFileSpec TFSet_SDO_Client_Access::prepareOpening()
{
    PROFINET_NByte_IN = kCANopenDataAreaSize;
    PROFINET_NByte_OUT = kCANopenDataAreaSize;
    return sdoClientRuleSpec(PROFINET_NByte_IN, PROFINET_NByte_OUT);
}

}  // namespace zfw
