#include "editors/iot/UOPC_UA_Client_Access.h"

#include "common/UComon.h"
#include "common/UComonValidators.h"
#include "editors/iot/UOPC_UA_Add_Server.h"
#include "editors/iot/UOPC_UA_Scan_Server.h"
#include "editors/iot/core/UOpcUaBrowse.h"
#include "editors/iot/core/UOpcUaClientFile.h"
#include "editors/iot/core/UOpcUaClientRules.h"
#include "grid/ColumnGrid.h"
#include "platform/Dialogs.h"
#include "ruleedit/UGridRows.h"
#include "ruleedit/core/URuleRowTools.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zfw {

namespace {

constexpr int kClientWidth = 1150;
constexpr int kClientHeight = 660;
constexpr int kServerPanelHeight = 220;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 28;
constexpr int kServerColumns = 11;
constexpr int kRowHeight = 20;

// Language texts of the variable grids' headers and hints, per column from 1.
constexpr std::array<int, 16> kReadHeaders = {5446, 5447, 5448, 5449, 5450, 5451, 5513, 5514,
                                              5515, 5452, 5453, 5529, 5505, 5506, 5525, 5454};
constexpr std::array<int, 16> kReadHints = {5455, 5456, 5457, 5458, 5459, 5460, 5516, 5517,
                                            5518, 5461, 5462, 5530, 5507, 5508, 5526, 5463};
constexpr std::array<int, 16> kWriteHeaders = {5465, 5466, 5467, 5468, 5469, 5470, 5471, 5472,
                                               5473, 5474, 5475, 5531, 5509, 5510, 5527, 5476};
constexpr std::array<int, 16> kWriteHints = {5477, 5478, 5479, 5480, 5481, 5482, 5484, 5483,
                                             5485, 5486, 5487, 5532, 5511, 5512, 5528, 5488};
constexpr std::array<int, 10> kServerHeaders = {5412, 5413, 5414, 5415, 5416,
                                                5417, 5418, 5419, 5420, 5421};
constexpr std::array<int, 10> kServerHints = {5422, 5423, 5424, 5425, 5426,
                                              5427, 5428, 5429, 5430, 5431};
constexpr std::array<int, 16> kVarWidths = {50, 140, 80, 150, 80, 60, 70, 50,
                                            50, 70,  60, 60,  50, 70, 60, 160};

QString yn(bool on) { return on ? QStringLiteral("Y") : QStringLiteral("N"); }

}  // namespace

TFOPC_UA_Client_Access::TFOPC_UA_Client_Access(const RuleEditorContext& context,
                                               IOpcUaBrowser* browser, QWidget* parent)
    : TModalForm(parent), m_ctx(context), m_browser(browser)
{
    setObjectName(QStringLiteral("TFOPC_UA_Client_Access"));
    FormCreate();
}

TFOPC_UA_Client_Access::TFOPC_UA_Client_Access(const RuleEditorContext& context,
                                               std::unique_ptr<IOpcUaBrowser> browser,
                                               QWidget* parent)
    : TModalForm(parent), m_ctx(context), m_ownedBrowser(std::move(browser)),
      m_browser(m_ownedBrowser.get())
{
    setObjectName(QStringLiteral("TFOPC_UA_Client_Access"));
    FormCreate();
}

TFOPC_UA_Client_Access::~TFOPC_UA_Client_Access() = default;

QString TFOPC_UA_Client_Access::text(int n) const { return m_ctx.state->lang(n); }

