#include "editors/iot/UOPC_UA_Client_Access.h"

#include "common/UComon.h"
#include "common/UComonValidators.h"
#include "editors/iot/UOPC_UA_Add_Server.h"
#include "editors/iot/UOPC_UA_Scan_Server.h"
#include "editors/iot/core/UOpcUaBrowse.h"
#include "editors/iot/core/UOpcUaClientFile.h"
#include "editors/iot/core/UOpcUaClientRules.h"
#include "editors/iot/core/UOpcUaClientSpec.h"
#include "grid/ColumnGrid.h"
#include "platform/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
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
constexpr int kAutoPosition = 0;  // the editor's own button

constexpr std::array<int, 10> kServerHeaders = {5412, 5413, 5414, 5415, 5416,
                                                5417, 5418, 5419, 5420, 5421};
constexpr std::array<int, 10> kServerHints = {5422, 5423, 5424, 5425, 5426,
                                              5427, 5428, 5429, 5430, 5431};

QString yn(bool on) { return on ? QStringLiteral("Y") : QStringLiteral("N"); }

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFOPC_UA_Client_Access";
    n.pageControl = "PC_OPC_UA_Vars";
    n.tabs = {"TS_OPC_UA_Var_Read", "TS_OPC_UA_Var_Write"};
    n.grids = {"ACG_OPC_UA_Var_R", "ACG_OPC_UA_Var_W"};
    n.fixedTabCaptions = {"Variables in Read", "Variables in Write"};
    n.clientWidth = kClientWidth;
    n.clientHeight = kClientHeight;
    n.extraButtons = {{"Btn_AutoPosition", 0, 0, "Auto Pos"}};
    n.ownFile = true;
    return n;
}

}  // namespace

TFOPC_UA_Client_Access::TFOPC_UA_Client_Access(const RuleEditorContext& context,
                                               IOpcUaBrowser* browser, QWidget* parent)
    : TRuleEditorFrame(context, names(), opcUaClientSpec(), parent), m_browser(browser)
{
    FormCreate();
}

TFOPC_UA_Client_Access::TFOPC_UA_Client_Access(const RuleEditorContext& context,
                                               std::unique_ptr<IOpcUaBrowser> browser,
                                               QWidget* parent)
    : TRuleEditorFrame(context, names(), opcUaClientSpec(), parent),
      m_ownedBrowser(std::move(browser)), m_browser(m_ownedBrowser.get())
{
    FormCreate();
}

TFOPC_UA_Client_Access::~TFOPC_UA_Client_Access() = default;

void TFOPC_UA_Client_Access::FormCreate()
{
    setFont(QFont(QStringLiteral("Verdana"), 8));
    FOPC_UA_Add_Server = new TFOPC_UA_Add_Server(context(), this);
    FOPC_UA_Scan_Server = new TFOPC_UA_Scan_Server(context(), m_browser, this);
}

RuleFileSpec TFOPC_UA_Client_Access::prepareOpening()
{
    RuleFileSpec spec = opcUaClientSpec();
    // Every server is checked, not only the one the grids show: the tables were taken back
    // into their server before the check runs.
    spec.fileChecks = {[this](const RuleFile&) { return opcUaCheckFault(OPC_UA_Server_List); }};
    return spec;
}

QString TFOPC_UA_Client_Access::filePath() const { return context().state->File_OPC_UA_Client; }

