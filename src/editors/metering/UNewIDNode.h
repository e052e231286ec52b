#pragma once
// The paste dialog of the network editor: it asks for a pasted node's address and for new
// Modbus registers, three grid rows per variable, and checks them against the network
// before it closes with OK.

#include "controls/FormParts.h"
#include "editors/metering/core/MBusDialogChecks.h"
#include "editors/metering/core/MeterBusModel.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace zfw {

class IUserDialogs;
class TExtColumnGrid;

class TFNewIDNode final : public TModalForm {
    Q_OBJECT
public:
    explicit TFNewIDNode(QWidget* parent = nullptr, IUserDialogs* dialogs = nullptr);

    // 1 pasting a wired node, 2 a variable, 3 a wireless node; set by the caller.
    int Form_Type = 1;

    void Set_Lang() override;
    void FormShow() override;
    // OK: the check; closes with OK only when nothing was refused.
    void LbButton2Click();

    // The network the registers and addresses are checked against (not owned; null: none).
    void setNetwork(const TNodiList* nodes) { m_nodes = nodes; }
    // Fills the fields and the grid as the editor does before showing the dialog. Cells the
    // request leaves out (the "Modbus Re Scale" values) keep what they held.
    void fill(const TPasteRequest& request);
    // What the editor reads back after OK.
    TPasteAnswer answer() const;
    TNewIDNodeValues values() const;
    // The grid's cells and rows (header row 0), without the grid's header at hand.
    QString gridCell(int ACol, int ARow) const;
    void setGridCell(int ACol, int ARow, const QString& text);
    int gridRowCount() const;

    QWidget* P_Title = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QWidget* P_Top = nullptr;
    QRadioButton* RB_ID_Primary = nullptr;
    QLineEdit* E_New_Node_ID_Pri = nullptr;
    QRadioButton* RB_ID_Secondary = nullptr;
    QLineEdit* E_New_Node_ID_Sec = nullptr;
    QLabel* L_wMBus_Add = nullptr;
    QLineEdit* E_wMBus_Add = nullptr;
    QLabel* L_MR_NodeState = nullptr;
    QLineEdit* E_MR_NodeState = nullptr;
    QLabel* L_MR_IdentNum = nullptr;
    QLineEdit* E_MR_IdentNum = nullptr;
    QLabel* L_wMBus_RSSI = nullptr;
    QLineEdit* E_wMBus_RSSI = nullptr;
    QLabel* L_MR_Var = nullptr;
    TExtColumnGrid* ESG_MR_Var = nullptr;
    TFormButton* Btn_OK = nullptr;
    TFormButton* Btn_Cancel = nullptr;

private:
    IUserDialogs& dialogs() const;
    QString lang(int n) const;
    void layoutBelowTop();

    IUserDialogs* m_dialogs;
    const TNodiList* m_nodes = nullptr;
};

}  // namespace zfw
