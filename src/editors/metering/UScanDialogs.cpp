#include "editors/metering/UScanDialogs.h"

#include "common/UComon.h"
#include "editors/metering/core/MBusDialogChecks.h"
#include "grid/ColumnGrid.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace zfw {

namespace {

constexpr TColor kStartColour = 0xFFE0C0;  // light blue: the column the user types in

QString lang(int n) { return programState().lang(n); }

IUserDialogs& dialogsOf(IUserDialogs* given) { return given ? *given : *services().dialogs; }

// A label text with "&&" shown as one ampersand, as the texts are written.
QString plainText(QString text) { return text.replace(QStringLiteral("&&"), QStringLiteral("&")); }

}  // namespace

TFInsertKeyWireless::TFInsertKeyWireless(QWidget* parent, IUserDialogs* dialogs)
    : TModalForm(parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("TFInsertKeyWireless"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setGeometry(0, 0, 481, 47);
    L_InsKey = new QLabel(this);
    L_InsKey->setObjectName(QStringLiteral("L_InsKey"));
    L_InsKey->setGeometry(8, 13, 100, 21);
    E_Key = new QLineEdit(this);
    E_Key->setObjectName(QStringLiteral("E_Key"));
    E_Key->setGeometry(110, 13, 250, 21);
    E_Key->setMaxLength(32);
    Btn_OK = makeFormButton(this, "Btn_OK", 366, 10, 52, 27);
    Btn_Cancel = makeFormButton(this, "Btn_Cancel", 422, 10, 52, 27);
    // Letters turn to upper case as they are typed; the cursor stays where it was.
    connect(E_Key, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const int cursor = E_Key->cursorPosition();
        E_Key->setText(upper);
        E_Key->setCursorPosition(cursor);
    });
    connect(Btn_OK, &QAbstractButton::clicked, this, [this] { Btn_OKClick(); });
    connect(Btn_Cancel, &QAbstractButton::clicked, this, [this] { done(mrCancel); });
    setFixedClientSize(481, 47);
    Set_Lang();
}

void TFInsertKeyWireless::Set_Lang()
{
    L_InsKey->setText(lang(2300));
    Btn_OK->setText(lang(2301));
    Btn_Cancel->setText(lang(2302));
}

bool TFInsertKeyWireless::Check_Data(const QString& key)
{
    for (const QChar c : key)
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F')))
            return false;
    return true;
}

void TFInsertKeyWireless::Btn_OKClick()
{
    // The length first, then the characters.
    if (const int refusal = checkWirelessKey(E_Key->text())) {
        dialogsOf(m_dialogs).showError(lang(refusal), this);
        return;
    }
    done(mrOk);
}

TFScanModbusStart::TFScanModbusStart(QWidget* parent, IUserDialogs* dialogs)
    : TModalForm(parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("TFScanModbusStart"));
    const TitlePanel title = makeTitlePanel(this, 331);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;
    L_StartModAdd = new QLabel(this);
    L_StartModAdd->setObjectName(QStringLiteral("L_StartModAdd"));
    L_StartModAdd->setGeometry(8, kTitlePanelHeight + 6, 315, 21);
    E_StartModAdd = new QLineEdit(this);
    E_StartModAdd->setObjectName(QStringLiteral("E_StartModAdd"));
    E_StartModAdd->setGeometry(8, kTitlePanelHeight + 30, 100, 21);
    E_StartModAdd->setText(QStringLiteral("1"));
    Btn_OK = makeFormButton(this, "Btn_OK", 331 - 208, 162 - 44, 96, 36);
    Btn_Cancel = makeFormButton(this, "Btn_Cancel", 331 - 104, 162 - 44, 96, 36);
    setFormButtonGlyph(Btn_OK, "LBOK");
    setFormButtonGlyph(Btn_Cancel, "LBCANCEL");
    connect(Btn_OK, &QAbstractButton::clicked, this, [this] { Btn_OKClick(); });
    connect(Btn_Cancel, &QAbstractButton::clicked, this, [this] { done(mrCancel); });
    setFixedClientSize(331, 162);
    Set_Lang();
}

void TFScanModbusStart::Set_Lang()
{
    setWindowTitle(lang(2200));
    L_SW_Code->setText(plainText(lang(2201)));
    L_SW_Code->adjustSize();
    L_SW_Desc->setText(plainText(lang(2202)));
    L_SW_Desc->adjustSize();
    L_StartModAdd->setText(lang(2203));
    Btn_OK->setText(lang(2204));
    Btn_Cancel->setText(lang(2205));
}

