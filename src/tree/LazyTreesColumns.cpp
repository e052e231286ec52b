// The column model: one column's settings and width rules, and the collection with its
// position array, walks, hit tests and the auto-size fit.

#include "tree/LazyTreesColumns.h"

#include "tree/LazyTreesControl.h"
#include "tree/LazyTreesHeader.h"

#include <QTimer>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace zfw {

// ----- one column ---------------------------------------------------------------------------

TLazyTreeColumn::TLazyTreeColumn(TLazyTreeColumns& owner) : FOwner(&owner)
{
    FWidth = owner.DefaultWidth();
    FLastWidth = FWidth;
}

TLazyTreeColumn::~TLazyTreeColumn() = default;

TBaseLazyTree& TLazyTreeColumn::Tree() const { return FOwner->Tree(); }

TLTHeader& TLazyTreeColumn::Header() const { return FOwner->Header(); }

void TLazyTreeColumn::Changed() { FOwner->Update(this); }

void TLazyTreeColumn::SetAlignment(TAlignment value)
{
    if (value == FAlignment)
        return;
    FAlignment = value;
    Changed();
    Tree().Invalidate();
}

void TLazyTreeColumn::SetBiDiMode(TBiDiMode value)
{
    if (value == FBiDiMode)
        return;
    FBiDiMode = value;
    FOptions.exclude(coParentBidiMode);
    Changed();
    Tree().Invalidate();
}

void TLazyTreeColumn::SetCaptionAlignment(TAlignment value)
{
    if (value == FCaptionAlignment && FOptions.contains(coUseCaptionAlignment))
        return;
    FCaptionAlignment = value;
    FOptions.include(coUseCaptionAlignment);
    Header().Invalidate(m_index);
}

void TLazyTreeColumn::SetCheckBox(bool value)
{
    if (value == FCheckBox)
        return;
    FCheckBox = value;
    Changed();
}

void TLazyTreeColumn::SetCheckState(TCheckState value)
{
    if (value == FCheckState)
        return;
    FCheckState = value;
    Changed();
}

void TLazyTreeColumn::SetCheckType(TCheckType value)
{
    if (value == FCheckType)
        return;
    FCheckType = value;
    Changed();
}

void TLazyTreeColumn::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    FOptions.exclude(coParentColor);
    Changed();
    Tree().Invalidate();
}

void TLazyTreeColumn::SetImageIndex(int value)
{
    if (value == FImageIndex)
        return;
    FImageIndex = value;
    Changed();
}

void TLazyTreeColumn::SetLayout(TLTHeaderColumnLayout value)
{
    if (value == FLayout)
        return;
    FLayout = value;
    Changed();
}

void TLazyTreeColumn::SetMargin(int value)
{
    if (value < 0)
        value = 4;
    if (value == FMargin)
        return;
    FMargin = value;
    Changed();
}

void TLazyTreeColumn::SetSpacing(int value)
{
    if (value == FSpacing)
        return;
    FSpacing = value;
    Changed();
}

void TLazyTreeColumn::SetStyle(TLazyTreeColumnStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    Changed();
}

void TLazyTreeColumn::SetText(const QString& value)
{
    if (value == FText)
        return;
    FText = value;
    FCaptionText.clear();
    Changed();
}

void TLazyTreeColumn::SetMaxWidth(int value)
{
    value = std::max(value, FMinWidth);
    if (value == FMaxWidth)
        return;
    FMaxWidth = value;
    SetWidth(FWidth);
}

void TLazyTreeColumn::SetMinWidth(int value)
{
    value = std::min(std::max(value, 0), FMaxWidth);
    if (value == FMinWidth)
        return;
    FMinWidth = value;
    SetWidth(FWidth);
}

