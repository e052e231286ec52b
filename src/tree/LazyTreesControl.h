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
// Columns and the header live in LazyTreesColumns.h and LazyTreesHeader.h; a tree without
// columns paints one implicit column (-1) over the whole client width.

#include "controls/Canvas.h"
#include "platform/Beep.h"
#include "tree/LazyTreesColors.h"
#include "tree/LazyTreesDrag.h"
#include "tree/LazyTreesGeometry.h"
#include "tree/LazyTreesHeader.h"
#include "tree/LazyTreesHint.h"
#include "tree/LazyTreesImages.h"
#include "tree/core/LazyTrees.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QBasicTimer>
#include <QColor>
#include <QElapsedTimer>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QMenu;
class QMimeData;
class QPainter;

namespace zfw {

class TLTClipboardContext;
class ILTEditLink;

class IPrinter;
struct PrintSetup;

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
enum TDragOperation : std::uint8_t { doCopy, doMove, doLink };
using TDragOperations = TSmallSet<TDragOperation, std::uint8_t>;

enum THitPosition : std::uint8_t {
    hiAbove,
    hiBelow,
    hiNowhere,
    hiOnItem,
    hiOnItemButton,
    hiOnItemButtonExact,
    hiOnItemCheckbox,
    hiOnItemIndent,
    hiOnItemLabel,
    hiOnItemLeft,
    hiOnItemRight,
    hiOnNormalIcon,
    hiOnStateIcon,
    hiToLeft,
    hiToRight,
    hiUpperSplitter,
    hiLowerSplitter
};
using THitPositions = TSmallSet<THitPosition, std::uint32_t>;

struct THitInfo {
    PLazyNode HitNode = nullptr;
    THitPositions HitPositions;
    TColumnIndex HitColumn = NoColumn;
    QPoint HitPoint;
};

// What one paint pass draws (PaintTree).
enum TLTInternalPaintOption : std::uint8_t {
    poBackground,
    poColumnColor,
    poDrawFocusRect,
    poDrawSelection,
    poDrawDropMark,
    poGridLines,
    poMainOnly,
    poSelectedOnly,
    poUnbuffered
};
using TLTInternalPaintOptions = TSmallSet<TLTInternalPaintOption, std::uint16_t>;

// One indentation level's piece of the tree lines.
enum TLTLineType : std::uint8_t {
    ltNone,
    ltBottomRight,
    ltTopDown,
    ltTopDownRight,
    ltRight,
    ltTopRight,
    ltLeft,
    ltLeftBottom
};
using TLineImage = std::vector<TLTLineType>;

// Where a drop over a node would put the data.
enum TDropMode : std::uint8_t { dmNowhere, dmAbove, dmOnNode, dmBelow };

enum TLTImageKind : std::uint8_t { ikNormal, ikSelected, ikState, ikOverlay };
enum TItemEraseAction : std::uint8_t { eaColor, eaDefault, eaNone };

// One image slot of a cell: which image of which list, and where in the row.
struct TLTCellImageInfo {
    int Index = -1;
    int XPos = 0;
    int YPos = 0;
    bool Ghosted = false;
    const TImageList* Images = nullptr;
};

// The record handed through the paint of one cell. Coordinates are those of the row: x in tree
// coordinates, y from the row's top.
struct TLTPaintInfo {
    ICanvas* Canvas = nullptr;
    TLTInternalPaintOptions PaintOptions;
    PLazyNode Node = nullptr;
    TColumnIndex Column = NoColumn;
    int Position = 0;
    TRect CellRect;
    TRect ContentRect;
    int NodeWidth = 0;
    TAlignment Alignment = taLeftJustify;
    TAlignment CaptionAlignment = taLeftJustify;
    bool RightToLeft = false;
    QPoint BrushOrigin;
    TLTCellImageInfo ImageInfo[4];  // normal, state, check, overlay
};
enum TLTImageInfoIndex : std::uint8_t { iiNormal, iiState, iiCheck, iiOverlay };

// Update flags of DoSetOffsetXY.
enum TScrollUpdateOption : std::uint8_t {
    suoRepaintHeader,
    suoRepaintScrollBars,
    suoScrollClientArea,
    suoUpdateNCArea
};
using TScrollUpdateOptions = TSmallSet<TScrollUpdateOption, std::uint8_t>;
inline constexpr TScrollUpdateOptions DefaultScrollUpdateFlags{suoRepaintHeader,
                                                               suoRepaintScrollBars,
                                                               suoScrollClientArea,
                                                               suoUpdateNCArea};

class TBaseLazyTree : public QAbstractScrollArea, public LazyTreeModel {
    Q_OBJECT
public:
    explicit TBaseLazyTree(QWidget* parent = nullptr);
    ~TBaseLazyTree() override;

    std::function<void(TBaseLazyTree&, int deltaX, int deltaY)> OnScroll;
    std::function<void(TBaseLazyTree&, Qt::Orientation bar, bool show)> OnShowScrollBar;
    // Images of a node: the index in the tree's Images (or StateImages for ikState); -1 none.
    std::function<void(TBaseLazyTree&, PLazyNode node, TLTImageKind kind, TColumnIndex column,
                       bool& ghosted, int& imageIndex)>
        OnGetImageIndex;
    // The same with the list to take the image from (nil: the tree's list of the kind).
    std::function<void(TBaseLazyTree&, PLazyNode node, TLTImageKind kind, TColumnIndex column,
                       bool& ghosted, int& imageIndex, const TImageList*& imageList)>
        OnGetImageIndexEx;
    std::function<void(TBaseLazyTree&, ICanvas& canvas)> OnBeforePaint;
    std::function<void(TBaseLazyTree&, ICanvas& canvas)> OnAfterPaint;
    std::function<void(TBaseLazyTree&, ICanvas& canvas, PLazyNode node, const TRect& itemRect,
                       TColor& itemColor, TItemEraseAction& eraseAction)>
        OnBeforeItemErase;
    std::function<void(TBaseLazyTree&, ICanvas& canvas, PLazyNode node, const TRect& itemRect)>
        OnAfterItemErase;
    std::function<void(TBaseLazyTree&, ICanvas& canvas, PLazyNode node, const TRect& itemRect,
                       bool& customDraw)>
        OnBeforeItemPaint;
    std::function<void(TBaseLazyTree&, ICanvas& canvas, PLazyNode node, const TRect& itemRect)>
        OnAfterItemPaint;
    std::function<void(TBaseLazyTree&, ICanvas& canvas, PLazyNode node, TColumnIndex column,
                       const TRect& cellRect)>
        OnAfterCellPaint;
    std::function<void(TBaseLazyTree&, ICanvas& canvas, const TRect& r, bool& handled)>
        OnPaintBackground;
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
    // A duration of 0 also takes toAnimatedToggle out of the animation options; any other
    // duration puts it in.
    void SetAnimationDuration(int ms);
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

