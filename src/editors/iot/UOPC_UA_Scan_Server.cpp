#include "editors/iot/UOPC_UA_Scan_Server.h"

#include "common/UComon.h"
#include "common/UComonValidators.h"
#include "grid/ColumnGrid.h"
#include "platform/Dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace zfw {

namespace {
constexpr int kClientWidth = 1035;
constexpr int kClientHeight = 337;
constexpr int kColumns = 9;
constexpr int kTimerMs = 100;
constexpr std::array<int, 8> kHeaders = {5710, 5711, 5724, 5712, 5713, 5714, 5715, 5716};
constexpr std::array<int, 9> kWidths = {50, 50, 50, 260, 90, 260, 90, 110, 90};
}  // namespace

TFOPC_UA_Scan_Server::TFOPC_UA_Scan_Server(const RuleEditorContext& context, IOpcUaBrowser* browser,
                                           QWidget* parent)
    : TModalForm(parent), m_ctx(context), m_browser(browser)
{
    setObjectName(QStringLiteral("TFOPC_UA_Scan_Server"));
    FormCreate();
}

TFOPC_UA_Scan_Server::~TFOPC_UA_Scan_Server()
{
    if (m_browsing && m_browser)
        m_browser->cancel();
}

QString TFOPC_UA_Scan_Server::text(int n) const { return m_ctx.state->lang(n); }

