#include "config/US7_Protocol_Set_Access.h"

#include "common/UComon.h"

#include <QTabWidget>

namespace zfw {

namespace {

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFS7_Protocol_Set_Access";
    n.pageControl = "PageControl1";
    n.tabs = {"TS_S7_Read", "TS_S7_Write"};
    n.grids = {"ACG_S7_Read", "ACG_S7_Write"};
    n.clientWidth = 1350;
    n.clientHeight = 640;
    return n;
}

}  // namespace

TFS7_Protocol_Set_Access::TFS7_Protocol_Set_Access(const RuleEditorContext& context,
                                                   QWidget* parent)
    : TRuleEditorFrame(context, names(), s7RuleSpec(), parent)
{
}

void TFS7_Protocol_Set_Access::built()
{
    PageControl1 = pageControl();
    TS_S7_Read = PageControl1->widget(0);
    TS_S7_Write = PageControl1->widget(1);
    ACG_S7_Read = grid(0);
    ACG_S7_Write = grid(1);
}

QString TFS7_Protocol_Set_Access::filePath() const { return context().state->File_S7_Protocol; }

RuleFileSpec TFS7_Protocol_Set_Access::prepareOpening()
{
    NByte_IN = kS7DataAreaSize;
    NByte_OUT = kS7DataAreaSize;
    return s7RuleSpec(NByte_IN, NByte_OUT);
}

}  // namespace zfw