    // ----- painting (LazyTreesPaint.cpp) ------------------------------------------------------
    // Paints the part `window` of the tree (tree coordinates) onto the canvas at `target`, row
    // by row. Buffered (without poUnbuffered) each row is drawn into one reused row picture
    // first and then copied; unbuffered it goes straight onto the canvas, clipped to the row.
    // A pass started while another runs (a handler painting the tree) does nothing.
    void PaintTree(ICanvas& canvas, const TRect& window, QPoint target,
                   TLTInternalPaintOptions options);
    // Horizontal shift of the painted area right to left (no header columns: 0 unless the
    // vertical bar is counted).
    int ComputeRTLOffset(bool excludeScrollBar = false);
    // The node's line pieces, one per indentation level; returns the number of selected
    // ancestors below the root.
    int DetermineLineImages(PLazyNode node, TLineImage& lineImage);
    void DrawLineImage(const TLTPaintInfo& info, int x, int y, int h, int vAlign, TLTLineType style,
                       bool reverse);
    // Rebuilds the six button pictures and the line pattern (after colours, options or styles
    // changed).
    void PrepareBitmaps(bool needButtons, bool needLines);
    const QImage& buttonImage(bool expanded, bool hot, bool selected) const;
    const TImageList* Images() const { return FImages; }
    void SetImages(const TImageList* images);
    const TImageList* StateImages() const { return FStateImages; }
    void SetStateImages(const TImageList* images);
    // The check images in use; built from the style the first time they are needed, unless a
    // window handed the tree a shared set.
    const TCheckImageSet& checkImages();
    void SetCheckImageSet(std::shared_ptr<const TCheckImageSet> images);
    // Image index of the node's check box (its type and state, enabled, hot).
    int GetCheckImage(PLazyNode node);
    TLTLineStyle LineStyle() const { return FLineStyle; }
    void SetLineStyle(TLTLineStyle value);
    TLTLineMode LineMode() const { return FLineMode; }
    void SetLineMode(TLTLineMode value);
    TLTButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TLTButtonStyle value);
    TLTButtonFillMode ButtonFillMode() const { return FButtonFillMode; }
    void SetButtonFillMode(TLTButtonFillMode value);
    TLTDrawSelectionMode DrawSelectionMode() const { return FDrawSelectionMode; }
    void SetDrawSelectionMode(TLTDrawSelectionMode value);
    // The colour of a TLTColors index as an RGB value of this tree's palette.
    TColor color(int index) const { return FColors->GetColor(index); }

    // ----- background, drop mark, rubber band, line and check pictures (LazyTreesPaint.cpp,
    // LazyTreesImages.cpp) ---------------------------------------------------------------------
    // The picture behind the rows, shown with toShowBackground: tiled so that it scrolls with
    // the content, or with toStaticBackground drawn once at the offsets of the client area.
    const QImage& Background() const { return FBackground; }
    void SetBackground(const QImage& picture);
    // The node a drag hovers (through SetDropTargetNode) and where a drop would put it; the
    // drag-and-drop part sets it. The mark above or below the node shows with toShowDropmark.
    TDropMode LastDropMode() const { return FDropTargetNode ? FLastDropMode : dmNowhere; }
    void SetDropTarget(PLazyNode node, TDropMode mode);
    // With lsCustomStyle the owner hands the eight pattern words of the tree lines (low byte of
    // each word: one row, leftmost pixel in bit 7; a clear bit draws the line colour).
    std::function<void(TBaseLazyTree&, std::array<std::uint16_t, 8>& bits)> OnGetLineStyle;
    // Before one level's piece of the tree lines is drawn: the handler may move its x (row
    // coordinates). Level counts from 0 with toShowRoot, else from 1.
    std::function<void(TBaseLazyTree&, PLazyNode node, int level, int& posX)> OnBeforeDrawTreeLine;
    // Lets the owner draw the six button pictures (minus, plus, their hot and selected-hot
    // forms), each already sized and filled transparent.
    std::function<void(TBaseLazyTree&, QImage& minus, QImage& plus, QImage& hotMinus,
                       QImage& hotPlus, QImage& selectedHotMinus, QImage& selectedHotPlus,
                       QSize size)>
        OnPrepareButtonBitmaps;
    // The owner's check pictures for ckCustom (the tree keeps a copy); nil for none.
    const TImageList* CustomCheckImages() const
    {
        return FCustomCheckImages ? &*FCustomCheckImages : nullptr;
    }
    void SetCustomCheckImages(const TImageList* images);
    // The rubber band's part inside rowRect (row coordinates), rubber band in the same
    // coordinates: blended and framed with smBlendedRectangle or themes, else a focus frame.
    void PaintSelectionRectangle(ICanvas& canvas, const TRect& selectionRect, const TRect& rowRect);
    // The drop mark at the top (dmAbove) or bottom (dmBelow) of r; nothing for other modes.
    void PaintDropMark(ICanvas& canvas, PLazyNode node, const TRect& r);

    // ----- focus (LazyTreesFocus.cpp) --------------------------------------------------------
    // Asked before the focus moves (node or column); a handler may refuse.
    std::function<void(TBaseLazyTree&, PLazyNode oldNode, PLazyNode newNode, TColumnIndex oldColumn,
                       TColumnIndex newColumn, bool& allowed)>
        OnFocusChanging;
    // Moves the focus (asking OnFocusChanging with ask) without firing OnFocusChanged; the
    // new node is repainted and scrolled into view.
    void ChangeFocusedNode(PLazyNode node, bool ask);
    // ChangeFocusedNode, then OnFocusChanged when the focus really moved to the node.
    void SetFocusedNode(PLazyNode node) override;
    // Both at once with one OnFocusChanged.
    void SetFocusedNodeAndColumn(PLazyNode node, TColumnIndex column);
    // With toAlwaysSelectNode: selects the node chosen to be next (or the first visible one
    // when the tree has the focus) when nothing is selected, and focuses it.
    void EnsureNodeSelected() override;
    void EnsureNodeFocused();

    // ----- node-indexed properties ---------------------------------------------------------
    bool MultiLine(PLazyNode node) const { return node && node->has(vsMultiline); }
    // A multi-line node wraps its text within its row; with toVariableNodeHeight its height is
    // measured again.
    void SetMultiline(PLazyNode node, bool value);
    bool IsDisabled(PLazyNode node) const { return node && node->has(vsDisabled); }
    // A disabled node takes no selection or check changes and is drawn greyed.
    void SetDisabled(PLazyNode node, bool value);

    // ----- mouse (LazyTreesMouse.cpp) -----------------------------------------------------
    // The row's element under a point: Offset from the cell's left edge, Right the cell's
    // width, the cell's alignment (mirrored right to left by the RTL variant itself).
    void DetermineHitPositionLTR(THitInfo& hitInfo, int offset, int right, TAlignment alignment);
    void DetermineHitPositionRTL(THitInfo& hitInfo, int offset, int right, TAlignment alignment);
    PLazyNode HotNode() const { return FCurrentHotNode; }
    // Pressed check box waiting for its button-up (nil when none).
    PLazyNode checkNode() const { return FCheckNode; }
    bool IsMouseSelecting() const
    {
        return FStates.contains(tsDrawSelPending) || FStates.contains(tsDrawSelecting);
    }
    // Called when a button-down makes a drag of the node pending; a tree with this hook set
    // drags automatically, as with dmAutomatic.
    std::function<void(TBaseLazyTree&, PLazyNode node)> OnDragStartHook;
    // F1 on the tree: the help context of the focused node's row.
    Q_SIGNAL void helpRequested(PLazyNode node, TColumnIndex column);

    // ----- keyboard (LazyTreesKeys.cpp) ----------------------------------------------------
    // Rows one wheel notch scrolls for a number of lines per notch; -1 (a page per notch)
    // gives the client height less one row.
    static int wheelScrollPixels(int linesPerNotch, int clientHeight, int rowHeight);

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
    // Scrolls sideways until the column shows (centred with center); false without header
    // columns or for an index that is not a column.
    bool ScrollColumnIntoView(TColumnIndex column, bool center);
    // The node's row in client coordinates (empty when it is not shown). Throws for nil and root.
    QRect GetDisplayRect(PLazyNode node, TColumnIndex column, bool textOnly, bool unclipped = false,
                         bool applyCellContentMargin = false);
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

    // ----- input: events, properties, keys and scroll codes --------------------------------
    // (LazyTreesProperties.cpp, LazyTreesKeys.cpp, LazyTreesMouse.cpp, LazyTreesScroll.cpp)
    // Tree-view queries that other programs send to a tree window have no counterpart: there
    // are no cross-process window messages here, and such a query would hand the tree node
    // handles from outside that it could not check.

