#include "editors/iot/USNMP_Trap_Access.h"

#include "common/TextUtil.h"
#include "common/UComon.h"
#include "controls/LbButton.h"
#include "grid/ColumnGrid.h"

#include <QTabWidget>

namespace zfw {

namespace {

// The cell editors stop typing community names and descriptions at this length.
constexpr int kNameLength = 15;

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFSNMP_Trap_Access";
    n.pageControl = "PageControl1";
    n.tabs = {"TS_SNMP_Read", "TS_SNMP_Write"};
    n.grids = {"ACG_SNMP_Read", "ACG_SNMP_Write"};
    n.clientWidth = 1256;
    n.clientHeight = 337;
    return n;
}

}  // namespace

TFSNMP_Trap_Access::TFSNMP_Trap_Access(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), snmpTrapSpec(), parent)
{
}

void TFSNMP_Trap_Access::built()
{
    PageControl1 = pageControl();
    TS_SNMP_Read = PageControl1->widget(0);
    TS_SNMP_Write = PageControl1->widget(1);
    ACG_SNMP_Read = grid(0);
    ACG_SNMP_Write = grid(1);
    // The frame's row tools show plain row numbers in column 0 of the rows they move. Once
    // they are done the column is counted again, so that it always shows the numbers the
    // objects get in the generated MIB, not row numbers that look like them.
    for (TLbButton* b : {Btn_DelRow, Btn_InsRow, Btn_PasteRow})
        connect(b, &QAbstractButton::clicked, this,
                [this] { Index_Row_Build(grid(activeTable())); });
}

QString TFSNMP_Trap_Access::filePath() const { return context().state->File_SNMP_Trap; }

RuleFileSpec TFSNMP_Trap_Access::prepareOpening()
{
    NByte_IN = kSNMPTrapPositions;
    NByte_OUT = kSNMPTrapPositions;
    return snmpTrapSpec();
}

void TFSNMP_Trap_Access::opened()
{
    for (int t = 0; t < tableCount(); ++t) {
        TRuleGrid* g = grid(t);
        const RuleTableSpec& spec = layout().tables[t];
        for (const QString& name :
             {QStringLiteral("Community_Name"), QStringLiteral("Description")})
            g->Columns().GetItem(spec.col(name))->SetEditLength(kNameLength);
        Index_Row_Build(g);
    }
    setActiveTable(m_page);
}

void TFSNMP_Trap_Access::Index_Row_Build(TRuleGrid* app_SGA)
{
    int counter = 1;
    for (int r = 1; r < app_SGA->RowCount(); ++r) {
        if (asciiUpper(app_SGA->GetCellEx(1, r)) == QLatin1String("Y"))
            app_SGA->SetCellEx(0, r, QString::number(counter++));
        else
            app_SGA->SetCellEx(0, r, QString());
    }
}

// Of the check-box columns only Enable changes the numbers.
void TFSNMP_Trap_Access::checkBoxClick(int table, int ACol, int ARow, bool State)
{
    if (ACol == 1)
        Index_Row_Build(grid(table));
}

void TFSNMP_Trap_Access::hideEvent(QHideEvent* event)
{
    if (isBuilt())
        m_page = activeTable();
    TRuleEditorFrame::hideEvent(event);
}

}  // namespace zfw
