#pragma once
// "Import BACnet EDE File": lists the objects of another BACnet device's EDE file and lets
// the user choose which become read rules and which write rules of the client editor, and
// for which device (IP address or slave ID). Opened only by that editor, which sets EDE_File
// and App_BACnet_Type before showing it and takes List_EDE_Var after OK.

#include "controls/FormParts.h"
#include "editors/building/core/BACnetEde.h"
#include "ruleedit/URuleEditorContext.h"

#include <QList>

class QLabel;
class QLineEdit;

namespace zfw {

class TExtColumnGrid;

class TFImportEDEFile final : public TModalForm {
    Q_OBJECT
public:
    explicit TFImportEDEFile(const RuleEditorContext& context, QWidget* parent = nullptr);

    void Set_Lang() override;

    QString EDE_File;
    int App_BACnet_Type = 0;
    // The objects of the last file read, with the user's choices.
    QList<TBACnet_Var> List_EDE_Var;

    void Cancel_EDE_List_Vars();
    void Load_EDE_File();
    void Show_Data_in_Grid();
    void ACGCheckBoxClick(QObject* Sender, int ACol, int ARow, bool State);
    void Btn_Select_AllClick();
    void Btn_Unselect_AllClick();
    void Btn_OKClick();
    // The device as typed into E_ID_IP.
    QString E_ID_IP_text() const;

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* LID_IP = nullptr;
    QLineEdit* E_ID_IP = nullptr;
    TExtColumnGrid* ACG = nullptr;
    TFormButton* Btn_OK = nullptr;
    TFormButton* Btn_Cancel = nullptr;
    TFormButton* Btn_Select_All = nullptr;
    TFormButton* Btn_Unselect_All = nullptr;

protected:
    void FormShow() override;

private:
    void FormCreate();
    void setAllImport(bool on);
    QString text(int n) const;

    RuleEditorContext m_ctx;
};

}  // namespace zfw