    // The node under the mouse changed; newNode nil when the mouse left the tree.
    std::function<void(TBaseLazyTree&, PLazyNode oldNode, PLazyNode newNode)> OnHotChange;
    // Button up over a node; double click over a node.
    std::function<void(TBaseLazyTree&, const THitInfo& hitInfo)> OnNodeClick;
    std::function<void(TBaseLazyTree&, const THitInfo& hitInfo)> OnNodeDblClick;
    // Button up (double click) in the column in which the button went down. A tree without
    // header columns has only the implicit column -1, which takes no column clicks.
    std::function<void(TBaseLazyTree&, TColumnIndex column, Qt::KeyboardModifiers shift)>
        OnColumnClick;
    std::function<void(TBaseLazyTree&, TColumnIndex column, Qt::KeyboardModifiers shift)>
        OnColumnDblClick;
    // Each key down before the tree acts on it; the handler may change the key and the
    // modifiers, and doDefault false leaves the key to nobody.
    std::function<void(TBaseLazyTree&, int& key, Qt::KeyboardModifiers& shift, bool& doDefault)>
        OnKeyAction;
    // F1: asked for the focused node, then its ancestors, until a context other than 0 comes.
    std::function<void(TBaseLazyTree&, PLazyNode node, TColumnIndex column, int& helpContext)>
        OnGetHelpContext;
    // The cursor the tree chose for the point under the mouse; the handler may change it.
    std::function<void(TBaseLazyTree&, Qt::CursorShape& cursor)> OnGetCursor;
    // Before a node's height may be dragged (allowed starts as the tree's own answer), each
    // move while it is dragged, and a double click on its splitter.
    std::function<void(TBaseLazyTree&, QPoint p, PLazyNode node, TColumnIndex column,
                       bool& allowed)>
        OnCanSplitterResizeNode;
    std::function<void(TBaseLazyTree&, PLazyNode node, TColumnIndex column,
                       Qt::KeyboardModifiers shift, QPoint& trackPoint, QPoint p, bool& allowed)>
        OnNodeHeightTracking;
    std::function<void(TBaseLazyTree&, PLazyNode node, TColumnIndex column,
                       Qt::KeyboardModifiers shift, QPoint p, bool& allowed)>
        OnNodeHeightDblClickResize;
    std::function<void(TBaseLazyTree&)> OnMouseEnter;
    std::function<void(TBaseLazyTree&)> OnMouseLeave;
    // Whether the node's cell may be edited (allowed starts as the tree's own answer).
    std::function<void(TBaseLazyTree&, PLazyNode node, TColumnIndex column, bool& allowed)>
        OnEditing;
    // The context menu of a node (nil: none, the parent is asked while askParent stays true).
    std::function<void(TBaseLazyTree&, PLazyNode node, TColumnIndex column, QPoint p,
                       bool& askParent, QMenu*& menu)>
        OnGetPopupMenu;
    // F1 resolved to a help context other than 0.
    Q_SIGNAL void helpContextRequested(int helpContext);

