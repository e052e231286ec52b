#include "grid/EsgCombo.h"

#include "grid/ExtStyleIF.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionComboBox>

#include <algorithm>

namespace zfw {

namespace {

constexpr int kMinButtonWidth = 14;
constexpr int kMaxButtonWidth = 32;

// Gives the drop-down button the box's ButtonWidth and the edit field the rest; everything
// else is the application style's.
class EsgComboStyle final : public QProxyStyle {
public:
    EsgComboStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                         const QWidget* w) const override
    {
        QRect r = QProxyStyle::subControlRect(cc, opt, sc, w);
        const auto* box = qobject_cast<const TEsgComboBox*>(w);
        if (cc != CC_ComboBox || !box)
            return r;
        const QRect arrow = QProxyStyle::subControlRect(cc, opt, SC_ComboBoxArrow, w);
        const int left = arrow.right() + 1 - box->buttonWidth();
        if (sc == SC_ComboBoxArrow)
            r.setLeft(left);
        else if (sc == SC_ComboBoxEditField)
            r.setRight(std::min(r.right(), left - 2));
        return r;
    }
};

}  // namespace

TEsgComboBox::TEsgComboBox(QWidget* parent) : QComboBox(parent)
{
    auto* style = new EsgComboStyle;
    style->setParent(this);
    setStyle(style);
    setMaxVisibleItems(8);
    setInsertPolicy(QComboBox::NoInsert);
    // The platform's scroll bar width plus 2, kept inside the range the writer accepts.
    m_buttonWidth = std::clamp(ThemePainter(this).scrollBarWidth() + 2, kMinButtonWidth,
                               kMaxButtonWidth);
    setEditable(true);
    connectEditor();
    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int) {
        Select();
        Change();
    });
}

TEsgComboBox::~TEsgComboBox() = default;

void TEsgComboBox::connectEditor()
{
    if (QLineEdit* edit = lineEdit()) {
        connect(edit, &QLineEdit::textEdited, this, [this](const QString&) { Change(); });
        // The edit field losing the focus with a text equal to an item is no choice of that
        // item: the box keeps its selection and reports nothing (Qt's own box would select
        // the item and report it as chosen).
        disconnect(edit, &QLineEdit::editingFinished, this, nullptr);
    }
}

void TEsgComboBox::setComboStyle(int style)
{
    const TComboBoxStyle s = style == csDropDownList ? csDropDownList : csDropDown;
    if (s == m_style)
        return;
    const QString keep = text();
    m_style = s;
    setEditable(s == csDropDown);
    if (s == csDropDown) {
        connectEditor();
        setEditText(keep);
    }
}

QStringList TEsgComboBox::items() const
{
    QStringList out;
    out.reserve(count());
    for (int i = 0; i < count(); ++i)
        out << itemText(i);
    return out;
}

void TEsgComboBox::setItems(const QStringList& list)
{
    const QString keep = text();
    clear();
    addItems(list);
    setCurrentIndex(-1);
    if (m_style == csDropDown)
        setEditText(keep);
}

void TEsgComboBox::setItemIndex(int index)
{
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

QString TEsgComboBox::text() const
{
    if (m_style == csDropDown)
        return currentText();
    return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
}

void TEsgComboBox::setText(const QString& t)
{
    setCurrentIndex(findText(t, Qt::MatchExactly | Qt::MatchCaseSensitive));
    if (m_style == csDropDown)
        setEditText(t);
}

void TEsgComboBox::SelectItem(const QString& t)
{
    const int i = findText(t, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i >= 0)
        setCurrentIndex(i);
}

void TEsgComboBox::setDroppedDown(bool down)
{
    if (down == m_dropped)
        return;
    if (down)
        showPopup();
    else
        hidePopup();
}

void TEsgComboBox::setDropDownCount(int n) { setMaxVisibleItems(std::max(1, n)); }

void TEsgComboBox::setButtonWidth(int width)
{
    if (width < kMinButtonWidth || width > kMaxButtonWidth)
        return;
    m_buttonWidth = width;
    update();
}

void TEsgComboBox::setDropWidth(int width)
{
    m_dropWidth = std::max(0, width);
    view()->setMinimumWidth(m_dropWidth);
}

void TEsgComboBox::showPopup()
{
    DropDown();
    view()->setMinimumWidth(m_dropWidth);
    QComboBox::showPopup();
    m_dropped = true;
}

void TEsgComboBox::hidePopup()
{
    QComboBox::hidePopup();
    if (!m_dropped)
        return;
    m_dropped = false;
    update();
    DropUp();
}

void TEsgComboBox::KeyDown(int&, Qt::KeyboardModifiers) {}
void TEsgComboBox::KeyPress(QChar&) {}
void TEsgComboBox::Change() { Q_EMIT changed(); }
void TEsgComboBox::Select() { Q_EMIT selected(); }
void TEsgComboBox::DropDown() { Q_EMIT droppingDown(); }
void TEsgComboBox::DropUp() { Q_EMIT droppedUp(); }
void TEsgComboBox::DoEnter() { Q_EMIT entered(); }
void TEsgComboBox::DoExit() { Q_EMIT exited(); }

void TEsgComboBox::keyPressEvent(QKeyEvent* e)
{
    int key = e->key();
    KeyDown(key, e->modifiers());
    if (key == 0) {
        e->accept();
        return;
    }
    // Control characters (Enter, Esc, Backspace, Tab) reach the character hook as well.
    const QString typed = e->text();
    QChar ch = typed.isEmpty() ? QChar() : typed.at(0);
    if (!ch.isNull()) {
        KeyPress(ch);
        if (ch.isNull()) {
            e->accept();
            return;
        }
    }
    if (key == e->key() && (typed.isEmpty() || ch == typed.at(0))) {
        QComboBox::keyPressEvent(e);
        return;
    }
    QKeyEvent replaced(e->type(), key, e->modifiers(), ch.isNull() ? QString() : QString(ch),
                       e->isAutoRepeat());
    QComboBox::keyPressEvent(&replaced);
}

void TEsgComboBox::focusInEvent(QFocusEvent* e)
{
    QComboBox::focusInEvent(e);
    // The list taking and giving back the focus is no entering or leaving of the box.
    if (e->reason() == Qt::PopupFocusReason || m_hasFocus)
        return;
    m_hasFocus = true;
    DoEnter();
}

void TEsgComboBox::focusOutEvent(QFocusEvent* e)
{
    QComboBox::focusOutEvent(e);
    if (e->reason() == Qt::PopupFocusReason || m_dropped || !m_hasFocus)
        return;
    m_hasFocus = false;
    DoExit();
}

}  // namespace zfw
