// Page control: painting the tab strip, the sheet border and the tabs through ICanvas.

#include "controls/ExtPageControlCore.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTransform>

#include <algorithm>

namespace zfw {

namespace {

// Shown on the tabs' own side of the sheet; tabs on the far side are painted apart.
bool isShown(const TabPageState& p) { return p.tabVisible && !p.rect.isEmpty() && !p.opposite; }
bool isShownOpposite(const TabPageState& p)
{
    return p.tabVisible && !p.rect.isEmpty() && p.opposite;
}
bool isSide(TTabPosition pos) { return pos == tpLeft || pos == tpRight; }

std::vector<bool> visibleFlags(const TabPaintState& s)
{
    std::vector<bool> v;
    v.reserve(s.pages.size());
    for (const TabPageState& p : s.pages)
        v.push_back(isShown(p));
    return v;
}

// Lines through the points, each segment without its end point (so corners are drawn once).
void polyline(ICanvas& c, std::initializer_list<QPoint> pts, TColor color)
{
    const QPoint* prev = nullptr;
    for (const QPoint& p : pts) {
        if (prev)
            c.line(prev->x(), prev->y(), p.x(), p.y(), color);
        prev = &p;
    }
}

// The three sides of a tab that do not lie against the sheet; `pullIn` moves the trailing
// side one pixel in.
void threeSides(ICanvas& c, TTabPosition pos, const TRect& r, TColor color, bool pullIn = false)
{
    const int right = r.Right - 1 - ((pullIn && !isSide(pos)) ? 1 : 0);
    const int bottom = r.Bottom - 1 - ((pullIn && isSide(pos)) ? 1 : 0);
    switch (pos) {
    case tpTop:
        polyline(c, {{r.Left, r.Bottom}, {r.Left, r.Top}, {right, r.Top}, {right, r.Bottom}},
                 color);
        break;
    case tpBottom:
        polyline(c,
                 {{r.Left, r.Top - 1},
                  {r.Left, r.Bottom - 1},
                  {right, r.Bottom - 1},
                  {right, r.Top - 1}},
                 color);
        break;
    case tpLeft:
        polyline(c, {{r.Right, r.Top}, {r.Left, r.Top}, {r.Left, bottom}, {r.Right, bottom}},
                 color);
        break;
    case tpRight:
        polyline(c,
                 {{r.Left - 1, r.Top},
                  {r.Right - 1, r.Top},
                  {r.Right - 1, bottom},
                  {r.Left - 1, bottom}},
                 color);
        break;
    }
}

// The side of a tab against the sheet: the sheet border's own line.
void sheetSide(ICanvas& c, TTabPosition pos, const TRect& r, TColor color)
{
    switch (pos) {
    case tpTop: c.line(r.Left, r.Bottom, r.Right, r.Bottom, color); break;
    case tpBottom: c.line(r.Left, r.Top - 1, r.Right, r.Top - 1, color); break;
    case tpLeft: c.line(r.Right, r.Top, r.Right, r.Bottom, color); break;
    case tpRight: c.line(r.Left - 1, r.Top, r.Left - 1, r.Bottom, color); break;
    }
}

QImage clippedGlyph(const QImage& glyph)
{
    const QImage part = glyph.copy(0, 0, std::min(glyph.width(), 12), std::min(glyph.height(), 11));
    return transparentImage(part, glyph.pixel(0, glyph.height() - 1));
}

void drawCloseButton(ICanvas& c, const CloseButtonShape& b, const QImage& glyph)
{
    if (!glyph.isNull()) {
        c.image(b.box.Left, b.box.Top, clippedGlyph(glyph));
        return;
    }
    c.fillRect(b.box, b.fill);
    c.frameRect(b.box, b.frame);
    for (const QLine& l : b.cross)
        c.line(l.x1(), l.y1(), l.x2(), l.y2(), b.crossColor);
}

// Where a sliced background of a tab starts, and its length.
struct Slice {
    QPoint at;
    int length = 0;
};
Slice backgroundSlice(const TabPaintState& s, const TRect& r, bool deferred)
{
    const int sideLength = r.Bottom + s.tabOverlap - r.Top + 3;
    const int length = r.Right + s.tabOverlap - r.Left + 2;
    if (!deferred) {
        switch (s.position) {
        case tpLeft: return {{r.Left, r.Top}, sideLength};
        case tpRight: return {{r.Left - 1, r.Top - 2}, sideLength};
        case tpBottom: return {{r.Left - 2, r.Top - 1}, length};
        case tpTop: return {{r.Left - 1, r.Top - 2}, length};
        }
    }
    const bool low = s.lowerActive < 1;
    switch (s.position) {
    case tpLeft: return {{r.Left + (low ? 0 : 1), r.Top}, sideLength};
    case tpRight: return {{r.Left - (low ? 1 : 3), r.Top - 2}, sideLength};
    case tpBottom: return {{r.Left - 2, r.Top - (low ? 1 : 3)}, length};
    case tpTop: break;
    }
    return {{r.Left - 2, r.Top - (low ? 2 : 1)}, length};
}

void drawFocus(ICanvas& c, const TabPaintState& s, const TRect& r, int overlap)
{
    if (!s.showFocus || !s.hasFocus)
        return;
    if (isSide(s.position))
        c.focusRect({r.Left + 5, r.Top + 3, r.Right - 5, r.Bottom - overlap - 3});
    else
        c.focusRect({r.Left + 5, r.Top + 3, r.Right - overlap - 5, r.Bottom - 3});
}

// Close button, picture, text and focus of a tab whose background is drawn.
void drawTabContent(ICanvas& c, const TabPaintState& s, int index, const TabContentLayout& l,
                    bool deferred)
{
    const TabPageState& p = s.pages[size_t(index)];
    const bool active = index == s.activePage;
    if (l.hasClose)
        drawCloseButton(c, l.close, s.closeGlyph);
    if (l.hasImage)
        c.image(l.imageAt.x(), l.imageAt.y(), s.images->Pictures[size_t(p.imageIndex)]);

    const bool useActiveFont = !deferred
                               && ((active && s.position == tpTop) || s.position == tpBottom);
    TColor color = useActiveFont ? s.activeFontColor : p.textColor;
    // Hot tracking shows the text of the tab under the mouse in the hot-light colour.
    if (s.hotTrack && index == s.hoverTab && !active)
        color = clHotLight;
    if (!p.tabEnable)
        color = clGray;
    const QFont& font = active ? s.activeFont : s.font;
    if (isSide(s.position)) {
        const QColor q = toQColor(c.toRGB(color));
        const QImage text = rotatedTabText(p.caption, font, q, s.position == tpLeft);
        if (s.position == tpLeft)
            c.image(l.textOrigin.x(), l.textOrigin.y() - text.height(), text);
        else
            c.image(l.textOrigin.x() - text.width(), l.textOrigin.y(), text);
    } else {
        c.setFont(useActiveFont || active ? s.activeFont : s.font);
        const int y = l.textOrigin.y() - (deferred ? 2 : 0);
        const int bottom = p.rect.Bottom + (s.position == tpBottom ? 1 : 0);
        c.text({l.textOrigin.x(), y, std::max(p.rect.Right, l.textOrigin.x() + 1),
                std::max(bottom, y + 1)},
               p.caption, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
               color);
        c.setFont(s.font);
    }
    if (active)
        drawFocus(c, s, p.rect, deferred ? s.tabOverlap : 0);
}

void drawSlice(ICanvas& c, const QImage& picture, const Slice& slice, bool vertical)
{
    const QImage img = slicedBackground(picture, slice.length, vertical);
    if (!img.isNull())
        c.image(slice.at.x(), slice.at.y(), img);
}

// One tab: background, border, and (unless deferred) its content.
void paintTab(ICanvas& c, const TabPaintState& s, int index, const TabStrip& strip, int& joinTabs,
              const std::vector<bool>& shown)
{
    const TabPageState& p = s.pages[size_t(index)];
    const TRect& r = p.rect;
    const bool active = index == s.activePage;
    const TTabPosition pos = s.position;
    const TabContentLayout layout = tabContentLayout(s, index);

    if (s.tabBackGround.isNull()) {
        TColor from = p.tabColor;
        TColor to = p.tabColorTo;
        TGradientDirection dir = p.tabGradientDirection;
        if (active && s.activeColor != clNone) {
            from = s.activeColor, to = s.activeColorTo;
        } else if (index == s.hoverTab
                   && (s.tabHoverColor != clNone || s.tabHoverColorTo != clNone)) {
            from = s.tabHoverColor, to = s.tabHoverColorTo, dir = p.hoverGradientDirection;
        }
        // One pixel more toward the strip's outer edge.
        TRect fill = r;
        TRect gradient = r;
        switch (pos) {
        case tpTop: fill.Top -= 1, gradient.Top -= 1, gradient.Bottom -= 1; break;
        case tpBottom: fill.Bottom += 1, gradient.Bottom += 1, gradient.Top += 1; break;
        case tpLeft: fill.Left -= 1, gradient.Left -= 1, gradient.Right -= 1; break;
        case tpRight: fill.Right += 1, gradient.Right += 1, gradient.Left += 1; break;
        }
        if (to != clNone)
            DrawGradient(c, from, to, dir == gdHorizontal, gradient, 16);
        else
            c.fillRect(fill, from);

        if (active) {
            threeSides(c, pos, r, s.tabBorderColor);
        } else if (s.style == tsDotNet) {
            sheetSide(c, pos, r, s.tabBorderColor);
            const int next = findNextPage(shown, index, true, true);
            const bool atEnd = isSide(pos) ? r.Bottom >= strip.bottom - 3
                                           : r.Right >= strip.right - 3;
            if (next != s.activePage || atEnd) {
                if (isSide(pos)) {
                    c.line(r.Left + 2, r.Bottom - 2, r.Right - 2, r.Bottom - 2, s.activeColor);
                    c.line(r.Left + 2, r.Bottom - 3, r.Right - 2, r.Bottom - 3, s.activeColor);
                } else {
                    c.line(r.Right - 2, r.Top + 2, r.Right - 2, r.Bottom - 2, s.activeColor);
                    c.line(r.Right - 3, r.Top + 2, r.Right - 3, r.Bottom - 2, s.activeColor);
                }
            }
        } else {
            const bool endsShort = pos == tpTop      ? r.Bottom < strip.bottom
                                   : pos == tpBottom ? r.Top > strip.top
                                   : pos == tpLeft   ? r.Right < strip.right
                                                     : r.Left > strip.left;
            if (endsShort)
                joinTabs = 0;
            TRect frame = r;
            if (isSide(pos)) {
                if (r.Bottom < s.height - 5)
                    frame.Bottom += 1;
            } else if (r.Right < s.width - 5) {
                frame.Right += 1;
            }
            switch (pos) {
            case tpTop: frame.Bottom += joinTabs; break;
            case tpBottom: frame.Top -= joinTabs; break;
            case tpLeft: frame.Right += joinTabs; break;
            case tpRight: frame.Left -= joinTabs; break;
            }
            c.frameRect(frame, s.tabBorderColor);
            if (!s.tabSheet3D && !s.tabSplitLine)
                joinTabs = 1;
        }
    } else {
        if (layout.deferred)
            return;
        drawSlice(c, s.tabBackGround, backgroundSlice(s, r, false), isSide(pos));
    }
    drawTabContent(c, s, index, layout, false);
}

// The rows that ScrollOpposite moved to the far side of the sheet: their band in the strip's
// colour, the sheet closed by a border line along it, and each tab framed as an inactive tab
// with its text, as tabs on that side are drawn.
void paintOppositeTabs(ICanvas& c, const TabPaintState& s)
{
    TabStrip far;
    if (!oppositeStrip(s, far))
        return;
    const int W = s.width;
    const int H = s.height;
    TabPaintState o = s;
    o.activePage = -1;
    TRect band;
    QLine border;
    switch (s.position) {
    case tpTop:
        o.position = tpBottom;
        band = {0, far.top, W, H};
        border = {0, far.top - 1, W, far.top - 1};
        break;
    case tpBottom:
        o.position = tpTop;
        band = {0, 0, W, far.bottom};
        border = {0, far.bottom, W, far.bottom};
        break;
    case tpLeft:
        o.position = tpRight;
        band = {far.left, 0, W, H};
        border = {far.left - 1, 0, far.left - 1, H};
        break;
    case tpRight:
        o.position = tpLeft;
        band = {0, 0, far.right, H};
        border = {far.right, 0, far.right, H};
        break;
    }
    c.fillRect(band, s.tabBackGroundColor);
    c.line(border.x1(), border.y1(), border.x2(), border.y2(), s.tabSheetBorderColor);
    for (int i = int(s.pages.size()) - 1; i >= 0; --i) {
        TabPageState& p = o.pages[size_t(i)];
        if (!isShownOpposite(p))
            continue;
        TColor from = p.tabColor;
        TColor to = p.tabColorTo;
        TGradientDirection dir = p.tabGradientDirection;
        if (i == s.hoverTab && (s.tabHoverColor != clNone || s.tabHoverColorTo != clNone))
            from = s.tabHoverColor, to = s.tabHoverColorTo, dir = p.hoverGradientDirection;
        if (to != clNone)
            DrawGradient(c, from, to, dir == gdHorizontal, p.rect, 16);
        else
            c.fillRect(p.rect, from);
        c.frameRect(p.rect, s.tabBorderColor);
        // Painted as a tab of the far side, which the content layout reads from `o`.
        p.opposite = false;
        drawTabContent(c, o, i, tabContentLayout(o, i), false);
    }
}

}  // namespace

TabStrip tabStrip(const TabPaintState& s)
{
    TabStrip st;
    st.left = s.width;
    bool any = false;
    for (const TabPageState& p : s.pages) {
        if (!isShown(p))
            continue;
        if (!any)
            st.top = p.rect.Top;
        any = true;
        st.bottom = std::max(st.bottom, p.rect.Bottom);
        st.top = std::min(st.top, p.rect.Top);
        st.left = std::min(st.left, p.rect.Left);
        st.right = std::max(st.right, p.rect.Right);
    }
    if (!any) {
        // The strip collapses to a band of two pixels.
        st.bottom = 2;
        st.top = s.height - 2;
        st.right = 2;
        st.left = s.width - 2;
    }
    return st;
}

bool oppositeStrip(const TabPaintState& s, TabStrip& strip)
{
    bool any = false;
    for (const TabPageState& p : s.pages) {
        if (!isShownOpposite(p))
            continue;
        if (!any)
            strip = {p.rect.Top, p.rect.Bottom, p.rect.Left, p.rect.Right};
        any = true;
        strip.top = std::min(strip.top, p.rect.Top);
        strip.bottom = std::max(strip.bottom, p.rect.Bottom);
        strip.left = std::min(strip.left, p.rect.Left);
        strip.right = std::max(strip.right, p.rect.Right);
    }
    return any;
}

TRect pageArea(TTabPosition position, int width, int height, const TabStrip& strip, bool tabSheet3D)
{
    // Inside the border line and the three-pixel frame; against the tabs the frame begins on
    // the border line itself unless the sheet has a 3D border.
    const int inset = tabSheet3D ? 4 : 3;
    TRect page{4, 4, width - 4, height - 4};
    switch (position) {
    case tpTop: page.Top = strip.bottom + inset; break;
    case tpBottom: page.Bottom = strip.top - inset; break;
    case tpLeft: page.Left = strip.right + inset; break;
    case tpRight: page.Right = strip.left - inset; break;
    }
    return page;
}

TabContentLayout tabContentLayout(const TabPaintState& s, int pageIndex)
{
    TabContentLayout l;
    if (pageIndex < 0 || pageIndex >= int(s.pages.size()))
        return l;
    const TabPageState& p = s.pages[size_t(pageIndex)];
    const TRect& r = p.rect;
    const bool active = pageIndex == s.activePage;
    const bool bgActive = !s.tabBackGroundActive.isNull();
    QPoint t = tabTextOrigin(s.position, r, active, p.showClose, s.lowerActive);
    if (!s.tabBackGround.isNull()) {
        switch (s.position) {
        case tpLeft: t += QPoint(-2, -3); break;
        case tpRight: t += QPoint(-(s.tabHeight / 3), -3); break;
        case tpBottom: t += QPoint(0, 3); break;
        case tpTop: break;
        }
        l.deferred = active && bgActive;
    }
    if (s.position == tpLeft)
        t += QPoint(s.margins.LeftMargin(),
                    -s.margins.TopMargin() + (bgActive ? s.tabOverlap + 3 : 0));
    else
        t += QPoint(s.margins.LeftMargin(), s.margins.TopMargin());

    if (p.showClose) {
        l.hasClose = true;
        const CloseButtonState state = active ? s.closeState : CloseButtonState::Normal;
        l.close = closeButtonShape(s.position, state, active || l.deferred, r, s.margins,
                                   s.lowerActive, s.tabOverlap, bgActive);
    }
    if (s.images && p.imageIndex >= 0 && p.imageIndex < int(s.images->Pictures.size())) {
        l.hasImage = true;
        switch (s.position) {
        case tpLeft:
            l.imageAt = {t.x(), t.y() - 14};
            t.ry() -= s.images->Height;
            break;
        case tpRight:
            l.imageAt = {t.x() - 14, t.y()};
            t.ry() += s.images->Height;
            break;
        case tpTop:
        case tpBottom:
            l.imageAt = {t.x() - 2, t.y()};
            t.rx() += s.images->Width;
            break;
        }
    }
    l.textOrigin = t;
    return l;
}

QImage rotatedTabText(const QString& text, const QFont& font, const QColor& color, bool readUp)
{
    const QFontMetrics fm(font);
    const int w = std::max(1, fm.horizontalAdvance(text));
    const int h = std::max(1, fm.height());
    QImage flat(w, h, QImage::Format_ARGB32_Premultiplied);
    flat.fill(Qt::transparent);
    {
        QPainter p(&flat);
        p.setFont(font);
        p.setPen(color);
        p.drawText(QRect(0, 0, w, h), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    return flat.transformed(QTransform().rotate(readUp ? -90 : 90));
}

void PaintTabs(ICanvas& c, const TabPaintState& s)
{
    const int W = s.width;
    const int H = s.height;
    if (W <= 0 || H <= 0)
        return;
    const TTabPosition pos = s.position;
    c.setFont(s.font);

    // Erase what lies under the tabs, a little wider on the sides away from the sheet.
    const std::vector<bool> shown = visibleFlags(s);
    for (const TabPageState& p : s.pages) {
        if (!isShown(p))
            continue;
        TRect e = p.rect;
        switch (pos) {
        case tpTop: e = {e.Left - 2, e.Top - 2, e.Right + 2, e.Bottom}; break;
        case tpBottom: e = {e.Left - 2, e.Top, e.Right + 2, e.Bottom + 2}; break;
        case tpLeft: e = {e.Left - 2, e.Top - 2, e.Right, e.Bottom + 2}; break;
        case tpRight: e = {e.Left, e.Top - 2, e.Right + 2, e.Bottom + 2}; break;
        }
        c.fillRect(e, s.parentColor);
    }
    const TabStrip strip = tabStrip(s);

    if (pos == tpTop) {
        c.fillRect({W - 35, 0, W, strip.bottom}, s.color);
        c.line(std::max(W - 35, strip.right), strip.bottom, W, strip.bottom, clWhite);
    } else if (pos == tpBottom) {
        c.fillRect({W - 35, strip.top, W, H}, s.color);
        c.line(std::max(W - 35, strip.right), strip.top - 1, W, strip.top - 1, cl3DDkShadow);
    }

    switch (pos) {
    case tpLeft: c.fillRect({0, 0, strip.right, H - 1}, s.tabBackGroundColor); break;
    case tpRight: c.fillRect({strip.left, 0, W, H - 1}, s.tabBackGroundColor); break;
    case tpBottom: c.fillRect({0, strip.top, W, H}, s.tabBackGroundColor); break;
    case tpTop: c.fillRect({0, 0, W, strip.bottom}, s.tabBackGroundColor); break;
    }

    const TabPageState* active = s.activePage >= 0 && s.activePage < int(s.pages.size())
                                     ? &s.pages[size_t(s.activePage)]
                                     : nullptr;
    const bool pageFrame = active && (active->colorTo != clNone || active->color != s.color);

    if (pageFrame) {
        const int inset = s.tabSheet3D ? 1 : 0;
        TRect f{1, 1, W - 1, H - 1};
        switch (pos) {
        case tpTop: f.Top = strip.bottom + inset; break;
        case tpBottom: f.Bottom = strip.top - inset; break;
        case tpLeft: f.Left = strip.right + inset; break;
        case tpRight: f.Right = strip.left - inset; break;
        }
        const TRect bands[4] = {{f.Left, f.Top, f.Right, f.Top + 3},
                                {f.Left, f.Bottom - 3, f.Right, f.Bottom},
                                {f.Left, f.Top, f.Left + 3, f.Bottom},
                                {f.Right - 3, f.Top, f.Right, f.Bottom}};
        const int againstTabs = pos == tpTop ? 0 : pos == tpBottom ? 1 : pos == tpLeft ? 2 : 3;
        // The clip is the union of the four bands: each band is painted in turn.
        for (const TRect& band : bands) {
            c.pushClip(band);
            if (active->colorTo == clNone) {
                c.fillRect({0, 0, W, H}, active->color);
            } else {
                DrawGradient(c, active->color, active->colorTo, false, {0, 0, W, H}, 16);
                c.fillRect(bands[againstTabs], active->color);
            }
            c.popClip();
        }
    }

    if (!s.tabSheet3D) {
        const TColor b = s.tabSheetBorderColor;
        const int SB = strip.bottom;
        const int ST = strip.top;
        const int SR = strip.right;
        const int SL = strip.left;
        switch (pos) {
        case tpTop:
            polyline(c, {{0, SB}, {0, H - 1}, {W - 1, H - 1}, {W - 1, SB}, {0, SB}}, b);
            if (!pageFrame) {
                c.line(1, H - 2, W - 1, H - 2, s.color);
                c.line(W - 2, H - 2, W - 2, SB, s.color);
            }
            break;
        case tpBottom:
            polyline(c, {{0, 0}, {0, ST - 1}, {W - 1, ST - 1}, {W - 1, 0}, {0, 0}}, b);
            if (!pageFrame) {
                c.line(1, ST - 2, W - 1, ST - 2, s.color);
                c.line(W - 2, ST - 2, W - 2, 0, s.color);
            }
            break;
        case tpLeft:
            polyline(c, {{SR, 0}, {SR, H - 2}, {W - 2, H - 2}, {W - 2, 0}, {SR, 0}}, b);
            c.line(SR, H - 1, W, H - 1, s.color);
            c.line(W - 1, 0, W - 1, H, s.color);
            break;
        case tpRight:
            // Mirrors the left form. The bottom line used to lie below the control (y =
            // height), so right-hand sheets had no bottom border; it is drawn inside now.
            polyline(c, {{0, 0}, {0, H - 2}, {SL - 1, H - 2}, {SL - 1, 0}, {0, 0}}, b);
            c.line(0, H - 1, SL, H - 1, s.color);
            if (!pageFrame)
                c.line(SL - 2, H - 3, SL - 2, 0, s.color);
            break;
        }

        if (s.roundEdges) {
            const TColor k = s.color;
            switch (pos) {
            case tpTop:
                polyline(c, {{0, H - 4}, {0, H - 1}, {4, H - 1}}, k);
                polyline(c, {{W - 4, H - 1}, {W - 1, H - 1}, {W - 1, H - 5}}, k);
                c.line(1, H - 4, 1, H - 2, b);
                c.line(2, H - 2, 4, H - 2, b);
                c.line(W - 4, H - 2, W - 2, H - 2, b);
                c.line(W - 2, H - 3, W - 2, H - 5, b);
                break;
            case tpBottom:
                polyline(c, {{0, 3}, {0, 0}, {4, 0}}, k);
                polyline(c, {{W - 4, 0}, {W - 1, 0}, {W - 1, 4}}, k);
                c.line(1, 3, 1, 1, b);
                c.line(2, 1, 4, 1, b);
                c.line(W - 4, 1, W - 2, 1, b);
                c.line(W - 2, 2, W - 2, 4, b);
                break;
            case tpLeft:
                polyline(c, {{W - 5, H - 2}, {W - 2, H - 2}, {W - 2, H - 6}}, k);
                polyline(c, {{W - 2, 3}, {W - 2, 0}, {W - 6, 0}}, k);
                c.line(W - 5, H - 3, W - 3, H - 3, b);
                c.line(W - 3, H - 4, W - 3, H - 6, b);
                c.line(W - 3, 3, W - 3, 1, b);
                c.line(W - 4, 1, W - 6, 1, b);
                break;
            case tpRight:
                polyline(c, {{3, H - 2}, {0, H - 2}, {0, H - 6}}, k);
                polyline(c, {{0, 3}, {0, 0}, {4, 0}}, k);
                c.line(3, H - 3, 1, H - 3, b);
                c.line(1, H - 4, 1, H - 6, b);
                c.line(1, 3, 1, 1, b);
                c.line(2, 1, 4, 1, b);
                break;
            }
        }
    }

    if (s.tabSheet3D) {
        // The raised edge of the sheet: light outside and highlight inside at the top and
        // left, dark shadow outside and shadow inside at the bottom and right.
        TRect e{0, 0, W, H};
        switch (pos) {
        case tpTop: e.Top = strip.bottom; break;
        case tpBottom: e.Bottom = strip.top; break;
        case tpLeft: e.Left = strip.right; break;
        case tpRight: e.Right = strip.left; break;
        }
        const auto edge = [&c](const TRect& r, TColor light, TColor dark) {
            c.line(r.Left, r.Bottom - 1, r.Left, r.Top, light);
            c.line(r.Left, r.Top, r.Right - 1, r.Top, light);
            c.line(r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1, dark);
            c.line(r.Right - 1, r.Bottom - 1, r.Left - 1, r.Bottom - 1, dark);
        };
        edge(e, cl3DLight, cl3DDkShadow);
        edge(e.inflated(-1, -1), clBtnHighlight, clBtnShadow);
    }

    int joinTabs = 0;
    if (!s.tabSplitLine && !s.pages.empty()) {
        joinTabs = 1;
        TColor k = s.color;
        if (pageFrame)
            k = (pos == tpBottom && active->colorTo != clNone) ? active->colorTo : active->color;
        const int extra = (pos == tpLeft && s.style == tsClassic && !s.tabBackGround.isNull()) ? 2
                                                                                               : 0;
        switch (pos) {
        case tpTop: c.line(2, strip.bottom, strip.right + s.tabOverlap, strip.bottom, k); break;
        case tpBottom:
            c.line(2, strip.top - 1, strip.right + s.tabOverlap, strip.top - 1, k);
            break;
        case tpLeft:
            c.line(strip.right, 2, strip.right, strip.bottom + s.tabOverlap + extra, k);
            break;
        case tpRight:
            c.line(strip.left - 1, 2, strip.left - 1, strip.bottom + s.tabOverlap, k);
            break;
        }
    }

    int deferred = -1;
    for (int i = int(s.pages.size()) - 1; i >= 0; --i) {
        if (!shown[size_t(i)])
            continue;
        if (tabContentLayout(s, i).deferred)
            deferred = i;
        paintTab(c, s, i, strip, joinTabs, shown);
    }

    if (deferred >= 0) {
        const TRect& r = s.pages[size_t(deferred)].rect;
        drawSlice(c, s.tabBackGroundActive, backgroundSlice(s, r, true), isSide(pos));
        drawTabContent(c, s, deferred, tabContentLayout(s, deferred), true);
    }

    paintOppositeTabs(c, s);

    if (s.hoverTab >= 0 && s.hoverTab < int(s.pages.size()) && s.hoverTab != s.activePage
        && s.tabHoverBorder != clNone && shown[size_t(s.hoverTab)]) {
        const TRect& r = s.pages[size_t(s.hoverTab)].rect;
        const bool pull = isSide(pos) ? r.Bottom >= H - 5 : r.Right >= W - 5;
        threeSides(c, pos, r, s.tabHoverBorder, pull);
    }
}

}  // namespace zfw