    // Properties stored without further effect.
    void SetAutoExpandDelay(int ms) { FAutoExpandDelay = std::max(ms, 0); }
    void SetEditDelay(int ms) { FEditDelay = std::max(ms, 0); }
    int DragHeight() const { return FDragHeight; }
    void SetDragHeight(int value) { FDragHeight = value; }
    int DragWidth() const { return FDragWidth; }
    void SetDragWidth(int value) { FDragWidth = value; }
    TDragOperations DragOperations() const { return FDragOperations; }
    void SetDragOperations(TDragOperations value) { FDragOperations = value; }
    TLTDragType DragType() const { return FDragType; }
    void SetDragType(TLTDragType value) { FDragType = value; }
    TLTSearchDirection IncrementalSearchDirection() const { return FSearchDirection; }
    void SetIncrementalSearchDirection(TLTSearchDirection value) { FSearchDirection = value; }
    TLTSearchStart IncrementalSearchStart() const { return FSearchStart; }
    void SetIncrementalSearchStart(TLTSearchStart value) { FSearchStart = value; }
    int IncrementalSearchTimeout() const { return FSearchTimeout; }
    void SetIncrementalSearchTimeout(int ms) { FSearchTimeout = std::max(ms, 0); }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool value) { FWantTabs = value; }
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int value) { FHelpContext = value; }
    // Properties whose setters do more.
    TLTIncrementalSearch IncrementalSearch() const { return FIncrementalSearch; }
    // isNone ends a running search: its timer, buffer and last hit are dropped.
    void SetIncrementalSearch(TLTIncrementalSearch value);
    QString SearchBuffer() const { return FSearchBuffer; }
    int BackgroundOffsetX() const { return FBackgroundOffsetX; }
    int BackgroundOffsetY() const { return FBackgroundOffsetY; }
    // Index 0 is X, 1 is Y; a change repaints.
    void SetBackgroundOffset(int index, int value);
    // Moves the focus to another column; refused by OnFocusChanging, unchanged, or a column
    // the tree does not have (a tree without header columns has only -1).
    void SetFocusedColumn(TColumnIndex column);
    // Both offsets at once through DoSetOffsetXY.
    void SetOffsetXY(QPoint value);
    // Every node made (the whole tree is initialised), then their number without the root.
    std::uint32_t TotalCount();
    // Always true: the tree paints through its own row buffer.
    bool DoubleBuffered() const { return true; }
    void SetDoubleBuffered(bool) {}
    PLazyNode DropTargetNode() const { return FDropTargetNode; }
    // The node under a drag; repaints the old and the new target. The root means none.
    void SetDropTargetNode(PLazyNode node);
    int OperationCount() const { return FOperationCount; }
    int UpdateCount() const { return FUpdateCount; }
    // Writes the state set directly, without OnStateChange.
    void SetTreeStates(TLazyTreeStates states) { FStates = states; }
    // Values below -1 become -1. Unlike the bare model, the control takes a new size with
    // nodes present: every node is made anew with the new size (the root keeps its count).
    void SetNodeDataSize(int size);

    // Node-indexed accessors.
    // False for a node that says it has children but has not made them yet.
    bool GetChildrenInitialized(PLazyNode node) const;
    // The node's vertical alignment 0..100 (values above 100 count as 100).
    int GetVerticalAlignment(PLazyNode node) const { return node ? node->Align : 0; }
    void SetVerticalAlignment(PLazyNode node, int value);
    // The parent; nil for nil and top-level nodes. Setting moves the node to the end of the
    // new parent's children.
    PLazyNode GetNodeParent(PLazyNode node) const;
    void SetNodeParent(PLazyNode node, PLazyNode parent);
    // Every ancestor below the root expanded and visible. Throws for nil and the root.
    bool GetVisiblePath(PLazyNode node) const;
    // True expands every collapsed ancestor; false does nothing. Throws for nil and the root.
    void SetVisiblePath(PLazyNode node, bool value);
    // Sets the node's visibility; true also expands and shows every ancestor (the model's
    // GetFullyVisible reads it). Throws for nil and the root.
    void SetFullyVisible(PLazyNode node, bool value);

    // The scroll-bar requests, one code per bar action (see WMScroll).
    static constexpr int SB_LINEUP = 0;
    static constexpr int SB_LINEDOWN = 1;
    static constexpr int SB_PAGEUP = 2;
    static constexpr int SB_PAGEDOWN = 3;
    static constexpr int SB_THUMBPOSITION = 4;
    static constexpr int SB_THUMBTRACK = 5;
    static constexpr int SB_TOP = 6;
    static constexpr int SB_BOTTOM = 7;
    static constexpr int SB_ENDSCROLL = 8;
    // A scroll request of a bar. Vertically LINEUP and PAGEUP move the view up. Horizontally
    // LINEUP and PAGEUP move it left and LINEDOWN and PAGEDOWN right, in both directions; TOP
    // shows the content's start edge (its right end right to left), BOTTOM the other end.
    // trackPos, for the thumb codes, is where the view's left edge lies in the content.
    // Codes above SB_ENDSCROLL are ignored.
    void WMScroll(Qt::Orientation bar, int code, int trackPos = 0);
    // The offset change of one wheel step: delta in 1/8 degree (120 a notch), lines per notch
    // (-1 a page), the modifiers. Vertical when the content is higher than the client and
    // Shift is not held, else horizontal (then x is the change of OffsetX).
    static QPoint wheelDelta(int delta, int linesPerNotch, Qt::KeyboardModifiers modifiers,
                             bool contentHigher, int clientWidth, int clientHeight,
                             int defaultNodeHeight, int scrollWidth, bool rightToLeft);
    // The tree's timers by id: 1 drag expand, 2 edit, 4 auto scroll, 5 change notice,
    // 6 structure notice, 7 incremental search, 8 window re-creation.
    static constexpr int ExpandTimer = 1;
    static constexpr int EditTimer = 2;
    static constexpr int HeaderTimer = 3;
    static constexpr int ScrollTimer = 4;
    static constexpr int SearchTimer = 7;
    static constexpr int ThemeChangedTimer = 8;
    bool timerActive(int id) const;
    void StopTimer(int id) { StopNoticeTimer(id); }
    // The node whose height the mouse drags (nil when none).
    PLazyNode heightTrackNode() const { return FHeightTrackNode; }
    // The cursor the tree shows at a client point (what the mouse cursor becomes there).
    Qt::CursorShape cursorAt(QPoint p);
    // Whether the node's height may be dragged in the column at p (toNodeHeightResize, the
    // node not the root; then OnCanSplitterResizeNode).
    bool CanSplitterResizeNode(QPoint p, PLazyNode node, TColumnIndex column);
    // Whether the node's cell may be edited: toEditable, not read only, not disabled, then
    // OnEditing.
    virtual bool CanEdit(PLazyNode node, TColumnIndex column);
    // Shows the context menu of the node at a client point (OnGetPopupMenu asks for it).
    void DoPopupMenu(PLazyNode node, TColumnIndex column, QPoint position);

    // ----- the clipboard (LazyTreesClipboard.cpp) --------------------------------------------
    // Trees that should recognise each other's nodes on the clipboard share one context; a
    // tree without one makes its own over the system clipboard when it first needs it.
    void SetClipboardContext(std::shared_ptr<TLTClipboardContext> context);
    TLTClipboardContext& clipboardContext();
    // The formats the tree may offer: only names the registry knows for this kind of tree;
    // kept sorted, without duplicates.
    QStringList ClipboardFormats() const { return FClipboardFormats; }
    void SetClipboardFormats(const QStringList& formats);
    // Adds a name under the same rule; its index, or -1 when refused.
    int AddClipboardFormat(const QString& format);
    // The owner may add or change the MIME types the tree offers.
    std::function<void(TBaseLazyTree&, QStringList& mimeTypes)> OnGetUserClipboardFormats;
    // Renders a format the tree does not render itself; handled set when data was made.
    std::function<void(TBaseLazyTree&, const QString& mimeType, bool forClipboard, QByteArray& data,
                       bool& handled)>
        OnRenderOLEData;
    // The selected nodes go to the clipboard and are marked until the clipboard changes.
    void CopyToClipboard();
    // The same, and the marked nodes go when they are pasted elsewhere; not when read-only.
    void CutToClipboard();
    // The clipboard's nodes at the focused node in DefaultPasteMode. False when it holds no
    // nodes or the tree is read-only. A paste of this tree's own cut nodes moves them.
    bool PasteFromClipboard();
    // The clipboard keeps the data rendered in full, so that it outlives the tree.
    void FlushClipboard();
    void CancelCutOrCopy();
    // After another tree pasted the cut nodes: they are deleted here.
    void FinishCutOrCopy();
    // Inserts the nodes of data at target with mode; optimized: the source is a tree of this
    // context with a pending cut, whose nodes are moved. True when data held nodes.
    bool ProcessOLEData(TBaseLazyTree* source, const QMimeData& data, PLazyNode targetNode,
                        TLTNodeAttachMode mode, bool optimized);
    // The tree that made the data, when it is alive in this context; nil otherwise.
    TBaseLazyTree* GetTreeFromDataObject(const QMimeData& data);
    std::uint32_t CutCopyCount();
    // The MIME types the tree offers, in priority order, then the owner's.
    QStringList EnumerateClipboardFormats();
    // The bytes of a format for the clipboard (the cut/copy set) or a drag (the selection);
    // empty when the tree cannot render it.
    virtual QByteArray RenderOLEData(const QString& mimeType, bool forClipboard);
    enum TLTEditAction : std::uint8_t { eaSelectAll, eaCopy, eaCut, eaPaste, eaDelete };
    // The standard edit actions; false when not handled (the changing ones under toReadOnly).
    bool ExecuteAction(TLTEditAction action);
    // The tree's number in its clipboard context.
    std::uint32_t clipboardId();

    // ----- node editing (LazyTreesEditing.cpp) -----------------------------------------------
    // The link of a starting edit; leaving it nil lets the tree make its own (a string tree).
    std::function<void(TBaseLazyTree&, PLazyNode node, TColumnIndex column,
                       std::shared_ptr<ILTEditLink>& editLink)>
        OnCreateEditor;
    std::function<void(TBaseLazyTree&, PLazyNode node, TColumnIndex column)> OnEdited;
    std::function<void(TBaseLazyTree&, TColumnIndex column)> OnEditCancelled;
    // Starts editing the node's cell; true when an edit runs afterwards. Throws for a nil node
    // or a column outside -1 .. column count - 1. While editing, or read-only, it answers
    // whether an edit runs; otherwise the node takes the focus first.
    bool EditNode(PLazyNode node, TColumnIndex column);
    // Ends the edit taking its value; false when the editor refuses (or only a click's edit
    // was pending, which is dropped). True when nothing was being edited.
    bool EndEditNode() override;
    // Ends the edit dropping its value; true without a window or without an edit.
    bool CancelEditNode() override;
    bool IsEditing() const { return FStates.contains(tsEditing); }
    std::shared_ptr<ILTEditLink> EditLink() const { return FEditLink; }

    // ----- incremental search (LazyTreesSearch.cpp) ----------------------------------------
    // Asked for each node the search compares; result starts at 0, which means a match.
    std::function<void(TBaseLazyTree&, PLazyNode node, const QString& searchText, int& result)>
        OnIncrementalSearch;
    // The sound of a search that finds nothing; the tree makes a system one until given one.
    // Null gives silence.
    void SetBeeper(std::shared_ptr<IBeeper> beeper) { FBeeper = std::move(beeper); }
    // The last node the search found (nil when none, or after it was freed).
    PLazyNode LastSearchNode() const { return FLastSearchNode; }

    // ----- hints (LazyTreesHint.cpp) -------------------------------------------------------
    // The kind of a node's hint (starts as GetDefaultHintKind), the size of an owner-drawn
    // one (starts empty: no hint) and its painting.
    std::function<void(TBaseLazyTree&, PLazyNode node, TColumnIndex column, TLTHintKind& kind)>
        OnGetHintKind;
    std::function<void(TBaseLazyTree&, PLazyNode node, TColumnIndex column, QRect& r)>
        OnGetHintSize;
    std::function<void(TBaseLazyTree&, ICanvas& hintCanvas, PLazyNode node, const QRect& r,
                       TColumnIndex column)>
        OnDrawHint;
    // Off: no hint of any kind. The control's own hint (hmDefault, hmHintAndDefault) is the
    // widget's tool tip text.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    // What Qt's tooltip event at a client point does: decides on a hint and shows it; true
    // when the tree's own hint window shows (false also when the control's plain tool tip is
    // left to Qt, with hmDefault). Nothing changes while the point stays inside the last
    // hint's rectangle.
    bool ShowHintAt(QPoint clientPos);
    // The same for Qt's tooltip event over the header band at a point in header coordinates:
    // the column's Hint, or its caption when the caption is cut off, in the tree's hint
    // window below the header. None while the header tracks or drags, and none without
    // hoShowHint.
    bool ShowHeaderHintAt(QPoint headerPos);
    // Hides the hint and forgets its rectangle.
    void CancelHint();
    // The area (client coordinates) for which the current hint was shown; empty when none.
    QRect LastHintRect() const { return FLastHintRect; }
    const TLTHintData& HintData() const { return FHintData; }
    // The tree's hint window, nil until the first hint.
    TLazyTreeHintWindow* hintWindow() const { return m_hintWindow; }
    // True until a hint window exists and again once it is gone; an animation stops then.
    bool HintWindowDestroyed() const { return FHintWindowDestroyed; }
    // HintAnimation with hatSystemDefault resolved from the application's tooltip effects.
    // hatSlide is shown without animation.
    virtual THintAnimationType GetHintAnimationType() const;

    // ----- columns and header (LazyTreesColumnsTree.cpp) ----------------------------------
    TLTHeader& Header() const { return *FHeader; }
    // The caption colour of the header (its font's colour; no framework visual styles here).
    QColor HeaderFontColor() const;
    // The widest content of a column over the visible nodes: the rows in view only with
    // useSmartColumnWidth, else all of them. The column's width when the running operation
    // was cancelled.
    int GetMaxColumnWidth(TColumnIndex column, bool useSmartColumnWidth = false);
    // A column's width changed (-1: after a header stream was read).
    std::function<void(TLTHeader&, TColumnIndex column)> OnColumnResize;
    std::function<void(TLTHeader&, TSmartAutoFitType& smartAutoFitType)> OnBeforeAutoFitColumns;
    std::function<void(TLTHeader&, TColumnIndex column, TSmartAutoFitType& smartAutoFitType,
                       bool& allowed)>
        OnBeforeAutoFitColumn;
    std::function<void(TLTHeader&, TColumnIndex column)> OnAfterAutoFitColumn;
    std::function<void(TLTHeader&)> OnAfterAutoFitColumns;
    std::function<void(TLTHeader&, TColumnIndex column, bool& useSmartColumnWidth)>
        OnBeforeGetMaxColumnWidth;
    std::function<void(TLTHeader&, TColumnIndex column, int& maxWidth)> OnAfterGetMaxColumnWidth;

    // ----- header painting and header mouse (LazyTreesHeaderPaint.cpp, -Mouse.cpp) ---------
    // Owner draw (with hoOwnerDraw): whole cells of vsOwnerDraw columns, or, when both of the
    // other two are set, the parts the query names for each cell and the background.
    std::function<void(TLTHeader&, QPainter& canvas, TLazyTreeColumn& column, const TRect& r,
                       bool hover, bool pressed, TLTDropMarkMode dropMark)>
        OnHeaderDraw;
    std::function<void(TLTHeader&, THeaderPaintInfo& paintInfo, THeaderPaintElements& elements)>
        OnHeaderDrawQueryElements;
    std::function<void(TLTHeader&, THeaderPaintInfo& paintInfo, THeaderPaintElements elements)>
        OnAdvancedHeaderDraw;
    std::function<void(TLTHeader&, const TLTHeaderHitInfo& hitInfo)> OnHeaderClick;
    std::function<void(TLTHeader&, const TLTHeaderHitInfo& hitInfo)> OnHeaderDblClick;
    // x and y in header coordinates.
    std::function<void(TLTHeader&, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                       int y)>
        OnHeaderMouseDown;
    std::function<void(TLTHeader&, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                       int y)>
        OnHeaderMouseUp;
    std::function<void(TLTHeader&, Qt::KeyboardModifiers shift, int x, int y)> OnHeaderMouseMove;
    // A column drag may start (allowed starts true); it ended on another column (the column's
    // position before the drop) or outside the tree (dropPosition in screen coordinates).
    std::function<void(TLTHeader&, TColumnIndex column, bool& allowed)> OnHeaderDragging;
    std::function<void(TLTHeader&, TColumnIndex column, int oldPosition)> OnHeaderDragged;
    std::function<void(TLTHeader&, TColumnIndex column, QPoint dropPosition)> OnHeaderDraggedOut;
    std::function<void(TLTHeader&, Qt::CursorShape& cursor)> OnGetHeaderCursor;
    // A column was shown or hidden from the header's column menu.
    std::function<void(TBaseLazyTree&, TColumnIndex column, bool visible)>
        OnColumnVisibilityChanged;
    std::function<void(TLTHeader&, TColumnIndex column, Qt::KeyboardModifiers shift)>
        OnBeforeColumnWidthTracking;
    std::function<void(TLTHeader&, TColumnIndex column, Qt::KeyboardModifiers shift,
                       QPoint& trackPoint, QPoint p, bool& allowed)>
        OnColumnWidthTracking;
    std::function<void(TLTHeader&, TColumnIndex column)> OnAfterColumnWidthTracking;
    std::function<void(TLTHeader&, TColumnIndex column, Qt::KeyboardModifiers shift, QPoint p,
                       bool& allowed)>
        OnColumnWidthDblClickResize;
    std::function<void(TLTHeader&, QPoint p, TColumnIndex column, bool& allowed)>
        OnCanSplitterResizeColumn;
    std::function<void(TLTHeader&, QPoint p, bool& allowed)> OnCanSplitterResizeHeader;
    std::function<void(TLTHeader&, Qt::KeyboardModifiers shift)> OnBeforeHeaderHeightTracking;
    std::function<void(TLTHeader&, QPoint& p, Qt::KeyboardModifiers shift, bool& allowed)>
        OnHeaderHeightTracking;
    std::function<void(TLTHeader&)> OnAfterHeaderHeightTracking;
    std::function<void(TLTHeader&, QPoint& p, Qt::KeyboardModifiers shift, bool& allowed)>
        OnHeaderHeightDblClickResize;

