// TLbButton: properties, presets, mouse, keyboard, fade and click.

#include "controls/LbButton.h"

#include "platform/Dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QShortcutEvent>
#include <QTimer>

namespace zfw {

namespace {

constexpr LbColorStylePreset kColorStylePresets[] = {
    // lcsCustom has no preset; its row is never used.
    {clNone, clNone, clNone, clNone, clNone, false, bsNormal, clBlack},
    {0x00C0C0, 0x00FFFF, 0x008080, clNone, 0x00DFDF, false, bsModern, 0x000000},    // lcsGold
    {0xC0C0C0, 0xFFFFFF, 0x808080, clNone, clNone, false, bsModern, 0x000000},      // lcsChrome
    {0xFF8000, 0xFFFF00, 0xFF0000, clNone, clNone, false, bsModern, 0x000000},      // lcsBlue
    {0x0000FF, 0xC0C0FF, 0x0000C0, clNone, clNone, false, bsModern, 0x000000},      // lcsRed
    {clBtnFace, 0xB59284, 0xB59284, 0xB59284, 0xDED3D6, true, bsNormal, 0x000000},  // lcsUltraFlat1
    {clBtnFace, 0x000000, 0x000000, 0x24DABC, 0x8CF6E4, true, bsNormal, 0x000000},  // lcsUltraFlat2
    {0xD1D8DB, 0xB59284, 0xB59285, 0xB59285, 0xD2BDB6, true, bsNormal, 0x000000},  // lcsUltraFlatXP
    {0xECCE94, 0xFCE6D4, 0x000000, clNone, clNone, false, bsModern, 0x000000},     // lcsAqua
    {clBtnFace, 0xFFFFFF, 0x808080, clNone, clNone, false, bsNormal, 0x000000},    // lcsDefault
    {0x603000, 0xC0C0C0, 0xC0C0C0, 0xAD6529, 0xCEAE9C, false, bsQuicken, 0xFFFFFF},  // lcsQuicken
};

constexpr LbKindPreset kKindPresets[] = {
    {0, nullptr, ""},                     // bkCustom
    {mrOk, "LBOK", "OK"},                 // bkOK
    {mrCancel, "LBCANCEL", "Abbrechen"},  // bkCancel
    {mrNone, "LBHELP", "Hilfe"},          // bkHelp
    {mrYes, "LBYES", "Ja"},               // bkYes
    {mrNo, "LBNO", "Nein"},               // bkNo
    {mrNone, "LBCLOSE",
     "Schlie\xC3\x9F"
     "en"},                                // bkClose
    {mrAbort, "LBABORT", "Abbrechen"},     // bkAbort
    {mrRetry, "LBRETRY", "Wiederholen"},   // bkRetry
    {mrIgnore, "LBIGNORE", "Ignorieren"},  // bkIgnore
    {mrAll, "LBALL", "Alle"},              // bkAll
};

bool isEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }
bool isPressKey(int key) { return isEnterKey(key) || key == Qt::Key_Space; }

// Closes a window with a modal result. Qt's rejected code is 0, so the two results that have
// a Qt meaning go through accept/reject and everything else through done(n).
void closeWithResult(QDialog& dialog, int mr)
{
    if (mr == mrCancel)
        dialog.reject();
    else if (mr == mrOk)
        dialog.accept();
    else
        dialog.done(mr);
}

// The accelerator character of a caption: the character after a single "&" ("&&" is a
// literal ampersand); a null QChar when there is none.
QChar acceleratorOf(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] == u'&') {
            ++i;
            continue;
        }
        return caption[i + 1];
    }
    return QChar();
}

}  // namespace

bool GetColorStyleColors(TLbColorStyle cs, LbColorStylePreset& out)
{
    if (cs == lcsCustom || unsigned(cs) >= std::size(kColorStylePresets))
        return false;
    out = kColorStylePresets[cs];
    return true;
}

const LbKindPreset* lbKindPreset(TLbButtonKind kind)
{
    if (kind == bkCustom || unsigned(kind) >= std::size(kKindPresets))
        return nullptr;
    return &kKindPresets[kind];
}

// ----- construction ------------------------------------------------------------------------

TLbButton::TLbButton(QWidget* parent) : QAbstractButton(parent) { init(); }

TLbButton::TLbButton(const QString& text, QWidget* parent) : QAbstractButton(parent)
{
    init();
    setText(text);
}

