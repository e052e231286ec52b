#pragma once
// The tree's columns: a collection of columns owned by the header.
//
// Each column has an index (its place in the collection: node data, events and the main column
// use it) and a position (its place from left to right on the screen, changed by dragging).
// Painting and hit tests walk the positions through FPositionToIndex. After every update each
// column's FPosition equals its place in that array and its FLeft is the sum of the widths of
// the visible columns before it. Mixing the two numbers up is where column faults live: names
// say which one they hold.

#include "common/Alignment.h"
#include "common/SortDirection.h"
#include "controls/LbButton.h"
#include "platform/Colors.h"
#include "platform/Rect.h"
#include "tree/core/LazyTrees.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class QFontMetrics;
class QIODevice;
class QPainter;

namespace zfw {

class TBaseLazyTree;
class TLTHeader;
class TLazyTreeColumns;
class ByteReader;

enum TLTColumnOption : std::uint8_t {
    coAllowClick,
    coDraggable,
    coEnabled,
    coParentBidiMode,
    coParentColor,
    coResizable,
    coShowDropMark,
    coVisible,
    coAutoSpring,
    coFixed,
    coSmartResize,
    coAllowFocus,
    coDisableAnimatedResize,
    coWrapCaption,
    coUseCaptionAlignment,
    coEditable
};
using TLTColumnOptions = TSmallSet<TLTColumnOption, std::uint16_t>;
inline constexpr TLTColumnOptions DefaultColumnOptions = TLTColumnOptions::fromBits(0x88FF);

enum TLazyTreeColumnStyle : std::uint8_t { vsText, vsOwnerDraw };
// The image's place beside a caption: the same four places as the owner-drawn button's.
using TLTHeaderColumnLayout = TLbButtonLayout;
enum TBiDiMode : std::uint8_t {
    bdLeftToRight,
    bdRightToLeft,
    bdRightToLeftNoAlign,
    bdRightToLeftReadingOnly
};
using TColumnPosition = std::uint32_t;

class TLazyTreeColumn {
public:
    // A new column at the right end of the collection, with the collection's default width.
    explicit TLazyTreeColumn(TLazyTreeColumns& owner);
    virtual ~TLazyTreeColumn();
    TLazyTreeColumn(const TLazyTreeColumn&) = delete;
    TLazyTreeColumn& operator=(const TLazyTreeColumn&) = delete;

