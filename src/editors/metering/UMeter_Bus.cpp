#include "editors/metering/UMeter_Bus.h"

#include "common/UComon.h"
#include "controls/ExtPageControl.h"
#include "editors/metering/UNewIDNode.h"
#include "editors/metering/core/MBusEditorLists.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QStyle>
#include <QTreeWidget>

namespace zfw {

namespace {

constexpr int kClientWidth = 834;
constexpr int kClientHeight = 700;
constexpr int kRowStep = 24;
constexpr int kTreeLeft = 8;
constexpr int kTreeWidth = 300;
constexpr int kBodyTop = kTitlePanelHeight + 8;
constexpr int kBodyHeight = 580;
constexpr int kPagesLeft = kTreeLeft + kTreeWidth + 8;
constexpr int kPagesWidth = kClientWidth - kPagesLeft - 8;
constexpr int kButtonTop = kBodyTop + kBodyHeight + 12;
constexpr int kLabelLeft = 8;
constexpr int kFieldLeft = 220;
constexpr int kFieldWidth = 160;
// The pages' room right of the tabs on the left.
constexpr int kPageInnerWidth = 474;
constexpr int kWideFieldWidth = kPageInnerWidth - kFieldLeft - 4;

QLabel* label(QWidget* parent, const char* name, int left, int width = kFieldLeft - 16)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(left, 0, width, 21);
    return l;
}

QLineEdit* edit(QWidget* parent, const char* name, int left = kFieldLeft, int width = kFieldWidth)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(left, 0, width, 21);
    return e;
}

QCheckBox* check(QWidget* parent, const char* name, int left = kLabelLeft,
                 int width = kFieldLeft - 16)
{
    auto* c = new QCheckBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setGeometry(left, 0, width, 21);
    return c;
}

template <typename Combo = QComboBox>
Combo* combo(QWidget* parent, const char* name, const QStringList& items, int left = kFieldLeft,
             int width = kFieldWidth)
{
    auto* c = new Combo(parent);
    c->setObjectName(QLatin1String(name));
    c->setGeometry(left, 0, width, 21);
    c->addItems(items);
    c->setCurrentIndex(items.isEmpty() ? -1 : 0);
    return c;
}

QRadioButton* radio(QWidget* parent, const char* name)
{
    auto* r = new QRadioButton(parent);
    r->setObjectName(QLatin1String(name));
    r->setGeometry(kLabelLeft, 0, kFieldLeft - 16, 21);
    return r;
}

void moveTo(QWidget* w, int y) { w->move(w->x(), y); }

int indexOf(const QComboBox* c) { return c->currentIndex() < 0 ? 0 : c->currentIndex(); }

}  // namespace

void TAlignedComboBox::showPopup()
{
    QComboBox::showPopup();
    // A list wider than the box opens to the left: its right edge on the box's right edge.
    QWidget* popup = view()->window();
    const int right = mapToGlobal(QPoint(width(), 0)).x();
    const QRect g = popup->geometry();
    if (g.x() + g.width() != right)
        popup->move(right - g.width(), g.y());
}

TFMeter_Bus::TFMeter_Bus(QWidget* parent, IUserDialogs* dialogs, TFNewIDNode* newIdNode)
    : TModalForm(parent), m_model([](int n) { return programState().lang(n); }), m_dialogs(dialogs),
      m_newIdNode(newIdNode)
{
    setObjectName(QStringLiteral("TFMeter_Bus"));
    createControls();
    Select_Width_ComboBox(CB_Var_ToD);
    Select_Width_ComboBox(CB_VIFE);
    L_SW_Code->setText(programState().SW_Code);
    L_SW_Code->adjustSize();
    setFixedClientSize(kClientWidth, kClientHeight);
    Nodes_Move_Elements();
    Set_Lang();
    updatePasteEntries();
}

TFMeter_Bus::~TFMeter_Bus() = default;

IUserDialogs& TFMeter_Bus::dialogs() const { return m_dialogs ? *m_dialogs : *services().dialogs; }

QString TFMeter_Bus::lang(int n) const { return programState().lang(n); }

TFNewIDNode& TFMeter_Bus::newIdNode()
{
    if (!m_newIdNode) {
        m_newIdNode = new TFNewIDNode(this, m_dialogs);
        m_ownNewIdNode = true;
    }
    return *m_newIdNode;
}

