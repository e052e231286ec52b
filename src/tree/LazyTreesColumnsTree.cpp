// The tree's side of columns and header: widest content of a column, the hooks the column
// model calls, and the header following the tree's size.

#include "tree/LazyTreesControl.h"
#include "tree/LazyTreesHeader.h"

#include <algorithm>

namespace zfw {

QColor TBaseLazyTree::HeaderFontColor() const { return toQColor(FHeader->FontColor(), palette()); }

void TBaseLazyTree::DoColumnResize(TColumnIndex column)
{
    // An editor over the column follows its new width.
    UpdateEditBounds();
    if (OnColumnResize)
        OnColumnResize(*FHeader, column);
}

void TBaseLazyTree::MainColumnChanged()
{
    CancelEditNode();
    // The focused node's accessible name is its main column's text.
    accessibleNameChanged();
}

TColumnIndex TBaseLazyTree::SortColumn() const
{
    return FHeader ? FHeader->SortColumn() : NoColumn;
}

TSortDirection TBaseLazyTree::SortDirection() const
{
    return FHeader ? FHeader->SortDirection() : sdAscending;
}

void TBaseLazyTree::headerResized()
{
    if (!FHeader)
        return;
    TLTHeader& header = *FHeader;
    header.RecomputeHeaderFrame();
    if (header.Options().contains(hoAutoResize))
        header.Columns().FitAutoSizeColumn(false);
    else if (!header.States().contains(hsScaling))
        header.RescaleFixedArea();
    header.Invalidate();
    header.UpdateSpringColumns();
}

int TBaseLazyTree::GetMaxColumnWidth(TColumnIndex column, bool useSmartColumnWidth)
{
    TLazyTreeColumns& columns = FHeader->Columns();
    if (OperationCanceled())
        return columns.IsValidColumn(column) ? columns.Items(column).Width() : 0;
    BeginOperation(okGetMaxColumnWidth);
    struct EndOperation {
        TBaseLazyTree& tree;
        ~EndOperation() { tree.EndOperation(okGetMaxColumnWidth); }
    } end{*this};
    if (OnBeforeGetMaxColumnWidth)
        OnBeforeGetMaxColumnWidth(*FHeader, column, useSmartColumnWidth);

    const TLTMiscOptions misc = options().MiscOptions;
    const TLTPaintOptions paint = options().PaintOptions;
    const int stateWidth = FStateImages ? FStateImages->Width() + 2 : 0;
    const TImageList& checkList = checkImages().images();
    const int checkWidth = checkList.Count() > 0 ? checkList.Width() + 2 : 0;
    const bool checksCount = misc.contains(toCheckSupport) && checkList.Count() > 0;

    PLazyNode node = nullptr;
    PLazyNode stop = nullptr;
    if (useSmartColumnWidth) {
        node = TopNode();
        PLazyNode bottom = BottomNode();
        stop = bottom ? GetNextVisible(bottom, true) : nullptr;
    } else {
        node = GetFirstVisible(nullptr, true);
    }
    if (!node)
        return paint.contains(toShowVertGridLines) ? 1 : 0;

    const TColumnIndex mainColumn = FHeader->MainColumn();
    const bool isMain = column == mainColumn || (column < 0 && mainColumn < 0);
    const bool fixedIndent = paint.contains(toFixedIndent);
    int indent = 0;
    if (isMain) {
        if (fixedIndent)
            indent = FIndent;
        else if (paint.contains(toShowRoot))
            indent = int(GetNodeLevel(node) + 1) * FIndent;
        else
            indent = int(GetNodeLevel(node)) * FIndent;
    }
    indent += FMargin;

    int result = 0;
    bool withImages = false;
    while (node && node != stop) {
        if (!node->has(vsInitialized))
            InitNode(node);
        int width = indent;
        if (isMain && checksCount && node->CheckType != ctNone)
            width += checkWidth;
        bool ghosted = false;
        int index = -1;
        const TImageList* chosen = nullptr;
        if (FImages || OnGetImageIndexEx) {
            DoGetImageIndex(node, ikNormal, column, ghosted, index, chosen);
            const TImageList* list = chosen ? chosen : FImages;
            if (list && index >= 0)
                withImages = true;
            if (withImages && list)
                width += list->Width() + 2;
        }
        if (FStateImages) {
            index = -1;
            chosen = nullptr;
            DoGetImageIndex(node, ikState, column, ghosted, index, chosen);
            if (index >= 0)
                width += stateWidth;
        }
        width += DoGetNodeWidth(node, column) + DoGetNodeExtraWidth(node, column);
        result = std::max(result, width);
        PLazyNode next = GetNextVisible(node, true);
        if (next && isMain && !fixedIndent)
            indent += (int(GetNodeLevel(next)) - int(GetNodeLevel(node))) * FIndent;
        node = next;
    }
    if (paint.contains(toShowVertGridLines))
        ++result;
    if (OnAfterGetMaxColumnWidth)
        OnAfterGetMaxColumnWidth(*FHeader, column, result);
    return result;
}

}  // namespace zfw