void TLazyTreeColumn::SetWidth(int value)
{
    TLTHeader& header = Header();
    TBaseLazyTree& tree = Tree();
    if (!header.FStates.contains(hsScaling)) {
        if (!IsFixedAndVisible()) {
            value = std::min(std::max(value, FMinWidth), FMaxWidth);
        } else {
            // The visible fixed columns together stay inside the band the constraints allow.
            const int cw = tree.clientWidth();
            const int minPercent = header.FFixedAreaConstraints.Get(
                TLTFixedAreaConstraints::MinWidthPercent);
            const int maxPercent = header.FFixedAreaConstraints.Get(
                TLTFixedAreaConstraints::MaxWidthPercent);
            int sumMin = 0;
            int sumMax = 0;
            for (TLazyTreeColumn* c : FOwner->GetVisibleColumns())
                if (c->FOptions.contains(coFixed)) {
                    sumMin += c->FMinWidth;
                    sumMax += c->FMaxWidth;
                }
            const int limMin = maxPercent > 0 ? std::min(cw * maxPercent / 100, sumMin) : sumMin;
            const int limMax = minPercent > 0 ? std::max(cw * minPercent / 100, sumMax) : sumMax;
            const int fixedWidth = FOwner->GetVisibleFixedWidth();
            const int others = fixedWidth - FWidth;
            value = std::min(std::min(limMax - others, FMaxWidth),
                             std::max(std::max(limMin - others, FMinWidth), value));
            if (minPercent > 0)
                value = std::max(value, cw * minPercent / 100 - fixedWidth + FWidth);
            if (maxPercent > 0)
                value = std::min(value, cw * maxPercent / 100 - fixedWidth + FWidth);
        }
    }
    if (value == FWidth)
        return;
    FLastWidth = FWidth;
    if (!header.FStates.contains(hsResizing))
        FBonusPixel = false;
    const bool autoSized = header.FOptions.contains(hoAutoResize)
                           && m_index
                                  == (FOwner->IsValidColumn(header.FAutoSizeIndex)
                                          ? header.FAutoSizeIndex
                                          : FOwner->Count() - 1);
    if (!autoSized) {
        FWidth = value;
        FOwner->UpdatePositions();
    }
    if (FOwner->InUpdate())
        return;
    if (header.FOptions.contains(hoAutoResize))
        FOwner->FitAutoSizeColumn(false);
    tree.DoColumnResize(m_index);
}

void TLazyTreeColumn::SetOptions(TLTColumnOptions value)
{
    if (value == FOptions)
        return;
    const TLTColumnOptions added = value - FOptions;
    const TLTColumnOptions removed = FOptions - value;
    FOptions = value;
    TBaseLazyTree& tree = Tree();
    if (added.contains(coParentBidiMode))
        FBiDiMode = tree.UseRightToLeftReading() ? bdRightToLeft : bdLeftToRight;
    if (added.contains(coParentColor))
        FColor = clWindow;
    if (added.contains(coAutoSpring))
        FSpringRest = 0;
    if ((added.contains(coFixed) || removed.contains(coFixed)) && FOptions.contains(coVisible))
        Header().RescaleFixedArea();
    Changed();
    const bool visibilityChanged = added.contains(coVisible) || removed.contains(coVisible);
    if ((visibilityChanged || added.contains(coParentColor)) && tree.UpdateCount() == 0
        && tree.HandleAllocated()) {
        tree.Invalidate();
        if (visibilityChanged)
            tree.UpdateHorizontalScrollBar(false);
    }
}

void TLazyTreeColumn::SetPosition(TColumnPosition value)
{
    // Inside BeginUpdate the positions may lag behind a removal; the move below needs them
    // right.
    FOwner->UpdatePositions(true);
    const TColumnPosition last = TColumnPosition(FOwner->Count() - 1);
    if (value > last)
        value = last;
    if (value == FPosition)
        return;
    Tree().CancelEditNode();
    auto& positions = FOwner->FPositionToIndex;
    const TColumnPosition oldPosition = FPosition;
    if (oldPosition < value)
        std::copy(positions.begin() + oldPosition + 1, positions.begin() + value + 1,
                  positions.begin() + oldPosition);
    else
        std::copy_backward(positions.begin() + value, positions.begin() + oldPosition,
                           positions.begin() + oldPosition + 1);
    positions[value] = m_index;
    Changed();
    if (!FOwner->InUpdate() && Tree().HandleAllocated()) {
        Header().Invalidate(m_index);
        Tree().Invalidate();
    }
    // A column takes the fixed state of its neighbour: the left one, or the right one for a
    // column at position 0 or one that is not fixed.
    const bool useLeft = FOptions.contains(coFixed) && FPosition > 0;
    const TColumnIndex neighbour = FOwner->ColumnFromPosition(
        TColumnPosition(useLeft ? FPosition - 1 : FPosition + 1));
    if (neighbour >= 0) {
        TLTColumnOptions options = FOptions;
        if (FOwner->Items(neighbour).FOptions.contains(coFixed))
            options.include(coFixed);
        else
            options.exclude(coFixed);
        SetOptions(options);
    }
}