void TFMeter_Bus::createControls()
{
    const TitlePanel title = makeTitlePanel(this, kClientWidth);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;

    TW = new QTreeWidget(this);
    TW->setObjectName(QStringLiteral("TW"));
    TW->setGeometry(kTreeLeft, kBodyTop, kTreeWidth, kBodyHeight);
    TW->setHeaderHidden(true);
    TW->setSelectionMode(QAbstractItemView::SingleSelection);
    TW->setSelectionBehavior(QAbstractItemView::SelectRows);
    TW->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TW->setContextMenuPolicy(Qt::CustomContextMenu);
    // The selection stays visible while the pages have the focus.
    QPalette pal = TW->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    TW->setPalette(pal);

    PopupMenu1 = new QMenu(this);
    CopyVariable1 = PopupMenu1->addAction(QString());
    PasteVariable1 = PopupMenu1->addAction(QString());
    PopupMenu1->addSeparator();
    CopyNode1 = PopupMenu1->addAction(QString());
    PasteNode1 = PopupMenu1->addAction(QString());
    PopupMenu1->addSeparator();
    DeleteItem1 = PopupMenu1->addAction(QString());

    ExtPageControl1 = new TExtPageControl(this);
    ExtPageControl1->setObjectName(QStringLiteral("ExtPageControl1"));
    ExtPageControl1->SetTabPosition(tpLeft);
    ExtPageControl1->setGeometry(kPagesLeft, kBodyTop, kPagesWidth, kBodyHeight);
    ExtTabSheet1 = new TExtTabSheet();
    ExtTabSheet1->setObjectName(QStringLiteral("ExtTabSheet1"));
    ExtTabSheet1->SetExtPageControl(ExtPageControl1);
    ExtTabSheet2 = new TExtTabSheet();
    ExtTabSheet2->setObjectName(QStringLiteral("ExtTabSheet2"));
    ExtTabSheet2->SetExtPageControl(ExtPageControl1);
    ExtPageControl1->SetActivePage(ExtTabSheet1);
    createNodePage(ExtTabSheet1);
    createVariablePage(ExtTabSheet2);

    Btn_ImportNet = makeFormButton(this, "Btn_ImportNet", kTreeLeft, kButtonTop, 160, 36);
    Btn_OK = makeFormButton(this, "Btn_OK", kClientWidth - 280, kButtonTop, 130, 36);
    Btn_Cancel = makeFormButton(this, "Btn_Cancel", kClientWidth - 140, kButtonTop, 130, 36);
    setFormButtonGlyph(Btn_OK, "LBOK");
    setFormButtonGlyph(Btn_Cancel, "LBCANCEL");

    // One place where every handler is wired.
    connect(TW, &QTreeWidget::itemClicked, this, [this] { TWClick(); });
    connect(TW, &QTreeWidget::currentItemChanged, this, [this] { TWClick(); });
    connect(TW, &QTreeWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(TW->viewport()->mapToGlobal(at)); });
    connect(CopyVariable1, &QAction::triggered, this, [this] { CopyVariable1Click(); });
    connect(PasteVariable1, &QAction::triggered, this, [this] { PasteVariable1Click(); });
    connect(CopyNode1, &QAction::triggered, this, [this] { CopyNode1Click(); });
    connect(PasteNode1, &QAction::triggered, this, [this] { PasteNode1Click(); });
    connect(DeleteItem1, &QAction::triggered, this, [this] { DeleteItem1Click(); });
    connect(btn_Add_Node, &QAbstractButton::clicked, this, [this] { btn_Add_NodeClick(); });
    connect(btn_Add_Var, &QAbstractButton::clicked, this, [this] { btn_Add_VarClick(); });
    connect(CB_MBus_Type, &QComboBox::currentIndexChanged, this, [this] { CB_MBus_TypeChange(); });
    connect(CB_Var_ToD, &QComboBox::currentIndexChanged, this, [this] { CB_Var_ToDChange(); });
    connect(CB_VIFE, &QComboBox::currentIndexChanged, this, [this] { CB_Var_ToDChange(); });
    connect(CB_Var_Dim, &QComboBox::currentIndexChanged, this, [this] { CB_Var_DimChange(); });
    connect(E_TP_Year, &QLineEdit::textChanged, this, [this] { E_TP_YearChange(); });
    connect(Btn_OK, &QAbstractButton::clicked, this, [this] { LbButton2Click(); });
    connect(Btn_Cancel, &QAbstractButton::clicked, this, [this] { LbButton4Click(); });
    connect(Btn_ImportNet, &QAbstractButton::clicked, this, [this] { Btn_ImportNetClick(); });
}

void TFMeter_Bus::createNodePage(QWidget* page)
{
    CB_Node_En = check(page, "CB_Node_En");
    m_rowNodeEn = {{CB_Node_En}};
    L_Node_Desc = label(page, "L_Node_Desc", kLabelLeft);
    E_New_Node_Desc = edit(page, "E_New_Node_Desc", kFieldLeft, kWideFieldWidth);
    m_rowNodeDesc = {{L_Node_Desc, E_New_Node_Desc}};
    L_MBus_Type = label(page, "L_MBus_Type", kLabelLeft);
    CB_MBus_Type = combo(page, "CB_MBus_Type", {QString(), QString()});
    CB_MBus_Type->setCurrentIndex(1);
    m_rowMBusType = {{L_MBus_Type, CB_MBus_Type}};
    RB_ID_Primary = radio(page, "RB_ID_Primary");
    RB_ID_Primary->setChecked(true);
    E_New_Node_ID_Pri = edit(page, "E_New_Node_ID_Pri");
    E_New_Node_ID_Pri->setText(QStringLiteral("1"));
    m_rowPri = {{RB_ID_Primary, E_New_Node_ID_Pri}};
    RB_ID_Secondary = radio(page, "RB_ID_Secondary");
    E_New_Node_ID_Sec = edit(page, "E_New_Node_ID_Sec");
    E_New_Node_ID_Sec->setText(QStringLiteral("1"));
    m_rowSec = {{RB_ID_Secondary, E_New_Node_ID_Sec}};
    CB_Node_State = check(page, "CB_Node_State");
    E_Node_State = edit(page, "E_Node_State");
    E_Node_State->setText(QStringLiteral("1"));
    m_rowNodeState = {{CB_Node_State, E_Node_State}};
    CB_Ident_Num = check(page, "CB_Ident_Num");
    E_Iden = edit(page, "E_Iden");
    E_Iden->setText(QStringLiteral("1"));
    m_rowIdent = {{CB_Ident_Num, E_Iden}};
    CB_BCDtoINT_IN = check(page, "CB_BCDtoINT_IN", kLabelLeft, 360);
    m_rowBcdIn = {{CB_BCDtoINT_IN}};
    L_Swap_IN = label(page, "L_Swap_IN", kLabelLeft);
    CB_Swap_IN = combo(page, "CB_Swap_IN", {QStringLiteral("None"), QStringLiteral("Type 1")});
    m_rowSwap = {{L_Swap_IN, CB_Swap_IN}};
    CB_SND_NKE = check(page, "CB_SND_NKE");
    m_rowSnk = {{CB_SND_NKE}};
    CB_Reset_App = check(page, "CB_Reset_App");
    m_rowReset = {{CB_Reset_App}};
    L_Var_Type = label(page, "L_Var_Type", kLabelLeft);
    CB_Var_Type = combo(page, "CB_Var_Type",
                        {QStringLiteral("By Type"), QStringLiteral("By Position")});
    m_rowVarType = {{L_Var_Type, CB_Var_Type}};
    L_Cut_After = label(page, "L_Cut_After", kLabelLeft);
    CB_Cut_After = combo(page, "CB_Cut_After", {}, kFieldLeft, 70);
    L_Cut_Frames = label(page, "L_Cut_Frames", kFieldLeft + 78, 80);
    m_rowCut = {{L_Cut_After, CB_Cut_After, L_Cut_Frames}};

    createWirelessPanel();
    P_wMBus_Node->setParent(page);
    m_rowWireless = {{P_wMBus_Node}, P_wMBus_Node->height()};

    CB_Manu_Spec_Data = check(page, "CB_Manu_Spec_Data");
    E_Manu_Spec_Data = edit(page, "E_Manu_Spec_Data");
    E_Manu_Spec_Data->setText(QStringLiteral("1"));
    m_rowMsd = {{CB_Manu_Spec_Data, E_Manu_Spec_Data}};
    L_MSD_Length = label(page, "L_MSD_Length", kLabelLeft);
    E_MSD_Length = edit(page, "E_MSD_Length");
    E_MSD_Length->setText(QStringLiteral("1"));
    m_rowMsdLength = {{L_MSD_Length, E_MSD_Length}};
    L_MSD_Offset = label(page, "L_MSD_Offset", kLabelLeft);
    E_MSD_Offset = edit(page, "E_MSD_Offset");
    E_MSD_Offset->setText(QStringLiteral("1"));
    m_rowMsdOffset = {{L_MSD_Offset, E_MSD_Offset}};
    CB_Access_Number = check(page, "CB_Access_Number");
    E_Access_Number = edit(page, "E_Access_Number");
    E_Access_Number->setText(QStringLiteral("1"));
    m_rowAccess = {{CB_Access_Number, E_Access_Number}};
    btn_Add_Node = makeFormButton(page, "btn_Add_Node", kFieldLeft, 0, kFieldWidth, 28);
    m_rowAddNode = {{btn_Add_Node}, 32};
}

