#include "grid/GridDataSettings.h"

#include <algorithm>

namespace zfw {

void TSortSettings::SetShow(bool Value)
{
    FShow = Value;
    if (OnInvalidate)
        OnInvalidate(this);
}

void TSortSettings::setHeader(TColor& field, TColor Value)
{
    if (field == Value)
        return;
    field = Value;
    if (OnHeaderChange)
        OnHeaderChange(this);
}

void TSortSettings::SetHeaderColor(TColor Value) { setHeader(FHeaderColor, Value); }
void TSortSettings::SetHeaderColorTo(TColor Value) { setHeader(FHeaderColorTo, Value); }
void TSortSettings::SetHeaderMirrorColor(TColor Value) { setHeader(FHeaderMirrorColor, Value); }
void TSortSettings::SetHeaderMirrorColorTo(TColor Value) { setHeader(FHeaderMirrorColorTo, Value); }

void TSortSettings::ToggleDirection()
{
    Direction = Direction == sdAscending ? sdDescending : sdAscending;
}

void TSortSettings::Remove()
{
    Column = -1;
    if (OnRemove)
        OnRemove(this);
}

void TSortSettings::Assign(const TSortSettings& Source)
{
    if (&Source == this)
        return;
    AutoSortForGrouping = Source.AutoSortForGrouping;
    AutoColumnMerge = Source.AutoColumnMerge;
    Column = Source.Column;
    FShow = Source.FShow;
    IndexShow = Source.IndexShow;
    IndexColor = Source.IndexColor;
    IndexSortKey = Source.IndexSortKey;
    Full = Source.Full;
    SingleColumn = Source.SingleColumn;
    IgnoreBlanks = Source.IgnoreBlanks;
    BlankPos = Source.BlankPos;
    AutoFormat = Source.AutoFormat;
    Direction = Source.Direction;
    UpGlyph = Source.UpGlyph;
    DownGlyph = Source.DownGlyph;
    IndexUpGlyph = Source.IndexUpGlyph;
    IndexDownGlyph = Source.IndexDownGlyph;
    InitSortDirection = Source.InitSortDirection;
    FixedCols = Source.FixedCols;
    NormalCellsOnly = Source.NormalCellsOnly;
    Row = Source.Row;
    UndoSort = Source.UndoSort;
    FHeaderColor = Source.FHeaderColor;
    FHeaderColorTo = Source.FHeaderColorTo;
    FHeaderMirrorColor = Source.FHeaderMirrorColor;
    FHeaderMirrorColorTo = Source.FHeaderMirrorColorTo;
}

void TFilterData::Assign(const TFilterData& Source)
{
    if (&Source == this)
        return;
    const TFilterMethod method = Method;
    *this = Source;
    Method = method;
}

TFilterData* TFilter::Items(int Index)
{
    return Index >= 0 && Index < Count() ? m_items[size_t(Index)].get() : nullptr;
}

const TFilterData* TFilter::Items(int Index) const
{
    return Index >= 0 && Index < Count() ? m_items[size_t(Index)].get() : nullptr;
}

bool TFilter::SetItem(int Index, const TFilterData& Value)
{
    TFilterData* item = Items(Index);
    if (!item)
        return false;
    item->Assign(Value);
    return true;
}

TFilterData* TFilter::Add()
{
    m_items.push_back(std::make_unique<TFilterData>());
    TFilterData* item = m_items.back().get();
    item->Operation = m_items.size() == 1 ? TFilterOperation::foNONE : TFilterOperation::foAND;
    return item;
}

TFilterData* TFilter::Insert(int Index)
{
    // The conditions are joined left to right, so their order is their meaning: the old
    // collection appended whatever index it was given, which changed the result of a filter
    // that a condition was inserted into. The item goes where it was asked for.
    const int at = std::clamp(Index, 0, Count());
    auto it = m_items.insert(m_items.begin() + at, std::make_unique<TFilterData>());
    return it->get();
}

bool TFilter::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        return false;
    m_items.erase(m_items.begin() + Index);
    return true;
}

TFilterData* TFilter::GetColFilter(int Col)
{
    for (const auto& item : m_items)
        if (item->Column == Col)
            return item.get();
    TFilterData* item = Add();
    item->Column = Col;
    return item;
}

bool TFilter::HasFilter(int Col) const
{
    return std::any_of(m_items.begin(), m_items.end(),
                       [Col](const auto& item) { return item->Column == Col; });
}

void TFilter::RemoveColumnFilter(int Col)
{
    std::erase_if(m_items, [Col](const auto& item) { return item->Column == Col; });
    if (OnRepaintHeader)
        OnRepaintHeader(this, Col);
}

void TFilter::Assign(const TFilter& Source)
{
    if (&Source == this)
        return;
    m_items.clear();
    for (const auto& src : Source.m_items) {
        m_items.push_back(std::make_unique<TFilterData>());
        m_items.back()->Assign(*src);
    }
}

void TFilterDropDown::changed()
{
    if (OnChange)
        OnChange(this);
}

void TFilterDropDown::SetGlyph(const QImage& Value)
{
    FGlyph = Value;
    changed();
}

void TFilterDropDown::SetGlyphActive(const QImage& Value)
{
    FGlyphActive = Value;
    changed();
}

void TFilterDropDown::Assign(const TFilterDropDown& Source)
{
    if (&Source == this)
        return;
    Color = Source.Color;
    ColumnWidth = Source.ColumnWidth;
    Font = Source.Font;
    Height = Source.Height;
    Width = Source.Width;
    FGlyph = Source.FGlyph;
    FGlyphActive = Source.FGlyphActive;
    changed();
}

void TCellNode::changed()
{
    if (OnChange)
        OnChange(this);
}