protected:
    friend class TLTHeader;
    friend class TLazyTreeColumns;
    friend class TLazyTreeColumn;
    friend class TLTHeaderWidget;
    virtual void DoColumnResize(TColumnIndex column);
    // The main column changed: a running edit ends.
    virtual void MainColumnChanged();
    // The model's automatic sort asks the header.
    TColumnIndex SortColumn() const override;
    TSortDirection SortDirection() const override;
    // The header follows a resize of the tree (auto-size fit or rescale, springs, its band).
    void headerResized();
    // Columns take the tree's reading order; with toAutoBidiColumnOrdering their order turns
    // round with it.
    void columnsFollowDirection();
    // The timer that steps an animated column resize.
    // The cells of one row in header columns: scrolling cells first, fixed ones over them.
    void paintColumnCells(TLTPaintInfo& info, const TRect& window, int vAlign, int buttonX,
                          int buttonY, int indentSize, const TLineImage& lineImage, int height);
    // Whether the node shows nothing in the column (toAutoSpanColumns lets the cell before it
    // take its room); the base tree knows no cell content.
    virtual bool ColumnIsEmpty(PLazyNode node, TColumnIndex column) { return false; }
    // A cell's edges in tree coordinates (a fixed column's stay put while the tree scrolls);
    // without columns the whole row. False for a column that is not shown.
    bool cellBoundsInTree(TColumnIndex column, int& left, int& right);
    void startColumnAnimation() { m_columnAnimation.start(1, this); }
    void stopColumnAnimation() { m_columnAnimation.stop(); }
    std::unique_ptr<TLTHeader> FHeader;
    QBasicTimer m_columnAnimation;
    // The hooks of the header events above (each fires its event when it is set).
    virtual void DoHeaderDraw(QPainter& canvas, TLazyTreeColumn& column, const TRect& r, bool hover,
                              bool pressed, TLTDropMarkMode dropMark);
    virtual void DoHeaderDrawQueryElements(THeaderPaintInfo& paintInfo,
                                           THeaderPaintElements& elements);
    virtual void DoAdvancedHeaderDraw(THeaderPaintInfo& paintInfo, THeaderPaintElements elements);
    virtual void DoHeaderClick(const TLTHeaderHitInfo& hitInfo);
    virtual void DoHeaderDblClick(const TLTHeaderHitInfo& hitInfo);
    virtual void DoHeaderMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                                   int y);
    virtual void DoHeaderMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    virtual void DoHeaderMouseMove(Qt::KeyboardModifiers shift, int x, int y);
    virtual bool DoHeaderDragging(TColumnIndex column);
    virtual void DoHeaderDragged(TColumnIndex column, int oldPosition);
    virtual void DoHeaderDraggedOut(TColumnIndex column, QPoint dropPosition);
    virtual void DoGetHeaderCursor(Qt::CursorShape& cursor);
    virtual void DoColumnVisibilityChanged(TColumnIndex column, bool visible);

