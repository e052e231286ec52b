#include "editors/fieldbus/UModbusSetAccess.h"

#include "common/UComon.h"

#include <QTabWidget>

namespace zfw {

namespace {

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFSetAccess";
    n.pageControl = "PageControl1";
    n.tabs = {"TS_Modbus_Read", "TS_Modbus_Write"};
    n.grids = {"ACG_Modbus_Read", "ACG_Modbus_Write"};
    n.clientWidth = 1040;
    n.clientHeight = 337;
    return n;
}

}  // namespace

TFSetAccess::TFSetAccess(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), modbusRtuRuleSpec(), parent)
{
}

void TFSetAccess::built()
{
    PageControl1 = pageControl();
    TS_Modbus_Read = PageControl1->widget(0);
    TS_Modbus_Write = PageControl1->widget(1);
    ACG_Modbus_Read = grid(0);
    ACG_Modbus_Write = grid(1);
}

QString TFSetAccess::filePath() const { return context().state->File_ModbusM_SetAccess; }

RuleFileSpec TFSetAccess::prepareOpening()
{
    NByte_IN = kModbusDataAreaSize;
    NByte_OUT = kModbusDataAreaSize;
    return modbusRtuRuleSpec(List_Publish_Topic, NByte_IN, NByte_OUT);
}

int TFSetAccess::ComboItem_Topic(int r) const
{
    const RuleFile* f = ruleFile();
    if (!f)
        return -1;
    const QVariant index = f->tables[0].rowObject(r);
    return index.isValid() ? index.toInt() : -1;
}

int TFSetAccess::Get_Index_From_Topic(const QString& Topic, int index) const
{
    return zfw::Get_Index_From_Topic(List_Publish_Topic, Topic, index);
}

QString TFSetAccess::Get_Topic_From_Index(int Index) const
{
    return zfw::Get_Topic_From_Index(List_Publish_Topic, Index);
}

void TFSetAccess::comboChange(int table, int ACol, int ARow, int AItemIndex, const QString&)
{
    RuleEditorModel* m = model();
    if (!m || table != 0)
        return;
    RuleTable& read = m->file().tables[0];
    if (ACol == read.spec().col(u"Index_Topic"))
        read.setRowObject(ARow, AItemIndex);
}

}  // namespace zfw
