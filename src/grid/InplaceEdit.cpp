// The string grid's text editor: its key-down, character, focus and paste steps.

#include "grid/InplaceEdit.h"

#include "grid/CheckBoxCells.h"
#include "grid/ExtGrid.h"
#include "grid/ExtUtil.h"
#include "grid/FrameworkGridKeyMap.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMetaObject>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>

#include <utility>

namespace zfw {

TExtInplaceEdit::TExtInplaceEdit(TExtStringGrid* grid) : TInplaceEdit(grid), FGrid(grid)
{
    // Dropped text would bypass the length limit and the kind's filter.
    setAcceptDrops(false);
    connect(this, &TGridEditField::editTextChanged, this, [this](const QString& t) {
        if (m_gridGone || FGrid->FNoEditChange || !FGrid->OnEditChange)
            return;
        FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), t);
    });
}

void TExtInplaceEdit::UpdateContents()
{
    FGrid->FNoEditChange = true;
    // No maximum length on the edit field: it would cut a longer stored text as it is loaded.
    // The limit is applied to what typing and pasting insert.
    setMaxLength(0);
    FLengthLimit = FGrid->GetEditLimit();
    const TEditorType kind = FGrid->EditControl;
    // A password is one line, shown masked.
    setPasswordMode(kind == TEditorType::edPassword, FGrid->PasswordChar);
    SetWordWrap(kind != TEditorType::edPassword && FGrid->WordWrap());
    setText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
    selectAll();
    FGrid->FNoEditChange = false;

    const int ACol = FGrid->RealColIndex(FGrid->Col());
    TGridDrawState state;
    TColor brush = clNone, colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TColor fontColor = clWindowText;
    QFont f = font();
    TAlignment ha = FGrid->DefaultAlignment;
    TVAlignment va = FGrid->VAlignment;
    bool ww = false;
    TCellGradientDirection gd = TCellGradientDirection::GradientVertical;
    FGrid->GetVisualProperties(ACol, FGrid->Row(), state, false, false, false, brush, colorTo,
                               mirror, mirrorTo, f, fontColor, ha, va, ww, gd);
    setFont(f);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, toQColor(brush == clNone ? FGrid->Color() : brush));
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    pal.setColor(QPalette::Text, toQColor(fontColor));
    setPalette(pal);
    FValign = ha == TAlignment::taRightJustify;
    const Qt::Alignment h = ha == TAlignment::taRightJustify ? Qt::AlignRight
                            : ha == TAlignment::taCenter     ? Qt::AlignHCenter
                                                             : Qt::AlignLeft;
    setAlignment(h);
    // The text 3 pixels in from the left and the top and 2 from the right, where the cell
    // shows it.
    setTextMargins(3, 3, 2, 0);
    FColE = FGrid->Col();
    FRowE = FGrid->Row();
    FGrid->DoGetEditorProp(FColE, FRowE, nullptr);
}

bool TExtInplaceEdit::event(QEvent* e)
{
    if (!m_gridGone && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        // Tab stays with the editor while the grid takes Tab; otherwise it moves the focus on.
        if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) && FGrid->EditorWantsTab()
            && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(k);
            return true;
        }
    }
    if (!m_gridGone && e->type() == QEvent::ShortcutOverride) {
        // Enter and Esc belong to the editor, not to a window shortcut or a dialog's buttons.
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Escape || k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            e->accept();
            return true;
        }
    }
    return TInplaceEdit::event(e);
}

void TExtInplaceEdit::refusedCommit()
{
    setText(FGrid->FNewCellText);
    if (FGrid->Navigation.EditSelectAll)
        selectAll();
    else
        end(false);
    FGrid->FNoAutoAdvance = true;
    update();
}

bool TExtInplaceEdit::validateFromEditor(const QString& T)
{
    // A refused value stays in the editor as the validation left it.
    QPointer<TExtInplaceEdit> self(this);
    if (FGrid->ValidateCell(T)) {
        if (self)
            setText(FGrid->FNewCellText);
        return bool(self);
    }
    if (self)
        refusedCommit();
    return false;
}

