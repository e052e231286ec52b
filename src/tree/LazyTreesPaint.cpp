// The paint pass of the tree control: rows through one row picture, erasing, the cells with
// their lines, buttons, check boxes and images, the area below the rows, the empty-list message.

#include "tree/LazyTreesControl.h"
#include "tree/LazyTreesUtils.h"
#include "tree/core/LazyTreesGuard.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace zfw {

namespace {

// Draws onto another canvas moved by (dx, dy): the row's own coordinates onto the target.
class OffsetCanvas final : public ICanvas {
public:
    OffsetCanvas(ICanvas& target, int dx, int dy) : m_t(target), m_dx(dx), m_dy(dy) {}
    void fillRect(const TRect& r, TColor c) override { m_t.fillRect(r.offset(m_dx, m_dy), c); }
    void frameRect(const TRect& r, TColor c) override { m_t.frameRect(r.offset(m_dx, m_dy), c); }
    void line(int x1, int y1, int x2, int y2, TColor c, int w) override
    {
        m_t.line(x1 + m_dx, y1 + m_dy, x2 + m_dx, y2 + m_dy, c, w);
    }
    void text(const TRect& r, const QString& s, int flags, TColor c) override
    {
        m_t.text(r.offset(m_dx, m_dy), s, flags, c);
    }
    void setFont(const QFont& f) override { m_t.setFont(f); }
    void pushClip(const TRect& r) override { m_t.pushClip(r.offset(m_dx, m_dy)); }
    void popClip() override { m_t.popClip(); }
    TColor toRGB(TColor c) const override { return m_t.toRGB(c); }
    void styleCheckBox(const TRect& r, int checked, bool enabled, bool flat) override
    {
        m_t.styleCheckBox(r.offset(m_dx, m_dy), checked, enabled, flat);
    }
    int textWidth(const QString& s) const override { return m_t.textWidth(s); }
    int textHeight() const override { return m_t.textHeight(); }
    void patternLine(int x, int y, int length, bool horizontal, TColor c, TColor bg, int ox,
                     int oy) override
    {
        m_t.patternLine(x + m_dx, y + m_dy, length, horizontal, c, bg, ox + m_dx, oy + m_dy);
    }
    void image(int x, int y, const QImage& picture, double opacity) override
    {
        m_t.image(x + m_dx, y + m_dy, picture, opacity);
    }
    void roundRect(const TRect& r, TColor fill, TColor border, int radius) override
    {
        m_t.roundRect(r.offset(m_dx, m_dy), fill, border, radius);
    }
    void focusRect(const TRect& r) override { m_t.focusRect(r.offset(m_dx, m_dy)); }
    void tiledImage(const TRect& r, const QImage& picture, int phaseX, int phaseY) override
    {
        m_t.tiledImage(r.offset(m_dx, m_dy), picture, phaseX, phaseY);
    }
    void blendRect(const TRect& r, TColor c, int alpha) override
    {
        m_t.blendRect(r.offset(m_dx, m_dy), c, alpha);
    }
    void polygon(const std::vector<QPoint>& points, TColor c) override
    {
        std::vector<QPoint> moved(points);
        for (QPoint& p : moved)
            p += QPoint(m_dx, m_dy);
        m_t.polygon(moved, c);
    }
    void patternRect(const TRect& r, const std::array<std::uint16_t, 8>& bits, TColor c, TColor bg,
                     int ox, int oy) override
    {
        m_t.patternRect(r.offset(m_dx, m_dy), bits, c, bg, ox + m_dx, oy + m_dy);
    }

private:
    ICanvas& m_t;
    int m_dx, m_dy;
};

// Round(twice / 2) with halves going to the even neighbour (4.5 gives 4), as every rounding
// of the painting.
int halfEven(int twice)
{
    const int lower = twice >= 0 ? twice / 2 : -((1 - twice) / 2);
    if (twice % 2 == 0)
        return lower;
    return lower % 2 == 0 ? lower : lower + 1;
}

int mulDiv(int a, int b, int c) { return c == 0 ? 0 : int((std::int64_t(a) * b + c / 2) / c); }

constexpr int ButtonSize = 9;

TRect intersect(const TRect& a, const TRect& b)
{
    return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
}

}  // namespace

void TBaseLazyTree::paintEvent(QPaintEvent* event)
{
    guardedEvent("painting", [&] { paintView(event->rect()); });
    // Heights measured during the pass moved the rows below; the bars and the picture follow
    // once the pass is over.
    if (m_heightsChangedInPaint) {
        m_heightsChangedInPaint = false;
        QMetaObject::invokeMethod(
            this,
            [this] {
                guardedEvent("measuring rows", [this] {
                    InvalidateCache();
                    ScheduleCacheValidation();
                    UpdateScrollBars(true);
                    Invalidate();
                });
            },
            Qt::QueuedConnection);
    }
}

void TBaseLazyTree::paintView(const QRect& clip)
{
    QPainter painter(viewport());
    QPainterCanvas canvas(painter, palette());
    canvas.setStyle(style());
    const int rtlOffset = 0;
    const TLTInternalPaintOptions options{poBackground,    poColumnColor,  poDrawFocusRect,
                                          poDrawSelection, poDrawDropMark, poGridLines};
    const TRect area = TRect::fromQRect(clip);
    if (area.isEmpty())
        return;
    const int dx = FEffectiveOffsetX - rtlOffset;
    const int dy = -FOffsetY;
    if (!m_animation.isActive()) {
        PaintTree(canvas, area.offset(dx, dy), QPoint(area.Left, area.Top), options);
        return;
    }
    // While a toggle animates, the rows below the toggled node are drawn shifted towards where
    // they were before: down by the part of the collapsed children not yet closed, or up by
    // the part of the new children not yet opened. With the advanced form every row is moved
    // by the part of the following scroll not yet slid.
    const int remaining = m_animationHeight - m_animationShown;
    const int shift = m_animationExpanding ? -remaining : remaining;
    const int extra = m_animationHeight > 0
                          ? int(std::int64_t(m_animationScroll) * remaining / m_animationHeight)
                          : 0;
    const int boundary = std::clamp(m_animationTop + extra, area.Top, area.Bottom);
    if (boundary > area.Top) {
        const TRect upper{area.Left, area.Top, area.Right, boundary};
        PaintTree(canvas, upper.offset(dx, dy - extra), QPoint(upper.Left, upper.Top), options);
    }
    // Below the toggled node's row: a collapse leaves a gap where the closing children were.
    const int lowerTop = std::min(boundary + std::max(shift, 0), area.Bottom);
    if (lowerTop > boundary)
        canvas.fillRect(TRect{area.Left, boundary, area.Right, lowerTop}, clWindow);
    if (lowerTop < area.Bottom) {
        const TRect lower{area.Left, lowerTop, area.Right, area.Bottom};
        PaintTree(canvas, lower.offset(dx, dy - extra - shift), QPoint(lower.Left, lower.Top),
                  options);
    }
}