void TFOPC_UA_Client_Access::FormCreate()
{
    setFont(QFont(QStringLiteral("Verdana"), 8));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
    TitlePanel title;
    QWidget* band = makeEditorTitleBand(this, title);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;

    auto button = [](QWidget* parent, const char* name) {
        auto* b = new TFormButton(parent);
        b->setObjectName(QLatin1String(name));
        b->setFixedSize(kButtonWidth, kButtonHeight);
        applyFormButtonLook(b);
        return b;
    };
    auto titleLabel = [](QWidget* parent, const char* name) {
        auto* l = new QLabel(parent);
        l->setObjectName(QLatin1String(name));
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        return l;
    };

    // Servers.
    P_OPC_UA_Server_List = new QWidget(this);
    P_OPC_UA_Server_List->setObjectName(QStringLiteral("P_OPC_UA_Server_List"));
    P_OPC_UA_Server_List->setMinimumHeight(kServerPanelHeight / 2);
    L_Server_List_Title = titleLabel(P_OPC_UA_Server_List, "L_Server_List_Title");
    ACG_OPC_UA_Server = new TExtColumnGrid(P_OPC_UA_Server_List);
    ACG_OPC_UA_Server->setObjectName(QStringLiteral("ACG_OPC_UA_Server"));
    Btn_Add_Server = button(P_OPC_UA_Server_List, "Btn_Add_Server");
    Btn_Modify_Server = button(P_OPC_UA_Server_List, "Btn_Modify_Server");
    Btn_Delete_Server = button(P_OPC_UA_Server_List, "Btn_Delete_Server");
    Btn_Scan_Server = button(P_OPC_UA_Server_List, "Btn_Scan_Server");
    auto* serverBox = new QVBoxLayout(P_OPC_UA_Server_List);
    serverBox->setContentsMargins(8, 4, 8, 4);
    serverBox->addWidget(L_Server_List_Title);
    serverBox->addWidget(ACG_OPC_UA_Server, 1);
    auto* serverButtons = new QHBoxLayout;
    for (TFormButton* b : {Btn_Add_Server, Btn_Modify_Server, Btn_Delete_Server, Btn_Scan_Server})
        serverButtons->addWidget(b);
    serverButtons->addStretch(1);
    serverBox->addLayout(serverButtons);

    // Variables.
    P_OPC_UA_Var_List = new QWidget(this);
    P_OPC_UA_Var_List->setObjectName(QStringLiteral("P_OPC_UA_Var_List"));
    L_Variables_List_Title = titleLabel(P_OPC_UA_Var_List, "L_Variables_List_Title");
    PC_OPC_UA_Vars = new QTabWidget(P_OPC_UA_Var_List);
    PC_OPC_UA_Vars->setObjectName(QStringLiteral("PC_OPC_UA_Vars"));
    auto page = [this](const char* name, const char* gridName, TExtColumnGrid*& grid) {
        auto* tab = new QWidget(PC_OPC_UA_Vars);
        tab->setObjectName(QLatin1String(name));
        grid = new TExtColumnGrid(tab);
        grid->setObjectName(QLatin1String(gridName));
        auto* box = new QVBoxLayout(tab);
        box->setContentsMargins(2, 2, 2, 2);
        box->addWidget(grid);
        return tab;
    };
    TS_OPC_UA_Var_Read = page("TS_OPC_UA_Var_Read", "ACG_OPC_UA_Var_R", ACG_OPC_UA_Var_R);
    TS_OPC_UA_Var_Write = page("TS_OPC_UA_Var_Write", "ACG_OPC_UA_Var_W", ACG_OPC_UA_Var_W);
    PC_OPC_UA_Vars->addTab(TS_OPC_UA_Var_Read, QStringLiteral("Variables in Read"));
    PC_OPC_UA_Vars->addTab(TS_OPC_UA_Var_Write, QStringLiteral("Variables in Write"));
    PC_OPC_UA_Vars->setCurrentIndex(0);

    auto* buttonBand = new QWidget(P_OPC_UA_Var_List);
    buttonBand->setObjectName(QStringLiteral("P_Button"));
    Btn_DelRow = button(buttonBand, "Btn_DelRow");
    Btn_InsRow = button(buttonBand, "Btn_InsRow");
    Btn_CopyRow = button(buttonBand, "Btn_CopyRow");
    Btn_PasteRow = button(buttonBand, "Btn_PasteRow");
    Btn_AutoPosition = button(buttonBand, "Btn_AutoPosition");
    Btn_AutoPosition->setText(QStringLiteral("Auto Pos"));
    Btn_OK = button(buttonBand, "Btn_OK");
    Btn_Cancel = button(buttonBand, "Btn_Cancel");
    setFormButtonGlyph(Btn_OK, "LBOK");
    setFormButtonGlyph(Btn_Cancel, "LBCANCEL");
    auto* row = new QHBoxLayout(buttonBand);
    row->setContentsMargins(4, 6, 4, 6);
    for (TFormButton* b : {Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow, Btn_AutoPosition})
        row->addWidget(b);
    row->addStretch(1);
    row->addWidget(Btn_OK);
    row->addWidget(Btn_Cancel);
    auto* varBox = new QVBoxLayout(P_OPC_UA_Var_List);
    varBox->setContentsMargins(8, 4, 8, 0);
    varBox->addWidget(L_Variables_List_Title);
    varBox->addWidget(PC_OPC_UA_Vars, 1);
    varBox->addWidget(buttonBand);

    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->addWidget(P_OPC_UA_Server_List);
    Splitter1->addWidget(P_OPC_UA_Var_List);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->setSizes(
        {kServerPanelHeight, kClientHeight - kServerPanelHeight - kEditorTitleHeight});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(band);
    layout->addWidget(Splitter1, 1);

    // Server grid: whole rows, no editing.
    TExtColumnGrid* sg = ACG_OPC_UA_Server;
    sg->SetColCount(kServerColumns);
    sg->SetRowCount(2);
    sg->SetFixedCols(1);
    sg->SetFixedRows(1);
    sg->SetDefaultRowHeight(kRowHeight);
    sg->store().SetWordWrap(false);
    sg->SetOptions((sg->Options() | goColSizing | goRowSelect) & ~TGridOptions(goEditing));
    for (int c = 0; c < kServerColumns; ++c) {
        sg->Columns().GetItem(c)->SetEditor(TEditorType::edNone);
        sg->Columns().GetItem(c)->SetWidth(c == 0 ? 42 : (c == 2 ? 200 : 95));
    }
    sg->Columns().GetItem(1)->SetEditor(TEditorType::edDataCheckBox);
    sg->Columns().GetItem(1)->SetReadOnly(true);
    sg->Loaded();
    setupVarGrid(ACG_OPC_UA_Var_R, false);
    setupVarGrid(ACG_OPC_UA_Var_W, true);

    sg->OnClickCell = [this](QObject*, int r, int c) { ACG_OPC_UA_ServerClickCell(r, c); };
    sg->OnDblClickCell = [this](QObject*, int r, int c) { ACG_OPC_UA_ServerDblClickCell(r, c); };
    sg->OnGridHint = [this](QObject* s, int r, int c, QString& h) { GridHint(s, r, c, h); };

    connect(Btn_Add_Server, &QAbstractButton::clicked, this, &TFOPC_UA_Client_Access::Add_Server);
    connect(Btn_Modify_Server, &QAbstractButton::clicked, this,
            &TFOPC_UA_Client_Access::Modify_Server);
    connect(Btn_Delete_Server, &QAbstractButton::clicked, this,
            &TFOPC_UA_Client_Access::Delete_Server);
    connect(Btn_Scan_Server, &QAbstractButton::clicked, this, &TFOPC_UA_Client_Access::Scan_Server);
    connect(Btn_AutoPosition, &QAbstractButton::clicked, this,
            &TFOPC_UA_Client_Access::Btn_AutoPositionClick);
    connect(Btn_DelRow, &QAbstractButton::clicked, this, &TFOPC_UA_Client_Access::Btn_DelRowClick);
    connect(Btn_InsRow, &QAbstractButton::clicked, this, &TFOPC_UA_Client_Access::Btn_InsRowClick);
    connect(Btn_CopyRow, &QAbstractButton::clicked, this,
            &TFOPC_UA_Client_Access::Btn_CopyRowClick);
    connect(Btn_PasteRow, &QAbstractButton::clicked, this,
            &TFOPC_UA_Client_Access::Btn_PasteRowClick);
    connect(Btn_OK, &QAbstractButton::clicked, this, &TFOPC_UA_Client_Access::Btn_OKClick);
    connect(Btn_Cancel, &QAbstractButton::clicked, this, [this] { done(mrCancel); });

    FOPC_UA_Add_Server = new TFOPC_UA_Add_Server(m_ctx, this);
    FOPC_UA_Scan_Server = new TFOPC_UA_Scan_Server(m_ctx, m_browser, this);

    L_SW_Code->setText(m_ctx.buildCode);
    resize(kClientWidth, kClientHeight);
    Set_Lang();
}