int TLazyTreeColumn::Left() const
{
    if (IsFixedAndVisible())
        return FLeft;
    return FLeft - Tree().EffectiveOffsetX();
}

QRect TLazyTreeColumn::GetRect() const
{
    const QRect header = Header().HeaderRect();
    return QRect(FLeft, 0, FWidth, header.height());
}

void TLazyTreeColumn::ParentBiDiModeChanged()
{
    const TBiDiMode mode = Tree().UseRightToLeftReading() ? bdRightToLeft : bdLeftToRight;
    if (FOptions.contains(coParentBidiMode) && mode != FBiDiMode) {
        FBiDiMode = mode;
        Changed();
    }
}

void TLazyTreeColumn::ParentColorChanged()
{
    if (FOptions.contains(coParentColor) && FColor != clWindow) {
        FColor = clWindow;
        Changed();
    }
}

void TLazyTreeColumn::RestoreLastWidth() { FOwner->AnimatedResize(m_index, FLastWidth); }

QString TLazyTreeColumn::DisplayName() const
{
    for (QChar c : FText)
        if (c.unicode() > 0xFF)
            return QStringLiteral("Column %1").arg(m_index);
    return FText;
}

void TLazyTreeColumn::Assign(const TLazyTreeColumn& source)
{
    const TLTColumnOptions own = FOptions;
    FOptions = {};
    SetBiDiMode(source.FBiDiMode);
    SetImageIndex(source.FImageIndex);
    SetLayout(source.FLayout);
    SetMargin(source.FMargin);
    SetMaxWidth(source.FMaxWidth);
    SetMinWidth(source.FMinWidth);
    SetPosition(source.FPosition);
    SetSpacing(source.FSpacing);
    SetStyle(source.FStyle);
    SetText(source.FText);
    FHint = source.FHint;
    SetWidth(source.FWidth);
    SetAlignment(source.FAlignment);
    SetCaptionAlignment(source.CaptionAlignment());
    SetColor(source.FColor);
    FTag = source.FTag;
    FOptions = own;
    SetOptions(source.FOptions);
    Changed();
}

bool TLazyTreeColumn::Equals(const TLazyTreeColumn& o) const
{
    return FBiDiMode == o.FBiDiMode && FImageIndex == o.FImageIndex && FLayout == o.FLayout
           && FMargin == o.FMargin && FMaxWidth == o.FMaxWidth && FMinWidth == o.FMinWidth
           && FPosition == o.FPosition && FSpacing == o.FSpacing && FStyle == o.FStyle
           && FText == o.FText && FHint == o.FHint && FWidth == o.FWidth
           && FAlignment == o.FAlignment && CaptionAlignment() == o.CaptionAlignment()
           && FColor == o.FColor && FTag == o.FTag && FOptions == o.FOptions;
}

// ----- the collection -----------------------------------------------------------------------

TLazyTreeColumns::TLazyTreeColumns(TLTHeader& header) : FHeader(&header) {}

TLazyTreeColumns::~TLazyTreeColumns()
{
    FClearing = true;
    m_items.clear();
}

TBaseLazyTree& TLazyTreeColumns::Tree() const { return FHeader->Treeview(); }

TLazyTreeColumn& TLazyTreeColumns::Items(TColumnIndex index) const
{
    if (!IsValidColumn(index))
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    return *m_items[std::size_t(index)];
}