bool TBaseLazyTree::paintsFocused() const
{
    return hasFocus() || viewport()->hasFocus() || options().PaintOptions.contains(toPopupMode);
}

int TBaseLazyTree::ComputeRTLOffset(bool excludeScrollBar)
{
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const bool barShown = clientHeight() < FRangeY && FScrollBarOptions->hasVertical();
    int result = barShown ? barWidth : 0;
    if (excludeScrollBar && barShown)
        result -= barWidth;
    return result;
}

void TBaseLazyTree::PaintTree(ICanvas& target, const TRect& window, QPoint targetPoint,
                              TLTInternalPaintOptions paintOptions)
{
    // A handler that paints the tree from inside a pass gets nothing: the pass's row picture
    // and state are in use.
    if (FStates.contains(tsPainting) || window.isEmpty())
        return;
    DoStateChange({tsPainting});
    ScopeGuard leave([this] { DoStateChange({}, {tsPainting}); });
    if (!FBitmapsPrepared || m_buttonsPalette != palette().cacheKey() || m_buttonsStyle != style()
        || m_buttonsThemed != FStates.contains(tsUseThemes))
        PrepareBitmaps(true, !FBitmapsPrepared);
    if (OnBeforePaint)
        OnBeforePaint(*this, target);
    const TLazyTreeOptionSets& opt = options();
    const bool buffered = !paintOptions.contains(poUnbuffered);
    const int maximumRight = int(std::max<std::int64_t>(clientWidth(), FRangeX));
    if (opt.PaintOptions.contains(toAlwaysHideSelection)
        || (!paintsFocused() && opt.PaintOptions.contains(toHideSelection)))
        paintOptions.exclude(poDrawSelection);
    if (opt.PaintOptions.contains(toHideFocusRect))
        paintOptions.exclude(poDrawFocusRect);
    const bool rtl = UseRightToLeftReading();
    const bool withBackground = useBackground(paintOptions);
    // The rubber band shows while the left button drags it open.
    const TRect selectionRect = NormalizeRect(FNewSelRect);
    const bool selecting = FStates.contains(tsDrawSelecting) && !selectionRect.isEmpty()
                           && FStates.contains(tsLeftButtonDown);

    int nodeTop = 0;
    PLazyNode node = GetNodeAt(0, window.Top, false, nodeTop);
    if (!node)
        nodeTop = window.Top;
    int rowTop = targetPoint.y() + nodeTop - window.Top;
    const int maximumBottom = targetPoint.y() + window.Height();
    while (node && rowTop < maximumBottom) {
        TLineImage lineImage;
        int selectLevel = DetermineLineImages(node, lineImage);
        const int indentSize = int(lineImage.size());
        int buttonX = halfEven(FIndent - ButtonSize) + 1;
        if (!opt.PaintOptions.contains(toFixedIndent))
            buttonX += (indentSize - 1) * FIndent;
        if (!node->has(vsInitialized))
            InitNode(node);
        if (node->has(vsSelected) && !opt.PaintOptions.contains(toChildrenAbove))
            ++selectLevel;
        const int height = int(MeasureNodeHeight(node));
        // A row of height 0 takes no room and is not drawn.
        if (height > 0 && (selectLevel > 0 || !paintOptions.contains(poSelectedOnly))) {
            const TRect rowRect{0, 0, maximumRight, height};
            QPainter bufferPainter;
            std::unique_ptr<QPainterCanvas> bufferCanvas;
            std::unique_ptr<OffsetCanvas> rowCanvas;
            if (buffered) {
                if (m_rowBuffer.width() != window.Width() || m_rowBuffer.height() != height)
                    m_rowBuffer = QImage(window.Width(), height,
                                         QImage::Format_ARGB32_Premultiplied);
                bufferPainter.begin(&m_rowBuffer);
                bufferCanvas = std::make_unique<QPainterCanvas>(bufferPainter, palette());
                bufferCanvas->setStyle(style());
                rowCanvas = std::make_unique<OffsetCanvas>(*bufferCanvas, -window.Left, 0);
            } else {
                rowCanvas = std::make_unique<OffsetCanvas>(target, targetPoint.x() - window.Left,
                                                           rowTop);
                rowCanvas->pushClip(
                    TRect{window.Left, 0, window.Right, std::min(height, maximumBottom - rowTop)});
            }
            ICanvas& canvas = *rowCanvas;
            canvas.setFont(font());
            TLTPaintInfo info;
            info.Canvas = &canvas;
            info.PaintOptions = paintOptions;
            info.Node = node;
            info.Column = NoColumn;
            // Lines drawn with the pattern keep their phase with the tree position.
            info.BrushOrigin = QPoint(0, -nodeTop);
            info.RightToLeft = rtl;
            info.Alignment = FAlignment;
            if (rtl && FAlignment != taCenter)
                info.Alignment = FAlignment == taLeftJustify ? taRightJustify : taLeftJustify;

            // Vertical positions of the row's pieces.
            int vAlign = 0;
            const TImageList* sizing = FImages ? FImages : FStateImages;
            if (FNodeAlignment == naFromBottom) {
                vAlign = height - node->Align;
            } else if (FNodeAlignment == naFromTop) {
                vAlign = node->Align;
            } else if (sizing) {
                vAlign = mulDiv(height - sizing->Height(), node->Align, 100) + sizing->Height() / 2;
            } else if (opt.PaintOptions.contains(toShowButtons)) {
                vAlign = mulDiv(height - ButtonSize, node->Align, 100) + ButtonSize / 2;
            } else {
                vAlign = mulDiv(height, node->Align, 100);
            }
            const int buttonY = vAlign - ButtonSize / 2 - ButtonSize % 2;

            bool customDraw = false;
            if (OnBeforeItemPaint)
                OnBeforeItemPaint(*this, canvas, node, rowRect, customDraw);
            if (!customDraw) {
                EraseRow(canvas, node, TRect{window.Left, 0, window.Right, height}, withBackground,
                         paintOptions, nodeTop);
                if (FHeader->UseColumns()) {
                    paintColumnCells(info, window, vAlign, buttonX, buttonY, indentSize, lineImage,
                                     height);
                } else {
                    info.CellRect = rowRect;
                    if (info.CellRect.Right > window.Left)
                        PaintCell(info, window, vAlign, buttonX, buttonY, indentSize, lineImage);
                }
                if (OnAfterItemPaint)
                    OnAfterItemPaint(*this, canvas, node, rowRect);
                if (node == FDropTargetNode && opt.PaintOptions.contains(toShowDropmark)
                    && paintOptions.contains(poDrawDropMark))
                    PaintDropMark(canvas, node, rowRect);
            }
            if (selecting)
                PaintSelectionRectangle(canvas, selectionRect.offset(0, -nodeTop),
                                        TRect{window.Left, 0, window.Right, height});
            if (buffered) {
                bufferCanvas.reset();
                bufferPainter.end();
                target.image(targetPoint.x(), rowTop, m_rowBuffer);
            } else {
                rowCanvas->popClip();
            }
        }
        rowTop += height;
        nodeTop += height;
        node = GetNextVisible(node, true);
    }
    if (rowTop < maximumBottom) {
        const TRect below{targetPoint.x(), rowTop, targetPoint.x() + window.Width(), maximumBottom};
        bool handled = false;
        if (OnPaintBackground)
            OnPaintBackground(*this, target, below, handled);
        if (!handled) {
            // The canvas point (0, 0) of the target lies at this tree point.
            const QPoint origin(window.Left - targetPoint.x(), window.Top - targetPoint.y());
            if (withBackground)
                PaintBackgroundPicture(target, below, origin);
            else
                target.fillRect(below, clWindow);
            if (selecting)
                PaintSelectionRectangle(target, selectionRect.offset(-origin.x(), -origin.y()),
                                        below);
        }
    }
    if (IsEmpty() && !FEmptyListMessage.isEmpty()) {
        target.setFont(font());
        const TRect r{targetPoint.x() + 2, targetPoint.y() + 2, targetPoint.x() + clientWidth(),
                      targetPoint.y() + clientHeight() - 2};
        target.text(r, FEmptyListMessage,
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::AlignAbsolute,
                    clGrayText);
    }
    if (OnAfterPaint)
        OnAfterPaint(*this, target);
}

