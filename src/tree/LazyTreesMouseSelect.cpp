// The rubber band: the rectangle the mouse draws and the nodes it passes over.
//
// The band is kept in tree coordinates (client x plus the effective horizontal offset, client y
// minus the vertical offset), its anchor corner in Left/Top and the moving corner in
// Right/Bottom, so that it may be inverted.

#include "tree/LazyTreesControl.h"
#include "tree/core/LazyTreesGuard.h"

#include <algorithm>
#include <exception>

namespace zfw {

namespace {

TRect ordered(const TRect& r)
{
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
}

// A band without height touches no row, so that a band that has not moved yet selects
// nothing; one without width (a straight vertical drag) does touch.
bool overlapsRow(const TRect& r, int top, int bottom) { return r.Top < bottom && r.Bottom > top; }

}  // namespace

bool TBaseLazyTree::CalculateSelectionRect(int x, int y)
{
    if (FStates.contains(tsDrawSelecting))
        FLastSelRect = FNewSelRect;
    const int maxX = int(std::max<std::int64_t>(clientWidth(), FRangeX));
    const int maxY = int(std::max<std::int64_t>(clientHeight(), FRangeY));
    FNewSelRect.Right = std::clamp(x + FEffectiveOffsetX, 0, maxX);
    FNewSelRect.Bottom = std::clamp(y - FOffsetY, 0, maxY);
    return FLastSelRect != FNewSelRect;
}

bool TBaseLazyTree::HandleDrawSelection(int x, int y)
{
    if (RootNode()->TotalCount <= 1 || !FStates.contains(tsDrawSelecting))
        return false;
    const TRect oldRect = ordered(FLastSelRect);
    const TRect newRect = ordered(FNewSelRect);
    ClearTempCache();
    // A selection handler failing half-way ends the band with the selection packed: entries
    // marked for removal must not outlive the operation.
    ScopeGuard consistent([this] {
        if (std::uncaught_exceptions() == 0)
            return;
        PackSelection();
        ClearTempCache();
        clearPendingInput(TLazyTreeStates{tsDrawSelPending, tsDrawSelecting, tsClearPending});
    });
    // Without header columns the main column is the whole client width.
    const bool rtl = UseRightToLeftReading();
    TAlignment alignment = FAlignment;
    if (rtl && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    const bool changed = rtl ? CollectSelectedNodesRTL(0, newRect, oldRect, alignment,
                                                       clientWidth())
                             : CollectSelectedNodesLTR(0, newRect, oldRect, alignment,
                                                       clientWidth());
    if (!changed)
        return false;
    PackSelection();
    if (FTempNodeCount > 0)
        AddNodesToSelection(FTempNodeCache, int(FTempNodeCount), false);
    ClearTempCache();
    Change(nullptr);
    return true;
}

bool TBaseLazyTree::CollectSelectedNodesLTR(int left, const TRect& newRect, const TRect& oldRect,
                                            TAlignment alignment, int right)
{
    return collectBandNodes(false, left, newRect, oldRect, alignment, right);
}

bool TBaseLazyTree::CollectSelectedNodesRTL(int left, const TRect& newRect, const TRect& oldRect,
                                            TAlignment alignment, int right)
{
    return collectBandNodes(true, left, newRect, oldRect, alignment, right);
}

bool TBaseLazyTree::collectBandNodes(bool rtl, int left, const TRect& newRect, const TRect& oldRect,
                                     TAlignment alignment, int right)
{
    const TLazyTreeOptionSets& opt = options();
    const int maxY = std::max(newRect.Bottom, oldRect.Bottom);
    const bool withCtrl = FDrawSelShiftState.testFlag(Qt::ControlModifier);
    const bool simple = opt.SelectionOptions.contains(toSimpleDrawSelection);
    const bool fullRow = opt.SelectionOptions.contains(toFullRowSelect);
    int top = 0;
    PLazyNode node = GetNodeAt(0, std::max(0, std::min(oldRect.Top, newRect.Top)), false, top);
    if (!node)
        return false;
    const auto imageWidth = [this](PLazyNode n, TLTImageKind kind) {
        const TImageList* defaults = kind == ikState ? FStateImages : FImages;
        if (!defaults && !OnGetImageIndexEx)
            return 0;
        bool ghosted = false;
        int index = -1;
        const TImageList* list = nullptr;
        DoGetImageIndex(n, kind, NoColumn, ghosted, index, list);
        if (!list)
            list = defaults;
        return index >= 0 && list ? list->Width() + 2 : 0;
    };
    const int checkWidth = opt.MiscOptions.contains(toCheckSupport)
                               ? checkImages().images().Width() + 2
                               : 0;
    bool result = false;
    while (node && maxY >= top) {
        const int level = opt.PaintOptions.contains(toFixedIndent)
                              ? 1
                              : int(GetNodeLevel(node))
                                    + (opt.PaintOptions.contains(toShowRoot) ? 1 : 0);
        const int bottom = top + int(GetNodeHeight(node));
        int content = FMargin + level * FIndent;
        if (node->CheckType != ctNone)
            content += checkWidth;
        content += imageWidth(node, node->has(vsSelected) ? ikSelected : ikNormal);
        content += imageWidth(node, ikState);
        const auto touches = [&](const TRect& r) {
            if (!overlapsRow(r, top, bottom))
                return false;
            if (simple && rtl)
                return true;
            if (simple || fullRow)
                return left + (rtl ? 0 : FMargin + level * FIndent) < r.Right;
            int textLeft = 0;
            int textRight = 0;
            if (!rtl) {
                textLeft = left + content;
                const int limit = right;
                // A left-aligned text ends where its width says. Only when both bands start
                // at or left of the text is its end irrelevant, and then it is not measured.
                if (alignment == taLeftJustify && textLeft >= newRect.Left
                    && textLeft >= oldRect.Left) {
                    textRight = limit;
                } else {
                    const int nodeWidth = DoGetNodeWidth(node, NoColumn);
                    if (nodeWidth >= limit - textLeft) {
                        textRight = limit;
                    } else if (alignment == taLeftJustify) {
                        textRight = textLeft + nodeWidth;
                    } else if (alignment == taCenter) {
                        textLeft = (textLeft + limit - nodeWidth) / 2;
                        textRight = textLeft + nodeWidth;
                    } else {
                        textLeft = limit - nodeWidth;
                        textRight = limit;
                    }
                }
            } else {
                textRight = right - content;
                const int limit = left;
                // Mirrored: the same for a text aligned to the reading side, whose end is its
                // right edge.
                if (alignment == taRightJustify && newRect.Right >= textRight
                    && oldRect.Right >= textRight) {
                    textLeft = limit;
                } else {
                    const int nodeWidth = DoGetNodeWidth(node, NoColumn);
                    if (nodeWidth >= textRight - limit) {
                        textLeft = limit;
                    } else if (alignment == taLeftJustify) {
                        textLeft = limit;
                        textRight = limit + nodeWidth;
                    } else if (alignment == taCenter) {
                        textLeft = (textRight + limit - nodeWidth) / 2;
                        textRight = textLeft + nodeWidth;
                    } else {
                        textLeft = textRight - nodeWidth;
                    }
                }
            }
            return r.Left <= textRight && r.Right >= textLeft;
        };
        const bool nowTouched = touches(newRect);
        if (nowTouched != touches(oldRect)) {
            result = true;
            if (withCtrl) {
                if (node->has(vsSelected))
                    InternalRemoveFromSelection(node);
                else
                    AddToTempNodeCache(node);
            } else if (nowTouched) {
                AddToTempNodeCache(node);
            } else {
                InternalRemoveFromSelection(node);
            }
        }
        top = bottom;
        node = GetNextVisible(node, true);
    }
    return result;
}

}  // namespace zfw