TLazyTreeColumn& TLazyTreeColumns::Add()
{
    auto column = std::make_unique<TLazyTreeColumn>(*this);
    TLazyTreeColumn& result = *column;
    result.m_index = Count();
    result.FPosition = TColumnPosition(Count());
    TBaseLazyTree& tree = Tree();
    result.FBiDiMode = tree.UseRightToLeftReading() ? bdRightToLeft : bdLeftToRight;
    m_items.push_back(std::move(column));
    Update(nullptr);
    return result;
}

void TLazyTreeColumns::renumber()
{
    for (std::size_t i = 0; i < m_items.size(); ++i)
        m_items[i]->m_index = TColumnIndex(i);
}

void TLazyTreeColumns::columnRemoved(TColumnIndex index)
{
    auto adjust = [index](TColumnIndex& value) {
        if (value == index)
            value = NoColumn;
        else if (value > index)
            --value;
    };
    adjust(FHoverIndex);
    adjust(FDownIndex);
    adjust(FTrackIndex);
    adjust(FClickIndex);
    adjust(FHeader->FAutoSizeIndex);
    adjust(FHeader->FSortColumn);
    if (FHeader->FMainColumn == index)
        FHeader->FMainColumn = Count() > 0 ? 0 : NoColumn;
    else if (FHeader->FMainColumn > index)
        --FHeader->FMainColumn;
}

void TLazyTreeColumns::Delete(TColumnIndex index)
{
    Items(index);
    TBaseLazyTree& tree = Tree();
    tree.CancelEditNode();
    RemoveFromPositions(index);
    m_items.erase(m_items.begin() + index);
    // A running animated resize follows its column, or ends with it.
    if (m_animColumn == index) {
        m_animColumn = NoColumn;
        tree.stopColumnAnimation();
    } else if (m_animColumn > index) {
        --m_animColumn;
    }
    renumber();
    columnRemoved(index);
    // The tree's focused column follows the removed index like the header's indexes do.
    if (tree.FFocusedColumn == index)
        tree.FFocusedColumn = NoColumn;
    else if (tree.FFocusedColumn > index)
        --tree.FFocusedColumn;
    Update(nullptr);
}

void TLazyTreeColumns::Clear()
{
    FClearing = true;
    TBaseLazyTree& tree = Tree();
    tree.CancelEditNode();
    m_animColumn = NoColumn;
    FHoverIndex = FDownIndex = FTrackIndex = FClickIndex = NoColumn;
    FCheckBoxHit = false;
    if (!FHeader->FStates.contains(hsLoading)) {
        FHeader->FAutoSizeIndex = NoColumn;
        FHeader->FMainColumn = NoColumn;
        FHeader->FSortColumn = NoColumn;
    }
    tree.FFocusedColumn = NoColumn;
    m_items.clear();
    FPositionToIndex.clear();
    FClearing = false;
    Update(nullptr);
}

void TLazyTreeColumns::Assign(const TLazyTreeColumns& source)
{
    BeginUpdate();
    Clear();
    for (int i = 0; i < source.Count(); ++i)
        Add();
    // Positions come whole from the source's array, so per-column moves must not reorder.
    FPositionToIndex = source.FPositionToIndex;
    for (int i = 0; i < source.Count(); ++i) {
        TLazyTreeColumn& c = *m_items[std::size_t(i)];
        const TLazyTreeColumn& s = *source.m_items[std::size_t(i)];
        c.FPosition = s.FPosition;
        c.Assign(s);
    }
    FPositionToIndex = source.FPositionToIndex;
    FNeedPositionsFix = false;
    m_updateCount = std::max(m_updateCount - 1, 0);
    UpdatePositions(true);
    Update(nullptr);
}

bool TLazyTreeColumns::Equals(const TLazyTreeColumns& other) const
{
    if (Count() != other.Count() || FPositionToIndex != other.FPositionToIndex)
        return false;
    for (int i = 0; i < Count(); ++i)
        if (!m_items[std::size_t(i)]->Equals(*other.m_items[std::size_t(i)]))
            return false;
    return true;
}

