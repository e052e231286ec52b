#include "editors/metering/UNewIDNode.h"

#include "common/UComon.h"
#include "grid/ColumnGrid.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace zfw {

namespace {

constexpr int kClientWidth = 432;
constexpr int kClientHeight = 536;
constexpr int kRowStep = 24;
constexpr int kTopFirstRow = 8;
constexpr int kLabelWidth = 300;
constexpr int kFieldLeft = 320;
constexpr int kFieldWidth = 100;
constexpr int kButtonHeight = 36;
constexpr TColor kIndexColour = 0xC0FFC0;  // light green: the column the user types in

QLineEdit* field(QWidget* parent, const char* name, int y)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(kFieldLeft, y, kFieldWidth, 21);
    e->setText(QStringLiteral("1"));
    return e;
}

QLabel* caption(QWidget* parent, const char* name, int y)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(8, y, kLabelWidth, 21);
    return l;
}

}  // namespace

TFNewIDNode::TFNewIDNode(QWidget* parent, IUserDialogs* dialogs)
    : TModalForm(parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("TFNewIDNode"));
    const TitlePanel title = makeTitlePanel(this, kClientWidth);
    P_Title = title.code->parentWidget();
    L_SW_Code = title.code;
    L_SW_Desc = title.description;
    L_SW_Code->setText(programState().SW_Code);
    L_SW_Code->adjustSize();

    P_Top = new QWidget(this);
    P_Top->setObjectName(QStringLiteral("P_Top"));
    P_Top->setGeometry(0, kTitlePanelHeight, kClientWidth, 161);
    RB_ID_Primary = new QRadioButton(P_Top);
    RB_ID_Primary->setObjectName(QStringLiteral("RB_ID_Primary"));
    RB_ID_Primary->setChecked(true);
    E_New_Node_ID_Pri = field(P_Top, "E_New_Node_ID_Pri", 0);
    RB_ID_Secondary = new QRadioButton(P_Top);
    RB_ID_Secondary->setObjectName(QStringLiteral("RB_ID_Secondary"));
    E_New_Node_ID_Sec = field(P_Top, "E_New_Node_ID_Sec", 0);
    L_wMBus_Add = caption(P_Top, "L_wMBus_Add", 0);
    E_wMBus_Add = field(P_Top, "E_wMBus_Add", 0);
    L_MR_NodeState = caption(P_Top, "L_MR_NodeState", 0);
    E_MR_NodeState = field(P_Top, "E_MR_NodeState", 0);
    L_MR_IdentNum = caption(P_Top, "L_MR_IdentNum", 0);
    E_MR_IdentNum = field(P_Top, "E_MR_IdentNum", 0);
    L_wMBus_RSSI = caption(P_Top, "L_wMBus_RSSI", 0);
    E_wMBus_RSSI = field(P_Top, "E_wMBus_RSSI", 0);
    for (QRadioButton* r : {RB_ID_Primary, RB_ID_Secondary})
        r->setGeometry(8, 0, kLabelWidth, 21);

    L_MR_Var = new QLabel(this);
    L_MR_Var->setObjectName(QStringLiteral("L_MR_Var"));
    ESG_MR_Var = new TExtColumnGrid(this);
    ESG_MR_Var->setObjectName(QStringLiteral("ESG_MR_Var"));
    ESG_MR_Var->SetColCount(3);
    ESG_MR_Var->SetRowCount(2);
    ESG_MR_Var->SetFixedRows(1);
    ESG_MR_Var->SetFixedCols(0);
    ESG_MR_Var->SetLeftCol(0);
    ESG_MR_Var->SetOptions(ESG_MR_Var->Options() | goEditing);
    const char* headers[] = {"Desc. Reg.", "Index", "Description Variable"};
    const int widths[] = {130, 80, 190};
    for (int c = 0; c < 3; ++c) {
        TGridColumnItem* item = ESG_MR_Var->Columns().GetItem(c);
        item->SetHeader(QString::fromLatin1(headers[c]));
        item->SetWidth(widths[c]);
        item->SetReadOnly(c != 1);
        if (c == 1)
            item->SetColor(kIndexColour);
    }

    Btn_OK = makeFormButton(this, "Btn_OK", kClientWidth - 280, kClientHeight - kButtonHeight - 8,
                            130, kButtonHeight);
    Btn_Cancel = makeFormButton(this, "Btn_Cancel", kClientWidth - 140,
                                kClientHeight - kButtonHeight - 8, 130, kButtonHeight);
    setFormButtonGlyph(Btn_OK, "LBOK");
    setFormButtonGlyph(Btn_Cancel, "LBCANCEL");
    connect(Btn_OK, &QAbstractButton::clicked, this, [this] { LbButton2Click(); });
    connect(Btn_Cancel, &QAbstractButton::clicked, this, [this] { done(mrCancel); });

    setFixedClientSize(kClientWidth, kClientHeight);
    Set_Lang();
    FormShow();
}