void TLbButton::init()
{
    resize(100, 23);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractButton::clicked, this, &TLbButton::clickedFromBase);
    FHTFont = parentWidget() ? parentWidget()->window()->font() : font();
    watchWindow();
}

TLbButton::~TLbButton()
{
    // A fade tick that is still queued must not touch a half-destroyed button.
    m_destroying = true;
    if (FThread)
        FThread->stop();
}

// ----- properties --------------------------------------------------------------------------

void TLbButton::setAlignment(int a)
{
    if (a < taLeftJustify || a > taCenter)
        return;
    FAlignment = TAlignment(a);
    update();
}

void TLbButton::setColor(TColor c)
{
    m_color = c;
    update();
}

void TLbButton::setColorStyle(int cs)
{
    LbColorStylePreset p{};
    if (cs < lcsCustom || cs > lcsQuicken || !GetColorStyleColors(TLbColorStyle(cs), p))
        return;
    m_color = p.color;
    FLightColor = p.lightColor;
    FShadowColor = p.shadowColor;
    FColorWhenDown = p.colorWhenDown;
    FHotTrackColor = p.hotTrackColor;
    FFlat = p.flat;
    FStyle = p.style;
    QPalette pal = palette();
    pal.setColor(QPalette::ButtonText, toQColor(p.fontColor));
    setPalette(pal);
    update();
}

void TLbButton::setFlat(bool on)
{
    FFlat = on;
    update();
}

void TLbButton::setGlyph(const QImage& strip)
{
    FGlyph = strip.isNull() ? QImage() : strip;
    FNumGlyphs = FGlyph.height() > 0 ? FGlyph.width() / FGlyph.height() : 0;
    FKind = bkCustom;
    update();
}

void TLbButton::setKind(int k)
{
    if (k < bkCustom || k > bkAll)
        return;
    if (const LbKindPreset* preset = lbKindPreset(TLbButtonKind(k))) {
        // The strips hold two frames; the "all" strip is one pixel taller than two squares,
        // so the frame count is set rather than derived from the size.
        FNumGlyphs = 2;
        FModalResult = preset->modalResult;
        FGlyph = lbGlyphResource(QString::fromLatin1(preset->glyphResource));
        setText(QString::fromUtf8(preset->caption));
    }
    FKind = TLbButtonKind(k);
    update();
}

void TLbButton::setGlyphLayout(int l)
{
    if (l < blGlyphLeft || l > blGlyphBottom)
        return;
    FLayout = TLbButtonLayout(l);
    update();
}

void TLbButton::setLightColor(TColor c)
{
    FLightColor = c;
    update();
}

void TLbButton::setModalResult(int mr)
{
    FModalResult = mr;
    FKind = bkCustom;
}

void TLbButton::setNumGlyphs(int n)
{
    FNumGlyphs = n;
    update();
}

void TLbButton::setShadowColor(TColor c)
{
    FShadowColor = c;
    update();
}

void TLbButton::setSlowDecease(bool on)
{
    FSlowDecease = on;
    if (on && !FThread) {
        FThread = new QTimer(this);
        FThread->setInterval(kLbFadeIntervalMs);
        connect(FThread, &QTimer::timeout, this, &TLbButton::FadeStep);
    } else if (!on && FThread) {
        FHotTrackStep = 0;
        delete FThread;
        FThread = nullptr;
    }
    update();
}

void TLbButton::setButtonStyle(int s)
{
    if (s < bsNormal || s > bsQuicken)
        return;
    FStyle = TLbButtonStyle(s);
    update();
}

void TLbButton::setWordWrap(bool on)
{
    FWordWrap = on;
    update();
}

void TLbButton::setPopupMenu(QMenu* menu)
{
    m_popupMenu = menu;
    update();
}

QMenu* TLbButton::popupMenu() const { return m_popupMenu; }

QAction* TLbButton::action() const { return m_action; }

bool TLbButton::isFading() const { return FThread && FThread->isActive(); }

QSize TLbButton::sizeHint() const
{
    // The windows place their buttons at 100 x 23; in a layout a longer caption widens it.
    const QFontMetrics fm(font());
    int w = fm.boundingRect(QRect(), Qt::TextShowMnemonic, text()).width() + 16;
    const int gw = FNumGlyphs > 0 ? FGlyph.width() / FNumGlyphs : 0;
    if (gw > 0 && (FLayout == blGlyphLeft || FLayout == blGlyphRight))
        w += gw + 4;
    return QSize(std::max(100, w), 23);
}

// ----- action ------------------------------------------------------------------------------

