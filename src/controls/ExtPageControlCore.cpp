// Page control: margins, page and tab arithmetic, captions, tab sizes, gradient and close box.

#include "controls/ExtPageControlCore.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zfw {

void TTabMargin::SetMargin(int Index, TMarginSize Value)
{
    TMarginSize* field = Index == 0   ? &FLeftMargin
                         : Index == 1 ? &FTopMargin
                         : Index == 2 ? &FRightMargin
                                      : nullptr;
    if (!field || *field == Value)
        return;
    if (OnMarginChange)
        OnMarginChange(Value, *field, Index);
    *field = Value;
}

void TTabMargin::Assign(const TTabMargin& Source)
{
    FLeftMargin = Source.FLeftMargin;
    FTopMargin = Source.FTopMargin;
    FRightMargin = Source.FRightMargin;
}

// ----- pages and tabs ------------------------------------------------------------------------

int tabIndexOfPage(const std::vector<bool>& showing, int pageIndex)
{
    if (pageIndex < 0 || pageIndex >= int(showing.size()) || !showing[size_t(pageIndex)])
        return -1;
    return int(std::count(showing.begin(), showing.begin() + pageIndex, true));
}

int pageIndexOfTab(const std::vector<bool>& showing, int tabIndex)
{
    int result = tabIndex;
    for (int i = 0; i < int(showing.size()) && i <= result; ++i) {
        if (!showing[size_t(i)])
            ++result;
    }
    return result;
}

int tabIndexForPageRect(const std::vector<bool>& showing, int pageIndex)
{
    const int end = std::clamp(pageIndex, 0, int(showing.size()));
    return pageIndex - int(std::count(showing.begin(), showing.begin() + end, false));
}

int findNextPage(const std::vector<bool>& tabVisible, int current, bool goForward,
                 bool checkTabVisible)
{
    const int n = int(tabVisible.size());
    if (n == 0)
        return -1;
    int i = current;
    if (i < 0 || i >= n)
        i = goForward ? n - 1 : 0;
    for (int k = 0; k < n; ++k) {
        i = goForward ? (i + 1) % n : (i + n - 1) % n;
        if (!checkTabVisible || tabVisible[size_t(i)])
            return i;
    }
    return -1;
}

QString tabCaptionFor(const QString& caption, bool showClose)
{
    if (showClose)
        return caption + QLatin1Char(' ');
    QString s = caption;
    s.chop(2);
    return s;
}

QString activeTabText(const QString& tabCaption,
                      const std::function<int(const QString&)>& widthInActiveFont,
                      const std::function<int(const QString&)>& widthInControlFont)
{
    const int difference = widthInActiveFont(tabCaption) - widthInControlFont(tabCaption);
    QString blanks;
    // A blank of width 0 would never make up the difference.
    while (widthInControlFont(blanks) < difference) {
        const int before = widthInControlFont(blanks);
        blanks += QLatin1Char(' ');
        if (widthInControlFont(blanks) <= before)
            break;
    }
    return tabCaption + blanks;
}

int tabImageRoom(TTabPosition position, int imageWidth, int imageHeight, const TTabMargin& margins)
{
    if (position == tpTop || position == tpBottom)
        return imageWidth + margins.RightMargin() + margins.LeftMargin();
    return imageHeight + margins.RightMargin() + margins.TopMargin();
}

TabExtent tabExtent(int textWidth, int textHeight, int imageRoom, int imageHeight, int tabWidth,
                    int tabHeight)
{
    TabExtent e;
    e.along = tabWidth > 0 ? tabWidth : textWidth + std::max(0, imageRoom) + 2 * kTabPaddingAlong;
    e.across = tabHeight > 0 ? tabHeight
                             : std::max(textHeight, imageHeight) + 2 * kTabPaddingAcross;
    return e;
}