bool TExtInplaceEdit::lineBreaksAllowed() const
{
    return FGrid->WordWrap() || FGrid->Multilinecells;
}

void TExtInplaceEdit::keyPressEvent(QKeyEvent* e)
{
    // Every key is the editor's: none may fall through to a dialog (Enter would press its
    // default button, Esc would close it).
    e->accept();
    if (m_gridGone)
        return;
    TExtStringGrid* g = FGrid;
    QPointer<TExtInplaceEdit> self(this);
    const Qt::KeyboardModifiers mods = e->modifiers();
    const int vk = vkFromQtKey(e->key(), mods);
    const TShiftState shift = shiftFromQt(mods);
    const bool ctrl = shift.testFlag(ssCtrl);
    const bool alt = shift.testFlag(ssAlt);
    const bool plain = !ctrl && !shift.testFlag(ssShift);
    const std::optional<FrameworkGridChar> ch = charFromQtKey(e->key(), mods, e->text());
    const QString T = text();
    FSelKeyDown = cursorPosition();
    m_selectedAtKeyDown = hasSelectedText();
    bool arrowMoved = false;
    if (vk == VK_BACK && alt)
        FAltBack = true;
    if (vk == VK_BACK || vk == VK_DELETE)
        Workmode = false;
    else if (vk != VK_RETURN && vk != VK_UP && vk != VK_DOWN)
        Workmode = true;

    if (e->matches(QKeySequence::Paste) || (vk == VK_INSERT && shift == TShiftState(ssShift))) {
        if (g->CanEditModify())
            pasteFromClipboard(false);
        return;
    }
    if (e->matches(QKeySequence::Undo) || e->matches(QKeySequence::Redo)) {
        if (g->CanEditModify())
            TGridEditField::keyPressEvent(e);
        return;
    }
    if (e->matches(QKeySequence::Copy)) {
        CopyToClipboard();
        return;
    }
    if (e->matches(QKeySequence::Cut)) {
        CutToClipboard();
        return;
    }

    // ----- the key-down steps -----
    if (vk == VK_ESCAPE) {
        // The cell gets back the text it had when editing began.
        setText(g->FCellCache);
        g->HideInplaceEdit();
        int k = VK_ESCAPE;
        g->KeyDown(k, shift);
        char16_t c = 27;
        g->KeyPress(c);
        return;
    }
    if (ctrl && vk == 'A' && !(mods & Qt::GroupSwitchModifier)) {
        selectAll();
        return;
    }
    if (vk == VK_RETURN && ctrl && !(g->Navigation.AllowCtrlEnter && lineBreaksAllowed()))
        return;
    if (vk == VK_TAB && !alt && g->EditorWantsTab()) {
        if (!g->ValidateCell(T)) {
            if (self)
                refusedCommit();
            return;
        }
        setText(g->FNewCellText);
        g->HideInplaceEdit();
        const bool backward = shift.testFlag(ssShift);
        if (g->Options().testFlag(goTabs)) {
            g->TabToNextCell(backward);
        } else {
            QPointer<TExtStringGrid> grid(g);
            QMetaObject::invokeMethod(
                g,
                [grid, shift] {
                    if (grid)
                        grid->WMKeyDown(VK_TAB, shift);
                },
                Qt::QueuedConnection);
        }
        return;
    }
    if (g->Navigation.CursorWalkEditor && shift == TShiftState(ssShift)
        && ((vk == VK_LEFT && cursorPosition() == 0 && !hasSelectedText())
            || (vk == VK_RIGHT && cursorPosition() == T.size() && !hasSelectedText()))) {
        g->FValidating = true;
        g->SetCurrentCell(T);
        g->FValidating = false;
        if (!g->ValidateCell(T)) {
            if (self)
                refusedCommit();
            return;
        }
        if (!self)
            return;
        setText(g->FNewCellText);
        g->HideInplaceEdit();
        g->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (vk == VK_UP || vk == VK_DOWN) {
        // Inside a text of several lines the arrows move the caret; only from the first
        // (last) line do they leave the cell.
        const bool leaves = vk == VK_UP ? caretOnFirstLine() : caretOnLastCharLine();
        if (!leaves) {
            TGridEditField::keyPressEvent(e);
            return;
        }
        g->FValidating = true;
        g->SetCurrentCell(T);
        g->FValidating = false;
        if (!validateFromEditor(T))
            return;
        arrowMoved = true;
    }
    if (vk == VK_RETURN && !g->Navigation.LineFeedOnEnter && !ctrl) {
        if (!validateFromEditor(T))
            return;
    }
    if (plain && vk == VK_HOME)
        home(false);
    else if (plain && vk == VK_END)
        end(false);
    if (vk == VK_RETURN && ctrl && g->Navigation.LineFeedOnEnter) {
        enterChar();
        return;
    }
    if (!self)
        return;

    // ----- the key-down event -----
    if (vk == VK_RETURN) {
        if (!g->Navigation.AllowCtrlEnter && lineBreaksAllowed())
            g->FEditing = false;
        if ((ctrl || shift.testFlag(ssShift)) && g->SizeWhileTyping.Height && g->Multilinecells)
            growRowForNewLine();
    }

    // ----- the base in-place edit's key-down table -----
    const bool always = g->Options().testFlag(goAlwaysShowEditor);
    const bool atStart = cursorPosition() == 0 && !hasSelectedText();
    const bool atEnd = cursorPosition() == text().size() && !hasSelectedText();
    bool toGrid = false;
    bool swallow = false;
    switch (vk) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN: toGrid = true; break;
    case VK_TAB: toGrid = !alt; break;
    case VK_INSERT: toGrid = shift == TShiftState(); break;
    case VK_LEFT:
    case VK_HOME: toGrid = always && (ctrl || atStart); break;
    case VK_RIGHT:
    case VK_END: toGrid = always && (ctrl || atEnd); break;
    case VK_DELETE:
        toGrid = ctrl;
        swallow = !ctrl && !g->CanEditModify();
        break;
    case VK_F2: {
        if (g->OnKeyDown) {
            int k = vk;
            g->OnKeyDown(g, k, shift);
            if (k != VK_F2)
                return;
        }
        deselect();
        end(false);
        return;
    }
    default: break;
    }
    if (toGrid) {
        int k = vk;
        g->KeyDown(k, shift);
        if (self && arrowMoved && g->MouseActions.DisjunctRowSelect()) {
            g->ClearRowSelect();
            g->SetRowSelect(g->Row(), true);
        }
        return;
    }
    if (swallow)
        return;
    if (vk != 0 && g->OnKeyDown) {
        int k = vk;
        g->OnKeyDown(g, k, shift);
        if (!self)
            return;
    }

    // ----- the character steps -----
    if (!ch) {
        // Caret moves, Backspace and Delete of the edit field.
        if (self && isVisible())
            TGridEditField::keyPressEvent(e);
        e->accept();
        return;
    }
    char16_t c = ch->ch;
    if (c == 13) {
        // A line break where Enter types one; otherwise the key-down step validated already
        // and a refusal there ended the key.
        if (g->Navigation.LineFeedOnEnter && takesLineFeedOnEnter(g->EditControl)) {
            typeLineBreak();
            return;
        }
        enterChar();
        return;
    }
    if (c == 10) {
        // Ctrl+Enter types a line break where a cell may hold several lines.
        if (g->Navigation.AllowCtrlEnter && lineBreaksAllowed())
            typeChar(QChar(c), false);
        return;
    }
    if (c == 1 || c == 9 || c == 27)
        return;
    typeChar(QChar(c), (ch->keyData & kKeyDataKeypad) != 0);
    // A full text acts as Enter when the grid advances by itself.
    if (self && isVisible() && c >= 32 && g->Navigation.AdvanceAuto()
        && g->Navigation.AdvanceOnEnter && g->MaxEditLength > 0 && text().size() == g->MaxEditLength
        && !hasSelectedText() && cursorPosition() == text().size()) {
        if (!g->ValidateCell(text())) {
            if (self)
                refusedCommit();
            return;
        }
        if (self)
            enterChar();
    }
}