QWidget* TFOPC_UA_Client_Access::arrangeBody(QWidget* grids)
{
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
    L_Variables_List_Title = titleLabel(P_OPC_UA_Server_List, "L_Variables_List_Title");
    auto* box = new QVBoxLayout(P_OPC_UA_Server_List);
    box->setContentsMargins(8, 4, 8, 4);
    box->addWidget(L_Server_List_Title);
    box->addWidget(ACG_OPC_UA_Server, 1);
    auto* row = new QHBoxLayout;
    for (TFormButton* b : {Btn_Add_Server, Btn_Modify_Server, Btn_Delete_Server, Btn_Scan_Server})
        row->addWidget(b);
    row->addStretch(1);
    box->addLayout(row);
    box->addWidget(L_Variables_List_Title);

    // Whole rows, no editing: a server changes through its dialog only.
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
    sg->OnClickCell = [this](QObject*, int r, int c) { ACG_OPC_UA_ServerClickCell(r, c); };
    sg->OnDblClickCell = [this](QObject*, int r, int c) { ACG_OPC_UA_ServerDblClickCell(r, c); };
    sg->OnGridHint = [this](QObject*, int r, int c, QString& h) { ServerGridHint(r, c, h); };

    connect(Btn_Add_Server, &QAbstractButton::clicked, this, &TFOPC_UA_Client_Access::Add_Server);
    connect(Btn_Modify_Server, &QAbstractButton::clicked, this,
            &TFOPC_UA_Client_Access::Modify_Server);
    connect(Btn_Delete_Server, &QAbstractButton::clicked, this,
            &TFOPC_UA_Client_Access::Delete_Server);
    connect(Btn_Scan_Server, &QAbstractButton::clicked, this, &TFOPC_UA_Client_Access::Scan_Server);

    // The server list shares the height with the variable grids below it.
    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(P_OPC_UA_Server_List);
    Splitter1->addWidget(grids);
    Splitter1->setStretchFactor(1, 1);
    return Splitter1;
}

void TFOPC_UA_Client_Access::built()
{
    ACG_OPC_UA_Var_R = grid(0);
    ACG_OPC_UA_Var_W = grid(1);
    PC_OPC_UA_Vars = pageControl();
    TS_OPC_UA_Var_Read = PC_OPC_UA_Vars->widget(0);
    TS_OPC_UA_Var_Write = PC_OPC_UA_Vars->widget(1);
    Btn_AutoPosition = extraButton("Btn_AutoPosition");
    Splitter1->setSizes(
        {kServerPanelHeight, kClientHeight - kServerPanelHeight - kEditorTitleHeight});
    applyServerTexts();
}

void TFOPC_UA_Client_Access::Set_Lang()
{
    TRuleEditorFrame::Set_Lang();
    if (isBuilt())
        applyServerTexts();
    if (FOPC_UA_Add_Server)
        FOPC_UA_Add_Server->Set_Lang();
    if (FOPC_UA_Scan_Server)
        FOPC_UA_Scan_Server->Set_Lang();
}

void TFOPC_UA_Client_Access::applyServerTexts()
{
    L_Server_List_Title->setText(text(5402));
    L_Variables_List_Title->setText(text(5432));
    const std::pair<TFormButton*, std::pair<int, int>> buttons[] = {
        {Btn_Add_Server, {5403, 5407}},
        {Btn_Modify_Server, {5404, 5408}},
        {Btn_Delete_Server, {5405, 5409}},
        {Btn_Scan_Server, {5406, 5410}}};
    for (const auto& [b, t] : buttons) {
        b->setText(text(t.first));
        b->setToolTip(text(t.second));
    }
    Hint_Server_List.clear();
    ACG_OPC_UA_Server->Columns().GetItem(0)->SetHeader(text(5411));
    for (int c = 1; c < kServerColumns; ++c) {
        ACG_OPC_UA_Server->Columns().GetItem(c)->SetHeader(text(kServerHeaders[size_t(c - 1)]));
        Hint_Server_List << text(kServerHints[size_t(c - 1)]);
    }
}

void TFOPC_UA_Client_Access::ServerGridHint(int ARow, int ACol, QString& hintstr)
{
    hintstr.clear();
    if (ARow != 0 || ACol <= 0)
        return;
    const int entry = ACG_OPC_UA_Server->RealColIndex(ACol) - 1;
    if (entry >= 0 && entry < Hint_Server_List.size())
        hintstr = Hint_Server_List[entry];
}

