// The header model: properties, height rules, main and sort column, repainting, hit tests and
// the group operations on column widths.

#include "tree/LazyTreesHeader.h"

#include "tree/LazyTreesControl.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zfw {

TLTHeader::TLTHeader(TBaseLazyTree& owner) : FOwner(&owner)
{
    FColumns = std::make_unique<TLazyTreeColumns>(*this);
    FFont = owner.font();
    FFixedAreaConstraints.OnChange = [this](TLTFixedAreaConstraints&) {
        if (FOwner->HandleAllocated())
            RescaleFixedArea();
        else
            FStates.include(hsNeedScaling);
    };
    createWidget();
}

TLTHeader::~TLTHeader()
{
    FColumns.reset();
    // The widget is a child of the tree and goes with it; it must not call back into a
    // header that is gone.
    delete m_widget;
}

void TLTHeader::SetStates(THeaderStates add, THeaderStates remove)
{
    FStates.include(add);
    FStates.exclude(remove);
}

// ----- properties ---------------------------------------------------------------------------

void TLTHeader::SetAutoSizeIndex(TColumnIndex value)
{
    if (value == FAutoSizeIndex)
        return;
    FAutoSizeIndex = value;
    if (FOptions.contains(hoAutoResize))
        FColumns->FitAutoSizeColumn(false);
}

void TLTHeader::SetBackground(TColor value)
{
    if (value == FBackgroundColor)
        return;
    FBackgroundColor = value;
    Invalidate();
}

void TLTHeader::SetDefaultHeight(int value)
{
    value = std::min(std::max(value, FMinHeight), FMaxHeight);
    if (FHeight == FDefaultHeight)
        SetHeight(value);
    FDefaultHeight = value;
}

void TLTHeader::SetFont(const QFont& font)
{
    FFont = font;
    FParentFont = false;
    fontChanged();
}

void TLTHeader::SetFontColor(TColor value)
{
    if (value == FFontColor)
        return;
    FFontColor = value;
    Invalidate();
}

void TLTHeader::fontChanged()
{
    if (FOwner->options().AutoOptions.contains(toAutoChangeScale)) {
        int spacing = 0;
        for (int i = 0; i < FColumns->Count(); ++i)
            spacing = std::max(spacing, FColumns->Items(i).Spacing());
        const int textHeight = QFontMetrics(FFont).boundingRect(QStringLiteral("Q")).height();
        SetHeight(std::max(FHeight, textHeight + spacing + spacing / 2));
    }
    Invalidate();
}

void TLTHeader::SetHeight(int value)
{
    TBaseLazyTree& tree = *FOwner;
    if (!tree.HandleAllocated()) {
        FHeight = value;
        FStates.include(hsNeedScaling);
        return;
    }
    const int maxPercent = FFixedAreaConstraints.Get(TLTFixedAreaConstraints::MaxHeightPercent);
    const int minPercent = FFixedAreaConstraints.Get(TLTFixedAreaConstraints::MinHeightPercent);
    const int total = tree.clientHeight() + (FOptions.contains(hoVisible) ? FHeight : 0);
    const int maxLim = total * maxPercent / 100;
    const int minLim = total * minPercent / 100;
    const int lower = maxPercent > 0 ? std::min(maxLim, FMinHeight) : FMinHeight;
    const int upper = minPercent > 0 ? std::max(minLim, FMaxHeight) : FMaxHeight;
    value = std::min(std::max(lower, value), upper);
    if (minPercent > 0)
        value = std::max(value, minLim);
    if (maxPercent > 0)
        value = std::min(value, maxLim);
    if (value == FHeight)
        return;
    FHeight = value;
    if (!FStates.contains(hsScaling))
        RecomputeHeaderFrame();
    tree.Invalidate();
    Invalidate();
}

void TLTHeader::SetImages(const TImageList* images)
{
    if (images == FImages)
        return;
    FImages = images;
    Invalidate();
}

void TLTHeader::SetMainColumn(TColumnIndex value)
{
    const int count = FColumns->Count();
    value = count == 0 ? NoColumn : std::clamp(value, 0, count - 1);
    if (value == FMainColumn)
        return;
    FMainColumn = value;
    TBaseLazyTree& tree = *FOwner;
    tree.MainColumnChanged();
    if (!tree.options().SelectionOptions.contains(toExtendedFocus))
        tree.FFocusedColumn = value;
    tree.Invalidate();
}