void TBaseLazyTree::EraseRow(ICanvas& canvas, PLazyNode node, TRect r, bool useBackground,
                             TLTInternalPaintOptions paintOptions, int rowTop)
{
    TColor itemColor = clWindow;
    TItemEraseAction action = eaDefault;
    if (OnBeforeItemErase)
        OnBeforeItemErase(*this, canvas, node, r, itemColor, action);
    const TLazyTreeOptionSets& opt = options();
    if (action == eaColor) {
        canvas.fillRect(r, itemColor);
    } else if (action == eaDefault) {
        if (useBackground) {
            PaintBackgroundPicture(canvas, r, QPoint(0, rowTop));
        } else if (paintOptions.contains(poDrawSelection)
                   && opt.SelectionOptions.contains(toFullRowSelect) && node->has(vsSelected)
                   && !opt.PaintOptions.contains(toUseBlendedSelection)) {
            if (opt.PaintOptions.contains(toShowHorzGridLines)) {
                canvas.fillRect(TRect{r.Left, r.Bottom - 1, r.Right, r.Bottom}, clWindow);
                --r.Bottom;
            }
            const bool focused = paintsFocused();
            canvas.roundRect(r,
                             color(focused ? TLTColors::FocusedSelectionColor
                                           : TLTColors::UnfocusedSelectionColor),
                             color(focused ? TLTColors::FocusedSelectionBorderColor
                                           : TLTColors::UnfocusedSelectionBorderColor),
                             FSelectionCurveRadius);
        } else {
            canvas.fillRect(r, itemColor);
        }
    }
    if (OnAfterItemErase)
        OnAfterItemErase(*this, canvas, node, r);
}

void TBaseLazyTree::DoGetImageIndex(PLazyNode node, TLTImageKind kind, TColumnIndex column,
                                    bool& ghosted, int& index, const TImageList*& images)
{
    if (OnGetImageIndexEx)
        OnGetImageIndexEx(*this, node, kind, column, ghosted, index, images);
    else if (OnGetImageIndex)
        OnGetImageIndex(*this, node, kind, column, ghosted, index);
}

void TBaseLazyTree::GetImageIndex(TLTPaintInfo& info, TLTImageKind kind, TLTImageInfoIndex slot,
                                  const TImageList* defaultImages)
{
    TLTCellImageInfo& image = info.ImageInfo[slot];
    image.Index = -1;
    image.Ghosted = false;
    const TImageList* chosen = nullptr;
    DoGetImageIndex(info.Node, kind, info.Column, image.Ghosted, image.Index, chosen);
    image.Images = chosen ? chosen : defaultImages;
    // An index beyond the list draws no image.
    if (!image.Images || image.Index >= image.Images->Count())
        image.Index = -1;
}

void TBaseLazyTree::AdjustImageBorder(int width, int height, bool rtl, int vAlign, TRect& r,
                                      TLTCellImageInfo& imageInfo)
{
    if (rtl) {
        imageInfo.XPos = r.Right - width;
        r.Right -= width + 2;
    } else {
        imageInfo.XPos = r.Left - 1;
        r.Left += width + 2;
    }
    imageInfo.YPos = r.Top + vAlign - height / 2;
}

