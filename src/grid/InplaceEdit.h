#pragma once
// The string grid's text editor: the framework's in-place edit with the string grid's rules.
// A cell may hold several lines: Up and Down move between them before they leave the cell,
// Ctrl+Enter (or Enter with LineFeedOnEnter) types a line break where the grid allows one.
// It filters typed and pasted text by the cell's editor kind, limits the length of what is
// inserted (a longer stored text is never cut), confirms through the grid's validation on
// Enter, Tab and the vertical arrows, puts the cell's text back on Esc and ends the edit when
// it loses the focus. Enter and Esc stay with it, so a dialog around the grid never sees them
// as its default or cancel key while a cell is edited.

#include "grid/FrameworkGrid.h"
#include "grid/GridSettingsEnums.h"

#include <QChar>
#include <QString>

namespace zfw {

class TExtStringGrid;

// What the character filter decides for one typed character.
enum class EditCharVerdict {
    Accept,  // insert `ch` (it may differ from the typed one: case kinds)
    Beep,    // refused with the platform beep
    Drop     // refused silently
};

// The editor's text state the character filter looks at.
struct EditCharContext {
    QString text;
    int selStart = 0;
    int selLength = 0;
    int cursor = 0;
    QChar decimalSeparator = u'.';
    QChar thousandSeparator = u',';
    bool ctrl = false;
    // The characters edValidChars accepts.
    QString validChars;
};

struct EditCharResult {
    EditCharVerdict verdict = EditCharVerdict::Accept;
    QChar ch;
};

// The typed-character rule of an editor kind. Control characters (Backspace, Tab, Enter, Esc)
// pass for every text kind.
EditCharResult FilterEditChar(TEditorType kind, QChar ch, const EditCharContext& ctx);

// A pasted text `value` (the whole text after the paste) as the kind takes it; false when the
// kind refuses it. Case kinds change `value`.
bool AcceptPastedText(TEditorType kind, QString& value, QChar decimalSeparator,
                      QChar thousandSeparator, const QString& validChars);

// The text kinds: the editors the text editor serves.
bool IsTextEditorKind(TEditorType kind);

class TExtInplaceEdit : public TInplaceEdit {
    Q_OBJECT
public:
    explicit TExtInplaceEdit(TExtStringGrid* grid);
    TExtStringGrid* grid() const { return FGrid; }

    // Longest text that typing and pasting may make; 0 or less: no limit. Set from the
    // grid's edit limit each time a cell is loaded.
    int LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(int Value) { FLengthLimit = Value; }
    // The cell is right-aligned.
    bool VAlign() const { return FValign; }
    // The text wraps at the editor's width; the grid sets it from its own WordWrap.
    bool WordWrap() const { return wordWrap(); }
    void SetWordWrap(bool Value) { setWordWrap(Value); }
    // Copy and cut of the selection, each after its grid event allowed it.
    void CopyToClipboard();
    void CutToClipboard();

    // Loads the current cell (text, limit, alignment, colours) without change events.
    void UpdateContents() override;
    // The clipboard's text into the editor by the paste rules; also the keyboard and the
    // context menu's paste.
    void PasteText(const QString& S);
    // The character that opened the editor replaces the loaded text, through the same limit
    // and filter as typing (the grid has seen it already).
    void StartWithChar(QChar ch);
    // The owner grid is being destroyed: the editor does nothing more with it.
    void gridDestroying() { m_gridGone = true; }

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // The typed character through the limit and the kind's filter; true when it was handled
    // (inserted or refused) here.
    bool typeChar(QChar ch, bool keypad, bool toGrid = true);
    void refusedCommit();
    // ValidateCell(T): accepted, the editor takes the validated text; refused, it shows it
    // and stays. False when refused or when the editor went meanwhile.
    bool validateFromEditor(const QString& T);
    // The grid lets a cell hold several lines (WordWrap or Multilinecells).
    bool lineBreaksAllowed() const;
    // The kinds in which Enter types a line break under LineFeedOnEnter.
    static bool takesLineFeedOnEnter(TEditorType kind);
    void typeLineBreak();
    bool lineBreakFits() const;
    // Ctrl/Shift+Enter with SizeWhileTyping.Height: the row makes room for the new line.
    void growRowForNewLine();
    // After a key: the column or row grows with the text (SizeWhileTyping).
    void sizeWhileTyping();
    // Enter: through the grid's key-press, then the editor closes and the grid may advance.
    void enterChar();
    // Left at the start or Right at the end steps into the neighbouring cell.
    void cursorWalk(bool forward);
    void pasteFromClipboard(bool selection);
    void copySelectionToClipboard();

    TExtStringGrid* FGrid;
    int FLengthLimit = 0;
    bool FValign = false;
    bool FGotFocus = false;
    // The cell whose contents were last loaded (display column).
    int FColE = -1;
    int FRowE = -1;
    bool m_gridGone = false;
    // Type-ahead completion: the text up to the caret completed from the grid's list.
    void DoChange();
    // Completion is allowed: cleared by Backspace and Delete, so deleting never completes.
    bool Workmode = true;
    // Caret position and selection when the last key went down.
    int FSelKeyDown = 0;
    bool m_selectedAtKeyDown = false;
    // Alt+Backspace is held down: a focus loss meanwhile does not end the edit.
    bool FAltBack = false;
};

}  // namespace zfw