IUserDialogs& TFNewIDNode::dialogs() const { return m_dialogs ? *m_dialogs : *services().dialogs; }

QString TFNewIDNode::lang(int n) const { return programState().lang(n); }

void TFNewIDNode::Set_Lang()
{
    setWindowTitle(lang(2000));
    L_SW_Desc->setText(lang(2002));
    L_SW_Desc->adjustSize();
    Btn_OK->setText(lang(2004));
    Btn_Cancel->setText(lang(2005));
    RB_ID_Primary->setText(lang(2006));
    RB_ID_Secondary->setText(lang(2007));
    L_MR_NodeState->setText(lang(2008));
    L_MR_IdentNum->setText(lang(2009));
    L_MR_Var->setText(lang(2010));
    L_wMBus_RSSI->setText(lang(2011));
    L_wMBus_Add->setText(lang(2012));
}

void TFNewIDNode::FormShow()
{
    // Every time: the address rows shown, the wireless rows hidden, the register rows in
    // their places under the address rows.
    for (QWidget* w :
         {static_cast<QWidget*>(RB_ID_Primary), static_cast<QWidget*>(E_New_Node_ID_Pri),
          static_cast<QWidget*>(RB_ID_Secondary), static_cast<QWidget*>(E_New_Node_ID_Sec)})
        w->setVisible(true);
    for (QWidget* w : {static_cast<QWidget*>(L_wMBus_Add), static_cast<QWidget*>(E_wMBus_Add),
                       static_cast<QWidget*>(L_wMBus_RSSI), static_cast<QWidget*>(E_wMBus_RSSI)})
        w->setVisible(false);
    int y = kTopFirstRow;
    for (QWidget* w :
         {static_cast<QWidget*>(RB_ID_Primary), static_cast<QWidget*>(E_New_Node_ID_Pri)})
        w->move(w->x(), y);
    y += kRowStep;
    for (QWidget* w :
         {static_cast<QWidget*>(RB_ID_Secondary), static_cast<QWidget*>(E_New_Node_ID_Sec)})
        w->move(w->x(), y);
    y += kRowStep + 8;
    for (QWidget* w :
         {static_cast<QWidget*>(L_MR_NodeState), static_cast<QWidget*>(E_MR_NodeState)})
        w->move(w->x(), y);
    y += kRowStep;
    for (QWidget* w : {static_cast<QWidget*>(L_MR_IdentNum), static_cast<QWidget*>(E_MR_IdentNum)})
        w->move(w->x(), y);

    if (Form_Type == 1) {
        P_Top->setVisible(true);
        P_Top->resize(kClientWidth, 161);
        setWindowTitle(lang(2000));
        L_SW_Desc->setText(lang(2002));
    } else if (Form_Type == 2) {
        P_Top->resize(kClientWidth, 8);
        setWindowTitle(lang(2001));
        L_SW_Desc->setText(lang(2003));
    } else {
        for (QWidget* w :
             {static_cast<QWidget*>(RB_ID_Primary), static_cast<QWidget*>(E_New_Node_ID_Pri),
              static_cast<QWidget*>(RB_ID_Secondary), static_cast<QWidget*>(E_New_Node_ID_Sec)})
            w->setVisible(false);
        y = kTopFirstRow;
        for (QWidget* w :
             {static_cast<QWidget*>(L_wMBus_Add), static_cast<QWidget*>(E_wMBus_Add),
              static_cast<QWidget*>(L_MR_NodeState), static_cast<QWidget*>(E_MR_NodeState),
              static_cast<QWidget*>(L_MR_IdentNum), static_cast<QWidget*>(E_MR_IdentNum),
              static_cast<QWidget*>(L_wMBus_RSSI), static_cast<QWidget*>(E_wMBus_RSSI)}) {
            w->move(w->x(), y);
            w->setVisible(true);
            if (qobject_cast<QLineEdit*>(w))
                y += kRowStep;
        }
        P_Top->resize(kClientWidth, E_wMBus_RSSI->geometry().bottom() + 1 + 4);
        setWindowTitle(lang(2000));
        L_SW_Desc->setText(lang(2002));
    }
    L_SW_Desc->adjustSize();
    layoutBelowTop();
}

