// The tree control: construction and destruction, settings, and the window hooks of the node model.

#include "tree/LazyTreesControl.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
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
    // Hot tracking follows the mouse without a button down.
    viewport()->setMouseTracking(true);
    FScrollBarOptions = new TScrollBarOptions;
    FScrollBarOptions->onChanged = [this] { UpdateScrollBars(true); };
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    FColors = new TLTColors;
    FColors->onChanged = [this](int) { Invalidate(); };
    FColors->onAssigned = [this] {
        if (FUpdateCount == 0)
            Invalidate();
    };
    // A finished rebuild of the position cache is taken over on the main thread, and a running
    // editor is placed again. The call is queued with the tree as its context, so Qt drops it
    // when the tree is destroyed first.
    setValidationNotifier([this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                guardedEvent("taking over the position cache", [this] {
                    takeValidationResult();
                    UpdateEditBounds();
                });
            },
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
    // The bars' arrows, page clicks and thumb drags arrive as scroll codes.
    for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
        const Qt::Orientation o = bar == verticalScrollBar() ? Qt::Vertical : Qt::Horizontal;
        connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar, o](int action) {
            guardedEvent("a scroll bar", [&] {
                // Qt mirrors a right-to-left horizontal bar itself, and its value is minus the
                // offset: its steps towards the maximum are the codes towards the left end.
                const bool mirrored = o == Qt::Horizontal && UseRightToLeftReading();
                int code = -1;
                int track = bar->sliderPosition();
                switch (action) {
                case QAbstractSlider::SliderSingleStepAdd:
                    code = mirrored ? SB_LINEUP : SB_LINEDOWN;
                    break;
                case QAbstractSlider::SliderSingleStepSub:
                    code = mirrored ? SB_LINEDOWN : SB_LINEUP;
                    break;
                case QAbstractSlider::SliderPageStepAdd:
                    code = mirrored ? SB_PAGEUP : SB_PAGEDOWN;
                    break;
                case QAbstractSlider::SliderPageStepSub:
                    code = mirrored ? SB_PAGEDOWN : SB_PAGEUP;
                    break;
                case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
                case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
                case QAbstractSlider::SliderMove:
                    code = SB_THUMBTRACK;
                    if (mirrored)
                        track = int(FRangeX) - clientWidth() - track;
                    break;
                default: break;
                }
                if (code < 0)
                    return;
                WMScroll(o, code, track);
                // The bar takes the position the tree chose, not its own step.
                bar->setSliderPosition(o == Qt::Vertical ? -FOffsetY : -FOffsetX);
            });
        });
        connect(bar, &QAbstractSlider::sliderReleased, this,
                [this, o] { guardedEvent("a scroll bar", [&] { WMScroll(o, SB_ENDSCROLL); }); });
    }
    // Qt's styles draw every themed part, so a theme-aware tree draws through them from the
    // start. The explorer theme has no counterpart here: toUseExplorerTheme changes nothing.
    m_reactedOptions = options();
    if (options().PaintOptions.contains(toThemeAware))
        DoStateChange({tsUseThemes});
    setAcceptDrops(options().MiscOptions.contains(toAcceptOLEDrop));
    FHeader = std::make_unique<TLTHeader>(*this);
    viewport()->setAcceptDrops(acceptDrops());
    UpdateScrollBars(false);
}

