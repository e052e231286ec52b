#include "editors/fieldbus/UPDO_Access.h"

#include "common/UComon.h"

#include <QTabWidget>

namespace zfw {

namespace {

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFSet_PDO_Access";
    n.pageControl = "PageControl1";
    n.tabs = {"TS_Receive_PDO", "TS_Transmit_PDO"};
    n.grids = {"sga", "sgb"};
    n.clientWidth = 798;
    n.clientHeight = 337;
    return n;
}

}  // namespace

TFSet_PDO_Access::TFSet_PDO_Access(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), pdoRuleSpec(), parent)
{
}

void TFSet_PDO_Access::built()
{
    PageControl1 = pageControl();
    TS_Receive_PDO = PageControl1->widget(0);
    TS_Transmit_PDO = PageControl1->widget(1);
    sga = grid(0);
    sgb = grid(1);
}

QString TFSet_PDO_Access::filePath() const { return context().state->File_PDO_CANopen; }

RuleFileSpec TFSet_PDO_Access::prepareOpening()
{
    PROFINET_NByte_IN = kCANopenDataAreaSize;
    PROFINET_NByte_OUT = kCANopenDataAreaSize;
    return pdoRuleSpec(PROFINET_NByte_IN, PROFINET_NByte_OUT);
}

}  // namespace zfw
