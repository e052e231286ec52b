// The in-place editor host of the framework grid and the base text editor.

#include "grid/FrameworkGrid.h"
#include "grid/FrameworkGridKeyMap.h"

#include <QApplication>
#include <QKeyEvent>

namespace zfw {

TInplaceEdit::TInplaceEdit(TStringGrid* grid) : TGridEditField(grid->viewport()), m_grid(grid)
{
    hide();
    // Every change of the text reaches the grid at once, so that the cell follows the typing.
    connect(this, &TGridEditField::textEdited, this, [this](const QString& text) {
        if (m_grid->EditorMode())
            m_grid->SetEditText(m_grid->Col(), m_grid->Row(), text);
    });
}

void TInplaceEdit::UpdateContents()
{
    const int limit = m_grid->GetEditLimit();
    setMaxLength(limit > 0 ? limit : 32767);
    setText(m_grid->GetEditText(m_grid->Col(), m_grid->Row()));
    selectAll();
}

void TInplaceEdit::keyPressEvent(QKeyEvent* e)
{
    const Qt::KeyboardModifiers mods = e->modifiers();
    const int vk = vkFromQtKey(e->key(), mods);
    const TShiftState shift = shiftFromQt(mods);
    const std::optional<FrameworkGridChar> ch = charFromQtKey(e->key(), mods, e->text());
    const bool always = m_grid->Options().testFlag(goAlwaysShowEditor);
    const bool ctrl = shift.testFlag(ssCtrl);
    const bool atStart = cursorPosition() == 0 && !hasSelectedText();
    const bool atEnd = cursorPosition() == text().size() && !hasSelectedText();

    bool toGrid = false;
    switch (vk) {
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN: toGrid = true; break;
    case VK_TAB: toGrid = !shift.testFlag(ssAlt); break;
    case VK_INSERT:
        if (shift == TShiftState())
            toGrid = true;
        else if (shift == TShiftState(ssShift) && !m_grid->CanEditModify()) {
            e->accept();
            return;
        }
        break;
    case VK_LEFT:
    case VK_HOME: toGrid = always && (ctrl || atStart); break;
    case VK_RIGHT:
    case VK_END: toGrid = always && (ctrl || atEnd); break;
    case VK_DELETE:
        if (ctrl) {
            toGrid = true;
        } else if (!m_grid->CanEditModify()) {
            e->accept();
            return;
        }
        break;
    case VK_F2: {
        if (m_grid->OnKeyDown) {
            int k = vk;
            m_grid->OnKeyDown(m_grid, k, shift);
        }
        deselect();
        end(false);
        e->accept();
        return;
    }
    default: break;
    }
    if (toGrid) {
        int k = vk;
        // The grid may hide this editor (a move of the current cell commits it); the
        // character step below talks to the grid only.
        m_grid->KeyDown(k, shift);
        if (ch) {
            char16_t c = ch->ch;
            m_grid->KeyPress(c);
        }
        e->accept();
        return;
    }
    if (ch) {
        char16_t c = ch->ch;
        m_grid->KeyPress(c);
        if (c == 0 || c == 9 || c == 27) {
            e->accept();
            return;
        }
        if (c == 13 || c == 10) {
            if (hasSelectedText())
                deselect();
            else
                selectAll();
            e->accept();
            return;
        }
        if (c >= 32) {
            if (!m_grid->CanEditAcceptKey(c)) {
                QApplication::beep();
                e->accept();
                return;
            }
            if (!m_grid->CanEditModify()) {
                e->accept();
                return;
            }
            if (c != ch->ch) {
                insert(QString(QChar(c)));
                e->accept();
                return;
            }
        }
    }
    TGridEditField::keyPressEvent(e);
}

void TInplaceEdit::keyReleaseEvent(QKeyEvent* e)
{
    if (!e->isAutoRepeat()) {
        const int vk = vkFromQtKey(e->key(), e->modifiers());
        if (vk != 0) {
            int k = vk;
            m_grid->KeyUp(k, shiftFromQt(e->modifiers()));
        }
    }
    TGridEditField::keyReleaseEvent(e);
}

// ----- host --------------------------------------------------------------------------------

TInplaceEdit* TStringGrid::CreateEditor() { return new TInplaceEdit(this); }

bool TStringGrid::CanEditShow()
{
    if (!m_options.testFlag(goEditing) || m_options.testFlag(goRowSelect) || !m_editorMode)
        return false;
    if (!testAttribute(Qt::WA_WState_Created) || !isVisible())
        return false;
    if (Col() < FixedCols() || Row() < FixedRows() || Col() >= ColCount() || Row() >= RowCount())
        return false;
    QWidget* focus = QApplication::focusWidget();
    const bool active = focus && (focus == this || isAncestorOf(focus));
    return active || m_options.testFlag(goAlwaysShowEditor);
}

QString TStringGrid::GetEditText(int ACol, int ARow)
{
    QString value = Cells(ACol, ARow);
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, value);
    return value;
}

void TStringGrid::SetEditText(int ACol, int ARow, const QString& Value)
{
    if (Cells(ACol, ARow) != Value)
        SetCells(ACol, ARow, Value);
    if (OnSetEditText)
        OnSetEditText(this, ACol, ARow, Value);
}

void TStringGrid::SetEditorMode(bool on)
{
    if (on)
        ShowEditor();
    else
        HideEditor();
}

void TStringGrid::ShowEditor()
{
    const bool wasShown = m_editorMode && m_editor && m_editor->isVisible();
    m_editorMode = true;
    if (!CanEditShow()) {
        m_editorMode = false;
        return;
    }
    if (wasShown)
        return;
    if (!m_editor)
        m_editor = CreateEditor();
    if (!m_editor) {
        m_editorMode = false;
        return;
    }
    const bool hadFocus = hasFocus();
    m_editor->UpdateContents();
    UpdateEditor();
    if (hadFocus && m_editor->isVisible())
        m_editor->setFocus(Qt::OtherFocusReason);
}

void TStringGrid::ShowEditorChar(char16_t ch)
{
    ShowEditor();
    if (!m_editorMode || !m_editor)
        return;
    m_editor->setText(QString(QChar(ch)));
    m_editor->end(false);
    SetEditText(Col(), Row(), m_editor->text());
}

void TStringGrid::HideEditor()
{
    if (!m_editorMode)
        return;
    // Mode off first: what SetEditText runs may ask for the mode again.
    m_editorMode = false;
    if (!m_editor)
        return;
    SetEditText(Col(), Row(), m_editor->text());
    hideEditorWidget();
}

void TStringGrid::hideEditorWidget()
{
    // The focus comes back to the grid before the editor goes: hiding the focused widget
    // would hand the focus to the next control of the window, which is an exit.
    if (m_editor->hasFocus()) {
        // No reason to show the editor again either, as goAlwaysShowEditor would on a focus
        // gain: the caller is hiding it.
        m_takingFocusBack = true;
        setFocus(Qt::OtherFocusReason);
        m_takingFocusBack = false;
    }
    m_editor->hide();
}

void TStringGrid::UpdateEditor()
{
    if (!m_editorMode || !m_editor)
        return;
    const TRect r = CellRect(Col(), Row());
    if (r.isEmpty()) {
        hideEditorWidget();
        return;
    }
    m_editor->setGeometry(r.toQRect());
    m_editor->BoundsChanged();
    m_editor->show();
}

}  // namespace zfw