void TBaseLazyTree::PaintCell(TLTPaintInfo& info, const TRect& window, int vAlign, int buttonX,
                              int buttonY, int indentSize, const TLineImage& lineImage,
                              bool mainColumn)
{
    const TLazyTreeOptionSets& opt = options();
    ICanvas& canvas = *info.Canvas;
    PLazyNode node = info.Node;
    const bool rtl = info.RightToLeft;
    info.NodeWidth = DoGetNodeWidth(node, info.Column);
    info.ContentRect = info.CellRect;
    if (rtl)
        info.ContentRect.Right -= FMargin;
    else
        info.ContentRect.Left += FMargin;
    for (TLTCellImageInfo& i : info.ImageInfo)
        i = TLTCellImageInfo{};
    if (opt.MiscOptions.contains(toCheckSupport) && mainColumn) {
        TLTCellImageInfo& check = info.ImageInfo[iiCheck];
        check.Index = GetCheckImage(node);
        const TImageList& list = checkImages().images();
        // A custom list without the form asked for shows no check box.
        if (check.Index >= list.Count())
            check.Index = -1;
        if (check.Index >= 0) {
            check.Images = &list;
            AdjustImageBorder(list.Width(), list.Height(), rtl, vAlign, info.ContentRect, check);
        }
    }
    if (FStateImages) {
        GetImageIndex(info, ikState, iiState, FStateImages);
        TLTCellImageInfo& state = info.ImageInfo[iiState];
        if (state.Index >= 0)
            AdjustImageBorder(state.Images->Width(), state.Images->Height(), rtl, vAlign,
                              info.ContentRect, state);
    }
    if (FImages || OnGetImageIndexEx) {
        GetImageIndex(info, node->has(vsSelected) ? ikSelected : ikNormal, iiNormal, FImages);
        TLTCellImageInfo& normal = info.ImageInfo[iiNormal];
        if (normal.Index >= 0)
            AdjustImageBorder(normal.Images->Width(), normal.Images->Height(), rtl, vAlign,
                              info.ContentRect, normal);
    }
    // Only the main column shows the tree structure; the other cells start at their margin.
    const int indent = mainColumn
                           ? FIndent * (opt.PaintOptions.contains(toFixedIndent) ? 1 : indentSize)
                           : 0;
    if (rtl)
        info.ContentRect.Right -= indent;
    else
        info.ContentRect.Left += indent;
    for (TLTImageInfoIndex slot : {iiNormal, iiState, iiCheck})
        info.ImageInfo[slot].XPos += rtl ? -indent : indent;

    if (info.PaintOptions.contains(poGridLines) && opt.PaintOptions.contains(toShowHorzGridLines)) {
        m_lineColor = color(TLTColors::GridLineColor);
        const int left = FLineMode == lmBands && !rtl ? info.CellRect.Left + indent
                                                      : info.CellRect.Left;
        const int right = FLineMode == lmBands
                              ? (rtl ? info.CellRect.Right - indent - 1 : info.CellRect.Right - 1)
                              : info.CellRect.Right;
        DrawDottedHLine(info, left, right, info.CellRect.Bottom - 1);
        --info.CellRect.Bottom;
        --info.ContentRect.Bottom;
    }
    PrepareCell(info, window.Left, window.Width());
    if (mainColumn && opt.PaintOptions.contains(toShowTreeLines)
        && !(opt.PaintOptions.contains(toHideTreeLinesIfThemed) && FStates.contains(tsUseThemes)))
        PaintTreeLines(info, vAlign, opt.PaintOptions.contains(toFixedIndent) ? 1 : indentSize,
                       lineImage);
    if (mainColumn && opt.PaintOptions.contains(toShowButtons) && node->has(vsHasChildren)
        && !(node->has(vsAllChildrenHidden) && opt.AutoOptions.contains(toAutoHideButtons)))
        PaintNodeButton(canvas, node, info.CellRect, buttonX, buttonY, rtl);
    if (info.ImageInfo[iiCheck].Index >= 0)
        PaintCheckImage(canvas, info.ImageInfo[iiCheck], node->has(vsSelected));
    if (info.ImageInfo[iiState].Index >= 0)
        PaintImage(info, iiState, false);
    if (info.ImageInfo[iiNormal].Index >= 0)
        PaintImage(info, iiNormal, true);
    DoPaintNode(info);
    if (OnAfterCellPaint)
        OnAfterCellPaint(*this, canvas, node, info.Column, info.CellRect);
}

void TBaseLazyTree::PrepareCell(TLTPaintInfo& info, int windowOrgX, int maxWidth)
{
    const TLazyTreeOptionSets& opt = options();
    ICanvas& canvas = *info.Canvas;
    TRect inner = info.ContentRect;
    if (!opt.MiscOptions.contains(toGridExtensions) && info.NodeWidth < inner.Width()) {
        switch (info.Alignment) {
        case taLeftJustify: inner.Right = inner.Left + info.NodeWidth; break;
        case taRightJustify: inner.Left = inner.Right - info.NodeWidth; break;
        case taCenter:
            inner.Left = (inner.Left + inner.Right - info.NodeWidth) / 2;
            inner.Right = inner.Left + info.NodeWidth;
            break;
        }
    }
    const bool fullRow = opt.SelectionOptions.contains(toFullRowSelect);
    const bool focused = paintsFocused();
    if (info.PaintOptions.contains(poDrawSelection)) {
        TColor fill = clNone, border = clNone;
        if (info.Node == FDropTargetNode) {
            fill = color(TLTColors::DropTargetColor);
            border = color(TLTColors::DropTargetBorderColor);
        } else if (info.Node->has(vsSelected)) {
            fill = color(focused ? TLTColors::FocusedSelectionColor
                                 : TLTColors::UnfocusedSelectionColor);
            border = color(focused ? TLTColors::FocusedSelectionBorderColor
                                   : TLTColors::UnfocusedSelectionBorderColor);
        }
        TRect mark = (opt.MiscOptions.contains(toGridExtensions) || fullRow) ? info.CellRect
                                                                             : inner;
        // A full-row selection was drawn by the erase already.
        if (fill != clNone && !mark.isEmpty() && !fullRow)
            canvas.roundRect(mark, fill, border, FSelectionCurveRadius);
    }
    if (info.PaintOptions.contains(poDrawFocusRect) && focused && info.Node == FFocusedNode) {
        const TRect frame = opt.MiscOptions.contains(toGridExtensions) ? info.CellRect : inner;
        canvas.focusRect(frame);
    }
}

