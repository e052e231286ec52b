#include "tree/LazyTreesControl.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStyle>
#include <QShowEvent>
#include <QTimerEvent>

#include <algorithm>

namespace zfw {

TBaseLazyTree::TBaseLazyTree(QWidget* parent) : QAbstractScrollArea(parent)
{
    // Process-wide set-up of the original control (processor features, system version, OLE,
    // shared image lists, cursors, clipboard registrations) has no counterpart here: Qt styles
    // draw the pictures, Qt owns the cursors and the clipboard formats are MIME names.
    setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    resize(200, 100);
    setFocusPolicy(Qt::StrongFocus);
    FScrollBarOptions = new TScrollBarOptions;
    FScrollBarOptions->onChanged = [this] { UpdateScrollBars(true); };
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    FColors = new TLTColors;
    FColors->onChanged = [this](int) { Invalidate(); };
    FColors->onAssigned = [this] {
        if (FUpdateCount == 0)
            Invalidate();
    };
    // A finished rebuild of the position cache is taken over on the main thread. The call is
    // queued with the tree as its context, so Qt drops it when the tree is destroyed first.
    setValidationNotifier([this] {
        QMetaObject::invokeMethod(
            this,
            [this] { guardedEvent("taking over the position cache",
                                  [this] { takeValidationResult(); }); },
            Qt::QueuedConnection);
    });
    // A right-to-left horizontal bar is mirrored by Qt itself (its value 0 sits at the right),
    // so its value is minus the offset in both directions.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
        if (!m_settingBars)
            guardedEvent("vertical scrolling", [&] {
                DoSetOffsetXY({FOffsetX, -v},
                              DefaultScrollUpdateFlags - TScrollUpdateOptions{suoUpdateNCArea});
            });
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
        if (!m_settingBars)
            guardedEvent("horizontal scrolling", [&] {
                DoSetOffsetXY({-v, FOffsetY},
                              DefaultScrollUpdateFlags - TScrollUpdateOptions{suoUpdateNCArea});
            });
    });
    // Qt's styles draw every themed part, so a theme-aware tree draws through them from the
    // start. The explorer theme has no counterpart here: toUseExplorerTheme changes nothing.
    m_reactedOptions = options();
    if (options().PaintOptions.contains(toThemeAware))
        DoStateChange({tsUseThemes});
    setAcceptDrops(options().MiscOptions.contains(toAcceptOLEDrop));
    UpdateScrollBars(false);
}

TBaseLazyTree::~TBaseLazyTree()
{
    // Timers and repaints stop first so that no notice reaches a half-destroyed tree.
    m_destroyingWidget = true;
    m_animation.stop();
    for (auto& [id, timer] : m_noticeTimers)
        timer.stop();
    // Takes the tree back from the worker for good: nothing may be queued for it from here on.
    SetTreeWorker(nullptr);
    InterruptValidation();
    // A read-only tree must still delete its nodes.
    TLTMiscOptions misc = options().MiscOptions;
    if (misc.contains(toReadOnly)) {
        misc.exclude(toReadOnly);
        SetMiscOptions(misc);
    }
    // Handlers still hear of the nodes going away; one that throws must not end the program
    // from a destructor. What is left is freed by the model.
    try {
        CancelEditNode();
        Clear();
    } catch (const std::exception& e) {
        qWarning("Lazy tree: an event handler failed while the tree was destroyed: %s", e.what());
    } catch (...) {
        qWarning("Lazy tree: an event handler failed while the tree was destroyed");
    }
    delete FColors;
    FColors = nullptr;
    delete FScrollBarOptions;
    FScrollBarOptions = nullptr;
}

// ----- settings -----------------------------------------------------------------------------

