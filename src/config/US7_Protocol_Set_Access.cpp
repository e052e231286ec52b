#include "config/US7_Protocol_Set_Access.h"

#include "common/UComon.h"

#include <QTabWidget>

namespace zfw {

namespace {

const RuleEditorNames kNames = {
    "TFS7_Protocol_Set_Access",
    "PageControl1",
    {"TS_S7_Read", "TS_S7_Write"},
    {"ACG_S7_Read", "ACG_S7_Write"},
    1350,
    640,
};

}  // namespace

TFS7_Protocol_Set_Access::TFS7_Protocol_Set_Access(QWidget* parent)
    : TRuleEditorFrame(kNames, s7RuleSpec(), parent)
{
    PageControl1 = pageControl();
    TS_S7_Read = PageControl1->widget(0);
    TS_S7_Write = PageControl1->widget(1);
    ACG_S7_Read = grid(0);
    ACG_S7_Write = grid(1);
}

QString TFS7_Protocol_Set_Access::filePath() const { return programState().File_S7_Protocol; }

RuleFileSpec TFS7_Protocol_Set_Access::prepareOpening()
{
    NByte_IN = kS7DataAreaSize;
    NByte_OUT = kS7DataAreaSize;
    return s7RuleSpec(NByte_IN, NByte_OUT);
}

}  // namespace zfw