int TBaseLazyTree::DetermineLineImages(PLazyNode node, TLineImage& lineImage)
{
    const TLazyTreeOptionSets& opt = options();
    const bool showRoot = opt.PaintOptions.contains(toShowRoot);
    const int level = int(GetNodeLevel(node));
    lineImage.assign(std::size_t(level + 1 + (showRoot ? 1 : 0)) - 1 + 1, ltNone);
    lineImage.resize(std::size_t(level + (showRoot ? 1 : 0)));
    if (lineImage.empty())
        lineImage.push_back(ltNone);
    int selected = 0;
    for (PLazyNode run = node->Parent; run && run != RootNode(); run = run->Parent)
        if (run->has(vsSelected))
            ++selected;
    if (!opt.PaintOptions.contains(toShowTreeLines)
        || (opt.PaintOptions.contains(toHideTreeLinesIfThemed) && FStates.contains(tsUseThemes)))
        return selected;
    const auto visibleNext = [this](PLazyNode n) {
        for (PLazyNode s = n->NextSibling; s; s = s->NextSibling)
            if (GetEffectivelyVisible(s))
                return true;
        return false;
    };
    const auto visiblePrevious = [this](PLazyNode n) {
        for (PLazyNode s = n->PrevSibling; s; s = s->PrevSibling)
            if (GetEffectivelyVisible(s))
                return true;
        return false;
    };
    const std::size_t last = lineImage.size() - 1;
    if (opt.PaintOptions.contains(toChildrenAbove)) {
        const bool top = node->Parent == RootNode();
        const bool prev = visiblePrevious(node);
        const bool more = !top || visibleNext(node);
        lineImage[last] = !prev ? (more ? ltBottomRight : ltRight)
                                : (more ? ltTopDownRight : ltTopRight);
        std::size_t i = last;
        for (PLazyNode run = node->Parent; run != RootNode() && i > 0; run = run->Parent)
            lineImage[--i] = visiblePrevious(run) ? ltTopDown : ltNone;
        return selected;
    }
    if (node->Parent != RootNode()) {
        lineImage[last] = visibleNext(node) ? ltTopDownRight : ltTopRight;
        std::size_t i = last;
        for (PLazyNode run = node->Parent; run->Parent != RootNode() && i > 0; run = run->Parent)
            lineImage[--i] = visibleNext(run) ? ltTopDown : ltNone;
    }
    if (showRoot) {
        PLazyNode top = node;
        while (top->Parent != RootNode())
            top = top->Parent;
        if (top == node) {
            const bool first = !visiblePrevious(node);
            const bool lastOne = !visibleNext(node);
            lineImage[0] = first && lastOne ? ltRight
                           : lastOne        ? ltTopRight
                           : first          ? ltBottomRight
                                            : ltTopDownRight;
        } else {
            lineImage[0] = visibleNext(top) ? ltTopDown : ltNone;
        }
    }
    return selected;
}

void TBaseLazyTree::DrawDottedHLine(const TLTPaintInfo& info, int left, int right, int top)
{
    const int a = std::min(left, right);
    const int b = std::max(left, right) + 1;
    if (FLineStyle == lsSolid)
        info.Canvas->fillRect(TRect{a, top, b, top + 1}, m_lineColor);
    else if (FLineStyle == lsCustomStyle)
        info.Canvas->patternRect(TRect{a, top, b, top + 1}, linePattern(), m_lineColor, clWindow,
                                 info.BrushOrigin.x(), info.BrushOrigin.y());
    else
        info.Canvas->patternLine(a, top, b - a, true, m_lineColor, clWindow, info.BrushOrigin.x(),
                                 info.BrushOrigin.y());
}

void TBaseLazyTree::DrawDottedVLine(const TLTPaintInfo& info, int top, int bottom, int left,
                                    bool useSelectedBackground)
{
    const int a = std::min(top, bottom);
    const int b = std::max(top, bottom) + 1;
    TColor background = clWindow;
    if (useSelectedBackground)
        background = color(paintsFocused() ? TLTColors::FocusedSelectionColor
                                           : TLTColors::UnfocusedSelectionColor);
    if (FLineStyle == lsSolid)
        info.Canvas->fillRect(TRect{left, a, left + 1, b}, m_lineColor);
    else if (FLineStyle == lsCustomStyle)
        info.Canvas->patternRect(TRect{left, a, left + 1, b}, linePattern(), m_lineColor,
                                 background, info.BrushOrigin.x(), info.BrushOrigin.y());
    else
        info.Canvas->patternLine(left, a, b - a, false, m_lineColor, background,
                                 info.BrushOrigin.x(), info.BrushOrigin.y());
}

void TBaseLazyTree::DrawLineImage(const TLTPaintInfo& info, int x, int y, int h, int vAlign,
                                  TLTLineType style, bool reverse)
{
    const int half = halfEven(FIndent);
    const int hx = x + half;
    const int yc = y + vAlign;
    const int yb = y + h;
    const int xe = reverse ? x : x + FIndent;
    const int edge = reverse ? x + FIndent : x;
    switch (style) {
    case ltNone: break;
    case ltBottomRight:
        DrawDottedVLine(info, yc, yb, hx, false);
        DrawDottedHLine(info, hx, xe, yc);
        break;
    case ltTopDown: DrawDottedVLine(info, y, yb, hx, false); break;
    case ltTopDownRight:
        DrawDottedVLine(info, y, yb, hx, false);
        DrawDottedHLine(info, hx, xe, yc);
        break;
    case ltRight: DrawDottedHLine(info, hx, xe, yc); break;
    case ltTopRight:
        DrawDottedVLine(info, y, yc, hx, false);
        DrawDottedHLine(info, hx, xe, yc);
        break;
    case ltLeft: DrawDottedVLine(info, y, yb, edge, false); break;
    case ltLeftBottom:
        DrawDottedVLine(info, y, yb, edge, false);
        DrawDottedHLine(info, x, x + FIndent, yb);
        break;
    }
}