void TFOPC_UA_Scan_Server::FormCreate()
{
    setFont(QFont(QStringLiteral("Verdana"), 8));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
    TitlePanel title;
    QWidget* band = makeEditorTitleBand(this, title);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;
    LWaiting = new QLabel(band);
    LWaiting->setObjectName(QStringLiteral("LWaiting"));
    QFont f = LWaiting->font();
    f.setBold(true);
    LWaiting->setFont(f);
    LWaiting->setStyleSheet(QStringLiteral("color: #c00000"));
    LWaiting->move(420, 24);
    LWaiting->hide();

    ACG_OPC_UA_Scan_Var = new TExtColumnGrid(this);
    ACG_OPC_UA_Scan_Var->setObjectName(QStringLiteral("ACG_OPC_UA_Scan_Var"));
    TExtColumnGrid* g = ACG_OPC_UA_Scan_Var;
    g->SetColCount(kColumns);
    g->SetRowCount(2);
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    g->SetDefaultRowHeight(20);
    g->store().SetWordWrap(false);
    g->SetOptions(g->Options() | goColSizing | goEditing);
    for (int c = 0; c < kColumns; ++c) {
        TGridColumnItem* item = g->Columns().GetItem(c);
        item->SetEditor(c == 1 || c == 2 ? TEditorType::edDataCheckBox : TEditorType::edNone);
        item->SetReadOnly(c != 1 && c != 2);
        item->SetWidth(kWidths[size_t(c)]);
    }
    g->Columns().GetItem(8)->SetHeader(QStringLiteral("Read/Write"));
    g->Loaded();

    auto* buttons = new QWidget(this);
    buttons->setObjectName(QStringLiteral("P_Button"));
    auto button = [buttons](const char* name) {
        auto* b = new TFormButton(buttons);
        b->setObjectName(QLatin1String(name));
        b->setFixedSize(100, 28);
        applyFormButtonLook(b);
        return b;
    };
    Btn_SelectAllRead = button("Btn_SelectAllRead");
    Btn_ClearAllRead = button("Btn_ClearAllRead");
    Btn_SelectAllWrite = button("Btn_SelectAllWrite");
    Btn_ClearAllWrite = button("Btn_ClearAllWrite");
    Btn_OK = button("Btn_OK");
    Btn_Cancel = button("Btn_Cancel");
    setFormButtonGlyph(Btn_OK, "LBOK");
    setFormButtonGlyph(Btn_Cancel, "LBCANCEL");
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(8, 6, 8, 6);
    for (TFormButton* b :
         {Btn_SelectAllRead, Btn_ClearAllRead, Btn_SelectAllWrite, Btn_ClearAllWrite})
        row->addWidget(b);
    row->addStretch(1);
    row->addWidget(Btn_OK);
    row->addWidget(Btn_Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(band);
    layout->addWidget(g, 1);
    layout->addWidget(buttons);

    connect(Btn_SelectAllRead, &QAbstractButton::clicked, this, [this] { setAll(1, true); });
    connect(Btn_ClearAllRead, &QAbstractButton::clicked, this, [this] { setAll(1, false); });
    connect(Btn_SelectAllWrite, &QAbstractButton::clicked, this, [this] { setAll(2, true); });
    connect(Btn_ClearAllWrite, &QAbstractButton::clicked, this, [this] { setAll(2, false); });
    connect(Btn_OK, &QAbstractButton::clicked, this, [this] { done(mrOk); });
    connect(Btn_Cancel, &QAbstractButton::clicked, this, [this] { reject(); });

    Timer_Scan = new QTimer(this);
    Timer_Scan->setObjectName(QStringLiteral("Timer_Scan"));
    Timer_Scan->setSingleShot(true);
    Timer_Scan->setInterval(kTimerMs);
    connect(Timer_Scan, &QTimer::timeout, this, &TFOPC_UA_Scan_Server::Timer_ScanTimer);

    L_SW_Code->setText(m_ctx.buildCode);
    resize(kClientWidth, kClientHeight);
    Set_Lang();
    Erase_Table();
}

void TFOPC_UA_Scan_Server::Set_Lang()
{
    setWindowTitle(text(5700));
    L_SW_Desc->setText(text(5701));
    L_SW_Desc->adjustSize();
    const std::pair<TFormButton*, std::pair<int, int>> buttons[] = {
        {Btn_OK, {5702, 5706}},
        {Btn_Cancel, {5703, 5707}},
        {Btn_SelectAllRead, {5704, 5708}},
        {Btn_ClearAllRead, {5705, 5709}},
        {Btn_SelectAllWrite, {5726, 5728}},
        {Btn_ClearAllWrite, {5727, 5729}}};
    for (const auto& [b, t] : buttons) {
        b->setText(text(t.first));
        b->setToolTip(text(t.second));
    }
    LWaiting->setText(text(5723));
    LWaiting->adjustSize();
    for (int c = 0; c < int(kHeaders.size()); ++c)
        ACG_OPC_UA_Scan_Var->Columns().GetItem(c)->SetHeader(text(kHeaders[size_t(c)]));
    Hint_ACG.clear();
    for (int n : {5717, 5725, 5718, 5719, 5720, 5721, 5722})
        Hint_ACG << text(n);
}

void TFOPC_UA_Scan_Server::Erase_Table()
{
    TExtColumnGrid* g = ACG_OPC_UA_Scan_Var;
    g->BeginUpdate();
    g->SetRowCount(2);
    for (int c = 0; c < kColumns; ++c)
        g->SetCellEx(c, 1, QString());
    g->EndUpdate();
}

void TFOPC_UA_Scan_Server::FormShow()
{
    Erase_Table();
    if (!Server.server_address.isEmpty() && Server.server_address.front() != QChar(0)) {
        List_Var.clear();
        LWaiting->show();
        for (TFormButton* b :
             {Btn_OK, Btn_SelectAllRead, Btn_ClearAllRead, Btn_SelectAllWrite, Btn_ClearAllWrite})
            b->setEnabled(false);
        Timer_Scan->start();
    } else {
        Show_Variables_List();
    }
}

void TFOPC_UA_Scan_Server::Timer_ScanTimer()
{
    Timer_Scan->stop();
    if (!m_browser) {
        endBrowse();
        m_ctx.dialogs->showError(text(5730), this);
        return;
    }
    m_browsing = true;
    m_browser->begin(Server, [this](OpcUaBrowseResult r) { browseDone(std::move(r)); });
}

void TFOPC_UA_Scan_Server::endBrowse()
{
    m_browsing = false;
    LWaiting->hide();
    for (TFormButton* b :
         {Btn_OK, Btn_SelectAllRead, Btn_ClearAllRead, Btn_SelectAllWrite, Btn_ClearAllWrite})
        b->setEnabled(true);
}

void TFOPC_UA_Scan_Server::browseDone(OpcUaBrowseResult result)
{
    endBrowse();
    using S = OpcUaBrowseResult::Status;
    switch (result.status) {
    case S::Ok:
        List_Var = std::move(result.variables);
        Show_Variables_List();
        return;
    case S::Cancelled: return;
    case S::CannotStart: m_ctx.dialogs->showError(text(5730) + u'\n' + result.message, this); break;
    case S::Unusable: m_ctx.dialogs->showError(text(5731) + u'\n' + result.message, this); break;
    case S::Failed:
    case S::TimedOut: m_ctx.dialogs->showError(result.message, this); break;
    }
    Show_Variables_List();
}

void TFOPC_UA_Scan_Server::Show_Variables_List()
{
    if (List_Var.empty()) {
        Erase_Table();
        return;
    }
    TExtColumnGrid* g = ACG_OPC_UA_Scan_Var;
    g->BeginUpdate();
    g->SetRowCount(int(List_Var.size()) + 1);
    for (size_t i = 0; i < List_Var.size(); ++i) {
        const OpcUaBrowsedVariable& v = List_Var[i];
        const int r = int(i) + 1;
        const bool both = v.accessLevel == 0;
        g->SetCellEx(0, r, QString::number(r));
        g->SetCellEx(1, r, both || (v.accessLevel & 1) ? QStringLiteral("Y") : QString());
        g->SetCellEx(2, r, both || (v.accessLevel & 2) ? QStringLiteral("Y") : QString());
        g->SetCellEx(3, r, v.displayName);
        g->SetCellEx(4, r, OPC_UA_IdType_To_Str(v.identifierType));
        g->SetCellEx(5, r, opcUaBrowsedNodeId(v));
        g->SetCellEx(6, r, OPC_UA_DataType_To_Str(v.dataType));
        g->SetCellEx(7, r, QString::number(v.nameSpaceIndex));
        g->SetCellEx(8, r,
                     v.accessLevel == 1   ? QStringLiteral("Read")
                     : v.accessLevel == 2 ? QStringLiteral("Write")
                                          : QStringLiteral("Read/Write"));
    }
    g->EndUpdate();
}

void TFOPC_UA_Scan_Server::setAll(int column, bool on)
{
    if (List_Var.empty())
        return;
    TExtColumnGrid* g = ACG_OPC_UA_Scan_Var;
    g->BeginUpdate();
    for (int r = 1; r < g->RowCount(); ++r)
        g->SetCellEx(column, r, on ? QStringLiteral("Y") : QStringLiteral("N"));
    g->EndUpdate();
}

std::vector<const OpcUaBrowsedVariable*> TFOPC_UA_Scan_Server::ticked(bool write) const
{
    std::vector<const OpcUaBrowsedVariable*> out;
    const int column = write ? 2 : 1;
    for (int r = 1; r < ACG_OPC_UA_Scan_Var->RowCount() && size_t(r) <= List_Var.size(); ++r)
        if (ACG_OPC_UA_Scan_Var->GetCellEx(column, r) == u"Y")
            out.push_back(&List_Var[size_t(r - 1)]);
    return out;
}

void TFOPC_UA_Scan_Server::reject()
{
    // Cancel, Escape or the title bar's close end a running browse: the lists stay as they
    // were and no helper is left behind.
    if (m_browsing && m_browser)
        m_browser->cancel();
    Timer_Scan->stop();
    endBrowse();
    done(mrCancel);
}

}  // namespace zfw
