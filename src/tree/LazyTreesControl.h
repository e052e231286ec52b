#pragma once
// The tree control: the node model on a scroll area. The model keeps the nodes and counters;
// this class adds the window: offsets and ranges, the scroll bars, row rectangles, hit tests,
// invalidation, the delayed notices and the expand/collapse animation.
//
// Coordinates: "tree" coordinates start at the top of the first row; "client" coordinates are
// those of the viewport. client = tree + (FOffsetX, FOffsetY), both offsets 0 or negative.

#include "tree/LazyTrees.h"
#include "tree/LazyTreesColors.h"
#include "tree/LazyTreesGeometry.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QElapsedTimer>
#include <QPoint>
#include <QRect>
#include <QString>

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
    int BottomSpace() const { return FBottomSpace; }
    void SetBottomSpace(int value);
    QString EmptyListMessage() const { return FEmptyListMessage; }
    void SetEmptyListMessage(const QString& text);
    TCheckImageKind CheckImageKind() const { return FCheckImageKind; }
    TLTNodeAttachMode DefaultPasteMode() const { return FDefaultPasteMode; }
    int SelectionBlendFactor() const { return FSelectionBlendFactor; }
    int AutoScrollDelay() const { return FAutoScrollDelay; }
    int AutoScrollInterval() const { return FAutoScrollInterval; }
    int AutoExpandDelay() const { return FAutoExpandDelay; }
    int SearchTimeout() const { return FSearchTimeout; }

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
    void StartNoticeTimer(int id, int ms) override;
    void StopNoticeTimer(int id) override;
    void SetRedraw(bool on) override;
    void DoExpanded(PLazyNode node) override;
    bool DoCollapsing(PLazyNode node) override;
    void DoCollapsed(PLazyNode node) override;
    virtual void DoShowScrollBar(Qt::Orientation bar, bool show);
    virtual void DoScroll(int deltaX, int deltaY);
    virtual int GetMaxRightExtend();
    // Width of the node's text in the column; 0 in the base tree (a text tree measures it).
    virtual int DoGetNodeWidth(PLazyNode node, TColumnIndex column);
    virtual QString DoGetText(PLazyNode node);
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
    bool FSelectionLocked = false;
    int FLastSelectionLevel = -1;
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
    // Height of the rows a collapse is about to take away, taken before the counters change.
    int m_collapsingHeight = 0;
};

}  // namespace zfw