void TLTHeader::SetMaxHeight(int value)
{
    FMaxHeight = std::max(value, FMinHeight);
    SetHeight(FHeight);
}

void TLTHeader::SetMinHeight(int value)
{
    FMinHeight = std::min(std::max(value, 0), FMaxHeight);
    SetHeight(FHeight);
}

void TLTHeader::SetOptions(TLTHeaderOptions value)
{
    const TLTHeaderOptions old = FOptions;
    FOptions = value;
    TBaseLazyTree& tree = *FOwner;
    const bool autoResizeChanged = old.contains(hoAutoResize) != value.contains(hoAutoResize);
    if (autoResizeChanged && FColumns->Count() > 0) {
        FColumns->FitAutoSizeColumn(false);
        if (tree.HandleAllocated()) {
            tree.UpdateHorizontalScrollBar(false);
            if (value.contains(hoAutoResize))
                tree.Invalidate();
        }
    }
    if (!tree.HandleAllocated())
        return;
    if (old.contains(hoVisible) != value.contains(hoVisible))
        RecomputeHeaderFrame();
    Invalidate();
    tree.Invalidate();
}

void TLTHeader::SetParentFont(bool value)
{
    if (value == FParentFont)
        return;
    FParentFont = value;
    if (value) {
        FFont = FOwner->font();
        fontChanged();
    }
}

void TLTHeader::ParentFontChanged()
{
    if (!FParentFont)
        return;
    FFont = FOwner->font();
    fontChanged();
}

void TLTHeader::SetSortDirection(TSortDirection value)
{
    if (value == FSortDirection)
        return;
    FSortDirection = value;
    Invalidate();
    sortTreeIfAuto();
}

void TLTHeader::sortTreeIfAuto()
{
    TBaseLazyTree& tree = *FOwner;
    if ((tree.options().AutoOptions.contains(toAutoSort)
         || FOptions.contains(hoHeaderClickAutoSort))
        && tree.UpdateCount() == 0)
        tree.SortTree(FSortColumn, FSortDirection, true);
}

void TLTHeader::ApplySortColumn(TColumnIndex value)
{
    value = std::clamp(value, NoColumn, FColumns->Count() - 1);
    if (value == FSortColumn)
        return;
    Invalidate(FSortColumn);
    FSortColumn = value;
    Invalidate(FSortColumn);
    sortTreeIfAuto();
}

void TLTHeader::SetStyle(TLTHeaderStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    Invalidate();
}

// ----- operations ---------------------------------------------------------------------------

bool TLTHeader::AllowFocus(TColumnIndex column) const
{
    return FColumns->IsValidColumn(column)
           && FColumns->Items(column).Options().contains(coAllowFocus);
}

void TLTHeader::Assign(const TLTHeader& source)
{
    SetAutoSizeIndex(source.FAutoSizeIndex);
    SetBackground(source.FBackgroundColor);
    FColumns->Assign(*source.FColumns);
    SetFont(source.FFont);
    SetFontColor(source.FFontColor);
    FFixedAreaConstraints.Assign(source.FFixedAreaConstraints);
    SetHeight(source.FHeight);
    SetImages(source.FImages);
    SetMainColumn(source.MainColumn());
    SetOptions(source.FOptions);
    SetParentFont(source.FParentFont);
    FPopupMenu = source.FPopupMenu;
    SetSortColumn(source.FSortColumn);
    SetSortDirection(source.FSortDirection);
    SetStyle(source.FStyle);
    RescaleFixedArea();
}

void TLTHeader::DoBeforeAutoFitColumn(TColumnIndex column, TSmartAutoFitType& smartAutoFitType,
                                      bool& allowed)
{
    if (FOwner->OnBeforeAutoFitColumn)
        FOwner->OnBeforeAutoFitColumn(*this, column, smartAutoFitType, allowed);
}

void TLTHeader::DoAfterAutoFitColumn(TColumnIndex column)
{
    if (FOwner->OnAfterAutoFitColumn)
        FOwner->OnAfterAutoFitColumn(*this, column);
}

