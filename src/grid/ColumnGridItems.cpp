// Column items and their collection: defaults, the effects of writing a setting, copying
// between items, and how the collection keeps the grid's column count and headers in step.

#include "grid/ColumnGrid.h"

#include <QMenu>

#include <algorithm>
#include <numeric>

namespace zfw {

// ----- TGridColumnItem -----

TGridColumnItem::TGridColumnItem(TGridColumnCollection* Collection) : FCollection(Collection)
{
    if (TExtColumnGrid* g = Grid()) {
        FFont = g->font();
        FHeaderFont = g->font();
        FPrintFont = g->font();
        FColor = g->Color();
    }
}

TExtColumnGrid* TGridColumnItem::Grid() const
{
    return FCollection ? FCollection->GetOwner() : nullptr;
}

int TGridColumnItem::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

QString TGridColumnItem::GetDisplayName() const
{
    const int i = Index();
    if (!FName.isEmpty())
        return QStringLiteral("Col %1: %2").arg(i).arg(FName);
    return QStringLiteral("Column %1").arg(i);
}

int TGridColumnItem::Width() const
{
    const TExtColumnGrid* g = Grid();
    const int i = Index();
    if (!g || i < 0)
        return 0;
    return g->store().AllColWidths(i);
}

void TGridColumnItem::SetWidth(int Value)
{
    FWidth = Value;
    TExtColumnGrid* g = Grid();
    const int i = Index();
    if (g && i >= 0)
        g->store().SetAllColWidths(i, Value);
}

void TGridColumnItem::SetHeader(const QString& Value)
{
    FColumnHeader = Value;
    TExtColumnGrid* g = Grid();
    if (!g)
        return;
    if (g->FixedRows() > 0 && !g->colMoving()) {
        g->SetCellEx(Index(), 0, Value);
        notify();
    }
    QStringList headers;
    const TGridColumnCollection& items = g->Columns();
    headers.reserve(items.Count());
    for (int i = 0; i < items.Count(); ++i)
        headers << items[i]->Header();
    g->SetColumnHeaders(headers);
}

void TGridColumnItem::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    repaint();
}

void TGridColumnItem::SetHeaderAlignment(TAlignment Value)
{
    FHeaderAlignment = Value;
    repaint();
}

void TGridColumnItem::SetColor(TColor Value)
{
    FColor = Value;
    notify();
}

void TGridColumnItem::SetFont(const QFont& Value)
{
    FFont = Value;
    notify();
}

void TGridColumnItem::SetHeaderFont(const QFont& Value)
{
    FHeaderFont = Value;
    repaint();
}

void TGridColumnItem::SetEditor(TEditorType Value)
{
    if (Value == FEditorType)
        return;
    const TEditorType old = FEditorType;
    FEditorType = Value;
    if (old == TEditorType::edDataCheckBox || Value == TEditorType::edDataCheckBox)
        repaint();
}

void TGridColumnItem::SetFixed(bool Value)
{
    FFixed = Value;
    notify();
}

void TGridColumnItem::SetPassword(bool Value)
{
    FPassword = Value;
    notify();
}

void TGridColumnItem::SetShowBands(bool Value)
{
    FShowBands = Value;
    notify();
}

void TGridColumnItem::SetBorders(TCellBorders Value)
{
    FBorders = Value;
    notify();
}

void TGridColumnItem::SetBorderPen(TCellBorderPen Value)
{
    FBorderPen = Value;
    notify();
}

void TGridColumnItem::SetFloatFormat(const QString& Value)
{
    FFloatFormat = Value;
    repaint();
}

void TGridColumnItem::SetFilter(const QStringList& Value)
{
    FFilter = Value;
    repaint();
}

void TGridColumnItem::notify()
{
    if (FCollection)
        FCollection->Update(this);
}

void TGridColumnItem::repaint()
{
    if (TExtColumnGrid* g = Grid())
        g->Invalidate();
}

void TGridColumnItem::copyFrom(const TGridColumnItem& s, bool visualsOnly)
{
    FAlignment = s.FAlignment;
    FHeaderAlignment = s.FHeaderAlignment;
    FBorderPen = s.FBorderPen;
    FBorders = s.FBorders;
    FCheckFalse = s.FCheckFalse;
    FCheckTrue = s.FCheckTrue;
    FEditLength = s.FEditLength;
    FEditLink = s.FEditLink;
    FEditMask = s.FEditMask;
    FEditorType = s.FEditorType;
    FFixed = s.FFixed;
    FPassword = s.FPassword;
    FPrintBorderPen = s.FPrintBorderPen;
    FPrintBorders = s.FPrintBorders;
    FPrintColor = s.FPrintColor;
    FPrintFont = s.FPrintFont;
    FReadOnly = s.FReadOnly;
    FSortStyle = s.FSortStyle;
    FSortPrefix = s.FSortPrefix;
    FSortSuffix = s.FSortSuffix;
    FSpinMax = s.FSpinMax;
    FSpinMin = s.FSpinMin;
    FSpinStep = s.FSpinStep;
    FColumnPopup = s.FColumnPopup;
    FShowBands = s.FShowBands;
    FMinSize = s.FMinSize;
    FMaxSize = s.FMaxSize;
    FAutoMinSize = s.FAutoMinSize;
    FAutoMaxSize = s.FAutoMaxSize;
    FFilter = s.FFilter;
    FFilterCaseSensitive = s.FFilterCaseSensitive;
    FDefIdx = s.FDefIdx;
    FFloatFormat = s.FFloatFormat;
    FWidth = s.Width();
    if (visualsOnly) {
        if (const TExtColumnGrid* g = Grid()) {
            FColor = g->Color();
            FFont = g->font();
        }
        return;
    }
    FColor = s.FColor;
    FFont = s.FFont;
    FComboItems = s.FComboItems;
    FDropDownCount = s.FDropDownCount;
    FHeaderFont = s.FHeaderFont;
    FColumnHeader = s.FColumnHeader;
    FName = s.FName;
    FTag = s.FTag;
}