QStringList TFOPC_UA_Client_Access::readOwnFile(RuleFile& tables)
{
    m_shown = -1;
    m_loadFaults.clear();
    OpcUaClientLoad load = loadOpcUaClientFile(filePath());
    OPC_UA_Server_List = std::move(load.servers);
    ACG_OPC_UA_Server->MoveCurrentCell(1, 1, true, true);
    Show_OPC_UA_Server_List();
    m_shown = currentServer();
    fillTables(tables);
    // A file that could not be read whole is said now, before anything can be saved over it.
    if (!load.result.ok)
        m_loadFaults = {load.result.message};
    else
        m_loadFaults = load.problems;
    return m_loadFaults;
}

QStringList TFOPC_UA_Client_Access::ownSaveWarnings() const { return m_loadFaults; }

// The tables went back into the shown server before the check: the servers hold them.
FileResult TFOPC_UA_Client_Access::writeOwnFile(const RuleFile&)
{
    return saveOpcUaClientFile(filePath(), OPC_UA_Server_List);
}

void TFOPC_UA_Client_Access::tablesTaken()
{
    if (m_shown < 0 || m_shown >= int(OPC_UA_Server_List.size()) || !model())
        return;
    TOPC_UA_Server& s = *OPC_UA_Server_List[size_t(m_shown)];
    s.Var_List_R = opcUaVariablesOfTable(model()->file().tables[0], false);
    s.Var_List_W = opcUaVariablesOfTable(model()->file().tables[1], true);
}

void TFOPC_UA_Client_Access::extraButtonClick(int index)
{
    if (index == kAutoPosition)
        Btn_AutoPositionClick();
}

void TFOPC_UA_Client_Access::commitVariableGrids() { takeTables(); }

void TFOPC_UA_Client_Access::fillTables()
{
    if (RuleEditorModel* m = model())
        fillTables(m->file());
}

void TFOPC_UA_Client_Access::fillTables(RuleFile& tables) const
{
    const OpcUaVariableList none;
    const bool any = m_shown >= 0 && m_shown < int(OPC_UA_Server_List.size());
    const TOPC_UA_Server* s = any ? OPC_UA_Server_List[size_t(m_shown)].get() : nullptr;
    opcUaFillTable(tables.tables[0], s ? s->Var_List_R : none, false);
    opcUaFillTable(tables.tables[1], s ? s->Var_List_W : none, true);
}

int TFOPC_UA_Client_Access::currentServer() const
{
    const int i = ACG_OPC_UA_Server->Row() - 1;
    return i >= 0 && i < int(OPC_UA_Server_List.size()) ? i : -1;
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
    m_shown = currentServer();
    fillTables();
    if (model())
        showTables();
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
    if (dialogs().showModal(*FOPC_UA_Add_Server) == mrOk) {
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
    if (dialogs().showModal(*FOPC_UA_Add_Server) == mrOk)
        dialogToServer(*OPC_UA_Server_List[size_t(i)]);
    Show_OPC_UA_Server_List();
}

void TFOPC_UA_Client_Access::Delete_Server()
{
    commitVariableGrids();
    const int i = currentServer();
    if (i < 0)
        return;
    if (dialogs().messageDlg(text(5489), TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel, this)
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
    if (!dialogs().askYesNo(text(5494), this))
        return;
    opcUaAutoPositions(OPC_UA_Server_List, i);
    Show_OPC_UA_Var_List();
}

void TFOPC_UA_Client_Access::Scan_Server()
{
    commitVariableGrids();
    const int i = currentServer();
    if (i < 0) {
        dialogs().showError(text(5490), this);
        return;
    }
    FOPC_UA_Scan_Server->Server = opcUaBrowseRequest(*OPC_UA_Server_List[size_t(i)]);
    if (dialogs().showModal(*FOPC_UA_Scan_Server) != mrOk)
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
        const TModalResult answer = dialogs().messageDlg(text(write ? 5492 : 5491),
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