void TFNewIDNode::layoutBelowTop()
{
    const int top = P_Top->geometry().bottom() + 1;
    L_MR_Var->setGeometry(8, top + 4, kClientWidth - 16, 21);
    const int gridTop = top + 28;
    ESG_MR_Var->setGeometry(8, gridTop, kClientWidth - 16, Btn_OK->y() - 8 - gridTop);
}

void TFNewIDNode::fill(const TPasteRequest& r)
{
    Form_Type = r.Form_Type;
    RB_ID_Primary->setChecked(!r.secondaryChosen);
    RB_ID_Secondary->setChecked(r.secondaryChosen);
    if (r.Form_Type == 1) {
        E_New_Node_ID_Pri->setText(r.Node_Pri);
        E_New_Node_ID_Sec->setText(r.Node_Sec);
    } else if (r.Form_Type == 3) {
        E_wMBus_Add->setText(r.wMBus_Add);
        E_wMBus_RSSI->setText(r.RSSI);
    }
    if (r.Form_Type != 2) {
        E_MR_NodeState->setText(r.Node_State);
        E_MR_IdentNum->setText(r.Ident_Num);
    }
    ESG_MR_Var->SetRowCount(1 + int(r.rows.size()));
    for (std::size_t i = 0; i < r.rows.size(); ++i) {
        const TPasteRow& row = r.rows[i];
        const int ARow = int(i) + 1;
        ESG_MR_Var->SetCells(0, ARow, row.kind ? lang(row.kind) : QString());
        if (row.index)
            ESG_MR_Var->SetCells(1, ARow, *row.index);
        ESG_MR_Var->SetCells(2, ARow, row.description);
    }
}

TNewIDNodeValues TFNewIDNode::values() const
{
    TNewIDNodeValues v;
    v.Form_Type = Form_Type;
    v.secondaryChosen = RB_ID_Secondary->isChecked();
    v.Node_Pri = E_New_Node_ID_Pri->text();
    v.Node_Sec = E_New_Node_ID_Sec->text();
    v.wMBus_Add = E_wMBus_Add->text();
    for (int r = 1; r < ESG_MR_Var->RowCount(); ++r)
        v.index.push_back(ESG_MR_Var->Cells(1, r));
    return v;
}

QString TFNewIDNode::gridCell(int ACol, int ARow) const { return ESG_MR_Var->Cells(ACol, ARow); }

void TFNewIDNode::setGridCell(int ACol, int ARow, const QString& text)
{
    ESG_MR_Var->SetCells(ACol, ARow, text);
}

int TFNewIDNode::gridRowCount() const { return ESG_MR_Var->RowCount(); }

TPasteAnswer TFNewIDNode::answer() const
{
    TPasteAnswer a;
    const TNewIDNodeValues v = values();
    a.secondaryChosen = v.secondaryChosen;
    a.Node_Pri = v.Node_Pri;
    a.Node_Sec = v.Node_Sec;
    a.wMBus_Add = v.wMBus_Add;
    a.Node_State = E_MR_NodeState->text();
    a.Ident_Num = E_MR_IdentNum->text();
    a.RSSI = E_wMBus_RSSI->text();
    a.index = v.index;
    return a;
}

void TFNewIDNode::LbButton2Click()
{
    const TNodiList none;
    const TextLookup text = [](int n) { return programState().lang(n); };
    const TMBusRules rules(m_nodes ? *m_nodes : none, -1, -1, text);
    const RuleVerdict v = checkNewIDNode(values(), rules, text);
    for (const QString& m : v.messages)
        dialogs().showError(m, this);
    if (v.ok)
        done(mrOk);
}

}  // namespace zfw
