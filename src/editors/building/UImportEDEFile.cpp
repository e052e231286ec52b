#include "editors/building/UImportEDEFile.h"

#include "common/TextUtil.h"
#include "common/UComon.h"
#include "common/UComonValidators.h"
#include "editors/building/BuildingFormParts.h"
#include "editors/building/core/BACnetClientRules.h"
#include "grid/ColumnGrid.h"
#include "platform/Dialogs.h"

#include <QLabel>
#include <QLineEdit>

namespace zfw {

namespace {

constexpr int kClientWidth = 863;
constexpr int kClientHeight = 337;
constexpr int kColumns = 9;
constexpr int kResetRows = 512;

enum Col {
    ColNumber,
    ColImport,
    ColRead,
    ColWrite,
    ColName,
    ColType,
    ColInstance,
    ColDesc,
    ColCmd
};

constexpr int kTextTooShort = 1422;
constexpr int kTextUnreadable = 1425;
constexpr int kTextLeftOut = 1426;

QString yn(bool on) { return on ? QStringLiteral("Y") : QStringLiteral("N"); }

}  // namespace

TFImportEDEFile::TFImportEDEFile(const RuleEditorContext& context, QWidget* parent)
    : TModalForm(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("TFImportEDEFile"));
    FormCreate();
}

QString TFImportEDEFile::text(int n) const { return m_ctx.state->lang(n); }

void TFImportEDEFile::FormCreate()
{
    applyCreamFormLook(this);
    const TitlePanel title = makeCodedTitlePanel(this, kClientWidth, m_ctx.buildCode);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;

    LID_IP = makeFormLabel(this, "LID_IP", 8, 66);
    E_ID_IP = new QLineEdit(this);
    E_ID_IP->setObjectName(QStringLiteral("E_ID_IP"));
    E_ID_IP->setGeometry(290, 62, 160, 22);

    ACG = new TExtColumnGrid(this);
    ACG->setObjectName(QStringLiteral("ACG"));
    ACG->setGeometry(8, 90, kClientWidth - 16, kClientHeight - 90 - 46);
    ACG->BeginUpdate();
    ACG->SetColCount(kColumns);
    ACG->SetRowCount(kResetRows + 1);
    ACG->SetFixedCols(1);
    ACG->SetFixedRows(1);
    ACG->SetDefaultRowHeight(20);
    ACG->SetOptions(ACG->Options() | goColSizing | goEditing);
    const int widths[kColumns] = {40, 56, 56, 56, 170, 80, 70, 220, 96};
    for (int c = 0; c < kColumns; ++c) {
        TGridColumnItem* item = ACG->Columns().GetItem(c);
        item->SetWidth(widths[c]);
        switch (c) {
        case ColNumber: item->SetEditor(TEditorType::edNone); break;
        case ColImport:
        case ColRead:
        case ColWrite: item->SetEditor(TEditorType::edDataCheckBox); break;
        case ColCmd:
            item->SetEditor(TEditorType::edDataCheckBox);
            item->SetReadOnly(true);
            break;
        default:
            item->SetEditor(TEditorType::edNormal);
            item->SetReadOnly(true);
            break;
        }
    }
    ACG->EndUpdate();
    ACG->Loaded();
    ACG->OnCheckBoxClick = [this](QObject* s, int DCol, int r, bool state) {
        ACGCheckBoxClick(s, ACG->RealColIndex(DCol), r, state);
    };

    Btn_Select_All = makeFormButton(this, "Btn_Select_All", 8, kClientHeight - 40, 120, 32);
    Btn_Unselect_All = makeFormButton(this, "Btn_Unselect_All", 132, kClientHeight - 40, 120, 32);
    Btn_OK = makeFormButton(this, "Btn_OK", kClientWidth - 216, kClientHeight - 40, 100, 32);
    Btn_Cancel = makeFormButton(this, "Btn_Cancel", kClientWidth - 108, kClientHeight - 40, 100,
                                32);
    setFormButtonGlyph(Btn_OK, "LBOK");
    setFormButtonGlyph(Btn_Cancel, "LBCANCEL");
    Btn_Cancel->setModalResult(mrCancel);
    connect(Btn_OK, &QAbstractButton::clicked, this, &TFImportEDEFile::Btn_OKClick);
    connect(Btn_Select_All, &QAbstractButton::clicked, this, &TFImportEDEFile::Btn_Select_AllClick);
    connect(Btn_Unselect_All, &QAbstractButton::clicked, this,
            &TFImportEDEFile::Btn_Unselect_AllClick);

    setFixedClientSize(kClientWidth, kClientHeight);
    Set_Lang();
}