void TLTHeader::AutoFitColumns(bool animated, TSmartAutoFitType smartAutoFitType, int rangeStartCol,
                               int rangeEndCol)
{
    const int last = FColumns->Count() - 1;
    rangeStartCol = std::max(rangeStartCol, 0);
    rangeEndCol = rangeEndCol < 0 ? last : std::min(rangeEndCol, last);
    if (rangeStartCol > rangeEndCol)
        return;
    TBaseLazyTree& tree = *FOwner;
    tree.BeginOperation(okAutoFitColumns);
    struct EndOperation {
        TBaseLazyTree& tree;
        ~EndOperation() { tree.EndOperation(okAutoFitColumns); }
    } end{tree};
    if (tree.OnBeforeAutoFitColumns)
        tree.OnBeforeAutoFitColumns(*this, smartAutoFitType);
    for (int p = rangeStartCol; p <= rangeEndCol; ++p) {
        const TColumnIndex index = FColumns->ColumnFromPosition(TColumnPosition(p));
        if (index < 0)
            continue;
        TLazyTreeColumn& column = FColumns->Items(index);
        if (!column.Options().containsAll({coResizable, coVisible}))
            continue;
        bool allowed = true;
        TSmartAutoFitType localType = smartAutoFitType;
        DoBeforeAutoFitColumn(index, localType, allowed);
        if (!allowed || tree.OperationCanceled())
            continue;
        const bool smart = smartAutoFitType == smaAllColumns
                           || (smartAutoFitType == smaUseColumnOption
                               && column.Options().contains(coSmartResize));
        const int width = tree.GetMaxColumnWidth(index, smart);
        if (animated)
            FColumns->AnimatedResize(index, width);
        else
            column.SetWidth(width);
        DoAfterAutoFitColumn(index);
    }
    if (tree.OnAfterAutoFitColumns)
        tree.OnAfterAutoFitColumns(*this);
}

int TLTHeader::ResizeColumns(int changeBy, TColumnIndex rangeStartCol, TColumnIndex rangeEndCol,
                             TLTColumnOptions options)
{
    if (changeBy == 0)
        return 0;
    rangeStartCol = std::max(rangeStartCol, 0);
    rangeEndCol = std::min(rangeEndCol, FColumns->Count() - 1);
    if (rangeStartCol > rangeEndCol)
        return 0;
    const bool grow = changeBy > 0;
    const int step = grow ? 1 : -1;
    const int startIndex = grow ? rangeStartCol : rangeEndCol;
    const int request = std::abs(changeBy);
    int remaining = request;
    const int n = rangeEndCol - rangeStartCol + 1;
    std::vector<int> width(std::size_t(n), 0);
    std::vector<int> limit(std::size_t(n), 0);
    auto col = [&](int i) -> TLazyTreeColumn& { return FColumns->Items(i); };
    auto slot = [&](int i) { return std::size_t(i - rangeStartCol); };
    auto matches = [&](int i) { return col(i).Options().containsAll(options); };
    for (int i = rangeStartCol; i <= rangeEndCol; ++i) {
        width[slot(i)] = col(i).Width();
        limit[slot(i)] = grow ? col(i).MaxWidth() : col(i).MinWidth();
    }
    auto canChange = [&](int i) {
        return grow ? width[slot(i)] < limit[slot(i)] : width[slot(i)] > limit[slot(i)];
    };
    // Changes the working width by up to delta pixels (signed), cut at the limit.
    auto change = [&](int i, int delta) {
        int& w = width[slot(i)];
        const int target = grow ? std::min(w + delta, limit[slot(i)])
                                : std::max(w + delta, limit[slot(i)]);
        const int applied = std::abs(target - w);
        w = target;
        remaining -= applied;
        return applied;
    };
    while (remaining > 0) {
        int room = 0;
        int movable = 0;
        for (;;) {
            room = 0;
            movable = 0;
            for (int i = rangeStartCol; i <= rangeEndCol; ++i)
                if (matches(i) && canChange(i)) {
                    room += grow ? col(i).MaxWidth() - width[slot(i)]
                                 : width[slot(i)] - limit[slot(i)];
                    ++movable;
                }
            if (room >= request || grow || !FStates.contains(hsScaling))
                break;
            // While rescaling, a shrink may go below the columns' minimum widths: the widest
            // column's working limit gives up a tenth, down to 10 pixels.
            int candidate = -1;
            for (int i = rangeStartCol; i <= rangeEndCol; ++i)
                if (matches(i) && col(i).Width() > (candidate < 0 ? 0 : width[slot(candidate)]))
                    candidate = i;
            if (candidate < 0 || limit[slot(candidate)] <= 10)
                break;
            limit[slot(candidate)] -= limit[slot(candidate)] / 10;
        }
        if (movable == 0)
            break;
        remaining = std::min(remaining, room);
        const int share = remaining / movable;
        int rest = remaining % movable;
        int applied = 0;
        if (share > 0)
            for (int i = rangeStartCol; i <= rangeEndCol; ++i)
                if (matches(i) && canChange(i))
                    applied += change(i, share * step);
        // The remainder pixels go to the columns that did not get one last time, so that they
        // rotate over successive calls.
        int i = startIndex;
        bool placedInRound = false;
        bool invertedEmpty = false;
        while (rest > 0) {
            if (i < rangeStartCol || i > rangeEndCol) {
                // A whole round after an inversion placed nothing: no column can take a pixel
                // (the old code walked on for ever here).
                if (!placedInRound && invertedEmpty)
                    break;
                invertedEmpty = !placedInRound;
                placedInRound = false;
                for (int j = rangeStartCol; j <= rangeEndCol; ++j)
                    if (matches(j))
                        col(j).FBonusPixel = !col(j).FBonusPixel;
                i = startIndex;
                continue;
            }
            if (matches(i) && canChange(i) && col(i).FBonusPixel != grow) {
                applied += change(i, step);
                col(i).FBonusPixel = grow;
                --rest;
                placedInRound = true;
            }
            i += step;
        }
        if (applied == 0)
            break;
    }
    int result = 0;
    FStates.include(hsResizing);
    for (int i = rangeStartCol; i <= rangeEndCol; ++i)
        if (matches(i)) {
            result += width[slot(i)] - col(i).Width();
            col(i).SetWidth(width[slot(i)]);
        }
    FStates.exclude(hsResizing);
    return result;
}

