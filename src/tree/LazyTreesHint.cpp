// Hints of the tree: the request on Qt's tooltip event, the hint window's size, placement, fade
// and painting, and the string and draw trees' answers.

#include "tree/LazyTreesHint.h"

#include "tree/LazyTreesControl.h"
#include "tree/LazyTreesDraw.h"
#include "tree/LazyTreesString.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QTimerEvent>
#include <QToolTip>

#include <algorithm>

namespace zfw {

namespace {

// The fade advances about 60 times a second.
constexpr int kFadeStepMs = 16;

QString cutHintText(const QString& text)
{
    return text.size() > kMaxHintTextLength ? text.left(kMaxHintTextLength) : text;
}

}  // namespace

bool tooltipTextCutOff(const QRect& text, QPoint margin, int leftBound, int rightBound,
                       int clientWidth, int clientHeight)
{
    // Exclusive right and bottom edges of the text with its content margin. A text whose
    // right edge lies exactly on the visible right edge is shown in full: the old rule
    // compared with the last visible pixel and so offered a tooltip for it.
    const int right = text.left() + text.width() + margin.x();
    const int bottom = text.top() + text.height() + margin.y();
    return std::min(rightBound, clientWidth) < right || text.left() < std::max(leftBound, 0)
           || clientHeight < bottom || text.top() < 0;
}

QRect placeHintInside(const QRect& hint, const QRect& desktop)
{
    QRect r(hint.topLeft(), hint.size().boundedTo(desktop.size()));
    if (r.right() > desktop.right())
        r.moveRight(desktop.right());
    if (r.bottom() > desktop.bottom())
        r.moveBottom(desktop.bottom());
    if (r.left() < desktop.left())
        r.moveLeft(desktop.left());
    if (r.top() < desktop.top())
        r.moveTop(desktop.top());
    return r;
}

// ----- the tree's side --------------------------------------------------------------------

void TBaseLazyTree::SetShowHint(bool value)
{
    FShowHint = value;
    if (!value)
        CancelHint();
}

QString TBaseLazyTree::DoGetNodeHint(PLazyNode, TColumnIndex,
                                     TLTTooltipLineBreakStyle& lineBreakStyle)
{
    lineBreakStyle = hlbDefault;
    return toolTip();
}

QString TBaseLazyTree::DoGetNodeTooltip(PLazyNode node, TColumnIndex column,
                                        TLTTooltipLineBreakStyle& lineBreakStyle)
{
    return TBaseLazyTree::DoGetNodeHint(node, column, lineBreakStyle);
}

void TBaseLazyTree::DoGetHintSize(PLazyNode node, TColumnIndex column, QRect& r)
{
    if (OnGetHintSize)
        OnGetHintSize(*this, node, column, r);
}

TLTHintKind TBaseLazyTree::DoGetHintKind(PLazyNode node, TColumnIndex column)
{
    TLTHintKind kind = GetDefaultHintKind();
    if (OnGetHintKind)
        OnGetHintKind(*this, node, column, kind);
    return kind;
}

void TBaseLazyTree::DoDrawHint(ICanvas& canvas, PLazyNode node, const QRect& r, TColumnIndex column)
{
    if (OnDrawHint)
        OnDrawHint(*this, canvas, node, r, column);
}

THintAnimationType TBaseLazyTree::GetHintAnimationType() const
{
    THintAnimationType type = FAnimationType;
    if (type == hatSystemDefault) {
        if (!QApplication::isEffectEnabled(Qt::UI_AnimateTooltip))
            type = hatNone;
        else if (QApplication::isEffectEnabled(Qt::UI_FadeTooltip))
            type = hatFade;
        else
            type = hatSlide;
    }
    return type;
}

void TBaseLazyTree::hintColumnBounds(TColumnIndex column, int& left, int& right)
{
    FHeader->Columns().GetColumnBounds(column, left, right);
}

void TBaseLazyTree::CancelHint()
{
    FLastHintRect = QRect();
    if (m_hintWindow && m_hintWindow->isVisible())
        m_hintWindow->hide();
    if (FStates.contains(tsHint))
        DoStateChange({}, {tsHint});
}

bool TBaseLazyTree::ShowHintAt(QPoint clientPos)
{
    // The hint already shown stays while the mouse is inside its area; no new one starts.
    if (FLastHintRect.contains(clientPos) && m_hintWindow && m_hintWindow->isVisible())
        return true;

    THitInfo hit;
    GetHitTestInfoAt(clientPos.x(), clientPos.y(), true, hit);
    const bool allowed = hintAllowed(hit.HitNode);
    bool show = false;
    QRect cursorRect;
    QPoint hintPos = viewport()->mapToGlobal(clientPos);
    FHintData = TLTHintData();
    // Header hints come from the header band (LazyTreesHeaderHint.cpp); the tree's own area
    // has none of them.
    if (FShowHint && allowed && !hintBusy() && FHintMode != hmDefault) {
        if (hit.HitNode && hit.HitColumn >= NoColumn) {
            const PLazyNode node = hit.HitNode;
            const TColumnIndex column = hit.HitColumn;
            if (DoGetHintKind(node, column) == vhkOwnerDraw) {
                DoGetHintSize(node, column, FHintData.HintRect);
                show = !FHintData.HintRect.isEmpty();
            } else {
                show = true;
            }
            if (show) {
                int leftBound = 0;
                int rightBound = 0;
                hintColumnBounds(column, leftBound, rightBound);
                if (FHintMode == hmTooltip) {
                    QRect r;
                    if (!node->has(vsMultiline)) {
                        r = GetDisplayRect(node, column, true, true, true);
                        const QPoint margin = hintCellContentMargin(node, column);
                        show = column > -2 && r.contains(clientPos) && clientPos.x() >= leftBound
                               && clientPos.x() < rightBound
                               && tooltipTextCutOff(r, margin, leftBound, rightBound, clientWidth(),
                                                    clientHeight());
                    } else {
                        show = hit.HitPositions.contains(hiOnItemLabel);
                        r = GetDisplayRect(node, column, true);
                    }
                    if (show) {
                        hintPos = viewport()->mapToGlobal(r.topLeft());
                        cursorRect = r;
                    }
                } else {
                    const QRect cell = GetDisplayRect(node, column, false);
                    cursorRect = QRect(QPoint(leftBound, cell.top()),
                                       QPoint(rightBound - 1, cell.bottom()));
                    // Below the row: its exclusive bottom edge, then two pixels more.
                    const int rowBottom =
                        viewport()->mapToGlobal(QPoint(0, cursorRect.bottom() + 1)).y();
                    hintPos.setY(std::max(hintPos.y(), rowBottom) + 2);
                }
            }
        } else if (!hit.HitNode && FHintMode == hmHintAndDefault) {
            FHintData.DefaultHint = toolTip();
            show = !FHintData.DefaultHint.isEmpty();
            cursorRect = viewport()->rect();
        }
    }

    if (!show) {
        CancelHint();
        return false;
    }
    FHintData.Node = hit.HitNode;
    FHintData.Column = hit.HitColumn;
    return showHintWindow(cursorRect, hintPos, clientPos);
}

bool TBaseLazyTree::hintAllowed(PLazyNode hitNode) const
{
    if (FStates.contains(tsEditing))
        return hitNode != FFocusedNode;
    if (window() != this)
        return window()->isActiveWindow()
               || QGuiApplication::applicationState() == Qt::ApplicationActive;
    return hasFocus() || viewport()->hasFocus();
}

bool TBaseLazyTree::hintBusy() const
{
    const TLazyTreeStates busy{tsLeftButtonDown, tsMiddleButtonDown,  tsRightButtonDown,
                               tsOLEDragging,    tsOLEDragPending,    tsVCLDragging,
                               tsVCLDragPending, tsDrawSelPending,    tsDrawSelecting,
                               tsScrolling,      tsNodeHeightTracking};
    return FStates.intersects(busy);
}

bool TBaseLazyTree::showHintWindow(const QRect& cursorRect, QPoint hintPos, QPoint clientPos)
{
    FHintData.Tree = this;
    FLastHintRect = cursorRect;
    if (!m_hintWindow) {
        m_hintWindow = new TLazyTreeHintWindow(this);
        connect(m_hintWindow, &QObject::destroyed, this, [this] {
            m_hintWindow = nullptr;
            FHintWindowDestroyed = true;
        });
    }
    const QScreen* screen = viewport()->screen();
    const QRect desktop = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QRect size = m_hintWindow->CalcHintRect(desktop.width(), FHintData);
    if (size.isEmpty()) {
        CancelHint();
        return false;
    }
    DoStateChange({tsHint});
    m_hintWindow->ActivateHint(size.translated(hintPos), desktop, clientPos);
    return m_hintWindow->isVisible();
}

bool TBaseLazyTree::hintEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ToolTip: {
        auto* help = static_cast<QHelpEvent*>(event);
        // The control's plain tool tip is Qt's own.
        if (FHintMode == hmDefault) {
            CancelHint();
            return false;
        }
        guardedEvent("a hint", [&] { ShowHintAt(help->pos()); });
        return true;
    }
    case QEvent::MouseMove: {
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        const bool buttons = static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton;
        if (!FLastHintRect.isEmpty() && !FLastHintRect.contains(pos))
            CancelHint();
        // A tooltip over a cut-off text shows at once, without Qt's delay.
        if (FHintMode == hmTooltip && !buttons && FLastHintRect.isEmpty())
            guardedEvent("a hint", [&] { ShowHintAt(pos); });
        return false;
    }
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel: CancelHint(); return false;
    default: return false;
    }
}

