#pragma once
// New Configuration: asks for a name and creates the project folder, with its bin folder,
// in PROJECTS; the new project becomes the active one.

#include "controls/FormParts.h"

class QLabel;
class QLineEdit;

namespace zfw {

class TFNew_Project final : public TModalForm {
    Q_OBJECT
public:
    explicit TFNew_Project(QWidget* parent = nullptr);

    void Set_Lang() override;

    // The OK action: checks the name, creates the project and closes with OK, or shows why
    // the name is refused and stays open.
    void Btn_OKClick();

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* E_New_Proj = nullptr;
    TFormButton* Btn_OK = nullptr;
    TFormButton* Btn_Cancel = nullptr;

private:
    void FormCreate();
    void FormShow() override;
};

// The entry of folder whose name equals name without regard to letter case, as the file
// systems the projects come from compare names; empty when there is none.
QString findEntryIgnoringCase(const QString& folder, const QString& name);

}  // namespace zfw
