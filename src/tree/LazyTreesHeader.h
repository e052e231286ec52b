#pragma once
// The tree's column header: the column collection, the caption font, the height rules, the
// main and sort column, the group operations on column widths (auto-fit, group resize,
// springs, restore, rescale of the fixed area) and the binary header stream.
//
// The header is drawn by a child widget of the tree (TLTHeaderWidget) placed above the viewport
// through the scroll area's viewport margins. Its painting and mouse handling are virtual hooks
// of TLTHeader. Coordinates: a point in the tree's client (viewport) coordinates lies in the
// header when its y is negative; header y = client y + Height. ClientToHeader and
// ClientPointInHeader hold that rule for every hit test and mouse handler.

#include "common/ByteReader.h"
#include "platform/Colors.h"
#include "tree/LazyTreesColors.h"
#include "tree/LazyTreesColumns.h"
#include "tree/LazyTreesHeaderPaint.h"

#include <QFont>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QIODevice;
class QMenu;
class QMouseEvent;
class QPainter;

namespace zfw {

class TImageList;
class TLTHeaderPopupMenu;
class TLTHeaderWidget;

enum TLTHeaderOption : std::uint8_t {
    hoAutoResize,
    hoColumnResize,
    hoDblClickResize,
    hoDrag,
    hoHotTrack,
    hoOwnerDraw,
    hoRestrictDrag,
    hoShowHint,
    hoShowImages,
    hoShowSortGlyphs,
    hoVisible,
    hoAutoSpring,
    hoFullRepaintOnResize,
    hoDisableAnimatedResize,
    hoHeightResize,
    hoHeightDblClickResize,
    hoHeaderClickAutoSort,
    hoAutoColumnPopupMenu
};
using TLTHeaderOptions = TSmallSet<TLTHeaderOption, std::uint32_t>;
inline constexpr TLTHeaderOptions DefaultHeaderOptions{hoColumnResize, hoDrag, hoShowSortGlyphs};

enum THeaderState : std::uint8_t {
    hsAutoSizing,
    hsDragging,
    hsDragPending,
    hsLoading,
    hsColumnWidthTracking,
    hsColumnWidthTrackPending,
    hsHeightTracking,
    hsHeightTrackPending,
    hsResizing,
    hsScaling,
    hsNeedScaling
};
using THeaderStates = TSmallSet<THeaderState, std::uint16_t>;

enum TLTHeaderStyle : std::uint8_t { hsThickButtons, hsFlatButtons, hsPlates };
enum TSmartAutoFitType : std::uint8_t { smaAllColumns, smaNoColumn, smaUseColumnOption };
enum TFontPitch : std::uint8_t { fpDefault, fpVariable, fpFixed };

class TLTHeader {
public:
    explicit TLTHeader(TBaseLazyTree& owner);
    virtual ~TLTHeader();
    TLTHeader(const TLTHeader&) = delete;
    TLTHeader& operator=(const TLTHeader&) = delete;

    TBaseLazyTree& Treeview() const { return *FOwner; }
    TLazyTreeColumns& Columns() const { return *FColumns; }
    // True with at least one column.
    bool UseColumns() const { return FColumns->Count() > 0; }
    THeaderStates States() const { return FStates; }
    void SetStates(THeaderStates add, THeaderStates remove = {});
    TLTFixedAreaConstraints& FixedAreaConstraints() { return FFixedAreaConstraints; }

    // ----- properties ------------------------------------------------------------------------
    TColumnIndex AutoSizeIndex() const { return FAutoSizeIndex; }
    void SetAutoSizeIndex(TColumnIndex value);
    TColor Background() const { return FBackgroundColor; }
    void SetBackground(TColor value);
    int DefaultHeight() const { return FDefaultHeight; }
    // Clamped to MinHeight..MaxHeight; a height equal to the old default follows.
    void SetDefaultHeight(int value);
    const QFont& Font() const { return FFont; }
    // Copies the font and turns ParentFont off.
    void SetFont(const QFont& font);
    // The caption font's colour (a font here has no colour of its own).
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value);
    int Height() const { return FHeight; }
    // Clamped by MinHeight/MaxHeight and the height percentages of the constraints; without a
    // window stored unclamped until the window exists.
    void SetHeight(int value);
    const TImageList* Images() const { return FImages; }
    void SetImages(const TImageList* images);
    // -1 without columns.
    TColumnIndex MainColumn() const { return FColumns->Count() == 0 ? NoColumn : FMainColumn; }
    // Clamped to 0..Count-1.
    void SetMainColumn(TColumnIndex value);
    int MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(int value);
    int MinHeight() const { return FMinHeight; }
    void SetMinHeight(int value);
    TLTHeaderOptions Options() const { return FOptions; }
    void SetOptions(TLTHeaderOptions value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    // The tree's font changed: with ParentFont the caption font follows.
    void ParentFontChanged();
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* menu) { FPopupMenu = menu; }
    TColumnIndex SortColumn() const { return FSortColumn; }
    void SetSortColumn(TColumnIndex value) { ApplySortColumn(value); }
    TSortDirection SortDirection() const { return FSortDirection; }
    // Sorts the tree under toAutoSort or hoHeaderClickAutoSort (outside BeginUpdate).
    void SetSortDirection(TSortDirection value);
    int SplitterHitTolerance() const { return fSplitterHitTolerance; }
    void SetSplitterHitTolerance(int value) { fSplitterHitTolerance = value; }
    TLTHeaderStyle Style() const { return FStyle; }
    void SetStyle(TLTHeaderStyle value);

