#pragma once
// The M-Bus network window: a tree of nodes and variables on the left, the node and variable
// pages on the right. It shows the editor model (MeterBusModel) and hands it what the user
// typed; the model holds the network, the selection and the copy buffers.

#include "controls/FormParts.h"
#include "editors/metering/core/MeterBusModel.h"

#include <QComboBox>

#include <array>
#include <vector>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zfw {

class IUserDialogs;
class TExtPageControl;
class TExtTabSheet;
class TFNewIDNode;

// A combo box whose drop-down list may be wider than the box: the list then opens with its
// right edge on the box's right edge, so that it grows to the left.
class TAlignedComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override;
};

class TFMeter_Bus final : public TModalForm {
    Q_OBJECT
public:
    // dialogs: null takes the one in use program-wide. newIdNode: the paste dialog (not
    // owned); null makes one of the window's own when it is first needed.
    explicit TFMeter_Bus(QWidget* parent = nullptr, IUserDialogs* dialogs = nullptr,
                         TFNewIDNode* newIdNode = nullptr);
    ~TFMeter_Bus() override;

    TMeterBusModel& model() { return m_model; }

    void Set_Lang() override;
    void FormShow() override;
    void Aggiorna_Label();
    void Sposta_Oggetti_Var(quint8 Var_type);
    void Nodes_Move_Elements();
    void Select_Width_ComboBox(QComboBox* CB);

    // Handlers.
    void TWClick();
    void btn_Add_NodeClick();
    void btn_Add_VarClick();
    void CB_MBus_TypeChange();
    void CB_Var_ToDChange();
    void CB_Var_DimChange();
    void E_TP_YearChange();
    void LbButton2Click();
    void LbButton4Click();
    void Btn_ImportNetClick();
    void CopyVariable1Click();
    void PasteVariable1Click();
    void CopyNode1Click();
    void PasteNode1Click();
    void DeleteItem1Click();

    // The pages as the user filled them.
    TNodePageValues nodePageValues() const;
    TVarPageValues varPageValues() const;

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QTreeWidget* TW = nullptr;
    QTreeWidgetItem* NODE_ORIG = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* CopyVariable1 = nullptr;
    QAction* PasteVariable1 = nullptr;
    QAction* CopyNode1 = nullptr;
    QAction* PasteNode1 = nullptr;
    QAction* DeleteItem1 = nullptr;
    TExtPageControl* ExtPageControl1 = nullptr;
    TExtTabSheet* ExtTabSheet1 = nullptr;
    TExtTabSheet* ExtTabSheet2 = nullptr;
    TFormButton* Btn_OK = nullptr;
    TFormButton* Btn_Cancel = nullptr;
    TFormButton* Btn_ImportNet = nullptr;

    // Node page.
    QCheckBox* CB_Node_En = nullptr;
    QLabel* L_Node_Desc = nullptr;
    QLineEdit* E_New_Node_Desc = nullptr;
    QLabel* L_MBus_Type = nullptr;
    QComboBox* CB_MBus_Type = nullptr;
    QRadioButton* RB_ID_Primary = nullptr;
    QLineEdit* E_New_Node_ID_Pri = nullptr;
    QRadioButton* RB_ID_Secondary = nullptr;
    QLineEdit* E_New_Node_ID_Sec = nullptr;
    QCheckBox* CB_Node_State = nullptr;
    QLineEdit* E_Node_State = nullptr;
    QCheckBox* CB_Ident_Num = nullptr;
    QLineEdit* E_Iden = nullptr;
    QCheckBox* CB_BCDtoINT_IN = nullptr;
    QLabel* L_Swap_IN = nullptr;
    QComboBox* CB_Swap_IN = nullptr;
    QCheckBox* CB_SND_NKE = nullptr;
    QCheckBox* CB_Reset_App = nullptr;
    QLabel* L_Var_Type = nullptr;
    QComboBox* CB_Var_Type = nullptr;
    QLabel* L_Cut_After = nullptr;
    QComboBox* CB_Cut_After = nullptr;
    QLabel* L_Cut_Frames = nullptr;
    QCheckBox* CB_Manu_Spec_Data = nullptr;
    QLineEdit* E_Manu_Spec_Data = nullptr;
    QLabel* L_MSD_Length = nullptr;
    QLineEdit* E_MSD_Length = nullptr;
    QLabel* L_MSD_Offset = nullptr;
    QLineEdit* E_MSD_Offset = nullptr;
    QCheckBox* CB_Access_Number = nullptr;
    QLineEdit* E_Access_Number = nullptr;
    TFormButton* btn_Add_Node = nullptr;