void TBaseLazyTree::PaintTreeLines(const TLTPaintInfo& info, int vAlignment, int indentSize,
                                   const TLineImage& lineImage)
{
    const bool rtl = info.RightToLeft;
    int x = rtl ? info.CellRect.Right - FIndent : info.CellRect.Left;
    const int step = rtl ? -FIndent : FIndent;
    const int height = int(info.Node->NodeHeight);
    const int count = std::min<int>(indentSize, int(lineImage.size()));
    if (FLineMode == lmBands) {
        if (!info.PaintOptions.contains(poGridLines))
            return;
        m_lineColor = color(TLTColors::GridLineColor);
        TLineImage bands(lineImage.size(), ltNone);
        for (int i = count - 1; i >= 0; --i) {
            const TLTLineType l = lineImage[std::size_t(i)];
            TLTLineType derived = ltNone;
            if (i == count - 1 && info.Node->has(vsExpanded) && !info.Node->has(vsAllChildrenHidden)
                && info.Node->ChildCount > 0) {
                derived = ltLeft;
            } else if (l == ltNone || l == ltTopDown) {
                const TLTLineType deeper = i + 1 < count ? lineImage[std::size_t(i + 1)] : ltNone;
                derived = (deeper == ltNone || deeper == ltTopRight)
                              ? (i + 1 < count ? bands[std::size_t(i + 1)] : ltNone)
                              : ltLeft;
            } else if (l == ltLeft || l == ltLeftBottom) {
                derived = ltNone;
            } else {
                derived = ltLeftBottom;
            }
            bands[std::size_t(i)] = derived;
        }
        for (int i = 0; i < count; ++i, x += step) {
            int at = x;
            beforeDrawTreeLine(info.Node, i, at);
            DrawLineImage(info, at, info.CellRect.Top, height - 1, vAlignment - 1,
                          bands[std::size_t(i)], rtl);
        }
        return;
    }
    m_lineColor = color(TLTColors::TreeLineColor);
    for (int i = 0; i < count; ++i, x += step) {
        int at = x;
        beforeDrawTreeLine(info.Node, i, at);
        DrawLineImage(info, at, info.CellRect.Top, height, vAlignment - 1,
                      lineImage[std::size_t(i)], rtl);
    }
}

void TBaseLazyTree::PaintNodeButton(ICanvas& canvas, PLazyNode node, const TRect& r, int buttonX,
                                    int buttonY, bool rtl)
{
    const bool hot = node == FCurrentHotNode && FHotNodeButtonHit;
    const int x = rtl ? r.Right - buttonX - ButtonSize : r.Left + buttonX;
    canvas.image(x, r.Top + buttonY,
                 buttonImage(node->has(vsExpanded), hot, node->has(vsSelected)));
}

const QImage& TBaseLazyTree::buttonImage(bool expanded, bool hot, bool selected) const
{
    if (expanded)
        return hot ? (selected ? FSelectedHotMinusBM : FHotMinusBM) : FMinusBM;
    return hot ? (selected ? FSelectedHotPlusBM : FHotPlusBM) : FPlusBM;
}

void TBaseLazyTree::PrepareBitmaps(bool needButtons, bool needLines)
{
    FBitmapsPrepared = true;
    if (needButtons) {
        m_buttonsPalette = palette().cacheKey();
        m_buttonsStyle = style();
        m_buttonsThemed = FStates.contains(tsUseThemes);
        const QPalette pal = palette();
        const bool themed = FStates.contains(tsUseThemes);
        const QColor background = FButtonFillMode == fmTransparent ? QColor(Qt::transparent)
                                                                   : pal.color(QPalette::Base);
        const QColor frame = toQColor(color(TLTColors::TreeLineColor), pal);
        const QColor stroke = pal.color(QPalette::Text);
        const auto blank = [] {
            QImage img(ButtonSize, ButtonSize, QImage::Format_ARGB32_Premultiplied);
            img.fill(Qt::transparent);
            return img;
        };
        // The style's own branch glyph, as a themed tree view shows it, on the tree's
        // background like the boxed buttons (unless those are transparent).
        const auto themedGlyph = [&](bool plus, bool hot) {
            QImage img = blank();
            img.fill(background);
            QPainter p(&img);
            QStyleOption opt;
            opt.initFrom(this);
            // Inset like the boxed button's stroke, so that the glyph keeps its margin of
            // background in the row.
            opt.rect = QRect(2, 2, ButtonSize - 4, ButtonSize - 4);
            opt.state = QStyle::State_Enabled | QStyle::State_Children;
            if (!plus)
                opt.state |= QStyle::State_Open;
            if (hot)
                opt.state |= QStyle::State_MouseOver;
            style()->drawPrimitive(QStyle::PE_IndicatorBranch, &opt, &p, this);
            return img;
        };
        const auto make = [&](bool plus) {
            QImage img = blank();
            if (FButtonStyle != bsTriangle)
                img.fill(background);
            QPainter p(&img);
            const int w = ButtonSize;
            if (FButtonStyle == bsTriangle) {
                p.setRenderHint(QPainter::Antialiasing, false);
                p.setPen(Qt::NoPen);
                p.setBrush(Qt::black);
                const QPoint down[3] = {{0, 2}, {8, 2}, {4, 6}};
                const QPoint right[3] = {{2, 0}, {6, 4}, {2, 8}};
                p.drawPolygon(plus ? right : down, 3);
            } else {
                p.fillRect(0, 0, w, 1, frame);
                p.fillRect(0, w - 1, w, 1, frame);
                p.fillRect(0, 0, 1, w, frame);
                p.fillRect(w - 1, 0, 1, w, frame);
                p.fillRect(2, w / 2, w - 4, 1, stroke);
                if (plus)
                    p.fillRect(w / 2, 2, 1, w - 4, stroke);
            }
            return img;
        };
        if (OnPrepareButtonBitmaps) {
            FMinusBM = FPlusBM = FHotMinusBM = FHotPlusBM = blank();
            FSelectedHotMinusBM = FSelectedHotPlusBM = blank();
            // Separate pictures, so that the handler's drawing of one never shows in another.
            for (QImage* img :
                 {&FPlusBM, &FHotMinusBM, &FHotPlusBM, &FSelectedHotMinusBM, &FSelectedHotPlusBM})
                img->detach();
            OnPrepareButtonBitmaps(*this, FMinusBM, FPlusBM, FHotMinusBM, FHotPlusBM,
                                   FSelectedHotMinusBM, FSelectedHotPlusBM,
                                   QSize(ButtonSize, ButtonSize));
        } else if (themed && FButtonStyle == bsRectangle) {
            // The style's glyph stands for the default button. An owner who picked triangles
            // keeps them: a setter that visibly does nothing would look broken.
            FMinusBM = themedGlyph(false, false);
            FPlusBM = themedGlyph(true, false);
            FHotMinusBM = FSelectedHotMinusBM = themedGlyph(false, true);
            FHotPlusBM = FSelectedHotPlusBM = themedGlyph(true, true);
        } else {
            FMinusBM = make(false);
            FPlusBM = make(true);
            FHotMinusBM = FSelectedHotMinusBM = FMinusBM;
            FHotPlusBM = FSelectedHotPlusBM = FPlusBM;
        }
    }
    if (needLines) {
        static constexpr std::array<std::uint16_t, 8> dotted = {0x55, 0xAA, 0x55, 0xAA,
                                                                0x55, 0xAA, 0x55, 0xAA};
        std::array<std::uint16_t, 8> bits{};
        if (FLineStyle != lsSolid)
            bits = dotted;
        if (FLineStyle == lsCustomStyle && OnGetLineStyle)
            OnGetLineStyle(*this, bits);
        std::copy(bits.begin(), bits.end(), FLinePattern);
    }
}