void TFMeter_Bus::createWirelessPanel()
{
    auto* p = new QWidget();
    p->setObjectName(QStringLiteral("P_wMBus_Node"));
    P_wMBus_Node = p;
    int y = 0;
    auto pair = [&](QLabel*& l, const char* ln, QLineEdit*& e, const char* en) {
        l = label(p, ln, kLabelLeft);
        e = edit(p, en);
        moveTo(l, y);
        moveTo(e, y);
        y += kRowStep;
    };
    pair(L_wMBus_ManID, "L_wMBus_ManID", E_wMBus_ManID, "E_wMBus_ManID");
    pair(L_wMBus_Add, "L_wMBus_Add", E_wMBus_Add, "E_wMBus_Add");
    pair(L_wMBus_Ver, "L_wMBus_Ver", E_wMBus_Ver, "E_wMBus_Ver");
    pair(L_wMBus_DevType, "L_wMBus_DevType", E_wMBus_DevType, "E_wMBus_DevType");
    CB_wMBus_EnKey = check(p, "CB_wMBus_EnKey");
    moveTo(CB_wMBus_EnKey, y);
    y += kRowStep;
    for (int i = 0; i < 16; ++i) {
        const int column = i % 4;
        const int left = kLabelLeft + column * 112;
        const QByteArray ln = "L_wMBus_K" + QByteArray::number(i + 1);
        const QByteArray en = "E_wMBus_K" + QByteArray::number(i + 1);
        L_wMBus_K[std::size_t(i)] = label(p, ln.constData(), left, 46);
        E_wMBus_K[std::size_t(i)] = edit(p, en.constData(), left + 48, 56);
        moveTo(L_wMBus_K[std::size_t(i)], y);
        moveTo(E_wMBus_K[std::size_t(i)], y);
        if (column == 3)
            y += kRowStep;
    }
    auto register_ = [&](QCheckBox*& c, const char* cn, QLineEdit*& e, const char* en) {
        c = check(p, cn);
        e = edit(p, en);
        moveTo(c, y);
        moveTo(e, y);
        y += kRowStep;
    };
    register_(CB_wMBus_Node_State, "CB_wMBus_Node_State", E_wMBus_NodeState, "E_wMBus_NodeState");
    register_(CB_wMBus_Ident_Num, "CB_wMBus_Ident_Num", E_wMBus_Ident, "E_wMBus_Ident");
    register_(CB_wMBus_RSSI, "CB_wMBus_RSSI", E_wMBus_RSSI, "E_wMBus_RSSI");
    register_(CB_wMBus_Access_Number, "CB_wMBus_Access_Number", E_wMBus_Access_Number,
              "E_wMBus_Access_Number");
    CB_wMBus_Conv_BCD = check(p, "CB_wMBus_Conv_BCD", kLabelLeft, 360);
    moveTo(CB_wMBus_Conv_BCD, y);
    y += kRowStep;
    L_wMBus_Swap_Ident = label(p, "L_wMBus_Swap_Ident", kLabelLeft);
    CB_wMBus_Swap_Ident = combo(p, "CB_wMBus_Swap_Ident",
                                {QStringLiteral("None"), QStringLiteral("Type 1")});
    moveTo(L_wMBus_Swap_Ident, y);
    moveTo(CB_wMBus_Swap_Ident, y);
    y += kRowStep;
    L_wMBus_VarList = label(p, "L_wMBus_VarList", kLabelLeft);
    CB_wMBus_VarList = combo(p, "CB_wMBus_VarList",
                             {QStringLiteral("By Type"), QStringLiteral("By Position")});
    moveTo(L_wMBus_VarList, y);
    moveTo(CB_wMBus_VarList, y);
    y += kRowStep;
    p->resize(kPageInnerWidth, y);
}

