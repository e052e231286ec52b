// Rows on the screen: display rectangles, hit tests, scrolling a row into view, invalidation.

#include "tree/LazyTreesControl.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QTimerEvent>

#include <algorithm>

namespace zfw {

// ----- rows -----------------------------------------------------------------------------------

int TBaseLazyTree::rowTopInTree(PLazyNode node) { return int(rowTop(node)); }

QRect TBaseLazyTree::GetDisplayRect(PLazyNode node, TColumnIndex column, bool textOnly,
                                    bool unclipped, bool applyCellContentMargin)
{
    if (!node)
        lazyTreeAssert("Node must not be nil.");
    if (node == RootNode())
        lazyTreeAssert("Node must not be the hidden root node.");
    if (!node->has(vsInitialized))
        InitNode(node);
    if (!GetEffectivelyVisible(node))
        return {};
    const bool mainColumn = column <= NoColumn || column == FHeader->MainColumn();
    int indent = 0;
    if (!options().PaintOptions.contains(toFixedIndent)) {
        for (PLazyNode run = node; run != RootNode(); run = run->Parent) {
            if (!run->has(vsVisible) || (run != node && !run->has(vsExpanded)))
                return {};
            if (run != node && mainColumn)
                indent += FIndent;
        }
    } else {
        indent = mainColumn ? int(GetNodeLevel(node)) * FIndent : 0;
    }
    const int top = rowTopInTree(node) + FOffsetY;
    int width = int(std::max<std::int64_t>(clientWidth(), FRangeX));
    const int height = int(MeasureNodeHeight(node));
    int rowLeft = -FEffectiveOffsetX;
    TAlignment alignment = FAlignment;
    if (FHeader->Columns().IsValidColumn(column)) {
        // A real column's cell, one pixel narrower for the line between cells.
        int left = 0;
        int right = 0;
        FHeader->Columns().GetColumnBounds(column, left, right);
        rowLeft = left;
        width = right - left - 1;
        alignment = FHeader->Columns()[column].Alignment();
    }
    if (!textOnly)
        return QRect(rowLeft, top, width, height);
    int offset = FMargin + indent;
    if (mainColumn && options().PaintOptions.contains(toShowRoot))
        offset += FIndent;
    offset += cellImagesWidth(node, column, mainColumn);
    int left = rowLeft;
    int right = rowLeft + width;
    // Right to left the text starts at the right edge and the alignment is mirrored.
    const bool rtl = UseRightToLeftReading();
    if (rtl)
        right -= offset;
    else
        left += offset;
    if (rtl && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    cutTextRect(left, right, DoGetNodeWidth(node, column), alignment, unclipped, rtl);
    return QRect(left, top, right - left, height);
}

int TBaseLazyTree::cellImagesWidth(PLazyNode node, TColumnIndex column, bool withCheck)
{
    // The same images, under the same conditions, as the cell paint places before the text.
    int width = 0;
    if (withCheck && options().MiscOptions.contains(toCheckSupport)) {
        const TImageList& list = checkImages().images();
        const int index = GetCheckImage(node);
        if (index >= 0 && index < list.Count())
            width += list.Width() + 2;
    }
    const auto imageWidth = [&](TLTImageKind kind, const TImageList* defaults) {
        bool ghosted = false;
        int index = -1;
        const TImageList* chosen = nullptr;
        DoGetImageIndex(node, kind, column, ghosted, index, chosen);
        const TImageList* list = chosen ? chosen : defaults;
        return list && index >= 0 && index < list->Count() ? list->Width() + 2 : 0;
    };
    if (FStateImages)
        width += imageWidth(ikState, FStateImages);
    if (FImages || OnGetImageIndexEx)
        width += imageWidth(node->has(vsSelected) ? ikSelected : ikNormal, FImages);
    return width;
}

QRect TBaseLazyTree::GetTreeRect() const
{
    return QRect(0, 0, int(std::max<std::int64_t>(clientWidth(), FRangeX)),
                 int(std::max<std::int64_t>(clientHeight(), FRangeY)));
}

void TBaseLazyTree::GetHitTestInfoAt(int x, int y, bool relative, THitInfo& hitInfo)
{
    hitInfo = THitInfo{};
    const std::int64_t maxX = std::max<std::int64_t>(clientWidth(), FRangeX);
    const std::int64_t maxY = std::max<std::int64_t>(clientHeight(), FRangeY);
    if (x < 0)
        hitInfo.HitPositions.include(hiToLeft);
    else if (x > maxX)
        hitInfo.HitPositions.include(hiToRight);
    if (y < 0)
        hitInfo.HitPositions.include(hiAbove);
    else if (y > maxY)
        hitInfo.HitPositions.include(hiBelow);
    if (relative) {
        x += FEffectiveOffsetX;
        y -= FOffsetY;
    }
    hitInfo.HitPoint = QPoint(x, y);
    if (!hitInfo.HitPositions.empty())
        return;
    int top = 0;
    hitInfo.HitNode = GetNodeAt(x, y, false, top);
    if (!hitInfo.HitNode) {
        hitInfo.HitPositions.include(hiNowhere);
        return;
    }
    if (!hitInfo.HitNode->has(vsInitialized))
        InitNode(hitInfo.HitNode);
    hitInfo.HitPositions.include(hiOnItem);
    if (options().MiscOptions.contains(toNodeHeightResize)) {
        const int bottom = top + int(hitInfo.HitNode->NodeHeight);
        if (y <= top + 1)
            hitInfo.HitPositions.include(hiUpperSplitter);
        if (y >= bottom - 3)
            hitInfo.HitPositions.include(hiLowerSplitter);
    }
    // Which element of the row lies under the point. Without header columns the row is the
    // implicit column's cell, from 0 to the wider of the client and the content; with them the
    // cell of the visible column under the point (found in client coordinates).
    TAlignment alignment = FAlignment;
    int offset = x;
    int right = int(std::max<std::int64_t>(clientWidth(), FRangeX));
    if (FHeader->UseColumns()) {
        int left = 0;
        int cellRight = 0;
        hitInfo.HitColumn = FHeader->Columns().ColumnAndBoundsFromPosition(
            QPoint(x - FEffectiveOffsetX, 0), left, cellRight, true);
        if (hitInfo.HitColumn < 0) {
            hitInfo.HitPositions.include(hiNowhere);
            return;
        }
        alignment = FHeader->Columns()[hitInfo.HitColumn].Alignment();
        offset = x - FEffectiveOffsetX - left;
        right = cellRight - left;
    }
    if (UseRightToLeftReading())
        DetermineHitPositionRTL(hitInfo, offset, right, alignment);
    else
        DetermineHitPositionLTR(hitInfo, offset, right, alignment);
}

bool TBaseLazyTree::ScrollIntoView(PLazyNode node, bool center, bool horizontally)
{
    if (!node || node == RootNode())
        return false;
    for (PLazyNode run = node->Parent; run != RootNode(); run = run->Parent) {
        if (!run->has(vsExpanded))
            ToggleNode(run);
    }
    const bool useColumns = FHeader->UseColumns();
    const TColumnIndex column = useColumns && FHeader->Columns().IsValidColumn(FFocusedColumn)
                                    ? FFocusedColumn
                                    : NoColumn;
    const QRect r = GetDisplayRect(node, column, !options().MiscOptions.contains(toGridExtensions));
    // A hidden row has no place to scroll to.
    if (r.height() <= 0)
        return false;
    const bool horizontalBarShowing = FScrollBarOptions->hasHorizontal()
                                      && (FScrollBarOptions->AlwaysVisible()
                                          || clientWidth() < FRangeX);
    const int pendingBar = (!useColumns && !horizontalBarShowing && clientWidth() < FRangeX)
                               ? horizontalBarHeight()
                               : 0;
    const TScrollIntoViewResult res = scrollRowIntoView(FOffsetY, r.top(), r.top() + r.height(),
                                                        clientHeight(), center, pendingBar);
    if (res.scrolled)
        SetOffsetY(res.offset);
    bool result = res.scrolled;
    if (horizontally)
        result = ScrollColumnIntoView(FFocusedColumn, center) || result;
    return result;
}

bool TBaseLazyTree::ScrollColumnIntoView(TColumnIndex column, bool center)
{
    TLazyTreeColumns& columns = FHeader->Columns();
    if (!FHeader->UseColumns() || !columns.IsValidColumn(column))
        return false;
    const TLazyTreeColumn& c = columns[column];
    const int left = c.UnscrolledLeft() - FEffectiveOffsetX;
    const int fixedWidth = columns.GetVisibleFixedWidth();
    int position = 0;
    if (center) {
        position = left + FEffectiveOffsetX + c.Width() / 2 - fixedWidth / 2 - clientWidth() / 2;
        if (position == FEffectiveOffsetX)
            return true;
    } else if (c.Options().contains(coFixed)) {
        return true;
    } else if (left + c.Width() > clientWidth()) {
        position = left + c.Width() + FEffectiveOffsetX - clientWidth();
    } else if (left < fixedWidth) {
        position = FEffectiveOffsetX + left - fixedWidth;
    } else {
        return true;
    }
    // The position is where the view's left edge goes in the content; right to left the
    // offset counts from the content's right end.
    if (UseRightToLeftReading())
        SetOffsetX(int(clientWidth() + position - FRangeX));
    else
        SetOffsetX(-position);
    return true;
}

PLazyNode TBaseLazyTree::TopNode()
{
    int top = 0;
    return GetNodeAt(0, 0, true, top);
}

PLazyNode TBaseLazyTree::BottomNode()
{
    int top = 0;
    return GetNodeAt(0, clientHeight() - 1, true, top);
}

void TBaseLazyTree::SetTopNode(PLazyNode node)
{
    if (!node || node == RootNode())
        return;
    for (PLazyNode run = node->Parent; run != RootNode(); run = run->Parent) {
        if (!run->has(vsExpanded))
            ToggleNode(run);
    }
    const QRect r = GetDisplayRect(node, NoColumn, true);
    SetOffsetY(FOffsetY - r.top());
}

void TBaseLazyTree::SetBottomNode(PLazyNode node)
{
    if (!node || node == RootNode())
        return;
    for (PLazyNode run = node->Parent; run != RootNode(); run = run->Parent) {
        if (!run->has(vsExpanded))
            ToggleNode(run);
    }
    const QRect r = GetDisplayRect(node, NoColumn, true);
    DoSetOffsetXY({FOffsetX, clientHeight() + FOffsetY - r.top() - int(node->NodeHeight)},
                  {suoRepaintScrollBars, suoUpdateNCArea});
}

// ----- invalidation -------------------------------------------------------------------------

void TBaseLazyTree::Invalidate()
{
    if (!m_destroyingWidget)
        viewport()->update();
}

QRect TBaseLazyTree::invalidatedNodeRect(PLazyNode node)
{
    if (FUpdateCount > 0 || m_destroyingWidget || !node || node == RootNode())
        return QRect(QPoint(-1, -1), QPoint(-2, -2));
    const QRect r = GetDisplayRect(node, NoColumn, false);
    if (!r.isEmpty())
        viewport()->update(r);
    return r;
}

void TBaseLazyTree::InvalidateNode(PLazyNode node) { invalidatedNodeRect(node); }

void TBaseLazyTree::InvalidateToBottom(PLazyNode node)
{
    if (FUpdateCount > 0 || m_destroyingWidget)
        return;
    if (!node || node == RootNode()) {
        Invalidate();
        return;
    }
    if (!node->has(vsInitialized) || !GetEffectivelyVisible(node))
        return;
    QRect r = GetDisplayRect(node, NoColumn, false);
    if (r.isEmpty())
        return;
    int top = r.top();
    if (options().PaintOptions.contains(toChildrenAbove) && node->has(vsExpanded))
        top -= int(node->NodeHeight + node->TotalHeight);
    if (top < clientHeight())
        viewport()->update(QRect(0, top, clientWidth(), clientHeight() - top));
}

void TBaseLazyTree::InvalidateChildren(PLazyNode node, bool recursive)
{
    if (!node)
        node = RootNode();
    else
        InvalidateNode(node);
    for (PLazyNode run = GetFirstChild(node); run; run = GetNextSibling(run)) {
        InvalidateNode(run);
        if (recursive)
            InvalidateChildren(run, true);
    }
}

void TBaseLazyTree::RepaintNode(PLazyNode node)
{
    if (!node || node == RootNode())
        return;
    const QRect r = invalidatedNodeRect(node);
    if (r.isValid() && !r.isEmpty())
        viewport()->repaint(r);
}

}  // namespace zfw
