#include "controls/ESGEdit.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QStyle>

#include <algorithm>

namespace zfw {

namespace {

// The character a key types as the edit's character handling sees it: printable text,
// Backspace, Enter, Tab, Esc, and Ctrl+letter as its control character. Delete and the
// navigation keys type nothing.
QChar typedChar(const QKeyEvent* e)
{
    const QString text = e->text();
    if (!text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7F)
        return text.at(0);
    switch (e->key()) {
    case Qt::Key_Backspace: return QChar(0x08);
    case Qt::Key_Return:
    case Qt::Key_Enter: return QChar(0x0D);
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return QChar(0x09);
    case Qt::Key_Escape: return QChar(0x1B);
    default: break;
    }
    const Qt::KeyboardModifiers mods = e->modifiers();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && e->key() >= Qt::Key_A
        && e->key() <= Qt::Key_Z)
        return QChar(char16_t(e->key() - Qt::Key_A + 1));
    return QChar();
}

// Enter, Tab and Esc type nothing into the edit; refusing them as characters still leaves the
// key to the edit and its window.
bool isPassThroughControl(QChar ch)
{
    return ch == QChar(0x0D) || ch == QChar(0x09) || ch == QChar(0x1B);
}

}  // namespace

TEsgEditBtn::TEsgEditBtn(QWidget* parent) : QLineEdit(parent)
{
    FButton = new TEsgEditButton(this);
    FButton->resize(18, 18);
    FButton->setCursor(Qt::ArrowCursor);
    FButton->setFocusControl(this);
    connect(FButton, &TEsgEditButton::clicked, this, [this] { DoClickBtn(FButton); });
    setText(QStringLiteral("0"));
}

TEsgEditBtn::~TEsgEditBtn() = default;