void TBaseLazyTree::beforeDrawTreeLine(PLazyNode node, int index, int& x)
{
    if (OnBeforeDrawTreeLine)
        OnBeforeDrawTreeLine(*this, node,
                             options().PaintOptions.contains(toShowRoot) ? index : index + 1, x);
}

std::array<std::uint16_t, 8> TBaseLazyTree::linePattern() const
{
    std::array<std::uint16_t, 8> bits{};
    std::copy(std::begin(FLinePattern), std::end(FLinePattern), bits.begin());
    return bits;
}

const TCheckImageSet& TBaseLazyTree::checkImages()
{
    // The pictures follow the kind: a set built for another kind is dropped. A set a window
    // handed in stays whatever the kind, but the owner's custom pictures always win.
    if (FCheckImages && !m_sharedCheckImages
        && (m_checkImagesKind != FCheckImageKind
            || (FCheckImageKind != ckCustom
                && (m_checkImagesPalette != palette().cacheKey()
                    || m_checkImagesStyle != style()))))
        FCheckImages.reset();
    if (FCheckImages && m_sharedCheckImages && FCheckImageKind == ckCustom)
        FCheckImages.reset();
    if (!FCheckImages) {
        m_sharedCheckImages = false;
        m_checkImagesKind = FCheckImageKind;
        m_checkImagesPalette = palette().cacheKey();
        m_checkImagesStyle = style();
        if (FCheckImageKind == ckCustom)
            FCheckImages = std::make_shared<TCheckImageSet>(FCustomCheckImages ? *FCustomCheckImages
                                                                               : TImageList(0, 0));
        else if (FCheckImageKind != ckSystemDefault && FCheckImageKind != ckSystemFlat)
            FCheckImages = std::make_shared<TCheckImageSet>(FCheckImageKind, palette());
        else
            FCheckImages = std::make_shared<TCheckImageSet>(style(), palette(),
                                                            FCheckImageKind == ckSystemFlat);
    }
    return *FCheckImages;
}

void TBaseLazyTree::SetCheckImageSet(std::shared_ptr<const TCheckImageSet> images)
{
    FCheckImages = std::move(images);
    m_sharedCheckImages = FCheckImages != nullptr;
    Invalidate();
}

void TBaseLazyTree::SetCustomCheckImages(const TImageList* images)
{
    if (images)
        FCustomCheckImages = *images;
    else
        FCustomCheckImages.reset();
    if (FCheckImageKind == ckCustom) {
        FCheckImages.reset();
        Invalidate();
    }
}

int TBaseLazyTree::GetCheckImage(PLazyNode node)
{
    const bool enabled = !node->has(vsDisabled) && isEnabled();
    return LazyTreeModel::GetCheckImage(node->CheckType, node->CheckState, enabled,
                                        node == FCurrentHotNode);
}

void TBaseLazyTree::PaintCheckImage(ICanvas& canvas, const TLTCellImageInfo& info, bool selected)
{
    if (!info.Images)
        return;
    canvas.image(info.XPos, info.YPos, info.Images->image(info.Index));
}

void TBaseLazyTree::PaintImage(TLTPaintInfo& info, TLTImageInfoIndex slot, bool doOverlay)
{
    const TLTCellImageInfo& image = info.ImageInfo[slot];
    if (!image.Images)
        return;
    const TLazyTreeOptionSets& opt = options();
    const bool cut = info.Node->has(vsCutOrCopy) && FStates.contains(tsCutPending);
    const bool focused = paintsFocused() || opt.PaintOptions.contains(toGhostedIfUnfocused);
    double opacity = 1.0;
    if (opt.PaintOptions.contains(toUseBlendedImages) && focused
        && (image.Ghosted || cut
            || (info.Node->has(vsSelected) && !opt.SelectionOptions.contains(toFullRowSelect)
                && !opt.MiscOptions.contains(toGridExtensions))))
        opacity = 0.5;
    const bool enabled = !info.Node->has(vsDisabled) && isEnabled();
    if (!enabled)
        opacity *= 0.5;
    info.Canvas->image(image.XPos, image.YPos, image.Images->image(image.Index), opacity);
    if (doOverlay) {
        GetImageIndex(info, ikOverlay, iiOverlay, FImages);
        const TLTCellImageInfo& overlay = info.ImageInfo[iiOverlay];
        if (overlay.Index >= 0 && overlay.Images
            && !(overlay.Index == image.Index && overlay.Images == image.Images)) {
            if (overlay.Index <= 14) {
                // The low numbers name one of the drawn list's overlay masks, drawn like the
                // image itself.
                const int mask = image.Images->OverlayImage(overlay.Index + 1);
                if (mask >= 0)
                    info.Canvas->image(image.XPos, image.YPos, image.Images->image(mask), opacity);
            } else {
                // Higher ones are a second image of the overlay's list, never half blended.
                info.Canvas->image(image.XPos, image.YPos, overlay.Images->image(overlay.Index),
                                   enabled ? 1.0 : 0.5);
            }
        }
    }
}