    // Wireless panel.
    QWidget* P_wMBus_Node = nullptr;
    QLabel* L_wMBus_ManID = nullptr;
    QLineEdit* E_wMBus_ManID = nullptr;
    QLabel* L_wMBus_Add = nullptr;
    QLineEdit* E_wMBus_Add = nullptr;
    QLabel* L_wMBus_Ver = nullptr;
    QLineEdit* E_wMBus_Ver = nullptr;
    QLabel* L_wMBus_DevType = nullptr;
    QLineEdit* E_wMBus_DevType = nullptr;
    QCheckBox* CB_wMBus_EnKey = nullptr;
    std::array<QLabel*, 16> L_wMBus_K{};
    std::array<QLineEdit*, 16> E_wMBus_K{};
    QCheckBox* CB_wMBus_Node_State = nullptr;
    QLineEdit* E_wMBus_NodeState = nullptr;
    QCheckBox* CB_wMBus_Ident_Num = nullptr;
    QLineEdit* E_wMBus_Ident = nullptr;
    QCheckBox* CB_wMBus_RSSI = nullptr;
    QLineEdit* E_wMBus_RSSI = nullptr;
    QCheckBox* CB_wMBus_Access_Number = nullptr;
    QLineEdit* E_wMBus_Access_Number = nullptr;
    QCheckBox* CB_wMBus_Conv_BCD = nullptr;
    QLabel* L_wMBus_Swap_Ident = nullptr;
    QComboBox* CB_wMBus_Swap_Ident = nullptr;
    QLabel* L_wMBus_VarList = nullptr;
    QComboBox* CB_wMBus_VarList = nullptr;

    // Variable page.
    QCheckBox* CB_Var_En = nullptr;
    QLabel* L_Var_Desc = nullptr;
    QLineEdit* E_New_Var_Desc = nullptr;
    QLabel* L_Var_ToD = nullptr;
    TAlignedComboBox* CB_Var_ToD = nullptr;
    QLabel* L_VIF_ASCII = nullptr;
    QLineEdit* E_VIF_ASCII = nullptr;
    QLabel* L_Var_FF = nullptr;
    QComboBox* CB_Var_FF = nullptr;
    QLabel* L_Var_Dim = nullptr;
    QComboBox* CB_Var_Dim = nullptr;
    QLabel* L_Length = nullptr;
    QLineEdit* E_Length = nullptr;
    QLabel* L_Var_Unit = nullptr;
    QComboBox* CB_Var_Unit = nullptr;
    QLabel* L_Sto_Num = nullptr;
    QLineEdit* E_Sto_Num = nullptr;
    QLabel* L_Tariff = nullptr;
    QLineEdit* E_Tariff = nullptr;
    QLabel* L_VIFE = nullptr;
    TAlignedComboBox* CB_VIFE = nullptr;
    QLabel* L_Var_MR = nullptr;
    QLineEdit* E_Var_MR = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QCheckBox* CB_TP_MR = nullptr;
    QLineEdit* E_TP_Year = nullptr;
    std::array<QLabel*, 6> L_TP{};      // "YY", "MM", "DD", "HH", "MM", "SS"
    std::array<QLineEdit*, 5> ST_TP{};  // month, day, hour, minute, second
    QCheckBox* CB_BCDtoINT = nullptr;
    QCheckBox* CB_Float = nullptr;
    QCheckBox* CB_Force_Int32 = nullptr;
    QLabel* L_PostOpe = nullptr;
    QComboBox* CB_PostOpe = nullptr;
    QLabel* L_Position = nullptr;
    QLineEdit* E_Position = nullptr;
    TFormButton* btn_Add_Var = nullptr;

private:
    struct Row {
        std::vector<QWidget*> widgets;
        int height = 24;
    };

    IUserDialogs& dialogs() const;
    QString lang(int n) const;
    TFNewIDNode& newIdNode();
    void createControls();
    void createNodePage(QWidget* page);
    void createWirelessPanel();
    void createVariablePage(QWidget* page);
    // Places the rows from top, 24 pixels apart (a row may be taller), and hides the others.
    int stackRows(const std::vector<const Row*>& shown, const std::vector<const Row*>& all,
                  int top);
    void fillNodePage(const TNodePageValues& p);
    void fillVarPage(const TVarPageValues& p);
    // Rebuilds the tree from the network, keeping open nodes open, and selects the model's
    // selection without running the selection step.
    void rebuildTree();
    QTreeWidgetItem* itemOfSelection() const;
    void showErrors(const QStringList& errors);
    void updatePasteEntries();
    bool runPasteDialog(const TPasteRequest& request, TPasteAnswer* answer);

    TMeterBusModel m_model;
    IUserDialogs* m_dialogs;
    TFNewIDNode* m_newIdNode;
    bool m_ownNewIdNode = false;
    bool m_readError = false;
    QString m_readMessage;

    Row m_rowNodeEn, m_rowNodeDesc, m_rowMBusType, m_rowPri, m_rowSec, m_rowNodeState, m_rowIdent,
        m_rowBcdIn, m_rowSwap, m_rowSnk, m_rowReset, m_rowVarType, m_rowCut, m_rowMsd,
        m_rowMsdLength, m_rowMsdOffset, m_rowAccess, m_rowWireless, m_rowAddNode;
    Row m_rowVarEn, m_rowVarDesc, m_rowToD, m_rowVifAscii, m_rowFF, m_rowDim, m_rowLength,
        m_rowUnit, m_rowSto, m_rowTariff, m_rowVife, m_rowMR, m_rowTP, m_rowBcd, m_rowFloat,
        m_rowInt32, m_rowPost, m_rowPosition, m_rowAddVar;
};

}  // namespace zfw
