#pragma once
// The dialog in which the MQTT topics editor edits one topic or template cell: a text box of
// many lines beside the table of the template keywords. It changes no cell itself: the
// editor fills the box before showing it and takes the box's text on OK.

#include "controls/FormParts.h"
#include "ruleedit/URuleEditorContext.h"

class QLabel;
class QPlainTextEdit;
class QSplitter;

namespace zfw {

class TExtStringGrid;

class TFTopicTemplate final : public TModalForm {
    Q_OBJECT
public:
    explicit TFTopicTemplate(const RuleEditorContext& context, QWidget* parent = nullptr);

    void Set_Lang() override;
    // Fills the keyword table from the keyword list and its descriptions: the keyword
    // editable, its description read-only.
    void Laod_Keywords();

    // Set by the editor before each showing: 1 when a template cell is edited, else 0;
    // the editor's working mode; 0 for a publish, 1 for a subscribe topic.
    int TopicTemplate = 0;
    int Working_Mode = 0;
    int Pub_Sub = 0;

    QWidget* P_Title = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QPlainTextEdit* RE_TopicTemplate = nullptr;
    QSplitter* Splitter1 = nullptr;
    QWidget* P_Legend = nullptr;
    QLabel* L_List_Keywords = nullptr;
    TExtStringGrid* ESG_Keywords = nullptr;
    QWidget* P_Button = nullptr;
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