void TFMeter_Bus::createVariablePage(QWidget* page)
{
    CB_Var_En = check(page, "CB_Var_En");
    CB_Var_En->setChecked(true);
    m_rowVarEn = {{CB_Var_En}};
    L_Var_Desc = label(page, "L_Var_Desc", kLabelLeft);
    E_New_Var_Desc = edit(page, "E_New_Var_Desc", kFieldLeft, kWideFieldWidth);
    m_rowVarDesc = {{L_Var_Desc, E_New_Var_Desc}};
    L_Var_ToD = label(page, "L_Var_ToD", kLabelLeft);
    CB_Var_ToD = combo<TAlignedComboBox>(page, "CB_Var_ToD", typeOfDataTexts());
    m_rowToD = {{L_Var_ToD, CB_Var_ToD}};
    L_VIF_ASCII = label(page, "L_VIF_ASCII", kLabelLeft);
    E_VIF_ASCII = edit(page, "E_VIF_ASCII");
    E_VIF_ASCII->setEnabled(false);
    m_rowVifAscii = {{L_VIF_ASCII, E_VIF_ASCII}};
    L_Var_FF = label(page, "L_Var_FF", kLabelLeft);
    CB_Var_FF = combo(page, "CB_Var_FF", functionFieldTexts());
    m_rowFF = {{L_Var_FF, CB_Var_FF}};
    L_Var_Dim = label(page, "L_Var_Dim", kLabelLeft);
    CB_Var_Dim = combo(page, "CB_Var_Dim", dimensionTexts());
    m_rowDim = {{L_Var_Dim, CB_Var_Dim}};
    L_Length = label(page, "L_Length", kLabelLeft);
    E_Length = edit(page, "E_Length");
    E_Length->setText(QStringLiteral("0"));
    E_Length->setEnabled(false);
    m_rowLength = {{L_Length, E_Length}};
    L_Var_Unit = label(page, "L_Var_Unit", kLabelLeft);
    CB_Var_Unit = combo(page, "CB_Var_Unit", unitTexts());
    m_rowUnit = {{L_Var_Unit, CB_Var_Unit}};
    L_Sto_Num = label(page, "L_Sto_Num", kLabelLeft);
    E_Sto_Num = edit(page, "E_Sto_Num");
    E_Sto_Num->setText(QStringLiteral("0"));
    m_rowSto = {{L_Sto_Num, E_Sto_Num}};
    L_Tariff = label(page, "L_Tariff", kLabelLeft);
    E_Tariff = edit(page, "E_Tariff");
    E_Tariff->setText(QStringLiteral("0"));
    m_rowTariff = {{L_Tariff, E_Tariff}};
    L_VIFE = label(page, "L_VIFE", kLabelLeft);
    CB_VIFE = combo<TAlignedComboBox>(page, "CB_VIFE", vifeTexts());
    m_rowVife = {{L_VIFE, CB_VIFE}};
    L_Var_MR = label(page, "L_Var_MR", kLabelLeft);
    E_Var_MR = edit(page, "E_Var_MR");
    m_rowMR = {{L_Var_MR, E_Var_MR}};

    GroupBox4 = new QGroupBox(page);
    GroupBox4->setObjectName(QStringLiteral("GroupBox4"));
    GroupBox4->setGeometry(kLabelLeft, 0, kPageInnerWidth - kLabelLeft, 70);
    CB_TP_MR = check(GroupBox4, "CB_TP_MR", 8, 300);
    moveTo(CB_TP_MR, 18);
    const char* tpNames[] = {"L_TP_Year", "L_TP_Month", "L_TP_Day",
                             "L_TP_Hour", "L_TP_Min",   "L_TP_Sec"};
    const char* boxNames[] = {"ST_TP_Month", "ST_TP_Day", "ST_TP_Hour", "ST_TP_Min", "ST_TP_Sec"};
    for (int i = 0; i < 6; ++i) {
        const int left = 8 + i * 76;
        L_TP[std::size_t(i)] = label(GroupBox4, tpNames[i], left, 24);
        moveTo(L_TP[std::size_t(i)], 42);
        QLineEdit* e = edit(GroupBox4, i == 0 ? "E_TP_Year" : boxNames[i - 1], left + 24, 48);
        moveTo(e, 42);
        if (i == 0) {
            E_TP_Year = e;
            E_TP_Year->setText(QStringLiteral("1"));
        } else {
            e->setReadOnly(true);
            ST_TP[std::size_t(i - 1)] = e;
        }
    }
    L_TP[5]->setText(QStringLiteral("SS"));
    m_rowTP = {{GroupBox4}, 76};

    CB_BCDtoINT = check(page, "CB_BCDtoINT");
    m_rowBcd = {{CB_BCDtoINT}};
    CB_Float = check(page, "CB_Float");
    m_rowFloat = {{CB_Float}};
    CB_Force_Int32 = check(page, "CB_Force_Int32");
    CB_Force_Int32->setText(QStringLiteral("Force Integer 32"));
    m_rowInt32 = {{CB_Force_Int32}};
    L_PostOpe = label(page, "L_PostOpe", kLabelLeft);
    CB_PostOpe = combo(page, "CB_PostOpe", postOperationTexts());
    m_rowPost = {{L_PostOpe, CB_PostOpe}};
    L_Position = label(page, "L_Position", kLabelLeft);
    E_Position = edit(page, "E_Position");
    E_Position->setText(QStringLiteral("1"));
    m_rowPosition = {{L_Position, E_Position}};
    btn_Add_Var = makeFormButton(page, "btn_Add_Var", kFieldLeft, 0, kFieldWidth, 28);
    m_rowAddVar = {{btn_Add_Var}, 32};
    E_TP_YearChange();
}

int TFMeter_Bus::stackRows(const std::vector<const Row*>& shown, const std::vector<const Row*>& all,
                           int top)
{
    for (const Row* r : all)
        for (QWidget* w : r->widgets)
            w->setVisible(false);
    int y = top;
    for (const Row* r : shown) {
        for (QWidget* w : r->widgets) {
            moveTo(w, y);
            w->setVisible(true);
        }
        y += std::max(kRowStep, r->height);
    }
    return y;
}

void TFMeter_Bus::Nodes_Move_Elements() { CB_MBus_TypeChange(); }

