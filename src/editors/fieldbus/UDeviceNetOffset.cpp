#include "editors/fieldbus/UDeviceNetOffset.h"

#include "common/UComon.h"
#include "controls/FormParts.h"
#include "grid/ColumnGrid.h"
#include "platform/Dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zfw {

namespace {

constexpr int kClientWidth = 482;
constexpr int kClientHeight = 610;
constexpr int kRowHeight = 20;
constexpr int kTextSaveAnyway = 3931;

TExtColumnGrid* makeGrid(QWidget* parent, const char* name, int columns)
{
    auto* g = new TExtColumnGrid(parent);
    g->setObjectName(QLatin1String(name));
    g->SetColCount(columns);
    // The header row stays when there are no data rows.
    g->store().SetFixedRowAlways(true);
    g->SetRowCount(2);
    g->SetFixedRows(1);
    g->SetRowCount(1);
    g->SetDefaultRowHeight(kRowHeight);
    g->store().SetWordWrap(false);
    return g;
}

}  // namespace

TFDefOffset::TFDefOffset(const RuleEditorContext& context, QWidget* parent)
    : TForm(parent), m_ctx(context)
{
    Q_ASSERT(m_ctx.state && m_ctx.dialogs);
    setObjectName(QStringLiteral("TFDefOffset"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(248, 247, 237));
    setPalette(pal);
    setAutoFillBackground(true);
    resize(kClientWidth, kClientHeight);
    build();
    PageControl1->setCurrentIndex(0);
    Set_Lang();
}

TFDefOffset::~TFDefOffset() = default;

QString TFDefOffset::text(int n) const { return m_ctx.state->lang(n); }

void TFDefOffset::build()
{
    TitlePanel title;
    P_Title = makeEditorTitleBand(this, title);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;
    L_SW_Code->setText(m_ctx.buildCode);

    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    auto* upper = new QWidget(Splitter1);
    auto* upperBox = new QVBoxLayout(upper);
    upperBox->setContentsMargins(6, 4, 6, 4);
    Label1 = new QLabel(upper);
    Label1->setObjectName(QStringLiteral("Label1"));
    ACG_DN_Slaves = makeGrid(upper, "ACG_DN_Slaves", 4);
    ACG_DN_Slaves->SetFixedCols(0);
    // The grid keeps its first scrolled column when the fixed column goes; the ID is shown.
    ACG_DN_Slaves->SetLeftCol(0);
    ACG_DN_Slaves->SetOptions(ACG_DN_Slaves->Options() | goRowSelect);
    for (int c = 0; c < 4; ++c) {
        TGridColumnItem* item = ACG_DN_Slaves->Columns().GetItem(c);
        item->SetEditor(TEditorType::edNone);
        item->SetReadOnly(true);
        item->SetWidth(c == 3 ? 170 : 90);
    }
    upperBox->addWidget(Label1);
    upperBox->addWidget(ACG_DN_Slaves, 1);

    auto* lower = new QWidget(Splitter1);
    auto* lowerBox = new QVBoxLayout(lower);
    lowerBox->setContentsMargins(6, 4, 6, 4);
    Label2 = new QLabel(lower);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(lower);
    Label3->setObjectName(QStringLiteral("Label3"));
    PageControl1 = new QTabWidget(lower);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget(PageControl1);
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget(PageControl1);
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    ACG_ByteIN = makeGrid(TabSheet1, "ACG_ByteIN", 3);
    ACG_ByteOUT = makeGrid(TabSheet2, "ACG_ByteOUT", 3);
    for (auto [tab, g] : {std::pair{TabSheet1, ACG_ByteIN}, std::pair{TabSheet2, ACG_ByteOUT}}) {
        auto* box = new QVBoxLayout(tab);
        box->setContentsMargins(2, 2, 2, 2);
        box->addWidget(g);
        PageControl1->addTab(tab, QString());
        g->SetFixedCols(1);
        g->SetOptions(g->Options() | goEditing | goColSizing);
        g->Columns().GetItem(0)->SetEditor(TEditorType::edNone);
        g->Columns().GetItem(0)->SetWidth(60);
        g->Columns().GetItem(1)->SetEditor(TEditorType::edComboList);
        g->Columns().GetItem(1)->SetWidth(90);
        g->Columns().GetItem(2)->SetEditor(TEditorType::edNormal);
        g->Columns().GetItem(2)->SetWidth(250);
    }
    lowerBox->addWidget(Label2);
    lowerBox->addWidget(Label3);
    lowerBox->addWidget(PageControl1, 1);

    auto* buttons = new QWidget(this);
    buttons->setObjectName(QStringLiteral("P_Button"));
    buttons->setFixedHeight(40);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(12, 6, 12, 6);
    auto make = [buttons](const char* name, const char* glyph) {
        auto* b = new TFormButton(buttons);
        b->setObjectName(QLatin1String(name));
        b->setFixedSize(110, 28);
        applyFormButtonLook(b);
        setFormButtonGlyph(b, glyph);
        return b;
    };
    Btn_OK = make("Btn_OK", "LBOK");
    Btn_Cancel = make("Btn_Cancel", "LBCANCEL");
    row->addStretch(1);
    row->addWidget(Btn_OK);
    row->addWidget(Btn_Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(P_Title);
    layout->addWidget(Splitter1, 1);
    layout->addWidget(buttons);

    connect(Btn_OK, &QAbstractButton::clicked, this, &TFDefOffset::bitbtn1Click);
    connect(Btn_Cancel, &QAbstractButton::clicked, this, [this] { done(mrCancel); });
    // A click and a move by the keys alike make the row's slave the one shown.
    ACG_DN_Slaves->OnRowChanged = [this](QObject*, int, int NewRow) { selectSlave(NewRow); };
    ACG_DN_Slaves->OnClickCell = [this](QObject*, int, int) { ACG_DN_SlavesClick(); };
}

void TFDefOffset::Set_Lang()
{
    setWindowTitle(text(3900));
    L_SW_Desc->setText(text(3901));
    L_SW_Desc->adjustSize();
    Btn_OK->setText(text(3902));
    Btn_Cancel->setText(text(3903));
    Btn_OK->setToolTip(text(3904));
    Btn_Cancel->setToolTip(text(3905));
    PageControl1->setTabText(0, text(3906));
    PageControl1->setTabText(1, text(3907));
    Label1->setText(text(3908));
    Label2->setText(text(3909));
    Label3->setText(text(3910));
    for (int c = 0; c < 4; ++c)
        ACG_DN_Slaves->Columns().GetItem(c)->SetHeader(text(3911 + c));
    for (int c = 0; c < 3; ++c) {
        ACG_ByteIN->Columns().GetItem(c)->SetHeader(text(3915 + c));
        ACG_ByteOUT->Columns().GetItem(c)->SetHeader(text(3918 + c));
    }
}

void TFDefOffset::showEvent(QShowEvent* event)
{
    TForm::showEvent(event);
    if (event->spontaneous())
        return;
    setResult(0);
    FormShow();
}

void TFDefOffset::FormShow()
{
    Slave_Before_Select = -1;
    m_opening = m_model.open(m_ctx.state->File_DNETM_Net, m_ctx.state->File_DNETM_DefOff);
    setupByteGrid(ACG_ByteIN, m_model.MAX_BYTE_IN);
    setupByteGrid(ACG_ByteOUT, m_model.MAX_BYTE_OUT);
    Load_Slave_DN();
    Select_First();
    const QString message = defOffsetOpeningMessage(m_opening, *m_ctx.state);
    if (!message.isEmpty())
        m_ctx.dialogs->showWarning(message, this);
}

void TFDefOffset::setupByteGrid(TExtColumnGrid* g, int size)
{
    g->Columns().GetItem(1)->SetComboItems(TDefOffsetModel::offsetItems(size));
}

void TFDefOffset::Load_Slave_DN()
{
    const std::vector<TSlave_DN>& slaves = m_model.List_Slaves_DN;
    ACG_DN_Slaves->BeginUpdate();
    ACG_DN_Slaves->SetRowCount(int(slaves.size()) + 1);
    for (std::size_t i = 0; i < slaves.size(); ++i)
        for (int c = 0; c < 4; ++c)
            ACG_DN_Slaves->SetCellEx(c, int(i) + 1, slaves[i].texts[c]);
    ACG_DN_Slaves->EndUpdate();
}

void TFDefOffset::Select_First()
{
    if (m_model.List_Slaves_DN.empty()) {
        Update_Slave_DN();
        return;
    }
    if (ACG_DN_Slaves->Row() != 1)
        ACG_DN_Slaves->MoveCurrentCell(0, 1, true, true);
    selectSlave(1);
}

void TFDefOffset::ACG_DN_SlavesClick() { selectSlave(ACG_DN_Slaves->Row()); }

void TFDefOffset::selectSlave(int row)
{
    if (row < 1 || row > int(m_model.List_Slaves_DN.size()) || row - 1 == Slave_Before_Select)
        return;
    Save_Data_ByteIN_ByteOUT();
    ACG_DN_Slaves->SelectRows(row, 1);
    Slave_Before_Select = row - 1;
    Update_Slave_DN();
}

bool TFDefOffset::Save_Data_ByteIN_ByteOUT()
{
    if (Slave_Before_Select < 0 || Slave_Before_Select >= int(m_model.List_Slaves_DN.size()))
        return true;
    TSlave_DN& s = m_model.List_Slaves_DN[std::size_t(Slave_Before_Select)];
    auto take = [](const TExtColumnGrid* g, QStringList& offsets, QStringList& mnemonics) {
        const int n = qMin(g->RowCount() - 1, int(offsets.size()));
        for (int r = 1; r <= n; ++r) {
            offsets[r - 1] = g->GetCellEx(1, r);
            mnemonics[r - 1] = g->GetCellEx(2, r);
        }
    };
    take(ACG_ByteIN, s.SL_ByteIN, s.SL_ByteIN_M);
    take(ACG_ByteOUT, s.SL_ByteOUT, s.SL_ByteOUT_M);
    return true;
}

void TFDefOffset::fillByteGrid(TExtColumnGrid* g, const QStringList& offsets,
                               const QStringList& mnemonics)
{
    g->BeginUpdate();
    g->SetRowCount(int(offsets.size()) + 1);
    for (int r = 1; r <= offsets.size(); ++r) {
        g->SetCellEx(0, r, QString::number(r - 1));
        g->SetCellEx(1, r, offsets[r - 1]);
        g->SetCellEx(2, r, mnemonics.value(r - 1));
    }
    g->EndUpdate();
}

void TFDefOffset::Update_Slave_DN()
{
    if (Slave_Before_Select < 0 || Slave_Before_Select >= int(m_model.List_Slaves_DN.size())) {
        fillByteGrid(ACG_ByteIN, {}, {});
        fillByteGrid(ACG_ByteOUT, {}, {});
        return;
    }
    const TSlave_DN& s = m_model.List_Slaves_DN[std::size_t(Slave_Before_Select)];
    fillByteGrid(ACG_ByteIN, s.SL_ByteIN, s.SL_ByteIN_M);
    fillByteGrid(ACG_ByteOUT, s.SL_ByteOUT, s.SL_ByteOUT_M);
}

bool TFDefOffset::Check_Data()
{
    const DefOffsetFault fault = m_model.Check_Data();
    if (fault.ok())
        return true;
    m_ctx.dialogs->showError(defOffsetFaultMessage(fault, *m_ctx.state), this);
    return false;
}

void TFDefOffset::bitbtn1Click()
{
    Save_Data_ByteIN_ByteOUT();
    if (!Check_Data())
        return;
    // What the files held that the window could not read would be lost by saving.
    if (m_opening.askBeforeSaving()
        && !m_ctx.dialogs->askYesNo(defOffsetOpeningMessage(m_opening, *m_ctx.state)
                                        + QLatin1Char('\n') + text(kTextSaveAnyway),
                                    this))
        return;
    const FileResult saved = m_model.Save_Offset_Slave_DN(m_ctx.state->File_DNETM_DefOff);
    if (!saved.ok) {
        m_ctx.dialogs->showError(saved.message, this);
        return;
    }
    done(mrOk);
}

}  // namespace zfw