public:
    // ----- printing (LazyTreesPrint.cpp) ----------------------------------------------------
    // The whole tree, with the header above it when asked and shown, on pages of the printer:
    // row of pages by row of pages, scaled by the printer's text height against the screen's,
    // painted on a white background with grid lines only. Nil prints nothing (false). False
    // with *error set when the printer refused the job or could not finish it; an exception of
    // a paint handler abandons the job and passes on. The tree's font and colours are back as
    // they were on every way out.
    bool Print(IPrinter* printer, bool printHeader, const PrintSetup& setup,
               QString* error = nullptr);
    bool Print(IPrinter* printer, bool printHeader);
    // Pages across (width) and down (height) for a picture of the given size on pages of the
    // given size (tree pixels); at least one each way.
    static QSize printPageCounts(QSize picture, QSize page);

    // ----- accessibility (LazyTreesAccessibility.cpp) -------------------------------------
    // The accessible objects providers made for the tree (its object() is the tree) and for its
    // focused node (its object() is nil: a node is no QObject); nil when none did. Qt's
    // accessibility cache owns them; both go with the tree.
    QAccessibleInterface* Accessible() const { return FAccessible; }
    void SetAccessible(QAccessibleInterface* value) { FAccessible = value; }
    QAccessibleInterface* AccessibleItem() const { return FAccessibleItem; }
    void SetAccessibleItem(QAccessibleInterface* value) { FAccessibleItem = value; }
    // Where the tree's accessibility events go; Qt's updateAccessibility (which drops them
    // while no client listens) when not set.
    void SetAccessibilityAnnouncer(std::function<void(QAccessibleEvent&)> announcer)
    {
        m_accessibilityAnnouncer = std::move(announcer);
    }

    // ----- drag and drop, auto-scroll, wheel panning (LazyTreesDrag*.cpp, LazyTreesPanning.cpp)
    // A button-down on a node with dmManual asks whether a drag may start there.
    std::function<void(TBaseLazyTree&, PLazyNode node, TColumnIndex column, bool& allowed)>
        OnDragAllowed;
    // A drag enters, moves over or leaves the tree. source: the tree (or other object of this
    // program) the data come from, nil for other programs. effect comes as suggested; accept
    // starts false, and a refusal makes the effect none.
    std::function<void(TBaseLazyTree&, QObject* source, Qt::KeyboardModifiers shift,
                       TDragState state, QPoint pt, TDropMode mode, int& effect, bool& accept)>
        OnDragOver;
    // A drop: the handler inserts the data (ProcessDrop) and sets the effect the source sees.
    // formats: the MIME types the data offer; buttons: the one button the drop counts with.
    std::function<void(TBaseLazyTree&, QObject* source, const QMimeData* data,
                       const QStringList& formats, Qt::KeyboardModifiers shift,
                       Qt::MouseButtons buttons, QPoint pt, int& effect, TDropMode mode)>
        OnDragDrop;
    std::function<void(TBaseLazyTree&)> OnStartDrag;
    // The drag ended at a client point; effect is what the target chose.
    std::function<void(TBaseLazyTree&, QPoint pt, int effect)> OnEndDrag;
    // The first time the tree needs its drag manager; nil leaves the tree's own.
    std::function<void(TBaseLazyTree&, std::unique_ptr<ILTDragManager>& manager)>
        OnCreateDragManager;
    // The data of a drag; nil leaves the tree's own data object.
    std::function<void(TBaseLazyTree&, std::unique_ptr<QMimeData>& data)> OnCreateDataObject;

    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode value) { FDragMode = value; }
    // Starts a drag of the selection: at once, or once the mouse travels threshold pixels from
    // the button-down (a negative threshold takes the platform's drag distance).
    void BeginDrag(bool immediate, int threshold = -1);
    bool Dragging() const;
    ILTDragManager& GetDragManager();
    TLTDragImage& DragImage() { return *FDragImage; }
    // The loop drags run in; nil goes back to the platform's. Not owned.
    void SetDragLoop(IDragLoop* loop) { m_dragLoop = loop; }
    // Where relative to the node at p a drop would go; hitInfo and nodeRect describe p.
    TDropMode DetermineDropMode(QPoint p, THitInfo& hitInfo, QRect& nodeRect);
    // The effect to propose for a drag from source (nil: another program) with the keys held.
    int SuggestDropEffect(QObject* source, Qt::KeyboardModifiers shift, QPoint p,
                          int allowedEffects);
    // The drag picture of the selected nodes around a client point (nothing with diNoImage).
    void PrepareDragImage(QPoint hotSpot, const QMimeData* dataObject);
    // Inserts dropped data at the target in mode, moving the nodes of a tree of this program
    // when the effect is a move, else copying; false with the effect none when nothing came.
    // A failure stops here: nothing is reported but false.
    bool ProcessDrop(const QMimeData& dataObject, PLazyNode targetNode, int& effect,
                     TLTNodeAttachMode mode);
    bool CanAutoScroll() const;
    TScrollDirections ScrollDirections() const { return FScrollDirections; }
    // The edges the view would scroll towards from a client point (after the delay).
    TScrollDirections DetermineScrollDirections(int x, int y);
    void StartAutoScroll(int x, int y);
    void StartWheelPanning(QPoint position);
    void StopWheelPanning();
    // The indicator while wheel panning (nil otherwise) and the name of the cursor shown.
    const TLTPanningWindow* panningWindow() const { return FPanningWindow.get(); }
    QString panningCursorName() const { return FPanningCursor; }
    // The clock edge scrolling measures its delay with; nil goes back to the system's.
    void SetDragClock(const IClock* clock) { m_dragClock = clock; }
    // The drop-target steps with the point in client coordinates (the drag manager calls
    // them); each answers false when a handler failed.
    bool OleDragEnter(Qt::KeyboardModifiers shift, QPoint pt, int& effect);
    bool OleDragOver(QObject* source, Qt::KeyboardModifiers shift, TDragState dragState, QPoint pt,
                     int& effect);
    void OleDragLeave();
    bool OleDragDrop(const QMimeData* dataObject, Qt::KeyboardModifiers shift,
                     Qt::MouseButtons buttons, QPoint pt, int& effect);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    virtual void HandleMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                 QPoint pos, THitInfo& hitInfo);
    virtual void HandleMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos,
                               const THitInfo& hitInfo);
    virtual void HandleMouseDblClick(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                     QPoint pos, const THitInfo& hitInfo);
    void HandleHotTrack(int x, int y);
    virtual bool DoFocusChanging(PLazyNode oldNode, PLazyNode newNode, TColumnIndex oldColumn,
                                 TColumnIndex newColumn);
    // Presses the node's check box (mouse or keyboard form); false when refused.
    bool pressCheckBox(PLazyNode node, TLazyTreeState pending);
    // Releases a pressed check box: applied when apply, else back to its unpressed form.
    void releaseCheckBox(bool apply);
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
    // Besides the events, accessibility clients hear of the change (LazyTreesAccessibility.cpp).
    void DoFocusChanged(PLazyNode node, TColumnIndex column) override;
    void DoChecked(PLazyNode node) override;
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
    // The cell's content; the base tree paints none (a text tree paints its text).
    virtual void DoPaintNode(TLTPaintInfo& info) {}
    virtual void DoGetImageIndex(PLazyNode node, TLTImageKind kind, TColumnIndex column,
                                 bool& ghosted, int& index, const TImageList*& images);
    void GetImageIndex(TLTPaintInfo& info, TLTImageKind kind, TLTImageInfoIndex slot,
                       const TImageList* defaultImages);
    void AdjustImageBorder(int width, int height, bool rtl, int vAlign, TRect& r,
                           TLTCellImageInfo& imageInfo);
    // mainColumn false: a cell of another column (no indentation, lines, button or check box).
    void PaintCell(TLTPaintInfo& info, const TRect& window, int vAlign, int buttonX, int buttonY,
                   int indentSize, const TLineImage& lineImage, bool mainColumn = true);
    void PrepareCell(TLTPaintInfo& info, int windowOrgX, int maxWidth);
    void PaintTreeLines(const TLTPaintInfo& info, int vAlignment, int indentSize,
                        const TLineImage& lineImage);
    void PaintNodeButton(ICanvas& canvas, PLazyNode node, const TRect& r, int buttonX, int buttonY,
                         bool rtl);
    void PaintCheckImage(ICanvas& canvas, const TLTCellImageInfo& info, bool selected);
    void PaintImage(TLTPaintInfo& info, TLTImageInfoIndex slot, bool doOverlay);
    void DrawDottedHLine(const TLTPaintInfo& info, int left, int right, int top);
    void DrawDottedVLine(const TLTPaintInfo& info, int top, int bottom, int left,
                         bool useSelectedBackground);
    // rowTop: the row's top in tree coordinates, where a tiled background takes its phase.
    void EraseRow(ICanvas& canvas, PLazyNode node, TRect r, bool useBackground,
                  TLTInternalPaintOptions options, int rowTop = 0);
    // True while the tree counts as focused for painting (the viewport or the tree has the
    // focus, or toPopupMode).
    bool paintsFocused() const;
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
    const TImageList* FImages = nullptr;
    const TImageList* FStateImages = nullptr;
    std::shared_ptr<const TCheckImageSet> FCheckImages;
    QImage FPlusBM, FMinusBM, FHotPlusBM, FHotMinusBM, FSelectedHotPlusBM, FSelectedHotMinusBM;
    // The line pattern: a pixel is drawn where bit (x + y) % 8 of row y % 8 is clear.
    std::uint16_t FLinePattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    bool FBitmapsPrepared = false;
    QPoint FLastClickPos;
    TRect FNewSelRect;
    // The colour the pattern lines are drawn in (the text colour the caller sets).
    TColor m_lineColor = clBtnShadow;
    // The row picture a buffered pass draws each row into, kept between passes.
    QImage m_rowBuffer;
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

    // Background picture, drop mark and custom check pictures (see their accessors).
    QImage FBackground;
    TDropMode FLastDropMode = dmNowhere;
    std::optional<TImageList> FCustomCheckImages;
    // True while FCheckImages is a set a window handed in, which a kind change keeps.
    bool m_sharedCheckImages = false;
    // The kind, palette and style the check images in FCheckImages were built for.
    TCheckImageKind m_checkImagesKind = ckSystemDefault;
    qint64 m_checkImagesPalette = 0;
    const QStyle* m_checkImagesStyle = nullptr;
    // The palette, style and theme state the button pictures were drawn with: a pass redraws
    // them when one changed.
    qint64 m_buttonsPalette = 0;
    const QStyle* m_buttonsStyle = nullptr;
    bool m_buttonsThemed = false;
    // Paints the background picture over area of the canvas; the canvas point (0, 0) lies at
    // tree point `origin`.
    void PaintBackgroundPicture(ICanvas& canvas, const TRect& area, QPoint origin);
    bool useBackground(TLTInternalPaintOptions paintOptions) const;
    // The eight words of the tree lines' pattern (PrepareBitmaps fills them).
    std::array<std::uint16_t, 8> linePattern() const;
    // OnBeforeDrawTreeLine for the piece at index (0 the leftmost drawn).
    void beforeDrawTreeLine(PLazyNode node, int index, int& x);

    // ----- input: hooks and fields (LazyTreesKeys.cpp, LazyTreesMouse.cpp, LazyTreesFocus.cpp)
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    // One step of the incremental search with the typed text (one character; "\b" is
    // Backspace, an empty text only restarts the timeout). Nothing under isNone.
    virtual void IncrementalSearch(const QString& text);
    // 0 when the node matches the search text: OnIncrementalSearch, else every node matches.
    virtual int DoIncrementalSearch(PLazyNode node, const QString& text);
    // One key of the navigation table (focus, selection, offsets); false when the key is not
    // one of them.
    bool handleNavigationKey(int key, Qt::KeyboardModifiers mods);
    // One key of the table after it (check box, search, expand, help, edit); false when it
    // does nothing with the key.
    bool handleOtherKey(int key, Qt::KeyboardModifiers mods, const QString& text);
    void startTimerById(int id, int ms) { StartNoticeTimer(id, ms); }
    // Runs what a timer of the id does when it fires (ids 1, 2, 4, 7, 8; 5 and 6 are the
    // model's notices).
    virtual void DoTimer(int id);
    bool HasPopupMenu(PLazyNode node, TColumnIndex column, QPoint pos);
    // The rubber band (LazyTreesMouseSelect.cpp): its moving corner follows the mouse (true when
    // the band changed), and the nodes it passes over are selected or, with Ctrl held at its
    // start, toggled (true when the selection changed).
    bool CalculateSelectionRect(int x, int y);
    bool HandleDrawSelection(int x, int y);
    // The row walks of HandleDrawSelection; left is the main column's left edge and right the
    // right edge of the text's room, both in tree coordinates.
    bool CollectSelectedNodesLTR(int left, const TRect& newRect, const TRect& oldRect,
                                 TAlignment alignment, int right);
    bool CollectSelectedNodesRTL(int left, const TRect& newRect, const TRect& oldRect,
                                 TAlignment alignment, int right);
    bool collectBandNodes(bool rtl, int left, const TRect& newRect, const TRect& oldRect,
                          TAlignment alignment, int right);
    virtual void DoHotChange(PLazyNode oldNode, PLazyNode newNode);
    virtual void DoNodeClick(const THitInfo& hitInfo);
    virtual void DoNodeDblClick(const THitInfo& hitInfo);
    virtual void DoColumnClick(TColumnIndex column, Qt::KeyboardModifiers shift);
    virtual void DoColumnDblClick(TColumnIndex column, Qt::KeyboardModifiers shift);
    virtual bool DoKeyAction(int& key, Qt::KeyboardModifiers& shift);
    virtual void DoGetCursor(Qt::CursorShape& cursor);
    virtual bool DoNodeHeightTracking(PLazyNode node, TColumnIndex column,
                                      Qt::KeyboardModifiers shift, QPoint& trackPoint, QPoint p);
    virtual bool DoNodeHeightDblClickResize(PLazyNode node, TColumnIndex column,
                                            Qt::KeyboardModifiers shift, QPoint p);
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();
    // ----- node editing: hooks (LazyTreesEditing.cpp) --------------------------------------
    // Starts an edit of FEditColumn in the focused node through a new edit link.
    virtual void DoEdit();
    // Ends the running edit taking its value; false when the link refuses (the tree stays
    // editing). Fires OnEdited.
    virtual bool DoEdited();
    // Ends the running edit without its value; fires OnEditCancelled.
    virtual bool DoEditCancelled();
    // OnCreateEditor's link; nil when it gives none (a string tree then makes its own).
    virtual std::shared_ptr<ILTEditLink> DoCreateEditor(PLazyNode node, TColumnIndex column);
    virtual void DoEditing(PLazyNode node, TColumnIndex column, bool& allowed);
    // Places the editor over the focused node's cell (main thread only, while editing).
    void UpdateEditBounds() override;
    // Ends an edit of a node that is being freed, so that no editor writes into it afterwards.
    void DoFreeNode(PLazyNode node) override;
    // Leaves every state a click or key may have left pending (after a failing handler, the
    // focus going or the window cancelling the mouse).
    void clearPendingInput(TLazyTreeStates states);

    TColumnIndex FHeightTrackColumn = NoColumn;
    QPoint FHeightTrackPoint;
    TRect FLastSelRect;
    Qt::KeyboardModifiers FDrawSelShiftState;
    // The column in which the last button went down (the implicit column: -1).
    TColumnIndex FClickIndex = NoColumn;
    TDragOperations FDragOperations{doCopy, doMove};
    int FHelpContext = 0;
    // Hint hooks: the texts start as the control's tool tip text with hlbDefault.
    virtual QString DoGetNodeHint(PLazyNode node, TColumnIndex column,
                                  TLTTooltipLineBreakStyle& lineBreakStyle);
    virtual QString DoGetNodeTooltip(PLazyNode node, TColumnIndex column,
                                     TLTTooltipLineBreakStyle& lineBreakStyle);
    virtual void DoGetHintSize(PLazyNode node, TColumnIndex column, QRect& r);
    TLTHintKind DoGetHintKind(PLazyNode node, TColumnIndex column);
    virtual TLTHintKind GetDefaultHintKind() const { return vhkText; }
    virtual void DoDrawHint(ICanvas& canvas, PLazyNode node, const QRect& r, TColumnIndex column);
    // The font and text rectangle (client coordinates, unclipped) of a cell's tooltip.
    virtual QFont hintTextFont(PLazyNode node, TColumnIndex column) { return font(); }
    virtual QRect hintTextRect(PLazyNode node, TColumnIndex column)
    {
        return GetDisplayRect(node, column, true, true);
    }
    // The left and right bounds (client x, right exclusive) of the column a hint belongs to;
    // the implicit column spans the client area. Header columns answer from the header.
    virtual void hintColumnBounds(TColumnIndex column, int& left, int& right);
    // The bottom-right content margin of a cell that a tooltip's cut-off test allows for.
    virtual QPoint hintCellContentMargin(PLazyNode node, TColumnIndex column) { return {}; }
    // The hint's part of the viewport's events (tooltip, moves, leaving, clicks); true when
    // the event is consumed.
    bool hintEvent(QEvent* event);
    // The header band's part of the hint: its tooltip event, moves, leaving and presses at a
    // point in header coordinates; true when the event is consumed.
    bool headerHintEvent(QEvent* event, QPoint headerPos);
    // Whether a hint may show for the node under the mouse (focus, activation, editing).
    bool hintAllowed(PLazyNode hitNode) const;
    // A button held, a drag or selection, scrolling or height tracking: no hint then.
    bool hintBusy() const;
    // Shows FHintData (node and column set) in the hint window at hintPos (global) for the
    // area cursorRect (client coordinates); false when nothing shows.
    bool showHintWindow(const QRect& cursorRect, QPoint hintPos, QPoint clientPos);
    friend class TLazyTreeHintWindow;
    bool FShowHint = true;
    TLTHintData FHintData;
    QRect FLastHintRect;
    bool FHintWindowDestroyed = true;
    TLazyTreeHintWindow* m_hintWindow = nullptr;
    QString FSearchBuffer;
    std::shared_ptr<IBeeper> FBeeper = std::make_shared<QtBeeper>();
    int FBackgroundOffsetX = 0;
    int FBackgroundOffsetY = 0;

    // ----- drag and drop hooks and fields (LazyTreesDrag*.cpp, LazyTreesPanning.cpp)
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    virtual bool DoDragAllowed(PLazyNode node, TColumnIndex column);
    virtual bool DoDragOver(QObject* source, Qt::KeyboardModifiers shift, TDragState state,
                            QPoint pt, TDropMode mode, int& effect);
    virtual void DoDragDrop(QObject* source, const QMimeData* data, const QStringList& formats,
                            Qt::KeyboardModifiers shift, Qt::MouseButtons buttons, QPoint pt,
                            int& effect, TDropMode mode);
    // The drag of the selection from a client point to its end.
    void BeginDragOperation(QPoint hotSpot);
    void DoDragExpand();
    void DoTimerScroll();
    // Whether a button-down with these hits may start a drag (automatic or allowed).
    bool dragAllowedAt(PLazyNode node, TColumnIndex column, bool isCellHit, bool isLabelHit,
                       bool fullRowDrag);
    // The drag steps of a mouse move: panning modes, a pending drag passing its threshold
    // (true: the drag ran and the move is done), auto-scroll, the panning cursor.
    bool dragMouseMove(QPoint pos);
    // The middle button and any button while panning; true when the press or release is used.
    bool panningMouseButton(Qt::MouseButton button, QPoint pos, bool press);
    void UpdatePanningCursor(int x, int y);
    // The main column drops count on (the implicit column in a tree without header columns).
    TColumnIndex dropMainColumn() const { return FHeader->MainColumn(); }

    TDragMode FDragMode = dmManual;
    int FDragThreshold = 0;
    TNodeArray FDragSelection;
    TScrollDirections FScrollDirections;
    qint64 FDragScrollStart = 0;
    bool m_dragScrollStarted = false;
    std::unique_ptr<ILTDragManager> FDragManager;
    // A tree's picture fades from its centre, drawn at 200 of 255.
    std::unique_ptr<TLTDragImage> FDragImage = std::make_unique<TLTDragImage>(200, true);
    std::unique_ptr<TLTPanningWindow> FPanningWindow;
    QString FPanningCursor;
    IDragLoop* m_dragLoop = nullptr;
    const IClock* m_dragClock = nullptr;
    // The last mouse or drag position over the client area (client coordinates); timer 4
    // scrolls from it.
    QPoint m_lastMousePos{-1, -1};