bool TExtInplaceEdit::takesLineFeedOnEnter(TEditorType kind)
{
    switch (kind) {
    case TEditorType::edNormal:
    case TEditorType::edCapital:
    case TEditorType::edMixedCase:
    case TEditorType::edLowerCase:
    case TEditorType::edUpperCase:
    case TEditorType::edValidChars: return true;
    default: return false;
    }
}

void TExtInplaceEdit::typeLineBreak()
{
    if (!FGrid->CanEditModify())
        return;
    if (FLengthLimit > 0 && !lineBreakFits())
        return;
    insert(QStringLiteral("\r\n"));
}

bool TExtInplaceEdit::lineBreakFits() const
{
    // A line break is stored as CR LF: two characters of the limit.
    const int len = text().size();
    const int grown = len - int(selectedText().size()) + 2;
    return grown <= FLengthLimit || grown <= len;
}

void TExtInplaceEdit::growRowForNewLine()
{
    TExtStringGrid* g = FGrid;
    const int row = g->Row();
    const bool synch = std::exchange(g->ColumnSize.SynchWithGrid, false);
    // The text as it will be once the line break is in, with a blank on the new line.
    const int n = LineCount(text() + QStringLiteral("\r\n "), true);
    if (n < g->MaxRowLineCount(row))
        g->AutoSizeRow(row, 0);
    else
        g->SetRowLineHeight(row, n, g->TotalYOffset());
    g->ColumnSize.SynchWithGrid = synch;
    if (g->OnEndRowSize)
        g->OnEndRowSize(g, row);
}

