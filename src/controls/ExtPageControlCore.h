#pragma once
// The window-free half of the page control: tab margins, the arithmetic between pages and
// shown tabs, the page walk of Ctrl+Tab and closing, caption trimming, tab sizes, the stepped
// gradient, the close box geometry and the tab painter. The widget (ExtPageControl.h) turns
// its state into a TabPaintState and its events into calls of these functions, so all of it
// can be checked without showing a window.

#include "controls/Canvas.h"
#include "controls/ExtDropDownDraw.h"
#include "platform/Colors.h"
#include "platform/Rect.h"

#include <QFont>
#include <QImage>
#include <QLine>
#include <QPoint>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace zfw {

enum TTabPosition : std::uint8_t { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle : std::uint8_t { tsClassic, tsDotNet };

using TMarginSize = std::int32_t;
// Range of TabOverlap.
inline constexpr int kMaxTabOverlap = 15;

// Margins around a tab's content. A change of one margin tells OnMarginChange (new value, old
// value, index 0 left, 1 top, 2 right) before it is stored.
class TTabMargin {
public:
    using TMarginChange =
        std::function<void(TMarginSize NewValue, TMarginSize OldValue, int Index)>;

    TMarginSize LeftMargin() const { return FLeftMargin; }
    TMarginSize TopMargin() const { return FTopMargin; }
    TMarginSize RightMargin() const { return FRightMargin; }
    void SetLeftMargin(TMarginSize v) { SetMargin(0, v); }
    void SetTopMargin(TMarginSize v) { SetMargin(1, v); }
    void SetRightMargin(TMarginSize v) { SetMargin(2, v); }
    // Index 0 left, 1 top, 2 right; other indexes are ignored.
    void SetMargin(int Index, TMarginSize Value);
    // Copies the three margins without telling OnMarginChange.
    void Assign(const TTabMargin& Source);