// ----- the hint window ----------------------------------------------------------------------

TLazyTreeHintWindow::TLazyTreeHintWindow(TBaseLazyTree* tree)
    : QWidget(tree, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput
                        | Qt::WindowDoesNotAcceptFocus),
      m_tree(tree)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    tree->FHintWindowDestroyed = false;
}

TLazyTreeHintWindow::~TLazyTreeHintWindow()
{
    m_fade.stop();
    m_tree->FHintWindowDestroyed = true;
}

QFont TLazyTreeHintWindow::hintFont() const
{
    if (FHintData.Node && m_tree->FHintMode == hmTooltip)
        return m_tree->hintTextFont(FHintData.Node, FHintData.Column);
    return QToolTip::font();
}

QString TLazyTreeHintWindow::paintedText() const { return cutHintText(FHintData.HintText); }

QRect TLazyTreeHintWindow::CalcHintRect(int maxWidth, const TLTHintData& data)
{
    if (!data.Tree)
        return {};
    setLayoutDirection(Qt::LeftToRight);
    FHintData = data;
    TBaseLazyTree& tree = *m_tree;
    PLazyNode node = FHintData.Node;
    if (node && !FHintData.HintRect.isEmpty())
        return QRect(QPoint(0, 0), FHintData.HintRect.size());

    // Without header columns direction and alignment are the tree's.
    FHintData.BidiMode = tree.layoutDirection();
    FHintData.Alignment = tree.Alignment();
    if (FHintData.BidiMode == Qt::RightToLeft && FHintData.Alignment != taCenter)
        FHintData.Alignment = FHintData.Alignment == taLeftJustify ? taRightJustify : taLeftJustify;

    const QFont f = hintFont();
    const QFontMetrics fm(f);
    FTextHeight = fm.height();

    FHintData.LineBreakStyle = hlbDefault;
    const bool tooltip = tree.FHintMode == hmTooltip;
    if (FHintData.DefaultHint.isEmpty() && node)
        FHintData.HintText = tooltip ? tree.DoGetNodeTooltip(node, FHintData.Column,
                                                             FHintData.LineBreakStyle)
                                     : tree.DoGetNodeHint(node, FHintData.Column,
                                                          FHintData.LineBreakStyle);
    else
        FHintData.HintText = FHintData.DefaultHint;
    if (FHintData.HintText.isEmpty())
        return {};
    const QString text = cutHintText(FHintData.HintText);

    QRect r;
    if (!node || !tooltip) {
        r = fm.boundingRect(QRect(0, 0, std::max(1, maxWidth), FTextHeight),
                            Qt::TextWordWrap | Qt::TextExpandTabs, text);
        r = QRect(0, 0, r.width() + tree.TextMargin() + FTextHeight, r.height() + 6);
        return r;
    }
    if (FHintData.LineBreakStyle == hlbDefault)
        FHintData.LineBreakStyle = node->has(vsMultiline) ? hlbForceMultiLine : hlbForceSingleLine;
    if (FHintData.LineBreakStyle == hlbForceMultiLine) {
        const QRect cell = tree.hintTextRect(node, FHintData.Column);
        const QRect measured = fm.boundingRect(cell, Qt::TextWordWrap, text);
        r = cell;
        if (FHintData.BidiMode == Qt::RightToLeft)
            r.setLeft(measured.left() - tree.TextMargin() + 1);
        r.setRight(measured.right() + tree.TextMargin() + 1);
        r.setBottom(measured.bottom());
    } else {
        r = tree.FLastHintRect;
        if (tree.options().PaintOptions.contains(toShowHorzGridLines))
            r.setBottom(r.bottom() - 1);
    }
    r.adjust(-1, -1, 1, 1);
    return QRect(QPoint(0, 0), r.size());
}

