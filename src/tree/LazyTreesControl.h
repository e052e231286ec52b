#pragma once
// The tree control: the node model on a scroll area. The model keeps the nodes and counters;
// this class adds the window: offsets and ranges, the scroll bars, row rectangles, hit tests,
// invalidation, the delayed notices and the expand/collapse animation.
//
// Coordinates: "tree" coordinates start at the top left of the content; "client" coordinates are
// those of the viewport. client = tree - (FEffectiveOffsetX, -FOffsetY); both offsets are 0 or
// negative. Left to right FEffectiveOffsetX is -FOffsetX. Right to left the content hangs from
// the right edge: offset 0 shows its right end and FEffectiveOffsetX is
// FRangeX + FOffsetX - client width (never below 0).
//
// The tree has no header columns yet: every geometry rule here is that of the single implicit
// column (-1).

#include "tree/core/LazyTrees.h"
#include "tree/LazyTreesColors.h"
#include "tree/LazyTreesGeometry.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QColor>
#include <QElapsedTimer>
#include <QPoint>
#include <QRect>
#include <QString>

#include <algorithm>
#include <functional>
#include <map>

namespace zfw {

enum TBorderStyle : std::uint8_t { bsNone, bsSingle };
enum TLTButtonStyle : std::uint8_t { bsRectangle, bsTriangle };
enum TLTButtonFillMode : std::uint8_t { fmTreeColor, fmWindowColor, fmShaded, fmTransparent };
enum TLTLineStyle : std::uint8_t { lsCustomStyle, lsDotted, lsSolid };
enum TLTLineMode : std::uint8_t { lmNormal, lmBands };
enum TLTNodeAlignment : std::uint8_t { naFromBottom, naFromTop, naProportional };
enum TLTDrawSelectionMode : std::uint8_t { smDottedRectangle, smBlendedRectangle };
enum TLTDragImageKind : std::uint8_t { diComplete, diMainColumnOnly, diNoImage };
enum TLTDragType : std::uint8_t { dtOLE, dtVCL };
enum TLTIncrementalSearch : std::uint8_t { isAll, isNone, isInitializedOnly, isVisibleOnly };
enum TLTSearchDirection : std::uint8_t { sdForward, sdBackward };
enum TLTSearchStart : std::uint8_t { ssAlwaysStartOver, ssLastHit, ssFocusedNode };
enum THintAnimationType : std::uint8_t { hatNone, hatFade, hatSlide, hatSystemDefault };
enum TLTHintMode : std::uint8_t { hmDefault, hmHint, hmHintAndDefault, hmTooltip };
enum TCheckImageKind : std::uint8_t { ckCustom, ckSystemDefault, ckSystemFlat };

enum THitPosition : std::uint8_t {
    hiAbove, hiBelow, hiNowhere, hiOnItem, hiOnItemButton, hiOnItemButtonExact,
    hiOnItemCheckbox, hiOnItemIndent, hiOnItemLabel, hiOnItemLeft, hiOnItemRight,
    hiOnNormalIcon, hiOnStateIcon, hiToLeft, hiToRight, hiUpperSplitter, hiLowerSplitter
};
using THitPositions = TSmallSet<THitPosition, std::uint32_t>;

struct THitInfo {
    PLazyNode HitNode = nullptr;
    THitPositions HitPositions;
    TColumnIndex HitColumn = NoColumn;
    QPoint HitPoint;
};

// Update flags of DoSetOffsetXY.
enum TScrollUpdateOption : std::uint8_t {
    suoRepaintHeader, suoRepaintScrollBars, suoScrollClientArea, suoUpdateNCArea
};
using TScrollUpdateOptions = TSmallSet<TScrollUpdateOption, std::uint8_t>;
inline constexpr TScrollUpdateOptions DefaultScrollUpdateFlags{
    suoRepaintHeader, suoRepaintScrollBars, suoScrollClientArea, suoUpdateNCArea};

class TBaseLazyTree : public QAbstractScrollArea, public LazyTreeModel {
    Q_OBJECT
public:
    explicit TBaseLazyTree(QWidget* parent = nullptr);
    ~TBaseLazyTree() override;

    std::function<void(TBaseLazyTree&, int deltaX, int deltaY)> OnScroll;
    std::function<void(TBaseLazyTree&, Qt::Orientation bar, bool show)> OnShowScrollBar;
    // Text shown for a node in the rows; empty without a handler.
    std::function<QString(TBaseLazyTree&, PLazyNode node)> OnGetText;
    // Asked once per node for its row height while toVariableNodeHeight is set; nodeHeight
    // starts as the node's height. The handler measures with the tree's font metrics (there is
    // no canvas outside painting).
    std::function<void(TBaseLazyTree&, PLazyNode node, int& nodeHeight)> OnMeasureItem;