void TFOPC_UA_Client_Access::setupVarGrid(TExtColumnGrid* g, bool write)
{
    g->SetColCount(kOpcUaVarColumns);
    g->SetRowCount(kOpcUaVarRows + 1);
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    g->SetDefaultRowHeight(kRowHeight);
    g->store().SetWordWrap(false);
    g->SetOptions(g->Options() | goColSizing | goEditing);
    QStringList types;
    for (const char* t : opcUaDataTypeNames())
        types << QLatin1String(t);
    QStringList kinds;
    for (const char* k : opcUaNodeTypeNames())
        kinds << QLatin1String(k);
    QStringList bits;
    for (int b = 0; b <= 7; ++b)
        bits << QString::number(b);
    auto set = [g](int c, TEditorType e, const QStringList& items = {}) {
        TGridColumnItem* item = g->Columns().GetItem(c);
        item->SetEditor(e);
        if (!items.isEmpty())
            item->SetComboItems(items);
    };
    set(0, TEditorType::edNone);
    for (int c = 1; c < kOpcUaVarColumns; ++c)
        set(c, TEditorType::edNormal);
    set(1, TEditorType::edDataCheckBox);
    set(3, TEditorType::edComboList, kinds);
    set(5, TEditorType::edComboList, types);
    if (write) {
        for (int c : {7, 8, 9})
            set(c, TEditorType::edDataCheckBox);
    } else {
        set(7, TEditorType::edComboList, {QStringLiteral("Variable"), QStringLiteral("Array")});
    }
    set(12, TEditorType::edComboList, bits);
    for (int c : {13, 14, 15})
        set(c, TEditorType::edDataCheckBox);
    g->Columns().GetItem(0)->SetWidth(42);
    for (int c = 1; c < kOpcUaVarColumns; ++c)
        g->Columns().GetItem(c)->SetWidth(kVarWidths[size_t(c - 1)]);
    g->Loaded();
    g->OnClickCell = [g](QObject*, int r, int c) {
        if (c == 0 && r > 0)
            g->SelectRows(r, 1);
    };
    g->OnDblClickCell = [this, g](QObject*, int r, int c) {
        Grid_Auto_Size_Col(*g, r, c, m_ctx.state->Opt_Double_Click_Auto_Size);
    };
    g->OnKeyPress = [this, g](QObject*, char16_t& key) {
        Grid_Jump_Next_Cell(*g, key, m_ctx.state->Opt_Jump_Field_Tables);
    };
    g->OnGridHint = [this](QObject* s, int r, int c, QString& h) { GridHint(s, r, c, h); };
    eraseVarGrid(g);
}

