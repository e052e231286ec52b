// The string tree's editor: TStringEditLink and its widget TLTEdit.

#include "tree/LazyTreesEditLink.h"

#include "tree/LazyTreesString.h"
#include "tree/core/LazyTreesGuard.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <exception>
#include <limits>

namespace zfw {

namespace {

Qt::Alignment horizontalFlag(TAlignment alignment)
{
    // The link mirrors the alignment for right to left itself, so the flag is a physical side.
    switch (alignment) {
    case taRightJustify: return Qt::AlignRight | Qt::AlignAbsolute;
    case taCenter: return Qt::AlignHCenter;
    case taLeftJustify: break;
    }
    return Qt::AlignLeft | Qt::AlignAbsolute;
}

// Width of the text followed by "yG", the sample that keeps room for the next character. A text
// far wider than the viewport is measured only until it passes the viewport's width: the editor
// never grows past the viewport, and shaping a text of megabytes on every key would stall.
int sampleWidth(const QFontMetrics& fm, const QString& text, int limit)
{
    constexpr qsizetype kChunk = 4096;
    if (text.size() > kChunk) {
        const int prefix = fm.horizontalAdvance(text.left(kChunk));
        if (prefix >= limit)
            return prefix;
    }
    return fm.horizontalAdvance(text + QStringLiteral("yG"));
}

}  // namespace

std::shared_ptr<ILTEditLink> TCustomLazyStringTree::DoCreateEditor(PLazyNode node,
                                                                   TColumnIndex column)
{
    std::shared_ptr<ILTEditLink> link = TBaseLazyTree::DoCreateEditor(node, column);
    if (!link)
        link = std::make_shared<TStringEditLink>();
    return link;
}

// ----- TStringEditLink ------------------------------------------------------------------------

TStringEditLink::~TStringEditLink()
{
    if (FEdit) {
        FEdit->FLink = nullptr;
        FEdit->Release();
    }
}

bool TStringEditLink::treeUsable() const { return FTree && FTree->HandleAllocated(); }

TCustomLazyStringTree* TStringEditLink::stringTree() const
{
    return treeUsable() ? static_cast<TCustomLazyStringTree*>(FTree.data()) : nullptr;
}

void TStringEditLink::releaseFocus()
{
    QWidget* control = FEdit ? FEdit->textControl() : nullptr;
    if (!control || !control->hasFocus())
        return;
    if (treeUsable())
        FTree->setFocus(Qt::OtherFocusReason);
    else
        control->clearFocus();
}

void TStringEditLink::cutLinks()
{
    if (!FEdit)
        return;
    FEdit->FLink = nullptr;
    // The caller keeps this link alive until it returns.
    std::shared_ptr<ILTEditLink> counted = std::move(FEdit->FRefLink);
}

bool TStringEditLink::PrepareEdit(TBaseLazyTree* tree, PLazyNode node, TColumnIndex column)
{
    auto* stringTree = dynamic_cast<TCustomLazyStringTree*>(tree);
    if (!stringTree || !node)
        return false;
    if (!FEdit)
        FEdit = new TLTEdit(shared_from_this(), stringTree->viewport());
    else if (FEdit->parentWidget() != stringTree->viewport())
        FEdit->setParent(stringTree->viewport());
    FEdit->hide();
    FTree = stringTree;
    FNode = node;
    FColumn = column;
    QFont font;
    QString text;
    stringTree->GetTextInfo(node, column, font, FTextBounds, text);
    FEdit->setFont(font);
    QPalette palette = FEdit->palette();
    palette.setColor(QPalette::Text, stringTree->palette().color(QPalette::Text));
    FEdit->setPalette(palette);
    FEdit->setMultiLine(node->has(vsMultiline));
    // No height yet: the first placement takes the row's, the sizing the text's.
    FEdit->setGeometry(QRect(FTextBounds.topLeft(), QSize(0, 0)));
    // Without header columns the tree's own direction and alignment hold. They are set before
    // the text, so that a long text is laid out once.
    FEdit->setLayoutDirection(stringTree->layoutDirection());
    FAlignment = stringTree->Alignment();
    if (stringTree->UseRightToLeftReading() && FAlignment != taCenter)
        FAlignment = FAlignment == taLeftJustify ? taRightJustify : taLeftJustify;
    FEdit->setTextAlignment(FAlignment);
    FEdit->setText(text);
    return true;
}

bool TStringEditLink::BeginEdit()
{
    if (FStopping || !FEdit)
        return false;
    FEdit->show();
    FEdit->raise();
    FEdit->selectAll();
    FEdit->setFocus(Qt::OtherFocusReason);
    FEdit->AutoAdjustSize();
    return true;
}

bool TStringEditLink::EndEdit()
{
    if (FStopping)
        return false;
    std::shared_ptr<TStringEditLink> keep = shared_from_this();
    FStopping = true;
    try {
        if (TCustomLazyStringTree* tree = stringTree();
            tree && FEdit && FEdit->isModified() && FNode)
            tree->SetText(FNode, FColumn, FEdit->text());
    } catch (...) {
        FStopping = false;
        throw;
    }
    releaseFocus();
    if (FEdit)
        FEdit->hide();
    cutLinks();
    FNode = nullptr;
    return true;
}

bool TStringEditLink::CancelEdit()
{
    if (FStopping)
        return false;
    std::shared_ptr<TStringEditLink> keep = shared_from_this();
    FStopping = true;
    releaseFocus();
    if (FEdit)
        FEdit->hide();
    // The tree finds this link stopped and leaves it at that.
    if (treeUsable())
        FTree->CancelEditNode();
    cutLinks();
    FNode = nullptr;
    return true;
}

QRect TStringEditLink::GetBounds() { return FEdit ? FEdit->geometry() : QRect(); }

void TStringEditLink::ProcessMessage(QEvent& event)
{
    if (FEdit && FEdit->textControl())
        QCoreApplication::sendEvent(FEdit->textControl(), &event);
}

void TStringEditLink::SetBounds(QRect r)
{
    if (FStopping || !FEdit)
        return;
    if (r.left() < 0)
        r.setLeft(0);
    if (r.width() < MinimumWidth) {
        if (FAlignment == taRightJustify)
            r.setLeft(r.right() + 1 - MinimumWidth);
        else
            r.setWidth(MinimumWidth);
    }
    if (treeUsable()) {
        const int clientWidth = FTree->viewport()->width();
        if (r.right() >= clientWidth)
            r.setRight(clientWidth - 1);
        // Cut at the viewport's edge, the editor gives up room on its left rather than fall
        // under its minimum width.
        if (r.width() < MinimumWidth)
            r.setLeft(std::max(0, r.right() + 1 - MinimumWidth));
    }
    FEdit->setGeometry(r);
    applyTextMargins();
    // A placement by the tree (a resize, a new row height, a rebuilt position cache) takes the
    // cell's place, but a single line keeps the width of what has been typed so far.
    if (!FEdit->m_adjusting && FEdit->isVisible())
        FEdit->AutoAdjustSize();
}

void TStringEditLink::applyTextMargins()
{
    if (!FEdit || !treeUsable())
        return;
    if (QPlainTextEdit* memo = FEdit->plainTextEdit()) {
        memo->document()->setDocumentMargin(std::max(0, FTree->TextMargin() - memo->frameWidth()));
        return;
    }
    // The tree paints a text TextMargin in from its rectangle; the line edit adds its frame and
    // a fixed 2 pixels of its own before the text.
    const QWidget* control = FEdit->textControl();
    const int frame = control->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, control);
    const int side = std::max(0, FTree->TextMargin() - frame - 2);
    FEdit->setTextMargins(side, 0, side);
}