TabRowLayout layoutTabRows(const std::vector<int>& along, int across, const TabRowOptions& o)
{
    TabRowLayout l;
    const int n = int(along.size());
    l.rects.resize(along.size());
    l.rowOf.assign(along.size(), 0);
    l.opposite.assign(along.size(), false);
    if (n == 0)
        return l;
    const bool side = o.position == tpLeft || o.position == tpRight;
    const int length = std::max(0, (side ? o.height : o.width) - 4);
    across = std::max(0, across);

    // Fill the rows: offsets along the strip, then the rows' starts.
    std::vector<int> offset(along.size(), 0);
    std::vector<int> rowStart{0};
    int a = 0;
    for (int i = 0; i < n; ++i) {
        const int w = std::max(0, along[size_t(i)]);
        if (o.multiLine && a > 0 && a + w > length) {
            rowStart.push_back(i);
            a = 0;
        }
        offset[size_t(i)] = a;
        l.rowOf[size_t(i)] = int(rowStart.size()) - 1;
        a += w;
    }
    l.rows = int(rowStart.size());
    std::vector<int> extent(along.size());
    for (int i = 0; i < n; ++i)
        extent[size_t(i)] = std::max(0, along[size_t(i)]);
    if (o.multiLine && !o.raggedRight && l.rows > 1) {
        rowStart.push_back(n);
        for (int r = 0; r < l.rows; ++r) {
            const int first = rowStart[size_t(r)];
            const int count = rowStart[size_t(r) + 1] - first;
            int used = 0;
            for (int i = first; i < first + count; ++i)
                used += extent[size_t(i)];
            const int room = std::max(0, length - used);
            int at = 0;
            for (int k = 0; k < count; ++k) {
                const int i = first + k;
                extent[size_t(i)] += room / count + (k < room % count ? 1 : 0);
                offset[size_t(i)] = at;
                at += extent[size_t(i)];
            }
        }
    }

    const int selectedRow = o.selected >= 0 && o.selected < n ? l.rowOf[size_t(o.selected)] : 0;
    const auto opposite = [](TTabPosition p) {
        switch (p) {
        case tpTop: return tpBottom;
        case tpBottom: return tpTop;
        case tpLeft: return tpRight;
        case tpRight: break;
        }
        return tpLeft;
    };
    for (int i = 0; i < n; ++i) {
        const int row = l.rowOf[size_t(i)];
        const int fromSheet = (row - selectedRow + l.rows) % l.rows;
        int fromEdge = l.rows - 1 - fromSheet;  // 0: the row along the control's edge
        TTabPosition side = o.position;
        if (o.multiLine && o.scrollOpposite && row < selectedRow) {
            l.opposite[size_t(i)] = true;
            side = opposite(o.position);
            fromEdge = row;
        } else if (o.multiLine && o.scrollOpposite) {
            fromEdge = l.rows - 1 - row;
        }
        const int a0 = 2 + offset[size_t(i)];
        const int a1 = a0 + extent[size_t(i)];
        TRect& r = l.rects[size_t(i)];
        switch (side) {
        case tpTop: r = {a0, 2 + fromEdge * across, a1, 2 + (fromEdge + 1) * across}; break;
        case tpBottom:
            r = {a0, o.height - 2 - (fromEdge + 1) * across, a1, o.height - 2 - fromEdge * across};
            break;
        case tpLeft: r = {2 + fromEdge * across, a0, 2 + (fromEdge + 1) * across, a1}; break;
        case tpRight:
            r = {o.width - 2 - (fromEdge + 1) * across, a0, o.width - 2 - fromEdge * across, a1};
            break;
        }
    }
    return l;
}

int tabAtPoint(const std::vector<TRect>& rects, const QPoint& p)
{
    for (size_t i = 0; i < rects.size(); ++i) {
        if (rects[i].contains(p.x(), p.y()))
            return int(i);
    }
    return -1;
}

// ----- drawing helpers -----------------------------------------------------------------------

namespace {

int red(TColor c) { return int(c & 0xFF); }
int green(TColor c) { return int((c >> 8) & 0xFF); }
int blue(TColor c) { return int((c >> 16) & 0xFF); }

}  // namespace

std::vector<GradientStripe> gradientStripes(TColor fromRGB, TColor toRGB, bool horizontal,
                                            const TRect& r, int steps)
{
    steps = std::max(1, steps);
    const double stripe = double(horizontal ? r.Width() : r.Height()) / steps;
    const int stripeWidth = roundHalfEven(stripe) + 1;
    std::vector<GradientStripe> out;
    out.reserve(size_t(steps));
    for (int i = 0; i < steps; ++i) {
        const auto part = [&](int from, int to) {
            return from + roundHalfEven(double(i) * (to - from) / steps);
        };
        const TColor c = rgbColor(part(red(fromRGB), red(toRGB)),
                                  part(green(fromRGB), green(toRGB)),
                                  part(blue(fromRGB), blue(toRGB)));
        const int offset = roundHalfEven(i * stripe);
        const TRect s = horizontal
                            ? TRect{r.Left + offset, r.Top, r.Left + offset + stripeWidth, r.Bottom}
                            : TRect{r.Left, r.Top + offset, r.Right, r.Top + offset + stripeWidth};
        out.push_back({s, c});
    }
    return out;
}

void DrawGradient(ICanvas& canvas, TColor from, TColor to, bool horizontal, const TRect& r,
                  int steps)
{
    const TColor a = canvas.toRGB(from);
    const TColor b = canvas.toRGB(to);
    if (a == clNone || b == clNone)
        return;
    for (const GradientStripe& s : gradientStripes(a, b, horizontal, r, steps))
        canvas.fillRect(s.rect, s.color);
}