void TFOPC_UA_Client_Access::Set_Lang()
{
    setWindowTitle(text(5400));
    L_SW_Desc->setText(text(5401));
    L_SW_Desc->adjustSize();
    L_Server_List_Title->setText(text(5402));
    L_Variables_List_Title->setText(text(5432));
    const std::pair<TFormButton*, int> buttons[] = {{Btn_Add_Server, 5403},
                                                    {Btn_Modify_Server, 5404},
                                                    {Btn_Delete_Server, 5405},
                                                    {Btn_Scan_Server, 5406},
                                                    {Btn_OK, 5433},
                                                    {Btn_Cancel, 5434},
                                                    {Btn_DelRow, 5435},
                                                    {Btn_InsRow, 5436},
                                                    {Btn_CopyRow, 5437},
                                                    {Btn_PasteRow, 5438}};
    for (const auto& [b, t] : buttons)
        b->setText(text(t));
    Btn_Add_Server->setToolTip(text(5407));
    Btn_Modify_Server->setToolTip(text(5408));
    Btn_Delete_Server->setToolTip(text(5409));
    Btn_Scan_Server->setToolTip(text(5410));
    Btn_OK->setToolTip(text(5439));
    Btn_Cancel->setToolTip(text(5440));
    Btn_DelRow->setToolTip(text(5441));
    Btn_InsRow->setToolTip(text(5442));
    Btn_CopyRow->setToolTip(text(5443));
    Btn_PasteRow->setToolTip(text(5444));

    Hint_Server_List.clear();
    ACG_OPC_UA_Server->Columns().GetItem(0)->SetHeader(text(5411));
    for (int c = 1; c < kServerColumns; ++c) {
        ACG_OPC_UA_Server->Columns().GetItem(c)->SetHeader(text(kServerHeaders[size_t(c - 1)]));
        Hint_Server_List << text(kServerHints[size_t(c - 1)]);
    }
    auto headers = [this](TExtColumnGrid* g, int numberText, const std::array<int, 16>& head,
                          const std::array<int, 16>& hints, QStringList& list) {
        list.clear();
        g->Columns().GetItem(0)->SetHeader(text(numberText));
        for (int c = 1; c < kOpcUaVarColumns; ++c) {
            g->Columns().GetItem(c)->SetHeader(text(head[size_t(c - 1)]));
            list << text(hints[size_t(c - 1)]);
        }
    };
    headers(ACG_OPC_UA_Var_R, 5445, kReadHeaders, kReadHints, Hint_Var_R_List);
    headers(ACG_OPC_UA_Var_W, 5464, kWriteHeaders, kWriteHints, Hint_Var_W_List);
    if (FOPC_UA_Add_Server)
        FOPC_UA_Add_Server->Set_Lang();
    if (FOPC_UA_Scan_Server)
        FOPC_UA_Scan_Server->Set_Lang();
}