bool TBaseLazyTree::useBackground(TLTInternalPaintOptions paintOptions) const
{
    return options().PaintOptions.contains(toShowBackground) && paintOptions.contains(poBackground)
           && !FBackground.isNull();
}

void TBaseLazyTree::PaintBackgroundPicture(ICanvas& canvas, const TRect& area, QPoint origin)
{
    if (area.isEmpty())
        return;
    if (options().PaintOptions.contains(toStaticBackground)) {
        // Once, at the offsets of the client area, whatever the scroll position.
        canvas.fillRect(area, clWindow);
        const int x = FBackgroundOffsetX + FEffectiveOffsetX - origin.x();
        const int y = FBackgroundOffsetY - FOffsetY - origin.y();
        canvas.pushClip(area);
        canvas.image(x, y, FBackground);
        canvas.popClip();
        return;
    }
    // Tiled in tree coordinates, so the tiles move with the content. The fill first: a tile
    // with transparent parts shows the window colour, not what the row picture held before.
    const int w = FBackground.width();
    const int h = FBackground.height();
    const int phaseX = int(((std::int64_t(area.Left) + origin.x() + FBackgroundOffsetX) % w + w)
                           % w);
    const int phaseY = int(((std::int64_t(area.Top) + origin.y() + FBackgroundOffsetY) % h + h)
                           % h);
    if (FBackground.hasAlphaChannel())
        canvas.fillRect(area, clWindow);
    canvas.tiledImage(area, FBackground, phaseX, phaseY);
}

void TBaseLazyTree::SetBackground(const QImage& picture)
{
    FBackground = picture;
    Invalidate();
}

void TBaseLazyTree::SetDropTargetNode(PLazyNode node)
{
    if (node == RootNode())
        node = nullptr;
    if (node == FDropTargetNode)
        return;
    PLazyNode old = FDropTargetNode;
    FDropTargetNode = node;
    if (old)
        InvalidateNode(old);
    if (node)
        InvalidateNode(node);
}

void TBaseLazyTree::SetDropTarget(PLazyNode node, TDropMode mode)
{
    if (node == RootNode())
        node = nullptr;
    const TDropMode newMode = node ? mode : dmNowhere;
    if (newMode != FLastDropMode && node && node == FDropTargetNode)
        InvalidateNode(node);
    FLastDropMode = newMode;
    SetDropTargetNode(node);
}

void TBaseLazyTree::PaintDropMark(ICanvas& canvas, PLazyNode, const TRect& r)
{
    const int l = r.Left, t = r.Top, rt = r.Right, b = r.Bottom;
    if (FLastDropMode == dmAbove)
        canvas.polygon({{l + 2, t},
                        {rt - 2, t},
                        {rt - 2, t + 6},
                        {rt - 6, t + 2},
                        {l + 6, t + 2},
                        {l + 2, t + 6}},
                       color(TLTColors::DropMarkColor));
    else if (FLastDropMode == dmBelow)
        canvas.polygon({{l + 2, b - 1},
                        {rt - 2, b - 1},
                        {rt - 2, b - 8},
                        {rt - 7, b - 3},
                        {l + 7, b - 3},
                        {l + 2, b - 8}},
                       color(TLTColors::DropMarkColor));
}

void TBaseLazyTree::PaintSelectionRectangle(ICanvas& canvas, const TRect& selectionRect,
                                            const TRect& rowRect)
{
    const TRect inside = intersect(selectionRect, rowRect);
    if (inside.isEmpty())
        return;
    canvas.pushClip(rowRect);
    if (FDrawSelectionMode == smBlendedRectangle || FStates.contains(tsUseThemes)) {
        canvas.blendRect(inside, color(TLTColors::SelectionRectangleBlendColor),
                         FSelectionBlendFactor);
        canvas.frameRect(selectionRect, color(TLTColors::SelectionRectangleBorderColor));
    } else {
        canvas.focusRect(selectionRect);
    }
    canvas.popClip();
}

void TBaseLazyTree::SetImages(const TImageList* images)
{
    FImages = images;
    Invalidate();
}

void TBaseLazyTree::SetStateImages(const TImageList* images)
{
    FStateImages = images;
    Invalidate();
}

void TBaseLazyTree::SetLineStyle(TLTLineStyle value)
{
    if (FLineStyle == value)
        return;
    FLineStyle = value;
    PrepareBitmaps(false, true);
    Invalidate();
}

void TBaseLazyTree::SetLineMode(TLTLineMode value)
{
    if (FLineMode == value)
        return;
    FLineMode = value;
    Invalidate();
}

void TBaseLazyTree::SetButtonStyle(TLTButtonStyle value)
{
    if (FButtonStyle == value)
        return;
    FButtonStyle = value;
    PrepareBitmaps(true, false);
    Invalidate();
}

void TBaseLazyTree::SetButtonFillMode(TLTButtonFillMode value)
{
    if (FButtonFillMode == value)
        return;
    FButtonFillMode = value;
    PrepareBitmaps(true, false);
    Invalidate();
}

void TBaseLazyTree::SetDrawSelectionMode(TLTDrawSelectionMode value)
{
    FDrawSelectionMode = value;
    Invalidate();
}

}  // namespace zfw
