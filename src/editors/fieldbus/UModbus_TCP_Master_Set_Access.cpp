#include "editors/fieldbus/UModbus_TCP_Master_Set_Access.h"

#include "common/UComon.h"
#include "common/UComonValidators.h"

#include <QTabWidget>

namespace zfw {

namespace {

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFModbus_TCP_Master_Set_Access";
    n.pageControl = "PageControl1";
    n.tabs = {"TS_Modbus_Read", "TS_Modbus_Write"};
    n.grids = {"ACG_Modbus_Read", "ACG_Modbus_Write"};
    n.clientWidth = 1150;
    n.clientHeight = 337;
    // Enter moves on in the write grid only.
    n.gridEvents = {{.enterJump = false, .rowSelect = true}, {}};
    // Copy Row and Paste Row keep their captions in every language.
    n.fixedCaptions[4] = "Copy Row";
    n.fixedCaptions[5] = "Paste Row";
    return n;
}

}  // namespace

TFModbus_TCP_Master_Set_Access::TFModbus_TCP_Master_Set_Access(const RuleEditorContext& context,
                                                               QWidget* parent)
    : TRuleEditorFrame(context, names(), modbusTcpRuleSpec(), parent)
{
}

void TFModbus_TCP_Master_Set_Access::built()
{
    PageControl1 = pageControl();
    TS_Modbus_Read = PageControl1->widget(0);
    TS_Modbus_Write = PageControl1->widget(1);
    ACG_Modbus_Read = grid(0);
    ACG_Modbus_Write = grid(1);
}

QString TFModbus_TCP_Master_Set_Access::filePath() const
{
    return context().state->File_ModbusTCPM_SetAccess;
}

RuleFileSpec TFModbus_TCP_Master_Set_Access::prepareOpening()
{
    NByte_IN = kModbusDataAreaSize;
    NByte_OUT = kModbusDataAreaSize;
    return modbusTcpRuleSpec(List_Publish_Topic, NByte_IN, NByte_OUT);
}

bool TFModbus_TCP_Master_Set_Access::Check_IP_Address(const QString& IP_Address)
{
    quint8 a = 0, b = 0, c = 0, d = 0;
    return IP_Str_To_Bytes(IP_Address, a, b, c, d);
}

int TFModbus_TCP_Master_Set_Access::Get_Index_From_Topic(const QString& Topic) const
{
    return zfw::Get_Index_From_Topic(List_Publish_Topic, Topic);
}

QString TFModbus_TCP_Master_Set_Access::Get_Topic_From_Index(int Index) const
{
    return zfw::Get_Topic_From_Index(List_Publish_Topic, Index);
}

}  // namespace zfw
