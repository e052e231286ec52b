// The grid editors' multi-line edit field: the stored text and the field's own, the caret
// index mapping between them, and the password mode.

#include "grid/GridEditField.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace zfw {

namespace {

// Length of the stored line break starting at s[i] (CR LF, CR or LF), 0 when none starts there.
int breakLength(const QString& s, qsizetype i)
{
    if (s[i] == u'\r')
        return i + 1 < s.size() && s[i + 1] == u'\n' ? 2 : 1;
    return s[i] == u'\n' ? 1 : 0;
}

// The line of `block` that holds position `posInBlock`; 0 when the block is not laid out.
int lineInBlock(const QTextBlock& block, int posInBlock)
{
    const QTextLayout* l = block.layout();
    if (!l || l->lineCount() == 0)
        return 0;
    const QTextLine line = l->lineForTextPosition(posInBlock);
    return line.isValid() ? line.lineNumber() : l->lineCount() - 1;
}

int linesOfBlock(const QTextBlock& block)
{
    const QTextLayout* l = block.layout();
    return l && l->lineCount() > 0 ? l->lineCount() : 1;
}

}  // namespace

TGridEditField::TGridEditField(QWidget* parent) : QPlainTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab belongs to the grid or moves the focus; it never becomes a character of a cell.
    setTabChangesFocus(true);
    document()->setDocumentMargin(0);
    // The margins around the text show the field's own background.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setTextMargins(2, 1, 2, 0);
    setWordWrap(false);
    connect(this, &QPlainTextEdit::textChanged, this, &TGridEditField::onContentsChanged);
}

void TGridEditField::onContentsChanged()
{
    const QString t = text();
    emit editTextChanged(t);
    if (!m_loading)
        emit textEdited(t);
}

QString TGridEditField::fieldText() const
{
    QString t = document()->toRawText();
    t.replace(QChar::ParagraphSeparator, u'\n');
    return t;
}

QString TGridEditField::storedForm(const QString& field) const
{
    if (m_password)
        return m_secret;
    if (field == m_loadedField)
        return m_loaded;
    if (!m_crlf)
        return field;
    QString s = field;
    s.replace(u'\n', QStringLiteral("\r\n"));
    return s;
}

QString TGridEditField::text() const { return storedForm(fieldText()); }

int TGridEditField::toStored(int fieldPos) const
{
    if (m_password)
        return fieldPos;
    const QString s = text();
    qsizetype i = 0;
    for (int f = 0; f < fieldPos && i < s.size(); ++f)
        i += std::max(1, breakLength(s, i));
    return int(i);
}

int TGridEditField::toField(int storedPos) const
{
    if (m_password)
        return storedPos;
    const QString s = text();
    int f = 0;
    for (qsizetype i = 0; i < storedPos && i < s.size(); ++f)
        i += std::max(1, breakLength(s, i));
    return f;
}

void TGridEditField::setText(const QString& value)
{
    const QString v = m_maxLength > 0 ? value.left(m_maxLength) : value;
    m_loading = true;
    m_loaded = v;
    m_crlf = v.contains(QStringLiteral("\r\n"));
    if (m_password) {
        m_secret = v;
        setPlainText(QString(v.size(), m_mask));
    } else {
        setPlainText(v);
    }
    m_loadedField = fieldText();
    moveCursor(QTextCursor::End);
    m_loading = false;
}

int TGridEditField::cursorPosition() const { return toStored(textCursor().position()); }

void TGridEditField::setCursorPosition(int pos)
{
    QTextCursor c = textCursor();
    c.setPosition(std::clamp(toField(pos), 0, document()->characterCount() - 1));
    setTextCursor(c);
}

int TGridEditField::selectionStart() const
{
    const QTextCursor c = textCursor();
    return c.hasSelection() ? toStored(c.selectionStart()) : -1;
}

QString TGridEditField::selectedText() const
{
    const QTextCursor c = textCursor();
    if (!c.hasSelection())
        return {};
    const int a = toStored(c.selectionStart());
    const int b = toStored(c.selectionEnd());
    return text().mid(a, b - a);
}

bool TGridEditField::hasSelectedText() const { return textCursor().hasSelection(); }