void TLazyTreeHintWindow::ActivateHint(const QRect& rect, const QRect& desktop, QPoint clientPos)
{
    TBaseLazyTree& tree = *m_tree;
    if (rect.isEmpty() || !FHintData.Tree || !tree.FLastHintRect.contains(clientPos)) {
        hide();
        return;
    }
    if (tree.FStates.contains(tsInAnimation))
        tree.DoStateChange({}, {tsInAnimation});
    m_fade.stop();
    setGeometry(placeHintInside(rect, desktop));
    const THintAnimationType type = tree.GetHintAnimationType();
    if (type == hatFade && tree.AnimationDuration() > 0) {
        setWindowOpacity(0.0);
        m_fadeDuration = 2 * tree.AnimationDuration();
        m_fadeClock.start();
        tree.DoStateChange({tsInAnimation}, {tsCancelHintAnimation});
        m_fade.start(kFadeStepMs, this);
    } else {
        setWindowOpacity(1.0);
    }
    show();
    update();
}

bool TLazyTreeHintWindow::animationStep()
{
    TBaseLazyTree& tree = *m_tree;
    const bool go = !tree.FHintWindowDestroyed && isVisible() && FHintData.Tree
                    && !tree.FStates.contains(tsCancelHintAnimation);
    const qint64 elapsed = m_fadeClock.elapsed();
    if (!go || elapsed >= m_fadeDuration) {
        m_fade.stop();
        setWindowOpacity(1.0);
        if (tree.FStates.contains(tsInAnimation) || tree.FStates.contains(tsCancelHintAnimation))
            tree.DoStateChange({}, {tsInAnimation, tsCancelHintAnimation});
        return false;
    }
    setWindowOpacity(double(elapsed) / double(m_fadeDuration));
    return true;
}

