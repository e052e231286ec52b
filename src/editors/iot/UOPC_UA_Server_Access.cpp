#include "editors/iot/UOPC_UA_Server_Access.h"

#include "common/UComon.h"
#include "controls/LbButton.h"
#include "grid/ExtGrid.h"

namespace zfw {

namespace {

constexpr int kTypeCol = 2;
constexpr int kLengthCol = 4;
constexpr int kRWCol = 6;

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFOPC_UA_Server_Access";
    n.grids = {"ESG"};
    n.stringGrids = {true};
    n.clientWidth = 1200;
    n.clientHeight = 337;
    // None of the frame's grid events: Enter, a click on the row number and a double click on
    // the header do what the grid does by itself.
    n.gridEvents = {RuleGridEvents{false, false, false}};
    n.editorTypeHook = true;
    return n;
}

}  // namespace

TFOPC_UA_Server_Access::TFOPC_UA_Server_Access(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), opcUaServerSpec(), parent)
{
}

QString TFOPC_UA_Server_Access::filePath() const { return context().state->File_OPC_UA_Server; }

void TFOPC_UA_Server_Access::built()
{
    ESG = gridOf(0);
    // Runs after the frame's own paste, which was connected first.
    connect(Btn_PasteRow, &QAbstractButton::clicked, this, [this] { afterPaste(); });
}

// The read-only states of the Length cells are the grid's and carry over from the last
// opening; the rows the file gives a type take theirs again.
void TFOPC_UA_Server_Access::opened()
{
    for (int r = 1; r < ESG->RowCount(); ++r)
        setLengthReadOnly(ESG->GetCellEx(kTypeCol, r), r);
}

void TFOPC_UA_Server_Access::editorType(int, int ACol, int ARow, TEditorType& AEditor)
{
    ESGGetEditorType(ESG, ACol, ARow, AEditor);
}

void TFOPC_UA_Server_Access::ESGGetEditorType(QObject*, int ACol, int, TEditorType& AEditor)
{
    const QStringList* items = ACol == kTypeCol ? &VarType : ACol == kRWCol ? &RWType : nullptr;
    if (!items)
        return;
    AEditor = TEditorType::edComboList;
    ESG->ClearComboString();
    for (const QString& item : *items)
        ESG->AddComboString(item);
}

void TFOPC_UA_Server_Access::comboChange(int, int ACol, int ARow, int, const QString& ASelection)
{
    if (ACol == kTypeCol)
        VarSetLength(ASelection, ACol, ARow);
}

void TFOPC_UA_Server_Access::setLengthReadOnly(const QString& type, int ARow)
{
    if (const std::optional<OpcUaVarLength> length = opcUaServerVarLength(type))
        ESG->SetReadOnly(kLengthCol, ARow, !length->editable);
}

void TFOPC_UA_Server_Access::VarSetLength(const QString& ASelection, int, int ARow)
{
    if (const std::optional<OpcUaVarLength> length = opcUaServerVarLength(ASelection)) {
        ESG->SetCellEx(kLengthCol, ARow, length->length);
        ESG->SetReadOnly(kLengthCol, ARow, !length->editable);
    }
    if (ESG->GetCellEx(kRWCol, ARow).isEmpty())
        ESG->SetCellEx(kRWCol, ARow, RWType.value(1));
}

// Also when the paste was refused or declined: the current row then keeps its own length.
void TFOPC_UA_Server_Access::afterPaste()
{
    const int r = ESG->Row();
    if (r < 1)
        return;
    const QString length = ESG->GetCellEx(kLengthCol, r);
    VarSetLength(ESG->GetCellEx(kTypeCol, r), kTypeCol, r);
    ESG->SetCellEx(kLengthCol, r, length);
}

}  // namespace zfw