void TLazyTreeColumns::EndUpdate()
{
    if (m_updateCount > 0 && --m_updateCount == 0)
        Update(nullptr);
}

void TLazyTreeColumns::AdjustPositions()
{
    const std::size_t count = m_items.size();
    if (FPositionToIndex.size() == count)
        return;
    const std::size_t old = FPositionToIndex.size();
    FPositionToIndex.resize(count);
    if (count > old) {
        for (std::size_t p = old; p < count; ++p)
            FPositionToIndex[p] = TColumnIndex(p);
    } else {
        for (TColumnIndex& entry : FPositionToIndex)
            while (entry >= TColumnIndex(count))
                --entry;
    }
}

void TLazyTreeColumns::RemoveFromPositions(TColumnIndex index)
{
    auto it = std::find(FPositionToIndex.begin(), FPositionToIndex.end(), index);
    if (it != FPositionToIndex.end())
        FPositionToIndex.erase(it);
    for (TColumnIndex& entry : FPositionToIndex)
        if (entry > index)
            --entry;
}

void TLazyTreeColumns::UpdatePositions(bool force)
{
    if (FNeedPositionsFix || (!force && InUpdate()))
        return;
    AdjustPositions();
    int left = 0;
    for (std::size_t p = 0; p < FPositionToIndex.size(); ++p) {
        TLazyTreeColumn& c = *m_items[std::size_t(FPositionToIndex[p])];
        c.FPosition = TColumnPosition(p);
        c.FLeft = left;
        if (c.IsVisible())
            left += c.FWidth;
    }
    TBaseLazyTree& tree = Tree();
    tree.UpdateHorizontalScrollBar(false);
    // The cells and captions move with the edges.
    if (tree.HandleAllocated() && tree.UpdateCount() == 0) {
        FHeader->Invalidate();
        tree.Invalidate();
    }
}

void TLazyTreeColumns::FixPositions()
{
    AdjustPositions();
    for (int i = 0; i < Count(); ++i) {
        const TColumnPosition p = m_items[std::size_t(i)]->FPosition;
        if (p < FPositionToIndex.size())
            FPositionToIndex[p] = i;
    }
    FNeedPositionsFix = false;
    UpdatePositions(true);
}

void TLazyTreeColumns::ResetPositions(bool reverseOrder)
{
    AdjustPositions();
    const int n = Count();
    for (int p = 0; p < n; ++p)
        FPositionToIndex[std::size_t(p)] = reverseOrder ? n - 1 - p : p;
    UpdatePositions(true);
}

void TLazyTreeColumns::Update(TLazyTreeColumn* item)
{
    if (FClearing)
        return;
    AdjustPositions();
    UpdatePositions();
    if (Count() > 0 && FHeader->FMainColumn < 0)
        FHeader->FMainColumn = 0;
    if (FHeader->FStates.contains(hsLoading))
        return;
    if (FHeader->FOptions.contains(hoAutoResize))
        FitAutoSizeColumn(false);
    TBaseLazyTree& tree = Tree();
    if (item) {
        FHeader->Invalidate(item->m_index);
    } else if (tree.HandleAllocated()) {
        tree.UpdateHorizontalScrollBar(false);
        FHeader->Invalidate();
        tree.Invalidate();
    }
}

void TLazyTreeColumns::FitAutoSizeColumn(bool force)
{
    if (Count() == 0)
        return;
    const TColumnIndex index = IsValidColumn(FHeader->FAutoSizeIndex) ? FHeader->FAutoSizeIndex
                                                                      : Count() - 1;
    TLazyTreeColumn& column = *m_items[std::size_t(index)];
    TBaseLazyTree& tree = Tree();
    int available = tree.clientWidth();
    for (const auto& c : m_items)
        if (c.get() != &column && c->IsVisible())
            available -= c->FWidth;
    const int newWidth = std::max(std::min(available, column.FMaxWidth), column.FMinWidth);
    if (!force && newWidth == column.FWidth)
        return;
    column.FWidth = newWidth;
    UpdatePositions();
    tree.DoColumnResize(index);
}

