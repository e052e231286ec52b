#include "editors/iot/UTopicTemplate.h"

#include "common/UComon.h"
#include "grid/ExtGrid.h"
#include "platform/Dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QVBoxLayout>

namespace zfw {

namespace {

constexpr int kClientWidth = 635;
constexpr int kClientHeight = 396;
constexpr int kButtonBandHeight = 44;
constexpr int kKeywordWidth = 200;
constexpr int kDescriptionWidth = 380;

// The keywords a template may hold between two "$" and what each stands for. The editor
// offers "$VALUE$" in the cell's list; the table lists none.
const QStringList kKeywords;
const QStringList kKeywordDescriptions;

}  // namespace

TFTopicTemplate::TFTopicTemplate(const RuleEditorContext& context, QWidget* parent)
    : TModalForm(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("TFTopicTemplate"));
    FormCreate();
}

QString TFTopicTemplate::text(int n) const { return m_ctx.state->lang(n); }

void TFTopicTemplate::FormCreate()
{
    resize(kClientWidth, kClientHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(248, 247, 237));
    setPalette(pal);
    setAutoFillBackground(true);

    TitlePanel title;
    P_Title = makeEditorTitleBand(this, title);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;

    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    RE_TopicTemplate = new QPlainTextEdit(Splitter1);
    RE_TopicTemplate->setObjectName(QStringLiteral("RE_TopicTemplate"));
    // A template is sent as typed: long lines stay whole instead of breaking at the edge.
    RE_TopicTemplate->setLineWrapMode(QPlainTextEdit::NoWrap);

    P_Legend = new QWidget(Splitter1);
    P_Legend->setObjectName(QStringLiteral("P_Legend"));
    L_List_Keywords = new QLabel(P_Legend);
    L_List_Keywords->setObjectName(QStringLiteral("L_List_Keywords"));
    ESG_Keywords = new TExtStringGrid(P_Legend);
    ESG_Keywords->setObjectName(QStringLiteral("ESG_Keywords"));
    ESG_Keywords->SetColCount(2);
    ESG_Keywords->SetRowCount(2);
    ESG_Keywords->SetFixedCols(0);
    ESG_Keywords->SetFixedRows(1);
    ESG_Keywords->SetOptions(ESG_Keywords->Options() | goEditing);
    ESG_Keywords->SetColWidths(0, kKeywordWidth);
    ESG_Keywords->SetColWidths(1, kDescriptionWidth);
    auto* legend = new QVBoxLayout(P_Legend);
    legend->setContentsMargins(4, 4, 4, 4);
    legend->addWidget(L_List_Keywords);
    legend->addWidget(ESG_Keywords, 1);
    Splitter1->setStretchFactor(0, 3);
    Splitter1->setStretchFactor(1, 2);

    P_Button = new QWidget(this);
    P_Button->setObjectName(QStringLiteral("P_Button"));
    P_Button->setFixedHeight(kButtonBandHeight);
    Btn_OK = makeFormButton(P_Button, "Btn_OK", 0, 0, 100, 32);
    Btn_Cancel = makeFormButton(P_Button, "Btn_Cancel", 0, 0, 100, 32);
    setFormButtonGlyph(Btn_OK, "LBOK");
    setFormButtonGlyph(Btn_Cancel, "LBCANCEL");
    Btn_OK->setModalResult(mrOk);
    Btn_Cancel->setModalResult(mrCancel);
    auto* buttons = new QHBoxLayout(P_Button);
    buttons->setContentsMargins(12, 6, 12, 6);
    buttons->addStretch(1);
    buttons->addWidget(Btn_OK);
    buttons->addWidget(Btn_Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(P_Title);
    layout->addWidget(Splitter1, 1);
    layout->addWidget(P_Button);

    L_SW_Code->setText(m_ctx.buildCode);
    L_SW_Code->adjustSize();
    Set_Lang();
}

void TFTopicTemplate::Set_Lang()
{
    setWindowTitle(text(5300));
    L_SW_Desc->setText(text(5302));
    L_SW_Desc->adjustSize();
    L_List_Keywords->setText(text(5304));
    ESG_Keywords->SetCellEx(0, 0, text(5305));
    ESG_Keywords->SetCellEx(1, 0, text(5306));
    Btn_OK->setText(text(5307));
    Btn_Cancel->setText(text(5308));
}

void TFTopicTemplate::FormShow()
{
    const bool templ = TopicTemplate != 0;
    setWindowTitle(text(templ ? 5301 : 5300));
    L_SW_Desc->setText(text(templ ? 5303 : 5302));
    L_SW_Desc->adjustSize();
    Laod_Keywords();
    RE_TopicTemplate->setFocus();
}

void TFTopicTemplate::Laod_Keywords()
{
    const int count = int(kKeywords.size());
    // With no keyword the table still has one blank row under its header.
    ESG_Keywords->SetRowCount(qMax(count, 1) + 1);
    for (int i = 0; i < qMax(count, 1); ++i) {
        ESG_Keywords->SetCellEx(0, i + 1, kKeywords.value(i));
        ESG_Keywords->SetCellEx(1, i + 1, kKeywordDescriptions.value(i));
        ESG_Keywords->SetReadOnly(0, i + 1, false);
        ESG_Keywords->SetReadOnly(1, i + 1, true);
    }
    // Without a fixed column the grid would keep the keyword column scrolled out of sight.
    ESG_Keywords->SetLeftCol(0);
}

}  // namespace zfw