void TEsgEditBtn::setRightAlign(bool on)
{
    if (on == FRightAlign)
        return;
    FRightAlign = on;
    setAlignment((on ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
}

void TEsgEditBtn::setEditorEnabled(bool on) { FEditorEnabled = on; }

void TEsgEditBtn::setButtonWidth(int w)
{
    FButtonWidth = w;
    FButton->resize(std::max(0, w), FButton->height());
    // The old edit left the wider button where it stood until the next resize, reaching past
    // the right edge; it is placed and the text area narrowed at once.
    layoutButton();
}

void TEsgEditBtn::setIsWinXP(bool on)
{
    FIsWinXP = on;
    FButton->Button()->setIsWinXP(on);
}

QString TEsgEditBtn::buttonCaption() const { return FButton->buttonCaption(); }

void TEsgEditBtn::setButtonCaption(const QString& caption) { FButton->setButtonCaption(caption); }

QImage TEsgEditBtn::glyph() const { return FButton->glyph(); }

void TEsgEditBtn::setGlyph(const QImage& glyph) { FButton->setGlyph(glyph); }

void TEsgEditBtn::setBorder(bool single)
{
    if (single == hasFrame())
        return;
    setFrame(single);
    layoutButton();
}

int TEsgEditBtn::GetMinHeight() const
{
    const int h = QFontMetrics(font()).height();
    const int hs = QFontMetrics(QApplication::font()).height();
    return h + std::min(h, hs) / 4;
}

void TEsgEditBtn::DoClickBtn(QObject* sender) { emit clickBtn(sender); }

// ----- layout ------------------------------------------------------------------------------

namespace {

int frameWidthOf(const QLineEdit* edit)
{
    return edit->hasFrame()
               ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit)
               : 0;
}

// The text of a line edit starts this far inside its text margins.
constexpr int kLineEditInnerMargin = 2;

}  // namespace

int TEsgEditBtn::unitAreaRight() const
{
    const int f = frameWidthOf(this);
    return width() - 2 * f - FButton->width() - 3;
}

void TEsgEditBtn::layoutButton()
{
    // The button keeps its width and sits one pixel inside the right and bottom edges of the
    // client area.
    const int f = frameWidthOf(this);
    const QRect client = rect().adjusted(f, f, -f, -f);
    const int w = FButton->width();
    FButton->setGeometry(client.x() + client.width() - 1 - w, client.y(), w,
                         std::max(0, client.height() - 1));
    SetEditRect();
}

// The text runs from a small left margin to five pixels before the button, less the unit's
// space and a further gap when there is one. Only the horizontal bounds are set: the line
// edit centres its text vertically.
void TEsgEditBtn::SetEditRect()
{
    const int f = frameWidthOf(this);
    const int clientWidth = width() - 2 * f;
    const int left = f > 0 ? 1 : 3;
    int right = clientWidth - FButton->width() - 5 - FUnitSize;
    if (FUnitSize > 0)
        right -= 3;
    const QMargins wanted(std::max(0, left - kLineEditInnerMargin), 0,
                          std::max(0, clientWidth - right - kLineEditInnerMargin), 0);
    if (textMargins() != wanted)
        setTextMargins(wanted);
}

void TEsgEditBtn::resizeEvent(QResizeEvent* e)
{
    QLineEdit::resizeEvent(e);
    const int minHeight = GetMinHeight();
    if (height() < minHeight) {
        resize(width(), minHeight);
        return;
    }
    layoutButton();
}

// ----- keys --------------------------------------------------------------------------------

void TEsgEditBtn::KeyDown(int& key, Qt::KeyboardModifiers shift)
{
    if (key == Qt::Key_F4 && !(shift & (Qt::ControlModifier | Qt::AltModifier)))
        DoClickBtn(this);
}

bool TEsgEditBtn::CharMessage(QChar) { return FEditorEnabled; }

void TEsgEditBtn::KeyPress(QChar&) {}

void TEsgEditBtn::KeyUp(int&, Qt::KeyboardModifiers) {}

bool TEsgEditBtn::WantSpecialKey(int, Qt::KeyboardModifiers) { return false; }

void TEsgEditBtn::DoPaste()
{
    if (canChangeByClipboard())
        paste();
}

void TEsgEditBtn::DoCut()
{
    if (canChangeByClipboard())
        cut();
}

bool TEsgEditBtn::event(QEvent* e)
{
    if (e->type() == QEvent::ShortcutOverride) {
        const auto* k = static_cast<QKeyEvent*>(e);
        if (WantSpecialKey(k->key(), k->modifiers())) {
            e->accept();
            return true;
        }
    }
    return QLineEdit::event(e);
}

bool TEsgEditBtn::focusNextPrevChild(bool next)
{
    // A claimed Tab reaches the key handling instead of moving the focus.
    if (hasFocus()
        && WantSpecialKey(next ? Qt::Key_Tab : Qt::Key_Backtab,
                          next ? Qt::NoModifier : Qt::ShiftModifier))
        return false;
    return QLineEdit::focusNextPrevChild(next);
}

void TEsgEditBtn::keyPressEvent(QKeyEvent* e)
{
    int key = e->key();
    // F4's click handler may delete the editor; the key is then spent.
    QPointer<TEsgEditBtn> self(this);
    KeyDown(key, e->modifiers());
    if (!self) {
        e->accept();
        return;
    }
    if (key == 0) {
        e->accept();
        return;
    }

    const QChar typed = typedChar(e);
    QChar ch = typed;
    if (!ch.isNull()) {
        if (!CharMessage(ch)) {
            if (!isPassThroughControl(ch)) {
                e->accept();
                return;
            }
            ch = QChar();
        } else {
            KeyPress(ch);
            if (ch.isNull() && !isPassThroughControl(typed)) {
                e->accept();
                return;
            }
        }
    }

    if (e->matches(QKeySequence::Paste)) {
        DoPaste();
        e->accept();
        return;
    }
    if (e->matches(QKeySequence::Cut)) {
        DoCut();
        e->accept();
        return;
    }

    const bool printable = !typed.isNull() && typed.unicode() >= 0x20;
    if (key == e->key() && (!printable || ch == typed)) {
        QLineEdit::keyPressEvent(e);
    } else {
        QKeyEvent replaced(e->type(), key, e->modifiers(),
                           ch.isNull() || ch.unicode() < 0x20 ? e->text() : QString(ch),
                           e->isAutoRepeat());
        QLineEdit::keyPressEvent(&replaced);
        e->setAccepted(replaced.isAccepted());
    }
    // A key the editor claims stays here; the line edit would leave Tab, Enter and Esc to the
    // window, which moves the focus or closes.
    if (WantSpecialKey(key, e->modifiers()))
        e->accept();
}

void TEsgEditBtn::keyReleaseEvent(QKeyEvent* e)
{
    int key = e->key();
    KeyUp(key, e->modifiers());
    if (key == 0) {
        e->accept();
        return;
    }
    QLineEdit::keyReleaseEvent(e);
}

// ----- focus, mouse and clipboard ----------------------------------------------------------

void TEsgEditBtn::focusInEvent(QFocusEvent* e)
{
    const int cursor = cursorPosition();
    QLineEdit::focusInEvent(e);
    if (e->reason() == Qt::PopupFocusReason)
        return;
    if (FAutoSelect && e->reason() != Qt::MouseFocusReason)
        selectAll();
    else if (!FAutoSelect && hasSelectedText() && e->reason() != Qt::MouseFocusReason)
        setCursorPosition(cursor);  // the line edit's own select-all on Tab
}

QAction* TEsgEditBtn::standardMenuAction(QMenu* menu, StandardAction which)
{
    // Newer Qt names the actions; older releases are recognised by their (translated) text.
    const char* name = which == StandardAction::Paste ? "edit-paste" : "edit-cut";
    if (auto* a = menu->findChild<QAction*>(QString::fromLatin1(name)))
        return a;
    const QString text = which == StandardAction::Paste ? QLineEdit::tr("&Paste")
                                                        : QLineEdit::tr("Cu&t");
    for (QAction* a : menu->actions())
        if (a->text() == text || a->text().startsWith(text + QLatin1Char('\t')))
            return a;
    return nullptr;
}

void TEsgEditBtn::contextMenuEvent(QContextMenuEvent* e)
{
    QMenu* menu = createStandardContextMenu();
    // Route the menu's cut and paste through the same checks as the keys.
    const std::pair<StandardAction, void (TEsgEditBtn::*)()> routed[] = {
        {StandardAction::Paste, &TEsgEditBtn::DoPaste}, {StandardAction::Cut, &TEsgEditBtn::DoCut}};
    for (const auto& [which, slot] : routed) {
        QAction* a = standardMenuAction(menu, which);
        if (!a)
            continue;
        disconnect(a, &QAction::triggered, nullptr, nullptr);
        connect(a, &QAction::triggered, this, slot);
        if (!canChangeByClipboard())
            a->setEnabled(false);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(e->globalPos());
}

void TEsgEditBtn::mouseReleaseEvent(QMouseEvent* e)
{
    // Middle click pastes the selection on desktops that have one.
    if (e->button() == Qt::MiddleButton && !canChangeByClipboard()) {
        e->ignore();
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
}

void TEsgEditBtn::dropEvent(QDropEvent* e)
{
    if (!canChangeByClipboard()) {
        e->ignore();
        return;
    }
    QLineEdit::dropEvent(e);
}

void TEsgEditBtn::inputMethodEvent(QInputMethodEvent* e)
{
    // Text composed by an input method is typing too.
    if (!FEditorEnabled) {
        e->ignore();
        return;
    }
    QLineEdit::inputMethodEvent(e);
}

}  // namespace zfw