void TLTHeader::RestoreColumns()
{
    for (int p = FColumns->Count() - 1; p >= 0; --p) {
        const TColumnIndex index = FColumns->ColumnFromPosition(TColumnPosition(p));
        if (index < 0)
            continue;
        TLazyTreeColumn& c = FColumns->Items(index);
        if (c.Options().containsAll({coResizable, coVisible}))
            c.RestoreLastWidth();
    }
}

void TLTHeader::RescaleFixedArea()
{
    TBaseLazyTree& tree = *FOwner;
    if (FStates.contains(hsLoading) || !tree.HandleAllocated())
        return;
    FStates.include(hsScaling);
    SetHeight(FHeight);
    RecomputeHeaderFrame();
    using C = TLTFixedAreaConstraints;
    if (FFixedAreaConstraints.Get(C::MinHeightPercent) > 0
        || FFixedAreaConstraints.Get(C::MaxHeightPercent) > 0) {
        for (int i = 0; i < FColumns->Count(); ++i) {
            TLazyTreeColumn& c = FColumns->Items(i);
            if (c.IsFixedAndVisible() && c.FWidth < c.FMinWidth)
                c.FWidth = c.FMinWidth;
        }
        const int fixedWidth = FColumns->GetVisibleFixedWidth();
        const int cw = tree.clientWidth();
        const int minW = cw * FFixedAreaConstraints.Get(C::MinWidthPercent) / 100;
        const int maxW = cw * FFixedAreaConstraints.Get(C::MaxWidthPercent) / 100;
        if (FFixedAreaConstraints.Get(C::MaxWidthPercent) > 0 && fixedWidth > maxW)
            ResizeColumns(maxW - fixedWidth, 0, FColumns->Count() - 1, {coVisible, coFixed});
        else if (FFixedAreaConstraints.Get(C::MinWidthPercent) > 0 && fixedWidth < minW)
            ResizeColumns(minW - fixedWidth, 0, FColumns->Count() - 1, {coVisible, coFixed});
        FColumns->UpdatePositions();
    }
    FStates.exclude({hsScaling, hsNeedScaling});
}