void TBaseLazyTree::SetBorderStyle(TBorderStyle value)
{
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    setFrameStyle(value == bsSingle ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
}

void TBaseLazyTree::SetIndent(int value)
{
    value = std::max(value, 0);
    if (FIndent == value)
        return;
    FIndent = value;
    UpdateScrollBars(true);
    Invalidate();
}

void TBaseLazyTree::SetMargin(int value)
{
    if (FMargin == value)
        return;
    FMargin = value;
    Invalidate();
}

void TBaseLazyTree::SetTextMargin(int value)
{
    if (FTextMargin == value)
        return;
    FTextMargin = value;
    Invalidate();
}

void TBaseLazyTree::SetBottomSpace(int value)
{
    value = std::max(value, 0);
    if (FBottomSpace == value)
        return;
    FBottomSpace = value;
    UpdateVerticalScrollBar(true);
}

void TBaseLazyTree::SetEmptyListMessage(const QString& text)
{
    if (FEmptyListMessage == text)
        return;
    FEmptyListMessage = text;
    Invalidate();
}

void TBaseLazyTree::SetAlignment(TAlignment value)
{
    if (FAlignment == value)
        return;
    FAlignment = value;
    Invalidate();
}

void TBaseLazyTree::SetCheckImageKind(TCheckImageKind value)
{
    if (FCheckImageKind == value)
        return;
    FCheckImageKind = value;
    if (FUpdateCount == 0)
        Invalidate();
}

void TBaseLazyTree::SetNodeAlignment(TLTNodeAlignment value)
{
    if (FNodeAlignment == value)
        return;
    FNodeAlignment = value;
    Invalidate();
}

void TBaseLazyTree::SetSelectionCurveRadius(int value)
{
    value = std::max(value, 0);
    if (FSelectionCurveRadius == value)
        return;
    FSelectionCurveRadius = value;
    Invalidate();
}

void TBaseLazyTree::SetDefaultNodeHeight(int height)
{
    const int before = DefaultNodeHeight();
    LazyTreeModel::SetDefaultNodeHeight(height);
    if (DefaultNodeHeight() == before || FUpdateCount > 0 || m_destroyingWidget)
        return;
    ScheduleCacheValidation();
    UpdateScrollBars(true);
    if (FocusedNode())
        ScrollIntoView(FocusedNode(),
                       options().SelectionOptions.contains(toCenterScrollIntoView), true);
    Invalidate();
}

bool TBaseLazyTree::Assign(const TBaseLazyTree& source)
{
    // A read-only tree takes no settings from another, as it takes no other change.
    if (options().MiscOptions.contains(toReadOnly))
        return false;
    if (&source == this)
        return true;
    // Copied in this order, each through its setter. Not copied: what belongs to this tree's
    // run (offsets, focus, selection, nodes and their data, handlers) and the settings that
    // only matter once their feature exists here or that Qt keeps elsewhere (layout, bevels,
    // drag cursor and mode, images, pop-up menu, hints, tab order). TextMargin, EditDelay,
    // AnimationDuration, BottomSpace, AutoExpandDelay and the button, line and search settings
    // stay as they are.
    SetAutoScrollDelay(source.FAutoScrollDelay);
    SetAutoScrollInterval(source.FAutoScrollInterval);
    if (source.testAttribute(Qt::WA_SetLayoutDirection))
        setLayoutDirection(source.layoutDirection());
    else
        unsetLayoutDirection();
    SetBorderStyle(source.FBorderStyle);
    SetChangeDelay(source.ChangeDelay());
    SetCheckImageKind(source.FCheckImageKind);
    if (source.testAttribute(Qt::WA_SetPalette)) {
        QPalette pal = palette();
        pal.setColor(QPalette::Base, source.palette().color(QPalette::Base));
        setPalette(pal);
    } else {
        setPalette(QPalette());
    }
    FColors->Assign(*source.FColors);
    setMinimumSize(source.minimumSize());
    setMaximumSize(source.maximumSize());
    SetDefaultNodeHeight(source.DefaultNodeHeight());
    SetDefaultPasteMode(source.FDefaultPasteMode);
    SetDragImageKind(source.FDragImageKind);
    setEnabled(!source.testAttribute(Qt::WA_Disabled));
    setFont(source.testAttribute(Qt::WA_SetFont) ? source.font() : QFont());
    SetHintAnimation(source.FAnimationType);
    SetHintMode(source.FHintMode);
    SetHotCursor(source.FHotCursor);
    SetIndent(source.FIndent);
    SetMargin(source.FMargin);
    SetNodeAlignment(source.FNodeAlignment);
    if (source.NodeDataSize() != NodeDataSize()) {
        // Existing nodes were made for the old size: they are made anew.
        const std::uint32_t count = RootNodeCount();
        Clear();
        SetNodeDataSize(source.NodeDataSize());
        SetRootNodeCount(count);
    }
    AssignOptions(source);
    SetRootNodeCount(source.RootNodeCount());
    FScrollBarOptions->Assign(*source.FScrollBarOptions);
    setFocusPolicy(source.focusPolicy());
    if (source.testAttribute(Qt::WA_WState_ExplicitShowHide))
        setVisible(!source.isHidden());
    SetSelectionCurveRadius(source.FSelectionCurveRadius);
    SetSelectionBlendFactor(source.FSelectionBlendFactor);
    SetEmptyListMessage(source.FEmptyListMessage);
    return true;
}

void TBaseLazyTree::OptionsChanged()
{
    const TLazyTreeOptionSets& now = options();
    const TLazyTreeOptionSets old = m_reactedOptions;
    m_reactedOptions = now;
    if (m_destroyingWidget)
        return;
    const TLTPaintOptions paintSet = now.PaintOptions - old.PaintOptions;
    const TLTPaintOptions paintCleared = old.PaintOptions - now.PaintOptions;
    if (paintSet.contains(toThemeAware))
        DoStateChange({tsUseThemes});
    else if (paintCleared.contains(toThemeAware))
        DoStateChange({}, {tsUseThemes});

    const TLTMiscOptions miscChanged = (now.MiscOptions - old.MiscOptions)
                                       + (old.MiscOptions - now.MiscOptions);
    if (miscChanged.contains(toAcceptOLEDrop))
        setAcceptDrops(now.MiscOptions.contains(toAcceptOLEDrop));
    // toFullRepaintOnResize chose a window class style; Qt repaints what a resize uncovers and
    // the tree invalidates what its layout needs, so the option needs no reaction here.
    if (miscChanged.contains(toCheckSupport))
        Invalidate();

    // Without extended focus only the main column can hold the focus; a tree without header
    // columns has only the implicit column.
    if (!now.SelectionOptions.contains(toExtendedFocus) && FFocusedColumn != NoColumn) {
        FFocusedColumn = NoColumn;
        Invalidate();
    }

    const TLTAutoOptions autoChanged = (now.AutoOptions - old.AutoOptions)
                                       + (old.AutoOptions - now.AutoOptions);
    if (autoChanged.contains(toAutoSpanColumns))
        Invalidate();
}

void TBaseLazyTree::ChangeScale(int m, int d)
{
    if (m == d || d == 0 || !options().AutoOptions.contains(toAutoChangeScale))
        return;
    const auto mulDiv = [m, d](int v) {
        return int((std::int64_t(v) * m + (d > 0 ? d : -d) / 2) / d);
    };
    SetDefaultNodeHeight(mulDiv(DefaultNodeHeight()));
    SetIndent(mulDiv(FIndent));
}

void TBaseLazyTree::AdjustDefaultNodeHeight()
{
    if (!options().AutoOptions.contains(toAutoChangeScale))
        return;
    const int textHeight = QFontMetrics(font()).boundingRect(QStringLiteral("Tg")).height();
    if (textHeight > DefaultNodeHeight())
        SetDefaultNodeHeight(textHeight);
}

void TBaseLazyTree::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        guardedEvent("showing", [this] {
            AdjustDefaultNodeHeight();
            UpdateScrollBars(true);
        });
    }
}