namespace zfw {

bool TBaseLazyTree::cellBoundsInTree(TColumnIndex column, int& left, int& right)
{
    TLazyTreeColumns& columns = FHeader->Columns();
    if (!columns.IsValidColumn(column)) {
        left = 0;
        right = int(std::max<std::int64_t>(clientWidth(), FRangeX));
        return column == NoColumn && !FHeader->UseColumns();
    }
    const TLazyTreeColumn& c = columns[column];
    left = c.UnscrolledLeft();
    right = left + c.Width();
    // A fixed column sits at the same client place whatever the scroll offset.
    if (c.Options().contains(coFixed)) {
        left += FEffectiveOffsetX;
        right += FEffectiveOffsetX;
    }
    return c.IsVisible();
}

void TBaseLazyTree::paintColumnCells(TLTPaintInfo& info, const TRect& window, int vAlign,
                                     int buttonX, int buttonY, int indentSize,
                                     const TLineImage& lineImage, int height)
{
    TLazyTreeColumns& columns = FHeader->Columns();
    ICanvas& canvas = *info.Canvas;
    const TLazyTreeOptionSets& opt = options();
    const TColumnIndex mainColumn = FHeader->MainColumn();
    const bool span = opt.AutoOptions.contains(toAutoSpanColumns);
    const bool fullRowSelected = opt.SelectionOptions.contains(toFullRowSelect)
                                 && info.Node->has(vsSelected)
                                 && info.PaintOptions.contains(poDrawSelection);
    // Scrolling cells never show through the fixed area.
    const int fixedRight = FEffectiveOffsetX + columns.GetVisibleFixedWidth();
    const std::vector<TLazyTreeColumn*> visible = columns.GetVisibleColumns();
    const TRect row = info.CellRect;
    for (const bool fixedPass : {false, true}) {
        for (std::size_t k = 0; k < visible.size(); ++k) {
            const TLazyTreeColumn& c = *visible[k];
            const bool fixed = c.Options().contains(coFixed);
            if (fixed != fixedPass)
                continue;
            int left = 0;
            int right = 0;
            cellBoundsInTree(c.Index(), left, right);
            // Following empty cells of the same area give their room to this one; the main
            // column keeps its own.
            std::size_t next = k + 1;
            if (span)
                while (next < visible.size() && visible[next]->Options().contains(coFixed) == fixed
                       && visible[next]->Index() != mainColumn
                       && ColumnIsEmpty(info.Node, visible[next]->Index())) {
                    right += visible[next]->Width();
                    ++next;
                }
            const std::size_t skipTo = next - 1;
            TRect clip{std::max(left, window.Left), 0, std::min(right, window.Right), height};
            if (!fixed)
                clip.Left = std::max(clip.Left, fixedRight);
            if (clip.Left >= clip.Right) {
                k = skipTo;
                continue;
            }
            canvas.pushClip(clip);
            const TRect cell{left, 0, right, height};
            if (!fullRowSelected) {
                if (info.PaintOptions.contains(poColumnColor)
                    && !c.Options().contains(coParentColor))
                    canvas.fillRect(cell, c.Color());
                else if (fixed)
                    canvas.fillRect(cell, clWindow);
            }
            info.Column = c.Index();
            info.Position = int(c.Position());
            info.CellRect = cell;
            info.Alignment = c.Alignment();
            if (info.RightToLeft && info.Alignment != taCenter)
                info.Alignment = info.Alignment == taLeftJustify ? taRightJustify : taLeftJustify;
            PaintCell(info, window, vAlign, buttonX, buttonY, indentSize, lineImage,
                      c.Index() == mainColumn);
            if (info.PaintOptions.contains(poGridLines)
                && opt.PaintOptions.contains(toShowVertGridLines))
                canvas.line(right - 1, 0, right - 1, height, color(TLTColors::GridLineColor));
            canvas.popClip();
            k = skipTo;
        }
    }
    info.CellRect = row;
    info.Column = NoColumn;
}

}  // namespace zfw

namespace zfw {

void TBaseLazyTree::columnsFollowDirection()
{
    TLazyTreeColumns& columns = FHeader->Columns();
    for (int i = 0; i < columns.Count(); ++i)
        columns[i].ParentBiDiModeChanged();
    if (options().AutoOptions.contains(toAutoBidiColumnOrdering))
        columns.ResetPositions(UseRightToLeftReading());
    FHeader->Invalidate();
}

}  // namespace zfw
