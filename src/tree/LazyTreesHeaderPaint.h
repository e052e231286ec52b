#pragma once
// What header painting and header mouse handling share with the tree's events: the record an
// owner-drawing handler gets, the parts it may draw itself, the drop mark of a column drag, the
// hit record of a header click, and the header's own small pictures.

#include "platform/Rect.h"
#include "tree/core/LazyTrees.h"

#include <QImage>
#include <QPoint>

#include <array>
#include <cstdint>

class QPainter;
class QPalette;

namespace zfw {

class TLazyTreeColumn;

enum TLTDropMarkMode : std::uint8_t { dmmNone, dmmLeft, dmmRight };

enum THeaderPaintElement : std::uint8_t {
    hpeBackground,
    hpeDropMark,
    hpeHeaderGlyph,
    hpeSortGlyph,
    hpeText
};
using THeaderPaintElements = TSmallSet<THeaderPaintElement, std::uint8_t>;

// Handed to OnHeaderDrawQueryElements and OnAdvancedHeaderDraw. Column is nil for the
// background behind and right of the cells. Rectangles and points are in the painter's
// coordinates.
struct THeaderPaintInfo {
    QPainter* TargetCanvas = nullptr;
    TLazyTreeColumn* Column = nullptr;
    TRect PaintRectangle;
    TRect TextRectangle;
    bool IsHoverIndex = false;
    bool IsDownIndex = false;
    bool IsEnabled = false;
    bool ShowHeaderGlyph = false;
    bool ShowSortGlyph = false;
    bool ShowRightBorder = false;
    TLTDropMarkMode DropMark = dmmNone;
    QPoint GlyphPos;
    QPoint SortGlyphPos;
};

enum TLTHeaderHitPosition : std::uint8_t { hhiNoWhere, hhiOnColumn, hhiOnIcon, hhiOnCheckbox };
using TLTHeaderHitPositions = TSmallSet<TLTHeaderHitPosition, std::uint8_t>;

// A click or double click in the header: the point in header coordinates, the button, the
// modifiers (doubleClick for a double click) and the column hit (-1 none).
struct TLTHeaderHitInfo {
    int X = 0;
    int Y = 0;
    Qt::MouseButton Button = Qt::NoButton;
    Qt::KeyboardModifiers Shift;
    bool DoubleClick = false;
    TColumnIndex Column = NoColumn;
    TLTHeaderHitPositions HitPosition;
};

// The header's six 16 x 16 pictures, drawn here in the palette's colours: the drop marks at
// the left and at the right of a cell, the descending and ascending sort arrows, and the two
// arrows again in the lighter look used when the header is drawn through the style.
class THeaderUtilityImages {
public:
    enum Index : std::uint8_t {
        DropMarkLeft,
        DropMarkRight,
        SortDescending,
        SortAscending,
        SortDescendingThemed,
        SortAscendingThemed
    };
    static constexpr int Size = 16;
    explicit THeaderUtilityImages(const QPalette& palette);
    const QImage& image(Index index) const { return m_images[index]; }

private:
    std::array<QImage, 6> m_images;
};

// The edge of a header cell drawn without the style, as a set of rings and sides.
enum THeaderEdgeFlag : std::uint8_t {
    efRaisedOuter,
    efRaisedInner,
    efSunkenOuter,
    efSunkenInner,
    efLeft,
    efTop,
    efRight,
    efBottom,
    efSoft,
    efFlat,
    efMiddle
};
using THeaderEdge = TSmallSet<THeaderEdgeFlag, std::uint16_t>;
inline constexpr THeaderEdge efAllSides{efLeft, efTop, efRight, efBottom};

// Draws the rings of the edge inside r on the sides it names; efMiddle fills the inside with
// the button face. A ring is one pixel wide; efFlat draws the outer ring in one colour.
void DrawHeaderEdge(QPainter& painter, const TRect& r, THeaderEdge edge, const QPalette& palette);

}  // namespace zfw