void TFOPC_UA_Client_Access::GridHint(QObject* Sender, int ARow, int ACol, QString& hintstr)
{
    hintstr.clear();
    auto* g = static_cast<TExtStringGrid*>(Sender);
    if (ARow != 0 || ACol <= 0)
        return;
    const QStringList& list = Sender == ACG_OPC_UA_Var_R   ? Hint_Var_R_List
                              : Sender == ACG_OPC_UA_Var_W ? Hint_Var_W_List
                                                           : Hint_Server_List;
    const int entry = g->RealColIndex(ACol) - 1;
    if (entry >= 0 && entry < list.size())
        hintstr = list[entry];
}

void TFOPC_UA_Client_Access::FormShow()
{
    m_shown = -1;
    OPC_UA_Server_List.clear();
    m_loadFailed = false;
    eraseVarGrid(ACG_OPC_UA_Var_R);
    eraseVarGrid(ACG_OPC_UA_Var_W);
    const QString path = m_ctx.state->File_OPC_UA_Client;
    OpcUaClientLoad load = loadOpcUaClientFile(path);
    OPC_UA_Server_List = std::move(load.servers);
    ACG_OPC_UA_Server->MoveCurrentCell(1, 1, true, true);
    Show_OPC_UA_Server_List();
    Show_OPC_UA_Var_List();
    Do_Copy_Read = Do_Copy_Write = false;
    // A file that could not be read whole is said now, before anything can be saved over it.
    if (!load.result.ok) {
        m_loadFailed = true;
        m_ctx.dialogs->showWarning(load.result.message, this);
    } else if (!load.problems.isEmpty()) {
        m_loadFailed = true;
        m_ctx.dialogs->showWarning(load.problems.join(u'\n'), this);
    }
}

void TFOPC_UA_Client_Access::eraseVarGrid(TExtColumnGrid* g)
{
    g->BeginUpdate();
    if (g->RowCount() != kOpcUaVarRows + 1)
        g->SetRowCount(kOpcUaVarRows + 1);
    for (int r = 1; r < g->RowCount(); ++r) {
        g->SetCellEx(0, r, QString::number(r));
        g->SetCellEx(1, r, QStringLiteral("Y"));
        for (int c = 2; c < kOpcUaVarColumns; ++c)
            g->SetCellEx(c, r, QString());
    }
    g->EndUpdate();
}

void TFOPC_UA_Client_Access::fillVarGrid(TExtColumnGrid* g, const OpcUaVariableList& list,
                                         bool write)
{
    g->BeginUpdate();
    // Mended: a list longer than the grid (a big browse) used to be cut to the grid's rows the
    // next time the grid was saved. The grid now grows to the list, with one free row.
    const int rows = std::max(kOpcUaVarRows, int(list.size()) + 1) + 1;
    if (g->RowCount() != rows) {
        g->SetRowCount(rows);
        for (int r = kOpcUaVarRows + 1; r < rows; ++r) {
            g->SetCellEx(0, r, QString::number(r));
            g->SetCellEx(1, r, QStringLiteral("Y"));
        }
    }
    for (size_t k = 0; k < list.size(); ++k) {
        const QStringList cells = opcUaVariableRow(*list[k], write);
        for (int c = 1; c < kOpcUaVarColumns; ++c)
            g->SetCellEx(c, int(k) + 1, cells[c]);
    }
    g->EndUpdate();
}