void TFMeter_Bus::CB_MBus_TypeChange()
{
    const std::vector<const Row*> all = {&m_rowNodeEn,    &m_rowNodeDesc,  &m_rowMBusType,
                                         &m_rowPri,       &m_rowSec,       &m_rowNodeState,
                                         &m_rowIdent,     &m_rowBcdIn,     &m_rowSwap,
                                         &m_rowSnk,       &m_rowReset,     &m_rowVarType,
                                         &m_rowCut,       &m_rowWireless,  &m_rowMsd,
                                         &m_rowMsdLength, &m_rowMsdOffset, &m_rowAccess,
                                         &m_rowAddNode};
    std::vector<const Row*> shown = {&m_rowNodeEn, &m_rowNodeDesc, &m_rowMBusType};
    if (CB_MBus_Type->currentIndex() == 0) {
        shown.insert(shown.end(), {&m_rowWireless, &m_rowMsd, &m_rowMsdLength, &m_rowMsdOffset});
    } else {
        shown.insert(shown.end(), {&m_rowPri, &m_rowSec, &m_rowNodeState, &m_rowIdent, &m_rowBcdIn,
                                   &m_rowSwap, &m_rowSnk, &m_rowReset, &m_rowVarType, &m_rowCut,
                                   &m_rowMsd, &m_rowMsdLength, &m_rowMsdOffset, &m_rowAccess});
    }
    shown.push_back(&m_rowAddNode);
    stackRows(shown, all, 8);
}

void TFMeter_Bus::Sposta_Oggetti_Var(quint8 Var_type)
{
    const std::vector<const Row*> all = {&m_rowVarEn, &m_rowVarDesc,  &m_rowToD,    &m_rowVifAscii,
                                         &m_rowFF,    &m_rowDim,      &m_rowLength, &m_rowUnit,
                                         &m_rowSto,   &m_rowTariff,   &m_rowVife,   &m_rowMR,
                                         &m_rowTP,    &m_rowBcd,      &m_rowFloat,  &m_rowInt32,
                                         &m_rowPost,  &m_rowPosition, &m_rowAddVar};
    std::vector<const Row*> shown;
    if (Var_type == 1) {
        shown = {&m_rowVarEn, &m_rowVarDesc, &m_rowDim,      &m_rowLength,
                 &m_rowMR,    &m_rowTP,      &m_rowBcd,      &m_rowFloat,
                 &m_rowInt32, &m_rowPost,    &m_rowPosition, &m_rowAddVar};
        GroupBox4->setEnabled(true);
    } else {
        shown = {&m_rowVarEn, &m_rowVarDesc, &m_rowToD,   &m_rowVifAscii, &m_rowFF,
                 &m_rowDim,   &m_rowLength,  &m_rowUnit,  &m_rowSto,      &m_rowTariff,
                 &m_rowVife,  &m_rowMR,      &m_rowTP,    &m_rowBcd,      &m_rowFloat,
                 &m_rowInt32, &m_rowPost,    &m_rowAddVar};
    }
    CB_PostOpe->setEnabled(true);
    stackRows(shown, all, 8);
}

void TFMeter_Bus::Select_Width_ComboBox(QComboBox* CB)
{
    const QFontMetrics fm(CB->font());
    int widest = 0;
    for (int i = 0; i < CB->count(); ++i)
        widest = std::max(widest, fm.horizontalAdvance(CB->itemText(i)));
    int needed = widest + 12 + (CB->objectName() == QLatin1String("CB_VIFE") ? 65 : 30);
    const int scrollBar = CB->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (CB->width() - scrollBar >= needed)
        return;
    if (CB->count() > CB->maxVisibleItems())
        needed += scrollBar;
    CB->view()->setMinimumWidth(needed);
}

void TFMeter_Bus::Set_Lang()
{
    setWindowTitle(lang(1700));
    L_SW_Desc->setText(lang(1701));
    L_SW_Desc->adjustSize();
    Btn_OK->setText(lang(1702));
    Btn_Cancel->setText(lang(1703));
    Btn_ImportNet->setText(lang(1704));
    ExtTabSheet1->SetCaption(lang(1705));
    ExtTabSheet2->SetCaption(lang(1706));
    CB_Node_En->setText(lang(1707));
    L_Node_Desc->setText(lang(1708));
    RB_ID_Primary->setText(lang(1709));
    RB_ID_Secondary->setText(lang(1710));
    CB_Node_State->setText(lang(1711));
    CB_Ident_Num->setText(lang(1712));
    CB_BCDtoINT_IN->setText(lang(1713));
    L_Swap_IN->setText(lang(1714));
    CB_SND_NKE->setText(lang(1715));
    CB_Reset_App->setText(lang(1716));
    L_Var_Type->setText(lang(1717));
    L_Cut_After->setText(lang(1718));
    L_Cut_Frames->setText(lang(1719));
    CB_Manu_Spec_Data->setText(lang(1720));
    L_MSD_Length->setText(lang(1721));
    L_MSD_Offset->setText(lang(1722));
    btn_Add_Node->setText(lang(1723));
    CB_Var_En->setText(lang(1725));
    L_Var_Desc->setText(lang(1726));
    L_Var_ToD->setText(lang(1727));
    L_VIF_ASCII->setText(lang(1728));
    L_Var_FF->setText(lang(1729));
    L_Var_Dim->setText(lang(1730));
    L_Length->setText(lang(1731));
    L_Var_Unit->setText(lang(1732));
    L_Var_MR->setText(lang(1733));
    L_Sto_Num->setText(lang(1735));
    L_Tariff->setText(lang(1736));
    L_VIFE->setText(lang(1737));
    GroupBox4->setTitle(lang(1738));
    CB_TP_MR->setText(lang(1739));
    for (int i = 0; i < 5; ++i)
        L_TP[std::size_t(i)]->setText(lang(1740 + i));
    CB_BCDtoINT->setText(lang(1745));
    CB_Float->setText(lang(1746));
    L_Position->setText(lang(1747));
    btn_Add_Var->setText(lang(1748));
    L_MBus_Type->setText(lang(1750));
    {
        const QSignalBlocker block(CB_MBus_Type);
        CB_MBus_Type->clear();
        CB_MBus_Type->addItems({lang(1751), lang(1752)});
        CB_MBus_Type->setCurrentIndex(1);
    }
    CB_MBus_TypeChange();
    L_wMBus_ManID->setText(lang(1753));
    L_wMBus_Add->setText(lang(1754));
    L_wMBus_Ver->setText(lang(1755));
    L_wMBus_DevType->setText(lang(1756));
    CB_wMBus_EnKey->setText(lang(1757));
    for (int i = 0; i < 16; ++i)
        L_wMBus_K[std::size_t(i)]->setText(lang(1758 + i));
    CB_wMBus_Node_State->setText(lang(1774));
    CB_wMBus_Ident_Num->setText(lang(1775));
    CB_wMBus_RSSI->setText(QStringLiteral("RSSI"));
    CB_wMBus_Conv_BCD->setText(lang(1776));
    L_wMBus_Swap_Ident->setText(lang(1777));
    L_wMBus_VarList->setText(lang(1778));
    L_PostOpe->setText(lang(1779));
    CopyVariable1->setText(lang(1780));
    PasteVariable1->setText(lang(1781));
    CopyNode1->setText(lang(1782));
    PasteNode1->setText(lang(1783));
    DeleteItem1->setText(lang(1784));
    CB_Access_Number->setText(lang(1785));
    CB_wMBus_Access_Number->setText(lang(1786));
}