void TBaseLazyTree::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_shownOnce) {
        guardedEvent("a font change", [this] { AdjustDefaultNodeHeight(); });
    } else if (event->type() == QEvent::LayoutDirectionChange) {
        // The same offset means the other end of the content now.
        guardedEvent("a layout direction change", [this] {
            UpdateScrollBars(true);
            Invalidate();
        });
    }
}

// ----- window hooks of the model --------------------------------------------------------------

bool TBaseLazyTree::HandleAllocated() const
{
    return !m_destroyingWidget;
}

void TBaseLazyTree::StartNoticeTimer(int id, int ms)
{
    if (!m_destroyingWidget)
        m_noticeTimers[id].start(ms, this);
}

void TBaseLazyTree::StopNoticeTimer(int id)
{
    auto it = m_noticeTimers.find(id);
    if (it != m_noticeTimers.end())
        it->second.stop();
}

void TBaseLazyTree::SetRedraw(bool on)
{
    viewport()->setUpdatesEnabled(on);
}

void TBaseLazyTree::timerEvent(QTimerEvent* event)
{
    guardedEvent("a timer", [&] { timerStep(event); });
}

void TBaseLazyTree::timerStep(QTimerEvent* event)
{
    const int id = event->timerId();
    if (id == m_animation.timerId()) {
        const int elapsed = int(m_animationClock.elapsed());
        if (elapsed >= FAnimationDuration || m_animationHeight <= 0) {
            m_animation.stop();
            DoStateChange({}, {tsInAnimation});
        } else {
            m_animationShown = m_animationHeight * elapsed / FAnimationDuration;
        }
        viewport()->update();
        return;
    }
    for (auto& [tid, timer] : m_noticeTimers) {
        if (timer.timerId() != id)
            continue;
        timer.stop();
        if (tid == StructureChangeTimer && FStates.contains(tsStructureChangePending))
            DoStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
        else if (tid == ChangeTimer && FStates.contains(tsChangePending))
            DoChange(FLastChangedNode);
        return;
    }
    QAbstractScrollArea::timerEvent(event);
}

// ----- ranges and scroll bars -------------------------------------------------------------

int TBaseLazyTree::clientWidth() const
{
    return viewport()->width();
}

int TBaseLazyTree::clientHeight() const
{
    return viewport()->height();
}

int TBaseLazyTree::horizontalBarHeight() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

void TBaseLazyTree::UpdateVerticalRange()
{
    FRangeY = std::int64_t(RootNode()->TotalHeight) + FBottomSpace - RootNode()->NodeHeight;
}

