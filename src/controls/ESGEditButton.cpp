#include "controls/ESGEdit.h"

#include <qdrawutil.h>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace zfw {

// ----- face --------------------------------------------------------------------------------

EsgButtonFace esgButtonFace(const EsgButtonFaceParams& p)
{
    EsgButtonFace f;
    const TRect r{0, 0, p.width, p.height};
    f.contentRect = r;
    f.sunken = p.pressed;
    if (p.buttonColor != clNone) {
        // A custom colour makes a plain fill with no frame. A state colour left unset falls
        // back to the button colour: filling with "no colour" painted the button white.
        f.background = EsgButtonBackground::Custom;
        TColor c = p.buttonColor;
        if (p.pressed && p.buttonColorDown != clNone)
            c = p.buttonColorDown;
        else if (!p.pressed && p.hot && p.buttonColorHot != clNone)
            c = p.buttonColorHot;
        f.fill = c;
    } else if (p.isWinXP) {
        // The widget style always draws the themed look here.
        f.background = EsgButtonBackground::Themed;
    } else if (!p.flat) {
        f.background = EsgButtonBackground::Classic;
        f.contentRect = r.inflated(-2, -2);
    } else {
        f.background = EsgButtonBackground::FlatEdge;
        f.contentRect = r.inflated(-1, -1);
    }

    const int shift = p.pressed ? 1 : 0;
    if (!p.glyphSize.isEmpty()) {
        f.glyph = true;
        const int gw = p.glyphSize.width();
        const int gh = p.glyphSize.height();
        f.glyphPos = QPoint((gw < p.width ? (p.width - gw) >> 1 : 0) + shift,
                            (gh < p.height ? (p.height - gh) >> 1 : 0) + shift);
    }
    f.captionRect = f.contentRect.offset(shift, shift);
    return f;
}

// ----- TExtSpeedButton ---------------------------------------------------------------------

TExtSpeedButton::TExtSpeedButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void TExtSpeedButton::setIsWinXP(bool on)
{
    if (on == FIsWinXP)
        return;
    FIsWinXP = on;
    update();
}

void TExtSpeedButton::setFlat(bool on)
{
    if (on == FFlat)
        return;
    FFlat = on;
    update();
}

void TExtSpeedButton::setGlyph(const QImage& glyph)
{
    m_glyph = glyph;
    update();
}

void TExtSpeedButton::setNumGlyphs(int n)
{
    m_numGlyphs = std::max(1, n);
    update();
}

EsgButtonFaceParams TExtSpeedButton::faceParams() const
{
    EsgButtonFaceParams p;
    p.width = width();
    p.height = height();
    p.pressed = isDown() || isChecked();
    p.hot = FHot;
    p.isWinXP = FIsWinXP;
    p.flat = FFlat;
    if (const auto* host = qobject_cast<const TEsgEditButton*>(parentWidget())) {
        p.buttonColor = host->ButtonColor;
        p.buttonColorHot = host->ButtonColorHot;
        p.buttonColorDown = host->ButtonColorDown;
    }
    if (!m_glyph.isNull())
        p.glyphSize = QSize(m_glyph.width() / m_numGlyphs, m_glyph.height());
    return p;
}

QSize TExtSpeedButton::sizeHint() const { return QSize(18, 18); }