void TFMeter_Bus::FormShow()
{
    {
        const QSignalBlocker block(CB_Cut_After);
        CB_Cut_After->clear();
        for (int i = 1; i <= 250; ++i)
            CB_Cut_After->addItem(QString::number(i));
        CB_Cut_After->setCurrentIndex(0);
    }
    const QString file = programState().File_M_Bus;
    const MBusNetworkLoad load = m_model.open(file);
    m_readError = !load.ok;
    m_readMessage = load.message;
    rebuildTree();
    Sposta_Oggetti_Var(0);
    updatePasteEntries();
    CB_MBus_TypeChange();
    m_model.Is_Change = false;
    if (!load.ok)
        dialogs().showError(load.message, this);
}

void TFMeter_Bus::updatePasteEntries()
{
    PasteVariable1->setEnabled(m_model.Copy_Var.has_value());
    PasteNode1->setEnabled(m_model.Copy_Node.has_value());
}

void TFMeter_Bus::rebuildTree()
{
    QSet<int> open;
    if (NODE_ORIG)
        for (int i = 0; i < NODE_ORIG->childCount(); ++i)
            if (NODE_ORIG->child(i)->isExpanded())
                open.insert(i);
    const QSignalBlocker block(TW);
    TW->clear();
    NODE_ORIG = new QTreeWidgetItem(TW, {QStringLiteral("M-Bus Network")});
    for (std::size_t i = 0; i < m_model.Nodi_List.size(); ++i) {
        const TNodo& n = m_model.Nodi_List[i];
        auto* item = new QTreeWidgetItem(NODE_ORIG, {nodeItemText(n)});
        for (const TVariabile& v : n.Var_List)
            new QTreeWidgetItem(item, {variableItemText(v)});
        item->setExpanded(open.contains(int(i)));
    }
    NODE_ORIG->setExpanded(true);
    QTreeWidgetItem* current = itemOfSelection();
    TW->setCurrentItem(current);
    if (!current)
        TW->clearSelection();
}

QTreeWidgetItem* TFMeter_Bus::itemOfSelection() const
{
    if (!NODE_ORIG || m_model.IND_NODO < 0 || m_model.IND_NODO >= NODE_ORIG->childCount())
        return nullptr;
    QTreeWidgetItem* node = NODE_ORIG->child(m_model.IND_NODO);
    if (m_model.IND_VAR < 0)
        return node;
    return m_model.IND_VAR < node->childCount() ? node->child(m_model.IND_VAR) : node;
}

void TFMeter_Bus::TWClick()
{
    QTreeWidgetItem* item = TW->currentItem();
    if (!NODE_ORIG || (item && !item->isSelected()))
        item = nullptr;
    int node = -1;
    int var = -1;
    if (item && item->parent() == NODE_ORIG) {
        node = NODE_ORIG->indexOfChild(item);
    } else if (item && item->parent() && item->parent()->parent() == NODE_ORIG) {
        node = NODE_ORIG->indexOfChild(item->parent());
        var = item->parent()->indexOfChild(item);
    }
    m_model.select(node, var);
    Aggiorna_Label();
    CB_Var_ToDChange();
    CB_Var_DimChange();
    if (m_model.variableSelected())
        ExtPageControl1->SetActivePage(ExtTabSheet2);
    else if (m_model.nodeSelected())
        ExtPageControl1->SetActivePage(ExtTabSheet1);
}

void TFMeter_Bus::Aggiorna_Label()
{
    btn_Add_Node->setText(lang(m_model.nodeSelected() ? 1724 : 1723));
    btn_Add_Var->setText(lang(m_model.variableSelected() ? 1749 : 1748));
    if (const auto node = m_model.nodePage())
        fillNodePage(*node);
    if (const auto var = m_model.varPage()) {
        fillVarPage(*var);
        Sposta_Oggetti_Var(quint8(m_model.selectedListType()));
    }
    CB_MBus_TypeChange();
}