void TLbButton::setAction(QAction* action)
{
    if (m_action == action)
        return;
    if (m_action)
        disconnect(m_action, nullptr, this, nullptr);
    m_action = action;
    if (action) {
        connect(action, &QAction::changed, this, &TLbButton::ActionChange);
        ActionChange();
    }
}

void TLbButton::ActionChange()
{
    if (!m_action)
        return;
    setText(m_action->text());
    setToolTip(m_action->toolTip());
    setEnabled(m_action->isEnabled());
    // A button without a parent would become a window of its own when shown.
    if (parentWidget())
        setVisible(m_action->isVisible());
    if (FGlyph.isNull() && !m_action->icon().isNull())
        AssignActionImage();
}

void TLbButton::AssignActionImage()
{
    const QIcon icon = m_action->icon();
    const QList<QSize> sizes = icon.availableSizes();
    const QSize size = sizes.isEmpty() ? QSize(16, 16) : sizes.first();
    QImage img(size, QImage::Format_RGB32);
    img.fill(toQColor(kLbKeyColor));
    {
        QPainter p(&img);
        p.drawPixmap(0, 0, icon.pixmap(size, QIcon::Normal));
    }
    FGlyph = img;
    FNumGlyphs = 1;
    update();
}

// ----- click -------------------------------------------------------------------------------

void TLbButton::Click()
{
    QPointer<TLbButton> guard(this);
    bDown = true;
    DoClick();
    if (!guard)
        return;
    // A click that did not go through (hidden or disabled button) used to leave the button
    // drawn pressed until the next mouse release; it is released here.
    bDown = false;
    if (m_action)
        m_action->trigger();
}

void TLbButton::DoClick()
{
    if (isHidden() || !isEnabled() || !bDown)
        return;
    bDown = false;
    QPointer<TLbButton> guard(this);
    m_inDoClick = true;
    emit clicked(false);
    if (!guard)
        return;
    m_inDoClick = false;
    applyModalResult();
    if (!guard)
        return;
    if (m_popupMenu)
        m_popupMenu->popup(mapToGlobal(QPoint(0, height())));
}

void TLbButton::applyModalResult()
{
    if (FModalResult == mrNone)
        return;
    if (auto* dialog = qobject_cast<QDialog*>(window()))
        closeWithResult(*dialog, FModalResult);
}

// A click through QAbstractButton itself (click() or animateClick() called on the base
// class) bypasses Click; the window is still closed with the modal result.
void TLbButton::clickedFromBase()
{
    if (!m_inDoClick)
        applyModalResult();
}

// ----- mouse -------------------------------------------------------------------------------

void TLbButton::mousePressEvent(QMouseEvent* e)
{
    e->accept();
    if (e->button() != Qt::LeftButton || !isEnabled())
        return;
    bDown = true;
    setFocus(Qt::MouseFocusReason);
    update();
}

void TLbButton::mouseReleaseEvent(QMouseEvent* e)
{
    e->accept();
    // The press grabbed the mouse, so a release outside the button still clicks it.
    if (bDown) {
        QPointer<TLbButton> guard(this);
        Click();
        if (!guard)
            return;
    }
    bDown = false;
    update();
}

void TLbButton::mouseMoveEvent(QMouseEvent* e)
{
    // Pressed stays pressed wherever the mouse goes until it is released.
    e->accept();
}

bool TLbButton::hitButton(const QPoint& pos) const { return rect().contains(pos); }

void TLbButton::enterEvent(QEnterEvent* e)
{
    QAbstractButton::enterEvent(e);
    if (!isEnabled() || !isVisible() || !parentShowing())
        return;
    bCursorOnButton = true;
    FHotTrackStep = kLbHotTrackSteps;
    // A fade still running used to carry on and take the hot colour away from under the
    // mouse; coming back stops it.
    stopFade();
    update();
    emit mouseEnter();
}

void TLbButton::leaveEvent(QEvent* e)
{
    QAbstractButton::leaveEvent(e);
    bCursorOnButton = false;
    if (FSlowDecease && FThread) {
        if (!FThread->isActive())
            FThread->start();
    } else {
        FHotTrackStep = 0;
        update();
    }
    if (isEnabled() && isVisible() && parentShowing())
        emit mouseExit();
}

void TLbButton::FadeStep()
{
    if (m_destroying)
        return;
    --FHotTrackStep;
    if (FHotTrackStep <= 0) {
        FHotTrackStep = 0;
        stopFade();
    }
    update();
}