void TFScanModbusStart::Btn_OKClick()
{
    const std::optional<int> start = startModbusRegister(E_StartModAdd->text());
    if (!start) {
        dialogsOf(m_dialogs).showError(lang(2206), this);
        return;
    }
    StartModAdd = *start;
    done(mrOk);
}

TFModbusStartAdd_SD::TFModbusStartAdd_SD(QWidget* parent, IUserDialogs* dialogs)
    : TModalForm(parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("TFModbusStartAdd_SD"));
    const TitlePanel title = makeTitlePanel(this, 511);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;
    L_SW_Code->setText(programState().SW_Code);
    L_SW_Code->adjustSize();
    CB_En_NodeState = new QCheckBox(this);
    CB_En_NodeState->setObjectName(QStringLiteral("CB_En_NodeState"));
    CB_En_NodeState->setGeometry(8, kTitlePanelHeight + 8, 240, 21);
    CB_En_IndNum = new QCheckBox(this);
    CB_En_IndNum->setObjectName(QStringLiteral("CB_En_IndNum"));
    CB_En_IndNum->setGeometry(256, kTitlePanelHeight + 8, 248, 21);
    sga = new TExtColumnGrid(this);
    sga->setObjectName(QStringLiteral("sga"));
    sga->setGeometry(8, kTitlePanelHeight + 36, 511 - 16, 336 - kTitlePanelHeight - 36 - 52);
    sga->SetColCount(2);
    // The title row stays fixed; the grid keeps one row under it even with no node.
    sga->SetRowCount(2);
    sga->SetFixedRows(1);
    sga->SetFixedCols(0);
    sga->SetLeftCol(0);
    sga->SetDefaultRowHeight(21);
    sga->SetOptions(sga->Options() | goEditing);
    for (int c = 0; c < 2; ++c) {
        TGridColumnItem* item = sga->Columns().GetItem(c);
        item->SetWidth(200);
        if (c == 1)
            item->SetColor(kStartColour);
    }
    Btn_OK = makeFormButton(this, "Btn_OK", 511 - 280, 336 - 44, 130, 36);
    Btn_Cancel = makeFormButton(this, "Btn_Cancel", 511 - 140, 336 - 44, 130, 36);
    setFormButtonGlyph(Btn_OK, "LBOK");
    setFormButtonGlyph(Btn_Cancel, "LBCANCEL");
    connect(Btn_OK, &QAbstractButton::clicked, this, [this] { Btn_OKClick(); });
    connect(Btn_Cancel, &QAbstractButton::clicked, this, [this] { done(mrCancel); });
    setFixedClientSize(511, 336);
    Set_Lang();
}

void TFModbusStartAdd_SD::Set_Lang()
{
    setWindowTitle(lang(2400));
    L_SW_Desc->setText(lang(2401));
    L_SW_Desc->adjustSize();
    CB_En_NodeState->setText(lang(2402));
    CB_En_IndNum->setText(lang(2403));
    sga->Columns().GetItem(0)->SetHeader(lang(2404));
    sga->Columns().GetItem(1)->SetHeader(lang(2405));
    Btn_OK->setText(lang(2406));
    Btn_Cancel->setText(lang(2407));
}

void TFModbusStartAdd_SD::setNodes(const QStringList& ids)
{
    m_dataRows = int(ids.size());
    sga->SetRowCount(1 + std::max(1, m_dataRows));
    sga->SetCells(0, 1, QString());
    sga->SetCells(1, 1, QString());
    for (int i = 0; i < ids.size(); ++i) {
        sga->SetCells(0, i + 1, ids[i]);
        sga->SetCells(1, i + 1, QStringLiteral("1"));
    }
}

std::vector<QString> TFModbusStartAdd_SD::startRegisters() const
{
    std::vector<QString> starts;
    for (int r = 1; r <= m_dataRows; ++r)
        starts.push_back(sga->Cells(1, r));
    return starts;
}

void TFModbusStartAdd_SD::setStartRegister(int dataRow, const QString& text)
{
    sga->SetCells(1, dataRow, text);
}

bool TFModbusStartAdd_SD::Check_Data()
{
    const QString fault = checkStartRegisters(startRegisters(), [](int n) { return lang(n); });
    if (fault.isEmpty())
        return true;
    dialogsOf(m_dialogs).showError(fault, this);
    return false;
}

void TFModbusStartAdd_SD::Btn_OKClick()
{
    if (Check_Data())
        done(mrOk);
}

}  // namespace zfw