// ----- hit tests and walks --------------------------------------------------------------------

int TLazyTreeColumns::walkStart(QPoint p, bool relative)
{
    TBaseLazyTree& tree = Tree();
    int start = 0;
    if (relative && p.x() >= GetVisibleFixedWidth())
        start = -tree.EffectiveOffsetX();
    if (tree.UseRightToLeftReading())
        start += tree.ComputeRTLOffset(true);
    return start;
}

TColumnIndex TLazyTreeColumns::ColumnFromPosition(QPoint p, bool relative)
{
    if (p.x() < 0 || p.y() < 0 || p.y() > Tree().height())
        return InvalidColumn;
    int left = 0;
    int right = 0;
    return ColumnAndBoundsFromPosition(p, left, right, relative);
}

TColumnIndex TLazyTreeColumns::ColumnFromPosition(TColumnPosition positionIndex) const
{
    return positionIndex < FPositionToIndex.size() ? FPositionToIndex[positionIndex] : NoColumn;
}

TColumnIndex TLazyTreeColumns::ColumnAndBoundsFromPosition(QPoint p, int& left, int& right,
                                                           bool relative)
{
    left = walkStart(p, relative);
    right = left;
    for (TColumnIndex index : FPositionToIndex) {
        const TLazyTreeColumn& c = *m_items[std::size_t(index)];
        if (!c.IsVisible())
            continue;
        right = left + c.FWidth;
        if (p.x() < right)
            return index;
        left = right;
    }
    return InvalidColumn;
}

void TLazyTreeColumns::GetColumnBounds(TColumnIndex column, int& left, int& right)
{
    TBaseLazyTree& tree = Tree();
    if (column < 0) {
        left = 0;
        right = tree.clientWidth();
        return;
    }
    const TLazyTreeColumn& c = Items(column);
    left = c.Left();
    right = left + c.FWidth;
    if (tree.UseRightToLeftReading()) {
        const int shift = tree.ComputeRTLOffset(true);
        left += shift;
        right += shift;
    }
}

TColumnIndex TLazyTreeColumns::GetFirstColumn() const
{
    return FPositionToIndex.empty() ? InvalidColumn : FPositionToIndex.front();
}

TColumnIndex TLazyTreeColumns::GetNextColumn(TColumnIndex column) const
{
    if (!IsValidColumn(column))
        return InvalidColumn;
    const TColumnPosition p = m_items[std::size_t(column)]->FPosition + 1;
    return p < FPositionToIndex.size() ? FPositionToIndex[p] : InvalidColumn;
}

TColumnIndex TLazyTreeColumns::GetPreviousColumn(TColumnIndex column) const
{
    if (!IsValidColumn(column))
        return InvalidColumn;
    const TColumnPosition p = m_items[std::size_t(column)]->FPosition;
    return p > 0 && p - 1 < FPositionToIndex.size() ? FPositionToIndex[p - 1] : InvalidColumn;
}

TColumnIndex TLazyTreeColumns::stepVisible(TColumnPosition start, int step,
                                           bool considerAllowFocus) const
{
    for (std::int64_t p = start; p >= 0 && p < std::int64_t(FPositionToIndex.size()); p += step) {
        const TColumnIndex index = FPositionToIndex[std::size_t(p)];
        const TLazyTreeColumn& c = *m_items[std::size_t(index)];
        if (c.IsVisible() && (!considerAllowFocus || c.FOptions.contains(coAllowFocus)))
            return index;
    }
    return InvalidColumn;
}

TColumnIndex TLazyTreeColumns::GetFirstVisibleColumn(bool considerAllowFocus) const
{
    return stepVisible(0, 1, considerAllowFocus);
}

TColumnIndex TLazyTreeColumns::GetLastVisibleColumn(bool considerAllowFocus) const
{
    if (FPositionToIndex.empty())
        return InvalidColumn;
    return stepVisible(TColumnPosition(FPositionToIndex.size() - 1), -1, considerAllowFocus);
}