void TFMeter_Bus::fillNodePage(const TNodePageValues& p)
{
    CB_Node_En->setChecked(p.Enable);
    E_New_Node_Desc->setText(p.Description);
    CB_MBus_Type->setCurrentIndex(p.MBus_Type);
    RB_ID_Primary->setChecked(!p.secondaryChosen);
    RB_ID_Secondary->setChecked(p.secondaryChosen);
    E_New_Node_ID_Pri->setText(p.Node_Pri);
    E_New_Node_ID_Sec->setText(p.Node_Sec);
    CB_Node_State->setChecked(p.Enable_NS);
    E_Node_State->setText(p.Node_State);
    CB_Ident_Num->setChecked(p.Enable_IN);
    E_Iden->setText(p.Ident_Num);
    CB_BCDtoINT_IN->setChecked(p.BCDtoINT_IN);
    CB_Swap_IN->setCurrentIndex(p.Swap_Ident);
    CB_SND_NKE->setChecked(p.Send_SNK);
    CB_Reset_App->setChecked(p.Reset_App);
    CB_Var_Type->setCurrentIndex(p.Var_List_Type);
    CB_Cut_After->setCurrentIndex(p.Cut_After);
    CB_Manu_Spec_Data->setChecked(p.Enable_MS);
    E_Manu_Spec_Data->setText(p.Manufacturer_Spec);
    E_MSD_Length->setText(p.MSD_Length);
    E_MSD_Offset->setText(p.MSD_Offset);
    CB_Access_Number->setChecked(p.Enable_AN);
    E_Access_Number->setText(p.Access_Number);
    E_wMBus_ManID->setText(p.wMBus_ManID);
    E_wMBus_Add->setText(p.wMBus_Add);
    E_wMBus_Ver->setText(p.wMBus_Ver);
    E_wMBus_DevType->setText(p.wMBus_DevType);
    CB_wMBus_EnKey->setChecked(p.wMBus_En_Key);
    for (int i = 0; i < 16; ++i)
        E_wMBus_K[std::size_t(i)]->setText(p.wMBus_Key[std::size_t(i)]);
    CB_wMBus_Node_State->setChecked(p.wEnable_NS);
    E_wMBus_NodeState->setText(p.wNode_State);
    CB_wMBus_Ident_Num->setChecked(p.wEnable_IN);
    E_wMBus_Ident->setText(p.wIdent_Num);
    CB_wMBus_RSSI->setChecked(p.wEnable_RSSI);
    E_wMBus_RSSI->setText(p.wRSSI);
    CB_wMBus_Access_Number->setChecked(p.wEnable_AN);
    E_wMBus_Access_Number->setText(p.wAccess_Number);
    CB_wMBus_Conv_BCD->setChecked(p.wBCDtoINT_IN);
    CB_wMBus_Swap_Ident->setCurrentIndex(p.wSwap_Ident);
    CB_wMBus_VarList->setCurrentIndex(p.wVar_List_Type);
}

void TFMeter_Bus::fillVarPage(const TVarPageValues& p)
{
    CB_Var_En->setChecked(p.Enable);
    E_New_Var_Desc->setText(p.Description);
    CB_Var_ToD->setCurrentIndex(p.Type_Of_Data);
    CB_Var_FF->setCurrentIndex(p.Function_Field);
    CB_Var_Dim->setCurrentIndex(p.Dimension);
    CB_Var_Unit->setCurrentIndex(p.Unita);
    E_Var_MR->setText(p.PositionData);
    E_Sto_Num->setText(p.Storage_Number);
    E_Tariff->setText(p.Tariff);
    CB_VIFE->setCurrentIndex(p.VIFE);
    CB_BCDtoINT->setChecked(p.BCDtoINT);
    E_VIF_ASCII->setText(p.VIF_ASCII);
    E_Length->setText(p.Length);
    CB_Float->setChecked(p.Conv_Float);
    CB_Force_Int32->setChecked(p.Force_Int32);
    CB_TP_MR->setChecked(p.TP_Mod_Regs);
    E_TP_Year->setText(p.TP_Mod_Year);
    E_Position->setText(p.Position);
    CB_PostOpe->setCurrentIndex(p.Post_Operation);
}

TNodePageValues TFMeter_Bus::nodePageValues() const
{
    TNodePageValues p;
    p.Enable = CB_Node_En->isChecked();
    p.Description = E_New_Node_Desc->text();
    p.MBus_Type = CB_MBus_Type->currentIndex() == 0 ? 0 : 1;
    p.secondaryChosen = !RB_ID_Primary->isChecked();
    p.Node_Pri = E_New_Node_ID_Pri->text();
    p.Node_Sec = E_New_Node_ID_Sec->text();
    p.Enable_NS = CB_Node_State->isChecked();
    p.Node_State = E_Node_State->text();
    p.Enable_IN = CB_Ident_Num->isChecked();
    p.Ident_Num = E_Iden->text();
    p.BCDtoINT_IN = CB_BCDtoINT_IN->isChecked();
    p.Swap_Ident = indexOf(CB_Swap_IN);
    p.Send_SNK = CB_SND_NKE->isChecked();
    p.Reset_App = CB_Reset_App->isChecked();
    p.Var_List_Type = indexOf(CB_Var_Type);
    p.Cut_After = indexOf(CB_Cut_After);
    p.Enable_MS = CB_Manu_Spec_Data->isChecked();
    p.Manufacturer_Spec = E_Manu_Spec_Data->text();
    p.MSD_Length = E_MSD_Length->text();
    p.MSD_Offset = E_MSD_Offset->text();
    p.Enable_AN = CB_Access_Number->isChecked();
    p.Access_Number = E_Access_Number->text();
    p.wMBus_ManID = E_wMBus_ManID->text();
    p.wMBus_Add = E_wMBus_Add->text();
    p.wMBus_Ver = E_wMBus_Ver->text();
    p.wMBus_DevType = E_wMBus_DevType->text();
    p.wMBus_En_Key = CB_wMBus_EnKey->isChecked();
    for (int i = 0; i < 16; ++i)
        p.wMBus_Key[std::size_t(i)] = E_wMBus_K[std::size_t(i)]->text();
    p.wEnable_NS = CB_wMBus_Node_State->isChecked();
    p.wNode_State = E_wMBus_NodeState->text();
    p.wEnable_IN = CB_wMBus_Ident_Num->isChecked();
    p.wIdent_Num = E_wMBus_Ident->text();
    p.wEnable_RSSI = CB_wMBus_RSSI->isChecked();
    p.wRSSI = E_wMBus_RSSI->text();
    p.wEnable_AN = CB_wMBus_Access_Number->isChecked();
    p.wAccess_Number = E_wMBus_Access_Number->text();
    p.wBCDtoINT_IN = CB_wMBus_Conv_BCD->isChecked();
    p.wSwap_Ident = indexOf(CB_wMBus_Swap_Ident);
    p.wVar_List_Type = indexOf(CB_wMBus_VarList);
    return p;
}