int TBaseLazyTree::GetMaxRightExtend()
{
    const bool showRoot = options().PaintOptions.contains(toShowRoot);
    int top = 0;
    PLazyNode node = GetNodeAt(0, 0, true, top);
    if (!node)
        return FMargin;
    int indent = int(GetNodeLevel(node) + (showRoot ? 1 : 0)) * FIndent;
    int best = 0;
    int bottom = top;
    while (node) {
        if (!node->has(vsInitialized))
            InitNode(node);
        best = std::max(best, indent + DoGetNodeWidth(node, NoColumn)
                                  + DoGetNodeExtraWidth(node, NoColumn));
        bottom += int(GetNodeHeight(node));
        if (bottom > height())
            break;
        PLazyNode next = GetNextVisible(node, true);
        if (next)
            indent += (int(GetNodeLevel(next)) - int(GetNodeLevel(node))) * FIndent;
        node = next;
    }
    return best + FMargin;
}

void TBaseLazyTree::UpdateHorizontalRange()
{
    FRangeX = GetMaxRightExtend();
}

void TBaseLazyTree::UpdateRanges()
{
    UpdateVerticalRange();
    UpdateHorizontalRange();
}

void TBaseLazyTree::applyBar(Qt::Orientation bar, const TScrollBarSetting& s)
{
    QScrollBar* sb = bar == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
    m_settingBars = true;
    sb->setRange(0, s.maximum);
    sb->setPageStep(std::max(s.page, 1));
    sb->setSingleStep(bar == Qt::Vertical ? FScrollBarOptions->VerticalIncrement()
                                          : FScrollBarOptions->HorizontalIncrement());
    sb->setValue(s.position);
    sb->setEnabled(s.enabled);
    m_settingBars = false;
    const Qt::ScrollBarPolicy policy = s.visible ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (bar == Qt::Vertical) {
        if (verticalScrollBarPolicy() != policy) {
            setVerticalScrollBarPolicy(policy);
            DoShowScrollBar(bar, s.visible);
        }
    } else if (horizontalScrollBarPolicy() != policy) {
        setHorizontalScrollBarPolicy(policy);
        DoShowScrollBar(bar, s.visible);
    }
}

void TBaseLazyTree::UpdateVerticalScrollBar(bool doRepaint)
{
    UpdateVerticalRange();
    if (FStates.contains(tsUpdating) || FUpdateCount > 0)
        return;
    const TScrollBarSetting s =
        computeScrollBar(FScrollBarOptions->hasVertical(), FScrollBarOptions->AlwaysVisible(),
                         clientHeight(), FRangeY, FOffsetY);
    applyBar(Qt::Vertical, s);
    // The bar's position is the truth after a range change; applying it clamps the offset.
    DoSetOffsetXY({FOffsetX, -s.position}, {suoScrollClientArea});
}

void TBaseLazyTree::UpdateHorizontalScrollBar(bool doRepaint)
{
    UpdateHorizontalRange();
    if (FStates.contains(tsUpdating) || FUpdateCount > 0)
        return;
    updateEffectiveOffsetX();
    const TScrollBarSetting s =
        computeScrollBar(FScrollBarOptions->hasHorizontal(), FScrollBarOptions->AlwaysVisible(),
                         clientWidth(), FRangeX, FOffsetX);
    applyBar(Qt::Horizontal, s);
    DoSetOffsetXY({-s.position, FOffsetY}, {suoScrollClientArea});
    // The range may have changed under an unchanged offset.
    updateEffectiveOffsetX();
}

void TBaseLazyTree::UpdateScrollBars(bool doRepaint)
{
    if (m_destroyingWidget || !FScrollBarOptions)
        return;
    UpdateVerticalScrollBar(doRepaint);
    UpdateHorizontalScrollBar(doRepaint);
}

// ----- offsets -----------------------------------------------------------------------------

bool TBaseLazyTree::DoSetOffsetXY(QPoint value, TScrollUpdateOptions options,
                                  const QRect* clipRect)
{
    const int x = clampScrollOffset(value.x(), clientWidth(), FRangeX);
    const int y = clampScrollOffset(value.y(), clientHeight(), FRangeY);
    // Right to left a larger offset moves the content left.
    const int deltaX = UseRightToLeftReading() ? FOffsetX - x : x - FOffsetX;
    const int deltaY = y - FOffsetY;
    if (deltaX == 0 && deltaY == 0)
        return false;
    FOffsetX = x;
    FOffsetY = y;
    updateEffectiveOffsetX();
    // A running slide goes on from where its rows are now (the view following a toggle, or the
    // offset held inside the shorter range after a collapse).
    if (m_animation.isActive()) {
        m_animationTop += deltaY;
        if (this->options().AnimationOptions.contains(toAdvancedAnimatedToggle))
            m_animationScroll -= deltaY;
    }
    if (FUpdateCount == 0 && !m_destroyingWidget) {
        if (options.contains(suoScrollClientArea) && !FStates.contains(tsToggling)) {
            if (clipRect)
                viewport()->scroll(deltaX, deltaY, *clipRect);
            else
                viewport()->scroll(deltaX, deltaY);
        }
        if (options.contains(suoUpdateNCArea)) {
            m_settingBars = true;
            if (deltaX != 0 && !FStates.contains(tsSizing))
                horizontalScrollBar()->setValue(-FOffsetX);
            if (deltaY != 0 && !FStates.contains(tsSizing) && !FStates.contains(tsThumbTracking))
                verticalScrollBar()->setValue(-FOffsetY);
            m_settingBars = false;
        }
    }
    DoScroll(deltaX, deltaY);
    return true;
}

