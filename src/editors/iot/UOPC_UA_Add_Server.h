#pragma once
// The modal dialog in which the OPC UA client editor adds a server or changes one. It holds
// no server: the editor fills the controls for a change and copies them back on OK.

#include "controls/FormParts.h"
#include "ruleedit/URuleEditorContext.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace zfw {

class TFOPC_UA_Add_Server final : public TModalForm {
    Q_OBJECT
public:
    explicit TFOPC_UA_Add_Server(const RuleEditorContext& context, QWidget* parent = nullptr);

    void Set_Lang() override;

    // 2 modifies; any other value adds.
    int FormType = 1;

    // Rows below the authorization follow its choice; the window's height follows the rows.
    void Change_Fields();
    // Security type "None" forces the policy to "None" and disables it.
    void Check_Authorization();
    // The first fault is shown and false returned.
    bool Controlla_Dati();
    void Btn_OKClick();

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QCheckBox* CB_OPC_UA_Server_Enable = nullptr;
    QLabel* L_Server_Add = nullptr;
    QLineEdit* E_Server_Add = nullptr;
    QLabel* L_Auth = nullptr;
    QComboBox* CB_Auth = nullptr;
    QLabel* L_User = nullptr;
    QLineEdit* E_User = nullptr;
    QLabel* L_Pass = nullptr;
    QLineEdit* E_Pass = nullptr;
    QLabel* L_Certificate = nullptr;
    QPlainTextEdit* RE_Certificate = nullptr;
    QLabel* L_Priv_Key = nullptr;
    QPlainTextEdit* RE_Priv_Key = nullptr;
    QLabel* L_Sec_Type = nullptr;
    QComboBox* CB_Sec_Type = nullptr;
    QLabel* L_Sec_Policy = nullptr;
    QComboBox* CB_Sec_Policy = nullptr;
    QLabel* L_Mnemonic = nullptr;
    QLineEdit* E_Mnemonic = nullptr;
    QWidget* P_Button = nullptr;
    TFormButton* Btn_OK = nullptr;
    TFormButton* Btn_Cancel = nullptr;

private:
    void FormCreate();
    void FormShow() override;
    QString text(int n) const;

    RuleEditorContext m_ctx;
};

}  // namespace zfw
