#pragma once
// The edit field under the grid's in-place editors: a multi-line plain-text field with the
// small one-line editing vocabulary the editors speak (text, caret index, selection, insert).
//
// Indexes are indexes into text(), the cell's text as stored. A line break is one position in
// the field but may be two characters (CR LF) in the stored text; the field maps between the
// two, so a cell text with line breaks comes back exactly as it was loaded when the user did
// not change it, and with its own kind of line break when he did.
//
// The password mode shows one mask character per character and keeps the real text apart;
// it is edited only through insert, Backspace and Delete, and gives nothing to the clipboard.

#include <QPlainTextEdit>
#include <QString>

namespace zfw {

class TGridEditField : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TGridEditField(QWidget* parent);

    QString text() const;
    // Loads `value` (cut to maxLength when one is set); the caret goes to the end.
    void setText(const QString& value);

    int cursorPosition() const;
    void setCursorPosition(int pos);
    // Start of the selection; -1 when nothing is selected.
    int selectionStart() const;
    QString selectedText() const;
    bool hasSelectedText() const;
    // Selects `length` characters from `start` (a negative length selects leftwards).
    void setSelection(int start, int length);
    void deselect();
    void end(bool mark);
    void home(bool mark);
    // Replaces the selection by `s` (or inserts it at the caret), within maxLength.
    void insert(const QString& s);
    void backspace();
    void del();
    // The index of the character under a point of this widget.
    int cursorPositionAt(const QPoint& p) const;

    // 0: no limit. Applies to insertions; setText cuts a longer text.
    void setMaxLength(int n) { m_maxLength = n; }
    int maxLength() const { return m_maxLength; }
    // Horizontal alignment of the text.
    void setAlignment(Qt::Alignment a);
    Qt::Alignment alignment() const;
    void setWordWrap(bool on);
    bool wordWrap() const { return m_wordWrap; }
    void setPasswordMode(bool on, QChar mask);
    bool passwordMode() const { return m_password; }
    // Space between the widget's edge and the text.
    void setTextMargins(int left, int top, int right, int bottom);

    // The caret is on the first line of the text as shown (wrapped lines count).
    bool caretOnFirstLine() const;
    // The caret is on the line of the text's last character, or below it.
    bool caretOnLastCharLine() const;
    // Lines the text holds as shown.
    int lineCount() const;

signals:
    // Every change of the text, by the user or by the program.
    void editTextChanged(const QString& text);
    // A change by the user (typing, deleting, pasting, undo); setText does not emit it.
    void textEdited(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    // The field's own text: one '\n' per line break.
    QString fieldText() const;
    // Stored form of a field text, and back.
    QString storedForm(const QString& field) const;
    int toStored(int fieldPos) const;
    int toField(int storedPos) const;
    void replaceSelection(const QString& stored);
    void onContentsChanged();

    int m_maxLength = 0;
    bool m_wordWrap = false;
    bool m_password = false;
    QChar m_mask = u'*';
    // The text as loaded, given back unchanged while the field still shows it.
    QString m_loaded;
    QString m_loadedField;
    // The line break this text uses: CR LF when it was loaded (or first given) with one.
    bool m_crlf = false;
    // The real text in password mode.
    QString m_secret;
    bool m_loading = false;
    bool m_programChange = false;
};

}  // namespace zfw