void TLazyTreeHintWindow::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_fade.timerId())
        animationStep();
    else
        QWidget::timerEvent(event);
}

void TLazyTreeHintWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_fade.stop();
    setWindowOpacity(1.0);
    if (m_tree->FStates.contains(tsInAnimation))
        m_tree->DoStateChange({}, {tsInAnimation});
    FHintData = TLTHintData();
    m_tree->FHintWindowDestroyed = false;
}

void TLazyTreeHintWindow::paintEvent(QPaintEvent*)
{
    TBaseLazyTree& tree = *m_tree;
    QPainter p(this);
    const QRect all = rect();
    PLazyNode node = FHintData.Node;
    if (node && tree.DoGetHintKind(node, FHintData.Column) == vhkOwnerDraw) {
        QPainterCanvas canvas(p, palette());
        tree.DoDrawHint(canvas, node, all, FHintData.Column);
        return;
    }

    const QPalette pal = tree.palette();
    if (tree.options().PaintOptions.contains(toThemeAware)) {
        QStyleOptionFrame opt;
        opt.initFrom(this);
        opt.rect = all;
        opt.palette = pal;
        style()->drawPrimitive(QStyle::PE_PanelTipLabel, &opt, &p, this);
    } else {
        p.fillRect(all, pal.color(QPalette::ToolTipBase));
        p.setPen(Qt::black);
        p.drawRect(all.adjusted(0, 0, -1, -1));
    }

    const bool tooltip = node && tree.FHintMode == hmTooltip;
    const QFont f = hintFont();
    p.setFont(f);
    p.setPen(pal.color(QPalette::ToolTipText));
    QRect textRect = all.adjusted(1, 1, -1, -1);
    textRect.setLeft(textRect.left() + 3);
    int flags = Qt::TextExpandTabs;
    const bool multiLine = FHintData.LineBreakStyle == hlbForceMultiLine;
    if (tooltip) {
        flags |= multiLine ? Qt::AlignTop | Qt::TextWordWrap
                           : Qt::AlignVCenter | Qt::TextSingleLine;
        if (multiLine)
            textRect.setTop(1);
    } else {
        textRect.setTop(2);
        flags |= Qt::AlignTop | Qt::TextWordWrap;
    }
    flags |= FHintData.Alignment == taRightJustify ? Qt::AlignRight
             : FHintData.Alignment == taCenter     ? Qt::AlignHCenter
                                                   : Qt::AlignLeft;
    p.setLayoutDirection(FHintData.BidiMode);
    p.drawText(textRect, flags, paintedText());
}