void TExtInplaceEdit::enterChar()
{
    TExtStringGrid* g = FGrid;
    QPointer<TExtInplaceEdit> self(this);
    char16_t k = 13;
    g->KeyPress(k);
    if (k == 0 || !self)
        return;
    if (g->EditMode && !g->Options().testFlag(goAlwaysShowEditor))
        g->HideInplaceEdit();
    if (g->Navigation.AdvanceOnEnter && !g->FNoAutoAdvance)
        g->AdvanceToNextCell(g->Col(), g->Row(), false, true, true);
    g->FNoAutoAdvance = false;
}

void TExtInplaceEdit::cursorWalk(bool forward)
{
    TExtStringGrid* g = FGrid;
    const int col = g->Col();
    const int row = g->Row();
    // The neighbour to the right lies past the whole merged area of the current cell. Only a
    // neighbour inside the normal columns is looked at; from the edge the walk advances like
    // Enter does, on to the next (previous) row.
    const int span = std::max(0, g->store().CellSpan(g->RealColIndex(col), row).x());
    const int next = forward ? col + span + 1 : col - 1;
    const bool lookAt = forward
                            ? col < g->ColCount() - g->FixedRightCols - 1 && next < g->ColCount()
                            : col > g->FixedCols();
    const QPoint b = lookAt ? g->store().BaseCell(g->RealColIndex(next), row) : QPoint(-1, -1);
    if (lookAt && HasCheckBoxOrRadioButton(*g, b.x(), b.y())) {
        // A check-box neighbour takes the cursor but opens no editor; a refused value keeps
        // the edit where it is.
        if (!g->ValidateCell(text()))
            return;
        g->HideInplaceEdit();
        g->SetCol(next);
        return;
    }
    // Leftwards the value is validated before the move; rightwards the move's cell selection
    // ends the edit.
    if (!forward && g->ValidateCell(text()))
        g->HideInplaceEdit();
    if (!g->CursorWalkMove(col, row, forward))
        g->HideInplaceEdit();
}

void TExtInplaceEdit::StartWithChar(QChar ch)
{
    if (m_gridGone)
        return;
    selectAll();
    typeChar(ch, false, false);
}

