// The frame's window and buttons; its grids are in URuleEditorGrids.cpp.

#include "ruleedit/URuleEditorFrame.h"

#include "common/UComon.h"
#include "controls/FormParts.h"
#include "platform/Dialogs.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zfw {

namespace {

constexpr int kButtonPanelHeight = 40;
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 28;
constexpr int kMinClientWidth = 640;

}  // namespace

QRect placeWithin(QSize wanted, const QRect& available)
{
    const QSize size = wanted.boundedTo(available.size());
    QRect r(QPoint(0, 0), size);
    r.moveCenter(available.center());
    // An odd difference may leave the centre half a pixel off: keep the window inside.
    r.moveLeft(qBound(available.left(), r.left(), available.right() - size.width() + 1));
    r.moveTop(qBound(available.top(), r.top(), available.bottom() - size.height() + 1));
    return r;
}

TRuleEditorFrame::TRuleEditorFrame(const RuleEditorContext& context, RuleEditorNames names,
                                   RuleFileSpec textLayout, QWidget* parent)
    : TForm(parent), m_ctx(context), m_names(std::move(names)),
      m_layout(builtRuleSpec(std::move(textLayout)))
{
    Q_ASSERT(m_ctx.state && m_ctx.dialogs);
    Q_ASSERT(int(m_names.grids.size()) == tableCount());
    // FormCreate; the controls follow at the first showing.
    setObjectName(QLatin1String(m_names.form));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(248, 247, 237));
    setPalette(pal);
    setAutoFillBackground(true);
    setMinimumSize(kMinClientWidth, kEditorTitleHeight + kButtonPanelHeight + 160);
    resize(m_names.clientWidth, m_names.clientHeight);
    m_hints.resize(std::size_t(tableCount()));
    Set_Lang();
}

TRuleEditorFrame::~TRuleEditorFrame() = default;

QString TRuleEditorFrame::text(int n) const { return m_ctx.state->lang(n); }

void TRuleEditorFrame::ensureBuilt()
{
    if (!isBuilt())
        build();
}

void TRuleEditorFrame::build()
{
    buildTitle();
    QWidget* body = arrangeBody(buildGrids());
    buildButtons();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(P_Title);
    layout->addWidget(body, 1);
    layout->addWidget(P_Button);

    connect(Btn_OK, &QAbstractButton::clicked, this, &TRuleEditorFrame::Btn_OKClick);
    connect(Btn_Cancel, &QAbstractButton::clicked, this, [this] { done(mrCancel); });
    connect(Btn_DelRow, &QAbstractButton::clicked, this, &TRuleEditorFrame::Btn_DelRowClick);
    connect(Btn_InsRow, &QAbstractButton::clicked, this, &TRuleEditorFrame::Btn_InsRowClick);
    connect(Btn_CopyRow, &QAbstractButton::clicked, this, &TRuleEditorFrame::Btn_CopyRowClick);
    connect(Btn_PasteRow, &QAbstractButton::clicked, this, &TRuleEditorFrame::Btn_PasteRowClick);
    for (std::size_t i = 0; i < m_extra.size(); ++i)
        connect(m_extra[i], &QAbstractButton::clicked, this,
                [this, i] { extraButtonClick(int(i)); });

    L_SW_Code->setText(m_ctx.buildCode);
    setupGrids();
    applyTexts();
    built();
}

void TRuleEditorFrame::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        // Made before the window shows, so that the controls show with it.
        ensureBuilt();
        placeOnScreen();
    }
    TForm::setVisible(visible);
}

// Mended: a window wider or taller than the screen opened at the screen's corner with its
// buttons off the screen. It now opens centred within the available area and never larger
// than it, frame included; the grids scroll.
void TRuleEditorFrame::placeOnScreen()
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen || isMaximized())
        return;
    const QRect available = screen->availableGeometry();
    // The frame is known once the window was shown; before, it counts as none.
    const QRect inner = geometry();
    const QRect outer = frameGeometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const QSize wanted(m_names.clientWidth + frame.left() + frame.right(),
                       m_names.clientHeight + frame.top() + frame.bottom());
    const QRect placed = placeWithin(wanted, available).marginsRemoved(frame);
    setMinimumSize(minimumSize().boundedTo(placed.size()));
    setGeometry(placed);
}

void TRuleEditorFrame::showEvent(QShowEvent* event)
{
    TForm::showEvent(event);
    if (event->spontaneous())
        return;
    if (frameGeometry() != geometry())
        placeOnScreen();
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
    for (const RuleEditorButton& extra : m_names.extraButtons)
        m_extra.push_back(make(extra.name));
    Btn_OK = make("Btn_OK");
    Btn_Cancel = make("Btn_Cancel");
    setFormButtonGlyph(Btn_OK, "LBOK");
    setFormButtonGlyph(Btn_Cancel, "LBCANCEL");
    auto* row = new QHBoxLayout(P_Button);
    row->setContentsMargins(12, 6, 12, 6);
    row->setSpacing(8);
    TFormButton* tools[] = {Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow};
    for (int i = 0; i < 4; ++i) {
        // A window without a row tool has no such button: it is neither shown nor clickable.
        tools[i]->setVisible(m_names.rowTools[std::size_t(i)]);
        tools[i]->setEnabled(m_names.rowTools[std::size_t(i)]);
        row->addWidget(tools[i]);
    }
    for (TLbButton* b : m_extra)
        row->addWidget(b);
    row->addStretch(1);
    row->addWidget(Btn_OK);
    row->addWidget(Btn_Cancel);
}

TLbButton* TRuleEditorFrame::extraButton(const char* name) const
{
    for (std::size_t i = 0; i < m_extra.size(); ++i)
        if (qstrcmp(m_names.extraButtons[i].name, name) == 0)
            return m_extra[i];
    return nullptr;
}

void TRuleEditorFrame::Set_Lang()
{
    setWindowTitle(text(m_layout.captionText));
    if (isBuilt())
        applyTexts();
}

QString TRuleEditorFrame::caption(const QString& fixed, int n) const
{
    return fixed.isEmpty() ? text(n) : fixed;
}

void TRuleEditorFrame::applyTexts()
{
    L_SW_Desc->setText(text(m_layout.titleText));
    L_SW_Desc->adjustSize();
    L_SW_Code->adjustSize();
    TFormButton* buttons[] = {Btn_OK,     Btn_Cancel,  Btn_DelRow,
                              Btn_InsRow, Btn_CopyRow, Btn_PasteRow};
    for (std::size_t i = 0; i < 6; ++i) {
        const int number = m_names.buttonCaptions[i] ? m_names.buttonCaptions[i]
                                                     : m_layout.buttonCaptionText + int(i);
        const int hint = m_names.buttonHints[i] ? m_names.buttonHints[i]
                                                : m_layout.buttonHintText + int(i);
        buttons[i]->setText(caption(QString::fromUtf8(m_names.fixedCaptions[i]), number));
        buttons[i]->setToolTip(text(hint));
    }
    for (std::size_t i = 0; i < m_extra.size(); ++i) {
        const RuleEditorButton& extra = m_names.extraButtons[i];
        m_extra[i]->setText(caption(QString::fromUtf8(extra.fixedCaption), extra.captionText));
        m_extra[i]->setToolTip(text(extra.hintText));
    }
    applyGridTexts();
}

}  // namespace zfw