void TFOPC_UA_Client_Access::saveVarGrid(TExtColumnGrid* g, OpcUaVariableList& list, bool write)
{
    g->HideInplaceEdit();
    std::vector<QStringList> rows;
    rows.reserve(size_t(g->RowCount()));
    for (int r = 1; r < g->RowCount(); ++r) {
        if (g->GetCellEx(kOpcUaColDisplayName, r).isEmpty())
            break;
        QStringList cells;
        for (int c = 0; c < kOpcUaVarColumns; ++c)
            cells << g->GetCellEx(c, r);
        rows.push_back(std::move(cells));
    }
    list = opcUaVariablesFromRows(rows, write);
}

void TFOPC_UA_Client_Access::commitVariableGrids()
{
    ACG_OPC_UA_Var_R->HideInplaceEdit();
    ACG_OPC_UA_Var_W->HideInplaceEdit();
    if (m_shown < 0 || m_shown >= int(OPC_UA_Server_List.size()))
        return;
    TOPC_UA_Server& s = *OPC_UA_Server_List[size_t(m_shown)];
    saveVarGrid(ACG_OPC_UA_Var_R, s.Var_List_R, false);
    saveVarGrid(ACG_OPC_UA_Var_W, s.Var_List_W, true);
}

int TFOPC_UA_Client_Access::currentServer() const
{
    const int i = ACG_OPC_UA_Server->Row() - 1;
    return i >= 0 && i < int(OPC_UA_Server_List.size()) ? i : -1;
}

TExtColumnGrid* TFOPC_UA_Client_Access::activeVarGrid() const
{
    return PC_OPC_UA_Vars->currentWidget() == TS_OPC_UA_Var_Read ? ACG_OPC_UA_Var_R
                                                                 : ACG_OPC_UA_Var_W;
}

void TFOPC_UA_Client_Access::Show_OPC_UA_Server_List()
{
    TExtColumnGrid* g = ACG_OPC_UA_Server;
    g->BeginUpdate();
    const int rows = std::max(2, int(OPC_UA_Server_List.size()) + 1);
    g->SetRowCount(rows);
    if (OPC_UA_Server_List.empty()) {
        for (int c = 0; c < kServerColumns; ++c)
            g->SetCellEx(c, 1, QString());
    }
    for (size_t i = 0; i < OPC_UA_Server_List.size(); ++i) {
        const TOPC_UA_Server& s = *OPC_UA_Server_List[i];
        const int r = int(i) + 1;
        const QString cells[] = {QString::number(r), yn(s.Enable), s.ServerAddress,
                                 s.Authorization,    s.UserName,   s.Password,
                                 s.Certificate,      s.PrivateKey, s.SecurityType,
                                 s.SecurityPolicy,   s.Mnemonic};
        for (int c = 0; c < kServerColumns; ++c)
            g->SetCellEx(c, r, cells[c]);
    }
    g->EndUpdate();
}

void TFOPC_UA_Client_Access::Show_OPC_UA_Var_List()
{
    eraseVarGrid(ACG_OPC_UA_Var_R);
    eraseVarGrid(ACG_OPC_UA_Var_W);
    m_shown = currentServer();
    if (m_shown < 0)
        return;
    const TOPC_UA_Server& s = *OPC_UA_Server_List[size_t(m_shown)];
    fillVarGrid(ACG_OPC_UA_Var_R, s.Var_List_R, false);
    fillVarGrid(ACG_OPC_UA_Var_W, s.Var_List_W, true);
}

void TFOPC_UA_Client_Access::ACG_OPC_UA_ServerClickCell(int ARow, int ACol)
{
    if (ARow <= 0)
        return;
    // The grids go back into the server they were shown for before another one is shown.
    commitVariableGrids();
    Show_OPC_UA_Var_List();
}

void TFOPC_UA_Client_Access::ACG_OPC_UA_ServerDblClickCell(int ARow, int ACol)
{
    if (ARow < 0)
        Add_Server();
    else if (ARow > 0)
        Modify_Server();
}

