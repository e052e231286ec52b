#include "editors/building/UProfinetFileName.h"

#include "common/UComon.h"
#include "editors/building/BuildingFormParts.h"
#include "editors/building/core/UGSDMLWriter.h"
#include "platform/Dialogs.h"

#include <QLabel>
#include <QLineEdit>

namespace zfw {

namespace {

constexpr int kClientWidth = 540;
constexpr int kClientHeight = 205;

}  // namespace

TFProfinetFileName::TFProfinetFileName(const RuleEditorContext& context, const QDate& today,
                                       QWidget* parent)
    : TModalForm(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("TFProfinetFileName"));
    FormCreate(today);
}

QString TFProfinetFileName::text(int n) const { return m_ctx.state->lang(n); }

void TFProfinetFileName::FormCreate(const QDate& today)
{
    const TitlePanel title = makeCodedTitlePanel(this, kClientWidth, m_ctx.buildCode);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;

    L_Select_Name = makeFormLabel(this, "L_Select_Name", 8, 66);
    L_FixPart_1 = makeFormLabel(this, "L_FixPart_1", 8, 96);
    L_UsedPart = makeFormLabel(this, "L_UsedPart", 179, 96);
    L_FixPart_2 = makeFormLabel(this, "L_FixPart_2", 447, 96);
    L_XML_Fix1 = makeFormLabel(this, "L_XML_Fix1", 8, 122);
    L_XML_Fix1->setText(QString::fromLatin1(kGsdmlNameFix1));
    L_XML_Fix1->adjustSize();
    E_XML_User = new QLineEdit(this);
    E_XML_User->setObjectName(QStringLiteral("E_XML_User"));
    E_XML_User->setGeometry(179, 118, 260, 22);
    L_XML_Fix2 = makeFormLabel(this, "L_XML_Fix2", 447, 122);
    L_XML_Fix2->setText(gsdmlDatePart(today));
    L_XML_Fix2->adjustSize();

    Btn_OK = makeFormButton(this, "Btn_OK", kClientWidth - 216, kClientHeight - 40, 100, 32);
    Btn_Cancel = makeFormButton(this, "Btn_Cancel", kClientWidth - 108, kClientHeight - 40, 100,
                                32);
    setFormButtonGlyph(Btn_OK, "LBOK");
    setFormButtonGlyph(Btn_Cancel, "LBCANCEL");
    Btn_Cancel->setModalResult(mrCancel);
    connect(Btn_OK, &QAbstractButton::clicked, this, &TFProfinetFileName::Btn_OK_Click);

    setFixedClientSize(kClientWidth, kClientHeight);
    Set_Lang();
}

void TFProfinetFileName::Set_Lang()
{
    setWindowTitle(text(4800));
    L_SW_Desc->setText(text(4801));
    L_SW_Desc->adjustSize();
    const std::pair<QLabel*, int> labels[] = {{L_Select_Name, 4802},
                                              {L_FixPart_1, 4803},
                                              {L_UsedPart, 4804},
                                              {L_FixPart_2, 4805}};
    for (const auto& [label, n] : labels) {
        label->setText(text(n));
        label->adjustSize();
    }
    Btn_OK->setText(text(4806));
    Btn_Cancel->setText(text(4807));
}

void TFProfinetFileName::Btn_OK_Click()
{
    Name_File_XML = composeGsdmlFileName(E_XML_User->text(), L_XML_Fix2->text());
    done(mrOk);
}

}  // namespace zfw