void TCellNode::SetNodeType(TNodeType Value)
{
    if (FNodeType == Value)
        return;
    FNodeType = Value;
    changed();
}

void TCellNode::SetNodeIndent(int Value)
{
    if (FNodeIndent == Value)
        return;
    FNodeIndent = Value;
    changed();
}

void TCellNode::SetShowTree(bool Value)
{
    if (FShowTree == Value)
        return;
    FShowTree = Value;
    changed();
}

void TCellNode::SetShowTreeFull(bool Value)
{
    if (FShowTreeFull == Value)
        return;
    FShowTreeFull = Value;
    changed();
}

void TCellNode::SetTreeColor(TColor Value)
{
    if (FTreeColor == Value)
        return;
    FTreeColor = Value;
    changed();
}

void TCellNode::Assign(const TCellNode& Source)
{
    if (&Source == this)
        return;
    Color = Source.Color;
    ExpandOne = Source.ExpandOne;
    FNodeType = Source.FNodeType;
    NodeColor = Source.NodeColor;
    FNodeIndent = Source.FNodeIndent;
    ExpandGlyph = Source.ExpandGlyph;
    ContractGlyph = Source.ContractGlyph;
    FShowTree = Source.FShowTree;
    FShowTreeFull = Source.FShowTreeFull;
    FTreeColor = Source.FTreeColor;
}

namespace {

const TCellGraphic* column0Graphic(const CellGraphicHost& host, int ARow, TCellType kind)
{
    if (ARow < 0 || ARow >= host.rowCount() || host.totalColCount() < 1)
        return nullptr;
    const TCellGraphic* g = GetCellGraphic(host, 0, ARow);
    return g && g->CellType == kind ? g : nullptr;
}

}  // namespace

bool IsNode(const CellGraphicHost& host, int ARow)
{
    return column0Graphic(host, ARow, ctNode) != nullptr;
}

bool IsSummary(const CellGraphicHost& host, int ARow)
{
    return column0Graphic(host, ARow, ctSummary) != nullptr;
}

bool GetNodeState(const CellGraphicHost& host, int ARow)
{
    const TCellGraphic* g = column0Graphic(host, ARow, ctNode);
    return g && g->CellBoolean;
}

int GetNodeSpan(const CellGraphicHost& host, int ARow)
{
    const TCellGraphic* g = column0Graphic(host, ARow, ctNode);
    return g ? g->CellIndex : -1;
}

int GetSubNodeCount(const CellGraphicHost& host, int ARow)
{
    const TCellGraphic* g = column0Graphic(host, ARow, ctNode);
    return g ? g->CellErrFrom : 0;
}

void TGrouping::Assign(const TGrouping& Source)
{
    if (&Source == this)
        return;
    GroupCountFormat = Source.GroupCountFormat;
    HeaderColor = Source.HeaderColor;
    HeaderColorTo = Source.HeaderColorTo;
    HeaderTextColor = Source.HeaderTextColor;
    HeaderUnderline = Source.HeaderUnderline;
    MergeHeader = Source.MergeHeader;
    MergeSummary = Source.MergeSummary;
    ShowGroupCount = Source.ShowGroupCount;
    SummaryColor = Source.SummaryColor;
    SummaryColorTo = Source.SummaryColorTo;
    SummaryTextColor = Source.SummaryTextColor;
    SummaryLine = Source.SummaryLine;
    AutoCheckGroup = Source.AutoCheckGroup;
    AutoSelectGroup = Source.AutoSelectGroup;
}

void TFloatingFooter::panelChanged()
{
    if (OnPanelChange)
        OnPanelChange(this);
}

void TFloatingFooter::layoutChanged()
{
    if (OnLayout)
        OnLayout(this, layout());
}

void TFloatingFooter::SetBorderColor(TColor Value)
{
    if (FBorderColor == Value)
        return;
    FBorderColor = Value;
    panelChanged();
}

void TFloatingFooter::SetColor(TColor Value)
{
    FColor = Value;
    panelChanged();
}

void TFloatingFooter::SetColumn(int Value)
{
    FColumn = Value;
    panelChanged();
}

void TFloatingFooter::SetCustomTemplate(const QString& Value)
{
    FCustomTemplate = Value;
    panelChanged();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle Value)
{
    // The old writer left the fixed-footer count alone: a visible footer switched away from
    // the last-row style kept counting the grid's last row as a footer that nothing painted
    // as one. The layout follows the style in every writer.
    FFooterStyle = Value;
    layoutChanged();
}

void TFloatingFooter::SetVisible(bool Value)
{
    FVisible = Value;
    layoutChanged();
}

void TFloatingFooter::SetHeight(int Value)
{
    FHeight = Value;
    if (Value > 0)
        layoutChanged();
}

FloatingFooterLayout TFloatingFooter::layout() const
{
    FloatingFooterLayout l;
    const bool lastRow = FVisible && FFooterStyle == TFooterStyle::fsFixedLastRow;
    // A height not set yet must not give the panel a negative height.
    l.panelHeight = FVisible ? std::max(0, FHeight - 1) : 0;
    l.fixedFooters = lastRow ? 1 : 0;
    l.hideLastRow = lastRow;
    return l;
}

void TFloatingFooter::Assign(const TFloatingFooter& Source)
{
    if (&Source == this)
        return;
    CalculateHiddenRows = Source.CalculateHiddenRows;
    FColor = Source.FColor;
    FColumn = Source.FColumn;
    FCustomTemplate = Source.FCustomTemplate;
    FFooterStyle = Source.FFooterStyle;
    FShowHint = Source.FShowHint;
    SetVisible(Source.FVisible);
}

void TSearchPanel::SetColorTo(TColor Value)
{
    FColorTo = Value;
    if (OnInvalidate)
        OnInvalidate(this);
}

}  // namespace zfw