bool TExtInplaceEdit::typeChar(QChar ch, bool keypad, bool toGrid)
{
    TExtStringGrid* g = FGrid;
    QPointer<TExtInplaceEdit> self(this);
    const QChar decimal = GetDecimalSeparatorSetting(locale());
    const QChar thousand = GetThousandSeparatorSetting(locale());
    if (keypad && ch == u'.' && g->ExcelStyleDecimalSeparator)
        ch = decimal;
    const bool isBack = ch.unicode() == 8;
    const bool lineFeed = ch.unicode() == 10;
    // The limit blocks insertions that would make the text longer than it; a stored text
    // already longer is left as it is (typing over a selection of it is still possible).
    if (FLengthLimit > 0 && !isBack) {
        const int len = text().size();
        const int grown = len - selectedText().size() + 1;
        if (lineFeed ? !lineBreakFits() : grown > FLengthLimit && grown > len)
            return true;
    }
    EditCharContext ctx;
    ctx.text = text();
    ctx.selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    ctx.selLength = selectedText().size();
    ctx.cursor = cursorPosition();
    ctx.decimalSeparator = decimal;
    ctx.thousandSeparator = thousand;
    ctx.ctrl = QApplication::keyboardModifiers().testFlag(Qt::ControlModifier);
    ctx.validChars = g->AcceptedValidChars();
    const EditCharResult r = FilterEditChar(g->EditControl, ch, ctx);
    if (r.verdict == EditCharVerdict::Beep) {
        QApplication::beep();
        return true;
    }
    if (r.verdict == EditCharVerdict::Drop)
        return true;

    // The grid sees the character first and may consume or change it.
    char16_t c = r.ch.unicode();
    if (toGrid)
        g->KeyPress(c);
    if (!self || c == 0)
        return true;
    // The grid and the form have seen a control character (Ctrl+letter); it is no text.
    // The old editor put them into the cell as invisible characters.
    if ((c < 32 && c != 8 && c != 10) || c == 127)
        return true;
    if (c >= 32 && !g->CanEditAcceptKey(c)) {
        QApplication::beep();
        return true;
    }
    if (!g->CanEditModify())
        return true;
    if (c == 8) {
        backspace();
    } else if (c == 10) {
        // The cell's lines are separated by CR LF, as the grid counts and paints them.
        insert(QStringLiteral("\r\n"));
    } else {
        insert(QString(QChar(c)));
        if (g->EditControl == TEditorType::edMixedCase) {
            const int pos = cursorPosition();
            QString t = text();
            AcceptPastedText(TEditorType::edMixedCase, t, decimal, thousand, QString());
            setText(t);
            setCursorPosition(pos);
            if (g->EditorMode())
                g->SetEditText(g->Col(), g->Row(), text());
        }
    }
    return true;
}

void TExtInplaceEdit::keyReleaseEvent(QKeyEvent* e)
{
    if (m_gridGone) {
        e->accept();
        return;
    }
    const int vk = vkFromQtKey(e->key(), e->modifiers());
    if (vk == VK_BACK && !e->isAutoRepeat())
        FAltBack = false;
    if (!e->isAutoRepeat() && FGrid->Navigation.CursorWalkEditor && e->modifiers() == Qt::NoModifier
        && !hasSelectedText() && !m_selectedAtKeyDown
        && ((vk == VK_LEFT && cursorPosition() == 0 && FSelKeyDown == 0)
            || (vk == VK_RIGHT && text().size() == FSelKeyDown))) {
        e->accept();
        cursorWalk(vk == VK_RIGHT);
        return;
    }
    if (vk == VK_LEFT || vk == VK_RIGHT) {
        e->accept();
        return;
    }
    QPointer<TExtInplaceEdit> self(this);
    TInplaceEdit::keyReleaseEvent(e);
    if (!self || e->isAutoRepeat() || !isVisible())
        return;
    DoChange();
    sizeWhileTyping();
}

void TExtInplaceEdit::sizeWhileTyping()
{
    TExtStringGrid* g = FGrid;
    if (g->SizeWhileTyping.Width)
        g->FitColumnToContent(g->Col(), true);
    if (g->SizeWhileTyping.Height && g->WordWrap()) {
        const int row = g->Row();
        const bool synch = std::exchange(g->ColumnSize.SynchWithGrid, false);
        g->AutoSizeRow(row, 0);
        g->ColumnSize.SynchWithGrid = synch;
        if (g->OnEndRowSize)
            g->OnEndRowSize(g, row);
    }
}