void TGridColumnItem::Assign(const TGridColumnItem& Source)
{
    if (&Source != this)
        copyFrom(Source, false);
}

void TGridColumnItem::AssignVisuals(const TGridColumnItem& Source)
{
    if (&Source != this)
        copyFrom(Source, true);
}

// ----- TGridColumnCollection -----

TGridColumnCollection::TGridColumnCollection(TExtColumnGrid* Owner) : FOwner(Owner) {}

TGridColumnItem* TGridColumnCollection::GetItem(int Index) const
{
    if (Index < 0 || Index >= Count())
        return nullptr;
    return m_items[std::size_t(Index)].get();
}

void TGridColumnCollection::SetItem(int Index, const TGridColumnItem& Value)
{
    if (TGridColumnItem* item = GetItem(Index))
        item->Assign(Value);
}

int TGridColumnCollection::IndexOf(const TGridColumnItem* Item) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].get() == Item)
            return int(i);
    return -1;
}

TGridColumnItem* TGridColumnCollection::Add()
{
    m_items.push_back(std::make_unique<TGridColumnItem>(this));
    TGridColumnItem* item = m_items.back().get();
    if (Count() > 1)
        item->AssignVisuals(*m_items[m_items.size() - 2]);
    Update(nullptr);
    return item;
}

TGridColumnItem* TGridColumnCollection::Insert(int Index)
{
    Index = std::clamp(Index, 0, Count());
    auto at = m_items.insert(m_items.begin() + Index, std::make_unique<TGridColumnItem>(this));
    TGridColumnItem* item = at->get();
    Update(nullptr);
    return item;
}

void TGridColumnCollection::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        return;
    m_items.erase(m_items.begin() + Index);
    Update(nullptr);
}

void TGridColumnCollection::Move(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || FromIndex >= Count() || ToIndex < 0 || ToIndex >= Count()
        || FromIndex == ToIndex)
        return;
    auto item = std::move(m_items[std::size_t(FromIndex)]);
    m_items.erase(m_items.begin() + FromIndex);
    m_items.insert(m_items.begin() + ToIndex, std::move(item));
    Update(nullptr);
}

void TGridColumnCollection::Clear()
{
    m_items.clear();
    Update(nullptr);
}

void TGridColumnCollection::EndUpdate()
{
    if (m_updateCount == 0)
        return;
    if (--m_updateCount == 0)
        Update(nullptr);
}

void TGridColumnCollection::Update(TGridColumnItem*)
{
    if (m_updateCount > 0 || FNoRecursiveUpdate || !FOwner)
        return;
    const int n = Count() - FOwner->store().NumHiddenColumns();
    if (n != FOwner->ColCount() && n > FOwner->FixedCols())
        FOwner->SetColCount(n);
    FOwner->RebuildColumnHeaders();
    FOwner->Invalidate();
}

void TGridColumnCollection::SetOrganization()
{
    if (FOwner) {
        const bool keep = FNoRecursiveUpdate;
        FNoRecursiveUpdate = true;
        FOwner->SyncColumnItems();
        FNoRecursiveUpdate = keep;
    }
    for (int i = 0; i < Count(); ++i)
        m_items[std::size_t(i)]->FDefIdx = i;
}

void TGridColumnCollection::ResetOrganization()
{
    if (!FOwner)
        return;
    // The passes below move column i to DefIdx until nothing moves. With DefIdx values that
    // are not a permutation of the item indexes (a repeated or out-of-range value) they never
    // end, or reach outside the columns; the old loop hung or crashed on such items. The
    // order is only restored from a consistent set of DefIdx values, otherwise left alone.
    const int n = Count();
    std::vector<bool> seen(std::size_t(n), false);
    for (const auto& item : m_items) {
        const int d = item->FDefIdx;
        if (d < 0 || d >= n || seen[std::size_t(d)])
            return;
        seen[std::size_t(d)] = true;
    }
    bool moved = true;
    while (moved) {
        moved = false;
        const int count = Count();
        for (int i = 0; i < count; ++i) {
            const int d = m_items[std::size_t(i)]->FDefIdx;
            if (d < i) {
                FOwner->MoveColumn(FOwner->DisplColIndex(i), FOwner->DisplColIndex(d));
                moved = true;
            }
        }
    }
}

}  // namespace zfw