void TLbButton::stopFade()
{
    if (FThread)
        FThread->stop();
}

bool TLbButton::parentShowing() const { return parentWidget() && parentWidget()->isVisible(); }

// ----- keyboard ----------------------------------------------------------------------------

void TLbButton::keyPressEvent(QKeyEvent* e)
{
    if (!isPressKey(e->key())) {
        QAbstractButton::keyPressEvent(e);
        return;
    }
    e->accept();
    if (!isEnabled())
        return;
    m_keyDown = isEnterKey(e->key()) ? Qt::Key_Return : Qt::Key_Space;
    bDown = true;
    update();
}

void TLbButton::keyReleaseEvent(QKeyEvent* e)
{
    if (isPressKey(e->key()) && !e->isAutoRepeat()) {
        e->accept();
        // Only a key that went down on this button clicks it: the release of the Enter that
        // closed another window and moved the focus here used to click this button too.
        const bool pressedHere = m_keyDown != 0;
        m_keyDown = 0;
        if (pressedHere) {
            QPointer<TLbButton> guard(this);
            Click();
            if (!guard)
                return;
        }
        update();
        return;
    }
    if (isPressKey(e->key()))
        e->accept();
    else
        QAbstractButton::keyReleaseEvent(e);
    update();
}

bool TLbButton::isAccelerator(const QString& text) const
{
    const QChar accel = acceleratorOf(this->text());
    return !accel.isNull() && text.size() == 1 && text[0].toUpper() == accel.toUpper();
}

// Enter for the default button, Escape for the cancel button, when the key reached the
// window unhandled. A focused push button handles Enter itself, so it is left alone; radio
// buttons and check boxes do not, and the default button acts for them.
bool TLbButton::handleDialogKey(QKeyEvent* ke)
{
    const bool enter = isEnterKey(ke->key());
    const bool escape = ke->key() == Qt::Key_Escape;
    if (!(enter && FDefault) && !(escape && FCancel))
        return false;
    if (ke->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        return false;
    if (!isVisible() || !isEnabled())
        return false;
    if (QWidget* active = window()->focusWidget()) {
        auto* button = qobject_cast<QAbstractButton*>(active);
        if (button && !qobject_cast<QRadioButton*>(button) && !qobject_cast<QCheckBox*>(button))
            return false;
    }
    bDown = true;
    Click();
    return true;
}

bool TLbButton::eventFilter(QObject* watched, QEvent* e)
{
    if (watched != m_watchedWindow || e->type() != QEvent::KeyPress)
        return QAbstractButton::eventFilter(watched, e);
    auto* ke = static_cast<QKeyEvent*>(e);
    if (handleDialogKey(ke))
        return true;
    // A character that no focused control took: the accelerator of a visible button.
    const Qt::KeyboardModifiers mods = ke->modifiers()
                                       & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (mods == Qt::NoModifier && isAccelerator(ke->text()) && isVisible() && isEnabled()
        && parentShowing()) {
        bDown = true;
        Click();
        return true;
    }
    return false;
}

void TLbButton::watchWindow()
{
    QWidget* w = window();
    if (w == this)
        w = nullptr;
    if (m_watchedWindow == w)
        return;
    if (m_watchedWindow)
        m_watchedWindow->removeEventFilter(this);
    m_watchedWindow = w;
    if (w)
        w->installEventFilter(this);
}

// ----- events ------------------------------------------------------------------------------

bool TLbButton::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::Shortcut:
        // Alt + the accelerator: clicks at once (the base class would animate a delayed click).
        if (isVisible() && isEnabled() && parentShowing()) {
            bDown = true;
            Click();
        }
        return true;
    case QEvent::ParentChange:
    case QEvent::Show: watchWindow(); break;
    default: break;
    }
    return QAbstractButton::event(e);
}

void TLbButton::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange) {
        bDown = false;
        m_keyDown = 0;
        update();
    }
    QAbstractButton::changeEvent(e);
}

void TLbButton::focusInEvent(QFocusEvent* e)
{
    QAbstractButton::focusInEvent(e);
    update();
}

void TLbButton::focusOutEvent(QFocusEvent* e)
{
    QAbstractButton::focusOutEvent(e);
    // The release of a key pressed here goes to the control that has the focus now, so the
    // button would otherwise stay drawn pressed.
    if (m_keyDown != 0) {
        m_keyDown = 0;
        bDown = false;
    }
    update();
}

}  // namespace zfw