// ----- the string and draw trees' answers ---------------------------------------------------

QString TCustomLazyStringTree::DoGetNodeHint(PLazyNode node, TColumnIndex column,
                                             TLTTooltipLineBreakStyle& lineBreakStyle)
{
    QString text = TBaseLazyTree::DoGetNodeHint(node, column, lineBreakStyle);
    if (OnGetHint)
        OnGetHint(*this, node, column, lineBreakStyle, text);
    return text;
}

QString TCustomLazyStringTree::DoGetNodeTooltip(PLazyNode node, TColumnIndex column,
                                                TLTTooltipLineBreakStyle& lineBreakStyle)
{
    // Without a handler a tooltip shows the cell's text.
    if (!OnGetHint) {
        lineBreakStyle = hlbDefault;
        return GetText(node, column);
    }
    return DoGetNodeHint(node, column, lineBreakStyle);
}

QRect TCustomLazyStringTree::hintTextRect(PLazyNode node, TColumnIndex column)
{
    QFont f;
    QRect r;
    QString text;
    GetTextInfo(node, column, f, r, text);
    return r;
}

QFont TCustomLazyStringTree::hintTextFont(PLazyNode node, TColumnIndex column)
{
    RecordingCanvas canvas(palette());
    canvas.setFont(font());
    DoPaintText(node, canvas, column, ttNormal);
    return canvas.font();
}

QPoint TCustomLazyDrawTree::hintCellContentMargin(PLazyNode node, TColumnIndex column)
{
    return DoGetCellContentMargin(node, column, ccmtBottomRightOnly);
}

}  // namespace zfw