void TGridEditField::setSelection(int start, int length)
{
    const int last = document()->characterCount() - 1;
    QTextCursor c = textCursor();
    c.setPosition(std::clamp(toField(start), 0, last));
    c.setPosition(std::clamp(toField(start + length), 0, last), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void TGridEditField::deselect()
{
    QTextCursor c = textCursor();
    c.clearSelection();
    setTextCursor(c);
}

void TGridEditField::end(bool mark)
{
    moveCursor(QTextCursor::End, mark ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
}

void TGridEditField::home(bool mark)
{
    moveCursor(QTextCursor::Start, mark ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
}

void TGridEditField::replaceSelection(const QString& stored)
{
    QString s = stored;
    if (m_maxLength > 0) {
        const int room = m_maxLength - int(text().size() - selectedText().size());
        s = s.left(std::max(room, 0));
    }
    const QString before = text();
    // A text without a line break takes the kind of break that is first put into it.
    if (!before.contains(u'\n') && !before.contains(u'\r') && s.contains(QStringLiteral("\r\n")))
        m_crlf = true;
    QTextCursor c = textCursor();
    if (m_password) {
        const int a = c.selectionStart();
        m_secret.replace(a, c.selectionEnd() - a, s);
        c.insertText(QString(s.size(), m_mask));
    } else {
        c.insertText(s);
    }
    setTextCursor(c);
}

void TGridEditField::insert(const QString& s) { replaceSelection(s); }

void TGridEditField::backspace()
{
    QTextCursor c = textCursor();
    if (!c.hasSelection()) {
        if (c.atStart())
            return;
        c.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
        setTextCursor(c);
    }
    replaceSelection(QString());
}

void TGridEditField::del()
{
    QTextCursor c = textCursor();
    if (!c.hasSelection()) {
        if (c.atEnd())
            return;
        c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        setTextCursor(c);
    }
    replaceSelection(QString());
}

int TGridEditField::cursorPositionAt(const QPoint& p) const
{
    return toStored(cursorForPosition(viewport()->mapFrom(this, p)).position());
}

void TGridEditField::setAlignment(Qt::Alignment a)
{
    QTextOption o = document()->defaultTextOption();
    o.setAlignment(a & Qt::AlignHorizontal_Mask);
    document()->setDefaultTextOption(o);
}

Qt::Alignment TGridEditField::alignment() const
{
    return document()->defaultTextOption().alignment();
}

void TGridEditField::setWordWrap(bool on)
{
    m_wordWrap = on;
    setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    setWordWrapMode(on ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
}

void TGridEditField::setPasswordMode(bool on, QChar mask)
{
    if (on == m_password && mask == m_mask)
        return;
    const QString t = text();
    m_password = on;
    m_mask = mask;
    // Undo would bring back the real characters of the field.
    setUndoRedoEnabled(!on);
    setAttribute(Qt::WA_InputMethodEnabled, !on);
    setText(t);
}

void TGridEditField::setTextMargins(int left, int top, int right, int bottom)
{
    setViewportMargins(left, top, right, bottom);
}

bool TGridEditField::caretOnFirstLine() const
{
    const QTextCursor c = textCursor();
    return c.block() == document()->firstBlock()
           && lineInBlock(c.block(), c.positionInBlock()) == 0;
}

bool TGridEditField::caretOnLastCharLine() const
{
    const QTextCursor c = textCursor();
    const int last = std::max(0, document()->characterCount() - 2);
    const QTextBlock lastBlock = document()->findBlock(last);
    if (c.blockNumber() != lastBlock.blockNumber())
        return c.blockNumber() > lastBlock.blockNumber();
    return lineInBlock(c.block(), c.positionInBlock())
           >= lineInBlock(lastBlock, last - lastBlock.position());
}

int TGridEditField::lineCount() const
{
    int n = 0;
    for (QTextBlock b = document()->firstBlock(); b.isValid(); b = b.next())
        n += linesOfBlock(b);
    return n;
}

void TGridEditField::keyPressEvent(QKeyEvent* e)
{
    const QString typed = e->text();
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint();
    if (m_password) {
        // Only what keeps the real text in step: the caret keys, select all, and the three
        // editing steps this field carries out itself.
        switch (e->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: QPlainTextEdit::keyPressEvent(e); return;
        case Qt::Key_Backspace:
            backspace();
            e->accept();
            return;
        case Qt::Key_Delete:
            del();
            e->accept();
            return;
        default: break;
        }
        if (e->matches(QKeySequence::SelectAll)) {
            selectAll();
        } else if (printable && !(e->modifiers() & Qt::ControlModifier)) {
            insert(typed);
        }
        e->accept();
        return;
    }
    if (printable && m_maxLength > 0 && !(e->modifiers() & Qt::ControlModifier)
        && text().size() - selectedText().size() + typed.size() > m_maxLength) {
        e->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void TGridEditField::inputMethodEvent(QInputMethodEvent* e)
{
    if (m_password) {
        if (!e->commitString().isEmpty())
            insert(e->commitString());
        e->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(e);
}

bool TGridEditField::canInsertFromMimeData(const QMimeData* source) const
{
    return source && source->hasText();
}

void TGridEditField::insertFromMimeData(const QMimeData* source)
{
    if (source && source->hasText())
        insert(source->text());
}

QMimeData* TGridEditField::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    // The stored characters (CR LF, no-break spaces), never the shown masks of a password.
    if (!m_password)
        data->setText(selectedText());
    return data;
}

}  // namespace zfw
