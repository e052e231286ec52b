#include "editors/building/UBACnetSlaveSetAccess.h"

#include "common/TextUtil.h"
#include "common/UComon.h"
#include "editors/building/UBACnet_Eng_Unit.h"
#include "grid/ColumnGrid.h"
#include "platform/Dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

namespace zfw {

namespace {

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFBACnetSlaveSetAccess";
    n.pageControl = "PageControl1";
    n.tabs = {"TS_BACnet_in_Read", "TS_BACnet_in_Write"};
    n.grids = {"ACG_BACnet_in_Read", "ACG_BACnet_in_Write"};
    n.clientWidth = 764;
    n.clientHeight = 337;
    return n;
}

constexpr int kWriteTable = 1;

}  // namespace

TFBACnetSlaveSetAccess::TFBACnetSlaveSetAccess(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), bacnetServerRuleSpec(false), parent)
{
    m_picker = new TFBACnet_Eng_Unit(context, this);
}

void TFBACnetSlaveSetAccess::Set_Lang()
{
    TRuleEditorFrame::Set_Lang();
    // The frame's constructor sets its texts before the picker exists.
    if (m_picker)
        m_picker->Set_Lang();
}

void TFBACnetSlaveSetAccess::built()
{
    PageControl1 = pageControl();
    TS_BACnet_in_Read = PageControl1->widget(0);
    TS_BACnet_in_Write = PageControl1->widget(1);
    ACG_BACnet_in_Read = grid(0);
    ACG_BACnet_in_Write = grid(1);
}

QString TFBACnetSlaveSetAccess::filePath() const
{
    return context().state->File_BACnet_Slave_SetAccess;
}

RuleFileSpec TFBACnetSlaveSetAccess::prepareOpening()
{
    NByte_IN = kBACnetServerAreaSize;
    NByte_OUT = kBACnetServerAreaSize;
    Desc_Lenght = readBACnetLongDescriptions(context().state->File_ParGen);
    return bacnetServerRuleSpec(Desc_Lenght, NByte_IN);
}

bool TFBACnetSlaveSetAccess::cellDoubleClick(int table, int ACol, int ARow)
{
    const RuleTableSpec& spec = layout().tables[table];
    if (ACol != spec.col(u"Eng_Unit"))
        return false;
    TExtStringGrid* g = gridOf(table);
    const QString unit = g->GetCellEx(ACol, ARow);
    m_picker->E_Selected_EU->setText(unit);
    m_picker->Label5->setText(QStringLiteral("-> ")
                              + TFBACnet_Eng_Unit::Desc_Unit(strToIntDef(unit, -1)));
    m_picker->Label5->adjustSize();
    if (dialogs().showModal(*m_picker) == mrOk)
        g->SetCellEx(ACol, ARow, m_picker->E_Selected_EU->text());
    // The column still fits itself to a header double click; a data cell was the picker's.
    return true;
}

void TFBACnetSlaveSetAccess::comboChange(int table, int ACol, int ARow, int,
                                         const QString& ASelection)
{
    const RuleTableSpec& spec = layout().tables[table];
    if (table != kWriteTable || ACol != spec.col(u"Data_Type"))
        return;
    const QString length = bacnetServerLengthPreset(ASelection);
    if (!length.isEmpty())
        gridOf(table)->SetCellEx(spec.col(u"Length"), ARow, length);
}

}  // namespace zfw