TVarPageValues TFMeter_Bus::varPageValues() const
{
    TVarPageValues p;
    p.Enable = CB_Var_En->isChecked();
    p.Description = E_New_Var_Desc->text();
    p.Type_Of_Data = indexOf(CB_Var_ToD);
    p.Function_Field = indexOf(CB_Var_FF);
    p.Dimension = indexOf(CB_Var_Dim);
    p.Unita = indexOf(CB_Var_Unit);
    p.PositionData = E_Var_MR->text();
    p.Storage_Number = E_Sto_Num->text();
    p.Tariff = E_Tariff->text();
    p.VIFE = CB_VIFE->currentIndex();
    p.BCDtoINT = CB_BCDtoINT->isChecked();
    p.VIF_ASCII = E_VIF_ASCII->text();
    p.Length = E_Length->text();
    p.Conv_Float = CB_Float->isChecked();
    p.Force_Int32 = CB_Force_Int32->isChecked();
    p.TP_Mod_Regs = CB_TP_MR->isChecked();
    p.TP_Mod_Year = E_TP_Year->text();
    p.Position = E_Position->text();
    p.Post_Operation = indexOf(CB_PostOpe);
    return p;
}

void TFMeter_Bus::CB_Var_ToDChange()
{
    const int tod = CB_Var_ToD->currentIndex();
    E_VIF_ASCII->setEnabled(tod == kTypeOfDataVifAscii);
    if (m_model.IND_NODO >= 0)
        GroupBox4->setEnabled(m_model.selectedListType() == 1 || tod == kTypeOfDataTimePoint);
}

void TFMeter_Bus::CB_Var_DimChange()
{
    const bool variable = CB_Var_Dim->currentIndex() == kDimensionVariableLength;
    E_Length->setEnabled(variable);
    if (variable)
        CB_Float->setChecked(false);
    CB_Float->setEnabled(!variable);
}

void TFMeter_Bus::E_TP_YearChange()
{
    const std::array<QString, 5> boxes = timePointBoxes(E_TP_Year->text());
    for (int i = 0; i < 5; ++i)
        ST_TP[std::size_t(i)]->setText(boxes[std::size_t(i)]);
}

void TFMeter_Bus::showErrors(const QStringList& errors)
{
    for (const QString& e : errors)
        dialogs().showError(e, this);
}

void TFMeter_Bus::btn_Add_NodeClick()
{
    const TEditOutcome out = m_model.nodeButton(btn_Add_Node->text(), nodePageValues());
    showErrors(out.errors);
    if (out.done)
        rebuildTree();
    if (NODE_ORIG)
        NODE_ORIG->setExpanded(true);
}

void TFMeter_Bus::btn_Add_VarClick()
{
    const TEditOutcome out = m_model.variableButton(btn_Add_Var->text(), varPageValues());
    showErrors(out.errors);
    if (out.done)
        rebuildTree();
    if (NODE_ORIG)
        NODE_ORIG->setExpanded(true);
}

void TFMeter_Bus::DeleteItem1Click()
{
    if (!dialogs().askYesNo(lang(m_model.deleteQuestion()), this))
        return;
    m_model.deleteSelected();
    rebuildTree();
    TWClick();
}

void TFMeter_Bus::CopyVariable1Click()
{
    showErrors(m_model.copyVariable().errors);
    updatePasteEntries();
}

void TFMeter_Bus::CopyNode1Click()
{
    showErrors(m_model.copyNode().errors);
    updatePasteEntries();
}

bool TFMeter_Bus::runPasteDialog(const TPasteRequest& request, TPasteAnswer* answer)
{
    TFNewIDNode& dialog = newIdNode();
    dialog.setNetwork(&m_model.Nodi_List);
    dialog.fill(request);
    const bool ok = dialogs().showModal(dialog) == mrOk;
    if (ok)
        *answer = dialog.answer();
    dialog.setNetwork(nullptr);
    return ok;
}

void TFMeter_Bus::PasteVariable1Click()
{
    QString error;
    const auto request = m_model.pasteVariableRequest(&error);
    if (!request) {
        showErrors({error});
        return;
    }
    TPasteAnswer answer;
    if (!runPasteDialog(*request, &answer))
        return;
    m_model.applyPasteVariable(answer);
    rebuildTree();
}

void TFMeter_Bus::PasteNode1Click()
{
    QString error;
    const auto request = m_model.pasteNodeRequest(&error);
    if (!request) {
        if (!error.isEmpty())
            showErrors({error});
        return;
    }
    TPasteAnswer answer;
    if (!runPasteDialog(*request, &answer))
        return;
    m_model.applyPasteNode(answer);
    rebuildTree();
}

void TFMeter_Bus::Btn_ImportNetClick()
{
    FileDialogRequest request;
    request.filter = QStringLiteral("XML File (*.xml)|*.xml");
    const std::optional<QString> picked = dialogs().openFileName(request, this);
    if (!picked)
        return;
    const QString file = programState().File_M_Bus;
    if (QFile::exists(file) && !dialogs().askYesNo(lang(1906), this))
        return;
    const ImportResult r = importNetworkFile(*picked, file);
    if (!r.ok) {
        dialogs().showError(r.message, this);
        return;
    }
    if (!r.sameFile)
        FormShow();
}

void TFMeter_Bus::LbButton2Click()
{
    // A file that could not be read whole would lose what the reading missed.
    if (m_readError
        && !dialogs().askYesNo(m_readMessage
                                   + QStringLiteral("\n\nOverwrite the file with the "
                                                    "network shown?"),
                               this))
        return;
    const FileResult saved = m_model.save(programState().File_M_Bus);
    if (!saved.ok) {
        dialogs().showError(saved.message, this);
        return;
    }
    {
        const QSignalBlocker block(TW);
        TW->clear();
        NODE_ORIG = nullptr;
    }
    m_model.Nodi_List.clear();
    m_model.select(-1, -1);
    done(mrOk);
}

void TFMeter_Bus::LbButton4Click()
{
    if (m_model.Is_Change && !dialogs().askYesNo(lang(1896), this))
        return;
    done(mrCancel);
}

}  // namespace zfw