void TBaseLazyTree::updateEffectiveOffsetX()
{
    if (UseRightToLeftReading())
        FEffectiveOffsetX =
            int(std::max<std::int64_t>(FRangeX + FOffsetX - clientWidth(), 0));
    else
        FEffectiveOffsetX = -FOffsetX;
}

void TBaseLazyTree::SetOffsetX(int value)
{
    DoSetOffsetXY({value, FOffsetY}, DefaultScrollUpdateFlags);
}

void TBaseLazyTree::SetOffsetY(int value)
{
    DoSetOffsetXY({FOffsetX, value}, DefaultScrollUpdateFlags);
}

void TBaseLazyTree::scrollContentsBy(int dx, int dy)
{
    // The tree scrolls itself in DoSetOffsetXY; the bars' own scrolling is not wanted.
}

void TBaseLazyTree::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    guardedEvent("resizing", [this] {
        struct Sizing {
            TBaseLazyTree* t;
            ~Sizing()
            {
                // The state is left even when its handler throws (a second error is dropped;
                // the first one is on its way to the guard).
                try {
                    t->DoStateChange({}, {tsSizing});
                } catch (...) {
                }
            }
        } sizing{this};
        DoStateChange({tsSizing});
        UpdateScrollBars(true);
    });
}

// ----- rows -----------------------------------------------------------------------------------

int TBaseLazyTree::rowTopInTree(PLazyNode node)
{
    return int(rowTop(node));
}