void TFOPC_UA_Client_Access::serverToDialog(const TOPC_UA_Server& s)
{
    TFOPC_UA_Add_Server& d = *FOPC_UA_Add_Server;
    d.CB_OPC_UA_Server_Enable->setChecked(s.Enable);
    d.E_Server_Add->setText(s.ServerAddress);
    d.E_User->setText(s.UserName);
    d.E_Pass->setText(s.Password);
    d.E_Mnemonic->setText(s.Mnemonic);
    d.RE_Certificate->setPlainText(s.Certificate);
    d.RE_Priv_Key->setPlainText(s.PrivateKey);
    d.CB_Auth->setCurrentIndex(Str_To_OPC_UA_Auth(s.Authorization));
    d.CB_Sec_Type->setCurrentIndex(Str_To_OPC_UA_Security_Mode(s.SecurityType));
    d.CB_Sec_Policy->setCurrentIndex(Str_To_OPC_UA_Security_Policy(s.SecurityPolicy));
}

void TFOPC_UA_Client_Access::dialogToServer(TOPC_UA_Server& s) const
{
    const TFOPC_UA_Add_Server& d = *FOPC_UA_Add_Server;
    s.Enable = d.CB_OPC_UA_Server_Enable->isChecked();
    s.ServerAddress = d.E_Server_Add->text();
    s.Authorization = OPC_UA_Auth_To_Str(d.CB_Auth->currentIndex());
    s.UserName = d.E_User->text();
    s.Password = d.E_Pass->text();
    s.Certificate = d.RE_Certificate->toPlainText();
    s.PrivateKey = d.RE_Priv_Key->toPlainText();
    s.SecurityType = OPC_UA_Security_Mode_To_Str(d.CB_Sec_Type->currentIndex());
    s.SecurityPolicy = OPC_UA_Security_Policy_To_Str(d.CB_Sec_Policy->currentIndex());
    s.Mnemonic = d.E_Mnemonic->text();
}

void TFOPC_UA_Client_Access::Add_Server()
{
    commitVariableGrids();
    FOPC_UA_Add_Server->FormType = 1;
    if (m_ctx.dialogs->showModal(*FOPC_UA_Add_Server) == mrOk) {
        auto s = std::make_unique<TOPC_UA_Server>();
        dialogToServer(*s);
        OPC_UA_Server_List.push_back(std::move(s));
    }
    Show_OPC_UA_Server_List();
}

void TFOPC_UA_Client_Access::Modify_Server()
{
    commitVariableGrids();
    const int i = currentServer();
    if (i < 0)
        return;
    FOPC_UA_Add_Server->FormType = 2;
    serverToDialog(*OPC_UA_Server_List[size_t(i)]);
    if (m_ctx.dialogs->showModal(*FOPC_UA_Add_Server) == mrOk)
        dialogToServer(*OPC_UA_Server_List[size_t(i)]);
    Show_OPC_UA_Server_List();
}

void TFOPC_UA_Client_Access::Delete_Server()
{
    commitVariableGrids();
    const int i = currentServer();
    if (i < 0)
        return;
    if (m_ctx.dialogs->messageDlg(text(5489), TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel,
                                  this)
        != mrYes)
        return;
    OPC_UA_Server_List.erase(OPC_UA_Server_List.begin() + i);
    Show_OPC_UA_Server_List();
    // Mended: the grids kept showing the deleted server's lists, and a later save put them
    // into whichever server then had that row. They now show the current row's server at once.
    Show_OPC_UA_Var_List();
}

void TFOPC_UA_Client_Access::Btn_AutoPositionClick()
{
    commitVariableGrids();
    const int i = currentServer();
    if (i < 0)
        return;
    if (!m_ctx.dialogs->askYesNo(text(5494), this))
        return;
    opcUaAutoPositions(OPC_UA_Server_List, i);
    Show_OPC_UA_Var_List();
}