void TLTHeader::UpdateSpringColumns()
{
    const int headerWidth = HeaderRect().width();
    if (FOptions.contains(hoAutoSpring) && FLastWidth != 0) {
        const float change = float(headerWidth - FLastWidth);
        if (change != 0) {
            const int sign = change >= 0 ? 1 : -1;
            float left = std::fabs(change);
            std::vector<TLazyTreeColumn*> springs;
            for (int i = 0; i < FColumns->Count(); ++i)
                if (FColumns->Items(i).Options().containsAll({coAutoSpring, coVisible}))
                    springs.push_back(&FColumns->Items(i));
            if (!springs.empty()) {
                const float share = left / float(springs.size());
                for (TLazyTreeColumn* c : springs) {
                    const float r = c->FSpringRest + share;
                    if (r >= 1)
                        c->SetWidth(c->Width() + sign * int(std::trunc(r)));
                    c->FSpringRest = r - std::trunc(r);
                    left -= share;
                    if (left < 0)
                        break;
                }
            }
        }
    }
    FLastWidth = headerWidth;
}

void TLTHeader::ScaleHeader(int m, int d)
{
    if (d == 0)
        return;
    auto scale = [m, d](int v) { return int(std::lround(double(v) * m / d)); };
    SetHeight(scale(FHeight));
    if (!FParentFont && FFont.pointSizeF() > 0) {
        QFont f = FFont;
        f.setPointSizeF(FFont.pointSizeF() * m / d);
        FFont = f;
    }
    for (int i = 0; i < FColumns->Count(); ++i)
        FColumns->Items(i).SetWidth(scale(FColumns->Items(i).Width()));
}

// ----- geometry, repainting and hit tests ---------------------------------------------------------

QRect TLTHeader::HeaderRect() const
{
    const TBaseLazyTree& tree = *FOwner;
    const QRect contents = tree.contentsRect();
    const int width = tree.viewport()->width();
    if (width < 0)
        return {};
    return QRect(contents.left(), contents.top(), width,
                 FOptions.contains(hoVisible) ? FHeight : 0);
}

void TLTHeader::RecomputeHeaderFrame()
{
    TBaseLazyTree& tree = *FOwner;
    if (!tree.HandleAllocated() || !m_widget)
        return;
    const bool visible = FOptions.contains(hoVisible);
    tree.setViewportMargins(0, visible ? FHeight : 0, 0, 0);
    if (visible) {
        m_widget->setGeometry(HeaderRect());
        m_widget->show();
        m_widget->raise();
    } else {
        m_widget->hide();
    }
}

void TLTHeader::Invalidate(TColumnIndex column, bool expandToBorder)
{
    TBaseLazyTree& tree = *FOwner;
    if (!FOptions.contains(hoVisible) || !m_widget || !tree.HandleAllocated())
        return;
    if (!FColumns->IsValidColumn(column)) {
        m_widget->update();
        return;
    }
    const TLazyTreeColumn& c = FColumns->Items(column);
    QRect r = c.GetRect();
    if (!c.Options().contains(coFixed))
        r.translate(-tree.EffectiveOffsetX(), 0);
    const bool rtl = tree.UseRightToLeftReading();
    if (rtl)
        r.translate(tree.ComputeRTLOffset(false), 0);
    if (expandToBorder) {
        if (FOptions.contains(hoFullRepaintOnResize)) {
            r.setLeft(0);
            r.setRight(m_widget->width());
        } else if (rtl) {
            r.setLeft(0);
        } else {
            r.setRight(m_widget->width());
        }
    }
    m_widget->update(r);
}

bool TLTHeader::ClientPointInHeader(QPoint client, int extendBelow) const
{
    if (!FOptions.contains(hoVisible))
        return false;
    const QPoint h = ClientToHeader(client);
    return h.x() >= 0 && h.x() < FOwner->viewport()->width() && h.y() >= 0
           && h.y() < FHeight + extendBelow;
}

bool TLTHeader::InHeader(QPoint p) const { return ClientPointInHeader(p); }

bool TLTHeader::InHeaderSplitterArea(QPoint p) const
{
    return p.y() >= -2 && p.y() <= 2 && ClientPointInHeader(p, 2);
}

}  // namespace zfw