QRect TBaseLazyTree::GetDisplayRect(PLazyNode node, TColumnIndex column, bool textOnly,
                                    bool unclipped, bool applyCellContentMargin)
{
    if (!node)
        lazyTreeAssert("Node must not be nil.");
    if (node == RootNode())
        lazyTreeAssert("Node must not be the hidden root node.");
    if (!node->has(vsInitialized))
        InitNode(node);
    if (!GetEffectivelyVisible(node))
        return {};
    int indent = 0;
    if (!options().PaintOptions.contains(toFixedIndent)) {
        for (PLazyNode run = node; run != RootNode(); run = run->Parent) {
            if (!run->has(vsVisible) || (run != node && !run->has(vsExpanded)))
                return {};
            if (run != node)
                indent += FIndent;
        }
    } else {
        indent = int(GetNodeLevel(node)) * FIndent;
    }
    const int top = rowTopInTree(node) + FOffsetY;
    const int width = int(std::max<std::int64_t>(clientWidth(), FRangeX));
    const int height = int(MeasureNodeHeight(node));
    const int rowLeft = -FEffectiveOffsetX;
    if (!textOnly)
        return QRect(rowLeft, top, width, height);
    int offset = FMargin + indent;
    if (options().PaintOptions.contains(toShowRoot))
        offset += FIndent;
    int left = rowLeft;
    int right = rowLeft + width;
    // Right to left the text starts at the right edge and the alignment is mirrored.
    const bool rtl = UseRightToLeftReading();
    if (rtl)
        right -= offset;
    else
        left += offset;
    TAlignment alignment = FAlignment;
    if (rtl && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    cutTextRect(left, right, DoGetNodeWidth(node, column), alignment, unclipped, rtl);
    return QRect(left, top, right - left, height);
}

QRect TBaseLazyTree::GetTreeRect() const
{
    return QRect(0, 0, int(std::max<std::int64_t>(clientWidth(), FRangeX)),
                 int(std::max<std::int64_t>(clientHeight(), FRangeY)));
}

void TBaseLazyTree::GetHitTestInfoAt(int x, int y, bool relative, THitInfo& hitInfo)
{
    hitInfo = THitInfo{};
    const std::int64_t maxX = std::max<std::int64_t>(clientWidth(), FRangeX);
    const std::int64_t maxY = std::max<std::int64_t>(clientHeight(), FRangeY);
    if (x < 0)
        hitInfo.HitPositions.include(hiToLeft);
    else if (x > maxX)
        hitInfo.HitPositions.include(hiToRight);
    if (y < 0)
        hitInfo.HitPositions.include(hiAbove);
    else if (y > maxY)
        hitInfo.HitPositions.include(hiBelow);
    if (relative) {
        x += FEffectiveOffsetX;
        y -= FOffsetY;
    }
    hitInfo.HitPoint = QPoint(x, y);
    if (!hitInfo.HitPositions.empty())
        return;
    int top = 0;
    hitInfo.HitNode = GetNodeAt(x, y, false, top);
    if (!hitInfo.HitNode) {
        hitInfo.HitPositions.include(hiNowhere);
        return;
    }
    if (!hitInfo.HitNode->has(vsInitialized))
        InitNode(hitInfo.HitNode);
    hitInfo.HitPositions.include(hiOnItem);
    if (options().MiscOptions.contains(toNodeHeightResize)) {
        const int bottom = top + int(hitInfo.HitNode->NodeHeight);
        if (y <= top + 1)
            hitInfo.HitPositions.include(hiUpperSplitter);
        if (y >= bottom - 3)
            hitInfo.HitPositions.include(hiLowerSplitter);
    }
    // Which element of the row lies under the point (button, check box, images, label) is
    // told apart once the rows are painted with them.
}

bool TBaseLazyTree::ScrollIntoView(PLazyNode node, bool center, bool horizontally)
{
    if (!node || node == RootNode())
        return false;
    for (PLazyNode run = node->Parent; run != RootNode(); run = run->Parent) {
        if (!run->has(vsExpanded))
            ToggleNode(run);
    }
    const QRect r = GetDisplayRect(node, NoColumn,
                                   !options().MiscOptions.contains(toGridExtensions));
    // A hidden row has no place to scroll to.
    if (r.height() <= 0)
        return false;
    const bool horizontalBarShowing =
        FScrollBarOptions->hasHorizontal() &&
        (FScrollBarOptions->AlwaysVisible() || clientWidth() < FRangeX);
    const int pendingBar =
        (!horizontalBarShowing && clientWidth() < FRangeX) ? horizontalBarHeight() : 0;
    const TScrollIntoViewResult res = scrollRowIntoView(
        FOffsetY, r.top(), r.top() + r.height(), clientHeight(), center, pendingBar);
    if (res.scrolled)
        SetOffsetY(res.offset);
    return res.scrolled;
}

PLazyNode TBaseLazyTree::TopNode()
{
    int top = 0;
    return GetNodeAt(0, 0, true, top);
}

PLazyNode TBaseLazyTree::BottomNode()
{
    int top = 0;
    return GetNodeAt(0, clientHeight() - 1, true, top);
}

void TBaseLazyTree::SetTopNode(PLazyNode node)
{
    if (!node || node == RootNode())
        return;
    for (PLazyNode run = node->Parent; run != RootNode(); run = run->Parent) {
        if (!run->has(vsExpanded))
            ToggleNode(run);
    }
    const QRect r = GetDisplayRect(node, NoColumn, true);
    SetOffsetY(FOffsetY - r.top());
}

void TBaseLazyTree::SetBottomNode(PLazyNode node)
{
    if (!node || node == RootNode())
        return;
    for (PLazyNode run = node->Parent; run != RootNode(); run = run->Parent) {
        if (!run->has(vsExpanded))
            ToggleNode(run);
    }
    const QRect r = GetDisplayRect(node, NoColumn, true);
    DoSetOffsetXY({FOffsetX, clientHeight() + FOffsetY - r.top() - int(node->NodeHeight)},
                  {suoRepaintScrollBars, suoUpdateNCArea});
}

// ----- invalidation -------------------------------------------------------------------------

void TBaseLazyTree::Invalidate()
{
    if (!m_destroyingWidget)
        viewport()->update();
}

QRect TBaseLazyTree::invalidatedNodeRect(PLazyNode node)
{
    if (FUpdateCount > 0 || m_destroyingWidget || !node || node == RootNode())
        return QRect(QPoint(-1, -1), QPoint(-2, -2));
    const QRect r = GetDisplayRect(node, NoColumn, false);
    if (!r.isEmpty())
        viewport()->update(r);
    return r;
}

void TBaseLazyTree::InvalidateNode(PLazyNode node)
{
    invalidatedNodeRect(node);
}

void TBaseLazyTree::InvalidateToBottom(PLazyNode node)
{
    if (FUpdateCount > 0 || m_destroyingWidget)
        return;
    if (!node || node == RootNode()) {
        Invalidate();
        return;
    }
    if (!node->has(vsInitialized) || !GetEffectivelyVisible(node))
        return;
    QRect r = GetDisplayRect(node, NoColumn, false);
    if (r.isEmpty())
        return;
    int top = r.top();
    if (options().PaintOptions.contains(toChildrenAbove) && node->has(vsExpanded))
        top -= int(node->NodeHeight + node->TotalHeight);
    if (top < clientHeight())
        viewport()->update(QRect(0, top, clientWidth(), clientHeight() - top));
}

void TBaseLazyTree::InvalidateChildren(PLazyNode node, bool recursive)
{
    if (!node)
        node = RootNode();
    else
        InvalidateNode(node);
    for (PLazyNode run = GetFirstChild(node); run; run = GetNextSibling(run)) {
        InvalidateNode(run);
        if (recursive)
            InvalidateChildren(run, true);
    }
}

void TBaseLazyTree::RepaintNode(PLazyNode node)
{
    if (!node || node == RootNode())
        return;
    const QRect r = invalidatedNodeRect(node);
    if (r.isValid() && !r.isEmpty())
        viewport()->repaint(r);
}

// ----- expanding --------------------------------------------------------------------------

bool TBaseLazyTree::AdjustViewAfterToggle(PLazyNode node, bool expanded,
                                          std::int64_t heightChange)
{
    if (FStates.intersects({tsExpanding, tsPainting}))
        return false;
    const QPoint before = OffsetXY();
    const std::int64_t client = clientHeight();
    const bool fits = std::int64_t(ownRowHeight(node)) + heightChange <= client;
    bool wholeWindow = true;
    if (!options().PaintOptions.contains(toChildrenAbove)) {
        if (expanded && options().AutoOptions.contains(toAutoScrollOnExpand)) {
            if (fits) {
                ScrollIntoView(GetLastVisible(node, true, false), false, false);
                // Nothing had to move: only the rows from the node down changed.
                wholeWindow = OffsetXY() != before;
            } else {
                SetTopNode(node);
            }
        }
    } else {
        // The children appear above the row: the row keeps its place on the screen. The
        // decisions look at where the row was before the toggle moved it down.
        const QRect r = GetDisplayRect(node, NoColumn, false);
        const std::int64_t topBefore = r.top() - heightChange;
        const bool bottomInside = r.height() > 0 && topBefore + r.height() <= client;
        const bool keepRow =
            !expanded || !options().AutoOptions.contains(toAutoScrollOnExpand)
            || (fits && FRangeY > client && heightChange <= topBefore && bottomInside);
        if (keepRow)
            SetOffsetY(int(FOffsetY - heightChange));
        else if (fits && bottomInside)
            SetTopNode(GetFirstVisible(node, true, false));
        else
            SetBottomNode(node);
    }
    return wholeWindow;
}

void TBaseLazyTree::startToggleAnimation(PLazyNode node, bool expanding, int childrenHeight)
{
    if (!options().AnimationOptions.contains(toAnimatedToggle) || FAnimationDuration <= 0
        || !isVisible() || FUpdateCount > 0 || m_destroyingWidget)
        return;
    // Nothing slides while everything is expanded or collapsed, or while a paint pass runs.
    if (FStates.intersects(expanding ? TLazyTreeStates{tsExpanding, tsPainting}
                                     : TLazyTreeStates{tsCollapsing}))
        return;
    // The slide reveals rows below the toggled one. With children above their parent the new
    // rows appear above it while the view keeps the row in place, which this slide cannot
    // draw: such a tree toggles without animation.
    if (options().PaintOptions.contains(toChildrenAbove))
        return;
    const QRect r = GetDisplayRect(node, NoColumn, false);
    if (r.height() <= 0)
        return;
    m_animationTop = r.top() + r.height();
    // Children taller than the client slide by one client height at most, so that painting a
    // frame never walks more rows than two pages.
    m_animationHeight = std::min(childrenHeight, clientHeight());
    if (m_animationHeight <= 0)
        return;
    m_animationShown = 0;
    m_animationScroll = 0;
    m_animationExpanding = expanding;
    m_animationClock.start();
    DoStateChange({tsInAnimation});
    m_animation.start(15, this);
}

void TBaseLazyTree::DoExpanded(PLazyNode node)
{
    LazyTreeModel::DoExpanded(node);
    startToggleAnimation(node, true, int(node->TotalHeight - ownRowHeight(node)));
}

bool TBaseLazyTree::DoCollapsing(PLazyNode node)
{
    const bool allowed = LazyTreeModel::DoCollapsing(node);
    m_collapsingHeight = allowed ? int(node->TotalHeight - ownRowHeight(node)) : 0;
    return allowed;
}

// ----- painting -----------------------------------------------------------------------------

void TBaseLazyTree::paintEvent(QPaintEvent* event)
{
    guardedEvent("painting", [&] {
        struct Painting {
            TBaseLazyTree* t;
            ~Painting()
            {
                try {
                    t->DoStateChange({}, {tsPainting});
                } catch (...) {
                }
            }
        } painting{this};
        DoStateChange({tsPainting});
        paintRows(event);
    });
    // Heights measured during the pass moved the rows below; the bars and the picture follow
    // once the pass is over.
    if (m_heightsChangedInPaint) {
        m_heightsChangedInPaint = false;
        QMetaObject::invokeMethod(
            this,
            [this] {
                guardedEvent("measuring rows", [this] {
                    InvalidateCache();
                    ScheduleCacheValidation();
                    UpdateScrollBars(true);
                    Invalidate();
                });
            },
            Qt::QueuedConnection);
    }
}

void TBaseLazyTree::paintRows(QPaintEvent* event)
{
    QPainter p(viewport());
    const QRect clip = event->rect();
    p.fillRect(clip, palette().color(QPalette::Base));
    if (IsEmpty()) {
        if (!FEmptyListMessage.isEmpty())
            p.drawText(viewport()->rect().adjusted(FMargin, 0, -FMargin, 0),
                       (UseRightToLeftReading() ? Qt::AlignRight : Qt::AlignLeft)
                           | Qt::AlignTop | Qt::AlignAbsolute,
                       FEmptyListMessage);
        return;
    }
    const bool showRoot = options().PaintOptions.contains(toShowRoot);
    const bool rtl = UseRightToLeftReading();
    const int rowLeft = -FEffectiveOffsetX;
    const int rowWidth = int(std::max<std::int64_t>(clientWidth(), FRangeX));
    // While a toggle animates, the rows below the toggled node are drawn shifted towards where
    // they were before: down by the part of the collapsed children not yet closed, or up by the
    // part of the new children not yet opened.
    const bool animating = m_animation.isActive();
    const int remaining = animating ? m_animationHeight - m_animationShown : 0;
    const int shift = m_animationExpanding ? -remaining : remaining;
    // The part of a following scroll not yet slid (advanced form): every row is drawn moved by
    // it, the rows above the toggled one included.
    const int extra = animating && m_animationHeight > 0
                          ? int(std::int64_t(m_animationScroll) * remaining / m_animationHeight)
                          : 0;
    const int boundary = m_animationTop + extra;
    int top = 0;
    PLazyNode node =
        GetNodeAt(0, animating ? std::min(0, -extra) : std::max(clip.top(), 0), true, top);
    p.setPen(palette().color(QPalette::Text));
    // The tree's alignment, mirrored right to left.
    Qt::Alignment horizontal = Qt::AlignHCenter;
    if (FAlignment != taCenter)
        horizontal = (FAlignment == taLeftJustify) != rtl ? Qt::AlignLeft : Qt::AlignRight;
    while (node && top < clip.bottom() + 1 + (animating ? remaining + std::max(0, -extra) : 0)) {
        if (!node->has(vsInitialized))
            InitNode(node);
        const int h = int(MeasureNodeHeight(node));
        int y = top + extra;
        if (animating && top >= m_animationTop)
            y += shift;
        if (!animating || top < m_animationTop || y >= boundary) {
            // The same text start as GetDisplayRect: one indent per level, one more for the
            // root's buttons, from the reading edge. The rectangles are physical already, so the
            // alignment is absolute (Qt would mirror it once more for a right-to-left widget).
            const int level = int(GetNodeLevel(node)) + (showRoot ? 1 : 0);
            const int offset = FMargin + level * FIndent;
            p.drawText(QRect(rtl ? rowLeft : rowLeft + offset, y, rowWidth - offset, h),
                       horizontal | Qt::AlignVCenter | Qt::AlignAbsolute, DoGetText(node));
        }
        top += h;
        node = GetNextVisible(node, true);
    }
}

}  // namespace zfw