TBaseLazyTree::~TBaseLazyTree()
{
    // Timers and repaints stop first so that no notice reaches a half-destroyed tree.
    m_destroyingWidget = true;
    abandonEdit();
    m_animation.stop();
    for (auto& [id, timer] : m_noticeTimers)
        timer.stop();
    // The hint window goes while the tree's fields it reports to still exist.
    delete m_hintWindow;
    // Takes the tree back from the worker for good: nothing may be queued for it from here on.
    SetTreeWorker(nullptr);
    InterruptValidation();
    releaseClipboard();
    releaseAccessible();
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
        ScrollIntoView(FocusedNode(), options().SelectionOptions.contains(toCenterScrollIntoView),
                       true);
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
    SetShowHint(source.FShowHint);
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
    if (miscChanged.contains(toAcceptOLEDrop)) {
        setAcceptDrops(now.MiscOptions.contains(toAcceptOLEDrop));
        viewport()->setAcceptDrops(acceptDrops());
    }
    // toFullRepaintOnResize chose a window class style; Qt repaints what a resize uncovers and
    // the tree invalidates what its layout needs, so the option needs no reaction here.
    if (miscChanged.contains(toCheckSupport))
        Invalidate();

    // Without extended focus only the main column can hold the focus; a tree without header
    // columns has only the implicit column.
    const TColumnIndex mainColumn = FHeader ? FHeader->MainColumn() : NoColumn;
    if (!now.SelectionOptions.contains(toExtendedFocus) && FFocusedColumn != mainColumn) {
        FFocusedColumn = mainColumn;
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
    if (event->type() == QEvent::FontChange) {
        // The rows follow the font's height, the buttons are drawn anew for it.
        guardedEvent("a font change", [this] {
            if (m_shownOnce)
                AdjustDefaultNodeHeight();
            PrepareBitmaps(true, false);
            // A header with ParentFont takes the tree's font.
            if (FHeader)
                FHeader->ParentFontChanged();
            Invalidate();
        });
    } else if (event->type() == QEvent::StyleChange) {
        // A new style draws other buttons; Qt restyles the window itself, where the original
        // control had to be made anew after a theme change.
        guardedEvent("a style change", [this] {
            PrepareBitmaps(true, true);
            Invalidate();
        });
    } else if (event->type() == QEvent::PaletteChange) {
        // The buttons and lines carry the palette's colours.
        guardedEvent("a palette change", [this] {
            PrepareBitmaps(true, true);
            Invalidate();
        });
    } else if (event->type() == QEvent::LayoutDirectionChange) {
        // The same offset means the other end of the content now.
        guardedEvent("a layout direction change", [this] {
            columnsFollowDirection();
            UpdateScrollBars(true);
            Invalidate();
        });
    }
}

// ----- window hooks of the model --------------------------------------------------------------

bool TBaseLazyTree::HandleAllocated() const { return !m_destroyingWidget; }

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

bool TBaseLazyTree::timerActive(int id) const
{
    auto it = m_noticeTimers.find(id);
    return it != m_noticeTimers.end() && it->second.isActive();
}

void TBaseLazyTree::SetRedraw(bool on) { viewport()->setUpdatesEnabled(on); }

void TBaseLazyTree::timerEvent(QTimerEvent* event)
{
    guardedEvent("a timer", [&] { timerStep(event); });
}

void TBaseLazyTree::timerStep(QTimerEvent* event)
{
    const int id = event->timerId();
    if (id == m_columnAnimation.timerId()) {
        FHeader->Columns().AnimationStep();
        return;
    }
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
        if (tid == StructureChangeTimer || tid == ChangeTimer)
            timer.stop();
        if (tid == StructureChangeTimer && FStates.contains(tsStructureChangePending))
            DoStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
        else if (tid == ChangeTimer && FStates.contains(tsChangePending))
            DoChange(FLastChangedNode);
        else if (tid != StructureChangeTimer && tid != ChangeTimer)
            DoTimer(tid);
        return;
    }
    QAbstractScrollArea::timerEvent(event);
}

QString TBaseLazyTree::checkConsistency() const
{
    QString error = LazyTreeModel::checkConsistency();
    if (!error.isEmpty())
        return error;
    const std::int64_t rangeY = std::int64_t(RootNode()->TotalHeight) + FBottomSpace
                                - RootNode()->NodeHeight;
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
    const int effective = UseRightToLeftReading()
                              ? int(std::max<std::int64_t>(FRangeX + FOffsetX - cw, 0))
                              : -FOffsetX;
    if (FEffectiveOffsetX != effective)
        return QStringLiteral("effective horizontal offset %1, expected %2")
            .arg(FEffectiveOffsetX)
            .arg(effective);
    return {};
}

void TBaseLazyTree::SetMultiline(PLazyNode node, bool value)
{
    if (!node || node == RootNode() || node->has(vsMultiline) == value)
        return;
    if (value)
        node->States.include(vsMultiline);
    else
        node->States.exclude(vsMultiline);
    if (options().MiscOptions.contains(toVariableNodeHeight)) {
        node->States.exclude(vsHeightMeasured);
        MeasureItemHeight(node);
    }
    InvalidateNode(node);
}

void TBaseLazyTree::SetDisabled(PLazyNode node, bool value)
{
    if (!node || node == RootNode() || node->has(vsDisabled) == value)
        return;
    if (value)
        node->States.include(vsDisabled);
    else
        node->States.exclude(vsDisabled);
    InvalidateNode(node);
}

}  // namespace zfw