void TFImportEDEFile::Set_Lang()
{
    setWindowTitle(text(1400));
    L_SW_Desc->setText(text(1401));
    L_SW_Desc->adjustSize();
    Btn_OK->setText(text(1402));
    Btn_Cancel->setText(text(1403));
    Btn_Select_All->setText(text(1420));
    Btn_Unselect_All->setText(text(1421));
    LID_IP->setText(text(1415));
    LID_IP->adjustSize();
    for (int c = 0; c < kColumns; ++c)
        ACG->Columns().GetItem(c)->SetHeader(text(1404 + c));
}

void TFImportEDEFile::FormShow()
{
    ACG->BeginUpdate();
    ACG->SetRowCount(kResetRows + 1);
    for (int r = 1; r <= kResetRows; ++r) {
        ACG->SetCellEx(ColNumber, r, QString::number(r));
        for (int c = 1; c < kColumns; ++c)
            ACG->SetCellEx(c, r, QString());
    }
    ACG->EndUpdate();
    if (E_ID_IP->isEnabled() && E_ID_IP->isVisible())
        E_ID_IP->setFocus();
    Cancel_EDE_List_Vars();
    Load_EDE_File();
    Show_Data_in_Grid();
}

void TFImportEDEFile::Cancel_EDE_List_Vars() { List_EDE_Var.clear(); }

void TFImportEDEFile::Load_EDE_File()
{
    List_EDE_Var.clear();
    const EdeFileBytes file = readEdeFile(EDE_File);
    if (!file.error.isEmpty()) {
        m_ctx.dialogs->showError(text(kTextUnreadable) + file.error, this);
        return;
    }
    const EdeReadResult read = readEdeObjects(file.bytes);
    List_EDE_Var = read.objects;
    if (read.tooShort)
        m_ctx.dialogs->showError(text(kTextTooShort), this);
    else if (read.objectsLeftOut > 0)
        m_ctx.dialogs->showWarning(text(kTextLeftOut) + QString::number(read.objectsLeftOut), this);
}

void TFImportEDEFile::Show_Data_in_Grid()
{
    const int objects = int(List_EDE_Var.size());
    ACG->BeginUpdate();
    ACG->SetRowCount(qMax(objects, 1) + 1);
    if (objects == 0)
        for (int c = 1; c < kColumns; ++c)
            ACG->SetCellEx(c, 1, QString());
    for (int k = 0; k < objects; ++k) {
        const TBACnet_Var& v = List_EDE_Var[k];
        const int r = k + 1;
        ACG->SetCellEx(ColNumber, r, QString::number(r));
        ACG->SetCellEx(ColImport, r, yn(v.import));
        ACG->SetCellEx(ColRead, r, yn(v.read));
        ACG->SetCellEx(ColWrite, r, yn(v.write));
        ACG->SetCellEx(ColName, r, v.object_name);
        ACG->SetCellEx(ColType, r, QString::number(v.object_type));
        ACG->SetCellEx(ColInstance, r, QString::number(v.object_instance));
        ACG->SetCellEx(ColDesc, r, v.description);
        ACG->SetCellEx(ColCmd, r, yn(v.commandable));
    }
    ACG->EndUpdate();
}

void TFImportEDEFile::ACGCheckBoxClick(QObject*, int ACol, int ARow, bool State)
{
    if (ARow < 1 || ARow > List_EDE_Var.size())
        return;
    TBACnet_Var& v = List_EDE_Var[ARow - 1];
    switch (ACol) {
    case ColImport: v.import = State; break;
    case ColRead: v.read = State; break;
    case ColWrite:
        if (State && !v.commandable) {
            m_ctx.dialogs->showError(text(1413) + QString::number(ARow) + text(1414), this);
            ACG->SetCellEx(ColWrite, ARow, yn(false));
            v.write = false;
            break;
        }
        v.write = State && v.commandable;
        break;
    default: break;
    }
}

void TFImportEDEFile::setAllImport(bool on)
{
    ACG->BeginUpdate();
    for (int k = 0; k < List_EDE_Var.size(); ++k) {
        List_EDE_Var[k].import = on;
        ACG->SetCellEx(ColImport, k + 1, yn(on));
    }
    ACG->EndUpdate();
}

void TFImportEDEFile::Btn_Select_AllClick() { setAllImport(true); }

void TFImportEDEFile::Btn_Unselect_AllClick() { setAllImport(false); }

QString TFImportEDEFile::E_ID_IP_text() const { return E_ID_IP->text(); }

void TFImportEDEFile::Btn_OKClick()
{
    const QString id = E_ID_IP->text();
    if (App_BACnet_Type == kBACnetTypeIp) {
        quint8 a = 0, b = 0, c = 0, d = 0;
        if (IP_Str_To_Bytes(id, a, b, c, d)) {
            m_ctx.dialogs->showError(text(1416), this);
            return;
        }
    } else if (App_BACnet_Type == kBACnetTypeMstp) {
        const int n = strToIntDef(id, -1);
        if (n < 0 || n > 254) {
            m_ctx.dialogs->showError(text(1417), this);
            return;
        }
    }
    done(mrOk);
}

}  // namespace zfw