void TExtInplaceEdit::DoChange()
{
    if (m_gridGone || !FGrid->Lookup || !Workmode || hasSelectedText())
        return;
    const int typed = cursorPosition();
    const QString prefix = text().left(typed);
    if (prefix.isEmpty())
        return;
    const QString item = FGrid->LookupEntry(prefix);
    if (item.isNull())
        return;
    // The typed characters stay as typed; the rest comes from the entry, selected so that
    // typing on replaces it.
    const QString completed = prefix + item.mid(typed, 255);
    if (completed != text()) {
        setText(completed);
        if (FGrid->EditorMode())
            FGrid->SetEditText(FGrid->Col(), FGrid->Row(), completed);
    }
    setSelection(typed, completed.size() - typed);
}

void TExtInplaceEdit::focusInEvent(QFocusEvent* e)
{
    TInplaceEdit::focusInEvent(e);
    if (m_gridGone)
        return;
    FGotFocus = true;
    FGrid->FNoEditChange = false;
    FLengthLimit = FGrid->GetEditLimit();
    if (!FGrid->Navigation.EditSelectAll)
        end(false);
    if (FGrid->LButFlg) {
        const QPoint p = FGrid->FLButPos - pos();
        if (rect().contains(p)) {
            setCursorPosition(cursorPositionAt(p));
            FGrid->LButFlg = false;
        }
    }
}

void TExtInplaceEdit::focusOutEvent(QFocusEvent* e)
{
    TInplaceEdit::focusOutEvent(e);
    if (m_gridGone)
        return;
    // A context menu of the editor, or the window losing the activation, is no end of the
    // edit: the user comes back to the same editor.
    if (e->reason() == Qt::PopupFocusReason || e->reason() == Qt::ActiveWindowFocusReason)
        return;
    TExtStringGrid* g = FGrid;
    QPointer<TExtInplaceEdit> self(this);
    g->FStartEditChar = 0;
    if (g->LookupHistory && !text().isEmpty() && !g->LookupItems.contains(text()))
        g->LookupItems.append(text());
    // While Alt+Backspace is held the focus may wander for a moment; that ends no edit.
    if (FAltBack)
        return;
    QWidget* now = QApplication::focusWidget();
    if (now != g && now != g->viewport()) {
        g->ValidateCell(text());
        if (!self)
            return;
        setText(g->GetCurrentCell());
        g->HideInplaceEdit();
        g->FEditing = false;
        g->EditMode = false;
        if (FColE >= 0 && FRowE >= 0)
            g->SelectCell(FColE, FRowE);
        if (!self)
            return;
    }
    if (g->FNoEditChange)
        setText(g->GetCurrentCell());
    if (FGotFocus) {
        FGotFocus = false;
        g->DoEditingDone(g->RealColIndex(FColE), FRowE);
    }
}

void TExtInplaceEdit::PasteText(const QString& Text)
{
    if (m_gridGone || !FGrid->CanEditModify())
        return;
    TExtStringGrid* g = FGrid;
    QString S = Text;
    bool allow = true;
    if (g->OnClipboardPaste)
        g->OnClipboardPaste(this, allow);
    if (allow && g->OnClipboardBeforePasteCell)
        g->OnClipboardBeforePasteCell(this, g->Col(), g->Row(), S, allow);
    if (!allow)
        return;
    if (FLengthLimit > 0 && S.size() > FLengthLimit)
        return;
    // A text copied as one line carries its line break at the end; only that one goes.
    const int firstBreak = S.indexOf(QStringLiteral("\r\n"));
    if (firstBreak >= 0 && firstBreak == S.size() - 2)
        S.chop(2);
    const bool hadSelection = hasSelectedText();
    const int start = hadSelection ? selectionStart() : cursorPosition();
    QString N = text();
    N.replace(start, selectedText().size(), S);
    if (FLengthLimit > 0 && N.size() > FLengthLimit && N.size() > text().size())
        return;
    const QChar decimal = GetDecimalSeparatorSetting(locale());
    const QChar thousand = GetThousandSeparatorSetting(locale());
    if (AcceptPastedText(g->EditControl, N, decimal, thousand, g->AcceptedValidChars()))
        setText(N);
    if (g->EditorMode())
        g->SetCurrentCellEditText(text());
    if (hadSelection)
        setSelection(start, S.size());
    else
        setCursorPosition(start + S.size());
    if (g->OnClipboardAfterPasteCell)
        g->OnClipboardAfterPasteCell(this, g->Col(), g->Row(), text());
}