// ----- TLTEdit --------------------------------------------------------------------------------

TLTEdit::TLTEdit(std::shared_ptr<TStringEditLink> link, QWidget* parent)
    : QWidget(parent), FRefLink(link), FLink(link.get())
{
    hide();
    setToolTip(QString());
    setMultiLine(false);
}

TLTEdit::~TLTEdit()
{
    m_released = true;
    // A widget going while its edit still runs keeps a changed text when edits are accepted
    // on their own; the tree must still be whole for that.
    if (FLink && !FLink->FStopping && FLink->FNode) {
        if (TCustomLazyStringTree* t = tree();
            t && t->StringOptions().contains(toAutoAcceptEditChange) && isModified()) {
            try {
                t->SetText(FLink->FNode, FLink->FColumn, text());
            } catch (const std::exception& e) {
                qWarning("Lazy tree: storing an edited text failed: %s", e.what());
            } catch (...) {
                qWarning("Lazy tree: storing an edited text failed");
            }
        }
    }
    if (FLink)
        FLink->FEdit = nullptr;
    FLink = nullptr;
    FRefLink.reset();
    // The text control goes before this widget's own part does: its focus loss must not reach
    // the filter of a half-destroyed editor.
    if (QWidget* control = textControl()) {
        control->removeEventFilter(this);
        delete control;
    }
}