CloseButtonShape closeButtonShape(TTabPosition position, CloseButtonState state, bool lowered,
                                  const TRect& tab, const TTabMargin& margins, int lowerActive,
                                  int tabOverlap, bool backGroundActive)
{
    CloseButtonShape b;
    switch (state) {
    case CloseButtonState::Normal:
        b.fill = clWhite, b.frame = clGray, b.crossColor = clBlack;
        break;
    case CloseButtonState::Hot: b.fill = clWhite, b.frame = clBlack, b.crossColor = clGray; break;
    case CloseButtonState::Down:
        b.fill = clSilver, b.frame = clBlack, b.crossColor = clBlack;
        break;
    }
    const bool moved = lowered || state != CloseButtonState::Normal;
    if (position == tpLeft) {
        // The button sits at the bottom end, where the upward text begins.
        const int x = tab.Left + margins.LeftMargin() + (moved ? lowerActive : 0);
        const int y = tab.Bottom - margins.TopMargin() + (backGroundActive ? tabOverlap : 0);
        b.box = {x + 2, y - 13, x + 14, y - 2};
        b.cross = {QLine(x + 5, y - 10, x + 11, y - 5), QLine(x + 6, y - 10, x + 10, y - 5),
                   QLine(x + 5, y - 6, x + 11, y - 11), QLine(x + 6, y - 6, x + 10, y - 11)};
        return b;
    }
    int x = tab.Left + margins.LeftMargin();
    int y = tab.Top + margins.TopMargin();
    if (position == tpRight) {
        if (state == CloseButtonState::Hot)
            ;
        else if (state == CloseButtonState::Down)
            x += 2 - lowerActive;
        else
            x += 2 - (lowered ? lowerActive : 0);
    } else if (moved) {
        y += lowerActive;
    }
    b.box = {x + 2, y + 2, x + 14, y + 13};
    b.cross = {QLine(x + 5, y + 9, x + 11, y + 4), QLine(x + 6, y + 9, x + 10, y + 4),
               QLine(x + 5, y + 5, x + 11, y + 10), QLine(x + 6, y + 5, x + 10, y + 10)};
    return b;
}

TRect closeButtonHitBox(TTabPosition position, const TRect& tab, const TTabMargin& margins,
                        int tabOverlap, bool backGroundActive)
{
    if (position == tpLeft) {
        int x = tab.Left + margins.LeftMargin();
        int y = tab.Bottom - margins.TopMargin();
        if (backGroundActive) {
            x += 2;
            y += tabOverlap;
        }
        return {x + 2, y - 13, x + 14, y - 2};
    }
    const int x = tab.Left + margins.LeftMargin();
    const int y = tab.Top + margins.TopMargin();
    return {x + 2, y + 2, x + 14, y + 13};
}

QPoint tabTextOrigin(TTabPosition position, const TRect& tab, bool active, bool showClose,
                     int lowerActive)
{
    // The close button takes the first 14 pixels in the reading direction.
    switch (position) {
    case tpLeft:
        return {tab.Left + 1 + (active ? lowerActive : 0), tab.Bottom - 17 + (showClose ? 0 : 13)};
    case tpRight:
        return {tab.Right - 1 - (active ? lowerActive : 0), tab.Top + 17 - (showClose ? 0 : 13)};
    case tpBottom:
        return {tab.Left + 18 - (showClose ? 0 : 14), active ? tab.Top + 1 + lowerActive : tab.Top};
    case tpTop: break;
    }
    return {tab.Left + 18 - (showClose ? 0 : 14), tab.Top + 1 + (active ? lowerActive : 0)};
}

QImage transparentImage(const QImage& picture, QRgb key)
{
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    key |= 0xFF000000u;
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((row[x] | 0xFF000000u) == key)
                row[x] = 0;
        }
    }
    return out;
}

QImage slicedBackground(const QImage& picture, int length, bool vertical)
{
    if (picture.isNull() || length <= 0)
        return {};
    const QImage src = transparentImage(picture,
                                        picture.pixel(0, picture.height() - 1) | 0xFF000000u);
    const int w = src.width();
    const int h = src.height();
    const int extent = vertical ? h : w;
    const int half = extent / 2;
    QImage out(vertical ? QSize(w, length) : QSize(length, h), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter p(&out);
    const auto part = [&](int from, int size) {
        return vertical ? QRect(0, from, w, size) : QRect(from, 0, size, h);
    };
    // First half, the two middle rows stretched over what the picture lacks, second half.
    p.drawImage(part(0, half), src, part(0, half));
    const int middle = length - extent;
    if (middle > 0 && extent >= 2)
        p.drawImage(part(half, middle), src, part(std::max(0, half - 1), 2));
    // A tab shorter than the picture lets the halves overlap.
    p.drawImage(part(half + middle, extent - half), src, part(half, extent - half));
    return out;
}

}  // namespace zfw