void TExtSpeedButton::paintEvent(QPaintEvent*)
{
    const EsgButtonFaceParams params = faceParams();
    const EsgButtonFace f = esgButtonFace(params);
    QPainter p(this);
    p.setFont(font());
    const QPalette& pal = palette();
    const QRect all = rect();

    switch (f.background) {
    case EsgButtonBackground::Custom: p.fillRect(all, toQColor(f.fill, pal)); break;
    case EsgButtonBackground::Themed: {
        QStyleOptionButton opt;
        opt.initFrom(this);
        opt.rect = all;
        opt.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus);
        if (params.hot)
            opt.state |= QStyle::State_MouseOver;
        opt.state |= f.sunken ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &opt, &p, this);
        break;
    }
    case EsgButtonBackground::Classic: {
        const QBrush face = pal.brush(QPalette::Button);
        qDrawWinButton(&p, all, pal, f.sunken, &face);
        break;
    }
    case EsgButtonBackground::FlatEdge: {
        // Raised inner edge (light top-left, shadow bottom-right) or, pressed, the sunken
        // outer edge (the other way round), the middle in the button face.
        const QColor light = toQColor(clBtnHighlight, pal);
        const QColor shadow = toQColor(clBtnShadow, pal);
        p.fillRect(all, toQColor(clBtnFace, pal));
        const QColor topLeft = f.sunken ? shadow : light;
        const QColor bottomRight = f.sunken ? light : shadow;
        const int r = all.right();
        const int b = all.bottom();
        p.fillRect(QRect(0, 0, all.width(), 1), topLeft);
        p.fillRect(QRect(0, 0, 1, all.height()), topLeft);
        p.fillRect(QRect(0, b, all.width(), 1), bottomRight);
        p.fillRect(QRect(r, 0, 1, all.height()), bottomRight);
        break;
    }
    }

    if (f.glyph) {
        const QImage frame = m_glyph.copy(0, 0, params.glyphSize.width(),
                                          params.glyphSize.height());
        p.drawImage(f.glyphPos, frame);
    }
    if (!text().isEmpty()) {
        p.setPen(Qt::black);
        p.drawText(f.captionRect.toQRect(),
                   Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text());
    }
}

void TExtSpeedButton::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        m_leftPressed = true;
    QAbstractButton::mousePressEvent(e);
}

void TExtSpeedButton::mouseReleaseEvent(QMouseEvent* e)
{
    QAbstractButton::mouseReleaseEvent(e);
    if (e->button() != Qt::LeftButton || !m_leftPressed)
        return;
    m_leftPressed = false;
    // The press holds the mouse, so the release counts wherever the pointer went.
    emit pressReleased();
}

void TExtSpeedButton::enterEvent(QEnterEvent* e)
{
    QAbstractButton::enterEvent(e);
    FHot = true;
    update();
}

void TExtSpeedButton::leaveEvent(QEvent* e)
{
    QAbstractButton::leaveEvent(e);
    FHot = false;
    update();
}

// ----- TEsgEditButton ----------------------------------------------------------------------

TEsgEditButton::TEsgEditButton(QWidget* parent) : QWidget(parent)
{
    // Not opaque: the themed look has rounded corners, under which the edit shows.
    setFocusPolicy(Qt::NoFocus);
    FButton = new TExtSpeedButton(this);
    resize(20, 25);
    FButton->setGeometry(rect());
    connect(FButton, &TExtSpeedButton::pressReleased, this, &TEsgEditButton::buttonReleased);
}

void TEsgEditButton::setFlat(bool on)
{
    FFlat = on;
    FButton->setFlat(on);
}

QString TEsgEditButton::buttonCaption() const { return FButton->text(); }

void TEsgEditButton::setButtonCaption(const QString& caption) { FButton->setText(caption); }

QImage TEsgEditButton::glyph() const { return FButton->glyph(); }

void TEsgEditButton::setGlyph(const QImage& glyph) { FButton->setGlyph(glyph); }

int TEsgEditButton::numGlyphs() const { return FButton->numGlyphs(); }

void TEsgEditButton::setNumGlyphs(int n) { FButton->setNumGlyphs(n); }

void TEsgEditButton::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    FButton->setGeometry(rect());
}

void TEsgEditButton::buttonReleased()
{
    // A handler may delete the edit (and this host with it).
    QPointer<TEsgEditButton> self(this);
    emit clicked();
    if (!self)
        return;
    QWidget* fc = FFocusControl;
    if (fc && (fc->focusPolicy() & Qt::TabFocus) && fc->isEnabled() && fc->isVisible()
        && !fc->hasFocus())
        fc->setFocus(Qt::OtherFocusReason);
    else if ((focusPolicy() & Qt::TabFocus) && isEnabled() && isVisible())
        setFocus(Qt::OtherFocusReason);
}

}  // namespace zfw
