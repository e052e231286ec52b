// The frame's window and buttons; its grids are in URuleEditorGrids.cpp.

#include "config/URuleEditorFrame.h"

#include "common/UComon.h"
#include "controls/FormParts.h"
#include "platform/Dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

namespace zfw {

namespace {

constexpr int kButtonPanelHeight = 40;
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 28;

}  // namespace

TRuleEditorFrame::TRuleEditorFrame(const RuleEditorNames& names, RuleFileSpec textLayout,
                                   QWidget* parent)
    : TForm(parent), m_layout(std::move(textLayout))
{
    // FormCreate.
    setObjectName(QLatin1String(names.form));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(248, 247, 237));
    setPalette(pal);
    setAutoFillBackground(true);

    buildTitle();
    QWidget* body = buildGrids(names);
    buildButtons();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(P_Title);
    layout->addWidget(body, 1);
    layout->addWidget(P_Button);
    setMinimumSize(640, kEditorTitleHeight + kButtonPanelHeight + 160);
    resize(names.clientWidth, names.clientHeight);

    connect(Btn_OK, &QAbstractButton::clicked, this, &TRuleEditorFrame::Btn_OKClick);
    connect(Btn_Cancel, &QAbstractButton::clicked, this, [this] { done(mrCancel); });
    connect(Btn_DelRow, &QAbstractButton::clicked, this, &TRuleEditorFrame::Btn_DelRowClick);
    connect(Btn_InsRow, &QAbstractButton::clicked, this, &TRuleEditorFrame::Btn_InsRowClick);
    connect(Btn_CopyRow, &QAbstractButton::clicked, this, &TRuleEditorFrame::Btn_CopyRowClick);
    connect(Btn_PasteRow, &QAbstractButton::clicked, this,
            &TRuleEditorFrame::Btn_PasteRowClick);

    L_SW_Code->setText(programState().SW_Code.isEmpty() ? QString::fromLatin1(Build_SW_Code)
                                                        : programState().SW_Code);
    setupGrids();
    Set_Lang();
}

TRuleEditorFrame::~TRuleEditorFrame() = default;

void TRuleEditorFrame::showEvent(QShowEvent* event)
{
    TForm::showEvent(event);
    if (event->spontaneous())
        return;
    setResult(0);
    FormShow();
}

void TRuleEditorFrame::buildTitle()
{
    TitlePanel title;
    P_Title = makeEditorTitleBand(this, title);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;
}

void TRuleEditorFrame::buildButtons()
{
    P_Button = new QWidget(this);
    P_Button->setObjectName(QStringLiteral("P_Button"));
    P_Button->setFixedHeight(kButtonPanelHeight);
    auto make = [this](const char* name) {
        auto* b = new TFormButton(P_Button);
        b->setObjectName(QLatin1String(name));
        b->setFixedSize(kButtonWidth, kButtonHeight);
        applyFormButtonLook(b);
        return b;
    };
    Btn_DelRow = make("Btn_DelRow");
    Btn_InsRow = make("Btn_InsRow");
    Btn_CopyRow = make("Btn_CopyRow");
    Btn_PasteRow = make("Btn_PasteRow");
    Btn_OK = make("Btn_OK");
    Btn_Cancel = make("Btn_Cancel");
    setFormButtonGlyph(Btn_OK, "LBOK");
    setFormButtonGlyph(Btn_Cancel, "LBCANCEL");
    auto* row = new QHBoxLayout(P_Button);
    row->setContentsMargins(12, 6, 12, 6);
    row->setSpacing(8);
    for (TFormButton* b : {Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow})
        row->addWidget(b);
    row->addStretch(1);
    row->addWidget(Btn_OK);
    row->addWidget(Btn_Cancel);
}

void TRuleEditorFrame::Set_Lang()
{
    const ProgramState& s = programState();
    setWindowTitle(s.lang(m_layout.captionText));
    L_SW_Desc->setText(s.lang(m_layout.titleText));
    L_SW_Desc->adjustSize();
    L_SW_Code->adjustSize();
    TFormButton* buttons[] = {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow,
                              Btn_PasteRow};
    for (int i = 0; i < 6; ++i) {
        buttons[i]->setText(s.lang(m_layout.buttonCaptionText + i));
        buttons[i]->setToolTip(s.lang(m_layout.buttonHintText + i));
    }
    applyGridTexts();
}

}  // namespace zfw