    TLazyTreeColumns& Owner() const { return *FOwner; }
    // Place in the collection.
    TColumnIndex Index() const { return m_index; }

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    // Also drops coParentBidiMode.
    void SetBiDiMode(TBiDiMode value);
    // The caption's alignment: CaptionAlignment with coUseCaptionAlignment, else Alignment.
    TAlignment CaptionAlignment() const
    {
        return FOptions.contains(coUseCaptionAlignment) ? FCaptionAlignment : FAlignment;
    }
    // Stores the value and adds coUseCaptionAlignment.
    void SetCaptionAlignment(TAlignment value);
    // The caption as laid out with line breaks (coWrapCaption); filled by header painting.
    QString CaptionText() const { return FCaptionText; }
    void SetCaptionText(const QString& text) { FCaptionText = text; }
    bool CheckBox() const { return FCheckBox; }
    void SetCheckBox(bool value);
    TCheckState CheckState() const { return FCheckState; }
    void SetCheckState(TCheckState value);
    TCheckType CheckType() const { return FCheckType; }
    void SetCheckType(TCheckType value);
    TColor Color() const { return FColor; }
    // Also drops coParentColor.
    void SetColor(TColor value);
    TSortDirection DefaultSortDirection() const { return FDefaultSortDirection; }
    void SetDefaultSortDirection(TSortDirection value) { FDefaultSortDirection = value; }
    QString Hint() const { return FHint; }
    void SetHint(const QString& value) { FHint = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TLTHeaderColumnLayout Layout() const { return FLayout; }
    void SetLayout(TLTHeaderColumnLayout value);
    int Margin() const { return FMargin; }
    // A negative margin becomes 4.
    void SetMargin(int value);
    int MaxWidth() const { return FMaxWidth; }
    // Stored as at least MinWidth; the width is clamped again.
    void SetMaxWidth(int value);
    int MinWidth() const { return FMinWidth; }
    // Negative becomes 0, stored as at most MaxWidth; the width is clamped again.
    void SetMinWidth(int value);
    TLTColumnOptions Options() const { return FOptions; }
    void SetOptions(TLTColumnOptions value);
    TColumnPosition Position() const { return FPosition; }
    // Moves the column to a screen position (clamped to the last one); entries between the old
    // and the new place shift by one. A column dropped among fixed columns becomes fixed, a
    // fixed one dropped among scrolling columns stops being fixed.
    void SetPosition(TColumnPosition value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    TLazyTreeColumnStyle Style() const { return FStyle; }
    void SetStyle(TLazyTreeColumnStyle value);
    std::intptr_t Tag() const { return FTag; }
    void SetTag(std::intptr_t value) { FTag = value; }
    QString Text() const { return FText; }
    void SetText(const QString& value);
    int Width() const { return FWidth; }
    // Clamped to the limits and, for a visible fixed column, to the fixed area's constraints
    // (unchanged while the header rescales). The auto-size column under hoAutoResize keeps
    // the width the fit gives it.
    void SetWidth(int value);
    int LastWidth() const { return FLastWidth; }
    bool BonusPixel() const { return FBonusPixel; }
    float SpringRest() const { return FSpringRest; }
    QRect ImageRect() const { return FImageRect; }
    void SetImageRect(const QRect& r, bool hasImage)
    {
        FImageRect = r;
        FHasImage = hasImage;
    }
    bool HasImage() const { return FHasImage; }

    // The scrolled left edge (a visible fixed column does not scroll).
    int Left() const;
    // Left edge in header coordinates, not scrolled.
    int UnscrolledLeft() const { return FLeft; }
    // The header rectangle narrowed to the column, not scrolled (header coordinates).
    QRect GetRect() const;
    // Left and right edge, not scrolled.
    void GetUnscrolledBounds(int& left, int& right) const
    {
        left = FLeft;
        right = FLeft + FWidth;
    }
    bool IsVisible() const { return FOptions.contains(coVisible); }
    bool IsFixedAndVisible() const { return FOptions.containsAll({coVisible, coFixed}); }
    bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
    // Take the tree's mode (colour) when the parent option is on.
    void ParentBiDiModeChanged();
    void ParentColorChanged();
    // Animated resize back to the width before the last change.
    void RestoreLastWidth();
    // Text when all its characters are at most U+00FF, else "Column <index>".
    QString DisplayName() const;

    // Copies the settings of another column through the setters, then its options.
    void Assign(const TLazyTreeColumn& source);
    bool Equals(const TLazyTreeColumn& other) const;

    // One column record of the header stream.
    void SaveToStream(QIODevice& stream) const;
    // False with error set (naming the field) when the record is cut short or a text length
    // exceeds the bytes left.
    bool LoadFromStream(ByteReader& reader, int version, QString& error);

    TBaseLazyTree& Tree() const;
    TLTHeader& Header() const;

    // ----- header painting (LazyTreesHeaderPaint.cpp) ---------------------------------------
    // Places the image (or check box), the sort arrow and the caption inside client, the cell
    // less its frame: positions and textBounds in the client's coordinates, moved by its
    // top-left. drawFormat holds Qt alignment and text-direction flags. With coWrapCaption the
    // caption is wrapped into CaptionText. Nothing is set when there is nothing to place.
    void LayoutHeaderCell(const QFontMetrics& metrics, const TRect& client, bool useHeaderGlyph,
                          bool useSortGlyph, QPoint& glyphPos, QPoint& sortGlyphPos,
                          QSize& sortGlyphSize, TRect& textBounds, int drawFormat);

private:
    friend class TLazyTreeColumns;
    friend class TLTHeader;
    // The collection's change notification for this column.
    void Changed();

    TLazyTreeColumns* FOwner;
    TColumnIndex m_index = 0;
    QString FText;
    QString FHint;
    int FLeft = 0;
    int FWidth = 50;
    TColumnPosition FPosition = 0;
    int FMinWidth = 10;
    int FMaxWidth = 10000;
    TLazyTreeColumnStyle FStyle = vsText;
    int FImageIndex = -1;
    TBiDiMode FBiDiMode = bdLeftToRight;
    TLTHeaderColumnLayout FLayout = blGlyphLeft;
    int FMargin = 4;
    int FSpacing = 3;
    TLTColumnOptions FOptions = DefaultColumnOptions;
    std::intptr_t FTag = 0;
    TAlignment FAlignment = taLeftJustify;
    TAlignment FCaptionAlignment = taLeftJustify;
    int FLastWidth = 50;
    TColor FColor = clWindow;
    bool FBonusPixel = false;
    float FSpringRest = 0;
    QString FCaptionText;
    bool FCheckBox = false;
    TCheckType FCheckType = ctCheckBox;
    TCheckState FCheckState = csUncheckedNormal;
    QRect FImageRect;
    bool FHasImage = false;
    TSortDirection FDefaultSortDirection = sdAscending;
};

class TLazyTreeColumns {
public:
    explicit TLazyTreeColumns(TLTHeader& header);
    virtual ~TLazyTreeColumns();
    TLazyTreeColumns(const TLazyTreeColumns&) = delete;
    TLazyTreeColumns& operator=(const TLazyTreeColumns&) = delete;

    TLTHeader& Header() const { return *FHeader; }
    TBaseLazyTree& Tree() const;
    int Count() const { return int(m_items.size()); }
    // The column at an index; throws std::out_of_range outside 0..Count-1.
    TLazyTreeColumn& Items(TColumnIndex index) const;
    TLazyTreeColumn& operator[](TColumnIndex index) const { return Items(index); }
    // A new column at the right end.
    virtual TLazyTreeColumn& Add();
    // Removes the column at the index (with the clean-up of one column's removal).
    void Delete(TColumnIndex index);
    // Removes all columns; the tracking indexes, the header's auto-size, main and sort columns
    // and the tree's focused column become -1.
    void Clear();
    // Recreates the columns of another collection and copies its position array.
    void Assign(const TLazyTreeColumns& source);
    bool Equals(const TLazyTreeColumns& other) const;
    bool IsValidColumn(TColumnIndex column) const { return column >= 0 && column < Count(); }

    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int value) { FDefaultWidth = value; }
    TColumnIndex ClickIndex() const { return FClickIndex; }
    TColumnIndex TrackIndex() const { return FTrackIndex; }
    // The entry of the position array at each position (a copy).
    std::vector<TColumnIndex> PositionToIndex() const { return FPositionToIndex; }

    // The visible column under a point in header coordinates (y from the header's top): -2
    // for a negative x or y, a y below the tree, or right of the last visible column. Relative
    // takes the horizontal scroll offset into account right of the fixed area.
    TColumnIndex ColumnFromPosition(QPoint p, bool relative = true);
    // The index at a screen position, -1 beyond the array.
    TColumnIndex ColumnFromPosition(TColumnPosition positionIndex) const;
    // The same walk without the checks of x and y; left and right get the column's edges.
    TColumnIndex ColumnAndBoundsFromPosition(QPoint p, int& left, int& right, bool relative = true);
    // Scrolled edges of a column in client coordinates; for a column below 0 the whole client
    // width.
    void GetColumnBounds(TColumnIndex column, int& left, int& right);
    // Walks in position order; -2 at either end or when none qualifies.
    TColumnIndex GetFirstColumn() const;
    TColumnIndex GetNextColumn(TColumnIndex column) const;
    TColumnIndex GetPreviousColumn(TColumnIndex column) const;
    TColumnIndex GetFirstVisibleColumn(bool considerAllowFocus = false) const;
    TColumnIndex GetLastVisibleColumn(bool considerAllowFocus = false) const;
    TColumnIndex GetNextVisibleColumn(TColumnIndex column, bool considerAllowFocus = false) const;
    TColumnIndex GetPreviousVisibleColumn(TColumnIndex column,
                                          bool considerAllowFocus = false) const;
    // The visible columns in position order.
    std::vector<TLazyTreeColumn*> GetVisibleColumns() const;
    // Width of the visible fixed columns (the fixed area).
    int GetVisibleFixedWidth() const;
    // The average width of the visible scrolling columns (halves to even); the tree's Indent
    // when there is none.
    int GetScrollWidth() const;
    // Right edge of the last visible column by position; 0 when none.
    int TotalWidth() const;
    // Changes the column's width stepwise from the tree's timer (never by waiting), unless the
    // header or the column turns animation off; the width is set at the end either way.
    void AnimatedResize(TColumnIndex column, int newWidth);
    // True while an animated resize still runs.
    bool AnimationRunning() const { return m_animColumn >= 0; }
    // One step of a running animated resize (the tree's timer); the last one sets the width.
    void AnimationStep();

    // The position array upkeep (see the file comment).
    void UpdatePositions(bool force = false);
    void FixPositions();
    void ResetPositions(bool reverseOrder);
    // The auto-size column takes the width the other visible columns leave.
    void FitAutoSizeColumn(bool force);

    // Column block of the header stream.
    void SaveToStream(QIODevice& stream) const;
    bool LoadFromStream(ByteReader& reader, int version, QString& error);
    // Takes a whole position array (ignored unless it has Count entries).
    void setPositions(const std::vector<TColumnIndex>& positions);

    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate();
    bool InUpdate() const { return m_updateCount > 0; }
    // The collection's change handler: item nil for all columns.
    void Update(TLazyTreeColumn* item);

    // Tracking indexes of the header's mouse handling (hover, pressed, border, last click).
    TColumnIndex FHoverIndex = NoColumn;
    TColumnIndex FDownIndex = NoColumn;
    TColumnIndex FTrackIndex = NoColumn;
    TColumnIndex FClickIndex = NoColumn;
    bool FCheckBoxHit = false;
    TColumnIndex FDragIndex = NoColumn;
    TColumnIndex FDropTarget = NoColumn;
    bool FDropBefore = false;

    // ----- header painting and clicks (LazyTreesHeaderPaint.cpp, LazyTreesHeaderMouse.cpp) --
    // Composes the header off screen (fixed columns unscrolled, the others moved by hOffset,
    // minus the tree's scroll offset) and copies the part r (header widget coordinates) to dc.
    virtual void PaintHeader(QPainter& dc, const QRect& r, int hOffset);
    // Paints the part r of the unscrolled header (header coordinates) with r's top-left at
    // target; an empty r paints nothing.
    virtual void PaintHeader(QPainter& targetCanvas, const TRect& r, QPoint target,
                             int rtlOffset = 0);
    // A caption in bounds: cut to a prefix with "..." when it does not fit and does not wrap;
    // enabled in the hot or the normal caption colour, disabled engraved. Returns the text
    // drawn.
    QString DrawHeaderCaption(QPainter& dc, const QString& caption, const TRect& bounds,
                              bool enabled, bool hot, int drawFormat, bool wrapCaption);
    // A click (force: whatever column was pressed) or double click at p (client coordinates):
    // check box, sorting, the automatic column menu and OnHeaderClick / OnHeaderDblClick.
    virtual void ProcessColumnClick(QPoint p, Qt::MouseButton button, bool force, bool dblClick);
    // Whether the column's border at p may be dragged (coResizable and coVisible, then
    // OnCanSplitterResizeColumn).
    bool CanSplitterResize(QPoint p, TColumnIndex column);

private:
    friend class TLazyTreeColumn;
    friend class TLTHeader;
    void AdjustPositions();
    void RemoveFromPositions(TColumnIndex index);
    // Index and removal adjustments when one column goes.
    void columnRemoved(TColumnIndex index);
    void renumber();
    // Start of a walk: 0, or left of the scrolled columns.
    int walkStart(QPoint p, bool relative);
    TColumnIndex stepVisible(TColumnPosition start, int step, bool considerAllowFocus) const;

    TLTHeader* FHeader;
    std::vector<std::unique_ptr<TLazyTreeColumn>> m_items;
    std::vector<TColumnIndex> FPositionToIndex;
    int FDefaultWidth = 50;
    bool FNeedPositionsFix = false;
    bool FClearing = false;
    int m_updateCount = 0;
    // The running animated resize: column, width to reach, per-step change, steps left.
    TColumnIndex m_animColumn = NoColumn;
    int m_animFrom = 0;
    int m_animTarget = 0;
    int m_animStep = 0;
    int m_animStepsLeft = 0;
    // Header painting: the composition picture, and the pass's owner-draw settings.
    struct HeaderPaintPass;
    void PaintHeaderCell(HeaderPaintPass& pass, TColumnIndex index, const TRect& r);
    QImage FHeaderBitmap;
};

}  // namespace zfw
