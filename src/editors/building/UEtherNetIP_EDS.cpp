#include "editors/building/UEtherNetIP_EDS.h"

#include "common/UComon.h"
#include "editors/building/BuildingFormParts.h"
#include "editors/building/core/UEDSText.h"
#include "grid/ExtGrid.h"
#include "platform/Dialogs.h"

#include <QFileInfo>
#include <QLabel>
#include <QTimer>

namespace zfw {

namespace {

constexpr int kClientWidth = 1150;
constexpr int kClientHeight = 337;
constexpr int kColumns = 9;
constexpr int kTextNoConnection = 4215;

}  // namespace

TFEtherNEtIP_EDS::TFEtherNEtIP_EDS(const RuleEditorContext& context, QWidget* parent)
    : TModalForm(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("TFEtherNEtIP_EDS"));
    FormCreate();
}

QString TFEtherNEtIP_EDS::text(int n) const { return m_ctx.state->lang(n); }

void TFEtherNEtIP_EDS::FormCreate()
{
    const TitlePanel title = makeCodedTitlePanel(this, kClientWidth, m_ctx.buildCode);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;

    ACG = new TExtStringGrid(this);
    ACG->setObjectName(QStringLiteral("ACG"));
    ACG->setGeometry(8, kTitlePanelHeight + 8, kClientWidth - 16,
                     kClientHeight - kTitlePanelHeight - 8 - 48);
    ACG->BeginUpdate();
    ACG->SetColCount(kColumns);
    ACG->SetRowCount(2);
    ACG->SetFixedCols(0);
    ACG->SetFixedRows(1);
    ACG->SetOptions((ACG->Options() | goRowSelect | goColSizing) & ~goEditing);
    const int widths[kColumns] = {90, 200, 240, 110, 120, 110, 120, 120, 120};
    for (int c = 0; c < kColumns; ++c)
        ACG->SetColWidths(c, widths[c]);
    ACG->SetRowHeights(0, 34);
    ACG->EndUpdate();

    Btn_OK = makeFormButton(this, "Btn_OK", kClientWidth - 216, kClientHeight - 40, 100, 32);
    Btn_Cancel = makeFormButton(this, "Btn_Cancel", kClientWidth - 108, kClientHeight - 40, 100,
                                32);
    setFormButtonGlyph(Btn_OK, "LBOK");
    setFormButtonGlyph(Btn_Cancel, "LBCANCEL");
    Btn_OK->setModalResult(mrOk);
    Btn_Cancel->setModalResult(mrCancel);

    TClose = new QTimer(this);
    TClose->setObjectName(QStringLiteral("TClose"));
    TClose->setInterval(10);
    connect(TClose, &QTimer::timeout, this, &TFEtherNEtIP_EDS::TCloseTimer);

    setFixedClientSize(kClientWidth, kClientHeight);
    Set_Lang();
}

void TFEtherNEtIP_EDS::Set_Lang()
{
    setWindowTitle(text(4200));
    L_SW_Desc->setText(text(4201));
    L_SW_Desc->adjustSize();
    Btn_OK->setText(text(4202));
    Btn_Cancel->setText(text(4203));
    Btn_OK->setToolTip(text(4204));
    Btn_Cancel->setToolTip(text(4205));
    for (int c = 0; c < kColumns; ++c)
        ACG->SetCells(c, 0, text(4206 + c));
}

void TFEtherNEtIP_EDS::FormShow()
{
    List_Conn.clear();
    VendCode = ProdType = ProdCode = 0;
    MajRev = MinRev = 0;
    if (QFileInfo::exists(EDS_FileName)) {
        QString error;
        if (const auto lines = readEdsLines(EDS_FileName, &error)) {
            const EdsConnections found = decodeEdsConnections(*lines);
            List_Conn = found.List_Conn;
            VendCode = found.identity.VendCode;
            ProdType = found.identity.ProdType;
            ProdCode = found.identity.ProdCode;
            MajRev = found.identity.MajRev;
            MinRev = found.identity.MinRev;
        }
    }
    ShowDatainGrid();
}

void TFEtherNEtIP_EDS::ShowDatainGrid()
{
    ACG->BeginUpdate();
    ACG->SetRowCount(2);
    for (int c = 0; c < kColumns; ++c)
        ACG->SetCells(c, 1, QString());
    if (List_Conn.isEmpty()) {
        ACG->EndUpdate();
        // The message waits for the window to be on screen.
        TClose->start();
        return;
    }
    ACG->SetRowCount(int(List_Conn.size()) + 1);
    for (int k = 0; k < List_Conn.size(); ++k) {
        const TConnData& c = List_Conn[k];
        const int r = k + 1;
        ACG->SetCells(0, r, QStringLiteral("Connection%1").arg(k + 1));
        ACG->SetCells(1, r, c.ConnName);
        ACG->SetCells(2, r, c.HelpStr);
        ACG->SetCells(3, r, QString::number(c.InstanceOT));
        ACG->SetCells(4, r, QString::number(c.ConnPointOT));
        ACG->SetCells(5, r, QString::number(c.InstanceTO));
        ACG->SetCells(6, r, QString::number(c.ConnPointTO));
        ACG->SetCells(7, r, dimHeaderOTText(c.DimHeaderOT));
        ACG->SetCells(8, r, dimHeaderTOText(c.DimHeaderTO));
    }
    ACG->EndUpdate();
    ACG->MoveCurrentCell(0, 1, true, true);
    ACG->SetLeftCol(0);
}

void TFEtherNEtIP_EDS::TCloseTimer()
{
    TClose->stop();
    m_ctx.dialogs->showError(text(kTextNoConnection), this);
    done(mrCancel);
}

EdsDeviceIdentity TFEtherNEtIP_EDS::identity() const
{
    return {VendCode, ProdType, ProdCode, MajRev, MinRev};
}

const TConnData* TFEtherNEtIP_EDS::chosenConnection() const
{
    const int r = ACG->Row();
    if (r < 1 || r > List_Conn.size())
        return nullptr;
    return &List_Conn[r - 1];
}

}  // namespace zfw