void TLTEdit::Release()
{
    if (m_released)
        return;
    m_released = true;
    deleteLater();
}

QWidget* TLTEdit::textControl() const
{
    if (m_line)
        return m_line;
    return m_memo;
}

void TLTEdit::setMultiLine(bool multiLine)
{
    if (textControl() && multiLine == isMultiLine())
        return;
    if (QWidget* old = textControl()) {
        old->removeEventFilter(this);
        delete old;
        m_line = nullptr;
        m_memo = nullptr;
    }
    QWidget* control = nullptr;
    if (multiLine) {
        // Lines wrap at the editor's width and scroll vertically only.
        m_memo = new QPlainTextEdit(this);
        m_memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        m_memo->setTabChangesFocus(false);
        control = m_memo;
    } else {
        m_line = new QLineEdit(this);
        // A line edit cuts a loaded text at 32767 characters by default; ending the edit would
        // then store the cut text.
        m_line->setMaxLength(std::numeric_limits<int>::max());
        connect(m_line, &QLineEdit::textChanged, this, [this] { textEdited(); });
        control = m_line;
    }
    control->setToolTip(QString());
    control->installEventFilter(this);
    control->setGeometry(rect());
    control->show();
    setFocusProxy(control);
}

QString TLTEdit::text() const
{
    if (m_line)
        return m_line->text();
    return m_memo ? m_memo->toPlainText() : QString();
}

void TLTEdit::setText(const QString& text)
{
    if (m_line) {
        m_line->setText(text);
        m_line->setModified(false);
        m_line->setCursorPosition(0);
    } else if (m_memo) {
        m_memo->setPlainText(text);
        m_memo->document()->setModified(false);
    }
}

bool TLTEdit::isModified() const
{
    if (m_line)
        return m_line->isModified();
    return m_memo && m_memo->document()->isModified();
}

void TLTEdit::selectAll()
{
    if (m_line)
        m_line->selectAll();
    else if (m_memo)
        m_memo->selectAll();
}

void TLTEdit::setTextAlignment(TAlignment alignment)
{
    if (m_line) {
        m_line->setAlignment(horizontalFlag(alignment) | Qt::AlignVCenter);
    } else if (m_memo) {
        QTextOption option = m_memo->document()->defaultTextOption();
        option.setAlignment(horizontalFlag(alignment));
        m_memo->document()->setDefaultTextOption(option);
    }
}

void TLTEdit::setTextMargins(int left, int top, int right)
{
    if (m_line)
        m_line->setTextMargins(left, top, right, 0);
}

TCustomLazyStringTree* TLTEdit::tree() const { return FLink ? FLink->stringTree() : nullptr; }