namespace zfw {

QString TBaseLazyTree::checkConsistency() const
{
    QString error = LazyTreeModel::checkConsistency();
    if (!error.isEmpty())
        return error;
    const std::int64_t rangeY =
        std::int64_t(RootNode()->TotalHeight) + FBottomSpace - RootNode()->NodeHeight;
    if (FRangeY != rangeY)
        return QStringLiteral("vertical range %1, the root's total height gives %2")
            .arg(FRangeY)
            .arg(rangeY);
    if (FUpdateCount > 0)
        return {};
    const int cw = viewport()->width();
    const int ch = viewport()->height();
    if (FOffsetY > 0 || FOffsetY < std::min<std::int64_t>(0, ch - FRangeY))
        return QStringLiteral("vertical offset %1 outside the range %2 in a client of %3")
            .arg(FOffsetY)
            .arg(FRangeY)
            .arg(ch);
    if (FOffsetX > 0 || FOffsetX < std::min<std::int64_t>(0, cw - FRangeX))
        return QStringLiteral("horizontal offset %1 outside the range %2 in a client of %3")
            .arg(FOffsetX)
            .arg(FRangeX)
            .arg(cw);
    const int effective =
        UseRightToLeftReading() ? int(std::max<std::int64_t>(FRangeX + FOffsetX - cw, 0))
                                : -FOffsetX;
    if (FEffectiveOffsetX != effective)
        return QStringLiteral("effective horizontal offset %1, expected %2")
            .arg(FEffectiveOffsetX)
            .arg(effective);
    return {};
}

}  // namespace zfw