TColumnIndex TLazyTreeColumns::GetNextVisibleColumn(TColumnIndex column,
                                                    bool considerAllowFocus) const
{
    if (!IsValidColumn(column))
        return InvalidColumn;
    return stepVisible(m_items[std::size_t(column)]->FPosition + 1, 1, considerAllowFocus);
}

TColumnIndex TLazyTreeColumns::GetPreviousVisibleColumn(TColumnIndex column,
                                                        bool considerAllowFocus) const
{
    if (!IsValidColumn(column))
        return InvalidColumn;
    const TColumnPosition p = m_items[std::size_t(column)]->FPosition;
    if (p == 0)
        return InvalidColumn;
    return stepVisible(p - 1, -1, considerAllowFocus);
}

std::vector<TLazyTreeColumn*> TLazyTreeColumns::GetVisibleColumns() const
{
    std::vector<TLazyTreeColumn*> result;
    for (TColumnIndex index : FPositionToIndex)
        if (m_items[std::size_t(index)]->IsVisible())
            result.push_back(m_items[std::size_t(index)].get());
    return result;
}

int TLazyTreeColumns::GetVisibleFixedWidth() const
{
    int result = 0;
    for (const auto& c : m_items)
        if (c->IsFixedAndVisible())
            result += c->FWidth;
    return result;
}

int TLazyTreeColumns::GetScrollWidth() const
{
    int sum = 0;
    int n = 0;
    for (const auto& c : m_items)
        if (c->IsVisible() && !c->FOptions.contains(coFixed)) {
            sum += c->FWidth;
            ++n;
        }
    if (n == 0)
        return Tree().Indent();
    // Round half to even, as the average of whole pixels is.
    return int(std::nearbyint(double(sum) / n));
}

int TLazyTreeColumns::TotalWidth() const
{
    const TColumnIndex last = GetLastVisibleColumn();
    if (last < 0)
        return 0;
    const TLazyTreeColumn& c = *m_items[std::size_t(last)];
    return c.FLeft + c.FWidth;
}

// ----- animated resize ------------------------------------------------------------------------

void TLazyTreeColumns::AnimatedResize(TColumnIndex column, int newWidth)
{
    if (!IsValidColumn(column))
        return;
    TLazyTreeColumn& c = *m_items[std::size_t(column)];
    newWidth = std::min(std::max(newWidth, c.FMinWidth), c.FMaxWidth);
    if (newWidth == c.FWidth)
        return;
    // A resize already running ends at its width first.
    if (m_animColumn >= 0) {
        m_animStepsLeft = 1;
        AnimationStep();
    }
    const int step = (newWidth - c.FWidth) / 32;
    if (FHeader->FOptions.contains(hoDisableAnimatedResize)
        || c.FOptions.contains(coDisableAnimatedResize) || step == 0) {
        c.SetWidth(newWidth);
        return;
    }
    // The old control moved the strips right of the column by step pixels 32 times with a
    // pause of 1 ms on the GUI thread; here the width itself moves from the tree's timer, so
    // the window keeps answering while the column slides.
    m_animColumn = column;
    m_animFrom = c.FWidth;
    m_animTarget = newWidth;
    m_animStep = step;
    m_animStepsLeft = 32;
    Tree().startColumnAnimation();
}

void TLazyTreeColumns::AnimationStep()
{
    if (m_animColumn < 0 || !IsValidColumn(m_animColumn)) {
        m_animColumn = NoColumn;
        return;
    }
    TLazyTreeColumn& c = *m_items[std::size_t(m_animColumn)];
    if (--m_animStepsLeft <= 0) {
        const int target = m_animTarget;
        m_animColumn = NoColumn;
        Tree().stopColumnAnimation();
        // The setter sees the width the resize started from, so LastWidth is that one.
        c.FWidth = m_animFrom;
        UpdatePositions();
        c.SetWidth(target);
        return;
    }
    // The intermediate widths are shown only; the setter's effects run once at the end.
    c.FWidth += m_animStep;
    UpdatePositions();
    FHeader->Invalidate();
    Tree().Invalidate();
}

}  // namespace zfw
