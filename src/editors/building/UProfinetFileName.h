#pragma once
// "PROFINET XML File Name": the GSDML file's name from a fixed first part, a part the user
// types and the date the dialog was made (not renewed on a later day's opening).

#include "controls/FormParts.h"
#include "ruleedit/URuleEditorContext.h"

#include <QDate>

class QLabel;
class QLineEdit;

namespace zfw {

class TFProfinetFileName final : public TModalForm {
    Q_OBJECT
public:
    // today is the local date at creation; it fixes the date part.
    TFProfinetFileName(const RuleEditorContext& context, const QDate& today,
                       QWidget* parent = nullptr);

    void Set_Lang() override;
    void Btn_OK_Click();

    // The composed name, set by OK.
    QString Name_File_XML;

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* L_Select_Name = nullptr;
    QLabel* L_FixPart_1 = nullptr;
    QLabel* L_UsedPart = nullptr;
    QLabel* L_FixPart_2 = nullptr;
    QLabel* L_XML_Fix1 = nullptr;
    QLineEdit* E_XML_User = nullptr;
    QLabel* L_XML_Fix2 = nullptr;
    TFormButton* Btn_OK = nullptr;
    TFormButton* Btn_Cancel = nullptr;

private:
    void FormCreate(const QDate& today);
    QString text(int n) const;

    RuleEditorContext m_ctx;
};

}  // namespace zfw