private:
    // The node editor reaches the tree's editing steps and its event guard.
    friend class TStringEditLink;
    friend class TLTEdit;
    // The columns an edit may address: -1 <= column < this count (-1 alone without header
    // columns).
    int editColumnCount() const { return FHeader->Columns().Count(); }
    // The destroying tree's end of an edit: the link is cancelled and dropped without any
    // event, so that neither the editor nor a deferred call reaches the tree afterwards.
    void abandonEdit();
    std::shared_ptr<ILTEditLink> FEditLink;
    // The node the running edit was started on (nil when none, or when it was freed).
    PLazyNode FEditNode = nullptr;

    // The header's part of a print (LazyTreesPrint.cpp): its height (0 without shown header
    // columns), and its painting over the given width at the painter's origin.
    int printHeaderHeight() const;
    void paintHeaderForPrint(QPainter& painter, int width);

    // Accessibility clients hear of focus, name and state changes. accessibleNameChanged is the
    // hook for a change of the main column.
    void announceStateChange(QAccessible::State changed);
    void accessibleNameChanged();
    // The item object goes with the tree (Qt deletes the tree's own object itself).
    void releaseAccessible();
    void announce(QAccessibleEvent* event);
    std::function<void(QAccessibleEvent&)> m_accessibilityAnnouncer;
    QAccessibleInterface* FAccessible = nullptr;
    QAccessibleInterface* FAccessibleItem = nullptr;

    // Flushes a pending cut or copy and leaves the clipboard context (the tree is going).
    void releaseClipboard();
    std::shared_ptr<TLTClipboardContext> FClipboardContext;
    std::uint32_t FClipboardId = 0;
    QStringList FClipboardFormats;

    void UpdateVerticalScrollBar(bool doRepaint);
    void UpdateHorizontalScrollBar(bool doRepaint);
    void applyBar(Qt::Orientation bar, const TScrollBarSetting& s);
    void startToggleAnimation(PLazyNode node, bool expanding, int childrenHeight);
    int rowTopInTree(PLazyNode node);
    // The room the check box, the state image and the normal image take before a row's text.
    int cellImagesWidth(PLazyNode node, TColumnIndex column = NoColumn, bool withCheck = true);
    void updateEffectiveOffsetX();
    void timerStep(QTimerEvent* event);
    void paintView(const QRect& clip);

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
