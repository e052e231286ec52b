#pragma once
// "EtherNet/IP Data Segment Editor": the parameters of one target configuration in a string
// grid, their values typed or, for enumerated ones, chosen from their descriptions. Opened by
// the scanner editor on a copy of a rule's configuration (TC); OK passes when every typed
// value lies within its parameter's limits.

#include "controls/FormParts.h"
#include "editors/building/core/UTargetConfig.h"
#include "grid/GridSettingsEnums.h"
#include "ruleedit/URuleEditorContext.h"

class QLabel;

namespace zfw {

class TExtStringGrid;

class TFEtherNetIP_Data_Seg final : public TModalForm {
    Q_OBJECT
public:
    explicit TFEtherNetIP_Data_Seg(const RuleEditorContext& context, QWidget* parent = nullptr);

    void Set_Lang() override;
    void Init_Table();
    // A deep copy, owned by the caller.
    static TTargetConfig CopyTargetConf(const TTargetConfig& app) { return app; }
    void ESG_DataSegGetEditorType(int ACol, int ARow, TEditorType& AEditor);
    void ESG_DataSegComboChange(int ARow, const QString& ASelection);
    bool Check_Value();
    void Btn_OKClick();

    // The configuration being edited; only the parameters' Value change.
    TTargetConfig TC;

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    TExtStringGrid* ESG_DataSeg = nullptr;
    TFormButton* Btn_OK = nullptr;
    TFormButton* Btn_Cancel = nullptr;

protected:
    void FormShow() override;

private:
    void FormCreate();
    QString text(int n) const;

    RuleEditorContext m_ctx;
};

}  // namespace zfw