void TFOPC_UA_Client_Access::Btn_InsRowClick()
{
    commitVariableGrids();
    TExtColumnGrid* g = activeVarGrid();
    const int r = g->Row();
    if (r < 1)
        return;
    // Mended: inserting pushed the last row out of a full grid; the grid grows instead.
    const int last = g->RowCount() - 1;
    if (!g->GetCellEx(kOpcUaColDisplayName, last).isEmpty()) {
        g->SetRowCount(last + 2);
        g->SetCellEx(0, last + 1, QString::number(last + 1));
    }
    Insert_Row_Grid(r, *g, true);
    commitVariableGrids();
}

void TFOPC_UA_Client_Access::Btn_DelRowClick()
{
    commitVariableGrids();
    TExtColumnGrid* g = activeVarGrid();
    const int r = g->Row();
    if (r < 1)
        return;
    if (!m_ctx.dialogs->askYesNo(text(5493) + QString::number(r), this))
        return;
    Delete_Row_Grid(r, *g);
    g->SetCellEx(1, g->RowCount() - 1, QStringLiteral("Y"));
    commitVariableGrids();
}

void TFOPC_UA_Client_Access::Btn_CopyRowClick()
{
    commitVariableGrids();
    TExtColumnGrid* g = activeVarGrid();
    if (g->Row() < 1)
        return;
    Copy_Row_Grid(*g, g->Row(), m_copyBuffer);
    Do_Copy_Read = g == ACG_OPC_UA_Var_R;
    Do_Copy_Write = !Do_Copy_Read;
}

void TFOPC_UA_Client_Access::Btn_PasteRowClick()
{
    commitVariableGrids();
    TExtColumnGrid* g = activeVarGrid();
    if (g->Row() < 1)
        return;
    const bool copied = g == ACG_OPC_UA_Var_R ? Do_Copy_Read : Do_Copy_Write;
    const PasteResult result = Paste_Row_Grid(*g, g->Row(), copied, m_copyBuffer, [this](int n) {
        return m_ctx.dialogs->askYesNo(text(n), this);
    });
    if (result.errorText)
        m_ctx.dialogs->showError(text(result.errorText), this);
    commitVariableGrids();
}

bool TFOPC_UA_Client_Access::Controllo_Dati()
{
    commitVariableGrids();
    const auto fault = opcUaCheckServers(OPC_UA_Server_List);
    if (!fault)
        return true;
    m_ctx.dialogs->showError(opcUaCheckMessage(text(fault->text), *fault), this);
    return false;
}

void TFOPC_UA_Client_Access::Btn_OKClick()
{
    if (!Controllo_Dati())
        return;
    if (m_loadFailed && !m_ctx.dialogs->askYesNo(text(kTextSaveAnyway), this))
        return;
    const FileResult saved = saveOpcUaClientFile(m_ctx.state->File_OPC_UA_Client,
                                                 OPC_UA_Server_List);
    if (!saved.ok) {
        m_ctx.dialogs->showError(saved.message, this);
        return;
    }
    done(mrOk);
}

void TFOPC_UA_Client_Access::Scan_Server()
{
    commitVariableGrids();
    const int i = currentServer();
    if (i < 0) {
        m_ctx.dialogs->showError(text(5490), this);
        return;
    }
    FOPC_UA_Scan_Server->Server = opcUaBrowseRequest(*OPC_UA_Server_List[size_t(i)]);
    if (m_ctx.dialogs->showModal(*FOPC_UA_Scan_Server) != mrOk)
        return;
    if (!FOPC_UA_Scan_Server->List_Var.empty()) {
        addBrowsed(false, i);
        addBrowsed(true, i);
    }
    Show_OPC_UA_Var_List();
}

void TFOPC_UA_Client_Access::addBrowsed(bool write, int server)
{
    OpcUaVariableList& list = write ? OPC_UA_Server_List[size_t(server)]->Var_List_W
                                    : OPC_UA_Server_List[size_t(server)]->Var_List_R;
    if (!list.empty()) {
        const TModalResult answer = m_ctx.dialogs->messageDlg(text(write ? 5492 : 5491),
                                                              TMsgDlgType::mtConfirmation,
                                                              mbYes | mbNo | mbCancel, this);
        if (answer == mrNo)
            list.clear();
        else if (answer != mrYes)
            return;
    }
    for (const OpcUaBrowsedVariable* v : FOPC_UA_Scan_Server->ticked(write))
        list.push_back(opcUaVariableFromBrowse(*v));
}

}  // namespace zfw