    // ----- operations ------------------------------------------------------------------------
    bool AllowFocus(TColumnIndex column) const;
    void Assign(const TLTHeader& source);
    // Fits the columns at positions rangeStart..rangeEnd (-1: to the last) to their contents.
    virtual void AutoFitColumns(bool animated = true,
                                TSmartAutoFitType smartAutoFitType = smaUseColumnOption,
                                int rangeStartCol = -1, int rangeEndCol = -1);
    // Spreads changeBy pixels evenly over the columns with indexes rangeStart..rangeEnd that
    // have all of options, within their limits; remainder pixels rotate over calls. Returns
    // the pixels actually applied (signed).
    int ResizeColumns(int changeBy, TColumnIndex rangeStartCol, TColumnIndex rangeEndCol,
                      TLTColumnOptions options = {coVisible});
    // Every visible resizable column back to its last width (animated).
    void RestoreColumns();
    // Brings the visible fixed columns into the band the constraints allow.
    void RescaleFixedArea();
    // The spring columns share the change of the header width since the last call.
    void UpdateSpringColumns();
    void ScaleHeader(int m, int d);
    // Repaints one column's header cell (or the whole header for a column below 0).
    void Invalidate(TColumnIndex column = NoColumn, bool expandToBorder = false);
    // The header rectangle in tree widget coordinates (empty band when hidden).
    QRect HeaderRect() const;
    // Places the header widget and reserves its band through the viewport margins.
    void RecomputeHeaderFrame();

    // The coordinate convention (see the file comment).
    QPoint ClientToHeader(QPoint client) const { return {client.x(), client.y() + FHeight}; }
    QPoint HeaderToClient(QPoint header) const { return {header.x(), header.y() - FHeight}; }
    // True when the header band (extended extendBelow pixels into the client area) holds p.
    bool ClientPointInHeader(QPoint client, int extendBelow = 0) const;
    virtual bool InHeader(QPoint p) const;
    // The border between header and client area: y within -2..2 of it, header visible.
    virtual bool InHeaderSplitterArea(QPoint p) const;

    // The binary header stream (writer version 6). Loading reads the whole envelope before it
    // changes anything it cannot undo; on failure the header keeps its options, error names
    // what failed and where, and false is returned.
    virtual void SaveToStream(QIODevice& stream) const;
    virtual bool LoadFromStream(QIODevice& stream, QString* error = nullptr);
    // The same over bytes, for callers that hold them; the reader stops at the envelope's end.
    bool LoadFromBytes(ByteReader& reader, QString* error = nullptr);

    // The header widget (nil while the tree has none).
    TLTHeaderWidget* widget() const { return m_widget; }

    // Hooks of the header widget, filled by header painting and header mouse handling: the
    // base draws a plain background and takes no mouse input. `area` is in header coordinates.
    virtual void PaintHeaderArea(QPainter& painter, const QRect& area);
    // A mouse event at a point in header coordinates; true when consumed.
    virtual bool HandleHeaderMouse(QMouseEvent& event, QPoint headerPoint);
    virtual void HandleHeaderLeave();

    // Event hooks of auto-fit.
    virtual void DoBeforeAutoFitColumn(TColumnIndex column, TSmartAutoFitType& smartAutoFitType,
                                       bool& allowed);
    virtual void DoAfterAutoFitColumn(TColumnIndex column);