    // Copies the settings of another tree (see the definition for which); nodes are not copied,
    // RootNodeCount makes fresh ones. False, with nothing changed, on a read-only tree.
    bool Assign(const TBaseLazyTree& source);

    // Message of the last exception an event handler threw into a Qt event of this tree
    // (painting, timers, resizing, scroll bars); empty when none did. Qt's event dispatch must
    // never be unwound, so such an exception stops at the tree.
    QString lastHandlerError() const { return m_lastHandlerError; }
    // The model's invariants plus the control's: the vertical range follows the root's total
    // height, offsets lie inside their ranges, the effective offset matches the direction.
    QString checkConsistency() const override;

    // ----- settings ----------------------------------------------------------------------
    TLTColors& Colors() { return *FColors; }
    TScrollBarOptions& ScrollBarOptions() { return *FScrollBarOptions; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    int Indent() const { return FIndent; }
    void SetIndent(int value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int TextMargin() const { return FTextMargin; }
    void SetTextMargin(int value);
    TColumnIndex FocusedColumn() const { return FFocusedColumn; }
    int EditDelay() const { return FEditDelay; }
    int AnimationDuration() const { return FAnimationDuration; }
    void SetAnimationDuration(int ms) { FAnimationDuration = ms < 0 ? 0 : ms; }
    // Alignment of node texts in a tree without header columns; mirrored right to left.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    int BottomSpace() const { return FBottomSpace; }
    void SetBottomSpace(int value);
    QString EmptyListMessage() const { return FEmptyListMessage; }
    void SetEmptyListMessage(const QString& text);
    TCheckImageKind CheckImageKind() const { return FCheckImageKind; }
    TLTNodeAttachMode DefaultPasteMode() const { return FDefaultPasteMode; }
    int SelectionBlendFactor() const { return FSelectionBlendFactor; }
    int AutoScrollDelay() const { return FAutoScrollDelay; }
    void SetAutoScrollDelay(int ms) { FAutoScrollDelay = std::max(ms, 0); }
    int AutoScrollInterval() const { return FAutoScrollInterval; }
    // 1 to 1000 ms.
    void SetAutoScrollInterval(int ms) { FAutoScrollInterval = std::clamp(ms, 1, 1000); }
    int AutoExpandDelay() const { return FAutoExpandDelay; }
    int SearchTimeout() const { return FSearchTimeout; }
    void SetCheckImageKind(TCheckImageKind value);
    void SetDefaultPasteMode(TLTNodeAttachMode value) { FDefaultPasteMode = value; }
    TLTDragImageKind DragImageKind() const { return FDragImageKind; }
    void SetDragImageKind(TLTDragImageKind value) { FDragImageKind = value; }
    THintAnimationType HintAnimation() const { return FAnimationType; }
    void SetHintAnimation(THintAnimationType value) { FAnimationType = value; }
    TLTHintMode HintMode() const { return FHintMode; }
    void SetHintMode(TLTHintMode value) { FHintMode = value; }
    int HotCursor() const { return FHotCursor; }
    void SetHotCursor(int value) { FHotCursor = value; }
    TLTNodeAlignment NodeAlignment() const { return FNodeAlignment; }
    void SetNodeAlignment(TLTNodeAlignment value);
    int SelectionCurveRadius() const { return FSelectionCurveRadius; }
    void SetSelectionCurveRadius(int value);
    void SetSelectionBlendFactor(std::uint8_t value) { FSelectionBlendFactor = value; }
    // 0 counts as 18. Besides the model's bookkeeping the window follows: ranges, bars, the
    // focused node kept in view, a repaint.
    void SetDefaultNodeHeight(int height) override;
    // The colour behind the rows and the colour of node texts. Without framework visual styles
    // they are the tree's own: the palette's base and text colours.
    QColor BackGroundColor() const { return palette().color(QPalette::Base); }
    QColor NodeFontColor() const { return palette().color(QPalette::Text); }
    // Scales DefaultNodeHeight and Indent by m/d (rounded) when m differs from d and
    // toAutoChangeScale is set. Qt scales fonts and pixels for the screen itself, so nothing
    // calls this on its own; it is there for a window that resizes its content by a factor.
    virtual void ChangeScale(int m, int d);
    // True when the tree lays out right to left (Qt's layout direction).
    bool UseRightToLeftReading() const { return layoutDirection() == Qt::RightToLeft; }

    // ----- scrolling and geometry ----------------------------------------------------------
    int OffsetX() const { return FOffsetX; }
    int OffsetY() const override { return FOffsetY; }
    void SetOffsetX(int value);
    void SetOffsetY(int value);
    QPoint OffsetXY() const { return {FOffsetX, FOffsetY}; }
    std::int64_t RangeX() const { return FRangeX; }
    std::int64_t RangeY() const { return FRangeY; }
    int EffectiveOffsetX() const { return FEffectiveOffsetX; }

    void UpdateScrollBars(bool doRepaint) override;
    void UpdateVerticalRange() override;
    void UpdateHorizontalRange();
    void UpdateRanges();
    // Applies new offsets (clamped to the ranges). Returns whether either offset changed.
    virtual bool DoSetOffsetXY(QPoint value, TScrollUpdateOptions options,
                               const QRect* clipRect = nullptr);
    // Expands the node's collapsed ancestors and scrolls it into view. False for nil or root.
    bool ScrollIntoView(PLazyNode node, bool center, bool horizontally = false);
    // The node's row in client coordinates (empty when it is not shown). Throws for nil and root.
    QRect GetDisplayRect(PLazyNode node, TColumnIndex column, bool textOnly,
                         bool unclipped = false, bool applyCellContentMargin = false);
    QRect GetTreeRect() const;
    virtual void GetHitTestInfoAt(int x, int y, bool relative, THitInfo& hitInfo);
    // Height of a horizontal scroll bar of the current style.
    int horizontalBarHeight() const;

    // ----- row heights ----------------------------------------------------------------------
    // The node's row height; with toVariableNodeHeight an unmeasured node is measured first.
    // 0 for nil.
    std::uint32_t GetNodeHeight(PLazyNode node);
    // Asks OnMeasureItem once per node (until ReinitNode or a child count change clears
    // vsHeightMeasured) and applies the answer with SetNodeHeight. Answers below 0 count as 0.
    virtual void MeasureItemHeight(PLazyNode node);

    // The node at the top (bottom) of the client area; setting scrolls it there.
    PLazyNode TopNode();
    void SetTopNode(PLazyNode node);
    PLazyNode BottomNode();
    void SetBottomNode(PLazyNode node);

    // ----- invalidation -------------------------------------------------------------------
    void Invalidate() override;
    void InvalidateNode(PLazyNode node) override;
    // The rectangle invalidated for the node, (-1,-1,-1,-1) inside an update bracket.
    QRect invalidatedNodeRect(PLazyNode node);
    void InvalidateToBottom(PLazyNode node) override;
    void InvalidateChildren(PLazyNode node, bool recursive);
    void RepaintNode(PLazyNode node);

    // ----- expanding ------------------------------------------------------------------------
    // A toggle of a shown node animates when a duration is set: the node's state and the
    // counters change at once, only the rows below slide to their new place over the duration.
    bool animationRunning() const { return m_animation.isActive(); }

    // With automatic scaling, raises DefaultNodeHeight to the font's text height so that rows
    // never cut their text; runs when the tree is first shown and after a font change.
    virtual void AdjustDefaultNodeHeight();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

    bool HandleAllocated() const override;
    // The window's reactions to a written option set (see the definition).
    void OptionsChanged() override;
    TColumnIndex focusedColumnIndex() const override { return FFocusedColumn; }
    // After an expansion with toAutoScrollOnExpand the new rows are brought into view (the
    // last one when the subtree fits, else the node goes to the top); with toChildrenAbove the
    // offset follows the height change so that the node's row stays put. Nothing moves while
    // everything is expanded or during painting.
    bool AdjustViewAfterToggle(PLazyNode node, bool expanded, std::int64_t heightChange) override;
    void StartNoticeTimer(int id, int ms) override;
    void StopNoticeTimer(int id) override;
    void SetRedraw(bool on) override;
    void DoExpanded(PLazyNode node) override;
    bool DoCollapsing(PLazyNode node) override;
    // Fires OnCollapsed; with toAlwaysSelectNode a selected node that the collapse hid gives
    // its selection to its nearest shown ancestor.
    void DoCollapsed(PLazyNode node) override;
    // Fires OnShowScrollBar after the bar was shown or hidden, so that the handler sees the
    // new state.
    virtual void DoShowScrollBar(Qt::Orientation bar, bool show);
    virtual void DoScroll(int deltaX, int deltaY);
    // Initialises the node when needed, then fires OnMeasureItem.
    virtual void DoMeasureItem(PLazyNode node, int& nodeHeight);
    std::uint32_t MeasureNodeHeight(PLazyNode node) override;
    virtual int GetMaxRightExtend();
    // Width of the node's text in the column; 0 in the base tree (a text tree measures it).
    virtual int DoGetNodeWidth(PLazyNode node, TColumnIndex column);
    // Width of what follows the text (a text tree's static text); 0 in the base tree.
    virtual int DoGetNodeExtraWidth(PLazyNode node, TColumnIndex column);
    virtual QString DoGetText(PLazyNode node);
    // Runs the body of a Qt event handler or slot. An exception thrown by an owner's handler
    // stops here: it is logged, kept for lastHandlerError(), and the window is brought back in
    // line with the model (ranges, bars, a repaint). The operations it interrupted have left
    // the model consistent on their way out.
    void guardedEvent(const char* where, const std::function<void()>& body);
    int clientWidth() const;
    int clientHeight() const;

    // Fields in the order the control keeps them; those of later features come with them.
    TBorderStyle FBorderStyle = bsSingle;
    int FIndent = 18;
    TColumnIndex FEditColumn = NoColumn;
    TColumnIndex FFocusedColumn = NoColumn;
    TColumnIndex FCurrentHotColumn = NoColumn;
    bool FHotNodeButtonHit = false;
    int FHotCursor = 0;
    THintAnimationType FAnimationType = hatSystemDefault;
    TLTHintMode FHintMode = hmDefault;
    int FEditDelay = 1000;
    int FMargin = 4;
    int FTextMargin = 4;
    int FAnimationDuration = 200;
    bool FWantTabs = false;
    TLTNodeAlignment FNodeAlignment = naProportional;
    QString FEmptyListMessage;
    TCheckImageKind FCheckImageKind = ckSystemDefault;
    TLTColors* FColors = nullptr;
    TLTButtonStyle FButtonStyle = bsRectangle;
    TLTButtonFillMode FButtonFillMode = fmTreeColor;
    TLTLineStyle FLineStyle = lsDotted;
    TLTLineMode FLineMode = lmNormal;
    int FSelectionCurveRadius = 0;
    std::uint8_t FSelectionBlendFactor = 128;
    TLTDrawSelectionMode FDrawSelectionMode = smDottedRectangle;
    TAlignment FAlignment = taLeftJustify;
    TLTDragImageKind FDragImageKind = diComplete;
    int FLastDragEffect = 0;
    TLTDragType FDragType = dtOLE;
    int FDragWidth = 200;
    int FDragHeight = 350;
    TScrollBarOptions* FScrollBarOptions = nullptr;
    int FAutoScrollInterval = 1;
    int FAutoScrollDelay = 1000;
    int FAutoExpandDelay = 1000;
    int FOffsetX = 0;
    int FOffsetY = 0;
    int FEffectiveOffsetX = 0;
    std::int64_t FRangeX = 0;
    std::int64_t FRangeY = 0;
    int FBottomSpace = 0;
    TLTNodeAttachMode FDefaultPasteMode = amAddChildLast;
    TLTIncrementalSearch FIncrementalSearch = isNone;
    int FSearchTimeout = 1000;
    TLTSearchDirection FSearchDirection = sdForward;
    TLTSearchStart FSearchStart = ssFocusedNode;

private:
    void UpdateVerticalScrollBar(bool doRepaint);
    void UpdateHorizontalScrollBar(bool doRepaint);
    void applyBar(Qt::Orientation bar, const TScrollBarSetting& s);
    void startToggleAnimation(PLazyNode node, bool expanding, int childrenHeight);
    int rowTopInTree(PLazyNode node);
    void updateEffectiveOffsetX();
    void timerStep(QTimerEvent* event);
    void paintRows(QPaintEvent* event);

    std::map<int, QBasicTimer> m_noticeTimers;
    // Scroll bar values set by the tree itself must not come back as user scrolls.
    bool m_settingBars = false;
    bool m_destroyingWidget = false;
    bool m_shownOnce = false;
    // The toggle animation: the rows below the toggled node are revealed (or covered) step by
    // step from the timer, never by waiting inside the toggle.
    QBasicTimer m_animation;
    QElapsedTimer m_animationClock;
    int m_animationTop = 0;
    int m_animationHeight = 0;
    int m_animationShown = 0;
    bool m_animationExpanding = false;
    // With toAdvancedAnimatedToggle the view's scroll that follows a toggle slides too: the
    // rows are drawn moved by this many pixels times the part of the slide still to come.
    int m_animationScroll = 0;
    // Height of the rows a collapse is about to take away, taken before the counters change.
    int m_collapsingHeight = 0;
    QString m_lastHandlerError;
    // Heights measured while painting change the counters at once, but the bars and the rows
    // already painted follow after the pass (a paint must not scroll the viewport).
    bool m_heightsChangedInPaint = false;
    // The option sets as the window last reacted to them, to tell what a write changed.
    TLazyTreeOptionSets m_reactedOptions;
};

}  // namespace zfw
