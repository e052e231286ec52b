#pragma once
// "Select the BACnet Engineering Unit": the small dialog in which the user picks a unit by
// category and name for an Eng. Unit cell of the server objects editor. The caller puts the
// cell's unit into E_Selected_EU and its name into Label5, shows the dialog modally and, on
// OK, takes E_Selected_EU back, whether picked or typed.

#include "controls/FormParts.h"
#include "ruleedit/URuleEditorContext.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace zfw {

class TFBACnet_Eng_Unit final : public TModalForm {
    Q_OBJECT
public:
    explicit TFBACnet_Eng_Unit(const RuleEditorContext& context, QWidget* parent = nullptr);

    void Set_Lang() override;

    // The name of the unit number; "unknown" for a number without one.
    static QString Desc_Unit(int Num_Unit);

    // Fills the unit list with the selected category's entries and selects the first.
    void CB_Select_TypeSelect();
    // Takes the selected unit into E_Selected_EU and Label5; the dialog stays open.
    void Btn_Select_Eng_UnitClick();

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* E_Selected_EU = nullptr;
    QComboBox* CB_Select_Type = nullptr;
    QComboBox* CB_Select_Unit = nullptr;
    TFormButton* Btn_Select_Eng_Unit = nullptr;
    TFormButton* Btn_OK = nullptr;
    TFormButton* Btn_Cancel = nullptr;

protected:
    void FormShow() override;

private:
    void FormCreate();

    RuleEditorContext m_ctx;
};

}  // namespace zfw