    // ----- header mouse (LazyTreesHeaderMouse.cpp); points in client coordinates ------------
    // Finds the column border under p.x; on success sets the track index and track point. The
    // zone around a border at B is B - (T - S) < x < B + S with T the splitter tolerance and
    // S = round(0.6 T) (mirrored right to left).
    virtual bool FindSplitterColumn(QPoint p);
    // hoColumnResize and a border under p; below the header only the fixed area's border.
    bool InColumnSplitter(QPoint p);
    // The height border may be dragged (hoHeightResize, then OnCanSplitterResizeHeader).
    bool CanSplitterResizeHeight(QPoint p);
    // The hover (pressed) column follows the column under p; repaints the cells it leaves and
    // enters. UpdateHoverColumn returns whether it changed, UpdateDownColumn the column.
    bool UpdateHoverColumn(QPoint p);
    TColumnIndex UpdateDownColumn(QPoint p);
    // Ends a column drag (no event) or a border or height tracking (its after-event), as
    // Escape or the focus leaving the tree do; true when something was running.
    bool CancelMouseOperation();
    // Mouse input of the tree's client area that belongs to the header: a press on the height
    // border just below the band or on the fixed area's border, and all input while such a
    // press is held. True when the header took the event.
    bool HandleClientMouse(QEvent& event);
    // The split cursor over a border the header owns at p (OnGetHeaderCursor may change it);
    // false when p is on none or the header is busy.
    bool BorderCursor(QPoint p, Qt::CursorShape& cursor);
    // The hover timer (id 3): forgets hover and pressed cells once the mouse left the header.
    void HeaderHoverTimer();
    // The moving cell of a column drag: its picture and left edge in header widget
    // coordinates (null picture when no drag runs).
    const QImage& dragImage() const { return m_dragImage; }
    int dragImageLeft() const { return m_dragImageLeft; }
    // The header's sort arrows and drop marks in the tree's palette.
    const THeaderUtilityImages& utilityImages();
    // The column menu the last right click made under hoAutoColumnPopupMenu (nil when none).
    TLTHeaderPopupMenu* columnPopupMenu() const;

protected:
    virtual void ApplySortColumn(TColumnIndex value);

private:
    friend class TBaseLazyTree;
    friend class TLazyTreeColumns;
    friend class TLazyTreeColumn;
    // The values of the envelope read before any of them is applied.
    struct StreamValues;
    void applyStreamValues(const StreamValues& v, int version);
    void fontChanged();
    void sortTreeIfAuto();
    void createWidget();

    TBaseLazyTree* FOwner;
    std::unique_ptr<TLazyTreeColumns> FColumns;
    int FHeight = 19;
    QFont FFont;
    TColor FFontColor = clWindowText;
    bool FParentFont = false;
    TLTHeaderOptions FOptions = DefaultHeaderOptions;
    TLTHeaderStyle FStyle = hsThickButtons;
    TColor FBackgroundColor = clBtnFace;
    TColumnIndex FAutoSizeIndex = NoColumn;
    QMenu* FPopupMenu = nullptr;
    TColumnIndex FMainColumn = NoColumn;
    int FMaxHeight = 10000;
    int FMinHeight = 10;
    int FDefaultHeight = 19;
    TLTFixedAreaConstraints FFixedAreaConstraints;
    const TImageList* FImages = nullptr;
    int fSplitterHitTolerance = 8;
    TColumnIndex FSortColumn = NoColumn;
    TSortDirection FSortDirection = sdAscending;
    int FLastWidth = 0;
    THeaderStates FStates;
    QPoint FDragStart;
    QPoint FTrackStart;
    QPoint FTrackPoint;
    TLTHeaderWidget* m_widget = nullptr;

    // Header mouse: the pieces of one press, drag and drop.
    bool handleLeftPress(QPoint p, QPoint screen, Qt::KeyboardModifiers shift);
    bool handleCapturedMove(QPoint p, QPoint screen, Qt::KeyboardModifiers shift);
    bool handleLeftRelease(QPoint p, QPoint screen, Qt::KeyboardModifiers shift);
    bool handleDoubleClick(QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers shift);
    bool handleRightRelease(QPoint p, QPoint screen, Qt::KeyboardModifiers shift);
    void handleFreeMove(QPoint p, Qt::KeyboardModifiers shift);
    void updateCursor(QPoint p);
    void prepareDrag(QPoint screen);
    void dragTo(QPoint screen);
    void finishDrop(QPoint screen);
    void watchForCancel();
    void popupAutoColumnMenu(QPoint screen);
    QImage m_dragImage;
    int m_dragImageLeft = 0;
    int m_dragHotSpotX = 0;
    std::unique_ptr<THeaderUtilityImages> m_utilityImages;
    qint64 m_utilityPalette = 0;
    // Owned here, not by a widget: it must go with the header, before the tree's widgets,
    // which may still send a focus change while they are torn down.
    std::unique_ptr<QObject> m_cancelFilter;
    QPointer<TLTHeaderPopupMenu> FColumnPopupMenu;
};

// The band above the viewport that shows the header. It only forwards to the header's hooks.
class TLTHeaderWidget : public QWidget {
    Q_OBJECT
public:
    TLTHeaderWidget(TLTHeader& header, QWidget* parent);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void forwardMouse(QMouseEvent* event);
    TLTHeader& m_header;
};

}  // namespace zfw
