#include "editors/building/UEtherNetIP_Data_Seg.h"

#include "common/UComon.h"
#include "editors/building/BuildingFormParts.h"
#include "editors/building/core/UEtherNetIPImport.h"
#include "grid/ExtGrid.h"
#include "platform/Dialogs.h"

#include <QLabel>

namespace zfw {

namespace {

constexpr int kClientWidth = 800;
constexpr int kClientHeight = 337;
constexpr int kColumns = 9;
constexpr int kValueCol = 4;
constexpr int kValueIntCol = 8;
constexpr int kTextOutOfRange = 6315;
// Red 224, green 250, blue 254 in the grid's 0xBBGGRR form.
constexpr TColor kValueColour = TColor(16710368);

}  // namespace

TFEtherNetIP_Data_Seg::TFEtherNetIP_Data_Seg(const RuleEditorContext& context, QWidget* parent)
    : TModalForm(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("TFEtherNetIP_Data_Seg"));
    FormCreate();
}

QString TFEtherNetIP_Data_Seg::text(int n) const { return m_ctx.state->lang(n); }

void TFEtherNetIP_Data_Seg::FormCreate()
{
    const TitlePanel title = makeCodedTitlePanel(this, kClientWidth, m_ctx.buildCode);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;

    ESG_DataSeg = new TExtStringGrid(this);
    ESG_DataSeg->setObjectName(QStringLiteral("ESG_DataSeg"));
    ESG_DataSeg->setGeometry(8, kTitlePanelHeight + 8, kClientWidth - 16,
                             kClientHeight - kTitlePanelHeight - 8 - 48);
    ESG_DataSeg->OnGetEditorType = [this](QObject*, int DCol, int ARow, TEditorType& e) {
        ESG_DataSegGetEditorType(ESG_DataSeg->RealColIndex(DCol), ARow, e);
    };
    ESG_DataSeg->OnComboChange = [this](QObject*, int, int ARow, int, const QString& s) {
        ESG_DataSegComboChange(ARow, s);
    };

    Btn_OK = makeFormButton(this, "Btn_OK", kClientWidth - 216, kClientHeight - 40, 100, 32);
    Btn_Cancel = makeFormButton(this, "Btn_Cancel", kClientWidth - 108, kClientHeight - 40, 100,
                                32);
    setFormButtonGlyph(Btn_OK, "LBOK");
    setFormButtonGlyph(Btn_Cancel, "LBCANCEL");
    Btn_Cancel->setModalResult(mrCancel);
    connect(Btn_OK, &QAbstractButton::clicked, this, &TFEtherNetIP_Data_Seg::Btn_OKClick);

    setFixedClientSize(kClientWidth, kClientHeight);
    Set_Lang();
    Init_Table();
}

void TFEtherNetIP_Data_Seg::Set_Lang()
{
    setWindowTitle(text(6300));
    L_SW_Desc->setText(text(6301));
    L_SW_Desc->adjustSize();
    Btn_OK->setText(text(6302));
    Btn_Cancel->setText(text(6303));
    Btn_OK->setToolTip(text(6304));
    Btn_Cancel->setToolTip(text(6305));
    for (int c = 0; c < kColumns; ++c)
        ESG_DataSeg->SetCells(c, 0, text(6306 + c));
}

void TFEtherNetIP_Data_Seg::Init_Table()
{
    ESG_DataSeg->BeginUpdate();
    ESG_DataSeg->SetColCount(kColumns);
    ESG_DataSeg->SetRowCount(2);
    ESG_DataSeg->SetFixedCols(0);
    ESG_DataSeg->SetFixedRows(1);
    ESG_DataSeg->SetOptions(ESG_DataSeg->Options() | goColSizing | goEditing);
    for (int c = 0; c < kColumns; ++c)
        ESG_DataSeg->SetCells(c, 0, text(6306 + c));
    const int widths[kColumns] = {45, 100, 60, 60, 200, 60, 60, 60, 60};
    for (int c = 0; c < kColumns; ++c)
        ESG_DataSeg->SetColWidths(c, widths[c]);
    // Two lines for headers such as "Num Bytes" in their narrow columns.
    ESG_DataSeg->SetRowHeights(0, 34);
    ESG_DataSeg->EndUpdate();
}

void TFEtherNetIP_Data_Seg::FormShow()
{
    ESG_DataSeg->BeginUpdate();
    const auto& params = TC.ListParamObject;
    if (params.isEmpty()) {
        ESG_DataSeg->SetRowCount(2);
        for (int c = 0; c < kColumns; ++c)
            ESG_DataSeg->SetCells(c, 1, QString());
    } else {
        ESG_DataSeg->SetRowCount(int(params.size()) + 1);
        for (int k = 0; k < params.size(); ++k) {
            const TTC_ParamObj& p = params[k];
            const int r = k + 1;
            ESG_DataSeg->SetCells(0, r, QString::number(r));
            ESG_DataSeg->SetCells(1, r, p.Name);
            ESG_DataSeg->SetCells(2, r, QString::number(p.DataSizeByte));
            ESG_DataSeg->SetCells(3, r, QString::number(p.DataType));
            ESG_DataSeg->SetCells(kValueCol, r,
                                  p.Enum ? p.GetEnumString() : QString::number(p.Value));
            ESG_DataSeg->SetCells(5, r, QString::number(p.Default));
            ESG_DataSeg->SetCells(6, r, QString::number(p.Min));
            ESG_DataSeg->SetCells(7, r, QString::number(p.Max));
            ESG_DataSeg->SetCells(kValueIntCol, r, p.Enum ? QString::number(p.Value) : QString());
            // Only the Value cells are typed into; the others are never read back.
            for (int c = 0; c < kColumns; ++c)
                ESG_DataSeg->SetReadOnly(c, r, c != kValueCol);
            ESG_DataSeg->SetColors(kValueCol, r, kValueColour);
        }
    }
    ESG_DataSeg->EndUpdate();
    ESG_DataSeg->SetLeftCol(0);
}

void TFEtherNetIP_Data_Seg::ESG_DataSegGetEditorType(int ACol, int ARow, TEditorType& AEditor)
{
    if (ACol != kValueCol)
        return;
    ESG_DataSeg->ClearComboString();
    if (ARow < 1 || ARow > TC.ListParamObject.size())
        return;
    const TTC_ParamObj& p = TC.ListParamObject[ARow - 1];
    if (p.Enum) {
        AEditor = TEditorType::edComboList;
        for (const QString& s : p.EnumString)
            ESG_DataSeg->AddComboString(s);
    } else {
        AEditor = TEditorType::edNormal;
    }
}

void TFEtherNetIP_Data_Seg::ESG_DataSegComboChange(int ARow, const QString& ASelection)
{
    if (ARow < 1 || ARow > TC.ListParamObject.size())
        return;
    TTC_ParamObj& p = TC.ListParamObject[ARow - 1];
    p.Value = p.SetValueFromEnum(ASelection);
    ESG_DataSeg->SetCells(kValueIntCol, ARow, QString::number(p.Value));
}

bool TFEtherNetIP_Data_Seg::Check_Value()
{
    QStringList texts;
    for (int k = 0; k < TC.ListParamObject.size(); ++k)
        texts.append(ESG_DataSeg->Cells(kValueCol, k + 1));
    const auto fault = zfw::Check_Value(TC, texts);
    if (!fault)
        return true;
    m_ctx.dialogs->showError(dataSegFaultMessage(text(kTextOutOfRange), *fault), this);
    return false;
}

void TFEtherNetIP_Data_Seg::Btn_OKClick()
{
    if (Check_Value())
        done(mrOk);
}

}  // namespace zfw