void TExtInplaceEdit::pasteFromClipboard(bool selection)
{
    if (m_gridGone)
        return;
    const IClipboard& cb = FGrid->clipboard();
    if (selection && !cb.supportsSelection())
        return;
    const QString s = cb.text(selection ? ClipboardMode::Selection : ClipboardMode::Clipboard);
    if (!s.isEmpty())
        PasteText(s);
}

void TExtInplaceEdit::copySelectionToClipboard()
{
    // The stored characters (CR LF, no-break spaces) of the selection, as the field gives them.
    if (hasSelectedText())
        FGrid->clipboard().setText(selectedText(), ClipboardMode::Clipboard);
}

void TExtInplaceEdit::CopyToClipboard()
{
    if (m_gridGone || passwordMode())
        return;
    bool allow = true;
    if (FGrid->OnClipboardCopy)
        FGrid->OnClipboardCopy(this, allow);
    if (allow && !m_gridGone)
        copySelectionToClipboard();
}

void TExtInplaceEdit::CutToClipboard()
{
    if (m_gridGone || passwordMode() || !FGrid->CanEditModify())
        return;
    bool allow = true;
    if (FGrid->OnClipboardCut)
        FGrid->OnClipboardCut(this, allow);
    if (allow && !m_gridGone && hasSelectedText()) {
        copySelectionToClipboard();
        insert(QString());
    }
}

void TExtInplaceEdit::insertFromMimeData(const QMimeData* source)
{
    // Every way of pasting (menu, middle button, drop) goes through the paste rules.
    if (source && source->hasText())
        PasteText(source->text());
}

void TExtInplaceEdit::contextMenuEvent(QContextMenuEvent* e)
{
    // The menu's paste goes through the same rules as the keyboard's.
    // A password's menu would offer its real characters; it has none.
    if (passwordMode())
        return;
    QMenu* menu = createStandardContextMenu();
    for (QAction* a : menu->actions()) {
        const QString name = a->objectName();
        if (name == QLatin1String("edit-paste")) {
            a->disconnect();
            connect(a, &QAction::triggered, this, [this] { pasteFromClipboard(false); });
        } else if (name == QLatin1String("edit-copy")) {
            a->disconnect();
            connect(a, &QAction::triggered, this, [this] { CopyToClipboard(); });
        } else if (name == QLatin1String("edit-cut")) {
            a->disconnect();
            connect(a, &QAction::triggered, this, [this] { CutToClipboard(); });
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(e->globalPos());
}

void TExtInplaceEdit::mousePressEvent(QMouseEvent* e)
{
    // The middle button's paste of the selection goes through the paste rules.
    if (e->button() == Qt::MiddleButton) {
        e->accept();
        return;
    }
    TInplaceEdit::mousePressEvent(e);
}

void TExtInplaceEdit::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::MiddleButton) {
        e->accept();
        pasteFromClipboard(true);
        return;
    }
    TInplaceEdit::mouseReleaseEvent(e);
}

void TExtInplaceEdit::mouseDoubleClickEvent(QMouseEvent* e)
{
    TInplaceEdit::mouseDoubleClickEvent(e);
    if (!m_gridGone && FGrid->OnDblClickCell)
        FGrid->OnDblClickCell(FGrid, FGrid->Row(), FGrid->Col());
}

}  // namespace zfw