void TLTEdit::AutoAdjustSize()
{
    if (m_adjusting || !FLink || FLink->FStopping || isMultiLine())
        return;
    TCustomLazyStringTree* t = tree();
    if (!t || t->options().MiscOptions.contains(toGridExtensions))
        return;
    m_adjusting = true;
    setUpdatesEnabled(false);
    ScopeGuard restore([this] {
        setUpdatesEnabled(true);
        m_adjusting = false;
    });
    const QFontMetrics fm(textControl()->font());
    const int margins = 2 * t->TextMargin();
    const int width = sampleWidth(fm, text(), t->viewport()->width()) + margins;
    const int height = fm.height() + margins;
    QRect r = geometry();
    r.setHeight(std::max(r.height(), height));
    // What the editor gives up shows the tree again.
    if (width < r.width())
        t->viewport()->update();
    if (FLink->FAlignment == taRightJustify)
        r.setLeft(r.right() + 1 - width);
    else
        r.setWidth(width);
    FLink->SetBounds(r);
}

void TLTEdit::textEdited()
{
    if (!isMultiLine())
        AutoAdjustSize();
}

void TLTEdit::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (QWidget* control = textControl())
        control->setGeometry(rect());
}

void TLTEdit::keyPressEvent(QKeyEvent* event)
{
    // Keys the text control leaves alone stop here: they are not the tree's while it edits.
    event->accept();
}

bool TLTEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != textControl())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // The editing keys are the editor's, not a shortcut's of the window.
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape: event->accept(); return true;
        default: return false;
        }
    }
    case QEvent::KeyPress: return handleKey(*static_cast<QKeyEvent*>(event));
    case QEvent::FocusOut: {
        // A context menu or another application taking the focus leaves the edit running.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            handleFocusLoss();
        return false;
    }
    default: return false;
    }
}

bool TLTEdit::handleKey(QKeyEvent& key)
{
    const Qt::KeyboardModifiers mods = key.modifiers()
                                       & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier
                                          | Qt::MetaModifier);
    TCustomLazyStringTree* t = tree();
    auto* base = static_cast<TBaseLazyTree*>(t);
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Tab walks the edit down the visible nodes; its character never reaches the text.
        if (t && t->IsEditing() && FLink->FNode) {
            base->guardedEvent("the node editor's Tab", [&] {
                PLazyNode node = FLink->FNode;
                t->InvalidateNode(node);
                PLazyNode next = t->GetNextVisible(node, true);
                t->EndEditNode();
                t->SetFocusedNode(next);
                PLazyNode focused = t->FocusedNode();
                if (focused && t->CanEdit(focused, t->FocusedColumn()))
                    base->DoEdit();
            });
        }
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter ends a single line; in several lines it breaks the line, Ctrl+Enter ends.
        if (isMultiLine() && !mods.testFlag(Qt::ControlModifier))
            return false;
        if (t) {
            base->guardedEvent("the node editor's Enter", [&] {
                if (FLink && FLink->FNode)
                    t->InvalidateNode(FLink->FNode);
                base->DoEdited();
                t->setFocus(Qt::OtherFocusReason);
            });
        }
        return true;
    case Qt::Key_Escape:
        if (t) {
            base->guardedEvent("the node editor's Escape", [&] {
                base->DoEditCancelled();
                t->setFocus(Qt::OtherFocusReason);
            });
        }
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        if (isMultiLine())
            return false;
        // One line has no rows to move between: up and down move the cursor as left and right.
        QKeyEvent sideways(QEvent::KeyPress, key.key() == Qt::Key_Up ? Qt::Key_Left : Qt::Key_Right,
                           key.modifiers(), QString(), key.isAutoRepeat(), ushort(key.count()));
        QCoreApplication::sendEvent(textControl(), &sideways);
        return true;
    }
    case Qt::Key_A:
        if (mods == Qt::ControlModifier) {
            if (t && t->IsEditing())
                selectAll();
            return true;
        }
        return false;
    default: return false;
    }
}

void TLTEdit::handleFocusLoss()
{
    if (!FLink || FLink->FStopping)
        return;
    TCustomLazyStringTree* t = tree();
    if (!t)
        return;
    auto* base = static_cast<TBaseLazyTree*>(t);
    base->guardedEvent("the node editor losing the focus", [&] {
        if (t->StringOptions().contains(toAutoAcceptEditChange))
            base->DoEdited();
        else
            base->DoEditCancelled();
    });
}

}  // namespace zfw