    TMarginChange OnMarginChange;

private:
    TMarginSize FLeftMargin = 0;
    TMarginSize FTopMargin = 0;
    TMarginSize FRightMargin = 0;
};

// The user's pictures for tabs, all of one size; owned by the caller.
struct TTabImageList {
    int Width = 16;
    int Height = 16;
    std::vector<QImage> Pictures;
};

// ----- pages and tabs ------------------------------------------------------------------------

// A page's tab index: the number of pages with a shown tab before it; -1 when its own tab is
// not shown or the index is out of range.
int tabIndexOfPage(const std::vector<bool>& showing, int pageIndex);
// The page that owns a shown tab (GetPageIndexAt's walk): the tab index plus the hidden pages
// up to that page; -1 for -1.
int pageIndexOfTab(const std::vector<bool>& showing, int tabIndex);
// GetPageTabRect's tab index for a page: the page index less the hidden pages before it.
int tabIndexForPageRect(const std::vector<bool>& showing, int pageIndex);
// FindNextPage over the pages' TabVisible flags: steps from `current` (or, when it is not a
// page index, from the last page forward or the first page backward) with wrap-around and
// returns the first page whose tab is visible (any page when checkTabVisible is false); the
// start page itself after a full round; -1 without pages or when none qualifies.
int findNextPage(const std::vector<bool>& tabVisible, int current, bool goForward,
                 bool checkTabVisible);

// The text a page's tab reserves room with: the caption and one blank with a close button,
// else the caption less its last two characters (captions end in blanks, "  Nodes    ").
QString tabCaptionFor(const QString& caption, bool showClose);
// The active tab's text in a bold or italic active font: blanks appended, measured in the
// control's font, until they make up the width the active font adds.
QString activeTabText(const QString& tabCaption,
                      const std::function<int(const QString&)>& widthInActiveFont,
                      const std::function<int(const QString&)>& widthInControlFont);

// Room the tab keeps for a picture and the margins (the old dummy picture's extent): along
// the strip, the user pictures' width plus left and right margin for tabs on top or bottom,
// their height plus top and right margin for tabs at the side. Pictures are 0 by 0 without a
// list.
int tabImageRoom(TTabPosition position, int imageWidth, int imageHeight, const TTabMargin& margins);
// Padding of a tab on each end of its content along the strip, and across it.
inline constexpr int kTabPaddingAlong = 6;
inline constexpr int kTabPaddingAcross = 3;
// A tab's extent along the strip and across it. tabWidth or tabHeight above 0 fix that
// extent; otherwise it follows the text, the picture room and the line height.
struct TabExtent {
    int along = 0;
    int across = 0;
};
TabExtent tabExtent(int textWidth, int textHeight, int imageRoom, int imageHeight, int tabWidth,
                    int tabHeight);

// Where the tabs lie. The strip starts 2 pixels in from the control's edge on the tabs' side
// and runs along that edge, 2 pixels short of both ends.
struct TabRowOptions {
    TTabPosition position = tpTop;
    int width = 0;  // the control
    int height = 0;
    // Tabs that do not fit wrap into further rows; otherwise one row, cut at the end.
    bool multiLine = false;
    // Rows keep their natural length; otherwise, with more than one row, every row is widened
    // to the strip's length, the room shared out among its tabs (the first ones get the rest).
    bool raggedRight = false;
    int selected = -1;  // the selected tab; its row lies against the sheet
    // The rows before the selected one go to the far side of the sheet instead of turning
    // round behind it (only with several rows).
    bool scrollOpposite = false;
};
struct TabRowLayout {
    std::vector<TRect> rects;    // per tab, in control coordinates
    std::vector<int> rowOf;      // per tab: its row in filling order (0 holds the first tabs)
    std::vector<bool> opposite;  // per tab: on the far side of the sheet
    int rows = 0;
};
// `along` is each tab's extent along the strip, `across` the height of a row. Rows are filled
// in tab order; the selected tab's row goes next to the sheet and the others follow it in
// turn outward, so the row order turns round as the selection moves (row 0 against the sheet
// without a selection). With scrollOpposite the rows before the selected one lie on the far
// side instead, row 0 along the control's far edge.
TabRowLayout layoutTabRows(const std::vector<int>& along, int across, const TabRowOptions& o);
// The tab whose rectangle holds the point, -1 for none.
int tabAtPoint(const std::vector<TRect>& rects, const QPoint& p);

// ----- drawing helpers -----------------------------------------------------------------------

struct GradientStripe {
    TRect rect;
    TColor color = clNone;
    bool operator==(const GradientStripe&) const = default;
};
// The stripes of DrawGradient between two RGB colours: `steps` stripes of width/steps pixels
// (rounded offsets, halves to even), each one pixel wider than its share so that neighbours
// overlap; the last stripe stops one step short of `to`. Steps below 1 count as 1.
std::vector<GradientStripe> gradientStripes(TColor fromRGB, TColor toRGB, bool horizontal,
                                            const TRect& r, int steps);
// Draws those stripes; system colours are resolved by the canvas first.
void DrawGradient(ICanvas& canvas, TColor from, TColor to, bool horizontal, const TRect& r,
                  int steps);

enum class CloseButtonState : std::uint8_t { Normal, Hot, Down };

// The close box of a tab: a 12 by 11 box and a cross of four lines (each without its end
// point), in the state's colours.
struct CloseButtonShape {
    TRect box;
    std::array<QLine, 4> cross;
    TColor fill = clWhite;
    TColor frame = clGray;
    TColor crossColor = clBlack;
    bool operator==(const CloseButtonShape&) const = default;
};
// `lowered` applies LowerActive to the normal button of the active tab; the hot and pressed
// states place themselves. backGroundActive: TabBackGroundActive holds a picture.
CloseButtonShape closeButtonShape(TTabPosition position, CloseButtonState state, bool lowered,
                                  const TRect& tab, const TTabMargin& margins, int lowerActive,
                                  int tabOverlap, bool backGroundActive);
// The box a click must hit to close the active tab (right and bottom edges excluded).
TRect closeButtonHitBox(TTabPosition position, const TRect& tab, const TTabMargin& margins,
                        int tabOverlap, bool backGroundActive);

// Where a tab's text starts before margins and pictures: see the painter.
QPoint tabTextOrigin(TTabPosition position, const TRect& tab, bool active, bool showClose,
                     int lowerActive);

// The picture with every pixel of `key` made see-through.
QImage transparentImage(const QImage& picture, QRgb key);
// A tab background of any length from one picture: its first half, its two middle rows (or
// columns) stretched, its second half; the bottom-left pixel is see-through. Vertical runs
// down (tabs at the side), otherwise along the width.
QImage slicedBackground(const QImage& picture, int length, bool vertical);

// ----- the painter ---------------------------------------------------------------------------

// What the painter reads of one page.
struct TabPageState {
    TRect rect;  // the tab's rectangle in control coordinates (empty when its tab is hidden)
    bool tabVisible = true;
    bool tabEnable = true;
    bool showClose = false;
    QString caption;
    TColor textColor = clBlack;
    TColor tabColor = clBtnFace;
    TColor tabColorTo = clNone;
    TColor color = clBtnFace;  // the page's own background
    TColor colorTo = clNone;
    TGradientDirection tabGradientDirection = gdVertical;
    TGradientDirection hoverGradientDirection = gdVertical;
    int imageIndex = -1;
    bool opposite = false;  // the tab lies on the far side of the sheet (ScrollOpposite)
};

// What the painter reads of the control.
struct TabPaintState {
    int width = 0;
    int height = 0;
    TTabPosition position = tpTop;
    TTabStyle style = tsClassic;
    TColor color = clBtnFace;  // the control's Color
    TColor parentColor = clBtnFace;
    TColor activeColor = clBtnFace;
    TColor activeColorTo = clNone;
    TColor tabBorderColor = clGray;
    TColor tabHoverColor = clNone;
    TColor tabHoverColorTo = clNone;
    TColor tabHoverBorder = clNone;
    TColor tabSheetBorderColor = clGray;
    TColor tabBackGroundColor = clBtnFace;
    bool tabSheet3D = false;
    bool tabSplitLine = false;
    bool roundEdges = false;
    bool showFocus = false;
    bool hasFocus = false;
    int tabOverlap = 0;
    int lowerActive = 2;
    int tabHeight = 0;
    TTabMargin margins;
    QFont font;
    QFont activeFont;
    TColor activeFontColor = clWindowText;
    QImage tabBackGround;
    QImage tabBackGroundActive;
    QImage closeGlyph;
    const TTabImageList* images = nullptr;
    std::vector<TabPageState> pages;  // every page, in page order
    int activePage = -1;
    int hoverTab = -1;
    bool hotTrack = false;  // the hover tab's text in the hot-light colour
    CloseButtonState closeState = CloseButtonState::Normal;  // of the active tab's button
};

// The geometry of one tab's content, as the painter places it.
struct TabContentLayout {
    QPoint textOrigin;  // left and right tabs: where the rotated text starts
    bool hasClose = false;
    CloseButtonShape close;
    bool hasImage = false;
    QPoint imageAt;
    bool deferred = false;  // drawn after the others from TabBackGroundActive
};
TabContentLayout tabContentLayout(const TabPaintState& s, int pageIndex);

// The sheet area (everything but the tab strip) and the strip's extent of one pass.
struct TabStrip {
    int top = 0;     // least top of the shown tabs
    int bottom = 0;  // greatest bottom
    int left = 0;    // least left
    int right = 0;   // greatest right
};
TabStrip tabStrip(const TabPaintState& s);
// The extent of the tabs on the far side of the sheet; false when there are none.
bool oppositeStrip(const TabPaintState& s, TabStrip& strip);
// Where pages sit: the sheet area less its border and frame.
TRect pageArea(TTabPosition position, int width, int height, const TabStrip& strip,
               bool tabSheet3D);

// Paints the strip, the sheet border and every shown tab. Reads the state only.
void PaintTabs(ICanvas& canvas, const TabPaintState& s);
// The text of a side tab as a picture turned a quarter (reading upward on the left, downward
// on the right), so it goes through ICanvas::image.
QImage rotatedTabText(const QString& text, const QFont& font, const QColor& color, bool readUp);

}  // namespace zfw
