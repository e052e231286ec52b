#include "grid/CellStore.h"

#include <algorithm>
#include <limits>

namespace zfw {

bool CellStore::IsHiddenColumn(int ColIndex) const
{
    return ColIndex >= 0 && ColIndex < kMaxHideCols && m_colHidden[std::size_t(ColIndex)];
}

int CellStore::RealColIndex(int DCol) const
{
    // A negative index stands for "no column" (a point outside the cells) and stays so.
    if (DCol < 0 || DCol >= kMaxHideCols || m_numHiddenColumns == 0)
        return DCol;
    int visible = 0;
    for (int j = 0; j < kMaxHideCols; ++j) {
        if (m_colHidden[std::size_t(j)])
            continue;
        if (visible == DCol)
            return j;
        ++visible;
    }
    return 0;
}

int CellStore::DisplColIndex(int ACol) const
{
    if (ACol < 0 || ACol >= kMaxHideCols || m_numHiddenColumns == 0)
        return ACol;
    int hidden = 0;
    for (int j = 0; j < ACol; ++j)
        if (m_colHidden[std::size_t(j)])
            ++hidden;
    return ACol - hidden;
}

namespace {
std::int16_t toSavedWidth(int w)
{
    return std::int16_t(std::clamp(w, 0, int(std::numeric_limits<std::int16_t>::max())));
}
}  // namespace

void CellStore::HideColumns(int FromCol, int ToCol)
{
    bool changed = false;
    for (int c = std::max(0, FromCol); c <= std::min(ToCol, kMaxHideCols - 1); ++c) {
        if (m_colHidden[std::size_t(c)] || c >= TotalColCount() || m_colCount <= 1)
            continue;
        const int d = DisplColIndex(c);
        m_savedWidths[std::size_t(c)] = toSavedWidth(ColWidths(d));
        m_colWidths.erase(m_colWidths.begin() + d);
        ++m_numHiddenColumns;
        m_colHidden[std::size_t(c)] = true;
        --m_colCount;
        clampFixed();
        if (m_fixedColAlways && m_minFixedCols < m_colCount)
            m_fixedCols = std::min(m_minFixedCols, m_colCount - 1);
        changed = true;
    }
    if (changed)
        layoutFrom(m_rowCount);
}

void CellStore::UnHideColumns(int FromCol, int ToCol)
{
    bool changed = false;
    for (int c = std::max(0, FromCol); c <= std::min(ToCol, kMaxHideCols - 1); ++c) {
        if (!m_colHidden[std::size_t(c)])
            continue;
        --m_numHiddenColumns;
        m_colHidden[std::size_t(c)] = false;
        ++m_colCount;
        const int d = std::min(DisplColIndex(c), int(m_colWidths.size()));
        m_colWidths.insert(m_colWidths.begin() + d, m_savedWidths[std::size_t(c)]);
        m_largestColCount = std::max(m_largestColCount, m_colCount);
        if (m_fixedColAlways && m_minFixedCols < m_colCount)
            m_fixedCols = std::min(m_minFixedCols, m_colCount - 1);
        changed = true;
    }
    if (changed)
        layoutFrom(m_rowCount);
}

int CellStore::AllColWidths(int ACol) const
{
    if (IsHiddenColumn(ACol))
        return m_savedWidths[std::size_t(ACol)];
    return ColWidths(DisplColIndex(ACol));
}

void CellStore::SetAllColWidths(int ACol, int Width)
{
    if (ACol < 0)
        return;
    if (ACol <= kMaxHideCols)
        m_savedWidths[std::size_t(ACol)] = toSavedWidth(Width);
    if (!IsHiddenColumn(ACol))
        SetColWidths(DisplColIndex(ACol), Width);
}


int CellStore::hiddenBefore(int RealRow) const
{
    const auto it = std::lower_bound(m_hiddenRows.begin(), m_hiddenRows.end(), RealRow,
                                     [](const TGridItem& item, int r) { return item.Idx < r; });
    return int(it - m_hiddenRows.begin());
}

bool CellStore::IsHiddenRow(int RowIndex) const
{
    const int i = hiddenBefore(RowIndex);
    return i < NumHiddenRows() && m_hiddenRows[std::size_t(i)].Idx == RowIndex;
}

int CellStore::DisplRowIndex(int RealRow) const
{
    return RealRow - hiddenBefore(RealRow);
}

int CellStore::RealRowIndex(int ARow) const
{
    if (ARow < 0 || m_hiddenRows.empty())
        return ARow;
    // Every hidden row at or before the candidate pushes it one further.
    int real = ARow;
    for (const TGridItem& item : m_hiddenRows) {
        if (item.Idx > real)
            break;
        ++real;
    }
    return real;
}

std::vector<QString> CellStore::hiddenRowTexts(int RowIndex) const
{
    std::vector<QString> texts;
    if (!IsHiddenRow(RowIndex))
        return texts;
    for (const Cell& cell : m_hiddenRows[std::size_t(hiddenBefore(RowIndex))].Items)
        texts.push_back(cell.text);
    return texts;
}

TCellProperties* CellStore::hiddenRowProperties(int RowIndex, int ACol) const
{
    if (ACol < 0 || !IsHiddenRow(RowIndex))
        return nullptr;
    const std::vector<Cell>& items = m_hiddenRows[std::size_t(hiddenBefore(RowIndex))].Items;
    return std::size_t(ACol) < items.size() ? items[std::size_t(ACol)].props.get() : nullptr;
}

bool CellStore::setHiddenRowText(int RowIndex, int ACol, const QString& Value)
{
    if (!IsHiddenRow(RowIndex) || ACol < 0 || ACol >= storeColLimit())
        return false;
    std::vector<Cell>& items = m_hiddenRows[std::size_t(hiddenBefore(RowIndex))].Items;
    if (int(items.size()) <= ACol)
        items.resize(std::size_t(ACol) + 1);
    items[std::size_t(ACol)].text = Value;
    return true;
}

TCellProperties* CellStore::createHiddenRowProperties(int RowIndex, int ACol)
{
    if (!IsHiddenRow(RowIndex) || ACol < 0 || ACol >= storeColLimit())
        return nullptr;
    std::vector<Cell>& items = m_hiddenRows[std::size_t(hiddenBefore(RowIndex))].Items;
    if (int(items.size()) <= ACol)
        items.resize(std::size_t(ACol) + 1);
    Cell& cell = items[std::size_t(ACol)];
    return cell.props ? cell.props.get() : createProperties(ACol, RowIndex, cell);
}

void CellStore::HideRows(int FromRow, int ToRow)
{
    FromRow = std::max(0, FromRow);
    if (ToRow < FromRow)
        return;
    const int f = DisplRowIndex(FromRow);
    const int h = hiddenBefore(ToRow + 1) - hiddenBefore(FromRow);
    const int n = std::min(ToRow - FromRow + 1 - h, m_rowCount - f);
    if (n <= 0)
        return;

    // Rows leave the grid whole; a merged area that reaches into them cannot stay one.
    splitAreasInRows(f, f + n - 1);

    std::vector<TGridItem> moved;
    moved.reserve(std::size_t(n));
    int real = FromRow;
    for (int k = 0; k < n; ++k, ++real) {
        while (IsHiddenRow(real))
            ++real;
        Row& row = m_rows[std::size_t(f + k)];
        TGridItem item;
        item.Idx = real;
        item.Height = row.height;
        item.Items = std::move(row.cells);
        moved.push_back(std::move(item));
    }
    for (TGridItem& item : moved) {
        const int at = hiddenBefore(item.Idx);
        m_hiddenRows.insert(m_hiddenRows.begin() + at, std::move(item));
    }
    m_rows.erase(m_rows.begin() + f, m_rows.begin() + f + n);
    m_rowCount -= n;
    m_normalRowCount = m_rowCount;
    clampFixed();
    renumberOwners(f);
    layoutFrom(f);
}

void CellStore::UnHideRows(int FromRow, int ToRow)
{
    if (!IsHiddenRow(FromRow))
        return;
    int firstChanged = std::numeric_limits<int>::max();
    for (;;) {
        const int i = hiddenBefore(FromRow);
        if (i >= NumHiddenRows() || m_hiddenRows[std::size_t(i)].Idx > ToRow)
            break;
        firstChanged = std::min(firstChanged, restoreHiddenItem(std::size_t(i)));
    }
    m_normalRowCount = m_rowCount;
    m_largestRowCount = std::max(m_largestRowCount, m_rowCount);
    // Rows below the first restored one moved: their properties name their new place.
    renumberOwners(firstChanged);
    layoutFrom(firstChanged);
}

void CellStore::UnHideRowsAll()
{
    if (m_hiddenRows.empty())
        return;
    UnHideRows(m_hiddenRows.front().Idx, m_hiddenRows.back().Idx);
}

void CellStore::splitAreasInRows(int first, int last)
{
    for (int r = first; r <= last && r < int(m_rows.size()); ++r) {
        const Row& row = m_rows[std::size_t(r)];
        for (int c = 0; c < int(row.cells.size()); ++c)
            if (row.cells[std::size_t(c)].props && row.cells[std::size_t(c)].props->CellSpanX != -1)
                splitArea(c, r, false);
    }
}

int CellStore::restoreHiddenItem(std::size_t i)
{
    TGridItem item = std::move(m_hiddenRows[i]);
    m_hiddenRows.erase(m_hiddenRows.begin() + std::ptrdiff_t(i));
    // The items left before it are exactly the hidden rows with a smaller real index.
    const int pos = item.Idx - int(i);
    if (m_rows.size() < std::size_t(pos))
        m_rows.resize(std::size_t(pos));
    Row row;
    row.cells = std::move(item.Items);
    row.height = item.Height;
    m_rows.insert(m_rows.begin() + pos, std::move(row));
    ++m_rowCount;
    return pos;
}

void CellStore::renumberOwners(int FirstRow)
{
    for (int r = std::max(0, FirstRow); r < int(m_rows.size()); ++r) {
        auto& cells = m_rows[std::size_t(r)].cells;
        for (int c = 0; c < int(cells.size()); ++c) {
            if (TCellProperties* p = cells[std::size_t(c)].props.get()) {
                p->OwnerCol = c;
                p->OwnerRow = r;
            }
        }
    }
}

void CellStore::HideRowList(std::vector<int> RowList)
{
    std::sort(RowList.begin(), RowList.end());
    RowList.erase(std::unique(RowList.begin(), RowList.end()), RowList.end());
    RowList.erase(std::remove_if(RowList.begin(), RowList.end(),
                                 [this](int k) { return k < 0 || k >= m_rowCount; }),
                  RowList.end());
    // The level counts even when it hides nothing, so that its UnHideRowList pairs with it.
    const int level = m_filterLevel++;
    if (RowList.empty())
        return;

    for (int k : RowList)
        splitAreasInRows(k, k);
    // Real indexes first, while every display row still stands where the list means it.
    std::vector<int> reals;
    reals.reserve(RowList.size());
    for (int k : RowList)
        reals.push_back(RealRowIndex(k));
    // Items are keyed by real row: the store stays sorted, and a row comes back at its own
    // place whatever was hidden or shown in between. Each row takes its height along, so the
    // rows that move up keep theirs.
    for (std::size_t j = RowList.size(); j-- > 0;) {
        Row& row = m_rows[std::size_t(RowList[j])];
        TGridItem item;
        item.Idx = reals[j];
        item.Height = row.height;
        item.Level = level;
        item.Filtered = true;
        item.Items = std::move(row.cells);
        m_rows.erase(m_rows.begin() + RowList[j]);
        m_hiddenRows.insert(m_hiddenRows.begin() + hiddenBefore(item.Idx), std::move(item));
    }
    m_rowCount -= int(RowList.size());
    m_normalRowCount = m_rowCount;
    clampFixed();
    renumberOwners(RowList.front());
    layoutFrom(RowList.front());
}

void CellStore::UnHideRowList()
{
    if (m_filterLevel == 0)
        return;
    const int level = --m_filterLevel;
    // Rows hidden directly stay hidden: only this level's items come back. (Emptying the
    // whole store at the lowest level would drop the texts of rows hidden on their own.)
    int firstChanged = std::numeric_limits<int>::max();
    std::size_t i = 0;
    while (i < m_hiddenRows.size()) {
        const TGridItem& item = m_hiddenRows[i];
        if (!item.Filtered || item.Level != level) {
            ++i;
            continue;
        }
        firstChanged = std::min(firstChanged, restoreHiddenItem(i));
    }
    if (firstChanged == std::numeric_limits<int>::max())
        return;
    m_normalRowCount = m_rowCount;
    m_largestRowCount = std::max(m_largestRowCount, m_rowCount);
    renumberOwners(firstChanged);
    layoutFrom(firstChanged);
}

}  // namespace zfw
