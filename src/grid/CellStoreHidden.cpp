#include "grid/CellStore.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <map>
#include <numeric>
#include <tuple>

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

int CellStore::DisplRowIndex(int RealRow) const { return RealRow - hiddenBefore(RealRow); }

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
    std::vector<int> rows(static_cast<std::size_t>(n));
    std::iota(rows.begin(), rows.end(), f);
    hideDisplayRows(rows, false, 0);
}

void CellStore::UnHideRows(int FromRow, int ToRow)
{
    if (!IsHiddenRow(FromRow))
        return;
    const int firstChanged = restoreHiddenRows([FromRow, ToRow](const TGridItem& item) {
        return item.Idx >= FromRow && item.Idx <= ToRow;
    });
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

void CellStore::splitAreasAcross(int ARow)
{
    if (ARow <= 0 || ARow >= int(m_rows.size()))
        return;
    const auto& cells = m_rows[std::size_t(ARow)].cells;
    for (int c = 0; c < int(cells.size()); ++c) {
        // A cell whose base lies above it: its area holds the row above as well.
        const TCellProperties* p = cells[std::size_t(c)].props.get();
        if (p && !p->IsBaseCell && p->CellSpanY > 0)
            splitArea(c, ARow, false);
    }
}

namespace {
bool hasSpan(const TCellProperties& p) { return p.CellSpanX != -1 || p.CellSpanY != -1; }

void unmerge(TCellProperties& p)
{
    p.IsBaseCell = true;
    p.CellSpanX = -1;
    p.CellSpanY = -1;
}
}  // namespace

void CellStore::hideDisplayRows(const std::vector<int>& rows, bool filtered, int level)
{
    const int group = ++m_hideGroups;
    auto isLeaving = [&rows](int r) { return std::binary_search(rows.begin(), rows.end(), r); };
    // An area reaching beyond the leaving rows cannot stay one; one wholly inside them goes
    // along and comes back merged. (Splitting every area that a hidden row touched lost the
    // areas of the row itself.)
    for (int r : rows) {
        const auto& cells = m_rows[std::size_t(r)].cells;
        for (int c = 0; c < int(cells.size()); ++c) {
            const TCellProperties* p = cells[std::size_t(c)].props.get();
            QPoint base;
            QPoint last;
            if (!p || !hasSpan(*p) || !mergedArea(c, r, base, last))
                continue;
            for (int y = base.y(); y <= last.y(); ++y) {
                if (!isLeaving(y)) {
                    splitArea(c, r, false);
                    break;
                }
            }
        }
    }

    // Real indexes first, while every display row still stands where the list means it.
    // Rows and store items are both ascending: one walk over the store finds them all.
    std::vector<TGridItem> leaving;
    leaving.reserve(rows.size());
    std::size_t j = 0;
    for (int d : rows) {
        int real = d + int(j);
        while (j < m_hiddenRows.size() && m_hiddenRows[j].Idx <= real)
            real = d + int(++j);
        Row& row = m_rows[std::size_t(d)];
        TGridItem item;
        item.Idx = real;
        item.Height = row.height;
        item.Level = level;
        item.Filtered = filtered;
        item.Items = std::move(row.cells);
        item.Group = group;
        item.GroupRow = d;
        leaving.push_back(std::move(item));
    }
    // Items are keyed by real row: the store stays sorted, and a row comes back at its own
    // place whatever was hidden or shown in between. Each row takes its height along, so the
    // rows that move up keep theirs.
    std::vector<TGridItem> store;
    store.reserve(m_hiddenRows.size() + leaving.size());
    std::merge(std::make_move_iterator(m_hiddenRows.begin()),
               std::make_move_iterator(m_hiddenRows.end()),
               std::make_move_iterator(leaving.begin()), std::make_move_iterator(leaving.end()),
               std::back_inserter(store),
               [](const TGridItem& a, const TGridItem& b) { return a.Idx < b.Idx; });
    m_hiddenRows = std::move(store);

    std::size_t to = std::size_t(rows.front());
    std::size_t k = 0;
    for (std::size_t from = to; from < m_rows.size(); ++from) {
        if (k < rows.size() && std::size_t(rows[k]) == from) {
            ++k;
            continue;
        }
        if (to != from)
            m_rows[to] = std::move(m_rows[from]);
        ++to;
    }
    m_rows.resize(to);
    m_rowCount -= int(rows.size());
    m_normalRowCount = m_rowCount;
    clampFixed();
    renumberOwners(rows.front());
    layoutFrom(rows.front());
}

int CellStore::restoreHiddenRows(const std::function<bool(const TGridItem&)>& take)
{
    // A row comes back between the shown rows on either side of its place: a shown area that
    // holds both would get a foreign row inside, so it is split first, as hiding splits.
    for (std::size_t i = 0; i < m_hiddenRows.size(); ++i)
        if (take(m_hiddenRows[i]))
            splitAreasAcross(m_hiddenRows[i].Idx - int(i));

    // The items staying before a returning one are exactly the hidden rows with a smaller real
    // index: its display row is its real index less their number.
    std::vector<TGridItem> staying;
    std::vector<TGridItem> returning;
    std::vector<ShownRow> shown;
    for (TGridItem& item : m_hiddenRows) {
        if (!take(item)) {
            staying.push_back(std::move(item));
            continue;
        }
        shown.push_back({item.Group, item.GroupRow, item.Idx - int(staying.size())});
        returning.push_back(std::move(item));
    }
    m_hiddenRows = std::move(staying);
    if (returning.empty())
        return std::numeric_limits<int>::max();

    std::vector<Row> rows;
    rows.reserve(m_rows.size() + returning.size());
    std::size_t next = 0;
    for (std::size_t k = 0; k < returning.size(); ++k) {
        const std::size_t at = std::size_t(shown[k].Row);
        while (rows.size() < at)
            rows.push_back(next < m_rows.size() ? std::move(m_rows[next++]) : Row{});
        Row row;
        row.cells = std::move(returning[k].Items);
        row.height = returning[k].Height;
        rows.push_back(std::move(row));
    }
    for (; next < m_rows.size(); ++next)
        rows.push_back(std::move(m_rows[next]));
    m_rows = std::move(rows);
    m_rowCount += int(returning.size());
    mendShownAreas(shown);
    return shown.front().Row;
}

std::vector<CellStore::Cell>* CellStore::groupRowCells(int group, int groupRow,
                                                       const std::vector<ShownRow>& shown)
{
    for (const ShownRow& s : shown)
        if (s.Group == group && s.GroupRow == groupRow)
            return &m_rows[std::size_t(s.Row)].cells;
    for (TGridItem& item : m_hiddenRows)
        if (item.Group == group && item.GroupRow == groupRow)
            return &item.Items;
    return nullptr;
}

void CellStore::splitHiddenArea(int group, int baseGroupRow, int baseCol,
                                const std::vector<ShownRow>& shown)
{
    auto propsAt = [](std::vector<Cell>* cells, int c) -> TCellProperties* {
        return cells && c >= 0 && c < int(cells->size()) ? (*cells)[std::size_t(c)].props.get()
                                                         : nullptr;
    };
    const TCellProperties* bp = propsAt(groupRowCells(group, baseGroupRow, shown), baseCol);
    if (!bp || !bp->IsBaseCell || bp->CellSpanX < 0 || bp->CellSpanY < 0)
        return;
    const int sx = bp->CellSpanX;
    const int sy = bp->CellSpanY;
    for (int j = 0; j <= sy; ++j) {
        std::vector<Cell>* cells = groupRowCells(group, baseGroupRow + j, shown);
        for (int i = 0; i <= sx; ++i) {
            TCellProperties* q = propsAt(cells, baseCol + i);
            if (q
                && ((i == 0 && j == 0)
                    || (!q->IsBaseCell && q->CellSpanX == i && q->CellSpanY == j)))
                unmerge(*q);
        }
    }
    --m_mergeCount;
}

void CellStore::mendShownAreas(const std::vector<ShownRow>& shown)
{
    // Display row of each returned row by its hiding call and place then.
    std::map<std::pair<int, int>, int> rowOf;
    struct Verdict {
        bool whole = false;
        int sx = 0;
        int sy = 0;
    };
    std::map<std::tuple<int, int, int>, Verdict> verdicts;
    auto judge = [&](int group, int bgr, int bc) {
        Verdict v;
        const auto b = rowOf.find({group, bgr});
        if (b == rowOf.end())
            return v;
        const int br = b->second;
        const TCellProperties* bp = GetGridObject(bc, br);
        if (!bp || !bp->IsBaseCell || bp->CellSpanX < 0 || bp->CellSpanY < 0)
            return v;
        v.sx = bp->CellSpanX;
        v.sy = bp->CellSpanY;
        for (int j = 0; j <= v.sy; ++j) {
            // Every row of the area back, and next to each other: no row came back between.
            const auto m = rowOf.find({group, bgr + j});
            if (m == rowOf.end() || m->second != br + j)
                return v;
            for (int i = j == 0 ? 1 : 0; i <= v.sx; ++i) {
                const TCellProperties* q = GetGridObject(bc + i, br + j);
                if (!q || q->IsBaseCell || q->CellSpanX != i || q->CellSpanY != j)
                    return v;
            }
        }
        v.whole = true;
        return v;
    };

    const bool anyArea = std::any_of(shown.begin(), shown.end(), [this](const ShownRow& s) {
        const auto& cells = m_rows[std::size_t(s.Row)].cells;
        return std::any_of(cells.begin(), cells.end(),
                           [](const Cell& cell) { return cell.props && hasSpan(*cell.props); });
    });
    if (!anyArea)
        return;
    for (const ShownRow& s : shown)
        rowOf[{s.Group, s.GroupRow}] = s.Row;

    for (const ShownRow& s : shown) {
        auto& cells = m_rows[std::size_t(s.Row)].cells;
        for (int c = 0; c < int(cells.size()); ++c) {
            TCellProperties* p = cells[std::size_t(c)].props.get();
            if (!p || !hasSpan(*p))
                continue;
            const int offX = p->IsBaseCell ? 0 : p->CellSpanX;
            const int offY = p->IsBaseCell ? 0 : p->CellSpanY;
            const auto key = std::make_tuple(s.Group, s.GroupRow - offY, c - offX);
            auto it = verdicts.find(key);
            if (it == verdicts.end()) {
                it = verdicts.emplace(key, judge(s.Group, s.GroupRow - offY, c - offX)).first;
                if (!it->second.whole)
                    splitHiddenArea(s.Group, s.GroupRow - offY, c - offX, shown);
            }
            // A cell the split did not reach (its base was gone) is unmerged on its own.
            if (hasSpan(*p) && (!it->second.whole || offX > it->second.sx || offY > it->second.sy))
                unmerge(*p);
        }
    }
}

void CellStore::splitHiddenAreasInCols(const std::function<bool(int, const TCellProperties&)>& cut)
{
    for (TGridItem& item : m_hiddenRows) {
        for (int c = 0; c < int(item.Items.size()); ++c) {
            TCellProperties* p = item.Items[std::size_t(c)].props.get();
            if (!p || !hasSpan(*p) || !cut(c, *p))
                continue;
            const int offX = p->IsBaseCell ? 0 : p->CellSpanX;
            const int offY = p->IsBaseCell ? 0 : p->CellSpanY;
            splitHiddenArea(item.Group, item.GroupRow - offY, c - offX, {});
            if (hasSpan(*p))
                unmerge(*p);
        }
    }
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
    hideDisplayRows(RowList, true, level);
}

void CellStore::UnHideRowList()
{
    if (m_filterLevel == 0)
        return;
    const int level = --m_filterLevel;
    // Rows hidden directly stay hidden: only this level's items come back. (Emptying the
    // whole store at the lowest level would drop the texts of rows hidden on their own.)
    const int firstChanged = restoreHiddenRows(
        [level](const TGridItem& item) { return item.Filtered && item.Level == level; });
    if (firstChanged == std::numeric_limits<int>::max())
        return;
    m_normalRowCount = m_rowCount;
    m_largestRowCount = std::max(m_largestRowCount, m_rowCount);
    renumberOwners(firstChanged);
    layoutFrom(firstChanged);
}

}  // namespace zfw
